// Stylus messages into the latches, one per logic step when they come faster, so no tap is lost.
#include <cstddef>

#include "app/app.h"
#include "core/core.h"

namespace {

// A click whose press and release both land between two steps would leave the latches as
// they were (up, after the previous release), and no form would see either edge. So a message
// that comes after another one no step has seen yet is held back, in order, and handed over
// after the next step: the forms see the down, then the up, exactly as for a slow tap.
// Far more than a hand can tap in one step; past it a flood of messages is not kept.
constexpr size_t kHeldMax = 256;

struct StylusQueue {
  PlatformMessage held[kHeldMax];
  size_t first = 0, count = 0;
  bool unseen = false;  // a message went into the latches after the last step
};

StylusQueue Taps;

void Apply(const PlatformMessage& m) {
  if (m.kind == PlatformMessageKind::StylusDown)
    StylusDownAt(m.x, m.y);
  else
    StylusUpNow();
  Taps.unseen = true;
}

}  // namespace

void TakeStylusMessage(const PlatformMessage& m) {
  if (!Taps.unseen && Taps.count == 0) {
    Apply(m);
    return;
  }
  if (Taps.count == kHeldMax) return;
  Taps.held[(Taps.first + Taps.count) % kHeldMax] = m;
  ++Taps.count;
}

void StylusStepTaken() {
  Taps.unseen = false;
  if (Taps.count == 0) return;
  const PlatformMessage m = Taps.held[Taps.first];
  Taps.first = (Taps.first + 1) % kHeldMax;
  --Taps.count;
  Apply(m);
}

void ClearStylusQueue() { Taps = StylusQueue{}; }
