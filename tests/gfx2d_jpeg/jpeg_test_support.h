// Test helpers for the JPEG decoder: pictures, libjpeg-turbo encoding and reference decoding,
// our decoder run over a byte string, and hand-built streams.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bake/jpeg_encode.h"

using ByteString = std::vector<uint8_t>;

// Interleaved 8-bit samples: 3 per pixel (RGB) or 1 (grey).
struct Picture {
  int width = 0;
  int height = 0;
  int channels = 0;
  std::vector<uint8_t> samples;
};

// Gradients, hard edges and noise, so that every coefficient band carries energy.
Picture TestPicture(int width, int height, int channels, uint32_t seed);

using EncodeOptions = JpegEncodeOptions;

// Encodes with libjpeg-turbo (accurate integer DCT), as the bake does.
ByteString EncodeJpeg(const Picture& picture, const EncodeOptions& options);
// libjpeg-turbo's accurate integer decode with chrominance replicated (no smoothing), as RGB
// or grey.
Picture ReferenceDecode(const ByteString& jpeg);

// Our decoder over the bytes: init, begin, decode until it stops.
struct OurDecode {
  int initError = 0;     // error code after init
  int finalError = 0;    // error code after decoding
  int lastStatus = 0;    // the last JpegDecode result
  int lines = 0;         // lines delivered
  Picture picture;       // colour lines reduced to RGB
};
// portableOnly: the decoder's plain C++ paths only, where it has vector ones.
OurDecode DecodeWithOurs(const ByteString& jpeg, bool portableOnly = false);

// Offset of the first 0xFF `code` marker at or after `from`, or -1.
long FindMarker(const ByteString& bytes, int code, size_t from = 0);

// A hand-built stream: a flat picture whose every block is "DC difference 0, end of block",
// with one-code Huffman tables. Fields can be changed before Build to make broken files.
struct CraftedJpeg {
  int width = 16, height = 16;
  int precision = 8;
  struct Comp { int id, h, v, quant; };
  std::vector<Comp> comps = {{1, 1, 1, 0}, {2, 1, 1, 0}, {3, 1, 1, 0}};
  std::vector<int> scanIds = {1, 2, 3};
  int scanTables = 0x00;        // DC << 4 | AC selector for every scan component
  int sofCode = 0xC0;
  int acSymbol = 0x00;          // the AC table's one symbol (0x00 = end of block)
  ByteString entropy;           // defaults to enough zero bytes for every block
  std::string extraSegments;    // raw bytes inserted after SOI
  ByteString Build() const;
};
