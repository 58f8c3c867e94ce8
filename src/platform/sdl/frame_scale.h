// Where the game's frame goes in the window, and its nearest-neighbour scale into 32-bit pixels.
#pragma once

#include <cstdint>

// The frame's place in the window's pixels.
struct FramePlace {
  int x = 0, y = 0, w = 0, h = 0;
};

// A rectangle of the 240 x 320 frame, in frame pixels.
struct FrameArea {
  int x = 0, y = 0, w = 0, h = 0;
};

// The frame is compared in tiles of this many pixels square (240 and 320 are multiples).
constexpr int kFrameTile = 16;
// ChangedAreas never reports more areas than this.
constexpr int kMaxFrameAreas = 32;

// The largest whole scale that fits an output of `w` x `h` pixels, centred, with bars around
// it; an output smaller than the frame shows all of it, shrunk.
FramePlace PlaceFrame(int w, int h);

// The 240 x 320 layout point under output pixel (px, py): the inverse of ScaleFrameArea, so a
// touch lands on the game pixel drawn under it. Points on the bars fall outside the layout.
void LayoutPoint(const FramePlace& place, double px, double py, int* x, int* y);

// Draws `area` of the 5-6-5 `frame` into the 32-bit `pixels` (`pitch` bytes a line) at `place`,
// each game pixel through `lut` (65536 window pixels), or as 0xRRGGBB when `lut` is null.
// `shown`, when not null, is the frame the pixels show now: rows of the area equal in both are
// left as they are, since every store to a window's pixels is costly. Returns the window
// pixels that show the area (all of them correct afterwards, whether written or kept).
FramePlace ScaleFrameArea(const uint16_t* frame, const uint32_t* lut, uint8_t* pixels, int pitch,
                          const FramePlace& place, const FrameArea& area,
                          const uint16_t* shown = nullptr);

// Fills everything of the `w` x `h` output outside `place` with `colour`.
void ClearBars(uint8_t* pixels, int pitch, int w, int h, const FramePlace& place,
               uint32_t colour);

// Areas of whole tiles that together cover every pixel differing between two frames, written to
// `areas` (room for kMaxFrameAreas); returns how many, 0 when the frames are equal.
int ChangedAreas(const uint16_t* before, const uint16_t* after, FrameArea* areas);
