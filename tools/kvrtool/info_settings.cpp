// kvrtool info for kvr.ini and kvr_playerdata.dat: the options, bindings and campaign state.
#include <cstdio>
#include <cstring>

#include "core/core.h"
#include "kvrtool.h"

namespace {

const char* const kSlotNames[kBindingCount] = {
    "ENGINEONOFF", "SHOOT", "CHANGEWEAPON", "(slot 3)", "(slot 4)", "LEFT", "RIGHT", "VIEWUP",
    "VIEWDOWN", "(slot 9)", "(slot 10)", "MENULEFT", "MENURIGHT", "MENUUP", "MENUDOWN",
    "MENUSELECT", "(go to menu)", "(slot 17)"};

// A readable name for the common virtual-key codes.
std::string KeyName(uint32_t code) {
  if (code == 0) return "Not set";
  if ((code >= 0x41 && code <= 0x5A) || (code >= 0x30 && code <= 0x39))
    return std::string(1, char(code));
  switch (code) {
    case 0x0D: return "Enter";
    case 0x1B: return "Escape";
    case 0x20: return "Space";
    case 0x09: return "Tab";
    case 0x25: return "Left";
    case 0x26: return "Up";
    case 0x27: return "Right";
    case 0x28: return "Down";
    case 0x10: return "Shift";
    case 0x11: return "Ctrl";
    case 0x12: return "Alt";
    default: return "code " + std::to_string(code);
  }
}

}  // namespace

bool InfoSettings(const std::string& name, const std::vector<unsigned char>& bytes) {
  if (EndsWith(name, "kvr.ini")) {
    Settings s{};
    KeyBindings k{};
    DecodeSettingsFile(bytes.data(), bytes.size(), &s, &k);
    printf("%s: settings, %zu bytes (%zu expected)%s\n", name.c_str(), bytes.size(),
           kSettingsFileBytes, bytes.size() < kSettingsFileBytes ? ", short: the rest reads 0" : "");
    printf("  player \"%s\", camera %d, visibility %d, volume %d, music %d, background %d\n",
           s.playerName, s.cameraMode, s.visibility, s.volume, s.playMusic, s.showBackground);
    Settings checked = s;
    KeyBindings checkedKeys = k;
    CheckSettings(&checked, &checkedKeys);
    if (memcmp(&checked, &s, sizeof s) != 0 || memcmp(&checkedKeys, &k, sizeof k) != 0)
      printf("  values out of range: the game mends them on reading\n");
    for (int i = 0; i < kBindingCount; ++i)
      printf("  slot %2d %-13s %s\n", i, kSlotNames[i], KeyName(k.code[i]).c_str());
    return true;
  }
  if (EndsWith(name, "kvr_playerdata.dat")) {
    PlayerData d{};
    DecodePlayerData(bytes.data(), bytes.size(), &d);
    printf("%s: player data, %zu bytes (%zu expected)\n", name.c_str(), bytes.size(),
           kPlayerDataBytes);
    printf("  next map \"%s\" at \"%s\", previous \"%s\", system %d, restore %d\n", d.nextMap,
           d.entryPoint, d.previousMap, d.starSystem, d.restorePlayer);
    printf("  skill %d, energy %d, state %d, weapon %d, rounds %d, rockets %d, plasma %d\n",
           d.skillLevel, d.energy, d.state, d.weapon, d.gunAmmo, d.rockets, d.plasmaAmmo);
    printf("  keycard %d, hyperjump %d, code %d, X Bomb %d, link down %d, boarded %d, chart %d\n",
           d.haveShipKeyCard, d.hyperjumpLoaded, d.selfDestructCode, d.xBomb, d.neuralLinkDown,
           d.boardedShip, d.starChartChoice);
    return true;
  }
  return false;
}
