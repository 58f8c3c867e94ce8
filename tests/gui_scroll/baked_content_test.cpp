// The baked story texts in the panel as the game shows them, and the bake's default
// kvr.ini, which a rebuild never writes over the player's own files.
#include <cstdlib>
#include <string>

#include "core/core.h"
#include "gfx2d/gfx2d.h"
#include "support/test_support.h"
#include "gui/scroll_text.h"

namespace {

struct Story {
  const char* file;
  const char* image;  // the bitmap the form gives the panel
  const char* font;
  float speed;
  bool risesFromBottom;  // the first frame shows text only in the lower half
  double maxSeconds;     // the briefing is read before the first map; the end at leisure
};

int RunBake(const std::string& outDir) {
  const std::string command = std::string("\"") + KVR_BAKE + "\" \"" + outDir + "\" \"" +
                              KVR_SOURCE_DIR + "/content\" > /dev/null 2>&1";
  return system(command.c_str());
}

}  // namespace

TEST(BakedStory, FitsItsWindowAndRisesFromTheBottom) {
  UseGameData data;
  Graphics2D g;
  g.Create(0, 240, 320, FrameBuffer);
  Gfx2D = &g;
  const Story stories[] = {
      {"intro.txt", "story_text.spr", "font1.fnt", 1.0f, true, 30},
      {"final.txt", "final_text.spr", "font2.fnt", 0.3f, true, 150},
      {"final.txt", "final_text_ext.spr", "font2.fnt", 0.3f, false, 150},
  };
  for (const Story& s : stories) {
    SCOPED_TRACE(std::string(s.file) + " in " + s.image);
    const int32_t image = g.LoadSprite(s.image);
    ASSERT_GE(image, 0);
    int32_t w, h;
    g.GetSpriteSize(image, &w, &h);
    Font font;
    ASSERT_EQ(font.LoadFont(s.font), 1);
    ScrollText panel{};
    panel.Create(0, image, s.file, &font, s.speed);
    ASSERT_GT(panel.lines.Count(), 20);
    for (int32_t i = 0; i < panel.lines.Count(); ++i) {
      const char* line = static_cast<const char*>(panel.lines.Get(i));
      // Every glyph drawn: the line up to its last visible character fits the image
      // (a glyph must end before the last column) and the font has each character.
      std::string visible(line);
      visible.erase(visible.find_last_not_of(' ') + 1);
      EXPECT_LT(font.MeasureText(visible.c_str()), w) << line;
      for (const char* p = line; *p; ++p)
        EXPECT_TRUE(*p == ' ' || font.glyphs[uint8_t(*p)] != nullptr) << line;
    }
    // Text shows from the first frame on, in the lower half where the window is short
    // enough for the story to rise from its bottom edge.
    ASSERT_TRUE(panel.Update());
    const uint16_t* px = SpritePixels(g.SpriteBlock(image));
    int firstInkRow = -1;
    for (int y = 0; y < h && firstInkRow < 0; ++y)
      for (int x = 0; x < w; ++x)
        if (px[y * w + x] == font.foreground) {
          firstInkRow = y;
          break;
        }
    ASSERT_GE(firstInkRow, 0);
    if (s.risesFromBottom) {
      EXPECT_GT(firstInkRow, h / 2);
    }
    int steps = 1;
    while (panel.Update()) ++steps;
    EXPECT_LE(steps * 0.04, s.maxSeconds);
    panel.Destroy();
    g.ReleaseSprite(image);
  }
  Gfx2D = nullptr;
}

TEST(BakedSettings, TheBakeWritesKeyboardBindingsOnlyWhereNoSettingsExist) {
  ScratchDir dir;
  ASSERT_EQ(RunBake(dir.path()), 0);
  Settings settings{};
  KeyBindings keys{};
  ASSERT_TRUE(ReadSettings(&settings, &keys));
  EXPECT_EQ(dir.Read("kvr.ini").size(), 120u);
  // Menus on the arrows and Enter; the craft on the arrows, Space and two letters.
  EXPECT_EQ(keys.code[kActMenuSelect], 0x0Du);
  EXPECT_EQ(keys.code[kActShoot], 0x20u);
  // Every game action has its own key, as key setup would leave it.
  const int game[] = {kActEngineOnOff, kActShoot, kActChangeWeapon, kActLeft, kActRight,
                      kActViewUp, kActViewDown};
  for (int a : game) {
    EXPECT_NE(keys.code[a], 0u) << a;
    for (int b : game)
      if (a != b) {
        EXPECT_NE(keys.code[a], keys.code[b]) << a << " " << b;
      }
  }
  EXPECT_FALSE(dir.Exists("kvr_playerdata.dat"));

  // A rebuild leaves the player's settings, progress, map states and log alone.
  const std::string mine(120, '\x07'), progress(696, '\x09');
  dir.Write("kvr.ini", mine);
  dir.Write("kvr_playerdata.dat", progress);
  dir.Write("map1_1.sav", "state");
  dir.Write("log.txt", "last run\n");
  ASSERT_EQ(RunBake(dir.path()), 0);
  EXPECT_EQ(dir.Read("kvr.ini"), mine);
  EXPECT_EQ(dir.Read("kvr_playerdata.dat"), progress);
  EXPECT_EQ(dir.Read("map1_1.sav"), "state");
  EXPECT_EQ(dir.Read("log.txt"), "last run\n");
  EXPECT_TRUE(dir.Exists("intro.txt"));
}
