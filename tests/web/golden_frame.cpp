// Draws the golden 3D scene once and writes the frame's raw 5-6-5 bytes to the file named on the
// command line: built natively and as WebAssembly, the two files must be equal byte for byte.
#include <cstdio>

#include "engine3d/golden_scene.h"
#include "platform/platform.h"

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
  const bool ok = WriteRawFrame(argv[1], FrameBuffer);
  printf("golden_frame: checksum %016llx\n",
         static_cast<unsigned long long>(golden::FrameChecksum(FrameBuffer, 240 * 320)));
  return ok ? 0 : 1;
}
