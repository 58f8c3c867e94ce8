// Model builder for .tdo files: boxes, blocks, beams, prisms, cylinders and spheres placed
// through a transform stack, with texture coordinates and shades baked from a light.
//
// Work in the engine's frame: x right, y up, z forward; an entity's nose points along +z
// and its feet stand on y = 0. Faces are turned outward automatically, and the file's
// mirrored z and corner order are written by ToTdo, so callers never think about winding.
// Key frames: build the same model twice with different parameters (same calls in the
// same order) and check SameShape before writing.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "bake.h"

struct V3 {
  double x = 0, y = 0, z = 0;
};
inline V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline V3 operator*(V3 a, double k) { return {a.x * k, a.y * k, a.z * k}; }
inline V3 operator-(V3 a) { return {-a.x, -a.y, -a.z}; }
double Dot(V3 a, V3 b);
V3 Cross(V3 a, V3 b);
double Length(V3 a);
V3 Normalised(V3 a);  // (0, 1, 0) for a zero vector
// Middle joint of a two-bone limb (lengths `upper`, `lower`) from `root` to `end`, bent
// towards `bend`; an end out of reach straightens the limb.
V3 BendJoint(V3 root, V3 end, double upper, double lower, V3 bend);

// How a face is textured and lit.
struct Skin {
  int texture = 0;
  double texelsPerUnit = 0;  // 0: every face shows the whole texture once
  bool glow = false;         // self-lit: full colour whatever the light
  int type = 0;              // the polygon type written to the file
};

// Affine transform: 3 x 3 linear part and a translation.
struct Affine {
  double m[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
  V3 t;
  V3 Point(V3 p) const;
  V3 Direction(V3 d) const;  // linear part only
  Affine Then(const Affine& local) const;  // this * local
};

class ModelBuilder {
 public:
  ModelBuilder();

  // Light for the baked shades: direction towards the light (model space); shades run from
  // darkRow (facing away) to litRow (facing it) of the 64-row look-up table.
  void SetLight(V3 towardsLight, double darkRow = 12, double litRow = 40);

  // --- Transform stack (applies to everything added after) ---
  void Push();
  void Pop();
  void Translate(V3 d);
  void RotateX(double degrees);  // positive turns +y towards +z
  void RotateY(double degrees);  // positive turns +z towards +x
  void RotateZ(double degrees);  // positive turns +x towards +y
  void ScaleBy(V3 s);

  // --- Explosion pieces: everything between Begin and End flies apart as one piece.
  // Outside a piece, every primitive is a piece of its own (raw faces join the latest).
  void BeginPiece();
  void EndPiece();

  // --- Primitives (coordinates in the current transform's frame) ---
  // Axis-aligned box.
  void Box(V3 centre, V3 size, const Skin& skin);
  // Six-faced block from 8 corners: bottom face (y low) then top face, each in the order
  // left-back, right-back, right-front, left-front. Collapsed corners make wedges.
  void Block(const V3 corners[8], const Skin& skin);
  // Wedge: a box whose top front edge is pulled back by `slope` (0..1 of the depth) and
  // down by `drop` (0..1 of the height): noses, canopies, armour.
  void Wedge(V3 centre, V3 size, double slope, double drop, const Skin& skin);
  // Box of width x depth cross-section running from a to b; `side` says where its width
  // points (it is made perpendicular to a -> b).
  void Beam(V3 a, V3 b, double width, double depth, V3 side, const Skin& skin);
  // Flat-sided prism (sides faces) from a to b.
  void Prism(V3 a, V3 b, double radius, int sides, const Skin& skin, bool caps = true);
  // Smooth-shaded cylinder / truncated cone from a (radius ra) to b (radius rb).
  void Cylinder(V3 a, V3 b, double radius, int sides, const Skin& skin, bool caps = true);
  void Cone(V3 a, V3 b, double ra, double rb, int sides, const Skin& skin, bool caps = true);
  // A single rectangle: a plate, or a decal sitting 2 units proud of the face it marks (so
  // the depth sort keeps it in front). Half extents `across` and `up`; it faces `facing`.
  void Panel(V3 centre, V3 across, V3 up, V3 facing, const Skin& skin);
  // Smooth low-poly sphere: `rings` bands from pole to pole, `segments` around.
  void Sphere(V3 centre, double radius, int rings, int segments, const Skin& skin);

  // --- Raw faces (current transform applied) ---
  // A vertex with its shade from `normal`; returns its index.
  int Vertex(V3 p, V3 normal, bool glow = false);
  // A triangle or quadrilateral of existing vertices with per-corner texture coordinates in
  // texels; turned so that its front faces `outward` (model-space direction).
  void Face(std::initializer_list<int> corners, std::initializer_list<double> uv,
            const Skin& skin, V3 outward);

  // --- Results ---
  int VertexCount() const { return int(vertices_.size()); }
  int PolygonCount() const { return int(polygons_.size()); }
  // Same vertex count, polygon count and corner lists: usable as key frames of each other.
  bool SameShape(const ModelBuilder& other) const;
  // A copy whose pieces have flown apart by about `distance` units, tumbling, with the
  // same shape (an explosion key frame). Deterministic for a seed.
  ModelBuilder Exploded(double distance, uint32_t seed) const;
  // The .tdo bytes: z mirrored and corners reversed as the file wants them.
  Bytes ToTdo() const;
  // Writes NAME after checking the engine's limits (1100 vertices, 500 polygons).
  bool Write(const BakeContext& ctx, const std::string& name) const;

 private:
  struct Vert {
    V3 p;
    int shade;
    int piece;
  };
  struct Poly {
    int n;
    int corner[4];
    int u[4], v[4];
    int texture, type;
  };
  // One primitive face in local coordinates with its own vertices (flat shading), turned
  // to look along `facing` (local) when that is not zero.
  void FlatFace(const std::vector<V3>& local, const Skin& skin, V3 facing = {});
  int ShadeOf(V3 modelNormal, bool glow) const;
  int AddVert(V3 modelPoint, int shade);
  void AddPoly(const std::vector<int>& corners, const std::vector<double>& uvTexels,
               const Skin& skin, V3 modelOutward);
  void StartPrimitive();

  std::vector<Vert> vertices_;
  std::vector<Poly> polygons_;
  std::vector<Affine> stack_;
  Affine current_;
  V3 light_;
  double darkRow_ = 12, litRow_ = 40;
  int piece_ = -1;       // piece of the current primitive
  int pieceCount_ = 0;
  bool inPiece_ = false;
};
