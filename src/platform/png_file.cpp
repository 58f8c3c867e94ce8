// PNG output of 5-6-5 frames: screenshots and headless shots.
#include <png.h>

#include <cstdio>
#include <string>

#include "platform/platform.h"

bool WritePng565(const std::string& path, const uint16_t* pixels, int width, int height) {
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    fclose(f);
    return false;
  }
  png_init_io(png, f);
  png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::string row(size_t(width) * 3, '\0');
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint16_t p = pixels[y * width + x];
      uint32_t rgb = Rgb888From565(p);
      row[size_t(x) * 3 + 0] = char(rgb >> 16);
      row[size_t(x) * 3 + 1] = char(rgb >> 8);
      row[size_t(x) * 3 + 2] = char(rgb);
    }
    png_write_row(png, reinterpret_cast<png_const_bytep>(row.data()));
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return fclose(f) == 0;
}
