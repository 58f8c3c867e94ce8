// Reading baked maps the way the game's map loader and entity manager do.
#include "map_reader.h"

#include <cstdio>

#include "core/core.h"
#include "ground_rule.h"
#include "map_builder.h"

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

bool LoadMapObjects(Engine3D& e, const std::string& name, std::string* pack, std::string* sky, std::string* why) {
  FILE* f = OpenDataFile(name.c_str(), "rb");
  if (!f) return *why = "cannot open " + name, false;
  uint8_t word[4];
  auto readI32 = [&](int32_t* v) {
    if (fread(word, 1, 4, f) != 4) return false;
    *v = int32_t(ReadU32LE(word));
    return true;
  };
  int32_t count = 0;
  bool ok = readI32(&count) && count >= 0 && count <= kMaxObjects;
  if (!ok) *why = "the object count is unreadable or beyond the store";
  for (int32_t i = 0; ok && i < count; ++i) {
    int32_t x = 0, y = 0, z = 0, solid = 0;
    uint8_t reserved[58];
    ok = readI32(&x) && readI32(&y) && readI32(&z) && fread(reserved, 1, 58, f) == 58 && readI32(&solid);
    const int32_t index = ok ? e.store.LoadFromOpenFile(f, 0, 0) : -1;
    if (index < 0) {
      *why = "object " + std::to_string(i) + " does not load";
      ok = false;
      break;
    }
    e.store.Get(index)->solid = solid != 0;
    e.store.SetPosition(index, x, y, WrapSub(0, z));
  }
  char names[2][MapLimits::kNameBytes] = {};
  if (ok && (fread(names[0], 1, sizeof names[0], f) != sizeof names[0] ||
             fread(names[1], 1, sizeof names[1], f) != sizeof names[1])) {
    *why = "the texture pack and sky names are missing";
    ok = false;
  }
  fclose(f);
  names[0][MapLimits::kNameBytes - 1] = names[1][MapLimits::kNameBytes - 1] = 0;
  *pack = names[0];
  *sky = names[1];
  return ok;
}

bool FindGround(const Engine3D& e, int32_t x, int32_t z, GroundHit* hit, const int32_t* y) {
  for (int32_t k = 0; k < e.store.count; ++k) {
    const Object3D* o = e.store.Get(k);
    if (!o || !o->solid || o->entity) continue;
    if (y && MathTables::Distance3(o->x, o->y, o->z, x, *y, z) > MapLimits::kCollisionReach) continue;
    for (int32_t p = 0; p < o->polygonCount; ++p) {
      const Poly3D& poly = o->polygons[p];
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
