// The frame buffer and the layout globals fixed at game initialisation.
#include "core/display.h"

#include <cstring>

uint16_t FrameBuffer[240 * 320];
uint32_t FrameBufferWidth = 240;
uint32_t FrameBufferHeight = 320;
uint32_t LayoutWidth = 240;
uint32_t LayoutHeight = 320;
uint32_t ScreenMode = 0;

void SetDisplayLayout() {
  FrameBufferWidth = 240;
  FrameBufferHeight = 320;
  LayoutWidth = 240;
  LayoutHeight = 320;
  ScreenMode = 0;
}

void ClearFrame() { memset(FrameBuffer, 0, sizeof FrameBuffer); }
