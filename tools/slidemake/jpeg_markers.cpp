#include "jpeg_markers.h"

#include <cstddef>

namespace slidemake {

bool is_baseline_jpeg(std::span<const uint8_t> b) {
  if (b.size() < 4 || b[0] != 0xFF || b[1] != 0xD8) return false;
  size_t at = 2;
  while (at + 4 <= b.size()) {
    if (b[at] != 0xFF) return false;
    const uint8_t marker = b[at + 1];
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    // Start-of-frame markers are C0..CF but for DHT (C4), JPG (C8) and DAC (CC).
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
      return marker == 0xC0;
    if (marker == 0xDA || marker == 0xD9) return false;  // scan data before any frame header
    const size_t length = (size_t{b[at + 2]} << 8) | b[at + 3];
    if (length < 2) return false;
    at += 2 + length;
  }
  return false;
}

}  // namespace slidemake
