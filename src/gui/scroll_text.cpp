// The scrolling text panel: reading, wrapping and splitting a story text, and drawing the
// visible lines into the image each step.
#include "gui/scroll_text.h"

#include <cstring>

#include "core/core.h"

namespace {

int32_t Advance(const Font& font, char c) {
  const char one[2] = {c, 0};
  return font.MeasureText(one);
}

// Splits at every line feed or carriage return; an empty line between two breaks is kept,
// nothing after the last break is not a line.
void SplitLines(const char* text, PointerList* lines) {
  const char* start = text;
  for (const char* p = text;; ++p) {
    const bool atBreak = *p == '\n' || *p == '\r';
    if (!atBreak && *p != 0) continue;
    const size_t length = size_t(p - start);
    if (atBreak || length > 0) {
      auto* line = static_cast<char*>(MemAlloc(length + 1));
      if (!line) {
        LogMessage("Error allocating memory.16787");
        return;
      }
      memcpy(line, start, length);
      line[length] = 0;
      const int32_t before = lines->Count();
      lines->Append(line, kTagOwned);
      if (lines->Count() == before) {  // the list could not grow
        MemFree(line);
        return;
      }
    }
    if (*p == 0) return;
    start = p + 1;
  }
}

}  // namespace

char* WrapScrollText(const char* input, const Font& font, int32_t maxWidth) {
  const size_t n = strlen(input);
  // Every output line holds at least one input character and adds at most one "\n", so
  // twice the input bounds the output however narrow the image.
  auto* out = static_cast<char*>(MemAlloc(2 * n + 300));
  auto* line = static_cast<char*>(MemAlloc(n + 1));
  if (!out || !line) {
    MemFree(out);
    MemFree(line);
    return nullptr;
  }
  size_t o = 0;
  size_t pos = 0;
  while (pos < n) {
    size_t len = 0;
    int64_t width = 0;  // the line's MeasureText, kept as a running sum
    while (pos < n) {
      const char c = input[pos++];
      if (c == ' ' && len == 0) continue;
      line[len++] = c;
      if (c == '\r') {
        if (pos < n && input[pos] == '\n') ++pos;
        break;
      }
      width += Advance(font, c);
      if (width >= maxWidth) break;
    }
    // A line cut by the width goes back to its last space, but never below two
    // characters: a word wider than the image comes out two characters at a time.
    if (len > 0 && pos < n) {
      const char last = line[len - 1];
      if (last != '\n' && last != '\r' && last != ' ') {
        while (len > 2 && line[len - 1] != ' ') {
          --len;
          --pos;
        }
      }
    }
    memcpy(out + o, line, len);
    o += len;
    if (len == 0 || (line[len - 1] != '\r' && line[len - 1] != '\n')) out[o++] = '\n';
  }
  out[o] = 0;
  MemFree(line);
  return out;
}

void ScrollText::Create(uint32_t application, int32_t imageSlot, const char* fileName,
                        Font* textFont, float pixelsPerStep) {
  app = application;
  reserved[0] = reserved[1] = 0;
  image = imageSlot;
  font = textFont;
  // The text only ever moves up; a negative or undefined speed would take the position
  // where no line offset can be computed.
  speed = pixelsPerStep >= 0 ? pixelsPerStep : 0;
  position = 0;
  text = nullptr;
  imageWidth = imageHeight = 0;
  if (Gfx2D) Gfx2D->GetSpriteSize(image, &imageWidth, &imageHeight);
  lines.Create(this);

  // Without its file the panel stays empty, so the first update reports the end.
  FILE* f = fileName ? OpenDataFile(fileName, "rb") : nullptr;
  if (!f) {
    LogMessage("error opening scroll txt file");
  } else {
    long size = FileSize(f);
    if (size < 0) size = 0;
    text = static_cast<char*>(MemAlloc(size_t(size) + 200));
    if (!text) {
      LogMessage("Error allocating MyText");
    } else {
      const size_t got = fread(text, 1, size_t(size), f);
      text[got] = 0;
    }
    fclose(f);
  }
  if (text && font) {
    char* wrapped = WrapScrollText(text, *font, imageWidth - 3);
    if (wrapped) {
      MemFree(text);
      text = wrapped;
    }
    SplitLines(text, &lines);
  }
  position = 0;
  if (Gfx2D) Gfx2D->ClearSprite(image);
}

bool ScrollText::Update() {
  if (!font) return false;
  const int32_t h = font->FontHeight();
  const int32_t count = lines.Count();
  if (h <= 0) return false;  // a font without a line height cannot move a line

  // k: the first line not yet wholly scrolled out of the top; once it is the last line,
  // the text has run out.
  int32_t k = 0;
  const float over = position - float(2 * h);
  if (over > 0) {
    while (k < count - 1 && float(k) * float(h) < over) ++k;
  }
  if (k >= count - 1) return false;

  const int32_t offset = int32_t(position - float(k) * float(h));
  uint16_t* block = Gfx2D ? Gfx2D->SpriteBlock(image) : nullptr;
  if (block) {
    Gfx2D->ClearSprite(image);
    // The image's own size bounds the drawing, whatever the slot holds now.
    const int32_t w = SpriteWidth(block);
    const int32_t hImage = SpriteHeight(block);
    int32_t y = h - offset;
    for (int32_t i = k; i < count; ++i) {
      const char* line = static_cast<const char*>(lines.Get(i));
      // A line may end in the space that took it past the width; centred as it is, it
      // would start left of the image and DrawText would drop its first character.
      int32_t x = (w - font->MeasureText(line)) >> 1;
      if (x < 0) x = 0;
      font->DrawText(x, y, line, SpritePixels(block), w, hImage, 0);
      y += h;
      if (y > hImage) break;
    }
  }
  position += speed;
  return true;
}

void ScrollText::Destroy() {
  // A zero-filled panel that was never created has no list to free.
  if (lines.items) lines.Destroy();
  MemFree(text);
  text = nullptr;
}
