// kvr-maps: players build their own maps with the game's map builder, look at them and list
// them. The folders a command works in, and the commands.
#pragma once

#include <string>
#include <vector>

// Where a command reads and writes.
struct MapsFolders {
  std::string data;    // the game's data (texture packs, skies, models), with its '/'
  std::string maps;    // the player's built maps, with its '/'
  std::string guide;   // the modder's guide
  std::string game;    // how the player starts the game ("kvr-game" when installed)
};

using Words = std::vector<std::string>;

// The starter source for a map called `name`.
std::string StarterMapSource(const std::string& name);

// The commands: each returns the exit status (0 done, 1 refused, 2 misused).
int CommandNew(const MapsFolders& folders, const Words& args);    // new NAME
int CommandBuild(const MapsFolders& folders, const Words& args);  // build FILE.txt [--out DIR]
int CommandShow(const MapsFolders& folders, const Words& args);   // show FILE.txt OUT.png [--from E]
int CommandList(const MapsFolders& folders, const Words& args);   // list
