// Model builder: primitives, texture coordinates, baked shades, explosion frames, .tdo output.
#include "model_builder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "bake_noise.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTexels = 64.0;        // one texture width
constexpr double kMaxSpanTexels = 127;  // u and v are 16-bit values in 1/256 texel

// Orthonormal frame with `axis` as its y and the primitive's start as origin.
Affine FrameAlong(V3 origin, V3 axis, V3 sideHint) {
  V3 y = Normalised(axis);
  V3 x = sideHint - y * Dot(sideHint, y);
  if (Length(x) < 1e-6) {
    V3 alt = std::fabs(y.x) < 0.9 ? V3{1, 0, 0} : V3{0, 0, 1};
    x = alt - y * Dot(alt, y);
  }
  x = Normalised(x);
  V3 z = Cross(x, y);
  Affine f;
  f.m[0] = x.x, f.m[1] = y.x, f.m[2] = z.x;
  f.m[3] = x.y, f.m[4] = y.y, f.m[5] = z.y;
  f.m[6] = x.z, f.m[7] = y.z, f.m[8] = z.z;
  f.t = origin;
  return f;
}

// Rotation of v about a unit axis (Rodrigues).
V3 Rotate(V3 v, V3 axis, double radians) {
  double c = std::cos(radians), s = std::sin(radians);
  return v * c + Cross(axis, v) * s + axis * (Dot(axis, v) * (1 - c));
}

// Newell normal of a polygon (any winding gives the same line, sign by winding).
V3 NewellNormal(const std::vector<V3>& p) {
  V3 n;
  for (size_t i = 0; i < p.size(); ++i) {
    const V3& a = p[i];
    const V3& b = p[(i + 1) % p.size()];
    n.x += (a.y - b.y) * (a.z + b.z);
    n.y += (a.z - b.z) * (a.x + b.x);
    n.z += (a.x - b.x) * (a.y + b.y);
  }
  return n;
}

V3 Centroid(const std::vector<V3>& p) {
  V3 c;
  for (const V3& q : p) c = c + q;
  return c * (1.0 / double(p.size()));
}

// Texture coordinates (texels) of a flat face from its own plane: u to the viewer's right,
// v downwards (or backwards on faces that look up or down).
std::vector<double> PlanarUV(const std::vector<V3>& local, const Skin& skin) {
  V3 n = Normalised(NewellNormal(local));
  V3 ref = std::fabs(n.y) >= 0.7 ? V3{0, 0, 1} : V3{0, 1, 0};
  V3 ua = Normalised(Cross(n, ref));
  V3 va = Cross(n, ua);
  std::vector<double> uv;
  double umin = 1e30, umax = -1e30, vmin = 1e30, vmax = -1e30;
  for (const V3& p : local) {
    double u = Dot(p, ua), v = Dot(p, va);
    uv.push_back(u);
    uv.push_back(v);
    umin = std::min(umin, u), umax = std::max(umax, u);
    vmin = std::min(vmin, v), vmax = std::max(vmax, v);
  }
  for (size_t i = 0; i < uv.size(); i += 2) {
    if (skin.texelsPerUnit <= 0) {
      uv[i] = umax > umin ? (uv[i] - umin) / (umax - umin) * (kTexels - 0.01) : 0;
      uv[i + 1] = vmax > vmin ? (uv[i + 1] - vmin) / (vmax - vmin) * (kTexels - 0.01) : 0;
    } else {
      // Keep the face's smallest coordinate within the first texture repeat.
      double u0 = std::floor(umin * skin.texelsPerUnit / kTexels) * kTexels;
      double v0 = std::floor(vmin * skin.texelsPerUnit / kTexels) * kTexels;
      uv[i] = uv[i] * skin.texelsPerUnit - u0;
      uv[i + 1] = uv[i + 1] * skin.texelsPerUnit - v0;
    }
  }
  return uv;
}

// Cofactor matrix: turns normals under a non-uniform scale (up to length).
V3 NormalThrough(const Affine& a, V3 n) {
  const double* m = a.m;
  double c[9] = {m[4] * m[8] - m[5] * m[7], m[5] * m[6] - m[3] * m[8], m[3] * m[7] - m[4] * m[6],
                 m[2] * m[7] - m[1] * m[8], m[0] * m[8] - m[2] * m[6], m[1] * m[6] - m[0] * m[7],
                 m[1] * m[5] - m[2] * m[4], m[2] * m[3] - m[0] * m[5], m[0] * m[4] - m[1] * m[3]};
  return Normalised(V3{c[0] * n.x + c[1] * n.y + c[2] * n.z, c[3] * n.x + c[4] * n.y + c[5] * n.z,
                       c[6] * n.x + c[7] * n.y + c[8] * n.z});
}

double Random01(uint32_t seed, int piece, int k) { return Hash01(piece, k, 7, seed); }

}  // namespace

double Dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V3 Cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double Length(V3 a) { return std::sqrt(Dot(a, a)); }
V3 Normalised(V3 a) {
  double l = Length(a);
  return l > 1e-12 ? a * (1.0 / l) : V3{0, 1, 0};
}

V3 Affine::Point(V3 p) const { return Direction(p) + t; }
V3 Affine::Direction(V3 d) const {
  return {m[0] * d.x + m[1] * d.y + m[2] * d.z, m[3] * d.x + m[4] * d.y + m[5] * d.z,
          m[6] * d.x + m[7] * d.y + m[8] * d.z};
}
Affine Affine::Then(const Affine& local) const {
  Affine r;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      r.m[i * 3 + j] = m[i * 3] * local.m[j] + m[i * 3 + 1] * local.m[3 + j] +
                       m[i * 3 + 2] * local.m[6 + j];
  r.t = Point(local.t);
  return r;
}

ModelBuilder::ModelBuilder() { SetLight(V3{-0.45, 0.75, 0.5}); }

void ModelBuilder::SetLight(V3 towardsLight, double darkRow, double litRow) {
  light_ = Normalised(towardsLight);
  darkRow_ = darkRow;
  litRow_ = litRow;
}

void ModelBuilder::Push() { stack_.push_back(current_); }
void ModelBuilder::Pop() {
  if (stack_.empty()) return;
  current_ = stack_.back();
  stack_.pop_back();
}
void ModelBuilder::Translate(V3 d) {
  Affine a;
  a.t = d;
  current_ = current_.Then(a);
}
void ModelBuilder::RotateX(double degrees) {
  double r = degrees * kPi / 180, c = std::cos(r), s = std::sin(r);
  Affine a;
  a.m[4] = c, a.m[5] = -s, a.m[7] = s, a.m[8] = c;
  current_ = current_.Then(a);
}
void ModelBuilder::RotateY(double degrees) {
  double r = degrees * kPi / 180, c = std::cos(r), s = std::sin(r);
  Affine a;
  a.m[0] = c, a.m[2] = s, a.m[6] = -s, a.m[8] = c;
  current_ = current_.Then(a);
}
void ModelBuilder::RotateZ(double degrees) {
  double r = degrees * kPi / 180, c = std::cos(r), s = std::sin(r);
  Affine a;
  a.m[0] = c, a.m[1] = -s, a.m[3] = s, a.m[4] = c;
  current_ = current_.Then(a);
}
void ModelBuilder::ScaleBy(V3 s) {
  Affine a;
  a.m[0] = s.x, a.m[4] = s.y, a.m[8] = s.z;
  current_ = current_.Then(a);
}

void ModelBuilder::BeginPiece() {
  inPiece_ = true;
  piece_ = pieceCount_++;
}
void ModelBuilder::EndPiece() { inPiece_ = false; }
void ModelBuilder::StartPrimitive() {
  if (!inPiece_) piece_ = pieceCount_++;
}

int ModelBuilder::ShadeOf(V3 n, bool glow) const {
  double row;
  if (glow) {
    row = litRow_ + 2;
  } else {
    n = Normalised(n);
    double direct = std::max(0.0, Dot(n, light_));
    double sky = 0.5 + 0.5 * n.y;
    double intensity = 0.62 * direct + 0.28 * sky + 0.1;
    row = darkRow_ + (litRow_ - darkRow_) * intensity;
  }
  return std::clamp(int(std::lround(row * 256)), 0, 16383);
}

int ModelBuilder::AddVert(V3 p, int shade) {
  if (piece_ < 0) piece_ = pieceCount_++;
  vertices_.push_back(Vert{p, shade, piece_});
  return int(vertices_.size()) - 1;
}

int ModelBuilder::Vertex(V3 p, V3 normal, bool glow) {
  return AddVert(current_.Point(p), ShadeOf(NormalThrough(current_, normal), glow));
}

void ModelBuilder::AddPoly(const std::vector<int>& corners, const std::vector<double>& uv,
                           const Skin& skin, V3 outward) {
  Poly poly{};
  poly.n = int(corners.size());
  poly.texture = skin.texture;
  poly.type = skin.type;
  std::vector<V3> pts;
  for (int c : corners) pts.push_back(vertices_[c].p);
  bool flip = Dot(NewellNormal(pts), outward) < 0;
  for (int i = 0; i < poly.n; ++i) {
    int k = flip ? poly.n - 1 - i : i;
    poly.corner[i] = corners[k];
    poly.u[i] = int(std::lround(uv[2 * k] * 256));
    poly.v[i] = int(std::lround(uv[2 * k + 1] * 256));
  }
  polygons_.push_back(poly);
}

void ModelBuilder::Face(std::initializer_list<int> corners, std::initializer_list<double> uv,
                        const Skin& skin, V3 outward) {
  AddPoly(std::vector<int>(corners), std::vector<double>(uv), skin, outward);
}

void ModelBuilder::FlatFace(const std::vector<V3>& localIn, const Skin& skin, V3 facing) {
  // Drop repeated corners so collapsed block edges make triangles.
  std::vector<V3> local;
  for (const V3& p : localIn)
    if (local.empty() || Length(p - local.back()) > 1e-6) local.push_back(p);
  while (local.size() > 1 && Length(local.front() - local.back()) <= 1e-6) local.pop_back();
  if (local.size() < 3) return;
  if (Length(facing) > 0 && Dot(NewellNormal(local), facing) < 0)
    std::reverse(local.begin(), local.end());
  std::vector<V3> model;
  for (const V3& p : local) model.push_back(current_.Point(p));
  V3 normal = NewellNormal(model);
  if (Length(normal) < 1e-9) return;
  int shade = ShadeOf(normal, skin.glow);
  std::vector<int> idx;
  for (const V3& p : model) idx.push_back(AddVert(p, shade));
  AddPoly(idx, PlanarUV(local, skin), skin, normal);
}

void ModelBuilder::Block(const V3 c[8], const Skin& skin) {
  StartPrimitive();
  static const int kFaces[6][4] = {{0, 1, 2, 3}, {4, 5, 6, 7}, {0, 1, 5, 4},
                                   {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
  V3 centre;
  for (int i = 0; i < 8; ++i) centre = centre + c[i];
  centre = centre * 0.125;
  for (const auto& f : kFaces) {
    std::vector<V3> pts = {c[f[0]], c[f[1]], c[f[2]], c[f[3]]};
    // Orient by the block's centre: the face must look away from it.
    std::vector<V3> unique;
    for (const V3& p : pts)
      if (unique.empty() || Length(p - unique.back()) > 1e-6) unique.push_back(p);
    if (unique.size() >= 3 && Dot(NewellNormal(unique), Centroid(unique) - centre) < 0)
      std::reverse(pts.begin(), pts.end());
    FlatFace(pts, skin);
  }
}

void ModelBuilder::Box(V3 centre, V3 size, const Skin& skin) {
  Wedge(centre, size, 0, 0, skin);
}

void ModelBuilder::Wedge(V3 c, V3 s, double slope, double drop, const Skin& skin) {
  double x0 = c.x - s.x / 2, x1 = c.x + s.x / 2;
  double y0 = c.y - s.y / 2, y1 = c.y + s.y / 2;
  double z0 = c.z - s.z / 2, z1 = c.z + s.z / 2;
  double zf = z1 - slope * s.z, yf = y1 - drop * s.y;
  V3 corners[8] = {{x0, y0, z0}, {x1, y0, z0}, {x1, y0, z1}, {x0, y0, z1},
                   {x0, y1, z0}, {x1, y1, z0}, {x1, yf, zf}, {x0, yf, zf}};
  Block(corners, skin);
}

void ModelBuilder::Beam(V3 a, V3 b, double width, double depth, V3 side, const Skin& skin) {
  double len = Length(b - a);
  Push();
  current_ = current_.Then(FrameAlong(a, b - a, side));
  Box(V3{0, len / 2, 0}, V3{width, len, depth}, skin);
  Pop();
}

void ModelBuilder::Panel(V3 c, V3 across, V3 up, V3 facing, const Skin& skin) {
  StartPrimitive();
  FlatFace({c - across - up, c + across - up, c + across + up, c - across + up}, skin, facing);
}

void ModelBuilder::Prism(V3 a, V3 b, double radius, int sides, const Skin& skin, bool caps) {
  StartPrimitive();
  double len = Length(b - a);
  Push();
  current_ = current_.Then(FrameAlong(a, b - a, V3{1, 0, 0}));
  std::vector<V3> bottom, top;
  for (int i = 0; i < sides; ++i) {
    double t = 2 * kPi * (i + 0.5) / sides;
    bottom.push_back(V3{radius * std::cos(t), 0, radius * std::sin(t)});
    top.push_back(V3{radius * std::cos(t), len, radius * std::sin(t)});
  }
  // Faces are oriented from the axis outward.
  auto face = [&](std::vector<V3> pts, V3 away) {
    if (Dot(NewellNormal(pts), away) < 0) std::reverse(pts.begin(), pts.end());
    FlatFace(pts, skin);
  };
  for (int i = 0; i < sides; ++i) {
    int j = (i + 1) % sides;
    V3 mid = (bottom[i] + bottom[j]) * 0.5;
    face({bottom[i], bottom[j], top[j], top[i]}, V3{mid.x, 0, mid.z});
  }
  if (caps) {
    // The loader takes 3 or 4 corners: larger caps become a fan around corner 0.
    auto cap = [&](const std::vector<V3>& ring, V3 away) {
      for (int k = 1; k + 1 < sides; k += 2) {
        std::vector<V3> part = {ring[0], ring[size_t(k)], ring[size_t(k) + 1]};
        if (k + 2 < sides) part.push_back(ring[size_t(k) + 2]);
        face(part, away);
      }
    };
    cap(bottom, V3{0, -1, 0});
    cap(top, V3{0, 1, 0});
  }
  Pop();
}

void ModelBuilder::Cylinder(V3 a, V3 b, double radius, int sides, const Skin& skin, bool caps) {
  Cone(a, b, radius, radius, sides, skin, caps);
}

void ModelBuilder::Cone(V3 a, V3 b, double ra, double rb, int sides, const Skin& skin,
                        bool caps) {
  StartPrimitive();
  double len = Length(b - a);
  Push();
  current_ = current_.Then(FrameAlong(a, b - a, V3{1, 0, 0}));
  double slopeY = len > 0 ? (ra - rb) / len : 0;
  double around = skin.texelsPerUnit > 0
                      ? std::max(1.0, std::round(2 * kPi * std::max(ra, rb) * skin.texelsPerUnit / kTexels))
                      : 1.0;
  double along = skin.texelsPerUnit > 0 ? std::min(len * skin.texelsPerUnit, kMaxSpanTexels)
                                        : kTexels - 0.01;
  std::vector<int> lo, hi;
  for (int i = 0; i < sides; ++i) {
    double t = 2 * kPi * i / sides;
    V3 radial{std::cos(t), 0, std::sin(t)};
    V3 n = Normalised(V3{radial.x, slopeY, radial.z});
    lo.push_back(Vertex(radial * ra, n, skin.glow));
    hi.push_back(Vertex(radial * rb + V3{0, len, 0}, n, skin.glow));
  }
  for (int i = 0; i < sides; ++i) {
    int j = (i + 1) % sides;
    // Each face keeps its own coordinates within the first repeat (they wrap at 64).
    double u0 = std::fmod(kTexels * around * i / sides, kTexels);
    double u1 = u0 + kTexels * around / sides;
    double tm = 2 * kPi * (i + 0.5) / sides;
    V3 out = current_.Direction(V3{std::cos(tm), 0, std::sin(tm)});
    if (rb <= 1e-9) {
      AddPoly({lo[i], lo[j], hi[i]}, {u0, along, u1, along, (u0 + u1) / 2, 0}, skin, out);
    } else if (ra <= 1e-9) {
      AddPoly({lo[i], hi[j], hi[i]}, {(u0 + u1) / 2, along, u1, 0, u0, 0}, skin, out);
    } else {
      AddPoly({lo[i], lo[j], hi[j], hi[i]}, {u0, along, u1, along, u1, 0, u0, 0}, skin, out);
    }
  }
  if (caps) {
    auto cap = [&](double y, double r, V3 away) {
      if (r <= 1e-9) return;
      std::vector<V3> ring;
      for (int i = 0; i < sides; ++i) {
        double t = 2 * kPi * i / sides;
        ring.push_back(V3{r * std::cos(t), y, r * std::sin(t)});
      }
      if (Dot(NewellNormal(ring), away) < 0) std::reverse(ring.begin(), ring.end());
      // A fan of quadrilaterals (and a last triangle for odd counts) around corner 0.
      for (int k = 1; k + 1 < sides; k += 2) {
        std::vector<V3> part = {ring[0], ring[k], ring[k + 1]};
        if (k + 2 < sides) part.push_back(ring[k + 2]);
        FlatFace(part, skin);
      }
    };
    cap(0, ra, V3{0, -1, 0});
    cap(len, rb, V3{0, 1, 0});
  }
  Pop();
}

void ModelBuilder::Sphere(V3 centre, double radius, int rings, int segments, const Skin& skin) {
  StartPrimitive();
  Push();
  Translate(centre);
  int northPole = Vertex(V3{0, radius, 0}, V3{0, 1, 0}, skin.glow);
  std::vector<std::vector<int>> band;
  for (int i = 1; i < rings; ++i) {
    double phi = kPi * i / rings;
    std::vector<int> row;
    for (int j = 0; j < segments; ++j) {
      double t = 2 * kPi * j / segments;
      V3 n{std::sin(phi) * std::cos(t), std::cos(phi), std::sin(phi) * std::sin(t)};
      row.push_back(Vertex(n * radius, n, skin.glow));
    }
    band.push_back(row);
  }
  int southPole = Vertex(V3{0, -radius, 0}, V3{0, -1, 0}, skin.glow);
  auto u = [&](int j) { return (kTexels - 0.01) * j / segments; };
  auto v = [&](int i) { return (kTexels - 0.01) * i / rings; };
  for (int i = 0; i < rings; ++i) {
    for (int j = 0; j < segments; ++j) {
      int k = (j + 1) % segments;
      double tm = 2 * kPi * (j + 0.5) / segments, pm = kPi * (i + 0.5) / rings;
      V3 out = current_.Direction(V3{std::sin(pm) * std::cos(tm), std::cos(pm), std::sin(pm) * std::sin(tm)});
      if (i == 0) {
        AddPoly({northPole, band[0][j], band[0][k]}, {(u(j) + u(j + 1)) / 2, v(0), u(j), v(1), u(j + 1), v(1)}, skin, out);
      } else if (i == rings - 1) {
        AddPoly({band[i - 1][j], southPole, band[i - 1][k]},
                {u(j), v(i), (u(j) + u(j + 1)) / 2, v(i + 1), u(j + 1), v(i)}, skin, out);
      } else {
        AddPoly({band[i - 1][j], band[i][j], band[i][k], band[i - 1][k]},
                {u(j), v(i), u(j), v(i + 1), u(j + 1), v(i + 1), u(j + 1), v(i)}, skin, out);
      }
    }
  }
  Pop();
}

bool ModelBuilder::SameShape(const ModelBuilder& other) const {
  if (vertices_.size() != other.vertices_.size() || polygons_.size() != other.polygons_.size())
    return false;
  for (size_t i = 0; i < polygons_.size(); ++i) {
    const Poly& a = polygons_[i];
    const Poly& b = other.polygons_[i];
    if (a.n != b.n) return false;
    for (int k = 0; k < a.n; ++k)
      if (a.corner[k] != b.corner[k]) return false;
  }
  return true;
}

ModelBuilder ModelBuilder::Exploded(double distance, uint32_t seed) const {
  ModelBuilder out = *this;
  V3 lo{1e30, 1e30, 1e30}, hi{-1e30, -1e30, -1e30};
  for (const Vert& v : vertices_) {
    lo = {std::min(lo.x, v.p.x), std::min(lo.y, v.p.y), std::min(lo.z, v.p.z)};
    hi = {std::max(hi.x, v.p.x), std::max(hi.y, v.p.y), std::max(hi.z, v.p.z)};
  }
  V3 centre = (lo + hi) * 0.5;
  std::vector<V3> sum(size_t(pieceCount_) + 1);
  std::vector<int> count(size_t(pieceCount_) + 1, 0);
  for (const Vert& v : vertices_) {
    sum[size_t(v.piece)] = sum[size_t(v.piece)] + v.p;
    ++count[size_t(v.piece)];
  }
  for (Vert& v : out.vertices_) {
    int p = v.piece;
    V3 c = sum[size_t(p)] * (1.0 / count[size_t(p)]);
    V3 dir = c - centre;
    dir.y *= 0.5;
    dir = Normalised(dir) + V3{Random01(seed, p, 0) - 0.5, Random01(seed, p, 1) - 0.2,
                               Random01(seed, p, 2) - 0.5};
    dir = Normalised(dir);
    V3 move = dir * (distance * (0.55 + 0.9 * Random01(seed, p, 3)));
    // Pieces land on or fly above the ground, never sink into it.
    if (c.y + move.y < 8) move.y = 8 - c.y;
    V3 axis = Normalised(V3{Random01(seed, p, 4) - 0.5, Random01(seed, p, 5) - 0.5,
                            Random01(seed, p, 6) - 0.5});
    double angle = (40 + 100 * Random01(seed, p, 7)) * kPi / 180;
    v.p = c + Rotate(v.p - c, axis, angle) + move;
  }
  return out;
}

Bytes ModelBuilder::ToTdo() const {
  Bytes out;
  PutU32LE(out, uint32_t(vertices_.size()));
  for (const Vert& v : vertices_) {
    PutU32LE(out, uint32_t(int32_t(std::lround(v.p.x))));
    PutU32LE(out, uint32_t(int32_t(std::lround(v.p.y))));
    // The file's z runs the other way; the loader negates it.
    PutU32LE(out, uint32_t(int32_t(-std::lround(v.p.z))));
    PutU32LE(out, uint32_t(v.shade));
  }
  PutU32LE(out, uint32_t(polygons_.size()));
  for (const Poly& p : polygons_) {
    PutU32LE(out, uint32_t(p.n));
    // The loader reverses the corners back into this builder's order.
    for (int i = p.n - 1; i >= 0; --i) {
      PutU32LE(out, uint32_t(p.corner[i]));
      PutU32LE(out, uint32_t(int32_t(p.u[i])));
      PutU32LE(out, uint32_t(int32_t(p.v[i])));
    }
    PutU32LE(out, uint32_t(p.texture));
    PutU32LE(out, uint32_t(p.type));
  }
  return out;
}

bool ModelBuilder::Write(const BakeContext& ctx, const std::string& name) const {
  if (VertexCount() > 1100 || PolygonCount() > 500) {
    fprintf(stderr, "bake: %s has %d vertices and %d polygons (limits 1100 and 500)\n",
            name.c_str(), VertexCount(), PolygonCount());
    return false;
  }
  for (const Poly& p : polygons_)
    for (int i = 0; i < p.n; ++i)
      if (p.u[i] < -32768 || p.u[i] > 32767 || p.v[i] < -32768 || p.v[i] > 32767) {
        fprintf(stderr, "bake: %s has texture coordinates beyond 16 bits\n", name.c_str());
        return false;
      }
  return WriteOut(ctx, name, ToTdo());
}
