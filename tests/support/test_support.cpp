// Scratch directories for tests that read and write data files, and PNG shots read back.
#include "test_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <png.h>
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
  // KVR_KEEP_SCRATCH=1 keeps what a run wrote (shots, logs, saves) for a person to look at.
  if (getenv("KVR_KEEP_SCRATCH")) {
    fprintf(stderr, "scratch kept: %s\n", path_.c_str());
    return;
  }
  std::error_code ec;
  fs::remove_all(path_, ec);
}

void ScratchDir::Write(const std::string& name, const std::string& bytes) const {
  // A linked game file is replaced, never written through.
  std::error_code ec;
  fs::remove(File(name), ec);
  std::ofstream out(File(name), std::ios::binary);
  out.write(bytes.data(), std::streamsize(bytes.size()));
}

std::string ScratchDir::Read(const std::string& name) const {
  std::ifstream in(File(name), std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void ScratchDir::LinkGameData() const {
  static const char* const kWritten[] = {"kvr.ini", "kvr_playerdata.dat", "log.txt", "game.lock",
                                         "game"};
  for (const auto& entry : fs::directory_iterator(GameDataDir())) {
    if (!entry.is_regular_file()) continue;
    const std::string name = entry.path().filename().string();
    bool written = name.size() > 4 && name.compare(name.size() - 4, 4, ".sav") == 0;
    for (const char* w : kWritten) written = written || name == w;
    if (written) continue;
    std::error_code ec;
    fs::create_symlink(entry.path(), File(name), ec);
  }
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

double RgbImage::Brightness(int x, int y, int w, int h) const {
  double sum = 0;
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) {
      const uint32_t p = At(i, j);
      sum += ((p >> 16) & 255) + ((p >> 8) & 255) + (p & 255);
    }
  return w > 0 && h > 0 ? sum / (3.0 * w * h) : 0;
}

bool RgbImage::SameArea(const RgbImage& other, int x, int y, int w, int h) const {
  if (width != other.width || height != other.height) return false;
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i)
      if (At(i, j) != other.At(i, j)) return false;
  return true;
}

RgbImage ReadRgbImage(const std::string& path) {
  RgbImage out;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return out;
  image.format = PNG_FORMAT_RGB;
  std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return out;
  out.width = int(image.width);
  out.height = int(image.height);
  out.pixels.resize(size_t(out.width) * size_t(out.height));
  for (size_t i = 0; i < out.pixels.size(); ++i)
    out.pixels[i] = (uint32_t(rgb[i * 3]) << 16) | (uint32_t(rgb[i * 3 + 1]) << 8) | rgb[i * 3 + 2];
  return out;
}
