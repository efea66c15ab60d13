#pragma once
// Procedural pictures for the demo saver and the tests: each is drawn from a formula, so the
// sample media need no download and look the same on every machine.
#include "gfx/bitmap24.h"

namespace ss::sample {

Bitmap24 paint_sunrise(int width, int height);
Bitmap24 paint_waves(int width, int height);
Bitmap24 paint_mosaic(int width, int height);
Bitmap24 paint_aurora(int width, int height);

}  // namespace ss::sample
