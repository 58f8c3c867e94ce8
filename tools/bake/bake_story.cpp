// The story texts intro.txt and final.txt, from content/story/ in the game's text form.
#include <cstdio>
#include <string>

#include "bake.h"

namespace {

// Blank lines before the story, so it rises from the bottom of its image instead of
// starting at the top half-read: the panel's image is about 200 pixels tall and its
// lines 11 pixels apart.
constexpr int kLeadInLines = 16;

// One source line per paragraph, blank lines between them. The game's texts end each line
// with a carriage return and a line feed, which the panel takes as one break; the fonts
// draw printable ASCII only.
bool ToGameText(const std::string& name, const std::string& source, std::string* out) {
  out->clear();
  for (int i = 0; i < kLeadInLines; ++i) *out += "\r\n";
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
  for (const char* name : {"intro.txt", "final.txt"}) {
    std::string source, text;
    if (!ReadSource(ctx, std::string("story/") + name, &source)) {
      fprintf(stderr, "bake: missing content/story/%s\n", name);
      ok = false;
      continue;
    }
    ok = ToGameText(name, source, &text) && WriteOutText(ctx, name, text) && ok;
  }
  return ok;
}
