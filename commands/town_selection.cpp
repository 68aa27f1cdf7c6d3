/// @file town_selection.cpp The towns' click rectangles and the map's mouse click.
#include "commands/town_selection.h"

#include "game/map_places.h"
#include "game/status_line.h"

const std::array<std::array<TownRect, kTowns>, kMaps> kTownHitRects{{
    {{
        {200, 276, 296, 312},  // Truestone
        {76, 161, 206, 231},   // Tomsville
        {186, 273, 201, 227},  // Fotzingfors
        {146, 210, 87, 113},   // Seaside
        {372, 466, 109, 130},  // Twinhaven
        {520, 594, 67, 96},    // LaMiella
        {501, 583, 334, 353},  // Freetown
        {532, 616, 235, 265},  // Wolfsburg
        {525, 625, 147, 166},  // Melkerstiege
        {367, 427, 212, 241},  // Kha'Sar
    }},
    {{
        {12, 88, 98, 125},     // Morkalas
        {192, 260, 20, 45},    // Rawland
        {504, 592, 79, 108},   // Maltbridge
        {197, 310, 164, 184},  // Teddington
        {266, 375, 100, 124},  // Modderhafen
        {13, 121, 279, 307},   // Wrong Island
        {300, 395, 214, 241},  // Dwarf Cross
        {426, 520, 142, 157},  // Greenriver
        {198, 273, 323, 348},  // Annwald
        {558, 640, 336, 363},  // Kathrinki
    }},
    {{
        {6, 115, 57, 79},      // Eagleburg
        {221, 323, 48, 71},    // Serpentina
        {350, 443, 22, 49},    // Gloomwood
        {122, 207, 143, 168},  // Burnington
        {537, 606, 85, 112},   // Big Green
        {364, 464, 198, 220},  // Anchorfield
        {48, 145, 201, 229},   // Sandmill
        {88, 182, 312, 339},   // Bimmelburg
        {261, 361, 289, 314},  // Lonetown
        {551, 614, 337, 363},  // Fischau
    }},
}};

int TownHitTest(int map, int x, int y, int current)
{
    if (map < 1 || map > kMaps)
        return current;
    for (int town = 0; town < kTowns; ++town)
        if (kTownHitRects[map - 1][town].Contains(x, y))
            return town;
    return current;
}

int TownAt(int map, int x, int y, int current)
{
    const int hit = TownHitTest(map, x, y, -1);
    if (hit >= 0 || map < 1 || map > kMaps)
        return hit >= 0 ? hit : current;
    // A player clicks the town's own symbols too, also where they lie outside its rectangle.
    for (int town = 0; town < kTowns; ++town) {
        const MapPoint base = kMarkerBases[map - 1][town];
        if (x >= base.X && x < base.X + kMarkerStripWidth && y >= base.Y && y < base.Y + kMarkerStripHeight)
            return town;
    }
    return current;
}

void ClickMap(GameState& s, PanelState& panel, Frontend& frontend, MouseButton button, bool doubleClick, int x, int y)
{
    if (s.GameActive) {
        const int old = s.SelectedTown;
        s.SelectedTown = TownAt(s.MapNumber, x, y, old);
        if (s.SelectedTown != old) {
            // The bigger the town's thirst, the livelier the sound.
            const int32_t demand = s.Demand[s.SelectedTown];
            frontend.PlaySoundEffect(demand > 16000 ? 7 : demand > 10000 ? 10 : demand > 3000 ? 9 : 8);
        }
        WriteStatusLine(s, frontend);
        frontend.SetCaption(EnglishGameTitle());
        if (button == MouseButton::Right || doubleClick) {
            SetCommandMode(s, panel, frontend, PanelMode::TownInformation);
            return;  // the mode switch has redrawn the panel
        }
    }
    frontend.Redraw();
}

bool FollowsSelectedTown(PanelMode mode) { return mode >= PanelMode::Idle && mode <= PanelMode::TransferMoney; }

int SteppedTown(const GameState& s, const PanelState& panel, int step)
{
    if (!s.GameActive || !FollowsSelectedTown(panel.CommandMode) || s.MapNumber < 1 || s.MapNumber > kMaps)
        return -1;
    const int from = s.SelectedTown >= 0 && s.SelectedTown < kTowns ? s.SelectedTown : 0;
    return ((from + step) % kTowns + kTowns) % kTowns;
}

void StepSelectedTown(GameState& s, PanelState& panel, Frontend& frontend, int step)
{
    const int town = SteppedTown(s, panel, step);
    if (town >= 0)
        ClickTown(s, panel, frontend, town);
}

void ClickTown(GameState& s, PanelState& panel, Frontend& frontend, int town)
{
    const int map = s.MapNumber >= 1 && s.MapNumber <= kMaps ? s.MapNumber : 1;
    const TownRect& r = kTownHitRects[map - 1][town];
    ClickMap(s, panel, frontend, MouseButton::Left, false, (r.XFrom + r.XTo) / 2, (r.YFrom + r.YTo) / 2);
}
