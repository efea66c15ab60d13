#pragma once
// A picture holds at most one graphic: a JPEG, a bitmap, an icon or a metafile.
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "gfx/bitmap24.h"
#include "gfx/geometry.h"

namespace ss {

class Graphic {
 public:
  virtual ~Graphic() = default;
  // The graphic class name as the package stores it ("TJPEGImage", "TBitmap", ...).
  virtual std::string_view class_name() const = 0;
  virtual int32_t width() const = 0;
  virtual int32_t height() const = 0;
  bool empty() const { return width() <= 0 || height() <= 0; }
  // Draws the graphic scaled into dst_rect of dst (clipped to dst).
  virtual void draw(Bitmap24& dst, const Rect& dst_rect) const = 0;
  // As draw, for a slide: a picture shrunk on an axis averages the source area under each
  // destination pixel instead of sampling one (see scale_area); an axis that is not shrunk
  // takes the nearest pixel, as draw does. Graphics without pixels of their own draw as draw.
  virtual void draw_averaged(Bitmap24& dst, const Rect& dst_rect) const { draw(dst, dst_rect); }
};

class Picture {
 public:
  Picture() = default;
  explicit Picture(std::shared_ptr<const Graphic> graphic) : graphic_(std::move(graphic)) {}
  static Picture from_bitmap(Bitmap24 bitmap);

  bool has_graphic() const { return graphic_ != nullptr; }
  const Graphic* graphic() const { return graphic_.get(); }
  int32_t width() const { return graphic_ ? graphic_->width() : 0; }
  int32_t height() const { return graphic_ ? graphic_->height() : 0; }
  void clear() { graphic_.reset(); }

 private:
  std::shared_ptr<const Graphic> graphic_;
};

// Decodes the bytes of a "Picture.Data" value: a short string naming the graphic class, then
// that graphic's data. An unknown class name gives a picture with no graphic.
Picture read_picture_payload(std::span<const uint8_t> payload);

}  // namespace ss
