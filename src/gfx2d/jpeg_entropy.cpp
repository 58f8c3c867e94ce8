// The JPEG decoder's entropy decoding: bit input with byte stuffing, Huffman codes, one MCU
// row of dequantised coefficients, restart intervals.
#include <cstring>

#include "gfx2d/jpeg_decoder.h"

void JpegBuildHuffTable(JpegHuffTable* table) {
  memset(table->fast, 0, sizeof table->fast);
  int code = 0;   // the first code of the current length (canonical order)
  int index = 0;  // its symbol's place in values
  for (int length = 1; length <= 16; ++length) {
    int n = table->counts[length];
    // A corrupt table can ask for more codes than the length has room for; those codes
    // can never be read, so they are dropped rather than allowed to collide.
    int room = (1 << length) - code;
    int usable = n < room ? n : (room > 0 ? room : 0);
    table->valueOffset[length] = index - code;
    table->maxCode[length] = usable > 0 ? code + usable - 1 : -1;
    if (length <= kJpegFastBits) {
      int spread = kJpegFastBits - length;
      for (int i = 0; i < usable; ++i) {
        uint16_t entry = uint16_t((length << 8) | table->values[index + i]);
        int first = (code + i) << spread;
        for (int j = 0; j < (1 << spread); ++j) table->fast[first + j] = entry;
      }
    }
    index += n;
    code = (code + n) << 1;
  }
  table->maxCode[17] = -1;
  for (int bits = 0; bits < (1 << kJpegFastBits); ++bits) {
    const int entry = table->fast[bits];
    const int length = entry >> 8, size = entry & 15;
    table->fastAc[bits] = 0;
    if (entry == 0 || size == 0 || length + size > kJpegFastBits) continue;
    int value = (bits >> (kJpegFastBits - length - size)) & ((1 << size) - 1);
    if (value < (1 << (size - 1))) value -= (1 << size) - 1;
    table->fastAc[bits] = int32_t(uint32_t(value) << 16) | ((entry & 0xF0) << 4) | (length + size);
  }
}

void JpegResetBits(JpegDecoder* dec) {
  dec->bitBuf = 0;
  dec->bitCount = 0;
  dec->markerHit = 0;
}

namespace {

// The next byte of entropy-coded data with stuffing removed. A marker ends the segment:
// it is pushed back for the marker reader and zero bits are supplied from then on.
inline uint32_t EntropyByte(JpegDecoder* dec) {
  if (dec->markerHit) return 0;
  uint32_t b = JpegReadByte(dec);
  if (b != 0xFF) return b;
  uint8_t next = JpegReadByte(dec);
  if (next == 0) return 0xFF;
  JpegPushBack(dec, next);
  JpegPushBack(dec, 0xFF);
  dec->markerHit = 1;
  return 0;
}

// Leaves at least 25 valid bits in the buffer.
inline void FillBits(JpegDecoder* dec) {
  while (dec->bitCount <= 24) {
    dec->bitBuf |= EntropyByte(dec) << (24 - dec->bitCount);
    dec->bitCount += 8;
  }
}

inline void DropBits(JpegDecoder* dec, int n) {
  dec->bitBuf <<= n;
  dec->bitCount -= n;
}

[[gnu::always_inline]] inline int DecodeHuffman(JpegDecoder* dec, const JpegHuffTable* table) {
  if (dec->bitCount < 16) FillBits(dec);
  uint32_t entry = table->fast[dec->bitBuf >> (32 - kJpegFastBits)];
  if (entry) {
    DropBits(dec, int(entry >> 8));
    return int(entry & 255);
  }
  int32_t code16 = int32_t(dec->bitBuf >> 16);
  for (int length = kJpegFastBits + 1; length <= 16; ++length) {
    int32_t code = code16 >> (16 - length);
    if (code <= table->maxCode[length]) {
      DropBits(dec, length);
      return table->values[table->valueOffset[length] + code];
    }
  }
  JpegStop(dec, kJpegCorruptData);  // no code of the table matches
}

// Reads s (1..15) bits and extends them to the signed value they code.
inline int32_t ReceiveExtend(JpegDecoder* dec, int s) {
  if (dec->bitCount < s) FillBits(dec);
  int32_t v = int32_t(dec->bitBuf >> (32 - s));
  DropBits(dec, s);
  return v < (1 << (s - 1)) ? v - ((1 << s) - 1) : v;
}

// One block into `out` (zeroed, natural order, dequantised). Returns the zig-zag index of
// the last coefficient coded.
int DecodeBlock(JpegDecoder* dec, int16_t* out, const JpegHuffTable* dc, const JpegHuffTable* ac,
                const uint16_t* quant, int32_t* pred) {
  int s = DecodeHuffman(dec, dc);
  if (s > 15) JpegStop(dec, kJpegCorruptData);
  int32_t diff = s ? ReceiveExtend(dec, s) : 0;
  // The prediction lives in 16 bits like the coefficient; corrupt data wrap harmlessly.
  *pred = int16_t(uint16_t(uint32_t(*pred) + uint32_t(diff)));
  out[0] = int16_t(*pred * int32_t(quant[0]));
  int last = 0;
  for (int k = 1; k < 64; ++k) {
    // Most codes and their values are short: one look-up takes both.
    if (dec->bitCount < 16) FillBits(dec);
    const int32_t fast = ac->fastAc[dec->bitBuf >> (32 - kJpegFastBits)];
    if (fast) {
      DropBits(dec, fast & 255);
      k += (fast >> 8) & 15;
      if (k > 63) JpegStop(dec, kJpegCorruptData);
      out[kJpegZigzag[k]] = int16_t((fast >> 16) * int32_t(quant[k]));
      last = k;
      continue;
    }
    int symbol = DecodeHuffman(dec, ac);
    int run = symbol >> 4;
    s = symbol & 15;
    if (s) {
      k += run;
      if (k > 63) JpegStop(dec, kJpegCorruptData);
      // |value| < 2^15 and quant < 2^16: the product fits 32 bits; storing it in 16 bits
      // wraps only for corrupt files.
      out[kJpegZigzag[k]] = int16_t(ReceiveExtend(dec, s) * int32_t(quant[k]));
      last = k;
    } else if (run == 15) {
      if (k + 16 > 64) JpegStop(dec, kJpegCorruptData);
      k += 15;  // sixteen zeros
    } else {
      break;  // end of block
    }
  }
  return last;
}

// Between restart intervals: the marker must be the next RSTn in sequence.
void ProcessRestart(JpegDecoder* dec) {
  // Bits still buffered are the previous interval's padding.
  JpegResetBits(dec);
  int budget = 1536;
  int c;
  do {
    if (budget-- == 0) JpegStop(dec, kJpegBadRestart);
  } while (JpegReadByte(dec) != 0xFF);
  do {
    if (budget-- == 0) JpegStop(dec, kJpegBadRestart);
    c = JpegReadByte(dec);
  } while (c == 0xFF);
  if (c != 0xD0 + dec->nextRestart) JpegStop(dec, kJpegBadRestart);
  dec->nextRestart = (dec->nextRestart + 1) & 7;
  for (int32_t& p : dec->dcPred) p = 0;
  dec->restartsLeft = dec->restartInterval;
}

}  // namespace

void JpegDecodeMcuRow(JpegDecoder* dec) {
  const JpegHuffTable* dc[6];
  const JpegHuffTable* ac[6];
  const uint16_t* quant[6];
  int32_t* pred[6];
  for (int b = 0; b < dec->blocksPerMcu; ++b) {
    int c = dec->blockComponent[b];
    const JpegComponent& comp = dec->components[c];
    dc[b] = &dec->huff[comp.dcTable];
    ac[b] = &dec->huff[4 + comp.acTable];
    quant[b] = dec->quant[comp.quant];
    pred[b] = &dec->dcPred[c];
  }
  memset(dec->coefficients, 0, size_t(dec->blocksPerMcuRow) * 64 * sizeof(int16_t));
  int16_t* out = dec->coefficients;
  uint8_t* last = dec->blockLast;
  for (int m = 0; m < dec->mcusPerRow; ++m) {
    if (dec->restartInterval) {
      if (dec->restartsLeft == 0) ProcessRestart(dec);
      --dec->restartsLeft;
    }
    for (int b = 0; b < dec->blocksPerMcu; ++b, out += 64)
      *last++ = uint8_t(DecodeBlock(dec, out, dc[b], ac[b], quant[b], pred[b]));
  }
}
