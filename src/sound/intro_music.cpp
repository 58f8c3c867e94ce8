// The title music: intro.mmd's timed notes started sample-accurately on the mixer's channels.
#include <cmath>
#include <cstring>

#include "core/files.h"
#include "core/fixed_math.h"
#include "core/log.h"
#include "sound/sound.h"

namespace {

// Time and duration in ticks become samples; values that do not fit are held at the limits.
int32_t TicksToSamples(int32_t ticks, double factor) {
  double v = std::trunc(double(ticks) * factor);
  if (!(v == v)) return 0;
  if (v > 2147483647.0) return INT32_MAX;
  if (v < -2147483648.0) return INT32_MIN;
  return int32_t(v);
}

IntroEvent* EventAt(const SoundSystem* ss, int32_t index) {
  return static_cast<IntroEvent*>(ss->intro.events.Get(index));
}

// Starts one note on a channel, transposed by the note's rate.
void StartNote(SoundSystem* ss, const IntroEvent& e) {
  int32_t c = TakeChannel(ss);
  const IntroInstrument& in = ss->intro.instruments[e.track];
  if (in.slot < 0 || in.slot >= kSampleSlotCount || !ss->slots[in.slot].inUse) return;
  MixChannel& ch = ss->channels[c];
  ch.slot = &ss->slots[in.slot];
  ch.slotIndex = in.slot;
  ch.state = kChannelPlaying;
  ch.position = 0;
  ch.startDelay = 0;
  ch.end = e.duration;
  ch.loop = in.mode == 3 ? 1 : 0;
  ch.transposed = 1;
  ch.rateCopy = NoteRate(ss, e.note);
  ch.elapsed = 0;
}

}  // namespace

double IntroTickFactor(int32_t division, int32_t tempo) {
  double factor = ((120.0 / (60000000.0 / double(tempo))) / double(division)) * 8000.0;
  return std::isfinite(factor) ? factor : 0.0;
}

uint16_t NoteRate(const SoundSystem* ss, int32_t note) {
  int64_t index = int64_t(note) + 12;
  if (index < 0) index = 0;
  if (index >= kNoteRateCount) index = kNoteRateCount - 1;
  return ss->noteRates[index];
}

int32_t LoadIntroEventsFromStream(SoundSystem* ss, FILE* file) {
  IntroSequencer& q = ss->intro;
  q.events.Destroy();
  q.events.Create(ss);
  q.eventCount = 0;
  uint8_t header[12] = {};
  if (fread(header, 1, sizeof header, file) < sizeof header) {
    // A file shorter than its header holds no events.
    return 0;
  }
  double factor = IntroTickFactor(int32_t(ReadU32LE(header + 4)), int32_t(ReadU32LE(header + 8)));
  for (;;) {
    uint8_t raw[24] = {};
    size_t got = fread(raw, 1, sizeof raw, file);
    if (got == 0) break;
    auto* e = static_cast<IntroEvent*>(AllocZeroed(sizeof(IntroEvent)));
    if (!e) break;
    e->type = int32_t(ReadU32LE(raw + 0));
    e->time = TicksToSamples(int32_t(ReadU32LE(raw + 4)), factor);
    e->note = int32_t(ReadU32LE(raw + 8));
    e->duration = TicksToSamples(int32_t(ReadU32LE(raw + 12)), factor);
    e->track = int32_t(ReadU32LE(raw + 16));
    e->unused = int32_t(ReadU32LE(raw + 20));
    int32_t before = q.events.Count();
    q.events.Append(e, kTagOwned);
    if (q.events.Count() == before) {
      MemFree(e);  // the list could not grow
      break;
    }
    if (got < sizeof raw) break;
  }
  q.eventCount = q.events.Count();
  return 0;
}

int32_t LoadIntroEvents(SoundSystem* ss, const char* name) {
  IntroSequencer& q = ss->intro;
  q.events.Destroy();
  q.events.Create(ss);
  q.eventCount = 0;
  FILE* file = OpenDataFile(name, "rb");
  if (!file) return -1;
  LoadIntroEventsFromStream(ss, file);
  fclose(file);
  return 0;
}

int32_t LoadInstrument(SoundSystem* ss, const char* name, int32_t track, int32_t mode,
                       int32_t loopStart) {
  if (track < 0 || track >= kInstrumentEntries) return -1;
  IntroInstrument& in = ss->intro.instruments[track];
  in.slot = LoadWav(ss, name);
  if (in.slot == -1) return -1;
  in.mode = mode;
  in.loopStart = loopStart;
  SetSampleLoopStart(ss, in.slot, loopStart);
  SetSampleVolume(ss, in.slot, 256);
  return in.slot;
}

int32_t StopIntroMusic(SoundSystem* ss) {
  ss->intro.playing = 0;
  for (int32_t t = 1; t < kInstrumentEntries; ++t) {
    IntroInstrument& in = ss->intro.instruments[t];
    if (in.slot >= 0) FreeSample(ss, in.slot);
    in.slot = -1;
  }
  return 0;
}

int32_t StartIntroMusic(SoundSystem* ss) {
  IntroSequencer& q = ss->intro;
  StopIntroMusic(ss);
  q.events.Destroy();
  q.eventCount = 0;
  if (LoadIntroEvents(ss, "intro.mmd") != 0) LogMessage("Error loading intro.mmd");
  q.startClock = kIntroStartClock;
  LoadInstrument(ss, "intro_p1.wav", 1, 1, 0);
  LoadInstrument(ss, "intro_p2.wav", 2, 1, 0);
  LoadInstrument(ss, "intro_p3.wav", 3, 1, 0);
  for (int32_t t = 1; t < kInstrumentEntries; ++t)
    if (q.instruments[t].slot >= 0) SetSampleVolume(ss, q.instruments[t].slot, 160);
  q.currentIndex = q.startIndex;
  q.clock = q.startClock;
  // Without at least one note and the end record there is nothing to play: the sequence
  // stays stopped rather than reloading its files at every output sample.
  q.playing = q.eventCount >= 2 ? 1 : 0;
  return 0;
}

void IntroStep(SoundSystem* ss) {
  IntroSequencer& q = ss->intro;
  if (!q.playing) return;
  if (q.currentIndex >= q.eventCount - 1) {
    StartIntroMusic(ss);
    if (!q.playing) return;
  }
  q.clock = WrapAdd(q.clock, 1);
  const IntroEvent* e = EventAt(ss, q.currentIndex);
  if (e->type != 1 || q.clock <= e->time) return;
  do {
    q.currentIndex += 1;
    if (e->track >= 1 && e->track < 16) StartNote(ss, *e);
    e = EventAt(ss, q.currentIndex);
    if (q.currentIndex >= q.eventCount - 1) {
      // The last record only marks the end: start over, reloading the files.
      StartIntroMusic(ss);
      break;
    }
  } while (q.clock > e->time);
}

int32_t IntroQuietSamples(SoundSystem* ss, int32_t count) {
  IntroSequencer& q = ss->intro;
  for (int32_t n = 0; n < count; ++n) {
    if (!q.playing) return count;
    if (q.currentIndex >= q.eventCount - 1) return n;
    const IntroEvent* e = EventAt(ss, q.currentIndex);
    const int32_t clock = WrapAdd(q.clock, 1);
    if (e->type == 1 && clock > e->time) return n;
    q.clock = clock;
  }
  return count;
}
