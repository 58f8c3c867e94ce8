// kvrtool show model / frames: models drawn by the real 3D pipeline over a sky, and the
// info printers for .tdo models and texture packs.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "core/core.h"
#include "engine3d/engine3d.h"
#include "gfx2d/gfx2d.h"
#include "kvrtool.h"

Scene3D::Scene3D() {
  g.Create(0, 240, 320, FrameBuffer);
  Gfx2D = &g;
  ok = math.Create(0);
  Math = &math;
  ClearFrame();
}

Scene3D::~Scene3D() {
  Math = nullptr;
  math.Destroy();
  Gfx2D = nullptr;
}

// The sky of a view (a panorama when it loads, else a dusk gradient) over a cell.
void DrawSky(const std::string& sky, int32_t x, int32_t y, int32_t w, int32_t h,
             int32_t heading, int32_t pitch) {
  Background bg(nullptr, "SKY", x, y, w, h);
  bg.plain = 0;  // an image background, not a colour fill
  if (WithFileDirectory(sky, [&](const std::string& n) { return bg.LoadBackground(n.c_str()); }) == 1) {
    bg.heading = heading;
    bg.pitch = pitch + 51000;
    bg.DrawBackground(FrameBuffer);
    bg.Release();
    return;
  }
  for (int32_t r = 0; r < h; ++r) {
    int32_t t = r * 31 / std::max(1, h - 1);
    uint16_t c = MakeColour(6 + t / 3, 8 + t / 2, 16 + t / 3);
    std::fill(FrameBuffer + (y + r) * 240 + x, FrameBuffer + (y + r) * 240 + x + w, c);
  }
}

namespace {

constexpr double kPi = 3.14159265358979323846;

// The sky behind an engine's viewport, turned with its camera.
void BuildSky(const Engine3D& e, const std::string& sky) {
  DrawSky(sky, e.x0, e.y0, e.x1 - e.x0, e.y1 - e.y0, e.cameraAngle.y, e.cameraAngle.x);
}

struct Orbit {
  double yaw = 215, pitch = 12, dist = 0;  // degrees, world units (0: fit the model)
};

// Centre and radius of an object's vertices.
void Bounds(const Object3D* o, Vec3* centre, int32_t* radius) {
  int32_t lo[3] = {INT32_MAX, INT32_MAX, INT32_MAX}, hi[3] = {INT32_MIN, INT32_MIN, INT32_MIN};
  for (int32_t i = 0; i < o->vertexCount; ++i) {
    const int32_t p[3] = {o->vertices[i].x, o->vertices[i].y, o->vertices[i].z};
    for (int k = 0; k < 3; ++k) lo[k] = std::min(lo[k], p[k]), hi[k] = std::max(hi[k], p[k]);
  }
  if (o->vertexCount == 0) {
    *centre = {0, 0, 0};
    *radius = 1;
    return;
  }
  *centre = {(lo[0] + hi[0]) / 2, (lo[1] + hi[1]) / 2, (lo[2] + hi[2]) / 2};
  int32_t r = 1;
  for (int32_t i = 0; i < o->vertexCount; ++i)
    r = std::max(r, MathTables::Distance3(centre->x, centre->y, centre->z, o->vertices[i].x,
                                          o->vertices[i].y, o->vertices[i].z));
  *radius = r;
}

// Places the camera on a sphere around `target`, looking at it.
void AimCamera(Engine3D& e, const Vec3& target, const Orbit& orbit) {
  double y = orbit.yaw * kPi / 180, p = orbit.pitch * kPi / 180;
  double fx = std::sin(y) * std::cos(p), fy = -std::sin(p), fz = std::cos(y) * std::cos(p);
  e.cameraPos = {int32_t(std::lround(target.x - fx * orbit.dist)),
                 int32_t(std::lround(target.y - fy * orbit.dist)),
                 int32_t(std::lround(target.z - fz * orbit.dist))};
  e.cameraAngle = {int32_t(std::lround(orbit.pitch * kDegreesToAngle)),
                   int32_t(std::lround(orbit.yaw * kDegreesToAngle)), 0};
}

Orbit ReadOrbit(const Args& all) {
  Orbit o;
  o.yaw = atof(OptionValue(all, "--yaw", "215").c_str());
  o.pitch = atof(OptionValue(all, "--pitch", "12").c_str());
  o.dist = atof(OptionValue(all, "--dist", "0").c_str());
  return o;
}

// An engine over one cell with the entity pack loaded and the model in slot 0.
bool OpenView(Engine3D& e, int32_t x, int32_t y, int32_t w, int32_t h, const std::string& pack,
              const std::string& model) {
  if (!e.Create(nullptr, "TDENG", x, y, w, h)) return false;
  if (!WithFileDirectory(pack, [&](const std::string& n) {
        return e.LoadTexturePack(n.c_str(), kBankEntities) == 1;
      })) {
    fprintf(stderr, "kvrtool: cannot load texture pack %s\n", pack.c_str());
    return false;
  }
  // A map pack in bank 0 too, so map geometry shows its textures (same pack if none given).
  WithFileDirectory(pack, [&](const std::string& n) { return e.LoadTexturePack(n.c_str(), kBankMap); });
  int32_t index = WithFileDirectory(model, [&](const std::string& n) {
    return e.store.Load(n.c_str(), 1, 2, 0);
  });
  if (index < 0) {
    fprintf(stderr, "kvrtool: cannot load model %s\n", model.c_str());
    return false;
  }
  return true;
}

}  // namespace

int ShowModel(const Args& all) {
  Args args = Positional(all);
  if (args.size() != 3) {
    fprintf(stderr, "usage: kvrtool show model FILE.tdo PACK.tex OUT.png [--yaw A] [--pitch P] "
                    "[--dist D] [--sky FILE]\n");
    return 2;
  }
  Scene3D scene;
  auto engine = std::make_unique<Engine3D>();
  if (!scene.ok || !OpenView(*engine, 0, 0, 240, 320, args[1], args[0])) {
    ReportLog();
    return 1;
  }
  Object3D* o = engine->store.Get(0);
  Vec3 centre;
  int32_t radius;
  Bounds(o, &centre, &radius);
  Orbit orbit = ReadOrbit(all);
  if (orbit.dist <= 0) orbit.dist = radius * 1.7;
  AimCamera(*engine, centre, orbit);
  BuildSky(*engine, OptionValue(all, "--sky", "sky_desert.spr"));
  engine->DrawFrame(FrameBuffer);
  printf("%s: %d vertices, %d polygons, radius %d; %d polygons drawn from %s\n", args[0].c_str(),
         o->vertexCount, o->polygonCount, o->radius, engine->polygonsUsed, args[1].c_str());
  engine->Destroy();
  return SaveFramePng(args[2]) ? 0 : 1;
}

int ShowFrames(const Args& all) {
  // The pack may be named anywhere among the words (default "ents.tex").
  Args words = Positional(all), args;
  std::string pack = "ents.tex";
  for (const std::string& w : words) {
    if (w.size() > 4 && w.compare(w.size() - 4, 4, ".tex") == 0)
      pack = w;
    else
      args.push_back(w);
  }
  if (args.size() < 3) {
    fprintf(stderr, "usage: kvrtool show frames BASE.tdo [PACK.tex] FRAME.tdo... OUT.png [--yaw A] "
                    "[--pitch P] [--dist D] [--sky FILE]\n"
                    "  a 3 x 3 strip of blends from each frame to the next (at most 5 frames)\n");
    return 2;
  }
  std::string base = args[0], out = args.back();
  Args frames(args.begin() + 1, args.end() - 1);
  if (frames.size() > size_t(FrameSet::kMaxFrames)) {
    fprintf(stderr, "kvrtool: at most %d frames\n", FrameSet::kMaxFrames);
    return 2;
  }
  Scene3D scene;
  ClearFrame();
  auto engine = std::make_unique<Engine3D>();
  if (!scene.ok || !OpenView(*engine, 0, 0, 80, 106, pack, base)) {
    ReportLog();
    return 1;
  }
  Object3D* o = engine->store.Get(0);
  FrameSet set;
  set.Create(0, engine.get());
  set.SetBase(o);
  for (const std::string& f : frames) {
    bool added = WithFileDirectory(f, [&](const std::string& n) { return set.AddFrame(n.c_str(), 0) == 1; });
    if (!added) {
      fprintf(stderr, "kvrtool: frame %s not added\n", f.c_str());
      ReportLog();
      return 1;
    }
  }
  Vec3 centre;
  int32_t radius;
  Bounds(o, &centre, &radius);
  Orbit orbit = ReadOrbit(all);
  if (orbit.dist <= 0) orbit.dist = radius * 2.3;
  const int32_t pairs = std::max<int32_t>(1, int32_t(frames.size()) - 1);
  const int32_t steps = std::max<int32_t>(1, 8 / pairs);
  const std::string sky = OptionValue(all, "--sky", "sky_desert.spr");
  int cell = 0;
  for (int32_t pair = 0; pair < pairs && cell < 9; ++pair) {
    for (int32_t s = 0; s <= steps && cell < 9; ++s) {
      if (s == steps && pair + 1 < pairs) break;  // the next pair starts on this frame
      int32_t a = frames.size() == 1 ? 1 : pair + 1, b = frames.size() == 1 ? 1 : pair + 2;
      int32_t t = s * 256 / steps;
      set.lastBlend = -1;  // every cell blends afresh
      set.Blend(t, a, b);
      int32_t cx = (cell % 3) * 80, cy = (cell / 3) * 106;
      engine->x0 = cx, engine->x1 = cx + 80, engine->y0 = cy, engine->y1 = cy + 106;
      AimCamera(*engine, centre, orbit);
      BuildSky(*engine, sky);
      engine->DrawFrame(FrameBuffer);
      printf("cell %d: frames %d -> %d at %d/256\n", cell, a, b, t);
      ++cell;
    }
  }
  engine->Destroy();
  return SaveFramePng(out) ? 0 : 1;
}

namespace {

int32_t I32(const std::vector<unsigned char>& b, size_t at) { return int32_t(ReadU32LE(b.data() + at)); }

}  // namespace

bool InfoTdo(const std::string& name, const std::vector<unsigned char>& bytes) {
  if (!EndsWith(name, ".tdo")) return false;
  printf("%s: 3D object, %zu bytes\n", name.c_str(), bytes.size());
  if (bytes.size() < 4) return printf("  truncated before the vertex count\n"), true;
  int32_t nv = I32(bytes, 0);
  if (nv < 0 || size_t(nv) * 16 + 8 > bytes.size()) return printf("  %d vertices: truncated\n", nv), true;
  int32_t lo[3] = {INT32_MAX, INT32_MAX, INT32_MAX}, hi[3] = {INT32_MIN, INT32_MIN, INT32_MIN};
  int32_t shadeLo = INT32_MAX, shadeHi = INT32_MIN;
  for (int32_t i = 0; i < nv; ++i) {
    for (int k = 0; k < 3; ++k) {
      int32_t c = I32(bytes, 4 + size_t(i) * 16 + size_t(k) * 4);
      if (k == 2) c = WrapSub(0, c);  // as loaded
      lo[k] = std::min(lo[k], c), hi[k] = std::max(hi[k], c);
    }
    int32_t s = I32(bytes, 4 + size_t(i) * 16 + 12);
    shadeLo = std::min(shadeLo, s), shadeHi = std::max(shadeHi, s);
  }
  size_t at = 4 + size_t(nv) * 16;
  int32_t np = I32(bytes, at);
  at += 4;
  int tri = 0, quad = 0, bad = 0, used[32] = {}, types[256] = {};
  for (int32_t i = 0; i < np; ++i) {
    if (at + 4 > bytes.size()) return printf("  %d polygons: truncated at polygon %d\n", np, i), true;
    int32_t n = I32(bytes, at);
    if (n != 3 && n != 4) return printf("  polygon %d has %d corners\n", i, n), true;
    if (at + 12 + 12 * size_t(n) > bytes.size()) return printf("  truncated at polygon %d\n", i), true;
    for (int k = 0; k < n; ++k) {
      int32_t index = I32(bytes, at + 4 + size_t(k) * 12);
      if (index < 0 || index >= nv) ++bad;
    }
    int32_t texture = I32(bytes, at + 4 + 12 * size_t(n));
    int32_t type = I32(bytes, at + 8 + 12 * size_t(n));
    if (texture >= 0 && texture < 32) ++used[texture]; else ++bad;
    ++types[type & 255];
    (n == 3 ? tri : quad)++;
    at += 12 + 12 * size_t(n);
  }
  printf("  %d vertices (limit 1100), %d polygons (limit 500): %d triangles, %d quadrilaterals\n",
         nv, np, tri, quad);
  if (nv > 0)
    printf("  extent x %d..%d, y %d..%d, z %d..%d; shades %d..%d (rows %d..%d)\n", lo[0], hi[0],
           lo[1], hi[1], lo[2], hi[2], shadeLo, shadeHi, shadeLo >> 8, shadeHi >> 8);
  printf("  textures:");
  for (int t = 0; t < 32; ++t)
    if (used[t]) printf(" %d(%d)", t, used[t]);
  printf("\n  types:");
  for (int t = 0; t < 256; ++t)
    if (types[t]) printf(" %d(%d)", t, types[t]);
  printf("\n");
  if (bad) printf("  %d corners or textures out of range: the loader refuses this file\n", bad);
  if (at != bytes.size()) printf("  %zu bytes after the last polygon\n", bytes.size() - at);
  return true;
}

bool InfoTexPack(const std::string& name, const std::vector<unsigned char>& bytes) {
  if (!EndsWith(name, ".tex")) return false;
  printf("%s: texture pack, %zu bytes (complete packs are %ld)\n", name.c_str(), bytes.size(),
         kTexPackBytes);
  if (bytes.size() < size_t(kTexPackTexturesBytes)) return printf("  textures truncated\n"), true;
  for (int t = 0; t < kTexturesPerBank; ++t) {
    int lo = 255, hi = 0;
    for (int i = 0; i < kTextureBytes; ++i) {
      int c = bytes[size_t(t) * kTextureBytes + i];
      lo = std::min(lo, c), hi = std::max(hi, c);
    }
    printf("  texture %2d: colours %3d..%3d%s", t, lo, hi, t % 2 ? "\n" : "   ");
  }
  if (bytes.size() < size_t(kTexPackTexturesBytes + kTexPackLutBytes))
    return printf("  look-up table truncated\n"), true;
  // The table is stored back to front; show row 0, 40 and 63 of colour 0x0F as 5-bit r,g,b.
  auto entry = [&](int row, int colour) {
    size_t k = size_t(16383 - (row * 256 + colour));
    return ReadU16BE(bytes.data() + kTexPackTexturesBytes + 2 * k);
  };
  for (int row : {0, 8, 40, 63}) {
    uint16_t c = entry(row, 0x0F);
    printf("  row %2d, colour 15: r %2d g %2d b %2d\n", row, c & 31, (c >> 5) & 31, (c >> 10) & 31);
  }
  if (bytes.size() < size_t(kTexPackBytes)) printf("  palette missing: the game refuses this pack\n");
  return true;
}
