// MixStep: positional volumes, then one 2048-sample block of the 12 channels.
#include <algorithm>

#include "core/fixed_math.h"
#include "core/frame_clock.h"
#include "sound/sound.h"

namespace {

inline int32_t Saturate16(int64_t v) {
  if (v > 32767) return 32767;
  if (v < -32768) return -32768;
  return int32_t(v);
}

// Volume falls linearly from the base at the listener to 0 at the hearing distance.
void UpdatePositionalVolumes(SoundSystem* ss) {
  for (MixChannel& ch : ss->channels) {
    if (ch.state != kChannelPlaying || !ch.slot || !ch.slot->positional) continue;
    SampleSlot* slot = ch.slot;
    int32_t d = MathTables::Abs(MathTables::Distance3(ss->listenerX, ss->listenerY,
                                                      ss->listenerZ, slot->x, slot->y, slot->z));
    int32_t base = slot->baseVolume;
    // A base of 0 would divide by zero: such a slot plays silent.
    if (d > kHearingDistance || base <= 0) {
      slot->effectiveVolume = 0;
    } else {
      slot->effectiveVolume = int16_t((kHearingDistance - d) / (kHearingDistance / base));
    }
  }
}

void FreeChannel(MixChannel& ch) { ch.state = kChannelFree; }

// One output sample of one channel, or 0 when it ends or cannot play.
inline int32_t MixChannelSample(MixChannel& ch) {
  SampleSlot* slot = ch.slot;
  if (!slot || !slot->data || slot->length <= 0) {
    FreeChannel(ch);
    return 0;
  }
  // The last sample of a slot is never played: the test ends one sample early, so a loop
  // repeats samples 0 .. length - 2.
  int64_t pos = ch.position;
  int64_t last = int64_t(slot->length) * 256 - 256;
  // A note's end is a length of time: it counts output samples, which a transposed note
  // does not move through its slot at one per sample.
  const bool ended = ch.end != 0 && (ch.transposed ? ch.elapsed >= ch.end : pos >= int64_t(ch.end) * 256);
  if (ended || pos >= last) {
    if (!ch.loop) {
      ch.position = 0;
      FreeChannel(ch);
      return 0;
    }
    ch.position = uint32_t(slot->loopStart) * 256;
    ch.elapsed = slot->loopStart;
  }
  if (ch.transposed && ch.end != 0) ++ch.elapsed;  // bounded by the end, which resets it
  int32_t s = slot->data[ch.position >> 8];
  int32_t step = slot->rate;
  if (ch.transposed) step = (step * ch.rateCopy) >> 8;
  ch.position += uint32_t(step);
  // Volumes above 256 (a near positional sample with a small base) are held at the limit.
  return Saturate16((int64_t(s) * 256 * slot->effectiveVolume) >> 16);
}

}  // namespace

int32_t TakeChannel(SoundSystem* ss) {
  for (int32_t i = 0; i < kMixChannelCount; ++i)
    if (ss->channels[i].state != kChannelPlaying) return i;
  return kMixChannelCount - 1;
}

int32_t MixStep(SoundSystem* ss) {
  ss->samplesPerBlock = kMixBlockSamples;
  UpdatePositionalVolumes(ss);
  // Held at its limit: with no device taking blocks the count would otherwise run over.
  int64_t ms = int64_t(ss->msSinceBlock) + FrameDeltaMs;
  ss->msSinceBlock = int32_t(std::clamp<int64_t>(ms, INT32_MIN, INT32_MAX));
  if (ss->handOffResult != -1) {
    ss->msSinceBlock = 0;
    int32_t master = ss->masterVolume;
    for (int32_t i = 0; i < kMixBlockSamples; ++i) {
      if (ss->intro.playing) IntroStep(ss);
      int32_t sum = 0;
      for (MixChannel& ch : ss->channels) {
        if (ch.state != kChannelPlaying || ch.startDelay > i) continue;
        ch.startDelay = 0;
        sum += MixChannelSample(ch);
      }
      // Voices that add up beyond the 16-bit range are held at its limits: a wrapped sum
      // would be a loud click.
      sum = Saturate16(sum);
      ss->mixBlock[i] = int16_t(Saturate16((int64_t(sum) * 256 * master) >> 16));
    }
  }
  ss->handOffResult = SubmitBlock(ss->mixBlock);
  return 0;
}
