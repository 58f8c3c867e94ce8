// The campaign's balance: every map hands out the ammunition and energy its enemies call for.
// (That every entry point of every map loads and plays cleanly is the end-to-end campaign
// road's to show.)
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "campaign_check.h"
#include "core/core.h"
#include "map_reader.h"
#include "test_support.h"

namespace {

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
