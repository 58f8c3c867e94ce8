// The data folder the game is started on: refused at once when the game cannot run from it.
#include <filesystem>
#include <string>
#include <system_error>

#include "app/app.h"

namespace {

// What the game cannot start without: the math tables of every 3D view, and the resource
// script with the fonts every form is drawn in. Anything else a missing file only dims.
const char* const kRequiredDataFiles[] = {"155",     "148",       "asintable.dat", "kvr.rsx",
                                          "font1.fnt", "font2.fnt", "font3.fnt"};

}  // namespace

std::string DataFolderProblem(const std::string& dir) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path folder(dir);
  const std::string shown = folder.lexically_normal().string();
  if (!fs::is_directory(folder, error))
    return fs::exists(folder, error) ? shown + " is not a folder" : "there is no folder " + shown;
  std::string missing;
  for (const char* name : kRequiredDataFiles)
    if (!fs::is_regular_file(folder / name, error))
      missing += (missing.empty() ? "" : ", ") + std::string(name);
  if (missing.empty()) return "";
  return "the data folder " + shown + " lacks the game's data (" + missing + ")";
}
