// Fuzz target: the bytes as both star-chart files, "starchart.map" loaded into a chart scene
// and "starchart.ent" read as destinations, then stepped through, turned to and drawn.
#include <cstdint>

#include "fuzz_engine3d_setup.h"
#include "world/kinds.h"
#include "world/world_internal.h"

// One chart scene for the whole run, as the form keeps one while it is open: its tables and
// buffers are made once, and each input starts from an empty store and the camera at rest.
Engine3D* ChartScene() {
  static Engine3D* scene = [] {
    fuzz3d::SharedEngine();  // the tables and the math object
    auto* e = new Engine3D();
    if (!e->Create(nullptr, "FORMSTARCHART_TDENG", 0, 40, 240, 196)) {
      e->Destroy();
      delete e;
      return static_cast<Engine3D*>(nullptr);
    }
    return e;
  }();
  return scene;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Engine3D* scene = ChartScene();
  if (!scene) return 0;
  PutFuzzFile("starchart.map", data, size);
  PutFuzzFile("starchart.ent", data, size);
  scene->cameraPos = {};
  scene->cameraAngle = {};
  LoadStarChartScene(scene);
  World world = {};
  StarChart chart = {};
  chart.records = EntRecordTable();
  chart.count = LoadStarChartRecords();
  chart.scene = scene;
  chart.marker = -1;
  world.starChart = &chart;
  for (int i = 0; i < 3; ++i) {
    StarChartNext(&world);
    StarChartUpdate(&world);
  }
  StarChartPrevious(&world);
  StarChartUpdate(&world);
  scene->DrawFrame(FrameBuffer);
  scene->store.Release();
  // A damaged file logs at every input; the log must not grow without end.
  DeleteLog();
  return 0;
}
