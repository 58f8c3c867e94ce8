// Shared pieces of kvrtool: the command table and output helpers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/core.h"
#include "gfx2d/gfx2d.h"

using Args = std::vector<std::string>;

// A command gets the words after its name; returns the process exit status.
struct ToolCommand {
  const char* verb;     // "show", "info", "music", ...
  const char* object;   // second word for "show" (sprite, text, ...), else null
  const char* usage;
  int (*run)(const Args& args);
};

// Writes the 240 x 320 frame buffer to a PNG; prints an error and returns false on failure.
bool SaveFramePng(const std::string& path);

// File arguments follow one rule in every command: a bare name (no '/') is a data file, read
// from the data directory (--data DIR, else the current folder); a path is used as given.
// Output files are written where they are named.
// The path to open for a file argument.
std::string InputPath(const std::string& arg);

// Runs `load` with the data directory pointed at the folder of `arg` when it is a path,
// handing it the bare file name (the game's loaders only open names); a bare name is loaded
// from the data directory as it stands.
template <typename Load>
auto WithFileDirectory(const std::string& arg, Load load) {
  const std::string saved = ExeDir;
  const size_t slash = arg.find_last_of('/');
  if (slash != std::string::npos) SetExeDir(arg.substr(0, slash + 1).c_str());
  auto result = load(slash == std::string::npos ? arg : arg.substr(slash + 1));
  SetExeDir(saved.c_str());
  return result;
}

// Looks in args for "--name VALUE"; returns fallback when absent.
std::string OptionValue(const Args& args, const std::string& name, const std::string& fallback);
// args without any "--name VALUE" pairs.
Args Positional(const Args& args);
bool EndsWith(const std::string& s, const std::string& tail);
// Copies the lines of log.txt in the data directory to stderr, each after "log: ".
void ReportLog();

int InfoFile(const Args& args);  // kvrtool info FILE: dispatches on the file's kind
// Per-kind info printers: return true when they recognised the file.
bool InfoMathTable(const std::string& name, const std::vector<unsigned char>& bytes);

// 2D: sprites, fonts, skies drawn by the game's own code (show_2d.cpp).
int ShowSprite(const Args& args);  // show sprite FILE OUT.png
int ShowText(const Args& args);    // show text FONT TEXT OUT.png
int ShowSky(const Args& args);     // show sky FILE HEADING PITCH OUT.png
int ShowScroll(const Args& args);  // show scroll FILE.txt OUT.png (show_scroll.cpp)
bool InfoSettings(const std::string& name, const std::vector<unsigned char>& bytes);
bool InfoSprite(const std::string& name, const std::vector<unsigned char>& bytes);
bool InfoFont(const std::string& name, const std::vector<unsigned char>& bytes);
bool InfoJpeg(const std::string& name, const std::vector<unsigned char>& bytes);  // info_jpeg.cpp
int MusicToWav(const Args& args);  // music OUT.wav [--seconds N]
int PlayToWav(const Args& args);   // play FILE.wav OUT.wav
bool InfoWave(const std::string& name, const std::vector<unsigned char>& bytes);
bool InfoMusic(const std::string& name, const std::vector<unsigned char>& bytes);

// The process-wide objects a 3D view needs: math tables and a Graphics2D for the sky.
struct Scene3D {
  Scene3D();
  ~Scene3D();
  Graphics2D g;
  MathTables math;
  bool ok = false;
};

// The sky of a view over a cell of the frame buffer: the panorama when it loads, else a
// dusk gradient.
void DrawSky(const std::string& sky, int32_t x, int32_t y, int32_t w, int32_t h,
             int32_t heading, int32_t pitch);

// 3D: models drawn by the real pipeline (show_3d.cpp).
int ShowModel(const Args& args);   // show model FILE.tdo PACK.tex OUT.png
int ShowFrames(const Args& args);  // show frames BASE.tdo [PACK.tex] FRAME.tdo... OUT.png
bool InfoTdo(const std::string& name, const std::vector<unsigned char>& bytes);
bool InfoTexPack(const std::string& name, const std::vector<unsigned char>& bytes);

// The input-test screen in the game's window (show_keys.cpp).
int ShowKeys(const Args& args);  // keys [game window options]

// Maps (show_map.cpp): a top view or the view from an entry point; the .map and .ent printers.
int ShowMap(const Args& args);  // show map NAME.map OUT.png [--from ENTRY]
int ShowCampaign(const Args& args);  // show campaign OUT.png: every map, its exits, the chart
bool InfoMap(const std::string& name, const std::vector<unsigned char>& bytes);
bool InfoEnt(const std::string& name, const std::vector<unsigned char>& bytes);

// Forms (show_form.cpp) and the whole data set (check.cpp).
int ShowForm(const Args& args);   // show form SCRIPT FORM OUT.png
int CheckData(const Args& args);  // check

// Collects the lines the game's loaders append to log.txt while a command runs, and leaves
// the log as it was found afterwards.
class LogCapture {
 public:
  LogCapture();
  ~LogCapture();
  std::vector<std::string> NewLines();  // lines logged since the last call

 private:
  std::string path_;
  std::string original_;
  bool existed_ = false;
  size_t seen_ = 0;
};
