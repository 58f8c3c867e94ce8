// The package description file beside setup (or in its installed share folder): one value read through the profile interface.
#include "installer/desktop.h"

namespace {
constexpr size_t kProfileBufferChars = 256;
}

std::string SetupIniPath() {
  // Composed exactly as the desktop did it; the backslashes only become separators on open.
  return MediumDir() + "\\" + ".\\setup.ini";
}

std::string ReadIni(const std::string& section, const std::string& key) {
  return ReadProfileString(NativePath(SetupIniPath()), section, key, "", kProfileBufferChars);
}
