// Map builder: reads a map source (content/maps/*.txt), shapes its terrain, places its props
// and entities, checks every limit of the game's map loader and 3D engine, and writes the
// .map and .ent files. The parts a test needs are here; bake_maps.cpp runs it over content.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "bake.h"
#include "model_builder.h"

// Limits of the loader and the engine that a map must respect.
namespace MapLimits {
constexpr int kStoreSlots = 140;      // objects in one engine, scenery and entity models
constexpr int kMaxVertices = 1100;    // per object
constexpr int kMaxPolygons = 500;     // per object
constexpr int kMaxRecords = 50;       // .ent records
constexpr int kGroundReach = 500;     // a ground polygon is found only this near its first corner
constexpr int kCollisionReach = 4400; // objects farther than this are not examined
constexpr int kHover = 100;           // entities hover this high over the ground
constexpr int kNameBytes = 256;       // texture pack and sky names in the .map
}  // namespace MapLimits

// Ground types: the polygon type the entity manager reads.
enum GroundType : int { kGroundPlain = 0, kGroundDamaging = 1, kGroundWall = 2 };

// A place on the map: everything, an axis-aligned rectangle, a disc or a band along a path.
struct MapRegion {
  enum Kind { kAll, kRect, kCircle, kPath } kind = kAll;
  double x0 = 0, z0 = 0, x1 = 0, z1 = 0;  // rect corners
  double cx = 0, cz = 0, r = 0;           // circle
  double width = 0;                       // path
  std::vector<std::pair<double, double>> points;
  // 0 inside; else the distance to the region's edge.
  double Distance(double x, double z) const;
};

// One terrain operation, applied in source order.
struct TerrainOp {
  enum Kind { kNoise, kRaise, kFlatten, kGround, kPaint } kind = kNoise;
  MapRegion region;
  double value = 0;   // raise: height added; flatten: height set; noise: amplitude
  double soft = 0;    // width of the blend outside the region
  double scale = 0;   // noise feature size
  uint32_t seed = 0;
  int ground = -1;    // kGround: the GroundType
  int texture = -1;   // kGround, kPaint: the texture (-1 keeps it)
  int line = 0;
};

struct PropPlacement {
  std::string recipe;
  double x = 0, z = 0, heading = 0, scale = 1;
  int line = 0;
};

struct EntityPlacement {
  int32_t type = 0;
  std::string typeName;
  double x = 0, z = 0;
  int32_t heading = 0;  // whole degrees
  bool hasY = false;
  double y = 0;         // absolute; else the ground + the hover height
  std::string tag, entry;
  int line = 0;
};

struct MapSource {
  std::string name;      // "map1_1": gives map1_1.map and map1_1.ent
  int nameLine = 0;      // the "map" command's line; 0 when the name is the source's
  std::string file;      // the source's name for messages
  std::string pack;      // texture pack of bank 0
  std::string sky;       // background panorama
  int width = 0, depth = 0;  // extent along x and z, from 0
  int cell = 250;            // ground cell size
  int chunk = 8;             // cells per scenery object along each side
  double steep = 0;          // cells rising more than this become walls (0: never)
  int steepTexture = -1;
  int baseTexture = 0;
  std::vector<TerrainOp> ops;
  std::vector<PropPlacement> props;
  std::vector<EntityPlacement> entities;
};

// Parses a source; false with the messages ("map1_1.txt:12: ...") in *errors.
bool ParseMapSource(const std::string& file, const std::string& text, MapSource* out,
                    std::vector<std::string>* errors);

// One scenery object of the .map.
struct MapObject {
  std::string what;  // "terrain 2,3" or "props of terrain 2,3", for messages
  int32_t x = 0, y = 0, z = 0;  // world position (the file stores -z)
  bool solid = true;
  ModelBuilder model;
};

// The .ent record as the map loader reads it (220 bytes each).
struct EntityRecordOut {
  int32_t type = 0;
  int32_t x = 0, y = 0, z = 0, w = 0;
  int32_t heading = 0;
  std::string tag, entry;
};

struct BuiltMap {
  std::string name;
  std::vector<MapObject> objects;
  std::vector<EntityRecordOut> records;
  std::string pack, sky;
  int entityModelSlots = 0;  // store slots the entity kinds will take
  // Terrain grid, kept for the checks: heights at cell corners, type of every cell.
  int cellsX = 0, cellsZ = 0, cell = 0;
  std::vector<int32_t> heights;  // (cellsX + 1) * (cellsZ + 1), row by row along x
  std::vector<int> cellType;     // cellsX * cellsZ
};

// Builds and checks a map. False with messages naming the map and the place when the map
// breaks a limit; *out then holds whatever was built.
bool BuildMap(const MapSource& source, BuiltMap* out, std::vector<std::string>* errors);

// The file bytes.
Bytes MapFileBytes(const BuiltMap& map);
Bytes EntFileBytes(const BuiltMap& map);

// Store slots that one .ent record of this type makes its kind load (its model, key
// frames, explosion frames and weapon models). A map reserves them beside its scenery.
int EntityModelSlots(int32_t type);

// A .ent type code from its name ("MegaRaptor"), 0 when unknown; and back.
int32_t EntityTypeByName(const std::string& name);
const char* EntityTypeName(int32_t type);

// Parse, build and check one source's own map (without the checks across maps); false
// with the messages in *errors. *map holds what was built when the build got that far.
bool BuildMapSource(const std::string& file, const std::string& text, MapSource* source,
                    BuiltMap* map, std::vector<std::string>* errors);

// Parse, build, check and write NAME.map and NAME.ent alone (without the checks across
// maps); false with messages on stderr.
bool BakeMapSource(const BakeContext& ctx, const std::string& sourceFile);
