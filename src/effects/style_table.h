#pragma once
// The catalogue of the built-in transition styles 1..127: one row per style, each row a small
// function that sets the frame's destination and source rectangles (D, R), draws intermediate
// pieces, writes pixels or builds the clip region (Q). The frame composer runs the row and then
// the finishing step of the row's family.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

#include "gfx/bitmap24.h"
#include "gfx/geometry.h"
#include "gfx/region.h"
#include "effects/frame_geometry.h"

namespace ss {

enum class StyleFamily {
  kCopy,    // finishes by copying R of the new image onto D of the screen
  kRegion,  // finishes by drawing the new image clipped to Q
  kPixel,   // the row wrote the screen itself
};

// What a style row works on. The reach values and rectangles are named as in the catalogue.
// While a vertical twin runs, the axes are exchanged: W, X, columns and left/right then stand
// for H, Y, rows and top/bottom of the screen.
class FrameCtx {
 public:
  FrameCtx(const FrameGeometry& geometry, int32_t progress, Bitmap24& screen,
           const Bitmap24& new_image, const std::function<void(const Rect&)>& invalidate);

  int32_t W, H, X, Y, G;
  int32_t p;
  Rect D;                   // destination in the screen, starts whole
  Rect R;                   // source in the new image, starts whole
  std::optional<Region> Q;  // clip region, none unless built

  const FrameGeometry& geometry() const { return geometry_; }
  Rect whole() const { return {0, 0, W, H}; }
  // [l, r] over all rows, [t, b] over all columns, and [l, r] × [t, b].
  Rect cols(int32_t l, int32_t r) const { return {l, 0, r, H}; }
  Rect rows(int32_t t, int32_t b) const { return {0, t, W, b}; }
  static Rect area(int32_t l, int32_t r, int32_t t, int32_t b) { return {l, t, r, b}; }

  // An intermediate piece: copies R of the new image onto D of the screen, then invalidates D.
  void piece();
  // The roll band: as piece(), but the source strip is mirrored across the roll direction.
  void rolled_piece();

  // Swaps the axes of everything above; called in pairs around a horizontal style.
  void exchange_axes();

  Bitmap24& screen() { return screen_; }
  const Bitmap24& new_image() const { return new_image_; }

 private:
  Rect on_screen(const Rect& r) const;
  void invalidate(const Rect& r) const;

  FrameGeometry geometry_;
  bool axes_exchanged_ = false;
  Bitmap24& screen_;
  const Bitmap24& new_image_;
  const std::function<void(const Rect&)>& invalidate_;
};

using StyleBuild = void (*)(FrameCtx&);

struct StyleRow {
  StyleFamily family;
  StyleBuild build;
};

inline constexpr int32_t kLastBuiltInStyle = 127;

// The row of a built-in style (1..127); nullptr for any other number, the custom style 0
// included.
const StyleRow* FindStyle(int32_t style);

// Stretch-copies src_rect of src onto dst_rect of dst by nearest sample; nothing when either
// rectangle is empty (a negative width counts as empty).
void CopyPiece(Bitmap24& dst, const Rect& dst_rect, const Bitmap24& src, const Rect& src_rect);

// The parts of the table, one per family file.
std::span<const StyleRow> CopyStyleRows();     // 1..57
std::span<const StyleRow> RegionStyleRows();   // 58..117
std::span<const StyleRow> PixelStyleRows();    // 118..122
std::span<const StyleRow> ScatterStyleRows();  // 123..127

}  // namespace ss
