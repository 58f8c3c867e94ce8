// One clipped row of a 2D sprite blit in each blit mode. Private to gfx2d (and its tests).
#pragma once

#include <cstdint>

// Writes n pixels of src over dst by the blit mode (Opaque for any unknown mode). A
// sprite's block is never its own target, so the rows do not overlap.
void BlitRow(uint16_t* dst, const uint16_t* src, int32_t n, uint32_t mode, uint16_t key);
// The same row pixel by pixel: what BlitRow must match, and what it is where the compiler
// has no vector types.
void BlitRowScalar(uint16_t* dst, const uint16_t* src, int32_t n, uint32_t mode, uint16_t key);
