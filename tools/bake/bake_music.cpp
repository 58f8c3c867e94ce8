// The title music: three synthesised instruments and a 34-bar piece in A minor written as
// note events (intro.mmd), looping after 68 seconds.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bake.h"
#include "sound/sound.h"
#include "sound_synth.h"

namespace {

// --- instruments ---------------------------------------------------------------------------
// Each note plays its instrument's whole sample, so every sample carries its own envelope and
// ends in silence: no note is ever cut off with a click. A note transposes its sample (note
// 60 plays it at its own pitch), so each instrument is pitched at the A its part centres on.

constexpr double kBassHz = 110.0;  // A2: the bass plays A1..A3
constexpr double kLeadHz = 440.0;  // A4: the lead plays G4..C6
constexpr double kPadHz = 220.0;   // A3: the pad plays G3..A4

Signal Bass() {  // a plucked synth bass: bright attack closing to a round tone
  Signal s(size_t(SamplesOf(0.24)));
  for (size_t i = 0; i < s.size(); ++i) {
    double t = TimeOf(int(i));
    double cutoff = 260 + 2300 * std::exp(-t / 0.045);
    double v = 0.6 * std::sin(kTwoPi * kBassHz * t);
    for (int k = 1; k * kBassHz < 4000; ++k) {
      double shape = 1.0 / std::sqrt(1.0 + std::pow(k * kBassHz / cutoff, 4.0));
      v += std::sin(kTwoPi * k * kBassHz * t) / k * shape;
    }
    s[i] = v * Smooth(0, 0.003, t) * (0.4 + 0.6 * Decay(t, 0.07)) * (1 - Smooth(0.11, 0.24, t));
  }
  return s;
}

Signal Lead() {  // a bright electric-piano lead with a tine attack, chorus and late vibrato
  Signal s(size_t(SamplesOf(0.8)));
  double phase = 0, chorus = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    double t = TimeOf(int(i));
    double vibrato = 1 + 0.004 * Smooth(0.15, 0.35, t) * std::sin(kTwoPi * 5.5 * t);
    phase += kLeadHz * vibrato / kSynthRate;
    chorus += kLeadHz * 1.003 * vibrato / kSynthRate;
    double p = kTwoPi * phase, c = kTwoPi * chorus;
    double v = 0.7 * std::sin(p) + 0.25 * std::sin(2 * p) * Decay(t, 0.15) +
               0.18 * std::sin(3 * p) + 0.1 * std::sin(4 * p) * Decay(t, 0.08) +
               0.08 * std::sin(5 * p) + 0.04 * std::sin(7 * p) +
               0.3 * std::sin(c) + 0.08 * std::sin(3 * c) +
               0.25 * std::sin(4.0 * p + 0.5) * Decay(t, 0.025);
    s[i] = v * Smooth(0, 0.005, t) * (0.45 + 0.55 * Decay(t, 0.12)) * Decay(t, 0.6) *
           (1 - Smooth(0.5, 0.8, t));
  }
  return s;
}

Signal Pad() {  // a soft string pad: three detuned saws, slow to swell and to fade
  Signal s(size_t(SamplesOf(3.4)));
  const double detune[3] = {0.996, 1.0, 1.0045};
  const double offset[3] = {0.0, 0.31, 0.67};
  for (size_t i = 0; i < s.size(); ++i) {
    double t = TimeOf(int(i));
    double v = 0;
    for (int o = 0; o < 3; ++o) {
      double f = kPadHz * detune[o];
      for (int k = 1; k * f < 2400; ++k)
        v += std::sin(kTwoPi * (k * f * t + offset[o] * k)) / std::pow(k, 1.4);
    }
    s[i] = v * Smooth(0, 0.45, t) * (1 - 0.15 * Smooth(0.45, 1.5, t)) * (1 - Smooth(1.9, 3.4, t));
  }
  return s;
}

// --- the score -----------------------------------------------------------------------------

constexpr int32_t kDivision = 1000;    // ticks per quarter note
constexpr int32_t kTempo = 500000;     // 120 quarter notes a minute: 8 samples a tick
constexpr int32_t kEighth = kDivision / 2;
constexpr int32_t kBar = 4 * kDivision;
// The sequencer's clock starts at 23000 samples; the first bar begins right there.
constexpr int32_t kFirstTick = 23000 / 8;

enum Track : int32_t { kBassTrack = 1, kLeadTrack = 2, kPadTrack = 3 };

// The bass holds the root; the pad adds two more chord notes, voiced close to its own pitch
// so every pad note lasts the bar and swells into the next.
struct Chord {
  const char* name;
  int root;    // bass root, MIDI, in the A1..G#2 octave
  int pad[2];  // MIDI
};

const Chord kChords[] = {
    {"Am", 33, {60, 64}}, {"F", 41, {57, 60}}, {"C", 36, {55, 64}}, {"G", 43, {59, 62}},
    {"E", 40, {56, 59}},  {"Dm", 38, {57, 65}}, {"Bb", 34, {62, 65}},
};

// Bass figures in eighths: R root, O root an octave up, '.' rest; "walk" leads E to A.
struct BassFigure {
  const char* name;
  const char* steps;
};
const BassFigure kFigures[] = {
    {"quarters", "R.R.R.O."}, {"drive", "RROORROR"}, {"sync", "R.OR.RO."},
    {"end", "RROR...."},
};

struct BarSpec {
  const char* chord;
  const char* bass;   // a figure name, or "walk"
  const char* lead;   // notes as NAME:EIGHTHS, "r:N" rests
};

// Intro, theme, middle section, theme again, coda: 34 bars of two seconds.
const BarSpec kScore[] = {
    {"Am", "quarters", ""},
    {"F", "quarters", ""},
    {"C", "drive", ""},
    {"G", "drive", "r:4 B4:1 C5:1 D5:1 E5:1"},
    // theme
    {"Am", "drive", "A4:2 C5:1 E5:1 A5:3 G5:1"},
    {"F", "drive", "F5:2 E5:1 C5:1 A4:4"},
    {"C", "drive", "G4:1 C5:1 E5:1 G5:1 E5:2 C5:2"},
    {"G", "drive", "D5:3 B4:1 G4:4"},
    {"Am", "drive", "A4:2 C5:1 E5:1 A5:2 B5:1 C6:1"},
    {"F", "drive", "A5:3 G5:1 F5:2 E5:2"},
    {"G", "drive", "D5:1 E5:1 F5:1 G5:1 F5:2 D5:2"},
    {"E", "walk", "E5:2 D5:1 B4:1 G#4:4"},
    // middle
    {"Dm", "sync", "F5:2 E5:2 D5:2 A4:2"},
    {"Am", "sync", "C5:3 B4:1 A4:4"},
    {"F", "sync", "A4:1 C5:1 F5:1 A5:1 G5:2 F5:2"},
    {"E", "sync", "E5:4 G#5:2 B5:2"},
    {"Dm", "sync", "A5:2 F5:2 D5:2 F5:1 A5:1"},
    {"Am", "sync", "C6:3 B5:1 A5:2 E5:2"},
    {"Bb", "sync", "D5:2 F5:2 Bb5:3 A5:1"},
    {"E", "walk", "G#5:2 B5:2 E5:4"},
    // theme again
    {"Am", "drive", "A4:2 C5:1 E5:1 A5:3 G5:1"},
    {"F", "drive", "F5:2 E5:1 C5:1 A4:4"},
    {"C", "drive", "G4:1 C5:1 E5:1 G5:1 E5:2 C5:2"},
    {"G", "drive", "D5:1 B4:1 G4:1 B4:1 D5:2 G5:2"},
    {"Am", "drive", "A4:2 C5:1 E5:1 A5:2 B5:1 C6:1"},
    {"F", "drive", "A5:3 G5:1 F5:2 E5:2"},
    {"G", "drive", "D5:1 E5:1 F5:1 G5:1 F5:2 D5:2"},
    {"E", "walk", "E5:2 D5:1 B4:1 G#4:2 B4:2"},
    // coda
    {"F", "drive", "A5:3 G5:1 F5:2 C5:2"},
    {"G", "drive", "B4:3 C5:1 D5:4"},
    {"Am", "drive", "E5:2 A4:2 C5:2 E5:2"},
    {"F", "drive", "F5:4 E5:2 D5:2"},
    {"E", "walk", "E5:4 G#4:4"},
    {"Am", "end", "A4:4 r:4"},
};
constexpr int kBars = int(sizeof kScore / sizeof kScore[0]);

struct Event {
  int32_t time, note, track;
};

// "G#4" -> MIDI 68; -1 when unreadable.
int MidiOf(const std::string& name) {
  static const int kLetters[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  if (name.size() < 2 || name[0] < 'A' || name[0] > 'G') return -1;
  int pitch = kLetters[name[0] - 'A'];
  size_t i = 1;
  if (name[i] == '#') pitch += 1, ++i;
  else if (name[i] == 'b') pitch -= 1, ++i;
  if (i >= name.size() || name[i] < '0' || name[i] > '9') return -1;
  return pitch + 12 * (name[i] - '0' + 1);
}

const Chord* FindChord(const char* name) {
  for (const Chord& c : kChords)
    if (strcmp(c.name, name) == 0) return &c;
  return nullptr;
}

// The notes of the score, in file note numbers: the sample's own pitch is note 60.
bool Compose(std::vector<Event>* events) {
  for (int b = 0; b < kBars; ++b) {
    const BarSpec& bar = kScore[b];
    int32_t start = kFirstTick + b * kBar;
    const Chord* chord = FindChord(bar.chord);
    if (!chord) return false;
    // Pad: the chord at the bar's start; the last bar's voicing sits higher, so it is short
    // enough to have faded before the piece starts over.
    for (int v = 0; v < 2; ++v) {
      int midi = b == kBars - 1 ? (v == 0 ? 69 : 72) : chord->pad[v];
      events->push_back({start, midi - 57 + 60, kPadTrack});
    }
    // Bass.
    if (strcmp(bar.bass, "walk") == 0) {
      const int walk[8] = {40, 40, 52, 40, 38, 38, 36, 35};  // E E E' E D D C B
      for (int e = 0; e < 8; ++e) events->push_back({start + e * kEighth, walk[e] - 45 + 60, kBassTrack});
    } else {
      const char* steps = nullptr;
      for (const BassFigure& f : kFigures)
        if (strcmp(f.name, bar.bass) == 0) steps = f.steps;
      if (!steps) return false;
      for (int e = 0; e < 8; ++e) {
        if (steps[e] == '.') continue;
        int midi = chord->root + (steps[e] == 'O' ? 12 : 0);
        events->push_back({start + e * kEighth, midi - 45 + 60, kBassTrack});
      }
    }
    // Lead.
    int32_t at = start;
    std::string lead = bar.lead;
    size_t pos = 0;
    while (pos < lead.size()) {
      size_t end = lead.find(' ', pos);
      if (end == std::string::npos) end = lead.size();
      std::string word = lead.substr(pos, end - pos);
      pos = end + 1;
      size_t colon = word.find(':');
      if (colon == std::string::npos) return false;
      int eighths = atoi(word.c_str() + colon + 1);
      std::string name = word.substr(0, colon);
      if (name != "r") {
        int midi = MidiOf(name);
        if (midi < 0) return false;
        events->push_back({at, midi - 69 + 60, kLeadTrack});
      }
      at += eighths * kEighth;
    }
    if (at != start + kBar && at != start) {
      fprintf(stderr, "bake: bar %d of the title music does not fill its bar\n", b + 1);
      return false;
    }
  }
  std::stable_sort(events->begin(), events->end(),
                   [](const Event& a, const Event& b) { return a.time < b.time; });
  return true;
}

// The piece must start over in silence and leave channels for the menu sounds: checks, with
// the game's own note rates, when every note's channel frees, against the loop point.
bool CheckVoices(const std::vector<Event>& events, const size_t lengths[4], int32_t loopTick) {
  SoundSystem* ss = CreateSoundSystem(nullptr);
  if (!ss) return false;
  std::vector<std::pair<int64_t, int>> edges;
  bool ok = true;
  for (const Event& e : events) {
    int64_t start = int64_t(e.time) * 8;
    int64_t rate = NoteRate(ss, e.note);
    int64_t played = (int64_t(lengths[e.track] - 1) * 256 + rate - 1) / rate;
    if (start + played > int64_t(loopTick) * 8) {
      fprintf(stderr, "bake: a title-music note rings past the loop point\n");
      ok = false;
    }
    edges.push_back({start, +1});
    edges.push_back({start + played, -1});
  }
  DestroySoundSystem(ss);
  std::sort(edges.begin(), edges.end());
  int voices = 0, most = 0;
  for (const auto& edge : edges) most = std::max(most, voices += edge.second);
  if (most > 10) {
    fprintf(stderr, "bake: the title music needs %d channels at once\n", most);
    ok = false;
  }
  return ok;
}

void PutRecord(Bytes& b, int32_t type, int32_t time, int32_t note, int32_t duration, int32_t track) {
  PutU32LE(b, uint32_t(type));
  PutU32LE(b, uint32_t(time));
  PutU32LE(b, uint32_t(note));
  PutU32LE(b, uint32_t(duration));
  PutU32LE(b, uint32_t(track));
  PutU32LE(b, 0);
}

}  // namespace

bool BakeMusic(const BakeContext& ctx) {
  Signal bass = Bass(), lead = Lead(), pad = Pad();
  bool ok = WriteSound(ctx, "intro_p1.wav", bass, 0.55) &&
            WriteSound(ctx, "intro_p2.wav", lead, 0.42) &&
            WriteSound(ctx, "intro_p3.wav", pad, 0.2);

  std::vector<Event> events;
  if (!Compose(&events)) {
    fprintf(stderr, "bake: the title music's score does not read\n");
    return false;
  }
  int32_t loopTick = kFirstTick + kBars * kBar;
  const size_t lengths[4] = {0, bass.size(), lead.size(), pad.size()};
  ok = CheckVoices(events, lengths, loopTick) && ok;

  Bytes b;
  PutU32LE(b, 0);
  PutU32LE(b, uint32_t(kDivision));
  PutU32LE(b, uint32_t(kTempo));
  // Duration 0: each note plays its instrument's whole sample.
  for (const Event& e : events) PutRecord(b, 1, e.time, e.note, 0, e.track);
  // The sequence starts over when the next-to-last record is due; track 0 plays nothing,
  // so that record marks the end of the last bar. The last record only closes the list.
  PutRecord(b, 1, loopTick, 60, 0, 0);
  PutRecord(b, 1, loopTick + kBar, 60, 0, 0);
  return WriteOut(ctx, "intro.mmd", b) && ok;
}
