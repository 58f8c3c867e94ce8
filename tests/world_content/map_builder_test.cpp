// The map builder refuses every map that breaks a limit of the loader or the engine, naming
// the map and the place; a sound map builds, and its ground has no gap, not even on the cell
// lines, when the engine itself loads it.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "bake.h"
#include "core/core.h"
#include "engine3d/engine3d.h"
#include "map_builder.h"
#include "map_reader.h"
#include "test_support.h"

namespace {

// A small sound map: 2000 x 2000, walled round, one player. Cases add lines to it.
const char* const kSmallMap = R"(
map  tiny
pack map1.tex
sky  sky_desert.spr
size 2000 2000
cell 250
base sand
noise 60 700 seed=3
ground wall rect 0 0 2000 250
ground wall rect 0 1750 2000 2000
ground wall rect 0 0 250 2000
ground wall rect 1750 0 2000 2000
ground wall rect 1000 1000 1250 1250       # a pillar in the middle
ground lava rect 500 1250 750 1500
prop rock 600 600
entity Player 1000 500 entry=default
)";

std::vector<std::string> Build(const std::string& text, BuiltMap* out = nullptr) {
  std::vector<std::string> errors;
  MapSource src;
  BuiltMap local;
  if (ParseMapSource("tiny.txt", text, &src, &errors)) BuildMap(src, out ? out : &local, &errors);
  return errors;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string s;
  for (const std::string& l : lines) s += l + "\n";
  return s;
}

TEST(MapBuilder, SmallMapBuildsWithinEveryLimit) {
  BuiltMap map;
  EXPECT_EQ(Joined(Build(kSmallMap, &map)), "");
  EXPECT_EQ(map.objects.size(), 2u);  // one terrain chunk, one object of props
  EXPECT_EQ(map.records.size(), 1u);
  EXPECT_EQ(map.entityModelSlots, EntityModelSlots(1));
}

struct RefusalCase {
  const char* what;
  std::string extra;        // lines added to the small map (or the whole source when replace)
  bool replace;
  std::vector<const char*> expected;  // every one must appear in one message
};

std::string Repeat(const std::string& line, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += line + "\n";
  return s;
}

std::string Replaced(const std::string& from, const std::string& to) {
  std::string s = kSmallMap;
  s.replace(s.find(from), from.size(), to);
  return s;
}

TEST(MapBuilder, RefusesEachBrokenLimitNamingTheMapAndThePlace) {
  const RefusalCase cases[] = {
      {"51 records", Repeat("entity EnergyPack 1400 500", 50), false,
       {"tiny: 51 entity records", "holds 50", "the 51st is tiny.txt:66"}},
      {"store full", Replaced("cell 250", "cell 250\nchunk 1") + Repeat("entity MegaRaptor 1400 600", 10), true,
       {"tiny: 65 scenery objects", "need 165 of the store's 140"}},
      {"too many polygons in one object", Replaced("cell 250", "cell 50\nchunk 23"), true,
       {"tiny: terrain 0,0 at x 575, z 575 has 2116 vertices and 529 polygons (limits 1100 and 500)"}},
      {"props over the polygon limit", Repeat("prop pylon 1500 1500", 8), false,
       {"tiny: props of terrain 0,0 at x 1000, z 1000 has", "(limits 1100 and 500)"}},
      {"size not a whole number of cells", Replaced("cell 250", "cell 300"), true,
       {"tiny: the size 2000 x 2000 is not a whole number of 300-unit cells"}},
      {"a spot beyond the first corner's reach", Replaced("cell 250", "cell 400"), true,
       {"tiny: no ground polygon under x ", "cells too large"}},
      {"open edge", Replaced("ground wall rect 0 0 250 2000", ""), true,
       {"tiny: the edge is open at x 125, z 375 (cell 0,1)"}},
      {"entity in a wall", "entity StegoTank 1100 1100", false,
       {"tiny: StegoTank at x 1100, z 1100 (tiny.txt:", "stands on a wall"}},
      {"entity off the map", "entity AmmoMGun 2500 100", false, {"tiny: AmmoMGun at x 2500, z 100", "outside the map"}},
      {"no player", Replaced("entity Player 1000 500 entry=default", ""), true, {"tiny: no Player record"}},
      {"two players for one entry", "entity Player 1400 500 entry=default", false,
       {"tiny: Player at x 1400, z 500", "a second player record for the entry \"default\""}},
      {"map exit without a target map", "entity MapExit 1400 700 tag=map1_2 entry=default", false,
       {"tiny: MapExit at x 1400, z 700", "tag=TARGET.map"}},
      {"unknown entity type", "entity Rocket 900 900", false, {"tiny.txt:17: \"Rocket\" is not an entity type"}},
      {"unknown prop", "prop castle 900 900", false, {"tiny.txt:17: \"castle\" is not a prop"}},
      {"unknown texture", "paint marble all", false, {"tiny.txt:17: \"marble\" is not a texture"}},
      {"heading not whole degrees", "entity EnergyPack 900 600 heading=12.5", false,
       {"tiny.txt:17: headings are whole degrees"}},
      {"a map too large to hold", Replaced("size 2000 2000", "size 5000000 2000"), true,
       {"tiny.txt:5: a map is 1 to 1000000 units on a side"}},
      {"terrain piled past the engine's safe heights", "raise 40000 all\nraise 40000 all", false,
       {"tiny: the terrain reaches a height of"}},
  };
  for (const RefusalCase& c : cases) {
    const std::string text = c.replace ? c.extra : std::string(kSmallMap) + c.extra;
    const std::string errors = Joined(Build(text));
    EXPECT_FALSE(errors.empty()) << c.what;
    for (const char* e : c.expected) EXPECT_NE(errors.find(e), std::string::npos) << c.what << ": " << errors;
  }
}

// A refused map leaves no files behind, so the bake cannot ship half of it.
TEST(MapBuilder, RefusedSourceWritesNothing) {
  ScratchDir out;
  std::filesystem::create_directories(out.File("content/maps"));
  out.Write("content/maps/tiny.txt", Replaced("ground wall rect 0 0 250 2000", ""));
  BakeContext ctx{out.path() + "/", out.path() + "/content/"};
  EXPECT_FALSE(BakeMapSource(ctx, "maps/tiny.txt"));
  EXPECT_FALSE(out.Exists("tiny.map"));
  EXPECT_FALSE(out.Exists("tiny.ent"));
  out.Write("content/maps/tiny.txt", kSmallMap);
  EXPECT_TRUE(BakeMapSource(ctx, "maps/tiny.txt"));
  EXPECT_TRUE(out.Exists("tiny.map"));
  EXPECT_EQ(out.Read("tiny.ent").size(), 4u + 220u);
}

// Loaded by the engine, the small map has ground under every point, the cell lines
// included, walls where the source put them and lava where it put lava; a wall's edge line
// belongs to the wall only when the wall lies west or south of it.
TEST(MapBuilder, LoadedGroundHasNoGapsAndTheRightTypes) {
  ScratchDir dir;
  dir.LinkGameData();
  BuiltMap map;
  ASSERT_EQ(Joined(Build(kSmallMap, &map)), "");
  const Bytes bytes = MapFileBytes(map), ent = EntFileBytes(map);
  dir.Write("tiny.map", std::string(bytes.begin(), bytes.end()));
  dir.Write("tiny.ent", std::string(ent.begin(), ent.end()));
  MathTables math;
  ASSERT_TRUE(math.Create(0));
  Math = &math;
  auto engine = std::make_unique<Engine3D>();
  ASSERT_EQ(engine->Create(nullptr, "TDENG", 0, 0, 240, 320), 1);
  LoadedMap loaded;
  ASSERT_TRUE(LoadMapWithGame(*engine, dir.path(), "tiny.map", "default", 2800, &loaded));
  EXPECT_EQ(loaded.pack, "map1.tex");
  EXPECT_EQ(loaded.sky, "sky_desert.spr");
  ASSERT_EQ(loaded.objects, 2);
  EXPECT_EQ(engine->store.Get(0)->solid, 1);
  EXPECT_EQ(engine->store.Get(1)->solid, 0);  // props: their cells carry the collision
  int gaps = 0;
  for (int32_t z = 0; z <= 2000; z += 5)
    for (int32_t x = 0; x <= 2000; x += 5) {
      GroundHit hit;
      if (!FindGround(*engine, x, z, &hit)) ++gaps;
    }
  EXPECT_EQ(gaps, 0);
  struct Spot {
    int32_t x, z, type;
  } spots[] = {
      {1100, 1100, 2}, {1000, 1100, 0}, {1250, 1100, 2}, {1251, 1100, 0}, {1100, 1000, 0}, {1100, 1250, 2},
      {600, 1300, 1},  {620, 620, 2},   {1000, 500, 0},  {0, 0, 2},       {2000, 2000, 2},
  };
  for (const Spot& s : spots) {
    GroundHit hit;
    ASSERT_TRUE(FindGround(*engine, s.x, s.z, &hit)) << s.x << "," << s.z;
    EXPECT_EQ(hit.type, s.type) << s.x << "," << s.z;
  }
  // Ground following's height on the flat start: the noise's height at the record.
  GroundHit start;
  ASSERT_TRUE(FindGround(*engine, 1000, 500, &start));
  EXPECT_NEAR(start.y + MapLimits::kHover, map.records[0].y, 8);
  engine->Destroy();
  Math = nullptr;
  math.Destroy();
}

}  // namespace
