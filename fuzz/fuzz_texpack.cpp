// Fuzz target: LoadTexturePack on arbitrary bytes into either bank.
#include <cstdint>
#include <cstdio>
#include <string>

#include "core/core.h"
#include "engine3d/engine3d.h"
#include "fuzz_engine3d_setup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Engine3D& e = fuzz3d::SharedEngine();
  if (!e.ready) return 0;
  FILE* f = fopen((std::string(ExeDir) + "fuzz.tex").c_str(), "wb");
  if (!f) return 0;
  if (size) fwrite(data, 1, size, f);
  fclose(f);
  e.LoadTexturePack("fuzz.tex", int32_t(size & 1));
  // The log would grow by a line per missing table entry; start afresh each input.
  remove((std::string(ExeDir) + "log.txt").c_str());
  return 0;
}
