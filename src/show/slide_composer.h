#pragma once
// The composition of one slide: the picture fitted to the screen (never enlarged unless the
// saver stretches it) and centred on a black screen-sized bitmap, with the caption at the
// bottom centre.
#include <cstdint>

#include "gfx/bitmap24.h"
#include "gfx/geometry.h"
#include "package/picture.h"
#include "package/ss_file_locations.h"
#include "platform/text_renderer.h"

namespace ss {

// q to the nearest integer, a quotient exactly halfway going to the even neighbour.
int32_t round_half_even(double q);

// The size the picture is drawn at on a screen of `screen` pixels: the screen with `stretch`,
// the picture's own size when it fits, else the picture shrunk to fit with its aspect kept.
Point fitted_picture_size(int32_t gw, int32_t gh, Point screen, bool stretch);

// The caption's font: the face, the size and the colour of the settings' font. Its style and
// character set stay the slide's defaults, so a bold caption font still draws regular.
TextFontSpec caption_font(const TFont& font);

// The slide for `picture`: screen-sized, black, the picture on it, the caption drawn.
Bitmap24 compose_slide(const Picture& picture, const TSSFileLocations& settings, Point screen,
                       TextRenderer& text);

}  // namespace ss
