// Data files by bare name relative to the program's directory, and zero-filled allocation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>

constexpr int kMaxPath = 264;

// The program's directory with its trailing separator, as 8-bit text. Set once at start.
extern char ExeDir[kMaxPath];
// Appends the separator when missing. False, with ExeDir unchanged, when the directory
// and its separator do not fit in 263 characters.
bool SetExeDir(const char* dir);

// Where the player's own files go (log, settings, player data, map states); empty means
// ExeDir, as in the build folder. An installed game keeps them in the user's data folder.
extern char UserDir[kMaxPath];
// Appends the separator; empty goes back to ExeDir; false (UserDir kept) when too long.
bool SetUserDir(const char* dir);
// The folder the player's files are written to: UserDir when set, otherwise ExeDir.
const char* PlayerFilesDir();

// The player's own built maps (maps/ in the player's folder), with its separator; empty when
// there is none. Set once at start, before the player's folder may move elsewhere.
extern char PlayerMapsDir[kMaxPath];
// Appends the separator; empty turns the folder off; false (folder kept) when too long.
bool SetPlayerMapsDir(const char* dir);
// True for the name of a map the game ships ("map1_1", "starchart", ...), with or without
// its ".map" or ".ent", in any case: players' maps can never take such a name.
bool IsGameMapName(const char* name);
// A map's name becomes file names and the target of map exits: letters, digits, '_' and '-',
// at most this many, so nothing can lead out of a folder or overflow a field.
constexpr size_t kMaxMapNameChars = 60;
bool IsPlainMapName(const char* name);

// ExeDir + name, opened with fopen(mode); the player's files (log.txt, kvr.ini, the player
// data, .sav files) are taken from PlayerFilesDir() instead, and a kvr.ini the player does not
// have yet is read from ExeDir. A .map or .ent opened for reading is looked for in
// PlayerMapsDir first, unless the game ships a map of that name. Null when the file cannot be opened, when the name is absolute
// or climbs out with "..", or when the composed path exceeds 264 bytes.
FILE* OpenDataFile(const char* name, const char* mode);

// Low byte of each UTF-16 unit; returns the length.
int Narrow(const char16_t* wide, char* out);
// Each byte into one unit, sign-extended (0x80 becomes 0xFF80); returns the length.
int Widen(const char* text, char16_t* out);
// out = path up to and including its last '\' or '/' (empty when there is none).
void DirectoryOfPath(const char* path, char* out);

// The file service of the save/restore code and the menus.
FILE* FileOpen(const char* name, const char* mode);
void FileClose(FILE* file);
size_t FileRead(FILE* file, void* buffer, size_t bytes);
size_t FileWrite(FILE* file, const void* buffer, size_t bytes);
bool FileDelete(const char* name);
bool FileExists(const char* name);
// Reads up to `bytes` of a small data file into `buffer`. Returns how many arrived, or -1
// when the file cannot be opened or read (a directory opens but does not read).
long ReadDataFile(const char* name, void* buffer, size_t bytes);
bool FileCopy(const char* source, const char* destination);  // 256-byte blocks
long FileSize(FILE* file);  // seeks to the end and back to the start
// A file's bytes in memory, as ReadRestOfFile gives them.
struct FileBytes {
  std::unique_ptr<uint8_t[]> data;  // not zero-filled first: every byte is read into
  size_t size = 0;
};
// Everything from the file's position to its end into `out` (one read for a plain file, so
// a loader parses from memory instead of asking the file for each field). False when the
// file reports an error; `out` then holds what did arrive.
bool ReadRestOfFile(FILE* file, FileBytes* out);

// Writes `bytes` to a temporary file beside `name`, flushes it to storage and renames it
// over `name`, so a crash or a full disk never leaves a torn file.
bool WriteDataFileAtomic(const char* name, const void* data, size_t bytes);

// Every long-lived object is created zero-filled; null on failure.
void* AllocZeroed(size_t size);
void* MemAlloc(size_t size);
void MemFree(void* block);

// Little- and big-endian field access for the data-file layouts.
inline uint16_t ReadU16LE(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
inline uint16_t ReadU16BE(const uint8_t* p) { return uint16_t((p[0] << 8) | p[1]); }
inline uint32_t ReadU32LE(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline uint32_t ReadU32BE(const uint8_t* p) {
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}
inline void WriteU16LE(uint8_t* p, uint16_t v) { p[0] = uint8_t(v); p[1] = uint8_t(v >> 8); }
inline void WriteU16BE(uint8_t* p, uint16_t v) { p[0] = uint8_t(v >> 8); p[1] = uint8_t(v); }
inline void WriteU32LE(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v); p[1] = uint8_t(v >> 8); p[2] = uint8_t(v >> 16); p[3] = uint8_t(v >> 24);
}
inline void WriteU32BE(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v >> 24); p[1] = uint8_t(v >> 16); p[2] = uint8_t(v >> 8); p[3] = uint8_t(v);
}

// A file's bytes in memory, read front to back as fread would: a read that runs past the
// end takes what is left, stops at the end and reports the shortfall.
struct ByteReader {
  const uint8_t* data = nullptr;
  size_t size = 0;
  size_t at = 0;

  size_t Left() const { return size - at; }
  // The next `bytes` bytes, or null (the reader moved to the end) when fewer are left.
  const uint8_t* Take(size_t bytes) {
    if (bytes > Left()) {
      at = size;
      return nullptr;
    }
    const uint8_t* p = data + at;
    at += bytes;
    return p;
  }
  ByteReader() = default;
  ByteReader(const uint8_t* bytes, size_t count) : data(bytes), size(count) {}
  explicit ByteReader(const FileBytes& file) : data(file.data.get()), size(file.size) {}

  // Copies the next `bytes` bytes, or as many as are left; true when all of them came.
  bool Read(void* out, size_t bytes);
  // A little-endian 32-bit word; false (nothing stored) when fewer than 4 bytes are left.
  bool ReadI32LE(int32_t* out) {
    const uint8_t* p = Take(4);
    if (!p) return false;
    *out = int32_t(ReadU32LE(p));
    return true;
  }
};
