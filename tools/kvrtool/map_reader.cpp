// Reading baked maps the way the game's map loader and entity manager do.
#include "map_reader.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "core/core.h"
#include "ground_rule.h"
#include "map_builder.h"
#include "sound/sound.h"
#include "world/world.h"

namespace {

int32_t I32(const std::vector<unsigned char>& b, size_t at) { return ReadI32At(b, at); }

}  // namespace

int32_t ReadI32At(const std::vector<unsigned char>& b, size_t at) { return int32_t(ReadU32LE(b.data() + at)); }

std::string FixedText(const std::vector<unsigned char>& b, size_t at, size_t size) {
  std::string s;
  for (size_t i = 0; i < size && at + i < b.size() && b[at + i]; ++i) s += char(b[at + i]);
  return s;
}

bool ParseEnt(const std::vector<unsigned char>& b, std::vector<EntRow>* rows, std::string* why) {
  if (b.size() < 4) return *why = "shorter than its record count", false;
  const int32_t n = I32(b, 0);
  if (n < 0 || n > MapLimits::kMaxRecords) return *why = std::to_string(n) + " records (the loader holds 0..50)", false;
  if (b.size() < 4 + size_t(n) * 220)
    return *why = std::to_string(n) + " records but only " + std::to_string(b.size()) + " bytes", false;
  for (int32_t i = 0; i < n; ++i) {
    const size_t at = 4 + size_t(i) * 220;
    rows->push_back(EntRow{I32(b, at + 4), I32(b, at + 8), I32(b, at + 12), I32(b, at + 16), I32(b, at + 20),
                           I32(b, at + 24), FixedText(b, at + 28, 128), FixedText(b, at + 156, 64)});
  }
  return true;
}

std::vector<unsigned char> ReadWholeFile(const std::string& path) {
  std::vector<unsigned char> bytes;
  FILE* f = fopen(path.c_str(), "rb");
  if (!f) return bytes;
  unsigned char buf[65536];
  size_t got;
  while ((got = fread(buf, 1, sizeof buf, f)) > 0) bytes.insert(bytes.end(), buf, buf + got);
  fclose(f);
  return bytes;
}

namespace {

using ToolHost = RecordHost;

}  // namespace

bool LoadMapWithGame(Engine3D& scene, const std::string& dataDir, const std::string& mapFile,
                     const std::string& entry, int32_t visibility, LoadedMap* out) {
  namespace fs = std::filesystem;
  std::error_code ec;
  char pattern[] = "/tmp/kvr_map_XXXXXX";
  if (!mkdtemp(pattern)) return false;
  const fs::path mirror = pattern;
  for (const auto& f : fs::directory_iterator(dataDir, ec)) {
    const std::string name = f.path().filename().string();
    if (!f.is_regular_file() || name == "log.txt" || f.path().extension() == ".sav") continue;
    fs::create_symlink(fs::absolute(f.path()), mirror / name, ec);
  }
  const std::string savedDir = ExeDir;
  SetExeDir((mirror.string() + "/").c_str());

  ToolHost host;
  host.settings.showBackground = 1;
  host.settings.visibility = visibility;
  host.settings.cameraMode = 1;
  snprintf(host.player.nextMap, sizeof host.player.nextMap, "%s", mapFile.c_str());
  snprintf(host.player.entryPoint, sizeof host.player.entryPoint, "%s", entry.c_str());
  host.sound = CreateSoundSystem(nullptr);
  Background sky(nullptr, "SKY", scene.x0, scene.y0, scene.x1 - scene.x0, scene.y1 - scene.y0);
  sky.plain = 0;
  World world{};
  WorldInit(&world, &host, 0);
  world.scene = &scene;
  world.background = &sky;
  const int32_t before = scene.store.count;
  for (int step = 0; step < kLoadingSteps; ++step) {
    WorldLoadStep(&world);
    if (step == 4) out->objects = scene.store.count - before;  // the map's objects are in
  }
  out->pack = world.texPackName;
  out->sky = world.backgroundName;
  WorldUnload(&world);
  sky.Release();
  if (host.sound) DestroySoundSystem(host.sound);

  std::ifstream log(mirror / "log.txt");
  for (std::string line; std::getline(log, line);) out->log.push_back(line);
  SetExeDir(savedDir.c_str());
  fs::remove_all(mirror, ec);
  return out->objects > 0;
}

bool FindGround(const Engine3D& e, int32_t x, int32_t z, GroundHit* hit, const int32_t* y) {
  for (int32_t k = 0; k < e.store.count; ++k) {
    const Object3D* o = e.store.Get(k);
    if (!o || !o->solid || o->entity) continue;
    if (y && MathTables::Distance3(o->x, o->y, o->z, x, *y, z) > MapLimits::kCollisionReach) continue;
    for (int32_t p = 0; p < o->polygonCount; ++p) {
      const Poly3D& poly = o->polygons[p];
      // A face of fewer than three corners has no inside (and no first corner to measure).
      if (poly.cornerCount < 3) continue;
      int32_t cx[4], cz[4];
      for (int c = 0; c < poly.cornerCount && c < 4; ++c) {
        cx[c] = o->vertices[poly.corner[c]].x + o->x;
        cz[c] = o->vertices[poly.corner[c]].z + o->z;
      }
      if (poly.cornerCount > 4 || !GroundUnderEntity(cx, cz, poly.cornerCount, x, z)) continue;
      // The plane's height as ground following computes it.
      const Vertex3D& v = o->vertices[poly.corner[0]];
      const int32_t nx = poly.nx, nz = poly.nz;
      const int32_t ny = poly.ny != 0 ? poly.ny : 256;
      hit->object = k;
      hit->polygon = p;
      hit->type = poly.type;
      hit->y = o->y - int32_t((int64_t(nz) * (z - o->z - v.z) + int64_t(nx) * (x - o->x - v.x)) / ny) + v.y;
      return true;
    }
  }
  return false;
}
