// Turns a picture of the game's craft into the square desktop icons of the hicolor theme:
// the centre square of the shot, box-filtered down to each size.
//   icon_sizes IN.png OUT_DIR SIZE...   writes OUT_DIR/SIZExSIZE/apps/kvr-game.png
#include <png.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

static bool MakeDirectories(const std::string& path) {
  for (size_t at = 1; at <= path.size(); ++at)
    if (at == path.size() || path[at] == '/') mkdir(path.substr(0, at).c_str(), 0755);
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

int main(int argc, char** argv) {
  if (argc < 4) {
    fprintf(stderr, "usage: icon_sizes IN.png OUT_DIR SIZE...\n");
    return 2;
  }
  png_image in;
  memset(&in, 0, sizeof in);
  in.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&in, argv[1])) {
    fprintf(stderr, "icon_sizes: cannot read %s\n", argv[1]);
    return 1;
  }
  in.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(in));
  if (!png_image_finish_read(&in, nullptr, rgb.data(), 0, nullptr)) {
    fprintf(stderr, "icon_sizes: cannot decode %s\n", argv[1]);
    return 1;
  }
  const int w = int(in.width), h = int(in.height), side = w < h ? w : h;
  const int x0 = (w - side) / 2, y0 = (h - side) / 2;
  for (int a = 3; a < argc; ++a) {
    const int size = atoi(argv[a]);
    if (size < 1 || size > side) {
      fprintf(stderr, "icon_sizes: size %s is not between 1 and %d\n", argv[a], side);
      return 1;
    }
    std::vector<uint8_t> out(size_t(size) * size_t(size) * 3);
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) {
        // Every source pixel under the target pixel counts once.
        const int sx0 = x0 + x * side / size, sx1 = x0 + (x + 1) * side / size;
        const int sy0 = y0 + y * side / size, sy1 = y0 + (y + 1) * side / size;
        for (int c = 0; c < 3; ++c) {
          long sum = 0, n = 0;
          for (int sy = sy0; sy < sy1; ++sy)
            for (int sx = sx0; sx < sx1; ++sx, ++n) sum += rgb[(size_t(sy) * size_t(w) + size_t(sx)) * 3 + size_t(c)];
          out[(size_t(y) * size_t(size) + size_t(x)) * 3 + size_t(c)] = uint8_t(n ? sum / n : 0);
        }
      }
    const std::string dir = std::string(argv[2]) + "/" + argv[a] + "x" + argv[a] + "/apps";
    png_image img;
    memset(&img, 0, sizeof img);
    img.version = PNG_IMAGE_VERSION;
    img.width = png_uint_32(size);
    img.height = png_uint_32(size);
    img.format = PNG_FORMAT_RGB;
    if (!MakeDirectories(dir) ||
        !png_image_write_to_file(&img, (dir + "/kvr-game.png").c_str(), 0, out.data(), 0, nullptr)) {
      fprintf(stderr, "icon_sizes: cannot write %s/kvr-game.png\n", dir.c_str());
      return 1;
    }
  }
  return 0;
}
