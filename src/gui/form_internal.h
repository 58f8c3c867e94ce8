// What the files of the forms GUI share among themselves: events, samples, control
// lifetimes and geometry, and the resource script's line and token reader.
#pragma once

#include <cstdint>

#include "gui/gui.h"

// Reports one event to the manager's handler (nothing when none is installed).
void SendFormEvent(FormManager* manager, int32_t code, int32_t value, void* object,
                   const char* name);
// Plays the move or select sample when menu sounds are on.
void PlayMoveSample(FormManager* manager);
void PlaySelectSample(FormManager* manager);

// Releases what a control holds (images, engine) and frees its record.
void DestroyControl(void* control, int32_t kind);
// Frees a form's controls and list and the record; the caller has unlinked it.
void DestroyForm(FormRecord* form);
// A new empty form record (focused -1), or null when memory is short.
FormRecord* NewForm(uint32_t app, const char* name);

// Draws a sky and the 3D view right after it in a form, or, when the manager says no logic
// step ran since the last frame, copies back the pixels they drew then.
void DrawSkyAndView(FormManager* manager, Background* sky, View3DControl* view);
// Frees the kept pixels of the sky and the 3D view (null is fine).
void DestroySceneCache(SceneCache* cache);

// The rectangle the focus moves measure from: labels are points.
struct ControlRect {
  int32_t x, y, width, height;
};
ControlRect RectOfControl(void* control, int32_t kind);

// ---------------------------------------------------------------------------------------
// The resource script's lines and tokens

constexpr int kMaxScriptLineBytes = 1023;
constexpr int kMaxTokenBytes = 255;
constexpr int kMaxLineTokens = 16;  // more than any keyword line uses; the rest are ignored

struct ScriptLine {
  char text[kMaxScriptLineBytes + 1];
  int32_t number;  // from 1, counting every line read
};

// Reads the next line of text[0..size) from *position: carriage returns dropped, the line
// feed consumed. Returns 1 for a line, 0 when fewer than two bytes remain unread, and -1
// for a line longer than the buffer (the reader then stands after that line).
int ReadScriptLine(const char* text, int32_t size, int32_t* position, ScriptLine* line);

struct ScriptTokens {
  char token[kMaxLineTokens][kMaxTokenBytes + 1];
  int32_t count;
  bool tooLong;  // a token was longer than 255 bytes
  bool comment;  // the line's first byte is '#'
  // Token n (numbered from 1), or null when the line has none there or it is "".
  const char* Get(int n) const {
    return (n >= 1 && n <= count && token[n - 1][0]) ? token[n - 1] : nullptr;
  }
  bool Empty() const { return comment || count == 0; }
};

// Splits a line into tokens: runs of spaces separate them; a token starting with a
// double quote runs to the next one, quotes removed.
void SplitScriptLine(const char* line, ScriptTokens* tokens);

// What the standard atoi reads from a token, without its undefined overflow: the value
// saturates at the 32-bit limits.
int32_t TokenNumber(const char* token);
