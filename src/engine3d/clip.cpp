// Corner projection and Sutherland-Hodgman clipping against the view pyramid's four sides.
#include "engine3d/engine3d.h"
#include "engine3d/pipeline.h"

namespace {

// Signed distance of a corner to side plane k: z + x, z - x, z + y, z - y.
int64_t PlaneDistance(const ClipVertex& c, int k) {
  switch (k) {
    case 0: return int64_t(c.z) + c.x;
    case 1: return int64_t(c.z) - c.x;
    case 2: return int64_t(c.z) + c.y;
    default: return int64_t(c.z) - c.y;
  }
}

int32_t Lerp(int32_t p, int32_t c, int64_t t) {
  return int32_t(p + (((int64_t(c) - p) * t) >> 8));
}

}  // namespace

ClipVertex* NextClipVertex(Engine3D& e) {
  return &e.clipRing[e.clipCounter++ & (kClipRingSize - 1)];
}

int ClipPolygon(Engine3D& e, ClipVertex** corners, int count, ClipVertex** out, bool textured) {
  bool inside = true;
  for (int i = 0; i < count && inside; ++i)
    for (int k = 0; k < 4; ++k)
      if (PlaneDistance(*corners[i], k) < 0) {
        inside = false;
        break;
      }
  if (inside) {
    for (int i = 0; i < count; ++i) out[i] = corners[i];
    return count;
  }

  ClipVertex* buffers[2][kMaxClipCorners];
  ClipVertex** src = corners;
  int n = count;
  for (int k = 0; k < 4; ++k) {
    ClipVertex** dst = buffers[k & 1];
    if (n < 3) return 0;
    for (int i = 0; i < n; ++i) src[i]->d = Clamp30(PlaneDistance(*src[i], k));
    int m = 0;
    ClipVertex* P = src[n - 1];
    for (int i = 0; i < n; ++i) {
      ClipVertex* C = src[i];
      if (P->d >= 0) {
        if (m == kMaxClipCorners) return 0;
        dst[m++] = P;
      }
      if ((P->d < 0) != (C->d < 0)) {
        int64_t diff = int64_t(P->d) - C->d;
        int64_t magnitude = diff < 0 ? -diff : diff;
        // Distances are within 2^30, so their difference fits the reciprocal's argument.
        int64_t t = (int64_t(P->d) * e.Reciprocal(int32_t(magnitude))) >> 8;
        if (diff < 0) t = -t;
        ClipVertex* N = NextClipVertex(e);
        N->x = Lerp(P->x, C->x, t);
        N->y = Lerp(P->y, C->y, t);
        N->z = Lerp(P->z, C->z, t);
        N->shade = Lerp(P->shade, C->shade, t);
        if (textured) {
          N->u = Lerp(P->u, C->u, t);
          N->v = Lerp(P->v, C->v, t);
        } else {
          N->u = N->v = 0;
        }
        N->d = 0;
        ProjectPoint(e, N->x, N->y, N->z, &N->sx, &N->sy);
        if (m == kMaxClipCorners) return 0;
        dst[m++] = N;
      }
      P = C;
    }
    src = dst;
    n = m;
  }
  for (int i = 0; i < n; ++i) out[i] = src[i];
  return n;
}
