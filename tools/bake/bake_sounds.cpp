// The game's sound effects, synthesised: menu blips, the craft's mechanics, weapons,
// explosions, enemy engines and voices, pickups and mission machines.
#include <algorithm>
#include <cmath>

#include "bake.h"
#include "bake_noise.h"
#include "sound_synth.h"

namespace {

// A decaying sum of inharmonic partials: metal struck.
Signal Clank(double seconds, const std::vector<double>& hz, double tau, uint32_t seed) {
  Signal s(size_t(SamplesOf(seconds)));
  for (size_t k = 0; k < hz.size(); ++k) {
    double phase0 = WhiteNoise(int32_t(k), seed) * 3.0;
    double tk = tau * (1.0 - 0.12 * double(k));
    for (size_t i = 0; i < s.size(); ++i) {
      double t = TimeOf(int(i));
      s[i] += std::sin(kTwoPi * hz[k] * t + phase0) * Decay(t, tk) / (1.0 + 0.4 * double(k));
    }
  }
  return s;
}

// A sine whose frequency glides exponentially from `from` to `to` with time constant `tau`.
Signal Drop(double seconds, double from, double to, double tau, double ampTau) {
  Signal s(size_t(SamplesOf(seconds)));
  double phase = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    double t = TimeOf(int(i));
    double hz = to + (from - to) * std::exp(-t / tau);
    phase += hz / kSynthRate;
    s[i] = std::sin(kTwoPi * phase) * Decay(t, ampTau) * Smooth(0, 0.003, t);
  }
  return s;
}

// Noise through a band-pass whose centre glides from `from` to `to`.
Signal SweptNoise(double seconds, double from, double to, double tau, double q, uint32_t seed) {
  Signal s(size_t(SamplesOf(seconds)));
  Biquad f;
  for (size_t i = 0; i < s.size(); ++i) {
    double t = TimeOf(int(i));
    f.Bandpass(to + (from - to) * std::exp(-t / tau), q);
    s[i] = f.Run(WhiteNoise(int32_t(i), seed));
  }
  return s;
}

// Noise through a low-pass whose cutoff glides from `from` to `to`.
Signal DarkeningNoise(double seconds, double from, double to, double tau, uint32_t seed) {
  Signal s(size_t(SamplesOf(seconds)));
  Biquad f;
  for (size_t i = 0; i < s.size(); ++i) {
    double t = TimeOf(int(i));
    f.Lowpass(to + (from - to) * std::exp(-t / tau), 0.7);
    s[i] = f.Run(WhiteNoise(int32_t(i), seed));
  }
  return s;
}

void Envelope(Signal& s, const std::function<double(double)>& env) {
  for (size_t i = 0; i < s.size(); ++i) s[i] *= env(TimeOf(int(i)));
}

// Sparse crackles: short bright ticks at random moments between `from` and `to` seconds.
void AddCrackles(Signal& s, double from, double to, int count, double gain, uint32_t seed) {
  for (int c = 0; c < count; ++c) {
    double u = 0.5 + 0.5 * WhiteNoise(c, seed);
    double at = from + (to - from) * u * u;  // thicker early on
    Signal tick = SweptNoise(0.03, 3500, 1800, 0.01, 2.0, seed + uint32_t(c) * 7);
    Envelope(tick, [](double t) { return Decay(t, 0.006); });
    double g = gain * (0.5 + 0.5 * std::fabs(WhiteNoise(c + 1000, seed))) * (1.0 - 0.6 * u);
    AddAt(s, tick, SamplesOf(at), g);
  }
}

// --- menus ---------------------------------------------------------------------------------

Signal Menu1() {  // focus moves: a soft, short tick
  Signal s(size_t(SamplesOf(0.07)));
  for (size_t i = 0; i < s.size(); ++i) {
    double t = TimeOf(int(i));
    double tone = std::sin(kTwoPi * 1500 * t) + 0.25 * std::sin(kTwoPi * 3000 * t);
    s[i] = tone * Smooth(0, 0.002, t) * Decay(t, 0.013);
  }
  Signal click = SweptNoise(0.01, 4000, 4000, 1, 1.5, 11);
  Envelope(click, [](double t) { return Decay(t, 0.0015); });
  AddAt(s, click, 0, 0.4);
  FadeOut(s, 0.01);
  return s;
}

Signal Menu2() {  // select: a bright two-note confirmation
  Signal s(size_t(SamplesOf(0.26)));
  const double notes[2][3] = {{0.0, 880.0, 0.09}, {0.075, 1318.5, 0.16}};
  for (const auto& n : notes) {
    for (size_t i = 0; i < s.size(); ++i) {
      double t = TimeOf(int(i)) - n[0];
      if (t < 0) continue;
      double env = Smooth(0, 0.004, t) * Decay(t, n[2] * 0.45);
      s[i] += SquareWave(n[1] * t, n[1], 5000) * env * 0.8;
    }
  }
  FadeOut(s, 0.02);
  return s;
}

// --- the walking craft ---------------------------------------------------------------------

Signal Step() {  // one heavy foot: thump, clank of the leg joints, a breath of hydraulics
  Signal s = Drop(0.4, 75, 38, 0.05, 0.07);
  Signal clank = Clank(0.25, {523, 817, 1203, 1690, 2310}, 0.05, 21);
  AddAt(s, clank, SamplesOf(0.004), 0.3);
  Signal hit = DarkeningNoise(0.1, 1600, 400, 0.02, 22);
  Envelope(hit, [](double t) { return Decay(t, 0.012); });
  AddAt(s, hit, 0, 0.9);
  Signal hiss = SweptNoise(0.2, 3200, 2400, 0.1, 1.2, 23);
  Envelope(hiss, [](double t) { return Smooth(0, 0.02, t) * Decay(t, 0.05); });
  AddAt(s, hiss, SamplesOf(0.05), 0.25);
  FadeOut(s, 0.05);
  return s;
}

// A motor of fundamental hz(t) with its harmonics, a turbine whine and a rumble.
Signal Motor(double seconds, const std::function<double(double)>& hz,
             const std::function<double(double)>& level, uint32_t seed) {
  Signal s(size_t(SamplesOf(seconds)));
  double phase = 0, whine = 0;
  Biquad rumble;
  rumble.Lowpass(300, 0.7);
  for (size_t i = 0; i < s.size(); ++i) {
    double t = TimeOf(int(i));
    double f = hz(t);
    phase += f / kSynthRate;
    whine += 9.0 * f / kSynthRate;
    double body = SawWave(phase, f, 2500);
    double w = std::sin(kTwoPi * whine) * 0.18;
    double r = rumble.Run(WhiteNoise(int32_t(i), seed)) * 1.2;
    s[i] = (body * 0.7 + w + r) * level(t);
  }
  return s;
}

Signal StartEngine() {  // the starter catches, the motor spins up and settles
  auto hz = [](double t) { return 28 + 62 * Smooth(0.15, 1.3, t) + 6 * std::sin(kTwoPi * 5 * t) * (1 - Smooth(0, 0.5, t)); };
  auto level = [](double t) {
    double crank = 0.55 + 0.45 * std::sin(kTwoPi * 7 * t);
    double m = Smooth(0.0, 0.05, t) * (crank + (1 - crank) * Smooth(0.2, 0.6, t));
    return m * (0.6 + 0.4 * Smooth(0.3, 1.1, t)) * (1 - 0.45 * Smooth(1.3, 1.9, t));
  };
  Signal s = Motor(2.0, hz, level, 31);
  FadeOut(s, 0.25);
  return s;
}

Signal StopEngine() {  // a hiss of released pressure, the motor winds down, a last clunk
  auto hz = [](double t) { return 22 + 70 * std::exp(-t / 0.45); };
  auto level = [](double t) { return Smooth(0, 0.02, t) * Decay(t, 0.55); };
  Signal s = Motor(1.5, hz, level, 41);
  Signal hiss = SweptNoise(0.6, 2600, 1800, 0.3, 1.0, 42);
  Envelope(hiss, [](double t) { return Smooth(0, 0.01, t) * Decay(t, 0.15); });
  AddAt(s, hiss, 0, 0.45);
  Signal clunk = Drop(0.25, 90, 50, 0.05, 0.05);
  Signal metal = Clank(0.2, {310, 487, 702}, 0.04, 43);
  AddAt(clunk, metal, 0, 0.3);
  AddAt(s, clunk, SamplesOf(1.12), 0.5);
  FadeOut(s, 0.1);
  return s;
}

Signal Rotate() {  // a servo turning: a geared whine that rises and falls
  double seconds = 0.55;
  Signal s(size_t(SamplesOf(seconds)));
  double phase = 0, gear = 0;
  Biquad buzz;
  buzz.Bandpass(900, 1.5);
  for (size_t i = 0; i < s.size(); ++i) {
    double t = TimeOf(int(i));
    double bend = std::sin(3.141592653589793 * t / seconds);
    double f = 480 * (1 + 0.12 * bend);
    phase += f / kSynthRate;
    gear += (f / 6) / kSynthRate;
    double pulse = std::pow(0.5 + 0.5 * std::sin(kTwoPi * gear), 6.0);
    double g = buzz.Run(pulse * WhiteNoise(int32_t(i), 51) + pulse * 0.5);
    double tone = std::sin(kTwoPi * phase) + 0.35 * std::sin(2 * kTwoPi * phase) +
                  0.15 * std::sin(3 * kTwoPi * phase);
    s[i] = (tone * 0.5 + g * 1.6) * Smooth(0, 0.05, t) * (1 - Smooth(seconds - 0.09, seconds, t));
  }
  Signal stop = Clank(0.06, {1800, 2650}, 0.01, 52);
  AddAt(s, stop, SamplesOf(seconds - 0.07), 0.25);
  FadeOut(s, 0.01);
  return s;
}

// --- weapons -------------------------------------------------------------------------------

// One gunshot: the crack, the body of the blast, a low punch and the action clacking.
Signal Gunshot(uint32_t seed, double level) {
  Signal s(size_t(SamplesOf(0.16)));
  Biquad hp;
  hp.Highpass(1500, 0.7);
  Biquad body;
  body.Bandpass(650, 0.9);
  for (size_t i = 0; i < s.size(); ++i) {
    double t = TimeOf(int(i));
    double n = WhiteNoise(int32_t(i), seed);
    s[i] = hp.Run(n) * Decay(t, 0.004) * 1.0 + body.Run(n) * Decay(t, 0.022) * 2.2;
  }
  Signal punch = Drop(0.12, 140, 55, 0.02, 0.025);
  AddAt(s, punch, 0, 0.8);
  Signal clack = Clank(0.04, {2200, 3100}, 0.007, seed + 1);
  AddAt(s, clack, SamplesOf(0.035), 0.18);
  for (double& v : s) v *= level;
  return s;
}

Signal RifleLoop() {  // the machine gun firing: four rounds a loop, eleven a second
  const int period = 5800;  // 4 x 1450 samples
  Signal loop(size_t(period), 0.0);
  const double levels[4] = {1.0, 0.9, 0.96, 0.86};
  // The loop starts 300 samples before a round, in the quiet tail of the one before.
  for (int k = 0; k < 4; ++k)
    AddWrapped(loop, Gunshot(61 + uint32_t(k) * 3, levels[k]), 300 + k * 1450);
  return loop;
}

Signal BulletHit() {  // a round strikes: a sharp hit, dirt, and a ricochet whining away
  Signal s(size_t(SamplesOf(0.5)));
  Signal hit = DarkeningNoise(0.08, 5000, 1500, 0.01, 71);
  Envelope(hit, [](double t) { return Decay(t, 0.006); });
  AddAt(s, hit, 0, 1.0);
  Signal dirt = SweptNoise(0.2, 1400, 800, 0.08, 0.8, 72);
  Envelope(dirt, [](double t) { return Decay(t, 0.04); });
  AddAt(s, dirt, 0, 0.6);
  double phase = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    double t = TimeOf(int(i)) - 0.01;
    if (t < 0) continue;
    double hz = 1300 + 2100 * std::exp(-t / 0.12) + 40 * std::sin(kTwoPi * 23 * t);
    phase += hz / kSynthRate;
    s[i] += std::sin(kTwoPi * phase) * Smooth(0, 0.01, t) * Decay(t, 0.13) * 0.32;
  }
  FadeOut(s, 0.05);
  return s;
}

Signal PlasmaShot() {  // a charged bolt leaves: a falling, buzzing zap
  Signal s(size_t(SamplesOf(0.42)));
  double phase = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    double t = TimeOf(int(i));
    double hz = 170 + 1700 * std::exp(-t / 0.07);
    phase += hz / kSynthRate;
    double index = 2.2 * Decay(t, 0.12);
    double carrier = std::sin(kTwoPi * phase + index * std::sin(kTwoPi * phase * 0.5));
    double sub = std::sin(kTwoPi * phase * 0.5);
    s[i] = (carrier * 0.8 + sub * 0.4) * Smooth(0, 0.002, t) * Decay(t, 0.11);
  }
  Signal sizzle = SweptNoise(0.15, 4500, 3000, 0.05, 1.5, 81);
  Envelope(sizzle, [](double t) { return Decay(t, 0.04); });
  AddAt(s, sizzle, 0, 0.35);
  FadeOut(s, 0.04);
  return s;
}

Signal TorpedoShot() {  // a heavy launch: a pneumatic thoomp and the whoosh of the torpedo
  Signal s = Drop(0.75, 190, 52, 0.08, 0.16);
  Signal whoosh = SweptNoise(0.75, 1100, 280, 0.2, 1.2, 91);
  Envelope(whoosh, [](double t) { return Smooth(0, 0.01, t) * Decay(t, 0.17); });
  AddAt(s, whoosh, 0, 1.3);
  Signal metal = Clank(0.15, {300, 471, 713, 1020}, 0.04, 92);
  AddAt(s, metal, 0, 0.35);
  FadeOut(s, 0.08);
  return s;
}

Signal RocketTravel() {  // launch whoosh, then the rocket motor roaring, flickering, fading
  double seconds = 3.6;
  Signal s(size_t(SamplesOf(seconds)));
  Biquad roar, band, flicker;
  roar.Lowpass(1700, 0.7);
  band.Bandpass(520, 1.2);
  flicker.Lowpass(25, 0.7);
  for (size_t i = 0; i < s.size(); ++i) {
    double t = TimeOf(int(i));
    double n = WhiteNoise(int32_t(i), 101);
    double f = 1.0 + 3.0 * flicker.Run(WhiteNoise(int32_t(i), 102));
    double level = Smooth(0, 0.03, t) * (0.75 + 0.25 * Decay(t - 0.1, 0.25));
    s[i] = (roar.Run(n) * 0.9 + band.Run(n) * 1.6) * f * level;
  }
  Signal launch = SweptNoise(0.5, 400, 1800, 0.15, 1.0, 103);
  Envelope(launch, [](double t) { return Smooth(0, 0.04, t) * Decay(t - 0.05, 0.12); });
  AddAt(s, launch, 0, 1.6);
  FadeOut(s, 0.8);
  return s;
}

// --- explosions ----------------------------------------------------------------------------

Signal Explosion(double seconds, double sizeTau, double thumpHz, double brightness, uint32_t seed) {
  Signal s = DarkeningNoise(seconds, 3200 * brightness, 140, sizeTau * 1.2, seed);
  Envelope(s, [&](double t) { return Smooth(0, 0.004, t) * Decay(t, sizeTau); });
  Signal crack(size_t(SamplesOf(0.08)));
  Biquad hp;
  hp.Highpass(1200, 0.7);
  for (size_t i = 0; i < crack.size(); ++i)
    crack[i] = hp.Run(WhiteNoise(int32_t(i), seed + 1)) * Decay(TimeOf(int(i)), 0.012);
  AddAt(s, crack, 0, 0.9);
  Signal thump = Drop(seconds, thumpHz, thumpHz * 0.55, 0.15, sizeTau * 0.6);
  AddAt(s, thump, 0, 0.9);
  Signal rumble = DarkeningNoise(seconds, 200, 90, 1.0, seed + 2);
  Envelope(rumble, [&](double t) { return Smooth(0, 0.05, t) * Decay(t, sizeTau * 1.8); });
  AddAt(s, rumble, 0, 1.6);
  AddCrackles(s, 0.05, seconds * 0.6, int(seconds * 14), 0.45, seed + 3);
  FadeOut(s, seconds * 0.3);
  return s;
}

Signal PlasmaExplosion() {  // energy bursts: a resonant zap sweeping down over a burst
  Signal s = Explosion(0.95, 0.16, 85, 0.8, 111);
  Signal zap = SweptNoise(0.95, 2600, 160, 0.12, 6.0, 112);
  Envelope(zap, [](double t) { return Smooth(0, 0.003, t) * Decay(t, 0.2); });
  AddAt(s, zap, 0, 2.2);
  double phase = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    double t = TimeOf(int(i));
    double hz = 90 + 1100 * std::exp(-t / 0.05);
    phase += hz / kSynthRate;
    s[i] += std::sin(kTwoPi * phase) * Decay(t, 0.12) * 0.5;
  }
  FadeOut(s, 0.2);
  return s;
}

// --- enemies -------------------------------------------------------------------------------

Signal RaptorGrowl() {  // a big reptile's throat: rough, rising and falling, through formants
  double seconds = 1.5;
  Signal src(size_t(SamplesOf(seconds)));
  double phase = 0;
  OnePole jitter;
  jitter.Cutoff(12);
  for (size_t i = 0; i < src.size(); ++i) {
    double t = TimeOf(int(i));
    double contour = std::sin(3.141592653589793 * std::min(1.0, t / 1.2));
    double hz = 92 * (1 + 0.22 * contour) * (1 + 0.8 * jitter.Run(WhiteNoise(int32_t(i), 121)));
    phase += hz / kSynthRate;
    double rattle = 0.55 + 0.45 * std::sin(kTwoPi * 29 * t + 2 * jitter.y);
    src[i] = SawWave(phase, hz, 3600) * rattle;
  }
  Signal s(src.size());
  const double formants[3][3] = {{620, 5, 1.6}, {1100, 6, 1.0}, {2500, 7, 0.4}};
  for (const auto& fm : formants) {
    Biquad f;
    f.Bandpass(fm[0], fm[1]);
    for (size_t i = 0; i < s.size(); ++i) s[i] += f.Run(src[i]) * fm[2];
  }
  Biquad low;
  low.Lowpass(400, 0.8);
  Biquad breath;
  breath.Bandpass(1600, 1.0);
  for (size_t i = 0; i < s.size(); ++i) {
    double t = TimeOf(int(i));
    s[i] += low.Run(src[i]) * 0.3 + breath.Run(WhiteNoise(int32_t(i), 122)) * 0.15;
    s[i] *= Smooth(0, 0.15, t) * (1 - Smooth(0.95, seconds, t));
  }
  return s;
}

// One second of loop: a period of 16000 samples, so whole-hertz frequencies repeat exactly.
constexpr int kLoopSecond = 16000;

Signal StegoEngine() {  // a diesel tank engine: four uneven cylinders chugging, tracks rattling
  Signal pulses(size_t(kLoopSecond), 0.0);
  const double cyl[4] = {1.0, 0.78, 0.92, 0.7};
  for (int k = 0; k < 24; ++k) pulses[size_t(k * kLoopSecond / 24)] = cyl[k % 4];
  Biquad chug;
  chug.Lowpass(170, 2.5);
  Signal s = Circular(pulses, [&](double x) { return chug.Run(x) * 14.0; });
  Signal clatter(static_cast<size_t>(kLoopSecond));
  for (int i = 0; i < kLoopSecond; ++i) clatter[size_t(i)] = WhiteNoise(i, 131);
  Biquad cb;
  cb.Bandpass(1500, 1.5);
  clatter = Circular(clatter, [&](double x) { return cb.Run(x); });
  Signal rumble(static_cast<size_t>(kLoopSecond));
  for (int i = 0; i < kLoopSecond; ++i) rumble[size_t(i)] = WhiteNoise(i, 132);
  Biquad rb;
  rb.Lowpass(120, 0.7);
  rumble = Circular(rumble, [&](double x) { return rb.Run(x); });
  for (int i = 0; i < kLoopSecond; ++i) {
    double t = TimeOf(i);
    double firing = 0.5 + 0.5 * std::cos(kTwoPi * 24 * t);
    s[size_t(i)] += clatter[size_t(i)] * (0.15 + 0.35 * std::pow(firing, 4)) +
                    rumble[size_t(i)] * 1.5 + 0.25 * std::sin(kTwoPi * 48 * t);
  }
  return s;
}

Signal HoverHum() {  // a hovering machine: a soft beating hum riding on moving air
  Signal air(static_cast<size_t>(kLoopSecond));
  for (int i = 0; i < kLoopSecond; ++i) air[size_t(i)] = WhiteNoise(i, 141);
  Biquad ab;
  ab.Bandpass(700, 0.8);
  air = Circular(air, [&](double x) { return ab.Run(x); });
  Signal s(static_cast<size_t>(kLoopSecond));
  for (int i = 0; i < kLoopSecond; ++i) {
    double t = TimeOf(i);
    double hum = std::sin(kTwoPi * 110 * t) * 0.6 + std::sin(kTwoPi * 220 * t) * 0.35 +
                 std::sin(kTwoPi * 222 * t) * 0.35 + std::sin(kTwoPi * 331 * t) * 0.12 +
                 std::sin(kTwoPi * 1760 * t) * 0.03;
    double throb = 0.75 + 0.25 * std::sin(kTwoPi * 3 * t);
    s[size_t(i)] = hum * throb + air[size_t(i)] * (0.9 + 0.3 * std::sin(kTwoPi * 2 * t + 1));
  }
  return s;
}

Signal PteranoEngine() {  // a flyer's engine: a buzzing motor chopped by rotor blades, jet hiss
  Signal jet(static_cast<size_t>(kLoopSecond));
  for (int i = 0; i < kLoopSecond; ++i) jet[size_t(i)] = WhiteNoise(i, 151);
  Biquad jb;
  jb.Bandpass(2100, 0.8);
  jet = Circular(jet, [&](double x) { return jb.Run(x); });
  Signal s(static_cast<size_t>(kLoopSecond));
  for (int i = 0; i < kLoopSecond; ++i) {
    double t = TimeOf(i);
    double buzz = SawWave(85 * t, 85, 3000);
    double chop = 0.6 + 0.4 * std::pow(0.5 + 0.5 * std::sin(kTwoPi * 17 * t), 2.0);
    s[size_t(i)] = buzz * chop * 0.8 + jet[size_t(i)] * 0.7 + std::sin(kTwoPi * 1190 * t) * 0.05;
  }
  return s;
}

// --- pickups and mission machines ------------------------------------------------------------

Signal Recharge() {  // energy taken in: a rising sweep under a climbing four-note chime
  double seconds = 0.95;
  Signal s(size_t(SamplesOf(seconds)));
  double phase = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    double t = TimeOf(int(i));
    double hz = 300 * std::pow(4.0, std::min(1.0, t / 0.6));
    phase += hz / kSynthRate;
    double trem = 0.7 + 0.3 * std::sin(kTwoPi * 18 * t);
    s[i] = std::sin(kTwoPi * phase) * trem * Smooth(0, 0.03, t) * (1 - Smooth(0.55, 0.8, t)) * 0.35;
  }
  const double chime[4] = {1046.5, 1318.5, 1568.0, 2093.0};
  for (int k = 0; k < 4; ++k) {
    double at = 0.09 * k;
    for (size_t i = 0; i < s.size(); ++i) {
      double t = TimeOf(int(i)) - at;
      if (t < 0) continue;
      double env = Smooth(0, 0.003, t) * Decay(t, 0.22);
      s[i] += (std::sin(kTwoPi * chime[k] * t) + 0.3 * std::sin(kTwoPi * chime[k] * 2.76 * t)) *
              env * 0.4;
    }
  }
  FadeOut(s, 0.15);
  return s;
}

Signal NeuralLink() {  // an alien machine thinking: pulsing electric hum, shimmer, sparks
  const int period = 2 * kLoopSecond;  // two seconds: halves of a hertz repeat too
  Signal s(static_cast<size_t>(period));
  for (int i = 0; i < period; ++i) {
    double t = TimeOf(i);
    double hum = std::sin(kTwoPi * 100 * t) + 0.5 * std::sin(kTwoPi * 300 * t) +
                 0.3 * std::sin(kTwoPi * 500 * t) + 0.15 * std::sin(kTwoPi * 700 * t);
    double pulse = 0.6 + 0.4 * std::sin(kTwoPi * 1 * t);
    double shimmer = std::sin(kTwoPi * 1300 * t) + std::sin(kTwoPi * 1301.5 * t);
    double warble = std::sin(kTwoPi * 400 * t + 3.0 * std::sin(kTwoPi * 5 * t));
    s[size_t(i)] = hum * pulse * 0.5 + shimmer * 0.06 * (1.2 - pulse) + warble * 0.12 * pulse;
  }
  for (int c = 0; c < 14; ++c) {
    int at = int((0.5 + 0.5 * WhiteNoise(c, 161)) * period);
    Signal spark = SweptNoise(0.05, 3000, 2200, 0.02, 2.0, 162 + uint32_t(c));
    Envelope(spark, [](double t) { return Decay(t, 0.008); });
    for (double& v : spark) v *= 0.5 + 0.4 * std::fabs(WhiteNoise(c, 163));
    AddWrapped(s, spark, at);
  }
  return s;
}

Signal ComputerNoise() {  // a mainframe at work: its fans, and chattering status beeps
  const int period = 4 * kLoopSecond;
  Signal fan(static_cast<size_t>(period));
  for (int i = 0; i < period; ++i) fan[size_t(i)] = WhiteNoise(i, 171);
  Biquad fb;
  fb.Lowpass(600, 0.7);
  fan = Circular(fan, [&](double x) { return fb.Run(x); });
  Signal s(static_cast<size_t>(period));
  for (int i = 0; i < period; ++i)
    s[size_t(i)] = fan[size_t(i)] * 0.6 + 0.08 * std::sin(kTwoPi * 120 * TimeOf(i));
  const double tones[6] = {880, 1175, 1320, 1568, 1760, 2349};
  int slot = 0;
  for (int k = 0; slot < 64; ++k) {  // a sixteenth-of-a-second grid over four seconds
    uint32_t h = Hash32(k, 0, 0, 172);
    int len = 1 + int(h % 3);
    if (h % 5 < 2) {
      slot += len;  // a pause
      continue;
    }
    double hz = tones[(h / 7) % 6];
    Signal beep(size_t(SamplesOf(0.0625 * len - 0.01)));
    for (size_t i = 0; i < beep.size(); ++i) beep[i] = SquareWave(hz * TimeOf(int(i)), hz, 4000);
    FadeIn(beep, 0.003);
    FadeOut(beep, 0.004);
    for (double& v : beep) v *= 0.24;
    AddWrapped(s, beep, slot * kLoopSecond / 16);
    slot += len;
  }
  return s;
}

Signal ShipDeparture() {  // the ship's drives spool up to a roar and carry it away
  double seconds = 5.5;
  Signal s(size_t(SamplesOf(seconds)));
  double phase = 0;
  Biquad roar;
  Biquad low;
  low.Lowpass(90, 0.7);
  for (size_t i = 0; i < s.size(); ++i) {
    double t = TimeOf(int(i));
    double spool = Smooth(0, 3.0, t);
    double hz = 260 + 1100 * spool;
    phase += hz / kSynthRate;
    roar.Lowpass(350 + 2600 * spool, 0.8);
    double n = WhiteNoise(int32_t(i), 181);
    double whine = (std::sin(kTwoPi * phase) + 0.3 * std::sin(2 * kTwoPi * phase)) * 0.22;
    double r = roar.Run(n) * (0.3 + 1.1 * spool);
    double sub = low.Run(WhiteNoise(int32_t(i), 182)) * 3.0 * (0.4 + 0.6 * spool);
    double away = 1 - Smooth(3.6, seconds, t) * 0.85;
    s[i] = (whine * (0.4 + 0.6 * spool) + r + sub) * Smooth(0, 0.3, t) * away;
  }
  FadeOut(s, 1.0);
  return s;
}

}  // namespace

bool BakeSounds(const BakeContext& ctx) {
  struct OneShot {
    const char* name;
    Signal (*make)();
    double peak;
  };
  const OneShot shots[] = {
      {"menu1.wav", Menu1, 0.7},
      {"menu2.wav", Menu2, 0.7},
      {"step.wav", Step, 0.9},
      {"starteng.wav", StartEngine, 0.85},
      {"stopeng.wav", StopEngine, 0.85},
      {"rotate.wav", Rotate, 0.8},
      {"PlasmaExplosion.wav", PlasmaExplosion, 0.95},
      {"BigExplosion.wav", [] { return Explosion(2.8, 0.55, 58, 1.0, 191); }, 0.97},
      {"SmallExplosion.wav", [] { return Explosion(1.1, 0.2, 95, 0.9, 192); }, 0.9},
      {"BulletHit2.wav", BulletHit, 0.85},
      {"PlasmaShot.wav", PlasmaShot, 0.85},
      {"rocket_travel.wav", RocketTravel, 0.85},
      {"TorpedoShot.wav", TorpedoShot, 0.9},
      {"RaptorGrowl.wav", RaptorGrowl, 0.9},
      {"recharge.wav", Recharge, 0.8},
      {"ship.wav", ShipDeparture, 0.9},
  };
  const OneShot loops[] = {
      {"RifleMachShot.wav", RifleLoop, 0.9},
      {"StegoEng2.wav", StegoEngine, 0.8},
      {"hover.wav", HoverHum, 0.75},
      {"PteranoEng.wav", PteranoEngine, 0.8},
      {"NLink.wav", NeuralLink, 0.75},
      {"compnois.wav", ComputerNoise, 0.7},
  };
  bool ok = true;
  for (const OneShot& s : shots) {
    // Every one-shot starts from silence: a millisecond's fade-in keeps even a blast's
    // first sample from being a click.
    Signal made = s.make();
    FadeIn(made, 0.001);
    ok = WriteSound(ctx, s.name, made, s.peak) && ok;
  }
  for (const OneShot& s : loops) ok = WriteLoop(ctx, s.name, s.make(), s.peak) && ok;
  return ok;
}
