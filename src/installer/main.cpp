// setup: shows the licence agreement and starts the device manager with the package file.
#include <cstdio>
#include <cstring>

#include "installer/desktop.h"
#include "installer/form1.h"

namespace {

void Usage(FILE* to) {
  fprintf(to,
          "usage: setup [--registry FILE]\n"
          "  --registry FILE  read the registry from FILE (a .reg export) instead of\n"
          "                   $XDG_CONFIG_HOME/vomtal/registry.reg\n");
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (strcmp(argv[i], "--registry") == 0 && i + 1 < argc) {
      SetRegistryFile(argv[++i]);
    } else if (strcmp(argv[i], "--help") == 0 || strcmp(argv[i], "-h") == 0) {
      Usage(stdout);
      return 0;
    } else {
      fprintf(stderr, "setup: unknown option %s\n", argv[i]);
      Usage(stderr);
      return 2;
    }
  }
  return RunForm1();
}
