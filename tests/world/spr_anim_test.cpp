// Flip-books and the explosion pool.
#include <cstdint>

#include "world_fixture.h"

namespace {

class ExplosionTest : public WorldTest {};

TEST_F(ExplosionTest, AOneShotOfThirtyOneFramesHidesItselfAfterItsLastFrame) {
  ExplosionManager* m = CreateExplosionManager(&world, scene.get());
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(dir.Log(), "");
  SprAnim* a = m->anims[0];
  EXPECT_EQ(a->images[31], -1);
  EXPECT_NE(a->images[30], -1);
  EXPECT_EQ(scene->sprites[a->sprite].visible, 0);
  ASSERT_EQ(StartExplosion(&world, m, 10, 20, 30), 1);
  const Sprite3D& s = scene->sprites[a->sprite];
  EXPECT_EQ(s.visible, 1);
  EXPECT_EQ(s.x, 10);
  EXPECT_EQ(s.z, 30);
  ASSERT_GE(m->samples[0], 0);
  EXPECT_EQ(host.sound->slots[m->samples[0]].x, 10);
  FrameDeltaMs = 40;
  UpdateExplosions(m);  // 40 ms of the first frame's 50
  EXPECT_EQ(a->frame, 0);
  UpdateExplosions(m);  // frame 1 (picture 3)
  EXPECT_EQ(a->frame, 1);
  EXPECT_EQ(s.image[2], 3 << 11);  // pictures load with red and blue exchanged
  for (int i = 0; i < 29; ++i) UpdateExplosions(m);  // 30 ms frames pass every tick
  EXPECT_EQ(a->frame, 30);
  EXPECT_EQ(s.image, gfx->SpriteBlock(a->images[30]));
  EXPECT_EQ(a->playing, 1);
  EXPECT_EQ(s.visible, 1);
  ASSERT_EQ(StartExplosion(&world, m, 0, 0, 0), 1);  // the second slot, stopped midway below
  UpdateExplosions(m);
  UpdateExplosions(m);
  EXPECT_EQ(a->playing, 0);
  EXPECT_EQ(s.visible, 0);
  // Started again, it shows its first picture at once.
  ASSERT_EQ(StartExplosion(&world, m, 0, 0, 0), 1);
  EXPECT_EQ(m->anims[0]->playing, 1);
  EXPECT_EQ(s.image[2], 2 << 11);
  // Unloading midway leaves the scene sprites hidden on their own pictures, not on freed
  // frames.
  const Sprite3D& second = scene->sprites[m->anims[1]->sprite];
  const uint16_t* own = gfx->SpriteBlock(m->anims[1]->images[0]);
  EXPECT_NE(second.image, own);
  DestroyExplosionManager(&world, m);
  EXPECT_EQ(second.image, own);
  EXPECT_EQ(second.visible, 0);
}

TEST_F(ExplosionTest, EightAtATime) {
  ExplosionManager* m = CreateExplosionManager(&world, scene.get());
  for (int i = 0; i < kExplosionSlots; ++i) EXPECT_EQ(StartExplosion(&world, m, i, 0, 0), 1);
  EXPECT_EQ(StartExplosion(&world, m, 99, 0, 0), 0);
  for (int i = 0; i < kExplosionSlots; ++i) EXPECT_EQ(scene->sprites[m->anims[i]->sprite].x, i);
  DestroyExplosionManager(&world, m);
  // Every frame picture went back to the table; only the scene's own sprites hold theirs.
  int held = 0;
  for (const SpriteEntry& e : gfx->sprites) held += e.inUse ? e.refs + 1 : 0;
  EXPECT_EQ(held, kExplosionSlots);
}

TEST_F(ExplosionTest, MissingPicturesAndSoundsAreLogged) {
  dir.Write("expl_w_smoke_002.spr", "");
  FreeSample(host.sound, LoadWav(host.sound, "PlasmaExplosion.wav"));
  std::remove(dir.File("BigExplosion.wav").c_str());
  ExplosionManager* m = CreateExplosionManager(&world, scene.get());
  EXPECT_EQ(LogCount("Error from SprAnim_Explosion1[0]->AddBaseSprite"), 1);
  EXPECT_EQ(LogCount("Error from SprAnim_Explosion1[7]->AddBaseSprite"), 1);
  EXPECT_EQ(LogCount("Error loading BigExplosion.wav"), 8);
  DestroyExplosionManager(&world, m);
}

TEST_F(ExplosionTest, LoopingAnimationWrapsAndAFullTableIsRefused) {
  SprAnim a;
  a.Init(0, scene.get());
  ASSERT_TRUE(a.AddBaseSprite("expl_w_smoke_002.spr", 0, 10, kAnimLoop, 1, 0, 1.0));
  ASSERT_TRUE(a.AddFrame("expl_w_smoke_003.spr", 10));
  EXPECT_FALSE(a.AddFrame("missing.spr", 10));
  a.Play(0);
  a.Update();
  EXPECT_EQ(a.frame, 1);
  a.Update();
  EXPECT_EQ(a.frame, 0);  // the empty slot after frame 1 wraps
  EXPECT_EQ(a.playing, 1);
  for (int i = 2; i < kSprAnimFrames; ++i) EXPECT_TRUE(a.AddFrame("expl_w_smoke_004.spr", 10));
  EXPECT_EQ(LogCount("Max spr anim reached."), 0);
  EXPECT_FALSE(a.AddFrame("expl_w_smoke_005.spr", 10));
  EXPECT_EQ(LogCount("Max spr anim reached."), 1);
  EXPECT_EQ(gfx->sprites[gfx->LoadSprite("expl_w_smoke_005.spr")].refs, 0);  // freed again
  for (int i = 0; i < kSprAnimFrames; ++i) a.Update();
  EXPECT_EQ(a.frame, 0);  // frame 35 wraps
  a.Release();
}

}  // namespace
