// The focus: which button or checkbox the menu keys act on, and how the keys move it.
#include <cmath>

#include "core/core.h"
#include "gui/form_internal.h"

namespace {

// In 64 bits: a script may place a control anywhere in the 32-bit range.
struct Centre {
  int64_t x, y;
};

Centre CentreOf(void* control, int32_t kind) {
  const ControlRect r = RectOfControl(control, kind);
  return {int64_t(r.x) + r.width / 2, int64_t(r.y) + r.height / 2};
}

// The engine's rounded distance where it can measure; beyond its range, the exact one.
int64_t Distance(const Centre& a, const Centre& b) {
  const int64_t dx = b.x - a.x, dy = b.y - a.y;
  if (dx > -46340 && dx < 46340 && dy > -46340 && dy < 46340)
    return MathTables::Distance3(0, 0, 0, int32_t(dx), int32_t(dy), 0);
  return int64_t(std::llround(std::sqrt(double(dx) * double(dx) + double(dy) * double(dy))));
}

// Only buttons and checkboxes take the focus; a hidden one cannot be reached by the keys.
bool IsCandidate(void* control, int32_t kind) {
  if (kind == kControlButton) return static_cast<ButtonControl*>(control)->visible != 0;
  if (kind == kControlCheckbox) return static_cast<CheckboxControl*>(control)->visible != 0;
  return false;
}

bool HasFocus(const FormRecord* form) {
  return form->focused >= 0 && form->focused < form->controls.Count();
}

// Left and right: the nearest candidate horizontally within a band around the focused
// centre's row; the earlier one wins a tie.
void MoveSideways(FormRecord* form, int direction, int32_t band) {
  if (!HasFocus(form)) return;
  const Centre from = CentreOf(form->controls.Get(form->focused), form->controls.Tag(form->focused));
  int32_t choice = -1;
  int64_t best = 0;
  for (int32_t i = 0; i < form->controls.Count(); ++i) {
    void* control = form->controls.Get(i);
    const int32_t kind = form->controls.Tag(i);
    if (!IsCandidate(control, kind)) continue;
    const Centre c = CentreOf(control, kind);
    const int64_t ahead = direction < 0 ? from.x - c.x : c.x - from.x;
    const int64_t rows = c.y - from.y;
    if (ahead <= 0 || rows <= -band || rows >= band) continue;
    if (choice < 0 || ahead < best) {
      choice = i;
      best = ahead;
    }
  }
  if (choice >= 0) form->focused = choice;
}

// Up and down walk the list keeping the smallest vertical gap seen so far; a candidate
// that matches it takes the focus when it is at least as close as the choice so far, so
// a later candidate wins a tie. Down needs a strictly smaller gap.
void MoveVertically(FormRecord* form, int direction) {
  if (!HasFocus(form)) return;
  const Centre from = CentreOf(form->controls.Get(form->focused), form->controls.Tag(form->focused));
  int64_t bestGap = 10000;
  int64_t bestDistance = 10000;
  int32_t choice = -1;
  for (int32_t i = 0; i < form->controls.Count(); ++i) {
    void* control = form->controls.Get(i);
    const int32_t kind = form->controls.Tag(i);
    if (!IsCandidate(control, kind)) continue;
    const Centre c = CentreOf(control, kind);
    const int64_t gap = direction < 0 ? from.y - c.y : c.y - from.y;
    if (gap <= 0) continue;
    if (direction < 0 ? gap > bestGap : gap >= bestGap) continue;
    bestGap = gap;
    const int64_t distance = Distance(from, c);
    if (distance <= bestDistance) {
      choice = i;
      bestDistance = distance;
    }
  }
  if (choice >= 0) form->focused = choice;
}

}  // namespace

void ChooseInitialFocus(FormRecord* form) {
  form->focused = 0;
  // The first control is never chosen: forms begin with their backdrop.
  for (int32_t i = 1; i < form->controls.Count(); ++i) {
    const int32_t kind = form->controls.Tag(i);
    if (kind == kControlButton) {
      static_cast<ButtonControl*>(form->controls.Get(i))->focused = 1;
      form->focused = i;
      return;
    }
    if (kind == kControlCheckbox) {
      static_cast<CheckboxControl*>(form->controls.Get(i))->focusState = 2;
      form->focused = i;
      return;
    }
  }
}

void ApplyFocus(FormRecord* form) {
  if (!HasFocus(form)) return;
  for (int32_t i = 0; i < form->controls.Count(); ++i) {
    const int32_t kind = form->controls.Tag(i);
    if (kind == kControlButton)
      static_cast<ButtonControl*>(form->controls.Get(i))->focused = i == form->focused ? 1 : 0;
    else if (kind == kControlCheckbox)
      static_cast<CheckboxControl*>(form->controls.Get(i))->focusState = i == form->focused ? 2 : 1;
  }
}

void MoveFocusLeft(FormRecord* form) {
  MoveSideways(form, -1, 40);
  ApplyFocus(form);
}

void MoveFocusRight(FormRecord* form) {
  MoveSideways(form, +1, 20);
  ApplyFocus(form);
}

void MoveFocusUp(FormRecord* form) {
  MoveVertically(form, -1);
  ApplyFocus(form);
}

void MoveFocusDown(FormRecord* form) {
  MoveVertically(form, +1);
  ApplyFocus(form);
}
