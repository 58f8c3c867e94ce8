// Writing waves for the tools: the bake's sounds and kvrtool's recordings.
#include <cstring>
#include <vector>

#include "core/files.h"
#include "sound/sound.h"

bool WriteWavFile(const char* path, const int16_t* samples, size_t count) {
  if (count > (0xFFFFFFFFu - 36) / 2) return false;
  uint32_t dataBytes = uint32_t(count * 2);
  std::vector<uint8_t> bytes(44 + size_t(dataBytes));
  uint8_t* p = bytes.data();
  memcpy(p, "RIFF", 4);
  WriteU32LE(p + 4, 36 + dataBytes);
  memcpy(p + 8, "WAVEfmt ", 8);
  WriteU32LE(p + 16, 16);
  WriteU16LE(p + 20, 1);  // PCM
  WriteU16LE(p + 22, 1);  // mono
  WriteU32LE(p + 24, uint32_t(kSoundRate));
  WriteU32LE(p + 28, uint32_t(kSoundRate * 2));
  WriteU16LE(p + 32, 2);
  WriteU16LE(p + 34, 16);
  memcpy(p + 36, "data", 4);
  WriteU32LE(p + 40, dataBytes);
  for (size_t i = 0; i < count; ++i) WriteU16LE(p + 44 + 2 * i, uint16_t(samples[i]));
  FILE* f = fopen(path, "wb");
  if (!f) return false;
  bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return fclose(f) == 0 && ok;
}
