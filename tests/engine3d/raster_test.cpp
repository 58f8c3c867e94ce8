// The rasterisers: textured filler (winding, rows, border gap, wrap, shade rows), outline
// lines along the border, and the scaled sprite blitter's modes and clipping.
#include <algorithm>
#include <array>
#include <vector>

#include "engine3d/pipeline.h"
#include "engine_fixture.h"
#include "gfx2d/gfx2d.h"
#include "gfx2d/gfx2d_test_util.h"

namespace {

class RasterTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    frame.assign(240 * 320, 0);
    // Texture: colour number = u + 64 * (v & 1), so columns and rows are told apart.
    for (int v = 0; v < 64; ++v)
      for (int u = 0; u < 64; ++u) texture[v * 64 + u] = uint8_t(u + 64 * (v & 1));
    // Table: pixel = row * 256 + colour (8 guard rows either side, as the engine keeps).
    lut.resize(kLutEntries + 2 * 8 * 256);
    for (size_t i = 0; i < lut.size(); ++i) lut[i] = uint16_t(i - 8 * 256);
  }
  const uint16_t* Lut() const { return lut.data() + 8 * 256; }
  void Fill(std::initializer_list<RasterVertex> v) {
    std::vector<RasterVertex> vs(v);
    FillTexturedPolygon(*engine, vs.data(), int(vs.size()), texture, frame.data(), Lut());
  }
  int Drawn() const { return int(std::count_if(frame.begin(), frame.end(), [](uint16_t p) { return p != 0; })); }
  uint16_t At(int x, int y) const { return frame[size_t(y) * 240 + size_t(x)]; }
  void ExpectAt(std::initializer_list<std::array<int, 3>> probes) const {
    ExpectPixels(frame.data(), probes);
  }

  std::vector<uint16_t> frame;
  uint8_t texture[4096];
  std::vector<uint16_t> lut;
};

RasterVertex P(int32_t x, int32_t y, int32_t shade = 20 * 256, int32_t u = 0, int32_t v = 0) {
  return RasterVertex{x * 256, y * 256, shade, u, v};
}

TEST_F(RasterTest, OnlyClockwiseCornersFill) {
  Fill({P(10, 10), P(50, 10), P(30, 10)});  // flat
  Fill({P(10, 10), P(0, 30), P(20, 30)});   // anticlockwise
  EXPECT_EQ(Drawn(), 0);
  Fill({P(10, 10), P(20, 30), P(0, 30)});
  EXPECT_GT(Drawn(), 150);
  // Rows 11..29 are drawn (the apex row 10 has no width), row 30 is not; the span of row 29
  // reaches from about 0 to 20.
  for (auto [x, y] : {std::pair{10, 11}, {1, 29}, {19, 29}}) EXPECT_NE(At(x, y), 0) << x << "," << y;
  ExpectAt({{10, 30, 0}, {10, 9, 0}, {10, 10, 0}});
}

TEST_F(RasterTest, ViewportWideSpansCloseTheBorderGap) {
  // Clipped edges ending a pixel short of either side still fill columns 0..239.
  Fill({P(1, 100), P(239, 100), P(239, 140), P(1, 140)});
  for (int y = 100; y < 140; ++y) {
    EXPECT_NE(At(0, y), 0) << y;
    EXPECT_NE(At(239, y), 0) << y;
  }
  // Three pixels in, there is no gap to close: column 2 stays empty.
  std::fill(frame.begin(), frame.end(), 0);
  Fill({P(3, 200), P(230, 200), P(230, 210), P(3, 210)});
  EXPECT_EQ(At(2, 205), 0);
  EXPECT_NE(At(3, 205), 0);
}

TEST_F(RasterTest, TextureCoordinatesWrapEvery64TexelsAndShadesPickTheRow) {
  // u runs 64 * 256 .. 64 * 256 + 10 * 256 over ten pixels: the same texels as 0 .. 10.
  Fill({P(0, 0, 0, 64 * 256), P(10, 0, 0, 74 * 256), P(10, 4, 0, 74 * 256), P(0, 4, 0, 64 * 256)});
  std::vector<uint16_t> wrapped(frame);
  std::fill(frame.begin(), frame.end(), 0);
  Fill({P(0, 0, 0, 0), P(10, 0, 0, 10 * 256), P(10, 4, 0, 10 * 256), P(0, 4, 0, 0)});
  EXPECT_EQ(wrapped, frame);
  // Row 0 of the table: colour number = texel column. The step is 255/256 of a texel (the
  // reciprocal of 10 is 6553), so pixel 5 shows texel 4.
  EXPECT_EQ(std::make_pair(At(5, 2) & 255, At(9, 2) & 255), std::make_pair(4, 8));
  // The shade selects the table's row.
  std::fill(frame.begin(), frame.end(), 0);
  Fill({P(0, 0, 16128), P(8, 0, 16128), P(8, 2, 16128), P(0, 2, 16128)});
  EXPECT_EQ(At(3, 1) >> 8, 63);
  std::fill(frame.begin(), frame.end(), 0);
  Fill({P(0, 0, 255, 0, 256), P(8, 0, 255, 0, 256), P(8, 2, 255, 0, 256), P(0, 2, 255, 0, 256)});
  EXPECT_EQ(At(3, 1), 64);  // row 0, texel (0, 1)
}

// The span in lanes against the pixel-by-pixel one: every length around the lane width,
// steps either way, coordinates wrapping past 64 texels and 16 bits, shades in the guard
// rows; neither writes a pixel past the span.
TEST_F(RasterTest, LaneSpansMatchThePixelByPixelSpan) {
  struct Case {
    int32_t u, v, shade, du, dv, ds;
  };
  std::vector<Case> cases = {{0, 0, 20 * 256, 256, 0, 0},
                             {16383, 16383, 63 * 256 + 255, -300, -700, -60},
                             {-70000, 90000, -8 * 256, 5000, -9000, 150},
                             {1 << 20, -(1 << 21), 71 * 256 + 255, -16384, 16384, -90},
                             {123, 45678, 4000, 65536 + 77, -65536 - 3, 1}};
  uint32_t seed = 12345;
  auto next = [&seed](int32_t lo, int32_t hi) {
    seed = seed * 214013u + 2531011u;
    return lo + int32_t((seed >> 8) % uint32_t(hi - lo + 1));
  };
  for (int i = 0; i < 200; ++i)
    cases.push_back({next(-100000, 100000), next(-100000, 100000), next(0, 16383),
                     next(-20000, 20000), next(-20000, 20000), next(-60, 60)});
  for (const Case& c : cases)
    for (int32_t n = 1; n <= 40; ++n) {
      int32_t end = c.shade + (n - 1) * c.ds;
      if (end < -8 * 256 || end >= 72 * 256) continue;  // past the guard rows either way
      std::vector<uint16_t> lanes(48, 0xBEEF), scalar(48, 0xBEEF);
      TexturedSpan(lanes.data(), n, texture, Lut(), c.u, c.v, c.shade, c.du, c.dv, c.ds);
      TexturedSpanScalar(scalar.data(), n, texture, Lut(), c.u, c.v, c.shade, c.du, c.dv, c.ds);
      ASSERT_EQ(lanes, scalar) << "n " << n << " u " << c.u << " v " << c.v << " shade " << c.shade;
      ASSERT_EQ(lanes[size_t(n)], 0xBEEF);
    }
}

TEST_F(RasterTest, RowsStayInsideTheViewport) {
  engine->y0 = 50, engine->y1 = 60, engine->x0 = 20, engine->x1 = 200;
  Fill({P(0, 0), P(239, 0), P(239, 319), P(0, 319)});
  for (int y = 0; y < 320; ++y)
    for (int x = 0; x < 240; ++x)
      ASSERT_EQ(At(x, y) != 0, y >= 50 && y < 60 && x >= 20 && x < 200) << x << "," << y;
}

ClipVertex Corner(int32_t x, int32_t y) {
  ClipVertex c{};
  c.sx = x;
  c.sy = y;
  return c;
}

void Outline(const Engine3D& e, std::vector<uint16_t>& frame, std::initializer_list<ClipVertex> pts) {
  std::vector<ClipVertex> cs(pts);
  std::vector<ClipVertex*> ptr;
  for (ClipVertex& c : cs) ptr.push_back(&c);
  DrawOutlinePolygon(e, frame.data(), ptr.data(), int(ptr.size()), 0x07C0);
}

TEST_F(RasterTest, OutlineEdgesAlongTheBorderAreSkipped) {
  // A closed pair: (2.0, 50.0) -> (2.5, 80.0) and back, both ends in column 2.
  Outline(*engine, frame, {Corner(512, 50 * 256), Corner(640, 80 * 256)});
  EXPECT_EQ(Drawn(), 0);
  // (2.0, 50.0) -> (10.0, 50.0): 8 pixels on row 50 (and 8 on the way back).
  Outline(*engine, frame, {Corner(512, 50 * 256), Corner(10 * 256, 50 * 256)});
  for (int x = 2; x <= 10; ++x) EXPECT_EQ(At(x, 50), 0x07C0) << x;
  EXPECT_EQ(Drawn(), 9);  // columns 2..9 one way, 10..3 the other
  // Corners far outside are clamped to the border, never written outside it.
  std::fill(frame.begin(), frame.end(), 0);
  Outline(*engine, frame, {Corner(-5000, -5000), Corner(900000, 100 * 256), Corner(100 * 256, 900000)});
  for (int x = 0; x < 240; ++x) EXPECT_EQ(At(x, 0), 0);
  for (int y = 0; y < 320; ++y) EXPECT_EQ(At(239, y), 0);
  EXPECT_GT(Drawn(), 0);
}

class BlitTest : public RasterTest {
 protected:
  // A 4 x 2 image: row 0 = 1, 2, 3, key; row 1 = 5, 6, 7, 8.
  uint16_t image[2 + 8] = {4, 2, 0x0801, 0x0802, 0x0803, 0x1234, 0x0805, 0x0806, 0x0807, 0x0808};
  void Blit(int32_t l, int32_t t, int32_t r, int32_t b, int32_t mode) {
    BlitSprite(*engine, frame.data(), l, t, r, b, image, 0, 0, 4, 2, engine->x0, engine->y0,
               engine->x1, engine->y1, mode, 0x1234);
  }
};

TEST_F(BlitTest, ScalesByNearestNeighbourSkipsTheKeyAndClipsOnTheLeft) {
  Blit(10, 10, 18, 14, 4);  // no such mode
  Blit(10, 10, 10, 14, 0);  // empty
  Blit(10, 10, 18, 10, 0);
  EXPECT_EQ(Drawn(), 0);
  Blit(10, 10, 18, 14, 0);  // twice the size; (16, 10) is the key
  ExpectAt({{10, 10, 0x0801}, {11, 10, 0x0801}, {12, 11, 0x0802}, {16, 10, 0}, {17, 13, 0x0808},
            {18, 13, 0}});
  EXPECT_EQ(Drawn(), 28);
  // 10 pixels left of the viewport, 40 wide: du = 1638 x 4 >> 8 = 25, so sampling starts
  // 250/256 of a texel in (texel 0), pixel 25 shows texel 375 >> 8 = 1 and pixel 31 texel
  // 525 >> 8 = 2.
  engine->x0 = 20;
  Blit(10, 0, 50, 2, 0);
  ExpectAt({{19, 0, 0}, {20, 0, 0x0801}, {25, 0, 0x0802}, {31, 0, 0x0803}});
}

TEST_F(BlitTest, AMirroredSourceDrawsInsideTheImageAndNothingPastIt) {
  // Exactly the image's size on the heap, so a read past it is caught under the sanitizer.
  const std::vector<uint16_t> block(std::begin(image), std::end(image));
  struct Case {
    int32_t srcLeft, srcTop, srcRight, srcBottom;
    bool draws;
  };
  const Case cases[] = {
      {3, 0, -1, 2, true},   // columns 3, 2, 1, 0
      {0, 1, 4, -1, true},   // rows 1, 0
      {4, 0, 0, 2, false},   // starts at column 4, one past the last
      {2, 0, -2, 2, false},  // ends at column -1
      {0, 2, 4, 0, false},   // starts at row 2, past the image
      {0, 0, 4, 4, false},   // ends at row 2
  };
  for (const Case& c : cases) {
    std::fill(frame.begin(), frame.end(), 0);
    BlitSprite(*engine, frame.data(), 10, 10, 14, 12, block.data(), c.srcLeft, c.srcTop,
               c.srcRight, c.srcBottom, engine->x0, engine->y0, engine->x1, engine->y1, 0, 0);
    EXPECT_EQ(Drawn() > 0, c.draws) << c.srcLeft << "," << c.srcTop << " " << c.srcRight << ","
                                    << c.srcBottom;
  }
  std::fill(frame.begin(), frame.end(), 0);
  BlitSprite(*engine, frame.data(), 10, 10, 14, 12, block.data(), 3, 1, -1, -1, engine->x0,
             engine->y0, engine->x1, engine->y1, 0, 0);
  ExpectAt({{10, 10, 0x0808}, {13, 10, 0x0805}, {10, 11, 0x1234}, {13, 11, 0x0801}});
}

TEST_F(BlitTest, BlendModes) {
  std::fill(frame.begin(), frame.end(), 0xFFFF);
  Blit(0, 0, 4, 2, 1);  // half blend, key skipped
  EXPECT_EQ(At(0, 0), 0x7BEF);  // (0xF7DE + (0x0801 & 0xF7DE = 0)) >> 1
  EXPECT_EQ(At(3, 0), 0xFFFF);
  Blit(10, 0, 14, 2, 2);  // half blend of every pixel, the key too
  EXPECT_EQ(At(13, 0), 0x84F9);  // (0xF7DE + 0x1214) >> 1
  // Brightness-weighted: a white source over black stays nearly white.
  std::fill(frame.begin(), frame.end(), 0);
  image[2] = MakeColour(31, 31, 31);
  Blit(20, 0, 24, 2, 3);
  EXPECT_EQ(At(20, 0), MakeColour(30, 30, 30));  // weight 124 of 128: 2 x 31 x 124 >> 8
  EXPECT_EQ(At(23, 0), 0);  // key
}

// The sprite rows in lanes against the pixel-by-pixel ones: every mode, scaled up, down and
// one to one, over pixels with full, empty and odd fields and the key; nothing past the row
// is touched.
TEST(BlitRows, LanesMatchThePixelByPixelRows) {
  uint32_t seed = 7;
  auto next = [&seed] {
    seed = seed * 214013u + 2531011u;
    return uint16_t(seed >> 16);
  };
  const uint16_t key = 0x1234;
  std::vector<uint16_t> src(200);
  for (auto& p : src) p = next() % 4 == 0 ? key : (next() % 3 == 0 ? 0xFFFF : next());
  for (int32_t mode = 0; mode <= 4; ++mode)
    for (int32_t du : {256, 100, 333, 700})
      for (int32_t n = 0; n <= 40; ++n) {
        std::vector<uint16_t> lanes(48), scalar;
        for (auto& p : lanes) p = next() % 5 == 0 ? 0xFFFF : next();
        scalar = lanes;
        BlitSpriteRow(lanes.data(), src.data(), 37, du, n, mode, key);
        BlitSpriteRowScalar(scalar.data(), src.data(), 37, du, n, mode, key);
        ASSERT_EQ(lanes, scalar) << "mode " << mode << " du " << du << " n " << n;
      }
}

}  // namespace
