// OpenForm: finds one FORM block of the resource script and builds its controls.
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <utility>

#include "core/core.h"
#include "gui/form_internal.h"

namespace {

const char* const kSyntaxError = "Syntax Error.";
const char* const kEndFormNotFound = "ENDFORM not found.";
const char* const kImageError = "Error loading image file.";
const char* const kFormNotFound = "FORM not found.";

// Cuts the text to the field (size - 1 bytes and the terminator).
void CopyName(char* out, size_t size, const char* text) {
  const size_t length = strnlen(text, size - 1);
  memcpy(out, text, length);
  out[length] = 0;
}

// True when tokens first..last are all present.
bool Has(const ScriptTokens& t, int first, int last) {
  for (int n = first; n <= last; ++n)
    if (!t.Get(n)) return false;
  return true;
}

int32_t Number(const ScriptTokens& t, int n) { return TokenNumber(t.Get(n)); }

int32_t LoadImage(const char* file) { return Gfx2D ? Gfx2D->LoadSprite(file) : -1; }

void Release(int32_t slot) {
  if (Gfx2D && slot >= 0) Gfx2D->ReleaseSprite(slot);
}

// FONT1..FONT3: the shared font is read again (labels keep pointing at it) and recoloured.
const char* ParseFont(FormManager* m, int n, const ScriptTokens& t) {
  if (!Has(t, 2, 3)) return kSyntaxError;
  Font* font = n == 1 ? m->font1 : n == 2 ? m->font2 : m->font3;
  if (!font) return nullptr;
  Font fresh(m);
  if (!fresh.LoadFont(t.Get(2))) {
    // The form still works with the font as it was.
    std::string line = "Error loading ";
    line += t.Get(2);
    LogMessage(line.c_str());
  } else {
    // Swap the glyphs into the shared font; `fresh` frees the old ones.
    std::swap(font->glyphs, fresh.glyphs);
    std::swap(font->widths, fresh.widths);
    std::swap(font->heights, fresh.heights);
    std::swap(font->offsets, fresh.offsets);
    std::swap(font->sizes, fresh.sizes);
    std::swap(font->count, fresh.count);
  }
  font->SetTextColours(uint16_t(Number(t, 3)), 0);
  return nullptr;
}

const char* ParseBitmap(FormRecord* form, const ScriptTokens& t) {
  if (!Has(t, 2, 7)) return kSyntaxError;
  auto* image = new (std::nothrow) BitmapControl();
  if (!image) return kImageError;
  image->Init(form, t.Get(2));
  if (!image->Load(t.Get(3), uint32_t(Number(t, 6)), uint32_t(Number(t, 7)))) {
    delete image;
    return kImageError;
  }
  image->x = Number(t, 4);
  image->y = Number(t, 5);
  image->option = uint8_t(Number(t, 8));
  image->visible = t.Get(9) ? uint8_t(Number(t, 9)) : 1;
  form->controls.Append(image, kControlBitmap);
  return nullptr;
}

const char* ParseButton(FormRecord* form, const ScriptTokens& t) {
  if (!Has(t, 2, 4)) return kSyntaxError;
  const int32_t normal = LoadImage(t.Get(3));
  const int32_t highlight = normal >= 0 ? LoadImage(t.Get(4)) : -1;
  if (normal < 0 || highlight < 0) {
    Release(normal);
    return kImageError;
  }
  auto* b = Has(t, 5, 8) ? new (std::nothrow) ButtonControl() : nullptr;
  if (!b) {
    Release(normal);
    Release(highlight);
    return Has(t, 5, 8) ? kImageError : kSyntaxError;
  }
  b->normalImage = normal;
  b->highlightImage = highlight;
  b->state = 1;
  b->visible = 1;
  b->x = Number(t, 5);
  b->y = Number(t, 6);
  Gfx2D->GetSpriteSize(highlight, &b->width, &b->height);
  b->blitMode = uint32_t(Number(t, 7));
  b->colourKey = uint16_t(Number(t, 8));
  b->redrawAlways = uint8_t(Number(t, 9));
  CopyName(b->name, sizeof b->name, t.Get(2));
  form->controls.Append(b, kControlButton);
  return nullptr;
}

const char* ParseLabel(FormManager* m, FormRecord* form, const ScriptTokens& t) {
  if (!Has(t, 2, 6)) return kSyntaxError;
  auto* l = new (std::nothrow) LabelControl();
  if (!l) return kSyntaxError;
  CopyName(l->name, sizeof l->name, t.Get(2));
  CopyName(l->text, sizeof l->text, t.Get(3));
  const int32_t n = Number(t, 4);
  l->font = n == 1 ? m->font1 : n == 2 ? m->font2 : m->font3;
  l->x = Number(t, 5);
  l->y = Number(t, 6);
  l->visible = 1;
  form->controls.Append(l, kControlLabel);
  return nullptr;
}

const char* ParseCheckbox(FormRecord* form, const ScriptTokens& t) {
  if (!Has(t, 2, 5)) return kSyntaxError;
  int32_t images[3] = {-1, -1, -1};
  for (int i = 0; i < 3; ++i) {
    images[i] = LoadImage(t.Get(3 + i));
    if (images[i] < 0) {
      for (int j = 0; j < i; ++j) Release(images[j]);
      return kImageError;
    }
  }
  auto* c = Has(t, 6, 10) ? new (std::nothrow) CheckboxControl() : nullptr;
  if (!c) {
    for (int32_t slot : images) Release(slot);
    return Has(t, 6, 10) ? kImageError : kSyntaxError;
  }
  c->uncheckedImage = images[0];
  c->focusImage = images[1];
  c->checkedImage = images[2];
  c->focusState = 1;
  c->x = Number(t, 6);
  c->y = Number(t, 7);
  c->checked = Number(t, 8) != 0 ? 1 : 0;
  c->blitMode = uint32_t(Number(t, 9));
  c->colourKey = uint16_t(Number(t, 10));
  c->redrawAlways = uint8_t(Number(t, 11));
  c->visible = 1;
  Gfx2D->GetSpriteSize(c->uncheckedImage, &c->width, &c->height);
  CopyName(c->name, sizeof c->name, t.Get(2));
  form->controls.Append(c, kControlCheckbox);
  return nullptr;
}

const char* ParseProgressBar(FormRecord* form, const ScriptTokens& t) {
  if (!Has(t, 2, 13)) return kSyntaxError;
  auto* p = new (std::nothrow) ProgressBarControl();
  if (!p) return kSyntaxError;
  CopyName(p->name, sizeof p->name, t.Get(2));
  p->frameImage = -1;
  if (strcmp(t.Get(3), "NO_IMAGE") != 0) {
    p->frameImage = LoadImage(t.Get(3));
    if (p->frameImage < 0) LogMessage("Error loading Progressbar sprite.");
  }
  // A bar without its frame starts hidden until the game shows it.
  p->visible = p->frameImage >= 0 ? 1 : 0;
  p->x = Number(t, 4);
  p->y = Number(t, 5);
  p->width = Number(t, 6);
  p->height = Number(t, 7);
  p->minimum = Number(t, 8);
  p->maximum = Number(t, 9);
  p->imageOffsetX = Number(t, 10);
  p->imageOffsetY = Number(t, 11);
  p->fillColour = uint16_t(Number(t, 12));
  SetProgressValue(p, Number(t, 13));
  p->vertical = uint8_t(Number(t, 14));
  form->controls.Append(p, kControlProgressBar);
  return nullptr;
}

const char* ParseView3D(FormRecord* form, const ScriptTokens& t) {
  if (!Has(t, 2, 6)) return kSyntaxError;
  auto* v = new (std::nothrow) View3DControl();
  Engine3D* engine = v ? new (std::nothrow) Engine3D() : nullptr;
  if (!engine) {
    delete v;
    return kSyntaxError;
  }
  CopyName(v->name, sizeof v->name, t.Get(2));
  v->x = Number(t, 3);
  v->y = Number(t, 4);
  v->width = Number(t, 5);
  v->height = Number(t, 6);
  v->active = 1;
  v->engine = engine;
  // An engine that cannot be made has logged why; the view then draws nothing.
  engine->Create(form, v->name, v->x, v->y, v->width, v->height);
  engine->zoom = Number(t, 7);
  form->controls.Append(v, kControlView3D);
  return nullptr;
}

const char* ParseBackground(FormRecord* form, const ScriptTokens& t) {
  if (!Has(t, 2, 6)) return kSyntaxError;
  auto* b = new (std::nothrow) BackgroundControl();
  if (!b) return kSyntaxError;
  b->Create(form, t.Get(2), Number(t, 3), Number(t, 4), Number(t, 5), Number(t, 6));
  b->plain = 0;  // a sky image, once the map gives one
  form->controls.Append(b, kControlBackground);
  return nullptr;
}

// One line of the wanted block: null when it was taken, else the failure's message.
const char* ParseKeywordLine(FormManager* m, FormRecord* form, const ScriptTokens& t) {
  if (t.tooLong) return kSyntaxError;
  const char* k = t.token[0];
  if (strcmp(k, "FONT1") == 0) return ParseFont(m, 1, t);
  if (strcmp(k, "FONT2") == 0) return ParseFont(m, 2, t);
  if (strcmp(k, "FONT3") == 0) return ParseFont(m, 3, t);
  if (strcmp(k, "BITMAP") == 0) return ParseBitmap(form, t);
  if (strcmp(k, "BUTTON") == 0) return ParseButton(form, t);
  if (strcmp(k, "LABEL") == 0) return ParseLabel(m, form, t);
  if (strcmp(k, "CHECKBOX") == 0) return ParseCheckbox(form, t);
  if (strcmp(k, "PROGRESSBAR") == 0) return ParseProgressBar(form, t);
  if (strcmp(k, "TDENG") == 0) return ParseView3D(form, t);
  if (strcmp(k, "BACKGROUND") == 0) return ParseBackground(form, t);
  return kSyntaxError;
}

// Reads the whole script into the manager's buffer; false when it cannot be opened.
bool ReadScript(const char* name, char** text, int32_t* size) {
  FILE* file = OpenDataFile(name, "rb");
  if (!file) return false;
  const long length = FileSize(file);
  // The parser counts in 32 bits; a script is a few kilobytes.
  const size_t bytes = length > 0 && length < INT32_MAX ? size_t(length) : 0;
  char* buffer = static_cast<char*>(MemAlloc(bytes + 1));
  if (!buffer) {
    fclose(file);
    return false;
  }
  const size_t got = bytes ? fread(buffer, 1, bytes, file) : 0;
  fclose(file);
  buffer[got] = 0;
  *text = buffer;
  *size = int32_t(got);
  return true;
}

// Scans the script for the wanted block and parses it. Null on success, else the message
// with the number of the line it belongs to in *lineNumber.
const char* ParseScript(FormManager* m, FormRecord* form, const char* wanted, int32_t* lineNumber) {
  ScriptLine line;
  line.number = 0;
  ScriptTokens tokens;
  bool inBlock = false;
  for (;;) {
    const int got = ReadScriptLine(m->scriptText, m->scriptSize, &m->readPosition, &line);
    *lineNumber = line.number;
    if (got == 0) return inBlock ? nullptr : kFormNotFound;  // a missing ENDFORM is accepted
    // Lengths are checked only inside the wanted block: an over-long line elsewhere (the
    // reader keeps its first bytes) must not stop other forms from opening.
    const bool overLong = got < 0;
    if (inBlock && overLong) return kSyntaxError;
    SplitScriptLine(line.text, &tokens);
    if (tokens.Empty()) continue;
    const bool formLine = strcmp(tokens.token[0], "FORM") == 0;
    if (!inBlock) {
      if (!formLine) continue;
      if (!tokens.Get(2)) return kSyntaxError;
      inBlock = strcmp(tokens.Get(2), wanted) == 0;
      if (inBlock && (overLong || tokens.tooLong)) return kSyntaxError;
      continue;
    }
    if (formLine) return kEndFormNotFound;
    if (strcmp(tokens.token[0], "ENDFORM") == 0) return nullptr;
    if (const char* failure = ParseKeywordLine(m, form, tokens)) return failure;
  }
}

}  // namespace

bool OpenForm(FormManager* m, const char* scriptName, const char* formName) {
  if (!m || !scriptName || !formName) return false;
  if (FormRecord* open = FindForm(m, formName)) {
    m->current = open;
    return true;
  }
  FormRecord* form = NewForm(m->app, formName);
  if (!form) return false;
  m->forms.Append(form, 0);
  m->current = form;

  if (!ReadScript(scriptName, &m->scriptText, &m->scriptSize)) {
    LogMessage("Error opening resorce file.");
    return false;
  }
  m->readPosition = 0;
  int32_t lineNumber = 0;
  const char* failure = ParseScript(m, form, formName, &lineNumber);
  MemFree(m->scriptText);
  m->scriptText = nullptr;
  m->scriptSize = 0;
  m->readPosition = 0;
  if (failure) {
    char text[160];
    snprintf(text, sizeof text, "Error parsing resource file at line num %d - %s", int(lineNumber),
             failure);
    LogMessage(text);
    return false;
  }
  ChooseInitialFocus(form);
  SendFormEvent(m, kEventFormOpened, 0, form, form->name);
  return true;
}

int32_t ListScriptForms(const char* scriptName, void (*visit)(const char* formName, void* user),
                        void* user) {
  char* text = nullptr;
  int32_t size = 0;
  if (!ReadScript(scriptName, &text, &size)) return -1;
  ScriptLine line;
  line.number = 0;
  ScriptTokens tokens;
  int32_t position = 0, count = 0;
  for (int got; (got = ReadScriptLine(text, size, &position, &line)) != 0;) {
    if (got < 0) continue;
    SplitScriptLine(line.text, &tokens);
    if (tokens.Empty() || strcmp(tokens.token[0], "FORM") != 0 || !tokens.Get(2)) continue;
    ++count;
    if (visit) visit(tokens.Get(2), user);
  }
  MemFree(text);
  return count;
}
