// Shared fuzz-target helpers: one scratch directory per run standing for the program's directory.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/core.h"

// The run's scratch directory (no trailing separator), made on first use with ExeDir pointed
// at it, so data files and log lines never land beside the fuzzer.
inline const std::string& FuzzScratchDir() {
  static const std::string dir = [] {
    char pattern[] = "/tmp/kvrfuzzXXXXXX";
    std::string d = mkdtemp(pattern) ? pattern : "/tmp";
    SetExeDir((d + "/").c_str());
    return d;
  }();
  return dir;
}

// Writes the bytes as the data file `name` in the scratch directory; an empty input (which
// libFuzzer may hand over with a null pointer) leaves an empty file. False when it cannot
// be opened.
inline bool PutFuzzFile(const char* name, const uint8_t* data, size_t size) {
  FuzzScratchDir();
  FILE* f = OpenDataFile(name, "wb");
  if (!f) return false;
  if (size && data) fwrite(data, 1, size, f);
  fclose(f);
  return true;
}

inline bool PutFuzzFile(const char* name, const std::string& bytes) {
  return PutFuzzFile(name, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}
