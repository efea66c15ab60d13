#pragma once
// PNG pictures: icon entries stored as PNG, and the authoring tool's frame output. The codec
// needs libpng; builds without it answer png_supported() with false, refuse to decode with the
// caller's "not valid" text and refuse to encode.
#include <cstdint>
#include <span>
#include <vector>

#include "gfx/bitmap24.h"

namespace ss {

inline constexpr const char* kPngNotValid = "PNG image is not valid";
inline constexpr const char* kPngTooLarge = "PNG image is too large";

struct PngErrors {
  const char* not_valid = kPngNotValid;
  const char* too_large = kPngTooLarge;
};

struct PngImage {
  Bitmap24 pixels;
  // One byte per pixel, top-down, 0 transparent to 255 opaque; empty when the file has no alpha
  // channel and no transparent colour.
  std::vector<uint8_t> alpha;
};

bool png_supported();

// True when the bytes begin with the PNG signature.
bool is_png(std::span<const uint8_t> bytes);

PngImage decode_png(std::span<const uint8_t> bytes, const PngErrors& errors = {});

// Encodes as an 8-bit RGB PNG. Raises an error for an empty bitmap or without libpng.
std::vector<uint8_t> encode_png(const Bitmap24& bitmap);

}  // namespace ss
