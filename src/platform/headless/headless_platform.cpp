// The headless backend: deterministic runs for tests, benchmarks and golden shots.
#include "platform/headless/headless.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

bool ParseNumber(const std::string& word, int* out) {
  char* end = nullptr;
  long v = strtol(word.c_str(), &end, 0);  // decimal or 0x hex
  if (word.empty() || *end) return false;
  *out = int(v);
  return true;
}

void PutLE(FILE* f, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) fputc(int((v >> (8 * i)) & 0xFF), f);
}

// A shot named *.raw keeps the frame's own bytes: the form that compares exactly between
// builds, including one without a PNG library.
bool WriteShot(const std::string& path, const uint16_t* frame) {
  const std::string raw = ".raw";
  if (path.size() >= raw.size() && !path.compare(path.size() - raw.size(), raw.size(), raw))
    return WriteRawFrame(path, frame);
  return WritePng565(path, frame, 240, 320);
}

}  // namespace

bool ParseInputScript(const std::string& text, std::vector<ScriptedInput>* out, std::string* err) {
  std::istringstream in(text);
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    size_t hash = line.find('#');
    if (hash != std::string::npos) line.resize(hash);
    std::istringstream words(line);
    std::vector<std::string> w;
    for (std::string s; words >> s;) w.push_back(s);
    if (w.empty()) continue;
    ScriptedInput e{};
    bool ok = w.size() >= 2 && ParseNumber(w[0], &e.tick) && e.tick >= 0;
    if (ok) {
      const std::string& verb = w[1];
      if ((verb == "down" || verb == "up" || verb == "press") && w.size() == 3) {
        e.kind = verb == "down" ? ScriptedInput::KeyDown
                 : verb == "up" ? ScriptedInput::KeyUp
                                : ScriptedInput::KeyPress;
        ok = ParseNumber(w[2], &e.a) && e.a >= 0 && e.a < 256;
      } else if (verb == "stylus-down" && w.size() == 4) {
        e.kind = ScriptedInput::StylusDown;
        ok = ParseNumber(w[2], &e.a) && ParseNumber(w[3], &e.b);
      } else if (verb == "stylus-up" && w.size() == 2) {
        e.kind = ScriptedInput::StylusUp;
      } else if (verb == "close" && w.size() == 2) {
        e.kind = ScriptedInput::Close;
      } else {
        ok = false;
      }
    }
    if (!ok) {
      *err = "input script line " + std::to_string(lineNo) + ": cannot read '" + line + "'";
      return false;
    }
    out->push_back(e);
  }
  // Events of one tick keep their written order.
  std::stable_sort(out->begin(), out->end(),
                   [](const ScriptedInput& a, const ScriptedInput& b) { return a.tick < b.tick; });
  return true;
}

HeadlessPlatform::HeadlessPlatform(const PlatformOptions& options)
    : options_(options), hasCounter_(!options.noPerformanceCounter), lastFrame_(240 * 320) {}

HeadlessPlatform::~HeadlessPlatform() { CloseAudio(); }

bool HeadlessPlatform::PerformanceCounter(uint64_t* counter, uint64_t* frequency) {
  if (!hasCounter_) return false;
  *frequency = 1000000;
  *counter = clockMs_ * 1000;
  return true;
}

void HeadlessPlatform::Advance(uint64_t ms) {
  clockMs_ += ms;
  FeedAudioUntilNow();
}

void HeadlessPlatform::SetKey(int vk, bool down) { keys_.Set(vk, down); }

uint16_t HeadlessPlatform::KeyState(int vk) { return keys_.Read(vk); }

PlatformMessage HeadlessPlatform::NextMessage() {
  if (quitPosted_) return {PlatformMessageKind::Quit};
  if (!queued_.empty()) {
    PlatformMessage m = queued_.front();
    queued_.erase(queued_.begin());
    return m;
  }
  // Scripted input due before this timer message.
  while (scriptPos_ < script_.size() && script_[scriptPos_].tick <= timers_) {
    const ScriptedInput& e = script_[scriptPos_++];
    switch (e.kind) {
      case ScriptedInput::KeyDown: SetKey(e.a, true); break;
      case ScriptedInput::KeyUp: SetKey(e.a, false); break;
      case ScriptedInput::KeyPress:
        SetKey(e.a, true);
        SetKey(e.a, false);
        break;
      case ScriptedInput::StylusDown:
        return {PlatformMessageKind::StylusDown, e.a, e.b};
      case ScriptedInput::StylusUp:
        return {PlatformMessageKind::StylusUp, 0, 0};
      case ScriptedInput::Close:
        return {PlatformMessageKind::CloseCommand};
    }
  }
  if (options_.ticks >= 0 && timers_ >= options_.ticks) {
    // The run is over: close the way a player closing the window would.
    if (!closeSent_) {
      closeSent_ = true;
      return {PlatformMessageKind::CloseCommand};
    }
    return {PlatformMessageKind::Quit};
  }
  Advance(20);
  ++timers_;
  return {PlatformMessageKind::Timer};
}

bool HeadlessPlatform::Present(const uint16_t* frame) {
  memcpy(lastFrame_.data(), frame, 240 * 320 * sizeof(uint16_t));
  // The frame presented while handling timer message N (0-based) is shot N.
  int tick = timers_ - 1;
  ++presents_;
  for (const auto& shot : options_.shots) {
    if (shot.first == tick && !WriteShot(shot.second, frame))
      fprintf(stderr, "game: cannot write %s\n", shot.second.c_str());
  }
  return true;
}

void HeadlessPlatform::MessageBox(const std::string& title, const std::string& text) {
  boxes_.push_back(title + ": " + text);
  fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
}

bool HeadlessPlatform::OpenAudio(const AudioSpec& format, AudioFillCallback fill, void* user) {
  if (options_.nosound) return false;
  format_ = format;
  fill_ = fill;
  fillUser_ = user;
  audioPaused_ = true;
  nextBlockMs_ = clockMs_ + uint64_t(format.samples) * 1000 / uint64_t(format.rate);
  if (!options_.wavFile.empty() && !wav_) {
    wav_ = fopen(options_.wavFile.c_str(), "wb");
    if (!wav_) fprintf(stderr, "game: cannot write %s\n", options_.wavFile.c_str());
    if (wav_) {
      uint8_t header[44] = {};
      fwrite(header, 1, sizeof header, wav_);  // filled in when the device closes
    }
  }
  return true;
}

void HeadlessPlatform::FeedAudioUntilNow() {
  if (!fill_) return;
  uint64_t blockMs = uint64_t(format_.samples) * 1000 / uint64_t(format_.rate);
  std::vector<uint8_t> block(size_t(format_.samples) * 2 * size_t(format_.channels));
  while (clockMs_ >= nextBlockMs_) {
    nextBlockMs_ += blockMs;
    if (audioPaused_ || shownPaused_) continue;
    memset(block.data(), 0, block.size());
    fill_(fillUser_, block.data(), int(block.size()));
    ++blocksTaken_;
    if (wav_) {
      fwrite(block.data(), 1, block.size(), wav_);
      wavBytes_ += uint32_t(block.size());
    }
  }
}

void HeadlessPlatform::FinishWav() {
  if (!wav_) return;
  fseek(wav_, 0, SEEK_SET);
  fwrite("RIFF", 1, 4, wav_);
  PutLE(wav_, 36 + wavBytes_, 4);
  fwrite("WAVEfmt ", 1, 8, wav_);
  PutLE(wav_, 16, 4);
  PutLE(wav_, 1, 2);
  PutLE(wav_, uint32_t(format_.channels), 2);
  PutLE(wav_, uint32_t(format_.rate), 4);
  PutLE(wav_, uint32_t(format_.rate * format_.channels * 2), 4);
  PutLE(wav_, uint32_t(format_.channels * 2), 2);
  PutLE(wav_, 16, 2);
  fwrite("data", 1, 4, wav_);
  PutLE(wav_, wavBytes_, 4);
  fclose(wav_);
  wav_ = nullptr;
}

void HeadlessPlatform::CloseAudio() {
  fill_ = nullptr;
  FinishWav();
}

Platform* CreateHeadlessPlatform(const PlatformOptions& options) {
  auto* p = new HeadlessPlatform(options);
  if (!options.inputScript.empty()) {
    std::ifstream in(options.inputScript);
    if (!in) {
      fprintf(stderr, "game: cannot read input script %s\n", options.inputScript.c_str());
      delete p;
      return nullptr;
    }
    std::stringstream ss;
    ss << in.rdbuf();
    std::vector<ScriptedInput> script;
    std::string err;
    if (!ParseInputScript(ss.str(), &script, &err)) {
      fprintf(stderr, "game: %s\n", err.c_str());
      delete p;
      return nullptr;
    }
    p->SetScript(std::move(script));
  }
  return p;
}
