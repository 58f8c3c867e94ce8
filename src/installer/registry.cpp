// The registry, read from a .reg export file: keys, default values, strings and hex data.
#include <cstdio>
#include <iterator>
#include <map>

#include "installer/desktop.h"

namespace {

const char* const kRootNames[] = {
    "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS",
    "HKEY_CURRENT_CONFIG",
};

struct RegKeyData {
  std::map<std::string, RegValue> values;  // by folded value name, "" = default value
};
// Every key by its folded full path ("hkey_local_machine\software\...").
using RegTree = std::map<std::string, RegKeyData>;

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return "";
  size_t e = s.find_last_not_of(" \t\r\n");
  return s.substr(b, e - b + 1);
}

bool StartsWithFolded(const std::string& s, const char* prefix) {
  return FoldCase(s.substr(0, std::char_traits<char>::length(prefix))) == prefix;
}

// Path components joined by single backslashes and folded; empty components dropped.
std::string NormalKeyPath(const std::string& path) {
  std::string out;
  size_t pos = 0;
  while (pos <= path.size()) {
    size_t end = path.find('\\', pos);
    if (end == std::string::npos) end = path.size();
    std::string part = path.substr(pos, end - pos);
    if (!part.empty()) out += (out.empty() ? "" : "\\") + FoldCase(part);
    pos = end + 1;
  }
  return out;
}

// A key path from the file: its root must be one of the five; "" when it is not.
std::string FileKeyPath(const std::string& raw) {
  std::string path = NormalKeyPath(raw);
  std::string root = path.substr(0, path.find('\\'));
  for (const char* name : kRootNames)
    if (root == FoldCase(name)) return path;
  return "";
}

// A quoted string starting at s[pos] == '"', with \\ and \" escapes; pos ends past the
// closing quote. False when the closing quote is missing.
bool ParseQuoted(const std::string& s, size_t* pos, std::string* out) {
  out->clear();
  for (size_t i = *pos + 1; i < s.size(); ++i) {
    char c = s[i];
    if (c == '"') {
      *pos = i + 1;
      return true;
    }
    if (c == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"')) c = s[++i];
    *out += c;
  }
  return false;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool ParseHexNumber(const std::string& s, uint32_t* out) {
  if (s.empty() || s.size() > 8) return false;
  uint32_t v = 0;
  for (char c : s) {
    int d = HexDigit(c);
    if (d < 0) return false;
    v = v << 4 | uint32_t(d);
  }
  *out = v;
  return true;
}

// "4d,6f,72" (blanks allowed, a trailing comma tolerated) into bytes.
bool ParseHexBytes(const std::string& list, std::string* out) {
  out->clear();
  std::string item;
  size_t pos = 0;
  while (pos <= list.size()) {
    size_t end = list.find(',', pos);
    if (end == std::string::npos) end = list.size();
    item = Trim(list.substr(pos, end - pos));
    bool last = end == list.size();
    pos = end + 1;
    if (item.empty()) {
      if (last) break;
      return false;
    }
    if (item.size() > 2) return false;
    int hi = item.size() == 2 ? HexDigit(item[0]) : 0;
    int lo = HexDigit(item.back());
    if (hi < 0 || lo < 0) return false;
    *out += char(hi << 4 | lo);
  }
  return true;
}

bool IsStringType(uint32_t type) {
  return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// The data after '=': a value, or false with *remove set for "-", or false when malformed.
bool ParseData(const std::string& data, bool unicodeFile, RegValue* value, bool* remove) {
  *remove = false;
  if (data == "-") {
    *remove = true;
    return false;
  }
  if (!data.empty() && data[0] == '"') {
    size_t pos = 0;
    std::string text;
    if (!ParseQuoted(data, &pos, &text)) return false;
    value->type = REG_SZ;
    value->chars = Utf8Length(text) + 1;
    value->data = text + '\0';
    return true;
  }
  if (StartsWithFolded(data, "dword:")) {
    uint32_t v = 0;  // set by the parser on success; initialised for the optimiser's sake
    if (!ParseHexNumber(Trim(data.substr(6)), &v)) return false;
    value->type = REG_DWORD;
    value->data.clear();
    for (int i = 0; i < 4; ++i) value->data += char(v >> (8 * i));
    value->chars = 4;
    return true;
  }
  if (!StartsWithFolded(data, "hex")) return false;
  size_t colon = data.find(':');
  if (colon == std::string::npos) return false;
  uint32_t type = REG_BINARY;
  std::string kind = Trim(data.substr(3, colon - 3));
  if (!kind.empty()) {
    if (kind.size() < 3 || kind.front() != '(' || kind.back() != ')' ||
        !ParseHexNumber(kind.substr(1, kind.size() - 2), &type))
      return false;
  }
  std::string bytes;
  if (!ParseHexBytes(data.substr(colon + 1), &bytes)) return false;
  value->type = type;
  if (IsStringType(type)) {
    // Strings given as hex are UTF-16 in a Unicode export and ANSI in a REGEDIT4 one.
    value->data = unicodeFile
                      ? Utf16LeToUtf8(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size())
                      : Cp1252ToUtf8(bytes);
    value->chars = Utf8Length(value->data);
  } else {
    value->data = bytes;
    value->chars = bytes.size();
  }
  return true;
}

// The lines of the file with "\" continuations joined (long hex lists are wrapped so).
std::vector<std::string> LogicalLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string pending;
  bool continuing = false;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (continuing) line = Trim(line);
    size_t last = line.find_last_not_of(" \t");
    if (last != std::string::npos && line[last] == '\\') {
      pending += line.substr(0, last);
      continuing = true;
      continue;
    }
    lines.push_back(pending + line);
    pending.clear();
    continuing = false;
  }
  if (continuing) lines.push_back(pending);
  return lines;
}

// Adds the key and every key above it, as the registry has them.
void AddKey(RegTree& tree, const std::string& path) {
  for (size_t pos = path.find('\\'); pos != std::string::npos; pos = path.find('\\', pos + 1))
    tree[path.substr(0, pos)];
  tree[path];
}

void DeleteKey(RegTree& tree, const std::string& path) {
  for (auto it = tree.begin(); it != tree.end();) {
    bool under = it->first == path ||
                 (it->first.size() > path.size() && it->first.compare(0, path.size(), path) == 0 &&
                  it->first[path.size()] == '\\');
    it = under ? tree.erase(it) : std::next(it);
  }
}

// Parses a whole .reg export; false when it does not start with a known header.
bool ParseRegFile(const std::string& bytes, RegTree* tree) {
  std::vector<std::string> lines = LogicalLines(DecodeText(bytes));
  size_t i = 0;
  while (i < lines.size() && Trim(lines[i]).empty()) ++i;
  if (i == lines.size()) return false;
  std::string header = Trim(lines[i++]);
  bool unicodeFile = header == "Windows Registry Editor Version 5.00";
  if (!unicodeFile && header != "REGEDIT4") return false;

  std::string current;  // "" while outside a usable key
  for (; i < lines.size(); ++i) {
    std::string line = Trim(lines[i]);
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      size_t close = line.rfind(']');
      std::string inner = line.substr(1, close == std::string::npos ? std::string::npos : close - 1);
      current.clear();
      if (!inner.empty() && inner[0] == '-') {
        std::string path = FileKeyPath(inner.substr(1));
        if (!path.empty()) DeleteKey(*tree, path);
        continue;
      }
      current = FileKeyPath(inner);
      if (!current.empty()) AddKey(*tree, current);
      continue;
    }
    if (current.empty()) continue;
    std::string name;
    size_t pos = 0;
    if (line[0] == '@') {
      pos = 1;
    } else if (line[0] != '"' || !ParseQuoted(line, &pos, &name)) {
      continue;
    }
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
    if (pos >= line.size() || line[pos] != '=') continue;
    RegValue value;
    bool remove;
    auto& values = (*tree)[current].values;
    if (ParseData(Trim(line.substr(pos + 1)), unicodeFile, &value, &remove))
      values[FoldCase(name)] = value;
    else if (remove)
      values.erase(FoldCase(name));
  }
  return true;
}

}  // namespace

RegStatus RegQueryValue(const std::string& path, RegRoot root, const std::string& subKey,
                        const std::string& valueName, size_t bufferChars, RegValue* out) {
  std::string bytes;
  if (!ReadWholeFile(path, &bytes)) return kRegNoFile;
  RegTree tree;
  if (!ParseRegFile(bytes, &tree)) {
    fprintf(stderr, "setup: %s is not a registry file\n", path.c_str());
    return kRegNoFile;
  }
  if (unsigned(root) >= sizeof kRootNames / sizeof kRootNames[0]) return kRegNoKey;
  auto key = tree.find(NormalKeyPath(std::string(kRootNames[root]) + "\\" + subKey));
  if (key == tree.end()) return kRegNoKey;
  auto value = key->second.values.find(FoldCase(valueName));
  if (value == key->second.values.end()) return kRegNoValue;
  if (value->second.chars > bufferChars) return kRegMoreData;
  *out = value->second;
  return kRegOk;
}
