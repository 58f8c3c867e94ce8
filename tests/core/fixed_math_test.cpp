// Fixed-point math: square roots, rotations, Atan2, random numbers, the tables' loading.
#include <cmath>
#include <cstring>
#include <tuple>
#include <vector>

#include "core/core.h"
#include "test_support.h"

class MathTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(math.Create(7)); }
  void TearDown() override { math.Destroy(); }
  UseGameData data;
  MathTables math;
};

TEST(IntSqrt, RoundsToNearest) {
  // Halfway (r * r + r) rounds down, one more rounds up; nothing below zero has a root.
  const int32_t in[] = {0, 1, 2, 3, 4, 6, 8, 9, 15, 16, 24, 25, 2147441940, 2147441941, 2147483647, -5};
  const int32_t out[] = {0, 1, 1, 2, 2, 2, 3, 3, 4, 4, 5, 5, 46340, 46341, 46341, 0};
  for (size_t i = 0; i < sizeof in / sizeof in[0]; ++i)
    EXPECT_EQ(MathTables::IntSqrt(in[i]), out[i]) << in[i];
  for (int32_t n = 0; n < 200000; n += 97)
    EXPECT_LE(std::fabs(MathTables::IntSqrt(n) - std::sqrt(double(n))), 0.5 + 1e-9) << n;
}

TEST(Distance3, FarDistancesSaturateInsteadOfWrapping) {
  EXPECT_EQ(MathTables::Distance3(0, 0, 0, 3, 4, 0), 5);
  EXPECT_EQ(MathTables::Distance3(-10, 0, 0, 10, 0, 0), 20);
  // 60000^2 overflows 32 bits; the handheld would have wrapped to a small distance.
  EXPECT_EQ(MathTables::Distance3(0, 0, 0, 60000, 0, 0), 46341);
  EXPECT_EQ(MathTables::Distance3(INT32_MIN, 0, 0, INT32_MAX, 0, 0), 46341);
}

TEST(Vectors, NormalizeAndTransform) {
  auto xyz = [](const Vec3& v) { return std::make_tuple(v.x, v.y, v.z); };
  const struct {
    Vec3 in, out;
  } cases[] = {{{0, 0, 0}, {0, 255, 0}},  // no direction: straight up
               {{3, 0, 0}, {256, 0, 0}},
               {{-3, 4, 0}, {-153, 204, 0}}};  // (-3 << 8) / 5 truncates toward zero
  for (const auto& c : cases) {
    Vec3 v = c.in;
    MathTables::Normalize(&v);
    EXPECT_EQ(xyz(v), xyz(c.out)) << c.in.x << "," << c.in.y;
  }
  Matrix3 m;
  MathTables::Identity(&m);
  Vec3 p{256, -512, 1024};
  MathTables::Transform(&p, m);
  EXPECT_EQ(xyz(p), std::make_tuple(255, -510, 1020));
}

TEST_F(MathTest, SineTableAndAngles) {
  EXPECT_EQ(std::make_tuple(math.sine[0], math.sine[512], math.sine[1024], math.sine[1536]),
            std::make_tuple(0, 256, 0, -256));
  // Angles index the table by their high bits: the low 8 are ignored, negatives wrap.
  EXPECT_EQ(std::make_tuple(math.Sin(kQuarterTurn), math.Cos(kQuarterTurn), math.Sin(-256), math.Sin(255)),
            std::make_tuple(math.sine[512], math.sine[1024], math.sine[2047], math.sine[0]));
}

TEST_F(MathTest, RotationsTurnTheRightWay) {
  // A quarter turn about y takes forward (z) to the right (x) column-wise: M * Ry.
  Matrix3 m;
  MathTables::Identity(&m);
  math.RotateY(&m, kQuarterTurn);
  EXPECT_EQ(std::make_tuple(m.m[0], m.m[2], m.m[6]), std::make_tuple(0, 255, -255));
  Vec3 v{0, 0, 256};
  math.TurnAboutX(&v, kQuarterTurn);
  EXPECT_EQ(v.y, -255);
  EXPECT_EQ(v.z, 0);
}

TEST_F(MathTest, Atan2Quadrants) {
  const double pi = 3.141592653589793;
  EXPECT_DOUBLE_EQ(math.Atan2(0.0, -1.0), pi);
  EXPECT_DOUBLE_EQ(math.Atan2(1.0, 0.0), pi / 2);
  EXPECT_DOUBLE_EQ(math.Atan2(-1.0, 0.0), -pi / 2);
  const double ys[] = {0.3, 1.0, 5.0, -0.3, -1.0, -5.0};
  const double xs[] = {1.0, -1.0, 0.5, -0.5};
  for (double y : ys)
    for (double x : xs) EXPECT_NEAR(math.Atan2(y, x), std::atan2(y, x), 1e-9) << y << "," << x;
}

TEST(RandomBelow, FollowsTheHandheldGenerator) {
  HandheldSrand(1);
  EXPECT_EQ(HandheldRand(), 41);
  EXPECT_EQ(HandheldRand(), 18467);
  HandheldSrand(1);
  EXPECT_EQ(MathTables::RandomBelow(100), 0);   // 41 of 32768
  EXPECT_EQ(MathTables::RandomBelow(100), 56);  // 18467 of 32768
  EXPECT_EQ(MathTables::RandomBelow(0), 0);
  bool inRange = true;
  for (int i = 0; i < 5000; ++i) inRange = inRange && unsigned(MathTables::RandomBelow(7)) < 7u;
  EXPECT_TRUE(inRange);
  HandheldSrand(1);
}

TEST_F(MathTest, HeadingTurnsWithTheCamera) {
  // Straight ahead and a half turn apart differ by the panorama's half width of headings.
  Matrix3 ahead, back;
  MathTables::Identity(&ahead);
  MathTables::Identity(&back);
  math.RotateY(&back, kFullTurn / 2);
  float a = math.HeadingFromMatrix(ahead), b = math.HeadingFromMatrix(back);
  EXPECT_FLOAT_EQ(a, 0.0f);
  EXPECT_NEAR(b, 770 * 343.0f, 343.0f);
}

TEST(FaceNormal, UnitNormalAndDegenerateFace) {
  const struct {
    Vec3f a, b, c;
    bool up;  // the unit normal is +y (else +z)
  } cases[] = {
      {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, false},
      {{1, 1, 1}, {1, 1, 1}, {1, 1, 1}, true},          // degenerate: straight up
      {{0, 0, 0}, {3e9f, 0, 0}, {0, 3e9f, 0}, false},   // a huge face from a damaged model
      {{0, 0, 0}, {1e30f, 0, 0}, {0, 1e30f, 0}, true},  // infinite length
  };
  for (const auto& c : cases) {
    Vec3f* n = MathTables::FaceNormal(c.a, c.b, c.c);
    EXPECT_FLOAT_EQ(c.up ? n->y : n->z, 1.0f) << c.b.x;
    MemFree(n);
  }
}

TEST(MathTablesLoad, MissingOrShortTablesAreLoggedAndStopCreation) {
  const struct {
    int sine, arcsine;  // bytes written, -1 for no file
    const char* log;
  } cases[] = {{-1, -1, "Error loading 155\n"},
               {4095, -1, "Error reading from 155\n"},
               {4096, -1, "Error loading asintable.dat\n"},
               {4096, 10, "Error reading from asintable.dat\n"}};
  for (const auto& c : cases) {
    ScratchDir dir;
    if (c.sine >= 0) dir.Write("155", std::string(size_t(c.sine), '\0'));
    if (c.arcsine >= 0) dir.Write("asintable.dat", std::string(size_t(c.arcsine), '\0'));
    MathTables m;
    EXPECT_FALSE(m.Create(0));
    EXPECT_EQ(dir.Log(), c.log);
    m.Destroy();
  }
  ScratchDir dir;
  std::vector<uint16_t> recip(16384);
  EXPECT_EQ(LoadReciprocalTable(recip.data()), 1);
  dir.Write("148", std::string(100, '\0'));
  EXPECT_EQ(LoadReciprocalTable(recip.data()), 2);
}
