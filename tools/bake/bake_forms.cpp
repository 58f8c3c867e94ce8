// The game's screens as data: the resource script kvr.rsx and every sprite its forms use.
#include <cstdio>

#include "bake.h"
#include "bake_ui.h"

bool BakeForms(const BakeContext& ctx) {
  std::string script;
  if (!ReadSource(ctx, "kvr.rsx", &script)) {
    fprintf(stderr, "bake: content/kvr.rsx is missing\n");
    return false;
  }
  bool ok = WriteOutText(ctx, "kvr.rsx", script);
  ok = BakeMenuArt(ctx) && ok;
  ok = BakeHudArt(ctx) && ok;
  return ok;
}
