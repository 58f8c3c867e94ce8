// kvrtool's sound commands: the title music and single waves through the game's own mixer,
// and what .wav and .mmd files hold.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "core/core.h"
#include "core/frame_clock.h"
#include "kvrtool.h"
#include "sound/sound.h"

namespace {

// What a mixer run has produced so far: the samples the device took, and how many blocks
// the mixer has mixed and the device has taken.
struct MixerRun {
  std::vector<int16_t> out;
  int mixed = 0, taken = 0;
};

// Runs the mixer in 40 ms logic steps and takes a block every 128 ms, as the headless null
// device does, until `done` says so; returns every sample the device took.
template <typename Done>
std::vector<int16_t> RunMixer(SoundSystem* ss, Done done) {
  MixerRun run;
  uint8_t block[kMixBlockBytes];
  uint32_t now = 0, nextTake = 128;
  FrameDeltaMs = 40;
  while (!done(run)) {
    // A step mixes a new block only when the last one was handed off; else it offers it again.
    if (ss->handOffResult != -1) ++run.mixed;
    MixStep(ss);
    now += 40;
    while (now >= nextTake) {
      if (HandOff.pending.load()) ++run.taken;
      FillBlock(nullptr, block, kMixBlockBytes);
      const auto* s = reinterpret_cast<const int16_t*>(block);
      run.out.insert(run.out.end(), s, s + kMixBlockSamples);
      nextTake += 128;
    }
  }
  return std::move(run.out);
}

// A sound system without a device whose hand-off has already been asked for once, as it has
// long been in the game by the time anything plays.
SoundSystem* QuietMixer() {
  SoundSystem* ss = CreateSoundSystem(nullptr);
  if (!ss) return nullptr;
  SetMasterVolume(ss, 256);
  ResetHandOff();
  uint8_t block[kMixBlockBytes];
  MixStep(ss);
  FillBlock(nullptr, block, kMixBlockBytes);
  return ss;
}

bool SaveWav(const std::string& path, const std::vector<int16_t>& samples) {
  if (!WriteWavFile(path.c_str(), samples.data(), samples.size())) {
    fprintf(stderr, "kvrtool: cannot write %s\n", path.c_str());
    return false;
  }
  return true;
}

void PrintLevels(const int16_t* s, size_t n) {
  int peak = 0;
  double sum = 0;
  for (size_t i = 0; i < n; ++i) {
    peak = std::max(peak, std::abs(int(s[i])));
    sum += double(s[i]) * s[i];
  }
  double rms = n ? std::sqrt(sum / double(n)) : 0;
  printf("  peak %d (%.1f dBFS), rms %.0f (%.1f dBFS)\n", peak,
         peak ? 20 * std::log10(peak / 32768.0) : -99.0, rms,
         rms > 0 ? 20 * std::log10(rms / 32768.0) : -99.0);
}

}  // namespace

int MusicToWav(const Args& args) {
  Args pos = Positional(args);
  if (pos.size() != 1) {
    fprintf(stderr, "usage: kvrtool music OUT.wav [--seconds N]\n");
    return 2;
  }
  double seconds = atof(OptionValue(args, "--seconds", "60").c_str());
  if (!(seconds > 0) || seconds > 3600) {
    fprintf(stderr, "kvrtool: --seconds must be between 0 and 3600\n");
    return 2;
  }
  size_t want = size_t(seconds * kSoundRate);
  SoundSystem* ss = QuietMixer();
  if (!ss) return 1;
  StartIntroMusic(ss);
  if (!ss->intro.playing) {
    fprintf(stderr, "kvrtool: the title music did not start (see log.txt in the data directory)\n");
    DestroySoundSystem(ss);
    return 1;
  }
  std::vector<int16_t> out = RunMixer(ss, [&](const MixerRun& r) { return r.out.size() >= want; });
  DestroySoundSystem(ss);
  out.resize(want);
  if (!SaveWav(pos[0], out)) return 1;
  printf("%s: %.1f s of the title music\n", pos[0].c_str(), seconds);
  PrintLevels(out.data(), out.size());
  return 0;
}

int PlayToWav(const Args& args) {
  Args pos = Positional(args);
  if (pos.size() != 2) {
    fprintf(stderr, "usage: kvrtool play FILE.wav OUT.wav [--seconds N] [--loop 1] [--pitch R] "
                    "[--volume V]\n");
    return 2;
  }
  SoundSystem* ss = QuietMixer();
  const int32_t slot =
      ss ? WithFileDirectory(pos[0], [&](const std::string& n) { return LoadWav(ss, n.c_str()); })
         : -1;
  if (slot < 0) {
    fprintf(stderr, "kvrtool: the game does not load %s (see log.txt beside it)\n", pos[0].c_str());
    DestroySoundSystem(ss);
    return 1;
  }
  bool loop = OptionValue(args, "--loop", "0") != "0";
  double seconds = atof(OptionValue(args, "--seconds", loop ? "4" : "60").c_str());
  size_t limit = size_t(std::max(0.0, std::min(seconds, 3600.0)) * kSoundRate);
  SetSamplePitch(ss, slot, atoi(OptionValue(args, "--pitch", "256").c_str()));
  SetSampleVolume(ss, slot, atoi(OptionValue(args, "--volume", "256").c_str()));
  PlaySample(ss, slot, loop ? 1 : 0);
  // The mixer runs a block ahead of the device: when the slot stops, the blocks that hold its
  // end may still wait in the hand-off. Stop once the device has taken every one of them.
  int mixedAtStop = -1;
  std::vector<int16_t> out = RunMixer(ss, [&](const MixerRun& r) {
    if (r.out.size() >= limit) return true;
    if (mixedAtStop < 0 && !IsSamplePlaying(ss, slot)) mixedAtStop = r.mixed;
    return mixedAtStop >= 0 && r.taken >= mixedAtStop;
  });
  DestroySoundSystem(ss);
  if (out.size() > limit) out.resize(limit);
  if (!SaveWav(pos[1], out)) return 1;
  printf("%s: %s through the mixer, %.2f s\n", pos[1].c_str(), pos[0].c_str(),
         double(out.size()) / kSoundRate);
  PrintLevels(out.data(), out.size());
  return 0;
}

bool InfoWave(const std::string& name, const std::vector<unsigned char>& bytes) {
  if (bytes.size() < 12 || memcmp(bytes.data(), "RIFF", 4) != 0 ||
      memcmp(bytes.data() + 8, "WAVE", 4) != 0)
    return false;
  printf("%s: wave, %zu bytes\n", name.c_str(), bytes.size());
  if (bytes.size() < 36) {
    printf("  header cut short: the game refuses it\n");
    return true;
  }
  const uint8_t* p = bytes.data();
  uint32_t rate = ReadU32LE(p + 24);
  unsigned bits = ReadU16LE(p + 34), channels = ReadU16LE(p + 22), tag = ReadU16LE(p + 20);
  printf("  format %u, %u Hz, %u bits, %u channel(s)\n", tag, rate, bits, channels);
  size_t at = 36;
  const uint8_t* data = nullptr;
  uint32_t dataBytes = 0;
  printf("  chunks:");
  while (at + 8 <= bytes.size()) {
    uint32_t size = ReadU32LE(p + at + 4);
    printf(" %.4s (%u)", reinterpret_cast<const char*>(p + at), size);
    if (memcmp(p + at, "data", 4) == 0) {
      data = p + at + 8;
      dataBytes = uint32_t(std::min<uint64_t>(size, bytes.size() - at - 8));
      if (dataBytes < size) printf(" cut short");
      break;
    }
    at += 8 + size_t(size);
  }
  printf("\n");
  if (rate != uint32_t(kSoundRate) || bits != 16) {
    printf("  the game refuses it: not 16000 Hz 16-bit\n");
    return true;
  }
  if (!data) {
    printf("  no data chunk: the game refuses it\n");
    return true;
  }
  std::vector<int16_t> s(dataBytes / 2);
  for (size_t i = 0; i < s.size(); ++i) s[i] = int16_t(ReadU16LE(data + 2 * i));
  printf("  %zu samples, %.3f s; a loop repeats samples 0..%zu\n", s.size(),
         double(s.size()) / kSoundRate, s.empty() ? 0 : s.size() - 2);
  PrintLevels(s.data(), s.size());
  if (s.size() >= 2) {
    printf("  first %d, last played %d, last %d\n", s.front(), s[s.size() - 2], s.back());
  }
  return true;
}

bool InfoMusic(const std::string& name, const std::vector<unsigned char>& bytes) {
  if (name.size() < 4 || name.compare(name.size() - 4, 4, ".mmd") != 0) return false;
  printf("%s: title-music events, %zu bytes\n", name.c_str(), bytes.size());
  if (bytes.size() < 12) {
    printf("  header cut short: no events\n");
    return true;
  }
  int32_t division = int32_t(ReadU32LE(bytes.data() + 4));
  int32_t tempo = int32_t(ReadU32LE(bytes.data() + 8));
  double factor = IntroTickFactor(division, tempo);
  printf("  %d ticks per quarter note, %d us per quarter note (%.1f per minute), %.4f samples "
         "per tick\n", division, tempo, tempo > 0 ? 60000000.0 / tempo : 0.0, factor);
  size_t n = (bytes.size() - 12 + 23) / 24;
  int perTrack[17] = {};
  int lowNote = 999, highNote = -999, notes = 0;
  double lastPlayed = 0;
  for (size_t i = 0; i < n; ++i) {
    uint8_t r[24] = {};
    size_t off = 12 + i * 24;
    memcpy(r, bytes.data() + off, std::min<size_t>(24, bytes.size() - off));
    int32_t type = int32_t(ReadU32LE(r)), track = int32_t(ReadU32LE(r + 16));
    int32_t note = int32_t(ReadU32LE(r + 8));
    if (i + 1 == n) break;  // the last record only marks the end
    lastPlayed = double(int32_t(ReadU32LE(r + 4))) * factor;
    if (type != 1) continue;
    if (track >= 1 && track < 16) {
      ++perTrack[track];
      ++notes;
      lowNote = std::min(lowNote, note);
      highNote = std::max(highNote, note);
    }
  }
  printf("  %zu records, %d notes", n, notes);
  for (int t = 1; t < 16; ++t)
    if (perTrack[t]) printf(", track %d: %d", t, perTrack[t]);
  printf("\n");
  if (notes) printf("  notes %d..%d\n", lowNote, highNote);
  // The clock starts at 23000 samples and the sequence starts over on its next-to-last record.
  printf("  starts over after %.2f s\n", std::max(0.0, lastPlayed - kIntroStartClock) / kSoundRate);
  return true;
}
