// The tape layout: encoding records and reading a whole tape back with every field checked.
#include <cstring>

#include "platform/replay/replay.h"

namespace {

void PutLE(std::string* out, uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out->push_back(char((v >> (8 * i)) & 0xFF));
}

uint64_t GetLE(const uint8_t* p, int bytes) {
  uint64_t v = 0;
  for (int i = 0; i < bytes; ++i) v |= uint64_t(p[i]) << (8 * i);
  return v;
}

// Bytes of the fields after the tag; -1 for a tag the format does not have.
int FieldBytes(uint8_t tag) {
  switch (TapeTag(tag)) {
    case TapeTag::Timer:
    case TapeTag::StylusUp:
    case TapeTag::Deactivated:
    case TapeTag::Activated:
    case TapeTag::CloseCommand:
    case TapeTag::About:
    case TapeTag::Quit:
    case TapeTag::NoClock: return 0;
    case TapeTag::StylusDown: return 8;
    case TapeTag::Key: return 3;
    case TapeTag::Clock: return 16;
  }
  return -1;
}

// Stylus positions are layout coordinates of a window; a tape from anywhere else is refused.
constexpr int32_t kMaxStylus = 1 << 15;
// The clock turns counters into milliseconds through a double; beyond 2^63 the conversion
// back to an integer would leave the range of the type.
constexpr uint64_t kMaxCounter = uint64_t(1) << 62;
constexpr uint64_t kMaxFrequency = uint64_t(1) << 40;

}  // namespace

std::string EncodeTapeHeader() {
  std::string out(kTapeMagic, sizeof kTapeMagic);
  PutLE(&out, kTapeVersion, 4);
  return out;
}

void EncodeTapeRecord(const TapeRecord& r, std::string* out) {
  out->push_back(char(r.tag));
  switch (r.tag) {
    case TapeTag::StylusDown:
      PutLE(out, uint32_t(r.x), 4);
      PutLE(out, uint32_t(r.y), 4);
      break;
    case TapeTag::Key:
      PutLE(out, uint32_t(r.x), 1);
      PutLE(out, uint32_t(r.y), 2);
      break;
    case TapeTag::Clock:
      PutLE(out, r.counter, 8);
      PutLE(out, r.frequency, 8);
      break;
    default: break;
  }
}

bool DecodeTape(const uint8_t* data, size_t size, std::vector<TapeRecord>* out, std::string* err) {
  out->clear();
  if (size > kTapeMaxBytes) {
    *err = "the tape is too large";
    return false;
  }
  if (size < kTapeHeaderBytes || memcmp(data, kTapeMagic, sizeof kTapeMagic) != 0) {
    *err = "not a recorded session";
    return false;
  }
  if (GetLE(data + 8, 4) != kTapeVersion) {
    *err = "a recording of another version";
    return false;
  }
  for (size_t at = kTapeHeaderBytes; at < size;) {
    const int bytes = FieldBytes(data[at]);
    if (bytes < 0) {
      *err = "unknown record at byte " + std::to_string(at);
      return false;
    }
    if (size - at - 1 < size_t(bytes)) {
      *err = "record cut short at byte " + std::to_string(at);
      return false;
    }
    TapeRecord r;
    r.tag = TapeTag(data[at]);
    const uint8_t* p = data + at + 1;
    bool ok = true;
    if (r.tag == TapeTag::StylusDown) {
      r.x = int32_t(uint32_t(GetLE(p, 4)));
      r.y = int32_t(uint32_t(GetLE(p + 4, 4)));
      ok = r.x > -kMaxStylus && r.x < kMaxStylus && r.y > -kMaxStylus && r.y < kMaxStylus;
    } else if (r.tag == TapeTag::Key) {
      r.x = int32_t(p[0]);
      r.y = int32_t(GetLE(p + 1, 2));
    } else if (r.tag == TapeTag::Clock) {
      r.counter = GetLE(p, 8);
      r.frequency = GetLE(p + 8, 8);
      ok = r.counter < kMaxCounter && r.frequency <= kMaxFrequency;
    }
    if (!ok) {
      *err = "value out of range at byte " + std::to_string(at);
      return false;
    }
    out->push_back(r);
    at += 1 + size_t(bytes);
  }
  return true;
}

uint32_t FrameChecksum(const uint16_t* frame) {
  uint32_t h = 2166136261u;
  for (int i = 0; i < kScreenWidth * kScreenHeight; ++i) {
    h = (h ^ (frame[i] & 0xFF)) * 16777619u;
    h = (h ^ (frame[i] >> 8)) * 16777619u;
  }
  return h;
}
