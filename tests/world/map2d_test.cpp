// The radar: the dots, and a finite scale for maps with no extent.
#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "world_fixture.h"

namespace {

class Map2DTest : public WorldTest {
 protected:
  // A picture to draw into, all zero.
  int32_t Picture(int w, int h) {
    dir.Write("radar.spr", SprFill(w, h, 0));
    return gfx->LoadSprite("radar.spr");
  }
};

TEST_F(Map2DTest, DotsForTheCraftEnemiesAndShipInsideThePicture) {
  TdoFile tile = GroundTile(1000);
  PlaceModel(tile, 0, 0, 0);
  int32_t slot = Picture(100, 100);
  Map2D* m = CreateMap2D(&world, scene.get(), slot, 100, 50, 100, 100);
  ASSERT_FLOAT_EQ(m->scale, 0.05f);
  EntityManager* em = CreateEntityManager(&world, &scene->store);
  struct Dot {
    int32_t type, x, z;
    uint16_t colour;
    int px, py;  // where the 2 x 2 square starts; -1: not drawn
  };
  const Dot dots[] = {{kTypePlayer, 0, 0, 53215, 149, 99},
                      {kTypeShootingTower, -500, 500, 63488, 124, 74},
                      {kTypeShip, 500, -500, 1984, 174, 124},
                      {kTypeEnergyPack, 200, 200, 0, -1, -1},
                      {kTypeMegaRaptor, -1000, 0, 0, -1, -1}};  // on the edge: not inside
  for (const Dot& d : dots) {
    Entity* e = AddEntity(em, d.type, kModeGround, nullptr);
    e->x = d.x;
    e->z = d.z;
  }
  auto lit = [] { return std::ranges::count_if(FrameBuffer, [](uint16_t p) { return p != 0; }); };
  ClearFrame();
  m->enabled = 0;
  DrawMap2DEntities(m, em);
  EXPECT_EQ(lit(), 0);
  m->enabled = 1;
  DrawMap2DEntities(m, em);
  for (const Dot& d : dots) {
    if (d.px < 0) continue;
    EXPECT_EQ(FrameBuffer[d.py * 240 + d.px], d.colour) << d.type;
    EXPECT_EQ(FrameBuffer[(d.py + 1) * 240 + d.px + 1], d.colour) << d.type;
  }
  EXPECT_EQ(lit(), 3 * 2 * 3);  // three dots of two rows by three columns
  DestroyEntityManager(&world, em);
  DestroyMap2D(m);
}

TEST_F(Map2DTest, AnEmptyOrFlatMapKeepsAFiniteScale) {
  Map2D* empty = CreateMap2D(&world, scene.get(), -1, 0, 0, 100, 100);
  EXPECT_EQ(empty->scale, 0.0f);
  DestroyMap2D(empty);
  TdoFile flat;
  flat.Vertex(0, 0, 0);
  flat.Vertex(0, 0, 0);
  flat.Vertex(0, 0, 0);
  flat.Poly({0, 1, 2});
  PlaceModel(flat, 5, 5, 5);
  int32_t slot = Picture(50, 50);
  Map2D* m = CreateMap2D(&world, scene.get(), slot, 0, 0, 50, 50);
  EXPECT_FLOAT_EQ(m->scale, 50.0f);
  DestroyMap2D(m);
}

}  // namespace
