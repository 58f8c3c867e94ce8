// The world record's life: initialisation and the questions the driver asks about it.
#include <cstring>

#include "world/kinds.h"

void WorldInit(World* world, WorldHost* host, uint32_t app) {
  memset(static_cast<void*>(world), 0, sizeof *world);
  world->host = host;
  world->app = app;
  world->worldState = kWorldUnloaded;
}

bool WorldMapLoaded(const World* world) { return world->entities != nullptr; }

bool WorldPlayerAlive(const World* world) {
  return WorldMapLoaded(world) && world->player && world->player->header.state == 0;
}
