#include "effects/style_table.h"

#include <utility>

#include "gfx/raster.h"
#include "effects/pixel_routines.h"

namespace ss {
namespace {

Rect exchange(const Rect& r) {
  return {r.top, r.left, r.bottom, r.right};
}

struct TableRange {
  int32_t first;
  std::span<const StyleRow> (*rows)();
};

constexpr TableRange kRanges[] = {
    {1, CopyStyleRows},
    {58, RegionStyleRows},
    {118, PixelStyleRows},
    {123, ScatterStyleRows},
};

}  // namespace

FrameCtx::FrameCtx(const FrameGeometry& geometry, int32_t progress, Bitmap24& screen,
                   const Bitmap24& new_image, const std::function<void(const Rect&)>& invalidate)
    : W(geometry.W),
      H(geometry.H),
      X(geometry.X),
      Y(geometry.Y),
      G(geometry.G),
      p(progress),
      D{0, 0, geometry.W, geometry.H},
      R{0, 0, geometry.W, geometry.H},
      geometry_(geometry),
      screen_(screen),
      new_image_(new_image),
      invalidate_(invalidate) {}

Rect FrameCtx::on_screen(const Rect& r) const {
  return axes_exchanged_ ? exchange(r) : r;
}

void FrameCtx::invalidate(const Rect& r) const {
  if (invalidate_) invalidate_(r);
}

void FrameCtx::piece() {
  const Rect d = on_screen(D);
  CopyPiece(screen_, d, new_image_, on_screen(R));
  invalidate(d);
}

void FrameCtx::rolled_piece() {
  const Rect d = on_screen(D);
  if (D.empty() || R.empty()) {
    invalidate(d);  // a piece that draws nothing still counts as drawn
    return;
  }
  MirrorStretchDraw(screen_, d, new_image_, on_screen(R), !axes_exchanged_, axes_exchanged_);
  // A mirrored band reaches one pixel beyond its rectangle on each side of the mirrored axis.
  invalidate(axes_exchanged_ ? Rect{d.left, d.top - 1, d.right, d.bottom + 1}
                             : Rect{d.left - 1, d.top, d.right + 1, d.bottom});
}

void FrameCtx::exchange_axes() {
  std::swap(W, H);
  std::swap(X, Y);
  D = exchange(D);
  R = exchange(R);
  geometry_ = Transposed(geometry_);
  axes_exchanged_ = !axes_exchanged_;
}

const StyleRow* FindStyle(int32_t style) {
  for (auto it = std::rbegin(kRanges); it != std::rend(kRanges); ++it) {
    if (style < it->first) continue;
    const std::span<const StyleRow> rows = it->rows();
    const auto index = static_cast<size_t>(style - it->first);
    return index < rows.size() ? &rows[index] : nullptr;
  }
  return nullptr;
}

void CopyPiece(Bitmap24& dst, const Rect& dst_rect, const Bitmap24& src, const Rect& src_rect) {
  if (dst_rect.empty() || src_rect.empty()) return;
  stretch_copy(dst, dst_rect, src, src_rect);
}

}  // namespace ss
