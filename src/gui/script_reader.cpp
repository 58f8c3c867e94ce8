// The resource script's lines and tokens: bounded buffers, quoted tokens, atoi numbers.
#include <cstring>

#include "gui/form_internal.h"

int ReadScriptLine(const char* text, int32_t size, int32_t* position, ScriptLine* line) {
  int32_t pos = *position;
  // A last line of a single byte without its line feed is never seen.
  if (size - pos < 2) return 0;
  ++line->number;
  int32_t length = 0;
  bool overflow = false;
  while (pos < size) {
    const char c = text[pos++];
    if (c == '\n') break;
    if (c == '\r') continue;
    if (length < kMaxScriptLineBytes)
      line->text[length++] = c;
    else
      overflow = true;
  }
  line->text[length] = 0;
  *position = pos;
  return overflow ? -1 : 1;
}

void SplitScriptLine(const char* line, ScriptTokens* tokens) {
  tokens->count = 0;
  tokens->tooLong = false;
  tokens->comment = line[0] == '#';
  if (tokens->comment) return;
  const char* p = line;
  for (;;) {
    while (*p == ' ') ++p;
    if (!*p) break;
    char buffer[kMaxTokenBytes + 1];
    int32_t length = 0;
    auto put = [&](char c) {
      if (length < kMaxTokenBytes)
        buffer[length++] = c;
      else
        tokens->tooLong = true;
    };
    if (*p == '"') {
      // Spaces are kept up to the closing quote; the next token starts right after it.
      ++p;
      while (*p && *p != '"') put(*p++);
      if (*p == '"') ++p;
    } else {
      while (*p && *p != ' ') put(*p++);
    }
    buffer[length] = 0;
    if (tokens->count < kMaxLineTokens) memcpy(tokens->token[tokens->count++], buffer, size_t(length) + 1);
  }
}

int32_t TokenNumber(const char* token) {
  if (!token) return 0;
  const char* p = token;
  // atoi skips the white space isspace knows; a tab can stand inside a token.
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  int64_t value = 0;
  while (*p >= '0' && *p <= '9') {
    value = value * 10 + (*p++ - '0');
    if (value > int64_t(INT32_MAX) + 1) value = int64_t(INT32_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT32_MAX) value = INT32_MAX;
  return int32_t(value);
}
