// The scrolling text panel: a story text wrapped to an image control's width and scrolled
// upwards through that image's own pixels, one logic step at a time.
#pragma once

#include <cstdint>

#include "core/pointer_list.h"
#include "gfx2d/gfx2d.h"

// The owner allocates the panel zero-filled, calls Create once, Update once per logic step
// while its form is current, and Destroy when the form closes or Update reports the end;
// then it frees the panel itself. The image is a sprite-table slot of Gfx2D (the bitmap
// control's sprite), used as an off-screen drawing surface: the form draws it as usual.
struct ScrollText {
  // Reads `fileName` (a data file), wraps it to the image's width less 3 pixels with
  // `font`, splits it into lines and clears the image. A file that cannot be opened logs
  // "error opening scroll txt file" and leaves the panel without lines.
  void Create(uint32_t application, int32_t imageSlot, const char* fileName, Font* textFont,
              float pixelsPerStep);
  // Redraws the visible lines, centred, into the image and moves the text up by `speed`
  // pixels. True while the text is still moving; false once it has run out (at once for a
  // text of one line or none).
  bool Update();
  // Frees every line, the list and the text. Safe on a panel that was never created.
  void Destroy();

  uint32_t app;
  int32_t reserved[2];    // cleared at creation
  int32_t imageWidth;
  int32_t imageHeight;
  int32_t image;          // sprite-table slot of the target image
  char* text;             // the wrapped text (MemAlloc)
  PointerList lines;      // one owned zero-terminated text per line, in order
  Font* font;
  float speed;            // pixels of upward movement per step
  float position;         // pixels scrolled so far
};

// Wraps `input` to lines no wider than `maxWidth` pixels of `font`, as the panel does:
// a line ends where it reaches the width (cut back to its last space, keeping at least two
// characters), after a carriage return (one following line feed is dropped), or at the
// end; a line that does not end in a break gets a "\n". Leading spaces of a line are
// dropped. Returns a MemAlloc'ed text, null when it cannot be allocated.
char* WrapScrollText(const char* input, const Font& font, int32_t maxWidth);
