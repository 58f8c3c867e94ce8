// Building blocks of the synthesised sound effects and title-music instruments (16 kHz mono).
#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "bake.h"

constexpr double kSynthRate = 16000.0;
constexpr double kTwoPi = 6.283185307179586;

// A sound being built, as floating-point samples; written out scaled to a chosen peak.
using Signal = std::vector<double>;

inline int SamplesOf(double seconds) { return int(std::lround(seconds * kSynthRate)); }
inline double TimeOf(int sample) { return sample / kSynthRate; }

// White noise in -1..1, the same for the same index and seed (a loop can wrap its index).
double WhiteNoise(int32_t index, uint32_t seed);

// Two-pole filters after the usual audio cookbook; coefficients may change every sample.
struct Biquad {
  double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
  double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  void Lowpass(double hz, double q);
  void Highpass(double hz, double q);
  void Bandpass(double hz, double q);  // 0 dB at the centre
  double Run(double x);
};

// One-pole low-pass, for smoothing and gentle tone control.
struct OnePole {
  double a = 0, y = 0;
  void Cutoff(double hz) { a = std::exp(-kTwoPi * hz / kSynthRate); }
  double Run(double x) { return y = (1 - a) * x + a * y; }
};

// Band-limited sawtooth at `phase` (cycles) with harmonics up to `maxHz` for frequency `hz`.
double SawWave(double phase, double hz, double maxHz);
// Odd harmonics only (a soft square), band-limited the same way.
double SquareWave(double phase, double hz, double maxHz);

// 0 at t <= a, 1 at t >= b, smooth in between.
double Smooth(double a, double b, double t);
// exp(-t / tau) for t >= 0, 0 before.
double Decay(double t, double tau);

// Runs a filter over three copies of one period and keeps the last: the result repeats
// seamlessly, as a loop must.
Signal Circular(const Signal& period, const std::function<double(double)>& filter);

// Adds `src` into `dst` from `at`, wrapping around the end (for loops).
void AddWrapped(Signal& dst, const Signal& src, int at);
// Adds `src` into `dst` from `at`, growing nothing: what falls beyond the end is dropped.
void AddAt(Signal& dst, const Signal& src, int at, double gain = 1.0);

// Removes any DC offset and brings the highest peak to `peak` (0..1).
void Normalise(Signal& s, double peak);
// Fades the last `seconds` to exactly 0 with a raised-cosine curve.
void FadeOut(Signal& s, double seconds);
void FadeIn(Signal& s, double seconds);

// Writes a one-shot sound, scaled so its peak is `peak` of full scale.
bool WriteSound(const BakeContext& ctx, const std::string& name, Signal s, double peak);
// Writes one period of a loop, scaled to `peak`, followed by a copy of its first sample: the
// mixer never plays a slot's last sample, so the loop repeats exactly the period.
bool WriteLoop(const BakeContext& ctx, const std::string& name, Signal period, double peak);
// The 16-bit samples WriteSound would write.
std::vector<int16_t> ToPcm(const Signal& s, double peak);
