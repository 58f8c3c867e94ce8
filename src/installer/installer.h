// The desktop installer `setup`: the licence window's logic, kept apart from its widgets.
#pragma once

#include <string>

// Registry roots a key path can start from.
enum RegRoot {
  HKEY_CLASSES_ROOT,
  HKEY_CURRENT_USER,
  HKEY_LOCAL_MACHINE,
  HKEY_USERS,
  HKEY_CURRENT_CONFIG,
};

// Where the device manager registers itself.
inline constexpr const char* kCEAppMgrKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAppMgr.exe";
// What the button hands the device manager: a blank, then the package file beside setup.
inline constexpr const char* kInstallTail = " .\\setup.ini";
inline constexpr const char* kNoManagerMessage = "error getting path to CEApMgr.exe";
inline constexpr const char* kNotFound = "Not Found";

// The package description file: setup's medium folder (its own directory, or the share
// folder it was installed with), a backslash, ".\setup.ini".
std::string SetupIniPath();

// The value of `key` in `section` of setup.ini in setup's medium folder; "" when the file, the
// section or the key is missing. At most 255 characters, cut at the first NUL.
std::string ReadIni(const std::string& section, const std::string& key);

// The value `valueName` ("" = the key's default value) of `subKey` under `root` in the
// registry file, as text: a string without its terminating NUL, REG_BINARY (and any other
// type) as two upper-case hex digits per byte. "Not Found" when the file, key or value is
// missing or the value does not fit the 2048-character buffer.
std::string ReadRegKey(RegRoot root, const std::string& subKey, const std::string& valueName);

// The registered full path of the device manager, or "Not Found".
std::string GetCEAppMgrPath();

// Starts the device manager with the command line "<registered path><tail>" and returns
// at once. When nothing usable is registered, shows "error getting path to CEApMgr.exe"
// and starts nothing. True when a process was started.
bool RunInstall(const std::string& tail);

// Form1's start-up: the caption of LabelInfo, "Installation of " + the description.
std::string LabelInfoCaption();
// Command1's click: starts the device manager with the package file; may run many times.
bool Command1Click();

// Where the registry is read from: `file`, or the user's default when empty.
void SetRegistryFile(const std::string& file);
