// The JPEG decoder's integer inverse DCT: separable, Loeffler-Ligtenberg-Moschytz structure,
// constants scaled by 2^13, columns first with 2 extra bits of precision kept between passes.
// A portable version and, where SSE2 exists, the same arithmetic eight lanes at a time.
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "gfx2d/jpeg_decoder.h"

namespace {

constexpr int kConstBits = 13;
constexpr int kPass1Bits = 2;

constexpr uint32_t Fix(double x) { return uint32_t(int32_t(x * (1 << kConstBits) + 0.5)); }

constexpr uint32_t k0_298631336 = Fix(0.298631336);
constexpr uint32_t k0_390180644 = Fix(0.390180644);
constexpr uint32_t k0_541196100 = Fix(0.541196100);
constexpr uint32_t k0_765366865 = Fix(0.765366865);
constexpr uint32_t k0_899976223 = Fix(0.899976223);
constexpr uint32_t k1_175875602 = Fix(1.175875602);
constexpr uint32_t k1_501321110 = Fix(1.501321110);
constexpr uint32_t k1_847759065 = Fix(1.847759065);
constexpr uint32_t k1_961570560 = Fix(1.961570560);
constexpr uint32_t k2_053119869 = Fix(2.053119869);
constexpr uint32_t k2_562915447 = Fix(2.562915447);
constexpr uint32_t k3_072711026 = Fix(3.072711026);

// Sums are formed in unsigned 32-bit arithmetic: real pictures never come near the limits,
// and the coefficients of a corrupt file wrap instead of overflowing.
inline uint32_t U(int32_t v) { return uint32_t(v); }
inline int32_t Descale(uint32_t x, int n) { return int32_t(x + (1u << (n - 1))) >> n; }

inline uint8_t Clamp(int32_t v) { return uint8_t(v < 0 ? 0 : (v > 255 ? 255 : v)); }

// The 8-point inverse transform of in[0], in[s], ..., in[7s] into out[0..7] (before the
// final descale). T is int16_t in the first pass and int32_t in the second. With kLowHalf
// the inputs 4..7 are known to be zero and their terms drop out.
template <typename T, bool kLowHalf>
inline void Idct8(const T* in, int s, uint32_t out[8]) {
  auto at = [in, s](int i) -> uint32_t { return kLowHalf && i >= 4 ? 0u : U(in[i * s]); };
  // Even part: in[0], in[2s], in[4s], in[6s].
  uint32_t z2 = at(2);
  uint32_t z3 = at(6);
  uint32_t z1 = (z2 + z3) * k0_541196100;
  uint32_t tmp2 = z1 - z3 * k1_847759065;
  uint32_t tmp3 = z1 + z2 * k0_765366865;
  z2 = at(0);
  z3 = at(4);
  uint32_t tmp0 = (z2 + z3) << kConstBits;
  uint32_t tmp1 = (z2 - z3) << kConstBits;
  uint32_t tmp10 = tmp0 + tmp3;
  uint32_t tmp13 = tmp0 - tmp3;
  uint32_t tmp11 = tmp1 + tmp2;
  uint32_t tmp12 = tmp1 - tmp2;

  // Odd part: in[7s], in[5s], in[3s], in[s].
  uint32_t t0 = at(7);
  uint32_t t1 = at(5);
  uint32_t t2 = at(3);
  uint32_t t3 = at(1);
  z1 = t0 + t3;
  z2 = t1 + t2;
  z3 = t0 + t2;
  uint32_t z4 = t1 + t3;
  uint32_t z5 = (z3 + z4) * k1_175875602;
  t0 *= k0_298631336;
  t1 *= k2_053119869;
  t2 *= k3_072711026;
  t3 *= k1_501321110;
  z1 = 0u - z1 * k0_899976223;
  z2 = 0u - z2 * k2_562915447;
  z3 = z5 - z3 * k1_961570560;
  z4 = z5 - z4 * k0_390180644;
  t0 += z1 + z3;
  t1 += z2 + z4;
  t2 += z2 + z3;
  t3 += z1 + z4;

  out[0] = tmp10 + t3;
  out[7] = tmp10 - t3;
  out[1] = tmp11 + t2;
  out[6] = tmp11 - t2;
  out[2] = tmp12 + t1;
  out[5] = tmp12 - t1;
  out[3] = tmp13 + t0;
  out[4] = tmp13 - t0;
}

// The highest row and column holding a coefficient, for each zig-zag index of the last one.
struct Extent {
  uint8_t row[64], column[64];
  constexpr Extent() : row(), column() {
    uint8_t r = 0, c = 0;
    for (int k = 0; k < 64; ++k) {
      int n = kJpegZigzag[k];
      r = uint8_t(n / 8 > r ? n / 8 : r);
      c = uint8_t(n % 8 > c ? n % 8 : c);
      row[k] = r;
      column[k] = c;
    }
  }
};

}  // namespace

#if defined(__SSE2__)

namespace {

// Eight 32-bit lanes in two registers.
struct Lanes8 {
  __m128i lo, hi;
};
inline Lanes8 operator+(Lanes8 a, Lanes8 b) {
  return {_mm_add_epi32(a.lo, b.lo), _mm_add_epi32(a.hi, b.hi)};
}
inline Lanes8 operator-(Lanes8 a, Lanes8 b) {
  return {_mm_sub_epi32(a.lo, b.lo), _mm_sub_epi32(a.hi, b.hi)};
}

// Two 16-bit factors for _mm_madd_epi16 over interleaved (x, y) pairs.
inline __m128i Pair(int32_t a, int32_t b) {
  return _mm_set_epi16(int16_t(b), int16_t(a), int16_t(b), int16_t(a), int16_t(b), int16_t(a),
                       int16_t(b), int16_t(a));
}
// x * a + y * b in each of the eight lanes, exact in 32 bits.
inline Lanes8 MulAdd(__m128i x, __m128i y, __m128i ab) {
  return {_mm_madd_epi16(_mm_unpacklo_epi16(x, y), ab), _mm_madd_epi16(_mm_unpackhi_epi16(x, y), ab)};
}

constexpr int32_t K(uint32_t k) { return int32_t(k); }

// Idct8 with every product regrouped so that each output is a sum of 16-bit inputs times
// 16-bit factors: the sums agree with the portable ones modulo 2^32, which is all they
// are. in[i] holds input i of eight transforms (one per lane).
[[gnu::always_inline]] inline void Idct8Lanes(const __m128i in[8], Lanes8 out[8]) {
  static_assert(K(k1_501321110) - K(k0_899976223) + K(k1_175875602) - K(k0_390180644) < 32768);
  const Lanes8 tmp0 = MulAdd(in[0], in[4], Pair(1 << kConstBits, 1 << kConstBits));
  const Lanes8 tmp1 = MulAdd(in[0], in[4], Pair(1 << kConstBits, -(1 << kConstBits)));
  const Lanes8 tmp2 = MulAdd(in[2], in[6], Pair(K(k0_541196100), K(k0_541196100) - K(k1_847759065)));
  const Lanes8 tmp3 = MulAdd(in[2], in[6], Pair(K(k0_541196100) + K(k0_765366865), K(k0_541196100)));
  const Lanes8 tmp10 = tmp0 + tmp3, tmp13 = tmp0 - tmp3;
  const Lanes8 tmp11 = tmp1 + tmp2, tmp12 = tmp1 - tmp2;
  // The odd part: t0 = in[7], t1 = in[5], t2 = in[3], t3 = in[1].
  const int32_t z5 = K(k1_175875602);
  const int32_t z3 = z5 - K(k1_961570560);  // factor of t0 and t2 in the portable z3
  const int32_t z4 = z5 - K(k0_390180644);  // factor of t1 and t3 in the portable z4
  const Lanes8 o0 = MulAdd(in[7], in[5], Pair(K(k0_298631336) - K(k0_899976223) + z3, z5)) +
                    MulAdd(in[3], in[1], Pair(z3, z5 - K(k0_899976223)));
  const Lanes8 o1 = MulAdd(in[7], in[5], Pair(z5, K(k2_053119869) - K(k2_562915447) + z4)) +
                    MulAdd(in[3], in[1], Pair(z5 - K(k2_562915447), z4));
  const Lanes8 o2 = MulAdd(in[7], in[5], Pair(z3, z5 - K(k2_562915447))) +
                    MulAdd(in[3], in[1], Pair(K(k3_072711026) - K(k2_562915447) + z3, z5));
  const Lanes8 o3 = MulAdd(in[7], in[5], Pair(z5 - K(k0_899976223), z4)) +
                    MulAdd(in[3], in[1], Pair(z5, K(k1_501321110) - K(k0_899976223) + z4));
  out[0] = tmp10 + o3;
  out[7] = tmp10 - o3;
  out[1] = tmp11 + o2;
  out[6] = tmp11 - o2;
  out[2] = tmp12 + o1;
  out[5] = tmp12 - o1;
  out[3] = tmp13 + o0;
  out[4] = tmp13 - o0;
}

// (x + 2^(n-1)) >> n in each lane.
inline __m128i DescaleLanes(__m128i x, int n) {
  return _mm_srai_epi32(_mm_add_epi32(x, _mm_set1_epi32(1 << (n - 1))), n);
}

// Rows of eight 16-bit values become columns.
[[gnu::always_inline]] inline void Transpose8(__m128i m[8]) {
  const __m128i a0 = _mm_unpacklo_epi16(m[0], m[1]), a1 = _mm_unpackhi_epi16(m[0], m[1]);
  const __m128i a2 = _mm_unpacklo_epi16(m[2], m[3]), a3 = _mm_unpackhi_epi16(m[2], m[3]);
  const __m128i a4 = _mm_unpacklo_epi16(m[4], m[5]), a5 = _mm_unpackhi_epi16(m[4], m[5]);
  const __m128i a6 = _mm_unpacklo_epi16(m[6], m[7]), a7 = _mm_unpackhi_epi16(m[6], m[7]);
  const __m128i b0 = _mm_unpacklo_epi32(a0, a2), b1 = _mm_unpackhi_epi32(a0, a2);
  const __m128i b2 = _mm_unpacklo_epi32(a1, a3), b3 = _mm_unpackhi_epi32(a1, a3);
  const __m128i b4 = _mm_unpacklo_epi32(a4, a6), b5 = _mm_unpackhi_epi32(a4, a6);
  const __m128i b6 = _mm_unpacklo_epi32(a5, a7), b7 = _mm_unpackhi_epi32(a5, a7);
  m[0] = _mm_unpacklo_epi64(b0, b4);
  m[1] = _mm_unpackhi_epi64(b0, b4);
  m[2] = _mm_unpacklo_epi64(b1, b5);
  m[3] = _mm_unpackhi_epi64(b1, b5);
  m[4] = _mm_unpacklo_epi64(b2, b6);
  m[5] = _mm_unpackhi_epi64(b2, b6);
  m[6] = _mm_unpacklo_epi64(b3, b7);
  m[7] = _mm_unpackhi_epi64(b3, b7);
}

// Both passes eight lanes at a time. The second pass takes 16-bit inputs: false (and nothing
// written) when a first-pass value does not fit, which only extreme coefficients give.
bool IdctBlockSse2(const int16_t* in, uint8_t* out) {
  __m128i m[8];
  Lanes8 t[8];
  for (int r = 0; r < 8; ++r) m[r] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + r * 8));
  Idct8Lanes(m, t);  // lanes are columns
  __m128i outside = _mm_setzero_si128();
  for (int r = 0; r < 8; ++r) {
    const __m128i lo = DescaleLanes(t[r].lo, kConstBits - kPass1Bits);
    const __m128i hi = DescaleLanes(t[r].hi, kConstBits - kPass1Bits);
    // Any bit above the low 16 after adding 2^15 marks a value outside -32768..32767.
    const __m128i bias = _mm_set1_epi32(0x8000);
    outside = _mm_or_si128(outside, _mm_or_si128(_mm_srli_epi32(_mm_add_epi32(lo, bias), 16),
                                                 _mm_srli_epi32(_mm_add_epi32(hi, bias), 16)));
    m[r] = _mm_packs_epi32(lo, hi);
  }
  if (_mm_movemask_epi8(_mm_cmpeq_epi32(outside, _mm_setzero_si128())) != 0xFFFF) return false;
  Transpose8(m);  // m[i] now holds input i of each row's transform
  Idct8Lanes(m, t);  // lanes are rows
  const __m128i level = _mm_set1_epi32(128);
  for (int i = 0; i < 8; ++i) {
    const __m128i lo = _mm_add_epi32(DescaleLanes(t[i].lo, kConstBits + kPass1Bits + 3), level);
    const __m128i hi = _mm_add_epi32(DescaleLanes(t[i].hi, kConstBits + kPass1Bits + 3), level);
    m[i] = _mm_packs_epi32(lo, hi);  // small enough to be exact
  }
  Transpose8(m);
  for (int r = 0; r < 8; r += 2)  // the byte pack clamps to 0..255
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + r * 8), _mm_packus_epi16(m[r], m[r + 1]));
  return true;
}

}  // namespace

#endif

void JpegIdctBlock(const int16_t* in, int32_t last, uint8_t* out) {
#if defined(__SSE2__)
  if (last != 0 && IdctBlockSse2(in, out)) return;
#endif
  JpegIdctBlockPortable(in, last, out);
}

void JpegIdctBlockPortable(const int16_t* in, int32_t last, uint8_t* out) {
  if (last == 0) {
    // Only the DC term: the two passes reduce to one flat value.
    int32_t dc = int32_t(in[0]) << kPass1Bits;
    memset(out, Clamp(((dc + 16) >> 5) + 128), 64);
    return;
  }
  static constexpr Extent kExtent;
  const int columns = kExtent.column[last & 63] + 1;  // the others are all zero
  const bool lowRows = kExtent.row[last & 63] < 4;
  int32_t work[64];
  uint32_t t[8];
  const int pass1Shift = kConstBits - kPass1Bits;
  for (int c = columns; c < 8; ++c)
    for (int r = 0; r < 8; ++r) work[r * 8 + c] = 0;
  for (int c = 0; c < columns; ++c) {
    const int16_t* col = in + c;
    if ((col[8] | col[16] | col[24] | col[32] | col[40] | col[48] | col[56]) == 0) {
      // A column of only its first term is flat; common after quantisation.
      int32_t v = int32_t(col[0]) << kPass1Bits;
      for (int r = 0; r < 8; ++r) work[r * 8 + c] = v;
      continue;
    }
    if (lowRows) Idct8<int16_t, true>(col, 8, t);
    else Idct8<int16_t, false>(col, 8, t);
    for (int r = 0; r < 8; ++r) work[r * 8 + c] = Descale(t[r], pass1Shift);
  }
  const int pass2Shift = kConstBits + kPass1Bits + 3;
  for (int r = 0; r < 8; ++r) {
    const int32_t* row = work + r * 8;
    uint8_t* o = out + r * 8;
    if ((row[1] | row[2] | row[3] | row[4] | row[5] | row[6] | row[7]) == 0) {
      memset(o, Clamp(((row[0] + 16) >> 5) + 128), 8);
      continue;
    }
    if (columns <= 4) Idct8<int32_t, true>(row, 1, t);
    else Idct8<int32_t, false>(row, 1, t);
    for (int i = 0; i < 8; ++i) o[i] = Clamp(Descale(t[i], pass2Shift) + 128);
  }
}

void JpegIdctMcuRow(JpegDecoder* dec) {
  const int16_t* in = dec->coefficients;
  uint8_t* out = dec->samples;
  auto* idct = dec->portableOnly ? JpegIdctBlockPortable : JpegIdctBlock;
  for (int b = 0; b < dec->blocksPerMcuRow; ++b, in += 64, out += 64)
    idct(in, dec->blockLast[b], out);
}
