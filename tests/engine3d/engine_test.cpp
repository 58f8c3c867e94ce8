// Engine creation, visibility and texture packs with their reversed look-up table.
#include <filesystem>
#include <tuple>

#include "engine_fixture.h"
#include "gfx2d/gfx2d.h"

namespace {

using EngineCreateTest = EngineTest;

std::string PackBytes(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < 131072 && i < size; ++i) bytes[i] = char(i * 7);
  // File entry k is table entry 16383 - k; entry 0 of the file is 0x001F (red 31).
  if (size > 131073) bytes[131072] = 0x00, bytes[131073] = 0x1F;
  // The last file entry becomes table entry 0: blue 31 (bits 10-14).
  if (size >= 163840) bytes[163838] = 0x7C, bytes[163839] = 0x00;
  return bytes;
}

TEST_F(EngineCreateTest, ViewportIsKeptInsideTheFrame) {
  Engine3D e;
  ASSERT_EQ(e.Create(nullptr, "V", 200, -10, 100, 50), 1);
  EXPECT_EQ(std::make_tuple(e.x0, e.x1, e.y0, e.y1, e.viewWidth), std::make_tuple(200, 240, 0, 40, 40));
  e.Destroy();
}

TEST_F(EngineCreateTest, MissingOrShortReciprocalTableFailsCreate) {
  std::filesystem::remove(dir.File("148"));
  Engine3D missing;
  EXPECT_EQ(missing.Create(nullptr, "V", 0, 0, 240, 320), 0);
  EXPECT_EQ(missing.ready, 0);
  missing.DrawFrame(FrameBuffer);  // does nothing
  missing.Destroy();
  dir.Write("148", std::string(100, '\1'));
  Engine3D shortTable;
  EXPECT_EQ(shortTable.Create(nullptr, "V", 0, 0, 240, 320), 0);
  shortTable.Destroy();
  EXPECT_EQ(dir.Log(), "Error loading 148\nError reading from 148\n");
}

TEST_F(EngineCreateTest, VisibilityIsClampedAndFogFollows) {
  const int32_t cases[][3] = {{1999, 2000, 1200}, {2000, 2000, 1200}, {3000, 3000, 2200},
                              {4000, 4000, 3200}, {4001, 4000, 3200}};
  for (const auto& c : cases) {
    engine->SetVisibility(c[0]);
    EXPECT_EQ(engine->visibility, c[1]) << c[0];
    EXPECT_EQ(engine->fogStart, c[2]) << c[0];
  }
}

// A whole pack: textures, then the colour table read back to front. A short pack is logged;
// one with its textures but no table is loaded and reported as a failure; entries missing
// at the table's end are zero, each logged.
TEST_F(EngineCreateTest, TexturePacksAndTheirReversedTable) {
  dir.Write("p.tex", PackBytes(kTexPackBytes));
  EXPECT_EQ(engine->LoadTexturePack("p.tex", kBankEntities), 1);
  EXPECT_EQ(dir.Log(), "");
  // Texels of the first and last texture, both ends of the table; the other bank untouched.
  EXPECT_EQ(std::make_tuple(engine->textures[1][0][5], engine->textures[1][31][4095], engine->luts[1][16383],
                            engine->luts[1][0], engine->textures[0][0][5]),
            std::make_tuple(35, uint8_t((31 * 4096 + 4095) * 7), 0xF800, MakeColour(0, 0, 31), 0));

  EXPECT_EQ(engine->LoadTexturePack("none.tex", kBankMap), 0);
  dir.Write("short.tex", PackBytes(4096 * 31 + 10));
  EXPECT_EQ(engine->LoadTexturePack("short.tex", kBankMap), 0);
  EXPECT_EQ(dir.Log(), "Error loading tex pack none.tex\nError reading from textures.dat\n");
  dir.Write("log.txt", "");
  dir.Write("p.tex", PackBytes(163840));  // textures and no table: loaded, but 0
  EXPECT_EQ(engine->LoadTexturePack("p.tex", kBankMap), 0);
  EXPECT_EQ(std::make_tuple(engine->textures[0][0][5], engine->luts[0][16383]), std::make_tuple(35, 0xF800));

  dir.Write("full.tex", PackBytes(kTexPackBytes));
  ASSERT_EQ(engine->LoadTexturePack("full.tex", kBankMap), 1);
  dir.Write("log.txt", "");
  // Two entries short: table entries 1 and 0 are missing.
  dir.Write("cut.tex", PackBytes(kTexPackBytes).substr(0, 131072 + 32768 - 4));
  EXPECT_EQ(engine->LoadTexturePack("cut.tex", kBankMap), 0);
  EXPECT_EQ(dir.Log(), "Error loading lut\nError loading lut\n");
  EXPECT_EQ(std::make_tuple(engine->luts[0][0], engine->luts[0][1], engine->luts[0][16383]),
            std::make_tuple(0, 0, 0xF800));
}

}  // namespace
