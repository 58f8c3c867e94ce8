// Test helpers for the 3D engine: a scratch data directory with the baked files, an engine
// over the whole frame, and a writer for small .tdo files.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/core.h"
#include "engine3d/engine3d.h"
#include "data_files.h"
#include "test_support.h"

// A triangle strip object with n vertices and m triangles (m <= n - 2 when n >= 3).
inline TdoFile StripObject(int32_t vertices, int32_t triangles) {
  TdoFile f;
  for (int32_t i = 0; i < vertices; ++i) f.Vertex(i * 10, (i & 1) * 10, 0);
  for (int32_t i = 0; i < triangles; ++i) f.Poly({i % (vertices - 2), i % (vertices - 2) + 1, i % (vertices - 2) + 2});
  return f;
}

// The scratch directory holds the baked files; the engine covers the frame.
class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.LinkGameData();
    ASSERT_TRUE(math.Create(0));
    Math = &math;
    engine = std::make_unique<Engine3D>();
    ASSERT_EQ(engine->Create(nullptr, "TDENG", 0, 0, 240, 320), 1);
  }
  void TearDown() override {
    engine->Destroy();
    Math = nullptr;
    math.Destroy();
  }
  // Writes the file into the scratch directory and loads it.
  int32_t LoadTdo(const TdoFile& f, uint8_t entity = 1, const std::string& name = "t.tdo") {
    dir.Write(name, f.Bytes());
    return engine->store.Load(name.c_str(), entity, entity ? 2 : 0, 0);
  }

  ScratchDir dir;
  MathTables math;
  std::unique_ptr<Engine3D> engine;
};
