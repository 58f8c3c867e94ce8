// The sprite table: loading .spr files into shared, reference-counted slots.
#include <bit>
#include <cstring>
#include <string>

#include "core/core.h"
#include "gfx2d/gfx2d.h"
#include "gfx2d/jpeg.h"

namespace {

void LogWithName(const char* text, const char* name) {
  std::string line = text;
  line += name;
  LogMessage(line.c_str());
}

// Two zero-filled 32-byte names are the same.
static_assert(sizeof(SpriteEntry::name) == 32);
bool SameName(const char* a, const char* b) {
  uint64_t x[4], y[4];
  memcpy(x, a, sizeof x);
  memcpy(y, b, sizeof y);
  return ((x[0] ^ y[0]) | (x[1] ^ y[1]) | (x[2] ^ y[2]) | (x[3] ^ y[3])) == 0;
}

bool IsJpegName(const char* name, size_t length) {
  const char* ext = name + length - 3;
  return strcmp(ext, "jpg") == 0 || strcmp(ext, "JPG") == 0;
}

// Reads a .spr file whole into a new block; null after logging.
uint16_t* ReadSpriteFile(const char* name, uint8_t messageVariant) {
  FILE* file = OpenDataFile(name, "rb");
  if (!file) {
    LogWithName("Error opening sprite file: ", name);
    return nullptr;
  }
  long size = -1;
  if (fseek(file, 0, SEEK_END) == 0) size = ftell(file);
  if (size < 0 || fseek(file, 0, SEEK_SET) != 0) {
    LogMessage("Error reading from sprite file.");
    fclose(file);
    return nullptr;
  }
  // At least the header's room, so a tiny file is refused below rather than by the allocator.
  size_t bytes = size_t(size) < 4 ? 4 : size_t(size);
  auto* block = static_cast<uint16_t*>(MemAlloc(bytes));
  if (!block) {
    LogMessage(messageVariant ? "Error allocating memory for sprite.(2)"
                              : "Error allocating memory for sprite.(1)");
    fclose(file);
    return nullptr;
  }
  size_t got = fread(block, 1, size_t(size), file);
  fclose(file);
  bool whole = got == size_t(size) && size >= 4;
  if (whole) {
    // A file shorter than its header claims would have us convert and draw past the block.
    const auto* b = reinterpret_cast<const uint8_t*>(block);
    uint64_t need = 4 + 2 * uint64_t(ReadU16BE(b)) * ReadU16BE(b + 2);
    whole = uint64_t(size) >= need;
  }
  if (!whole) {
    LogMessage("Error reading from sprite file.");
    MemFree(block);
    return nullptr;
  }
  return block;
}

// The file's big-endian words become native ones, and red and blue change places.
void ConvertSprite(uint16_t* block) {
  auto* b = reinterpret_cast<uint8_t*>(block);
  const uint16_t w = ReadU16BE(b), h = ReadU16BE(b + 2);
  block[0] = w;
  block[1] = h;
  const size_t count = size_t(w) * h;
  // In place, big-endian to native, then the 5-bit red and blue fields change places. Four
  // pixels at a time in one 64-bit word (every step keeps within its 16-bit lane, so the
  // lanes' order in the word does not matter), the rest one by one.
  uint8_t* pixels = b + 4;
  constexpr uint64_t kLowBytes = 0x00FF00FF00FF00FFull, kFive = 0x001F001F001F001Full,
                     kGreen = 0x07C007C007C007C0ull;
  size_t i = 0;
  for (; i + 4 <= count; i += 4) {
    uint64_t v;
    memcpy(&v, pixels + 2 * i, 8);
    if constexpr (std::endian::native != std::endian::big)
      v = ((v >> 8) & kLowBytes) | ((v & kLowBytes) << 8);
    v = ((v & kFive) << 11) | (v & kGreen) | ((v >> 11) & kFive);
    memcpy(pixels + 2 * i, &v, 8);
  }
  for (; i < count; ++i) {
    const uint16_t v = ReadU16BE(pixels + 2 * i);
    const uint16_t out = uint16_t(((v & 31) << 11) | (v & 0x07C0) | (v >> 11));
    memcpy(pixels + 2 * i, &out, 2);
  }
}

}  // namespace

Graphics2D::~Graphics2D() {
  for (SpriteEntry& e : sprites) {
    if (e.inUse) MemFree(e.block);
    e.block = nullptr;
    e.inUse = 0;
  }
}

int32_t Graphics2D::LoadSprite(const char* name) { return LoadSprite(name, 0); }

int32_t Graphics2D::LoadSprite(const char* name, uint8_t messageVariant) {
  if (!name) name = "";
  const size_t length = strlen(name);
  if (length > size_t(kMaxSpriteNameChars)) {
    LogWithName("sprite filename > 28 chars: ", name);
    return -1;
  }
  // Slot names are zero-filled past their end, so the name zero-filled the same way matches
  // a slot exactly when all its bytes do; compared a word at a time.
  char key[sizeof sprites[0].name] = {};
  memcpy(key, name, length);
  // No two slots in use hold one name, so where the search starts only changes how long it
  // takes: an animation's frames sit side by side, and the next one asked for is mostly in
  // the slot after the one last found.
  int32_t i = searchFrom >= 0 && searchFrom < kMaxSprites ? searchFrom : 0;
  for (int32_t n = 0; n < kMaxSprites; ++n, i = i + 1 < kMaxSprites ? i + 1 : 0) {
    if (sprites[i].inUse && SameName(sprites[i].name, key)) {
      searchFrom = i + 1 < kMaxSprites ? i + 1 : 0;
      return AddSpriteRef(i);
    }
  }
  int32_t slot = -1;
  for (int32_t i = 0; i < kMaxSprites && slot < 0; ++i)
    if (!sprites[i].inUse) slot = i;
  if (slot < 0) {
    LogMessage("No more sprite slots available.");
    return -1;
  }
  if (length < 5) {
    LogMessage("spr name error");
    return -1;
  }
  uint16_t* block = nullptr;
  if (IsJpegName(name, length)) {
    if (!LoadJpg(this, name, &block) || !block) return -1;
  } else {
    block = ReadSpriteFile(name, messageVariant);
    if (!block) return -1;
    ConvertSprite(block);
  }
  SpriteEntry& e = sprites[slot];
  e.inUse = 1;
  memset(e.name, 0, sizeof e.name);
  memcpy(e.name, name, length);
  e.refs = 0;
  e.block = block;
  return slot;
}

uint16_t* Graphics2D::SpriteBlock(int32_t slot) const {
  if (slot < 0 || slot >= kMaxSprites || !sprites[slot].inUse) return nullptr;
  return sprites[slot].block;
}

int32_t Graphics2D::AddSpriteRef(int32_t slot) {
  if (!SpriteBlock(slot)) return -1;
  ++sprites[slot].refs;
  return slot;
}

int Graphics2D::ReleaseSprite(int32_t slot) {
  // A free slot is left alone: releasing it again must not free its block twice.
  if (!SpriteBlock(slot)) return 0;
  SpriteEntry& e = sprites[slot];
  if (e.refs < 1) {
    MemFree(e.block);
    e.block = nullptr;
    e.inUse = 0;
  } else {
    --e.refs;
  }
  return 1;
}

void Graphics2D::GetSpriteSize(int32_t slot, int32_t* w, int32_t* h) const {
  const uint16_t* block = SpriteBlock(slot);
  if (w) *w = block ? SpriteWidth(block) : 0;
  if (h) *h = block ? SpriteHeight(block) : 0;
}

void Graphics2D::ClearSprite(int32_t slot) {
  uint16_t* block = SpriteBlock(slot);
  if (!block) return;
  memset(SpritePixels(block), 0, size_t(SpriteWidth(block)) * SpriteHeight(block) * 2);
}
