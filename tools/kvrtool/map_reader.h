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
// Loads the objects of a .map (opened by name from the data directory) into the engine's
// store as the map loader does: each object from the stream, its solid flag, placed at
// (x, y, -z); then the texture pack and sky names. False with the reason.
bool LoadMapObjects(Engine3D& engine, const std::string& name, std::string* pack, std::string* sky,
                    std::string* why);
// The first polygon under (x, z) among the solid map objects in slot order (as the entity
// manager searches; objects farther than 4400 from (x, y, z) are skipped when y is given),
// and the height of its plane there. False when there is none.
struct GroundHit {
  int32_t object = -1, polygon = -1, type = 0, y = 0;
};
bool FindGround(const Engine3D& engine, int32_t x, int32_t z, GroundHit* hit, const int32_t* y = nullptr);
