// The entity manager's rule for "this polygon is under the entity", shared by the map
// builder's checks, kvrtool's map views and the map tests so that all of them agree.
#pragma once

#include <cstdint>

// Corners are world positions (object position added). True when the first corner is
// horizontally nearer than `reach` and (x, z) lies strictly inside the outline seen from
// above: every edge's cross product is positive, so only faces that look up are found.
inline bool GroundUnderEntity(const int32_t* cornerX, const int32_t* cornerZ, int n, int32_t x,
                              int32_t z, int32_t reach = 500) {
  const int64_t dx = int64_t(cornerX[0]) - x, dz = int64_t(cornerZ[0]) - z;
  if (dx * dx + dz * dz >= int64_t(reach) * reach) return false;
  for (int i = 0; i < n; ++i) {
    const int j = (i + 1) % n;
    const int64_t c = (int64_t(cornerX[j]) - x) * (int64_t(cornerZ[i]) - z) -
                      (int64_t(cornerZ[j]) - z) * (int64_t(cornerX[i]) - x);
    if (c <= 0) return false;
  }
  return true;
}
