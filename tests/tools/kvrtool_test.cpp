// kvrtool end to end: every command reads its files by one rule, and what `play` writes holds
// the whole sound, up to its last sample.
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/core.h"
#include "sound/sound.h"
#include "test_support.h"

namespace {

// kvrtool's exit status; it runs in `cwd` when one is given.
int RunKvrtool(const std::string& args, const std::string& cwd = "") {
  std::string cmd = (cwd.empty() ? "" : "cd " + cwd + " && ") + std::string(KVRTOOL_PATH) + " " +
                    args + " >/dev/null 2>&1";
  int status = system(cmd.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(KvrtoolPlay, TheLastBlocksOfASoundAreTakenBeforeStopping) {
  ScratchDir dir;
  // A tone shorter than a block, one of exactly four blocks, a second, and 2.36 s.
  for (size_t length : {700u, 4u * kMixBlockSamples, 16000u, 37760u}) {
    std::vector<int16_t> tone(length, 9000);
    ASSERT_TRUE(WriteWavFile(dir.File("tone.wav").c_str(), tone.data(), tone.size()));
    ASSERT_EQ(RunKvrtool("play " + dir.File("tone.wav") + " " + dir.File("out.wav")), 0);
    const std::string out = dir.Read("out.wav");
    ASSERT_GE(out.size(), 44u);
    const size_t samples = (out.size() - 44) / 2;
    size_t sounding = 0;
    for (size_t i = 0; i < samples; ++i)
      sounding += ReadU16LE(reinterpret_cast<const uint8_t*>(out.data()) + 44 + 2 * i) != 0;
    // Every sample but the last (which a slot never plays) comes out, in whole blocks.
    EXPECT_EQ(sounding, length - 1) << length;
    EXPECT_LE(samples, length + 2 * kMixBlockSamples) << length;
  }
}

// A file named bare is read from the data directory, a path as given, in every command that
// reads one. kvrtool runs in a folder that holds no data, so nothing is found there by chance.
TEST(KvrtoolFiles, ABareNameIsADataFileAndAPathIsUsedAsGiven) {
  ScratchDir dir;
  const std::string data = GameDataDir() + "/", withData = "--data " + data + " ";
  dir.Write("story.txt", "A text of the player's own.\n");
  std::filesystem::copy_file(data + "player1.tdo", dir.File("craft.tdo"));
  const struct {
    std::string bare;  // run with --data, and without it (then it must fail)
    std::string path;
  } cases[] = {
      {"info 155", "info " + data + "155"},
      {"show sprite vomtal.spr out.png", "show sprite " + data + "vomtal.spr out.png"},
      {"show text font1.fnt Morvek out.png", "show text " + data + "font1.fnt Morvek out.png"},
      {"show sky sky_desert.spr 0 51000 out.png", "show sky " + data + "sky_desert.spr 0 51000 out.png"},

      {"show map map1_1.map out.png", "show map " + data + "map1_1.map out.png"},
      {"show form kvr.rsx FORMMAIN out.png", "show form " + data + "kvr.rsx FORMMAIN out.png"},
      {"play menu1.wav out.wav", "play " + data + "menu1.wav out.wav"},
      // The fonts and the math tables are the game's data; the story and the model, paths,
      // are the player's own.
      {"show scroll intro.txt out.png", withData + "show scroll ./story.txt out.png"},
      {"show model player1.tdo ents.tex out.png", withData + "show model ./craft.tdo ents.tex out.png"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bare);
    EXPECT_EQ(RunKvrtool(withData + c.bare, dir.path()), 0);
    EXPECT_EQ(RunKvrtool(c.path, dir.path()), 0);
    EXPECT_NE(RunKvrtool(c.bare, dir.path()), 0);
  }
}

}  // namespace
