// The recording and the replaying backend: each wraps the real one (window or headless).
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>

#include "platform/replay/replay.h"

namespace {

// Both count the frames presented and keep the last one's checksum, for the end-of-run line.
class TapePlatform : public WrappingPlatform {
 public:
  explicit TapePlatform(Platform* inner) : WrappingPlatform(inner) {}
  bool Present(const uint16_t* frame) override {
    ++frames_;
    lastChecksum_ = FrameChecksum(frame);
    return inner_->Present(frame);
  }

 protected:
  long frames_ = 0;
  uint32_t lastChecksum_ = 0;
};

TapeTag TagOf(PlatformMessageKind kind) {
  switch (kind) {
    case PlatformMessageKind::Timer: return TapeTag::Timer;
    case PlatformMessageKind::StylusDown: return TapeTag::StylusDown;
    case PlatformMessageKind::StylusUp: return TapeTag::StylusUp;
    case PlatformMessageKind::Deactivated: return TapeTag::Deactivated;
    case PlatformMessageKind::CloseCommand: return TapeTag::CloseCommand;
    case PlatformMessageKind::About: return TapeTag::About;
    case PlatformMessageKind::Activated: return TapeTag::Activated;
    case PlatformMessageKind::Quit: break;
  }
  return TapeTag::Quit;
}

class RecordingPlatform : public TapePlatform {
 public:
  RecordingPlatform(Platform* inner, FILE* file) : TapePlatform(inner), file_(file) {
    buffer_ = EncodeTapeHeader();
  }
  ~RecordingPlatform() override {
    Flush();
    if (fflush(file_) != 0 || fclose(file_) != 0) fprintf(stderr, "game: the recording is incomplete\n");
    fprintf(stderr, "game: recorded %ld frames, last frame %08x\n", frames_,
            unsigned(lastChecksum_));
  }

  PlatformMessage NextMessage() override {
    PlatformMessage m = inner_->NextMessage();
    // Quit repeats for ever once the loop is over; the tape keeps the first.
    if (m.kind != PlatformMessageKind::Quit || !quitTaken_) {
      TapeRecord r;
      r.tag = TagOf(m.kind);
      r.x = m.x;
      r.y = m.y;
      Put(r);
    }
    if (m.kind == PlatformMessageKind::Quit) quitTaken_ = true;
    return m;
  }

  uint16_t KeyState(int vk) override {
    const uint16_t v = inner_->KeyState(vk);
    if (vk >= 0 && vk < 256 && v != keys_[vk]) {
      keys_[vk] = v;
      TapeRecord r;
      r.tag = TapeTag::Key;
      r.x = vk;
      r.y = v;
      Put(r);
    }
    return v;
  }

  bool PerformanceCounter(uint64_t* counter, uint64_t* frequency) override {
    const bool ok = inner_->PerformanceCounter(counter, frequency);
    TapeRecord r;
    r.tag = ok ? TapeTag::Clock : TapeTag::NoClock;
    if (ok) {
      r.counter = *counter;
      r.frequency = *frequency;
    }
    Put(r);
    return ok;
  }

 private:
  void Put(const TapeRecord& r) {
    EncodeTapeRecord(r, &buffer_);
    if (buffer_.size() >= 1 << 16) Flush();
  }
  void Flush() {
    if (!buffer_.empty() && fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size())
      fprintf(stderr, "game: cannot write the recording\n");
    buffer_.clear();
  }

  FILE* file_;
  std::string buffer_;
  uint16_t keys_[256] = {};
  bool quitTaken_ = false;
};

class ReplayPlatform : public TapePlatform {
 public:
  ReplayPlatform(Platform* inner, std::vector<TapeRecord> tape)
      : TapePlatform(inner), tape_(std::move(tape)) {}
  ~ReplayPlatform() override {
    fprintf(stderr, "game: replayed %ld frames, last frame %08x%s\n", frames_,
            unsigned(lastChecksum_), diverged_ ? ", after the run left the recording" : "");
  }

  PlatformMessage NextMessage() override {
    if (quit_) return {PlatformMessageKind::Quit};
    if (diverged_ || next_ >= tape_.size()) {
      // The tape is over: close the way the player would.
      if (!closeSent_) {
        closeSent_ = true;
        return {PlatformMessageKind::CloseCommand};
      }
      return {PlatformMessageKind::Quit};
    }
    const TapeRecord& r = tape_[next_];
    switch (r.tag) {
      case TapeTag::Timer: {
        // The real backend paces the replay; its own input is not the player's here.
        for (;;) {
          PlatformMessage m = inner_->NextMessage();
          if (m.kind == PlatformMessageKind::Timer) break;
          if (m.kind == PlatformMessageKind::Quit || m.kind == PlatformMessageKind::CloseCommand)
            return m;
        }
        ++next_;
        return {PlatformMessageKind::Timer};
      }
      case TapeTag::StylusDown: ++next_; return {PlatformMessageKind::StylusDown, r.x, r.y};
      case TapeTag::StylusUp: ++next_; return {PlatformMessageKind::StylusUp};
      case TapeTag::Deactivated: ++next_; return {PlatformMessageKind::Deactivated};
      case TapeTag::Activated: ++next_; return {PlatformMessageKind::Activated};
      case TapeTag::CloseCommand: ++next_; return {PlatformMessageKind::CloseCommand};
      case TapeTag::About: ++next_; return {PlatformMessageKind::About};
      case TapeTag::Quit:
        ++next_;
        quit_ = true;
        inner_->PostQuit();
        return {PlatformMessageKind::Quit};
      default:
        Diverge("a message");
        return NextMessage();
    }
  }

  void PostQuit() override {
    quit_ = true;
    inner_->PostQuit();
  }

  uint16_t KeyState(int vk) override {
    if (vk < 0 || vk >= 256) return 0;
    if (!diverged_ && next_ < tape_.size() && tape_[next_].tag == TapeTag::Key &&
        tape_[next_].x == vk) {
      keys_[vk] = uint16_t(tape_[next_].y);
      ++next_;
    }
    return keys_[vk];
  }

  bool PerformanceCounter(uint64_t* counter, uint64_t* frequency) override {
    if (!diverged_ && next_ < tape_.size()) {
      const TapeRecord& r = tape_[next_];
      if (r.tag == TapeTag::Clock || r.tag == TapeTag::NoClock) {
        ++next_;
        if (r.tag == TapeTag::NoClock) return false;
        lastCounter_ = r.counter;
        lastFrequency_ = r.frequency;
        *counter = r.counter;
        *frequency = r.frequency;
        return true;
      }
    }
    if (!diverged_ && next_ < tape_.size()) Diverge("a clock reading");
    // Past the tape the clock stands still, so nothing more happens before the close.
    *counter = lastCounter_;
    *frequency = lastFrequency_;
    return lastFrequency_ != 0;
  }

 private:
  void Diverge(const char* what) {
    fprintf(stderr, "game: the replay asked for %s where the recording holds record %zu\n", what,
            next_);
    diverged_ = true;
  }

  std::vector<TapeRecord> tape_;
  size_t next_ = 0;
  uint16_t keys_[256] = {};
  uint64_t lastCounter_ = 0, lastFrequency_ = 0;
  bool quit_ = false, closeSent_ = false, diverged_ = false;
};

}  // namespace

Platform* CreateRecordingPlatform(Platform* inner, const std::string& file) {
  FILE* f = fopen(file.c_str(), "wb");
  if (!f) {
    fprintf(stderr, "game: cannot write the recording %s\n", file.c_str());
    delete inner;
    return nullptr;
  }
  return new RecordingPlatform(inner, f);
}

Platform* CreateReplayPlatform(Platform* inner, const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<uint8_t> bytes;
  if (in) {
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    in.seekg(0);
    if (size >= 0 && uint64_t(size) <= kTapeMaxBytes) {
      bytes.resize(size_t(size));
      in.read(reinterpret_cast<char*>(bytes.data()), size);
      if (!in) bytes.clear();
    }
  }
  std::vector<TapeRecord> tape;
  std::string err = "cannot read it";
  if (!in || !DecodeTape(bytes.data(), bytes.size(), &tape, &err)) {
    fprintf(stderr, "game: cannot replay %s: %s\n", file.c_str(), err.c_str());
    delete inner;
    return nullptr;
  }
  return new ReplayPlatform(inner, std::move(tape));
}
