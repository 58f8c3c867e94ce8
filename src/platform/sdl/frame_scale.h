// Where the game's frame goes in the window, and its nearest-neighbour scale into 32-bit pixels.
#pragma once

#include <cstdint>

// The frame's place in the window's pixels.
struct FramePlace {
  int x = 0, y = 0, w = 0, h = 0;
};

// The largest whole scale that fits an output of `w` x `h` pixels, centred, with bars around
// it; an output smaller than the frame shows all of it, shrunk.
FramePlace PlaceFrame(int w, int h);

// The 240 x 320 layout point under output pixel (px, py): the inverse of ScaleFrameRows, so a
// touch lands on the game pixel drawn under it. Points on the bars fall outside the layout.
void LayoutPoint(const FramePlace& place, double px, double py, int* x, int* y);

// Draws frame rows [firstRow, endRow) of the 5-6-5 `frame` through `lut` into the 32-bit
// `pixels` (`pitch` bytes a line) at `place`. Returns the output rows written, [*y0, *y1).
void ScaleFrameRows(const uint16_t* frame, const uint32_t* lut, uint8_t* pixels, int pitch,
                    const FramePlace& place, int firstRow, int endRow, int* y0, int* y1);

// Fills everything of the `w` x `h` output outside `place` with `colour`.
void ClearBars(uint8_t* pixels, int pitch, int w, int h, const FramePlace& place,
               uint32_t colour);

// The frame rows that differ between two frames, [*first, *end); empty when they are equal.
void ChangedRows(const uint16_t* before, const uint16_t* after, int* first, int* end);
