// The golden frame: a fixed scene rendered headless must keep its exact pixels. After an
// intended change, run with KVR_UPDATE_GOLDEN=1 to rewrite golden/scene.png, look at it,
// and pin the new checksum printed here.
#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>

#include "golden_scene.h"
#include "platform/platform.h"

namespace {

constexpr uint64_t kGoldenChecksum = 0xc05698b32b4cd959ull;

TEST(GoldenFrame, SceneKeepsItsPixels) {
  golden::Scene scene;
  ASSERT_TRUE(scene.ok());
  scene.Draw();
  uint64_t sum = golden::FrameChecksum(FrameBuffer, 240 * 320);
  // Everything was drawn: the terrain, the craft and some sprites reached the soup.
  EXPECT_GT(scene.engine->polygonsUsed, 500);
  if (getenv("KVR_UPDATE_GOLDEN"))
    WritePng565(std::string(KVR_SOURCE_DIR) + "/tests/engine3d/golden/scene.png", FrameBuffer, 240, 320);
  if (sum != kGoldenChecksum) {
    WritePng565("engine3d_golden_actual.png", FrameBuffer, 240, 320);
    ADD_FAILURE() << "frame checksum 0x" << std::hex << sum
                  << " (written to engine3d_golden_actual.png); pinned 0x" << kGoldenChecksum;
  }
  // Drawing again gives the same frame: nothing carries over between frames but what should.
  scene.Draw();
  EXPECT_EQ(golden::FrameChecksum(FrameBuffer, 240 * 320), sum);
}

}  // namespace
