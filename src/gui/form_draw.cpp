// Drawing the current form: each control by its kind, fully or, while throttled, only the
// controls that change every frame.
#include "core/core.h"
#include "gui/form_internal.h"

namespace {

constexpr int32_t kFramesPerFullDraw = 6;

void DrawButton(FormManager* m, const ButtonControl& b) {
  if (!b.visible) return;
  int32_t image = b.highlightImage;
  if (b.state == 1 && !(b.focused && m->focusHighlight)) image = b.normalImage;
  Gfx2D->DrawSprite(image, b.x, b.y, b.blitMode, b.colourKey);
}

void DrawLabel(const LabelControl& l) {
  if (!l.visible || !l.font) return;
  l.font->DrawText(l.x, l.y, l.text, Gfx2D->pixels, Gfx2D->width, Gfx2D->height, 1);
}

void DrawCheckbox(FormManager* m, const CheckboxControl& c) {
  if (!c.visible) return;
  if (c.checked)
    Gfx2D->DrawSprite(c.checkedImage, WrapAdd(c.x, c.checkedOffsetX), WrapAdd(c.y, c.checkedOffsetY), c.blitMode,
                      c.colourKey);
  else
    Gfx2D->DrawSprite(c.uncheckedImage, c.x, c.y, c.blitMode, c.colourKey);
  if (c.focusState == 2 && m->focusHighlight)
    Gfx2D->DrawSprite(c.focusImage, c.x, c.y, c.blitMode, c.colourKey);
}

// A FillRect whose every row lies on the target. FillRect refuses each row that starts left
// of the target or reaches its last column, and each row at or below its last one; doing
// that here first keeps a bar placed far away from costing a row per unit of its height.
void FillBar(int64_t x, int64_t y, int64_t w, int64_t h, uint16_t colour) {
  if (w < 0 || x < 0 || x + w >= Gfx2D->width - 1) return;
  const int64_t top = y < 0 ? 0 : y;
  const int64_t bottom = y + h < Gfx2D->height - 1 ? y + h : Gfx2D->height - 1;
  if (bottom <= top) return;
  Gfx2D->FillRect(int32_t(x), int32_t(top), int32_t(w), int32_t(bottom - top), colour);
}

void DrawProgressBar(const ProgressBarControl& p) {
  if (!p.visible) return;
  const int64_t frameX = int64_t(p.x) - p.imageOffsetX, frameY = int64_t(p.y) - p.imageOffsetY;
  if (frameX >= INT32_MIN && frameX <= INT32_MAX && frameY >= INT32_MIN && frameY <= INT32_MAX)
    Gfx2D->DrawSprite(p.frameImage, int32_t(frameX), int32_t(frameY), ColourKey, 0);
  // An empty range has no share to show (the division would not be a number).
  if (p.value <= 0 || p.maximum <= p.minimum) return;
  const float length = float(p.vertical ? p.height : p.width);
  const float share = length / float(int64_t(p.maximum) - p.minimum) * float(int64_t(p.value) - p.minimum);
  if (!(share >= 1.0f)) return;  // nothing to fill, and never a sliver drawn backwards
  const int64_t fill = share >= length ? int64_t(length) : int64_t(share);
  if (p.vertical)
    FillBar(p.x, int64_t(p.y) + p.height - fill, int64_t(p.width) - 1, fill - 1, p.fillColour);
  else
    FillBar(int64_t(p.x) + 1, int64_t(p.y) + 1, fill - 1, int64_t(p.height) - 1, p.fillColour);
}

// While throttled, five frames of six draw only what the script marks as changing every
// frame, and the 3D view with its background.
bool DrawsEveryFrame(void* control, int32_t kind) {
  switch (kind) {
    case kControlButton: return static_cast<ButtonControl*>(control)->redrawAlways != 0;
    case kControlBitmap: return static_cast<BitmapControl*>(control)->option != 0;
    case kControlCheckbox: return static_cast<CheckboxControl*>(control)->redrawAlways != 0;
    case kControlView3D:
    case kControlBackground: return true;
    default: return false;
  }
}

}  // namespace

void DrawControl(FormManager* m, void* control, int32_t kind) {
  if (!Gfx2D || !control) return;
  switch (kind) {
    case kControlButton: DrawButton(m, *static_cast<ButtonControl*>(control)); break;
    case kControlBitmap: static_cast<BitmapControl*>(control)->Draw(); break;
    case kControlLabel: DrawLabel(*static_cast<LabelControl*>(control)); break;
    case kControlCheckbox: DrawCheckbox(m, *static_cast<CheckboxControl*>(control)); break;
    case kControlView3D: {
      auto* v = static_cast<View3DControl*>(control);
      if (v->active && v->engine) v->engine->DrawFrame(FrameBuffer);
      break;
    }
    case kControlBackground: static_cast<BackgroundControl*>(control)->DrawBackground(FrameBuffer); break;
    case kControlProgressBar: DrawProgressBar(*static_cast<ProgressBarControl*>(control)); break;
    default: break;
  }
}

void DrawForms(FormManager* m) {
  FormRecord* form = m ? m->current : nullptr;
  if (!form) return;
  bool full = true;
  if (m->throttledRedraw) {
    ++m->redrawCounter;
    if (m->redrawCounter >= kFramesPerFullDraw)
      m->redrawCounter = 0;
    else
      full = false;
  }
  const int32_t count = form->controls.Count();
  for (int32_t i = 0; i < count; ++i) {
    void* control = form->controls.Get(i);
    const int32_t kind = form->controls.Tag(i);
    // A sky with the 3D view drawn over it (both drawn every frame) go together.
    if (kind == kControlBackground && control && i + 1 < count &&
        form->controls.Tag(i + 1) == kControlView3D && form->controls.Get(i + 1)) {
      DrawSkyAndView(m, static_cast<Background*>(control),
                     static_cast<View3DControl*>(form->controls.Get(i + 1)));
      ++i;
      continue;
    }
    if (full || DrawsEveryFrame(control, kind)) DrawControl(m, control, kind);
  }
  m->sceneUnchanged = 0;
}
