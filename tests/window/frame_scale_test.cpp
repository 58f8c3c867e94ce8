// The window's picture: the frame scaled whole into its place, bars black, touches on the pixel drawn.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
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

void PaintWhole(Output* o, const std::vector<uint16_t>& frame, const uint32_t* lut) {
  FramePlace r = PlaceFrame(o->w, o->h);
  ClearBars(o->bytes.data(), o->pitch, o->w, o->h, r, kBar);
  const FramePlace got = ScaleFrameArea(frame.data(), lut, o->bytes.data(), o->pitch, r,
                                        FrameArea{0, 0, kScreenWidth, kScreenHeight});
  EXPECT_EQ(got.x, r.x);
  EXPECT_EQ(got.y, r.y);
  EXPECT_EQ(got.w, r.w);
  EXPECT_EQ(got.h, r.h);
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
// frame; nothing past a line's end is written. The frame holds every 5-6-5 value, each shown
// through the window's table or, without one, as the screen's 0xRRGGBB.
TEST(WindowFrame, EveryPixelIsTheFramePixelATouchThereHits) {
  const std::vector<uint32_t> table = Lut();
  const std::vector<uint16_t> frame = Frame(0);
  // Whole scales 1 to 5 (each has its own row widening) and a window smaller than the frame.
  const int sizes[][2] = {{240, 320}, {720, 960}, {801, 1001}, {1280, 1024}, {200, 400},
                          {523, 700}, {960, 1280}, {1300, 1700}};
  const uint32_t* const tables[] = {table.data(), nullptr};
  for (const auto& size : sizes) {
    for (const uint32_t* lut : tables) {
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
            const uint16_t p = frame[size_t(ly * kScreenWidth + lx)];
            want = lut ? lut[p] : Rgb888From565(p);
          }
          wrong += o.At(x, y) != want;
        }
        for (int pad = o.w * 4; pad < o.pitch; pad += 4)
          wrong += o.At(pad / 4, y) != kUntouched;
      }
      EXPECT_EQ(wrong, 0) << o.w << "x" << o.h << (lut ? " through a table" : " as 0xRRGGBB");
      // A touch on a bar falls outside the layout.
      if (r.x > 0) {
        int lx = 0, ly = 0;
        LayoutPoint(r, r.x + r.w + 0.5, r.y, &lx, &ly);
        EXPECT_GE(lx, kScreenWidth);
      }
    }
  }
}

// The areas reported for a change cover every pixel that changed; painting only them over the
// old picture gives the same picture as painting the new frame whole, and nothing outside the
// window pixels they report is written. Told which frame the window shows, the painter writes
// every window pixel whose game pixel changed and leaves most of the others alone.
TEST(WindowFrame, ChangedAreasRepaintMatchesAWholePaint) {
  const std::vector<uint32_t> lut = Lut();
  const std::vector<uint16_t> before = Frame(0);
  struct Change {
    const char* what;
    int x, y, w, h, step;  // every step-th pixel of the rectangle changes; 0: a checkerboard
  };
  const Change changes[][2] = {
      {{"nothing", 0, 0, 0, 0, 1}, {}},
      {{"first pixel", 0, 0, 1, 1, 1}, {}},
      {{"last pixel", 239, 319, 1, 1, 1}, {}},
      {{"a band of rows", 0, 100, 240, 51, 1}, {}},
      {{"3D view and radar", 0, 0, 240, 232, 1}, {"", 4, 236, 76, 80, 1}},
      {{"two blocks across a tile edge", 15, 15, 2, 2, 1}, {"", 200, 17, 30, 30, 1}},
      {{"scattered over every tile", 0, 0, 240, 320, 37}, {}},
      {{"every other tile, too many to list", 0, 0, 240, 320, 0}, {}},
  };
  const int sizes[][2] = {{720, 960}, {801, 1001}, {200, 400}, {240, 320}};
  for (const auto& size : sizes) {
    for (const auto& change : changes) {
      const std::string name = std::string(change[0].what) + " at " + std::to_string(size[0]);
      std::vector<uint16_t> after = before;
      for (const Change& c : change)
        for (int y = c.y; y < c.y + c.h; ++y)
          for (int x = c.x; x < c.x + c.w; ++x)
            if (c.step ? (y * kScreenWidth + x) % c.step == 0
                       : (x + y) % 7 == 0 && (x / kFrameTile + y / kFrameTile) % 2 == 0)
              after[size_t(y * kScreenWidth + x)] ^= 0x5555;

      FrameArea areas[kMaxFrameAreas];
      const int count = ChangedAreas(before.data(), after.data(), areas);
      ASSERT_GE(count, 0) << name;
      ASSERT_LE(count, kMaxFrameAreas) << name;
      EXPECT_EQ(count == 0, before == after) << name;
      for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
          if (before[size_t(y * kScreenWidth + x)] == after[size_t(y * kScreenWidth + x)]) continue;
          bool covered = false;
          for (int i = 0; i < count; ++i)
            covered |= x >= areas[i].x && x < areas[i].x + areas[i].w && y >= areas[i].y &&
                       y < areas[i].y + areas[i].h;
          ASSERT_TRUE(covered) << name << ": pixel " << x << "," << y << " changed unreported";
        }
      }

      Output step(size[0], size[1]), changed(size[0], size[1]), whole(size[0], size[1]),
          old(size[0], size[1]), marked(size[0], size[1]);
      PaintWhole(&step, before, lut.data());
      PaintWhole(&changed, before, lut.data());
      PaintWhole(&old, before, lut.data());
      PaintWhole(&whole, after, lut.data());
      const FramePlace r = PlaceFrame(step.w, step.h);
      std::vector<FramePlace> written;
      for (int i = 0; i < count; ++i) {
        written.push_back(ScaleFrameArea(after.data(), lut.data(), step.bytes.data(), step.pitch,
                                         r, areas[i]));
        const FramePlace p = ScaleFrameArea(after.data(), lut.data(), changed.bytes.data(),
                                            changed.pitch, r, areas[i], before.data());
        EXPECT_TRUE(p.x == written.back().x && p.y == written.back().y &&
                    p.w == written.back().w && p.h == written.back().h)
            << name;
        ScaleFrameArea(after.data(), lut.data(), marked.bytes.data(), marked.pitch, r, areas[i],
                       before.data());
      }
      EXPECT_EQ(step.bytes, whole.bytes) << name;
      EXPECT_EQ(changed.bytes, whole.bytes) << name << ", only the changed pixels written";
      // On a blank window: what was left alone shows game pixels that did not change.
      int kept = 0, keptWrongly = 0;
      for (int y = r.y; y < r.y + r.h; ++y) {
        for (int x = r.x; x < r.x + r.w; ++x) {
          if (marked.At(x, y) != kUntouched) continue;
          ++kept;
          keptWrongly += old.At(x, y) != whole.At(x, y);
        }
      }
      EXPECT_EQ(keptWrongly, 0) << name;
      if (count > 0 && change[0].step == 1 && change[0].w * change[0].h < 1000) {
        EXPECT_GT(kept, 0) << name << ": a small change rewrote all its tiles";
      }
      for (int y = 0; y < step.h; ++y) {
        for (int x = 0; x < step.w; ++x) {
          if (old.At(x, y) == whole.At(x, y)) continue;
          bool reported = false;
          for (const FramePlace& p : written)
            reported |= x >= p.x && x < p.x + p.w && y >= p.y && y < p.y + p.h;
          ASSERT_TRUE(reported) << name << ": window pixel " << x << "," << y << " unreported";
        }
      }
    }
  }
}

// A part of the frame lands on exactly the window pixels reported, at whole scales and shrunk,
// and a part reaching past the frame is cut to it.
TEST(WindowFrame, AnAreaWritesExactlyThePixelsItReports) {
  const std::vector<uint32_t> lut = Lut();
  const std::vector<uint16_t> frame = Frame(3);
  const FrameArea areas[] = {{0, 0, 16, 16},    {16, 48, 224, 32}, {231, 300, 9, 20},
                             {-8, -8, 24, 24},  {230, 310, 40, 40}, {100, 100, 0, 5},
                             {240, 0, 16, 16}};
  const int sizes[][2] = {{720, 960}, {200, 400}, {523, 700}};
  for (const auto& size : sizes) {
    const FramePlace r = PlaceFrame(size[0], size[1]);
    for (const FrameArea& a : areas) {
      Output o(size[0], size[1]);
      const FramePlace p = ScaleFrameArea(frame.data(), lut.data(), o.bytes.data(), o.pitch, r, a);
      const int x0 = std::max(a.x, 0), x1 = std::min(a.x + a.w, kScreenWidth);
      const int y0 = std::max(a.y, 0), y1 = std::min(a.y + a.h, kScreenHeight);
      int wrong = 0;
      for (int y = 0; y < o.h; ++y) {
        for (int x = 0; x < o.w; ++x) {
          const bool inside = x >= p.x && x < p.x + p.w && y >= p.y && y < p.y + p.h;
          int lx = -1, ly = -1;
          if (inside) LayoutPoint(r, x, y, &lx, &ly);
          // Inside: the frame pixel shown there belongs to the area; outside: untouched.
          wrong += inside ? !(lx >= x0 && lx < x1 && ly >= y0 && ly < y1) ||
                                o.At(x, y) != lut[frame[size_t(ly * kScreenWidth + lx)]]
                          : o.At(x, y) != kUntouched;
        }
      }
      EXPECT_EQ(wrong, 0) << size[0] << "x" << size[1] << " area " << a.x << "," << a.y;
      // Every frame pixel of the area shows somewhere in what was written.
      if (x1 > x0 && y1 > y0 && r.w >= kScreenWidth) {
        EXPECT_EQ(p.w, (x1 - x0) * r.w / kScreenWidth);
        EXPECT_EQ(p.h, (y1 - y0) * r.h / kScreenHeight);
      }
      if (x1 <= x0 || y1 <= y0) {
        EXPECT_TRUE(p.w == 0 || p.h == 0);
      }
    }
  }
}

// Painting a part of the frame over the one shown, told which that is, leaves the same picture
// as painting that part whole: for parts of any width and place, at whole scales and shrunk.
TEST(WindowFrame, PaintingOverTheShownFrameMatchesAWholePaint) {
  const std::vector<uint32_t> lut = Lut();
  const std::vector<uint16_t> frame = Frame(3);
  std::vector<uint16_t> shown = frame;
  for (size_t i = 0; i < shown.size(); i += 5) shown[i] ^= 0x0841;
  const FrameArea areas[] = {{0, 0, 240, 320}, {231, 300, 9, 20}, {-8, -8, 27, 24},
                             {1, 5, 6, 3},     {117, 40, 13, 50}};
  const int sizes[][2] = {{720, 960}, {1203, 1601}, {200, 400}, {523, 700}};
  for (const auto& size : sizes) {
    const FramePlace r = PlaceFrame(size[0], size[1]);
    for (const FrameArea& a : areas) {
      Output over(size[0], size[1]), whole(size[0], size[1]);
      PaintWhole(&over, shown, lut.data());
      PaintWhole(&whole, shown, lut.data());
      ScaleFrameArea(frame.data(), lut.data(), over.bytes.data(), over.pitch, r, a, shown.data());
      ScaleFrameArea(frame.data(), lut.data(), whole.bytes.data(), whole.pitch, r, a);
      EXPECT_TRUE(over.bytes == whole.bytes) << size[0] << "x" << size[1] << " area " << a.x << ","
                                             << a.y << " " << a.w << "x" << a.h;
    }
  }
}

}  // namespace
