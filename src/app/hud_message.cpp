// The head-up message line: texts of pickups, mission objects and the craft, wrapped to the
// layout width after words and shown for 3000 ms.
#include <cstring>
#include <string>

#include "app/app.h"
#include "core/core.h"

namespace {

constexpr size_t kMaxMessageChars = 255;

int32_t Width(const Font& font, const std::string& text) { return font.MeasureText(text.c_str()); }

}  // namespace

void WrapHudMessage(const Font& font, const char* text, int32_t layoutWidth, char* out,
                    size_t outBytes) {
  if (!out || outBytes == 0) return;
  out[0] = 0;
  if (!text) return;
  const std::string whole(text, strnlen(text, kMaxMessageChars));
  std::string message;
  if (Width(font, whole) <= layoutWidth) {
    message = whole;
  } else {
    size_t pos = 0;
    while (pos < whole.size()) {
      // Fill the line until it is as wide as the layout or the text has run out.
      std::string line;
      while (pos < whole.size() && Width(font, line) < layoutWidth) line += whole[pos++];
      // A line that is full (or, at the very end, too wide) is broken after its last word:
      // characters go back to the next line up to and including the space before them.
      if (pos < whole.size() || Width(font, line) > layoutWidth) {
        size_t keep = line.size();
        while (keep > 1 && line[keep - 1] != ' ') --keep;
        // keep - 1 is the space, given back too. A line without a space to break at keeps
        // what fits instead of shrinking to one character a line.
        if (keep > 1)
          keep -= 1;
        else if (line.size() > 1 && Width(font, line) > layoutWidth)
          keep = line.size() - 1;
        else
          keep = line.size();
        pos -= line.size() - keep;
        line.resize(keep);
      }
      message += line;
      message += '\n';
    }
  }
  // The record holds 256 bytes: line breaks added to a long text are cut at the end.
  const size_t n = message.size() < outBytes - 1 ? message.size() : outBytes - 1;
  memcpy(out, message.data(), n);
  out[n] = 0;
}

void GameDriver::ShowHudMessage(const char* text) {
  messageShown = 1;
  messageTime = 0;
  if (!font) {
    messageText[0] = 0;
    return;
  }
  WrapHudMessage(*font, text, int32_t(LayoutWidth), messageText, sizeof messageText);
}
