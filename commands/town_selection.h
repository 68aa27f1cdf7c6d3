/// @file town_selection.h Choosing the town on the map: the towns' click rectangles and the
/// map's mouse click.
#pragma once

#include <array>

#include "commands/command_panel.h"
#include "game/frontend.h"
#include "game/game_state.h"
#include "game/map_tables.h"

/// A town's click rectangle in client pixels, inclusive on all four sides.
struct TownRect {
    int XFrom;
    int XTo;
    int YFrom;
    int YTo;

    bool Contains(int x, int y) const { return x >= XFrom && x <= XTo && y >= YFrom && y <= YTo; }
};

/// Indexed [map - 1][town]; the rectangles of one map do not overlap.
extern const std::array<std::array<TownRect, kTowns>, kMaps> kTownHitRects;

/// The town of the map whose rectangle holds (x, y); `current` when none does.
int TownHitTest(int map, int x, int y, int current);

/// The town a click at (x, y) chooses: the one whose rectangle holds it, else the one whose
/// strip of company symbols holds it (some strips lie beside their town's rectangle), else
/// `current`.
int TownAt(int map, int x, int y, int current);

enum class MouseButton { Left, Right, Middle };

/// A mouse click on the map: selects the town under it, with a sound for a newly selected
/// town, refreshes the status line and caption, and opens the town information on a right or
/// double click. The open command mode stays and is redrawn for the new town.
void ClickMap(GameState& s, PanelState& panel, Frontend& frontend, MouseButton button, bool doubleClick, int x, int y);

/// A left click in the middle of the town's rectangle on the running game's map.
void ClickTown(GameState& s, PanelState& panel, Frontend& frontend, int town);

/// Whether a mode's panel follows the selected town (the idle panel and the town's commands).
bool FollowsSelectedTown(PanelMode mode);
/// The town Page Down (`step` 1) or Page Up (-1) chooses: the next or previous one in the map's
/// order, in the modes that follow the selected town; -1 elsewhere (the key does nothing).
int SteppedTown(const GameState& s, const PanelState& panel, int step);
/// Page Down or Page Up: that town chosen as a left click on it would be; elsewhere nothing.
void StepSelectedTown(GameState& s, PanelState& panel, Frontend& frontend, int step);
