// log.txt: appended, flushed and closed per message so every line survives a crash.
#include "core/log.h"

#include <cstdio>

#include "core/files.h"

int LogMessage(const char* text) {
  FILE* f = OpenDataFile("log.txt", "a+");
  if (!f) return 0;
  fprintf(f, "%s\n", text);
  fflush(f);
  fclose(f);
  return 0;
}

void DeleteLog() { FileDelete("log.txt"); }
