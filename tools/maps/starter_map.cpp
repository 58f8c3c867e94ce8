// The starter source `kvr-maps new` writes: a small walled valley that builds and plays as it
// stands, with every kind of line a player needs explained where it is used.
#include <string>

#include "maps_tool.h"

std::string StarterMapSource(const std::string& name) {
  return "# " + name + R"(: a small valley to start from. Build it and play it:
#   kvr-maps build )" + name + R"(.txt
#   kvr-game --map )" + name + R"(
# One command a line; '#' starts a comment. x runs west to east, z south to north, y up;
# heading 0 faces north, 90 east. The modder's guide lists every command, prop and texture.

map  )" + name + R"(          # the built files are )" + name + R"(.map and )" + name + R"(.ent
pack map1.tex            # textures of the desert system (map2.tex ice, map3.tex jungle, ...)
sky  sky_desert.spr      # the sky panorama
size 6000 6000           # width and depth in units, whole multiples of the cell
cell 250
base sand                # ground that nothing else paints

# Rolling ground, a raised plateau to the north-east and a road along the valley.
noise 50 900 seed=7
raise 250 rect 3750 3750 5500 5500 soft=500
paint road path 500 1200 900 3000 3000 4600 4600
paint grass_dirt circle 1200 1200 600

# The edge must be wall all round: the craft cannot leave the map.
ground wall rect 0 0 6000 250 texture=cliff
ground wall rect 0 5750 6000 6000 texture=cliff
ground wall rect 0 0 250 6000 texture=cliff
ground wall rect 5750 0 6000 6000 texture=cliff

# A pool of lava (damaging ground) beside the road.
ground lava circle 4300 1500 350

# Props are scenery: the craft walks round them.
prop rock 2000 900
prop boulders 900 2600 heading=40
prop spire 3400 2100 scale=1.2
prop ruin 2600 4200 heading=15
prop pylon 600 2000

# Where the craft starts: "default" is the entry a new game on this map uses.
entity Player 1200 1200 heading=45 entry=default
# Supplies, and an enemy guarding the plateau.
entity EnergyPack 2200 1800
entity AmmoMGun 1800 2400
entity StegoTank 4400 4400 heading=225
# The way out: back to the main menu. tag=OTHER.map entry=ENTRY leads to another map instead.
entity MapExit 4900 4900 tag=menu
)";
}
