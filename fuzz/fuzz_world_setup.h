// Shared set-up of the world fuzz targets: the engine's scratch directory, a host with
// records and sound, stand-in kinds for every type code, and a whole-map load and unload.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/core.h"
#include "fuzz_engine3d_setup.h"
#include "fuzz_support.h"
#include "gfx2d/gfx2d.h"
#include "sound/sound.h"
#include "world/kinds.h"
#include "world/world.h"

namespace fuzzworld {

using Host = RecordHost;

// A stand-in kind: a zeroed record large enough for any header the world reads, an entity
// of the type's movement mode that drives forward and turns, so the fuzzed geometry is met.
inline void* Create(World* world, const EntRecord& r) {
  auto* header = static_cast<KindHeader*>(AllocZeroed(sizeof(PlayerCraft) + sizeof(ShipHead)));
  if (!header) return nullptr;
  header->type = r.type;
  header->hitPoints = 100;
  header->object = -1;
  int32_t mode = r.type == kTypePteranoFlyer ? kModeFlyer
                 : r.type == kTypeHoverChasmo ? kModeHover
                 : (r.type == kTypeShootingTower || r.type == kTypeMainframe) ? kModeFixed
                                                                              : kModeGround;
  header->entity = AddEntity(world->entities, r.type, mode, header);
  if (Entity* e = header->entity) {
    e->ownObject = -1;
    e->thrust = 1;
    e->turnLeft = uint8_t(r.type & 1);
    e->maxSpeed = 60;
    e->turnRate = 4000;
    e->radius = 40 + r.type;
  }
  if (r.type == kTypePlayer) reinterpret_cast<PlayerCraft*>(header)->energy = 250;
  return header;
}

inline const KindFunctions kStandIn = {Create, nullptr, nullptr, nullptr};

struct State {
  Host host;
  World world = {};
};

inline State& Shared() {
  static State* state = [] {
    fuzz3d::SharedEngine();
    static Graphics2D gfx;
    gfx.Create(0, 240, 320, FrameBuffer);
    Gfx2D = &gfx;
    for (int t = 1; t <= kLastTypeCode; ++t) SetKindFunctionsForTest(t, &kStandIn);
    // The explosion pictures and the samples, so that loading does not spend its time
    // logging what is missing.
    const std::string sprite("\x00\x01\x00\x01\x12\x34", 6);
    for (int n = 2; n <= 32; ++n) {
      char name[32];
      snprintf(name, sizeof name, "expl_w_smoke_%03d.spr", n);
      PutFuzzFile(name, sprite);
    }
    std::string wav = "RIFF";
    for (uint32_t v : {44u, 0x45564157u, 0x20746d66u, 16u, 0x00010001u, 16000u, 32000u,
                       0x00100002u, 0x61746164u, 8u})
      for (int i = 0; i < 4; ++i) wav.push_back(char(v >> (8 * i)));
    wav.append(8, '\0');
    PutFuzzFile("PlasmaExplosion.wav", wav);
    PutFuzzFile("BigExplosion.wav", wav);
    auto* s = new State;
    s->host.sound = CreateSoundSystem(nullptr);
    return s;
  }();
  return *state;
}

// Loads "fz.map" (with "fz.ent") through all ten steps, plays a few steps, unloads.
// `afterState` runs between steps 8 and 9, once the map state is read.
inline void LoadPlayUnload(void (*afterState)(World*) = nullptr) {
  State& s = Shared();
  Engine3D& engine = fuzz3d::SharedEngine();
  DeleteLog();
  SetFirstStartPlayerData(&s.host.player);
  s.host.settings.cameraMode = 1;
  s.host.settings.visibility = 3000;
  WorldInit(&s.world, &s.host, 0);
  s.world.scene = &engine;
  snprintf(s.host.player.nextMap, sizeof s.host.player.nextMap, "fz.map");
  for (int i = 0; i < 9; ++i) WorldLoadStep(&s.world);
  if (afterState) afterState(&s.world);
  WorldLoadStep(&s.world);
  for (int i = 0; i < 5; ++i) WorldUpdate(&s.world);
  WorldDrawMap2D(&s.world);
  WorldUnload(&s.world);
  engine.store.Release();
}

// Little-endian writers for the fixed files beside the fuzzed one.
inline void PutI32(std::string* out, int32_t v) {
  for (int i = 0; i < 4; ++i) out->push_back(char(uint32_t(v) >> (8 * i)));
}

inline std::string EntRecordBytes(int32_t type, int32_t x, int32_t z, const char* entry = "default") {
  std::string r;
  PutI32(&r, 0);
  PutI32(&r, type);
  PutI32(&r, x);
  PutI32(&r, 0);
  PutI32(&r, z);
  PutI32(&r, 0);
  PutI32(&r, 30);
  std::string tag(128, '\0'), ent(64, '\0');
  memcpy(ent.data(), entry, strlen(entry));
  return r + tag + ent;
}

// A map of one flat 800-unit ground tile and one wall tile beside it.
inline std::string SmallMap() {
  std::string m;
  PutI32(&m, 2);
  for (int k = 0; k < 2; ++k) {
    PutI32(&m, k * 800);
    PutI32(&m, 0);
    PutI32(&m, 0);
    m.append(58, '\0');
    PutI32(&m, 1);
    PutI32(&m, 4);
    const int32_t v[4][3] = {{400, 0, 400}, {400, 0, -400}, {-400, 0, -400}, {-400, 0, 400}};
    for (const auto& p : v) {
      PutI32(&m, p[0]);
      PutI32(&m, p[1]);
      PutI32(&m, p[2]);
      PutI32(&m, 4096);
    }
    PutI32(&m, 1);
    PutI32(&m, 4);
    for (int c = 0; c < 4; ++c) {
      PutI32(&m, c);
      PutI32(&m, 0);
      PutI32(&m, 0);
    }
    PutI32(&m, 0);
    PutI32(&m, k == 0 ? 1 : 2);
  }
  m.append(512, '\0');
  return m;
}

}  // namespace fuzzworld
