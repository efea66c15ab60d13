#pragma once
// Loads any picture file slidemake accepts (JPEG, BMP, ICO, WMF, EMF, PNG) as a 24-bit bitmap,
// drawn by the runtime's own decoders, optionally scaled to a given size.
#include <optional>
#include <string>

#include "gfx/bitmap24.h"
#include "gfx/geometry.h"

namespace slidemake {

ss::Bitmap24 load_picture_file(const std::string& path);
ss::Bitmap24 scaled(const ss::Bitmap24& image, int32_t width, int32_t height);

// Parses "WxH" (both 1..16384); throws with a clear message otherwise.
ss::Point parse_size(const std::string& text);

void write_png_file(const std::string& path, const ss::Bitmap24& image);

}  // namespace slidemake
