#include "common/gif_encoder.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace ss {
namespace {

constexpr int kRedLevels = 6;
constexpr int kGreenLevels = 7;
constexpr int kBlueLevels = 6;
constexpr int kPaletteSize = 256;  // the cube's 252 colours, padded with black
constexpr uint16_t kMaxDelay = 0xFFFF;

constexpr int kMinCodeSize = 8;
constexpr int kClearCode = 1 << kMinCodeSize;
constexpr int kEndCode = kClearCode + 1;
constexpr int kFirstFreeCode = kClearCode + 2;
constexpr int kMaxCode = 4095;  // codes are at most 12 bits wide

int nearest_level(uint8_t value, int levels) {
  return (value * (levels - 1) + 127) / 255;
}

uint8_t level_value(int level, int levels) {
  return static_cast<uint8_t>((level * 255 * 2 + (levels - 1)) / ((levels - 1) * 2));
}

// Codes go out least significant bit first, packed into bytes.
class BitWriter {
 public:
  void put(int code, int width) {
    buffer_ |= static_cast<uint32_t>(code) << filled_;
    filled_ += width;
    while (filled_ >= 8) {
      bytes_.push_back(static_cast<uint8_t>(buffer_ & 0xFF));
      buffer_ >>= 8;
      filled_ -= 8;
    }
  }
  std::vector<uint8_t> finish() {
    if (filled_ > 0) bytes_.push_back(static_cast<uint8_t>(buffer_ & 0xFF));
    filled_ = 0;
    buffer_ = 0;
    return std::move(bytes_);
  }

 private:
  std::vector<uint8_t> bytes_;
  uint32_t buffer_ = 0;
  int filled_ = 0;
};

// The LZW string table: (prefix code, next byte) -> code, open addressing.
class LzwTable {
 public:
  LzwTable() { clear(); }
  void clear() { slots_.fill(kEmpty); }
  int find(int prefix, uint8_t byte) const {
    for (size_t slot = start(key_of(prefix, byte));; slot = (slot + 1) % kSlots) {
      if (slots_[slot] == kEmpty) return -1;
      if ((slots_[slot] >> 12) == key_of(prefix, byte))
        return static_cast<int>(slots_[slot] & 0xFFF);
    }
  }
  void add(int prefix, uint8_t byte, int code) {
    size_t slot = start(key_of(prefix, byte));
    while (slots_[slot] != kEmpty) slot = (slot + 1) % kSlots;
    slots_[slot] = (key_of(prefix, byte) << 12) | static_cast<uint32_t>(code);
  }

 private:
  // Twice the codes a table can hold, so probes stay short.
  static constexpr size_t kSlots = 8191;
  static constexpr uint32_t kEmpty = 0xFFFFFFFFu;
  static uint32_t key_of(int prefix, uint8_t byte) {
    return (static_cast<uint32_t>(prefix) << 8) | byte;
  }
  static size_t start(uint32_t key) { return (key * 2654435761u) % kSlots; }
  std::array<uint32_t, kSlots> slots_;
};

void put_u16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value & 0xFF));
  out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

void put_sub_blocks(std::vector<uint8_t>& out, const std::vector<uint8_t>& data) {
  for (size_t at = 0; at < data.size(); at += 255) {
    const size_t n = std::min<size_t>(255, data.size() - at);
    out.push_back(static_cast<uint8_t>(n));
    out.insert(out.end(), data.begin() + static_cast<ptrdiff_t>(at),
               data.begin() + static_cast<ptrdiff_t>(at + n));
  }
  out.push_back(0);
}

}  // namespace

uint8_t gif_palette_index(uint8_t red, uint8_t green, uint8_t blue) {
  return static_cast<uint8_t>(nearest_level(red, kRedLevels) * kGreenLevels * kBlueLevels +
                              nearest_level(green, kGreenLevels) * kBlueLevels +
                              nearest_level(blue, kBlueLevels));
}

Color gif_palette_color(uint8_t index) {
  if (index >= kRedLevels * kGreenLevels * kBlueLevels) return kBlack;
  const int red = index / (kGreenLevels * kBlueLevels);
  const int green = index / kBlueLevels % kGreenLevels;
  const int blue = index % kBlueLevels;
  return rgb(level_value(red, kRedLevels), level_value(green, kGreenLevels),
             level_value(blue, kBlueLevels));
}

std::vector<uint8_t> gif_lzw_encode(const std::vector<uint8_t>& indices) {
  BitWriter bits;
  LzwTable table;
  int width = kMinCodeSize + 1;
  int next_code = kFirstFreeCode;
  bits.put(kClearCode, width);
  if (indices.empty()) {
    bits.put(kEndCode, width);
    return bits.finish();
  }
  int prefix = indices[0];
  for (size_t i = 1; i < indices.size(); ++i) {
    const uint8_t byte = indices[i];
    if (const int code = table.find(prefix, byte); code >= 0) {
      prefix = code;
      continue;
    }
    bits.put(prefix, width);
    const int added = next_code++;
    table.add(prefix, byte, added);
    if (added == kMaxCode) {
      bits.put(kClearCode, width);
      table.clear();
      width = kMinCodeSize + 1;
      next_code = kFirstFreeCode;
    } else if (added >= (1 << width)) {
      ++width;
    }
    prefix = byte;
  }
  bits.put(prefix, width);
  // The decoder adds one more string on reading that last code, and widens its codes when that
  // string fills the current width; the end code must already be that wide.
  if (next_code != kFirstFreeCode && next_code == (1 << width) && width < 12) ++width;
  bits.put(kEndCode, width);
  return bits.finish();
}

GifEncoder::GifEncoder(int32_t width, int32_t height, uint16_t loop_count)
    : width_(width), height_(height), loop_count_(loop_count) {
  if (width < 1 || height < 1 || width > 0xFFFF || height > 0xFFFF)
    throw std::invalid_argument("GIF frames must be 1 to 65535 pixels on each side");
  write_header();
}

void GifEncoder::write_header() {
  const char* signature = "GIF89a";
  out_.insert(out_.end(), signature, signature + 6);
  put_u16(out_, static_cast<uint32_t>(width_));
  put_u16(out_, static_cast<uint32_t>(height_));
  out_.push_back(0xF7);  // a global table of 256 colours, 8 bits per primary
  out_.push_back(0);     // background colour index: black
  out_.push_back(0);     // no aspect ratio
  for (int i = 0; i < kPaletteSize; ++i) {
    const Color c = gif_palette_color(static_cast<uint8_t>(i));
    out_.push_back(color_red(c));
    out_.push_back(color_green(c));
    out_.push_back(color_blue(c));
  }
  const char* application = "NETSCAPE2.0";
  out_.insert(out_.end(), {0x21, 0xFF, 0x0B});
  out_.insert(out_.end(), application, application + 11);
  out_.insert(out_.end(), {0x03, 0x01});
  put_u16(out_, loop_count_);
  out_.push_back(0);
}

void GifEncoder::add_frame(const Bitmap24& frame, uint16_t delay_cs) {
  if (frame.width() != width_ || frame.height() != height_)
    throw std::invalid_argument("GIF frame of a different size");
  std::vector<uint8_t> indices(static_cast<size_t>(width_) * static_cast<size_t>(height_));
  Rect changed{width_, height_, 0, 0};
  for (int32_t y = 0; y < height_; ++y) {
    const uint8_t* p = frame.row(y);
    for (int32_t x = 0; x < width_; ++x, p += 3) {
      const size_t at =
          static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x);
      indices[at] = gif_palette_index(p[2], p[1], p[0]);
      if (have_current_ && indices[at] == current_[at]) continue;
      changed = {std::min(changed.left, x), std::min(changed.top, y),
                 std::max(changed.right, x + 1), std::max(changed.bottom, y + 1)};
    }
  }
  if (have_current_ && changed.empty()) {
    if (pending_.delay_cs + delay_cs <= kMaxDelay) {
      pending_.delay_cs += delay_cs;
      return;
    }
    // The longest delay a frame can carry: go on with a one-pixel frame that changes nothing.
    changed = {0, 0, 1, 1};
  }
  flush_pending();
  current_ = std::move(indices);
  have_current_ = true;
  pending_ = {changed, delay_cs};
}

void GifEncoder::flush_pending() {
  if (!have_current_) return;
  const Rect& a = pending_.area;
  out_.insert(out_.end(), {0x21, 0xF9, 0x04, 0x04});  // leave the frame in place when done
  put_u16(out_, pending_.delay_cs);
  out_.insert(out_.end(), {0x00, 0x00});

  out_.push_back(0x2C);
  put_u16(out_, static_cast<uint32_t>(a.left));
  put_u16(out_, static_cast<uint32_t>(a.top));
  put_u16(out_, static_cast<uint32_t>(a.width()));
  put_u16(out_, static_cast<uint32_t>(a.height()));
  out_.push_back(0);  // no local table, not interlaced
  std::vector<uint8_t> area;
  area.reserve(static_cast<size_t>(a.width()) * static_cast<size_t>(a.height()));
  for (int32_t y = a.top; y < a.bottom; ++y) {
    const auto row = current_.begin() + static_cast<ptrdiff_t>(y) * width_;
    area.insert(area.end(), row + a.left, row + a.right);
  }
  out_.push_back(kMinCodeSize);
  put_sub_blocks(out_, gif_lzw_encode(area));
  ++frames_written_;
}

std::vector<uint8_t> GifEncoder::finish() {
  if (!have_current_) add_frame(Bitmap24(width_, height_), 0);
  flush_pending();
  have_current_ = false;
  out_.push_back(0x3B);
  return std::move(out_);
}

}  // namespace ss
