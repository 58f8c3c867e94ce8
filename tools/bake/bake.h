// Shared pieces of the content compiler: where to write and how.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct BakeContext {
  std::string outDir;      // the game directory, with a trailing '/'
  std::string contentDir;  // content/ sources, with a trailing '/'
};

using Bytes = std::vector<uint8_t>;

// Writes a data file into the game directory; false (and a message on stderr) on failure.
bool WriteOut(const BakeContext& ctx, const std::string& name, const Bytes& bytes);
bool WriteOutText(const BakeContext& ctx, const std::string& name, const std::string& text);
// Reads a content source file; false when missing.
bool ReadSource(const BakeContext& ctx, const std::string& name, std::string* text);

void PutU16LE(Bytes& b, uint16_t v);
void PutU32LE(Bytes& b, uint32_t v);
void PutU16BE(Bytes& b, uint16_t v);
void PutU32BE(Bytes& b, uint32_t v);

// The bake steps, one per kind of content; each writes its files and returns false on failure.
bool BakeMathTables(const BakeContext& ctx);
bool BakeFonts(const BakeContext& ctx);    // font1.fnt .. font3.fnt
bool BakeSprites(const BakeContext& ctx);  // the splash vomtal.spr
bool BakeSkies(const BakeContext& ctx);    // the sky panoramas sky_*.spr
bool BakeInstaller(const BakeContext& ctx);  // setup.ini, license.txt, setup.png
bool BakeStory(const BakeContext& ctx);     // intro.txt, final.txt
bool BakeSettings(const BakeContext& ctx);  // kvr.ini, only where none exists yet
bool BakeJpegPictures(const BakeContext& ctx);  // menuback.jpg, the main menu's backdrop
bool BakeTextures(const BakeContext& ctx);   // ents.tex, map1.tex
bool BakeModels(const BakeContext& ctx);     // player1.tdo and its key frames
bool BakeSounds(const BakeContext& ctx);  // the sound effects *.wav
bool BakeMusic(const BakeContext& ctx);   // intro.mmd and its instruments intro_p1..p3.wav
bool BakeForms(const BakeContext& ctx);   // kvr.rsx and the sprites of its forms
bool BakeWeaponArt(const BakeContext& ctx);  // rocket.tdo and the shots' flip-books
bool BakeExplosions(const BakeContext& ctx);  // expl_w_smoke_002.spr .. expl_w_smoke_032.spr
bool BakeMaps(const BakeContext& ctx);    // NAME.map and NAME.ent from content/maps/NAME.txt
