// Fuzz target for LoadJpg: any bytes as a .jpg data file must load or fail cleanly.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/core.h"
#include "fuzz_support.h"
#include "gfx2d/jpeg.h"
#include "gfx2d/jpeg_decoder.h"

namespace {

// Frames bigger than this only cost time: their code paths are those of small ones, and wide
// lines are still reached through wide, short frames.
constexpr long kMaxFuzzPixels = 1 << 18;

// The frame size the header claims, through the decoder itself; 0 when init fails.
long ClaimedPixels(const uint8_t* data, size_t size) {
  FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
  if (!file) return 0;
  JpegInput input{file, 0, 0, 0};
  JpegDecoder* dec = JpegCreate();
  JpegInit(dec, 0, &input);
  long pixels = JpegErrorCode(dec) ? 0 : long(JpegWidth(dec)) * JpegHeight(dec);
  if (pixels > kMaxFuzzPixels) JpegBegin(dec);  // the set-up still runs, only decoding is skipped
  JpegDestroy(dec);
  fclose(file);
  return pixels;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzScratchDir();
  if (size == 0 || ClaimedPixels(data, size) > kMaxFuzzPixels) return 0;
  if (!PutFuzzFile("fuzz.jpg", data, size)) return 0;
  uint16_t* block = reinterpret_cast<uint16_t*>(1);
  if (LoadJpg(nullptr, "fuzz.jpg", &block)) {
    if (!block || block[0] == 0 || block[1] == 0) abort();
    // Touch every pixel so a short block shows up under AddressSanitizer.
    uint32_t sum = 0;
    for (long i = 0; i < long(block[0]) * block[1]; ++i) sum += block[2 + i];
    if (sum == 0xFFFFFFFFu) fputc(0, stderr);
    MemFree(block);
  } else if (block) {
    abort();  // a failure hands out no block
  }
  DeleteLog();  // one line per failure would grow without end
  return 0;
}
