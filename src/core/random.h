// The handheld C library's rand(), reproduced exactly so runs repeat.
#pragma once

#include <cstdint>

constexpr int kRandMax = 32767;

// state = state * 214013 + 2531011; result = (state >> 16) & 0x7FFF. Seed 1 at start.
int HandheldRand();
void HandheldSrand(uint32_t seed);
