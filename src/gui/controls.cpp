// Controls by kind: their names, lookup, visibility, label text, progress values, release.
#include <cstring>

#include "core/core.h"
#include "gui/form_internal.h"

namespace {

void ReleaseSlot(int32_t slot) {
  if (Gfx2D && slot >= 0) Gfx2D->ReleaseSprite(slot);
}

void SetVisible(void* control, int32_t kind, uint8_t visible) {
  switch (kind) {
    case kControlButton: static_cast<ButtonControl*>(control)->visible = visible; break;
    case kControlBitmap: static_cast<BitmapControl*>(control)->visible = visible; break;
    case kControlLabel: static_cast<LabelControl*>(control)->visible = visible; break;
    case kControlCheckbox: static_cast<CheckboxControl*>(control)->visible = visible; break;
    case kControlView3D: static_cast<View3DControl*>(control)->active = visible; break;
    case kControlBackground: static_cast<BackgroundControl*>(control)->visible = visible; break;
    case kControlProgressBar: static_cast<ProgressBarControl*>(control)->visible = visible; break;
    default: break;
  }
}

void SetAllVisible(FormManager* m, uint8_t visible) {
  FormRecord* form = m->current;
  if (!form) return;
  for (int32_t i = 0; i < form->controls.Count(); ++i)
    SetVisible(form->controls.Get(i), form->controls.Tag(i), visible);
}

}  // namespace

void DestroyControl(void* control, int32_t kind) {
  switch (kind) {
    case kControlButton: {
      auto* b = static_cast<ButtonControl*>(control);
      ReleaseSlot(b->normalImage);
      ReleaseSlot(b->highlightImage);
      delete b;
      break;
    }
    case kControlBitmap: {
      auto* b = static_cast<BitmapControl*>(control);
      b->Release();
      delete b;
      break;
    }
    case kControlLabel: delete static_cast<LabelControl*>(control); break;
    case kControlCheckbox: {
      auto* c = static_cast<CheckboxControl*>(control);
      ReleaseSlot(c->uncheckedImage);
      ReleaseSlot(c->focusImage);
      ReleaseSlot(c->checkedImage);
      delete c;
      break;
    }
    case kControlView3D: {
      auto* v = static_cast<View3DControl*>(control);
      if (v->engine) v->engine->Destroy();
      delete v->engine;
      delete v;
      break;
    }
    case kControlBackground: {
      auto* b = static_cast<BackgroundControl*>(control);
      b->Release();
      delete b;
      break;
    }
    case kControlProgressBar: {
      auto* p = static_cast<ProgressBarControl*>(control);
      ReleaseSlot(p->frameImage);
      delete p;
      break;
    }
    default: break;
  }
}

const char* ControlName(void* control, int32_t kind) {
  if (!control) return "";
  switch (kind) {
    case kControlButton: return static_cast<ButtonControl*>(control)->name;
    case kControlBitmap: return static_cast<BitmapControl*>(control)->name;
    case kControlLabel: return static_cast<LabelControl*>(control)->name;
    case kControlCheckbox: return static_cast<CheckboxControl*>(control)->name;
    case kControlView3D: return static_cast<View3DControl*>(control)->name;
    case kControlBackground: return static_cast<BackgroundControl*>(control)->name;
    case kControlProgressBar: return static_cast<ProgressBarControl*>(control)->name;
    default: return "";
  }
}

ControlRect RectOfControl(void* control, int32_t kind) {
  switch (kind) {
    case kControlButton: {
      auto* b = static_cast<ButtonControl*>(control);
      return {b->x, b->y, b->width, b->height};
    }
    case kControlBitmap: {
      auto* b = static_cast<BitmapControl*>(control);
      return {b->x, b->y, b->width, b->height};
    }
    case kControlLabel: {
      auto* l = static_cast<LabelControl*>(control);
      return {l->x, l->y, 0, 0};
    }
    case kControlCheckbox: {
      auto* c = static_cast<CheckboxControl*>(control);
      return {c->x, c->y, c->width, c->height};
    }
    case kControlView3D: {
      auto* v = static_cast<View3DControl*>(control);
      return {v->x, v->y, v->width, v->height};
    }
    case kControlBackground: {
      auto* b = static_cast<BackgroundControl*>(control);
      return {b->x, b->y, b->width, b->height};
    }
    case kControlProgressBar: {
      auto* p = static_cast<ProgressBarControl*>(control);
      return {p->x, p->y, p->width, p->height};
    }
    default: return {0, 0, 0, 0};
  }
}

void* FindControl(FormRecord* form, const char* name, int32_t* kind) {
  if (!form || !name) return nullptr;
  for (int32_t i = 0; i < form->controls.Count(); ++i) {
    void* control = form->controls.Get(i);
    const int32_t k = form->controls.Tag(i);
    if (strcmp(ControlName(control, k), name) == 0) {
      if (kind) *kind = k;
      return control;
    }
  }
  return nullptr;
}

void* FindCurrentControl(FormManager* m, const char* name, int32_t* kind) {
  return FindControl(m->current, name, kind);
}

bool SetControlVisible(FormManager* m, const char* name, uint8_t visible) {
  int32_t kind = 0;
  void* control = FindCurrentControl(m, name, &kind);
  if (!control) return false;
  SetVisible(control, kind, visible);
  return true;
}

bool SetControlArea(FormManager* m, const char* name, int32_t x, int32_t y, int32_t width,
                    int32_t height) {
  int32_t kind = 0;
  void* control = FindCurrentControl(m, name, &kind);
  if (kind == kControlView3D && control) {
    auto* v = static_cast<View3DControl*>(control);
    v->x = x, v->y = y, v->width = width, v->height = height;
    if (v->engine) v->engine->SetViewport(x, y, width, height);
    return true;
  }
  if (kind == kControlBackground && control) {
    static_cast<BackgroundControl*>(control)->SetArea(x, y, width, height);
    return true;
  }
  return false;
}

void HideAllControls(FormManager* m) { SetAllVisible(m, 0); }
void ShowAllControls(FormManager* m) { SetAllVisible(m, 1); }

void SetLabelText(LabelControl* label, const char* text) {
  if (!label) return;
  strncpy(label->text, text ? text : "", sizeof label->text - 1);
  label->text[sizeof label->text - 1] = 0;
}

void SetProgressValue(ProgressBarControl* bar, int32_t value) {
  if (!bar) return;
  if (value < bar->minimum) value = bar->minimum;
  if (value > bar->maximum) value = bar->maximum;
  bar->value = value;
}
