#pragma once
// Icon pictures: a Windows icon file, of which we show one image. Image entries are packed
// bitmaps (colour bits, then a 1-bit AND mask; the stored height counts both) or PNG files.
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "gfx/bitmap24.h"
#include "package/picture.h"

namespace ss {

inline constexpr const char* kIconNotValid = "Icon image is not valid";
inline constexpr const char* kIconTooLarge = "Icon image is too large";

// The size the system gives an icon that is drawn without a size of its own.
inline constexpr int kStandardIconSize = 32;

class IconGraphic final : public Graphic {
 public:
  // alpha: one byte per pixel, top-down; empty for an icon without transparent pixels.
  IconGraphic(Bitmap24 pixels, std::vector<uint8_t> alpha)
      : pixels_(std::move(pixels)), alpha_(std::move(alpha)) {}

  std::string_view class_name() const override { return "TIcon"; }
  int32_t width() const override { return pixels_.width(); }
  int32_t height() const override { return pixels_.height(); }
  // Transparent pixels leave the destination unchanged; partly transparent ones blend.
  void draw(Bitmap24& dst, const Rect& dst_rect) const override;
  void draw_averaged(Bitmap24& dst, const Rect& dst_rect) const override;

  const Bitmap24& pixels() const { return pixels_; }
  const std::vector<uint8_t>& alpha() const { return alpha_; }

 private:
  Bitmap24 pixels_;
  std::vector<uint8_t> alpha_;
};

// One entry of the icon directory, as far as choosing between entries needs it.
struct IconDirEntry {
  int width = 0;  // the directory's 0 stands for 256
  int height = 0;
  int bit_count = 0;
};

// The entry the system would take for a standard-size icon: the size nearest to 32 × 32
// (a larger one before a smaller one at the same distance), then the most colours.
size_t choose_icon_entry(std::span<const IconDirEntry> entries);

// Decodes an icon file; its type word must be 0 or 1.
std::shared_ptr<IconGraphic> decode_icon(std::span<const uint8_t> file);

}  // namespace ss
