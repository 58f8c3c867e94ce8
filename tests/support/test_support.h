// Shared test helpers: a scratch directory standing for the program's directory, and shots
// read back from PNG files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

// Where the build baked the game's data files.
inline std::string GameDataDir() { return KVR_GAME_DIR; }
// The baked directory's log.txt as it stands (the loaders write there under UseGameData),
// empty when there is none.
std::string GameDataLog();

// A fresh empty directory that ExeDir points at for the test's lifetime.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  void Write(const std::string& name, const std::string& bytes) const;
  std::string Read(const std::string& name) const;
  bool Exists(const std::string& name) const;
  // Links every baked data file into the directory, so the real game can run from it;
  // what the game writes (log, settings, player data, map states) stays out. Files written
  // later replace their links; files already there are kept.
  void LinkGameData() const;
  // The lines of log.txt, empty when there is none.
  std::string Log() const { return Exists("log.txt") ? Read("log.txt") : std::string(); }

 private:
  std::string path_;
  std::string oldExeDir_;
};

// A shot read back from a PNG file, as 0xRRGGBB values.
struct RgbImage {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;  // 0xRRGGBB
  uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
  // Mean brightness (0..255) of a rectangle.
  double Brightness(int x, int y, int w, int h) const;
  bool SameArea(const RgbImage& other, int x, int y, int w, int h) const;
};
// Reads a PNG file; an empty picture when it is missing or unreadable.
RgbImage ReadRgbImage(const std::string& path);

// Points ExeDir at the baked game directory for the test's lifetime.
class UseGameData {
 public:
  UseGameData();
  ~UseGameData();

 private:
  std::string oldExeDir_;
};
