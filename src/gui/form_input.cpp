// UpdateForms: stylus taps and menu keys on the current form, and the "Press a key" capture.
#include "core/core.h"
#include "gui/form_internal.h"

namespace {

bool StylusInside(int32_t x, int32_t y, int32_t width, int32_t height) {
  return x < Input.stylusX && Input.stylusX < int64_t(x) + width && y < Input.stylusY &&
         Input.stylusY < int64_t(y) + height;
}

// The stylus over the form's controls in list order. True when a release acted on a
// control, which ends the step's input handling.
bool HandleStylus(FormManager* m, FormRecord* form) {
  const bool downEdge = Input.stylusDown == 1 && Input.stylusPrevDown == 0;
  const bool upEdge = Input.stylusUp == 1 && Input.stylusPrevUp == 0;
  if (!downEdge && !upEdge) return false;
  for (int32_t i = 0; i < form->controls.Count(); ++i) {
    void* control = form->controls.Get(i);
    const int32_t kind = form->controls.Tag(i);
    if (kind == kControlButton) {
      auto* b = static_cast<ButtonControl*>(control);
      // A hidden button is not there to be tapped.
      if (!b->visible || !StylusInside(b->x, b->y, b->width, b->height)) continue;
      if (downEdge) {
        b->state = 2;
        form->focused = i;
        ApplyFocus(form);
      }
      if (upEdge) {
        b->state = 1;
        PlaySelectSample(m);
        SendFormEvent(m, kEventButtonClicked, 0, b, b->name);
        return true;
      }
    } else if (kind == kControlCheckbox) {
      auto* c = static_cast<CheckboxControl*>(control);
      if (!c->visible || !StylusInside(c->x, c->y, c->width, c->height)) continue;
      if (downEdge) {
        c->focusState = 2;
        form->focused = i;
        ApplyFocus(form);
      }
      if (upEdge) {
        c->focusState = 2;
        c->checked = c->checked ? 0 : 1;
        ApplyFocus(form);
        PlaySelectSample(m);
        SendFormEvent(m, kEventCheckboxToggled, 0, c, c->name);
        return true;
      }
    }
  }
  return false;
}

// The select key acts on the control that had the focus when the step began, even when a
// move in the same step has taken the focus elsewhere.
void SelectFocused(FormManager* m, FormRecord* form, int32_t focusedAtStart) {
  PlaySelectSample(m);
  ApplyFocus(form);
  void* control = form->controls.Get(focusedAtStart);
  const int32_t kind = form->controls.Tag(focusedAtStart);
  if (kind == kControlButton) {
    auto* b = static_cast<ButtonControl*>(control);
    if (b->visible) SendFormEvent(m, kEventButtonClicked, 0, b, b->name);
  } else if (kind == kControlCheckbox) {
    auto* c = static_cast<CheckboxControl*>(control);
    if (!c->visible) return;
    c->checked = c->checked ? 0 : 1;
    SendFormEvent(m, kEventCheckboxToggled, 0, c, c->name);
  }
}

void HandleFormInput(FormManager* m, FormRecord* form) {
  const int32_t focusedAtStart = form->focused;
  if (HandleStylus(m, form)) return;
  if (!m->keysNavigate) return;
  // Each key independently, in this order; the move sound plays whether or not the focus
  // could move.
  if (ActionPressed(kActMenuUp)) {
    MoveFocusUp(form);
    PlayMoveSample(m);
  }
  if (ActionPressed(kActMenuDown)) {
    MoveFocusDown(form);
    PlayMoveSample(m);
  }
  if (ActionPressed(kActMenuRight)) {
    MoveFocusRight(form);
    PlayMoveSample(m);
  }
  if (ActionPressed(kActMenuLeft)) {
    MoveFocusLeft(form);
    PlayMoveSample(m);
  }
  if (ActionPressed(kActMenuSelect)) SelectFocused(m, form, focusedAtStart);
}

}  // namespace

void UpdateForms(FormManager* m) {
  if (!m) return;
  if (m->inputMode != kInputWaitKey) m->captureArmed = 0;
  switch (m->inputMode) {
    case kInputNormal:
      if (!m->current) return;
      HandleFormInput(m, m->current);
      // The handler may have closed the form or opened another one.
      if (m->current) SendFormEvent(m, kEventFormTick, 0, m->current, m->current->name);
      break;
    case kInputWaitKey: {
      ClearFrame();
      if (Gfx2D && m->font1) DrawTextBlock(Gfx2D, "Press a key", m->font1);
      const int key = WaitAnyKey();
      // The key (or stylus) that started the capture is usually still down: only a key
      // pressed after everything was let go is taken.
      if (!m->captureArmed) {
        if (key == 0) m->captureArmed = 1;
        break;
      }
      if (key != 0) {
        m->inputMode = kInputWaitRelease;
        SendFormEvent(m, kEventKeyCaptured, key, nullptr, "");
      }
      break;
    }
    case kInputWaitRelease:
      ClearFrame();
      if (WaitAnyKey() == 0) m->inputMode = kInputNormal;
      break;
    default: break;
  }
}
