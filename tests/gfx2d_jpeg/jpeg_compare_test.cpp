// Our decoder against libjpeg-turbo's accurate integer decode, over every supported layout,
// odd sizes, low and high quality, with and without restart intervals.
#include <cstdlib>

#include <gtest/gtest.h>

#include "jpeg_test_support.h"

namespace {

struct Layout {
  const char* name;
  int channels, h, v;
};

const Layout kLayouts[] = {
    {"444", 3, 1, 1}, {"422", 3, 2, 1}, {"1x2", 3, 1, 2}, {"420", 3, 2, 2}, {"grey", 1, 1, 1},
};

// Largest channel difference; -1 when the pictures differ in shape.
int MaxDifference(const Picture& a, const Picture& b) {
  if (a.width != b.width || a.height != b.height || a.channels != b.channels) return -1;
  int worst = 0;
  for (size_t i = 0; i < a.samples.size(); ++i)
    worst = std::max(worst, std::abs(int(a.samples[i]) - int(b.samples[i])));
  return worst;
}

void PrintTo(const Layout& layout, std::ostream* os) { *os << layout.name; }

class JpegCompare : public testing::TestWithParam<Layout> {};

// Odd sizes, low and high quality, with and without restart intervals (their numbers wrap
// on the larger pictures), and per-picture Huffman tables, whose code lengths differ from the
// standard ones, long codes included; the same bytes with and without the vector paths.
TEST_P(JpegCompare, WithinTwoOfLibjpegOnOddSizesQualitiesRestartsAndOptimisedTables) {
  const Layout& layout = GetParam();
  const int sizes[][2] = {{1, 1}, {7, 17}, {17, 7}, {241, 33}, {33, 241}, {121, 75}};
  uint32_t seed = 1;
  for (const auto& size : sizes) {
    for (int quality : {10, 95}) {
      for (int restart : {0, 2}) {
        SCOPED_TRACE(testing::Message() << size[0] << "x" << size[1] << " q" << quality
                                        << " restart " << restart);
        Picture picture = TestPicture(size[0], size[1], layout.channels, seed++);
        EncodeOptions options;
        options.quality = quality;
        options.lumaH = layout.h;
        options.lumaV = layout.v;
        options.restartInterval = restart;
        options.optimiseHuffman = size[0] == 121;
        ByteString jpeg = EncodeJpeg(picture, options);
        if (restart && size[0] * size[1] > 2000) {
          ASSERT_GE(FindMarker(jpeg, 0xD7), 0);  // the restart numbers wrapped
        }
        OurDecode ours = DecodeWithOurs(jpeg);
        ASSERT_EQ(ours.initError, 0);
        ASSERT_EQ(ours.finalError, 0);
        EXPECT_EQ(ours.lastStatus, 1);
        EXPECT_EQ(ours.lines, size[1]);
        int difference = MaxDifference(ours.picture, ReferenceDecode(jpeg));
        EXPECT_GE(difference, 0);
        EXPECT_LE(difference, 2);
        // The vector paths (where the machine has them) give the portable ones' bytes.
        EXPECT_EQ(ours.picture.samples, DecodeWithOurs(jpeg, true).picture.samples);
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Layouts, JpegCompare, testing::ValuesIn(kLayouts),
                         [](const testing::TestParamInfo<Layout>& info) {
                           return std::string("L") + info.param.name;
                         });

}  // namespace
