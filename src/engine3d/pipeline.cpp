// The scene pipeline: view matrix, object culling and submission, transform and fog,
// depth ordering into buckets, and drawing the buckets far to near.
#include <cstring>

#include "core/display.h"
#include "core/fixed_math.h"
#include "engine3d/engine3d.h"
#include "engine3d/pipeline.h"
#include "gfx2d/gfx2d.h"

namespace {

// The far side of the eye's nearest sphere point is pushed this much deeper before the
// projected-point test, so objects the eye is close to are not lost at the screen edge.
constexpr int64_t kSphereDepthBias = 900;
// Fog reaches full strength this much before the visibility limit.
constexpr int32_t kFogEndMargin = 300;
constexpr int32_t kFogDarkest = 1280;     // row 5
constexpr int32_t kFogBrightest = 16128;  // row 63
constexpr int32_t kFogBrightTarget = 23040;

Vec3 Offset(const Vec3& p, const Vec3& cam) {
  return Vec3{WrapSub(p.x, cam.x), WrapSub(p.y, cam.y), WrapSub(p.z, cam.z)};
}

// Sign-preserving squeeze of a wide value into 32 bits.
int32_t Saturate(int64_t v) {
  return v > INT32_MAX ? INT32_MAX : (v < INT32_MIN ? INT32_MIN : int32_t(v));
}

// a / d, in 32 bits when both fit (a 64-bit divide costs several times as much; it runs
// for every fogged vertex).
inline int64_t Quotient(int64_t a, int32_t d) {
  if (d > 0 && a >= INT32_MIN && a <= INT32_MAX) return int32_t(a) / d;
  return a / d;
}

}  // namespace

void BuildViewMatrix(Engine3D& e) {
  Matrix3& m = e.viewMatrix;
  m = e.cameraMatrix;
  if (e.cameraAngle.x != 0) Math->RotateX(&m, WrapSub(0, e.cameraAngle.x));
  if (e.cameraAngle.z != 0) Math->RotateZ(&m, WrapSub(0, e.cameraAngle.z));
  if (e.cameraAngle.y != 0) Math->RotateY(&m, WrapSub(0, e.cameraAngle.y));
  // Row 0 takes the aspect so pixels come out square; rows 0 and 1 take the zoom, which
  // puts the pyramid |x| <= z, |y| <= z on the viewport's edges.
  int32_t zoom = e.zoom != 0 ? e.zoom : 256;
  int64_t aspect = int64_t(e.Reciprocal(e.viewWidth)) * e.viewHeight;
  for (int i = 0; i < 3; ++i) m.m[i] = Saturate((int64_t(m.m[i]) * aspect) >> 16);
  for (int i = 0; i < 6; ++i) m.m[i] = Saturate((int64_t(m.m[i]) * 256) / zoom);
}

void SubmitObject(Engine3D& e, Object3D* o) {
  if (o->hidden) return;
  const Vec3& cam = e.cameraPos;
  int32_t d = MathTables::Distance3(o->x, o->y, o->z, cam.x, cam.y, cam.z);
  if (d > kCullDistance) {
    o->visible = 0;
    return;
  }
  Vec3 c = Offset(Vec3{o->x, o->y, o->z}, cam);
  MathTables::Transform(&c, e.viewMatrix);
  int64_t r = o->radius;
  int64_t dc = MathTables::Distance3(0, 0, 0, c.x, c.y, c.z);
  if (dc > r) {
    // Project the point of the bounding sphere nearest the eye; cull when it is off screen.
    int64_t ux = (int64_t(c.x) * 256) / dc;
    int64_t uy = (int64_t(c.y) * 256) / dc;
    int64_t uz = (int64_t(c.z) * 256) / dc;
    int64_t z = c.z - ((uz * r) >> 8) + kSphereDepthBias;
    if (z < 1 || z >= 16384) {
      o->visible = 0;
      return;
    }
    int64_t q = e.reciprocal[z];
    int64_t sx = (int64_t((e.x0 + e.x1) >> 1) << 8) +
                 ((int64_t(e.x1 - e.x0) * q * (c.x - ((ux * r) >> 8))) >> 9);
    int64_t sy = (int64_t((e.y0 + e.y1) >> 1) << 8) -
                 ((int64_t(e.y1 - e.y0) * q * (c.y - ((uy * r) >> 8))) >> 9);
    int64_t px = sx >> 8, py = sy >> 8;
    if (!(px > 0 && px < int64_t(FrameBufferWidth) - 1 && py > 0 &&
          py < int64_t(FrameBufferHeight) - 1)) {
      o->visible = 0;
      return;
    }
  }
  o->visible = 1;
  if (e.verticesUsed + o->vertexCount > kVertSoupSize ||
      e.polygonsUsed + o->polygonCount > kPolySoupSize)
    return;

  Matrix3 m;
  if (o->entity) {
    if (!o->presetMatrix) {
      MathTables::Identity(&m);
      if (o->angleY != 0) Math->RotateY(&m, o->angleY);
      if (o->angleX != 0) Math->RotateX(&m, o->angleX);
      if (o->angleZ != 0) Math->RotateZ(&m, o->angleZ);
      o->matrix = m;
    } else {
      m = o->matrix;
    }
  }

  int32_t base = e.verticesUsed;
  Vertex3D* out = e.vertSoup + base;
  for (int32_t i = 0; i < o->vertexCount; ++i) {
    const Vertex3D& v = o->vertices[i];
    Vec3 p{v.x, v.y, v.z};
    if (o->entity) MathTables::Transform(&p, m);
    out[i] = Vertex3D{WrapAdd(p.x, o->x), WrapAdd(p.y, o->y), WrapAdd(p.z, o->z), v.shade};
  }
  e.verticesUsed += o->vertexCount;

  for (int32_t i = 0; i < o->polygonCount; ++i) {
    const Poly3D& from = o->polygons[i];
    // The corners as soup indices, worked out from the model's record rather than read back
    // from the copy just written (a narrow read of a wide store stalls the processor).
    int16_t corner[4];
    for (int k = 0; k < 4; ++k) corner[k] = int16_t(from.corner[k] + base);
    // Map faces turned away from the eye are dropped here with their load-time normals, before
    // they are copied; entity normals do not turn with the model, so the filler's winding
    // test does it.
    if (!o->entity && !from.doubleSided) {
      const Vertex3D& v = e.vertSoup[corner[0]];
      int32_t dot = WrapAdd(WrapAdd(WrapMul(WrapSub(v.x, cam.x), from.nx),
                                    WrapMul(WrapSub(v.y, cam.y), from.ny)),
                            WrapMul(WrapSub(v.z, cam.z), from.nz));
      if (dot >= 0) continue;
    }
    Poly3D& p = e.polySoup[e.polygonsUsed++];
    p = from;
    p.sprite = nullptr;
    for (int k = 0; k < 4; ++k) p.corner[k] = corner[k];
  }
}

void TransformAndFog(Engine3D& e) {
  const Matrix3& m = e.viewMatrix;
  const Vec3 cam = e.cameraPos;
  const int32_t fogStart = e.fogStart;
  const int32_t range = e.visibility - fogStart - kFogEndMargin;
  Vertex3D* v = e.vertSoup;
  for (int32_t i = 0; i < e.verticesUsed; ++i, ++v) {
    Vec3 p = Offset(Vec3{v->x, v->y, v->z}, cam);
    MathTables::Transform(&p, m);
    v->x = p.x;
    v->y = p.y;
    v->z = p.z;
    // A vertex is shared by several polygons: project it once here, not at every corner.
    ProjectPoint(e, p.x, p.y, p.z, &e.projected[2 * i], &e.projected[2 * i + 1]);
    if (p.z <= fogStart) continue;
    int64_t depth = int64_t(p.z) - fogStart;
    int64_t shade = v->shade;
    if (e.fogMode == 0) {
      shade -= depth * Quotient(shade, range);
      if (shade < kFogDarkest) shade = kFogDarkest;
      if (shade > kFogBrightest) shade = kFogBrightest;
    } else {
      shade += depth * Quotient(kFogBrightTarget - shade, range);
      if (shade > kFogBrightest) shade = kFogBrightest;
    }
    v->shade = int32_t(shade);
  }
}

int32_t PolygonKey(const Engine3D& e, const Poly3D& p) {
  int n = p.cornerCount == 4 ? 4 : 3;
  int64_t zmin = INT64_MAX, zmax = INT64_MIN, sum = 0;
  for (int k = 0; k < n; ++k) {
    int64_t z = e.vertSoup[p.corner[k]].z;
    sum += z;
    if (z < zmin) zmin = z;
    if (z > zmax) zmax = z;
  }
  int64_t spread = zmax - zmin;
  // Long polygons are sorted nearer their far end so they do not cover what stands on them.
  // Dividing by 3 or by 4 written out: by a constant it is a multiply, not a divide.
  int64_t key = spread < 180 ? (n == 4 ? sum / 4 : sum / 3) : zmax - spread / 30;
  return Saturate(key + 100);
}

void Order(Engine3D& e) {
  memset(e.buckets, 0, sizeof e.buckets);
  const int32_t visibility = e.visibility;
  for (int32_t i = 0; i < e.polygonsUsed; ++i) {
    Poly3D& p = e.polySoup[i];
    int32_t key = PolygonKey(e, p);
    if (key < 0 || key >= visibility) continue;
    p.next = e.buckets[key];
    e.buckets[key] = &p;
  }
  for (int32_t i = 0; i < e.spriteCount; ++i) {
    Sprite3D& s = e.sprites[i];
    if (!s.image || !s.visible) continue;
    Vec3 c = Offset(Vec3{s.x, s.y, s.z}, e.cameraPos);
    MathTables::Transform(&c, e.viewMatrix);
    s.camX = c.x;
    s.camY = c.y;
    s.camZ = c.z;
    if (c.z < 0 || c.z >= visibility) continue;
    // Sprites follow the polygons in the soup; one that no longer fits is skipped.
    if (e.polygonsUsed >= kPolySoupSize) continue;
    Poly3D& rec = e.polySoup[e.polygonsUsed++];
    rec = Poly3D{};
    rec.sprite = &s;
    rec.next = e.buckets[c.z];
    e.buckets[c.z] = &rec;
  }
}

Placement PlaceCorners(const Engine3D& e, const Poly3D& p, int n) {
  // Per corner, one bit per side it is outside of (bit k for side k).
  unsigned any = 0, all = 15;
  for (int k = 0; k < n; ++k) {
    const Vertex3D& v = e.vertSoup[p.corner[k]];
    const int64_t x = v.x, y = v.y, z = v.z;
    const unsigned outside = unsigned(z + x < 0) | unsigned(z - x < 0) << 1 |
                             unsigned(z + y < 0) << 2 | unsigned(z - y < 0) << 3;
    any |= outside;
    all &= outside;
  }
  if (any == 0) return Placement::kInside;
  const unsigned first = any & (0u - any);  // the first side some corner is outside of
  return (all & first) ? Placement::kOutside : Placement::kCrossing;
}

namespace {

void DrawPolygon(Engine3D& e, const Poly3D& p) {
  bool textured = p.type != 3 && p.type != 4;
  int n = p.cornerCount == 4 ? 4 : 3;
  const int bank = p.bank ? kBankEntities : kBankMap;
  const uint8_t* texture = e.textures[bank][p.texture & (kTexturesPerBank - 1)];
  const Placement placement = PlaceCorners(e, p, n);
  // Those the clipper would drop whole cost nothing more.
  if (placement == Placement::kOutside) return;
  // Most polygons lie wholly inside the view: the clipper would hand the corners back as
  // they are, so they go to the filler straight from the soup.
  if (textured) {
    if (placement == Placement::kInside) {
      RasterVertex rv[4];
      for (int k = 0; k < n; ++k) {
        const int32_t i = p.corner[k];
        rv[k] = RasterVertex{e.projected[2 * i], e.projected[2 * i + 1], e.vertSoup[i].shade,
                             p.u[k], p.v[k]};
      }
      FillTexturedPolygon(e, rv, n, texture, e.frameBuffer, e.luts[bank]);
      return;
    }
  }
  ClipVertex* corners[4];
  for (int k = 0; k < n; ++k) {
    const Vertex3D& v = e.vertSoup[p.corner[k]];
    ClipVertex* c = NextClipVertex(e);
    c->x = v.x;
    c->y = v.y;
    c->z = v.z;
    c->shade = v.shade;
    c->u = textured ? p.u[k] : 0;
    c->v = textured ? p.v[k] : 0;
    c->sx = e.projected[2 * p.corner[k]];
    c->sy = e.projected[2 * p.corner[k] + 1];
    corners[k] = c;
  }
  ClipVertex* clipped[kMaxClipCorners];
  int count = ClipPolygon(e, corners, n, clipped, textured);
  if (!textured) {
    uint16_t colour = p.type == 4 ? MakeColour(0, 10, 0) : MakeColour(0, 20, 0);
    DrawOutlinePolygon(e, e.frameBuffer, clipped, count, colour);
    ++e.outlinesDrawn;
    return;
  }
  if (count < 3) return;
  RasterVertex rv[kMaxClipCorners];
  for (int k = 0; k < count; ++k) {
    const ClipVertex* c = clipped[k];
    rv[k] = RasterVertex{c->sx, c->sy, c->shade, c->u, c->v};
  }
  FillTexturedPolygon(e, rv, count, texture, e.frameBuffer, e.luts[bank]);
}

}  // namespace

void DrawOrdered(Engine3D& e) {
  for (int32_t key = e.visibility - 1; key >= 0; --key) {
    for (Poly3D* p = e.buckets[key]; p; p = p->next) {
      if (p->sprite)
        DrawSprite3D(e, *p->sprite);
      else
        DrawPolygon(e, *p);
    }
  }
}

void Engine3D::DrawFrame(uint16_t* target) {
  if (!ready || !Math || !Math->sine || !target) return;
  frameBuffer = target;
  // Every record past the used ones is zero, so no field of an earlier frame's polygons or
  // sprites can leak into a record that is filled only in part. Records are written whole
  // in order, so only those past this frame's count that an earlier frame (or a caller
  // setting the count) left behind need clearing, once the frame's count is known.
  int32_t dirty = polygonsDirty > polygonsUsed ? polygonsDirty : polygonsUsed;
  polygonsUsed = verticesUsed = 0;
  outlinesDrawn = 0;
  BuildViewMatrix(*this);
  for (int32_t i = 0; i < store.count; ++i) {
    store.objects[i]->visible = 0;
    SubmitObject(*this, store.objects[i]);
  }
  TransformAndFog(*this);
  Order(*this);
  if (dirty > kPolySoupSize) dirty = kPolySoupSize;
  if (dirty > polygonsUsed)
    memset(polySoup + polygonsUsed, 0, size_t(dirty - polygonsUsed) * sizeof(Poly3D));
  polygonsDirty = polygonsUsed;
  DrawOrdered(*this);
}
