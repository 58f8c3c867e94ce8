// The scene pipeline: view matrix, culling, soups, fog, depth keys and buckets, projection,
// clipping and 3D sprites.
#include <cstring>

#include <algorithm>
#include <tuple>
#include <vector>

#include "engine3d/pipeline.h"
#include "engine_fixture.h"
#include "gfx2d/gfx2d.h"

namespace {

using PipelineTest = EngineTest;

// A small upright square facing the eye (which looks along +z from the origin).
TdoFile FacingSquare(int32_t half) {
  TdoFile f;
  // File z is negated on load; in the engine the square lies at z = 0 of the object.
  f.Vertex(-half, -half, 0, 40 * 256), f.Vertex(half, -half, 0, 40 * 256);
  f.Vertex(half, half, 0, 40 * 256), f.Vertex(-half, half, 0, 40 * 256);
  // Engine order must run clockwise on screen: (-,+), (+,+), (+,-), (-,-); the file lists
  // corners the other way round.
  f.Poly({0, 1, 2, 3});
  return f;
}

TEST_F(PipelineTest, ObjectsFarOffScreenOrBehindAreCulledButNotWhenTheEyeIsInside) {
  ASSERT_EQ(LoadTdo(FacingSquare(10)), 0);
  Object3D* o = engine->store.Get(0);
  const struct {
    int32_t x, z;
    uint8_t hidden, visible;
    const char* where;
  } cases[] = {{0, -1500, 0, 0, "well behind the eye"},
               {0, -500, 0, 1, "just behind: kept, the clipper removes it"},
               {2000, 500, 0, 0, "far to the right"},
               {3, 2, 0, 1, "the eye inside the bounding sphere"},
               {3, 2, 1, 0, "hidden"},
               {0, 4400, 0, 1, "at the cull distance"},
               {0, 4401, 0, 0, "one past it"}};
  for (const auto& c : cases) {
    engine->store.SetPosition(0, c.x, 0, c.z);
    o->hidden = c.hidden;
    engine->DrawFrame(FrameBuffer);
    EXPECT_EQ(o->visible, c.visible) << c.where;
  }
  EXPECT_EQ(engine->verticesUsed, 0);
  // The frame starts from a cleared soup: the last frame's polygon is gone, not only uncounted.
  const auto* bytes = reinterpret_cast<const unsigned char*>(engine->polySoup);
  EXPECT_EQ(std::count(bytes, bytes + sizeof(Poly3D) * kPolySoupSize, 0),
            std::ptrdiff_t(sizeof(Poly3D) * kPolySoupSize));
}

TEST_F(PipelineTest, ObjectsThatOverflowTheSoupAreSkippedWhole) {
  TdoFile big = StripObject(1100, 4);
  for (int i = 0; i < 5; ++i) ASSERT_EQ(LoadTdo(big, 1, "big.tdo"), i);
  ASSERT_EQ(LoadTdo(FacingSquare(10), 1, "small.tdo"), 5);
  for (int i = 0; i < 6; ++i) engine->store.SetPosition(i, 0, 0, 600);
  engine->DrawFrame(FrameBuffer);
  // 4 x 1100 fit, the fifth does not (it stays visible), the small one still does.
  EXPECT_EQ(engine->verticesUsed, 4 * 1100 + 4);
  EXPECT_EQ(engine->store.Get(4)->visible, 1);
  EXPECT_EQ(engine->polygonsUsed, 4 * 4 + 1);
}

TEST_F(PipelineTest, MapBackFacesAreDroppedEntityOnesKept) {
  TdoFile f = FacingSquare(20);
  ASSERT_EQ(LoadTdo(f, 0, "map.tdo"), 0);
  ASSERT_EQ(LoadTdo(f, 1, "ent.tdo"), 1);
  engine->store.SetPosition(0, 0, 0, 500);
  engine->store.SetPosition(1, 0, 0, 500);
  engine->DrawFrame(FrameBuffer);
  EXPECT_EQ(engine->polygonsUsed, 2);  // seen from the front: both
  engine->store.SetPosition(0, 0, 0, -500);
  engine->store.SetPosition(1, 0, 0, -500);
  engine->cameraAngle.y = kFullTurn / 2;  // turn round: now their backs face the eye
  engine->DrawFrame(FrameBuffer);
  EXPECT_EQ(engine->polygonsUsed, 1);  // only the entity's
  EXPECT_EQ(engine->polySoup[0].bank, kBankEntities);
}

TEST_F(PipelineTest, DepthKeys) {
  const struct {
    int corners;
    int32_t z[4];
    int32_t key;
  } cases[] = {
      {4, {100, 100, 100, 300}, 394},  // spread 200: 300 - 200 / 30 + 100
      {4, {100, 100, 100, 279}, 244},  // spread 179: the average, 579 / 4 + 100
      {4, {100, 100, 100, 280}, 374},  // spread 180: 280 - 6 + 100
      {4, {100, 110, 120, 130}, 215},  // 460 / 4 + 100
      {3, {-101, -100, -100, 0}, 0},   // -301 / 3 truncates toward zero
  };
  for (const auto& c : cases) {
    Poly3D p{};
    p.cornerCount = uint8_t(c.corners);
    for (int k = 0; k < 4; ++k) {
      p.corner[k] = int16_t(k);
      engine->vertSoup[k].z = c.z[k];
    }
    EXPECT_EQ(PolygonKey(*engine, p), c.key) << c.z[3];
  }
}

// Fills the soup with triangles of one depth each and orders them.
void OrderFlatTriangles(Engine3D& e, std::initializer_list<int32_t> depths) {
  int i = 0;
  for (int32_t z : depths) {
    Poly3D& p = e.polySoup[i];
    p = Poly3D{};
    p.cornerCount = 3;
    for (int k = 0; k < 3; ++k) {
      p.corner[k] = int16_t(i * 3 + k);
      e.vertSoup[i * 3 + k].z = z;
    }
    ++i;
  }
  e.polygonsUsed = i;
  e.verticesUsed = i * 3;
  Order(e);
}

// Keys 0 and visibility - 1 are drawn, -1 and visibility are not; equal keys come out in
// reverse order.
TEST_F(PipelineTest, DepthsJustInsideTheVisibilityAreDrawnInBuckets) {
  engine->SetVisibility(2000);
  OrderFlatTriangles(*engine, {1899, 1900, -100, -101});
  EXPECT_EQ(engine->buckets[1999], &engine->polySoup[0]);
  EXPECT_EQ(engine->buckets[0], &engine->polySoup[2]);
  int filled = 0;
  for (int k = 1; k < kDepthBuckets; ++k) filled += engine->buckets[k] != nullptr;
  EXPECT_EQ(filled, 1);
  EXPECT_EQ(engine->buckets[0]->next, nullptr);
  OrderFlatTriangles(*engine, {500, 500, 500});
  const Poly3D* p = engine->buckets[600];
  EXPECT_EQ(std::make_tuple(p, p->next, p->next->next, p->next->next->next),
            std::make_tuple(&engine->polySoup[2], &engine->polySoup[1], &engine->polySoup[0], nullptr));
}

TEST_F(PipelineTest, FogDarkensOrBrightensBeyondItsStart) {
  engine->viewMatrix = Matrix3{{256, 0, 0, 0, 256, 0, 0, 0, 256}};
  engine->verticesUsed = 3;
  engine->vertSoup[0] = Vertex3D{0, 0, 3700, 16128};
  engine->vertSoup[1] = Vertex3D{0, 0, 3200, 16128};  // at the fog start: untouched
  engine->vertSoup[2] = Vertex3D{0, 0, 3300, 10000};
  TransformAndFog(*engine);  // 16128 - 500 * 32 = 128, clamped
  EXPECT_EQ(std::make_tuple(engine->vertSoup[0].shade, engine->vertSoup[1].shade, engine->vertSoup[2].shade),
            std::make_tuple(1280, 16128, 10000 - 100 * 20));
  engine->fogMode = 1;
  engine->vertSoup[0] = Vertex3D{0, 0, 3700, 0};
  engine->vertSoup[2] = Vertex3D{0, 0, 3300, 8000};
  TransformAndFog(*engine);  // 0 + 500 * 46 limited
  EXPECT_EQ(std::make_pair(engine->vertSoup[0].shade, engine->vertSoup[2].shade),
            std::make_pair(16128, 8000 + 100 * 30));
}

TEST_F(PipelineTest, ProjectionPutsThePyramidOnTheViewportEdges) {
  int32_t sx, sy;
  ProjectPoint(*engine, 0, 0, 1000, &sx, &sy);
  EXPECT_EQ(std::make_pair(sx, sy), std::make_pair(120 * 256, 160 * 256));
  ProjectPoint(*engine, 1000, -1000, 1000, &sx, &sy);
  EXPECT_NEAR(sx, 240 * 256, 512);  // the reciprocal of 1000 is 65, not 65.536
  EXPECT_NEAR(sy, 320 * 256, 512);
  ProjectPoint(*engine, 5, 5, 0, &sx, &sy);
  EXPECT_EQ(std::make_pair(sx, sy), std::make_pair(0, 0));
  ProjectPoint(*engine, 5, 5, 16384, &sx, &sy);
  EXPECT_EQ(sx, 0);
}

// Clip-ring corners for a camera-space polygon.
int Clip(Engine3D& e, std::initializer_list<Vec3> points, ClipVertex** out) {
  ClipVertex* in[4];
  int n = 0;
  for (const Vec3& p : points) {
    ClipVertex* c = NextClipVertex(e);
    *c = ClipVertex{p.x, p.y, p.z, 4096, p.x * 10, 0, 0, 0, 0};
    ProjectPoint(e, p.x, p.y, p.z, &c->sx, &c->sy);
    in[n++] = c;
  }
  return ClipPolygon(e, in, n, out, true);
}

TEST_F(PipelineTest, ClippingKeepsCornersInsideThePyramid) {
  ClipVertex* out[kMaxClipCorners];
  // Wholly inside: the same corners come back.
  EXPECT_EQ(Clip(*engine, {{0, 0, 100}, {50, 0, 100}, {0, 50, 100}}, out), 3);
  // Crossing the right plane x = z: one corner cut off becomes two.
  int n = Clip(*engine, {{0, 0, 100}, {300, 0, 100}, {0, 60, 100}}, out);
  ASSERT_EQ(n, 4);
  for (int i = 0; i < n; ++i) {
    EXPECT_LE(out[i]->x, out[i]->z + 1);
    EXPECT_GE(out[i]->x, -out[i]->z - 1);
    EXPECT_GE(out[i]->z + out[i]->y, -1);
    EXPECT_LE(out[i]->sx >> 8, 240);
  }
  // The new corner on the edge (0,0,100)-(300,0,100) sits at x = 100 with u interpolated.
  bool found = false;
  for (int i = 0; i < n; ++i)
    if (out[i]->y == 0 && out[i]->x >= 99 && out[i]->x <= 100) {
      found = true;
      EXPECT_NEAR(out[i]->u, 1000, 12);
    }
  EXPECT_TRUE(found);
  // A corner exactly on a side plane is inside: the polygon is drawn as it is.
  ASSERT_EQ(Clip(*engine, {{0, 0, 100}, {100, 0, 100}, {0, 50, 100}}, out), 3);
  EXPECT_EQ(out[0]->x, 0);  // in their own order, not passed round the clipper
  EXPECT_EQ(out[1]->x, 100);
  EXPECT_EQ(out[2]->y, 50);
  // When another corner is cut off, the one on the plane is kept along with the two new ones.
  EXPECT_EQ(Clip(*engine, {{0, 0, 100}, {100, 50, 100}, {300, -50, 100}}, out), 4);
  // Wholly outside one plane: nothing is left.
  EXPECT_EQ(Clip(*engine, {{500, 0, 100}, {600, 0, 100}, {500, 50, 100}}, out), 0);
  // The ring runs round its 32 slots.
  engine->clipCounter = 31;
  EXPECT_EQ(NextClipVertex(*engine), &engine->clipRing[31]);
  EXPECT_EQ(NextClipVertex(*engine), &engine->clipRing[0]);
}

// The drawing skips the clipper for polygons it can place alone; the clipper must agree on
// every one: wholly inside comes back as it is, wholly outside the first side crossed leaves
// nothing. Random triangles and quads round the pyramid's edges, corners on the planes too.
TEST_F(PipelineTest, PlacedCornersAgreeWithTheClipper) {
  uint32_t seed = 12345;
  auto next = [&seed](int32_t range) {
    seed = seed * 1664525u + 1013904223u;
    return int32_t((seed >> 8) % uint32_t(2 * range + 1)) - range;
  };
  int counted[3] = {};
  for (int i = 0; i < 20000; ++i) {
    const int n = 3 + (i & 1);
    Poly3D p{};
    p.cornerCount = uint8_t(n);
    std::vector<Vec3> points;
    // Small polygons scattered round the pyramid, now and then a corner exactly on a plane.
    const int32_t z0 = 80 + next(40), cx = next(2 * z0), cy = next(2 * z0);
    for (int k = 0; k < n; ++k) {
      Vec3 v{cx + next(30), cy + next(30), z0 + next(20)};
      if (next(4) == 0) v.x = (i & 2) ? v.z : -v.z;
      engine->vertSoup[k] = Vertex3D{v.x, v.y, v.z, 4096};
      p.corner[k] = int16_t(k);
      points.push_back(v);
    }
    const Placement placed = PlaceCorners(*engine, p, n);
    ClipVertex* out[kMaxClipCorners];
    ClipVertex* in[4];
    for (int k = 0; k < n; ++k) {
      in[k] = NextClipVertex(*engine);
      *in[k] = ClipVertex{points[size_t(k)].x, points[size_t(k)].y, points[size_t(k)].z, 4096, 0, 0, 0, 0, 0};
      ProjectPoint(*engine, in[k]->x, in[k]->y, in[k]->z, &in[k]->sx, &in[k]->sy);
    }
    const int clipped = ClipPolygon(*engine, in, n, out, true);
    ++counted[int(placed)];
    if (placed == Placement::kOutside) {
      ASSERT_EQ(clipped, 0) << "polygon " << i;
    }
    if (placed == Placement::kInside) {
      ASSERT_EQ(clipped, n) << "polygon " << i;
      for (int k = 0; k < n; ++k) ASSERT_EQ(out[k], in[k]);
    }
  }
  // Each kind turns up often enough to mean something.
  for (int c : counted) EXPECT_GT(c, 1000);
}

TEST_F(PipelineTest, SpritesNearerThanElevenAreNotDrawn) {
  uint16_t image[2 + 4 * 4];
  image[0] = 4, image[1] = 4;
  for (int i = 0; i < 16; ++i) image[2 + i] = 0xFFFF;
  Sprite3D s{};
  s.halfWidth = s.halfHeight = 2;
  s.image = image;
  s.mode = 0;
  s.key = 1;
  std::vector<uint16_t> frame(240 * 320, 0);
  engine->frameBuffer = frame.data();
  s.camZ = 10;
  DrawSprite3D(*engine, s);
  EXPECT_EQ(std::count(frame.begin(), frame.end(), 0xFFFF), 0);
  s.camZ = 11;
  DrawSprite3D(*engine, s);
  EXPECT_GT(std::count(frame.begin(), frame.end(), 0xFFFF), 100);
  // Centred on the middle of the viewport.
  EXPECT_EQ(frame[160 * 240 + 120], 0xFFFF);
}

TEST_F(PipelineTest, SpritesNeedAnImageAndTheVisibleFlagAndRoomInTheSoup) {
  static uint16_t image[2 + 1] = {1, 1, 0x1234};
  for (int i = 0; i < 3; ++i) {
    Sprite3D& s = engine->sprites[i];
    s = Sprite3D{};
    s.image = image;
    s.visible = 1;
    s.z = 300 + i;
  }
  engine->sprites[1].visible = 0;
  engine->spriteCount = 3;
  engine->polygonsUsed = kPolySoupSize - 1;
  engine->viewMatrix = Matrix3{{256, 0, 0, 0, 256, 0, 0, 0, 256}};
  Order(*engine);
  EXPECT_EQ(engine->polygonsUsed, kPolySoupSize);  // the third no longer fits
  ASSERT_NE(engine->buckets[300], nullptr);
  EXPECT_EQ(engine->buckets[300]->sprite, &engine->sprites[0]);
  EXPECT_EQ(engine->buckets[302], nullptr);
  EXPECT_EQ(engine->sprites[2].camZ, 302);
}

TEST_F(PipelineTest, AddSpriteNeedsTheSpriteTable) {
  Graphics2D g;
  g.Create(0, 240, 320, FrameBuffer);
  Gfx2D = &g;
  std::string spr = {0, 2, 0, 3};
  spr += std::string(12, '\x10');
  dir.Write("orb.spr", spr);
  int32_t i = engine->AddSprite("orb.spr", 1, 0, 2.5);
  ASSERT_EQ(i, 0);
  EXPECT_EQ(std::make_tuple(engine->sprites[0].halfWidth, engine->sprites[0].halfHeight),
            std::make_tuple(5, 7));
  EXPECT_NE(engine->SetSpritePosition(0, 1, 2, 3), nullptr);
  EXPECT_EQ(engine->SetSpritePosition(1, 1, 2, 3), nullptr);  // one past the last sprite
  EXPECT_EQ(engine->AddSprite("none.spr", 1, 0, 1.0), -1);
  engine->spriteCount = kMaxSprites3D;
  EXPECT_EQ(engine->AddSprite("orb.spr", 1, 0, 1.0), -1);
  engine->spriteCount = 1;
  EXPECT_EQ(dir.Log(), "Error opening sprite file: none.spr\nMax sprites reached\n");
  engine->ReleaseSprite3D(0);
  EXPECT_EQ(engine->sprites[0].image, nullptr);
  EXPECT_EQ(g.sprites[0].inUse, 0);
  Gfx2D = nullptr;
}

}  // namespace
