// Fuzz target: the bytes as a .ent file, loaded with a small map: every record becomes a
// stand-in kind placed as its type wants, played a few steps, saved and unloaded.
#include <cstdint>

#include "fuzz_world_setup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace fuzzworld;
  static bool once = PutFuzzFile("fz.map", SmallMap());
  (void)once;
  PutFuzzFile("fz.ent", data, size);
  FileDelete("fz.sav");
  LoadPlayUnload();
  return 0;
}
