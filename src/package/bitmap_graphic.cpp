#include "package/bitmap_graphic.h"

#include <cstring>
#include <vector>

#include "gfx/area_scale.h"

namespace ss {
namespace {

// The source coordinate under the centre of destination coordinate d of an extent of `extent`
// pixels that shows `src_extent` source pixels.
int32_t source_of(int64_t d, int64_t extent, int64_t src_extent) {
  return static_cast<int32_t>((2 * d + 1) * src_extent / (2 * extent));
}

// Calls row_op(dst_row, src_row, source byte offsets of the columns, first column, count) for
// every visible destination row. The column table is reused between calls on this thread.
template <typename RowOp>
void for_each_scaled_row(const Bitmap24& src, Bitmap24& dst, const Rect& dst_rect, RowOp row_op) {
  if (src.empty() || dst_rect.empty()) return;
  const Rect visible = dst_rect.intersect(dst.bounds());
  if (visible.empty()) return;
  thread_local std::vector<int32_t> columns;
  columns.resize(static_cast<size_t>(visible.width()));
  for (int32_t x = visible.left; x < visible.right; ++x)
    columns[static_cast<size_t>(x - visible.left)] =
        source_of(x - dst_rect.left, dst_rect.width(), src.width());
  for (int32_t y = visible.top; y < visible.bottom; ++y) {
    const int32_t sy = source_of(y - dst_rect.top, dst_rect.height(), src.height());
    row_op(y, sy, columns.data(), visible.left, visible.width());
  }
}

}  // namespace

void BitmapGraphic::draw(Bitmap24& dst, const Rect& dst_rect) const {
  stretch_nearest(bitmap_, dst, dst_rect);
}

void BitmapGraphic::draw_averaged(Bitmap24& dst, const Rect& dst_rect) const {
  scale_area(bitmap_, dst, dst_rect);
}

void stretch_nearest(const Bitmap24& src, Bitmap24& dst, const Rect& dst_rect) {
  int32_t previous_sy = -1;
  int32_t previous_y = -1;
  for_each_scaled_row(
      src, dst, dst_rect,
      [&](int32_t y, int32_t sy, const int32_t* columns, int32_t left, int32_t count) {
        uint8_t* out = dst.row(y) + static_cast<size_t>(left) * 3;
        if (sy == previous_sy) {  // enlarging: the row repeats the one above
          std::memcpy(out, dst.row(previous_y) + static_cast<size_t>(left) * 3,
                      static_cast<size_t>(count) * 3);
        } else {
          const uint8_t* in = src.row(sy);
          for (int32_t i = 0; i < count; ++i, out += 3) {
            const uint8_t* p = in + static_cast<size_t>(columns[i]) * 3;
            out[0] = p[0];
            out[1] = p[1];
            out[2] = p[2];
          }
        }
        previous_sy = sy;
        previous_y = y;
      });
}

void stretch_nearest_blend(const Bitmap24& src, std::span<const uint8_t> alpha, Bitmap24& dst,
                           const Rect& dst_rect) {
  if (alpha.size() < static_cast<size_t>(src.width()) * static_cast<size_t>(src.height())) return;
  for_each_scaled_row(
      src, dst, dst_rect,
      [&](int32_t y, int32_t sy, const int32_t* columns, int32_t left, int32_t count) {
        uint8_t* out = dst.row(y) + static_cast<size_t>(left) * 3;
        const uint8_t* in = src.row(sy);
        const uint8_t* a = alpha.data() + static_cast<size_t>(sy) * src.width();
        for (int32_t i = 0; i < count; ++i, out += 3) {
          const unsigned opacity = a[columns[i]];
          if (opacity == 0) continue;
          const uint8_t* p = in + static_cast<size_t>(columns[i]) * 3;
          for (int c = 0; c < 3; ++c)
            out[c] = static_cast<uint8_t>((p[c] * opacity + out[c] * (255 - opacity) + 127) / 255);
        }
      });
}

}  // namespace ss
