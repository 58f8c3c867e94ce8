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
