// What the player sees of a frame: 5-6-5 pixels widened to 8-8-8 on screen and in PNG shots,
// and the command-line limits of the window.
#include <string>
#include <tuple>
#include <vector>

#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "test_support.h"

namespace {

// Each field keeps its bits and repeats its top bits below them; green has six. A shot holds
// exactly these.
const struct {
  uint16_t pixel;
  uint32_t rgb;
} kColours[] = {
    {0x0000, 0x000000}, {0xFFFF, 0xFFFFFF}, {0xF800, 0xFF0000}, {0x07E0, 0x00FF00},
    {0x001F, 0x0000FF}, {0x07C0, 0x00FB00},  // the game's own green: bit 5 clear
    {0xFFDF, 0xFFFBFF},                      // the game's white
    {0x0020, 0x000400},                      // a half blend's lowest green bit alone
    {0x0841, 0x080808}, {0x8410, 0x848284}, {0x7BEF, 0x7B7D7B},
};

TEST(Display, AShotHoldsEveryPixelByValue) {
  ScratchDir dir;
  std::vector<uint16_t> frame(240 * 320);
  for (size_t i = 0; i < frame.size(); ++i) frame[i] = uint16_t(i * 7919);
  std::size_t n = 0;
  for (const auto& c : kColours) frame[n++ * 241] = c.pixel;  // down the diagonal
  ASSERT_TRUE(WritePng565(dir.File("shot.png"), frame.data(), 240, 320));
  const RgbImage shot = ReadRgbImage(dir.File("shot.png"));
  ASSERT_EQ(shot.width, 240);
  ASSERT_EQ(shot.height, 320);
  const std::vector<uint32_t>& rgb = shot.pixels;
  for (size_t i = 0; i < frame.size(); ++i) ASSERT_EQ(rgb[i], Rgb888From565(frame[i])) << i;
  for (size_t k = 0; k < n; ++k) EXPECT_EQ(rgb[k * 241], kColours[k].rgb) << k;
  EXPECT_FALSE(WritePng565(dir.File("no/such/dir.png"), frame.data(), 240, 320));
}

TEST(Display, ShotNIsTheFramePresentedAtTimerMessageN) {
  ScratchDir dir;
  PlatformOptions o;
  o.shots = {{1, dir.File("one.png")}};
  HeadlessPlatform platform(o);
  std::vector<uint16_t> frame(240 * 320, 0);
  for (uint16_t colour : {uint16_t(0x001F), uint16_t(0xF800)}) {  // messages 0 and 1
    ASSERT_EQ(platform.NextMessage().kind, PlatformMessageKind::Timer);
    frame[0] = colour;
    platform.Present(frame.data());
  }
  const RgbImage shot = ReadRgbImage(dir.File("one.png"));
  ASSERT_EQ(shot.pixels.size(), frame.size());
  EXPECT_EQ(shot.At(0, 0), 0xFF0000u);
}

TEST(Display, CommandLineLimitsAtAndPastTheirEdges) {
  const struct {
    std::vector<std::string> args;
    int result;
  } cases[] = {
      {{"--scale", "1"}, 0},     {{"--scale", "16"}, 0},    {{"--scale", "0"}, 1},
      {{"--scale", "17"}, 1},    {{"--scale", "2x"}, 1},    {{"--scale"}, 1},
      {{"--ticks", "0"}, 0},     {{"--ticks", "-1"}, 1},    {{"--shot", "0:a.png"}, 0},
      {{"--shot", "-1:a.png"}, 1}, {{"--shot", "5:"}, 1},   {{"--shot", "5"}, 1},
      {{"--help"}, 2},           {{"--version"}, 2},        {{"--frobnicate"}, 1},
  };
  for (const auto& c : cases) {
    std::vector<char*> argv{const_cast<char*>("game")};
    for (const std::string& a : c.args) argv.push_back(const_cast<char*>(a.c_str()));
    PlatformOptions o;
    std::string out, err;
    EXPECT_EQ(ParsePlatformOptions(int(argv.size()), argv.data(), &o, &out, &err), c.result)
        << c.args[0] << " " << (c.args.size() > 1 ? c.args[1] : "");
  }
  PlatformOptions o;
  std::string out, err;
  char* argv[] = {const_cast<char*>("game"), const_cast<char*>("--shot"), const_cast<char*>("7:x.png"),
                  const_cast<char*>("--scale"), const_cast<char*>("16")};
  ASSERT_EQ(ParsePlatformOptions(5, argv, &o, &out, &err), 0);
  EXPECT_EQ(std::make_tuple(o.scale, o.headless, o.shots),
            std::make_tuple(16, true, std::vector<std::pair<int, std::string>>{{7, "x.png"}}));
}

}  // namespace
