// LoadJpg through the data directory: the sprite block it makes, and the four messages it
// logs for the files it refuses.
#include <gtest/gtest.h>

#include "core/core.h"
#include "gfx2d/gfx2d.h"
#include "gfx2d/jpeg.h"
#include "jpeg_test_support.h"
#include "test_support.h"

namespace {

std::string AsString(const ByteString& b) { return std::string(b.begin(), b.end()); }

ByteString Colour420(int width, int height, uint32_t seed = 3) {
  EncodeOptions options;
  options.quality = 85;
  return EncodeJpeg(TestPicture(width, height, 3, seed), options);
}

// The sprite pixels LoadJpg must make from our decoder's lines.
std::vector<uint16_t> ExpectedPixels(const ByteString& jpeg) {
  OurDecode d = DecodeWithOurs(jpeg);
  std::vector<uint16_t> pixels;
  const Picture& p = d.picture;
  for (int i = 0; i < p.width * p.height; ++i) {
    const uint8_t* s = &p.samples[size_t(i) * p.channels];
    int r = s[0], g = s[p.channels == 3 ? 1 : 0], b = s[p.channels == 3 ? 2 : 0];
    pixels.push_back(MakeColour(r >> 3, g >> 3, b >> 3));
  }
  return pixels;
}

std::vector<uint16_t> BlockPixels(const uint16_t* block) {
  return std::vector<uint16_t>(block + 2, block + 2 + size_t(block[0]) * block[1]);
}

TEST(LoadJpg, ColourAndGreyBecomeSpritePixels) {
  ScratchDir dir;
  ByteString colour = Colour420(37, 21);
  ByteString grey = EncodeJpeg(TestPicture(19, 9, 1, 4), EncodeOptions{});
  dir.Write("colour.jpg", AsString(colour));
  dir.Write("grey.jpg", AsString(grey));
  uint16_t* block = nullptr;
  ASSERT_EQ(LoadJpg(nullptr, "colour.jpg", &block), 1);
  EXPECT_EQ(block[0], 37);
  EXPECT_EQ(block[1], 21);
  EXPECT_EQ(BlockPixels(block), ExpectedPixels(colour));
  MemFree(block);
  ASSERT_EQ(LoadJpg(nullptr, "grey.jpg", &block), 1);
  EXPECT_EQ(BlockPixels(block), ExpectedPixels(grey));
  // Grey stays grey: red, green and blue fields carry the same 5 bits.
  uint16_t p = block[2];
  EXPECT_EQ(p >> 11, (p >> 6) & 31);
  EXPECT_EQ(p >> 11, p & 31);
  MemFree(block);
  EXPECT_EQ(dir.Log(), "");
}

TEST(LoadJpg, JunkBeforeSoi) {
  ScratchDir dir;
  ByteString jpeg = Colour420(24, 24);
  dir.Write("plain.jpg", AsString(jpeg));
  dir.Write("junk16.jpg", std::string(16, 'U') + AsString(jpeg));
  dir.Write("junk600.jpg", std::string(600, 'U') + AsString(jpeg));
  uint16_t* plain = nullptr;
  uint16_t* junk = nullptr;
  ASSERT_EQ(LoadJpg(nullptr, "plain.jpg", &plain), 1);
  ASSERT_EQ(LoadJpg(nullptr, "junk16.jpg", &junk), 1);
  EXPECT_EQ(BlockPixels(junk), BlockPixels(plain));
  MemFree(plain);
  MemFree(junk);
  EXPECT_EQ(dir.Log(), "");
  EXPECT_EQ(LoadJpg(nullptr, "junk600.jpg", &junk), 0);
  EXPECT_EQ(junk, nullptr);
  EXPECT_EQ(dir.Log(), "LoadJpg(): Decoder failed.\n");
}

TEST(LoadJpg, RefusalsAndTheirMessages) {
  struct Case {
    const char* what;
    ByteString bytes;
    const char* message;
  };
  ByteString twelveBit = Colour420(16, 16);
  twelveBit[size_t(SegmentPayload(twelveBit, 0xC0))] = 12;
  EncodeOptions fourOneOne;
  fourOneOne.lumaH = 4;
  fourOneOne.lumaV = 1;
  EncodeOptions restarts;
  restarts.restartInterval = 1;
  ByteString wrongRestart = EncodeJpeg(TestPicture(64, 32, 3, 8), restarts);
  long rst = FindMarker(wrongRestart, 0xD3);
  wrongRestart[size_t(rst) + 1] = 0xD5;
  EncodeOptions progressive;
  progressive.progressive = true;
  const Case cases[] = {
      {"12-bit fails at init", twelveBit, "LoadJpg(): Decoder failed.\n"},
      {"progressive", EncodeJpeg(TestPicture(16, 16, 3, 1), progressive),
       "LoadJpg(): Decoder failed.\n"},
      {"4:1:1 fails in decode", EncodeJpeg(TestPicture(40, 16, 3, 2), fourOneOne),
       "LoadJpg(): Decoder failed (3).\n"},
      {"wrong RSTn", wrongRestart, "LoadJpg(): Decoder failed (3).\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDir dir;
    dir.Write("bad.jpg", AsString(c.bytes));
    uint16_t* block = reinterpret_cast<uint16_t*>(&dir);  // must be overwritten
    EXPECT_EQ(LoadJpg(nullptr, "bad.jpg", &block), 0);
    EXPECT_EQ(block, nullptr);  // a block made before the failure is freed, not handed out
    EXPECT_EQ(dir.Log(), c.message);
  }
  ScratchDir dir;
  uint16_t* block = nullptr;
  EXPECT_EQ(LoadJpg(nullptr, "absent.jpg", &block), 0);
  EXPECT_EQ(dir.Log(), "LoadJpg(): Unable to open file for reading.\n");
}

TEST(LoadJpg, TruncatedFileDecodesToTheEnd) {
  ScratchDir dir;
  ByteString whole = Colour420(64, 64);
  ByteString half(whole.begin(), whole.begin() + long(whole.size() * 6 / 10));
  dir.Write("whole.jpg", AsString(whole));
  dir.Write("half.jpg", AsString(half));
  uint16_t* a = nullptr;
  uint16_t* b = nullptr;
  ASSERT_EQ(LoadJpg(nullptr, "whole.jpg", &a), 1);
  ASSERT_EQ(LoadJpg(nullptr, "half.jpg", &b), 1);
  EXPECT_EQ(dir.Log(), "");
  // The first MCU row lies wholly inside the kept part.
  std::vector<uint16_t> pa = BlockPixels(a), pb = BlockPixels(b);
  EXPECT_TRUE(std::equal(pa.begin(), pa.begin() + 64 * 16, pb.begin()));
  EXPECT_NE(pa, pb);
  MemFree(a);
  MemFree(b);
}

}  // namespace
