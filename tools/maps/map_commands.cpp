// The commands of kvr-maps: a starter source, building a source into the player's maps
// folder with every check of the bake, a picture of a source, and the list of built maps.
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/core.h"
#include "kvrtool.h"
#include "map_builder.h"
#include "map_reader.h"
#include "maps_tool.h"
#include "world/kinds.h"

namespace fs = std::filesystem;

namespace {

// The words that are not options or their values; false (with a message) for an option
// the command does not take.
bool Plain(const Words& args, std::initializer_list<const char*> options, Words* out) {
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i].rfind("--", 0) != 0) {
      out->push_back(args[i]);
      continue;
    }
    if (std::find_if(options.begin(), options.end(), [&](const char* o) { return args[i] == o; }) ==
            options.end() ||
        i + 1 >= args.size()) {
      fprintf(stderr, "kvr-maps: %s is not an option here (see kvr-maps --help)\n", args[i].c_str());
      return false;
    }
    ++i;
  }
  return true;
}

// Builds a source with the bake's own checks and the ones a player's map needs besides: a
// name the game does not use for a map of its own, and a texture pack and sky the game has.
bool BuildPlayerMap(const MapsFolders& folders, const std::string& file, MapSource* src, BuiltMap* map,
                    std::vector<std::string>* errors) {
  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) {
    errors->push_back(file + ": cannot be read");
    return false;
  }
  const std::vector<unsigned char> bytes = ReadWholeFile(file);
  const std::string text(bytes.begin(), bytes.end());
  const bool built = BuildMapSource(file, text, src, map, errors);
  if (IsGameMapName(src->name.c_str()))
    errors->push_back(file + (src->nameLine ? ":" + std::to_string(src->nameLine) : std::string()) +
                      ": \"" + src->name + "\" is the name of one of the game's own maps: choose another");
  for (const std::string* named : {&src->pack, &src->sky})
    if (!named->empty() && (named->find('/') != std::string::npos || !fs::is_regular_file(folders.data + *named)))
      errors->push_back(file + ": \"" + *named + "\" is not among the game's data files");
  return built && errors->empty();
}

void PrintErrors(const std::vector<std::string>& errors) {
  for (const std::string& e : errors) fprintf(stderr, "%s\n", e.c_str());
}

// Writes one file through the game's own temporary-file-and-rename, so a map being
// played is never seen half-written.
bool WriteInto(const std::string& dir, const std::string& name, const Bytes& bytes) {
  const std::string saved = ExeDir;
  bool ok = SetExeDir(dir.c_str()) && WriteDataFileAtomic(name.c_str(), bytes.data(), bytes.size());
  SetExeDir(saved.c_str());
  if (!ok) fprintf(stderr, "kvr-maps: cannot write %s%s\n", dir.c_str(), name.c_str());
  return ok;
}

std::string WithSlash(std::string dir) {
  if (!dir.empty() && dir.back() != '/') dir += '/';
  return dir;
}

}  // namespace

int CommandNew(const MapsFolders& folders, const Words& args) {
  Words plain;
  if (!Plain(args, {}, &plain) || plain.size() != 1) {
    fprintf(stderr, "usage: kvr-maps new NAME\n");
    return 2;
  }
  std::string name = plain[0];
  if (name.size() > 4 && name.compare(name.size() - 4, 4, ".txt") == 0) name.resize(name.size() - 4);
  if (!IsPlainMapName(name.c_str())) {
    fprintf(stderr, "kvr-maps: a map's name may hold only letters, digits, '_' and '-' (at most %zu)\n",
            kMaxMapNameChars);
    return 1;
  }
  if (IsGameMapName(name.c_str())) {
    fprintf(stderr, "kvr-maps: \"%s\" is the name of one of the game's own maps: choose another\n", name.c_str());
    return 1;
  }
  const std::string file = name + ".txt";
  std::error_code ec;
  if (fs::exists(file, ec)) {
    fprintf(stderr, "kvr-maps: %s exists already: nothing written\n", file.c_str());
    return 1;
  }
  std::ofstream out(file, std::ios::binary);
  out << StarterMapSource(name);
  out.close();
  if (!out) {
    fprintf(stderr, "kvr-maps: cannot write %s\n", file.c_str());
    return 1;
  }
  printf("wrote %s: build it with \"kvr-maps build %s\", then play it with \"%s --map %s\"\n", file.c_str(),
         file.c_str(), folders.game.c_str(), name.c_str());
  return 0;
}

int CommandBuild(const MapsFolders& folders, const Words& args) {
  Words plain;
  if (!Plain(args, {"--out"}, &plain) || plain.size() != 1) {
    fprintf(stderr, "usage: kvr-maps build FILE.txt [--out DIR]\n");
    return 2;
  }
  MapSource src;
  BuiltMap map;
  std::vector<std::string> errors;
  if (!BuildPlayerMap(folders, plain[0], &src, &map, &errors)) {
    PrintErrors(errors);
    fprintf(stderr, "kvr-maps: %s refused: nothing written\n", plain[0].c_str());
    return 1;
  }
  const std::string out = WithSlash(OptionValue(args, "--out", folders.maps));
  std::error_code ec;
  fs::create_directories(out, ec);
  if (!WriteInto(out, src.name + ".map", MapFileBytes(map)) || !WriteInto(out, src.name + ".ent", EntFileBytes(map)))
    return 1;
  printf("built %s.map and %s.ent in %s (%zu objects, %zu records); play it with \"%s --map %s\"\n",
         src.name.c_str(), src.name.c_str(), out.c_str(), map.objects.size(), map.records.size(),
         folders.game.c_str(), src.name.c_str());
  return 0;
}

int CommandShow(const MapsFolders& folders, const Words& args) {
  Words plain;
  if (!Plain(args, {"--from"}, &plain) || plain.size() != 2) {
    fprintf(stderr, "usage: kvr-maps show FILE.txt OUT.png [--from ENTRY]\n");
    return 2;
  }
  MapSource src;
  BuiltMap map;
  std::vector<std::string> errors;
  const bool ok = BuildPlayerMap(folders, plain[0], &src, &map, &errors);
  PrintErrors(errors);
  // A map that breaks only the checks after the build is still drawn: the picture shows
  // where the trouble is.
  if (map.objects.empty()) {
    fprintf(stderr, "kvr-maps: %s could not be built: nothing drawn\n", plain[0].c_str());
    return 1;
  }
  // The game's data and the new map side by side in a scratch folder, read as the game
  // reads them.
  char pattern[] = "/tmp/kvr_maps_XXXXXX";
  if (!mkdtemp(pattern)) {
    fprintf(stderr, "kvr-maps: no scratch folder for drawing\n");
    return 1;
  }
  const fs::path scratch = pattern;
  std::error_code ec;
  for (const auto& f : fs::directory_iterator(folders.data, ec))
    if (f.is_regular_file(ec)) fs::create_symlink(fs::absolute(f.path()), scratch / f.path().filename(), ec);
  const std::string dir = scratch.string() + "/";
  int status = 1;
  if (WriteInto(dir, src.name + ".map", MapFileBytes(map)) && WriteInto(dir, src.name + ".ent", EntFileBytes(map))) {
    Args show = {dir + src.name + ".map", plain[1]};
    const std::string from = OptionValue(args, "--from", "");
    if (!from.empty()) show.insert(show.end(), {"--from", from});
    status = ::ShowMap(show);
  }
  fs::remove_all(scratch, ec);
  return status == 0 && ok ? 0 : 1;
}

int CommandList(const MapsFolders& folders, const Words& args) {
  if (!args.empty()) {
    fprintf(stderr, "usage: kvr-maps list\n");
    return 2;
  }
  std::vector<fs::path> maps;
  std::error_code ec;
  for (const auto& f : fs::directory_iterator(folders.maps, ec))
    if (f.is_regular_file(ec) && f.path().extension() == ".map") maps.push_back(f.path());
  std::sort(maps.begin(), maps.end());
  if (maps.empty()) {
    printf("no maps in %s yet: \"kvr-maps new NAME\" writes a source to start from\n", folders.maps.c_str());
    return 0;
  }
  printf("maps in %s:\n", folders.maps.c_str());
  for (const fs::path& m : maps) {
    const std::string name = m.stem().string();
    fs::path ent = m;
    ent.replace_extension(".ent");
    const uintmax_t bytes = fs::file_size(m, ec);
    std::vector<EntRow> rows;
    std::string why;
    printf("  %-20s %8ju bytes", name.c_str(), ec ? uintmax_t(0) : bytes);
    if (!ParseEnt(ReadWholeFile(ent.string()), &rows, &why)) {
      printf("  %s: %s\n", ent.filename().c_str(), why.c_str());
      continue;
    }
    std::string entries;
    for (const EntRow& r : rows)
      if (r.type == kTypePlayer) entries += (entries.empty() ? "" : ", ") + r.entry;
    printf("  %2zu records  entry points: %s%s\n", rows.size(), entries.empty() ? "(none)" : entries.c_str(),
           IsGameMapName(name.c_str()) ? "  (ignored: the game has a map of this name)" : "");
  }
  return 0;
}
