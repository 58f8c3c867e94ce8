// Fuzz target: the bytes as both star-chart files, "starchart.map" loaded into a chart scene
// and "starchart.ent" read as destinations, then stepped through, turned to and drawn.
#include <cstdint>

#include "fuzz_engine3d_setup.h"
#include "world/kinds.h"
#include "world/world_internal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz3d::SharedEngine();  // the tables and the math object
  PutFuzzFile("starchart.map", data, size);
  PutFuzzFile("starchart.ent", data, size);
  Engine3D* scene = new Engine3D();
  if (scene->Create(nullptr, "FORMSTARCHART_TDENG", 0, 40, 240, 196)) {
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
  }
  scene->Destroy();
  delete scene;
  return 0;
}
