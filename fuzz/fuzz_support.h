// Shared fuzz-target helpers: one scratch directory per run standing for the program's directory.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/core.h"

// The run's scratch directory (no trailing separator), made on first use with ExeDir pointed
// at it, so data files and log lines never land beside the fuzzer. It lives in memory where
// the machine has a memory file system: the game's saves flush every file to storage, and a
// target writing a few files per input would otherwise spend its time waiting for the disk.
// It is removed when the run ends normally; a crashing run leaves its files to be looked at.
inline const std::string& FuzzScratchDir() {
  // Never destroyed: the clean-up at exit still reads it.
  static const std::string& dir = *new std::string([] {
    char inMemory[] = "/dev/shm/kvrfuzzXXXXXX";
    char onDisk[] = "/tmp/kvrfuzzXXXXXX";
    const char* made = mkdtemp(inMemory);
    if (!made) made = mkdtemp(onDisk);
    std::string d = made ? made : "/tmp";
    SetExeDir((d + "/").c_str());
    if (made)
      atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(FuzzScratchDir(), ignored);
      });
    return d;
  }());
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
