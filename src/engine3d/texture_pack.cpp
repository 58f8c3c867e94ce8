// Texture packs: 32 textures, the reversed colour look-up table, the palette.
#include <cstdio>
#include <cstring>
#include <string>

#include "core/files.h"
#include "core/log.h"
#include "engine3d/engine3d.h"
#include "engine3d/pipeline.h"
#include "gfx2d/gfx2d.h"

namespace {

// A file colour holds red in bits 0-4, green in 5-9, blue in 10-14.
uint16_t PackColour(uint16_t c) { return MakeColour(c & 31, (c >> 5) & 31, (c >> 10) & 31); }

// Copies row 0 into the guard rows below and row 63 into those above.
void FillGuardRows(uint16_t* lut) {
  for (int g = 1; g <= kLutGuardRows; ++g) {
    memcpy(lut - g * 256, lut, 256 * sizeof(uint16_t));
    memcpy(lut + (kShadeRows - 1 + g) * 256, lut + (kShadeRows - 1) * 256, 256 * sizeof(uint16_t));
  }
}

}  // namespace

int Engine3D::LoadTexturePack(const char* file, int32_t bank) {
  if (!ready || (bank != kBankMap && bank != kBankEntities)) return 0;
  FILE* f = OpenDataFile(file, "rb");
  if (!f) {
    LogMessage(("Error loading tex pack " + std::string(file)).c_str());
    return 0;
  }
  for (int t = 0; t < kTexturesPerBank; ++t) {
    if (fread(textures[bank][t], 1, kTextureBytes, f) != size_t(kTextureBytes)) {
      LogMessage("Error reading from textures.dat");
      fclose(f);
      return 0;
    }
  }
  // The file holds the table back to front: its first colour is row 63, colour 255.
  static uint8_t raw[kTexPackLutBytes];
  size_t got = fread(raw, 1, sizeof raw, f) / 2;
  uint16_t* lut = luts[bank];
  for (size_t k = 0; k < size_t(kLutEntries); ++k) {
    if (k < got) {
      lut[kLutEntries - 1 - k] = PackColour(ReadU16BE(raw + 2 * k));
    } else {
      LogMessage("Error loading lut");
      lut[kLutEntries - 1 - k] = 0;
    }
  }
  FillGuardRows(lut);
  size_t paletteBytes = fread(palette, 1, sizeof palette, f);
  fclose(f);
  return paletteBytes == sizeof palette ? 1 : 0;
}
