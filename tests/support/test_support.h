// Shared test helpers: a scratch directory standing for the program's directory.
#pragma once

#include <string>

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

// Points ExeDir at the baked game directory for the test's lifetime.
class UseGameData {
 public:
  UseGameData();
  ~UseGameData();

 private:
  std::string oldExeDir_;
};
