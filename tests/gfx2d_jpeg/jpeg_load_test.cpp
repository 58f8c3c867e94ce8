// LoadJpg through the data directory: the sprite block it makes, and the four messages it
// logs for the files it refuses.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/core.h"
#include "gfx2d/gfx2d.h"
#include "gfx2d/jpeg.h"
#include "jpeg_test_support.h"
#include "test_support.h"

namespace {

ByteString Colour420(int width, int height, uint32_t seed = 3) {
  EncodeOptions options;
  options.quality = 85;
  return EncodeJpeg(TestPicture(width, height, 3, seed), options);
}

// The block LoadJpg must make from our decoder's lines: width, height, then the pixels.
std::vector<uint16_t> ExpectedBlock(const ByteString& jpeg) {
  const Picture p = DecodeWithOurs(jpeg).picture;
  std::vector<uint16_t> block = {uint16_t(p.width), uint16_t(p.height)};
  for (int i = 0; i < p.width * p.height; ++i) {
    const uint8_t* s = &p.samples[size_t(i) * p.channels];
    int r = s[0], g = s[p.channels == 3 ? 1 : 0], b = s[p.channels == 3 ? 2 : 0];
    block.push_back(MakeColour(r >> 3, g >> 3, b >> 3));
  }
  return block;
}

// Writes the bytes as `name` and loads them: the block LoadJpg made, or an empty vector when
// it refused them (and then it must hand out no block, whatever the pointer held before).
std::vector<uint16_t> Load(const ScratchDir& dir, const std::string& name, const ByteString& bytes) {
  dir.Write(name, std::string(bytes.begin(), bytes.end()));
  uint16_t before = 0;
  uint16_t* block = &before;
  if (LoadJpg(nullptr, name.c_str(), &block) != 1) {
    EXPECT_EQ(block, nullptr);  // a block made before the failure is freed, not handed out
    return {};
  }
  std::vector<uint16_t> out(block, block + 2 + size_t(block[0]) * block[1]);
  MemFree(block);
  return out;
}

TEST(LoadJpg, ColourAndGreyBecomeSpritePixels) {
  ScratchDir dir;
  ByteString colour = Colour420(37, 21);
  ByteString grey = EncodeJpeg(TestPicture(19, 9, 1, 4), EncodeOptions{});
  const std::vector<uint16_t> colourBlock = Load(dir, "colour.jpg", colour);
  const std::vector<uint16_t> greyBlock = Load(dir, "grey.jpg", grey);
  ASSERT_EQ(colourBlock.size(), 2u + 37 * 21);
  EXPECT_EQ(colourBlock, ExpectedBlock(colour));
  ASSERT_EQ(greyBlock.size(), 2u + 19 * 9);
  EXPECT_EQ(greyBlock, ExpectedBlock(grey));
  // Grey stays grey: red, green and blue fields carry the same 5 bits.
  const uint16_t p = greyBlock[2];
  EXPECT_EQ(std::make_pair(p >> 11, p >> 11), std::make_pair((p >> 6) & 31, p & 31));
  EXPECT_EQ(dir.Log(), "");
}

TEST(LoadJpg, JunkBeforeSoi) {
  ScratchDir dir;
  const ByteString jpeg = Colour420(24, 24);
  auto junk = [&jpeg](size_t n) {
    ByteString b(n + jpeg.size(), 'U');
    std::copy(jpeg.begin(), jpeg.end(), b.begin() + std::ptrdiff_t(n));
    return b;
  };
  const std::vector<uint16_t> plain = Load(dir, "plain.jpg", jpeg);
  ASSERT_EQ(plain.size(), 2u + 24 * 24);
  EXPECT_EQ(Load(dir, "junk16.jpg", junk(16)), plain);
  EXPECT_EQ(dir.Log(), "");
  EXPECT_TRUE(Load(dir, "junk600.jpg", junk(600)).empty());
  EXPECT_EQ(dir.Log(), "LoadJpg(): Decoder failed.\n");
}

TEST(LoadJpg, RefusalsAndTheirMessages) {
  struct Case {
    const char* what;
    ByteString bytes;
    const char* message;
  };
  ByteString twelveBit = Colour420(16, 16);
  twelveBit[size_t(FindMarker(twelveBit, 0xC0)) + 4] = 12;  // the frame's sample precision
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
    EXPECT_TRUE(Load(dir, "bad.jpg", c.bytes).empty());
    EXPECT_EQ(dir.Log(), c.message);
  }
  ScratchDir dir;
  uint16_t* block = nullptr;
  EXPECT_EQ(LoadJpg(nullptr, "absent.jpg", &block), 0);
  EXPECT_EQ(dir.Log(), "LoadJpg(): Unable to open file for reading.\n");
}

TEST(LoadJpg, TruncatedFileDecodesToTheEnd) {
  ScratchDir dir;
  const ByteString whole = Colour420(64, 64);
  const ByteString cut(whole.begin(), whole.begin() + long(whole.size() * 6 / 10));
  const std::vector<uint16_t> a = Load(dir, "whole.jpg", whole), b = Load(dir, "cut.jpg", cut);
  EXPECT_EQ(dir.Log(), "");
  ASSERT_EQ(a.size(), 2u + 64 * 64);
  ASSERT_EQ(b.size(), a.size());
  // The first MCU row lies wholly inside the kept part.
  EXPECT_TRUE(std::equal(a.begin(), a.begin() + 2 + 64 * 16, b.begin()));
  EXPECT_NE(a, b);
}

}  // namespace
