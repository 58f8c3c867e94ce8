// FrameTick: fixed 40 ms logic steps caught up from real time, then one frame.
#include "app/app.h"
#include "core/core.h"

void FrameTick(GameHooks* game) {
  uint32_t now = ClockMs();
  FrameClock.accumulator = WrapAdd(FrameClock.accumulator, int32_t(now - FrameClock.lastTick));
  FrameClock.lastTick = now;
  int32_t steps = int32_t(double(FrameClock.accumulator) * 0.025);
  int32_t n = steps < 50 ? steps : 50;
  for (int32_t i = 0; i < n; ++i) {
    if (FrameClock.quitFlag) break;
    SampleKeys();
    if (!game->Update(FrameBuffer, FrameDeltaMs)) FrameClock.quitFlag = 1;
    uint32_t t = ClockMs();
    FrameDeltaMs = int32_t(t - FrameClock.stepEnd);
    FrameClock.stepEnd = t;
    ShiftLatches();
    StylusStepTaken();
  }
  // The unclamped count is taken off, so steps beyond 50 are dropped, not carried; the
  // accumulator is read again because a step may have reset the clock.
  FrameClock.accumulator = int32_t(double(FrameClock.accumulator) - steps * 40.0);
  game->Render(FrameBuffer);
  PresentFrame();
}
