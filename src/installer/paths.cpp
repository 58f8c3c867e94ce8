// Paths: the program's directory, the folder its files are read from, Windows-style composed paths, where the registry lives.
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "installer/desktop.h"

namespace {

std::string programDirOverride;
std::string registryFile;

}  // namespace

std::string ProgramDir() {
  if (!programDirOverride.empty()) return programDirOverride;
  char buffer[4096];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return ".";
  std::string exe(buffer, size_t(n));
  size_t slash = exe.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : exe.substr(0, slash);
}

void SetProgramDir(const std::string& dir) { programDirOverride = dir; }

std::string InstalledMediumDir(const std::string& programDir) {
  const std::string games = "/" KVR_GAMES_FOLDER;
  if (programDir.size() <= games.size() ||
      programDir.compare(programDir.size() - games.size(), games.size(), games) != 0)
    return "";
  std::string medium = programDir.substr(0, programDir.size() - games.size()) + "/share/kvr";
  // The package file is what setup is for: a share folder without it is not this install.
  struct stat st;
  if (stat((medium + "/setup.ini").c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return "";
  return medium;
}

std::string MediumDir() {
  const std::string program = ProgramDir();
  const std::string installed = InstalledMediumDir(program);
  return installed.empty() ? program : installed;
}

std::string NativePath(const std::string& path) {
  std::string out = path;
  for (char& c : out)
    if (c == '\\') c = '/';
  return out;
}

void SetRegistryFile(const std::string& file) { registryFile = file; }

std::string RegistryFilePath() {
  if (!registryFile.empty()) return registryFile;
  const char* config = getenv("XDG_CONFIG_HOME");
  // An unset or relative XDG_CONFIG_HOME is ignored, as the base-directory rules ask.
  if (config && config[0] == '/') return std::string(config) + "/vomtal/registry.reg";
  const char* home = getenv("HOME");
  if (!home || !home[0]) {
    const passwd* pw = getpwuid(getuid());
    home = pw ? pw->pw_dir : "";
  }
  return std::string(home) + "/.config/vomtal/registry.reg";
}
