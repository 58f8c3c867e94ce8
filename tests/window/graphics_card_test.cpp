// Which GL the window takes: a card's, never one drawn by the processor unless asked.
#include <gtest/gtest.h>

#include "platform/sdl/graphics_card.h"

namespace {

TEST(GraphicsCardTest, SoftwareGlIsToldFromACardsByItsName) {
  struct Case {
    const char* name;
    bool software;
  };
  const Case cases[] = {
      {"llvmpipe (LLVM 15.0.6, 256 bits)", true},
      {"softpipe", true},
      {"Software Rasterizer", true},
      {"Mesa DRI swrast", true},
      {"zink (llvmpipe (LLVM 15.0.6, 256 bits))", true},
      {"D3D12 (Microsoft Basic Render Driver)", true},
      {"", true},
      {nullptr, true},
      {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", false},
      {"AMD Radeon RX 6600 (navi23, LLVM 15.0.6, DRM 3.49, 6.1.0-13-amd64)", false},
      {"NVIDIA GeForce GTX 1060 6GB/PCIe/SSE2", false},
      {"virgl (Mesa Intel(R) Iris(R) Xe Graphics (TGL GT2))", false},
      {"D3D12 (NVIDIA GeForce RTX 3070)", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DrawnInSoftware(c.name), c.software) << (c.name ? c.name : "(none)");
}

}  // namespace
