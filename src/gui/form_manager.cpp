// The FormManager: shared fonts and menu samples, the list of open forms, events, closing.
#include <cstring>
#include <new>
#include <string>

#include "core/core.h"
#include "gui/form_internal.h"
#include "sound/sound.h"

FormManager* Forms = nullptr;

namespace {

constexpr int32_t kMoveSampleVolume = 140;
constexpr int32_t kSelectSampleVolume = 226;

// Loads one shared font with its start colours; false after logging which one failed.
bool LoadSharedFont(FormManager* m, Font** slot, const char* file, uint16_t colour) {
  Font* font = new (std::nothrow) Font(m);
  if (!font || !font->LoadFont(file)) {
    delete font;
    std::string line = "Error loading ";
    line += file;
    LogMessage(line.c_str());
    return false;
  }
  font->SetTextColours(colour, 0);
  *slot = font;
  return true;
}

int32_t LoadMenuSample(SoundSystem* sound, const char* file, int32_t volume) {
  if (!sound) return -1;
  const int32_t slot = LoadWav(sound, file);
  if (slot >= 0) SetSampleVolume(sound, slot, volume);
  return slot;
}

void UnlinkForm(FormManager* m, FormRecord* form) {
  for (int32_t i = 0; i < m->forms.Count(); ++i)
    if (m->forms.Get(i) == form) {
      m->forms.Remove(i);
      return;
    }
}

// Event 304, then the controls and the record go; no form is current afterwards, even
// when another form than the current one was closed.
void CloseFormRecord(FormManager* m, FormRecord* form) {
  SendFormEvent(m, kEventFormClosing, 0, form, form->name);
  UnlinkForm(m, form);
  DestroyForm(form);
  m->current = nullptr;
}

}  // namespace

FormManager* CreateFormManager(uint32_t app, void* driver, SoundSystem* sound,
                               MenuEventHandler handler) {
  // Value-initialised: every field zero, the lists empty.
  auto* m = new (std::nothrow) FormManager();
  if (!m) return nullptr;
  m->driver = driver;
  m->app = app;
  m->sound = sound;
  m->handler = handler;
  m->keysNavigate = 1;
  m->menuSounds = 1;
  m->focusHighlight = 1;
  m->inputMode = kInputNormal;
  m->moveSample = -1;
  m->selectSample = -1;
  // Without its fonts the manager cannot show a form: creation ends at the first failure.
  if (!LoadSharedFont(m, &m->font1, "font1.fnt", MakeColour(31, 31, 31))) return m;
  if (!LoadSharedFont(m, &m->font2, "font2.fnt", MakeColour(31, 31, 20))) return m;
  if (!LoadSharedFont(m, &m->font3, "font3.fnt", MakeColour(31, 31, 20))) return m;
  m->moveSample = LoadMenuSample(sound, "menu1.wav", kMoveSampleVolume);
  m->selectSample = LoadMenuSample(sound, "menu2.wav", kSelectSampleVolume);
  m->forms.Create(m);
  SendFormEvent(m, kEventManagerCreated, 0, nullptr, "");
  return m;
}

void DestroyFormManager(FormManager* m) {
  if (!m) return;
  CloseCurrentForm(m);
  delete m->font1;
  delete m->font2;
  delete m->font3;
  for (int32_t i = 0; i < m->forms.Count(); ++i)
    DestroyForm(static_cast<FormRecord*>(m->forms.Get(i)));
  m->forms.Destroy();
  if (m->sound) {
    if (m->moveSample >= 0) FreeSample(m->sound, m->moveSample);
    if (m->selectSample >= 0) FreeSample(m->sound, m->selectSample);
  }
  MemFree(m->scriptText);
  DestroySceneCache(m->sceneCache);
  if (Forms == m) Forms = nullptr;
  delete m;
}

void SendFormEvent(FormManager* m, int32_t code, int32_t value, void* object, const char* name) {
  if (m && m->handler) m->handler(m, code, value, object, name ? name : "");
}

void PlayMoveSample(FormManager* m) {
  if (m->menuSounds && m->sound && m->moveSample >= 0) PlaySample(m->sound, m->moveSample, 0);
}

void PlaySelectSample(FormManager* m) {
  if (m->menuSounds && m->sound && m->selectSample >= 0) PlaySample(m->sound, m->selectSample, 0);
}

void SetThrottledRedraw(FormManager* m, uint8_t on) {
  m->throttledRedraw = on;
  m->redrawCounter = 100;
}

FormRecord* NewForm(uint32_t app, const char* name) {
  auto* form = new (std::nothrow) FormRecord();
  if (!form) return nullptr;
  form->app = app;
  strncpy(form->name, name, kMaxFormNameChars);
  form->controls.Create(form);
  form->focused = -1;
  return form;
}

void DestroyForm(FormRecord* form) {
  for (int32_t i = 0; i < form->controls.Count(); ++i)
    DestroyControl(form->controls.Get(i), form->controls.Tag(i));
  form->controls.Destroy();
  delete form;
}

FormRecord* FindForm(FormManager* m, const char* name) {
  for (int32_t i = 0; i < m->forms.Count(); ++i) {
    auto* form = static_cast<FormRecord*>(m->forms.Get(i));
    // Names are kept cut to 127 characters; the requested name is cut the same way, so a
    // long name finds the form it opened.
    if (strncmp(form->name, name, kMaxFormNameChars) == 0) return form;
  }
  return nullptr;
}

bool CloseForm(FormManager* m, const char* name) {
  FormRecord* form = FindForm(m, name);
  if (!form) {
    std::string line = "Error in CloseForm: form not found:";
    line += name;
    LogMessage(line.c_str());
    return false;
  }
  CloseFormRecord(m, form);
  return true;
}

void CloseCurrentForm(FormManager* m) {
  if (m->current) CloseFormRecord(m, m->current);
}
