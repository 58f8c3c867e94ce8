// The story texts intro.txt and final.txt, from content/story/ in the game's text form.
#include <cstdio>
#include <string>

#include "bake.h"

namespace {

// Blank lines before each story, so it rises from the bottom of its window instead of
// starting at the top half-read. The panel puts the first line one line height (11
// pixels) down: the briefing's window is 220 pixels tall, the final text's 62 under the
// first-person console (and 176 over the external view, where it starts a third down).
struct StoryFile {
  const char* name;
  int leadInLines;
};
constexpr StoryFile kStories[] = {{"intro.txt", 18}, {"final.txt", 4}};

// One source line per paragraph, blank lines between them. The game's texts end each line
// with a carriage return and a line feed, which the panel takes as one break; the fonts
// draw printable ASCII only.
bool ToGameText(const std::string& name, const std::string& source, int leadInLines,
                std::string* out) {
  out->clear();
  for (int i = 0; i < leadInLines; ++i) *out += "\r\n";
  for (char c : source) {
    if (c == '\r') continue;
    if (c == '\n') {
      *out += "\r\n";
      continue;
    }
    if (c < 32 || c > 126) {
      fprintf(stderr, "bake: %s holds a character the fonts cannot draw (code %d)\n",
              name.c_str(), int(static_cast<unsigned char>(c)));
      return false;
    }
    *out += c;
  }
  return true;
}

}  // namespace

bool BakeStory(const BakeContext& ctx) {
  bool ok = true;
  for (const StoryFile& story : kStories) {
    std::string source, text;
    if (!ReadSource(ctx, std::string("story/") + story.name, &source)) {
      fprintf(stderr, "bake: missing content/story/%s\n", story.name);
      ok = false;
      continue;
    }
    ok = ToGameText(story.name, source, story.leadInLines, &text) &&
         WriteOutText(ctx, story.name, text) && ok;
  }
  return ok;
}
