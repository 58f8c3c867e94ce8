// Fixed-point math: the sine and arc-sine tables, vectors, matrices, rotations, Atan2.
#pragma once

#include <cstdint>

// Angles: one full turn is 524288 units; fractions carry 8 bits (256 = 1.0).
constexpr int32_t kFullTurn = 524288;
constexpr int32_t kQuarterTurn = 131072;
// Radians to angle units, as the entity code converts Atan2 results.
constexpr double kRadiansToAngle = 83485.35031847133;
// Degrees in data files to angle units.
constexpr double kDegreesToAngle = 1456.3;

struct Vec3 {
  int32_t x, y, z;
};

// 3x3 row-major; entries carry 8 fraction bits.
struct Matrix3 {
  int32_t m[9];
};

struct Vec3f {
  float x, y, z;
};

// The one math object. Created once at start-up, reached through `Math`.
class MathTables {
 public:
  // Loads "155" and "asintable.dat". A missing or short file is logged and creation stops
  // there, leaving the later tables unloaded; returns false then.
  bool Create(uint32_t owner);
  void Destroy();

  uint32_t owner = 0;
  int16_t* sine = nullptr;     // 2048 entries, one turn
  int16_t* arcsine = nullptr;  // 2048 entries, heading units
  double atanConst[14] = {};

  int32_t Sin(int32_t angle) const { return sine[(angle >> 8) & 2047]; }
  int32_t Cos(int32_t angle) const { return sine[((angle >> 8) + 512) & 2047]; }

  static int32_t IntSqrt(int32_t n);
  // Rounded square root of the squared distance; a squared distance beyond 2^31 - 1 gives
  // the largest root instead of a wrapped value.
  static int32_t Distance3(int32_t x1, int32_t y1, int32_t z1, int32_t x2, int32_t y2, int32_t z2);
  // The squared distance Distance3 takes the root of (each axis capped at 65536, the sum at
  // 2^31 - 1). The root only grows with it, so the largest of several distances is the
  // root of the largest square: one root instead of one per point.
  static int32_t DistanceSquared3(int32_t x1, int32_t y1, int32_t z1, int32_t x2, int32_t y2,
                                  int32_t z2) {
    // Beyond 65536 in any axis the sum is past the root's range anyway.
    auto axis = [](int32_t a, int32_t b) {
      int64_t d = int64_t(a) - b;
      if (d < 0) d = -d;
      return d > 65536 ? int64_t(65536) : d;
    };
    int64_t dx = axis(x1, x2), dy = axis(y1, y2), dz = axis(z1, z2);
    int64_t sum = dx * dx + dy * dy + dz * dz;
    // Far distances saturate at the largest root rather than wrapping to a small one.
    return sum > INT32_MAX ? INT32_MAX : int32_t(sum);
  }
  static int32_t DistanceV(const Vec3& a, const Vec3& b);
  static int32_t Abs(int32_t n) { return n < 0 ? int32_t(0u - uint32_t(n)) : n; }
  static float SqrtF(float f);
  static void SetVector(Vec3* v, int32_t x, int32_t y, int32_t z) { *v = {x, y, z}; }
  static void SetForward(Vec3* v) { *v = {0, 0, 255}; }
  static void ZeroVector(Vec3* v) { *v = {0, 0, 0}; }
  static void AddVector(Vec3* a, const Vec3& b);
  static void SubVector(Vec3* a, const Vec3& b);
  static void Transform(Vec3* v, const Matrix3& m);
  static void Normalize(Vec3* v);
  static void Identity(Matrix3* m);
  void RotateX(Matrix3* m, int32_t angle) const;
  void RotateY(Matrix3* m, int32_t angle) const;
  void RotateZ(Matrix3* m, int32_t angle) const;
  void TurnAboutY(Vec3* v, int32_t angle) const;
  void TurnAboutX(Vec3* v, int32_t angle) const;
  static void AxisMatrix(int32_t ax, int32_t ay, int32_t az, Matrix3* out);
  double Atan2(double y, double x) const;
  static int32_t RandomBelow(int32_t n);
  float HeadingFromMatrix(const Matrix3& m) const;
  // Newly allocated (MemAlloc) unit-ish normal of the triangle; the caller frees it.
  static Vec3f* FaceNormal(const Vec3f& p1, const Vec3f& p2, const Vec3f& p3);
  // The same normal by value, for loaders that make thousands of them.
  static Vec3f FaceNormalValue(const Vec3f& p1, const Vec3f& p2, const Vec3f& p3);

 private:
  double AtanKernel(double t) const;
  double AtanReduced(double t) const;
};

extern MathTables* Math;

// Loads the reciprocal table "148" (16384 big-endian entries) into `table`, entry 1 forced
// to 65535. Returns 0 on success, 1 when the file cannot be opened, 2 when it is short.
// Logging is the caller's.
int LoadReciprocalTable(uint16_t* table);

// Decimal text of n into buffer; returns buffer.
char* IntToText(int32_t n, char* buffer);
char* UIntToText(uint32_t n, char* buffer);

// Suspends the calling thread (headless: advances the virtual clock).
void Pause(uint32_t ms);

// Wrapping 32-bit arithmetic where the handheld's wrapped result is the documented one.
inline int32_t WrapAdd(int32_t a, int32_t b) { return int32_t(uint32_t(a) + uint32_t(b)); }
inline int32_t WrapSub(int32_t a, int32_t b) { return int32_t(uint32_t(a) - uint32_t(b)); }
inline int32_t WrapMul(int32_t a, int32_t b) { return int32_t(uint32_t(a) * uint32_t(b)); }

// Inline: the renderer runs every vertex of a frame through it, and the result stays in
// registers instead of going through memory.
inline void MathTables::Transform(Vec3* v, const Matrix3& M) {
  // One row of the matrix times the vector, summed in 32 bits as on the handheld.
  auto dot = [](int32_t a, int32_t b, int32_t c, int32_t x, int32_t y, int32_t z) {
    return WrapAdd(WrapAdd(WrapMul(a, x), WrapMul(b, y)), WrapMul(c, z));
  };
  const int32_t* m = M.m;
  const int32_t x = v->x, y = v->y, z = v->z;
  v->x = dot(m[0], m[1], m[2], x, y, z) >> 8;
  v->y = dot(m[3], m[4], m[5], x, y, z) >> 8;
  v->z = dot(m[6], m[7], m[8], x, y, z) >> 8;
}
