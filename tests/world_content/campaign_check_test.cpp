// The campaign's checks refuse what would strand a player: records walled off from the
// entry points, tags the loader ignores, exits to maps or entry points that do not exist,
// maps the campaign cannot reach, systems with no way out; each message names the map and
// the place. The real campaign passes them all, and every map hands out the ammunition and
// energy its enemies call for. (That every entry point of every map loads and plays cleanly
// is the end-to-end campaign road's to show.)
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "campaign_check.h"
#include "core/core.h"
#include "map_builder.h"
#include "map_reader.h"
#include "test_support.h"

namespace {

// 3000 x 2000, walled round, split by a north-south wall at x 1500..1750 with no gap.
const char* const kSplitMap = R"(
map  split
pack map1.tex
sky  sky_desert.spr
size 3000 2000
cell 250
base sand
ground wall rect 0 0 3000 250
ground wall rect 0 1750 3000 2000
ground wall rect 0 0 250 2000
ground wall rect 2750 0 3000 2000
ground wall rect 1500 0 1750 2000
ground lava rect 500 1250 1000 1500
entity Player 750 500 entry=default
)";

std::vector<std::string> Reach(const std::string& extra) {
  std::vector<std::string> errors;
  MapSource src;
  BuiltMap map;
  if (ParseMapSource("split.txt", std::string(kSplitMap) + extra, &src, &errors) && BuildMap(src, &map, &errors))
    CheckMapReach(src, map, &errors);
  return errors;
}

TEST(CampaignCheck, RecordsMustStandOnGroundJoinedToTheEntryPoints) {
  struct Case {
    const char* name;
    const char* extra;
    const char* error;  // a part of the one message expected, or null for none
  };
  const Case cases[] = {
      {"pickups on the entry's side", "entity AmmoMGun 1000 1000\nentity EnergyPack 600 1400\n", nullptr},
      {"across damaging ground is still reached", "entity XBomb 750 1600\n", nullptr},
      {"a pickup beyond the wall",
       "entity AmmoRocket 2200 1000\n",
       "split: AmmoRocket at x 2200, z 1000 (split.txt:15): not on ground the craft can reach from the entry "
       "\"default\""},
      {"a second entry point walled off", "entity Player 2200 500 entry=east\n", "Player at x 2200, z 500"},
      {"an exit walled off", "entity MapExit 2200 1500 tag=other.map entry=default\n", "MapExit at x 2200, z 1500"},
      {"an enemy beyond the wall is no fault", "entity MegaRaptor 2200 1000\n", nullptr},
      {"an enemy beside the entry point", "entity StegoTank 1000 1500\n",
       "StegoTank at x 1000, z 1500 (split.txt:15): closer than 1500 to the entry \"default\""},
      {"a tagged enemy beside it appears only with its flag",
       "entity HoverChasmo 1000 1000 tag=HyperjumpLoaded\n", nullptr},
      {"a tag the loader reads", "entity HoverChasmo 1000 1000 tag=NeuralLinkDown\n", nullptr},
      {"a tag on a type that ignores it", "entity EnergyPack 1000 1000 tag=HaveShipKeyCard\n",
       "EnergyPack at x 1000, z 1000 (split.txt:15): the loader does not read the tag \"HaveShipKeyCard\""},
      {"a keycard tag on a hover machine", "entity HoverChasmo 1000 1000 tag=HaveShipKeyCard\n",
       "does not read the tag"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<std::string> errors = Reach(c.extra);
    if (!c.error) {
      EXPECT_TRUE(errors.empty()) << errors[0];
    } else {
      ASSERT_EQ(errors.size(), 1u);
      EXPECT_NE(errors[0].find(c.error), std::string::npos) << errors[0];
    }
  }
}

// A small campaign: a and b form system 1 (b holds the pad and the station), c is system 2.
struct Campaign {
  std::vector<MapLinks> maps;
  std::vector<ChartDestination> chart{{1, "map1_2.map"}, {2, "map2_1.map"}};
  Campaign() {
    maps.push_back({"map1_1", "map1_1.txt", {"default", "back"}, {{"map1_2.map", "gate", 100, 200, 7}}, false});
    maps.push_back({"map1_2", "map1_2.txt", {"gate", "default"},
                    {{"map1_1.map", "back", 0, 0, 3}, {"starchart.map", "default", 0, 0, 4}}, true});
    maps.push_back({"map2_1", "map2_1.txt", {"default"}, {{"starchart.map", "default", 0, 0, 5}}, true});
  }
  std::vector<std::string> Check() const {
    std::vector<std::string> errors;
    CheckCampaign(maps, chart, "map1_1", {"map1_1", "map1_2", "map2_1"}, &errors);
    return errors;
  }
};

TEST(CampaignCheck, ExitsEntryPointsTheRoadAndEverySystemsWayOut) {
  struct Case {
    const char* name;
    void (*change)(Campaign&);
    const char* error;
  };
  const Case cases[] = {
      {"sound", [](Campaign&) {}, nullptr},
      {"an exit to a map that is not there", [](Campaign& c) { c.maps[0].exits[0].target = "map9_9.map"; },
       "map1_1: MapExit at x 100, z 200 (map1_1.txt:7): leads to \"map9_9.map\", which is no map"},
      {"an exit to an entry point that is not there", [](Campaign& c) { c.maps[0].exits[0].entry = "gates"; },
       "map1_1: MapExit at x 100, z 200 (map1_1.txt:7): leads to the entry \"gates\" of map1_2"},
      {"a chart destination without a landing place", [](Campaign& c) { c.maps[2].entries = {"north"}; },
       "starchart.ent: map2_1, the destination of system 2, has no \"default\" entry"},
      {"a chart destination in the wrong system", [](Campaign& c) { c.chart[1].system = 3; },
       "starchart.ent: system 3 leads to map2_1, a map of system 2"},
      {"a system reached by no road",
       [](Campaign& c) { c.maps[1].exits.pop_back(); },  // no launch pad in system 1
       "map2_1: cannot be reached from map1_1"},
      {"a system without a hyperload station", [](Campaign& c) { c.maps[2].hyperload = false; },
       "system 2: no hyperload station"},
      {"a required map without a source", [](Campaign& c) { c.maps.pop_back(); },
       "map2_1: the campaign needs this map and there is no source for it"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Campaign campaign;
    c.change(campaign);
    const std::vector<std::string> errors = campaign.Check();
    if (!c.error) {
      EXPECT_TRUE(errors.empty()) << errors[0];
      continue;
    }
    ASSERT_FALSE(errors.empty());
    bool found = false;
    for (const std::string& e : errors) found = found || e.find(c.error) != std::string::npos;
    EXPECT_TRUE(found) << errors[0];
  }
}

TEST(CampaignCheck, TheChartsDestinationsAreReadFromItsEntityList) {
  const std::vector<unsigned char> ent = ReadWholeFile(GameDataDir() + "/starchart.ent");
  std::vector<ChartDestination> chart;
  ASSERT_TRUE(ReadChartDestinations(ent, &chart));
  ASSERT_EQ(chart.size(), 6u);
  for (int s = 1; s <= 6; ++s) {
    EXPECT_EQ(chart[size_t(s - 1)].system, s);
    EXPECT_EQ(chart[size_t(s - 1)].map.compare(0, 4, "map" + std::to_string(s)), 0) << chart[size_t(s - 1)].map;
  }
  // A list cut short, or with more records than the loader holds, is refused.
  EXPECT_FALSE(ReadChartDestinations(std::vector<unsigned char>(ent.begin(), ent.end() - 1), &chart));
  std::vector<unsigned char> many = ent;
  many[0] = 51;
  EXPECT_FALSE(ReadChartDestinations(many, &chart));
}

// The ammunition each map hands out can destroy every enemy it holds (those that appear with
// a mission flag included) with a quarter to spare for misses, counting each weapon at the
// damage its weakest victim takes: a bullet of two rounds 5, a plasma charge 10, a rocket
// bursting 400 units away 35. And every map has energy to pick up.
TEST(CampaignBalance, EveryMapCarriesTheAmmunitionForItsEnemies) {
  struct Worth {
    int32_t type, value;
  };
  const Worth hitPoints[] = {{6, 200}, {5, 300}, {23, 230}, {7, 130}, {18, 200}};
  const Worth damage[] = {{12, 200 / 2 * 5}, {13, 100 * 10}, {14, 4 * 35}};
  for (const char* map : kCampaignMaps) {
    SCOPED_TRACE(map);
    std::vector<EntRow> rows;
    std::string why;
    ASSERT_TRUE(ParseEnt(ReadWholeFile(GameDataDir() + "/" + map + ".ent"), &rows, &why)) << why;
    int32_t need = 0, have = 0, energy = 0;
    for (const EntRow& r : rows) {
      for (const Worth& w : hitPoints) need += r.type == w.type ? w.value : 0;
      for (const Worth& w : damage) have += r.type == w.type ? w.value : 0;
      energy += r.type == 11;
    }
    EXPECT_GE(have * 4, need * 5) << have << " damage of ammunition for " << need << " hit points";
    EXPECT_GE(energy, 2);
  }
}

}  // namespace
