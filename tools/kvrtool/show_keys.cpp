// kvrtool keys: the input-test screen in the game's window, which keys and controller buttons
// read as down, the action latches they set, the stylus and its latches, steps per second.
#include <cstdio>
#include <cstring>

#include "app/app.h"
#include "core/core.h"
#include "kvrtool.h"
#include "platform/platform.h"

namespace {

constexpr uint16_t Rgb(int r, int g, int b) { return uint16_t(r * 2048 + g * 64 + b); }

// Digits 0-9 as 3 x 5 bit patterns, rows top to bottom.
const uint8_t kDigits[10][5] = {{7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7},
                                {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1}, {7, 4, 7, 1, 7},
                                {7, 4, 7, 5, 7}, {7, 1, 1, 1, 1}, {7, 5, 7, 5, 7},
                                {7, 5, 7, 1, 7}};

void Fill(uint16_t* f, int x, int y, int w, int h, uint16_t c) {
  for (int j = y < 0 ? 0 : y; j < y + h && j < 320; ++j)
    for (int i = x < 0 ? 0 : x; i < x + w && i < 240; ++i) f[j * 240 + i] = c;
}

void Frame(uint16_t* f, int x, int y, int w, int h, uint16_t c) {
  Fill(f, x, y, w, 1, c);
  Fill(f, x, y + h - 1, w, 1, c);
  Fill(f, x, y, 1, h, c);
  Fill(f, x + w - 1, y, 1, h, c);
}

// A number in 3 x 5 digits scaled by `s`.
void Number(uint16_t* f, int x, int y, int value, int s, uint16_t c) {
  char text[12];
  int n = snprintf(text, sizeof text, "%d", value < 0 ? 0 : value);
  for (int k = 0; k < n; ++k) {
    const uint8_t* d = kDigits[text[k] - '0'];
    for (int row = 0; row < 5; ++row)
      for (int col = 0; col < 3; ++col)
        if (d[row] & (4 >> col)) Fill(f, x + (k * 4 + col) * s, y + row * s, s, s, c);
  }
}

class InputTestScreen : public GameHooks {
 public:
  void Initialise(uint32_t, uint16_t*) override { Input.inputEnabled = 1; }

  bool Update(uint16_t*, int32_t) override {
    ++stepsThisSecond_;
    uint32_t now = ClockMs();
    if (now - secondStart_ >= 1000) {
      stepsPerSecond_ = stepsThisSecond_;
      stepsThisSecond_ = 0;
      secondStart_ = now;
    }
    return Input.quitRequest == 0;
  }

  void Render(uint16_t* f) override {
    const uint16_t bg = Rgb(2, 3, 6), grid = Rgb(6, 8, 12), lit = Rgb(8, 31, 10);
    for (int i = 0; i < 240 * 320; ++i) f[i] = bg;
    // Steps per second, top left; a ruler of 25 marks shows the nominal rate.
    Number(f, 8, 8, stepsPerSecond_, 3, Rgb(31, 31, 31));
    for (int k = 0; k < 25; ++k)
      Fill(f, 80 + k * 6, 12, 4, 8, k < stepsPerSecond_ ? lit : grid);
    // Keys down, 16 x 16 cells by virtual-key code, row = high nibble.
    for (int code = 0; code < 256; ++code) {
      int x = 8 + (code & 15) * 14, y = 36 + (code >> 4) * 14;
      Fill(f, x, y, 12, 12, KeyTable[code] ? lit : grid);
    }
    // Action latches, slots 0-16: current above, previous below.
    for (int slot = 0; slot < kLatchCount; ++slot) {
      int x = 8 + slot * 13;
      Fill(f, x, 270, 11, 8, Input.action[slot].current ? Rgb(31, 28, 4) : grid);
      Fill(f, x, 280, 11, 8, Input.action[slot].previous ? Rgb(24, 16, 2) : grid);
    }
    // Stylus latches: down, previous down, up, previous up.
    const uint8_t latches[4] = {Input.stylusDown, Input.stylusPrevDown, Input.stylusUp,
                                Input.stylusPrevUp};
    for (int k = 0; k < 4; ++k) Fill(f, 8 + k * 16, 296, 12, 12, latches[k] ? Rgb(31, 8, 8) : grid);
    Number(f, 80, 298, Input.stylusX, 2, Rgb(20, 24, 31));
    Number(f, 150, 298, Input.stylusY, 2, Rgb(20, 24, 31));
    // The stylus position as a cross.
    uint16_t cross = Input.stylusDown ? Rgb(31, 8, 8) : Rgb(31, 31, 31);
    Fill(f, Input.stylusX - 6, Input.stylusY, 13, 1, cross);
    Fill(f, Input.stylusX, Input.stylusY - 6, 1, 13, cross);
    Frame(f, 0, 0, 240, 320, grid);
  }

  void Shutdown() override {}

 private:
  int stepsThisSecond_ = 0;
  int stepsPerSecond_ = 0;
  uint32_t secondStart_ = 0;
};

}  // namespace

int ShowKeys(const Args& args) {
  // The words after "keys" are the game's own desktop options (--scale, --headless, ...).
  std::vector<std::string> words = {"kvrtool"};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  PlatformOptions options;
  std::string out, err;
  const int parsed = ParsePlatformOptions(int(argv.size()), argv.data(), &options, &out, &err);
  if (parsed != 0) {
    fputs(parsed == 2 ? out.c_str() : (err + "\n").c_str(), parsed == 2 ? stdout : stderr);
    return parsed == 2 ? 0 : 2;
  }
  // The latches follow the bindings of the settings file beside the data.
  Settings settings;
  ReadSettings(&settings, &Bindings);
  Platform* previous = CurrentPlatform();
  Platform* platform =
      options.headless ? CreateHeadlessPlatform(options) : CreateWindowPlatform(options);
  if (!platform) return 1;
  InputTestScreen screen;
  const int status = RunShell(platform, &screen);
  SetCurrentPlatform(previous);
  delete platform;
  return status;
}
