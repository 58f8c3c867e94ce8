// The JPEG decoder's frame set-up (begin) and scan-line delivery (decode): MCU geometry,
// the first scan, colour tables and YCbCr to RGB with chroma replication.
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "gfx2d/jpeg_decoder.h"

namespace {

constexpr int kSos = 0xDA;
constexpr int kEoi = 0xD9;

int32_t RoundUp(int32_t v, int32_t m) { return (v + m - 1) / m * m; }

void SetUpLayout(JpegDecoder* dec) {
  const JpegComponent* c = dec->components;
  if (dec->componentCount == 1) {
    if (c[0].h != 1 || c[0].v != 1) JpegStop(dec, kJpegBadSampling);
    dec->layout = kJpegGrey;
    dec->mcuWidth = dec->mcuHeight = 8;
    dec->blocksPerMcu = 1;
    dec->bytesPerPixel = 1;
    return;
  }
  if (dec->componentCount != 3) JpegStop(dec, kJpegBadComponentCount);
  if (c[1].h != 1 || c[1].v != 1 || c[2].h != 1 || c[2].v != 1) JpegStop(dec, kJpegBadSampling);
  int h = c[0].h;
  int v = c[0].v;
  if (h < 1 || h > 2 || v < 1 || v > 2) JpegStop(dec, kJpegBadSampling);
  static const int32_t kLayouts[2][2] = {{kJpegColour1x1, kJpegColour1x2},
                                         {kJpegColour2x1, kJpegColour2x2}};
  dec->layout = kLayouts[h - 1][v - 1];
  dec->mcuWidth = 8 * h;
  dec->mcuHeight = 8 * v;
  dec->blocksPerMcu = h * v + 2;
  dec->bytesPerPixel = 4;
}

void BuildColourTables(JpegDecoder* dec) {
  // JFIF YCbCr in 16-bit fixed point, per unit of (value - 128).
  for (int i = 0; i < 256; ++i) {
    int32_t x = i - 128;
    dec->crR[i] = (91882 * x + 32768) >> 16;
    dec->cbB[i] = (116130 * x + 32768) >> 16;
    dec->crG[i] = -46802 * x;
    dec->cbG[i] = -22554 * x + 32768;
  }
}

void SetUpFrame(JpegDecoder* dec) {
  SetUpLayout(dec);
  dec->mcusPerRow = (dec->width + dec->mcuWidth - 1) / dec->mcuWidth;
  dec->mcuRows = (dec->height + dec->mcuHeight - 1) / dec->mcuHeight;
  dec->blocksPerMcuRow = dec->mcusPerRow * dec->blocksPerMcu;
  if (dec->blocksPerMcuRow > kJpegMaxBlocksPerMcuRow) JpegStop(dec, kJpegInternalLimit);
  size_t blocks = size_t(dec->blocksPerMcuRow);
  dec->coefficients = static_cast<int16_t*>(JpegAlloc(dec, blocks * 64 * sizeof(int16_t)));
  dec->blockLast = static_cast<uint8_t*>(JpegAlloc(dec, blocks));
  dec->samples = static_cast<uint8_t*>(JpegAlloc(dec, blocks * 64));
  // Whole MCUs are converted, so the lines are as wide as the widest MCU row (16 pixels).
  size_t lineBytes = size_t(RoundUp(dec->width, 16)) * size_t(dec->bytesPerPixel);
  dec->lines[0] = static_cast<uint8_t*>(JpegAlloc(dec, lineBytes));
  dec->lines[1] = static_cast<uint8_t*>(JpegAlloc(dec, lineBytes));
  if (dec->layout != kJpegGrey) BuildColourTables(dec);
}

void SetUpScan(JpegDecoder* dec) {
  int c = JpegProcessMarkers(dec);
  if (c == kEoi) {
    dec->finished = 1;
    return;
  }
  if (c != kSos) JpegStop(dec, kJpegUnexpectedMarker);
  JpegReadScanHeader(dec);
  // Lines come out one MCU row at a time, so the first scan must hold every component
  // (one interleaved scan); files of several scans are not supported.
  if (dec->scanCount != dec->componentCount) JpegStop(dec, kJpegUnsupportedFrame);
  unsigned seen = 0;
  int block = 0;
  for (int i = 0; i < dec->scanCount; ++i) {
    int index = dec->scanOrder[i];
    if (seen & (1u << index)) JpegStop(dec, kJpegUnsupportedFrame);
    seen |= 1u << index;
    const JpegComponent& comp = dec->components[index];
    if (comp.quant > 3 || !dec->quantDefined[comp.quant]) JpegStop(dec, kJpegUndefinedQuant);
    if (comp.dcTable > 3 || comp.acTable > 3 || !dec->huffDefined[comp.dcTable] ||
        !dec->huffDefined[4 + comp.acTable])
      JpegStop(dec, kJpegUndefinedHuffman);
    // An MCU holds each component's blocks in scan order.
    int count = comp.h * comp.v;
    if (index == 0) dec->lumaBlock = block;
    if (index == 1) dec->cbBlock = block;
    if (index == 2) dec->crBlock = block;
    for (int b = 0; b < count; ++b) dec->blockComponent[block++] = uint8_t(index);
  }
  for (int i = 0; i < 8; ++i)
    if (dec->huffDefined[i]) JpegBuildHuffTable(&dec->huff[i]);
  for (int32_t& p : dec->dcPred) p = 0;
  dec->restartsLeft = dec->restartInterval;
  dec->nextRestart = 0;
  dec->rowsLeft = dec->height;
  dec->mcuLinesLeft = 0;
  JpegResetBits(dec);
}

// Clamps y + colour difference (-227 .. 482) to 0..255 with one look-up.
struct ClampTable {
  uint8_t v[768];
  constexpr ClampTable() : v() {
    for (int i = 0; i < 768; ++i) v[i] = uint8_t(i < 256 ? 0 : (i > 511 ? 255 : i - 256));
  }
};
constexpr ClampTable kClamp;

// Red, green, blue and the unused byte in one store.
inline void PutPixel(uint8_t* out, int32_t y, int32_t r, int32_t g, int32_t b) {
  const uint8_t* c = kClamp.v + 256 + y;
  uint32_t rgb = uint32_t(c[r]) | (uint32_t(c[g]) << 8) | (uint32_t(c[b]) << 16);
  memcpy(out, &rgb, 4);
}

// Walks line y of the MCU row (and line y + 1 when V is 2, y then even): for each luminance
// block of the line, its luminance samples, its 8 / H chrominance samples of each kind and
// where its 8 pixels go in lines[0] (and lines[1]).
template <int H, int V, typename Block>
void ForEachLineBlock(JpegDecoder* dec, int y, Block block) {
  const int mcuBytes = dec->blocksPerMcu * 64;
  const int lumaOffset = (dec->lumaBlock + (y >> 3) * H) * 64 + (y & 7) * 8;
  const int chromaRow = (y / V) * 8;
  const int cbOffset = dec->cbBlock * 64 + chromaRow;
  const int crOffset = dec->crBlock * 64 + chromaRow;
  const uint8_t* mcu = dec->samples;
  uint8_t* out0 = dec->lines[0];
  uint8_t* out1 = dec->lines[1];
  for (int m = 0; m < dec->mcusPerRow; ++m, mcu += mcuBytes, out0 += 32 * H, out1 += 32 * H) {
    for (int b = 0; b < H; ++b)
      block(mcu + lumaOffset + b * 64, mcu + cbOffset + b * (8 / H), mcu + crOffset + b * (8 / H),
            out0 + b * 32, out1 + b * 32);
  }
}

// Converts line y of the MCU row (and line y + 1 when V is 2) into lines[0] (and lines[1]);
// each chrominance sample covers H x V pixels.
template <int H, int V>
void ConvertColour(JpegDecoder* dec, int y) {
  const int32_t* crR = dec->crR;
  const int32_t* cbB = dec->cbB;
  const int32_t* crG = dec->crG;
  const int32_t* cbG = dec->cbG;
  ForEachLineBlock<H, V>(dec, y, [&](const uint8_t* luma, const uint8_t* cb, const uint8_t* cr,
                                     uint8_t* o0, uint8_t* o1) {
    for (int i = 0; i < 8 / H; ++i) {
      int32_t r = crR[cr[i]];
      int32_t g = (crG[cr[i]] + cbG[cb[i]]) >> 16;
      int32_t b = cbB[cb[i]];
      for (int dx = 0; dx < H; ++dx) {
        int px = i * H + dx;
        PutPixel(o0 + px * 4, luma[px], r, g, b);
        if (V == 2) PutPixel(o1 + px * 4, luma[px + 8], r, g, b);
      }
    }
  });
}

#if defined(__SSE2__)

// The colour tables' sums rewritten for 16-bit factors, exact to the last bit: with
// x = cr - 128 and w = cb - 128,
//   red   (91882 x + 32768) >> 16           = x + ((26346 x + 2 * 16384) >> 16)
//   blue  (116130 w + 32768) >> 16          = 2 w + ((-14942 w + 2 * 16384) >> 16)
//   green (-46802 x - 22554 w + 32768) >> 16 = -x + ((18734 x - 22554 w + 32768) >> 16)
// since the parts taken out are whole multiples of 65536.
struct ChromaLanes {
  __m128i r, g, b;  // eight 16-bit colour differences
};

inline __m128i Pair16(int a, int b) {
  return _mm_set_epi16(int16_t(b), int16_t(a), int16_t(b), int16_t(a), int16_t(b), int16_t(a),
                       int16_t(b), int16_t(a));
}

// x and w hold eight (cr - 128) and (cb - 128) values.
inline ChromaLanes ChromaOf(__m128i x, __m128i w) {
  const __m128i two = _mm_set1_epi16(2);
  auto high = [](__m128i a, __m128i b, __m128i factors) {  // (a, b) . factors >> 16, packed
    const __m128i lo = _mm_srai_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(a, b), factors), 16);
    const __m128i hi = _mm_srai_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(a, b), factors), 16);
    return _mm_packs_epi32(lo, hi);
  };
  ChromaLanes c;
  c.r = _mm_add_epi16(x, high(x, two, Pair16(26346, 16384)));
  c.b = _mm_add_epi16(_mm_add_epi16(w, w), high(w, two, Pair16(-14942, 16384)));
  const __m128i gx = _mm_madd_epi16(_mm_unpacklo_epi16(x, w), Pair16(18734, -22554));
  const __m128i gy = _mm_madd_epi16(_mm_unpackhi_epi16(x, w), Pair16(18734, -22554));
  const __m128i half = _mm_set1_epi32(32768);
  c.g = _mm_sub_epi16(_mm_packs_epi32(_mm_srai_epi32(_mm_add_epi32(gx, half), 16),
                                      _mm_srai_epi32(_mm_add_epi32(gy, half), 16)),
                      x);
  return c;
}

// Eight pixels of luminance plus their colour differences, clamped by the byte pack, as
// red, green, blue and a zero byte each.
inline void PutEight(uint8_t* out, const uint8_t* luma, const ChromaLanes& c) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i y = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(luma)), zero);
  const __m128i r = _mm_packus_epi16(_mm_add_epi16(y, c.r), zero);
  const __m128i g = _mm_packus_epi16(_mm_add_epi16(y, c.g), zero);
  const __m128i b = _mm_packus_epi16(_mm_add_epi16(y, c.b), zero);
  const __m128i rg = _mm_unpacklo_epi8(r, g);
  const __m128i b0 = _mm_unpacklo_epi8(b, zero);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi16(rg, b0));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16), _mm_unpackhi_epi16(rg, b0));
}

// n (4 or 8) chroma bytes as eight 16-bit values less 128; four are doubled to cover eight.
inline __m128i ChromaSamples(const uint8_t* p, int n) {
  __m128i v;
  if (n == 8) {
    v = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
  } else {
    int32_t four;
    memcpy(&four, p, 4);
    v = _mm_cvtsi32_si128(four);
  }
  v = _mm_sub_epi16(_mm_unpacklo_epi8(v, _mm_setzero_si128()), _mm_set1_epi16(128));
  return n == 8 ? v : _mm_unpacklo_epi16(v, v);
}

// As ConvertColour, eight pixels at a time; the same bytes.
template <int H, int V>
void ConvertColourSse2(JpegDecoder* dec, int y) {
  ForEachLineBlock<H, V>(dec, y, [](const uint8_t* luma, const uint8_t* cb, const uint8_t* cr,
                                    uint8_t* o0, uint8_t* o1) {
    const ChromaLanes c = ChromaOf(ChromaSamples(cr, 8 / H), ChromaSamples(cb, 8 / H));
    PutEight(o0, luma, c);
    if (V == 2) PutEight(o1, luma + 8, c);
  });
}

#endif

// One colour line (two when V is 2) by the fastest conversion the machine has.
template <int H, int V>
void ConvertColourFast(JpegDecoder* dec, int y) {
#if defined(__SSE2__)
  if (!dec->portableOnly) return ConvertColourSse2<H, V>(dec, y);
#endif
  ConvertColour<H, V>(dec, y);
}

void ConvertGrey(JpegDecoder* dec, int y) {
  const uint8_t* block = dec->samples + y * 8;
  uint8_t* out = dec->lines[0];
  for (int m = 0; m < dec->mcusPerRow; ++m, block += 64, out += 8) memcpy(out, block, 8);
}

}  // namespace

int JpegBegin(JpegDecoder* dec) {
  if (dec->errorCode) return -1;
  if (dec->begun) return 0;
  dec->begun = 1;
  try {
    SetUpFrame(dec);
    SetUpScan(dec);
  } catch (const JpegAbort&) {
  }
  return 0;
}

int JpegDecode(JpegDecoder* dec, const uint8_t** line, uint32_t* length) {
  if (dec->errorCode || !dec->begun) return -1;
  if (dec->finished || dec->rowsLeft == 0) return 1;
  try {
    if (dec->mcuLinesLeft == 0) {
      JpegDecodeMcuRow(dec);
      JpegIdctMcuRow(dec);
      dec->mcuLinesLeft = dec->rowsLeft < dec->mcuHeight ? dec->rowsLeft : dec->mcuHeight;
      dec->mcuLine = 0;
    }
    int y = dec->mcuLine;
    const uint8_t* out = dec->lines[0];
    switch (dec->layout) {
      case kJpegGrey:
        ConvertGrey(dec, y);
        break;
      case kJpegColour1x1:
        ConvertColourFast<1, 1>(dec, y);
        break;
      case kJpegColour2x1:
        ConvertColourFast<2, 1>(dec, y);
        break;
      case kJpegColour1x2:
        // Two lines share their chrominance: both are made at once, the second handed out
        // by the next call.
        if (y & 1) out = dec->lines[1];
        else ConvertColourFast<1, 2>(dec, y);
        break;
      default:
        if (y & 1) out = dec->lines[1];
        else ConvertColourFast<2, 2>(dec, y);
        break;
    }
    *line = out;
    *length = uint32_t(dec->width * dec->bytesPerPixel);
    ++dec->mcuLine;
    --dec->mcuLinesLeft;
    --dec->rowsLeft;
    return 0;
  } catch (const JpegAbort&) {
    return -1;
  }
}
