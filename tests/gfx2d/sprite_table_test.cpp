// The sprite table: names, sharing and releases, the full table, the JPEG hook, file reading.
#include <tuple>

#include "gfx2d_test_util.h"

namespace {

using SpriteTableTest = Gfx2DFixture;

// A name of 28 characters loads; a longer one, one too short for a name and ".spr", a
// missing file and a name leaving the data directory are refused, logged as they come.
TEST_F(SpriteTableTest, NamesUpToTwentyEightCharactersLoadOthersAreRefused) {
  const std::string ok = std::string(24, 'a') + ".spr", tooLong = std::string(25, 'b') + ".spr";
  EXPECT_EQ(Load(ok, SprFill(1, 1, 0)), 0);
  EXPECT_EQ(g->sprites[0].name, ok);
  EXPECT_EQ(Load(tooLong, SprFill(1, 1, 0)), -1);
  EXPECT_EQ(Load("a.sp", SprFill(1, 1, 0)), -1);
  EXPECT_EQ(g->LoadSprite("nothing.spr"), -1);
  EXPECT_EQ(dir.Log(), "sprite filename > 28 chars: " + tooLong + "\nspr name error\n"
                       "Error opening sprite file: nothing.spr\n");
  EXPECT_EQ(g->LoadSprite(""), -1);
  EXPECT_EQ(g->LoadSprite("../up.spr"), -1);
}

TEST_F(SpriteTableTest, SameNameIsSharedAndNeedsOneReleasePerLoad) {
  dir.Write("a.spr", SprFill(2, 2, 0));
  dir.Write("b.spr", SprFill(2, 2, 0));
  EXPECT_EQ(g->LoadSprite("a.spr"), 0);
  EXPECT_EQ(g->LoadSprite("b.spr"), 1);
  EXPECT_EQ(g->LoadSprite("a.spr"), 0);
  EXPECT_EQ(g->sprites[0].refs, 1);
  EXPECT_EQ(g->LoadSprite("A.spr"), -1);  // names match case-sensitively
  dir.Write("log.txt", "");

  EXPECT_EQ(g->ReleaseSprite(0), 1);
  EXPECT_EQ(g->sprites[0].inUse, 1);
  EXPECT_EQ(g->ReleaseSprite(0), 1);
  EXPECT_EQ(g->sprites[0].inUse, 0);
  EXPECT_EQ(g->SpriteBlock(0), nullptr);
  EXPECT_EQ(g->ReleaseSprite(0), 0);  // a freed slot is not freed again
  EXPECT_EQ(g->ReleaseSprite(-1), 0);

  EXPECT_EQ(g->LoadSprite("b.spr"), 1);  // still shared
  EXPECT_EQ(g->LoadSprite("a.spr"), 0);  // reloaded into the lowest free slot
  EXPECT_EQ(g->AddSpriteRef(0), 0);
  EXPECT_EQ(g->sprites[0].refs, 1);
  EXPECT_EQ(g->AddSpriteRef(5), -1);
  EXPECT_EQ(dir.Log(), "");
}

TEST_F(SpriteTableTest, TwoHundredFirstSpriteFindsNoSlot) {
  for (int i = 0; i < kMaxSprites; ++i) {
    std::string name = "s" + std::to_string(i) + ".spr";
    ASSERT_EQ(Load(name, SprFill(1, 1, 0)), i);
  }
  // Sharing still works on a full table, wherever the last name was found: each search
  // starts past it and comes round.
  for (int slot : {7, 199, 0, 198, 6, 7}) {
    const std::string name = "s" + std::to_string(slot) + ".spr";
    EXPECT_EQ(g->LoadSprite(name.c_str()), slot);
  }
  EXPECT_EQ(Load("one_more.spr", SprFill(1, 1, 0)), -1);
  EXPECT_EQ(dir.Log(), "No more sprite slots available.\n");
  // The checks run in order: name length, sharing, a free slot, then the short name.
  dir.Write("log.txt", "");
  EXPECT_EQ(g->LoadSprite("a.sp"), -1);
  EXPECT_EQ(g->LoadSprite(std::string(29, 'n').c_str()), -1);
  EXPECT_EQ(dir.Log(), "No more sprite slots available.\nsprite filename > 28 chars: " +
                           std::string(29, 'n') + "\n");
}

TEST_F(SpriteTableTest, OnlyLowerAndUpperJpgGoToTheJpegLoader) {
  // Each file is a valid .spr: only the JPEG path can refuse it.
  for (const char* name : {"pic.jpg", "pic.JPG", "pic.Jpg"}) dir.Write(name, SprFill(2, 2, 0));
  EXPECT_EQ(g->LoadSprite("pic.jpg"), -1);
  EXPECT_EQ(g->LoadSprite("pic.JPG"), -1);
  EXPECT_EQ(g->LoadSprite("pic.Jpg"), 0);
  EXPECT_EQ(std::make_tuple(g->sprites[0].inUse, g->sprites[1].inUse), std::make_tuple(1, 0));
}

TEST_F(SpriteTableTest, FilePixelsExchangeRedAndBlue) {
  // Seven pixels: four go through the word-at-a-time path, three through the one after it.
  int32_t s = Load("px.spr", SprFile(7, 1, {0x001F, 0xF800, 0x07E0, 0x1234,  //
                                            0xFFFF, 0x8001, 0x0820}));
  ASSERT_EQ(s, 0);
  const uint16_t* px = SpritePixels(g->SpriteBlock(s));
  EXPECT_EQ(std::vector<uint16_t>(px, px + 7),
            (std::vector<uint16_t>{0xF800, 0x001F, 0x07C0, 0xA202,  // file bit 5 dropped
                                   0xFFDF, 0x0810, 0x0001}));
  int32_t w = -1, h = -1;
  g->GetSpriteSize(s, &w, &h);
  EXPECT_EQ(std::make_pair(w, h), std::make_pair(7, 1));
  g->ClearSprite(s);
  EXPECT_EQ(std::vector<uint16_t>(px, px + 7), std::vector<uint16_t>(7, 0));
  g->GetSpriteSize(-1, &w, &h);
  EXPECT_EQ(w, 0);
}

TEST_F(SpriteTableTest, FileShorterThanItsHeaderClaimsIsRefused) {
  std::string bytes = SprFill(4, 4, 0x1234);
  bytes.pop_back();
  for (const auto& [name, file] :
       {std::pair{"short.spr", bytes}, {"tiny.spr", "\x01\x00"}, {"empty.spr", ""}}) {
    EXPECT_EQ(Load(name, file), -1) << name;
    EXPECT_EQ(dir.Log(), "Error reading from sprite file.\n") << name;
    EXPECT_EQ(g->sprites[0].inUse, 0);
    dir.Write("log.txt", "");
  }
  dir.Write("log.txt", "");
  // Bytes past the last pixel are kept and ignored.
  EXPECT_EQ(Load("long.spr", SprFill(1, 1, 0) + "extra"), 0);
  EXPECT_EQ(dir.Log(), "");
}

}  // namespace
