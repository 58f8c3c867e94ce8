// ClockMs over the platform's performance counter, and the frame clock's state.
#include "core/frame_clock.h"

#include "platform/platform.h"

FrameClockState FrameClock;
int32_t FrameDeltaMs = 0;

uint32_t ClockMs() {
  uint64_t counter = 0, frequency = 0;
  Platform* platform = CurrentPlatform();
  uint32_t result;
  if (platform && platform->PerformanceCounter(&counter, &frequency) && frequency >= 1000) {
    double ticksPerMs = double(int64_t(frequency) / 1000);
    result = uint32_t(uint64_t(double(counter) / ticksPerMs));
  } else {
    result = FrameClock.lastClock + 66;
  }
  FrameClock.lastClock = result;
  return result;
}

void ResetFrameClock() {
  FrameClock.lastTick = ClockMs();
  FrameClock.accumulator = 0;
}

void ClearFrameClock() {
  FrameClock = FrameClockState{};
  FrameDeltaMs = 0;
}
