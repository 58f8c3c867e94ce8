// File output and byte packing for the content compiler.
#include <cstdio>
#include <fstream>
#include <sstream>

#include "bake.h"

bool WriteOut(const BakeContext& ctx, const std::string& name, const Bytes& bytes) {
  std::string path = ctx.outDir + name;
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) {
    fprintf(stderr, "bake: cannot write %s\n", path.c_str());
    return false;
  }
  bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = fclose(f) == 0 && ok;
  if (!ok) fprintf(stderr, "bake: short write to %s\n", path.c_str());
  return ok;
}

bool WriteOutText(const BakeContext& ctx, const std::string& name, const std::string& text) {
  return WriteOut(ctx, name, Bytes(text.begin(), text.end()));
}

bool ReadSource(const BakeContext& ctx, const std::string& name, std::string* text) {
  std::ifstream in(ctx.contentDir + name, std::ios::binary);
  if (!in) return false;
  std::stringstream ss;
  ss << in.rdbuf();
  *text = ss.str();
  return true;
}

void PutU16LE(Bytes& b, uint16_t v) {
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}
void PutU32LE(Bytes& b, uint32_t v) {
  PutU16LE(b, uint16_t(v));
  PutU16LE(b, uint16_t(v >> 16));
}
void PutU16BE(Bytes& b, uint16_t v) {
  b.push_back(uint8_t(v >> 8));
  b.push_back(uint8_t(v));
}
void PutU32BE(Bytes& b, uint32_t v) {
  PutU16BE(b, uint16_t(v >> 16));
  PutU16BE(b, uint16_t(v));
}
