// JPEG encoding with libjpeg-turbo, for the bake's pictures and the decoder's tests and benchmark.
#pragma once

#include <cstdint>
#include <cstdio>  // jpeglib.h needs FILE and size_t first
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

struct JpegEncodeOptions {
  int quality = 75;
  int lumaH = 2, lumaV = 2;   // sampling of the first component; chrominance is 1 x 1
  int restartInterval = 0;    // in MCUs
  bool progressive = false;
  bool optimiseHuffman = false;
};

// Interleaved 8-bit samples, 3 a pixel (RGB) or 1 (grey), encoded with the accurate integer
// DCT and the standard tables scaled to the quality: the same bytes on every run.
inline std::vector<uint8_t> EncodeJpegSamples(const uint8_t* samples, int width, int height,
                                              int channels, const JpegEncodeOptions& options) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  unsigned char* out = nullptr;
  unsigned long outSize = 0;
  jpeg_mem_dest(&cinfo, &out, &outSize);
  cinfo.image_width = JDIMENSION(width);
  cinfo.image_height = JDIMENSION(height);
  cinfo.input_components = channels;
  cinfo.in_color_space = channels == 3 ? JCS_RGB : JCS_GRAYSCALE;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, options.quality, TRUE);
  cinfo.dct_method = JDCT_ISLOW;
  cinfo.optimize_coding = options.optimiseHuffman ? TRUE : FALSE;
  cinfo.restart_interval = unsigned(options.restartInterval);
  if (channels == 3) {
    cinfo.comp_info[0].h_samp_factor = options.lumaH;
    cinfo.comp_info[0].v_samp_factor = options.lumaV;
    cinfo.comp_info[1].h_samp_factor = cinfo.comp_info[1].v_samp_factor = 1;
    cinfo.comp_info[2].h_samp_factor = cinfo.comp_info[2].v_samp_factor = 1;
  }
  if (options.progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(samples + size_t(cinfo.next_scanline) * width * channels);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  std::vector<uint8_t> bytes(out, out + outSize);
  jpeg_destroy_compress(&cinfo);
  free(out);
  return bytes;
}
