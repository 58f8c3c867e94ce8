// Helpers of the 2D tests: sprite and font files built in memory, a fresh Graphics2D.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "core/core.h"
#include "gfx2d/gfx2d.h"
#include "support/data_files.h"
#include "support/test_support.h"

// The file value that loads as the given in-memory 5-6-5 colour (red and blue exchanged).
inline uint16_t FileValueOf(uint16_t colour) {
  return uint16_t(((colour & 31) << 11) | (colour & 0x07C0) | (colour >> 11));
}

// One glyph record of a .fnt file.
struct GlyphRecord {
  uint8_t code;
  int32_t advance, rows, offset;
  std::vector<uint8_t> pixels;  // empty: a record with size 0
  int32_t sizeOverride = -1;    // written as the size field when >= 0
};

inline std::string FntFile(const std::vector<GlyphRecord>& records, int32_t countOverride = -1) {
  Bytes b;
  b.I32(countOverride >= 0 ? countOverride : int32_t(records.size()));
  for (const GlyphRecord& r : records)
    b.Raw(std::string(1, char(r.code)))
        .I32(r.sizeOverride >= 0 ? r.sizeOverride : int32_t(r.pixels.size()))
        .I32(r.advance).I32(r.rows).I32(r.offset)
        .Raw(std::string(r.pixels.begin(), r.pixels.end()));
  return b.data;
}

// A solid glyph: advance x rows bytes of one value.
inline GlyphRecord SolidGlyph(uint8_t code, int advance, int rows, uint8_t value, int offset = 0) {
  return GlyphRecord{code, advance, rows, offset, std::vector<uint8_t>(size_t(advance) * rows, value)};
}

// Each probe: x, y and the pixel expected there in a 240-pixel-wide frame.
inline void ExpectPixels(const uint16_t* frame, std::initializer_list<std::array<int, 3>> probes) {
  for (const auto& p : probes) EXPECT_EQ(frame[p[1] * 240 + p[0]], p[2]) << "at " << p[0] << "," << p[1];
}

// A Graphics2D drawing into the frame buffer, installed as Gfx2D for the test's lifetime.
class Gfx2DFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    g = std::make_unique<Graphics2D>();
    g->Create(0, 240, 320, FrameBuffer);
    Gfx2D = g.get();
    ClearFrame();
  }
  void TearDown() override { Gfx2D = nullptr; }
  uint16_t& Px(int x, int y) { return FrameBuffer[y * 240 + x]; }
  void ExpectPx(std::initializer_list<std::array<int, 3>> probes) { ExpectPixels(FrameBuffer, probes); }
  void Fill(uint16_t colour) { std::fill(FrameBuffer, FrameBuffer + 240 * 320, colour); }
  int32_t Load(const std::string& name, const std::string& bytes) {
    dir.Write(name, bytes);
    return g->LoadSprite(name.c_str());
  }

  ScratchDir dir;
  std::unique_ptr<Graphics2D> g;
};
