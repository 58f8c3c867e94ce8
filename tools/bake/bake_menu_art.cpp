// The menu screens' art: the backdrop, titles, buttons, option switches, bars, key-setup
// buttons, the story window and the star chart's sky.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "bake_noise.h"
#include "bake_ui.h"

using namespace ui;

namespace {

constexpr int kW = 240;
constexpr int kH = 320;

// Backdrop of every menu but the main one: a dark hull panel with a fine grid, a lit header
// band for the title and a footer band, darker at the edges.
RgbImage MenuBackdrop() {
  RgbImage img(kW, kH);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      const float t = float(y) / float(kH - 1);
      Rgb c = Mix(MakeRgb(26, 34, 64), MakeRgb(8, 10, 24), t);
      // Soft light from the upper middle, and a nebula-like mottling.
      const float dx = (float(x) - 120.0f) / 150.0f, dy = (float(y) - 90.0f) / 220.0f;
      c = Mix(c, MakeRgb(60, 76, 120), 0.35f * std::exp(-(dx * dx + dy * dy) * 2.0f));
      const float n = WrapFbm2(float(x), float(y), 256, 8, 4, 31);
      c = Mix(c, MakeRgb(70, 40, 90), 0.22f * SmoothStep(0.45f, 0.85f, n));
      // A 12-pixel grid, faint, as on a navigation screen.
      if (x % 12 == 0 || y % 12 == 0) c = Mix(c, MakeRgb(90, 120, 180), 0.10f);
      // Vignette.
      const float ex = float(x) / float(kW - 1) * 2 - 1, ey = float(y) / float(kH - 1) * 2 - 1;
      c = Scale(c, 1.0f - 0.35f * std::pow(std::max(std::fabs(ex), std::fabs(ey)), 4.0f));
      img.At(x, y) = c;
    }
  // Header and footer bands with amber hairlines.
  Gradient(img, 0, 0, kW, 40, MakeRgb(38, 48, 80), MakeRgb(20, 26, 48));
  img.FillRect(0, 40, kW, 1, kAmberDeep);
  img.FillRect(0, 41, kW, 1, MakeRgb(8, 8, 16));
  Gradient(img, 0, kH - 14, kW, 14, MakeRgb(20, 26, 48), MakeRgb(34, 42, 72));
  img.FillRect(0, kH - 15, kW, 1, kAmberDeep);
  for (int x = 6; x < kW; x += 40) {
    Rivet(img, x, 5);
    Rivet(img, x + 20, kH - 7);
  }
  // Hazard ticks at the footer's ends.
  for (int i = 0; i < 4; ++i) {
    for (int y = kH - 12; y < kH - 3; ++y) {
      const int x0 = 8 + i * 7 + (y - (kH - 12));
      img.FillRect(x0, y, 3, 1, kAmberDeep);
      img.FillRect(kW - 12 - i * 7 - (y - (kH - 12)), y, 3, 1, kAmberDeep);
    }
  }
  return img;
}

// A screen title: large amber capitals with a dark outline on black (the colour key).
RgbImage Title(const std::string& text) {
  RgbImage img(kW, 34);
  TextCentred(img, kW / 2 + 2, 11, text, LetterStyle::Large, 1, [](float) { return MakeRgb(6, 4, 10); }, 2);
  TextCentred(img, kW / 2, 9, text, LetterStyle::Large, 1, AmberFill, 2);
  return img;
}

// A wide option row that is a checkbox as a whole: caption on the left and a switch on the
// right, so the whole row takes a tap. Drawn keyed on magenta (it holds none).
RgbImage OptionRow(const std::string& caption, bool on) {
  const int w = 224, h = 26;
  RgbImage img(w, h);
  Gradient(img, 0, 0, w, h, kPanelTop, kPanelBottom);
  Outline(img, 0, 0, w, h, kSteelDark);
  Bevel(img, 1, 1, w - 2, h - 2, Mix(kSteel, kPanelTop, 0.4f), kNavy);
  TextAt(img, 12, (h - 7) / 2, caption, LetterStyle::Bold, 1, LightFill, 1);
  // The switch: a rounded slot with a knob, amber and right when on.
  const int sx = w - 56, sy = 6, sw = 44, sh = 14;
  Inset(img, sx, sy, sw, sh, on ? MakeRgb(150, 70, 14) : MakeRgb(20, 24, 38));
  if (on) Gradient(img, sx + 2, sy + 2, sw - 4, sh - 4, MakeRgb(255, 196, 90), MakeRgb(210, 100, 24));
  const int kx = on ? sx + sw - 16 : sx + 2;
  Gradient(img, kx, sy + 2, 14, sh - 4, kSteelLight, kSteel);
  Outline(img, kx, sy + 2, 14, sh - 4, kSteelDark);
  img.FillRect(kx + 5, sy + 4, 1, sh - 8, kSteelDark);
  img.FillRect(kx + 8, sy + 4, 1, sh - 8, kSteelDark);
  TextAt(img, on ? sx + 6 : sx + 20, sy + 3, on ? "ON" : "OFF", LetterStyle::Small, 1,
         on ? DarkFill : SteelFill, 0);
  return img;
}

// Drawn over a focused option row: an amber frame, everything else the magenta key.
RgbImage OptionFocus() {
  const int w = 224, h = 26;
  RgbImage img(w, h, Exact5(31, 0, 31));
  Outline(img, 0, 0, w, h, MakeRgb(255, 236, 180));
  Outline(img, 1, 1, w - 2, h - 2, kAmber);
  CornerMarks(img, 0, 0, w, h, 6, MakeRgb(255, 255, 240));
  for (int i = 0; i < 3; ++i) img.FillRect(4 + i, h / 2 - (2 - i), 1, 2 * (2 - i) + 1, kAmber);
  return img;
}

// The frame of the option bars: a sunken well with ticks at every tenth; keyed on black.
// The well's inside is columns 4..159 and rows 4..15.
RgbImage BarFrame() {
  const int w = 164, h = 20;
  RgbImage img(w, h);
  Gradient(img, 0, 0, w, h, kSteel, kSteelDark);
  Outline(img, 0, 0, w, h, kOutline);
  Inset(img, 2, 2, w - 4, h - 4, MakeRgb(14, 18, 30));
  for (int i = 1; i < 10; ++i) img.FillRect(4 + i * 156 / 10, 12, 1, 4, MakeRgb(50, 62, 92));
  return img;
}

// The picture window of the story text: a framed black screen (the text is drawn into
// the image control inside it).
void StoryWindow(RgbImage& img, int x, int y, int w, int h) {
  Outline(img, x - 4, y - 4, w + 8, h + 8, kOutline);
  Bevel(img, x - 3, y - 3, w + 6, h + 6, kSteelLight, kSteelDark);
  img.FillRect(x - 2, y - 2, w + 4, h + 4, kSteel);
  Outline(img, x - 1, y - 1, w + 2, h + 2, kOutline);
  img.FillRect(x, y, w, h, MakeRgb(0, 0, 0));
  CornerMarks(img, x - 4, y - 4, w + 8, h + 8, 8, kAmber);
}

// Deep space for the star chart: stars of three sizes and a faint nebula band.
RgbImage Starfield() {
  RgbImage img(kW, kH);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      Rgb c = Mix(MakeRgb(4, 6, 16), MakeRgb(10, 6, 22), float(y) / float(kH));
      const float band = std::exp(-std::pow((float(x) * 0.6f - float(y) + 120.0f) / 70.0f, 2.0f));
      const float n = WrapFbm2(float(x), float(y), 256, 6, 4, 77);
      c = Mix(c, MakeRgb(90, 40, 110), 0.45f * band * SmoothStep(0.35f, 0.8f, n));
      c = Mix(c, MakeRgb(30, 70, 120), 0.25f * band * SmoothStep(0.5f, 0.9f, WrapFbm2(float(x), float(y), 256, 12, 3, 78)));
      img.At(x, y) = c;
    }
  for (int i = 0; i < 260; ++i) {
    const float x = Hash01(i, 1, 0, 91) * kW, y = Hash01(i, 2, 0, 91) * kH;
    const float b = Hash01(i, 3, 0, 91);
    const Rgb tint = Mix(MakeRgb(170, 200, 255), MakeRgb(255, 220, 170), Hash01(i, 4, 0, 91));
    if (b > 0.97f) {
      Disc(img, x, y, 1.4f, tint);
      img.Blend(int(x), int(y), MakeRgb(255, 255, 255), 1.0f);
    } else {
      img.Blend(int(x), int(y), tint, 0.25f + 0.75f * b);
    }
  }
  return img;
}

// The strip under the star chart's view that names the destination.
RgbImage DestinationPanel() {
  const int w = 232, h = 30;
  RgbImage img(w, h);
  Gradient(img, 0, 0, w, h, kPanelTop, kPanelBottom);
  Outline(img, 0, 0, w, h, kOutline);
  Bevel(img, 1, 1, w - 2, h - 2, kSteel, kSteelDark);
  Inset(img, 60, 4, w - 64, h - 8, MakeRgb(6, 14, 20));
  TextAt(img, 8, 11, "TARGET", LetterStyle::Small, 1, AmberFill, 1);
  return img;
}

// A warning sign for the screens that ask before something is lost or refused: an amber
// triangle with a dark rim and an exclamation mark; keyed on black.
RgbImage WarningSign() {
  const int w = 48, h = 42;
  RgbImage img(w, h);
  auto inside = [](float x, float y, float grow) {
    // Triangle with its apex at (24, 2) and its base on row 39, widened by `grow`.
    const float half = (y - 2.0f) * 22.0f / 37.0f + grow;
    return y >= 2.0f - grow && y <= 39.0f + grow && std::fabs(x - 24.0f) <= half;
  };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      int outer = 0, inner = 0;
      for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx) {
          const float px = float(x) + (float(sx) + 0.5f) / 4, py = float(y) + (float(sy) + 0.5f) / 4;
          outer += inside(px, py, 2.0f);
          inner += inside(px, py, 0.0f);
        }
      if (outer == 0) continue;
      // Hard edge against the key: a pixel is either rim or transparent, never a fade to black.
      Rgb c = kOutline;
      if (inner > 0) c = Mix(kOutline, Mix(MakeRgb(255, 214, 110), MakeRgb(232, 120, 30), float(y) / float(h)),
                              float(inner) / 16.0f);
      img.At(x, y) = c;
    }
  img.FillRect(22, 13, 4, 14, kOutline);
  img.FillRect(22, 30, 4, 4, kOutline);
  return img;
}

struct ButtonArt {
  const char* file;  // the normal image; "_hi" before ".spr" names the focused one
  int w, h;
  const char* text;
  LetterStyle style;
};

// Every menu button: (file, size, caption, lettering).
const ButtonArt kButtons[] = {
    {"btn_play.spr", 108, 26, "PLAY", LetterStyle::Bold},
    {"btn_newgame.spr", 108, 26, "NEW GAME", LetterStyle::Bold},
    {"btn_options.spr", 108, 26, "OPTIONS", LetterStyle::Bold},
    {"btn_credits.spr", 108, 26, "CREDITS", LetterStyle::Bold},
    {"btn_exit.spr", 108, 26, "EXIT", LetterStyle::Bold},
    {"btn_back.spr", 108, 26, "BACK", LetterStyle::Bold},
    {"btn_keysetup.spr", 224, 26, "KEY SETUP", LetterStyle::Bold},
    {"btn_minus.spr", 28, 20, "-", LetterStyle::Large},
    {"btn_plus.spr", 28, 20, "+", LetterStyle::Large},
    {"btn_start.spr", 104, 26, "START", LetterStyle::Bold},
    {"btn_cancel.spr", 104, 26, "CANCEL", LetterStyle::Bold},
    {"btn_ok.spr", 104, 26, "OK", LetterStyle::Bold},
    {"btn_easy.spr", 160, 30, "EASY", LetterStyle::Large},
    {"btn_normal.spr", 160, 30, "NORMAL", LetterStyle::Large},
    {"btn_hard.spr", 160, 30, "HARD", LetterStyle::Large},
    {"btn_skip.spr", 108, 24, "SKIP", LetterStyle::Bold},
    {"btn_jump.spr", 112, 28, "JUMP", LetterStyle::Large},
    {"btn_prev.spr", 52, 28, "<", LetterStyle::Large},
    {"btn_next.spr", 52, 28, ">", LetterStyle::Large},
    {"key_turnleft.spr", 150, 19, "TURN LEFT", LetterStyle::Bold},
    {"key_turnright.spr", 150, 19, "TURN RIGHT", LetterStyle::Bold},
    {"key_viewup.spr", 150, 19, "LOOK UP", LetterStyle::Bold},
    {"key_viewdown.spr", 150, 19, "LOOK DOWN", LetterStyle::Bold},
    {"key_engine.spr", 150, 19, "ENGINE ON/OFF", LetterStyle::Bold},
    {"key_shoot.spr", 150, 19, "FIRE", LetterStyle::Bold},
    {"key_weapon.spr", 150, 19, "CHANGE WEAPON", LetterStyle::Bold},
    {"key_menuup.spr", 150, 19, "MENU UP", LetterStyle::Bold},
    {"key_menudown.spr", 150, 19, "MENU DOWN", LetterStyle::Bold},
    {"key_menuleft.spr", 150, 19, "MENU LEFT", LetterStyle::Bold},
    {"key_menuright.spr", 150, 19, "MENU RIGHT", LetterStyle::Bold},
    {"key_menuselect.spr", 150, 19, "MENU SELECT", LetterStyle::Bold},
};

struct TitleArt {
  const char* file;
  const char* text;
};

const TitleArt kTitles[] = {
    {"title_options.spr", "OPTIONS"},     {"title_keys.spr", "KEY SETUP"},
    {"title_credits.spr", "CREDITS"},     {"title_newgame.spr", "NEW GAME"},
    {"title_skill.spr", "SKILL LEVEL"},   {"title_story.spr", "BRIEFING"},
    {"title_starchart.spr", "STAR CHART"}, {"title_hyperjump.spr", "HYPERJUMP"},
};

struct OptionArt {
  const char* file;  // unchecked; "_on" names the checked one
  const char* caption;
};

const OptionArt kOptions[] = {
    {"opt_background.spr", "SHOW SKY"},
    {"opt_music.spr", "PLAY MUSIC"},
    {"opt_camera.spr", "FIRST PERSON VIEW"},
};

std::string WithSuffix(const std::string& file, const char* suffix) {
  return file.substr(0, file.size() - 4) + suffix + ".spr";
}

}  // namespace

bool BakeMenuArt(const BakeContext& ctx) {
  bool ok = WriteSpr(ctx, "menu_back.spr", MenuBackdrop(), true);
  for (const TitleArt& t : kTitles) ok = WriteKeyedSpr(ctx, t.file, Title(t.text), 0, false) && ok;
  for (const ButtonArt& b : kButtons) {
    ok = WriteKeyedSpr(ctx, b.file, MenuButton(b.w, b.h, b.text, false, b.style), kTintKey, true) && ok;
    ok = WriteKeyedSpr(ctx, WithSuffix(b.file, "_hi"), MenuButton(b.w, b.h, b.text, true, b.style),
                       kTintKey, true) && ok;
  }
  for (const OptionArt& o : kOptions) {
    ok = WriteKeyedSpr(ctx, o.file, OptionRow(o.caption, false), kMagentaKey, true) && ok;
    ok = WriteKeyedSpr(ctx, WithSuffix(o.file, "_on"), OptionRow(o.caption, true), kMagentaKey, true) && ok;
  }
  ok = WriteKeyedSpr(ctx, "opt_focus.spr", OptionFocus(), kMagentaKey, false) && ok;
  ok = WriteKeyedSpr(ctx, "bar_frame.spr", BarFrame(), 0, true) && ok;
  ok = WriteKeyedSpr(ctx, "icon_warning.spr", WarningSign(), 0, false) && ok;
  // The briefing screen: the backdrop with its window built in, and the black surface the
  // story scrolls on.
  RgbImage story = MenuBackdrop();
  StoryWindow(story, 12, 52, 216, 220);
  ok = WriteSpr(ctx, "menu_story.spr", story, true) && ok;
  ok = WriteSpr(ctx, "story_text.spr", RgbImage(216, 220), false) && ok;
  ok = WriteSpr(ctx, "starfield.spr", Starfield(), true) && ok;
  ok = WriteSpr(ctx, "dest_panel.spr", DestinationPanel(), true) && ok;
  return ok;
}
