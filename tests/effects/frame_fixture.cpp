#include "frame_fixture.h"

#include "gfx/raster.h"

namespace ss::testing {

Bitmap24 MakeOldImage(int32_t width, int32_t height) {
  Bitmap24 image(width, height);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      image.set_pixel(x, y,
                      rgb(static_cast<uint8_t>(x * 5), static_cast<uint8_t>(y * 3),
                          static_cast<uint8_t>((x + y) % 100)));
  return image;
}

Bitmap24 MakeNewImage(int32_t width, int32_t height) {
  Bitmap24 image(width, height);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      image.set_pixel(x, y,
                      rgb(static_cast<uint8_t>(x), static_cast<uint8_t>(y),
                          static_cast<uint8_t>(150 + (x * 7 + y * 13) % 100)));
  return image;
}

bool FromNewImage(const Bitmap24& frame, int32_t x, int32_t y) {
  return color_blue(frame.pixel(x, y)) >= 128;
}

int32_t CountFromNewImage(const Bitmap24& frame) {
  int32_t count = 0;
  for (int32_t y = 0; y < frame.height(); ++y)
    for (int32_t x = 0; x < frame.width(); ++x) count += FromNewImage(frame, x, y) ? 1 : 0;
  return count;
}

Bitmap24 Transpose(const Bitmap24& image) {
  Bitmap24 out(image.height(), image.width());
  for (int32_t y = 0; y < image.height(); ++y)
    for (int32_t x = 0; x < image.width(); ++x) out.set_pixel(y, x, image.pixel(x, y));
  return out;
}

uint64_t HashFrame(const Bitmap24& frame) {
  uint64_t hash = 14695981039346656037ull;
  for (int32_t y = 0; y < frame.height(); ++y) {
    const uint8_t* row = frame.row(y);
    for (int32_t i = 0; i < frame.width() * 3; ++i) {
      hash ^= row[i];
      hash *= 1099511628211ull;
    }
  }
  return hash;
}

ComposedFrame Compose(const Bitmap24& old_image, const Bitmap24& new_image, int32_t style,
                      int32_t progress, bool with_custom_draw) {
  ComposedFrame result;
  result.screen.resize(old_image.width(), old_image.height());
  Bitmap24 picture = new_image;
  FrameInputs frame{old_image, picture, result.screen};
  frame.style = style;
  frame.progress = progress;
  frame.invalidate_frame_area = [&](const Rect& r) {
    result.invalidated.push_back(r);
    result.calls.push_back("invalidate");
  };
  frame.on_before_new_frame = [&](Bitmap24&, Bitmap24&) { result.calls.push_back("before"); };
  frame.on_after_new_frame = [&](Bitmap24&, Bitmap24&) { result.calls.push_back("after"); };
  if (with_custom_draw) {
    frame.on_custom_draw = [&](Bitmap24&, Bitmap24& screen) {
      result.calls.push_back("custom");
      fill(screen, screen.bounds(), kCustomColour);
    };
  }
  result.outcome = UpdateFrame(frame);
  return result;
}

}  // namespace ss::testing
