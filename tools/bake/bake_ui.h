// The look of the forms: one palette and the painting of panels, buttons, switches, bars
// and lettering shared by the menu and head-up display art.
#pragma once

#include <cstdint>
#include <string>

#include "bake.h"
#include "bake_image.h"

// A colour that 5-bit channels hold exactly (0..31 each), so a colour key painted with it
// is the same pixel value after encoding, dithered or not.
Rgb Exact5(int r, int g, int b);
// The in-memory 5-6-5 value of Exact5(r, g, b): what the script gives as a colour key.
constexpr uint16_t Pixel5(int r, int g, int b) { return uint16_t(r * 2048 + g * 64 + b); }

namespace ui {

// The translucent tint of menu buttons (drawn in key-blend mode) and the transparent
// colours of keyed art.
constexpr int kTintR = 2, kTintG = 3, kTintB = 8;
constexpr uint16_t kTintKey = Pixel5(kTintR, kTintG, kTintB);
constexpr uint16_t kMagentaKey = Pixel5(31, 0, 31);

extern const Rgb kNavy;        // deepest panel colour
extern const Rgb kPanelTop;    // panel gradient
extern const Rgb kPanelBottom;
extern const Rgb kSteel;       // borders
extern const Rgb kSteelLight;
extern const Rgb kSteelDark;
extern const Rgb kAmber;       // the focus colour
extern const Rgb kAmberDeep;
extern const Rgb kCyan;        // instruments
extern const Rgb kTextLight;
extern const Rgb kOutline;     // dark outline of lettering (never pure black)

// Text fills for DrawInkText.
Rgb LightFill(float t);
Rgb DarkFill(float t);
Rgb AmberFill(float t);
Rgb CyanFill(float t);
Rgb SteelFill(float t);

// Vertical gradient over a rectangle.
void Gradient(RgbImage& img, int x, int y, int w, int h, const Rgb& top, const Rgb& bottom);
// One-pixel rectangle outline.
void Outline(RgbImage& img, int x, int y, int w, int h, const Rgb& c);
// Raised (or, with the colours swapped, sunken) edge: light top and left, dark bottom and right.
void Bevel(RgbImage& img, int x, int y, int w, int h, const Rgb& light, const Rgb& dark);
// Short bright strokes at the four corners of a rectangle.
void CornerMarks(RgbImage& img, int x, int y, int w, int h, int length, const Rgb& c);
// A sunken dark window with a steel rim, for instruments and text.
void Inset(RgbImage& img, int x, int y, int w, int h, const Rgb& inside);
// Anti-aliased disc and ring (centre and radii in pixels, pixel centres at +0.5).
void Disc(RgbImage& img, float cx, float cy, float r, const Rgb& c, float alpha = 1.0f);
void Ring(RgbImage& img, float cx, float cy, float r, float thickness, const Rgb& c);
// Small rivet with a highlight.
void Rivet(RgbImage& img, int cx, int cy);

// Height in pixels of capital letters of a style at a scale.
int CapHeight(LetterStyle style, int scale);
// Lettering centred on column cx with its cap line at row y.
void TextCentred(RgbImage& img, int cx, int y, const std::string& text, LetterStyle style, int scale,
                 Rgb (*fill)(float), int outline = 1);
void TextAt(RgbImage& img, int x, int y, const std::string& text, LetterStyle style, int scale,
            Rgb (*fill)(float), int outline = 1);

// The two looks of a menu button: normal (tinted glass with a steel rim, drawn in key-blend
// mode with kTintKey) and focused (lit amber).
RgbImage MenuButton(int w, int h, const std::string& text, bool focused,
                    LetterStyle style = LetterStyle::Bold, int scale = 1);

// Writes a sprite drawn with a colour key: refuses (false, message on stderr) when a pixel
// not painted as the key would encode to it, or a key pixel would not, so no art gets holes.
bool WriteKeyedSpr(const BakeContext& ctx, const std::string& name, const RgbImage& img,
                   uint16_t key, bool dither);

}  // namespace ui

// The two halves of the forms' art, each writing its sprites.
bool BakeMenuArt(const BakeContext& ctx);
bool BakeHudArt(const BakeContext& ctx);
