#include "show/slide_composer.h"

#include <cmath>

#include "gfx/raster.h"
#include "package/font.h"
#include "show/show_form.h"

namespace ss {

int32_t round_half_even(double q) {
  const double below = std::floor(q);
  const double fraction = q - below;
  double nearest = below;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0)) nearest = below + 1.0;
  return static_cast<int32_t>(nearest);
}

namespace {

// The products are taken in 32 bits, wrapping as the system's integers do; the division is
// real.
int32_t product32(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

}  // namespace

Point fitted_picture_size(int32_t gw, int32_t gh, Point screen, bool stretch) {
  const int32_t sw = screen.x;
  const int32_t sh = screen.y;
  if (stretch) return screen;
  if (gw <= sw && gh <= sh) return {gw, gh};
  const double rw = static_cast<double>(gw) / sw;
  const double rh = static_cast<double>(gh) / sh;
  if (rw > rh) return {sw, round_half_even(static_cast<double>(product32(gh, sw)) / gw)};
  return {round_half_even(static_cast<double>(product32(gw, sh)) / gh), sh};
}

TextFontSpec caption_font(const TFont& font) {
  // The size goes through points, as a font copied by its Size does.
  TFont slide_font;
  slide_font.SetSize(font.Size());
  return {.face = font.Name,
          .height = slide_font.Height,
          .color = resolve_color(font.Color),
          .charset = font.Charset};
}

Bitmap24 compose_slide(const Picture& picture, const TSSFileLocations& settings, Point screen,
                       TextRenderer& text) {
  Bitmap24 slide(screen.x, screen.y);  // black
  {
    const Point size =
        fitted_picture_size(picture.width(), picture.height(), screen, settings.lStretch);
    Bitmap24 fitted(size.x, size.y);
    // A JPEG decodes at the smallest scale that still covers the fitted size; a picture larger
    // than that size is averaged down to it rather than sampled.
    if (picture.has_graphic() && !fitted.empty())
      picture.graphic()->draw_averaged(fitted, fitted.bounds());
    const int32_t left = settings.lStretch ? 0 : (screen.x - fitted.width()) / 2;
    const int32_t top = settings.lStretch ? 0 : (screen.y - fitted.height()) / 2;
    draw(slide, left, top, fitted);
  }
  if (!settings.Text.empty()) {
    const TextFontSpec font = caption_font(settings.TextFont);
    const TextExtent extent = text.measure(settings.Text, font);
    text.draw(slide, slide.width() / 2 - extent.cx / 2, slide.height() - extent.cy, settings.Text,
              font);
  }
  return slide;
}

void TfrmScrn::ComposeSlide(TImage& record) {
  const Point screen = platform_.desktop().primary_screen_size();
  record.Picture =
      Picture::from_bitmap(compose_slide(record.Picture, FSettings, screen, platform_.text()));
}

}  // namespace ss
