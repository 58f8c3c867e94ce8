// The craft's head-up display on the in-game form: weapon name, crosshair, ammunition,
// engine light, and the log lines when the form lacks them.
#include "craft_fixture.h"

namespace {

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
