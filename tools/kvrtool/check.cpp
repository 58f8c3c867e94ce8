// kvrtool check: loads every data file of the game through the game's own loaders and
// prints each line they log; the exit status is 1 when any line was logged.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/core.h"
#include "core/settings.h"
#include "engine3d/engine3d.h"
#include "gfx2d/gfx2d.h"
#include "gui/gui.h"
#include "kvrtool.h"
#include "map_reader.h"
#include "sound/sound.h"
#include "world/kinds.h"

namespace fs = std::filesystem;

namespace {

std::string ReadWhole(const std::string& path, bool* exists) {
  std::ifstream in(path, std::ios::binary);
  *exists = bool(in);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// What the game needs open while files are checked.
struct CheckWorld {
  Graphics2D g;
  MathTables math;
  SoundSystem* sound = nullptr;
  Engine3D* engine = nullptr;
};

void LogWithName(const char* text, const std::string& name) {
  std::string line = text;
  line += name;
  LogMessage(line.c_str());
}

void CheckFont(CheckWorld&, const std::string& name) {
  Font font;
  if (!font.LoadFont(name.c_str())) LogWithName("Error loading ", name);
}

void CheckSprite(CheckWorld& w, const std::string& name) {
  // Panoramas are backgrounds: they must also have the panorama's size.
  if (name.rfind("sky", 0) == 0) {
    Background bg(nullptr, "CHECK", 0, 0, 240, 320);
    bg.plain = 0;
    bg.LoadBackground(name.c_str());
    bg.Release();
    return;
  }
  w.g.ReleaseSprite(w.g.LoadSprite(name.c_str()));
}

void CheckWave(CheckWorld& w, const std::string& name) {
  const int32_t slot = LoadWav(w.sound, name.c_str());
  if (slot >= 0) FreeSample(w.sound, slot);
}

void CheckMusic(CheckWorld& w, const std::string& name) {
  if (LoadIntroEvents(w.sound, name.c_str()) != 0) LogWithName("Error loading ", name);
}

void CheckModel(CheckWorld& w, const std::string& name) {
  if (!w.engine->ready) return;
  if (w.engine->store.Load(name.c_str(), 1, 2, 0) < 0) LogWithName("Error loading ", name);
  w.engine->store.Release();
}

void CheckTexturePack(CheckWorld& w, const std::string& name) {
  if (w.engine->ready) w.engine->LoadTexturePack(name.c_str(), kBankEntities);
}

void CheckTables(CheckWorld& w, const std::string& name) {
  if (name == "148") {
    uint16_t table[16384];
    const int r = LoadReciprocalTable(table);
    if (r == 1) LogMessage("Error loading 148");
    if (r == 2) LogMessage("Error reading from 148");
    return;
  }
  MathTables tables;  // "155" and "asintable.dat" together
  tables.Create(0);
  tables.Destroy();
}

// A map through the game's own loader, entered at "default". This stand-in for the driver
// has no form, so the loader's notes about the form's controls are not the map's faults, nor
// is a missing player while the player's kind is not built.
void CheckMap(CheckWorld& w, const std::string& name) {
  if (!w.engine->ready) return;
  LoadedMap loaded;
  if (!LoadMapWithGame(*w.engine, ExeDir, name, "default", 2800, &loaded)) LogWithName("Error loading ", name);
  const KindFunctions* player = KindFunctionsFor(kTypePlayer);
  const bool playerBuilt = player && player->create;
  for (const std::string& line : loaded.log) {
    if (line.find(" ptr") != std::string::npos) continue;
    if (!playerBuilt && line == "Player entity not found!") continue;
    LogMessage(line.c_str());
  }
  w.engine->store.Release();
}

// The story texts through the scrolling panel, on the briefing's own surface and font.
void CheckStory(CheckWorld& w, const std::string& name) {
  Font font;
  if (!font.LoadFont("font1.fnt")) LogMessage("Error loading font1.fnt");
  const int32_t surface = w.g.LoadSprite("story_text.spr");
  ScrollText panel{};
  panel.Create(0, surface, name.c_str(), &font, 1.0f);
  panel.Destroy();
  w.g.ReleaseSprite(surface);
}

// The game takes the defaults without a word when kvr.ini is unreadable; here it is a fault.
void CheckSettingsFile(CheckWorld&, const std::string& name) {
  Settings settings{};
  KeyBindings bindings{};
  if (!ReadSettings(&settings, &bindings)) LogWithName("Error loading ", name);
}

void VisitForm(const char* form, void* user) { static_cast<std::vector<std::string>*>(user)->push_back(form); }

// Every form of the script, opened and closed as the menus do (each loads its images).
void CheckScript(CheckWorld& w, const std::string& name) {
  FormManager* m = CreateFormManager(0xDEADBEEF, nullptr, w.sound, nullptr);
  if (!m) return;
  std::vector<std::string> forms;
  if (ListScriptForms(name.c_str(), VisitForm, &forms) < 0) LogMessage("Error opening resorce file.");
  for (const std::string& form : forms) {
    OpenForm(m, name.c_str(), form.c_str());
    CloseCurrentForm(m);
  }
  DestroyFormManager(m);
}

struct FileKind {
  const char* suffix;
  void (*check)(CheckWorld&, const std::string&);
};

const FileKind kKinds[] = {
    {".fnt", CheckFont},         {".spr", CheckSprite},       {".jpg", CheckSprite},
    {".wav", CheckWave},         {".mmd", CheckMusic},        {".tdo", CheckModel},
    {".tex", CheckTexturePack},  {".rsx", CheckScript},       {"155", CheckTables},
    {"148", CheckTables},        {"asintable.dat", CheckTables},
    {"intro.txt", CheckStory},   {"final.txt", CheckStory},   {"kvr.ini", CheckSettingsFile},
    {".map", CheckMap},
};

// Files the game opens by these very names: checked even when missing, so their absence is
// reported by the loader that would need them.
const char* const kNamedFiles[] = {
    "155",        "148",        "asintable.dat", "font1.fnt",    "font2.fnt",    "font3.fnt",
    "vomtal.spr", "menu1.wav",  "menu2.wav",     "intro.mmd",    "intro_p1.wav", "intro_p2.wav",
    "intro_p3.wav", "kvr.rsx",  "ents.tex",     "intro.txt",    "final.txt",
};

const FileKind* KindOf(const std::string& name) {
  for (const FileKind& k : kKinds)
    if (EndsWith(name, k.suffix)) return &k;
  return nullptr;
}

}  // namespace

LogCapture::LogCapture() {
  path_ = std::string(ExeDir) + "log.txt";
  original_ = ReadWhole(path_, &existed_);
  seen_ = original_.size();
}

LogCapture::~LogCapture() {
  // The game's own log is left as it was found.
  if (existed_) {
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out << original_;
  } else {
    std::error_code ec;
    fs::remove(path_, ec);
  }
}

std::vector<std::string> LogCapture::NewLines() {
  bool exists = false;
  const std::string text = ReadWhole(path_, &exists);
  std::vector<std::string> lines;
  if (text.size() <= seen_) return lines;
  std::istringstream in(text.substr(seen_));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  seen_ = text.size();
  return lines;
}

int CheckData(const Args& args) {
  if (!Positional(args).empty()) {
    fprintf(stderr, "usage: kvrtool [--data DIR] check\n");
    return 2;
  }
  LogCapture log;
  CheckWorld w;
  w.g.Create(0, 240, 320, FrameBuffer);
  Gfx2D = &w.g;
  w.math.Create(0);
  Math = &w.math;
  w.sound = CreateSoundSystem(nullptr);
  w.engine = new Engine3D();
  w.engine->Create(nullptr, "CHECK", 0, 0, 240, 320);
  const std::vector<std::string> setupLines = log.NewLines();

  std::vector<std::string> names(std::begin(kNamedFiles), std::end(kNamedFiles));
  std::error_code ec;
  for (const fs::directory_entry& e : fs::directory_iterator(ExeDir, ec))
    if (e.is_regular_file() && KindOf(e.path().filename().string()))
      names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());

  int logged = 0;
  for (const std::string& line : setupLines) {
    printf("setup: %s\n", line.c_str());
    ++logged;
  }
  for (const std::string& name : names) {
    KindOf(name)->check(w, name);
    const std::vector<std::string> lines = log.NewLines();
    if (lines.empty()) printf("%s: ok\n", name.c_str());
    for (const std::string& line : lines) printf("%s: %s\n", name.c_str(), line.c_str());
    logged += int(lines.size());
  }
  printf("%zu files checked, %d log line%s\n", names.size(), logged, logged == 1 ? "" : "s");

  w.engine->Destroy();
  delete w.engine;
  DestroySoundSystem(w.sound);
  Math = nullptr;
  w.math.Destroy();
  Gfx2D = nullptr;
  return logged ? 1 : 0;
}
