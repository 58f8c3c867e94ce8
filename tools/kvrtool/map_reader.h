// Reading baked maps the way the game's map loader does, for kvrtool and the map tests:
// the .ent records, the .map objects placed in an engine, and the ground the entity
// manager finds under a point.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine3d/engine3d.h"

// A little-endian word at a byte offset (the caller checks the size), and a zero-terminated
// text field of a fixed size.
int32_t ReadI32At(const std::vector<unsigned char>& bytes, size_t at);
std::string FixedText(const std::vector<unsigned char>& bytes, size_t at, size_t size);

// One .ent record.
struct EntRow {
  int32_t type, x, y, z, w, heading;
  std::string tag, entry;
};

// Records of a .ent file's bytes; false (with the reason) when the loader would refuse it.
bool ParseEnt(const std::vector<unsigned char>& bytes, std::vector<EntRow>* rows, std::string* why);
// A whole file by path; empty when it cannot be read.
std::vector<unsigned char> ReadWholeFile(const std::string& path);
// Loads a map with the game's own map loader (all ten steps, a stand-in for the driver)
// into `scene`, reading from `dataDir` through a scratch directory of links, so that the
// loader's backup of the map state never touches the data directory. The kinds are freed
// again; the scene keeps the map's objects and texture packs. Returns false when the map
// file did not load; `log` receives the loader's log lines, pack and sky the map's names.
struct LoadedMap {
  std::string pack, sky;
  std::vector<std::string> log;
  int32_t objects = 0;  // map objects (the scene's store may hold entity models after them)
};
bool LoadMapWithGame(Engine3D& scene, const std::string& dataDir, const std::string& mapFile,
                     const std::string& entry, int32_t visibility, LoadedMap* out);
// The first polygon under (x, z) among the solid map objects in slot order (as the entity
// manager searches; objects farther than 4400 from (x, y, z) are skipped when y is given),
// and the height of its plane there. False when there is none.
struct GroundHit {
  int32_t object = -1, polygon = -1, type = 0, y = 0;
};
bool FindGround(const Engine3D& engine, int32_t x, int32_t z, GroundHit* hit, const int32_t* y = nullptr);
