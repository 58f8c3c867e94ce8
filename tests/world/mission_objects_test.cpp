// The things the craft touches: pickups, the barrier, the neural link and the mainframe with
// their countdowns, the escape ship. (The map exit's road is the mission road's.)
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "world/mission_target.h"
#include "world_fixture.h"

namespace {

class MissionTest : public KindTest {
 protected:
  void SetUp() override {
    // Every model is one small square; the key frames have the same shape.
    TdoFile model = GroundTile(40);
    for (const char* name :
         {"energypack.tdo", "ammo_mgun.tdo", "ammo_plasma.tdo", "ammo_rocket.tdo", "keycard.tdo",
          "bomb.tdo", "hyperload.tdo", "barrierup.tdo", "barrierdown.tdo", "neurallink.tdo",
          "nl_expl_f1.tdo", "nl_expl_f2.tdo", "mainframe.tdo", "mf_expl_f1.tdo", "mf_expl_f2.tdo",
          "ship.tdo", "shipclosed.tdo"})
      dir.Write(name, model.Bytes());
    KindTest::SetUp();
  }
  void Touch(KindHeader* k) { DispatchCollision(&world, k->entity, craft.entity); }
  // The messages shown during one update.
  std::vector<std::string> StepMessages(KindHeader* k) {
    host.messages.clear();
    Update(k);
    return host.messages;
  }
};

// What a pickup does with the craft's supplies at and below their limits.
TEST_F(MissionTest, SupplyPickupsFillUpToTheirLimitsAndStayWhenFull) {
  struct Case {
    int32_t type;
    int32_t PlayerCraft::*field;
    int32_t before, after;
    bool taken;
  };
  const Case cases[] = {
      {kTypeEnergyPack, &PlayerCraft::energy, 250, 250, false},
      {kTypeEnergyPack, &PlayerCraft::energy, 200, 250, true},
      {kTypeEnergyPack, &PlayerCraft::energy, 100, 200, true},
      {kTypeAmmoMGun, &PlayerCraft::gunAmmo, 300, 300, false},
      {kTypeAmmoMGun, &PlayerCraft::gunAmmo, 50, 250, true},
      {kTypeAmmoMGun, &PlayerCraft::gunAmmo, 298, 300, true},
      {kTypeAmmoPlasma, &PlayerCraft::plasmaAmmo, 150, 150, false},
      {kTypeAmmoPlasma, &PlayerCraft::plasmaAmmo, 30, 130, true},
      {kTypeAmmoPlasma, &PlayerCraft::plasmaAmmo, 149, 150, true},
      {kTypeAmmoRocket, &PlayerCraft::rockets, 8, 8, false},
      {kTypeAmmoRocket, &PlayerCraft::rockets, 0, 4, true},
      {kTypeAmmoRocket, &PlayerCraft::rockets, 7, 8, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "type " << c.type << " from " << c.before);
    KindHeader* m = Make(c.type);
    craft.*c.field = c.before;
    Update(m);
    Touch(m);
    EXPECT_EQ(craft.*c.field, c.after);
    EXPECT_EQ(m->entity->active, c.taken ? 0 : 1);
    EXPECT_EQ(Hidden(m), c.taken);
    EXPECT_TRUE(host.messages.empty());
    Touch(m);  // a taken pickup gives nothing more
    EXPECT_EQ(craft.*c.field, c.after);
  }
}

TEST_F(MissionTest, MissionItemsSetTheirFlagInTheFileTheMomentTheyAreTaken) {
  struct Case {
    int32_t type;
    uint8_t PlayerData::*flag;
    const char* message;
  };
  const Case cases[] = {
      {kTypeShipKeyCard, &PlayerData::haveShipKeyCard, "You got the ship keycard"},
      {kTypeXBomb, &PlayerData::xBomb, "You got the X Bomb"},
      {kTypeCodeCard, &PlayerData::selfDestructCode, "You got the mainframe self destruction code"},
      {kTypeHyperLoad, &PlayerData::hyperjumpLoaded, "Hyperjump device has been charged."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    host.messages.clear();
    KindHeader* m = Make(c.type);
    std::remove(dir.File("kvr_playerdata.dat").c_str());
    Touch(m);
    EXPECT_EQ(host.player.*c.flag, 1);
    PlayerData saved = {};
    EXPECT_TRUE(ReadPlayerData(&saved));
    EXPECT_EQ(saved.*c.flag, 1);
    EXPECT_EQ(host.messages, std::vector<std::string>{c.message});
  }
}

TEST_F(MissionTest, TheHyperloadStationStaysAndRefusesASecondChargeSilently) {
  KindHeader* station = Make(kTypeHyperLoad);
  station->entity->y = 500;
  station->entity->heading = 1234;
  Update(station);
  EXPECT_EQ(Object(station->object)->y, 440);  // drawn 60 below, turned, not spun
  EXPECT_EQ(Object(station->object)->angleY, 1234);
  Touch(station);
  Touch(station);
  Update(station);
  EXPECT_EQ(host.messages, std::vector<std::string>{"Hyperjump device has been charged."});
  EXPECT_EQ(station->entity->active, 1);
  EXPECT_FALSE(Hidden(station));
  EXPECT_EQ(Object(station->object)->angleY, 1234);
}

TEST_F(MissionTest, MissingModelsAndSamplesAreLogged) {
  dir.Write("ammo_rocket.tdo", "");
  std::remove(dir.File("recharge.wav").c_str());
  Make(kTypeAmmoRocket);
  EXPECT_EQ(LogCount("Error loading ammo_rocket.tdo"), 1);
  EXPECT_EQ(LogCount("Error loading recharge.wav"), 1);
}

// Touched without what it needs, each says so on every touch and waits as it stands.
TEST_F(MissionTest, WithoutWhatItNeedsEachSaysSoOnEveryTouch) {
  struct Row {
    int32_t type;
    const char* message;
  };
  for (const Row& r : {Row{kTypeBarrier, "Shutdown neural link to open"},
                       Row{kTypeNeuralLink, "You need the X Bomb to destroy the Neural Link"},
                       Row{kTypeMainframe, "You need the mainframe self destruction code"},
                       Row{kTypeShip, "You need the ship keycard"}}) {
    SCOPED_TRACE(r.message);
    host.messages.clear();
    KindHeader* k = Make(r.type);
    Touch(k);
    Touch(k);
    Update(k);
    EXPECT_EQ(host.messages, (std::vector<std::string>{r.message, r.message}));
    EXPECT_EQ(k->state, 0);
    EXPECT_EQ(k->entity->active, 1);
  }
}

// Once the link is down a standing barrier sinks and lets the craft through; one made after
// it fell is down from the start, dormant and hidden.
TEST_F(MissionTest, TheBarrierOpensWhenTheLinkFalls) {
  dir.Write("barrierup.tdo", GroundTile(40, 0, 100, 100, 100, 100).Bytes());
  KindHeader* up = Make(kTypeBarrier);
  host.player.neuralLinkDown = 1;
  KindHeader* late = Make(kTypeBarrier);
  EXPECT_EQ(late->entity->active, 0);
  EXPECT_TRUE(Hidden(late));
  // Lowered: the base shows the second frame (its curtain at 0 instead of 100).
  EXPECT_LE(Object(late->object)->vertices[0].y, 1);
  EXPECT_EQ(Object(up->object)->vertices[0].y, 100);
  for (int i = 0; i < 20 && up->entity->active; ++i) Update(up);
  EXPECT_EQ(up->entity->active, 0);
  EXPECT_FALSE(Hidden(up));
  EXPECT_LE(Object(up->object)->vertices[0].y, 1);
}

TEST_F(MissionTest, TheNeuralLinkWithTheBombCountsDownSkippingExactThousands) {
  KindHeader* link = Make(kTypeNeuralLink);
  host.player.xBomb = 1;
  Touch(link);
  EXPECT_EQ(link->state, 3);
  // 40 ms steps from 5000: the messages of a step by the time left after it.
  using V = std::vector<std::string>;
  const std::map<int32_t, V> expected = {
      {4040, {}},  {3960, {"X Bomb planted."}}, {3040, {"X Bomb planted."}}, {3000, {}},
      {2960, {"3"}}, {2000, {}}, {1960, {"2"}}, {1000, {}}, {960, {"1"}}, {0, {}}};
  for (int32_t left = 5000 - 40; left >= 0; left -= 40) {
    const V shown = StepMessages(link);
    if (expected.count(left)) {
      EXPECT_EQ(shown, expected.at(left)) << left;
    }
  }
  EXPECT_EQ(host.player.neuralLinkDown, 0);
  EXPECT_EQ(StepMessages(link), V{"Neural Link destroyed."});
  EXPECT_EQ(host.player.neuralLinkDown, 1);
  EXPECT_EQ(link->state, 1);
  EXPECT_EQ(link->entity->active, 0);
  EXPECT_TRUE(Hidden(link));
  Object3D* debris = Object(reinterpret_cast<MissionTarget*>(link)->explosionObject);
  EXPECT_FALSE(debris->hidden);
  int steps = 0;
  while (link->state == 1 && steps < 400) {
    Update(link);
    ++steps;
  }
  EXPECT_EQ(steps, 257);  // one blend step per tick until above 256
  EXPECT_EQ(link->state, 2);
  EXPECT_TRUE(debris->hidden);
}

TEST_F(MissionTest, ALinkKeptDestroyedByTheMapStateStaysSilentAndHidden) {
  KindHeader* link = Make(kTypeNeuralLink);
  link->entity->active = 0;  // what the map state restores
  Update(link);
  EXPECT_EQ(link->state, 2);
  EXPECT_TRUE(Hidden(link));
  host.player.xBomb = 1;
  Touch(link);
  EXPECT_EQ(link->state, 2);
}

TEST_F(MissionTest, TheMainframeCountsFromThirteenAndEndsTheGameWhileThePlayerLives) {
  KindHeader* frame = Make(kTypeMainframe);
  host.player.selfDestructCode = 1;
  host.player.gunAmmo = 12;
  Touch(frame);
  std::vector<std::string> shown;
  std::vector<int32_t> silentAt;
  for (int32_t left = 15000 - 40; left >= 0; left -= 40) {
    std::vector<std::string> m = StepMessages(frame);
    if (m.empty())
      silentAt.push_back(left);
    else if (shown.empty() || shown.back() != m[0])
      shown.push_back(m[0]);
  }
  const std::vector<std::string> expected = {"Self Destruction sequence activated.",
                                             "13", "12", "11", "10", "9", "8", "7", "6", "5",
                                             "4", "3", "2", "1"};
  EXPECT_EQ(shown, expected);
  for (int32_t t : {13000, 12000, 3000, 2000, 1000, 0}) {
    SCOPED_TRACE(t);
    EXPECT_NE(std::find(silentAt.begin(), silentAt.end(), t), silentAt.end());
  }
  EXPECT_EQ(StepMessages(frame), std::vector<std::string>{" "});
  // The player lived: a new game waits, the final sequence starts.
  EXPECT_EQ(host.player.gunAmmo, 300);
  EXPECT_EQ(host.player.neuralLinkDown, 1);
  EXPECT_EQ(frame->state, 1);
  Update(frame);
  EXPECT_EQ(craft.header.state, 6);
  craft.header.state = 7;
  Update(frame);
  EXPECT_EQ(craft.header.state, 7);
}

TEST_F(MissionTest, TheMainframeWaitsAgainWhenThePlayerDiedBeforeTheEnd) {
  KindHeader* frame = Make(kTypeMainframe);
  host.player.selfDestructCode = 1;
  host.player.gunAmmo = 12;
  Touch(frame);
  craft.energy = 0;
  for (int i = 0; i < 376; ++i) Update(frame);
  EXPECT_EQ(frame->state, 0);
  EXPECT_EQ(host.player.gunAmmo, 12);  // no new game
  EXPECT_EQ(frame->entity->active, 1);
  Touch(frame);
  EXPECT_EQ(frame->state, 3);
}

// With the keycard the door waits for the craft to be inside (the departure, the fade and
// the new campaign are the mission road's).
TEST_F(MissionTest, WithTheKeycardTheShipWaitsForTheCraft) {
  KindHeader* ship = Make(kTypeShip);
  host.player.haveShipKeyCard = 1;
  Touch(ship);
  EXPECT_EQ(ship->state, 1);
  for (int i = 0; i < 5; ++i) Update(ship);
  EXPECT_EQ(ship->state, 1);
  EXPECT_EQ(ship->entity->active, 1);
}

}  // namespace
