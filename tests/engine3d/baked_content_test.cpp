// The baked 3D content loads through the engine without a log line: both texture packs,
// the player craft and all its walk and explosion frames as one FrameSet each.
#include <algorithm>
#include <filesystem>

#include "engine_fixture.h"

namespace {

using BakedContentTest = EngineTest;

void CopyFromGame(const ScratchDir& dir, const char* name) {
  std::filesystem::copy_file(GameDataDir() + "/" + name, dir.File(name));
}

TEST_F(BakedContentTest, PacksAndPlayerCraftLoadCleanly) {
  for (const char* name : {"ents.tex", "map1.tex", "player1.tdo", "player1_f1.tdo", "player1_f2.tdo",
                           "player1_f4.tdo", "player1_expl_f1.tdo", "player1_expl_f2.tdo"})
    CopyFromGame(dir, name);
  EXPECT_EQ(engine->LoadTexturePack("map1.tex", kBankMap), 1);
  EXPECT_EQ(engine->LoadTexturePack("ents.tex", kBankEntities), 1);

  int32_t craft = engine->store.LoadShared("player1.tdo", 1, 2);
  ASSERT_GE(craft, 0);
  FrameSet walk;
  walk.Create(0, engine.get());
  walk.SetBase(engine->store.Get(craft));
  for (const char* f : {"player1_f1.tdo", "player1_f2.tdo", "player1_f1.tdo", "player1_f4.tdo",
                        "player1_f1.tdo"})
    EXPECT_EQ(walk.AddFrame(f, 1), 1) << f;
  int32_t wreck = engine->store.LoadShared("player1_expl_f1.tdo", 1, 2);
  ASSERT_GE(wreck, 0);
  FrameSet burst;
  burst.Create(0, engine.get());
  burst.SetBase(engine->store.Get(wreck));
  EXPECT_EQ(burst.AddFrame("player1_expl_f1.tdo", 1), 1);
  EXPECT_EQ(burst.AddFrame("player1_expl_f2.tdo", 1), 1);
  EXPECT_EQ(dir.Log(), "");

  // The craft stands on the ground with its guns forward (+z), within the limits.
  const Object3D* o = engine->store.Get(craft);
  EXPECT_LE(o->vertexCount, kMaxObjectVertices);
  EXPECT_LE(o->polygonCount, kMaxObjectPolygons);
  int32_t minY = INT32_MAX, minZ = INT32_MAX, maxZ = INT32_MIN;
  for (int32_t i = 0; i < o->vertexCount; ++i) {
    minY = std::min(minY, o->vertices[i].y);
    minZ = std::min(minZ, o->vertices[i].z);
    maxZ = std::max(maxZ, o->vertices[i].z);
  }
  EXPECT_NEAR(minY, 0, 3);
  EXPECT_GT(maxZ, -minZ);
  // A full walk cycle and the burst blend without trouble and draw something.
  engine->store.SetPosition(craft, 0, -150, 500);
  for (int32_t frame = 2; frame <= 5; ++frame)
    for (int32_t t = 0; t < 256; t += 64) walk.Blend(t, frame - 1, frame);
  burst.Blend(200, 1, 2);
  engine->DrawFrame(FrameBuffer);
  EXPECT_GT(engine->polygonsUsed, 200);
}

}  // namespace
