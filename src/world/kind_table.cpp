// The kind-function table by type code, and the craft's hooks the loader calls.
#include "world/kinds.h"

namespace {

// Row i holds type code i; row 0 is never a kind. A kind that is built puts the address of
// its row here (`&kStegoTankKind`); the comment lines keep the rows apart for merging.
const KindFunctions* const kBuiltKinds[kLastTypeCode + 1] = {
    // 0 (no kind)
    nullptr,
    // 1 Player
    &kPlayerKind,
    // 2 Rocket
    &kRocketKind,
    // 3 Plasma
    &kPlasmaKind,
    // 4 RifleBullet
    &kRifleBulletKind,
    // 5 StegoTank
    nullptr,
    // 6 MegaRaptor
    nullptr,
    // 7 PteranoFlyer
    nullptr,
    // 8 Torpedo
    &kTorpedoKind,
    // 9 Ship
    nullptr,
    // 10 MapExit
    nullptr,
    // 11 EnergyPack
    nullptr,
    // 12 AmmoMGun
    nullptr,
    // 13 AmmoPlasma
    nullptr,
    // 14 AmmoRocket
    nullptr,
    // 15 ShipKeyCard
    nullptr,
    // 16 Barrier
    nullptr,
    // 17 HyperLoad
    nullptr,
    // 18 ShootingTower
    nullptr,
    // 19 Mainframe
    nullptr,
    // 20 XBomb
    nullptr,
    // 21 NeuralLink
    nullptr,
    // 22 CodeCard
    nullptr,
    // 23 HoverChasmo
    nullptr,
};

// The craft's head-up refreshes: `&kPlayerHooks` once the craft is built.
const PlayerHooks* const kBuiltPlayerHooks =
    // the craft's hooks
    &kPlayerHooks;

const KindFunctions kNoKind = {};

// Rows tests have put in place of the built ones.
const KindFunctions* testKinds[kLastTypeCode + 1] = {};
const PlayerHooks* testPlayerHooks = nullptr;
bool playerHooksReplaced = false;

}  // namespace

const KindFunctions* KindFunctionsFor(int32_t type) {
  if (type < 1 || type > kLastTypeCode) return nullptr;
  if (testKinds[type]) return testKinds[type];
  return kBuiltKinds[type] ? kBuiltKinds[type] : &kNoKind;
}

void SetKindFunctionsForTest(int32_t type, const KindFunctions* functions) {
  if (type >= 1 && type <= kLastTypeCode) testKinds[type] = functions;
}

const PlayerHooks* GetPlayerHooks() {
  return playerHooksReplaced ? testPlayerHooks : kBuiltPlayerHooks;
}

void SetPlayerHooksForTest(const PlayerHooks* hooks) {
  testPlayerHooks = hooks;
  playerHooksReplaced = hooks != nullptr;
}
