// Fuzz target: the bytes as a .map file loaded through all ten steps with a small entity
// list, played a few steps (ground following over the fuzzed geometry) and unloaded.
#include <cstdint>

#include "fuzz_world_setup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace fuzzworld;
  static bool once = [] {
    std::string ent;
    PutI32(&ent, 3);
    ent += EntRecordBytes(kTypePlayer, -300, -300) + EntRecordBytes(kTypeRocket, 0, 0) +
           EntRecordBytes(kTypePteranoFlyer, 100, 100);
    return PutFuzzFile("fz.ent", ent);
  }();
  (void)once;
  PutFuzzFile("fz.map", data, size);
  LoadPlayUnload();
  return 0;
}
