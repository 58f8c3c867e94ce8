// The 150 sample slots: loading waves, sharing them, playing and shaping them.
#include <cstring>
#include <string>

#include "core/files.h"
#include "core/log.h"
#include "sound/sound.h"

namespace {

bool ValidSlot(int32_t slot) { return slot >= 0 && slot < kSampleSlotCount; }

void LogWithName(const char* text, const char* name) {
  std::string line = std::string(text) + name;
  LogMessage(line.c_str());
}

int32_t LowestFreeSlot(const SoundSystem* ss) {
  for (int32_t i = 0; i < kSampleSlotCount; ++i)
    if (!ss->slots[i].inUse) return i;
  return -1;
}

void StopChannelsOf(SoundSystem* ss, int32_t slot) {
  for (MixChannel& ch : ss->channels)
    if (ch.state == kChannelPlaying && ch.slotIndex == slot) ch.state = kChannelFree;
}

// A freshly taken slot starts as a loaded wave does.
void SetLoadedDefaults(SampleSlot* s, uint32_t size) {
  s->rate = 256;
  s->baseVolume = 100;
  s->effectiveVolume = 100;
  s->size = size;
  s->length = int32_t(size / 2);
  s->loopStart = 0;
  s->pan = 0;
}

// Bytes left from the current position, or -1 when the stream cannot tell.
long BytesLeft(FILE* file) {
  long here = ftell(file);
  if (here < 0 || fseek(file, 0, SEEK_END) != 0) return -1;
  long end = ftell(file);
  if (fseek(file, here, SEEK_SET) != 0 || end < here) return -1;
  return end - here;
}

bool SkipBytes(FILE* file, uint32_t size) {
  uint8_t scrap[4096];
  while (size > 0) {
    size_t want = size < sizeof scrap ? size : sizeof scrap;
    if (fread(scrap, 1, want, file) != want) return false;
    size -= uint32_t(want);
  }
  return true;
}

}  // namespace

int32_t LoadWav(SoundSystem* ss, const char* name) {
  if (!name) return -1;
  if (strlen(name) > 19) {
    LogWithName("Wav filename > 19 chars: ", name);
    return -1;
  }
  for (int32_t i = 0; i < kSampleSlotCount; ++i) {
    const SampleSlot& s = ss->slots[i];
    // Free slots and clones have empty names: an empty name never shares one of them.
    if (s.inUse && s.name[0] && strcmp(s.name, name) == 0) return CloneSample(ss, i);
  }
  FILE* file = OpenDataFile(name, "rb");
  if (!file) {
    LogWithName("Error loading wave file ", name);
    return -1;
  }
  int32_t slot = LoadWavFromStream(ss, name, file);
  fclose(file);
  return slot;
}

int32_t LoadWavFromStream(SoundSystem* ss, const char* name, FILE* file) {
  uint8_t header[36];
  if (fread(header, 1, sizeof header, file) != sizeof header) {
    LogMessage("Error reading wave header file.");
    return -1;
  }
  // Only the rate and the sample size are checked; the data are taken as 16-bit mono.
  if (ReadU32LE(header + 24) != uint32_t(kSoundRate) || ReadU16LE(header + 34) != 16) {
    LogMessage("Wav file is in a wrong format.");
    return -1;
  }
  uint8_t chunk[8];
  if (fread(chunk, 1, sizeof chunk, file) != sizeof chunk) {
    LogMessage("Error reading wave chunk.");
    return -1;
  }
  while (memcmp(chunk, "data", 4) != 0) {
    if (!SkipBytes(file, ReadU32LE(chunk + 4))) {
      LogMessage("Error reading wave chunk (2)");
      return -1;
    }
    if (fread(chunk, 1, sizeof chunk, file) != sizeof chunk) {
      LogMessage("Error reading wave chunk.");
      return -1;
    }
  }
  int32_t slot = LowestFreeSlot(ss);
  if (slot < 0) {
    LogMessage("No more audio slots available.");
    return -1;
  }
  uint32_t size = ReadU32LE(chunk + 4);
  // A data size beyond the end of the file can never be read: refuse it before allocating.
  long left = BytesLeft(file);
  if (left >= 0 && uint64_t(left) < size) {
    LogMessage("Error loading wave data from file.");
    return -1;
  }
  SampleSlot* s = &ss->slots[slot];
  // A clone disabled by its owner's freeing keeps its old fields (a stale position among
  // them): the slot starts clean rather than inheriting them.
  memset(s, 0, sizeof *s);
  s->data = static_cast<int16_t*>(MemAlloc(size));
  if (!s->data) {
    LogMessage("Out of memory loading wav file.");
    return -1;
  }
  SetLoadedDefaults(s, size);
  if (fread(s->data, 1, size, file) != size) {
    LogMessage("Error loading wave data from file.");
    MemFree(s->data);
    memset(s, 0, sizeof *s);
    return -1;
  }
  s->inUse = 1;
  s->clone = 0;
  strncpy(s->name, name, sizeof s->name - 1);
  return slot;
}

int32_t CloneSample(SoundSystem* ss, int32_t source) {
  int32_t slot = LowestFreeSlot(ss);
  if (slot < 0) {
    LogMessage("No more audio slots available.");
    return -1;
  }
  if (!ValidSlot(source) || !ss->slots[source].data) {
    LogMessage("Error cloning wav file.");
    return -1;
  }
  const SampleSlot& from = ss->slots[source];
  SampleSlot* s = &ss->slots[slot];
  memset(s, 0, sizeof *s);  // as in loading: nothing of a disabled clone carries over
  SetLoadedDefaults(s, from.size);
  s->data = from.data;
  s->length = from.length;
  s->inUse = 1;
  s->clone = 1;
  return slot;
}

int32_t FreeSample(SoundSystem* ss, int32_t slot) {
  if (!ValidSlot(slot)) return 0;
  SampleSlot* s = &ss->slots[slot];
  if (!s->data) return 0;
  StopChannelsOf(ss, slot);
  if (!s->clone) {
    // Clones of this wave lose their data with it: silence them and mark them free.
    for (int32_t i = 0; i < kSampleSlotCount; ++i) {
      SampleSlot* other = &ss->slots[i];
      if (i == slot || other->data != s->data) continue;
      StopChannelsOf(ss, i);
      other->data = nullptr;
      other->inUse = 0;
    }
    MemFree(s->data);
  }
  memset(s, 0, sizeof *s);
  return 0;
}

void PlaySample(SoundSystem* ss, int32_t slot, int32_t loop) {
  if (!ValidSlot(slot) || !ss->slots[slot].inUse) return;
  // Two samples per millisecond: a sound started between blocks keeps its place in time.
  int64_t delay = 2 * int64_t(ss->msSinceBlock);
  if (delay > 1024) delay = 1024;
  PlaySampleEx(ss, slot, loop, ss->slots[slot].length, int32_t(delay < 0 ? 0 : delay));
}

int32_t PlaySampleEx(SoundSystem* ss, int32_t slot, int32_t loop, int32_t end, int32_t delay) {
  if (!ValidSlot(slot) || !ss->slots[slot].inUse) return -1;
  SampleSlot* s = &ss->slots[slot];
  int32_t c = TakeChannel(ss);
  MixChannel& ch = ss->channels[c];
  ch.slot = s;
  ch.slotIndex = slot;
  ch.state = kChannelPlaying;
  ch.position = 0;
  ch.end = end < s->length ? end : s->length;
  ch.startDelay = delay > 0 ? delay : 0;
  ch.loop = loop ? 1 : 0;
  ch.transposed = 0;
  ch.rateCopy = s->rate;
  ch.elapsed = 0;
  return c;
}

void StopSample(SoundSystem* ss, int32_t slot) {
  for (MixChannel& ch : ss->channels) {
    if (ch.state == kChannelPlaying && ch.slotIndex == slot) {
      ch.state = kChannelFree;
      return;
    }
  }
}

int32_t IsSamplePlaying(SoundSystem* ss, int32_t slot) {
  for (const MixChannel& ch : ss->channels)
    if (ch.state == kChannelPlaying && ch.slotIndex == slot) return 1;
  return 0;
}

void SetSampleVolume(SoundSystem* ss, int32_t slot, int32_t volume) {
  if (!ValidSlot(slot)) return;
  if (volume < 0) volume = 0;
  if (volume > 256) volume = 256;
  ss->slots[slot].baseVolume = int16_t(volume);
  ss->slots[slot].effectiveVolume = int16_t(volume);
}

void SetSamplePan(SoundSystem* ss, int32_t slot, int32_t value) {
  if (!ValidSlot(slot)) return;
  ss->slots[slot].pan = value >= 256 ? 256 : -256;
}

void SetSamplePitch(SoundSystem* ss, int32_t slot, int32_t rate) {
  if (!ValidSlot(slot)) return;
  // Stored in 16 bits; the mixer reads it signed, so useful rates are 0..32767.
  ss->slots[slot].rate = int16_t(rate < 0 ? 0 : rate);
}

void SetSampleLoopStart(SoundSystem* ss, int32_t slot, int32_t sample) {
  if (!ValidSlot(slot)) return;
  SampleSlot* s = &ss->slots[slot];
  // The loop start must name a sample the slot has.
  s->loopStart = (sample < 0 || sample >= s->length) ? 0 : sample;
}

void SetSample3D(SoundSystem* ss, int32_t slot, int32_t x, int32_t y, int32_t z, uint32_t extra) {
  if (!ValidSlot(slot)) return;
  SampleSlot* s = &ss->slots[slot];
  s->positional = 1;
  s->x = x;
  s->y = y;
  s->z = z;
  s->extra = extra;
}
