// Map builder: terrain cut into scenery objects, props, entity records, and the checks that
// keep a map within what the loader, the entity manager and the engine can take.
#include "map_builder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "bake_noise.h"
#include "campaign_check.h"
#include "ground_rule.h"
#include "prop_recipes.h"
#include "texture_names.h"
#include "engine3d/engine3d.h"
#include "sound/sound.h"
#include "world/kinds.h"

namespace {

using namespace MapLimits;

// How far a ground cell reaches over its east and north neighbours.
constexpr int kCellOverlap = 1;
// Texture repeat on the ground: one 64-texel texture per this many units.
constexpr double kGroundRepeat = 500;
// What the scenery within the engine's 4400-unit object reach may hold, all round. A frame
// keeps only what lies in the view (well under half of that circle) and has room for 2800
// polygons and 5000 vertices, so this leaves the entity models and 3D sprites their share.
constexpr int kSceneryPolygonBudget = 3000;
constexpr int kSceneryVertexBudget = 7000;
// Spacing of the ground coverage samples: every 25 units, on the cell lines and corners
// (multiples of 25) as well as between them.
constexpr int kSampleStep = 25;

struct EntityTypeRow {
  int32_t type;
  const char* name;
  int slots;     // store slots its kind loads per record
  int entities;  // entities of the manager: its own and its weapons' shots
  int samples;   // sample slots: its sounds and its weapons' (a plasma or torpedo shot has two)
  int sprites;   // 3D sprites of the scene: its shots' flight and impact pictures
};

// What each kind loads into the store (model, key frames, explosion object and its two
// frames, the rocket of a rocket launcher), and what it takes of the entity manager, the
// sample slots and the scene's 3D sprites. A record hidden by its tag is created all the same.
// Weapons: machine gun 16 shots (2 samples for all, 2 sprites each), plasma gun 16 shots
// (2 samples and 2 sprites each), torpedo launcher 8 shots (likewise), rocket launcher one
// rocket (2 samples, flame and burst sprites).
const EntityTypeRow kEntityTypes[] = {
    {kTypePlayer, "Player", 10, 34, 40, 66},  // craft, 5 walk frames, explosion + 2, rocket; 3 weapons
    {kTypeStegoTank, "StegoTank", 5, 2, 3, 2},  // model, explosion + 2 frames, rocket
    {kTypeMegaRaptor, "MegaRaptor", 9, 17, 34, 32},  // model, 5 walk frames, explosion + 2; plasma gun
    {kTypePteranoFlyer, "PteranoFlyer", 4, 9, 17, 16},  // torpedo launcher
    {kTypeShip, "Ship", 3, 1, 2, 0},      // ship and its two door frames
    {kTypeMapExit, "MapExit", 0, 1, 0, 0},
    {kTypeEnergyPack, "EnergyPack", 1, 1, 1, 0},
    {kTypeAmmoMGun, "AmmoMGun", 1, 1, 1, 0},
    {kTypeAmmoPlasma, "AmmoPlasma", 1, 1, 1, 0},
    {kTypeAmmoRocket, "AmmoRocket", 1, 1, 1, 0},
    {kTypeShipKeyCard, "ShipKeyCard", 1, 1, 1, 0},
    {kTypeBarrier, "Barrier", 3, 1, 0, 0},  // model and its up and down frames
    {kTypeHyperLoad, "HyperLoad", 1, 1, 1, 0},
    {kTypeShootingTower, "ShootingTower", 4, 17, 2, 32},  // machine gun
    {kTypeMainframe, "Mainframe", 4, 1, 1, 0},
    {kTypeXBomb, "XBomb", 1, 1, 1, 0},
    {kTypeNeuralLink, "NeuralLink", 4, 1, 1, 0},
    {kTypeCodeCard, "CodeCard", 1, 1, 1, 0},
    {kTypeHoverChasmo, "HoverChasmo", 5, 2, 3, 2},  // rocket launcher
    {kTypeMapMarker, "MapMarker", 0, 0, 0, 0},
};
// What every map takes besides its records: the explosion pool's pictures and samples, the
// sample of damaging ground, and the samples the game itself keeps while a map is played
// (the menu's two sounds and the title music's three instruments).
constexpr int kPoolSprites = kExplosionSlots;
constexpr int kPoolSamples = kExplosionSlots + 1 + 5;

const EntityTypeRow* RowOf(int32_t type) {
  for (const EntityTypeRow& r : kEntityTypes)
    if (r.type == type) return &r;
  return nullptr;
}

std::string Place(double x, double z) {
  char buf[64];
  snprintf(buf, sizeof buf, "x %d, z %d", int(std::lround(x)), int(std::lround(z)));
  return buf;
}

// The terrain while it is shaped.
struct Grid {
  int nx = 0, nz = 0, cell = 0;
  std::vector<double> h;       // corners
  std::vector<int> type, texture;  // cells
  double& H(int i, int j) { return h[size_t(j) * (nx + 1) + i]; }
  double HAt(int i, int j) const { return h[size_t(std::clamp(j, 0, nz)) * (nx + 1) + std::clamp(i, 0, nx)]; }
  // Height anywhere, bilinear between the corners.
  double Height(double x, double z) const {
    const double fx = std::clamp(x / cell, 0.0, double(nx)), fz = std::clamp(z / cell, 0.0, double(nz));
    const int i = std::min(int(fx), nx - 1), j = std::min(int(fz), nz - 1);
    const double tx = fx - i, tz = fz - j;
    const double a = HAt(i, j) + (HAt(i + 1, j) - HAt(i, j)) * tx;
    const double b = HAt(i, j + 1) + (HAt(i + 1, j + 1) - HAt(i, j + 1)) * tx;
    return a + (b - a) * tz;
  }
};

double Weight(const TerrainOp& op, double x, double z) {
  const double d = op.region.Distance(x, z);
  if (d <= 0) return 1;
  if (op.soft <= 0 || d >= op.soft) return 0;
  return 1 - SmoothStep(0, 1, float(d / op.soft));
}

void ShapeHeights(const MapSource& src, Grid& g) {
  for (const TerrainOp& op : src.ops) {
    if (op.kind != TerrainOp::kNoise && op.kind != TerrainOp::kRaise && op.kind != TerrainOp::kFlatten)
      continue;
    for (int j = 0; j <= g.nz; ++j)
      for (int i = 0; i <= g.nx; ++i) {
        const double x = double(i) * g.cell, z = double(j) * g.cell;
        const double w = Weight(op, x, z);
        if (w <= 0) continue;
        double& h = g.H(i, j);
        if (op.kind == TerrainOp::kRaise) {
          h += op.value * w;
        } else if (op.kind == TerrainOp::kFlatten) {
          h += (op.value - h) * w;
        } else {
          // Value noise on a lattice of the feature size, three octaves, centred on 0.
          const int period = 1 << 20;
          const int cells = std::max(1, int(period / op.scale));
          const float n = WrapFbm2(float(x), float(z), period, cells, 3, op.seed);
          h += op.value * (double(n) - 0.5) * 2 * w;
        }
      }
  }
  for (double& h : g.h) h = std::round(h);
}

void PaintCells(const MapSource& src, Grid& g, const std::vector<const PropRecipe*>& recipes) {
  g.type.assign(size_t(g.nx) * g.nz, kGroundPlain);
  g.texture.assign(size_t(g.nx) * g.nz, src.baseTexture);
  for (int j = 0; j < g.nz; ++j)
    for (int i = 0; i < g.nx; ++i) {
      const size_t c = size_t(j) * g.nx + i;
      const double x = (i + 0.5) * g.cell, z = (j + 0.5) * g.cell;
      for (const TerrainOp& op : src.ops) {
        if ((op.kind != TerrainOp::kGround && op.kind != TerrainOp::kPaint) || op.region.Distance(x, z) > 0)
          continue;
        if (op.kind == TerrainOp::kGround) g.type[c] = op.ground;
        if (op.texture >= 0) g.texture[c] = op.texture;
      }
      if (src.steep > 0 && g.type[c] != kGroundDamaging) {
        const double hs[4] = {g.HAt(i, j), g.HAt(i + 1, j), g.HAt(i + 1, j + 1), g.HAt(i, j + 1)};
        if (*std::max_element(hs, hs + 4) - *std::min_element(hs, hs + 4) > src.steep) {
          g.type[c] = kGroundWall;
          if (src.steepTexture >= 0) g.texture[c] = src.steepTexture;
        }
      }
    }
  // Props that stop the craft turn the cells they stand on into walls: the props themselves
  // are scenery only, so collision stays with the ground the builder checks.
  for (size_t p = 0; p < src.props.size(); ++p) {
    const PropPlacement& prop = src.props[p];
    const double reach = recipes[p]->blocks * prop.scale;
    if (reach <= 0) continue;
    for (int j = 0; j < g.nz; ++j)
      for (int i = 0; i < g.nx; ++i) {
        const double dx = std::max({i * double(g.cell) - prop.x, 0.0, prop.x - (i + 1) * double(g.cell)});
        const double dz = std::max({j * double(g.cell) - prop.z, 0.0, prop.z - (j + 1) * double(g.cell)});
        // A cell is blocked when the prop covers a good part of it, not a mere corner.
        if (std::hypot(dx, dz) < reach - g.cell * 0.25) g.type[size_t(j) * g.nx + i] = kGroundWall;
      }
  }
}

V3 GridNormal(const Grid& g, int i, int j) {
  const double dx = (g.HAt(i + 1, j) - g.HAt(i - 1, j)) / (2.0 * g.cell);
  const double dz = (g.HAt(i, j + 1) - g.HAt(i, j - 1)) / (2.0 * g.cell);
  return Normalised(V3{-dx, 1, -dz});
}

// The terrain chunk (ci, cj) as one object centred on it.
MapObject TerrainChunk(const MapSource& src, const Grid& g, int ci, int cj) {
  MapObject o;
  const int i0 = ci * src.chunk, j0 = cj * src.chunk;
  const int i1 = std::min(g.nx, i0 + src.chunk), j1 = std::min(g.nz, j0 + src.chunk);
  o.x = (i0 + i1) * g.cell / 2;
  o.z = (j0 + j1) * g.cell / 2;
  o.y = 0;
  char what[64];
  snprintf(what, sizeof what, "terrain %d,%d", ci, cj);
  o.what = what;
  // A low evening sun from the west; the ground is lit a little darker than models.
  o.model.SetLight(V3{-0.7, 0.55, 0.35}, 13, 44);
  for (int j = j0; j < j1; ++j)
    for (int i = i0; i < i1; ++i) {
      const size_t c = size_t(j) * g.nx + i;
      const int type = g.type[c];
      // Every cell reaches one unit over the line to its east and north neighbours: the
      // entity manager wants a point strictly inside a polygon, so without the overlap a craft
      // driving exactly along a cell line would find no ground (and pass walls) there.
      const int ci4[4] = {i, i + 1, i + 1, i}, cj4[4] = {j, j, j + 1, j + 1};
      // The cells on the west and south edges reach over the map's edge line too.
      const int w0 = i == 0 ? -kCellOverlap : 0, s0 = j == 0 ? -kCellOverlap : 0;
      const int sx[4] = {w0, kCellOverlap, kCellOverlap, w0}, sz[4] = {s0, s0, kCellOverlap, kCellOverlap};
      int idx[4];
      double uv[8];
      const double u0 = std::floor(double(i) * g.cell / kGroundRepeat) * kGroundRepeat;
      const double v0 = std::floor(double(j) * g.cell / kGroundRepeat) * kGroundRepeat;
      for (int k = 0; k < 4; ++k) {
        const double wx = double(ci4[k]) * g.cell + sx[k], wz = double(cj4[k]) * g.cell + sz[k];
        V3 n = GridNormal(g, ci4[k], cj4[k]);
        // A touch of grain in the light so large flats do not look printed.
        n.x += 0.12 * (Hash01(ci4[k], cj4[k], 1, 77) - 0.5);
        n.z += 0.12 * (Hash01(ci4[k], cj4[k], 2, 77) - 0.5);
        idx[k] = o.model.Vertex(V3{wx - o.x, g.HAt(ci4[k], cj4[k]), wz - o.z}, n, type == kGroundDamaging);
        uv[2 * k] = (wx - u0) * 64 / kGroundRepeat;
        uv[2 * k + 1] = (wz - v0) * 64 / kGroundRepeat;
      }
      Skin skin;
      skin.texture = g.texture[c];
      skin.type = type;
      o.model.Face({idx[0], idx[1], idx[2], idx[3]}, {uv[0], uv[1], uv[2], uv[3], uv[4], uv[5], uv[6], uv[7]},
                   skin, V3{0, 1, 0});
    }
  return o;
}

// One polygon as the loader holds it, in world coordinates.
struct WorldPoly {
  int n = 0;
  int32_t x[4], y[4], z[4];
  int type = 0;
  int object = 0;
};

int32_t I32At(const Bytes& b, size_t at) {
  return int32_t(uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24);
}

// Reads an object's .tdo bytes back the way the loader does (z negated, corners reversed)
// and places it.
void LoadedPolygons(const MapObject& o, const Bytes& tdo, int object, std::vector<WorldPoly>* out,
                    std::vector<int>* bad) {
  const int32_t nv = I32At(tdo, 0);
  std::vector<int32_t> vx(static_cast<size_t>(nv)), vy(static_cast<size_t>(nv)), vz(static_cast<size_t>(nv));
  for (int32_t i = 0; i < nv; ++i) {
    vx[size_t(i)] = I32At(tdo, 4 + size_t(i) * 16);
    vy[size_t(i)] = I32At(tdo, 8 + size_t(i) * 16);
    vz[size_t(i)] = -I32At(tdo, 12 + size_t(i) * 16);
  }
  size_t at = 4 + size_t(nv) * 16;
  const int32_t np = I32At(tdo, at);
  at += 4;
  for (int32_t p = 0; p < np; ++p) {
    WorldPoly w;
    w.n = I32At(tdo, at);
    w.object = object;
    if (w.n != 3 && w.n != 4) {
      bad->push_back(p);
      return;
    }
    for (int k = 0; k < w.n; ++k) {
      const int32_t v = I32At(tdo, at + 4 + size_t(k) * 12);
      const int d = w.n - 1 - k;
      w.x[d] = vx[size_t(v)] + o.x;
      w.y[d] = vy[size_t(v)] + o.y;
      w.z[d] = vz[size_t(v)] + o.z;
    }
    w.type = I32At(tdo, at + 8 + 12 * size_t(w.n)) & 255;
    at += 12 + 12 * size_t(w.n);
    out->push_back(w);
  }
}

void CheckRecords(const MapSource& src, const Grid& g, BuiltMap* out, std::vector<std::string>* errors) {
  const std::string& map = src.name;
  auto fail = [&](const EntityPlacement& e, const std::string& what) {
    errors->push_back(map + ": " + e.typeName + " at " + Place(e.x, e.z) + " (" + src.file + ":" +
                      std::to_string(e.line) + "): " + what);
  };
  if (int(src.entities.size()) > kMaxRecords)
    errors->push_back(map + ": " + std::to_string(src.entities.size()) + " entity records; the loader holds " +
                      std::to_string(kMaxRecords) + " (the 51st is " + src.file + ":" +
                      std::to_string(src.entities[kMaxRecords].line) + ")");
  int players = 0, playerSlots = 0, otherSlots = 0;
  int entities = 0, samples = kPoolSamples, sprites = kPoolSprites;
  bool playerCounted = false;
  std::vector<std::string> entries;
  for (const EntityPlacement& e : src.entities) {
    EntityRecordOut r;
    r.type = e.type;
    r.x = int32_t(std::lround(e.x));
    r.z = int32_t(std::lround(e.z));
    r.heading = e.heading;
    r.tag = e.tag;
    r.entry = e.entry;
    const bool inside = e.x > 0 && e.z > 0 && e.x < double(g.nx) * g.cell && e.z < double(g.nz) * g.cell;
    r.y = int32_t(std::lround(e.hasY ? e.y : (inside ? g.Height(e.x, e.z) : 0) + kHover));
    out->records.push_back(r);
    if (e.tag.size() >= size_t(kEntTagBytes)) fail(e, "the tag is longer than 127 characters");
    if (e.entry.size() >= size_t(kEntEntryBytes)) fail(e, "the entry is longer than 63 characters");
    if (!inside) {
      fail(e, "outside the map");
      continue;
    }
    const int i = std::min(g.nx - 1, int(e.x / g.cell)), j = std::min(g.nz - 1, int(e.z / g.cell));
    if (e.type != kTypeMapMarker && e.type != kTypePteranoFlyer && e.type != kTypeHoverChasmo &&
        g.type[size_t(j) * g.nx + i] == kGroundWall)
      fail(e, "stands on a wall, where it can never move");
    if (const EntityTypeRow* row = RowOf(e.type); row && (e.type != kTypePlayer || !playerCounted)) {
      // Only the player record of the entry is created: one craft, whatever the entry.
      entities += row->entities, samples += row->samples, sprites += row->sprites;
      playerCounted = playerCounted || e.type == kTypePlayer;
    }
    if (e.type == kTypePlayer) {
      ++players;
      if (e.entry.empty()) fail(e, "a player record needs an entry point name");
      if (std::find(entries.begin(), entries.end(), e.entry) != entries.end())
        fail(e, "a second player record for the entry \"" + e.entry + "\"");
      entries.push_back(e.entry);
      playerSlots = EntityModelSlots(e.type);  // only the record of the entry is created
    } else {
      otherSlots += EntityModelSlots(e.type);
    }
    if (e.type == kTypeMapExit && e.tag != kMenuExitTarget &&
        (e.tag.size() < 5 || e.tag.compare(e.tag.size() - 4, 4, ".map") != 0 || e.entry.empty()))
      fail(e, "a map exit needs tag=TARGET.map and entry=ENTRY, or tag=menu");
  }
  if (players == 0) errors->push_back(map + ": no Player record: the map cannot be entered");
  const struct {
    int used, limit;
    const char* what;
  } budgets[] = {{entities, kMaxEntities, "entities of the entity manager (the weapons' shots included)"},
                 {samples, kSampleSlotCount, "sample slots"},
                 {sprites, kMaxSprites3D, "3D sprites of the scene"}};
  for (const auto& b : budgets)
    if (b.used > b.limit)
      errors->push_back(map + ": the records' kinds need " + std::to_string(b.used) + " " + b.what + "; there are " +
                        std::to_string(b.limit) + " (enemies with guns are the dearest)");
  out->entityModelSlots = playerSlots + otherSlots;
}

// Every spot inside the map must have a polygon under it by the entity manager's rule, and
// that polygon must be the ground the builder meant there.
void CheckGround(const MapSource& src, const Grid& g, const std::vector<WorldPoly>& polys,
                 const std::vector<MapObject>& objects, std::vector<std::string>* errors) {
  // Objects whose polygons can hold a point, by their horizontal bounds, in slot order.
  struct Box {
    int32_t x0, z0, x1, z1;
    std::vector<size_t> polys;
  };
  std::vector<Box> boxes(objects.size(), Box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN, {}});
  for (size_t p = 0; p < polys.size(); ++p) {
    Box& b = boxes[size_t(polys[p].object)];
    for (int k = 0; k < polys[p].n; ++k) {
      b.x0 = std::min(b.x0, polys[p].x[k]), b.x1 = std::max(b.x1, polys[p].x[k]);
      b.z0 = std::min(b.z0, polys[p].z[k]), b.z1 = std::max(b.z1, polys[p].z[k]);
    }
    b.polys.push_back(p);
  }
  int reported = 0;
  const int32_t w = g.nx * g.cell, d = g.nz * g.cell;
  for (int32_t z = 0; z <= d && reported < 5; z += kSampleStep)
    for (int32_t x = 0; x <= w && reported < 5; x += kSampleStep) {
      const WorldPoly* found = nullptr;
      for (size_t o = 0; o < objects.size() && !found; ++o) {
        const Box& b = boxes[o];
        if (!objects[o].solid || x < b.x0 || x > b.x1 || z < b.z0 || z > b.z1) continue;
        for (size_t p : b.polys)
          if (GroundUnderEntity(polys[p].x, polys[p].z, polys[p].n, x, z, kGroundReach)) {
            found = &polys[p];
            break;
          }
      }
      // A point on a cell line belongs to the cell west or south of it, which reaches over.
      const int i = std::clamp((x % g.cell == 0 ? x - 1 : x) / g.cell, 0, g.nx - 1);
      const int j = std::clamp((z % g.cell == 0 ? z - 1 : z) / g.cell, 0, g.nz - 1);
      const int want = g.type[size_t(j) * g.nx + i];
      std::string cell = " (cell " + std::to_string(i) + "," + std::to_string(j) + " of terrain " +
                         std::to_string(i / src.chunk) + "," + std::to_string(j / src.chunk) + ")";
      if (!found) {
        errors->push_back(src.name + ": no ground polygon under " + Place(x, z) + cell +
                          ": the craft would not follow the ground there (cells too large?)");
        ++reported;
      } else if (found->type != want && (found->type == kGroundWall || want == kGroundWall)) {
        errors->push_back(src.name + ": the ground under " + Place(x, z) + cell + " is of type " +
                          std::to_string(found->type) + " instead of " + std::to_string(want));
        ++reported;
      } else {
        const int64_t far = objects[size_t(found->object)].x - x, farz = objects[size_t(found->object)].z - z;
        if (far * far + farz * farz >= int64_t(kCollisionReach - 1000) * (kCollisionReach - 1000)) {
          errors->push_back(src.name + ": the object holding the ground under " + Place(x, z) +
                            " is too far away for the entity manager to examine it");
          ++reported;
        }
      }
    }
}

// The frame's soups must hold the scenery near any camera position.
void CheckDrawBudget(const BuiltMap& m, std::vector<std::string>* errors) {
  const int32_t w = m.cellsX * m.cell, d = m.cellsZ * m.cell;
  for (int32_t z = 0; z <= d; z += 500)
    for (int32_t x = 0; x <= w; x += 500) {
      int polys = 0, verts = 0;
      for (const MapObject& o : m.objects) {
        const double dist = std::hypot(double(o.x - x), double(o.z - z));
        if (dist > kCollisionReach) continue;
        polys += o.model.PolygonCount();
        verts += o.model.VertexCount();
      }
      if (polys > kSceneryPolygonBudget || verts > kSceneryVertexBudget) {
        errors->push_back(m.name + ": near " + Place(x, z) + " the scenery within " +
                          std::to_string(kCollisionReach) + " units has " + std::to_string(polys) +
                          " polygons and " + std::to_string(verts) + " vertices; a frame draws at most " +
                          std::to_string(kSceneryPolygonBudget) + " and " + std::to_string(kSceneryVertexBudget) +
                          " of scenery");
        return;
      }
    }
}

void PutName(Bytes& b, const std::string& s, size_t size) {
  for (size_t i = 0; i < size; ++i) b.push_back(i < s.size() ? uint8_t(s[i]) : 0);
}

}  // namespace

int EntityModelSlots(int32_t type) {
  const EntityTypeRow* r = RowOf(type);
  return r ? r->slots : 0;
}

int32_t EntityTypeByName(const std::string& name) {
  for (const EntityTypeRow& r : kEntityTypes)
    if (name == r.name) return r.type;
  return 0;
}

const char* EntityTypeName(int32_t type) {
  for (const EntityTypeRow& r : kEntityTypes)
    if (r.type == type) return r.name;
  return "?";
}

bool BuildMap(const MapSource& src, BuiltMap* out, std::vector<std::string>* errors) {
  *out = BuiltMap{};
  out->name = src.name;
  out->pack = src.pack;
  out->sky = src.sky;
  const size_t before = errors->size();
  const std::string& map = src.name;
  if (src.width <= 0 || src.depth <= 0 || src.cell <= 0 || src.width % src.cell || src.depth % src.cell) {
    errors->push_back(map + ": the size " + std::to_string(src.width) + " x " + std::to_string(src.depth) +
                      " is not a whole number of " + std::to_string(src.cell) + "-unit cells");
    return false;
  }
  if (int64_t(src.width / src.cell) * (src.depth / src.cell) > 1000000) {
    errors->push_back(map + ": " + std::to_string(src.width / src.cell) + " x " + std::to_string(src.depth / src.cell) +
                      " cells; a map holds far fewer (the store has 140 objects)");
    return false;
  }
  if (src.pack.size() >= size_t(kNameBytes) || src.sky.size() >= size_t(kNameBytes)) {
    errors->push_back(map + ": the texture pack or sky name is longer than 255 characters");
    return false;
  }
  Grid g;
  g.cell = src.cell;
  g.nx = src.width / src.cell;
  g.nz = src.depth / src.cell;
  g.h.assign(size_t(g.nx + 1) * (g.nz + 1), 0.0);
  std::vector<const PropRecipe*> recipes;
  for (const PropPlacement& p : src.props) recipes.push_back(FindPropRecipe(p.recipe));
  for (size_t p = 0; p < recipes.size(); ++p)
    if (!recipes[p]) {
      errors->push_back(map + ": prop \"" + src.props[p].recipe + "\" has no recipe");
      return false;
    }
  ShapeHeights(src, g);
  // Heights stay where the engine's 32-bit plane arithmetic is safe.
  for (double h : g.h)
    if (std::fabs(h) > 60000) {
      errors->push_back(map + ": the terrain reaches a height of " + std::to_string(int64_t(h)) +
                        "; keep it within +-60000");
      return false;
    }
  PaintCells(src, g, recipes);

  // The edge must be a wall all round, or the craft drives off the map's ground.
  for (int j = 0; j < g.nz; ++j)
    for (int i = 0; i < g.nx; ++i) {
      if (i != 0 && j != 0 && i != g.nx - 1 && j != g.nz - 1) continue;
      if (g.type[size_t(j) * g.nx + i] != kGroundWall) {
        errors->push_back(map + ": the edge is open at " + Place((i + 0.5) * g.cell, (j + 0.5) * g.cell) +
                          " (cell " + std::to_string(i) + "," + std::to_string(j) +
                          "): the craft could drive off the map; make the border a wall");
        j = g.nz;
        break;
      }
    }

  const int chunksX = (g.nx + src.chunk - 1) / src.chunk, chunksZ = (g.nz + src.chunk - 1) / src.chunk;
  for (int cj = 0; cj < chunksZ; ++cj)
    for (int ci = 0; ci < chunksX; ++ci) out->objects.push_back(TerrainChunk(src, g, ci, cj));
  const size_t terrainObjects = out->objects.size();

  // Props: the props of one terrain chunk share one object, placed on the ground.
  std::vector<int> propObject(size_t(chunksX) * chunksZ, -1);
  for (size_t p = 0; p < src.props.size(); ++p) {
    const PropPlacement& prop = src.props[p];
    if (prop.x <= 0 || prop.z <= 0 || prop.x >= src.width || prop.z >= src.depth) {
      errors->push_back(map + ": prop " + prop.recipe + " at " + Place(prop.x, prop.z) + " (" + src.file + ":" +
                        std::to_string(prop.line) + ") is outside the map");
      continue;
    }
    const int ci = int(prop.x) / (g.cell * src.chunk), cj = int(prop.z) / (g.cell * src.chunk);
    int& slot = propObject[size_t(cj) * chunksX + ci];
    if (slot < 0) {
      slot = int(out->objects.size());
      MapObject o;
      const MapObject& t = out->objects[size_t(cj) * chunksX + ci];
      o.x = t.x, o.y = 0, o.z = t.z;
      o.solid = false;  // their cells carry the collision
      o.what = "props of " + t.what;
      out->objects.push_back(std::move(o));
    }
    MapObject& o = out->objects[size_t(slot)];
    // Stand on the lowest ground under the prop's middle so that no edge floats.
    double y = g.Height(prop.x, prop.z);
    for (int k = 0; k < 8; ++k) {
      const double a = k * 0.785398, r = std::max(60.0, recipes[p]->blocks * prop.scale * 0.7);
      y = std::min(y, g.Height(prop.x + std::cos(a) * r, prop.z + std::sin(a) * r));
    }
    o.model.Push();
    o.model.Translate(V3{prop.x - o.x, y - 4, prop.z - o.z});
    o.model.RotateY(prop.heading);
    recipes[p]->build(o.model, prop.scale, uint32_t(prop.line) * 2654435761u);
    o.model.Pop();
  }

  out->cellsX = g.nx, out->cellsZ = g.nz, out->cell = g.cell;
  for (double h : g.h) out->heights.push_back(int32_t(h));
  out->cellType = g.type;

  CheckRecords(src, g, out, errors);
  const int slots = int(out->objects.size()) + out->entityModelSlots;
  if (slots > kStoreSlots)
    errors->push_back(map + ": " + std::to_string(out->objects.size()) + " scenery objects (" +
                      std::to_string(terrainObjects) + " of terrain) and " +
                      std::to_string(out->entityModelSlots) + " slots for the entity models need " +
                      std::to_string(slots) + " of the store's " + std::to_string(kStoreSlots));
  std::vector<WorldPoly> polys;
  bool shapesOk = true;
  for (size_t i = 0; i < out->objects.size(); ++i) {
    const MapObject& o = out->objects[i];
    if (o.model.VertexCount() > kMaxVertices || o.model.PolygonCount() > kMaxPolygons) {
      errors->push_back(map + ": " + o.what + " at " + Place(o.x, o.z) + " has " +
                        std::to_string(o.model.VertexCount()) + " vertices and " +
                        std::to_string(o.model.PolygonCount()) + " polygons (limits " +
                        std::to_string(kMaxVertices) + " and " + std::to_string(kMaxPolygons) + ")");
      shapesOk = false;
    }
    std::vector<int> bad;
    LoadedPolygons(o, o.model.ToTdo(), int(i), &polys, &bad);
    if (!bad.empty()) {
      errors->push_back(map + ": " + o.what + " at " + Place(o.x, o.z) + ": polygon " + std::to_string(bad[0]) +
                        " has neither 3 nor 4 corners");
      shapesOk = false;
    }
  }
  if (shapesOk) {
    CheckGround(src, g, polys, out->objects, errors);
    CheckDrawBudget(*out, errors);
  }
  return errors->size() == before;
}

Bytes MapFileBytes(const BuiltMap& m) {
  Bytes b;
  PutU32LE(b, uint32_t(m.objects.size()));
  for (const MapObject& o : m.objects) {
    PutU32LE(b, uint32_t(o.x));
    PutU32LE(b, uint32_t(o.y));
    PutU32LE(b, uint32_t(-o.z));  // the loader places the object at -z
    b.insert(b.end(), 58, 0);
    PutU32LE(b, o.solid ? 1u : 0u);
    const Bytes tdo = o.model.ToTdo();
    b.insert(b.end(), tdo.begin(), tdo.end());
  }
  PutName(b, m.pack, kNameBytes);
  PutName(b, m.sky, kNameBytes);
  return b;
}

Bytes EntFileBytes(const BuiltMap& m) {
  Bytes b;
  PutU32LE(b, uint32_t(m.records.size()));
  for (const EntityRecordOut& r : m.records) {
    PutU32LE(b, 0);
    for (int32_t v : {r.type, r.x, r.y, r.z, r.w, r.heading}) PutU32LE(b, uint32_t(v));
    PutName(b, r.tag, kEntTagBytes);
    PutName(b, r.entry, kEntEntryBytes);
  }
  return b;
}

bool BuildMapSource(const std::string& file, const std::string& text, MapSource* source,
                    BuiltMap* map, std::vector<std::string>* errors) {
  return ParseMapSource(file, text, source, errors) && BuildMap(*source, map, errors) &&
         CheckMapReach(*source, *map, errors);
}

bool BakeMapSource(const BakeContext& ctx, const std::string& sourceFile) {
  std::string text;
  std::vector<std::string> errors;
  MapSource src;
  BuiltMap map;
  if (!ReadSource(ctx, sourceFile, &text)) {
    errors.push_back(sourceFile + ": cannot be read");
  } else if (BuildMapSource(sourceFile, text, &src, &map, &errors)) {
    if (WriteOut(ctx, src.name + ".map", MapFileBytes(map)) && WriteOut(ctx, src.name + ".ent", EntFileBytes(map)))
      return true;
    return false;
  }
  for (const std::string& e : errors) fprintf(stderr, "bake: %s\n", e.c_str());
  return false;
}
