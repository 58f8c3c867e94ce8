// The hand-off under ThreadSanitizer: a mixer thread submits numbered blocks while a device
// thread takes them; every block arrives whole and in order, and no race is reported.
#include <cstdio>
#include <cstring>
#include <thread>

#include "sound/sound.h"

int main() {
  constexpr int kBlocks = 3000;
  ResetHandOff();
  int failures = 0;
  std::thread device([&] {
    uint8_t out[kMixBlockBytes];
    int last = 0;
    for (;;) {
      FillBlock(nullptr, out, kMixBlockBytes);
      // A block is either silence or one number in every sample.
      int16_t first;
      memcpy(&first, out, 2);
      for (int i = 1; i < kMixBlockSamples; ++i) {
        int16_t v;
        memcpy(&v, out + 2 * i, 2);
        if (v != first) {
          ++failures;
          break;
        }
      }
      if (first != 0) {
        if (first <= last) ++failures;
        last = first;
        if (first == kBlocks) break;
      }
    }
  });

  int16_t block[kMixBlockSamples];
  for (int n = 1; n <= kBlocks;) {
    for (int16_t& s : block) s = int16_t(n);
    // Refused while the previous block is pending: the game would simply try again later.
    if (SubmitBlock(block) == 0) ++n;
    else std::this_thread::yield();
  }
  device.join();
  if (failures) fprintf(stderr, "hand-off: %d torn or out-of-order blocks\n", failures);
  return failures ? 1 : 0;
}
