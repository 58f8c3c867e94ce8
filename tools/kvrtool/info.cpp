// kvrtool info FILE: says what a data file is and what it holds.
#include <cstdio>
#include <fstream>
#include <iterator>

#include "core/core.h"
#include "kvrtool.h"

bool InfoMathTable(const std::string& name, const std::vector<unsigned char>& bytes) {
  std::string base = name.substr(name.find_last_of('/') + 1);
  if (base == "155" && bytes.size() == 4096) {
    printf("%s: sine table, 2048 big-endian 16-bit entries, 1.0 = %d\n", name.c_str(),
           int16_t(ReadU16BE(bytes.data() + 1024)));
    return true;
  }
  if (base == "148" && bytes.size() == 32768) {
    printf("%s: reciprocal table, 16384 big-endian 16-bit entries of 65536/n\n", name.c_str());
    return true;
  }
  if (base == "asintable.dat" && bytes.size() == 4096) {
    printf("%s: arc-sine table, 2048 little-endian 16-bit entries, asin(1) = %d\n", name.c_str(),
           int16_t(ReadU16LE(bytes.data() + 4094)));
    return true;
  }
  return false;
}

int InfoFile(const Args& args) {
  if (args.size() != 1) {
    fprintf(stderr, "usage: kvrtool info FILE\n");
    return 2;
  }
  const std::string& name = args[0];
  std::ifstream in(InputPath(name), std::ios::binary);
  if (!in) {
    fprintf(stderr, "kvrtool: cannot open %s\n", name.c_str());
    return 1;
  }
  std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), {});
  using Printer = bool (*)(const std::string&, const std::vector<unsigned char>&);
  const Printer printers[] = {InfoMathTable, InfoSprite, InfoJpeg, InfoFont, InfoWave, InfoMusic,
                              InfoTdo, InfoTexPack, InfoSettings, InfoMap, InfoEnt};
  for (Printer p : printers)
    if (p(name, bytes)) return 0;
  printf("%s: %zu bytes, kind not recognised\n", name.c_str(), bytes.size());
  return 1;
}
