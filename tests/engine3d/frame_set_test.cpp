// Key frames: AddFrame's checks and messages, and Blend's clamping, memory and arithmetic.
#include <tuple>

#include "engine_fixture.h"

namespace {

class FrameSetTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    TdoFile a, b;
    a.Vertex(0, 0, 0, 1000), a.Vertex(100, 0, 0), a.Vertex(0, 100, 0), a.Vertex(7, 7, 7);
    b.Vertex(200, 0, 0, 9000), b.Vertex(100, 100, 0), b.Vertex(0, 100, -50), b.Vertex(7, 7, 7);
    a.Poly({0, 1, 2});
    b.Poly({0, 1, 2});
    dir.Write("base.tdo", a.Bytes());
    dir.Write("a.tdo", a.Bytes());
    dir.Write("b.tdo", b.Bytes());
    dir.Write("other.tdo", StripObject(5, 1).Bytes());
    ASSERT_EQ(engine->store.Load("base.tdo", 1, 2, 0), 0);
    base = engine->store.Get(0);
    set.Create(5, engine.get());
    set.SetBase(base);
    ASSERT_EQ(set.AddFrame("a.tdo", 0), 1);
    ASSERT_EQ(set.AddFrame("b.tdo", 0), 1);
  }
  Object3D* base = nullptr;
  FrameSet set;
};

TEST_F(FrameSetTest, FramesAreHiddenStoreObjectsAndFailuresAreLogged) {
  EXPECT_EQ(set.AddFrame("missing.tdo", 0), 0);
  EXPECT_EQ(set.AddFrame("other.tdo", 0), 0);
  EXPECT_EQ(dir.Log(),
            "AddFrame: Error loading object file  missing.tdo\n"
            "AddFrame: Object has different number of verts - polys.\n");
  EXPECT_EQ(set.frameCount, 2);
  // The frames, the mismatched one too, stay in the store, hidden.
  EXPECT_EQ(engine->store.count, 4);
  for (int i : {1, 2, 3}) EXPECT_EQ(engine->store.Get(i)->hidden, 1) << i;
}

TEST_F(FrameSetTest, BlendMixesPositionsButNeverShades) {
  set.Blend(128, 1, 2);  // z: -(-50) after the loader's z negation, halved
  EXPECT_EQ(std::make_tuple(base->vertices[0].x, base->vertices[1].y, base->vertices[2].z,
                            base->vertices[0].shade),
            std::make_tuple(100, 50, 25, 1000));
  set.Blend(64, 2, 1);  // from b back towards a
  EXPECT_EQ(base->vertices[0].x, 150);
}

TEST_F(FrameSetTest, BlendClampsAndRemembersTheLastValue) {
  set.Blend(300, 1, 2);  // acts as 256: frame b exactly
  EXPECT_EQ(base->vertices[0].x, 200);
  EXPECT_EQ(base->vertices[2].z, 50);
  set.Blend(300, 2, 1);  // the same t: nothing, whatever the frames
  EXPECT_EQ(base->vertices[0].x, 200);
  set.Blend(-5, 1, 2);  // acts as 0: frame a
  EXPECT_EQ(base->vertices[0].x, 0);
  EXPECT_EQ(set.lastBlend, -5);
}

TEST_F(FrameSetTest, FirstBlendWithZeroLeavesTheBaseAsLoaded) {
  base->vertices[0].x = 55;  // as if moved since loading
  set.Blend(0, 1, 2);
  EXPECT_EQ(base->vertices[0].x, 55);
  set.Blend(128, 1, 4);  // no frame 4: nothing
  EXPECT_EQ(base->vertices[0].x, 55);
  set.Blend(1, 1, 2);
  EXPECT_EQ(base->vertices[0].x, 0);
}

TEST_F(FrameSetTest, EqualVerticesAreLeftAloneAndDifferencesAre24Bit) {
  base->vertices[3].x = 1;  // frames agree on this vertex: it is not rewritten
  Object3D* b = engine->store.Get(2);
  b->vertices[1].x = 100 + (1 << 24) + 16;  // differs from frame a by 2^24 + 16
  set.Blend(256, 1, 2);
  EXPECT_EQ(base->vertices[3].x, 1);
  EXPECT_EQ(base->vertices[1].x, 116);
  set.Blend(100, 0, 2);  // frame 0 is the base itself
  EXPECT_EQ(base->vertices[0].x, 200);
}

}  // namespace
