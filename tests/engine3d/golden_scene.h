// The fixed 3D scene of the golden-frame test and the DrawFrame benchmark: a hilly
// terrain grid from the map pack, five walking craft (one mid-stride), glowing 3D sprites
// in all four blit modes, and dark distance fog. Built in a temporary data directory from
// the baked tables, packs and models plus files made here.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "../support/data_files.h"
#include "core/core.h"
#include "engine3d/engine3d.h"
#include "gfx2d/gfx2d.h"

namespace golden {

// A 20 x 20 grid of 180-unit cells centred on the origin, rolling hills, map textures by
// height, shades from the slope towards a light in the upper left.
inline std::string TerrainTdo() {
  constexpr int kCells = 20, kSide = kCells + 1;
  constexpr double kCell = 180;
  auto height = [](int i, int j) {
    return int32_t(std::lround(70 * std::sin(i * 0.55) + 55 * std::cos(j * 0.45 + 1.0) +
                               25 * std::sin((i + j) * 1.3)));
  };
  TdoFile out;
  for (int j = 0; j < kSide; ++j)
    for (int i = 0; i < kSide; ++i) {
      int32_t x = int32_t((i - kCells / 2) * kCell), z = int32_t((j - kCells / 2) * kCell);
      int32_t h = height(i, j);
      // Facing the light (up and towards -x) is bright.
      double slope = (height(i > 0 ? i - 1 : i, j) - height(i < kCells ? i + 1 : i, j)) / 360.0;
      int32_t row = int32_t(std::lround(28 + 14 * std::tanh(slope * 3)));
      out.Vertex(x, h, -z, row * 256);
    }
  for (int j = 0; j < kCells; ++j)
    for (int i = 0; i < kCells; ++i) {
      // Engine order (top face up): (i, j), (i, j+1), (i+1, j+1), (i+1, j); the file lists
      // the corners the other way round.
      const int32_t idx[4] = {j * kSide + i, (j + 1) * kSide + i, (j + 1) * kSide + i + 1,
                              j * kSide + i + 1};
      const int32_t u[4] = {0, 0, 16383, 16383}, v[4] = {16383, 0, 0, 16383};
      TdoFile::Polygon p;
      for (int k = 3; k >= 0; --k) p.corners.push_back({idx[k], u[k], v[k]});
      int32_t h = height(i, j);
      p.texture = h > 90 ? 3 : (h > 10 ? 26 : ((i + j) % 7 == 0 ? 1 : 0));
      out.polygons.push_back(p);
    }
  return out.Bytes();
}

// A 16 x 16 glowing orb on a black (transparent) key, as a .spr file.
inline std::string OrbSpr() {
  std::vector<uint16_t> pixels;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      double d = std::sqrt((x - 7.5) * (x - 7.5) + (y - 7.5) * (y - 7.5)) / 8.0;
      int r = 0, g = 0, b = 0;
      if (d < 1.0) {
        r = int(31 * (1 - d * 0.3)), g = int(28 * (1 - d)), b = int(10 * (1 - d));
        if (r + g + b == 0) b = 1;
      }
      // File pixels hold blue in bits 15-11, green in 10-6, red in 4-0.
      pixels.push_back(uint16_t((b << 11) | (g << 6) | r));
    }
  return SprFile(16, 16, pixels);
}

// The scene and everything it stands on; ExeDir points at its directory while it lives.
class Scene {
 public:
  Scene() {
    namespace fs = std::filesystem;
    std::string pattern = (fs::temp_directory_path() / "kvrgoldenXXXXXX").string();
    dir_ = mkdtemp(pattern.data()) ? pattern : std::string();
    oldExeDir_ = ExeDir;
    for (const char* name : {"155", "148", "asintable.dat", "ents.tex", "map1.tex", "player1.tdo",
                             "player1_f1.tdo", "player1_f2.tdo"})
      fs::copy_file(std::string(KVR_GAME_DIR) + "/" + name, dir_ + "/" + name);
    std::ofstream(dir_ + "/terrain.tdo", std::ios::binary) << TerrainTdo();
    std::ofstream(dir_ + "/orb.spr", std::ios::binary) << OrbSpr();
    SetExeDir((dir_ + "/").c_str());

    g2d_.Create(0, 240, 320, FrameBuffer);
    Gfx2D = &g2d_;
    ok_ = math_.Create(0);
    Math = &math_;
    engine = std::make_unique<Engine3D>();
    ok_ = ok_ && engine->Create(nullptr, "TDENG", 0, 0, 240, 320) == 1;
    ok_ = ok_ && engine->LoadTexturePack("map1.tex", kBankMap) == 1;
    ok_ = ok_ && engine->LoadTexturePack("ents.tex", kBankEntities) == 1;
    ok_ = ok_ && engine->store.Load("terrain.tdo", 0, 0, 0) == 0;
    const int32_t craft[5][4] = {{-230, 90, 260, 150}, {260, 60, 650, 210}, {-560, 80, 1100, 80},
                                 {520, 60, 1700, 300}, {-120, 60, 2400, 10}};
    for (const auto& c : craft) {
      int32_t i = engine->store.LoadShared("player1.tdo", 1, 2);
      ok_ = ok_ && i >= 0;
      engine->store.SetPosition(i, c[0], c[1], c[2]);
      engine->store.SetAngles(i, 0, int32_t(c[3] * kDegreesToAngle), 0);
    }
    // The nearest craft is caught mid-stride.
    walk_.Create(0, engine.get());
    walk_.SetBase(engine->store.Get(1));
    ok_ = ok_ && walk_.AddFrame("player1_f1.tdo", 0) == 1 && walk_.AddFrame("player1_f2.tdo", 0) == 1;
    walk_.Blend(160, 1, 2);
    for (int k = 0; k < 8; ++k) {
      int32_t s = engine->AddSprite("orb.spr", k % 4, 0, 2.5 + 1.0 * (k % 3));
      ok_ = ok_ && s == k;
      engine->SetSpritePosition(s, -420 + k * 120, 300 + (k % 3) * 70, 350 + k * 260);
      engine->sprites[s].visible = 1;
    }
    engine->SetVisibility(2800);
    engine->fogMode = 0;
    engine->cameraPos = {40, 640, -700};
    engine->cameraAngle = {int32_t(19 * kDegreesToAngle), int32_t(4 * kDegreesToAngle), 0};
  }
  ~Scene() {
    engine->Destroy();
    Math = nullptr;
    math_.Destroy();
    Gfx2D = nullptr;
    SetExeDir(oldExeDir_.c_str());
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  bool ok() const { return ok_; }

  // Clears to a dusk blue and draws the scene into the frame buffer.
  void Draw() {
    std::fill(FrameBuffer, FrameBuffer + 240 * 320, MakeColour(6, 8, 14));
    engine->DrawFrame(FrameBuffer);
  }

  std::unique_ptr<Engine3D> engine;

 private:
  std::string dir_, oldExeDir_;
  Graphics2D g2d_;
  MathTables math_;
  FrameSet walk_;
  bool ok_ = false;
};

// FNV-1a over the frame's pixels.
inline uint64_t FrameChecksum(const uint16_t* frame, size_t pixels) {
  uint64_t h = 1469598103934665603ull;
  for (size_t i = 0; i < pixels; ++i) {
    h = (h ^ (frame[i] & 255)) * 1099511628211ull;
    h = (h ^ (frame[i] >> 8)) * 1099511628211ull;
  }
  return h;
}

}  // namespace golden
