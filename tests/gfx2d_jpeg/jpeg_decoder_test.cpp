// The decoder's refusals: every malformed header, table and entropy-coded segment ends with
// its own error code, at init or in decode, and never takes the process down.
#include <functional>
#include <random>

#include <gtest/gtest.h>

#include "gfx2d/jpeg_decoder.h"
#include "jpeg_test_support.h"

namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(char(v));
  return s;
}

// A DHT segment holding one table: index byte, code counts, then `values` symbols.
std::string DhtSegment(int length, int index, std::initializer_list<int> counts, int values) {
  std::string s = Bytes({0xFF, 0xC4, length >> 8, length & 255, index});
  std::string c(16, '\0');
  int i = 0;
  for (int n : counts) c[size_t(i++)] = char(n);
  return s + c + std::string(size_t(values), '\0');
}

TEST(JpegDecoder, HandBuiltStreamDecodesToFlatGrey) {
  // An extra table in the last slot of each class is taken and changes nothing.
  CraftedJpeg jpeg;
  jpeg.extraSegments = DhtSegment(20, 0x03, {1}, 1) + DhtSegment(20, 0x13, {1}, 1);
  OurDecode d = DecodeWithOurs(jpeg.Build());
  ASSERT_EQ(d.finalError, 0);
  EXPECT_EQ(d.lastStatus, 1);
  EXPECT_EQ(d.lines, 16);
  for (uint8_t v : d.picture.samples) ASSERT_EQ(v, 128);
}

// Header and table errors end init; set-up and entropy errors surface in decode.
TEST(JpegDecoder, MalformedStreamsGiveTheirCodes) {
  using Change = std::function<void(CraftedJpeg&)>;
  auto extra = [](std::string bytes) -> Change {
    return [bytes](CraftedJpeg& j) { j.extraSegments = bytes; };
  };
  struct Case {
    const char* what;
    Change change;
    int error;
    bool atInit;
  };
  const Case cases[] = {
      {"12-bit samples", [](CraftedJpeg& j) { j.precision = 12; }, -205, true},
      {"height 0", [](CraftedJpeg& j) { j.height = 0; }, -206, true},
      {"width 8193", [](CraftedJpeg& j) { j.width = 8193; }, -207, true},
      {"five components", [](CraftedJpeg& j) { j.comps.assign(5, {1, 1, 1, 0}); }, -208, true},
      {"arithmetic frame", [](CraftedJpeg& j) { j.sofCode = 0xC9; }, -215, true},
      {"lossless frame", [](CraftedJpeg& j) { j.sofCode = 0xC3; }, -218, true},
      {"progressive frame", [](CraftedJpeg& j) { j.sofCode = 0xC2; }, -218, true},
      {"DAC", extra(Bytes({0xFF, 0xCC, 0, 4, 0, 0})), -215, true},
      {"RST before the frame", extra(Bytes({0xFF, 0xD0})), -216, true},
      {"bad DRI length", extra(Bytes({0xFF, 0xDD, 0, 5, 0, 1, 0})), -211, true},
      {"skipped segment length 1", extra(Bytes({0xFF, 0xE1, 0, 1})), -210, true},
      {"DHT length 1", extra(Bytes({0xFF, 0xC4, 0, 1})), -202, true},
      {"DHT shorter than its counts", extra(DhtSegment(19, 0x00, {5}, 0)), -202, true},
      {"DHT counts above 255", extra(DhtSegment(19 + 256, 0x00, {0, 255, 1}, 256)), -200, true},
      {"DHT class 2", extra(DhtSegment(20, 0x20, {1}, 1)), -201, true},
      {"DHT DC id 4", extra(DhtSegment(20, 0x04, {1}, 1)), -201, true},
      {"DHT AC id 4", extra(DhtSegment(20, 0x14, {1}, 1)), -201, true},
      {"DQT length 1", extra(Bytes({0xFF, 0xDB, 0, 1})), -203, true},
      {"DQT id 4", extra(Bytes({0xFF, 0xDB, 0, 67, 4}) + std::string(64, 1)), -204, true},
      {"8-bit DQT cut short", extra(Bytes({0xFF, 0xDB, 0, 34, 0}) + std::string(31, 1)), -219,
       true},
      {"16-bit DQT cut short", extra(Bytes({0xFF, 0xDB, 0, 67, 0x10}) + std::string(64, 1)), -219,
       true},
      {"two components", [](CraftedJpeg& j) { j.comps.pop_back(); j.scanIds.pop_back(); }, -225,
       false},
      {"4:1:1", [](CraftedJpeg& j) { j.comps[0].h = 4; }, -226, false},
      {"subsampled chroma component", [](CraftedJpeg& j) { j.comps[1].h = 2; }, -226, false},
      {"grey 2x2", [](CraftedJpeg& j) { j.comps = {{1, 2, 2, 0}}; j.scanIds = {1}; }, -226, false},
      {"scan names component 9", [](CraftedJpeg& j) { j.scanIds[2] = 9; }, -213, false},
      {"scan of one of three components", [](CraftedJpeg& j) { j.scanIds = {1}; }, -218, false},
      {"scan repeats a component", [](CraftedJpeg& j) { j.scanIds = {1, 1, 2}; }, -218, false},
      {"undefined quantisation table", [](CraftedJpeg& j) { j.comps[2].quant = 2; }, -222, false},
      {"undefined Huffman table", [](CraftedJpeg& j) { j.scanTables = 0x11; }, -223, false},
      {"AC index past 63", [](CraftedJpeg& j) { j.acSymbol = 0xF1; }, -227, false},
      {"bits matching no code", [](CraftedJpeg& j) { j.entropy = {0xFF, 0, 0xFF, 0, 0xFF, 0}; },
       -227, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CraftedJpeg jpeg;
    c.change(jpeg);
    OurDecode d = DecodeWithOurs(jpeg.Build());
    EXPECT_EQ(d.initError, c.atInit ? c.error : 0);
    EXPECT_EQ(d.finalError, c.error);
    if (!c.atInit) {
      EXPECT_EQ(d.lastStatus, -1);
      EXPECT_EQ(d.lines, 0);
    }
  }
}

TEST(JpegDecoder, MarkersAfterTheFrame) {
  ByteString good = CraftedJpeg().Build();
  long sos = FindMarker(good, 0xDA);
  ASSERT_GT(sos, 0);
  // A second frame header where the scan should be.
  ByteString twoFrames = good;
  twoFrames[size_t(sos) + 1] = 0xC0;
  EXPECT_EQ(DecodeWithOurs(twoFrames).finalError, -216);
  // EOI instead of a scan: nothing to deliver, and no error.
  ByteString noScan(good.begin(), good.begin() + sos);
  noScan.insert(noScan.end(), {0xFF, 0xD9});
  OurDecode d = DecodeWithOurs(noScan);
  EXPECT_EQ(d.finalError, 0);
  EXPECT_EQ(d.lastStatus, 1);
  EXPECT_EQ(d.lines, 0);
}

TEST(JpegDecoder, RestartMarkersMustCountUp) {
  EncodeOptions options;
  options.restartInterval = 1;
  ByteString jpeg = EncodeJpeg(TestPicture(64, 16, 3, 5), options);
  EXPECT_EQ(DecodeWithOurs(jpeg).finalError, 0);
  long second = FindMarker(jpeg, 0xD1);
  ASSERT_GT(second, 0);
  jpeg[size_t(second) + 1] = 0xD2;  // RST2 where RST1 belongs
  OurDecode d = DecodeWithOurs(jpeg);
  EXPECT_EQ(d.finalError, -228);
  EXPECT_EQ(d.lines, 0);  // it breaks in the first MCU row
}

// No file at all, and a stream that cannot be read from.
TEST(JpegDecoder, ReadErrorsAreReported) {
  FILE* writeOnly = fopen("/dev/null", "w");
  ASSERT_NE(writeOnly, nullptr);
  for (FILE* file : {static_cast<FILE*>(nullptr), writeOnly}) {
    JpegInput input{file, 0, 0, 0};
    JpegDecoder* dec = JpegCreate();
    JpegInit(dec, 0, &input);
    EXPECT_EQ(JpegErrorCode(dec), -232);
    if (file) { EXPECT_EQ(input.error, 1); }
    JpegDestroy(dec);
  }
  fclose(writeOnly);
}

TEST(JpegDecoder, TheHundredAndFirstBlockIsRefusedAndEverythingFreed) {
  JpegDecoder* dec = JpegCreate();
  for (int i = 0; i < kJpegMaxAllocations; ++i) {
    auto* p = static_cast<uint64_t*>(JpegAlloc(dec, 24));
    ASSERT_EQ(reinterpret_cast<uintptr_t>(p) % 8, 0u);
    EXPECT_EQ(p[0] | p[1] | p[2], 0u);
  }
  EXPECT_THROW(JpegAlloc(dec, 24), JpegAbort);
  EXPECT_EQ(JpegErrorCode(dec), -221);
  EXPECT_EQ(dec->blockCount, 0);
  // Once an error is recorded the operations refuse to go on.
  EXPECT_EQ(JpegBegin(dec), -1);
  const uint8_t* line;
  uint32_t length;
  EXPECT_EQ(JpegDecode(dec, &line, &length), -1);
  JpegDestroy(dec);
}

// The transform the decoder runs (eight lanes at a time where the machine allows) gives the
// portable one's samples exactly: on blocks as pictures make them, with only their first
// coefficients set, and on extreme ones, whose first pass leaves 16 bits.
TEST(JpegDecoder, FastInverseTransformMatchesThePortableOne) {
  std::mt19937 random(5);
  for (int round = 0; round < 6000; ++round) {
    SCOPED_TRACE(round);
    const int last = 1 + round % 63;
    const int range = round < 2000 ? 64 : (round < 4000 ? 1024 : 32768);
    std::uniform_int_distribution<int> value(-range, range - 1);
    int16_t in[64] = {};
    for (int k = 0; k <= last; ++k)
      if (round % 3 != 0 || k % 5 == 0) in[kJpegZigzag[k]] = int16_t(value(random));
    uint8_t fast[64], portable[64];
    JpegIdctBlock(in, last, fast);
    JpegIdctBlockPortable(in, last, portable);
    ASSERT_EQ(0, memcmp(fast, portable, 64));
  }
}

}  // namespace
