// Fuzz target: LoadTexturePack on arbitrary bytes into either bank. The loader logs one line
// per colour-table entry a short file lacks (up to 16,384 file appends); an input that would
// leave more than a few hundred missing is padded with zeros up to that point, so every input
// costs about the same and the short-table road is still taken.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/core.h"
#include "engine3d/engine3d.h"
#include "fuzz_engine3d_setup.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Engine3D& e = fuzz3d::SharedEngine();
  if (!e.ready) return 0;
  constexpr size_t kTableStart = size_t(kTexturesPerBank) * kTextureBytes;
  constexpr size_t kMostMissingBytes = 2 * 256;
  const size_t shortest = kTableStart + kTexPackLutBytes - kMostMissingBytes;
  if (size >= kTableStart && size < shortest) {
    std::vector<uint8_t> padded(data, data + size);
    padded.resize(shortest, 0);
    if (!PutFuzzFile("fuzz.tex", padded.data(), padded.size())) return 0;
  } else if (!PutFuzzFile("fuzz.tex", data, size)) {
    return 0;
  }
  e.LoadTexturePack("fuzz.tex", int32_t(size & 1));
  // The log would grow by a line per missing table entry; start afresh each input.
  DeleteLog();
  return 0;
}
