// The math tables: sine "155", reciprocals "148" and the arc-sine table asintable.dat.
#include <cmath>

#include "bake.h"

bool BakeMathTables(const BakeContext& ctx) {
  const double pi = 3.14159265358979323846;
  Bytes sine;
  for (int i = 0; i < 2048; ++i) {
    long v = std::lround(std::sin(2.0 * pi * i / 2048.0) * 256.0);
    PutU16BE(sine, uint16_t(int16_t(v)));
  }
  Bytes recip;
  for (int n = 0; n < 16384; ++n) {
    // 65536/n; entry 0 is never read and entry 1 is forced to 65535 on load.
    uint32_t v = n == 0 ? 0 : 65536u / uint32_t(n);
    PutU16BE(recip, uint16_t(v > 65535 ? 65535 : v));
  }
  // Entry i: arc-sine of (i - 1024) / 1024 in heading units, a half turn = 770.
  Bytes asin;
  for (int i = 0; i < 2048; ++i) {
    double s = (i - 1024) / 1024.0;
    if (s > 1.0) s = 1.0;
    long v = std::lround(std::asin(s) * 770.0 / pi);
    PutU16LE(asin, uint16_t(int16_t(v)));
  }
  return WriteOut(ctx, "155", sine) && WriteOut(ctx, "148", recip) &&
         WriteOut(ctx, "asintable.dat", asin);
}
