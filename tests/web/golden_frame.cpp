// Draws the golden 3D scene once and writes the frame's raw 5-6-5 bytes to the file named on the
// command line: built natively and as WebAssembly, the two files must be equal byte for byte.
#include <cstdio>

#include "engine3d/golden_scene.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: golden_frame OUT.raw\n");
    return 2;
  }
  golden::Scene scene;
  if (!scene.ok()) {
    fprintf(stderr, "golden_frame: the scene cannot be built\n");
    return 1;
  }
  scene.Draw();
  FILE* f = fopen(argv[1], "wb");
  if (!f) return 1;
  bool ok = true;
  for (int i = 0; i < 240 * 320 && ok; ++i)
    ok = fputc(FrameBuffer[i] & 0xFF, f) != EOF && fputc(FrameBuffer[i] >> 8, f) != EOF;
  ok = fclose(f) == 0 && ok;
  printf("golden_frame: checksum %016llx\n",
         static_cast<unsigned long long>(golden::FrameChecksum(FrameBuffer, 240 * 320)));
  return ok ? 0 : 1;
}
