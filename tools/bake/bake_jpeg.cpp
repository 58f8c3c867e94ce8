// The main menu's backdrop menuback.jpg: a walking combat craft against an alien dusk under
// the title, painted here and stored as a 4:2:0 JPEG like the handheld's own pictures.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "bake.h"
#include "bake_image.h"
#include "bake_noise.h"
#include "jpeg_encode.h"

namespace {

constexpr int kW = 240;
constexpr int kH = 320;
constexpr float kHorizon = 226;
constexpr float kSunX = 158, kSunY = 224, kSunR = 34;

float Clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }
float Length(float x, float y) { return std::sqrt(x * x + y * y); }

// Signed distance from (px, py) to a capsule: the segment a-b widened by r.
float Capsule(float px, float py, float ax, float ay, float bx, float by, float r) {
  const float dx = bx - ax, dy = by - ay;
  if (dx == 0 && dy == 0) return Length(px - ax, py - ay) - r;
  const float t = Clamp01(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy));
  return Length(px - ax - dx * t, py - ay - dy * t) - r;
}

// Signed distance to a box centred at (cx, cy), half-size hx x hy, corners rounded by r and
// turned by `angle` radians.
float RoundBox(float px, float py, float cx, float cy, float hx, float hy, float r, float angle) {
  const float c = std::cos(angle), s = std::sin(angle);
  const float x = std::fabs((px - cx) * c + (py - cy) * s) - hx + r;
  const float y = std::fabs(-(px - cx) * s + (py - cy) * c) - hy + r;
  return Length(std::max(x, 0.0f), std::max(y, 0.0f)) + std::min(std::max(x, y), 0.0f) - r;
}

float Circle(float px, float py, float cx, float cy, float r) { return Length(px - cx, py - cy) - r; }

// One leg of the walker: hip, an armoured thigh reaching forward to the reversed knee, the
// shin back down to the ankle, and a foot with a toe forward and a spur behind.
float Leg(float px, float py, float hipX, float hipY, float kneeX, float kneeY, float ankleX,
          float ankleY) {
  float d = Capsule(px, py, hipX, hipY, kneeX, kneeY, 7.0f);
  d = std::min(d, Capsule(px, py, kneeX, kneeY, ankleX, ankleY, 4.5f));
  d = std::min(d, Circle(px, py, kneeX, kneeY, 8.0f));
  d = std::min(d, Circle(px, py, hipX, hipY, 9.0f));
  d = std::min(d, Capsule(px, py, ankleX, ankleY + 2, ankleX + 15, ankleY + 9, 3.2f));
  d = std::min(d, Capsule(px, py, ankleX, ankleY + 2, ankleX - 11, ankleY + 9, 2.6f));
  d = std::min(d, Circle(px, py, ankleX, ankleY, 5.0f));
  return d;
}

// The walker is designed at 5/6 of its size in the picture, about its feet.
constexpr float kWalkerScale = 1.2f, kFootX = 80, kFootY = 280;
float WalkerX(float designX) { return (designX - kFootX) * kWalkerScale + kFootX; }
float WalkerY(float designY) { return (designY - kFootY) * kWalkerScale + kFootY; }

// The combat craft, facing right, in mid-stride on the ridge.
float Walker(float px, float py) {
  px = (px - kFootX) / kWalkerScale + kFootX;
  py = (py - kFootY) / kWalkerScale + kFootY;
  // Far leg behind, pushing off; near leg reaching forward.
  float d = Leg(px, py, 66, 212, 86, 238, 60, 266);
  d = std::min(d, Leg(px, py, 82, 214, 108, 238, 100, 268));
  // Hull: a slab of armour with a sloping nose and a missile box on the shoulder.
  d = std::min(d, RoundBox(px, py, 76, 198, 36, 15, 6, -0.08f));
  d = std::min(d, RoundBox(px, py, 108, 202, 15, 10, 4, 0.38f));
  d = std::min(d, RoundBox(px, py, 66, 180, 19, 8, 2, -0.05f));
  // Weapons: a long cannon with a muzzle brake, and a twin gun under the chin.
  d = std::min(d, Capsule(px, py, 70, 176, 134, 167, 2.8f));
  d = std::min(d, Capsule(px, py, 128, 168, 138, 166.5f, 3.8f));
  d = std::min(d, RoundBox(px, py, 110, 218, 10, 5, 2, 0.05f));
  d = std::min(d, Capsule(px, py, 116, 216, 132, 216, 1.4f));
  d = std::min(d, Capsule(px, py, 116, 221, 130, 221, 1.4f));
  // Heat fins on the back and an antenna.
  for (int i = 0; i < 3; ++i)
    d = std::min(d, Capsule(px, py, 42 - float(i) * 2, 192 + float(i) * 7, 30 - float(i) * 2,
                            187 + float(i) * 7, 2.0f));
  d = std::min(d, Capsule(px, py, 54, 174, 46, 146, 0.8f));
  return d * kWalkerScale;
}

float Ridge(float x, float base, float height, int cells, uint32_t seed) {
  return base - height * WrapFbm1(x, 240, cells, 4, seed);
}

Rgb SkyColour(int x, int y) {
  const float t = float(y) / kHorizon;
  Rgb c = t < 0.55f ? Mix(MakeRgb(10, 6, 34), MakeRgb(76, 24, 92), t / 0.55f)
                    : Mix(MakeRgb(76, 24, 92), MakeRgb(246, 128, 58), (t - 0.55f) / 0.45f);
  // Stars where the sky is still dark.
  const float star = Hash01(x, y, 1, 42);
  if (star > 0.993f) c = Mix(c, MakeRgb(255, 244, 220), (1 - t * 1.6f) * (star - 0.993f) / 0.007f);
  // The sun's wide glow over the horizon.
  const float d = Length(float(x) - kSunX, (float(y) - kSunY) * 1.6f);
  c = Mix(c, MakeRgb(255, 170, 90), 0.55f * std::exp(-d / 70.0f));
  return c;
}

void PaintSky(RgbImage& img) {
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) img.At(x, y) = SkyColour(x, y);
  // A swollen red sun sinking into the haze.
  for (int y = 180; y < 240; ++y)
    for (int x = 110; x < 210; ++x) {
      const float d = Circle(float(x), float(y), kSunX, kSunY, kSunR);
      const Rgb core = Mix(MakeRgb(255, 236, 170), MakeRgb(255, 120, 60), Clamp01((float(y) - 190) / 40));
      img.Blend(x, y, core, Clamp01(0.5f - d));
    }
  // A small ice moon, lit from the sun's side.
  for (int y = 40; y < 80; ++y)
    for (int x = 20; x < 60; ++x) {
      const float d = Circle(float(x), float(y), 40, 60, 9);
      const float lit = Clamp01(0.5f - Circle(float(x), float(y), 43, 63, 9));
      img.Blend(x, y, Mix(MakeRgb(40, 40, 90), MakeRgb(210, 230, 255), lit), Clamp01(0.5f - d));
    }
}

// A banded gas giant with a tilted ring, behind the planet at the top, in front at the bottom.
void PaintPlanet(RgbImage& img) {
  const float cx = 182, cy = 112, r = 40;
  const float tilt = -0.35f, c = std::cos(tilt), s = std::sin(tilt);
  auto ring = [&](int x, int y, bool front) {
    const float u = (float(x) - cx) * c + (float(y) - cy) * s;
    const float v = (-(float(x) - cx) * s + (float(y) - cy) * c) * 4.2f;
    const float e = Length(u, v);
    if (e < 52 || e > 74 || (v > 0) != front) return;
    const float band = 0.55f + 0.45f * std::sin(e * 0.9f);
    img.Blend(x, y, Mix(MakeRgb(150, 110, 150), MakeRgb(255, 220, 180), band), 0.75f);
  };
  for (int y = 40; y < 190; ++y)
    for (int x = 100; x < 240; ++x) {
      ring(x, y, false);
      const float d = Circle(float(x), float(y), cx, cy, r);
      if (d > 1) continue;
      const float ny = (float(y) - cy) / r;
      const float wobble = WrapFbm1(float(x) * 2, 480, 12, 3, 9) * 0.25f;
      const float band = 0.5f + 0.5f * std::sin(ny * 11.0f + wobble * 6);
      Rgb col = Mix(MakeRgb(120, 60, 110), MakeRgb(230, 160, 130), band);
      // Lit from below left, where the sun is.
      const float lx = (float(x) - cx) / r, light = Clamp01(0.35f + 0.9f * (ny * 0.8f - lx * 0.3f));
      col = Mix(MakeRgb(20, 10, 40), col, light);
      img.Blend(x, y, col, Clamp01(0.5f - d));
    }
  for (int y = 40; y < 190; ++y)
    for (int x = 100; x < 240; ++x) ring(x, y, true);
}

void PaintLand(RgbImage& img) {
  for (int x = 0; x < kW; ++x) {
    const float far = Ridge(float(x), 226, 34, 6, 3);
    const float near = Ridge(float(x), 262, 26, 5, 11) + 0.0016f * (float(x) - 80) * (float(x) - 80);
    for (int y = 0; y < kH; ++y) {
      const float fy = float(y) + 0.5f;
      // Far mountains fade into the glowing haze.
      if (fy > far) {
        const float depth = Clamp01((fy - far) / 30);
        img.Blend(x, y, Mix(MakeRgb(150, 70, 100), MakeRgb(70, 30, 70), depth), Clamp01(fy - far));
      }
      if (fy > near) {
        const float depth = Clamp01((fy - near) / 60);
        Rgb ground = Mix(MakeRgb(46, 22, 44), MakeRgb(14, 8, 18), depth);
        const float grit = WrapFbm2(float(x) * 3, float(y) * 6, 720, 24, 3, 5);
        ground = Mix(ground, MakeRgb(90, 46, 60), (grit - 0.5f) * 0.5f * (1 - depth));
        img.Blend(x, y, ground, Clamp01(fy - near));
      }
    }
  }
}

// Lights of a distant base on the far ridge, and dark boulders in the foreground.
void PaintDetails(RgbImage& img) {
  const float lights[][2] = {{176, 0}, {184, 2}, {190, -1}, {205, 1}, {212, 3}};
  for (const auto& l : lights) {
    const float lx = l[0], ly = Ridge(l[0], 226, 34, 6, 3) + 4 + l[1];
    for (int y = int(ly) - 6; y <= int(ly) + 6; ++y)
      for (int x = int(lx) - 6; x <= int(lx) + 6; ++x) {
        const float d = Length(float(x) - lx, float(y) - ly);
        img.Blend(x, y, MakeRgb(255, 230, 150), std::exp(-d * 1.1f) * 0.9f);
      }
  }
  const float rocks[][4] = {{196, 300, 26, 12}, {226, 292, 16, 9}, {168, 312, 14, 6}, {12, 306, 18, 8}};
  for (const auto& r : rocks)
    for (int y = int(r[1] - r[3]) - 2; y < int(r[1] + r[3]) + 2; ++y)
      for (int x = int(r[0] - r[2]) - 2; x < int(r[0] + r[2]) + 2; ++x) {
        const float bump = 3 * WrapFbm2(float(x) * 5, float(y) * 5, 1200, 20, 2, 31);
        const float d = RoundBox(float(x), float(y), r[0], r[1], r[2], r[3], r[3] * 0.8f, 0.1f) + bump - 1.5f;
        const float top = Clamp01((r[1] - float(y)) / r[3]);
        img.Blend(x, y, Mix(MakeRgb(8, 5, 12), MakeRgb(90, 44, 52), top * 0.6f), Clamp01(0.5f - d));
      }
}

// The walker in silhouette with the sun's light catching its right-hand edges.
void PaintWalker(RgbImage& img) {
  std::vector<float> cover(size_t(kW) * kH, 0.0f);
  auto at = [&](int x, int y) { return (x < 0 || y < 0 || x >= kW || y >= kH) ? 0.0f : cover[size_t(y) * kW + x]; };
  for (int y = 110; y < 300; ++y)
    for (int x = 10; x < 170; ++x) cover[size_t(y) * kW + x] = Clamp01(0.5f - Walker(float(x) + 0.5f, float(y) + 0.5f));
  for (int y = 110; y < 300; ++y)
    for (int x = 10; x < 170; ++x) {
      const float a = at(x, y);
      if (a <= 0) continue;
      img.Blend(x, y, MakeRgb(10, 6, 16), a);
      const float rim = a * (1 - at(x + 2, y + 1));
      img.Blend(x, y, MakeRgb(255, 150, 80), rim * 0.8f);
    }
  // The cockpit slit and the missile box's eyes glow faintly.
  auto glow = [&](float ax, float ay, float bx, float by, float r, const Rgb& c) {
    ax = WalkerX(ax), ay = WalkerY(ay), bx = WalkerX(bx), by = WalkerY(by), r *= kWalkerScale;
    for (int y = int(ay) - 6; y < int(by) + 6; ++y)
      for (int x = int(std::min(ax, bx)) - 6; x < int(std::max(ax, bx)) + 6; ++x)
        img.Blend(x, y, c, 0.8f * Clamp01(0.5f - Capsule(float(x), float(y), ax, ay, bx, by, r)));
  };
  glow(104, 193, 116, 197, 1.2f, MakeRgb(120, 230, 255));
  for (int i = 0; i < 3; ++i)
    glow(56 + float(i) * 7, 180, 56 + float(i) * 7, 180, 1.5f, MakeRgb(255, 80, 60));
  // Dust kicked up around the feet.
  for (int y = 262; y < 290; ++y)
    for (int x = 30; x < 130; ++x) {
      const float n = WrapFbm2(float(x) * 4, float(y) * 4, 960, 16, 3, 21);
      const float fall = std::exp(-Length(float(x) - 80, (float(y) - 278) * 2.5f) / 30);
      img.Blend(x, y, MakeRgb(170, 90, 80), fall * n * 0.5f);
    }
}

Rgb TitleFill(float t) { return Mix(MakeRgb(255, 246, 200), MakeRgb(236, 92, 30), t); }
Rgb TitleShadow(float) { return MakeRgb(0, 0, 0); }

void PaintTitle(RgbImage& img) {
  const std::string title = "3d Morvek";
  int spacing = 3;
  const int scale = 2;
  while (spacing > 0 && InkTextWidth(title, LetterStyle::Large, scale, spacing) > kW - 16) --spacing;
  const int w = InkTextWidth(title, LetterStyle::Large, scale, spacing);
  const int x = (kW - w) / 2, y = 18;
  DrawInkText(img, x + 3, y + 4, title, LetterStyle::Large, scale, spacing, TitleShadow, 2, MakeRgb(0, 0, 0));
  DrawInkText(img, x, y, title, LetterStyle::Large, scale, spacing, TitleFill, 2, MakeRgb(36, 6, 20));
}

RgbImage MenuBackdrop() {
  RgbImage img(kW, kH);
  PaintSky(img);
  PaintPlanet(img);
  PaintLand(img);
  PaintDetails(img);
  PaintWalker(img);
  PaintTitle(img);
  return img;
}

// 4:2:0 at quality 90 with the standard tables: the same bytes on every run.
Bytes EncodeJpeg(const RgbImage& img) {
  std::vector<uint8_t> rgb(size_t(img.width) * img.height * 3);
  for (size_t i = 0; i < img.px.size(); ++i) {
    rgb[i * 3 + 0] = uint8_t(std::clamp(std::lround(img.px[i].r), 0L, 255L));
    rgb[i * 3 + 1] = uint8_t(std::clamp(std::lround(img.px[i].g), 0L, 255L));
    rgb[i * 3 + 2] = uint8_t(std::clamp(std::lround(img.px[i].b), 0L, 255L));
  }
  JpegEncodeOptions options;
  options.quality = 90;
  return EncodeJpegSamples(rgb.data(), img.width, img.height, 3, options);
}

}  // namespace

bool BakeJpegPictures(const BakeContext& ctx) {
  return WriteOut(ctx, "menuback.jpg", EncodeJpeg(MenuBackdrop()));
}
