// Placeholder JPEG path of LoadSprite until the decoder lands: every JPEG fails to open.
#include "core/core.h"
#include "gfx2d/jpeg.h"

int LoadJpg(Graphics2D* graphics, const char* name, uint16_t** block) {
  (void)graphics;
  (void)name;
  if (block) *block = nullptr;
  LogMessage("LoadJpg(): Unable to open file for reading.");
  return 0;
}
