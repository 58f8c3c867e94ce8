// The object store: .tdo limits and messages, the file's mirrored z and corner order,
// flatness, centres and radii, clones, and malformed files (objects read in sequence from
// an open file are the map loader's tests).
#include <cstdio>
#include <tuple>

#include "engine_fixture.h"

namespace {

using ObjectStoreTest = EngineTest;

TEST_F(ObjectStoreTest, VertexAndPolygonLimitsAtTheBoundaryAndOnePast) {
  const struct {
    int32_t vertices, polygons, soupUsed;
    bool loads;
    const char* log;
  } cases[] = {
      {1100, 4, 0, true, ""},      {1101, 4, 0, false, "MaxVerts reached (2).\n"},
      {20, 500, 0, true, ""},      {20, 501, 0, false, "MaxPolys reached\n"},
      {6, 3, 2797, true, ""},      {6, 4, 2797, false, ""},  // past last frame's soup: silent
  };
  for (const auto& c : cases) {
    engine->store.Release();
    engine->polygonsUsed = c.soupUsed;
    dir.Write("log.txt", "");
    EXPECT_EQ(LoadTdo(StripObject(c.vertices, c.polygons)), c.loads ? 0 : -1) << c.vertices;
    EXPECT_EQ(dir.Log(), c.log) << c.vertices << " " << c.polygons;
    if (c.loads) { EXPECT_EQ(engine->store.Get(0)->polygonCount, c.polygons); }
  }
}

TEST_F(ObjectStoreTest, The141stLoadIsRefused) {
  dir.Write("t.tdo", StripObject(3, 1).Bytes());
  for (int i = 0; i < kMaxObjects; ++i) ASSERT_EQ(engine->store.Load("t.tdo", 1, 2, 0), i);
  EXPECT_EQ(engine->store.Load("t.tdo", 1, 2, 0), -1);
  EXPECT_EQ(engine->store.CloneObject(0), -1);
  EXPECT_EQ(dir.Log(), "Max tdobjects reached\n");
  EXPECT_EQ(engine->store.count, kMaxObjects);
}

// Corners reversed, z negated, shades kept within the table, u and v cut to 16 bits.
TEST_F(ObjectStoreTest, CornersAreReversedZNegatedAndShadesKeptInTheTable) {
  TdoFile f;
  f.Vertex(1, 2, 3, 4096), f.Vertex(10, 0, 0, -20), f.Vertex(0, 10, 0, 99999);
  f.Vertex(0, 1, 0, 16383);
  f.polygons.push_back({{{0, 100, 200}, {1, 300, 400}, {2, -500, 70000}}, 7, 2});
  ASSERT_EQ(LoadTdo(f), 0);
  const Object3D* o = engine->store.Get(0);
  const Vertex3D& v = o->vertices[0];
  EXPECT_EQ(std::make_tuple(v.x, v.y, v.z, v.shade), std::make_tuple(1, 2, -3, 4096));
  EXPECT_EQ(std::make_tuple(o->vertices[1].shade, o->vertices[2].shade, o->vertices[3].shade),
            std::make_tuple(0, 16383, 16383));
  const Poly3D& p = o->polygons[0];
  EXPECT_EQ(std::make_tuple(int(p.cornerCount), p.corner[0], p.corner[1], p.corner[2]),
            std::make_tuple(3, 2, 1, 0));
  EXPECT_EQ(std::make_tuple(p.u[0], p.v[0], p.u[2]), std::make_tuple(-500, int16_t(70000 & 0xFFFF), 100));
  EXPECT_EQ(std::make_tuple(int(p.texture), int(p.type), int(p.bank)),
            std::make_tuple(7, 2, int(kBankEntities)));
}

TEST_F(ObjectStoreTest, BentQuadsAreDoubleSidedOnlyInMapGeometry) {
  TdoFile f;
  f.Vertex(0, 0, 0), f.Vertex(100, 0, 0), f.Vertex(100, 0, 100), f.Vertex(0, 40, 100);
  f.Vertex(0, 0, 0), f.Vertex(100, 0, 0), f.Vertex(100, 0, 100), f.Vertex(0, 0, 100);
  f.Poly({0, 1, 2, 3});     // bent
  f.Poly({4, 5, 6, 7});     // flat
  f.Poly({4, 5, 6}, 0, 3);  // outline: always double-sided
  ASSERT_EQ(LoadTdo(f, 0, "map.tdo"), 0);
  ASSERT_EQ(LoadTdo(f, 1, "ent.tdo"), 1);
  const Object3D* map = engine->store.Get(0);
  const Object3D* ent = engine->store.Get(1);
  const int doubleSided[3][2] = {{1, 0}, {0, 0}, {1, 1}};  // bent, flat, outline: map, entity
  for (int i : {0, 1, 2})
    EXPECT_EQ(std::make_pair(int(map->polygons[i].doubleSided), int(ent->polygons[i].doubleSided)),
              std::make_pair(doubleSided[i][0], doubleSided[i][1])) << i;
  EXPECT_EQ(map->polygons[0].bank, kBankMap);
  // The flat quad lies in y = 0 with corners stored (7, 6, 5, 4): its normal is (0, -256, 0)
  // as FaceNormal gives it for those corners after z negation.
  EXPECT_EQ(std::make_tuple(map->polygons[1].nx, std::abs(map->polygons[1].ny), map->polygons[1].nz),
            std::make_tuple(0, 256, 0));
}

TEST_F(ObjectStoreTest, CentresAndRadii) {
  TdoFile f;
  f.Vertex(0, 0, 0), f.Vertex(30, 0, 0), f.Vertex(0, 40, 0), f.Vertex(-5, 0, 0);
  f.Poly({0, 1, 2});
  ASSERT_EQ(LoadTdo(f), 0);
  const Object3D* o = engine->store.Get(0);
  const Poly3D& p = o->polygons[0];
  EXPECT_EQ(std::make_tuple(p.cx, p.cy, p.cz), std::make_tuple(10, 13, 0));  // 30 / 3, 40 / 3 truncated
  EXPECT_EQ(p.radius, MathTables::Distance3(10, 13, 0, 0, 40, 0));
  EXPECT_EQ(o->radius, 40);  // vertex 3 counts though no polygon uses it
}

TEST_F(ObjectStoreTest, MalformedFilesAreRefusedWithoutReadingOutOfBounds) {
  TdoFile badIndex = StripObject(4, 1);
  badIndex.polygons[0].corners[1].index = 4;
  TdoFile negativeIndex = StripObject(4, 1);
  negativeIndex.polygons[0].corners[0].index = -1;
  TdoFile badTexture = StripObject(4, 1);
  badTexture.polygons[0].texture = 32;
  TdoFile fiveCorners = StripObject(7, 1);
  fiveCorners.polygons[0].corners.push_back({3, 0, 0});
  fiveCorners.polygons[0].corners.push_back({4, 0, 0});
  std::string truncated = StripObject(4, 2).Bytes();
  truncated.resize(truncated.size() - 3);
  std::string negativeCount = StripObject(4, 1).Bytes();
  negativeCount[0] = negativeCount[1] = negativeCount[2] = negativeCount[3] = char(0xFF);
  const std::string kRead = "Error reading from tdobj file.\n";
  const std::pair<std::string, std::string> cases[] = {
      {badIndex.Bytes(), kRead}, {negativeIndex.Bytes(), kRead}, {badTexture.Bytes(), kRead},
      {truncated, kRead}, {negativeCount, kRead}, {std::string("\x02\x00", 2), kRead},
      {fiveCorners.Bytes(), "Object contains polys with different number of 3 or 4  verts. verts = 7\n"}};
  for (const auto& [bytes, log] : cases) {
    dir.Write("log.txt", "");
    dir.Write("bad.tdo", bytes);
    EXPECT_EQ(engine->store.Load("bad.tdo", 1, 2, 0), -1) << log;
    EXPECT_EQ(dir.Log(), log);
  }
  EXPECT_EQ(engine->store.count, 0);
}

TEST_F(ObjectStoreTest, MissingFileFailsSilentlyAndLongNamesAreCut) {
  EXPECT_EQ(engine->store.Load("absent.tdo", 1, 2, 0), -1);
  EXPECT_EQ(dir.Log(), "");
  const std::string longName = "a_rather_long_name_x.tdo";  // 24 characters
  dir.Write(longName, StripObject(3, 1).Bytes());
  ASSERT_EQ(engine->store.Load(longName.c_str(), 1, 2, 1), 0);
  EXPECT_EQ(dir.Log(), "3d object filename > 19 chars: " + longName + "\n");
  EXPECT_STREQ(engine->store.Get(0)->name, longName.substr(0, 19).c_str());
}

// The same bytes read again (every instance of a kind reads its models) make the same object
// with arrays of its own; other bytes under the same name, another kind of model, or a soup
// that is full are answered as a first read would be.
TEST_F(ObjectStoreTest, AModelReadAgainIsTheSameObjectWithItsOwnArrays) {
  auto polygon = [](const Poly3D& p) {
    return std::make_tuple(p.cornerCount, p.corner[0], p.corner[2], p.u[1], p.v[2], p.nx, p.ny,
                           p.nz, p.texture, p.bank, p.type, p.doubleSided, p.cx, p.cy, p.cz,
                           p.radius, p.next, p.sprite);
  };
  auto same = [&](const Object3D* a, const Object3D* b) {
    EXPECT_NE(a->vertices, b->vertices);
    EXPECT_NE(a->polygons, b->polygons);
    EXPECT_EQ(std::make_tuple(a->vertexCount, a->polygonCount, a->radius, a->visible,
                              a->ownsArrays, a->entity, a->hidden, a->userValue, a->clone),
              std::make_tuple(b->vertexCount, b->polygonCount, b->radius, b->visible,
                              b->ownsArrays, b->entity, b->hidden, b->userValue, b->clone));
    for (int32_t i = 0; i < a->vertexCount; ++i)
      EXPECT_EQ(std::tie(a->vertices[i].x, a->vertices[i].y, a->vertices[i].z, a->vertices[i].shade),
                std::tie(b->vertices[i].x, b->vertices[i].y, b->vertices[i].z, b->vertices[i].shade));
    for (int32_t i = 0; i < a->polygonCount; ++i) EXPECT_EQ(polygon(a->polygons[i]), polygon(b->polygons[i]));
  };
  ASSERT_EQ(LoadTdo(StripObject(9, 4), 1, "m.tdo"), 0);
  Object3D* first = engine->store.Get(0);
  first->vertices[0].x += 7;  // a blended base moves; the next read is the file's all the same
  first->polygons[0].next = &first->polygons[1];
  ASSERT_EQ(LoadTdo(StripObject(9, 4), 1, "m.tdo"), 1);
  first->vertices[0].x -= 7;
  first->polygons[0].next = nullptr;
  same(first, engine->store.Get(1));
  ASSERT_EQ(LoadTdo(StripObject(9, 4), 0, "m.tdo"), 2);  // as map geometry: its own bank
  EXPECT_EQ(engine->store.Get(2)->polygons[0].bank, kBankMap);
  ASSERT_EQ(LoadTdo(StripObject(9, 4), 0, "m.tdo"), 3);
  same(engine->store.Get(2), engine->store.Get(3));
  ASSERT_EQ(LoadTdo(StripObject(6, 2), 1, "m.tdo"), 4);
  EXPECT_EQ(engine->store.Get(4)->vertexCount, 6);
  engine->polygonsUsed = kPolySoupSize - 3;  // past last frame's soup: silent, as ever
  EXPECT_EQ(LoadTdo(StripObject(9, 4), 1, "m.tdo"), -1);
  EXPECT_EQ(dir.Log(), "");
  EXPECT_EQ(engine->store.count, 5);
}

TEST_F(ObjectStoreTest, SharedLoadsReadTheFileAgainAndClonesShareArrays) {
  dir.Write("t.tdo", StripObject(5, 2).Bytes());
  ASSERT_EQ(engine->store.LoadShared("t.tdo", 1, 2), 0);
  ASSERT_EQ(engine->store.LoadShared("t.tdo", 1, 2), 1);
  const Object3D* a = engine->store.Get(0);
  const Object3D* b = engine->store.Get(1);
  EXPECT_NE(a->vertices, b->vertices);  // a blended base must own its vertices
  EXPECT_EQ(b->clone, 0);
  ASSERT_EQ(engine->store.CloneObject(0), 2);
  const Object3D* c = engine->store.Get(2);
  EXPECT_EQ(std::make_tuple(c->vertices, c->polygons, c->clone, std::string(c->name)),
            std::make_tuple(a->vertices, a->polygons, 1, std::string("t.tdo")));
  EXPECT_EQ(engine->store.CloneObject(7), -1);
  // Destroy (in TearDown) frees the shared arrays once: the sanitizer build checks it.
}

}  // namespace
