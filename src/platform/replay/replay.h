// Recording a session at the platform boundary and playing it back: the tape format and the
// two backends that wrap the real one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

// A tape is a header and a stream of records, each a tag byte and its little-endian fields,
// in the order the game asked the machine: the messages it took, the keys it read (only the
// answers that changed) and every clock reading, from which the step deltas follow. The game
// is a pure function of these answers, so handing them back replays the run exactly.
constexpr char kTapeMagic[8] = {'K', 'V', 'R', 'T', 'A', 'P', 'E', '1'};
constexpr uint32_t kTapeVersion = 1;
constexpr size_t kTapeHeaderBytes = 12;
constexpr size_t kTapeMaxBytes = size_t(1) << 30;  // about a week of play

enum class TapeTag : uint8_t {
  Timer = 'T',
  StylusDown = 'D',  // int32 x, int32 y
  StylusUp = 'U',
  Deactivated = 'A',
  Activated = 'F',   // the window is in front again (tapes made before it never hold one)
  CloseCommand = 'X',
  About = 'B',
  Quit = 'Q',
  Key = 'K',         // uint8 virtual-key code, uint16 answer
  Clock = 'C',       // uint64 counter, uint64 frequency
  NoClock = 'N',     // the machine has no performance counter
};

struct TapeRecord {
  TapeTag tag = TapeTag::Timer;
  int32_t x = 0, y = 0;         // stylus position; Key: code and answer
  uint64_t counter = 0, frequency = 0;
};

// Appends one record in the file layout.
void EncodeTapeRecord(const TapeRecord& record, std::string* out);
std::string EncodeTapeHeader();
// Reads a whole tape. False, with the reason in `err`, for anything that is not a tape this
// game wrote: a wrong header, an unknown tag, a record cut short, a value out of range.
bool DecodeTape(const uint8_t* data, size_t size, std::vector<TapeRecord>* out, std::string* err);

// FNV-1a over a frame's pixels: the frames of a run and its replay compare by this.
uint32_t FrameChecksum(const uint16_t* frame);

// Backends that own `inner` and answer the game through it. The recorder writes the tape to
// `file` as the session goes; the player refuses a file that is not a tape. Both return null
// (reason on stderr, `inner` deleted) when they cannot start, and report the frame count and
// the last frame's checksum on stderr when they end.
Platform* CreateRecordingPlatform(Platform* inner, const std::string& file);
Platform* CreateReplayPlatform(Platform* inner, const std::string& file);
