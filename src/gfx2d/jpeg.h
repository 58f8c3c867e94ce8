// The JPEG path of LoadSprite: decodes a baseline JPEG file into a new sprite block.
#pragma once

#include <cstdint>

class Graphics2D;

// Decodes the data file `name` into a newly allocated (MemAlloc) sprite block: width and
// height as native 16-bit words, then width x height 5-6-5 pixels. Returns 1 and stores the
// block, or 0 after logging the reason.
int LoadJpg(Graphics2D* graphics, const char* name, uint16_t** block);
