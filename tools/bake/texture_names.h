// Texture numbers of the baked packs, for the models and maps built from them.
#pragma once

// "ents.tex": bank 1, every entity model.
namespace EntsTex {
enum : int {
  kSteel = 0,        // brushed steel panels
  kArmourOlive = 1,  // olive armour plates with rivets
  kArmourDark = 2,   // gunmetal plates
  kGlass = 3,        // cockpit glass
  kGlowOrange = 4,   // engine and muzzle glow
  kGlowCyan = 5,     // energy glow
  kHazard = 6,       // yellow and black stripes
  kScalesGreen = 7,  // reptile skin plating
  kScalesBrown = 8,
  kArmourRed = 9,
  kRust = 10,
  kVent = 11,        // slatted vent
  kTread = 12,       // track or sole
  kCamo = 13,
  kGunMetal = 14,    // dark barrels
  kLights = 15,      // panel of small lights
  kMembrane = 16,    // wing skin
  kConcrete = 17,
  kMainframe = 18,   // computer front
  kNeural = 19,      // organic glow
  kHullWhite = 20,
  kHullWindows = 21,
  kCrate = 22,       // ammunition crate
  kEnergyCell = 23,
  kArmourOrange = 24,
  kArmourBlue = 25,
  kMarkings = 26,    // chevrons on dark metal
  kScorched = 27,    // burnt metal with embers
  kBone = 28,
  kEye = 29,         // red glowing eye
  kChrome = 30,
  kRubber = 31,      // ribbed joints
};
}  // namespace EntsTex

// "map1.tex" .. "map6.tex": bank 0, the terrain and buildings of a map; every system's pack
// holds the same slots in its own colours.
namespace MapTex {
enum : int {
  kGrass = 0,
  kDirt = 1,
  kSand = 2,
  kRockGrey = 3,
  kRockRed = 4,
  kCliff = 5,        // layered rock face
  kConcreteWall = 6,
  kBrick = 7,
  kTechFloor = 8,    // metal grating
  kLava = 9,
  kWater = 10,
  kSnow = 11,
  kIce = 12,
  kGravel = 13,
  kMud = 14,
  kMossRock = 15,
  kTechWall = 16,    // wall with light strips
  kHazardFloor = 17,
  kDoor = 18,
  kPipes = 19,
  kCrystal = 20,
  kMetalPlates = 21,
  kRoad = 22,
  kTiles = 23,
  kOrganic = 24,
  kAsh = 25,         // volcanic ground
  kGrassDirt = 26,   // patchy grass
  kCaveRock = 27,
  kRoof = 28,
  kWindowWall = 29,
  kLandingPad = 30,
  kBarrier = 31,     // energy barrier
};
}  // namespace MapTex
