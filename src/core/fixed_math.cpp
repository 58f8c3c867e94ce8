// MathTables: table loading, integer square root, vectors, matrices, rotations, Atan2.
#include "core/fixed_math.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "core/files.h"
#include "core/log.h"
#include "core/random.h"
#include "platform/platform.h"

MathTables* Math = nullptr;

// Reads a 2048-entry 16-bit table; 0 ok, 1 cannot open, 2 short.
static int LoadTable16(const char* name, int16_t* out, bool bigEndian) {
  FILE* f = OpenDataFile(name, "rb");
  if (!f) return 1;
  uint8_t raw[4096];
  size_t got = fread(raw, 1, sizeof raw, f);
  fclose(f);
  if (got < sizeof raw) return 2;
  for (int i = 0; i < 2048; ++i)
    out[i] = int16_t(bigEndian ? ReadU16BE(raw + 2 * i) : ReadU16LE(raw + 2 * i));
  return 0;
}

bool MathTables::Create(uint32_t ownerValue) {
  owner = ownerValue;
  sine = static_cast<int16_t*>(AllocZeroed(4096));
  if (!sine) return false;
  int r = LoadTable16("155", sine, true);
  if (r == 1) return LogMessage("Error loading 155"), false;
  if (r == 2) return LogMessage("Error reading from 155"), false;
  arcsine = static_cast<int16_t*>(AllocZeroed(4096));
  if (!arcsine) return false;
  r = LoadTable16("asintable.dat", arcsine, false);
  if (r == 1) return LogMessage("Error loading asintable.dat"), false;
  if (r == 2) return LogMessage("Error reading from asintable.dat"), false;
  static const double kConst[14] = {
      2.414213562373095,  0.41421356237309503, 1.5707963267948966, 0.7853981633974483,
      16.15364129822302,  268.42548195503974,  1153.029351540485,  1780.406316433197,
      896.7859740366387,  58.95697050844462,   536.2653740312153,  1666.7838148816338,
      2079.33497444541,   896.7859740366387};
  for (int i = 0; i < 14; ++i) atanConst[i] = kConst[i];
  return true;
}

void MathTables::Destroy() {
  MemFree(sine);
  MemFree(arcsine);
  sine = nullptr;
  arcsine = nullptr;
}

int32_t MathTables::IntSqrt(int32_t n) {
  if (n <= 0) return 0;
  // A double holds every 32-bit value and its square root is correctly rounded, so the
  // truncation is the exact whole root; the remainder then rounds to the nearest.
  const int32_t root = int32_t(std::sqrt(double(n)));
  const int32_t remainder = n - root * root;
  return root < remainder ? root + 1 : root;
}

int32_t MathTables::Distance3(int32_t x1, int32_t y1, int32_t z1, int32_t x2, int32_t y2,
                              int32_t z2) {
  return IntSqrt(DistanceSquared3(x1, y1, z1, x2, y2, z2));
}

int32_t MathTables::DistanceV(const Vec3& a, const Vec3& b) {
  return Distance3(a.x, a.y, a.z, b.x, b.y, b.z);
}

float MathTables::SqrtF(float f) { return float(std::sqrt(double(f))); }

void MathTables::AddVector(Vec3* a, const Vec3& b) {
  a->x = WrapAdd(a->x, b.x);
  a->y = WrapAdd(a->y, b.y);
  a->z = WrapAdd(a->z, b.z);
}

void MathTables::SubVector(Vec3* a, const Vec3& b) {
  a->x = WrapSub(a->x, b.x);
  a->y = WrapSub(a->y, b.y);
  a->z = WrapSub(a->z, b.z);
}

void MathTables::Normalize(Vec3* v) {
  int64_t sq = int64_t(v->x) * v->x + int64_t(v->y) * v->y + int64_t(v->z) * v->z;
  if (sq > INT32_MAX) sq = INT32_MAX;
  int32_t len = IntSqrt(int32_t(sq));
  if (len == 0) {
    *v = {0, 255, 0};
    return;
  }
  v->x = int32_t((int64_t(v->x) * 256) / len);
  v->y = int32_t((int64_t(v->y) * 256) / len);
  v->z = int32_t((int64_t(v->z) * 256) / len);
}

void MathTables::Identity(Matrix3* m) {
  *m = {{255, 0, 0, 0, 255, 0, 0, 0, 255}};
}

// Replaces columns a and b of M: col a = c*a + s*b, col b = c*b - s*a (each >> 8).
static void RotateColumns(Matrix3* M, int a, int b, int32_t c, int32_t s) {
  for (int row = 0; row < 3; ++row) {
    int32_t* r = M->m + row * 3;
    int32_t va = r[a], vb = r[b];
    r[a] = WrapAdd(WrapMul(c, va), WrapMul(s, vb)) >> 8;
    r[b] = WrapSub(WrapMul(c, vb), WrapMul(s, va)) >> 8;
  }
}

void MathTables::RotateX(Matrix3* m, int32_t angle) const {
  RotateColumns(m, 1, 2, Cos(angle), Sin(angle));
}

void MathTables::RotateY(Matrix3* m, int32_t angle) const {
  // col0 = c col0 - s col2; col2 = s col0 + c col2: the same shape with s negated.
  RotateColumns(m, 0, 2, Cos(angle), -Sin(angle));
}

void MathTables::RotateZ(Matrix3* m, int32_t angle) const {
  RotateColumns(m, 0, 1, Cos(angle), Sin(angle));
}

void MathTables::TurnAboutY(Vec3* v, int32_t angle) const {
  Matrix3 m;
  Identity(&m);
  RotateY(&m, angle);
  Transform(v, m);
}

void MathTables::TurnAboutX(Vec3* v, int32_t angle) const {
  Matrix3 m;
  Identity(&m);
  RotateX(&m, angle);
  Transform(v, m);
}

void MathTables::AxisMatrix(int32_t ax, int32_t ay, int32_t az, Matrix3* out) {
  const float C = 0.930727f, K = 1.93073f, S = 0.365715f;
  float x = float(ax) / 256.0f, y = float(ay) / 256.0f, z = float(az) / 256.0f;
  float e[9] = {K * x * x - C,     K * x * y - S * z, K * x * z + S * y,
                K * x * y + S * z, K * y * y - C,     K * y * z - S * x,
                K * x * z - S * y, K * y * z + S * x, K * z * z - C};
  for (int i = 0; i < 9; ++i) out->m[i] = int32_t(e[i] * 256.0f);
}

double MathTables::AtanKernel(double t) const {
  const double* p = atanConst + 4;  // p4..p0
  const double* q = atanConst + 9;  // q4..q0
  double u = t * t;
  double num = (((p[0] * u + p[1]) * u + p[2]) * u + p[3]) * u + p[4];
  double den = ((((u + q[0]) * u + q[1]) * u + q[2]) * u + q[3]) * u + q[4];
  return t * num / den;
}

double MathTables::AtanReduced(double t) const {
  if (t < atanConst[1]) return AtanKernel(t);
  if (t > atanConst[0]) return atanConst[2] - AtanKernel(1.0 / t);
  return atanConst[3] + AtanKernel((t - 1.0) / (t + 1.0));
}

double MathTables::Atan2(double y, double x) const {
  const double pi = 3.141592653589793;
  if (y + x == y) return y >= 0 ? atanConst[2] : -atanConst[2];
  if (x < 0) {
    if (y >= 0) return pi - AtanReduced(-y / x);
    return AtanReduced(y / x) - pi;
  }
  if (y > 0) return AtanReduced(y / x);
  return -AtanReduced(-y / x);
}

int32_t MathTables::RandomBelow(int32_t n) {
  float product = float(HandheldRand()) * float(n);
  return int32_t(double(product) * 3.0517578125e-5);
}

float MathTables::HeadingFromMatrix(const Matrix3& M) const {
  const int32_t* m = M.m;
  int32_t hx = int32_t((int64_t(m[6]) * 10000) >> 8);
  int32_t hz = int32_t((int64_t(m[0]) * 10000) >> 8);
  int64_t sq = int64_t(hx) * hx + int64_t(hz) * hz;
  if (sq > INT32_MAX) sq = INT32_MAX;
  int32_t len = IntSqrt(int32_t(sq));
  int32_t s = len ? int32_t((int64_t(hx) * 256) / len) : 0;
  int32_t i = (s * 1022) >> 8;
  int32_t a = arcsine[(i + 1024) & 2047];
  if (m[0] < 0) a = 770 - a;
  if (a >= -386 && a < 0) a += 1546;
  return float(a) * 343.0f;
}

Vec3f* MathTables::FaceNormal(const Vec3f& p1, const Vec3f& p2, const Vec3f& p3) {
  Vec3f* n = static_cast<Vec3f*>(MemAlloc(sizeof(Vec3f)));
  if (n) *n = FaceNormalValue(p1, p2, p3);
  return n;
}

Vec3f MathTables::FaceNormalValue(const Vec3f& p1, const Vec3f& p2, const Vec3f& p3) {
  Vec3f a{p1.x - p2.x, p1.y - p2.y, p1.z - p2.z};
  Vec3f b{p1.x - p3.x, p1.y - p3.y, p1.z - p3.z};
  Vec3f normal;
  Vec3f* n = &normal;
  n->x = a.y * b.z - a.z * b.y;
  n->y = a.z * b.x - a.x * b.z;
  n->z = a.x * b.y - a.y * b.x;
  double length = std::sqrt(double(n->x) * n->x + double(n->y) * n->y + double(n->z) * n->z);
  // The length is truncated to an integer. A face too large for that (only a damaged model
  // has one) is divided by its true length, so its normal still has unit length; one whose
  // length is not finite is treated as degenerate.
  double scale = 0.0;
  if (std::isfinite(length)) {
    if (length >= 2147483648.0)
      scale = 1.0 / length;
    else if (int32_t len = int32_t(length); len != 0)
      scale = 1.0 / len;
  }
  if (scale != 0.0) {
    n->x = float(n->x * scale);
    n->y = float(n->y * scale);
    n->z = float(n->z * scale);
  } else {
    *n = {0.0f, 1.0f, 0.0f};
  }
  return normal;
}

int LoadReciprocalTable(uint16_t* table) {
  FILE* f = OpenDataFile("148", "rb");
  if (!f) return 1;
  static uint8_t raw[32768];
  size_t got = fread(raw, 1, sizeof raw, f);
  fclose(f);
  if (got < sizeof raw) return 2;
  for (int i = 0; i < 16384; ++i) table[i] = ReadU16BE(raw + 2 * i);
  table[1] = 65535;
  return 0;
}

char* IntToText(int32_t n, char* buffer) {
  sprintf(buffer, "%d", int(n));
  return buffer;
}

char* UIntToText(uint32_t n, char* buffer) {
  sprintf(buffer, "%u", unsigned(n));
  return buffer;
}

void Pause(uint32_t ms) {
  if (Platform* p = CurrentPlatform()) p->Sleep(ms);
}
