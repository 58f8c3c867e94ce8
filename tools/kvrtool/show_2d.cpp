// kvrtool show sprite / text / sky, and the info printers for sprites and fonts.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "core/core.h"
#include "gfx2d/gfx2d.h"
#include "kvrtool.h"

namespace {

// A Graphics2D on the frame buffer for one command; the log goes to stderr afterwards.
struct Canvas {
  Canvas() {
    g.Create(0, 240, 320, FrameBuffer);
    Gfx2D = &g;
    ClearFrame();
  }
  ~Canvas() { Gfx2D = nullptr; }
  Graphics2D g;
};

// A neutral backdrop that shows both dark outlines and light text: grey bands and a checker.
void Backdrop() {
  for (int y = 0; y < 320; ++y)
    for (int x = 0; x < 240; ++x) {
      const int band = (y / 40) % 4;
      const int v = 6 + band * 6 + (((x / 8) + (y / 8)) & 1);
      FrameBuffer[y * 240 + x] = MakeColour(v, v, v + 2);
    }
}

int ParseInt(const std::string& s) { return int(strtol(s.c_str(), nullptr, 0)); }

}  // namespace

int ShowSprite(const Args& all) {
  Args args = Positional(all);
  if (args.size() != 2) {
    fprintf(stderr, "usage: kvrtool show sprite FILE OUT.png [--mode 0..3] [--key 0xRRRR]\n");
    return 2;
  }
  Canvas c;
  Backdrop();
  int32_t slot =
      WithFileDirectory(args[0], [&](const std::string& n) { return c.g.LoadSprite(n.c_str()); });
  if (slot == -1) {
    fprintf(stderr, "kvrtool: cannot load sprite %s\n", args[0].c_str());
    ReportLog();
    return 1;
  }
  int32_t w, h;
  c.g.GetSpriteSize(slot, &w, &h);
  // Centred when it fits, else from the top-left corner.
  const int32_t x = w <= 240 ? (240 - w) / 2 : 0, y = h <= 320 ? (320 - h) / 2 : 0;
  c.g.DrawSprite(slot, x, y, uint32_t(ParseInt(OptionValue(all, "--mode", "0"))),
                 uint16_t(ParseInt(OptionValue(all, "--key", "0"))));
  c.g.ReleaseSprite(slot);
  printf("%s: %d x %d drawn at %d, %d\n", args[0].c_str(), w, h, x, y);
  return SaveFramePng(args[1]) ? 0 : 1;
}

int ShowText(const Args& all) {
  Args args = Positional(all);
  if (args.size() != 3) {
    fprintf(stderr,
            "usage: kvrtool show text FONT TEXT OUT.png [--fg 0xRRRR] [--bg 0xRRRR] [--opaque 1]\n"
            "  TEXT may hold \\n for more lines; \"@all\" shows every printable character\n");
    return 2;
  }
  Canvas c;
  Backdrop();
  Font font;
  if (!WithFileDirectory(args[0], [&](const std::string& n) { return font.LoadFont(n.c_str()); })) {
    fprintf(stderr, "kvrtool: cannot load font %s\n", args[0].c_str());
    ReportLog();
    return 1;
  }
  font.SetTextColours(uint16_t(ParseInt(OptionValue(all, "--fg", "0xFFFF"))),
                      uint16_t(ParseInt(OptionValue(all, "--bg", "0"))));
  const uint8_t transparent = OptionValue(all, "--opaque", "0") == "0";
  std::string text = args[1];
  if (text == "@all") {
    text.clear();
    for (int ch = 32; ch < 127; ++ch) {
      text += char(ch);
      if ((ch - 31) % 16 == 0) text += "\\n";
    }
  }
  // Lines at 4 pixels from the left, one line height and 3 rows apart.
  const int32_t step = font.FontHeight() + 3;
  int32_t y = 4;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find("\\n", start);
    std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    font.DrawText(4, y, line.c_str(), FrameBuffer, 240, 320, transparent);
    y += step;
    if (end == std::string::npos) break;
    start = end + 2;
  }
  return SaveFramePng(args[2]) ? 0 : 1;
}

int ShowSky(const Args& all) {
  Args args = Positional(all);
  if (args.size() != 4) {
    fprintf(stderr,
            "usage: kvrtool show sky FILE HEADING PITCH OUT.png [--area X,Y,W,H]\n"
            "  HEADING: 524288 to a turn; PITCH: camera pitch + 51000 (level)\n");
    return 2;
  }
  Canvas c;
  int x = 0, y = 0, w = 240, h = 160;
  const std::string area = OptionValue(all, "--area", "");
  if (!area.empty() && sscanf(area.c_str(), "%d,%d,%d,%d", &x, &y, &w, &h) != 4) {
    fprintf(stderr, "kvrtool: --area wants X,Y,W,H\n");
    return 2;
  }
  Background sky(nullptr, "BACKGROUND", x, y, w, h);
  sky.plain = 0;
  if (!WithFileDirectory(args[0],
                         [&](const std::string& n) { return sky.LoadBackground(n.c_str()); })) {
    fprintf(stderr, "kvrtool: cannot load sky %s\n", args[0].c_str());
    ReportLog();
    return 1;
  }
  sky.heading = ParseInt(args[1]);
  sky.pitch = ParseInt(args[2]);
  sky.DrawBackground(FrameBuffer);
  sky.Release();
  return SaveFramePng(args[3]) ? 0 : 1;
}

bool InfoSprite(const std::string& name, const std::vector<unsigned char>& bytes) {
  if (name.size() < 4 || name.compare(name.size() - 4, 4, ".spr") != 0 || bytes.size() < 4)
    return false;
  const int w = ReadU16BE(bytes.data()), h = ReadU16BE(bytes.data() + 2);
  const size_t need = 4 + size_t(2) * w * h;
  printf("%s: sprite %d x %d, big-endian 5-6-5 with red and blue exchanged, %zu bytes\n",
         name.c_str(), w, h, bytes.size());
  if (bytes.size() < need) {
    printf("  short: %zu bytes missing, the game refuses it\n", need - bytes.size());
    return true;
  }
  if (bytes.size() > need) printf("  %zu bytes after the last pixel (ignored)\n", bytes.size() - need);
  if (w == kPanoramaWidth && h == kPanoramaHeight) {
    bool seamless = true;
    for (int y = 0; y < h && seamless; ++y)
      for (int x = 512; x < 640 && seamless; ++x)
        seamless = ReadU16BE(&bytes[4 + 2 * (size_t(y) * w + x)]) ==
                   ReadU16BE(&bytes[4 + 2 * (size_t(y) * w + x - 512)]);
    printf("  sky panorama: 512 columns to a turn; the last 128 %s the first\n",
           seamless ? "repeat" : "DO NOT repeat");
  } else if (w == 240 && h == 320) {
    printf("  a full screen\n");
  }
  return true;
}

bool InfoFont(const std::string& name, const std::vector<unsigned char>& bytes) {
  if (name.size() < 4 || name.compare(name.size() - 4, 4, ".fnt") != 0 || bytes.size() < 4)
    return false;
  const int32_t count = int32_t(ReadU32LE(bytes.data()));
  printf("%s: bitmap font, %d glyph records, %zu bytes\n", name.c_str(), count, bytes.size());
  if (count >= 256) {
    printf("  count of 256 or more: the game refuses it\n");
    return true;
  }
  size_t at = 4;
  int seen = 0, outlined = 0, minAdvance = 999, maxAdvance = 0, heightA = -1;
  bool present[256] = {};
  for (int32_t i = 0; i < count; ++i) {
    if (at + 17 > bytes.size()) {
      printf("  truncated in record %d: the game refuses it\n", i);
      return true;
    }
    const int code = bytes[at];
    const int32_t size = int32_t(ReadU32LE(&bytes[at + 1]));
    const int32_t advance = int32_t(ReadU32LE(&bytes[at + 5]));
    const int32_t rows = int32_t(ReadU32LE(&bytes[at + 9]));
    at += 17;
    if (size >= 1) {
      if (at + size_t(size) > bytes.size()) {
        printf("  glyph %d runs past the end: the game refuses it\n", code);
        return true;
      }
      for (int32_t k = 0; k < size; ++k)
        if (bytes[at + size_t(k)] == 2) {
          ++outlined;
          break;
        }
      at += size_t(size);
      present[code] = true;
      ++seen;
      minAdvance = std::min(minAdvance, int(advance));
      maxAdvance = std::max(maxAdvance, int(advance));
      if (code == 'A') heightA = rows;
    }
  }
  std::string missing;
  for (int ch = 33; ch < 127; ++ch)
    if (!present[ch]) missing += char(ch);
  printf("  %d glyphs with pixels, %d with outline, advance %d..%d, line height %d\n", seen,
         outlined, seen ? minAdvance : 0, maxAdvance, heightA);
  printf("  printable ASCII %s%s\n", missing.empty() ? "complete" : "missing: ", missing.c_str());
  return true;
}
