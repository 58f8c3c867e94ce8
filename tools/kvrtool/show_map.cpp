// kvrtool show map: a map seen from above (ground shaded by height, walls, damaging ground,
// props and entities with their names) or from one of its entry points through the real 3D
// pipeline; and the info printers for .map and .ent files.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/core.h"
#include "engine3d/engine3d.h"
#include "gfx2d/gfx2d.h"
#include "kvrtool.h"
#include "map_builder.h"
#include "map_reader.h"
#include "platform/platform.h"

namespace {

using I32Reader = int32_t (*)(const std::vector<unsigned char>&, size_t);
constexpr I32Reader I32 = ReadI32At;

// ---- Top view ----------------------------------------------------------------------------

constexpr int kViewSize = 600;   // the map's square
constexpr int kLegend = 64;      // the strip under it
constexpr int kMargin = 12;

struct Canvas {
  int w, h;
  std::vector<uint16_t> px;
  Canvas(int width, int height) : w(width), h(height), px(size_t(width) * height, 0) {}
  void Put(int x, int y, uint16_t c) {
    if (x >= 0 && y >= 0 && x < w && y < h) px[size_t(y) * w + x] = c;
  }
  void Rect(int x, int y, int rw, int rh, uint16_t c) {
    for (int j = y; j < y + rh; ++j)
      for (int i = x; i < x + rw; ++i) Put(i, j, c);
  }
  void Line(int x0, int y0, int x1, int y1, uint16_t c) {
    const int n = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
    for (int s = 0; s <= n; ++s)
      Put(x0 + (n ? (x1 - x0) * s / n : 0), y0 + (n ? (y1 - y0) * s / n : 0), c);
  }
};

uint16_t Colour(double r, double g, double b) {  // 0..1 each
  auto q = [](double v) { return int(std::lround(std::clamp(v, 0.0, 1.0) * 31)); };
  return MakeColour(q(r), q(g), q(b));
}

// Fills a convex outline given in canvas coordinates, whichever way it winds.
void FillConvex(Canvas& c, const double* xs, const double* ys, int n, uint16_t (*shade)(int, int, const void*),
                const void* user) {
  double x0 = 1e9, x1 = -1e9, y0 = 1e9, y1 = -1e9;
  for (int i = 0; i < n; ++i) x0 = std::min(x0, xs[i]), x1 = std::max(x1, xs[i]), y0 = std::min(y0, ys[i]), y1 = std::max(y1, ys[i]);
  for (int y = std::max(0, int(std::floor(y0))); y <= std::min(c.h - 1, int(std::ceil(y1))); ++y)
    for (int x = std::max(0, int(std::floor(x0))); x <= std::min(c.w - 1, int(std::ceil(x1))); ++x) {
      const double px = x + 0.5, py = y + 0.5;
      int pos = 0, neg = 0;
      for (int i = 0; i < n; ++i) {
        const int j = (i + 1) % n;
        const double cr = (xs[j] - xs[i]) * (py - ys[i]) - (ys[j] - ys[i]) * (px - xs[i]);
        pos += cr >= 0, neg += cr <= 0;
      }
      if (pos == n || neg == n) c.Put(x, y, shade(x, y, user));
    }
}

struct PolyShade {
  uint16_t colour, dark;
  bool hatch;
};

uint16_t ShadePixel(int x, int y, const void* user) {
  const PolyShade* s = static_cast<const PolyShade*>(user);
  return s->hatch && (x + y) % 7 == 0 ? s->dark : s->colour;
}

struct Label {
  int x, y;
  std::string text;
  uint16_t colour;
};

bool IsEnemy(int32_t t) { return t == 5 || t == 6 || t == 7 || t == 18 || t == 23; }
bool IsPickup(int32_t t) { return (t >= 11 && t <= 15) || t == 17 || t == 20 || t == 22; }

void DrawSymbol(Canvas& c, int x, int y, const EntRow& r) {
  const uint16_t black = 0, white = Colour(1, 1, 1);
  const double a = r.heading * 3.14159265358979 / 180;
  const double fx = std::sin(a), fy = -std::cos(a);  // north is up
  if (r.type == 1) {
    const double xs[3] = {x + fx * 11, x - fx * 6 + fy * 6, x - fx * 6 - fy * 6};
    const double ys[3] = {y + fy * 11, y - fy * 6 - fx * 6, y - fy * 6 + fx * 6};
    const double xo[3] = {x + fx * 14, x - fx * 8 + fy * 8, x - fx * 8 - fy * 8};
    const double yo[3] = {y + fy * 14, y - fy * 8 - fx * 8, y - fy * 8 + fx * 8};
    PolyShade outline{black, black, false}, fill{white, white, false};
    FillConvex(c, xo, yo, 3, ShadePixel, &outline);
    FillConvex(c, xs, ys, 3, ShadePixel, &fill);
  } else if (r.type == 10) {
    c.Rect(x - 8, y - 8, 17, 17, black);
    c.Rect(x - 6, y - 6, 13, 13, Colour(0.2, 0.9, 1));
    c.Rect(x - 3, y - 3, 7, 7, black);
  } else if (IsEnemy(r.type)) {
    for (int k = 8; k >= 0; --k)
      for (int d = -k; d <= k; ++d) {
        const uint16_t col = k >= 7 ? black : Colour(1, 0.15, 0.1);
        c.Put(x + d, y - (k - std::abs(d)), col), c.Put(x + d, y + (k - std::abs(d)), col);
      }
    c.Line(x, y, int(x + fx * 14), int(y + fy * 14), black);
  } else {
    const uint16_t col = IsPickup(r.type) ? Colour(0.3, 1, 0.3) : Colour(1, 0.9, 0.2);
    for (int dy = -6; dy <= 6; ++dy)
      for (int dx = -6; dx <= 6; ++dx) {
        const int d2 = dx * dx + dy * dy;
        if (d2 <= 36) c.Put(x + dx, y + dy, d2 >= 20 ? black : col);
      }
  }
}

std::string LabelOf(const EntRow& r) {
  std::string s = EntityTypeName(r.type);
  if (r.type == 1) s += " " + r.entry;
  if (r.type == 10) s += " > " + r.tag + " " + r.entry;
  else if (r.type != 1 && !r.tag.empty()) s += " [" + r.tag + "]";
  return s;
}

int TopView(Engine3D& e, const std::string& mapName, const std::vector<EntRow>& rows, const std::string& out) {
  // Bounds of the ground (solid objects) and heights.
  int64_t minX = INT32_MAX, maxX = INT32_MIN, minZ = INT32_MAX, maxZ = INT32_MIN, minY = INT32_MAX, maxY = INT32_MIN;
  for (int32_t k = 0; k < e.store.count; ++k) {
    const Object3D* o = e.store.Get(k);
    if (!o->solid) continue;
    for (int32_t i = 0; i < o->vertexCount; ++i) {
      const int64_t x = int64_t(o->vertices[i].x) + o->x, y = int64_t(o->vertices[i].y) + o->y,
                    z = int64_t(o->vertices[i].z) + o->z;
      minX = std::min(minX, x), maxX = std::max(maxX, x), minZ = std::min(minZ, z), maxZ = std::max(maxZ, z);
      minY = std::min(minY, y), maxY = std::max(maxY, y);
    }
  }
  if (minX >= maxX || minZ >= maxZ) {
    fprintf(stderr, "kvrtool: %s has no solid ground\n", mapName.c_str());
    return 1;
  }
  const double scale = double(kViewSize - 2 * kMargin) / double(std::max(maxX - minX, maxZ - minZ));
  auto toX = [&](double x) { return kMargin + (x - double(minX)) * scale; };
  auto toY = [&](double z) { return kMargin + (double(maxZ) - z) * scale; };
  Canvas c(kViewSize, kViewSize + kLegend);
  c.Rect(0, 0, c.w, c.h, Colour(0.05, 0.05, 0.08));

  // Polygons from low to high so props lie over the ground; faces that look down are skipped.
  struct Item {
    double top;
    const Object3D* o;
    int32_t p;
  };
  std::vector<Item> items;
  for (int32_t k = 0; k < e.store.count; ++k) {
    const Object3D* o = e.store.Get(k);
    if (o->entity || o->hidden) continue;  // entity models are drawn as symbols
    for (int32_t p = 0; p < o->polygonCount; ++p) {
      const Poly3D& poly = o->polygons[p];
      double top = -1e9;
      for (int i = 0; i < poly.cornerCount; ++i) top = std::max(top, double(o->vertices[poly.corner[i]].y + o->y));
      items.push_back({top + (o->solid ? 0 : 1e6), o, p});
    }
  }
  std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.top < b.top; });
  // Heights are shaded over the ground a craft can reach, so the walls' mountains do not
  // flatten the rest into one colour.
  double lowY = 1e18, highY = -1e18;
  for (int32_t k = 0; k < e.store.count; ++k) {
    const Object3D* o = e.store.Get(k);
    if (!o->solid) continue;
    for (int32_t p = 0; p < o->polygonCount; ++p) {
      if (o->polygons[p].type == 2) continue;
      const double y = double(o->vertices[o->polygons[p].corner[0]].y) + o->y;
      lowY = std::min(lowY, y), highY = std::max(highY, y);
    }
  }
  if (lowY > highY) lowY = double(minY), highY = double(maxY);
  const double range = std::max(1.0, highY - lowY);
  for (const Item& it : items) {
    const Object3D* o = it.o;
    const Poly3D& poly = o->polygons[it.p];
    double xs[4], ys[4], wx[4], wy[4], wz[4], avg = 0;
    for (int i = 0; i < poly.cornerCount; ++i) {
      const Vertex3D& v = o->vertices[poly.corner[i]];
      wx[i] = v.x + o->x, wy[i] = v.y + o->y, wz[i] = v.z + o->z;
      xs[i] = toX(wx[i]), ys[i] = toY(wz[i]);
      avg += wy[i] / poly.cornerCount;
    }
    // Face normal from the first three corners; light from the north-west, low.
    const double ax = wx[1] - wx[0], ay = wy[1] - wy[0], az = wz[1] - wz[0];
    const double bx = wx[2] - wx[0], by = wy[2] - wy[0], bz = wz[2] - wz[0];
    double nx = ay * bz - az * by, ny = az * bx - ax * bz, nz = ax * by - ay * bx;
    const double len = std::sqrt(nx * nx + ny * ny + nz * nz);
    if (len <= 0) continue;
    if (ny < 0) nx = -nx, ny = -ny, nz = -nz;
    nx /= len, ny /= len, nz /= len;
    if (!o->solid && ny < 0.2) continue;  // sides of props: their tops say enough
    const double light = std::clamp(0.55 + 0.45 * (-0.5 * nx + 0.6 * ny + 0.45 * nz), 0.25, 1.0);
    const double t = std::clamp((avg - lowY) / range, 0.0, 1.0);
    PolyShade s{};
    if (!o->solid) {
      s.colour = Colour(0.62 * light, 0.64 * light, 0.72 * light);
    } else if (poly.type == 2) {
      s.colour = Colour((0.35 + 0.45 * t) * light, (0.2 + 0.3 * t) * light, (0.16 + 0.2 * t) * light);
      s.dark = Colour(0.12, 0.06, 0.05);
      s.hatch = true;
    } else if (poly.type == 1) {
      s.colour = Colour(1.0, 0.38 + 0.2 * light, 0.05);
      s.dark = Colour(1.0, 0.85, 0.2);
      s.hatch = true;
    } else {
      s.colour = Colour((0.3 + 0.65 * t) * light, (0.24 + 0.6 * t) * light, (0.14 + 0.44 * t) * light);
    }
    FillConvex(c, xs, ys, poly.cornerCount, ShadePixel, &s);
  }
  // A faint kilometre grid.
  for (int64_t g = (minX / 1000 + 1) * 1000; g < maxX; g += 1000)
    for (int y = kMargin; y < kViewSize - kMargin; y += 3) c.Put(int(toX(double(g))), y, Colour(0.1, 0.1, 0.12));
  for (int64_t g = (minZ / 1000 + 1) * 1000; g < maxZ; g += 1000)
    for (int x = kMargin; x < kViewSize - kMargin; x += 3) c.Put(x, int(toY(double(g))), Colour(0.1, 0.1, 0.12));

  Font font;
  const bool haveFont = font.LoadFont("font1.fnt") == 1;
  auto text = [&](int x, int y, const std::string& s, uint16_t colour) {
    if (!haveFont) return;
    font.SetTextColours(0, 0);
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) font.DrawText(x + dx, y + dy, s.c_str(), c.px.data(), c.w, c.h, 1);
    font.SetTextColours(colour, 0);
    font.DrawText(x, y, s.c_str(), c.px.data(), c.w, c.h, 1);
  };
  for (const EntRow& r : rows) DrawSymbol(c, int(toX(r.x)), int(toY(r.z)), r);
  // Labels right of their symbols, or left, then below, where they would cover another.
  struct Box {
    int x0, y0, x1, y1;
  };
  std::vector<Box> placed;
  for (const EntRow& r : rows) {
    const int x = int(toX(r.x)), y = int(toY(r.z));
    placed.push_back({x - 9, y - 9, x + 9, y + 9});
  }
  const int lineHeight = haveFont ? font.FontHeight() + 2 : 10;
  for (const EntRow& r : rows) {
    if (r.type == 100) continue;
    const int x = int(toX(r.x)), y = int(toY(r.z));
    const std::string s = LabelOf(r);
    const int width = haveFont ? font.MeasureText(s.c_str()) : 0;
    const int right = std::min(x + 12, kViewSize - 4 - width), left = std::max(2, x - 12 - width);
    const Box tries[] = {{right, y - 4, right + width, y - 4 + lineHeight},
                         {right, y - 6 - lineHeight, right + width, y - 6},
                         {left, y - 4, left + width, y - 4 + lineHeight},
                         {right, y + 8, right + width, y + 8 + lineHeight},
                         {left, y + 8, left + width, y + 8 + lineHeight}};
    Box at = tries[0];
    for (const Box& t : tries) {
      bool clear = true;
      for (const Box& b : placed) clear = clear && (t.x1 < b.x0 || t.x0 > b.x1 || t.y1 < b.y0 || t.y0 > b.y1);
      if (clear) {
        at = t;
        break;
      }
    }
    placed.push_back(at);
    text(at.x0, at.y0, s, r.type == 1 ? Colour(1, 1, 1) : IsEnemy(r.type) ? Colour(1, 0.6, 0.55) : Colour(0.8, 1, 0.8));
  }
  // Legend.
  const int ly = kViewSize + 6;
  char title[160];
  snprintf(title, sizeof title, "%s  %lld x %lld  ground y %lld..%lld  %d objects  %zu records", mapName.c_str(),
           static_cast<long long>(maxX - minX), static_cast<long long>(maxZ - minZ), static_cast<long long>(minY),
           static_cast<long long>(maxY), e.store.count, rows.size());
  text(kMargin, ly, title, Colour(1, 1, 1));
  struct Key {
    const char* name;
    uint16_t colour;
  } keys[] = {{"low ground", Colour(0.3, 0.24, 0.14)}, {"high ground", Colour(0.95, 0.84, 0.58)},
              {"wall", Colour(0.6, 0.35, 0.28)},        {"damaging", Colour(1, 0.55, 0.05)},
              {"prop", Colour(0.62, 0.64, 0.72)}};
  int kx = kMargin;
  for (const Key& k : keys) {
    c.Rect(kx, ly + 24, 14, 12, k.colour);
    text(kx + 18, ly + 24, k.name, Colour(0.85, 0.85, 0.85));
    kx += 24 + (haveFont ? font.MeasureText(k.name) : 60) + 8;
  }
  if (!WritePng565(out, c.px.data(), c.w, c.h)) {
    fprintf(stderr, "kvrtool: cannot write %s\n", out.c_str());
    return 1;
  }
  printf("%s: top view of %d objects and %zu records, 1 pixel = %.1f units\n", mapName.c_str(), e.store.count,
         rows.size(), 1 / scale);
  return 0;
}

// ---- View from an entry point ------------------------------------------------------------

int EntryView(Engine3D& e, const std::string& mapName, const std::vector<EntRow>& rows, const std::string& sky,
              const Args& all, const std::string& out) {
  const std::string entry = OptionValue(all, "--from", "default");
  const EntRow* player = nullptr;
  for (const EntRow& r : rows)
    if (r.type == 1 && r.entry == entry && !player) player = &r;
  // "--from X,Z,DEGREES" looks from any spot, as a craft standing there would.
  EntRow spot{};
  int x = 0, z = 0, degrees = 0;
  if (!player && sscanf(entry.c_str(), "%d,%d,%d", &x, &z, &degrees) == 3) {
    spot.type = 1, spot.x = x, spot.z = z, spot.heading = degrees;
    player = &spot;
  }
  if (!player) {
    fprintf(stderr, "kvrtool: %s has no Player record with the entry \"%s\"\n", mapName.c_str(), entry.c_str());
    return 1;
  }
  int32_t ground = player->y - MapLimits::kHover;
  GroundHit hit;
  if (FindGround(e, player->x, player->z, &hit))
    ground = hit.y;
  else
    fprintf(stderr, "kvrtool: no ground under the entry point: drawn at the record's height\n");
  const int32_t heading = int32_t(player->heading * 1456.3);
  const double a = player->heading * 3.14159265358979 / 180;
  const double behind = atof(OptionValue(all, "--behind", "0").c_str());
  const int32_t craftY = ground + MapLimits::kHover;
  if (behind > 0) {
    // An outside view: the craft itself (its model, when it is there) seen from behind.
    const int32_t craft = e.store.Load("player1.tdo", 1, 2, 0);
    if (craft >= 0) {
      e.store.SetPosition(craft, player->x, craftY - MapLimits::kHover, player->z);
      e.store.SetAngles(craft, 0, heading, 0);
    }
  }
  e.cameraPos = {int32_t(player->x - std::sin(a) * behind), craftY + 80 + int32_t(behind * 0.35),
                 int32_t(player->z - std::cos(a) * behind)};
  e.cameraAngle = {behind > 0 ? 9000 : 4000, heading, 0};
  DrawSky(sky, e.x0, e.y0, e.x1 - e.x0, e.y1 - e.y0, e.cameraAngle.y, e.cameraAngle.x);
  e.DrawFrame(FrameBuffer);
  printf("%s from \"%s\": craft at %d, %d, %d heading %d; ground %d; %d polygons, %d vertices drawn\n",
         mapName.c_str(), entry.c_str(), player->x, craftY, player->z, player->heading, ground, e.polygonsUsed,
         e.verticesUsed);
  return SaveFramePng(out) ? 0 : 1;
}

}  // namespace

int ShowMap(const Args& all) {
  Args args = Positional(all);
  if (args.size() != 2 || !EndsWith(args[0], ".map")) {
    fprintf(stderr, "usage: kvrtool show map NAME.map OUT.png [--from ENTRY|X,Z,DEGREES] [--visibility V] [--behind D]\n");
    return 2;
  }
  // The map and everything it names are read from its own directory, as the game does.
  std::string path = args[0], name = path, dir = ExeDir;
  const size_t slash = path.find_last_of('/');
  if (slash != std::string::npos) {
    dir = path.substr(0, slash + 1);
    name = path.substr(slash + 1);
  }
  const std::string entName = name.substr(0, name.size() - 4) + ".ent";
  std::vector<EntRow> rows;
  std::string why;
  if (!ParseEnt(ReadWholeFile(dir + "/" + entName), &rows, &why))
    fprintf(stderr, "kvrtool: %s: %s; no entities shown\n", entName.c_str(), why.c_str());
  const std::string saved = ExeDir;
  SetExeDir(dir.c_str());
  Scene3D scene;
  auto engine = std::make_unique<Engine3D>();
  if (!scene.ok || !engine->Create(nullptr, "TDENG", 0, 0, 240, 320)) {
    ReportLog();
    return 1;
  }
  // The game's own loader places the objects, loads both texture packs and applies the
  // map's fog; kinds not built yet are skipped as the game skips them.
  const std::string from = OptionValue(all, "--from", "");
  LoadedMap loaded;
  const bool ok = LoadMapWithGame(*engine, dir, name, from.empty() ? "default" : from,
                                  atoi(OptionValue(all, "--visibility", "2800").c_str()), &loaded);
  // This stand-in for the driver has no form, so the loader's notes about its controls are
  // left out; everything else it said is shown.
  for (const std::string& line : loaded.log)
    if (line.find(" ptr") == std::string::npos) fprintf(stderr, "log: %s\n", line.c_str());
  int result = 1;
  if (!ok)
    fprintf(stderr, "kvrtool: %s did not load\n", name.c_str());
  else if (from.empty())
    result = TopView(*engine, name, rows, args[1]);
  else
    result = EntryView(*engine, name, rows, loaded.sky, all, args[1]);
  engine->Destroy();
  SetExeDir(saved.c_str());
  return result;
}

bool InfoMap(const std::string& name, const std::vector<unsigned char>& b) {
  if (!EndsWith(name, ".map")) return false;
  printf("%s: 3D map, %zu bytes\n", name.c_str(), b.size());
  if (b.size() < 4) return printf("  truncated before the object count\n"), true;
  const int32_t n = I32(b, 0);
  printf("  %d objects (the store holds %d with the entity models)\n", n, MapLimits::kStoreSlots);
  size_t at = 4;
  int64_t verts = 0, polys = 0;
  for (int32_t i = 0; i < n; ++i) {
    if (at + 74 + 4 > b.size()) return printf("  truncated at object %d\n", i), true;
    const int32_t x = I32(b, at), y = I32(b, at + 4), z = I32(b, at + 8), solid = I32(b, at + 70);
    at += 74;
    const int32_t nv = I32(b, at);
    if (nv < 0 || at + 8 + size_t(nv) * 16 > b.size()) return printf("  object %d: %d vertices, truncated\n", i, nv), true;
    size_t p = at + 4 + size_t(nv) * 16;
    const int32_t np = I32(b, p);
    p += 4;
    int types[3] = {};
    for (int32_t k = 0; k < np; ++k) {
      if (p + 4 > b.size()) return printf("  object %d: truncated at polygon %d\n", i, k), true;
      const int32_t c = I32(b, p);
      if ((c != 3 && c != 4) || p + 12 + 12 * size_t(c) > b.size()) return printf("  object %d: polygon %d damaged\n", i, k), true;
      const int32_t type = I32(b, p + 8 + 12 * size_t(c));
      if (type >= 0 && type < 3) ++types[type];
      p += 12 + 12 * size_t(c);
    }
    printf("  %3d at %6d %5d %6d (placed at z %6d) %s %4d vertices %3d polygons: %d plain, %d damaging, %d wall\n", i,
           x, y, z, WrapSub(0, z), solid ? "solid" : "     ", nv, np, types[0], types[1], types[2]);
    verts += nv, polys += np;
    at = p;
  }
  if (at + 512 > b.size()) return printf("  texture pack and sky names missing\n"), true;
  printf("  %lld vertices, %lld polygons in all; texture pack \"%s\", sky \"%s\"\n", static_cast<long long>(verts),
         static_cast<long long>(polys), FixedText(b, at, 256).c_str(), FixedText(b, at + 256, 256).c_str());
  if (at + 512 != b.size()) printf("  %zu bytes after the names\n", b.size() - at - 512);
  return true;
}

bool InfoEnt(const std::string& name, const std::vector<unsigned char>& b) {
  if (!EndsWith(name, ".ent")) return false;
  std::vector<EntRow> rows;
  std::string why;
  printf("%s: entity list, %zu bytes\n", name.c_str(), b.size());
  if (!ParseEnt(b, &rows, &why)) return printf("  %s: the loader refuses it\n", why.c_str()), true;
  printf("  %zu records (at most %d)\n", rows.size(), MapLimits::kMaxRecords);
  printf("  %3s %-4s %-14s %7s %6s %7s %4s %4s  %-20s %s\n", "#", "type", "name", "x", "y", "z", "w", "deg", "tag",
         "entry");
  int slots = 0, playerSlots = 0;
  for (size_t i = 0; i < rows.size(); ++i) {
    const EntRow& r = rows[i];
    printf("  %3zu %-4d %-14s %7d %6d %7d %4d %4d  %-20s %s\n", i, r.type, EntityTypeName(r.type), r.x, r.y, r.z, r.w,
           r.heading, r.tag.c_str(), r.entry.c_str());
    if (r.type == 1) playerSlots = EntityModelSlots(r.type);
    else slots += EntityModelSlots(r.type);
  }
  printf("  the kinds of these records load about %d objects into the store\n", slots + playerSlots);
  if (b.size() != 4 + rows.size() * 220) printf("  %zu bytes after the last record\n", b.size() - 4 - rows.size() * 220);
  return true;
}
