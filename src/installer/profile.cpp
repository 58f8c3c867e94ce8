// The private-profile read: one value out of an INI file, as the desktop's profile API gives it.
#include "installer/desktop.h"

namespace {

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return "";
  size_t e = s.find_last_not_of(" \t\r\n");
  return s.substr(b, e - b + 1);
}

// Finds the value of key in section; false when the section or key is not there.
bool FindValue(const std::string& text, const std::string& section, const std::string& key,
               std::string* value) {
  const std::string wantSection = FoldCase(Trim(section));
  const std::string wantKey = FoldCase(Trim(key));
  bool inSection = false;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = Trim(text.substr(pos, end - pos));
    pos = end + 1;
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      // Only the first section of a name is searched.
      if (inSection) return false;
      size_t close = line.find(']');
      std::string name = Trim(line.substr(1, close == std::string::npos ? std::string::npos
                                                                         : close - 1));
      inSection = FoldCase(name) == wantSection;
      continue;
    }
    if (!inSection) continue;
    size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    if (FoldCase(Trim(line.substr(0, eq))) != wantKey) continue;
    std::string v = Trim(line.substr(eq + 1));
    if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0])
      v = v.substr(1, v.size() - 2);
    *value = v;
    return true;
  }
  return false;
}

}  // namespace

std::string ReadProfileString(const std::string& path, const std::string& section,
                              const std::string& key, const std::string& def,
                              size_t bufferChars) {
  if (bufferChars == 0) return "";
  std::string bytes;
  std::string value = def;
  if (ReadWholeFile(path, &bytes)) {
    std::string found;
    if (FindValue(DecodeText(bytes), section, key, &found)) value = found;
  }
  // The buffer keeps one character for the terminating NUL; the caller reads up to the
  // first NUL it finds.
  size_t nul = value.find('\0');
  if (nul != std::string::npos) value.resize(nul);
  return Utf8Prefix(value, bufferChars - 1);
}
