// The frame buffer every drawing targets, and the display-layout globals.
#pragma once

#include <cstdint>

// 240 x 320 pixels of 5-6-5, row after row, top row first, pitch 240 pixels.
extern uint16_t FrameBuffer[240 * 320];

extern uint32_t FrameBufferWidth;   // 240
extern uint32_t FrameBufferHeight;  // 320
extern uint32_t LayoutWidth;        // 240
extern uint32_t LayoutHeight;       // 320
extern uint32_t ScreenMode;         // 0: portrait

// Fixes the layout at 240 x 320 portrait; done once by game initialisation.
void SetDisplayLayout();

// Fills the whole frame buffer with black.
void ClearFrame();

// Half-way blend of two 5-6-5 pixels: the mask drops each field's lowest bit, so the sum
// cannot carry into the next field.
constexpr uint16_t kHalfBlendMask = 0xF7DE;
inline uint16_t HalfBlend(uint16_t a, uint16_t b) {
  return uint16_t((uint32_t(a & kHalfBlendMask) + uint32_t(b & kHalfBlendMask)) >> 1);
}

#if defined(__GNUC__)
// Eight 5-6-5 pixels side by side in 16-bit lanes.
typedef uint16_t PixelLanes __attribute__((vector_size(16)));

// HalfBlend in lanes, taken as (a & b) + ((a ^ b) >> 1), which cannot overflow a lane.
inline PixelLanes HalfBlendLanes(PixelLanes a, PixelLanes b) {
  a &= kHalfBlendMask;
  b &= kHalfBlendMask;
  return (a & b) + ((a ^ b) >> 1);
}
#endif
