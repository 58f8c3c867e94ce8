// Opening data files beside the program, the file service and zero-filled allocation.
#include "core/files.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <strings.h>
#include <unistd.h>

#include "core/settings.h"

char ExeDir[kMaxPath] = "./";
char UserDir[kMaxPath] = "";
char PlayerMapsDir[kMaxPath] = "";

// A cut directory would name another place, and every path composed from it would be
// refused without a word: such a directory is refused whole, and `out` stays as it was.
static bool CopyDirectory(const char* dir, char* out) {
  const size_t n = strlen(dir);
  const bool separator = dir[n - 1] == '/' || dir[n - 1] == '\\';
  if (n + (separator ? 0 : 1) > size_t(kMaxPath - 1)) return false;
  memcpy(out, dir, n);
  out[n] = 0;
  if (!separator) strcpy(out + n, "/");
  return true;
}

bool SetExeDir(const char* dir) {
  if (!dir[0]) {
    strcpy(ExeDir, "./");
    return true;
  }
  return CopyDirectory(dir, ExeDir);
}

bool SetUserDir(const char* dir) {
  if (!dir[0]) {
    UserDir[0] = 0;
    return true;
  }
  return CopyDirectory(dir, UserDir);
}

bool SetPlayerMapsDir(const char* dir) {
  if (!dir[0]) {
    PlayerMapsDir[0] = 0;
    return true;
  }
  return CopyDirectory(dir, PlayerMapsDir);
}

const char* PlayerFilesDir() { return UserDir[0] ? UserDir : ExeDir; }

// The files the game writes; everything else is read-only content.
static bool IsPlayerFile(const char* name) {
  if (!strcmp(name, "log.txt") || !strcmp(name, kSettingsFile) || !strcmp(name, kPlayerDataFile))
    return true;
  size_t n = strlen(name);
  return n > 4 && !strcmp(name + n - 4, ".sav");
}

// A map or script could otherwise name files outside the game's directory.
static bool NameIsSafe(const char* name) {
  if (!name || !name[0]) return false;
  if (name[0] == '/' || name[0] == '\\') return false;
  if (name[1] == ':') return false;  // drive letter
  const char* p = name;
  while (*p) {
    const char* end = p;
    while (*end && *end != '/' && *end != '\\') ++end;
    if (end - p == 2 && p[0] == '.' && p[1] == '.') return false;
    p = *end ? end + 1 : end;
  }
  return true;
}

static bool ComposePathIn(const char* dir, const char* name, char* path) {
  if (!NameIsSafe(name)) return false;
  int n = snprintf(path, kMaxPath, "%s%s", dir, name);
  return n >= 0 && n < kMaxPath;
}

static bool ComposePath(const char* name, char* path) {
  return ComposePathIn(IsPlayerFile(name) ? PlayerFilesDir() : ExeDir, name, path);
}

// The maps the game ships: a player's map of the same name would change the campaign.
static const char* const kGameMaps[] = {"map1_1", "map1_2", "map1_3", "map2_1",   "map2_2",
                                        "map3_1", "map3_2", "map4_1", "map5_1",   "map6_1",
                                        "map6_2", "starchart", "testgrounds", "enemytest"};

bool IsGameMapName(const char* name) {
  size_t n = strlen(name);
  if (n > 4 && (!strcasecmp(name + n - 4, ".map") || !strcasecmp(name + n - 4, ".ent"))) n -= 4;
  for (const char* game : kGameMaps)
    if (strlen(game) == n && !strncasecmp(name, game, n)) return true;
  return false;
}

bool IsPlainMapName(const char* name) {
  const size_t n = strlen(name);
  if (n == 0 || n > kMaxMapNameChars) return false;
  for (size_t i = 0; i < n; ++i)
    if (!isalnum(static_cast<unsigned char>(name[i])) && name[i] != '_' && name[i] != '-') return false;
  return true;
}

// A player's map is read from their maps folder; nothing else is (a map's textures, sky and
// models are the game's), and it is never written there.
static bool IsPlayerMapFile(const char* name, const char* mode) {
  const size_t n = strlen(name);
  return PlayerMapsDir[0] && mode[0] == 'r' && !strchr(mode, '+') && n > 4 &&
         (!strcmp(name + n - 4, ".map") || !strcmp(name + n - 4, ".ent")) && !IsGameMapName(name);
}

FILE* OpenDataFile(const char* name, const char* mode) {
  char path[kMaxPath];
  if (IsPlayerMapFile(name, mode) && ComposePathIn(PlayerMapsDir, name, path)) {
    if (FILE* own = fopen(path, mode)) return own;
  }
  if (!ComposePath(name, path)) return nullptr;
  FILE* f = fopen(path, mode);
  // An installed game ships default settings with its data; the player's own copy is
  // written at the first save.
  if (!f && UserDir[0] && mode[0] == 'r' && !strchr(mode, '+') && !strcmp(name, kSettingsFile) &&
      ComposePathIn(ExeDir, name, path))
    f = fopen(path, mode);
  return f;
}

int Narrow(const char16_t* wide, char* out) {
  int i = 0;
  for (; wide[i]; ++i) out[i] = char(wide[i] & 0xFF);
  out[i] = 0;
  return i;
}

int Widen(const char* text, char16_t* out) {
  int i = 0;
  for (; text[i]; ++i) out[i] = char16_t(int16_t(int8_t(text[i])));
  out[i] = 0;
  return i;
}

void DirectoryOfPath(const char* path, char* out) {
  int cut = -1;
  for (int i = int(strlen(path)) - 1; i >= 0; --i) {
    if (path[i] == '\\' || path[i] == '/') {
      cut = i;
      break;
    }
  }
  memcpy(out, path, size_t(cut + 1));
  out[cut + 1] = 0;
}

FILE* FileOpen(const char* name, const char* mode) { return OpenDataFile(name, mode); }
void FileClose(FILE* file) {
  if (file) fclose(file);
}
size_t FileRead(FILE* file, void* buffer, size_t bytes) { return fread(buffer, 1, bytes, file); }
size_t FileWrite(FILE* file, const void* buffer, size_t bytes) {
  return fwrite(buffer, 1, bytes, file);
}

bool FileDelete(const char* name) {
  char path[kMaxPath];
  if (!ComposePath(name, path)) return false;
  return unlink(path) == 0;
}

bool FileExists(const char* name) {
  FILE* f = OpenDataFile(name, "rb");
  if (!f) return false;
  fclose(f);
  return true;
}

long ReadDataFile(const char* name, void* buffer, size_t bytes) {
  FILE* f = OpenDataFile(name, "rb");
  if (!f) return -1;
  size_t got = fread(buffer, 1, bytes, f);
  bool failed = ferror(f) != 0;
  fclose(f);
  return failed ? -1 : long(got);
}

bool FileCopy(const char* source, const char* destination) {
  FILE* in = OpenDataFile(source, "rb");
  if (!in) return false;
  FILE* out = OpenDataFile(destination, "wb");
  if (!out) {
    fclose(in);
    return false;
  }
  unsigned char block[256];
  bool ok = true;
  size_t n;
  while ((n = fread(block, 1, sizeof block, in)) > 0) {
    if (fwrite(block, 1, n, out) != n) {
      ok = false;
      break;
    }
  }
  fclose(in);
  if (fclose(out) != 0) ok = false;
  return ok;
}

long FileSize(FILE* file) {
  fseek(file, 0, SEEK_END);
  long size = ftell(file);
  fseek(file, 0, SEEK_SET);
  return size;
}

bool ReadRestOfFile(FILE* file, FileBytes* out) {
  // The size tells how much to expect; one byte more lets the first read meet the end.
  size_t expect = 0;
  const long here = ftell(file);
  if (here >= 0 && fseek(file, 0, SEEK_END) == 0) {
    const long end = ftell(file);
    if (fseek(file, here, SEEK_SET) != 0) {
      *out = FileBytes{};
      return false;
    }
    if (end > here) expect = size_t(end - here);
  }
  size_t room = expect + 1, got = 0;
  std::unique_ptr<uint8_t[]> data(new uint8_t[room]);
  for (;;) {
    got += fread(data.get() + got, 1, room - got, file);
    if (got < room) break;  // the end, or an error
    // The file grew, or its size could not be told: twice the room, and read on.
    std::unique_ptr<uint8_t[]> more(new uint8_t[room * 2]);
    memcpy(more.get(), data.get(), got);
    data = std::move(more);
    room *= 2;
  }
  out->data = std::move(data);
  out->size = got;
  return ferror(file) == 0;
}

bool ByteReader::Read(void* out, size_t bytes) {
  const size_t n = bytes < Left() ? bytes : Left();
  if (n) memcpy(out, data + at, n);
  at += n;
  return n == bytes;
}

bool WriteDataFileAtomic(const char* name, const void* data, size_t bytes) {
  char path[kMaxPath], temp[kMaxPath];
  if (!ComposePath(name, path)) return false;
  int n = snprintf(temp, kMaxPath, "%s.tmp", path);
  if (n < 0 || n >= kMaxPath) return false;
  FILE* f = fopen(temp, "wb");
  if (!f) return false;
  // An empty image (a map with nothing to keep) writes an empty file; fwrite must not be
  // handed the null pointer of an empty buffer.
  bool ok = bytes == 0 || fwrite(data, 1, bytes, f) == bytes;
  ok = fflush(f) == 0 && ok;
  ok = fsync(fileno(f)) == 0 && ok;
  ok = fclose(f) == 0 && ok;
  if (!ok || rename(temp, path) != 0) {
    unlink(temp);
    return false;
  }
  return true;
}

void* AllocZeroed(size_t size) { return calloc(1, size ? size : 1); }
void* MemAlloc(size_t size) { return malloc(size ? size : 1); }
void MemFree(void* block) { free(block); }
