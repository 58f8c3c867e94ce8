// kvrtool show scroll: a story text in the scrolling panel, as it stands after some steps.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/core.h"
#include "gfx2d/gfx2d.h"
#include "gui/scroll_text.h"
#include "kvrtool.h"

namespace {

// A blank image of the given size, loaded through the sprite table like a form's bitmap.
// The data directory is the game's: the blank file goes to a scratch directory instead.
int32_t LoadBlankImage(Graphics2D* g, int w, int h) {
  namespace fs = std::filesystem;
  std::string dir = (fs::temp_directory_path() / "kvrtoolXXXXXX").string();
  if (!mkdtemp(dir.data())) return -1;
  {
    std::ofstream out(dir + "/scroll.spr", std::ios::binary);
    const char size[4] = {char(w >> 8), char(w & 255), char(h >> 8), char(h & 255)};
    out.write(size, 4);
    out.write(std::string(size_t(w) * h * 2, '\0').data(), std::streamsize(size_t(w) * h * 2));
  }
  const std::string dataDir = ExeDir;
  SetExeDir((dir + "/").c_str());
  const int32_t slot = g->LoadSprite("scroll.spr");
  SetExeDir(dataDir.c_str());
  std::error_code ec;
  fs::remove_all(dir, ec);
  return slot;
}

}  // namespace

int ShowScroll(const Args& all) {
  Args args = Positional(all);
  if (args.size() != 2) {
    fprintf(stderr,
            "usage: kvrtool show scroll FILE.txt OUT.png [--font 1..3] [--speed PIXELS]\n"
            "       [--steps N] [--size WxH] [--image SPRITE.spr]\n");
    return 2;
  }
  const int fontNumber = atoi(OptionValue(all, "--font", "1").c_str());
  const float speed = strtof(OptionValue(all, "--speed", "1.0").c_str(), nullptr);
  const int steps = atoi(OptionValue(all, "--steps", "60").c_str());
  int w = 220, h = 200;
  if (sscanf(OptionValue(all, "--size", "220x200").c_str(), "%dx%d", &w, &h) != 2 || w < 1 ||
      h < 1 || w > 240 || h > 320) {
    fprintf(stderr, "kvrtool: --size wants WxH within 240x320\n");
    return 2;
  }

  Graphics2D g;
  g.Create(0, 240, 320, FrameBuffer);
  Gfx2D = &g;
  Font font;
  const std::string fontName = "font" + std::to_string(fontNumber) + ".fnt";
  if (!font.LoadFont(fontName.c_str())) {
    fprintf(stderr, "kvrtool: cannot load %s\n", fontName.c_str());
    Gfx2D = nullptr;
    return 1;
  }
  const std::string imageName = OptionValue(all, "--image", "");
  const int32_t image = imageName.empty() ? LoadBlankImage(&g, w, h)
                                          : WithFileDirectory(imageName, [&](const std::string& n) {
                                              return g.LoadSprite(n.c_str());
                                            });
  if (image < 0) {
    fprintf(stderr, "kvrtool: no image to scroll into\n");
    Gfx2D = nullptr;
    return 1;
  }
  g.GetSpriteSize(image, &w, &h);

  ScrollText panel{};
  WithFileDirectory(args[0], [&](const std::string& n) {
    panel.Create(0, image, n.c_str(), &font, speed);
    return 0;
  });
  printf("%s: %d lines in %d x %d with font %d, %d pixels apart\n", args[0].c_str(),
         panel.lines.Count(), w, h, fontNumber, font.FontHeight());
  if (panel.lines.Count() == 0) {
    fprintf(stderr, "kvrtool: %s gave no lines (missing or empty; see log.txt)\n",
            args[0].c_str());
    panel.Destroy();
    g.ReleaseSprite(image);
    Gfx2D = nullptr;
    return 1;
  }
  int moved = 0;
  bool running = true;
  for (int i = 0; i <= steps && running; ++i) {
    running = panel.Update();
    if (running) ++moved;
  }

  // A dark screen with the image framed where a form would place it.
  for (int i = 0; i < 240 * 320; ++i) FrameBuffer[i] = MakeColour(2, 4, 6);
  const int32_t x = (240 - w) / 2, y = (320 - h) / 2;
  g.DrawRect(x - 2, y - 2, w + 3, h + 3, MakeColour(8, 20, 12));
  g.DrawSprite(image, x, y, Opaque, 0);

  int total = moved;
  if (running)
    while (panel.Update()) ++total;
  printf("frame after %d steps; the text moves for %d steps (%.1f s)%s\n", moved, total,
         total * 0.04, running ? "" : ", it ended before the frame");
  panel.Destroy();
  g.ReleaseSprite(image);
  Gfx2D = nullptr;
  return SaveFramePng(args[1]) ? 0 : 1;
}
