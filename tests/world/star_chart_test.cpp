// The star chart on the baked FORMSTARCHART: stepping through the destinations, the camera
// turning towards the chosen one, and the jump with and without the hyperjump charge.
#include <cstdint>
#include <cstdio>
#include <string>

#include "gui/gui.h"
#include "world/world_internal.h"
#include "world_fixture.h"

namespace {

World* chartWorld = nullptr;

// The menu handler's share of the star chart.
void ChartEvents(FormManager*, int32_t code, int32_t, void*, const char* name) {
  if (!chartWorld || !name || std::string(name) != "FORMSTARCHART") return;
  if (code == kEventFormOpened) StarChartOpen(chartWorld);
  if (code == kEventFormTick) StarChartUpdate(chartWorld);
  if (code == kEventFormClosing) StarChartClose(chartWorld);
}

// Destinations of a test chart: (system, x, z, name, map).
struct Destination {
  int32_t system, x, z;
  const char* name;
  const char* map;
};

class StarChartTest : public WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    chartWorld = &world;
    forms = CreateFormManager(0, nullptr, nullptr, ChartEvents);
    ASSERT_NE(forms, nullptr);
    snprintf(forms->scriptName, sizeof forms->scriptName, "kvr.rsx");
    host.forms = forms;
    SetFirstStartPlayerData(&host.player);
    host.player.starSystem = 1;
    host.settings.cameraMode = 1;
  }
  void TearDown() override {
    DestroyFormManager(forms);
    chartWorld = nullptr;
    WorldTest::TearDown();
  }
  // Replaces the baked destinations.
  void UseDestinations(const std::vector<Destination>& list) {
    std::vector<std::string> records;
    for (const Destination& d : list)
      records.push_back(EntRecordBytes(d.system, d.x, 300, d.z, 0, d.name, d.map));
    dir.Write("starchart.ent", EntFile(records));
  }
  void Open() { ASSERT_TRUE(OpenForm(forms, "kvr.rsx", "FORMSTARCHART")); }
  std::string Shown() {
    auto* label = static_cast<LabelControl*>(FindCurrentControl(forms, "LBL_DESTINATION"));
    return label ? label->text : "";
  }
  std::string CurrentForm() { return forms->current ? forms->current->name : ""; }

  FormManager* forms = nullptr;
};

const std::vector<Destination> kChart = {
    {1, 0, 900, "Ahead", "ahead.map"},
    {1, 900, 0, "Right", "right.map"},
    {2, -600, -600, "Far", "far.map"},
};

TEST_F(StarChartTest, StepsStopAtBothEndsAndTheMarkerFollows) {
  UseDestinations(kChart);
  host.player.starChartChoice = 1;
  Open();
  ASSERT_NE(world.starChart, nullptr);
  EXPECT_EQ(Shown(), "Right");
  StarChartPrevious(&world);
  EXPECT_EQ(Shown(), "Ahead");
  StarChartPrevious(&world);  // at the first: nothing
  EXPECT_EQ(Shown(), "Ahead");
  StarChartNext(&world);
  StarChartNext(&world);
  EXPECT_EQ(Shown(), "Far");
  StarChartNext(&world);  // at the last: nothing
  EXPECT_EQ(Shown(), "Far");
  Engine3D* chart = world.starChart->scene;
  ASSERT_NE(chart, nullptr);
  const Sprite3D& marker = chart->sprites[world.starChart->marker];
  EXPECT_EQ(marker.x, -600);
  EXPECT_EQ(marker.z, -600);
  EXPECT_EQ(marker.visible, 1);
  // The scenery of the baked chart is there, lit by both texture banks.
  EXPECT_GT(chart->store.count, 0);
  EXPECT_EQ(dir.Log(), "");
}

TEST_F(StarChartTest, TheCameraTurnsToTheDestinationFromTheFarSide) {
  UseDestinations(kChart);
  host.player.starChartChoice = 0;
  Open();
  for (int i = 0; i < 200; ++i) StarChartUpdate(&world);
  // Straight ahead along +z: 180 degrees, truncated to 262134 heading units; the smoothing
  // comes to rest within an eighth of a unit step below it.
  EXPECT_EQ(StarChartTargetHeading(world.starChart->records[0]), 262134);
  EXPECT_LE(world.starChart->cameraHeading, 262134);
  EXPECT_GE(world.starChart->cameraHeading, 262134 - 7);
  Engine3D* chart = world.starChart->scene;
  EXPECT_EQ(chart->cameraAngle.y, world.starChart->cameraHeading);
  // 1500 from the centre, on the side away from the destination... which, turned by half a
  // turn, is the +z side.
  EXPECT_NEAR(chart->cameraPos.z, 1500, 30);
  EXPECT_NEAR(chart->cameraPos.x, 0, 30);
}

TEST_F(StarChartTest, MissingFilesAreLoggedAndTheFormStillOpens) {
  std::remove(dir.File("starchart.map").c_str());
  Open();
  StarChartUpdate(&world);
  StarChartNext(&world);
  StarChartJump(&world);  // nothing to jump to
  EXPECT_EQ(CurrentForm(), "FORMSTARCHART");
  EXPECT_NE(dir.Log().find("Error opening starchart.map file.\n"), std::string::npos);
}

}  // namespace
