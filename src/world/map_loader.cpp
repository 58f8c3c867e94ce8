// Map loading in ten steps, one per rendered frame: the map's objects, its texture packs and
// sky, its entities, its radar and state, then the start of play.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "world/world_internal.h"

namespace {

// The .ent records of the map being loaded.
EntRecord records[kMaxEntRecords];

bool ReadI32(FILE* f, int32_t* out) {
  uint8_t b[4];
  if (fread(b, 1, 4, f) != 4) return false;
  *out = int32_t(ReadU32LE(b));
  return true;
}

void CloseMapFile(World* world) {
  if (world->mapFile) fclose(world->mapFile);
  world->mapFile = nullptr;
}

const PlayerHooks* Hooks() { return GetPlayerHooks(); }

void RefreshEngine(World* world) {
  const PlayerHooks* h = Hooks();
  if (h && h->refreshEngineLed && world->player) h->refreshEngineLed(world, world->player);
}

// --- Steps ---

void StepPrepare(World* world) {
  world->worldState = kWorldLoading;
  SoundSystem* sound = WorldSound(world);
  if (sound && world->host->GetSettings().playMusic) StopIntroMusic(sound);
  if (sound) SetMasterVolume(sound, 0);
  ClearFrame();
  if (FormManager* forms = WorldForms(world)) {
    HideAllControls(forms);
    SetControlVisible(forms, "PGB_LOADING", 1);
    SetControlVisible(forms, "LBL_ENTERING", 1);
  }
}

void StepScene(World* world) {
  const Settings& settings = world->host->GetSettings();
  world->cameraMode = settings.cameraMode;
  if (world->scene) world->scene->SetVisibility(settings.visibility);
  if (world->background) world->background->visible = settings.showBackground;
  world->entities = CreateEntityManager(world, world->scene ? &world->scene->store : nullptr);
}

void StepLists(World* world) {
  world->explosions = CreateExplosionManager(world, world->scene);
  world->kinds = static_cast<PointerList*>(AllocZeroed(sizeof(PointerList)));
  if (world->kinds) world->kinds->Create(world);
}

void StepOpenMap(World* world) {
  PlayerData& player = world->host->GetPlayerData();
  memcpy(world->currentMapFile, player.nextMap, kWorldNameBytes);
  world->currentMapFile[kWorldNameBytes - 1] = '\0';
  CloseMapFile(world);
  world->mapObjectCount = 0;
  world->mapFile = OpenDataFile(world->currentMapFile, "rb");
  if (!world->mapFile) {
    LogMessage((std::string("Error opening 3d map file ") + world->currentMapFile).c_str());
    return;
  }
  if (!ReadI32(world->mapFile, &world->mapObjectCount)) LogMessage("Error reading 3d map (1)");
  if (world->mapObjectCount < 0) {
    // A negative count reads nothing sensible after it: the map has no objects.
    LogMessage("Error reading 3d map (1)");
    world->mapObjectCount = 0;
    CloseMapFile(world);
  }
}

void StepObjects(World* world) {
  FILE* f = world->mapFile;
  if (!f) return;
  // The rest of the map in one read, then parsed from memory.
  FileBytes bytes;
  ReadRestOfFile(f, &bytes);
  CloseMapFile(world);
  ByteReader in(bytes);
  ObjectStore* store = world->scene ? &world->scene->store : nullptr;
  if (!ReadMapObjects(&in, store, world->mapObjectCount, kMapReservedBytes)) return;
  if (!ReadMapName(&in, world->texPackName, kWorldNameBytes))
    LogMessage("Error reading 3d map (7)");
  if (!ReadMapName(&in, world->backgroundName, kWorldNameBytes))
    LogMessage("Error reading 3d map (8)");
}

void StepMapTextures(World* world) {
  if (!world->scene || !world->scene->LoadTexturePack(world->texPackName, kBankMap))
    LogMessage("Error loading tex pack");
}

void StepEntityTexturesAndSky(World* world) {
  if (!world->scene || !world->scene->LoadTexturePack("ents.tex", kBankEntities)) {
    LogMessage("Error loading ents.tex");
    return;
  }
  if (!world->background || !world->background->LoadBackground(world->backgroundName))
    LogMessage("Error loading background");
}

void Place(Entity* e, const EntRecord& r) {
  e->x = r.x;
  e->y = r.y;
  e->z = r.z;
  e->w = r.w;
}

void PlaceWithHeading(Entity* e, const EntRecord& r) {
  Place(e, r);
  e->heading = HeadingFromDegrees(r.heading);
  SetDirectionFromHeading(e);
}

// Hidden: its object is not drawn and its entity sleeps.
void Hide(World* world, KindHeader* kind) {
  if (world->scene)
    if (Object3D* o = world->scene->store.Get(kind->object)) o->hidden = 1;
  if (kind->entity) kind->entity->active = 0;
}

void MarkMap(World* world) {
  if (world->scene) world->scene->fogMode = 1;
  if (world->background) world->background->SetFillColour(MakeColour(31, 31, 31));
  const uint16_t black = MakeColour(0, 0, 0), white = MakeColour(31, 31, 31);
  const bool outside = world->cameraMode == kCameraExternal;
  for (const char* name : {"CURRWEAPON", "AMMOLEFT"}) {
    int32_t kind = 0;
    FormManager* forms = WorldForms(world);
    void* control = forms ? FindCurrentControl(forms, name, &kind) : nullptr;
    if (!control || kind != kControlLabel) continue;
    Font* font = static_cast<LabelControl*>(control)->font;
    if (font) font->SetTextColours(outside ? black : white, outside ? white : black);
  }
}

// One kind object for the record, placed as its type wants, appended to the KindList.
void CreateKind(World* world, const EntRecord& r) {
  const PlayerData& player = world->host->GetPlayerData();
  const int32_t type = r.type;
  if (type == kTypeMapMarker) {
    MarkMap(world);
    return;
  }
  switch (type) {
    case kTypePlayer:
      if (strcmp(r.entry, player.entryPoint) != 0) return;
      break;
    case kTypeStegoTank: case kTypeMegaRaptor: case kTypePteranoFlyer: case kTypeShip:
    case kTypeMapExit: case kTypeEnergyPack: case kTypeAmmoMGun: case kTypeAmmoPlasma:
    case kTypeAmmoRocket: case kTypeShipKeyCard: case kTypeBarrier: case kTypeHyperLoad:
    case kTypeShootingTower: case kTypeMainframe: case kTypeXBomb: case kTypeNeuralLink:
    case kTypeCodeCard: case kTypeHoverChasmo:
      break;
    default:
      return;  // projectiles and unknown codes are not made from records
  }
  const KindFunctions* f = KindFunctionsFor(type);
  if (!f || !f->create) return;
  KindHeader* kind = static_cast<KindHeader*>(f->create(world, r));
  if (!kind) return;
  Entity* e = kind->entity;
  switch (type) {
    case kTypePlayer: {
      auto* craft = reinterpret_cast<PlayerCraft*>(kind);
      if (e) {
        Place(e, r);
        e->heading = HeadingFromDegrees(r.heading);
        Vec3 dir = {0, 0, 255};
        Math->TurnAboutY(&dir, e->heading);
        e->dirX = dir.x;
        e->dirY = dir.y;
        e->dirZ = dir.z;
        if (world->scene) world->scene->cameraAngle.y = e->heading;
        world->cameraHeading = e->heading;
      }
      world->player = craft;
      break;
    }
    case kTypeStegoTank: case kTypeMegaRaptor: case kTypeHoverChasmo: {
      if (e) Place(e, r);
      bool shown = true;
      if (type != kTypeHoverChasmo && strcmp(r.tag, "HaveShipKeyCard") == 0)
        shown = player.haveShipKeyCard != 0;
      if (type == kTypeHoverChasmo && strcmp(r.tag, "NeuralLinkDown") == 0)
        shown = player.neuralLinkDown != 0;
      if (type == kTypeHoverChasmo && strcmp(r.tag, "HyperjumpLoaded") == 0)
        shown = player.hyperjumpLoaded != 0;
      if (!shown) Hide(world, kind);
      break;
    }
    case kTypePteranoFlyer:
      if (e) {
        Place(e, r);
        e->y = 400;
      }
      break;
    case kTypeShip:
      if (e) PlaceWithHeading(e, r);
      if (world->ship) LogMessage("Ship entity already loaded!");
      world->ship = kind;
      break;
    case kTypeMapExit:
      if (e) {
        Place(e, r);
        e->radius = 500;
      }
      break;
    case kTypeBarrier: case kTypeHyperLoad: case kTypeShootingTower: case kTypeMainframe:
    case kTypeNeuralLink:
      if (e) PlaceWithHeading(e, r);
      break;
    default:  // the pickups lie where they are, heading 0
      if (e) Place(e, r);
      break;
  }
  if (world->kinds) world->kinds->Append(kind, uint8_t(type));
}

void StepEntities(World* world) {
  char name[kWorldNameBytes + 4];
  size_t length = strlen(world->currentMapFile);
  // The last four characters go, whatever they are.
  size_t keep = length >= 4 ? length - 4 : 0;
  memcpy(name, world->currentMapFile, keep);
  memcpy(name + keep, ".ent", 5);
  FILE* f = OpenDataFile(name, "rb");
  if (!f) {
    LogMessage("Error opening .ent file");
    return;
  }
  int32_t read = 0;
  const int32_t count = ReadEntRecords(f, &read);
  fclose(f);
  world->player = nullptr;
  world->ship = nullptr;
  if (count < 1) {
    LogMessage("Player entity not found!");
    return;
  }
  for (int32_t i = 0; i < count; ++i) CreateKind(world, records[i]);
  if (!world->player) LogMessage("Player entity not found!");
}

void StepRadarAndState(World* world) {
  int32_t kind = 0;
  FormManager* forms = WorldForms(world);
  void* control = forms ? FindCurrentControl(forms, "IMG_MAP2D", &kind) : nullptr;
  if (!control || kind != kControlBitmap) {
    LogMessage("Error getting IMG_MAP2D ptr");
  } else {
    auto* image = static_cast<BitmapControl*>(control);
    world->map2d = CreateMap2D(world, world->scene, image->slot, image->x, image->y, image->width,
                               image->height);
    if (world->map2d) world->map2d->enabled = 0;
  }
  PlayerData& player = world->host->GetPlayerData();
  if (!player.restorePlayer) {
    memcpy(player.previousMap, world->currentMapFile, kWorldNameBytes);
    RefreshEngine(world);
    LoadMapState(world);
    return;
  }
  if (world->player && world->player->header.entity) {
    Entity* e = world->player->header.entity;
    e->x = player.position[0];
    e->y = player.position[1];
    e->z = player.position[2];
    e->w = player.position[3];
    e->heading = player.heading;
    e->dirX = player.direction[0];
    e->dirY = player.direction[1];
    e->dirZ = player.direction[2];
    e->dirW = player.direction[3];
    memcpy(e->motion, player.motion, sizeof e->motion);
    e->vx = player.velocity[0];
    e->vy = player.velocity[1];
    e->vz = player.velocity[2];
    e->vw = player.velocity[3];
    e->thrust = player.engineOn != 0 ? 1 : 0;
    if (world->scene) world->scene->cameraAngle.y = e->heading;
    world->cameraHeading = e->heading;
  }
  RefreshEngine(world);
  LoadMapState(world);
}

void StepStart(World* world) {
  world->cameraHeading = world->scene ? world->scene->cameraAngle.y : 0;
  int32_t kind = 0;
  FormManager* forms = WorldForms(world);
  void* bar = forms ? FindCurrentControl(forms, "PGB_ENERGY", &kind) : nullptr;
  if (!bar || kind != kControlProgressBar) {
    LogMessage("error getting PgbPlayerEnergy ptr");
    bar = nullptr;
  }
  world->energyBar = static_cast<ProgressBarControl*>(bar);
  world->playTime = 0;
  if (forms) {
    ShowAllControls(forms);
    SetControlVisible(forms, "PGB_LOADING", 0);
    SetControlVisible(forms, "LBL_ENTERING", 0);
    SetControlVisible(forms, "IMG_SCROLLFINAL", 0);
  }
  if (world->map2d) world->map2d->enabled = 1;
  // Keys pressed while the map loaded must not act in its first step.
  for (ActionLatch& latch : Input.action) latch = ActionLatch{0, 0};
  Input.stylusDown = Input.stylusPrevDown = Input.stylusUp = Input.stylusPrevUp = 0;
  if (forms) SetThrottledRedraw(forms, world->cameraMode == kCameraFirstPerson ? 1 : 0);
  world->worldState = kWorldPlaying;
  world->host->SetScreenState(kScreenPlaying);
  if (SoundSystem* sound = WorldSound(world))
    SetMasterVolume(sound, world->host->GetSettings().volume);
  // Entities settle on the ground before the first frame.
  for (int i = 0; i < 60; ++i) UpdateEntities(world, world->entities);
  WorldUpdate(world);
  ResetFrameClock();
  WritePlayerData(world->host->GetPlayerData());
  const PlayerHooks* h = Hooks();
  if (h && world->player) {
    if (h->refreshWeaponDisplay) h->refreshWeaponDisplay(world, world->player);
    if (h->refreshAmmoDisplay) h->refreshAmmoDisplay(world, world->player);
  }
}

}  // namespace

EntRecord* EntRecordTable() { return records; }

int32_t ReadEntRecords(FILE* f, int32_t* read) {
  int32_t count = 0;
  *read = 0;
  memset(records, 0, sizeof records);
  if (!ReadI32(f, &count)) {
    LogMessage("Error loading entities");
    return 0;
  }
  if (count < 0 || count > kMaxEntRecords) {
    // The table holds 50: a larger count is refused before anything is read.
    LogMessage("Error loading entities");
    return 0;
  }
  for (int32_t i = 0; i < count; ++i) {
    uint8_t raw[kEntRecordBytes];
    if (fread(raw, 1, sizeof raw, f) != sizeof raw) {
      LogMessage("Error loading entities");
      break;
    }
    memcpy(&records[i], raw, sizeof raw);
    // Names are kept within their fields.
    records[i].tag[kEntTagBytes - 1] = '\0';
    records[i].entry[kEntEntryBytes - 1] = '\0';
    *read = i + 1;
  }
  return count;
}

bool ReadMapObjects(ByteReader* in, ObjectStore* store, int32_t count, size_t reservedBytes) {
  for (int32_t i = 0; i < count; ++i) {
    int32_t x = 0, y = 0, z = 0, solid = 0;
    if (!in->ReadI32LE(&x)) LogMessage("Error reading 3d map (2)");
    if (!in->ReadI32LE(&y)) LogMessage("Error reading 3d map (3)");
    if (!in->ReadI32LE(&z)) LogMessage("Error reading 3d map (4)");
    // The reserved block is skipped; one larger than the chart's is refused unread.
    if (reservedBytes > kChartReservedBytes || !in->Take(reservedBytes))
      LogMessage("Error reading 3d map (5)");
    if (!in->ReadI32LE(&solid)) LogMessage("Error reading 3d map (6)");
    int32_t index = store ? store->LoadFromBytes(in, 0, 0) : -1;
    if (index < 0) {
      char text[80];
      snprintf(text, sizeof text, "Error loading object number %d from 3d map file.", int(i));
      LogMessage(text);
      return false;
    }
    store->objects[index]->solid = solid != 0;
    store->SetPosition(index, x, y, WrapSub(0, z));
  }
  return true;
}

bool ReadMapName(ByteReader* in, char* out, size_t bytes) {
  bool whole = in->Read(out, bytes);
  out[bytes - 1] = '\0';
  return whole;
}

void WorldLoadStep(World* world) {
  switch (world->loadingStep) {
    case 0: StepPrepare(world); break;
    case 1: StepScene(world); break;
    case 2: StepLists(world); break;
    case 3: StepOpenMap(world); break;
    case 4: StepObjects(world); break;
    case 5: StepMapTextures(world); break;
    case 6: StepEntityTexturesAndSky(world); break;
    case 7: StepEntities(world); break;
    case 8: StepRadarAndState(world); break;
    case 9: StepStart(world); break;
    default: break;
  }
  if (world->loadingStep < kLoadingSteps) ++world->loadingStep;
  FormManager* forms = WorldForms(world);
  int32_t kind = 0;
  void* bar = forms ? FindCurrentControl(forms, "PGB_LOADING", &kind) : nullptr;
  if (bar && kind == kControlProgressBar)
    SetProgressValue(static_cast<ProgressBarControl*>(bar), world->loadingStep);
  else
    LogMessage("Error getting Loading ProgressBar ptr.");
}
