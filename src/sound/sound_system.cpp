// The sound system's life: creation, device start-up, master volume, listener, shutdown.
#include <cstring>
#include <new>

#include "core/files.h"
#include "sound/sound.h"

// Note n plays at entry n + 12: four octaves of rates from 128 (an octave down) to 1932,
// with everything below the lowest octave held at 128. The upper octaves are rounded on
// their own, not doubled from the lowest.
static void BuildNoteRates(uint16_t* rates) {
  static const uint16_t kOctaves[5][12] = {
      {128, 135, 143, 152, 161, 171, 181, 192, 203, 215, 228, 241},
      {128, 135, 143, 152, 161, 171, 181, 192, 203, 215, 228, 241},
      {256, 271, 287, 304, 323, 342, 362, 384, 406, 431, 456, 483},
      {512, 542, 574, 608, 646, 684, 724, 768, 812, 862, 912, 966},
      {1024, 1084, 1148, 1216, 1292, 1368, 1448, 1536, 1624, 1724, 1824, 1932}};
  for (int32_t i = 0; i < 48; ++i) rates[i] = 128;
  for (int32_t o = 0; o < 5; ++o)
    for (int32_t i = 0; i < 12; ++i) rates[48 + 12 * o + i] = kOctaves[o][i];
}

SoundSystem* CreateSoundSystem(void* owner) {
  void* memory = AllocZeroed(sizeof(SoundSystem));
  if (!memory) return nullptr;
  // Zero-filled, with the event list's own starting state (an empty list has last = -1).
  SoundSystem* ss = new (memory) SoundSystem();
  ss->owner = owner;
  BuildNoteRates(ss->noteRates);
  for (MixChannel& ch : ss->channels) ch.state = kChannelFree;
  ss->intro.startClock = kIntroStartClock;
  ss->intro.clock = kIntroStartClock;
  for (IntroInstrument& in : ss->intro.instruments) in.slot = -1;
  ss->samplesPerBlock = kMixBlockSamples;
  return ss;
}

int32_t InitSound(SoundSystem* ss) {
  ss->masterVolume = 256;
  memset(ss->mixBlock, 0, sizeof ss->mixBlock);
  if (!ss->library) ss->library = new (std::nothrow) SoundLibrary;
  if (!ss->library) return -5;
  int32_t result = ss->library->Initialise(kSoundRate, 16, false, 1, 1);
  ss->library->SetMusicMasterVolume(32);
  ss->library->SetSoundMasterVolume(32);
  // The device thread may already be asking for blocks: keep it out while the block resets.
  SoundDevice* device = ss->library->device;
  if (device) device->Lock();
  ResetHandOff();
  if (device) device->Unlock();
  ss->handOffResult = 0;
  return result;
}

void SetMasterVolume(SoundSystem* ss, int32_t volume) {
  if (volume < 0) volume = 0;
  if (volume > 256) volume = 256;
  ss->masterVolume = volume;
}

void SetListener(SoundSystem* ss, int32_t x, int32_t y, int32_t z, int32_t extra,
                 const int32_t orientation[9]) {
  ss->listenerX = x;
  ss->listenerY = y;
  ss->listenerZ = z;
  ss->listenerExtra = extra;
  if (orientation) memcpy(ss->listenerOrientation, orientation, sizeof ss->listenerOrientation);
}

void ShutdownSound(SoundSystem* ss) {
  ss->intro.playing = 0;
  ss->intro.events.Destroy();
  ss->intro.eventCount = 0;
  for (int32_t i = 0; i < kSampleSlotCount; ++i) FreeSample(ss, i);
  for (IntroInstrument& in : ss->intro.instruments) in.slot = -1;
  if (ss->library) {
    ss->library->Shutdown();
    delete ss->library;
    ss->library = nullptr;
  }
}

void DestroySoundSystem(SoundSystem* ss) {
  if (!ss) return;
  ShutdownSound(ss);
  MemFree(ss);
}
