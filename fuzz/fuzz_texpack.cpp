// Fuzz target: LoadTexturePack on arbitrary bytes into either bank.
#include <cstdint>
#include <cstdio>
#include <string>

#include "core/core.h"
#include "engine3d/engine3d.h"
#include "fuzz_engine3d_setup.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Engine3D& e = fuzz3d::SharedEngine();
  if (!e.ready) return 0;
  if (!PutFuzzFile("fuzz.tex", data, size)) return 0;
  e.LoadTexturePack("fuzz.tex", int32_t(size & 1));
  // The log would grow by a line per missing table entry; start afresh each input.
  DeleteLog();
  return 0;
}
