// The default kvr.ini: the first-start options with key bindings for keyboard players.
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "bake.h"
#include "core/settings.h"

namespace {

// Virtual-key codes.
constexpr uint32_t kKeyEnter = 0x0D;
constexpr uint32_t kKeySpace = 0x20;
constexpr uint32_t kKeyLeft = 0x25;
constexpr uint32_t kKeyUp = 0x26;
constexpr uint32_t kKeyRight = 0x27;
constexpr uint32_t kKeyDown = 0x28;
constexpr uint32_t kKeyE = 0x45;
constexpr uint32_t kKeyW = 0x57;

}  // namespace

bool BakeSettings(const BakeContext& ctx) {
  // The player's own settings win: a rebuild never replaces them. Player data, map states
  // and the log are the game's alone and are never written here.
  const std::string path = ctx.outDir + kSettingsFile;
  std::error_code ec;
  if (std::filesystem::exists(path, ec)) return true;

  Settings settings;
  memset(&settings, 0, sizeof settings);
  SetDefaultSettings(&settings);
  KeyBindings keys;
  memset(&keys, 0, sizeof keys);
  // Menus: arrows move the focus, Enter presses.
  keys.code[kActMenuLeft] = kKeyLeft;
  keys.code[kActMenuRight] = kKeyRight;
  keys.code[kActMenuUp] = kKeyUp;
  keys.code[kActMenuDown] = kKeyDown;
  keys.code[kActMenuSelect] = kKeyEnter;
  // The craft: arrows turn and tilt the view, Space fires, E starts and stops the engine,
  // W changes the weapon (both under the left hand, beside Space).
  keys.code[kActLeft] = kKeyLeft;
  keys.code[kActRight] = kKeyRight;
  keys.code[kActViewUp] = kKeyUp;
  keys.code[kActViewDown] = kKeyDown;
  keys.code[kActShoot] = kKeySpace;
  keys.code[kActEngineOnOff] = kKeyE;
  keys.code[kActChangeWeapon] = kKeyW;

  uint8_t image[kSettingsFileBytes];
  EncodeSettingsFile(settings, keys, image);
  return WriteOut(ctx, kSettingsFile, Bytes(image, image + sizeof image));
}
