// Telling a graphics card's GL from GL drawn in software, for the window's choice of path.
#include "platform/sdl/graphics_card.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <string>

bool GraphicsCardPresent() {
  // /dev/dri holds the render and card nodes of every DRM driver (Mesa's, and NVIDIA's with
  // its DRM module); NVIDIA's older drivers only make their own control node.
  return access("/dev/dri", F_OK) == 0 || access("/dev/nvidiactl", F_OK) == 0;
}

bool DrawnInSoftware(const char* glRenderer) {
  if (!glRenderer || !*glRenderer) return true;
  std::string name(glRenderer);
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  // "Software Rasterizer" is swrast's own name; zink on lavapipe names llvmpipe in brackets.
  for (const char* word : {"llvmpipe", "softpipe", "swrast", "software", "basic render"})
    if (name.find(word) != std::string::npos) return true;
  return false;
}
