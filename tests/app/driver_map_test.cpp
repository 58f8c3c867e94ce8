// The driver with a map: the roads out of a played map (window closed, quit request, question
// open) all keep its state, and the world's requests for another map, a restore after death
// and the main menu are carried out.
#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "driver_fixture.h"
#include "world/kinds.h"

namespace {

// A craft of the test's own in the map's player record, with full energy, so that leaving
// the map keeps its state as it does with the game's craft.
int cratesMade = 0, craftsDestroyed = 0;

void* MakeCraft(World* world, const EntRecord&) {
  auto* craft = static_cast<PlayerCraft*>(AllocZeroed(sizeof(PlayerCraft)));
  if (!craft) return nullptr;
  craft->header.type = kTypePlayer;
  craft->header.object = -1;
  craft->header.entity = AddEntity(world->entities, kTypePlayer, kModeGround, craft);
  craft->energy = 250;
  for (int32_t& sound : craft->sounds) sound = -1;
  ++cratesMade;
  return craft;
}

void DestroyCraft(World*, void*) { ++craftsDestroyed; }

const KindFunctions kTestCraft = {MakeCraft, nullptr, nullptr, DestroyCraft};

class DriverMapTest : public DriverTest {
 protected:
  void SetUp() override {
    cratesMade = craftsDestroyed = 0;
    SetKindFunctionsForTest(kTypePlayer, &kTestCraft);
    DriverTest::SetUp();
  }
  void TearDown() override {
    DriverTest::TearDown();
    SetKindFunctionsForTest(kTypePlayer, nullptr);
  }
  // Continues a saved game in the first map, as Play does, until the map is played.
  void EnterMap() {
    NewGameReset(&driver.player);
    CloseCurrentForm(Forms);
    driver.OpenInGameForm();
    for (int i = 0; i < 20 && driver.screenState != kScreenPlaying; ++i) Step();
    ASSERT_EQ(driver.screenState, kScreenPlaying);
    ASSERT_TRUE(WorldMapLoaded(&driver.world));
    ASSERT_EQ(cratesMade, 1);
  }
};

// Whatever ends the program in the middle of a map, the map is unloaded, which writes its
// state, and the player data is written.
enum Road { kWindowClosed, kQuitRequest, kQuestionOpen };

class RoadOut : public DriverMapTest, public ::testing::WithParamInterface<Road> {};

TEST_P(RoadOut, KeepsThePlayedMap) {
  EnterMap();
  EXPECT_FALSE(dir.Exists("map1_1.sav"));
  switch (GetParam()) {
    case kWindowClosed:
      break;
    case kQuitRequest:
      // The exit button's request ends the program at the next step, with no question.
      Input.quitRequest = 1;
      EXPECT_FALSE(Step());
      EXPECT_EQ(std::make_tuple(driver.screenState, std::string(driver.choiceText)),
                std::make_tuple(kScreenPlaying, ""));
      break;
    case kQuestionOpen:
      Input.action[kActGoToMenu].current = 1;  // the in-game menu button
      EXPECT_TRUE(Step());
      EXPECT_EQ(std::make_tuple(driver.screenState, std::string(driver.choiceText)),
                std::make_tuple(kScreenChoice, "Go to menu?"));
      break;
  }
  ShutDown();  // the map state and the player data written, the craft destroyed once, the map gone
  EXPECT_EQ(std::make_tuple(dir.Exists("map1_1.sav"), dir.Exists(kPlayerDataFile), craftsDestroyed,
                            WorldMapLoaded(&driver.world)),
            std::make_tuple(true, true, 1, false));
  EXPECT_EQ(dir.Log(), "");
}

INSTANTIATE_TEST_SUITE_P(Driver, RoadOut,
                         ::testing::Values(kWindowClosed, kQuitRequest, kQuestionOpen));

// The menu keys answer the question only: the console's focus under it does not move, and
// the select key does not press the console's engine switch as well.
TEST_F(DriverMapTest, TheQuestionAloneTakesTheMenuKeys) {
  EnterMap();
  Entity* craft = driver.world.player->header.entity;
  const int32_t focus = Forms->current->focused;
  Input.action[kActGoToMenu].current = 1;
  Step();
  ASSERT_EQ(driver.screenState, kScreenChoice);
  for (int vk : {0x25, 0x25, 0x0D}) {  // left, left (to the engine switch), select
    Step(vk);
    Step();
  }
  EXPECT_EQ(Forms->current->focused, focus);
  EXPECT_EQ(craft->thrust, 0);
  EXPECT_EQ(driver.world.worldState, kWorldClosing);  // "Yes": the closing pause began
}

// The game's own craft in the first map, seen from either camera.
class PlayedMap : public DriverTest, public ::testing::WithParamInterface<int32_t> {};

// A frame with no logic step since the last one copies the sky and the 3D view back instead
// of drawing them again. It must be the very frame a full draw makes, with the head-up
// display drawn over the view the frame before, while the craft starts, turns, fires, looks
// up and stands.
TEST_P(PlayedMap, AFrameWithoutAStepIsTheFrameAFullDrawMakes) {
  Bindings.code[kActEngineOnOff] = 'Q';
  Bindings.code[kActShoot] = 'F';
  Bindings.code[kActLeft] = 'A';
  Bindings.code[kActRight] = 'D';
  Bindings.code[kActViewUp] = 'R';
  driver.settings.cameraMode = GetParam();
  NewGameReset(&driver.player);
  CloseCurrentForm(Forms);
  driver.OpenInGameForm();
  for (int i = 0; i < 20 && driver.screenState != kScreenPlaying; ++i) Step();
  ASSERT_EQ(driver.screenState, kScreenPlaying);
  ASSERT_TRUE(driver.world.view && driver.world.view->engine);
  Engine3D* engine = driver.world.view->engine;
  constexpr size_t kPixels = 240 * 320;
  std::vector<uint16_t> copied(kPixels), previous(FrameBuffer, FrameBuffer + kPixels);
  int steps = 0, moved = 0;
  const struct {
    int vk, steps;
  } road[] = {{'Q', 1}, {0, 4}, {'A', 6}, {'F', 4}, {'R', 3}, {'D', 6}, {0, 6}};
  for (const auto& leg : road)
    for (int i = 0; i < leg.steps; ++i, ++steps) {
      SCOPED_TRACE(testing::Message() << "step " << steps);
      Step(leg.vk);
      FrameDeltaMs = 0;  // the head-up line's clock stands still for the extra frames
      engine->outlinesDrawn = -1;  // a drawn view sets it
      driver.Render(FrameBuffer);
      EXPECT_EQ(engine->outlinesDrawn, -1) << "the view was drawn again";
      std::copy_n(FrameBuffer, kPixels, copied.begin());
      driver.stepped = 1;  // as after a step: the sky and the view drawn whole
      driver.Render(FrameBuffer);
      ASSERT_NE(engine->outlinesDrawn, -1);
      ASSERT_TRUE(std::equal(copied.begin(), copied.end(), FrameBuffer));
      if (!std::equal(previous.begin(), previous.end(), FrameBuffer)) ++moved;
      std::copy_n(FrameBuffer, kPixels, previous.begin());
    }
  EXPECT_GE(moved, steps - 6);  // the picture changed with nearly every step
  EXPECT_EQ(dir.Log(), "");
}

INSTANTIATE_TEST_SUITE_P(Driver, PlayedMap, ::testing::Values(kCameraFirstPerson, kCameraExternal));

}  // namespace
