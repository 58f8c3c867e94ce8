// LoadJpg: the JPEG path of LoadSprite, decoding a file line by line into a new sprite block.
#include <cstring>

#include "core/core.h"
#include "gfx2d/gfx2d.h"
#include "gfx2d/jpeg.h"
#include "gfx2d/jpeg_decoder.h"

namespace {

// Colour lines hold red, green, blue and an unused byte per pixel.
void ConvertColourLine(const uint8_t* line, int32_t width, uint16_t* out) {
  for (int32_t x = 0; x < width; ++x, line += 4)
    out[x] = MakeColour(line[0] >> 3, line[1] >> 3, line[2] >> 3);
}

void ConvertGreyLine(const uint8_t* line, int32_t width, uint16_t* out) {
  for (int32_t x = 0; x < width; ++x) out[x] = MakeColour(line[x] >> 3, line[x] >> 3, line[x] >> 3);
}

// Runs the decoder over an open file; the block (or null) through *block, 1 or 0.
int DecodeFile(FILE* file, uint32_t context, uint16_t** block) {
  JpegInput input{file, 0, 0, context};
  JpegDecoder* dec = JpegCreate();
  if (!dec) {
    LogMessage("LoadJpg(): Decoder failed.");
    return 0;
  }
  JpegInit(dec, context, &input);
  if (JpegErrorCode(dec)) {
    LogMessage("LoadJpg(): Decoder failed.");
    JpegDestroy(dec);
    return 0;
  }
  JpegBegin(dec);
  int32_t width = JpegWidth(dec);
  int32_t height = JpegHeight(dec);
  size_t pixels = size_t(width) * size_t(height);
  auto* sprite = static_cast<uint16_t*>(MemAlloc((pixels + 2) * 2));
  if (!sprite) {
    LogMessage("Error allocating sprite:");
    JpegDestroy(dec);
    return 0;
  }
  sprite[0] = uint16_t(width);
  sprite[1] = uint16_t(height);
  *block = sprite;

  uint16_t* out = sprite + 2;
  int32_t rows = 0;
  const uint8_t* line = nullptr;
  uint32_t length = 0;
  while (rows < height && JpegDecode(dec, &line, &length) == 0) {
    if (JpegBytesPerPixel(dec) == 4) ConvertColourLine(line, width, out);
    else ConvertGreyLine(line, width, out);
    out += width;
    ++rows;
  }
  // A file whose image ends before its first scan leaves rows undelivered: black, not
  // whatever the heap held.
  memset(out, 0, size_t(height - rows) * size_t(width) * 2);
  int failed = JpegErrorCode(dec) != 0;
  JpegDestroy(dec);
  if (failed) {
    LogMessage("LoadJpg(): Decoder failed (3).");
    // The caller creates no sprite after a failure, so the block must not outlive it.
    MemFree(sprite);
    *block = nullptr;
    return 0;
  }
  return 1;
}

}  // namespace

int LoadJpg(Graphics2D* graphics, const char* name, uint16_t** block) {
  *block = nullptr;
  FILE* file = OpenDataFile(name, "rb");
  if (!file) {
    LogMessage("LoadJpg(): Unable to open file for reading.");
    return 0;
  }
  // The owner word travels with the input but nothing reads it.
  uint32_t context = graphics ? graphics->owner : 0;
  int ok = DecodeFile(file, context, block);
  fclose(file);
  return ok;
}
