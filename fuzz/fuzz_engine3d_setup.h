// Shared set-up of the 3D engine fuzz targets: a scratch directory holding the sine and
// reciprocal tables, the math object and one engine for the whole run.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/core.h"
#include "engine3d/engine3d.h"
#include "fuzz_support.h"

namespace fuzz3d {

inline void WriteTable(const std::string& path, int entries, uint16_t (*value)(int)) {
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return;
  for (int i = 0; i < entries; ++i) {
    uint16_t v = value(i);
    uint8_t b[2] = {uint8_t(v >> 8), uint8_t(v)};
    fwrite(b, 1, 2, f);
  }
  fclose(f);
}

// The scratch directory (ExeDir) and a ready engine over the whole frame.
inline Engine3D& SharedEngine() {
  static Engine3D* engine = [] {
    const std::string& d = FuzzScratchDir();
    WriteTable(d + "/155", 2048, [](int i) {
      return uint16_t(int16_t(std::lround(std::sin(6.283185307179586 * i / 2048) * 256)));
    });
    WriteTable(d + "/asintable.dat", 2048, [](int) { return uint16_t(0); });
    WriteTable(d + "/148", 16384, [](int n) { return uint16_t(n ? std::min(65535, 65536 / n) : 0); });
    static MathTables math;
    math.Create(0);
    Math = &math;
    Engine3D* e = new Engine3D();
    e->Create(nullptr, "TDENG", 0, 0, 240, 320);
    return e;
  }();
  return *engine;
}

}  // namespace fuzz3d
