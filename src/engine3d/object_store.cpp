// The object store: .tdo loading with its limits and messages, clones, placement.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/files.h"
#include "core/fixed_math.h"
#include "core/log.h"
#include "engine3d/engine3d.h"

namespace {

constexpr const char* kShortRead = "Error reading from tdobj file.";

void FreeObject(Object3D* o) {
  if (!o) return;
  MemFree(o->vertices);
  MemFree(o->polygons);
  MemFree(o);
}

// Reads the vertex block; z is negated so the file's faces come out clockwise on screen.
bool ReadVertices(ByteReader* in, Object3D* o) {
  const uint8_t* raw = in->Take(size_t(o->vertexCount) * 16);
  if (!raw) return false;
  for (int32_t i = 0; i < o->vertexCount; ++i) {
    const uint8_t* p = raw + i * 16;
    Vertex3D& v = o->vertices[i];
    v.x = int32_t(ReadU32LE(p));
    v.y = int32_t(ReadU32LE(p + 4));
    v.z = WrapSub(0, int32_t(ReadU32LE(p + 8)));
    int32_t shade = int32_t(ReadU32LE(p + 12));
    v.shade = shade < 0 ? 0 : (shade > kMaxShade ? kMaxShade : shade);
  }
  return true;
}

// 0 ok, 1 short read or a corner/texture out of range, 2 a corner count other than 3 or 4.
int ReadPolygon(ByteReader* in, const Object3D* o, uint8_t entity, Poly3D* p) {
  int32_t n;
  if (!in->ReadI32LE(&n)) return 1;
  if (n != 3 && n != 4) return 2;
  const uint8_t* raw = in->Take(size_t(12 * n + 8));
  if (!raw) return 1;
  p->cornerCount = uint8_t(n);
  for (int i = 0; i < n; ++i) {
    const uint8_t* c = raw + 12 * i;
    int32_t index = int32_t(ReadU32LE(c));
    // An index outside the object would be read out of bounds by every frame.
    if (index < 0 || index >= o->vertexCount) return 1;
    int slot = n - 1 - i;  // stored in reverse order
    p->corner[slot] = int16_t(index);
    p->u[slot] = int16_t(uint16_t(ReadU32LE(c + 4)));
    p->v[slot] = int16_t(uint16_t(ReadU32LE(c + 8)));
  }
  uint32_t texture = ReadU32LE(raw + 12 * n);
  if (texture >= uint32_t(kTexturesPerBank)) return 1;
  p->texture = uint8_t(texture);
  p->type = uint8_t(ReadU32LE(raw + 12 * n + 4));
  p->bank = entity ? kBankEntities : kBankMap;
  return 0;
}

Vec3f CornerF(const Object3D* o, const Poly3D& p, int i) {
  const Vertex3D& v = o->vertices[p.corner[i]];
  return Vec3f{float(v.x), float(v.y), float(v.z)};
}

// Normal, flatness, centre and radius of one polygon. False when memory ran out.
bool FinishPolygon(const Object3D* o, uint8_t entity, Poly3D* p) {
  const Vec3f n1 =
      MathTables::FaceNormalValue(CornerF(o, *p, 0), CornerF(o, *p, 1), CornerF(o, *p, 2));
  if (p->cornerCount == 4) {
    const Vec3f n2 =
        MathTables::FaceNormalValue(CornerF(o, *p, 2), CornerF(o, *p, 3), CornerF(o, *p, 0));
    bool flat = n2.x == n1.x && n2.y == n1.y && n2.z == n1.z;
    // A bent map quadrilateral may show either face; entity faces are never culled anyway.
    if (!flat && !entity) p->doubleSided = 1;
  }
  if (p->type == 3) p->doubleSided = 1;
  p->nx = int32_t(n1.x * 256.0f);
  p->ny = int32_t(n1.y * 256.0f);
  p->nz = int32_t(n1.z * 256.0f);

  int64_t sx = 0, sy = 0, sz = 0;
  for (int i = 0; i < p->cornerCount; ++i) {
    const Vertex3D& v = o->vertices[p->corner[i]];
    sx += v.x;
    sy += v.y;
    sz += v.z;
  }
  p->cx = int32_t(sx / p->cornerCount);
  p->cy = int32_t(sy / p->cornerCount);
  p->cz = int32_t(sz / p->cornerCount);
  int32_t reach = 0;  // the farthest corner's squared distance
  for (int i = 0; i < p->cornerCount; ++i) {
    const Vertex3D& v = o->vertices[p->corner[i]];
    int32_t d = MathTables::DistanceSquared3(p->cx, p->cy, p->cz, v.x, v.y, v.z);
    if (d > reach) reach = d;
  }
  p->radius = uint16_t(MathTables::IntSqrt(reach));
  return true;
}

// Models parsed before, by their file's bytes and kind. Every instance of a kind reads its
// models and key frames again, and the same bytes always parse to the same arrays, so a file
// seen before is copied instead of parsed. Only what parsed cleanly is kept, and only so much.
struct ParsedModel {
  std::vector<uint8_t> bytes;
  uint8_t entity = 0;
  std::vector<Vertex3D> vertices;
  std::vector<Poly3D> polygons;
  int32_t radius = 0;
};
constexpr size_t kMaxParsedModels = 64;
constexpr size_t kMaxParsedBytes = size_t(4) << 20;  // file bytes and arrays together
std::vector<ParsedModel> parsedModels;
size_t parsedBytes = 0;

const ParsedModel* FindParsed(const FileBytes& file, uint8_t entity) {
  for (const ParsedModel& m : parsedModels)
    if (m.entity == entity && m.bytes.size() == file.size &&
        (file.size == 0 || memcmp(m.bytes.data(), file.data.get(), file.size) == 0))
      return &m;
  return nullptr;
}

// Keeps the arrays of an object just parsed from `file`, before anything moves them.
void KeepParsed(const FileBytes& file, uint8_t entity, const Object3D* o) {
  const size_t bytes = file.size + size_t(o->vertexCount) * sizeof(Vertex3D) +
                       size_t(o->polygonCount) * sizeof(Poly3D);
  if (parsedModels.size() >= kMaxParsedModels || parsedBytes + bytes > kMaxParsedBytes) return;
  ParsedModel m;
  m.bytes.assign(file.data.get(), file.data.get() + file.size);
  m.entity = entity;
  m.vertices.assign(o->vertices, o->vertices + o->vertexCount);
  m.polygons.assign(o->polygons, o->polygons + o->polygonCount);
  m.radius = o->radius;
  parsedModels.push_back(std::move(m));
  parsedBytes += bytes;
}

// A copy of `from` in a block of its own (none for an empty one); false when memory ran out.
template <typename T>
bool CopyArray(const std::vector<T>& from, T** to) {
  if (from.empty()) return true;
  *to = static_cast<T*>(MemAlloc(from.size() * sizeof(T)));
  if (!*to) return false;
  memcpy(*to, from.data(), from.size() * sizeof(T));
  return true;
}

// What every new object gets once its arrays are in place; it takes the store's next slot.
int32_t AddObject(ObjectStore* store, Object3D* o, uint8_t entity, int32_t userValue,
                  int32_t radius) {
  o->visible = 1;
  o->ownsArrays = 1;
  o->entity = entity;
  o->hidden = 0;
  o->userValue = userValue;
  o->radius = radius;
  store->objects[store->count] = o;
  return store->count++;
}

// The object LoadFromBytes would make of the model's bytes, copied; -1 where the parse has
// something to say (a full store or soup, no memory), which it then says itself.
int32_t CopyParsed(ObjectStore* store, const ParsedModel& m, uint8_t entity, int32_t userValue) {
  const int32_t nv = int32_t(m.vertices.size()), np = int32_t(m.polygons.size());
  const int32_t usedVerts = store->engine ? store->engine->verticesUsed : 0;
  const int32_t usedPolys = store->engine ? store->engine->polygonsUsed : 0;
  if (store->count >= kMaxObjects || int64_t(nv) > int64_t(kVertSoupSize) + usedVerts ||
      int64_t(np) + usedPolys > kPolySoupSize)
    return -1;
  Object3D* o = static_cast<Object3D*>(AllocZeroed(sizeof(Object3D)));
  if (!o) return -1;
  if (!CopyArray(m.vertices, &o->vertices) || !CopyArray(m.polygons, &o->polygons)) {
    FreeObject(o);
    return -1;
  }
  o->vertexCount = nv;
  o->polygonCount = np;
  return AddObject(store, o, entity, userValue, m.radius);
}

}  // namespace

int32_t ObjectStore::LoadFromBytes(ByteReader* in, uint8_t entity, int32_t userValue) {
  if (count >= kMaxObjects || !in) return -1;
  Object3D* o = static_cast<Object3D*>(AllocZeroed(sizeof(Object3D)));
  if (!o) {
    LogMessage("out of memory loading 3d object.");
    return -1;
  }
  int32_t usedVerts = engine ? engine->verticesUsed : 0;
  int32_t usedPolys = engine ? engine->polygonsUsed : 0;
  auto fail = [o](const char* message) {
    if (message) LogMessage(message);
    FreeObject(o);
    return -1;
  };

  int32_t nv;
  if (!in->ReadI32LE(&nv)) return fail(kShortRead);
  if (int64_t(nv) > int64_t(kVertSoupSize) + usedVerts) return fail("MaxVerts reached (1).");
  if (nv > kMaxObjectVertices) return fail("MaxVerts reached (2).");
  if (nv < 0) return fail(kShortRead);  // a negative count cannot be read
  o->vertexCount = nv;
  if (nv > 0) {
    o->vertices = static_cast<Vertex3D*>(MemAlloc(size_t(nv) * sizeof(Vertex3D)));
    if (!o->vertices) return fail("out of memory allocating vertexes for 3d object.");
    if (!ReadVertices(in, o)) return fail(kShortRead);
  }

  int32_t np;
  if (!in->ReadI32LE(&np)) return fail(kShortRead);
  if (int64_t(np) + usedPolys > kPolySoupSize) return fail(nullptr);
  if (np > kMaxObjectPolygons) return fail("MaxPolys reached");
  if (np < 0) return fail(kShortRead);
  o->polygonCount = np;
  if (np > 0) {
    o->polygons = static_cast<Poly3D*>(AllocZeroed(size_t(np) * sizeof(Poly3D)));
    if (!o->polygons) return fail("out of memory allocating polys for 3d object.");
  }
  for (int32_t i = 0; i < np; ++i) {
    int r = ReadPolygon(in, o, entity, &o->polygons[i]);
    if (r == 2) {
      char text[96];
      snprintf(text, sizeof text,
               "Object contains polys with different number of 3 or 4  verts. verts = %d",
               int(nv));
      return fail(text);
    }
    if (r == 1) return fail(kShortRead);
  }
  for (int32_t i = 0; i < np; ++i)
    if (!FinishPolygon(o, entity, &o->polygons[i]))
      return fail("out of memory allocating polys for 3d object.");

  int32_t reach = 0;  // the farthest vertex's squared distance
  for (int32_t i = 0; i < nv; ++i) {
    const Vertex3D& v = o->vertices[i];
    int32_t d = MathTables::DistanceSquared3(0, 0, 0, v.x, v.y, v.z);
    if (d > reach) reach = d;
  }
  return AddObject(this, o, entity, userValue, MathTables::IntSqrt(reach));
}

int32_t ObjectStore::Load(const char* name, uint8_t entity, int32_t userValue, uint8_t reuse) {
  if (count >= kMaxObjects) {
    LogMessage("Max tdobjects reached");
    return -1;
  }
  if (strlen(name) > size_t(kMaxObjectNameChars))
    LogMessage(("3d object filename > 19 chars: " + std::string(name)).c_str());
  char cut[kMaxObjectNameChars + 1] = {};
  strncpy(cut, name, kMaxObjectNameChars);
  if (reuse && cut[0]) {
    for (int32_t i = 0; i < count; ++i)
      if (!objects[i]->named && strcmp(objects[i]->name, cut) == 0) return CloneObject(i);
  }
  FILE* f = OpenDataFile(name, "rb");
  if (!f) return -1;
  // Read whole, then parsed from memory; a read that fails short leaves a short model,
  // which the parser refuses.
  FileBytes bytes;
  ReadRestOfFile(f, &bytes);
  fclose(f);
  int32_t index = -1;
  if (const ParsedModel* seen = FindParsed(bytes, entity))
    index = CopyParsed(this, *seen, entity, userValue);
  if (index < 0) {
    ByteReader in(bytes);
    index = LoadFromBytes(&in, entity, userValue);
    if (index >= 0) KeepParsed(bytes, entity, objects[index]);
  }
  if (index >= 0) {
    memcpy(objects[index]->name, cut, sizeof cut);
    objects[index]->named = 1;
  }
  return index;
}

int32_t ObjectStore::LoadShared(const char* name, uint8_t entity, int32_t userValue) {
  return Load(name, entity, userValue, 1);
}

int32_t ObjectStore::CloneObject(int32_t index) {
  if (count >= kMaxObjects) return -1;
  const Object3D* source = Get(index);
  if (!source) return -1;
  Object3D* o = static_cast<Object3D*>(MemAlloc(sizeof(Object3D)));
  if (!o) {
    LogMessage("out of dynamic memory in func. CloneObject.");
    return -1;
  }
  *o = *source;
  o->clone = 1;
  objects[count] = o;
  return count++;
}

Object3D* ObjectStore::Get(int32_t index) const {
  return index >= 0 && index < count ? objects[index] : nullptr;
}

void ObjectStore::SetPosition(int32_t index, int32_t x, int32_t y, int32_t z) {
  if (Object3D* o = Get(index)) {
    o->x = x;
    o->y = y;
    o->z = z;
  }
}

void ObjectStore::SetAngles(int32_t index, int32_t ax, int32_t ay, int32_t az) {
  if (Object3D* o = Get(index)) {
    o->angleX = ax;
    o->angleY = ay;
    o->angleZ = az;
  }
}

void ObjectStore::AddAngles(int32_t index, int32_t dx, int32_t dy, int32_t dz) {
  if (Object3D* o = Get(index)) {
    o->angleX = WrapAdd(o->angleX, dx);
    o->angleY = WrapAdd(o->angleY, dy);
    o->angleZ = WrapAdd(o->angleZ, dz);
  }
}

void ObjectStore::Release() {
  for (int32_t i = 0; i < count; ++i) {
    Object3D* o = objects[i];
    if (o->ownsArrays && !o->clone) {
      MemFree(o->vertices);
      MemFree(o->polygons);
    }
    MemFree(o);
    objects[i] = nullptr;
  }
  count = 0;
}
