// Test helpers for the JPEG decoder (see jpeg_test_support.h).
#include "jpeg_test_support.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

#include "gfx2d/jpeg_decoder.h"

Picture TestPicture(int width, int height, int channels, uint32_t seed) {
  Picture p;
  p.width = width;
  p.height = height;
  p.channels = channels;
  p.samples.resize(size_t(width) * height * channels);
  uint32_t state = seed * 2654435761u + 1;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      for (int c = 0; c < channels; ++c) {
        state = state * 1664525u + 1013904223u;
        int noise = int(state >> 27) - 16;
        double wave = 90 * std::sin(x * (0.11 + 0.07 * c) + y * (0.05 + 0.03 * c) + seed);
        int edge = ((x / 11 + y / 7 + c) & 1) ? 60 : -60;
        int v = 128 + int(wave) + edge * ((x + c * 5) % 23 < 12 ? 1 : 0) + noise;
        p.samples[(size_t(y) * width + x) * channels + c] = uint8_t(v < 0 ? 0 : v > 255 ? 255 : v);
      }
    }
  }
  return p;
}

ByteString EncodeJpeg(const Picture& picture, const EncodeOptions& options) {
  return EncodeJpegSamples(picture.samples.data(), picture.width, picture.height, picture.channels,
                           options);
}

Picture ReferenceDecode(const ByteString& jpeg) {
  jpeg_decompress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
  jpeg_read_header(&cinfo, TRUE);
  cinfo.dct_method = JDCT_ISLOW;
  cinfo.do_fancy_upsampling = FALSE;
  cinfo.out_color_space = cinfo.num_components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_start_decompress(&cinfo);
  Picture p;
  p.width = int(cinfo.output_width);
  p.height = int(cinfo.output_height);
  p.channels = cinfo.output_components;
  p.samples.resize(size_t(p.width) * p.height * p.channels);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = p.samples.data() + size_t(cinfo.output_scanline) * p.width * p.channels;
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return p;
}

OurDecode DecodeWithOurs(const ByteString& jpeg, bool portableOnly) {
  OurDecode result;
  FILE* file = fmemopen(const_cast<uint8_t*>(jpeg.data()), jpeg.size(), "rb");
  JpegInput input{file, 0, 0, 0};
  JpegDecoder* dec = JpegCreate();
  dec->portableOnly = portableOnly ? 1 : 0;
  JpegInit(dec, 0, &input);
  result.initError = JpegErrorCode(dec);
  if (result.initError == 0) {
    JpegBegin(dec);
    Picture& p = result.picture;
    p.width = JpegWidth(dec);
    p.height = JpegHeight(dec);
    p.channels = JpegBytesPerPixel(dec) == 4 ? 3 : 1;
    p.samples.resize(size_t(p.width) * p.height * p.channels);
    const uint8_t* line;
    uint32_t length;
    while ((result.lastStatus = JpegDecode(dec, &line, &length)) == 0) {
      if (result.lines >= p.height || length != uint32_t(p.width * JpegBytesPerPixel(dec))) {
        result.lastStatus = 99;  // more or longer lines than the frame has
        break;
      }
      uint8_t* out = p.samples.data() + size_t(result.lines) * p.width * p.channels;
      for (int x = 0; x < p.width; ++x)
        for (int c = 0; c < p.channels; ++c)
          out[x * p.channels + c] = line[x * JpegBytesPerPixel(dec) + c];
      ++result.lines;
    }
  }
  result.finalError = JpegErrorCode(dec);
  JpegDestroy(dec);
  if (file) fclose(file);
  return result;
}

long FindMarker(const ByteString& bytes, int code, size_t from) {
  for (size_t i = from; i + 1 < bytes.size(); ++i)
    if (bytes[i] == 0xFF && bytes[i + 1] == code) return long(i);
  return -1;
}

namespace {

void PutSegment(ByteString& b, int code, const ByteString& payload) {
  size_t length = payload.size() + 2;
  b.insert(b.end(), {0xFF, uint8_t(code), uint8_t(length >> 8), uint8_t(length)});
  b.insert(b.end(), payload.begin(), payload.end());
}

}  // namespace

ByteString CraftedJpeg::Build() const {
  ByteString b;
  b.reserve(1024 + extraSegments.size() + entropy.size());
  b.push_back(0xFF);
  b.push_back(0xD8);
  b.insert(b.end(), extraSegments.begin(), extraSegments.end());
  ByteString dqt = {0x00};
  dqt.insert(dqt.end(), 64, 1);
  PutSegment(b, 0xDB, dqt);
  ByteString sof = {uint8_t(precision), uint8_t(height >> 8), uint8_t(height), uint8_t(width >> 8),
                    uint8_t(width), uint8_t(comps.size())};
  for (const Comp& c : comps)
    sof.insert(sof.end(), {uint8_t(c.id), uint8_t(c.h * 16 + c.v), uint8_t(c.quant)});
  PutSegment(b, sofCode, sof);
  // One code ("0") per table: DC difference category 0, and the chosen AC symbol.
  ByteString dht = {0x00, 1};
  dht.insert(dht.end(), 15, 0);
  dht.push_back(0x00);
  dht.insert(dht.end(), {0x10, 1});
  dht.insert(dht.end(), 15, 0);
  dht.push_back(uint8_t(acSymbol));
  PutSegment(b, 0xC4, dht);
  ByteString sos = {uint8_t(scanIds.size())};
  for (int id : scanIds) sos.insert(sos.end(), {uint8_t(id), uint8_t(scanTables)});
  sos.insert(sos.end(), {0, 63, 0});
  PutSegment(b, 0xDA, sos);
  if (entropy.empty()) {
    // Two bits per block; 6 blocks per 16 x 16 pixels at most.
    size_t blocks = size_t((width + 15) / 16) * ((height + 15) / 16) * 6;
    b.insert(b.end(), blocks / 4 + 8, 0);
  } else {
    b.insert(b.end(), entropy.begin(), entropy.end());
  }
  b.insert(b.end(), {0xFF, 0xD9});
  return b;
}
