// The craft's head-up display: the weapon's name and crosshair, the ammunition left and
// the engine light, found by name on the current form.
#include <cstdio>

#include "world/player_craft.h"
#include "world/world_internal.h"

namespace {

constexpr const char* kWeaponNames[3] = {"Machine gun", "Plasma", "Rocket"};
constexpr const char* kCrosshairs[3] = {"CROSSHAIR_RIFLEMACHINE", "CROSSHAIR_PLASMA",
                                        "CROSSHAIR_ROCKET"};

// The control of that name and kind on the current form, or null.
void* Control(FormManager* forms, const char* name, int32_t wanted) {
  int32_t kind = 0;
  void* control = FindCurrentControl(forms, name, &kind);
  return control && kind == wanted ? control : nullptr;
}

}  // namespace

void RefreshWeaponDisplay(World* world, PlayerCraft* craft) {
  FormManager* forms = WorldForms(world);
  if (!forms || !craft) return;
  const bool known = craft->weapon >= 0 && craft->weapon <= 2;
  if (auto* label = static_cast<LabelControl*>(Control(forms, "CURRWEAPON", kControlLabel)))
    SetLabelText(label, known ? kWeaponNames[craft->weapon] : "");
  else
    LogMessage("Error getting label pointer.");
  for (int32_t i = 0; i < 3; ++i) {
    if (auto* image = static_cast<SpriteImage*>(Control(forms, kCrosshairs[i], kControlBitmap))) {
      image->visible = craft->weapon == i ? 1 : 0;
    } else {
      char text[40];
      snprintf(text, sizeof text, "Error getting image pointer.(%d)", int(i));
      LogMessage(text);
    }
  }
  // The count beside the name follows the weapon it names.
  RefreshAmmoDisplay(world, craft);
}

void RefreshAmmoDisplay(World* world, PlayerCraft* craft) {
  FormManager* forms = WorldForms(world);
  if (!forms || !craft) return;
  auto* label = static_cast<LabelControl*>(Control(forms, "AMMOLEFT", kControlLabel));
  if (!label) return;
  int32_t ammo = 0;
  switch (craft->weapon) {
    case kWeaponMachineGun: ammo = craft->gunAmmo; break;
    case kWeaponPlasma: ammo = craft->plasmaAmmo; break;
    case kWeaponRocket: ammo = craft->rockets; break;
    default: break;
  }
  char text[16];
  SetLabelText(label, IntToText(ammo, text));
}

void RefreshEngineLed(World* world, PlayerCraft* craft) {
  FormManager* forms = WorldForms(world);
  if (!forms || !craft) return;
  auto* led = static_cast<CheckboxControl*>(Control(forms, "ENGINELED", kControlCheckbox));
  if (!led) {
    LogMessage("Error getting label pointer.");
    return;
  }
  led->checked = craft->entity && craft->entity->thrust ? 1 : 0;
}
