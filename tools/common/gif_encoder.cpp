#include "common/gif_encoder.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <unordered_map>

namespace ss {
namespace {

constexpr uint16_t kMaxDelay = 0xFFFF;

int write_to_vector(GifFileType* gif, const GifByteType* bytes, int length) {
  auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
  out->insert(out->end(), bytes, bytes + length);
  return length;
}

void check(int result, const char* what) {
  if (result != GIF_OK) throw std::runtime_error(std::string("GIF encoder: ") + what + " failed");
}

// A frame's pixels as palette indices and the palette itself.
struct Indexed {
  std::vector<GifColorType> palette;
  std::vector<GifByteType> indices;
};

// Exact when the area has at most 256 colours (flat slides, captions, black); otherwise the
// median cut of its colours.
Indexed index_area(const Bitmap24& frame, const Rect& a) {
  const size_t count = static_cast<size_t>(a.width()) * static_cast<size_t>(a.height());
  Indexed out;
  out.indices.resize(count);
  std::unordered_map<uint32_t, uint8_t> exact;
  bool fits = true;
  size_t at = 0;
  for (int32_t y = a.top; y < a.bottom && fits; ++y) {
    const uint8_t* p = frame.row(y) + static_cast<size_t>(a.left) * 3;
    for (int32_t x = a.left; x < a.right; ++x, p += 3) {
      const uint32_t key = uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
      auto [it, added] = exact.try_emplace(key, static_cast<uint8_t>(exact.size()));
      if (added && exact.size() > 256) {
        fits = false;
        break;
      }
      if (added) out.palette.push_back({p[2], p[1], p[0]});
      out.indices[at++] = it->second;
    }
  }
  if (fits) return out;

  std::vector<GifByteType> red(count), green(count), blue(count);
  at = 0;
  for (int32_t y = a.top; y < a.bottom; ++y) {
    const uint8_t* p = frame.row(y) + static_cast<size_t>(a.left) * 3;
    for (int32_t x = a.left; x < a.right; ++x, p += 3, ++at) {
      red[at] = p[2];
      green[at] = p[1];
      blue[at] = p[0];
    }
  }
  int size = 256;
  out.palette.assign(256, GifColorType{0, 0, 0});
  check(GifQuantizeBuffer(static_cast<unsigned>(a.width()), static_cast<unsigned>(a.height()),
                          &size, red.data(), green.data(), blue.data(), out.indices.data(),
                          out.palette.data()),
        "colour quantisation");
  out.palette.resize(static_cast<size_t>(size));
  return out;
}

}  // namespace

GifEncoder::GifEncoder(int32_t width, int32_t height, uint16_t loop_count)
    : width_(width), height_(height) {
  if (width < 1 || height < 1 || width > 0xFFFF || height > 0xFFFF)
    throw std::invalid_argument("GIF frames must be 1 to 65535 pixels on each side");
  int error = 0;
  gif_ = EGifOpen(&out_, write_to_vector, &error);
  if (gif_ == nullptr) throw std::runtime_error("GIF encoder: cannot start");
  EGifSetGifVersion(gif_, true);
  check(EGifPutScreenDesc(gif_, width, height, 8, 0, nullptr), "screen descriptor");
  // The looping block: "NETSCAPE2.0", then sub-block 1 with the loop count.
  const GifByteType loop[3] = {1, static_cast<GifByteType>(loop_count & 0xFF),
                               static_cast<GifByteType>(loop_count >> 8)};
  check(EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE), "loop block");
  check(EGifPutExtensionBlock(gif_, 11, "NETSCAPE2.0"), "loop block");
  check(EGifPutExtensionBlock(gif_, 3, loop), "loop block");
  check(EGifPutExtensionTrailer(gif_), "loop block");
}

GifEncoder::~GifEncoder() {
  if (gif_ != nullptr) EGifCloseFile(gif_, nullptr);
}

void GifEncoder::add_frame(const Bitmap24& frame, uint16_t delay_cs) {
  if (frame.width() != width_ || frame.height() != height_)
    throw std::invalid_argument("GIF frame of a different size");
  Rect changed{width_, height_, 0, 0};
  for (int32_t y = 0; y < height_; ++y) {
    const uint8_t* p = frame.row(y);
    const uint8_t* q = have_current_ ? current_.row(y) : nullptr;
    if (q != nullptr && std::memcmp(p, q, static_cast<size_t>(width_) * 3) == 0) continue;
    for (int32_t x = 0; x < width_; ++x) {
      if (q != nullptr && std::memcmp(p + x * 3, q + x * 3, 3) == 0) continue;
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
  current_ = frame;
  have_current_ = true;
  pending_ = {changed, delay_cs};
}

void GifEncoder::flush_pending() {
  if (!have_current_) return;
  const Rect& a = pending_.area;
  GraphicsControlBlock control{};
  control.DisposalMode = DISPOSE_DO_NOT;  // leave the frame in place when done
  control.DelayTime = static_cast<int>(pending_.delay_cs);
  control.TransparentColor = NO_TRANSPARENT_COLOR;
  GifByteType extension[4];
  const size_t length = EGifGCBToExtension(&control, extension);
  check(EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension),
        "frame delay");

  Indexed indexed = index_area(current_, a);
  int table_size = 2;
  while (table_size < static_cast<int>(indexed.palette.size())) table_size *= 2;
  indexed.palette.resize(static_cast<size_t>(table_size), GifColorType{0, 0, 0});
  ColorMapObject* map = GifMakeMapObject(table_size, indexed.palette.data());
  if (map == nullptr) throw std::runtime_error("GIF encoder: out of memory");
  const int put = EGifPutImageDesc(gif_, a.left, a.top, a.width(), a.height(), false, map);
  GifFreeMapObject(map);
  check(put, "frame header");
  for (int32_t row = 0; row < a.height(); ++row)
    check(
        EGifPutLine(gif_, indexed.indices.data() + static_cast<size_t>(row) * a.width(), a.width()),
        "frame data");
  ++frames_written_;
}

std::vector<uint8_t> GifEncoder::finish() {
  if (!have_current_) add_frame(Bitmap24(width_, height_), 0);
  flush_pending();
  have_current_ = false;
  int error = 0;
  EGifCloseFile(gif_, &error);
  gif_ = nullptr;
  return std::move(out_);
}

}  // namespace ss
