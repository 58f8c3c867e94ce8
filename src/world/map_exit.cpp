// The map exit: touching it sends the craft to another map's entry point (or, for the
// launch pads, to the star chart).
#include <cstdio>
#include <cstring>

#include "world/kind_support.h"
#include "world/kinds.h"

namespace {

constexpr int32_t kExitRadius = 500;
constexpr int32_t kCraftLeftMap = 8;

struct MapExit {
  KindHeader header;  // no object
  char targetMap[kEntTagBytes];
  char targetEntry[kEntEntryBytes];
};

// A fixed-size field of a damaged file may lack its terminator: copy at most its size.
void CopyField(char* to, size_t toBytes, const char* from, size_t fromBytes) {
  size_t n = strnlen(from, fromBytes);
  if (n >= toBytes) n = toBytes - 1;
  memcpy(to, from, n);
  to[n] = 0;
}

void* CreateMapExit(World* world, const EntRecord& record) {
  MapExit* x = static_cast<MapExit*>(AllocZeroed(sizeof(MapExit)));
  if (!x) return nullptr;
  x->header.type = kTypeMapExit;
  x->header.object = -1;
  CopyField(x->targetMap, sizeof x->targetMap, record.tag, sizeof record.tag);
  CopyField(x->targetEntry, sizeof x->targetEntry, record.entry, sizeof record.entry);
  x->header.entity = AddEntity(world->entities, kTypeMapExit, kModeGround, x);
  if (x->header.entity) x->header.entity->radius = kExitRadius;
  return x;
}

int32_t CollideMapExit(World* world, void* kind, Entity*, Entity* other) {
  MapExit* x = static_cast<MapExit*>(kind);
  if (!other || other->type != kTypePlayer || !world->host) return 0;
  PlayerData& player = world->host->GetPlayerData();
  CopyField(player.nextMap, sizeof player.nextMap, x->targetMap, sizeof x->targetMap);
  CopyField(player.entryPoint, sizeof player.entryPoint, x->targetEntry, sizeof x->targetEntry);
  world->host->SetScreenState(kScreenNextMap);
  if (world->player) world->player->header.state = kCraftLeftMap;
  return 1;
}

}  // namespace

const KindFunctions kMapExitKind = {CreateMapExit, nullptr, CollideMapExit, nullptr};
