#pragma once
// What a JPEG's markers say about how it was coded, read without decoding it.
#include <cstdint>
#include <span>

namespace slidemake {

// True for a baseline (sequential, Huffman, 8-bit) JPEG, the coding every reader takes.
bool is_baseline_jpeg(std::span<const uint8_t> bytes);

}  // namespace slidemake
