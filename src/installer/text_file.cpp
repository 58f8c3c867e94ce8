// Reading text files the way a Windows desktop wrote them: byte-order marks, UTF-16, ANSI.
#include <cstdio>

#include "installer/desktop.h"

namespace {

void PutUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += char(cp);
  } else if (cp < 0x800) {
    out += char(0xC0 | (cp >> 6));
    out += char(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += char(0xE0 | (cp >> 12));
    out += char(0x80 | ((cp >> 6) & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  } else {
    out += char(0xF0 | (cp >> 18));
    out += char(0x80 | ((cp >> 12) & 0x3F));
    out += char(0x80 | ((cp >> 6) & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  }
}

// Length of the UTF-8 sequence starting at s[i], 0 when it is not a valid one.
size_t Utf8SequenceLength(const std::string& s, size_t i) {
  uint8_t c = uint8_t(s[i]);
  size_t n;
  uint32_t cp;
  if (c < 0x80) return 1;
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
    cp = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    cp = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    cp = c & 0x07;
  } else {
    return 0;
  }
  if (i + n > s.size()) return 0;
  for (size_t k = 1; k < n; ++k) {
    uint8_t cc = uint8_t(s[i + k]);
    if ((cc & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (cc & 0x3F);
  }
  // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
  if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF))) return 0;
  if (cp >= 0xD800 && cp <= 0xDFFF) return 0;
  return n;
}

bool IsValidUtf8(const std::string& s) {
  for (size_t i = 0; i < s.size();) {
    size_t n = Utf8SequenceLength(s, i);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

std::string Utf16ToUtf8(const uint8_t* data, size_t bytes, bool bigEndian) {
  std::string out;
  size_t units = bytes / 2;
  auto unit = [&](size_t k) -> uint32_t {
    const uint8_t* p = data + k * 2;
    return bigEndian ? uint32_t(p[0] << 8 | p[1]) : uint32_t(p[1] << 8 | p[0]);
  };
  for (size_t k = 0; k < units; ++k) {
    uint32_t u = unit(k);
    if (u >= 0xD800 && u <= 0xDBFF && k + 1 < units) {
      uint32_t lo = unit(k + 1);
      if (lo >= 0xDC00 && lo <= 0xDFFF) {
        PutUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00));
        ++k;
        continue;
      }
    }
    PutUtf8(out, (u >= 0xD800 && u <= 0xDFFF) ? 0xFFFD : u);
  }
  return out;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string* bytes) {
  FILE* f = fopen(path.c_str(), "rb");
  if (!f) return false;
  bytes->clear();
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) bytes->append(buffer, n);
  bool ok = !ferror(f);
  fclose(f);
  return ok;
}

std::string Cp1252ToUtf8(const std::string& bytes) {
  // 0x80..0x9F are printable in the Windows code page; the five holes keep their value.
  static const uint16_t kHigh[32] = {
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  std::string out;
  out.reserve(bytes.size());
  for (char ch : bytes) {
    uint8_t c = uint8_t(ch);
    PutUtf8(out, (c >= 0x80 && c < 0xA0) ? kHigh[c - 0x80] : c);
  }
  return out;
}

std::string Utf16LeToUtf8(const uint8_t* data, size_t bytes) {
  return Utf16ToUtf8(data, bytes, false);
}

std::string DecodeText(const std::string& bytes) {
  const uint8_t* b = reinterpret_cast<const uint8_t*>(bytes.data());
  size_t n = bytes.size();
  if (n >= 2 && b[0] == 0xFF && b[1] == 0xFE) return Utf16ToUtf8(b + 2, n - 2, false);
  if (n >= 2 && b[0] == 0xFE && b[1] == 0xFF) return Utf16ToUtf8(b + 2, n - 2, true);
  std::string text = (n >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) ? bytes.substr(3)
                                                                              : bytes;
  return IsValidUtf8(text) ? text : Cp1252ToUtf8(text);
}

std::string Utf8Prefix(const std::string& text, size_t count) {
  size_t i = 0;
  for (size_t chars = 0; chars < count && i < text.size(); ++chars) {
    size_t n = Utf8SequenceLength(text, i);
    i += n ? n : 1;
  }
  return text.substr(0, i);
}

size_t Utf8Length(const std::string& text) {
  size_t chars = 0;
  for (size_t i = 0; i < text.size(); ++chars) {
    size_t n = Utf8SequenceLength(text, i);
    i += n ? n : 1;
  }
  return chars;
}

std::string FoldCase(const std::string& text) {
  std::string out = text;
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return out;
}
