// The player's walking combat craft: created from the player data, driven by the input
// latches, walking, firing, hurt by shots and bumps, exploding, boarding the ship, and the
// final sequence; it gives its progress back to the player data when the map is left.
#include <cstring>
#include <new>

#include "core/display.h"
#include "gui/scroll_text.h"
#include "world/player_craft.h"
#include "world/weapons.h"
#include "world/world_internal.h"

namespace {

constexpr int32_t kMaxPitch = 50000;
constexpr int32_t kPitchStep = 3000;
constexpr int32_t kCraftMaxSpeed = 60;
constexpr int32_t kCraftTurnRate = 5000;
constexpr int32_t kWalkSettleSpeed = 40;
constexpr int32_t kBoardingWalkSpeed = 30;
constexpr int32_t kRestBlend = 30;      // below this at the start of segment 2 or 4: upright
constexpr int32_t kFadeAtExplosion = 180;
constexpr int32_t kExplosionEnd = 257;
constexpr int32_t kBoardingPauseMs = 100;
constexpr int32_t kBoardingClimbTicks = 28;
constexpr int32_t kBoardingTicks = 90;
constexpr int32_t kFinalStepMs = 50;

enum Sound { kStep = 0, kStartEngine = 1, kStopEngine = 2, kRotate = 3 };

// Damage of a shot by projectile and skill (easy, normal, hard).
struct ShotDamage {
  int32_t type;
  int32_t bySkill[3];
};
constexpr ShotDamage kShotDamage[] = {
    {kTypePlasma, {7, 10, 14}},
    {kTypeRifleBullet, {3, 5, 7}},
    {kTypeTorpedo, {13, 20, 30}},
};

ObjectStore* StoreOf(World* world) { return world->scene ? &world->scene->store : nullptr; }

void ShowObject(PlayerCraft* craft, int32_t index, bool shown) {
  if (Object3D* o = craft->scene ? craft->scene->Get(index) : nullptr) o->hidden = shown ? 0 : 1;
}

void PlaceObject(PlayerCraft* craft, int32_t index, const Entity* e) {
  if (!craft->scene) return;
  craft->scene->SetPosition(index, e->x, e->y, e->z);
  craft->scene->SetAngles(index, 0, e->heading, 0);
}

void Play(World* world, PlayerCraft* craft, Sound which) {
  SoundSystem* sound = WorldSound(world);
  if (sound && craft->sounds[which] >= 0) PlaySample(sound, craft->sounds[which], 0);
}

bool OutsideView(const World* world) { return world->cameraMode == 2 || world->cameraMode == 3; }

// The craft's frame set shows one key frame whole (a blend of it with itself).
void ShowPose(FrameSet* set, int32_t frame) {
  if (set) set->Blend(set->lastBlend == 0 ? 256 : 0, frame, frame);
}

// Moves the blend on by `step`; a new segment starts at 255, and the feet land (step.wav)
// at the start of segments 2 and 4.
void AdvanceWalk(World* world, PlayerCraft* craft, int32_t step, bool shown) {
  craft->walkBlend += step;
  if (craft->walkBlend >= 255) {
    craft->walkBlend = 0;
    craft->walkFrame = craft->walkFrame >= craft->walkFrameCount ? 2 : craft->walkFrame + 1;
    if (craft->walkFrame == 2 || craft->walkFrame == 4) Play(world, craft, kStep);
  }
  if (shown && craft->walkAnimator)
    craft->walkAnimator->Blend(craft->walkBlend, craft->walkFrame - 1, craft->walkFrame);
}

// Standing still, the legs finish their stride at half speed (one tick on, one tick off)
// and stop only upright, at the start of segment 2 or 4.
void Walk(World* world, PlayerCraft* craft) {
  const Entity* e = craft->entity;
  craft->walkSpeed = e->speed - 10;
  if (craft->walkSpeed < 5) craft->walkSpeed = 5;
  if (e->speed < 11 && !craft->settling) {
    const bool upright = (craft->walkFrame == 2 || craft->walkFrame == 4) &&
                         craft->walkBlend < kRestBlend;
    if (!upright) craft->settling = 1;
    return;
  }
  if (craft->settling) craft->walkSpeed = kWalkSettleSpeed;
  AdvanceWalk(world, craft, craft->walkSpeed, OutsideView(world));
  craft->settling = 0;
}

// When the current weapon is empty: plasma, else rockets, else the machine gun.
void SelectIfEmpty(World* world, PlayerCraft* craft) {
  const int32_t ammo[3] = {craft->gunAmmo, craft->plasmaAmmo, craft->rockets};
  if (craft->weapon >= 0 && craft->weapon <= 2 && ammo[craft->weapon] != 0) return;
  SelectWeaponWithAmmo(world, craft);
}

void Fire(World* world, PlayerCraft* craft) {
  Entity* e = craft->entity;
  switch (craft->weapon) {
    case kWeaponMachineGun:
      if (craft->gunAmmo != 0) {
        PositionBlock muzzle = MuzzlePosition(e, -50, 150, 70, e->heading);
        if (FireShotWeapon(world, craft->machineGun, muzzle, e->pitch, e->heading))
          craft->gunAmmo -= 2;
        return;
      }
      break;
    case kWeaponPlasma:
      if (craft->plasmaAmmo > 0) {
        PositionBlock muzzle =
            MuzzlePosition(e, craft->plasmaSide ? -80 : 80, 150, 100, e->heading);
        if (FireShotWeapon(world, craft->plasmaGun, muzzle, e->pitch, e->heading)) {
          craft->plasmaAmmo -= 1;
          craft->plasmaSide = !craft->plasmaSide;
        }
        return;
      }
      break;
    case kWeaponRocket:
      if (craft->rockets > 0) {
        PositionBlock muzzle = MuzzlePosition(e, -40, 140, 40, e->heading);
        if (FireRocket(world, craft->rocketLauncher, muzzle, e->pitch, e->heading, e->bank))
          craft->rockets -= 1;
        return;
      }
      break;
    default:
      break;
  }
  SelectIfEmpty(world, craft);
}

void Controls(World* world, PlayerCraft* craft) {
  Entity* e = craft->entity;
  if (!Input.inputEnabled) return;
  e->turnLeft = ActionHeld(kActLeft) ? 1 : 0;
  e->turnRight = ActionHeld(kActRight) ? 1 : 0;
  if (ActionHeld(kActViewDown) && e->pitch < kMaxPitch) e->pitch += kPitchStep;
  if (ActionHeld(kActViewUp) && e->pitch > -kMaxPitch) e->pitch -= kPitchStep;
  if (ActionPressed(kActEngineOnOff)) {
    e->thrust = e->thrust ? 0 : 1;
    RefreshEngineLed(world, craft);
  }
  if (ActionHeld(kActShoot)) {
    Fire(world, craft);
    RefreshAmmoDisplay(world, craft);
  }
  if (ActionPressed(kActChangeWeapon)) {
    craft->weapon = craft->weapon >= 2 || craft->weapon < 0 ? 0 : craft->weapon + 1;
    RefreshWeaponDisplay(world, craft);
  }
  if (ActionPressed(kActEngineOnOff)) Play(world, craft, kStartEngine);
  if (ActionReleased(kActEngineOnOff)) Play(world, craft, kStopEngine);
  if (ActionPressed(kActLeft) || ActionPressed(kActRight) || ActionPressed(kActViewDown) ||
      ActionPressed(kActViewUp))
    Play(world, craft, kRotate);
}

// Only the full-screen 3D view (and the given extras) stays on the screen. With the whole
// frame, the view and its sky grow over the rows of the hidden head-up panel, which would
// otherwise stay black for the whole sequence; the form is made anew when play goes on.
void FullScreenView(World* world, bool wholeFrame, const char* const* extras, int count) {
  ClearFrame();
  FormManager* forms = WorldForms(world);
  if (!forms) return;
  HideAllControls(forms);
  SetControlVisible(forms, "NEWTDENG", 1);
  SetControlVisible(forms, "NEWBACKGROUND", 1);
  for (int i = 0; i < count; ++i) SetControlVisible(forms, extras[i], 1);
  if (!wholeFrame) return;
  const int32_t w = int32_t(FrameBufferWidth), h = int32_t(FrameBufferHeight);
  SetControlArea(forms, "NEWTDENG", 0, 0, w, h);
  SetControlArea(forms, "NEWBACKGROUND", 0, 0, w, h);
}

void Halt(Entity* e) {
  e->thrust = 0;
  e->turnLeft = e->turnRight = 0;
  e->vx = e->vy = e->vz = e->vw = 0;
  e->active = 0;
}

void StopAllSounds(World* world) {
  SoundSystem* sound = WorldSound(world);
  if (!sound) return;
  for (const MixChannel& channel : sound->channels)
    if (channel.state == kChannelPlaying) StopSample(sound, channel.slotIndex);
}

void Die(World* world, PlayerCraft* craft) {
  Entity* e = craft->entity;
  FullScreenView(world, true, nullptr, 0);
  craft->header.state = kCraftExploding;
  e->active = 0;
  ShowObject(craft, craft->craftObject, false);
  if (craft->scene) {
    craft->scene->SetPosition(craft->explosionObject, e->x, e->y, e->z);
    craft->scene->SetAngles(craft->explosionObject, 0, e->heading, 0);
  }
  ShowObject(craft, craft->explosionObject, true);
  BurstRocketAt(world, craft->rocketLauncher, e->x, e->y, e->z);
}

void Explode(World* world, PlayerCraft* craft) {
  craft->explosionTime += craft->explosionStep;
  if (craft->explosionAnimator) craft->explosionAnimator->Blend(craft->explosionTime, 1, 2);
  if (craft->explosionTime == kFadeAtExplosion && world->host) world->host->SetFadeOut();
  if (craft->explosionTime >= kExplosionEnd) {
    ShowObject(craft, craft->explosionObject, false);
    craft->header.state = kCraftDead;
    StopAllSounds(world);
  }
}

const Entity* ShipEntity(const World* world) {
  const KindHeader* ship = static_cast<const KindHeader*>(world->ship);
  return ship ? ship->entity : nullptr;
}

void Board(World* world, PlayerCraft* craft) {
  Entity* e = craft->entity;
  if (world->host) world->host->GetPlayerData().boardedShip = 1;
  FullScreenView(world, true, nullptr, 0);
  Halt(e);
  ShowObject(craft, craft->craftObject, true);
  if (const Entity* ship = ShipEntity(world)) {
    Vec3 offset = {0, 0, -1000};
    Math->TurnAboutY(&offset, ship->heading);
    e->x = WrapAdd(ship->x, offset.x);
    e->y = WrapAdd(WrapAdd(ship->y, offset.y), 110);
    e->z = WrapAdd(ship->z, offset.z);
    e->heading = ship->heading;
  }
  PlaceObject(craft, craft->craftObject, e);
  craft->walkBlend = 0;
  craft->walkFrame = 2;
  craft->stateTime = WrapAdd(craft->stateTime, FrameDeltaMs);
  if (craft->stateTime > kBoardingPauseMs) {
    craft->boardingSteps = 0;
    craft->header.state = kCraftDrivingIn;
  }
}

void DriveIn(World* world, PlayerCraft* craft) {
  Entity* e = craft->entity;
  const Entity* ship = ShipEntity(world);
  Vec3 step = {0, 0, 5};
  Math->TurnAboutY(&step, ship ? ship->heading : e->heading);
  e->x = WrapAdd(e->x, step.x);
  e->z = WrapAdd(e->z, step.z);
  if (craft->boardingSteps < kBoardingClimbTicks) e->y = WrapAdd(e->y, 2);
  PlaceObject(craft, craft->craftObject, e);
  craft->boardingSteps += 1;
  if (craft->boardingSteps >= kBoardingTicks) craft->header.state = kCraftInShip;
  AdvanceWalk(world, craft, kBoardingWalkSpeed, true);
}

void StartFinal(World* world, PlayerCraft* craft) {
  Entity* e = craft->entity;
  world->cameraMode = 4;
  Halt(e);
  ShowPose(craft->walkAnimator, 1);
  // The final text's panel fills the rows below the view, as the form lays them out.
  static const char* const kExtras[] = {"IMG_TEXTFINAL", "BTN_MENU"};
  FullScreenView(world, false, kExtras, 2);
  FormManager* forms = WorldForms(world);
  int32_t kind = 0;
  SpriteImage* image = forms ? static_cast<SpriteImage*>(
                                   FindCurrentControl(forms, "IMG_SCROLLFINAL", &kind))
                             : nullptr;
  if (!image || kind != kControlBitmap) {
    LogMessage("Error getting ptr for IMG_SCROLLFINAL");
  } else {
    SetControlVisible(forms, "IMG_SCROLLFINAL", 1);
    craft->finalText = static_cast<ScrollText*>(AllocZeroed(sizeof(ScrollText)));
    if (craft->finalText)
      craft->finalText->Create(world->app, image->slot, "final.txt", forms->font2, 0.3f);
  }
  if (SoundSystem* sound = WorldSound(world)) StartIntroMusic(sound);
  craft->header.state = kCraftFinalText;
}

void FinalText(World* world, PlayerCraft* craft) {
  FrameDeltaMs = kFinalStepMs;
  // Without its panel there is no text to wait for.
  if (craft->finalText && craft->finalText->Update()) return;
  if (craft->finalText) {
    craft->finalText->Destroy();
    MemFree(craft->finalText);
    craft->finalText = nullptr;
  }
  if (world->host) {
    world->host->SetScreenState(kScreenToMainMenu);
    world->host->SetFadeOut();
  }
}

int32_t LoadSound(SoundSystem* sound, const char* name, const char* error, int32_t volume) {
  int32_t slot = sound ? LoadWav(sound, name) : -1;
  if (slot < 0) {
    LogMessage(error);
    return -1;
  }
  if (volume >= 0) SetSampleVolume(sound, slot, volume);
  return slot;
}

void* CreateCraft(World* world, const EntRecord&) {
  PlayerCraft* craft = static_cast<PlayerCraft*>(AllocZeroed(sizeof(PlayerCraft)));
  if (!craft) return nullptr;
  ObjectStore* store = StoreOf(world);
  craft->header.type = kTypePlayer;
  craft->scene = store;
  craft->app = world->app;
  craft->craftObject = store ? store->LoadShared("player1.tdo", 1, 2) : -1;
  if (craft->craftObject < 0) LogMessage("Error loading player1.tdo");
  craft->explosionObject = store ? store->LoadShared("player1_expl_f1.tdo", 1, 2) : -1;
  ShowObject(craft, craft->explosionObject, false);
  SoundSystem* sound = WorldSound(world);
  craft->sounds[kStep] = LoadSound(sound, "step.wav", "Error loading step.wav", 70);
  craft->sounds[kStartEngine] = LoadSound(sound, "starteng.wav", "Error loading starteng.wav", -1);
  craft->sounds[kStopEngine] = LoadSound(sound, "stopeng.wav", "Error loading stopeng.wav", -1);
  craft->sounds[kRotate] = LoadSound(sound, "rotate.wav", "Error loading rotate.wav", 80);

  Entity* e = AddEntity(world->entities, kTypePlayer, kModeGround, craft);
  craft->entity = e;
  craft->header.entity = e;
  craft->header.object = craft->craftObject;
  const Object3D* body = store ? store->Get(craft->craftObject) : nullptr;
  if (e) {
    e->radius = body ? body->radius : 0;
    e->maxSpeed = kCraftMaxSpeed;
    e->turnRate = kCraftTurnRate;
    e->ownObject = craft->craftObject;
  }
  static const char* const kWalkFrames[] = {"player1_f1.tdo", "player1_f2.tdo", "player1_f1.tdo",
                                            "player1_f4.tdo", "player1_f1.tdo"};
  static const char* const kExplosionFrames[] = {"player1_expl_f1.tdo", "player1_expl_f2.tdo"};
  craft->walkAnimator = MakeKindFrameSet(world, store ? store->Get(craft->craftObject) : nullptr,
                                     kWalkFrames, 5);
  craft->explosionAnimator = MakeKindFrameSet(
      world, store ? store->Get(craft->explosionObject) : nullptr, kExplosionFrames, 2);
  craft->rocketLauncher = CreateRocketLauncher(world, e);
  craft->plasmaGun = CreateShotWeapon(world, kPlasmaGun, e);
  craft->machineGun = CreateShotWeapon(world, kMachineGun, e);
  craft->walkFrame = 2;
  craft->walkFrameCount = 5;
  craft->walkSpeed = 40;
  craft->explosionStep = 1;

  if (world->host) {
    const PlayerData& data = world->host->GetPlayerData();
    craft->weapon = data.weapon;
    craft->gunAmmo = data.gunAmmo;
    craft->rockets = data.rockets;
    craft->plasmaAmmo = data.plasmaAmmo;
    craft->energy = data.energy;
    craft->header.state = data.state == kCraftLeftMap ? kCraftAlive : data.state;
    if (e) {
      e->thrust = data.engineOn ? 1 : 0;
      memcpy(e->motion, data.motion, sizeof e->motion);
      e->vx = data.velocity[0];
      e->vy = data.velocity[1];
      e->vz = data.velocity[2];
      e->vw = data.velocity[3];
    }
  }
  ShowObject(craft, craft->craftObject, OutsideView(world));
  return craft;
}

void UpdateCraft(World* world, void* kind) {
  PlayerCraft* craft = static_cast<PlayerCraft*>(kind);
  UpdateShotWeapon(world, craft->machineGun);
  UpdateRocketLauncher(world, craft->rocketLauncher);
  UpdateShotWeapon(world, craft->plasmaGun);
  Entity* e = craft->entity;
  if (!e) return;
  switch (craft->header.state) {
    case kCraftAlive:
      if (craft->energy > 0) {
        PlaceObject(craft, craft->craftObject, e);
        Controls(world, craft);
        Walk(world, craft);
      } else {
        Die(world, craft);
      }
      break;
    case kCraftExploding: Explode(world, craft); break;
    case kCraftBoarding: Board(world, craft); break;
    case kCraftDrivingIn: DriveIn(world, craft); break;
    case kCraftInShip: PlaceObject(craft, craft->craftObject, e); break;
    case kCraftFinalStart: StartFinal(world, craft); break;
    case kCraftFinalText: FinalText(world, craft); break;
    default: break;  // 2: the world restores the map; 8: waiting to be unloaded
  }
}

int32_t CollideCraft(World* world, void* kind, Entity* self, Entity* other) {
  PlayerCraft* craft = static_cast<PlayerCraft*>(kind);
  if (craft->header.state == kCraftFinalText) return 0;
  if (!other) {
    self->vx = -self->vx;
    self->vy = -self->vy;
    self->vz = -self->vz;
    return 0;
  }
  switch (other->type) {
    case kTypeRocket: case kTypeMapExit: case kTypeEnergyPack: case kTypeAmmoMGun:
    case kTypeAmmoPlasma: case kTypeAmmoRocket: case kTypeShipKeyCard: case kTypeHyperLoad:
    case kTypeXBomb: case kTypeCodeCard:
      return 0;
    case kTypePlasma: case kTypeRifleBullet: case kTypeTorpedo: {
      if (other->owner == self || !other->active) return 0;
      const int32_t skill = world->host ? world->host->GetPlayerData().skillLevel : 2;
      const int32_t column = skill == 1 ? 0 : (skill == 3 ? 2 : 1);
      for (const ShotDamage& row : kShotDamage)
        if (row.type == other->type) craft->energy -= row.bySkill[column];
      if (craft->energy < 0) craft->energy = 0;
      return 0;
    }
    case kTypeShip:
      if (world->host && world->host->GetPlayerData().haveShipKeyCard) {
        if (craft->header.state == kCraftAlive) {
          craft->header.state = kCraftBoarding;
          craft->stateTime = 0;
        }
        return 0;
      }
      break;
    default:
      break;
  }
  // Bounce off, and stand clear of the other at the sum of the radii plus 10.
  self->vx = -self->vx;
  self->vy = -self->vy;
  self->vz = -self->vz;
  Vec3 d = {WrapSub(other->x, self->x), WrapSub(other->y, self->y), WrapSub(other->z, self->z)};
  MathTables::Normalize(&d);
  const int64_t reach = int64_t(self->radius) + other->radius + 10;
  self->x = int32_t(int64_t(other->x) - ((reach * d.x) >> 8));
  self->y = int32_t(int64_t(other->y) - ((reach * d.y) >> 8));
  self->z = int32_t(int64_t(other->z) - ((reach * d.z) >> 8));
  return 0;
}

void DestroyCraft(World* world, void* kind) {
  PlayerCraft* craft = static_cast<PlayerCraft*>(kind);
  StorePersistentFields(world, craft);
  DestroyRocketLauncher(world, craft->rocketLauncher);
  DestroyShotWeapon(world, craft->plasmaGun);
  DestroyShotWeapon(world, craft->machineGun);
  craft->rocketLauncher = nullptr;
  craft->plasmaGun = craft->machineGun = nullptr;
  FreeKindFrameSet(craft->walkAnimator);
  FreeKindFrameSet(craft->explosionAnimator);
  craft->walkAnimator = craft->explosionAnimator = nullptr;
  if (SoundSystem* sound = WorldSound(world))
    for (int32_t& slot : craft->sounds)
      if (slot >= 0) FreeSample(sound, slot);
  if (craft->finalText) {
    craft->finalText->Destroy();
    MemFree(craft->finalText);
    craft->finalText = nullptr;
  }
}

}  // namespace

void StorePersistentFields(World* world, PlayerCraft* craft) {
  if (!world->host) return;
  PlayerData& data = world->host->GetPlayerData();
  const Entity* e = craft->entity;
  const int32_t state = craft->header.state;
  if ((state == kCraftAlive || state == kCraftLeftMap) && e) {
    data.weapon = craft->weapon;
    data.gunAmmo = craft->gunAmmo;
    data.rockets = craft->rockets;
    data.plasmaAmmo = craft->plasmaAmmo;
    data.energy = craft->energy;
    data.state = state;
    data.engineOn = e->thrust;
    memcpy(data.motion, e->motion, sizeof data.motion);
    data.velocity[0] = e->vx;
    data.velocity[1] = e->vy;
    data.velocity[2] = e->vz;
    data.velocity[3] = e->vw;
  }
  if (state == kCraftAlive && e) {
    data.position[0] = e->x;
    data.position[1] = e->y;
    data.position[2] = e->z;
    data.position[3] = e->w;
    data.direction[0] = e->dirX;
    data.direction[1] = e->dirY;
    data.direction[2] = e->dirZ;
    data.direction[3] = e->dirW;
    data.heading = e->heading;
    data.restorePlayer = 1;
  } else {
    // Through a map exit, after death or anywhere else: the next map starts at its entry.
    data.restorePlayer = 0;
  }
}

void SelectWeaponWithAmmo(World* world, PlayerCraft* craft) {
  if (craft->plasmaAmmo > 0)
    craft->weapon = kWeaponPlasma;
  else if (craft->rockets > 0)
    craft->weapon = kWeaponRocket;
  else if (craft->gunAmmo > 0)
    craft->weapon = kWeaponMachineGun;
  RefreshWeaponDisplay(world, craft);
}

const KindFunctions kPlayerKind = {CreateCraft, UpdateCraft, CollideCraft, DestroyCraft};
const PlayerHooks kPlayerHooks = {RefreshEngineLed, RefreshWeaponDisplay, RefreshAmmoDisplay,
                                  UpdateCamera};
