// Fuzz target: a .tdo parsed from memory, then drawn by the whole pipeline as map
// geometry and as a turning entity, so malformed geometry meets clipping and filling too.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "core/core.h"
#include "engine3d/engine3d.h"
#include "fuzz_engine3d_setup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Engine3D& e = fuzz3d::SharedEngine();
  if (!e.ready) return 0;
  ByteReader asMap{data, size}, asEntity{data, size};
  int32_t map = e.store.LoadFromBytes(&asMap, 0, 0);
  int32_t entity = e.store.LoadFromBytes(&asEntity, 1, 2);
  if (map >= 0 && entity >= 0) {
    e.store.SetPosition(map, 0, -100, 400);
    e.store.SetPosition(entity, 30, 0, 200);
    e.store.SetAngles(entity, 9000, 70000, -3000);
    e.cameraAngle = {4000, 2000, 0};
    e.fogMode = uint8_t(size & 1);
    e.DrawFrame(FrameBuffer);
    e.cameraPos = {0, 0, 400};  // inside the objects
    e.DrawFrame(FrameBuffer);
    e.cameraPos = {0, 0, 0};
  }
  if (getenv("KVR_FUZZ_VERBOSE")) fprintf(stderr, "ready %d map %d entity %d polygons %d\n", e.ready, map, entity, e.polygonsUsed);
  e.store.Release();
  // A damaged model logs at every input; the log must not grow without end.
  DeleteLog();
  return 0;
}
