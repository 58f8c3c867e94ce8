// Test helpers of the world: a fake host, a scratch directory with the math tables, the
// explosion pictures and the samples, and writers of tiny .tdo, .map and .ent files.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/core.h"
#include "engine3d/engine3d.h"
#include "gfx2d/gfx2d.h"
#include "sound/sound.h"
#include "test_support.h"
#include "world/kinds.h"
#include "world/world.h"

// What the driver would be: its records and what the world told it.
class FakeHost : public WorldHost {
 public:
  Settings& GetSettings() override { return settings; }
  PlayerData& GetPlayerData() override { return player; }
  uint8_t GetScreenState() override { return screenState; }
  void SetScreenState(uint8_t state) override { screenState = state; }
  void SetFadeOut() override { ++fadeOuts; }
  void SetFadeReset() override { ++fadeResets; }
  void ShowHudMessage(const char* text) override { messages.push_back(text); }
  FormManager* GetForms() override { return forms; }
  SoundSystem* GetSound() override { return sound; }

  Settings settings = {};
  PlayerData player = {};
  uint8_t screenState = 0;
  int fadeOuts = 0, fadeResets = 0;
  std::vector<std::string> messages;
  FormManager* forms = nullptr;
  SoundSystem* sound = nullptr;
};

// Little-endian writer of the data-file layouts.
struct Bytes {
  std::string data;
  Bytes& I32(int32_t v) {
    for (int i = 0; i < 4; ++i) data.push_back(char(uint32_t(v) >> (8 * i)));
    return *this;
  }
  Bytes& Raw(const std::string& s) {
    data += s;
    return *this;
  }
  // A zero-padded text field of n bytes.
  Bytes& Text(const std::string& s, size_t n) {
    std::string field(n, '\0');
    memcpy(field.data(), s.data(), std::min(s.size(), n));
    data += field;
    return *this;
  }
  Bytes& Zeros(size_t n) {
    data.append(n, '\0');
    return *this;
  }
};

// A .tdo in the file's terms (z as stored, corners in file order).
struct Tdo {
  struct Poly {
    std::vector<int32_t> corners;
    int32_t texture = 0, type = 0;
  };
  std::vector<Vertex3D> vertices;
  std::vector<Poly> polys;
  int32_t V(int32_t x, int32_t y, int32_t z) {
    vertices.push_back({x, y, z, 4096});
    return int32_t(vertices.size()) - 1;
  }
  void P(std::vector<int32_t> corners, int32_t type = 0) { polys.push_back({corners, 0, type}); }
  std::string Data() const {
    Bytes b;
    b.I32(int32_t(vertices.size()));
    for (const Vertex3D& v : vertices) b.I32(v.x).I32(v.y).I32(v.z).I32(v.shade);
    b.I32(int32_t(polys.size()));
    for (const Poly& p : polys) {
      b.I32(int32_t(p.corners.size()));
      for (int32_t c : p.corners) b.I32(c).I32(0).I32(0);
      b.I32(p.texture).I32(p.type);
    }
    return b.data;
  }
};

// A square of ground, side 2 * half, centred on the object's origin. The corner heights are
// those at world (x, z) = (-h, -h), (-h, +h), (+h, +h), (+h, -h) of the placed object (the
// loader negates the file's z and reverses the corners; this writes what comes out right).
inline Tdo GroundTile(int32_t half, int32_t type = 0, int32_t y0 = 0, int32_t y1 = 0,
                      int32_t y2 = 0, int32_t y3 = 0) {
  Tdo t;
  int32_t a = t.V(-half, y0, half);
  int32_t b = t.V(-half, y1, -half);
  int32_t c = t.V(half, y2, -half);
  int32_t d = t.V(half, y3, half);
  t.P({d, c, b, a}, type);
  return t;
}

// One object of a .map file.
struct MapObject {
  int32_t x = 0, y = 0, z = 0;  // z as stored (placed at -z)
  int32_t solid = 1;
  Tdo model;
};

inline std::string MapFile(const std::vector<MapObject>& objects, const std::string& texPack,
                           const std::string& background, int32_t countOverride = INT32_MIN) {
  Bytes b;
  b.I32(countOverride != INT32_MIN ? countOverride : int32_t(objects.size()));
  for (const MapObject& o : objects)
    b.I32(o.x).I32(o.y).I32(o.z).Zeros(58).I32(o.solid).Raw(o.model.Data());
  b.Text(texPack, 256).Text(background, 256);
  return b.data;
}

inline std::string EntRecordBytes(int32_t type, int32_t x, int32_t y, int32_t z,
                                  int32_t heading = 0, const std::string& tag = "",
                                  const std::string& entry = "", int32_t w = 0) {
  Bytes b;
  b.I32(0).I32(type).I32(x).I32(y).I32(z).I32(w).I32(heading).Text(tag, 128).Text(entry, 64);
  return b.data;
}

inline std::string EntFile(const std::vector<std::string>& records,
                           int32_t countOverride = INT32_MIN) {
  Bytes b;
  b.I32(countOverride != INT32_MIN ? countOverride : int32_t(records.size()));
  for (const std::string& r : records) b.Raw(r);
  return b.data;
}

// A silent 16 kHz 16-bit mono wave of n samples.
inline std::string WavFile(int32_t samples) {
  Bytes b;
  b.Raw("RIFF").I32(36 + samples * 2).Raw("WAVE").Raw("fmt ").I32(16);
  b.data += std::string("\x01\x00\x01\x00", 4);
  b.I32(16000).I32(32000);
  b.data += std::string("\x02\x00\x10\x00", 4);
  b.Raw("data").I32(samples * 2).Zeros(size_t(samples) * 2);
  return b.data;
}

// A .spr of w x h pixels of one value (big-endian words).
inline std::string SprFile(int w, int h, uint16_t value) {
  std::string s;
  auto put = [&s](uint16_t v) {
    s.push_back(char(v >> 8));
    s.push_back(char(v & 0xFF));
  };
  put(uint16_t(w));
  put(uint16_t(h));
  for (int i = 0; i < w * h; ++i) put(value);
  return s;
}

// Scratch directory with the tables, the world's sprites and samples; Math, Gfx2D, a sound
// system and a scene engine over the whole frame.
class WorldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto table = [this](const char* name, int entries, auto value) {
      std::string s;
      for (int i = 0; i < entries; ++i) {
        uint16_t v = uint16_t(value(i));
        s.push_back(char(v >> 8));
        s.push_back(char(v & 0xFF));
      }
      dir.Write(name, s);
    };
    table("155", 2048, [](int i) {
      return int16_t(std::lround(std::sin(6.283185307179586 * i / 2048) * 256));
    });
    table("asintable.dat", 2048, [](int) { return 0; });
    table("148", 16384, [](int n) { return n ? std::min(65535, 65536 / n) : 0; });
    for (int n = 2; n <= 32; ++n) {
      char name[32];
      snprintf(name, sizeof name, "expl_w_smoke_%03d.spr", n);
      dir.Write(name, SprFile(4, 4, uint16_t(n)));
    }
    dir.Write("PlasmaExplosion.wav", WavFile(4000));
    dir.Write("BigExplosion.wav", WavFile(4000));
    ASSERT_TRUE(math.Create(0));
    Math = &math;
    gfx = std::make_unique<Graphics2D>();
    gfx->Create(0, 240, 320, FrameBuffer);
    Gfx2D = gfx.get();
    host.sound = CreateSoundSystem(nullptr);
    scene = std::make_unique<Engine3D>();
    ASSERT_EQ(scene->Create(nullptr, "TDENG", 0, 0, 240, 320), 1);
    WorldInit(&world, &host, 0);
    world.scene = scene.get();
    FrameDeltaMs = 40;
  }
  void TearDown() override {
    for (int t = 1; t <= kLastTypeCode; ++t) SetKindFunctionsForTest(t, nullptr);
    SetPlayerHooksForTest(nullptr);
    scene->Destroy();
    DestroySoundSystem(host.sound);
    Gfx2D = nullptr;
    math.Destroy();
    Math = nullptr;
  }
  // Count of log lines equal to text.
  int LogCount(const std::string& text) const {
    std::string log = dir.Log();
    int n = 0;
    size_t at = 0;
    while ((at = log.find(text + "\n", at)) != std::string::npos) {
      if (at == 0 || log[at - 1] == '\n') ++n;
      at += text.size();
    }
    return n;
  }

  ScratchDir dir;
  MathTables math;
  std::unique_ptr<Graphics2D> gfx;
  std::unique_ptr<Engine3D> scene;
  FakeHost host;
  World world = {};
};
