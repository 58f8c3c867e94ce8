// The face of the sound system: the mixer, the sample slots, the title music and the device.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>

#include "core/pointer_list.h"
#include "platform/platform.h"

// Everything is mixed at one format: 16 000 samples per second, signed 16-bit, mono.
constexpr int32_t kSoundRate = 16000;
constexpr int32_t kMixChannelCount = 12;
constexpr int32_t kSampleSlotCount = 150;
constexpr int32_t kMixBlockSamples = 2048;  // one block is 128 ms
constexpr int32_t kMixBlockBytes = kMixBlockSamples * 2;
constexpr int32_t kHearingDistance = 5000;  // positional samples fall silent beyond this
constexpr int32_t kInstrumentEntries = 17;  // title-music tracks 1..16; entry 0 is never used
constexpr int32_t kNoteRateCount = 108;
constexpr int32_t kIntroStartClock = 23000;

// ---------------------------------------------------------------------------------------
// Records

// One loaded wave, or a clone sharing another slot's data. The mixer reads these fields
// while channels play the slot.
struct SampleSlot {
  char name[20];          // file name; empty for clones
  uint32_t size;          // data bytes
  int32_t length;         // samples (size / 2)
  int32_t loopStart;      // where a looping channel restarts
  int16_t* data;          // shared by clones; owned by the slot that loaded it
  int16_t baseVolume;     // 0..256, 100 after loading
  int16_t effectiveVolume;  // base, or the distance-attenuated value of a positional slot
  int16_t reserved;
  int16_t pan;            // +256 or -256; stored only, the mix is mono
  int16_t rate;           // 8.8 step per output sample, 256 = own speed; read as signed
  uint8_t positional;     // 1 once SetSample3D was called
  uint8_t inUse;
  uint8_t clone;          // 1 when the data belong to another slot
  int32_t x, y, z;        // world point of a positional slot
  uint32_t extra;
};

enum MixChannelState : int32_t { kChannelFree = 1, kChannelPlaying = 2 };

// One of the 12 voices.
struct MixChannel {
  SampleSlot* slot;
  int32_t slotIndex;
  int32_t state;        // kChannelFree or kChannelPlaying
  int32_t reserved;
  uint32_t position;    // 8.8, in samples of the slot
  int32_t startDelay;   // output samples of the next block to wait before starting
  int32_t end;          // samples; 0 plays to the slot's end
  uint8_t loop;
  uint8_t transposed;   // started by the title music: steps by slot rate x note rate / 256
  int32_t rateCopy;     // the slot's rate, or the note's rate for a transposed channel
  int32_t elapsed;      // a transposed note's output samples so far: its end counts these
};

// One record of the title-music event file; time and duration in samples once loaded.
struct IntroEvent {
  int32_t type;      // 1 = note
  int32_t time;
  int32_t note;      // 0..95, 60 plays the instrument at its own rate
  int32_t duration;  // 0 plays the whole instrument sample
  int32_t track;     // 1..15
  int32_t unused;
};
static_assert(sizeof(IntroEvent) == 24);

struct IntroInstrument {
  int32_t slot;       // sample slot, -1 = none
  int32_t mode;       // 3: notes loop; anything else: notes play once
  int32_t loopStart;  // samples
};

struct IntroSequencer {
  uint8_t playing;
  PointerList events;  // IntroEvent records, owned
  int32_t eventCount;
  int32_t startIndex;  // 0
  int32_t startClock;  // 23000
  int32_t currentIndex;
  int32_t clock;       // samples
  IntroInstrument instruments[kInstrumentEntries];
};

class SoundLibrary;

// The one sound system of the game; created by the driver at start-up.
struct SoundSystem {
  int32_t listenerX, listenerY, listenerZ;
  int32_t listenerExtra;        // kept, not used in mixing
  int32_t listenerOrientation[9];
  int32_t masterVolume;         // 0..256
  SampleSlot slots[kSampleSlotCount];
  MixChannel channels[kMixChannelCount];
  void* owner;
  SoundLibrary* library;
  int32_t handOffResult;        // 0: last block accepted, -1: refused (still pending)
  int32_t msSinceBlock;         // game time since the last block was mixed
  int16_t mixBlock[kMixBlockSamples];
  int32_t samplesPerBlock;
  IntroSequencer intro;
  uint16_t noteRates[kNoteRateCount];  // 8.8; note n uses entry n + 12
};

// ---------------------------------------------------------------------------------------
// The sound system (game thread)

// Allocates a zero-filled system with its tables built, all channels free, all slots empty,
// the instruments unset. Null when memory is short.
SoundSystem* CreateSoundSystem(void* owner);
// Master volume 256, clears the mix block, creates the library and opens the device through
// the current platform. Returns the library's result: 0 success, -2 already initialised,
// -5 no memory for the device, -10 no memory for players or channels, else the device's
// code (-1 when no device can be opened). On failure the game runs silent.
int32_t InitSound(SoundSystem* ss);
void SetMasterVolume(SoundSystem* ss, int32_t volume);  // clamped to 0..256
// Once per logic step, after the step's FrameDeltaMs is known. Mixes the next block when
// the device took the previous one, else only retries the hand-off. Always 0.
int32_t MixStep(SoundSystem* ss);
// The hearer of positional samples; called every world step with the camera.
void SetListener(SoundSystem* ss, int32_t x, int32_t y, int32_t z, int32_t extra,
                 const int32_t orientation[9]);
// Frees the title-music events and every slot, closes the device and deletes the library.
void ShutdownSound(SoundSystem* ss);
// ShutdownSound, then frees the record itself.
void DestroySoundSystem(SoundSystem* ss);

// ---------------------------------------------------------------------------------------
// Sample slots (game thread). Slot -1 means none.

// Loads a 16 kHz 16-bit RIFF wave by name from the program's directory into the lowest free
// slot; a name already loaded gives a clone sharing its data. -1 and one log line on failure.
int32_t LoadWav(SoundSystem* ss, const char* name);
// As LoadWav, reading from an already open stream (closed by the caller). For tests and fuzzing.
int32_t LoadWavFromStream(SoundSystem* ss, const char* name, FILE* file);
int32_t CloneSample(SoundSystem* ss, int32_t source);
// Stops every channel playing the slot and empties it. Freeing the owner of shared data
// also disables its clones. Always 0.
int32_t FreeSample(SoundSystem* ss, int32_t slot);
// Starts the slot from its beginning, placed in the next block as late as the game time
// since the last block.
void PlaySample(SoundSystem* ss, int32_t slot, int32_t loop);
// Starts the slot on the lowest free channel (channel 11 is cut off when all are busy).
// Returns the channel, or -1 for slot -1 or a slot not in use.
int32_t PlaySampleEx(SoundSystem* ss, int32_t slot, int32_t loop, int32_t end, int32_t delay);
void StopSample(SoundSystem* ss, int32_t slot);  // frees the lowest channel playing it
int32_t IsSamplePlaying(SoundSystem* ss, int32_t slot);
void SetSampleVolume(SoundSystem* ss, int32_t slot, int32_t volume);  // clamped to 0..256
void SetSamplePan(SoundSystem* ss, int32_t slot, int32_t value);      // >= 256: 256, else -256
void SetSamplePitch(SoundSystem* ss, int32_t slot, int32_t rate);     // 8.8; negative: 0
void SetSampleLoopStart(SoundSystem* ss, int32_t slot, int32_t sample);  // outside: 0
// Makes the slot positional: its volume then falls with distance from the listener.
void SetSample3D(SoundSystem* ss, int32_t slot, int32_t x, int32_t y, int32_t z, uint32_t extra);

// ---------------------------------------------------------------------------------------
// Title music (game thread; the sequencer runs inside MixStep)

// (Re)loads intro.mmd and the instruments intro_p1..p3.wav and plays from the start. Always 0.
int32_t StartIntroMusic(SoundSystem* ss);
// Stops the sequence and frees the instruments; the events stay until the next start.
int32_t StopIntroMusic(SoundSystem* ss);
// Loads a wave as the instrument of a track (1..16). The slot index or -1.
int32_t LoadInstrument(SoundSystem* ss, const char* name, int32_t track, int32_t mode,
                       int32_t loopStart);
// Replaces the event list with the records of the file; 0, or -1 when it cannot be opened.
int32_t LoadIntroEvents(SoundSystem* ss, const char* name);
int32_t LoadIntroEventsFromStream(SoundSystem* ss, FILE* file);
// Samples per tick of an event file with this time division and tempo (microseconds per
// quarter note); 0 for a header that gives no finite factor.
double IntroTickFactor(int32_t division, int32_t tempo);
// One output sample of the sequencer; called by MixStep while the music plays.
void IntroStep(SoundSystem* ss);
// Steps the sequencer over the next output samples (at most `count`) in which it would
// only advance its clock, and returns how many: the next step starts a note or restarts the
// music (IntroStep). `count` when the music does not play.
int32_t IntroQuietSamples(SoundSystem* ss, int32_t count);
// 8.8 rate of a note number (60 = 256); notes outside the table take its nearest entry.
uint16_t NoteRate(const SoundSystem* ss, int32_t note);

// Lowest free channel, or channel 11 when all are busy.
int32_t TakeChannel(SoundSystem* ss);

// ---------------------------------------------------------------------------------------
// The hand-off between the game thread and the device thread

// The one block waiting for the device. The game thread writes the buffer and then sets
// `pending` (release); the device thread reads `pending` (acquire) before the buffer.
struct HandOffBlock {
  uint8_t buffer[kMixBlockBytes];
  std::atomic<uint8_t> pending;
  int32_t length;  // bytes the device last asked for; written by the device thread only
};
extern HandOffBlock HandOff;

// Device thread: takes the pending block (or writes silence). An AudioFillCallback.
void FillBlock(void* context, uint8_t* destination, int length);
// Game thread: 0 when the block was handed over, -1 when the previous one is still pending.
int32_t SubmitBlock(const void* source);
// Length 0, nothing pending. Only while the device thread is locked out or not running.
void ResetHandOff();

// ---------------------------------------------------------------------------------------
// The sound library and its device, over the platform's audio stream

constexpr const char* kSoundLibraryVersion = "Sorvil Sound System ver. 0.99.4";

// Format flags of the device: bit 0x01 8-bit, 0x02 16-bit; 0x10 goes with 16-bit only,
// 0x20 with 8-bit only.
constexpr uint32_t kFormat16Bit = 0x12;
constexpr uint32_t kFormat8Bit = 0x21;

struct SoundFormat {
  uint32_t flags;
  int32_t channels;  // 1 or 2
  int32_t rate;
};

// The output device: one stream of the platform, filled by a callback on the device thread.
class SoundDevice {
 public:
  ~SoundDevice();
  // 0; -2 already open; -1 for a missing or unusable format or callback, or when no device
  // opens. The stream opens paused.
  int32_t Open(const SoundFormat* format, int32_t frames, AudioFillCallback fill, void* context);
  int32_t Close();  // 0; -3 when not open
  void Lock();
  void Unlock();
  void Pause();
  void Resume();

  Platform* platform = nullptr;
  SoundFormat format = {};
  AudioFillCallback fill = nullptr;
  void* context = nullptr;
  int32_t bufferCount = 0;     // 4..128 buffers of 128 ms
  int32_t bytesPerBuffer = 0;  // 4096 for the game's format
  bool isOpen = false;
  bool paused = false;
};

constexpr int32_t kMusicTracks = 32;

// The library's own players and channels. The game mixes everything itself and never plays
// through them; their volume rules are kept so the library's masters behave as documented.
struct MusicPlayer {
  int32_t volume;           // 0..64
  int32_t effectiveVolume;  // volume x master >> 6
  int32_t separation;       // 0..255
  int32_t trackVolume[kMusicTracks];
  int32_t trackMixVolume[kMusicTracks];  // track volume x effective >> 6
  int32_t trackPosition[kMusicTracks];   // stereo position 0..255
};

struct LibraryChannel {
  int32_t volume;           // 0..64
  int32_t effectiveVolume;  // volume x master >> 6
  int32_t pan;              // 0..255
};

void SetPlayerVolume(MusicPlayer* player, int32_t volume, int32_t master);
void SetPlayerSeparation(MusicPlayer* player, int32_t value);
void SetPlayerTrackVolume(MusicPlayer* player, int32_t track, int32_t volume);
void SetLibraryChannelVolume(LibraryChannel* channel, int32_t volume, int32_t master);
void SetLibraryChannelPan(LibraryChannel* channel, int32_t value);

class SoundLibrary {
 public:
  ~SoundLibrary();
  // (16000, 16, false, 1, 1) for the game. 0; -2 already initialised; -5 no memory for the
  // device; -10 no memory for players or channels; else the device's open error.
  int32_t Initialise(int32_t rate, int32_t bits, bool stereo, int32_t players, int32_t channels);
  void Shutdown();
  void SetMusicMasterVolume(uint32_t volume);  // min(volume, 64), re-applied to every player
  void SetSoundMasterVolume(uint32_t volume);  // min(volume, 64), re-applied to every channel

  SoundDevice* device = nullptr;
  MusicPlayer* players = nullptr;
  int32_t playerCount = 0;
  LibraryChannel* channels = nullptr;
  int32_t channelCount = 0;
  int32_t musicMaster = 0;
  int32_t soundMaster = 0;
  int32_t rate = 0;
  bool is16Bit = false;
  bool stereo = false;
  int32_t bufferMs = 180;
  bool initialised = false;
};

// ---------------------------------------------------------------------------------------
// Wave files for the tools

// Writes a canonical 16 kHz 16-bit mono RIFF wave to `path` (not a data-file name); false on
// failure.
bool WriteWavFile(const char* path, const int16_t* samples, size_t count);
