#pragma once
// A graphic that is a plain 24-bit bitmap: decoded bitmap files, and the composed slides that
// Picture::from_bitmap wraps. Also the nearest-sample scaling that pictures draw with outside
// slides.
#include <cstdint>
#include <span>
#include <string_view>

#include "gfx/bitmap24.h"
#include "gfx/geometry.h"
#include "package/picture.h"

namespace ss {

class BitmapGraphic final : public Graphic {
 public:
  explicit BitmapGraphic(Bitmap24 bitmap) : bitmap_(std::move(bitmap)) {}

  std::string_view class_name() const override { return "TBitmap"; }
  int32_t width() const override { return bitmap_.width(); }
  int32_t height() const override { return bitmap_.height(); }
  void draw(Bitmap24& dst, const Rect& dst_rect) const override;
  void draw_averaged(Bitmap24& dst, const Rect& dst_rect) const override;

  const Bitmap24& bitmap() const { return bitmap_; }

 private:
  Bitmap24 bitmap_;
};

// Scales all of src over dst_rect of dst by nearest sample (each destination pixel takes the
// source pixel under its centre), clipped to dst. No smoothing.
void stretch_nearest(const Bitmap24& src, Bitmap24& dst, const Rect& dst_rect);

// As stretch_nearest, with one alpha byte per source pixel (top-down, width × height): 0 leaves
// the destination as it is, 255 replaces it, anything between blends.
void stretch_nearest_blend(const Bitmap24& src, std::span<const uint8_t> alpha, Bitmap24& dst,
                           const Rect& dst_rect);

}  // namespace ss
