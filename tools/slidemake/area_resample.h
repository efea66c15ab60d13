#pragma once
// Smooth down-scaling for thumbnails and previews: each output pixel is the mean of the source
// pixels it covers.
#include "gfx/bitmap24.h"
#include "gfx/geometry.h"

namespace slidemake {

// Resamples the `from` rectangle of the source onto the whole of a width × height bitmap.
ss::Bitmap24 area_resample(const ss::Bitmap24& source, const ss::Rect& from, int32_t width,
                           int32_t height);

// The image shrunk to fit a box of box × box pixels (never enlarged).
ss::Bitmap24 fit_within(const ss::Bitmap24& source, int32_t box);

// The image scaled to fill width × height, its middle kept and the overhang cut off.
ss::Bitmap24 fill_cropped(const ss::Bitmap24& source, int32_t width, int32_t height);

}  // namespace slidemake
