// The forms' look: palette, panels, bevels, lettering, menu buttons, keyed sprite checks.
#include "bake_ui.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

Rgb Exact5(int r, int g, int b) {
  return MakeRgb(float(r) * 255.0f / 31.0f, float(g) * 255.0f / 31.0f, float(b) * 255.0f / 31.0f);
}

namespace ui {

const Rgb kNavy = MakeRgb(10, 14, 30);
const Rgb kPanelTop = MakeRgb(34, 44, 72);
const Rgb kPanelBottom = MakeRgb(16, 20, 40);
const Rgb kSteel = MakeRgb(96, 122, 170);
const Rgb kSteelLight = MakeRgb(176, 200, 240);
const Rgb kSteelDark = MakeRgb(44, 54, 84);
const Rgb kAmber = MakeRgb(255, 196, 88);
const Rgb kAmberDeep = MakeRgb(222, 106, 26);
const Rgb kCyan = MakeRgb(96, 226, 244);
const Rgb kTextLight = MakeRgb(230, 238, 252);
const Rgb kOutline = MakeRgb(16, 12, 22);

Rgb LightFill(float t) { return Mix(MakeRgb(250, 252, 255), MakeRgb(186, 200, 228), t); }
Rgb DarkFill(float t) { return Mix(MakeRgb(52, 24, 8), MakeRgb(30, 12, 4), t); }
Rgb AmberFill(float t) { return Mix(MakeRgb(255, 234, 150), MakeRgb(236, 124, 30), t); }
Rgb CyanFill(float t) { return Mix(MakeRgb(200, 250, 255), MakeRgb(70, 190, 220), t); }
Rgb SteelFill(float t) { return Mix(MakeRgb(224, 232, 248), MakeRgb(124, 140, 176), t); }

void Gradient(RgbImage& img, int x, int y, int w, int h, const Rgb& top, const Rgb& bottom) {
  for (int yy = 0; yy < h; ++yy) {
    const Rgb c = Mix(top, bottom, h > 1 ? float(yy) / float(h - 1) : 0.0f);
    img.FillRect(x, y + yy, w, 1, c);
  }
}

void Outline(RgbImage& img, int x, int y, int w, int h, const Rgb& c) {
  img.FillRect(x, y, w, 1, c);
  img.FillRect(x, y + h - 1, w, 1, c);
  img.FillRect(x, y, 1, h, c);
  img.FillRect(x + w - 1, y, 1, h, c);
}

void Bevel(RgbImage& img, int x, int y, int w, int h, const Rgb& light, const Rgb& dark) {
  img.FillRect(x, y, w, 1, light);
  img.FillRect(x, y, 1, h, light);
  img.FillRect(x, y + h - 1, w, 1, dark);
  img.FillRect(x + w - 1, y + 1, 1, h - 1, dark);
}

void CornerMarks(RgbImage& img, int x, int y, int w, int h, int length, const Rgb& c) {
  img.FillRect(x, y, length, 1, c);
  img.FillRect(x, y, 1, length, c);
  img.FillRect(x + w - length, y, length, 1, c);
  img.FillRect(x + w - 1, y, 1, length, c);
  img.FillRect(x, y + h - 1, length, 1, c);
  img.FillRect(x, y + h - length, 1, length, c);
  img.FillRect(x + w - length, y + h - 1, length, 1, c);
  img.FillRect(x + w - 1, y + h - length, 1, length, c);
}

void Inset(RgbImage& img, int x, int y, int w, int h, const Rgb& inside) {
  Bevel(img, x, y, w, h, kSteelDark, kSteelLight);
  Outline(img, x + 1, y + 1, w - 2, h - 2, kOutline);
  img.FillRect(x + 2, y + 2, w - 4, h - 4, inside);
}

void Disc(RgbImage& img, float cx, float cy, float r, const Rgb& c, float alpha) {
  for (int y = int(cy - r) - 1; y <= int(cy + r) + 1; ++y)
    for (int x = int(cx - r) - 1; x <= int(cx + r) + 1; ++x) {
      const float d = std::hypot(float(x) + 0.5f - cx, float(y) + 0.5f - cy);
      img.Blend(x, y, c, alpha * std::clamp(r + 0.5f - d, 0.0f, 1.0f));
    }
}

void Ring(RgbImage& img, float cx, float cy, float r, float thickness, const Rgb& c) {
  for (int y = int(cy - r) - 2; y <= int(cy + r) + 2; ++y)
    for (int x = int(cx - r) - 2; x <= int(cx + r) + 2; ++x) {
      const float d = std::fabs(std::hypot(float(x) + 0.5f - cx, float(y) + 0.5f - cy) - r);
      img.Blend(x, y, c, std::clamp(thickness * 0.5f + 0.5f - d, 0.0f, 1.0f));
    }
}

void Rivet(RgbImage& img, int cx, int cy) {
  Disc(img, float(cx) + 0.5f, float(cy) + 0.5f, 1.8f, kSteelDark);
  img.Blend(cx, cy, kSteelLight, 0.9f);
}

int CapHeight(LetterStyle style, int scale) { return (style == LetterStyle::Large ? 14 : 7) * scale; }

void TextAt(RgbImage& img, int x, int y, const std::string& text, LetterStyle style, int scale,
            Rgb (*fill)(float), int outline) {
  const int spacing = style == LetterStyle::Large ? 2 : 1;
  DrawInkText(img, x, y, text, style, scale, spacing * scale, fill, outline, kOutline);
}

void TextCentred(RgbImage& img, int cx, int y, const std::string& text, LetterStyle style, int scale,
                 Rgb (*fill)(float), int outline) {
  const int spacing = style == LetterStyle::Large ? 2 : 1;
  const int w = InkTextWidth(text, style, scale, spacing * scale);
  TextAt(img, cx - w / 2, y, text, style, scale, fill, outline);
}

RgbImage MenuButton(int w, int h, const std::string& text, bool focused, LetterStyle style, int scale) {
  const Rgb tint = Exact5(kTintR, kTintG, kTintB);
  RgbImage img(w, h, tint);
  const int textY = (h - CapHeight(style, scale)) / 2;
  if (!focused) {
    // Glass: the tint lets the backdrop through; a steel rim, a sheen along the top edge
    // and bright corner marks.
    Outline(img, 0, 0, w, h, kSteelDark);
    Outline(img, 1, 1, w - 2, h - 2, kSteel);
    img.FillRect(2, 2, w - 4, 1, Mix(kSteel, kSteelLight, 0.3f));
    CornerMarks(img, 0, 0, w, h, 5, kSteelLight);
    TextCentred(img, w / 2, textY, text, style, scale, LightFill, 1);
    return img;
  }
  // Lit: an opaque amber plate with a pale rim and pointers at both ends.
  Gradient(img, 0, 0, w, h, MakeRgb(255, 214, 120), MakeRgb(226, 110, 28));
  img.FillRect(0, h / 2, w, 1, Mix(MakeRgb(255, 214, 120), MakeRgb(226, 110, 28), 0.62f));
  Outline(img, 0, 0, w, h, MakeRgb(90, 34, 8));
  Outline(img, 1, 1, w - 2, h - 2, MakeRgb(255, 244, 210));
  CornerMarks(img, 0, 0, w, h, 5, MakeRgb(255, 255, 240));
  for (int i = 0; i < 4; ++i) {
    const int cy = h / 2;
    img.FillRect(5 + i, cy - (3 - i), 1, 2 * (3 - i) + 1, MakeRgb(70, 26, 6));
    img.FillRect(w - 6 - i, cy - (3 - i), 1, 2 * (3 - i) + 1, MakeRgb(70, 26, 6));
  }
  TextCentred(img, w / 2, textY, text, style, scale, DarkFill, 0);
  return img;
}

bool WriteKeyedSpr(const BakeContext& ctx, const std::string& name, const RgbImage& img, uint16_t key,
                   bool dither) {
  const Bytes bytes = EncodeSpr(img, dither);
  const Rgb keyRgb = Exact5(key >> 11, (key >> 6) & 31, key & 31);
  // The file keeps blue in the top field and red in the bottom one.
  const uint16_t fileKey = uint16_t(((key & 31) << 11) | (key & 0x07C0) | (key >> 11));
  for (int i = 0; i < img.width * img.height; ++i) {
    const Rgb& c = img.px[size_t(i)];
    const bool paintedKey = c.r == keyRgb.r && c.g == keyRgb.g && c.b == keyRgb.b;
    const bool encodedKey = ((bytes[4 + 2 * size_t(i)] << 8) | bytes[5 + 2 * size_t(i)]) == fileKey;
    if (paintedKey != encodedKey) {
      fprintf(stderr, "bake: %s: pixel %d,%d %s the colour key\n", name.c_str(), i % img.width,
              i / img.width, paintedKey ? "loses" : "turns into");
      return false;
    }
  }
  return WriteOut(ctx, name, bytes);
}

}  // namespace ui
