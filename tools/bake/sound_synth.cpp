// Oscillators, filters, envelopes and wave output for the synthesised sounds.
#include "sound_synth.h"

#include <algorithm>
#include <cstdio>

#include "bake_noise.h"
#include "sound/sound.h"

double WhiteNoise(int32_t index, uint32_t seed) {
  return double(Hash32(index, 0x5A17, 0, seed) >> 8) / double(1 << 23) - 1.0;
}

void Biquad::Lowpass(double hz, double q) {
  double w = kTwoPi * hz / kSynthRate, c = std::cos(w), alpha = std::sin(w) / (2 * q);
  double a0 = 1 + alpha;
  b0 = (1 - c) / 2 / a0;
  b1 = (1 - c) / a0;
  b2 = b0;
  a1 = -2 * c / a0;
  a2 = (1 - alpha) / a0;
}

void Biquad::Highpass(double hz, double q) {
  double w = kTwoPi * hz / kSynthRate, c = std::cos(w), alpha = std::sin(w) / (2 * q);
  double a0 = 1 + alpha;
  b0 = (1 + c) / 2 / a0;
  b1 = -(1 + c) / a0;
  b2 = b0;
  a1 = -2 * c / a0;
  a2 = (1 - alpha) / a0;
}

void Biquad::Bandpass(double hz, double q) {
  double w = kTwoPi * hz / kSynthRate, c = std::cos(w), alpha = std::sin(w) / (2 * q);
  double a0 = 1 + alpha;
  b0 = alpha / a0;
  b1 = 0;
  b2 = -alpha / a0;
  a1 = -2 * c / a0;
  a2 = (1 - alpha) / a0;
}

double Biquad::Run(double x) {
  double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
  x2 = x1;
  x1 = x;
  y2 = y1;
  y1 = y;
  return y;
}

double SawWave(double phase, double hz, double maxHz) {
  double v = 0;
  for (int k = 1; k * hz < maxHz; ++k) v += std::sin(kTwoPi * phase * k) / k;
  return v * 0.55;
}

double SquareWave(double phase, double hz, double maxHz) {
  double v = 0;
  for (int k = 1; k * hz < maxHz; k += 2) v += std::sin(kTwoPi * phase * k) / k;
  return v * 0.9;
}

double Smooth(double a, double b, double t) {
  if (t <= a) return 0;
  if (t >= b) return 1;
  double x = (t - a) / (b - a);
  return x * x * (3 - 2 * x);
}

double Decay(double t, double tau) { return t < 0 ? 0 : std::exp(-t / tau); }

Signal Circular(const Signal& period, const std::function<double(double)>& filter) {
  Signal out(period.size());
  for (int pass = 0; pass < 3; ++pass)
    for (size_t i = 0; i < period.size(); ++i) out[i] = filter(period[i]);
  return out;
}

void AddWrapped(Signal& dst, const Signal& src, int at) {
  if (dst.empty()) return;
  int n = int(dst.size());
  for (size_t i = 0; i < src.size(); ++i) dst[size_t(((at + int(i)) % n + n) % n)] += src[i];
}

void AddAt(Signal& dst, const Signal& src, int at, double gain) {
  for (size_t i = 0; i < src.size(); ++i) {
    long j = long(at) + long(i);
    if (j >= 0 && j < long(dst.size())) dst[size_t(j)] += gain * src[i];
  }
}

void Normalise(Signal& s, double peak) {
  if (s.empty()) return;
  double mean = 0;
  for (double v : s) mean += v;
  mean /= double(s.size());
  double top = 0;
  for (double& v : s) {
    v -= mean;
    top = std::max(top, std::fabs(v));
  }
  if (top > 0)
    for (double& v : s) v *= peak / top;
}

void FadeOut(Signal& s, double seconds) {
  int n = std::min(int(s.size()), SamplesOf(seconds));
  for (int i = 0; i < n; ++i) {
    double x = double(i + 1) / n;  // reaches 1 at the last sample, which becomes 0
    s[s.size() - size_t(n) + size_t(i)] *= 0.5 + 0.5 * std::cos(x * 3.141592653589793);
  }
}

void FadeIn(Signal& s, double seconds) {
  int n = std::min(int(s.size()), SamplesOf(seconds));
  for (int i = 0; i < n; ++i) s[size_t(i)] *= 0.5 - 0.5 * std::cos(double(i) / n * 3.141592653589793);
}

std::vector<int16_t> ToPcm(const Signal& s, double peak) {
  Signal scaled = s;
  // One-shots keep their own ends at 0; DC removal would lift them, so only scale here.
  double top = 0;
  for (double v : scaled) top = std::max(top, std::fabs(v));
  std::vector<int16_t> pcm(scaled.size());
  for (size_t i = 0; i < scaled.size(); ++i) {
    double v = top > 0 ? scaled[i] * peak / top : 0;
    pcm[i] = int16_t(std::clamp<long>(std::lround(v * 32767.0), -32767, 32767));
  }
  return pcm;
}

static bool WritePcm(const BakeContext& ctx, const std::string& name,
                     const std::vector<int16_t>& pcm) {
  std::string path = ctx.outDir + name;
  if (!WriteWavFile(path.c_str(), pcm.data(), pcm.size())) {
    fprintf(stderr, "bake: cannot write %s\n", path.c_str());
    return false;
  }
  return true;
}

bool WriteSound(const BakeContext& ctx, const std::string& name, Signal s, double peak) {
  return WritePcm(ctx, name, ToPcm(s, peak));
}

bool WriteLoop(const BakeContext& ctx, const std::string& name, Signal period, double peak) {
  Normalise(period, 1.0);  // a loop may lose its DC: it has no silent ends to keep
  std::vector<int16_t> pcm = ToPcm(period, peak);
  pcm.push_back(pcm.front());
  return WritePcm(ctx, name, pcm);
}
