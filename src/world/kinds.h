// Inside the world: the entity record, the entity manager, the kind-function table by type
// code, the .ent record, flip-book sprite animations and pooled explosions. Every kind file
// builds on this header; nothing outside src/world includes it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "world/world.h"

// ---------------------------------------------------------------------------------------
// Type codes and movement modes

enum EntityTypeCode : int32_t {
  kTypePlayer = 1,
  kTypeRocket = 2,
  kTypePlasma = 3,
  kTypeRifleBullet = 4,
  kTypeStegoTank = 5,
  kTypeMegaRaptor = 6,
  kTypePteranoFlyer = 7,
  kTypeTorpedo = 8,
  kTypeShip = 9,
  kTypeMapExit = 10,
  kTypeEnergyPack = 11,
  kTypeAmmoMGun = 12,
  kTypeAmmoPlasma = 13,
  kTypeAmmoRocket = 14,
  kTypeShipKeyCard = 15,
  kTypeBarrier = 16,
  kTypeHyperLoad = 17,
  kTypeShootingTower = 18,
  kTypeMainframe = 19,
  kTypeXBomb = 20,
  kTypeNeuralLink = 21,
  kTypeCodeCard = 22,
  kTypeHoverChasmo = 23,
  kTypeMapMarker = 100,  // a .ent record only; never an entity
};
constexpr int32_t kLastTypeCode = 23;

enum MovementMode : int32_t {
  kModeHover = 0,
  kModeGround = 1,
  kModeBallistic = 2,
  kModeFlyer = 3,
  kModeFixed = 4,
};

constexpr int kMaxEntities = 100;

// ---------------------------------------------------------------------------------------
// Entity: one live game object. Blocks of four words are copied, saved and restored whole.

struct Entity {
  int32_t x, y, z, w;               // position block; y is up
  int32_t prevX, prevY, prevZ, prevW;  // position at the start of the manager's update
  int32_t dirX, dirY, dirZ, dirW;   // direction block: sine, vertical, cosine (256 = 1)
  int32_t planeX, planeY, planeZ, planeD;  // plane of the ground polygon stood on last
  int32_t vx, vy, vz, vw;           // velocity block; Ground keeps the forward speed in vz
  int32_t motion[4];                // kept with the player's craft, not used by the manager
  int32_t pitch;                    // positive looks down; users keep it within +-50000
  int32_t heading;                  // 0..524288 after wrapping
  int32_t bank;                     // roll for drawing, within +-50000
  uint8_t thrust;                   // 1: accelerate forward
  uint8_t turnLeft, turnRight;      // turn requests of this tick
  int32_t maxSpeed;                 // speed limit; the fixed speed of Ballistic movement
  int32_t turnRate;                 // heading change per tick (not Hover)
  int32_t speed;                    // the speed after the move
  uint8_t halted;                   // Ballistic: does not move while set
  uint8_t active;                   // 0: dormant, skipped by movement and collisions
  void* kind;                       // the kind object that owns this entity
  int32_t type;                     // EntityTypeCode
  Entity* owner;                    // projectiles: who fired (its own shots never hurt it)
  int32_t mode;                     // MovementMode
  int32_t ownObject;                // its own 3D object, skipped by world collision
  int32_t radius;                   // collision radius in map units
  int32_t age;                      // ms since creation, also while dormant
};

// ---------------------------------------------------------------------------------------
// The .ent record: 220 bytes, little-endian.

constexpr int kEntRecordBytes = 220;
constexpr int kMaxEntRecords = 50;
constexpr int kEntTagBytes = 128;
constexpr int kEntEntryBytes = 64;

struct EntRecord {
  int32_t reserved;
  int32_t type;                // EntityTypeCode or kTypeMapMarker
  int32_t x, y, z, w;          // position block (z not negated)
  int32_t heading;             // whole degrees
  char tag[kEntTagBytes];      // condition tag, or a map exit's target map file
  char entry[kEntEntryBytes];  // the player's entry point, or a map exit's target entry
};
static_assert(sizeof(EntRecord) == kEntRecordBytes);
static_assert(offsetof(EntRecord, tag) == 28);
static_assert(offsetof(EntRecord, entry) == 156);

// Degrees of a .ent heading to heading units (x 1456.3, truncated).
int32_t HeadingFromDegrees(int32_t degrees);

// ---------------------------------------------------------------------------------------
// Kinds. Every kind record begins with a KindHeader, so that loading, map state and the
// radar can treat kinds alike; the rest of the record is the kind's own.

struct KindHeader {
  int32_t type;      // EntityTypeCode, the tag of its KindList entry
  Entity* entity;    // its own entity, null when the table was full
  int32_t object;    // its own 3D object in the map's store, -1 for none
  int32_t hitPoints; // enemies: what the map state keeps
  int32_t state;     // enemies: 0 alive, 1 exploding, 2 dead; other kinds their own states
};

// The four functions of a kind. Only what a kind has is set.
struct KindFunctions {
  // Called by the map loader for a .ent record of its type: allocates the zero-filled kind
  // record (starting with KindHeader), its entity and its objects. The loader then places
  // it. Null when nothing could be made.
  void* (*create)(World* world, const EntRecord& record);
  // Once per world step, in KindList order.
  void (*update)(World* world, void* kind);
  // The entity manager's collision call; other is null for a hit against the map.
  int32_t (*collide)(World* world, void* kind, Entity* self, Entity* other);
  // Releases what the kind holds; the world frees the record itself afterwards.
  void (*destroy)(World* world, void* kind);
};

// The row of a type code; null outside 1..23. Rows of kinds not built have null functions.
const KindFunctions* KindFunctionsFor(int32_t type);
// Tests put a kind of their own in a row (null gives the built row back).
void SetKindFunctionsForTest(int32_t type, const KindFunctions* functions);

// ---------------------------------------------------------------------------------------
// The entity manager: one per loaded map.

struct EntityManager {
  uint32_t app;
  Poly3D* polygons;        // world collision: the object being examined
  int32_t polygonCount;
  Vertex3D* vertices;
  int32_t explosionSample;  // "PlasmaExplosion.wav": driving over damaging ground
  Entity* entities[kMaxEntities];
  int32_t count;
  uint8_t* work[3];         // three 16-byte work buffers
  ObjectStore* store;       // the map's objects
};

// Creates the manager over the map's store and loads its sample; null when memory is short.
EntityManager* CreateEntityManager(World* world, ObjectStore* store);
void DestroyEntityManager(World* world, EntityManager* manager);
// A new active entity, direction (0, 0, 255); null with "Max entities reached." when full.
Entity* AddEntity(EntityManager* manager, int32_t type, int32_t mode, void* kind);
// One tick of movement and collisions for every entity.
void UpdateEntities(World* world, EntityManager* manager);
// The collide function of self's type with (self.kind, self, other); other null: the map.
void DispatchCollision(World* world, Entity* self, Entity* other);
// dirX and dirZ from the heading's sine and cosine.
void SetDirectionFromHeading(Entity* entity);

// ---------------------------------------------------------------------------------------
// SprAnim: a flip-book animation shown as one 3D sprite of the scene.

constexpr int kSprAnimFrames = 35;
enum SprAnimMode : int32_t { kAnimLoop = 1, kAnimOnce = 2 };

struct SprAnim {
  uint8_t playing;
  uint32_t owner;
  Engine3D* scene;
  int32_t animation;          // -1: none
  int32_t frame;
  int32_t previousAnimation;
  int32_t time;               // ms in the current frame
  int32_t sprite;             // its 3D sprite in the scene
  uint8_t visible;
  int32_t images[kSprAnimFrames];     // sprite-table slots, -1 empty
  int32_t durations[kSprAnimFrames];  // ms
  int32_t mode;               // animation 0: kAnimLoop or kAnimOnce

  void Init(uint32_t owner, Engine3D* scene);
  // A 3D sprite of the file (blit mode, colour key, scale) as frame 0 of the animation.
  bool AddBaseSprite(const char* file, int32_t animation, int32_t duration, int32_t mode,
                     int32_t blitMode, int32_t key, double scale);
  // The file into the first empty frame after 0; "Max spr anim reached." when full.
  bool AddFrame(const char* file, int32_t duration);
  void Play(int32_t animation);
  void Stop();
  void SetVisible(uint8_t flag);
  void SetPosition(int32_t x, int32_t y, int32_t z);
  void Update();  // advances by FrameDeltaMs
  void Release();
};

// Eight pooled explosions, each a flip-book with its own "BigExplosion.wav".
constexpr int kExplosionSlots = 8;

struct ExplosionManager {
  uint32_t app;
  Engine3D* scene;
  SprAnim* anims[kExplosionSlots];
  int32_t samples[kExplosionSlots];
};

ExplosionManager* CreateExplosionManager(World* world, Engine3D* scene);
// The first idle explosion at the position, with its sound; 0 when all eight are busy.
int32_t StartExplosion(World* world, ExplosionManager* manager, int32_t x, int32_t y,
                       int32_t z);
void UpdateExplosions(ExplosionManager* manager);
void DestroyExplosionManager(World* world, ExplosionManager* manager);

// ---------------------------------------------------------------------------------------
// The player's craft: the current player every other kind asks about.

struct ShotWeapon;
struct RocketLauncher;

struct PlayerCraft {
  KindHeader header;         // object = craftObject, state = the craft's state 0..8
  int32_t craftObject;       // "player1.tdo"
  int32_t explosionObject;   // "player1_expl_f1.tdo", hidden until the craft explodes
  int32_t weapon;            // 0 machine gun, 1 plasma, 2 rocket
  int32_t walkBlend;         // 0..254 within the current walk segment
  int32_t explosionTime;
  int32_t explosionStep;
  int32_t settling;
  int32_t plasmaSide;
  int32_t gunAmmo;           // max 300
  int32_t rockets;           // max 8
  int32_t plasmaAmmo;        // max 150
  int32_t energy;            // max 250
  // the craft's state 0..8 is header.state
  int32_t stateTime;
  int32_t boardingSteps;
  int32_t sounds[4];         // step, starteng, stopeng, rotate
  ObjectStore* scene;
  Entity* entity;
  uint32_t app;
  FrameSet* walkAnimator;
  FrameSet* explosionAnimator;
  RocketLauncher* rocketLauncher;
  ShotWeapon* plasmaGun;
  ShotWeapon* machineGun;
  int32_t walkFrame;         // 2..5
  int32_t walkFrameCount;    // 5
  int32_t walkSpeed;
  ScrollText* finalText;     // the closing text's panel while it scrolls (state 7)
};

// Head-up display refreshes, also called by map loading and pickups. The weapon display
// (CURRWEAPON and the crosshair of the weapon) also refreshes the ammunition (AMMOLEFT),
// which always shows the current weapon's count.
void RefreshWeaponDisplay(World* world, PlayerCraft* craft);
void RefreshAmmoDisplay(World* world, PlayerCraft* craft);
void RefreshEngineLed(World* world, PlayerCraft* craft);

// What the world core calls of the craft's code. The craft's files define
// `const PlayerHooks kPlayerHooks = {RefreshEngineLed, RefreshWeaponDisplay,
// RefreshAmmoDisplay, <its camera update>};` and name it in kind_table.cpp; until then the
// hooks are null and the world skips those calls, so it links and runs without the craft.
struct PlayerHooks {
  void (*refreshEngineLed)(World* world, PlayerCraft* craft);
  void (*refreshWeaponDisplay)(World* world, PlayerCraft* craft);
  void (*refreshAmmoDisplay)(World* world, PlayerCraft* craft);
  // The camera of the world step (after the kinds' updates); null: the camera stays.
  void (*updateCamera)(World* world);
};
// Null while the craft is not built.
const PlayerHooks* GetPlayerHooks();
// Tests put hooks of their own in place (null gives the built ones back).
void SetPlayerHooksForTest(const PlayerHooks* hooks);

// ---------------------------------------------------------------------------------------
// The ship: its record begins with this, so the world step can see the departure.

struct ShipHead {
  KindHeader header;
  int32_t departureCounter;  // exactly 100: the ship has left, the campaign ends
};

// ---------------------------------------------------------------------------------------
// The radar map: the map's outline drawn once into the IMG_MAP2D picture, entity dots on top
// every frame.

struct Map2D {
  int32_t image;           // sprite-table slot of the picture drawn into
  uint32_t app;
  Engine3D* scene;
  uint8_t enabled;         // cleared while loading
  int32_t marginX, marginY;
  int32_t maxX, maxZ, minX, minZ, maxY, minY;  // bounds of the map geometry
  int32_t controlY, controlX;
  int32_t width, height;   // of the picture
  float scale;
  int32_t offsetX, offsetZ;  // -minX, -minZ
};

// Measures the scene's map geometry and draws its outline into the picture in `image` at
// (x, y) of the screen. Null when memory is short.
Map2D* CreateMap2D(World* world, Engine3D* scene, int32_t image, int32_t x, int32_t y,
                   int32_t width, int32_t height);
void DestroyMap2D(Map2D* map);
// The dots of the player, the enemies and the ship, when enabled.
void DrawMap2DEntities(Map2D* map, const EntityManager* entities);

// ---------------------------------------------------------------------------------------
// Map state records

// Bytes the map state file keeps for a kind of this type (0 for none).
int32_t MapStateRecordBytes(int32_t type);
// "map1_1.map" -> "map1_1.sav" into out (kWorldNameBytes); false for no map (shorter than 5).
bool MapStateFileName(const char* mapFile, char* out);
// Copies a data file by reading it whole and writing the copy atomically; false when the
// source does not open or the copy cannot be written.
bool CopyDataFile(const char* from, const char* to);

// ---------------------------------------------------------------------------------------
// The kinds, one file pair each; the table in kind_table.cpp names them by type code.
// Each kind defines its row under the name declared here and puts `&kXxxKind` into its
// line of the table (the lines are kept apart so that rows added on different branches
// merge without conflicts). A name declared here but not yet defined is simply unused.

extern const KindFunctions kPlayerKind;         // 1
extern const KindFunctions kRocketKind;         // 2
extern const KindFunctions kPlasmaKind;         // 3
extern const KindFunctions kRifleBulletKind;    // 4
extern const KindFunctions kStegoTankKind;      // 5
extern const KindFunctions kMegaRaptorKind;     // 6
extern const KindFunctions kPteranoFlyerKind;   // 7
extern const KindFunctions kTorpedoKind;        // 8
extern const KindFunctions kShipKind;           // 9
extern const KindFunctions kMapExitKind;        // 10
extern const KindFunctions kEnergyPackKind;     // 11
extern const KindFunctions kAmmoMGunKind;       // 12
extern const KindFunctions kAmmoPlasmaKind;     // 13
extern const KindFunctions kAmmoRocketKind;     // 14
extern const KindFunctions kShipKeyCardKind;    // 15
extern const KindFunctions kBarrierKind;        // 16
extern const KindFunctions kHyperLoadKind;      // 17
extern const KindFunctions kShootingTowerKind;  // 18
extern const KindFunctions kMainframeKind;      // 19
extern const KindFunctions kXBombKind;          // 20
extern const KindFunctions kNeuralLinkKind;     // 21
extern const KindFunctions kCodeCardKind;       // 22
extern const KindFunctions kHoverChasmoKind;    // 23
extern const PlayerHooks kPlayerHooks;

