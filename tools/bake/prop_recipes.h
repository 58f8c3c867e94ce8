// The library of props a map places: rocks, pylons, buildings, ruins, the landing pad.
// Each recipe builds into a ModelBuilder at its current transform, standing on y = 0.
#pragma once

#include <cstdint>
#include <string>

#include "model_builder.h"

struct PropRecipe {
  const char* name;
  // Radius around the prop (at scale 1) where the craft is stopped; 0: it drives over it.
  double blocks;
  void (*build)(ModelBuilder& m, double scale, uint32_t seed);
};

// The recipe of a name, null when there is none.
const PropRecipe* FindPropRecipe(const std::string& name);
// The names, separated by spaces, for messages.
std::string PropRecipeNames();
