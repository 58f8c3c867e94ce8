// Fuzz target: arbitrary bytes as a recorded session. A tape that decodes must encode back to
// the same bytes, and playing it back through the replay backend must end in a bounded number
// of messages whatever the game asks.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "platform/replay/replay.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<TapeRecord> tape;
  std::string err;
  const bool ok = DecodeTape(data, size, &tape, &err);
  if (ok) {
    std::string bytes = EncodeTapeHeader();
    for (const TapeRecord& r : tape) EncodeTapeRecord(r, &bytes);
    if (bytes.size() != size || memcmp(bytes.data(), data, size) != 0) abort();
  } else if (err.empty()) {
    abort();  // a refusal always says why
  }

  if (!PutFuzzFile("fuzz.tape", data, size)) return 0;
  PlatformOptions options;
  options.headless = true;
  options.nosound = true;
  Platform* p = CreateReplayPlatform(CreateHeadlessPlatform(options),
                                     FuzzScratchDir() + "/fuzz.tape");
  if ((p != nullptr) != ok) abort();
  if (!p) return 0;
  // A run asks for the clock and some keys at every timer message, as the frame loop does.
  size_t messages = 0;
  for (;; ++messages) {
    if (messages > tape.size() + 2) abort();  // every message takes a record, or ends the tape
    PlatformMessage m = p->NextMessage();
    if (m.kind == PlatformMessageKind::Quit) break;
    if (m.kind == PlatformMessageKind::CloseCommand) p->PostQuit();
    uint64_t counter, frequency;
    p->PerformanceCounter(&counter, &frequency);
    for (int vk : {0x0D, 0x25, 0x26, 0x27, 0x28, 0x20}) p->KeyState(vk);
  }
  delete p;
  return 0;
}
