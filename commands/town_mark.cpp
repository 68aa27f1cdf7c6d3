/// @file town_mark.cpp The selected town's frame on the map.
#include "commands/town_mark.h"

#include <algorithm>

#include "commands/town_selection.h"
#include "game/map_places.h"
#include "game/status_line.h"

namespace {

constexpr int kMapWidth = 800;
constexpr int kMapHeight = 400;

}  // namespace

MapRect SelectedTownFrame(int map, int town)
{
    if (map < 1 || map > kMaps || town < 0 || town >= kTowns)
        return {};
    const TownRect& r = kTownHitRects[map - 1][town];
    // The click rectangle is inclusive on all sides; the frame lies just outside it.
    const int left = std::max(0, r.XFrom - kTownFrameMargin);
    const int top = std::max(0, r.YFrom - kTownFrameMargin);
    const int right = std::min(kMapWidth - 1, r.XTo + kTownFrameMargin);
    const int bottom = std::min(kMapHeight - 1, r.YTo + kTownFrameMargin);
    return {left, top, right - left + 1, bottom - top + 1};
}

std::vector<BreweryUnderConstruction> BreweriesUnderConstruction(const GameState& s, int company)
{
    std::vector<BreweryUnderConstruction> found;
    if (company < 0 || company >= kCompanies)
        return found;
    for (int t = 0; t < kTowns; ++t)
        for (int b = 0; b < kBrands; ++b) {
            if (s.Capacity[company][b][t] > 0)
                continue;  // an extension of a brewing brewery is no new one
            const auto& stages = s.ConstructionPipeline[company][b][t];
            // Stage 0 arrives at the start of the next turn, each later stage a month after.
            for (int stage = 0; stage < kStages; ++stage)
                if (stages[stage] > 0) {
                    found.push_back({t, b, s.MonthCount + stage + 1});
                    break;
                }
        }
    return found;
}

std::string OpeningMonthLabel(const GameState& s, int32_t month)
{
    const int index = ((month - 1) % kMonths + kMonths) % kMonths;
    const std::string name = kMonthNames[s.Program.Language == Language::German ? 1 : 0][index];
    // Three characters, not bytes: "März" is "Mär".
    size_t end = 0;
    for (int characters = 0; characters < 3 && end < name.size(); ++characters)
        do
            ++end;
        while (end < name.size() && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80);
    return name.substr(0, end);
}

std::vector<MapRect> TownFrameKeepsClear(int map)
{
    std::vector<MapRect> clear;
    if (map < 1 || map > kMaps)
        return clear;
    // The strips with two pixels of air either side, so that no crumb of line is left between
    // a strip and a neighbouring square.
    for (const MapPoint& base : kMarkerBases[map - 1])
        clear.push_back({base.X - 2, base.Y, kMarkerStripWidth + 4, kMarkerStripHeight});
    // The animation restores its square (and the row above it, where its wipe begins) from the
    // map picture alone: a frame there would come back torn.
    for (const MapPoint& anchor : kAnimationAnchors[map - 1])
        clear.push_back({anchor.X, anchor.Y - 1, kAnimationAreaSide, kAnimationAreaSide + 1});
    return clear;
}
