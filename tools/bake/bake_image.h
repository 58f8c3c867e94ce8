// RGB images for the content compiler: painting helpers and writing them as .spr sprites.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bake.h"

// One colour with float channels 0..255, so gradients and blends keep their precision until
// the image is written.
struct Rgb {
  float r = 0, g = 0, b = 0;
};

inline Rgb MakeRgb(float r, float g, float b) { return Rgb{r, g, b}; }
Rgb Mix(const Rgb& a, const Rgb& b, float t);  // a at t = 0, b at t = 1
Rgb Scale(const Rgb& c, float k);

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<Rgb> px;

  RgbImage() = default;
  RgbImage(int w, int h, Rgb fill = {}) : width(w), height(h), px(size_t(w) * h, fill) {}
  Rgb& At(int x, int y) { return px[size_t(y) * width + x]; }
  const Rgb& At(int x, int y) const { return px[size_t(y) * width + x]; }
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  // Blends c over the pixel with coverage a (0..1); off-image points are ignored.
  void Blend(int x, int y, const Rgb& c, float a);
  void FillRect(int x, int y, int w, int h, const Rgb& c);
  // Copies src with its top-left at (x, y), clipped.
  void Paste(const RgbImage& src, int x, int y);
};

// The 5-6-5 value the game holds in memory for a colour (green's lowest bit clear).
uint16_t ToColour565(const Rgb& c);

// The .spr file of an image: big-endian width, height and pixels with blue in bits 15-11,
// green in 10-6 and red in 4-0. With dither, a 4 x 4 ordered dither hides the banding of
// 5-bit channels (its pattern repeats every 4 columns, so panoramas stay seamless).
Bytes EncodeSpr(const RgbImage& image, bool dither);
bool WriteSpr(const BakeContext& ctx, const std::string& name, const RgbImage& image,
              bool dither = false);

// Text in the game's own letter designs (the fonts' glyphs), for art that carries words.
enum class LetterStyle { Small, Bold, Large };
// Width of text in pixels at the given whole scale, letters `spacing` pixels apart.
int InkTextWidth(const std::string& text, LetterStyle style, int scale, int spacing);
// Paints text whose top-left is (x, y): each ink pixel becomes a scale x scale block of
// fill(yFraction) where yFraction runs 0..1 over the letters' height; an outline of
// `outline` pixels in outlineColour surrounds the ink when outline > 0.
void DrawInkText(RgbImage& image, int x, int y, const std::string& text, LetterStyle style,
                 int scale, int spacing, Rgb (*fill)(float yFraction), int outline,
                 const Rgb& outlineColour);
