// Map state files: what happened in a map (enemies, pickups, gates, mission objects), kept
// when the player leaves it alive, backed up at entry and put back after the player's death.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "world/world_internal.h"

namespace {

constexpr const char* kBackupFile = "mapbkp.sav";

enum RecordShape { kNone, kEnemy, kPickup, kPlaced };

RecordShape ShapeOf(int32_t type) {
  switch (type) {
    case kTypeStegoTank: case kTypeMegaRaptor: case kTypePteranoFlyer: case kTypeHoverChasmo:
      return kEnemy;
    case kTypeEnergyPack: case kTypeAmmoMGun: case kTypeAmmoPlasma: case kTypeAmmoRocket:
      return kPickup;
    case kTypeBarrier: case kTypeShootingTower: case kTypeMainframe: case kTypeXBomb:
    case kTypeNeuralLink: case kTypeCodeCard:
      return kPlaced;
    default:
      return kNone;
  }
}

void PutI32(std::vector<uint8_t>* out, int32_t v) {
  uint8_t b[4];
  WriteU32LE(b, uint32_t(v));
  out->insert(out->end(), b, b + 4);
}

int32_t GetI32(const uint8_t*& p) {
  int32_t v = int32_t(ReadU32LE(p));
  p += 4;
  return v;
}

// Every record of the map's kinds in KindList order. A kind without an entity (the table
// was full) keeps zeros where its entity's fields would be.
std::vector<uint8_t> BuildImage(const World* world) {
  std::vector<uint8_t> out;
  const PointerList* kinds = world->kinds;
  if (!kinds) return out;
  for (int32_t i = 0; i < kinds->Count(); ++i) {
    const auto* kind = static_cast<const KindHeader*>(kinds->Get(i));
    const Entity* e = kind->entity;
    const Entity none = {};
    if (!e) e = &none;
    switch (ShapeOf(kinds->Tag(i))) {
      case kEnemy:
        PutI32(&out, kind->hitPoints);
        PutI32(&out, kind->state);
        break;
      case kPickup: case kPlaced:
        out.push_back(e->active);
        break;
      case kNone:
        continue;
    }
    PutI32(&out, e->x);
    PutI32(&out, e->y);
    PutI32(&out, e->z);
    PutI32(&out, e->w);
    if (ShapeOf(kinds->Tag(i)) == kPlaced) PutI32(&out, e->heading);
  }
  return out;
}

int64_t ImageBytes(const World* world) {
  int64_t sum = 0;
  if (world->kinds)
    for (int32_t i = 0; i < world->kinds->Count(); ++i)
      sum += MapStateRecordBytes(world->kinds->Tag(i));
  return sum;
}

void HideObject(World* world, const KindHeader* kind) {
  if (world->scene)
    if (Object3D* o = world->scene->store.Get(kind->object)) o->hidden = 1;
}

// Reads every record back into the kinds; the image has exactly their size.
void ApplyImage(World* world, const uint8_t* p) {
  PointerList* kinds = world->kinds;
  for (int32_t i = 0; i < kinds->Count(); ++i) {
    auto* kind = static_cast<KindHeader*>(kinds->Get(i));
    RecordShape shape = ShapeOf(kinds->Tag(i));
    if (shape == kNone) continue;
    Entity scratch = {};
    Entity* e = kind->entity ? kind->entity : &scratch;
    if (shape == kEnemy) {
      kind->hitPoints = GetI32(p);
      kind->state = GetI32(p);
    } else {
      e->active = *p++;
    }
    e->x = GetI32(p);
    e->y = GetI32(p);
    e->z = GetI32(p);
    e->w = GetI32(p);
    if (shape == kPlaced) e->heading = GetI32(p);
    // The dead and the taken are not drawn; a dead enemy puts its entity to sleep itself.
    if (shape == kEnemy ? kind->hitPoints == 0 : e->active == 0) HideObject(world, kind);
  }
}

// The whole file, at most `limit` bytes; false when it does not open or read.
// An empty image still hands the writer a real address (fwrite must not see null).
const uint8_t* DataOf(const std::vector<uint8_t>& bytes) {
  static const uint8_t kNothing = 0;
  return bytes.empty() ? &kNothing : bytes.data();
}

bool ReadWhole(const char* name, std::vector<uint8_t>* out, size_t limit) {
  out->assign(limit, 0);
  long got = ReadDataFile(name, out->data(), limit);
  if (got < 0) {
    out->clear();
    return false;
  }
  out->resize(size_t(got));
  return true;
}

}  // namespace

int32_t MapStateRecordBytes(int32_t type) {
  switch (ShapeOf(type)) {
    case kEnemy: return 24;
    case kPickup: return 17;
    case kPlaced: return 21;
    default: return 0;
  }
}

bool MapStateFileName(const char* mapFile, char* out) {
  size_t length = strnlen(mapFile, kWorldNameBytes - 1);
  if (length < 5) return false;
  memcpy(out, mapFile, length - 4);
  memcpy(out + length - 4, ".sav", 5);
  return true;
}

bool CopyDataFile(const char* from, const char* to) {
  FILE* in = OpenDataFile(from, "rb");
  if (!in) return false;
  std::vector<uint8_t> bytes;
  long size = FileSize(in);
  bool whole = size >= 0;
  if (whole) {
    bytes.resize(size_t(size));
    whole = size == 0 || fread(bytes.data(), 1, bytes.size(), in) == bytes.size();
  }
  fclose(in);
  return whole && WriteDataFileAtomic(to, DataOf(bytes), bytes.size());
}

void SaveMapState(World* world) {
  char name[kWorldNameBytes];
  if (!MapStateFileName(world->host->GetPlayerData().previousMap, name)) return;
  std::vector<uint8_t> image = BuildImage(world);
  if (!WriteDataFileAtomic(name, DataOf(image), image.size()))
    LogMessage("Error saving game state.");
}

void LoadMapState(World* world) {
  char name[kWorldNameBytes];
  if (!MapStateFileName(world->host->GetPlayerData().previousMap, name)) {
    LogMessage("Trying to save a null map.");
    return;
  }
  FileDelete(kBackupFile);
  CopyDataFile(name, kBackupFile);  // no state yet: no backup either
  if (!world->kinds) return;
  const int64_t expected = ImageBytes(world);
  std::vector<uint8_t> image;
  if (!ReadWhole(name, &image, size_t(expected) + 1)) return;  // the map starts fresh
  if (int64_t(image.size()) != expected) {
    // Written for another entity list: its records would land in the wrong kinds.
    LogMessage((std::string("Map state does not match the map: ") + name).c_str());
    return;
  }
  ApplyImage(world, image.data());
}

void RestoreMapState(World* world) {
  char name[kWorldNameBytes];
  if (!MapStateFileName(world->host->GetPlayerData().previousMap, name)) {
    LogMessage("Trying to restore a null map .");
    return;
  }
  CopyDataFile(kBackupFile, name);  // a missing backup leaves the state as it is
}
