// Fuzz target: the bytes as a map state file read into a map with every kind of record; a
// file of the map's size must come out of a save exactly as it went in.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fuzz_world_setup.h"

namespace {

std::vector<uint8_t> input;

// Saved straight after reading: a file that was read is written back byte for byte.
void SaveAgain(World* world) {
  if (input.size() != 107) return;
  SaveMapState(world);
  std::vector<uint8_t> out(108);
  long got = ReadDataFile("fz.sav", out.data(), out.size());
  if (got != 107 || memcmp(out.data(), input.data(), 107) != 0) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace fuzzworld;
  static bool once = [] {
    // Records of 24 + 17 + 21 + 24 + 0 + 21 = 107 bytes.
    std::string ent;
    PutI32(&ent, 7);
    ent += EntRecordBytes(kTypePlayer, -300, -300) + EntRecordBytes(kTypeMegaRaptor, 100, 100) +
           EntRecordBytes(kTypeAmmoRocket, 50, 50) + EntRecordBytes(kTypeBarrier, 0, 200) +
           EntRecordBytes(kTypeHoverChasmo, -100, 0) + EntRecordBytes(kTypeShipKeyCard, 9, 9) +
           EntRecordBytes(kTypeShootingTower, 300, -300);
    return PutFuzzFile("fz.map", SmallMap()) && PutFuzzFile("fz.ent", ent);
  }();
  (void)once;
  input.assign(data, data + size);
  PutFuzzFile("fz.sav", data, size);
  LoadPlayUnload(SaveAgain);
  return 0;
}
