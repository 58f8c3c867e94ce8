// The one block passed from the game thread's mixer to the device thread.
#include <cstring>

#include "sound/sound.h"

HandOffBlock HandOff;

void FillBlock(void* context, uint8_t* destination, int length) {
  if (length < 0) return;
  if (HandOff.pending.load(std::memory_order_acquire)) {
    // The buffer holds one block; a device asking for more gets silence after it. A request
    // for 0 bytes still takes the block and records its length.
    int32_t take = length < kMixBlockBytes ? length : kMixBlockBytes;
    HandOff.length = take;
    if (take > 0) memcpy(destination, HandOff.buffer, size_t(take));
    if (take < length) memset(destination + take, 0, size_t(length - take));
    HandOff.pending.store(0, std::memory_order_release);
  } else if (length > 0) {
    memset(destination, 0, size_t(length));
  }
}

int32_t SubmitBlock(const void* source) {
  if (HandOff.pending.load(std::memory_order_acquire)) return -1;
  // Until the device has asked once, the length is 0 and the first block is lost.
  memcpy(HandOff.buffer, source, size_t(HandOff.length));
  HandOff.pending.store(1, std::memory_order_release);
  return 0;
}

void ResetHandOff() {
  HandOff.length = 0;
  HandOff.pending.store(0, std::memory_order_release);
}
