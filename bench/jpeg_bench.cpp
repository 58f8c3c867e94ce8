// JPEG decoding speed: our decoder, LoadJpg's whole path into a sprite, libjpeg-turbo and
// stb_image on the same 640 x 480 pictures (4:2:0 and 4:4:4), in megapixels per second.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <jpeglib.h>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_JPEG
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

#include "bake/jpeg_encode.h"
#include "core/core.h"
#include "gfx2d/jpeg.h"
#include "gfx2d/jpeg_decoder.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

// A photograph-like scene: smooth sky, hills, some texture and a few hard edges.
std::vector<uint8_t> Scene() {
  std::vector<uint8_t> rgb(size_t(kWidth) * kHeight * 3);
  uint32_t state = 12345;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      state = state * 1664525u + 1013904223u;
      int grain = int(state >> 28) - 8;
      double hill = 300 + 40 * std::sin(x * 0.02) + 25 * std::sin(x * 0.071 + 1);
      int r, g, b;
      if (y < hill) {
        r = 40 + y / 4;
        g = 60 + y / 3;
        b = 160 + y / 6;
      } else {
        double t = std::sin(x * 0.3) * std::sin(y * 0.27);
        r = 70 + int(30 * t) + grain * 2;
        g = 110 + int(40 * t) + grain * 2;
        b = 50 + int(20 * t) + grain;
      }
      if (std::abs(x - 420) < 30 && y > 200 && y < 330) r = g = b = 25;  // a tower
      uint8_t* p = &rgb[(size_t(y) * kWidth + x) * 3];
      p[0] = uint8_t(std::clamp(r, 0, 255));
      p[1] = uint8_t(std::clamp(g, 0, 255));
      p[2] = uint8_t(std::clamp(b, 0, 255));
    }
  }
  return rgb;
}

std::vector<uint8_t> Encode(int lumaH, int lumaV) {
  static const std::vector<uint8_t> scene = Scene();
  JpegEncodeOptions options;
  options.quality = 85;
  options.lumaH = lumaH;
  options.lumaV = lumaV;
  return EncodeJpegSamples(scene.data(), kWidth, kHeight, 3, options);
}

const std::vector<uint8_t>& Picture(int layout) {
  static const std::vector<uint8_t> p420 = Encode(2, 2);
  static const std::vector<uint8_t> p444 = Encode(1, 1);
  return layout == 420 ? p420 : p444;
}

void SetRate(benchmark::State& state) {
  state.counters["MP/s"] = benchmark::Counter(kWidth * kHeight / 1e6,
                                              benchmark::Counter::kIsIterationInvariantRate);
}

void BM_Ours(benchmark::State& state) {
  std::vector<uint8_t> jpeg = Picture(int(state.range(0)));
  for (auto _ : state) {
    FILE* file = fmemopen(jpeg.data(), jpeg.size(), "rb");
    JpegInput input{file, 0, 0, 0};
    JpegDecoder* dec = JpegCreate();
    JpegInit(dec, 0, &input);
    JpegBegin(dec);
    const uint8_t* line;
    uint32_t length;
    while (JpegDecode(dec, &line, &length) == 0) benchmark::DoNotOptimize(line[0]);
    if (JpegErrorCode(dec)) state.SkipWithError("decoder failed");
    JpegDestroy(dec);
    fclose(file);
  }
  SetRate(state);
}

// The game's real path: a data file into an RGB 5-6-5 sprite block.
void BM_LoadJpg(benchmark::State& state) {
  std::vector<uint8_t> jpeg = Picture(int(state.range(0)));
  char dir[] = "/tmp/kvrjpegbenchXXXXXX";
  if (!mkdtemp(dir)) return state.SkipWithError("no scratch directory");
  SetExeDir((std::string(dir) + "/").c_str());
  FILE* f = fopen((std::string(dir) + "/bench.jpg").c_str(), "wb");
  fwrite(jpeg.data(), 1, jpeg.size(), f);
  fclose(f);
  for (auto _ : state) {
    uint16_t* block = nullptr;
    if (!LoadJpg(nullptr, "bench.jpg", &block)) state.SkipWithError("LoadJpg failed");
    benchmark::DoNotOptimize(block);
    MemFree(block);
  }
  remove((std::string(dir) + "/bench.jpg").c_str());
  remove(dir);
  SetRate(state);
}

// libjpeg-turbo as most programs use it: accurate integer DCT, smooth chroma upsampling.
void BM_LibjpegTurbo(benchmark::State& state) {
  std::vector<uint8_t> jpeg = Picture(int(state.range(0)));
  std::vector<uint8_t> row(kWidth * 3);
  for (auto _ : state) {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.dct_method = JDCT_ISLOW;
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    JSAMPROW rows[1] = {row.data()};
    while (cinfo.output_scanline < cinfo.output_height) jpeg_read_scanlines(&cinfo, rows, 1);
    benchmark::DoNotOptimize(row[0]);
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
  }
  SetRate(state);
}

void BM_StbImage(benchmark::State& state) {
  std::vector<uint8_t> jpeg = Picture(int(state.range(0)));
  for (auto _ : state) {
    int w, h, n;
    unsigned char* rgb = stbi_load_from_memory(jpeg.data(), int(jpeg.size()), &w, &h, &n, 3);
    if (!rgb) state.SkipWithError("stb_image failed");
    benchmark::DoNotOptimize(rgb);
    stbi_image_free(rgb);
  }
  SetRate(state);
}

}  // namespace

BENCHMARK(BM_Ours)->Arg(420)->Arg(444)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadJpg)->Arg(420)->Arg(444)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibjpegTurbo)->Arg(420)->Arg(444)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StbImage)->Arg(420)->Arg(444)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
