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

// Adds `count` samples of a channel to the sum, starting at the 8.8 position `pos` and moving
// `step` per sample; no end can fall inside the run. (s * 256 * volume) >> 16 is
// (s * volume) >> 8, which fits 32 bits; volumes 0..256 cannot leave the 16-bit range, so only
// the rare louder (or negative) volume pays for the saturation.
uint32_t AddRun(int32_t* sum, int32_t count, const int16_t* data, uint32_t pos, uint32_t step,
                int32_t volume) {
  if (volume >= 0 && volume <= 256) {
    if (step == 256) {  // the slot's own speed: consecutive samples
      const int16_t* src = data + (pos >> 8);
      for (int32_t j = 0; j < count; ++j) sum[j] += (int32_t(src[j]) * volume) >> 8;
      return pos + uint32_t(count) * 256;
    }
    for (int32_t j = 0; j < count; ++j) {
      sum[j] += (int32_t(data[pos >> 8]) * volume) >> 8;
      pos += step;
    }
    return pos;
  }
  for (int32_t j = 0; j < count; ++j) {
    sum[j] += std::clamp((int32_t(data[pos >> 8]) * volume) >> 8, -32768, 32767);
    pos += step;
  }
  return pos;
}

// Adds output samples [from, to) of one channel to the sum, exactly as mixing it one sample
// at a time: each sample first tests the channel's end (which ends or loops it) and then
// plays. Between two ends the samples are added in one run.
void MixChannelRange(MixChannel& ch, int32_t* sum, int32_t from, int32_t to) {
  if (ch.state != kChannelPlaying || ch.startDelay >= to) return;
  int32_t i = std::max(from, ch.startDelay);
  ch.startDelay = 0;
  const SampleSlot* slot = ch.slot;
  if (!slot || !slot->data || slot->length <= 0) {
    FreeChannel(ch);
    return;
  }
  // The last sample of a slot is never played: the test ends one sample early, so a loop
  // repeats samples 0 .. length - 2.
  const int64_t last = int64_t(slot->length) * 256 - 256;
  // A note's end is a length of time: it counts output samples, which a transposed note
  // does not move through its slot at one per sample.
  const bool countsTime = ch.transposed && ch.end != 0;
  int64_t limit = last;  // the position at which the channel ends or loops
  if (ch.end != 0 && !ch.transposed) limit = std::min(limit, int64_t(ch.end) * 256);
  // The position is 32 bits: a run stops where it would wrap, and the test sees the wrap.
  limit = std::min<int64_t>(limit, int64_t(1) << 32);
  int32_t step = slot->rate;
  if (ch.transposed) step = (step * ch.rateCopy) >> 8;
  const int32_t volume = slot->effectiveVolume;
  while (i < to) {
    int64_t pos = ch.position;
    const bool ended = countsTime ? ch.elapsed >= ch.end : (ch.end != 0 && pos >= int64_t(ch.end) * 256);
    if (ended || pos >= last) {
      if (!ch.loop) {
        ch.position = 0;
        FreeChannel(ch);
        return;
      }
      ch.position = uint32_t(slot->loopStart) * 256;
      ch.elapsed = slot->loopStart;
      pos = ch.position;
    }
    // The first sample plays whatever its position; the run goes on while the next ones
    // would pass the test.
    int64_t count = 1;
    if (step > 0 && pos < limit) count = (limit - pos + step - 1) / step;
    else if (step == 0 && pos < limit) count = to - i;
    if (countsTime) count = std::min<int64_t>(count, std::max<int64_t>(1, int64_t(ch.end) - ch.elapsed));
    const int32_t n = int32_t(std::min<int64_t>(count, to - i));
    if (countsTime) ch.elapsed += n;  // bounded by the end, which resets it
    ch.position = AddRun(sum + i, n, slot->data, ch.position, uint32_t(step), volume);
    i += n;
  }
}

// Mixes output samples [from, to) of every channel into the sum.
void MixChannels(SoundSystem* ss, int32_t* sum, int32_t from, int32_t to) {
  if (from >= to) return;
  for (MixChannel& ch : ss->channels) MixChannelRange(ch, sum, from, to);
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
    // Channels are mixed one after another over the stretches in which the title music
    // starts no note; the sequencer still steps before the channels of its sample.
    int32_t sum[kMixBlockSamples] = {};
    int32_t from = 0;  // the first output sample not mixed yet
    int32_t next = 0;  // the first output sample whose sequencer step has not run
    while (ss->intro.playing && next < kMixBlockSamples) {
      const int32_t at = next + IntroQuietSamples(ss, kMixBlockSamples - next);
      if (at >= kMixBlockSamples) break;
      MixChannels(ss, sum, from, at);
      IntroStep(ss);
      from = at;
      next = at + 1;
    }
    MixChannels(ss, sum, from, kMixBlockSamples);
    const int32_t master = ss->masterVolume;
    for (int32_t i = 0; i < kMixBlockSamples; ++i) {
      // Voices that add up beyond the 16-bit range are held at its limits: a wrapped sum
      // would be a loud click.
      const int32_t s = std::clamp(sum[i], -32768, 32767);
      ss->mixBlock[i] = int16_t(Saturate16((int64_t(s) * master) >> 8));
    }
  }
  ss->handOffResult = SubmitBlock(ss->mixBlock);
  return 0;
}
