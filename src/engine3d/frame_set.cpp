// Key-frame sets: frames loaded as hidden objects, blended into a base object's vertices.
#include <string>

#include "core/fixed_math.h"
#include "core/log.h"
#include "engine3d/engine3d.h"

void FrameSet::Create(int32_t ownerValue, Engine3D* engineOfFrames) {
  *this = FrameSet{};
  owner = ownerValue;
  engine = engineOfFrames;
}

int FrameSet::SetBase(Object3D* object) {
  base = object;
  return 1;
}

int FrameSet::AddFrame(const char* name, uint8_t reuse) {
  int32_t index = engine ? engine->store.Load(name, 1, 2, reuse) : -1;
  if (index < 0) {
    LogMessage(("AddFrame: Error loading object file  " + std::string(name)).c_str());
    return 0;
  }
  Object3D* frame = engine->store.Get(index);
  frame->hidden = 1;
  if (!base || frame->vertexCount != base->vertexCount ||
      frame->polygonCount != base->polygonCount) {
    LogMessage("AddFrame: Object has different number of verts - polys.");
    return 0;
  }
  if (frameCount >= kMaxFrames) return 0;  // callers never add more; the object stays hidden
  frames[frameCount++] = frame;
  return 1;
}

void FrameSet::Blend(int32_t t, int32_t a, int32_t b) {
  if (t == lastBlend) return;
  lastBlend = t;
  if (t < 0) t = 0;
  if (t > 256) t = 256;
  auto frame = [this](int32_t n) -> Object3D* {
    if (n == 0) return base;
    return n >= 1 && n <= frameCount ? frames[n - 1] : nullptr;
  };
  Object3D* fa = frame(a);
  Object3D* fb = frame(b);
  if (!base || !fa || !fb) return;
  Vertex3D* out = base->vertices;
  const Vertex3D* va = fa->vertices;
  const Vertex3D* vb = fb->vertices;
  for (int32_t i = 0; i < base->vertexCount; ++i) {
    const Vertex3D& A = va[i];
    const Vertex3D& B = vb[i];
    if (A.x == B.x && A.y == B.y && A.z == B.z) continue;
    // Differences are taken as 24-bit values: frames of one model never differ by more.
    auto mix = [t](int32_t pa, int32_t pb) {
      int32_t d = int32_t(uint32_t(WrapSub(pb, pa)) << 8) >> 8;
      return WrapAdd(pa, (d * t) >> 8);
    };
    out[i].x = mix(A.x, B.x);
    out[i].y = mix(A.y, B.y);
    out[i].z = mix(A.z, B.z);
  }
}
