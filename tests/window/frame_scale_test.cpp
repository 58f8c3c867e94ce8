// The window's picture: the frame scaled whole into its place, bars black, touches on the pixel drawn.
#include <gtest/gtest.h>

#include <vector>

#include "platform/platform.h"
#include "platform/sdl/frame_scale.h"

namespace {

constexpr uint32_t kBar = 0xFF000000u;
constexpr uint32_t kUntouched = 0xDEADBEEFu;

// A surface with a few spare bytes at the end of every line, as window surfaces may have.
struct Output {
  int w, h, pitch;
  std::vector<uint8_t> bytes;
  Output(int width, int height) : w(width), h(height), pitch(width * 4 + 12) {
    bytes.resize(size_t(pitch) * size_t(h));
    for (size_t i = 0; i + 4 <= bytes.size(); i += 4) memcpy(&bytes[i], &kUntouched, 4);
  }
  uint32_t At(int x, int y) const {
    uint32_t v;
    memcpy(&v, &bytes[size_t(y) * size_t(pitch) + size_t(x) * 4], 4);
    return v;
  }
};

std::vector<uint32_t> Lut() {
  std::vector<uint32_t> lut(65536);
  for (uint32_t p = 0; p < 65536; ++p) lut[p] = 0x01000000u | p;  // never a bar, never untouched
  return lut;
}

std::vector<uint16_t> Frame(int seed) {
  std::vector<uint16_t> f(kScreenWidth * kScreenHeight);
  for (int y = 0; y < kScreenHeight; ++y)
    for (int x = 0; x < kScreenWidth; ++x) f[size_t(y * kScreenWidth + x)] = uint16_t(x + 241 * y + seed);
  return f;
}

void PaintWhole(Output* o, const std::vector<uint16_t>& frame, const std::vector<uint32_t>& lut) {
  FramePlace r = PlaceFrame(o->w, o->h);
  ClearBars(o->bytes.data(), o->pitch, o->w, o->h, r, kBar);
  int y0 = 0, y1 = 0;
  ScaleFrameRows(frame.data(), lut.data(), o->bytes.data(), o->pitch, r, 0, kScreenHeight, &y0, &y1);
  EXPECT_EQ(y0, r.y);
  EXPECT_EQ(y1, r.y + r.h);
}

TEST(WindowFrame, PlaceIsTheLargestWholeScaleCentred) {
  struct Case {
    int w, h;
    FramePlace want;
  } cases[] = {
      {240, 320, {0, 0, 240, 320}},
      {720, 960, {0, 0, 720, 960}},
      {481, 959, {0, 159, 480, 640}},      // one short of scale 3 in height: scale 2
      {1280, 1024, {280, 32, 720, 960}},   // a fullscreen start
      {801, 1001, {40, 20, 720, 960}},     // odd sizes: the odd pixel goes to the far bar
      {200, 400, {0, 67, 200, 266}},       // smaller than the frame: shrunk, all of it shown
  };
  for (const Case& c : cases) {
    FramePlace r = PlaceFrame(c.w, c.h);
    EXPECT_EQ(r.x, c.want.x) << c.w << "x" << c.h;
    EXPECT_EQ(r.y, c.want.y) << c.w << "x" << c.h;
    EXPECT_EQ(r.w, c.want.w) << c.w << "x" << c.h;
    EXPECT_EQ(r.h, c.want.h) << c.w << "x" << c.h;
  }
}

// Every window pixel shows the game pixel a touch there would land on, or a bar outside the
// frame; nothing past a line's end is written.
TEST(WindowFrame, EveryPixelIsTheFramePixelATouchThereHits) {
  const std::vector<uint32_t> lut = Lut();
  const std::vector<uint16_t> frame = Frame(0);
  const int sizes[][2] = {{720, 960}, {801, 1001}, {1280, 1024}, {200, 400}, {523, 700}};
  for (const auto& size : sizes) {
    Output o(size[0], size[1]);
    PaintWhole(&o, frame, lut);
    const FramePlace r = PlaceFrame(o.w, o.h);
    int wrong = 0;
    for (int y = 0; y < o.h; ++y) {
      for (int x = 0; x < o.w; ++x) {
        const bool inside = x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h;
        uint32_t want = kBar;
        if (inside) {
          int lx = -1, ly = -1;
          LayoutPoint(r, x, y, &lx, &ly);
          ASSERT_TRUE(lx >= 0 && lx < kScreenWidth && ly >= 0 && ly < kScreenHeight)
              << x << "," << y << " in " << o.w << "x" << o.h;
          want = lut[frame[size_t(ly * kScreenWidth + lx)]];
        }
        wrong += o.At(x, y) != want;
      }
      for (int pad = o.w * 4; pad < o.pitch; pad += 4)
        wrong += o.At(pad / 4, y) != kUntouched;
    }
    EXPECT_EQ(wrong, 0) << o.w << "x" << o.h;
    // A touch on a bar falls outside the layout.
    if (r.x > 0) {
      int lx = 0, ly = 0;
      LayoutPoint(r, r.x + r.w + 0.5, r.y, &lx, &ly);
      EXPECT_GE(lx, kScreenWidth);
    }
  }
}

// Painting only the rows that changed gives the same picture as painting it all, and the rows
// it reports cover every window pixel that changed.
TEST(WindowFrame, ChangedRowsRepaintMatchesAWholePaint) {
  const std::vector<uint32_t> lut = Lut();
  const std::vector<uint16_t> before = Frame(0);
  struct Case {
    int first, end;
  } changes[] = {{0, 1}, {319, 320}, {100, 151}, {0, 320}, {7, 8}, {0, 0}};  // last: none
  const int sizes[][2] = {{720, 960}, {801, 1001}, {200, 400}};
  for (const auto& size : sizes) {
    for (const Case& c : changes) {
      std::vector<uint16_t> after = before;
      for (int y = c.first; y < c.end; ++y) after[size_t(y * kScreenWidth + (y % kScreenWidth))] ^= 0x5555;
      int first = -1, end = -1;
      ChangedRows(before.data(), after.data(), &first, &end);
      if (c.first == c.end) {
        EXPECT_EQ(first, end);
      } else {
        EXPECT_EQ(first, c.first);
        EXPECT_EQ(end, c.end);
      }

      Output step(size[0], size[1]), whole(size[0], size[1]), old(size[0], size[1]);
      PaintWhole(&step, before, lut);
      PaintWhole(&old, before, lut);
      PaintWhole(&whole, after, lut);
      int y0 = 0, y1 = 0;
      ScaleFrameRows(after.data(), lut.data(), step.bytes.data(), step.pitch,
                     PlaceFrame(step.w, step.h), first, end, &y0, &y1);
      EXPECT_EQ(step.bytes, whole.bytes) << size[0] << "x" << size[1] << " rows " << c.first;
      for (int y = 0; y < step.h; ++y) {
        if (y >= y0 && y < y1) continue;
        for (int x = 0; x < step.w; ++x) {
          ASSERT_EQ(old.At(x, y), whole.At(x, y))
              << "row " << y << " changed outside the band " << y0 << "-" << y1;
        }
      }
    }
  }
}

}  // namespace
