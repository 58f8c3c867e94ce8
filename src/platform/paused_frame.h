// The picture a backend shows while the game is paused: the last frame dimmed, PAUSED on it.
#pragma once

#include <cstdint>

// Writes the 240 x 320 5-6-5 `frame` into `out` dimmed, with a PAUSED sign across its middle.
// The sign is drawn from the platform layer's own glyphs (the game's fonts live above it);
// `frame` is only read, and may not be `out`.
void DrawPausedFrame(const uint16_t* frame, uint16_t* out);

