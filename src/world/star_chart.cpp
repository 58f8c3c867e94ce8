// The star chart: a small 3D scene of the star systems behind FORMSTARCHART, the choice of
// a destination, and the jump that sends the player there (spending the hyperjump charge
// when it leaves the current system).
#include <cmath>
#include <cstdio>
#include <cstring>

#include "world/kind_support.h"
#include "world/kinds.h"
#include "world/world_internal.h"

namespace {

// The chart's map file names its pack and background in 128 bytes instead of 256.
constexpr size_t kChartNameBytes = 128;
constexpr int32_t kCameraDistance = 1500;

}  // namespace

bool LoadStarChartScene(Engine3D* scene) {
  FILE* f = OpenDataFile("starchart.map", "rb");
  if (!f) {
    LogMessage("Error opening starchart.map file.");
    return false;
  }
  FileBytes bytes;
  ReadRestOfFile(f, &bytes);
  fclose(f);
  ByteReader in(bytes);
  int32_t count = 0;
  if (!in.ReadI32LE(&count)) LogMessage("Error reading 3d map (1)");
  if (!ReadMapObjects(&in, &scene->store, count, kChartReservedBytes)) return false;
  char texPack[kChartNameBytes] = {};
  char background[kChartNameBytes] = {};
  if (!ReadMapName(&in, texPack, sizeof texPack)) LogMessage("Error reading 3d map (7)");
  // The background is named and never loaded: the form shows its own star field.
  if (!ReadMapName(&in, background, sizeof background)) LogMessage("Error reading 3d map (8)");
  if (!scene->LoadTexturePack(texPack, kBankMap)) {
    LogMessage("Error loading tex pack");
    return false;
  }
  if (!scene->LoadTexturePack("ents.tex", kBankEntities)) {
    LogMessage("Error loading ents.tex");
    return false;
  }
  return true;
}

int32_t LoadStarChartRecords() {
  FILE* f = OpenDataFile("starchart.ent", "rb");
  if (!f) {
    LogMessage("Error opening .ent file");
    return 0;
  }
  int32_t read = 0;
  ReadEntRecords(f, &read);
  fclose(f);
  return read;
}

namespace {

LabelControl* DestinationLabel(World* world) {
  FormManager* forms = WorldForms(world);
  int32_t kind = 0;
  void* c = forms ? FindCurrentControl(forms, "LBL_DESTINATION", &kind) : nullptr;
  return c && kind == kControlLabel ? static_cast<LabelControl*>(c) : nullptr;
}

// The label and the marker follow the selected destination.
void ShowSelection(World* world, StarChart* chart) {
  if (chart->selected < 0 || chart->selected >= chart->count) return;
  const EntRecord& r = chart->records[chart->selected];
  if (LabelControl* label = DestinationLabel(world)) SetLabelText(label, r.tag);
  if (chart->scene && chart->marker >= 0)
    chart->scene->SetSpritePosition(chart->marker, r.x, r.y, r.z);
}

void OpenInGameForm(World* world, FormManager* forms) {
  const int32_t mode = world->host ? world->host->GetSettings().cameraMode : 1;
  OpenForm(forms, forms->scriptName, mode == 1 ? "FORMINGAME_CAM_FP" : "FORMINGAME_CAM_EXT2");
}

}  // namespace

int32_t StarChartTargetHeading(const EntRecord& r) {
  // Single precision throughout, as the heading always was computed.
  const float degrees =
      float(Math->Atan2(double(r.x), double(r.z))) * 180.0f * 0.31831927423205475f + 180.0f;
  return int32_t(degrees * 1456.3f);
}

void StarChartOpen(World* world) {
  if (world->starChart) StarChartClose(world);
  StarChart* chart = static_cast<StarChart*>(AllocZeroed(sizeof(StarChart)));
  if (!chart) return;
  world->starChart = chart;
  chart->marker = -1;
  chart->records = EntRecordTable();
  FormManager* forms = WorldForms(world);
  int32_t kind = 0;
  void* view = forms ? FindCurrentControl(forms, "FORMSTARCHART_TDENG", &kind) : nullptr;
  if (view && kind == kControlView3D) chart->scene = static_cast<View3DControl*>(view)->engine;
  if (!chart->scene) {
    LogMessage("Error getting StarChart_TDEng ptr.");
    return;
  }
  if (!LoadStarChartScene(chart->scene)) return;
  chart->count = LoadStarChartRecords();
  PlayerData* player = WorldPlayerData(world);
  chart->selected = player ? player->starChartChoice : 0;
  // A choice stored for a longer chart (or a damaged record) starts at the first entry.
  if (chart->selected < 0 || chart->selected >= chart->count) chart->selected = 0;
  chart->marker = chart->scene->AddSprite("StarChartSel.spr", 0, 0, 4.0);
  if (chart->marker >= 0) chart->scene->sprites[chart->marker].visible = 1;
  ShowSelection(world, chart);
}

void StarChartUpdate(World* world) {
  StarChart* chart = world->starChart;
  if (FormManager* forms = WorldForms(world)) SetThrottledRedraw(forms, 1);
  ClearFrame();
  if (!chart || !chart->scene || chart->count < 1) return;
  const int32_t target = StarChartTargetHeading(chart->records[chart->selected]);
  int32_t current = chart->cameraHeading;
  if (target - current > 393216) current += kFullTurn;
  if (current - target > 393216) current -= kFullTurn;
  current = int32_t(float(target - current) * 0.125f + float(current));
  while (current < 0) current += kFullTurn;
  while (current > kFullTurn) current -= kFullTurn;
  chart->cameraHeading = current;
  Vec3 camera = {0, 0, -kCameraDistance};
  Math->TurnAboutY(&camera, current);
  chart->scene->cameraPos = camera;
  chart->scene->cameraAngle.y = current;
}

void StarChartPrevious(World* world) {
  StarChart* chart = world->starChart;
  if (!chart || chart->selected < 1) return;
  --chart->selected;
  ShowSelection(world, chart);
}

void StarChartNext(World* world) {
  StarChart* chart = world->starChart;
  if (!chart || chart->selected >= chart->count - 1) return;
  ++chart->selected;
  ShowSelection(world, chart);
}

void StarChartJump(World* world) {
  StarChart* chart = world->starChart;
  PlayerData* player = WorldPlayerData(world);
  FormManager* forms = WorldForms(world);
  if (!chart || !player || chart->selected < 0 || chart->selected >= chart->count) return;
  const EntRecord r = chart->records[chart->selected];
  player->starChartChoice = chart->selected;
  if (r.type != player->starSystem) {
    if (!player->hyperjumpLoaded) {
      if (forms) {
        CloseForm(forms, "FORMSTARCHART");
        OpenForm(forms, forms->scriptName, "FORMJUMPTOOFAR");
      }
      return;
    }
    player->hyperjumpLoaded = 0;  // the charge is spent
  }
  snprintf(player->nextMap, sizeof player->nextMap, "%s", r.entry);
  player->previousMap[0] = 0;
  player->restorePlayer = 0;
  snprintf(player->entryPoint, sizeof player->entryPoint, "%s", "default");
  player->starSystem = r.type;
  player->engineOn = 0;
  memset(player->motion, 0, sizeof player->motion);
  memset(player->velocity, 0, sizeof player->velocity);
  if (forms) {
    CloseForm(forms, "FORMSTARCHART");
    OpenInGameForm(world, forms);
  }
}

void StarChartClose(World* world) {
  StarChart* chart = world->starChart;
  if (!chart) return;
  if (chart->scene && chart->marker >= 0) chart->scene->ReleaseSprite3D(chart->marker);
  MemFree(chart);
  world->starChart = nullptr;
}

bool LeadsToStarChart(const PlayerData& player) {
  return strncmp(player.nextMap, "starchart.map", sizeof player.nextMap) == 0;
}
