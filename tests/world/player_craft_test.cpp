// The player's craft: weapons and their ammunition, damage by skill, the walk cycle, death,
// what it keeps in the player data, the camera's turn, and the head-up display on the
// in-game form (and the log lines when the form lacks it).
#include "world_fixture.h"

namespace {

TEST_F(CraftTest, TheLastTwoRoundsFireOnceThenShootSwitchesToPlasma) {
  host.player.gunAmmo = 2;
  MakeCraft();
  Hold(kActShoot);
  Step(4);  // a new gun waits its 200 ms like after any shot
  EXPECT_EQ(craft->gunAmmo, 2);
  Step();
  EXPECT_EQ(craft->gunAmmo, 0);
  EXPECT_EQ(FlyingShots(craft->machineGun), 1);
  EXPECT_EQ(craft->weapon, kWeaponMachineGun);
  Step();  // still held: the empty gun gives way to the plasma gun
  EXPECT_EQ(craft->weapon, kWeaponPlasma);
  EXPECT_EQ(craft->plasmaAmmo, 30);
  EXPECT_EQ(FlyingShots(craft->machineGun), 1);
}

TEST_F(CraftTest, ShootWithAnEmptyWeaponSwitchesInsteadOfFiring) {
  struct Case {
    int32_t gun, plasma, rockets, chosen, expected;
  };
  const Case cases[] = {
      {300, 30, 0, kWeaponRocket, kWeaponPlasma},       // CHANGEWEAPON lands on no rockets
      {300, 0, 0, kWeaponRocket, kWeaponMachineGun},
      {300, 0, 4, kWeaponPlasma, kWeaponRocket},
      {0, 0, 0, kWeaponRocket, kWeaponRocket},           // nothing anywhere: it stays
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.chosen * 100 + c.expected);
    host.player.gunAmmo = c.gun;
    host.player.plasmaAmmo = c.plasma;
    host.player.rockets = c.rockets;
    host.player.weapon = kWeaponMachineGun;
    MakeCraft();
    while (craft->weapon != c.chosen) Tap(kActChangeWeapon);
    Hold(kActShoot);
    Step();
    Release(kActShoot);
    EXPECT_EQ(craft->weapon, c.expected);
    EXPECT_EQ(FlyingShots(craft->machineGun) + FlyingShots(craft->plasmaGun), 0);
    EXPECT_EQ(craft->rocketLauncher->state, kRocketReady);
    EXPECT_EQ(craft->gunAmmo + craft->plasmaAmmo + craft->rockets, c.gun + c.plasma + c.rockets);
    FreshMap();
  }
}

TEST_F(CraftTest, PlasmaAlternatesSidesAtMostOnceIn150Ms) {
  host.player.weapon = kWeaponPlasma;
  MakeCraft(1000, 100, 2000);
  Hold(kActShoot);
  Step(3);  // 120 ms: the gun is not ready yet
  EXPECT_EQ(FlyingShots(craft->plasmaGun), 0);
  Step();
  ASSERT_EQ(FlyingShots(craft->plasmaGun), 1);
  // The offsets are turned through the 255-unit identity, which rounds down.
  EXPECT_EQ(craft->plasmaGun->shots[0].entity->x, 1000 + 79);
  EXPECT_EQ(craft->plasmaGun->shots[0].entity->y, 100 + 149);
  Step(12);  // 640 ms of holding: a shot every 160 ms
  EXPECT_EQ(FlyingShots(craft->plasmaGun), 4);
  EXPECT_EQ(craft->plasmaAmmo, 26);
  const Entity* second = craft->plasmaGun->shots[1].entity;
  EXPECT_LT(second->x, 1000 - 70);  // the left side; it flies straight ahead (+z)
  EXPECT_GT(second->x, 1000 - 90);
}

// Both ways of losing the last energy stop at 0 (the display never reads below it) and
// the craft explodes as before.
TEST_F(CraftTest, TheLastEnergyLostStopsAtZeroAndTheCraftExplodes) {
  struct Case {
    const char* what;
    int32_t energy;
    bool lava;  // else a plasma shot hits
  };
  const Case cases[] = {{"hard plasma hit at 10", 10, false}, {"lava at 3", 3, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    host.player.skillLevel = 3;
    host.player.energy = c.energy;
    host.fadeOuts = 0;
    if (c.lava) PlaceModel(GroundTile(400, 1), 0, 0, 0);
    MakeCraft(c.lava ? -300 : 0, 100, c.lava ? -300 : 0);
    if (c.lava) {
      UpdateEntities(&world, world.entities);  // one step on the ground takes 5
    } else {
      Entity* enemy = AddVictim(kTypeMegaRaptor, 5000, 100, 0);
      Entity shot = {};
      shot.type = kTypePlasma;
      shot.active = 1;
      shot.owner = enemy;
      DispatchCollision(&world, craft->entity, &shot);
    }
    EXPECT_EQ(craft->energy, 0);
    EXPECT_EQ(craft->header.state, kCraftAlive);
    kPlayerKind.update(&world, craft);
    EXPECT_EQ(craft->header.state, kCraftExploding);
    EXPECT_EQ(craft->energy, 0);
    EXPECT_EQ(craft->entity->active, 0);
    EXPECT_EQ(scene->store.Get(craft->explosionObject)->hidden, 0);
    EXPECT_EQ(craft->rocketLauncher->state, kRocketBursting);  // the craft's own blast
    // The fade starts at 180 and the wreck is gone at 257.
    Step(180);
    EXPECT_EQ(craft->explosionTime, 180);
    EXPECT_EQ(host.fadeOuts, 1);
    Step(76);
    EXPECT_EQ(craft->header.state, kCraftExploding);
    Step();
    EXPECT_EQ(craft->explosionTime, 257);
    EXPECT_EQ(craft->header.state, kCraftDead);
    EXPECT_EQ(scene->store.Get(craft->explosionObject)->hidden, 1);
    EXPECT_EQ(host.fadeOuts, 1);
    EXPECT_EQ(craft->energy, 0);
    FreshMap();
  }
}

TEST_F(CraftTest, BumpingBouncesAndStandsClearWhileTheShipWithTheKeycardBoards) {
  MakeCraft(0, 100, 0);
  Entity* self = craft->entity;
  self->vz = 40;
  Entity* tank = AddVictim(kTypeStegoTank, 0, 100, 150);
  DispatchCollision(&world, self, tank);
  EXPECT_EQ(self->vz, -40);
  // Pushed back along the line between them to the sum of the radii plus 10.
  EXPECT_EQ(self->x, 0);
  EXPECT_EQ(self->z, 150 - ((self->radius + 100 + 10) * 256 >> 8));
  // Pickups and map exits are not obstacles.
  Entity* pack = AddVictim(kTypeEnergyPack, 0, 100, 100);
  const Entity before = *self;
  DispatchCollision(&world, self, pack);
  EXPECT_EQ(self->z, before.z);
  EXPECT_EQ(self->vz, before.vz);
  // The ship: a bump without the keycard, boarding with it.
  Entity* ship = AddVictim(kTypeShip, 0, 100, 3000);
  DispatchCollision(&world, self, ship);
  EXPECT_EQ(craft->header.state, kCraftAlive);
  EXPECT_EQ(self->vz, 40);
  host.player.haveShipKeyCard = 1;
  world.ship = victims.back().get();
  DispatchCollision(&world, self, ship);
  EXPECT_EQ(craft->header.state, kCraftBoarding);
  EXPECT_EQ(self->vz, 40);
  Step(3);  // 120 ms: past the pause it drives in (up the ramp and on is the mission road's)
  EXPECT_EQ(craft->header.state, kCraftDrivingIn);
  EXPECT_EQ(host.player.boardedShip, 1);
}

TEST_F(CraftTest, StandingStillTheWalkStopsOnlyAtTheStartOfSegmentTwoOrFour) {
  MakeCraft();
  craft->entity->thrust = 1;
  int steps = 0;
  for (int stop = 0; stop < 12; ++stop) {
    // Walk a different distance each time, then let go of the engine.
    craft->entity->thrust = 1;
    Step(7 + stop * 5);
    craft->entity->thrust = 0;
    for (steps = 0; steps < 200; ++steps) {
      const int32_t frame = craft->walkFrame, blend = craft->walkBlend;
      Step();
      if (craft->walkFrame == frame && craft->walkBlend == blend && craft->entity->speed == 0 &&
          !craft->settling)
        break;
    }
    ASSERT_LT(steps, 200);
    EXPECT_TRUE(craft->walkFrame == 2 || craft->walkFrame == 4) << craft->walkFrame;
    EXPECT_LT(craft->walkBlend, 30);
  }
}

TEST_F(CraftTest, ThePlayerDataKeepsWhatTheWayOfLeavingCallsFor) {
  struct Case {
    const char* how;
    int32_t state;
    bool keepsProgress, keepsPlace;
  };
  const Case cases[] = {
      {"by the menu", kCraftAlive, true, true},
      {"through a map exit", kCraftLeftMap, true, false},
      {"after death", kCraftDead, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    FreshMap();
    NewGameReset(&host.player);
    host.player.restorePlayer = 1;
    MakeCraft(1234, 150, -777, 40000);
    craft->gunAmmo = 120;
    craft->plasmaAmmo = 5;
    craft->rockets = 2;
    craft->energy = 99;
    craft->weapon = kWeaponRocket;
    craft->entity->thrust = 1;
    craft->entity->vz = 44;
    craft->header.state = c.state;
    DropCraft();
    const PlayerData& d = host.player;
    EXPECT_EQ(d.gunAmmo, c.keepsProgress ? 120 : 300);
    EXPECT_EQ(d.energy, c.keepsProgress ? 99 : 250);
    EXPECT_EQ(d.weapon, c.keepsProgress ? kWeaponRocket : kWeaponMachineGun);
    EXPECT_EQ(d.engineOn, c.keepsProgress ? 1 : 0);
    EXPECT_EQ(d.velocity[2], c.keepsProgress ? 44 : 0);
    EXPECT_EQ(d.state, c.keepsProgress ? c.state : 0);
    EXPECT_EQ(d.restorePlayer, c.keepsPlace ? 1 : 0);
    EXPECT_EQ(d.position[0], c.keepsPlace ? 1234 : 0);
    EXPECT_EQ(d.heading, c.keepsPlace ? 40000 : 0);
    // The next craft made from this record starts alive.
    MakeCraft();
    EXPECT_EQ(craft->header.state, kCraftAlive);
  }
}

TEST_F(CraftTest, TheCameraHeadingTurnsAnEighthOfTheWayTheShortWayRound) {
  struct Case {
    int32_t current, target, next;
  };
  const Case cases[] = {
      {0, 80000, 10000},
      {80000, 0, 70000},
      {10000, 514288, 7500},   // across zero: down, not all the way round
      {514288, 10000, 516788},
      {0, 524288 - 8, 524287},  // wraps into 0..524288
  };
  MakeCraft();
  world.cameraMode = 1;
  for (const Case& c : cases) {
    world.cameraHeading = c.current;
    craft->entity->heading = c.target;
    UpdateCamera(&world);
    EXPECT_EQ(world.cameraHeading, c.next) << c.current << " -> " << c.target;
  }
}

void NoEvents(FormManager*, int32_t, int32_t, void*, const char*) {}

class HudTest : public CraftTest {
 protected:
  void SetUp() override {
    CraftTest::SetUp();
    host.forms = CreateFormManager(0, nullptr, host.sound, NoEvents);
    ASSERT_NE(host.forms, nullptr);
  }
  void TearDown() override {
    DropCraft();
    DestroyFormManager(host.forms);
    host.forms = nullptr;
    CraftTest::TearDown();
  }
  const char* Label(const char* name) {
    auto* label = static_cast<LabelControl*>(FindCurrentControl(host.forms, name));
    return label ? label->text : "(none)";
  }
  int Visible(const char* name) {
    auto* image = static_cast<SpriteImage*>(FindCurrentControl(host.forms, name));
    return image ? image->visible : -1;
  }
};

TEST_F(HudTest, TheDisplayFollowsTheWeaponItsAmmunitionAndTheEngine) {
  ASSERT_TRUE(OpenForm(host.forms, "kvr.rsx", "FORMINGAME_CAM_FP"));
  host.player.gunAmmo = 120;
  host.player.plasmaAmmo = 17;
  host.player.rockets = 3;
  MakeCraft();
  RefreshWeaponDisplay(&world, craft);
  struct Shown {
    const char* name;
    const char* ammo;
    int gun, plasma, rocket;
  };
  const Shown expected[] = {{"Machine gun", "120", 1, 0, 0},
                            {"Plasma", "17", 0, 1, 0},
                            {"Rocket", "3", 0, 0, 1},
                            {"Machine gun", "120", 1, 0, 0}};
  for (const Shown& s : expected) {
    if (&s != expected) Tap(kActChangeWeapon);
    EXPECT_STREQ(Label("CURRWEAPON"), s.name);
    EXPECT_STREQ(Label("AMMOLEFT"), s.ammo);
    EXPECT_EQ(Visible("CROSSHAIR_RIFLEMACHINE"), s.gun);
    EXPECT_EQ(Visible("CROSSHAIR_PLASMA"), s.plasma);
    EXPECT_EQ(Visible("CROSSHAIR_ROCKET"), s.rocket);
  }
  auto* led = static_cast<CheckboxControl*>(FindCurrentControl(host.forms, "ENGINELED"));
  ASSERT_NE(led, nullptr);
  EXPECT_EQ(led->checked, 0);
  Tap(kActEngineOnOff);
  EXPECT_EQ(led->checked, 1);
  Tap(kActEngineOnOff);
  EXPECT_EQ(led->checked, 0);
  // Firing counts down on the display.
  Hold(kActShoot);
  Step(5);
  EXPECT_STREQ(Label("AMMOLEFT"), "118");
  EXPECT_EQ(dir.Log(), "");
}

TEST_F(HudTest, AFormWithoutTheDisplayLogsAndPlayGoesOn) {
  ASSERT_TRUE(OpenForm(host.forms, "kvr.rsx", "FORMMAIN"));
  MakeCraft();
  RefreshWeaponDisplay(&world, craft);
  RefreshAmmoDisplay(&world, craft);
  RefreshEngineLed(&world, craft);
  EXPECT_EQ(dir.Log(),
            "Error getting label pointer.\n"
            "Error getting image pointer.(0)\n"
            "Error getting image pointer.(1)\n"
            "Error getting image pointer.(2)\n"
            "Error getting label pointer.\n");
}

}  // namespace
