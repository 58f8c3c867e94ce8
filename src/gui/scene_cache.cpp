// The sky and the 3D view kept from one frame to the next: a frame drawn with no logic step
// since the last one copies their pixels back instead of drawing them again.
#include <cstring>
#include <new>
#include <vector>

#include "core/core.h"
#include "gui/form_internal.h"

// What the last frame's sky and view left in their rectangle, and which controls drew it.
struct SceneCache {
  const Background* sky = nullptr;
  const View3DControl* view = nullptr;
  const Engine3D* engine = nullptr;
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  bool valid = false;
  std::vector<uint16_t> pixels;  // the rectangle's rows, one after another
};

void DestroySceneCache(SceneCache* cache) { delete cache; }

namespace {

struct SceneRect {
  int32_t left, top, right, bottom;
};

// The rectangle the two controls repaint whole, from their own state alone: the sky must
// overwrite every pixel of it, and the view draws only inside its viewport, which the sky
// must hold. Blends in the view then read only what the sky or the view wrote this frame.
bool RepaintedWhole(const Background& sky, const View3DControl& view, SceneRect* r) {
  if (!view.active || !view.engine) return false;
  if (!sky.Covers(&r->left, &r->top, &r->right, &r->bottom)) return false;
  const Engine3D& e = *view.engine;
  return e.x0 >= r->left && e.x1 <= r->right && e.y0 >= r->top && e.y1 <= r->bottom;
}

}  // namespace

void DrawSkyAndView(FormManager* m, Background* sky, View3DControl* view) {
  SceneRect r{};
  const bool whole = RepaintedWhole(*sky, *view, &r);
  SceneCache* c = m->sceneCache;
  const int32_t width = r.right - r.left;
  // Everything the two draw follows from the world, the camera and the controls, and only a
  // logic step changes those; the controls and the rectangle must also be the same ones.
  if (whole && m->sceneUnchanged && c && c->valid && c->sky == sky && c->view == view &&
      c->engine == view->engine && c->left == r.left &&
      c->top == r.top && c->right == r.right && c->bottom == r.bottom) {
    const uint16_t* from = c->pixels.data();
    for (int32_t y = r.top; y < r.bottom; ++y, from += width)
      memcpy(FrameBuffer + size_t(y) * FrameBufferWidth + r.left, from, size_t(width) * 2);
    return;
  }
  if (c) c->valid = false;
  DrawControl(m, sky, kControlBackground);
  DrawControl(m, view, kControlView3D);
  // An outline polygon may reach past the viewport, where the kept rectangle would not
  // bring it back.
  if (!whole || view->engine->outlinesDrawn != 0) return;
  if (!c) {
    c = m->sceneCache = new (std::nothrow) SceneCache();
    if (!c) return;
  }
  c->pixels.resize(size_t(width) * size_t(r.bottom - r.top));
  uint16_t* to = c->pixels.data();
  for (int32_t y = r.top; y < r.bottom; ++y, to += width)
    memcpy(to, FrameBuffer + size_t(y) * FrameBufferWidth + r.left, size_t(width) * 2);
  c->sky = sky;
  c->view = view;
  c->engine = view->engine;
  c->left = r.left;
  c->top = r.top;
  c->right = r.right;
  c->bottom = r.bottom;
  c->valid = true;
}
