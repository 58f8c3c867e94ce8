// kvrtool show campaign: one sheet with every campaign map seen from above, the map exits
// drawn from each gate to the entry point it leads to, and the star chart's links from the
// launch pads to each system's destination.
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "campaign_check.h"
#include "kvrtool.h"
#include "platform/platform.h"
#include "top_view.h"

namespace {

constexpr int kThumb = 300;   // each map's square
constexpr int kCellW = 320, kCellH = 336;
constexpr int kColumns = 4;
constexpr int kHeader = 36;
// The sheet's cells in reading order: a system's maps side by side, the chart in the first
// row beside the first system.
const char* const kCells[] = {"map1_1", "map1_2", "map1_3", "", "map2_1", "map2_2",
                              "map3_1", "map3_2", "map4_1", "map5_1", "map6_1", "map6_2"};

struct Placed {
  int cx = 0, cy = 0;  // the thumbnail's top left on the sheet
  TopLayout layout;
  std::vector<EntRow> rows;
  bool drawn = false;
  int SheetX(double x) const { return cx + int(layout.ToX(x)); }
  int SheetY(double z) const { return cy + int(layout.ToY(z)); }
  const EntRow* Entry(const std::string& name) const {
    for (const EntRow& r : rows)
      if (r.type == 1 && r.entry == name) return &r;
    return nullptr;
  }
};

// A line with a dark edge so it reads over any ground, ending in a square.
void Link(Canvas& c, int x0, int y0, int x1, int y1, uint16_t colour) {
  for (int d = -1; d <= 1; d += 2) {
    c.Line(x0 + d, y0, x1 + d, y1, 0);
    c.Line(x0, y0 + d, x1, y1 + d, 0);
  }
  c.Line(x0, y0, x1, y1, colour);
  c.Rect(x1 - 3, y1 - 3, 7, 7, 0);
  c.Rect(x1 - 2, y1 - 2, 5, 5, colour);
}

}  // namespace

int ShowCampaign(const Args& all) {
  const Args args = Positional(all);
  if (args.size() != 1) {
    fprintf(stderr, "usage: kvrtool show campaign OUT.png\n");
    return 2;
  }
  const std::string dir = ExeDir;
  Scene3D scene;
  if (!scene.ok) {
    ReportLog();
    return 1;
  }
  const int rowsOfCells = int((std::size(kCells) + kColumns - 1) / kColumns);
  Canvas sheet(kColumns * kCellW, kHeader + rowsOfCells * kCellH);
  sheet.Rect(0, 0, sheet.w, sheet.h, Colour(0.04, 0.04, 0.06));
  Font font;
  const bool haveFont = font.LoadFont("font1.fnt") == 1;
  auto text = [&](int x, int y, const std::string& s, uint16_t colour) {
    CanvasText(sheet, font, haveFont, x, y, s, colour);
  };

  std::map<std::string, Placed> placed;
  int chartX = 0, chartY = 0, failures = 0;
  for (size_t i = 0; i < std::size(kCells); ++i) {
    const int cx = int(i % kColumns) * kCellW, cy = kHeader + int(i / kColumns) * kCellH;
    const std::string name = kCells[i];
    if (name.empty()) {
      chartX = cx, chartY = cy;
      continue;
    }
    Placed& p = placed[name];
    p.cx = cx + (kCellW - kThumb) / 2, p.cy = cy + 22;
    std::string why;
    if (!ParseEnt(ReadWholeFile(dir + "/" + name + ".ent"), &p.rows, &why))
      fprintf(stderr, "kvrtool: %s.ent: %s\n", name.c_str(), why.c_str());
    auto engine = std::make_unique<Engine3D>();
    LoadedMap loaded;
    Canvas thumb(kThumb, kThumb);
    if (engine->Create(nullptr, "TDENG", 0, 0, 240, 320) &&
        LoadMapWithGame(*engine, dir, name + ".map", "default", 2800, &loaded) &&
        DrawTopView(*engine, p.rows, thumb, false, &p.layout)) {
      p.drawn = true;
      for (int y = 0; y < kThumb; ++y)
        for (int x = 0; x < kThumb; ++x) sheet.Put(p.cx + x, p.cy + y, thumb.px[size_t(y) * kThumb + x]);
    } else {
      fprintf(stderr, "kvrtool: %s.map did not load\n", name.c_str());
      ++failures;
    }
    engine->Destroy();
    text(p.cx, cy + 4, name + "  (" + loaded.sky + ", " + loaded.pack + ")", Colour(1, 1, 1));
  }

  // The star chart: its destinations listed in its cell.
  std::vector<EntRow> chart;
  std::string why;
  if (!ParseEnt(ReadWholeFile(dir + "/starchart.ent"), &chart, &why)) {
    fprintf(stderr, "kvrtool: starchart.ent: %s\n", why.c_str());
    ++failures;
  }
  const uint16_t amber = Colour(1, 0.75, 0.15), cyan = Colour(0.2, 0.9, 1);
  text(chartX + 16, chartY + 4, "star chart", amber);
  sheet.Rect(chartX + 10, chartY + 22, kThumb, kThumb, Colour(0.07, 0.07, 0.12));
  std::vector<std::pair<int, int>> chartLines;  // where each destination's line leaves
  for (size_t k = 0; k < chart.size(); ++k) {
    const int y = chartY + 40 + int(k) * 40;
    text(chartX + 20, y, std::to_string(chart[k].type) + " " + chart[k].tag, amber);
    text(chartX + 40, y + 14, "> " + chart[k].entry + " default", Colour(0.85, 0.85, 0.85));
    chartLines.emplace_back(chartX + 14, y + 8);
  }
  text(8, 10, "3d Morvek: the campaign's maps, their exits (cyan) and the star chart's links (amber)",
       Colour(1, 1, 1));

  // Links last, over every map.
  for (const auto& [name, p] : placed) {
    if (!p.drawn) continue;
    for (const EntRow& r : p.rows) {
      if (r.type != 10) continue;
      const int x0 = p.SheetX(r.x), y0 = p.SheetY(r.z);
      if (r.tag == "starchart.map") {
        Link(sheet, x0, y0, chartX + 10 + kThumb / 2, chartY + 22 + kThumb - 4, amber);
        continue;
      }
      const std::string target = r.tag.size() > 4 ? r.tag.substr(0, r.tag.size() - 4) : r.tag;
      const auto t = placed.find(target);
      const EntRow* entry = t != placed.end() && t->second.drawn ? t->second.Entry(r.entry) : nullptr;
      if (!entry) {
        fprintf(stderr, "kvrtool: %s: the exit at %d, %d leads to %s \"%s\", which is not there\n", name.c_str(),
                r.x, r.z, r.tag.c_str(), r.entry.c_str());
        ++failures;
        continue;
      }
      Link(sheet, x0, y0, t->second.SheetX(entry->x), t->second.SheetY(entry->z), cyan);
    }
  }
  for (size_t k = 0; k < chart.size(); ++k) {
    const std::string target = chart[k].entry.size() > 4 ? chart[k].entry.substr(0, chart[k].entry.size() - 4) : "";
    const auto t = placed.find(target);
    const EntRow* entry = t != placed.end() && t->second.drawn ? t->second.Entry("default") : nullptr;
    if (!entry) {
      fprintf(stderr, "kvrtool: the star chart leads to %s, which has no \"default\" entry\n", chart[k].entry.c_str());
      ++failures;
      continue;
    }
    Link(sheet, chartLines[k].first, chartLines[k].second, t->second.SheetX(entry->x), t->second.SheetY(entry->z),
         amber);
  }
  if (!WritePng565(args[0], sheet.px.data(), sheet.w, sheet.h)) {
    fprintf(stderr, "kvrtool: cannot write %s\n", args[0].c_str());
    return 1;
  }
  printf("campaign: %zu maps and %zu star-chart destinations on a %d x %d sheet\n", placed.size(), chart.size(),
         sheet.w, sheet.h);
  return failures ? 1 : 0;
}
