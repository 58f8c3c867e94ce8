// The handheld C library's linear congruential generator.
#include "core/random.h"

static uint32_t randState = 1;

int HandheldRand() {
  randState = randState * 214013u + 2531011u;
  return int((randState >> 16) & 0x7FFF);
}

void HandheldSrand(uint32_t seed) { randState = seed; }
