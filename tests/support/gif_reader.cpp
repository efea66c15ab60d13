#include "support/gif_reader.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>

namespace ss_test {
namespace {

void fail(const std::string& what) {
  throw std::runtime_error("GIF: " + what);
}

class Cursor {
 public:
  explicit Cursor(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  uint8_t u8() {
    if (at_ >= bytes_.size()) fail("ends early");
    return bytes_[at_++];
  }
  uint16_t u16() {
    const uint8_t low = u8();
    return static_cast<uint16_t>(low | (u8() << 8));
  }
  std::span<const uint8_t> take(size_t n) {
    if (bytes_.size() - at_ < n) fail("ends early");
    const auto out = bytes_.subspan(at_, n);
    at_ += n;
    return out;
  }
  std::vector<uint8_t> sub_blocks() {
    std::vector<uint8_t> out;
    while (const uint8_t n = u8()) {
      const auto block = take(n);
      out.insert(out.end(), block.begin(), block.end());
    }
    return out;
  }

 private:
  std::span<const uint8_t> bytes_;
  size_t at_ = 0;
};

class BitReader {
 public:
  explicit BitReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  int read(int width) {
    int code = 0;
    for (int bit = 0; bit < width; ++bit, ++position_) {
      if (position_ / 8 >= bytes_.size()) fail("code stream ends before the end code");
      code |= ((bytes_[position_ / 8] >> (position_ % 8)) & 1) << bit;
    }
    return code;
  }

 private:
  std::span<const uint8_t> bytes_;
  size_t position_ = 0;
};

}  // namespace

std::vector<uint8_t> lzw_decode(std::span<const uint8_t> codes) {
  constexpr int kClear = 256, kEnd = 257;
  struct Entry {
    int prefix;
    uint8_t last;
    uint8_t first;
  };
  std::vector<Entry> table(4096);
  for (int i = 0; i < 256; ++i) table[i] = {-1, static_cast<uint8_t>(i), static_cast<uint8_t>(i)};
  const auto expand = [&](int code) {
    std::vector<uint8_t> s;
    for (; code >= 0; code = table[code].prefix) s.push_back(table[code].last);
    std::reverse(s.begin(), s.end());
    return s;
  };

  BitReader bits(codes);
  std::vector<uint8_t> out;
  int width = 9, next = 258, previous = -1;
  for (;;) {
    const int code = bits.read(width);
    if (code == kClear) {
      width = 9;
      next = 258;
      previous = -1;
      continue;
    }
    if (code == kEnd) return out;
    std::vector<uint8_t> s;
    if (code < next && (code < 256 || code >= 258)) {
      s = expand(code);
    } else if (code == next && previous >= 0) {
      s = expand(previous);
      s.push_back(table[previous].first);
    } else {
      fail("code " + std::to_string(code) + " not in the table");
    }
    out.insert(out.end(), s.begin(), s.end());
    if (previous >= 0 && next < 4096) table[next++] = {previous, s.front(), table[previous].first};
    if (next == (1 << width) && width < 12) ++width;
    previous = code;
  }
}

GifFile decode_gif(std::span<const uint8_t> bytes) {
  Cursor in(bytes);
  const auto signature = in.take(6);
  if (std::string(signature.begin(), signature.end()) != "GIF89a") fail("not GIF89a");
  GifFile gif;
  gif.width = in.u16();
  gif.height = in.u16();
  const uint8_t flags = in.u8();
  in.u8();  // background colour
  in.u8();  // aspect ratio
  if (!(flags & 0x80)) fail("no global colour table");
  const size_t colours = size_t{2} << (flags & 7);
  const auto table = in.take(colours * 3);

  ss::Bitmap24 canvas(gif.width, gif.height);
  uint16_t delay = 0;
  for (;;) {
    const uint8_t block = in.u8();
    if (block == 0x3B) return gif;
    if (block == 0x21) {
      const uint8_t label = in.u8();
      const std::vector<uint8_t> data = in.sub_blocks();
      if (label == 0xF9 && data.size() == 4) {
        if (((data[0] >> 2) & 7) > 1) fail("disposal other than leaving the frame");
        delay = static_cast<uint16_t>(data[1] | (data[2] << 8));
      } else if (label == 0xFF && data.size() == 14 &&
                 std::string(data.begin(), data.begin() + 11) == "NETSCAPE2.0") {
        gif.loops = true;
        gif.loop_count = static_cast<uint16_t>(data[12] | (data[13] << 8));
      }
      continue;
    }
    if (block != 0x2C) fail("unknown block " + std::to_string(block));
    GifFrame frame;
    const int32_t left = in.u16(), top = in.u16(), w = in.u16(), h = in.u16();
    frame.area = {left, top, left + w, top + h};
    if (in.u8() != 0) fail("local tables and interlacing are not expected");
    if (frame.area.right > gif.width || frame.area.bottom > gif.height) fail("frame outside");
    if (in.u8() != 8) fail("minimum code size other than 8");
    const std::vector<uint8_t> indices = lzw_decode(in.sub_blocks());
    if (indices.size() != static_cast<size_t>(w) * static_cast<size_t>(h)) fail("pixel count");
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) {
        const size_t i =
            indices[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)];
        if (i >= colours) fail("index beyond the table");
        canvas.set_pixel(left + x, top + y,
                         ss::rgb(table[i * 3], table[i * 3 + 1], table[i * 3 + 2]));
      }
    frame.image = canvas;
    frame.delay_cs = delay;
    gif.frames.push_back(std::move(frame));
  }
}

}  // namespace ss_test
