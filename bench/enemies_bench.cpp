// The enemies' cost on the baked arena: one world step with 20 enemies fighting the craft,
// and one whole frame (world step and 3D view) with 10 enemies in view.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "core/core.h"
#include "engine3d/engine3d.h"
#include "gfx2d/gfx2d.h"
#include "sound/sound.h"
#include "world/kinds.h"
#include "world/world.h"

namespace {

namespace fs = std::filesystem;

using Host = RecordHost;

struct Placed {
  int32_t type, x, z, heading;
};

void PutRecord(FILE* f, const Placed& p, const char* entry) {
  char record[kEntRecordBytes] = {};
  const int32_t fields[7] = {0, p.type, p.x, 0, p.z, 0, p.heading};
  for (int k = 0; k < 7; ++k) WriteU32LE(reinterpret_cast<uint8_t*>(record + 4 * k), uint32_t(fields[k]));
  strcpy(record + 156, entry);
  fwrite(record, 1, sizeof record, f);
}

// The arena from the baked game with its own entity list: the craft on the pad facing north
// and `enemies` in front of it. A raptor's plasma gun alone holds 16 entities, so the lists
// lean on the tanks and hovers to stay within the manager's 100.
struct Arena {
  std::string dir;
  Host host;
  World world = {};
  Engine3D* engine = nullptr;
  MathTables math;
  Graphics2D gfx;
  bool ok = false;

  explicit Arena(const std::vector<Placed>& enemies) {
    char pattern[] = "/tmp/kvrenemiesXXXXXX";
    dir = mkdtemp(pattern);
    const std::string game = KVR_GAME_DIR;
    if (!fs::exists(game + "/enemytest.map")) return;
    for (const auto& e : fs::directory_iterator(game))
      if (e.is_regular_file() && e.path().filename() != "enemytest.ent")
        fs::create_symlink(e.path(), dir + "/" + e.path().filename().string());
    FILE* f = fopen((dir + "/enemytest.ent").c_str(), "wb");
    uint8_t count[4];
    WriteU32LE(count, uint32_t(enemies.size() + 1));
    fwrite(count, 1, 4, f);
    PutRecord(f, {kTypePlayer, 4000, 1500, 0}, "default");
    for (const Placed& p : enemies) PutRecord(f, p, "");
    fclose(f);
    SetExeDir((dir + "/").c_str());
    math.Create(0);
    Math = &math;
    gfx.Create(0, 240, 320, FrameBuffer);
    Gfx2D = &gfx;
    host.sound = CreateSoundSystem(nullptr);
    engine = new Engine3D();
    ok = engine->Create(nullptr, "TDENG", 0, 0, 240, 320) == 1;
    FrameDeltaMs = 40;
    SetFirstStartPlayerData(&host.player);
    snprintf(host.player.nextMap, sizeof host.player.nextMap, "enemytest.map");
    host.player.skillLevel = 1;
    host.settings.cameraMode = 1;
    host.settings.visibility = 4000;
    WorldInit(&world, &host, 0);
    world.scene = engine;
    for (int i = 0; i < kLoadingSteps; ++i) WorldLoadStep(&world);
    ok = ok && world.player && world.worldState == kWorldPlaying;
  }
  ~Arena() {
    if (WorldMapLoaded(&world)) {
      host.player.previousMap[0] = '\0';  // keep no state file
      WorldUnload(&world);
    }
    if (engine) {
      engine->Destroy();
      delete engine;
    }
    if (host.sound) DestroySoundSystem(host.sound);
    fs::remove_all(dir);
  }
  // Nobody dies in a benchmark (the tanks' rockets would soon thin the crowd): the fight
  // goes on.
  void Step() {
    world.player->energy = 250;
    for (int32_t i = 0; i < world.kinds->Count(); ++i) {
      auto* k = static_cast<KindHeader*>(world.kinds->Get(i));
      if (k->type != kTypePlayer && k->state == 0) k->hitPoints = 300;
    }
    WorldUpdate(&world);
  }
  int32_t Count(int32_t type) const {
    int32_t n = 0;
    for (int32_t i = 0; i < world.kinds->Count(); ++i)
      n += static_cast<const KindHeader*>(world.kinds->Get(i))->type == type;
    return n;
  }
  int32_t ActiveEntities() const {
    int32_t n = 0;
    for (int32_t i = 0; i < world.entities->count; ++i) n += world.entities->entities[i]->active;
    return n;
  }
};

// Twenty enemies around the pad within sight: a raptor, a flyer, nine tanks, nine hovers.
std::vector<Placed> TwentyEnemies() {
  std::vector<Placed> out = {{kTypeMegaRaptor, 3200, 3600, 170}, {kTypePteranoFlyer, 5200, 4200, 210}};
  for (int i = 0; i < 9; ++i) {
    out.push_back({kTypeStegoTank, 1600 + i * 600, 3400 + (i % 3) * 500, 180});
    out.push_back({kTypeHoverChasmo, 1400 + i * 650, 4600 + (i % 2) * 400, 180});
  }
  return out;
}

// Ten enemies in front of the cockpit, 1500 to 3000 ahead, within the view's 90 degrees.
std::vector<Placed> TenInView() {
  return {{kTypeShootingTower, 4000, 4200, 180}, {kTypeMegaRaptor, 3400, 3600, 180},
          {kTypePteranoFlyer, 4600, 4400, 180},  {kTypeStegoTank, 3000, 3300, 180},
          {kTypeStegoTank, 5000, 3300, 180},     {kTypeStegoTank, 4400, 3900, 180},
          {kTypeStegoTank, 3600, 4300, 180},     {kTypeHoverChasmo, 3200, 4000, 180},
          {kTypeHoverChasmo, 4800, 4000, 180},   {kTypeHoverChasmo, 4200, 3200, 180}};
}

void BM_WorldStep20EnemiesFighting(benchmark::State& state) {
  Arena arena(TwentyEnemies());
  if (!arena.ok) {
    state.SkipWithError("no baked arena");
    return;
  }
  for (int i = 0; i < 100; ++i) arena.Step();  // they have seen the craft and close in
  for (auto _ : state) arena.Step();
  state.counters["enemies"] = double(arena.Count(kTypeMegaRaptor) + arena.Count(kTypePteranoFlyer) +
                                     arena.Count(kTypeStegoTank) + arena.Count(kTypeHoverChasmo));
  state.counters["active entities"] = double(arena.ActiveEntities());
}
BENCHMARK(BM_WorldStep20EnemiesFighting)->Unit(benchmark::kMicrosecond);

void BM_FrameWith10EnemiesInView(benchmark::State& state) {
  Arena arena(TenInView());
  if (!arena.ok) {
    state.SkipWithError("no baked arena");
    return;
  }
  for (int i = 0; i < 30; ++i) arena.Step();
  for (auto _ : state) {
    arena.Step();
    arena.engine->DrawFrame(FrameBuffer);
  }
  state.counters["polygons drawn"] = double(arena.engine->polygonsUsed);
  state.counters["vertices"] = double(arena.engine->verticesUsed);
}
BENCHMARK(BM_FrameWith10EnemiesInView)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
