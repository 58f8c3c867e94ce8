// The installer's own small platform layer: what a Windows desktop gave it, on Linux.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "installer/installer.h"

// ---- Text files (text_file.cpp) ----

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string* bytes);
// Text as UTF-8: a UTF-8 or UTF-16 byte-order mark is honoured, text that is not valid
// UTF-8 is read as the Windows-1252 code page. NUL characters are kept.
std::string DecodeText(const std::string& bytes);
// Windows-1252 bytes as UTF-8.
std::string Cp1252ToUtf8(const std::string& bytes);
// UTF-16 little-endian units as UTF-8; a lone surrogate becomes U+FFFD.
std::string Utf16LeToUtf8(const uint8_t* data, size_t bytes);
// The first `count` characters of valid UTF-8 text (all of it when shorter).
std::string Utf8Prefix(const std::string& text, size_t count);
// Number of characters of valid UTF-8 text.
size_t Utf8Length(const std::string& text);
// ASCII letters lowered, everything else kept: how section, key and value names compare.
std::string FoldCase(const std::string& text);

// ---- Private-profile (INI) files (profile.cpp) ----

// The value of `key` in `section` of the INI file at `path` (a native path), as the
// profile interface returns it into a buffer of `bufferChars` characters: names compare
// without regard to case, blanks around names and values are dropped, one pair of
// surrounding quotes is removed, the first matching section and key win, a missing file,
// section or key gives `def`; the result is cut at the first NUL and to bufferChars - 1
// characters.
std::string ReadProfileString(const std::string& path, const std::string& section,
                              const std::string& key, const std::string& def,
                              size_t bufferChars);

// ---- Registry file (registry.cpp) ----

enum RegType : uint32_t {
  REG_NONE = 0,
  REG_SZ = 1,
  REG_EXPAND_SZ = 2,
  REG_BINARY = 3,
  REG_DWORD = 4,
  REG_MULTI_SZ = 7,
};

// One value as a query hands it back. String types hold UTF-8 text including the
// terminating NUL the registry stores; `chars` counts characters the way the buffer does.
struct RegValue {
  uint32_t type = REG_NONE;
  std::string data;
  size_t chars = 0;
};

enum RegStatus { kRegOk, kRegNoFile, kRegNoKey, kRegNoValue, kRegMoreData };

// Looks `valueName` up under root\subKey in the .reg export file at `path` (native path),
// into a buffer of `bufferChars` characters. The file is read anew on every query, so a
// registration made while setup is open is seen at the next press.
RegStatus RegQueryValue(const std::string& path, RegRoot root, const std::string& subKey,
                        const std::string& valueName, size_t bufferChars, RegValue* out);

// The registry file: the one set with SetRegistryFile, else
// $XDG_CONFIG_HOME/vomtal/registry.reg, else ~/.config/vomtal/registry.reg.
std::string RegistryFilePath();

// ---- Paths (paths.cpp) ----

// The program's own directory without a trailing separator.
std::string ProgramDir();
// Makes ProgramDir return `dir` (tests); "" goes back to the real one.
void SetProgramDir(const std::string& dir);
// For a setup installed as <prefix>/games/kvr-setup (`programDir` is <prefix>/games), the folder
// its files went to, <prefix>/share/kvr, when it holds setup.ini; "" otherwise.
std::string InstalledMediumDir(const std::string& programDir);
// Where setup.ini, the licence and the artwork are read from: the installed share folder,
// otherwise the program's own directory (the medium, or the build folder).
std::string MediumDir();
// A path composed the Windows way, with backslashes read as directory separators.
std::string NativePath(const std::string& path);

// ---- Processes (process.cpp) ----

// The arguments of a command-line tail, split at blanks and tabs; double quotes group.
std::vector<std::string> SplitArguments(const std::string& tail);

// Starts `program` with the arguments that follow it in `commandLine` (which begins with
// `program`), in `workDir` ("" = the current directory), without waiting. The child is reaped at once, so
// none is left as a zombie. False, with the reason in *error, when it cannot be started.
bool StartProcess(const std::string& program, const std::string& commandLine,
                  const std::string& workDir, std::string* error);

// ---- Message box (message_box.cpp) ----

using MessageBoxHandler = void (*)(const std::string& text);
// The window installs its own box; without one the text goes to standard error.
// Returns the handler that was in place.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);
void ShowMessageBox(const std::string& text);
