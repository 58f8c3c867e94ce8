// The game world's speed: the ten loading steps of a map together, and one world step with
// 60 active entities (with and without skipping objects out of reach in world collision).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "core/core.h"
#include "engine3d/engine3d.h"
#include "gfx2d/gfx2d.h"
#include "sound/sound.h"
#include "world/kinds.h"
#include "world/world.h"
#include "world/world_internal.h"

namespace {

namespace fs = std::filesystem;

using Host = RecordHost;

// Stand-ins for the kinds: an entity of the type's mode that drives and turns.
void* StandIn(World* world, const EntRecord& r) {
  auto* header = static_cast<KindHeader*>(AllocZeroed(sizeof(PlayerCraft) + sizeof(ShipHead)));
  header->type = r.type;
  header->object = -1;
  int32_t mode = r.type == kTypePteranoFlyer ? kModeFlyer
                 : r.type == kTypeHoverChasmo ? kModeHover
                 : r.type == kTypeShootingTower ? kModeFixed : kModeGround;
  if (Entity* e = header->entity = AddEntity(world->entities, r.type, mode, header)) {
    e->ownObject = -1;
    e->thrust = 1;
    e->maxSpeed = 60;
    e->turnRate = 3000;
    e->radius = 100;
  }
  if (r.type == kTypePlayer) reinterpret_cast<PlayerCraft*>(header)->energy = 250;
  return header;
}
const KindFunctions kStandIn = {StandIn, nullptr, nullptr, nullptr};

void PutI32(FILE* f, int32_t v) {
  uint8_t b[4];
  WriteU32LE(b, uint32_t(v));
  fwrite(b, 1, 4, f);
}

void WriteTable(const std::string& path, int entries, uint16_t (*value)(int)) {
  FILE* f = fopen(path.c_str(), "wb");
  for (int i = 0; i < entries; ++i) {
    uint16_t v = value(i);
    uint8_t b[2] = {uint8_t(v >> 8), uint8_t(v)};
    fwrite(b, 1, 2, f);
  }
  fclose(f);
}

// A stand-in map when map1_1 is not baked: 100 rolling terrain blocks of 6 x 6 quads of
// 200 units (a 12000-unit square), and 60 entities spread over it.
void WriteSyntheticMap(const std::string& dir) {
  FILE* f = fopen((dir + "/bench.map").c_str(), "wb");
  PutI32(f, 100);
  auto height = [](int32_t x, int32_t z) {
    return int32_t(120 * std::sin(x / 900.0) + 80 * std::cos(z / 700.0));
  };
  for (int bz = 0; bz < 10; ++bz)
    for (int bx = 0; bx < 10; ++bx) {
      int32_t ox = -6000 + bx * 1200 + 600, oz = -6000 + bz * 1200 + 600;
      PutI32(f, ox);
      PutI32(f, 0);
      PutI32(f, -oz);
      for (int i = 0; i < 58; ++i) fputc(0, f);
      PutI32(f, 1);
      PutI32(f, 49);
      for (int j = 0; j <= 6; ++j)
        for (int i = 0; i <= 6; ++i) {
          int32_t x = -600 + i * 200, z = -600 + j * 200;
          PutI32(f, x);
          PutI32(f, height(ox + x, oz + z));
          PutI32(f, -z);  // the loader negates z
          PutI32(f, 4096);
        }
      PutI32(f, 36);
      for (int j = 0; j < 6; ++j)
        for (int i = 0; i < 6; ++i) {
          int32_t a = j * 7 + i;
          PutI32(f, 4);
          // Memory order (after reversal) runs (x, z) clockwise with z up.
          for (int32_t c : {a + 1, a + 8, a + 7, a}) {
            PutI32(f, c);
            PutI32(f, 0);
            PutI32(f, 0);
          }
          PutI32(f, 0);
          PutI32(f, (i + j) % 17 == 0 ? 1 : 0);
        }
    }
  char names[512] = "bench.tex";
  memcpy(names + 256, "sky.spr", 8);
  fwrite(names, 1, sizeof names, f);
  fclose(f);
  f = fopen((dir + "/bench.ent").c_str(), "wb");
  PutI32(f, 50);
  for (int i = 0; i < 50; ++i) {
    int32_t type = i == 0 ? kTypePlayer : (i % 3 == 0 ? kTypeMegaRaptor : i % 3 == 1 ? kTypeStegoTank : kTypeHoverChasmo);
    char record[kEntRecordBytes] = {};
    int32_t fields[7] = {0, type, -5000 + (i % 10) * 1000, 0, -5000 + (i / 10) * 2000, 0, i * 37};
    for (int k = 0; k < 7; ++k) WriteU32LE(reinterpret_cast<uint8_t*>(record + 4 * k), uint32_t(fields[k]));
    if (i == 0) strcpy(record + 156, "default");
    fwrite(record, 1, sizeof record, f);
  }
  fclose(f);
}

struct Bench {
  std::string dir;
  std::string map;
  Host host;
  World world = {};
  Engine3D* engine = nullptr;
  MathTables math;
  Graphics2D gfx;
  bool ok = false;

  Bench() {
    char pattern[] = "/tmp/kvrbenchXXXXXX";
    dir = mkdtemp(pattern);
    SetExeDir((dir + "/").c_str());
    const std::string game = KVR_GAME_DIR;
    if (fs::exists(game + "/map1_1.map") && fs::exists(game + "/155")) {
      // The baked game: every data file, linked so nothing is written beside the game.
      for (const auto& e : fs::directory_iterator(game))
        if (e.is_regular_file()) fs::create_symlink(e.path(), dir + "/" + e.path().filename().string());
      map = "map1_1.map";
    } else {
      WriteTable(dir + "/155", 2048, [](int i) {
        return uint16_t(int16_t(std::lround(std::sin(6.283185307179586 * i / 2048) * 256)));
      });
      WriteTable(dir + "/asintable.dat", 2048, [](int) { return uint16_t(0); });
      WriteTable(dir + "/148", 16384, [](int n) { return uint16_t(n ? std::min(65535, 65536 / n) : 0); });
      WriteSyntheticMap(dir);
      map = "bench.map";
    }
    math.Create(0);
    Math = &math;
    gfx.Create(0, 240, 320, FrameBuffer);
    Gfx2D = &gfx;
    host.sound = CreateSoundSystem(nullptr);
    engine = new Engine3D();
    ok = engine->Create(nullptr, "TDENG", 0, 0, 240, 320) == 1;
    for (int t = 1; t <= kLastTypeCode; ++t) SetKindFunctionsForTest(t, &kStandIn);
    FrameDeltaMs = 40;
  }
  ~Bench() {
    engine->Destroy();
    delete engine;
    DestroySoundSystem(host.sound);
    fs::remove_all(dir);
  }
  void Load() {
    SetFirstStartPlayerData(&host.player);
    snprintf(host.player.nextMap, sizeof host.player.nextMap, "%s", map.c_str());
    host.settings.cameraMode = 1;
    host.settings.visibility = 4000;
    WorldInit(&world, &host, 0);
    world.scene = engine;
    for (int i = 0; i < kLoadingSteps; ++i) WorldLoadStep(&world);
  }
  void Unload() {
    host.player.previousMap[0] = '\0';  // keep no state between runs
    WorldUnload(&world);
    engine->store.Release();
    DeleteLog();
  }
};

Bench& Shared() {
  static Bench bench;
  return bench;
}

void BM_LoadMapTenSteps(benchmark::State& state) {
  Bench& b = Shared();
  if (!b.ok) {
    state.SkipWithError("no engine");
    return;
  }
  for (auto _ : state) {
    b.Load();
    state.PauseTiming();
    b.Unload();
    state.ResumeTiming();
  }
  state.SetLabel(b.map);
}
BENCHMARK(BM_LoadMapTenSteps)->Unit(benchmark::kMillisecond);

// One world step with 60 active entities driving over the map; arg 1 skips objects out of
// reach in world collision, arg 0 examines every object within 4400.
void BM_WorldStep60Entities(benchmark::State& state) {
  Bench& b = Shared();
  if (!b.ok) {
    state.SkipWithError("no engine");
    return;
  }
  b.Load();
  EntityManager* m = b.world.entities;
  // Wake and add stand-ins up to 60 active entities, spread over the map.
  int32_t active = 0;
  for (int32_t i = 0; i < m->count; ++i) active += m->entities[i]->active;
  for (int32_t i = 0; active < 60; ++i, ++active) {
    Entity* e = AddEntity(m, kTypeStegoTank, kModeGround, nullptr);
    if (!e) break;
    e->x = -4500 + (i % 8) * 1100;
    e->z = -4500 + (i / 8) * 900;
    e->thrust = 1;
    e->maxSpeed = 60;
    e->turnRate = 3000;
    e->radius = 100;
    e->ownObject = -1;
  }
  for (int i = 0; i < 20; ++i) WorldUpdate(&b.world);
  WorldCollisionCulling = state.range(0) != 0;
  int64_t steps = 0;
  for (auto _ : state) {
    for (int32_t i = 0; i < m->count; ++i) m->entities[i]->turnLeft = uint8_t((steps >> 5) & 1);
    WorldUpdate(&b.world);
    ++steps;
  }
  WorldCollisionCulling = true;
  active = 0;
  for (int32_t i = 0; i < m->count; ++i) active += m->entities[i]->active;
  state.counters["active"] = double(active);
  state.counters["objects"] = double(b.engine->store.count);
  state.SetLabel(b.map);
  b.Unload();
}
BENCHMARK(BM_WorldStep60Entities)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
