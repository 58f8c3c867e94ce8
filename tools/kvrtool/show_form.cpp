// kvrtool show form: one form of a resource script drawn by the real forms runtime.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/core.h"
#include "engine3d/engine3d.h"
#include "gfx2d/gfx2d.h"
#include "gui/gui.h"
#include "kvrtool.h"

namespace {

const char* KindName(int32_t kind) {
  static const char* const kNames[] = {"?",       "button",     "bitmap",     "label",
                                       "checkbox", "3d view", "background", "progress"};
  return kind >= 1 && kind <= 7 ? kNames[kind] : "?";
}

// Every "--option VALUE" of that name, in order (options may repeat).
std::vector<std::string> AllValues(const Args& args, const std::string& name) {
  std::vector<std::string> out;
  for (size_t i = 0; i + 1 < args.size(); ++i)
    if (args[i] == name) out.push_back(args[i + 1]);
  return out;
}

std::vector<std::string> SplitCommas(const std::string& text) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start <= text.size()) {
    size_t comma = text.find(',', start);
    if (comma == std::string::npos) comma = text.size();
    if (comma > start) out.push_back(text.substr(start, comma - start));
    start = comma + 1;
  }
  return out;
}

// --set NAME=VALUE: a label's text, a progress bar's value or a checkbox's state.
bool SetValue(FormManager* m, const std::string& assignment) {
  const size_t eq = assignment.find('=');
  if (eq == std::string::npos) return false;
  const std::string name = assignment.substr(0, eq), value = assignment.substr(eq + 1);
  int32_t kind = 0;
  void* control = FindCurrentControl(m, name.c_str(), &kind);
  if (!control) return false;
  if (kind == kControlLabel) SetLabelText(static_cast<LabelControl*>(control), value.c_str());
  if (kind == kControlProgressBar) SetProgressValue(static_cast<ProgressBarControl*>(control), atoi(value.c_str()));
  if (kind == kControlCheckbox) static_cast<CheckboxControl*>(control)->checked = atoi(value.c_str()) ? 1 : 0;
  return true;
}

// A model in the first 3D view, seen as the external camera sees the craft.
void PlaceModel(FormRecord* form, const std::string& model, const std::string& pack) {
  for (int32_t i = 0; i < form->controls.Count(); ++i) {
    if (form->controls.Tag(i) != kControlView3D) continue;
    Engine3D* e = static_cast<View3DControl*>(form->controls.Get(i))->engine;
    if (!e || !e->ready) return;
    if (!pack.empty()) {
      WithFileDirectory(pack, [&](const std::string& n) {
        return e->LoadTexturePack(n.c_str(), kBankEntities) + e->LoadTexturePack(n.c_str(), kBankMap);
      });
    }
    if (WithFileDirectory(model, [&](const std::string& n) { return e->store.Load(n.c_str(), 1, 2, 0); }) < 0)
      fprintf(stderr, "kvrtool: cannot load %s\n", model.c_str());
    e->cameraPos = {0, 280, -350};
    e->cameraAngle = {10000, 0, 0};
    return;
  }
}

// --scroll NAME=FILE:FONT:SPEED:STEPS: a story text scrolled that far inside a bitmap
// control, as the briefing and the final sequence run it.
void Scroll(FormManager* m, const std::string& request, ScrollText* panel) {
  const size_t eq = request.find('=');
  std::vector<std::string> parts;
  if (eq != std::string::npos) {
    std::string rest = request.substr(eq + 1);
    for (size_t at; (at = rest.find(':')) != std::string::npos; rest = rest.substr(at + 1))
      parts.push_back(rest.substr(0, at));
    parts.push_back(rest);
  }
  int32_t kind = 0;
  auto* image = eq == std::string::npos ? nullptr
                                        : static_cast<BitmapControl*>(FindCurrentControl(m, request.substr(0, eq).c_str(), &kind));
  if (!image || kind != kControlBitmap || parts.size() != 4) {
    fprintf(stderr, "kvrtool: --scroll wants BITMAPNAME=FILE:FONT:SPEED:STEPS\n");
    return;
  }
  const int font = atoi(parts[1].c_str());
  WithFileDirectory(parts[0], [&](const std::string& n) {
    panel->Create(0, image->slot, n.c_str(), font == 1 ? m->font1 : font == 2 ? m->font2 : m->font3,
                  float(atof(parts[2].c_str())));
    return 0;
  });
  for (int step = atoi(parts[3].c_str()); step > 0 && panel->Update(); --step) {
  }
  image->visible = 1;
}

// Draws the form of `script`, a name in the data directory.
int DrawForm(const Args& all, const Args& args, const std::string& script) {
  LogCapture log;
  Graphics2D g;
  g.Create(0, 240, 320, FrameBuffer);
  Gfx2D = &g;
  MathTables math;
  math.Create(0);
  Math = &math;
  ClearFrame();

  int status = 0;
  FormManager* m = CreateFormManager(0xDEADBEEF, nullptr, nullptr, nullptr);
  if (!m || !OpenForm(m, script.c_str(), args[1].c_str())) {
    fprintf(stderr, "kvrtool: form %s could not be opened\n", args[1].c_str());
    status = 1;
  } else {
    FormRecord* form = m->current;
    // --only A,B: everything else hidden, as the game does while loading and at the end.
    const std::vector<std::string> only = SplitCommas(OptionValue(all, "--only", ""));
    if (!only.empty()) HideAllControls(m);
    for (const std::string& name : only)
      if (!SetControlVisible(m, name.c_str(), 1)) fprintf(stderr, "kvrtool: no control %s\n", name.c_str());
    for (const std::string& name : SplitCommas(OptionValue(all, "--hide", "")))
      if (!SetControlVisible(m, name.c_str(), 0)) fprintf(stderr, "kvrtool: no control %s\n", name.c_str());
    for (const std::string& name : SplitCommas(OptionValue(all, "--show", "")))
      if (!SetControlVisible(m, name.c_str(), 1)) fprintf(stderr, "kvrtool: no control %s\n", name.c_str());
    for (const std::string& assignment : AllValues(all, "--set"))
      if (!SetValue(m, assignment)) fprintf(stderr, "kvrtool: cannot set %s\n", assignment.c_str());
    const std::string focus = OptionValue(all, "--focus", "");
    for (int32_t i = 0; !focus.empty() && i < form->controls.Count(); ++i)
      if (focus == ControlName(form->controls.Get(i), form->controls.Tag(i))) {
        form->focused = i;
        ApplyFocus(form);
      }
    const std::string sky = OptionValue(all, "--sky", "");
    const int32_t heading = atoi(OptionValue(all, "--heading", "0").c_str());
    for (int32_t i = 0; !sky.empty() && i < form->controls.Count(); ++i)
      if (form->controls.Tag(i) == kControlBackground) {
        auto* bg = static_cast<BackgroundControl*>(form->controls.Get(i));
        WithFileDirectory(sky, [&](const std::string& n) { return bg->LoadBackground(n.c_str()); });
        bg->heading = heading;
        bg->pitch = 51000;
      }
    ScrollText panel{};
    const std::string scroll = OptionValue(all, "--scroll", "");
    if (!scroll.empty()) Scroll(m, scroll, &panel);
    const std::string model = OptionValue(all, "--model", "");
    if (!model.empty()) PlaceModel(form, model, OptionValue(all, "--pack", ""));

    // The screen as the game shows it: everything drawn, in list order.
    SetThrottledRedraw(m, 0);
    DrawForms(m);
    if (!SaveFramePng(args[2])) status = 1;
    panel.Destroy();
    printf("%s: %d controls, focus %d\n", form->name, int(form->controls.Count()), int(form->focused));
    for (int32_t i = 0; i < form->controls.Count(); ++i) {
      void* c = form->controls.Get(i);
      const int32_t kind = form->controls.Tag(i);
      int32_t x = 0, y = 0, w = 0, h = 0;
      // The rectangle the focus and the stylus use.
      switch (kind) {
        case kControlButton: {
          auto* b = static_cast<ButtonControl*>(c);
          x = b->x, y = b->y, w = b->width, h = b->height;
          break;
        }
        case kControlBitmap: {
          auto* b = static_cast<BitmapControl*>(c);
          x = b->x, y = b->y, w = b->width, h = b->height;
          break;
        }
        case kControlLabel: {
          auto* l = static_cast<LabelControl*>(c);
          x = l->x, y = l->y, w = l->font ? l->font->MeasureText(l->text) : 0, h = l->font ? l->font->FontHeight() : 0;
          break;
        }
        case kControlCheckbox: {
          auto* b = static_cast<CheckboxControl*>(c);
          x = b->x, y = b->y, w = b->width, h = b->height;
          break;
        }
        case kControlView3D: {
          auto* v = static_cast<View3DControl*>(c);
          x = v->x, y = v->y, w = v->width, h = v->height;
          break;
        }
        case kControlBackground: {
          auto* b = static_cast<BackgroundControl*>(c);
          x = b->x, y = b->y, w = b->width, h = b->height;
          break;
        }
        case kControlProgressBar: {
          auto* p = static_cast<ProgressBarControl*>(c);
          x = p->x, y = p->y, w = p->width, h = p->height;
          break;
        }
        default: break;
      }
      printf("  %2d %-10s %-28s %4d %4d %4d x %-4d\n", int(i), KindName(kind), ControlName(c, kind), int(x),
             int(y), int(w), int(h));
    }
  }
  DestroyFormManager(m);
  for (const std::string& line : log.NewLines()) fprintf(stderr, "log: %s\n", line.c_str());
  Math = nullptr;
  math.Destroy();
  Gfx2D = nullptr;
  return status;
}

}  // namespace

int ShowForm(const Args& all) {
  Args args = Positional(all);
  if (args.size() != 3) {
    fprintf(stderr,
            "usage: kvrtool show form SCRIPT FORM OUT.png [--sky FILE] [--heading H] [--model F.tdo "
            "--pack P.tex] [--scroll IMG=FILE:FONT:SPEED:STEPS] [--only A,B] [--hide A,B] [--show A,B] [--focus NAME] [--set NAME=VALUE]...\n");
    return 2;
  }
  // A script given as a path is drawn from its own folder, where its fonts and pictures are.
  return WithFileDirectory(args[0],
                           [&](const std::string& script) { return DrawForm(all, args, script); });
}
