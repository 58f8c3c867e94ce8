// Drawing the paused picture: a dimmed frame, a dark band and the word PAUSED in big letters.
#include "platform/paused_frame.h"

#include "platform/platform.h"

namespace {

// Five by seven glyphs of the one word the platform layer writes, a row a byte (bit 4 left).
constexpr int kGlyphWidth = 5, kGlyphHeight = 7, kLetters = 6;
constexpr uint8_t kGlyphs[kLetters][kGlyphHeight] = {
    {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10},  // P
    {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11},  // A
    {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E},  // U
    {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E},  // S
    {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F},  // E
    {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E},  // D
};
// Each glyph pixel is a 4 x 4 block, with one glyph column of space between letters: big
// enough to read on the unscaled frame, and it stays sharp when the window scales it.
constexpr int kDot = 4;
constexpr int kAdvance = (kGlyphWidth + 1) * kDot;
constexpr int kTextWidth = kLetters * kAdvance - kDot;
constexpr int kTextHeight = kGlyphHeight * kDot;
constexpr int kBandMargin = 10;

constexpr uint16_t kInk = 0xFFFF;    // white letters
constexpr uint16_t kShadow = 0x0000; // a black shadow half a block down and right

// Each channel halved (or quartered) in place: the red and green low bits are masked off so
// nothing shifts into the next channel.
uint16_t Half(uint16_t p) { return uint16_t((p >> 1) & 0x7BEF); }
uint16_t Quarter(uint16_t p) { return uint16_t((p >> 2) & 0x39E7); }

void Block(uint16_t* out, int x, int y, uint16_t colour) {
  for (int dy = 0; dy < kDot; ++dy)
    for (int dx = 0; dx < kDot; ++dx) out[(y + dy) * kScreenWidth + x + dx] = colour;
}

void Letters(uint16_t* out, int left, int top, uint16_t colour) {
  for (int letter = 0; letter < kLetters; ++letter)
    for (int row = 0; row < kGlyphHeight; ++row)
      for (int col = 0; col < kGlyphWidth; ++col)
        if (kGlyphs[letter][row] & (0x10 >> col))
          Block(out, left + letter * kAdvance + col * kDot, top + row * kDot, colour);
}

// Where the sign goes: the letters' box, and the rows darkened further behind it.
struct SignPlace {
  int left, top;
  int bandTop, bandBottom;
};

SignPlace PlaceSign() {
  SignPlace p;
  p.left = (kScreenWidth - kTextWidth) / 2;
  p.top = (kScreenHeight - kTextHeight) / 2;
  p.bandTop = p.top - kBandMargin;
  p.bandBottom = p.top + kTextHeight + kBandMargin;
  return p;
}

}  // namespace

void DrawPausedFrame(const uint16_t* frame, uint16_t* out) {
  const SignPlace sign = PlaceSign();
  for (int y = 0; y < kScreenHeight; ++y) {
    const bool band = y >= sign.bandTop && y < sign.bandBottom;
    const uint16_t* src = frame + y * kScreenWidth;
    uint16_t* dst = out + y * kScreenWidth;
    for (int x = 0; x < kScreenWidth; ++x) dst[x] = band ? Quarter(src[x]) : Half(src[x]);
  }
  // The shadow stays inside the band, so the letters read on any picture.
  Letters(out, sign.left + kDot / 2, sign.top + kDot / 2, kShadow);
  Letters(out, sign.left, sign.top, kInk);
}
