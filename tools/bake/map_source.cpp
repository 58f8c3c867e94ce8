// Reading a map source: one command per line, words separated by spaces, "# ..." comments,
// optional name=value words. See content/maps/README.md (the players' guide) for the commands.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>

#include "core/core.h"
#include "map_builder.h"
#include "prop_recipes.h"
#include "texture_names.h"

namespace {

// "FILE:LINE: what", or "FILE: what" for line 0. Appended piece by piece: GCC 12 at -O3 warns
// falsely of overlapping copies in the one-line sum.
std::string Located(const std::string& file, int line, const std::string& what) {
  std::string message = file;
  if (line) {
    message += ':';
    message += std::to_string(line);
  }
  message += ": ";
  message += what;
  return message;
}

// Coordinates stay far inside 32 bits, so nothing the builder computes can overflow.
constexpr double kMaxExtent = 1000000;

struct TextureName {
  const char* name;
  int texture;
};

// The map pack's textures by the names a designer writes.
const TextureName kTextures[] = {
    {"grass", MapTex::kGrass},           {"dirt", MapTex::kDirt},
    {"sand", MapTex::kSand},             {"rock_grey", MapTex::kRockGrey},
    {"rock_red", MapTex::kRockRed},      {"cliff", MapTex::kCliff},
    {"concrete", MapTex::kConcreteWall}, {"brick", MapTex::kBrick},
    {"tech_floor", MapTex::kTechFloor},  {"lava", MapTex::kLava},
    {"water", MapTex::kWater},           {"snow", MapTex::kSnow},
    {"ice", MapTex::kIce},               {"gravel", MapTex::kGravel},
    {"mud", MapTex::kMud},               {"moss_rock", MapTex::kMossRock},
    {"tech_wall", MapTex::kTechWall},    {"hazard_floor", MapTex::kHazardFloor},
    {"metal_plates", MapTex::kMetalPlates}, {"road", MapTex::kRoad},
    {"tiles", MapTex::kTiles},           {"organic", MapTex::kOrganic},
    {"ash", MapTex::kAsh},               {"grass_dirt", MapTex::kGrassDirt},
    {"cave_rock", MapTex::kCaveRock},    {"landing_pad", MapTex::kLandingPad},
};

int TextureByName(const std::string& name) {
  for (const TextureName& t : kTextures)
    if (name == t.name) return t.texture;
  return -1;
}

// One source line split into plain words and name=value options.
struct Line {
  std::vector<std::string> words;
  std::vector<std::pair<std::string, std::string>> options;
  int number = 0;
};

class Parser {
 public:
  Parser(const std::string& file, MapSource* out, std::vector<std::string>* errors)
      : file_(file), out_(out), errors_(errors) {}

  void Run(const std::string& text) {
    std::istringstream in(text);
    std::string raw;
    int number = 0;
    while (std::getline(in, raw)) {
      ++number;
      const size_t hash = raw.find('#');
      if (hash != std::string::npos) raw.erase(hash);
      Line line;
      line.number = number;
      std::istringstream words(raw);
      std::string w;
      while (words >> w) {
        const size_t eq = w.find('=');
        if (eq != std::string::npos && eq > 0)
          line.options.emplace_back(w.substr(0, eq), w.substr(eq + 1));
        else
          line.words.push_back(w);
      }
      if (!line.words.empty()) Command(line);
    }
    if (out_->width <= 0 || out_->depth <= 0) Fail(0, "no \"size\": the map has no extent");
    if (out_->pack.empty()) Fail(0, "no \"pack\": the map names no texture pack");
    if (out_->sky.empty()) Fail(0, "no \"sky\": the map names no sky");
  }

 private:
  void Fail(int line, const std::string& what) { errors_->push_back(Located(file_, line, what)); }

  bool Number(const Line& l, const std::string& word, double* v) {
    char* end = nullptr;
    *v = strtod(word.c_str(), &end);
    if (word.empty() || *end != '\0' || !std::isfinite(*v)) {
      Fail(l.number, "\"" + word + "\" is not a number");
      return false;
    }
    return true;
  }

  // Words from `at` on must be exactly `count` numbers.
  bool Numbers(const Line& l, size_t at, size_t count, double* v) {
    if (l.words.size() != at + count) {
      Fail(l.number, "\"" + l.words[0] + "\" takes " + std::to_string(count) + " numbers here");
      return false;
    }
    for (size_t i = 0; i < count; ++i)
      if (!Number(l, l.words[at + i], &v[i])) return false;
    return true;
  }

  const std::string* Option(const Line& l, const char* name) {
    for (const auto& o : l.options)
      if (o.first == name) return &o.second;
    return nullptr;
  }

  bool OptionNumber(const Line& l, const char* name, double* v) {
    const std::string* s = Option(l, name);
    return !s || Number(l, *s, v);
  }

  bool OnlyOptions(const Line& l, std::initializer_list<const char*> allowed) {
    for (const auto& o : l.options) {
      bool ok = false;
      for (const char* a : allowed) ok = ok || o.first == a;
      if (!ok) {
        Fail(l.number, "\"" + l.words[0] + "\" has no option \"" + o.first + "\"");
        return false;
      }
    }
    return true;
  }

  // A region from the words at `at`: all | rect X0 Z0 X1 Z1 | circle X Z R | path W X Z X Z...
  bool Region(const Line& l, size_t at, MapRegion* r) {
    if (at >= l.words.size()) {
      Fail(l.number, "a region is missing (all, rect, circle or path)");
      return false;
    }
    const std::string& kind = l.words[at];
    double v[4];
    if (kind == "all") {
      r->kind = MapRegion::kAll;
      return Numbers(l, at + 1, 0, v);
    }
    if (kind == "rect") {
      if (!Numbers(l, at + 1, 4, v)) return false;
      r->kind = MapRegion::kRect;
      r->x0 = std::min(v[0], v[2]), r->x1 = std::max(v[0], v[2]);
      r->z0 = std::min(v[1], v[3]), r->z1 = std::max(v[1], v[3]);
      return true;
    }
    if (kind == "circle") {
      if (!Numbers(l, at + 1, 3, v)) return false;
      r->kind = MapRegion::kCircle;
      r->cx = v[0], r->cz = v[1], r->r = v[2];
      return true;
    }
    if (kind == "path") {
      const size_t n = l.words.size() - at - 1;
      if (n < 5 || n % 2 == 0) {
        Fail(l.number, "a path takes a width and at least two points");
        return false;
      }
      r->kind = MapRegion::kPath;
      if (!Number(l, l.words[at + 1], &r->width)) return false;
      for (size_t i = at + 2; i + 1 < l.words.size(); i += 2) {
        double x, z;
        if (!Number(l, l.words[i], &x) || !Number(l, l.words[i + 1], &z)) return false;
        r->points.emplace_back(x, z);
      }
      return true;
    }
    Fail(l.number, "\"" + kind + "\" is not a region (all, rect, circle or path)");
    return false;
  }

  bool Texture(const Line& l, const std::string& name, int* texture) {
    *texture = TextureByName(name);
    if (*texture < 0) Fail(l.number, "\"" + name + "\" is not a texture of the map pack");
    return *texture >= 0;
  }

  void Command(const Line& l) {
    const std::string& c = l.words[0];
    double v[4];
    if (c == "map" || c == "pack" || c == "sky") {
      if (l.words.size() != 2 || !OnlyOptions(l, {})) return Fail(l.number, "\"" + c + "\" takes one name");
      (c == "map" ? out_->name : c == "pack" ? out_->pack : out_->sky) = l.words[1];
      if (c == "map") out_->nameLine = l.number;
    } else if (c == "size") {
      if (!Numbers(l, 1, 2, v) || !OnlyOptions(l, {})) return;
      if (v[0] < 1 || v[1] < 1 || v[0] > kMaxExtent || v[1] > kMaxExtent)
        return Fail(l.number, "a map is 1 to " + std::to_string(int(kMaxExtent)) + " units on a side");
      out_->width = int(v[0]), out_->depth = int(v[1]);
    } else if (c == "cell" || c == "chunk") {
      if (!Numbers(l, 1, 1, v) || !OnlyOptions(l, {})) return;
      if (v[0] < 1 || v[0] > 4096) return Fail(l.number, "\"" + c + "\" must be 1 to 4096");
      (c == "cell" ? out_->cell : out_->chunk) = int(v[0]);
    } else if (c == "base") {
      if (l.words.size() != 2) return Fail(l.number, "\"base\" takes one texture");
      Texture(l, l.words[1], &out_->baseTexture);
    } else if (c == "steep") {
      if (l.words.size() != 3) return Fail(l.number, "\"steep\" takes a height and a texture");
      if (Number(l, l.words[1], &out_->steep)) Texture(l, l.words[2], &out_->steepTexture);
    } else if (c == "noise" || c == "raise" || c == "flatten") {
      TerrainOp op;
      op.line = l.number;
      const size_t values = c == "noise" ? 2 : 1;
      if (l.words.size() < 1 + values) return Fail(l.number, "\"" + c + "\" lacks its height");
      if (!OnlyOptions(l, {"soft", "seed"}) || !Number(l, l.words[1], &op.value)) return;
      if (std::fabs(op.value) > 50000) return Fail(l.number, "heights stay within +-50000");
      if (c == "noise") {
        op.kind = TerrainOp::kNoise;
        if (!Number(l, l.words[2], &op.scale)) return;
        if (op.scale < 1) return Fail(l.number, "the noise's feature size must be at least 1");
        double seed = 1;
        if (!OptionNumber(l, "seed", &seed)) return;
        if (seed < 0 || seed > 4294967295.0) return Fail(l.number, "a seed is 0 to 4294967295");
        op.seed = uint32_t(seed);
      } else {
        op.kind = c == "raise" ? TerrainOp::kRaise : TerrainOp::kFlatten;
      }
      if (!OptionNumber(l, "soft", &op.soft)) return;
      if (l.words.size() == 1 + values) op.region.kind = MapRegion::kAll;
      else if (!Region(l, 1 + values, &op.region)) return;
      out_->ops.push_back(op);
    } else if (c == "ground") {
      TerrainOp op;
      op.kind = TerrainOp::kGround;
      op.line = l.number;
      if (l.words.size() < 2 || !OnlyOptions(l, {"texture"})) return Fail(l.number, "\"ground\" takes a type and a region");
      const std::string& t = l.words[1];
      op.ground = t == "plain" ? kGroundPlain : t == "lava" ? kGroundDamaging : t == "wall" ? kGroundWall : -1;
      if (op.ground < 0) return Fail(l.number, "\"" + t + "\" is not a ground type (plain, lava, wall)");
      if (const std::string* tex = Option(l, "texture"))
        if (!Texture(l, *tex, &op.texture)) return;
      if (Region(l, 2, &op.region)) out_->ops.push_back(op);
    } else if (c == "paint") {
      TerrainOp op;
      op.kind = TerrainOp::kPaint;
      op.line = l.number;
      if (l.words.size() < 2 || !OnlyOptions(l, {})) return Fail(l.number, "\"paint\" takes a texture and a region");
      if (Texture(l, l.words[1], &op.texture) && Region(l, 2, &op.region)) out_->ops.push_back(op);
    } else if (c == "prop") {
      PropPlacement p;
      p.line = l.number;
      if (l.words.size() < 2 || !OnlyOptions(l, {"heading", "scale"})) return Fail(l.number, "\"prop\" takes a recipe and X Z");
      p.recipe = l.words[1];
      if (!FindPropRecipe(p.recipe))
        return Fail(l.number, "\"" + p.recipe + "\" is not a prop (" + PropRecipeNames() + ")");
      if (!Numbers(l, 2, 2, v) || !OptionNumber(l, "heading", &p.heading) ||
          !OptionNumber(l, "scale", &p.scale))
        return;
      p.x = v[0], p.z = v[1];
      if (p.scale <= 0 || p.scale > 100) return Fail(l.number, "a prop's scale must be above 0 and at most 100");
      if (std::fabs(p.x) > kMaxExtent || std::fabs(p.z) > kMaxExtent || std::fabs(p.heading) > 3600)
        return Fail(l.number, "the prop lies far off any map");
      out_->props.push_back(p);
    } else if (c == "entity") {
      EntityPlacement e;
      e.line = l.number;
      if (l.words.size() < 2 || !OnlyOptions(l, {"heading", "tag", "entry", "y"})) return Fail(l.number, "\"entity\" takes a type and X Z");
      e.typeName = l.words[1];
      e.type = EntityTypeByName(e.typeName);
      if (e.type == 0) return Fail(l.number, "\"" + e.typeName + "\" is not an entity type that a map holds");
      double heading = 0;
      if (!Numbers(l, 2, 2, v) || !OptionNumber(l, "heading", &heading)) return;
      if (heading != std::floor(heading) || std::fabs(heading) > 3600)
        return Fail(l.number, "headings are whole degrees");
      e.heading = int32_t(heading);
      e.x = v[0], e.z = v[1];
      if (Option(l, "y")) {
        e.hasY = true;
        if (!OptionNumber(l, "y", &e.y)) return;
      }
      if (std::fabs(e.x) > kMaxExtent || std::fabs(e.z) > kMaxExtent || std::fabs(e.y) > kMaxExtent)
        return Fail(l.number, "the entity lies far off any map");
      if (const std::string* s = Option(l, "tag")) e.tag = *s;
      if (const std::string* s = Option(l, "entry")) e.entry = *s;
      out_->entities.push_back(e);
    } else {
      Fail(l.number, "\"" + c + "\" is not a map command");
    }
  }

  std::string file_;
  MapSource* out_;
  std::vector<std::string>* errors_;
};

}  // namespace

double MapRegion::Distance(double x, double z) const {
  switch (kind) {
    case kAll:
      return 0;
    case kRect: {
      const double dx = std::max({x0 - x, 0.0, x - x1}), dz = std::max({z0 - z, 0.0, z - z1});
      return std::sqrt(dx * dx + dz * dz);
    }
    case kCircle:
      return std::max(0.0, std::hypot(x - cx, z - cz) - r);
    case kPath: {
      double best = 1e300;
      for (size_t i = 0; i + 1 < points.size(); ++i) {
        const double ax = points[i].first, az = points[i].second;
        const double bx = points[i + 1].first - ax, bz = points[i + 1].second - az;
        const double len2 = bx * bx + bz * bz;
        double t = len2 > 0 ? ((x - ax) * bx + (z - az) * bz) / len2 : 0;
        t = std::clamp(t, 0.0, 1.0);
        best = std::min(best, std::hypot(x - ax - t * bx, z - az - t * bz));
      }
      return std::max(0.0, best - width / 2);
    }
  }
  return 0;
}

bool ParseMapSource(const std::string& file, const std::string& text, MapSource* out,
                    std::vector<std::string>* errors) {
  *out = MapSource{};
  out->file = file;
  const size_t before = errors->size();
  Parser(file, out, errors).Run(text);
  if (out->name.empty()) {
    std::string base = file.substr(file.find_last_of('/') + 1);
    out->name = base.substr(0, base.find('.'));
  }
  // The name becomes file names: nothing that could lead out of the folder or break a field.
  if (!IsPlainMapName(out->name.c_str()))
    errors->push_back(Located(file, out->nameLine,
                              "the map's name \"" + out->name +
                                  "\" may hold only letters, digits, '_' and '-' (at most " +
                                  std::to_string(kMaxMapNameChars) + ")"));
  return errors->size() == before;
}
