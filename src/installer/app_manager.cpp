// The device manager: where it is registered, and starting it with the package file.
#include "installer/desktop.h"

namespace {
constexpr size_t kRegistryBufferChars = 2048;
}

std::string ReadRegKey(RegRoot root, const std::string& subKey, const std::string& valueName) {
  RegValue value;
  if (RegQueryValue(RegistryFilePath(), root, subKey, valueName, kRegistryBufferChars,
                    &value) != kRegOk)
    return kNotFound;
  if (value.type == REG_SZ || value.type == REG_EXPAND_SZ || value.type == REG_MULTI_SZ) {
    // The stored terminating NUL is not part of the text; a value stored without one
    // keeps all its characters.
    return value.data.substr(0, value.data.find('\0'));
  }
  static const char kHex[] = "0123456789ABCDEF";
  std::string hex;
  for (char c : value.data) {
    hex += kHex[uint8_t(c) >> 4];
    hex += kHex[uint8_t(c) & 15];
  }
  return hex;
}

std::string GetCEAppMgrPath() { return ReadRegKey(HKEY_LOCAL_MACHINE, kCEAppMgrKey, ""); }

bool RunInstall(const std::string& tail) {
  std::string path = GetCEAppMgrPath();
  if (path.empty() || path == kNotFound) {
    ShowMessageBox(kNoManagerMessage);
    return false;
  }
  // No separator and no quotes: the tail brings its own leading blank.
  std::string commandLine = path + tail;
  // The tail names the package file relative to the manager's directory: started from the
  // medium, the manager inherits it; an installed setup runs it in its share folder instead,
  // wherever the player started setup from.
  std::string error;
  if (!StartProcess(path, commandLine, InstalledMediumDir(ProgramDir()), &error)) {
    ShowMessageBox("error starting " + commandLine + ": " + error);
    return false;
  }
  return true;
}
