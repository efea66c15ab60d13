#pragma once
// Encoders for the sample files: JPEG through libjpeg, BMP by hand, PNG through libpng, and
// a PCM WAV tune.
#include <string>

#include "gfx/bitmap24.h"

namespace ss::sample {

void write_jpeg(const std::string& path, const Bitmap24& image, int quality);
void write_bmp(const std::string& path, const Bitmap24& image);
bool write_png(const std::string& path, const Bitmap24& image);  // false without libpng
// A short tune of sine notes (MIDI note numbers), mono 16-bit at 22,050 Hz.
void write_tune_wav(const std::string& path, const int* notes, int count, double note_seconds);

}  // namespace ss::sample
