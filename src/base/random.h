#pragma once
// The one process-wide pseudo-random generator. The slide order, the music order and the
// jittered region builders all draw from it, so the order of draws is part of the behaviour.
#include <cstdint>

namespace ss {

// Draws a value in 0 .. n - 1 (0 for n = 0) and advances the seed once, whatever n is.
// A negative n yields a value in n + 1 .. 0, as the product is taken signed.
int32_t Random(int32_t n);

// The seed starts at 0 and is never taken from the clock; tests reset it.
uint32_t random_seed();
void set_random_seed(uint32_t seed);

}  // namespace ss
