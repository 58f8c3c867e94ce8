// The in-game screens' art: the consoles under the 3D view, the radar, the energy bar, the
// crosshairs, the engine switch and the console buttons, and the final-text panels.
#include <algorithm>
#include <cmath>
#include <string>

#include "bake_noise.h"
#include "bake_ui.h"

using namespace ui;

namespace {

const Rgb kMetalTop = MakeRgb(78, 86, 106);
const Rgb kMetalBottom = MakeRgb(38, 42, 56);
const Rgb kReadout = MakeRgb(6, 18, 24);

// Brushed gunmetal with a lit top edge.
void Metal(RgbImage& img, int x, int y, int w, int h, uint32_t seed) {
  for (int yy = 0; yy < h; ++yy) {
    const float t = h > 1 ? float(yy) / float(h - 1) : 0;
    for (int xx = 0; xx < w; ++xx) {
      Rgb c = Mix(kMetalTop, kMetalBottom, t);
      // Streaks along the rows.
      const float streak = WrapNoise2(float(xx) * 0.08f, float(yy) * 3.0f, 256, 32, seed) - 0.5f;
      c = Scale(c, 1.0f + 0.12f * streak);
      img.At(x + xx, y + yy) = c;
    }
  }
  img.FillRect(x, y, w, 1, MakeRgb(170, 180, 206));
  img.FillRect(x, y + 1, w, 1, MakeRgb(110, 118, 140));
  img.FillRect(x, y + h - 1, w, 1, MakeRgb(20, 22, 30));
}

void Groove(RgbImage& img, int x, int y, int w, int h) {
  Bevel(img, x, y, w, h, MakeRgb(24, 26, 36), MakeRgb(120, 128, 150));
  img.FillRect(x + 1, y + 1, w - 2, h - 2, MakeRgb(30, 34, 46));
}

// The first-person console: radar well, energy caption, weapon readout, button groove.
RgbImage Console() {
  RgbImage img(240, 88);
  Metal(img, 0, 0, 240, 88, 5);
  Inset(img, 4, 4, 76, 76, MakeRgb(4, 14, 10));
  TextAt(img, 86, 9, "ENERGY", LetterStyle::Small, 1, AmberFill, 1);
  Inset(img, 84, 26, 152, 22, kReadout);
  img.FillRect(86, 28, 148, 1, Mix(kReadout, kCyan, 0.35f));
  Groove(img, 82, 52, 156, 34);
  for (int x : {2, 237}) {
    Rivet(img, x, 84);
    Rivet(img, x, 4);
  }
  return img;
}

// The panel under the view during the final text: a title and the black window the text
// scrolls in; the menu button keeps its place at the bottom right.
RgbImage FinalPanel() {
  RgbImage img(240, 88);
  Metal(img, 0, 0, 240, 88, 6);
  TextAt(img, 8, 6, "MISSION COMPLETE", LetterStyle::Bold, 1, AmberFill, 1);
  img.FillRect(8, 16, 180, 1, kAmberDeep);
  Inset(img, 4, 18, 188, 66, MakeRgb(0, 0, 0));
  Groove(img, 194, 52, 44, 34);
  TextCentred(img, 216, 22, "3D", LetterStyle::Bold, 1, SteelFill, 1);
  TextCentred(img, 216, 34, "MORVEK", LetterStyle::Small, 1, SteelFill, 1);
  Rivet(img, 237, 4);
  Rivet(img, 196, 4);
  return img;
}

// The external camera's bottom strip: a name plate that the readout and buttons cover while
// playing, left bare (with the menu button) during the final text.
RgbImage ExtStrip() {
  RgbImage img(240, 40);
  Metal(img, 0, 0, 240, 40, 7);
  Groove(img, 2, 3, 236, 35);
  // Under the readout only, so nothing of it shows between the buttons.
  Inset(img, 6, 8, 76, 26, MakeRgb(16, 18, 26));
  TextCentred(img, 44, 17, "3D MORVEK", LetterStyle::Bold, 1, SteelFill, 1);
  return img;
}

RgbImage ExtReadout() {
  RgbImage img(84, 34);
  Inset(img, 0, 0, 84, 34, kReadout);
  img.FillRect(2, 2, 80, 1, Mix(kReadout, kCyan, 0.35f));
  return img;
}

// The external camera's energy box, over the view's top-left corner; keyed on black.
RgbImage ExtEnergyBox() {
  RgbImage img(156, 22);
  Gradient(img, 0, 0, 156, 22, MakeRgb(52, 58, 76), MakeRgb(30, 34, 46));
  Outline(img, 0, 0, 156, 22, kOutline);
  img.FillRect(1, 1, 154, 1, MakeRgb(140, 150, 178));
  TextAt(img, 6, 8, "ENERGY", LetterStyle::Small, 1, AmberFill, 1);
  return img;
}

// The energy well: a sunken groove whose inside is columns 3..104 and rows 3..10; keyed on
// black like every bar frame.
RgbImage EnergyFrame() {
  RgbImage img(108, 14);
  Gradient(img, 0, 0, 108, 14, kSteel, kSteelDark);
  Outline(img, 0, 0, 108, 14, kOutline);
  Inset(img, 1, 1, 106, 12, MakeRgb(10, 20, 16));
  for (int i = 1; i < 5; ++i) img.FillRect(3 + i * 102 / 5, 9, 1, 2, MakeRgb(40, 70, 56));
  return img;
}

// The radar's screen: dark green glass with range rings and a cross (the map is drawn over
// it when a map loads).
RgbImage Radar(int size, bool framed) {
  RgbImage img(size, size, MakeRgb(4, 16, 10));
  const float c = float(size) / 2.0f;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const float d = std::hypot(float(x) + 0.5f - c, float(y) + 0.5f - c) / c;
      img.At(x, y) = Mix(MakeRgb(10, 40, 24), MakeRgb(2, 10, 6), std::min(d, 1.0f));
    }
  for (float r : {0.33f, 0.66f, 0.98f}) Ring(img, c, c, r * (c - 1), 1.0f, MakeRgb(24, 80, 46));
  for (int i = 2; i < size - 2; ++i) {
    img.Blend(i, int(c), MakeRgb(24, 80, 46), 0.8f);
    img.Blend(int(c), i, MakeRgb(24, 80, 46), 0.8f);
  }
  if (framed) {
    Outline(img, 0, 0, size, size, kOutline);
    Bevel(img, 1, 1, size - 2, size - 2, kSteelLight, kSteelDark);
  }
  return img;
}

// Crosshairs: bright strokes with a dark rim so they read over sky and ground; black around
// them is the colour key.
void Stroke(RgbImage& img, int x, int y, int w, int h, const Rgb& c) {
  img.FillRect(x - 1, y - 1, w + 2, h + 2, kOutline);
  img.FillRect(x, y, w, h, c);
}

RgbImage CrossGun() {
  RgbImage img(32, 32);
  const Rgb c = MakeRgb(220, 255, 220);
  Stroke(img, 15, 4, 2, 8, c);
  Stroke(img, 15, 20, 2, 8, c);
  Stroke(img, 4, 15, 8, 2, c);
  Stroke(img, 20, 15, 8, 2, c);
  Stroke(img, 15, 15, 2, 2, MakeRgb(255, 80, 60));
  return img;
}

RgbImage CrossPlasma() {
  RgbImage img(32, 32);
  Ring(img, 16, 16, 10.5f, 4.0f, kOutline);
  Ring(img, 16, 16, 10.5f, 2.0f, kCyan);
  for (int i = 0; i < 32 * 32; ++i)  // no soft fringe may fade into the key
    if (img.px[size_t(i)].r + img.px[size_t(i)].g + img.px[size_t(i)].b < 30) img.px[size_t(i)] = Rgb{};
  Stroke(img, 15, 2, 2, 5, kCyan);
  Stroke(img, 15, 25, 2, 5, kCyan);
  Stroke(img, 2, 15, 5, 2, kCyan);
  Stroke(img, 25, 15, 5, 2, kCyan);
  Stroke(img, 15, 15, 2, 2, MakeRgb(200, 250, 255));
  return img;
}

RgbImage CrossRocket() {
  RgbImage img(32, 32);
  const Rgb c = MakeRgb(255, 150, 60);
  // Corner brackets and a centre diamond.
  for (int right : {0, 1}) {
    const int x = right ? 24 : 3;
    Stroke(img, x, 3, 5, 2, c);
    Stroke(img, right ? 27 : 3, 3, 2, 6, c);
    Stroke(img, x, 27, 5, 2, c);
    Stroke(img, right ? 27 : 3, 23, 2, 6, c);
  }
  for (int i = 0; i < 4; ++i) {
    Stroke(img, 15 - i, 12 + i, 2 + 2 * i, 1, c);
    Stroke(img, 15 - i, 19 - i, 2 + 2 * i, 1, c);
  }
  Stroke(img, 15, 15, 2, 2, MakeRgb(255, 240, 200));
  return img;
}

// Console buttons: steel caps; the focused look has an amber rim and lettering.
RgbImage HudButton(int w, int h, const std::string& text, bool focused) {
  RgbImage img(w, h);
  Gradient(img, 0, 0, w, h, MakeRgb(104, 114, 140), MakeRgb(52, 58, 78));
  Outline(img, 0, 0, w, h, kOutline);
  Bevel(img, 1, 1, w - 2, h - 2, MakeRgb(190, 200, 226), MakeRgb(36, 40, 54));
  if (focused) {
    Outline(img, 1, 1, w - 2, h - 2, kAmber);
    Outline(img, 2, 2, w - 4, h - 4, kAmberDeep);
  }
  TextCentred(img, w / 2, (h - 7) / 2, text, LetterStyle::Bold, 1, focused ? AmberFill : LightFill, 1);
  return img;
}

// The engine switch, a checkbox: a lamp and its name, lit green when the engine runs.
RgbImage EngineSwitch(bool on) {
  RgbImage img = HudButton(48, 28, "", false);
  Inset(img, 5, 8, 12, 12, MakeRgb(16, 10, 10));
  if (on) {
    Disc(img, 11, 14, 4.5f, MakeRgb(60, 255, 110));
    Disc(img, 10.2f, 13.2f, 1.5f, MakeRgb(220, 255, 230));
  } else {
    Disc(img, 11, 14, 4.5f, MakeRgb(70, 30, 26));
  }
  TextAt(img, 20, 7, "ENG", LetterStyle::Bold, 1, on ? LightFill : SteelFill, 1);
  TextAt(img, 20, 16, on ? "ON" : "OFF", LetterStyle::Small, 1, on ? CyanFill : SteelFill, 1);
  return img;
}

// Drawn over the focused engine switch: the amber rim only, the rest magenta (the key).
RgbImage EngineFocus() {
  RgbImage img(48, 28, Exact5(31, 0, 31));
  Outline(img, 1, 1, 46, 26, kAmber);
  Outline(img, 2, 2, 44, 24, kAmberDeep);
  return img;
}

}  // namespace

bool BakeHudArt(const BakeContext& ctx) {
  bool ok = WriteSpr(ctx, "hud_console.spr", Console(), true);
  ok = WriteSpr(ctx, "hud_final.spr", FinalPanel(), true) && ok;
  ok = WriteSpr(ctx, "hud_strip_ext.spr", ExtStrip(), true) && ok;
  ok = WriteSpr(ctx, "hud_readout_ext.spr", ExtReadout(), true) && ok;
  ok = WriteKeyedSpr(ctx, "hud_energy_ext.spr", ExtEnergyBox(), 0, true) && ok;
  ok = WriteKeyedSpr(ctx, "hud_energy.spr", EnergyFrame(), 0, true) && ok;
  ok = WriteSpr(ctx, "radar.spr", Radar(72, false), true) && ok;
  ok = WriteSpr(ctx, "radar_ext.spr", Radar(64, true), true) && ok;
  ok = WriteKeyedSpr(ctx, "cross_gun.spr", CrossGun(), 0, false) && ok;
  ok = WriteKeyedSpr(ctx, "cross_plasma.spr", CrossPlasma(), 0, false) && ok;
  ok = WriteKeyedSpr(ctx, "cross_rocket.spr", CrossRocket(), 0, false) && ok;
  ok = WriteSpr(ctx, "hud_menu.spr", HudButton(40, 28, "MENU", false), true) && ok;
  ok = WriteSpr(ctx, "hud_menu_hi.spr", HudButton(40, 28, "MENU", true), true) && ok;
  ok = WriteSpr(ctx, "hud_weapon.spr", HudButton(56, 28, "WEAPON", false), true) && ok;
  ok = WriteSpr(ctx, "hud_weapon_hi.spr", HudButton(56, 28, "WEAPON", true), true) && ok;
  ok = WriteKeyedSpr(ctx, "hud_engine.spr", EngineSwitch(false), kMagentaKey, true) && ok;
  ok = WriteKeyedSpr(ctx, "hud_engine_on.spr", EngineSwitch(true), kMagentaKey, true) && ok;
  ok = WriteKeyedSpr(ctx, "hud_engine_focus.spr", EngineFocus(), kMagentaKey, false) && ok;
  // The surfaces the final text scrolls on (black: drawn opaque in the first-person panel,
  // keyed over the view in the external one).
  ok = WriteSpr(ctx, "final_text.spr", RgbImage(184, 62), false) && ok;
  ok = WriteSpr(ctx, "final_text_ext.spr", RgbImage(216, 176), false) && ok;
  return ok;
}
