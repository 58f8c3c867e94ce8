// The game's data-file layouts written in memory: .tdo models, .spr pictures, RIFF waves.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/core.h"

// Little-endian writer of the data-file layouts.
struct Bytes {
  std::string data;
  Bytes& I32(int32_t v) {
    for (int i = 0; i < 4; ++i) data.push_back(char(uint32_t(v) >> (8 * i)));
    return *this;
  }
  Bytes& Raw(const std::string& s) {
    data += s;
    return *this;
  }
  // A zero-padded text field of n bytes.
  Bytes& Text(const std::string& s, size_t n) {
    std::string field(n, '\0');
    memcpy(field.data(), s.data(), std::min(s.size(), n));
    data += field;
    return *this;
  }
  Bytes& Zeros(size_t n) {
    data.append(n, '\0');
    return *this;
  }
};

// A .tdo in the file's own terms: z as stored, corners in file order.
struct TdoFile {
  struct Point {
    int32_t x, y, z, shade;
  };
  struct Corner {
    int32_t index, u, v;
  };
  struct Polygon {
    std::vector<Corner> corners;
    int32_t texture = 0, type = 0;
  };
  std::vector<Point> vertices;
  std::vector<Polygon> polygons;

  int32_t Vertex(int32_t x, int32_t y, int32_t z, int32_t shade = 4096) {
    vertices.push_back(Point{x, y, z, shade});
    return int32_t(vertices.size()) - 1;
  }
  void Poly(std::vector<int32_t> indices, int32_t texture = 0, int32_t type = 0) {
    Polygon p;
    for (size_t i = 0; i < indices.size(); ++i)
      p.corners.push_back(Corner{indices[i], int32_t(i) * 256, int32_t(i) * 512});
    p.texture = texture;
    p.type = type;
    polygons.push_back(p);
  }
  std::string Bytes() const {
    ::Bytes b;
    b.I32(int32_t(vertices.size()));
    for (const Point& v : vertices) b.I32(v.x).I32(v.y).I32(v.z).I32(v.shade);
    b.I32(int32_t(polygons.size()));
    for (const Polygon& p : polygons) {
      b.I32(int32_t(p.corners.size()));
      for (const Corner& c : p.corners) b.I32(c.index).I32(c.u).I32(c.v);
      b.I32(p.texture).I32(p.type);
    }
    return b.data;
  }
};

// A .spr file: big-endian size words, then the pixels exactly as given (file layout).
inline std::string SprFile(int w, int h, const std::vector<uint16_t>& filePixels) {
  std::string s;
  auto put = [&s](uint16_t v) {
    s.push_back(char(v >> 8));
    s.push_back(char(v & 0xFF));
  };
  put(uint16_t(w));
  put(uint16_t(h));
  for (uint16_t v : filePixels) put(v);
  return s;
}

// A .spr file whose pixels all hold one value (file layout).
inline std::string SprFill(int w, int h, uint16_t filePixel) {
  return SprFile(w, h, std::vector<uint16_t>(size_t(w) * h, filePixel));
}

// A RIFF wave: the 36-byte header, optional chunks placed before "data", then the samples.
inline std::string WavBytes(const std::vector<int16_t>& samples, uint32_t rate = 16000,
                            uint16_t bits = 16, const std::string& chunksBefore = "") {
  std::string b(36, '\0');
  auto* p = reinterpret_cast<uint8_t*>(b.data());
  memcpy(p, "RIFFxxxxWAVEfmt ", 16);
  WriteU32LE(p + 16, 16);
  WriteU16LE(p + 20, 1);
  WriteU16LE(p + 22, 1);
  WriteU32LE(p + 24, rate);
  WriteU32LE(p + 28, rate * 2);
  WriteU16LE(p + 32, 2);
  WriteU16LE(p + 34, bits);
  b += chunksBefore;
  std::string data(8 + samples.size() * 2, '\0');
  auto* d = reinterpret_cast<uint8_t*>(data.data());
  memcpy(d, "data", 4);
  WriteU32LE(d + 4, uint32_t(samples.size() * 2));
  for (size_t i = 0; i < samples.size(); ++i) WriteU16LE(d + 8 + 2 * i, uint16_t(samples[i]));
  return b + data;
}

// n silent samples.
