// Inside the world: the player's craft states and the calls of its files beyond its row in
// the kind table and the head-up refreshes of kinds.h.
#pragma once

#include <cstdint>

#include "world/kinds.h"

// The craft's states, kept in header.state.
enum CraftState : int32_t {
  kCraftAlive = 0,
  kCraftExploding = 1,
  kCraftDead = 2,        // the world restores the map and reloads it
  kCraftBoarding = 3,    // touched the ship with the keycard
  kCraftDrivingIn = 4,
  kCraftInShip = 5,
  kCraftFinalStart = 6,  // set when the mainframe is destroyed
  kCraftFinalText = 7,
  kCraftLeftMap = 8,     // set by a map exit
};

// When the current weapon is empty: plasma if it has charges, else rockets, else the
// machine gun if it has rounds; then the weapon display is refreshed.
void SelectWeaponWithAmmo(World* world, PlayerCraft* craft);
// What the craft gives back to the player data when it is destroyed: its weapons, energy,
// state and motion alive or through a map exit; its place too when left alive (the next
// load puts it back there); otherwise the next map starts it at its entry point.
void StorePersistentFields(World* world, PlayerCraft* craft);
// Places the scene camera for the camera mode and smooths the camera heading; run by the
// world update after every kind.
void UpdateCamera(World* world);
