// Scratch directories for tests that read and write data files.
#include "test_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/core.h"

namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
  oldExeDir_ = ExeDir;
  std::string pattern = (fs::temp_directory_path() / "kvrtestXXXXXX").string();
  char* made = mkdtemp(pattern.data());
  path_ = made ? made : pattern;
  SetExeDir((path_ + "/").c_str());
}

ScratchDir::~ScratchDir() {
  SetExeDir(oldExeDir_.c_str());
  std::error_code ec;
  fs::remove_all(path_, ec);
}

void ScratchDir::Write(const std::string& name, const std::string& bytes) const {
  std::ofstream out(File(name), std::ios::binary);
  out.write(bytes.data(), std::streamsize(bytes.size()));
}

std::string ScratchDir::Read(const std::string& name) const {
  std::ifstream in(File(name), std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

bool ScratchDir::Exists(const std::string& name) const { return fs::exists(File(name)); }

std::string GameDataLog() {
  std::ifstream in(GameDataDir() + "/log.txt", std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

UseGameData::UseGameData() {
  oldExeDir_ = ExeDir;
  SetExeDir((GameDataDir() + "/").c_str());
}

UseGameData::~UseGameData() { SetExeDir(oldExeDir_.c_str()); }
