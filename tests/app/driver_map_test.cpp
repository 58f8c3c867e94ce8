// The driver with a map: the roads out of a played map (window closed, quit request, question
// open) all keep its state, and the world's requests for another map, a restore after death
// and the main menu are carried out.
#include <string>
#include <tuple>

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

}  // namespace
