// The frame loop's clock: milliseconds, the step accumulator and the measured step time.
#pragma once

#include <cstdint>

struct FrameClockState {
  int32_t accumulator;  // real time not yet consumed by logic steps (ms)
  uint32_t lastTick;    // ClockMs at the previous timer message
  uint8_t quitFlag;     // a game update asked to end
  uint32_t stepEnd;     // ClockMs at the end of the previous step
  uint32_t lastClock;   // the value ClockMs returned last (state of its fallback)
};

extern FrameClockState FrameClock;

// Milliseconds between the ends of the two most recent logic steps; the world's timers
// advance by it.
extern int32_t FrameDeltaMs;

// The performance counter in milliseconds; without one, the last reading plus 66.
uint32_t ClockMs();

// Forgets time not yet consumed, so a long load is not made up by a burst of steps.
void ResetFrameClock();

// Back to the state at program start (all zero).
void ClearFrameClock();
