// The headless machine as the current platform with a cleared clock, input and bindings,
// and a whole game driver over it in a scratch copy of the game's directory.
#pragma once

#include <cstring>

#include "app/app.h"
#include "core/core.h"
#include "platform/headless/headless.h"
#include "test_support.h"

class HeadlessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearFrameClock();
    memset(&Input, 0, sizeof Input);
    memset(&Bindings, 0, sizeof Bindings);
    SetCurrentPlatform(&platform);
  }
  void TearDown() override { SetCurrentPlatform(nullptr); }

  PlatformOptions options;
  HeadlessPlatform platform{options};
};

// The driver starts with the baked menu keys (arrows and Enter) and no game keys.
class DriverTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    dir.LinkGameData();
    Bindings.code[kActMenuLeft] = 0x25;
    Bindings.code[kActMenuUp] = 0x26;
    Bindings.code[kActMenuRight] = 0x27;
    Bindings.code[kActMenuDown] = 0x28;
    Bindings.code[kActMenuSelect] = 0x0D;
    SetDisplayLayout();
    driver.Initialise(kAppContext, FrameBuffer);
  }
  void TearDown() override {
    if (!shutDown) driver.Shutdown();
    HeadlessTest::TearDown();
  }
  // One logic step with the key (if any) held for it, then one frame; the update's result.
  bool Step(int vk = 0) {
    if (vk) platform.SetKey(vk, true);
    SampleKeys();
    const bool on = driver.Update(FrameBuffer, 40);
    ShiftLatches();
    if (vk) platform.SetKey(vk, false);
    FrameDeltaMs = 40;
    driver.Render(FrameBuffer);
    return on;
  }
  void ShutDown() {
    driver.Shutdown();
    shutDown = true;
  }

  ScratchDir dir;
  GameDriver driver;
  bool shutDown = false;
};
