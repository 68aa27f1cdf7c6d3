/// @file construction.h The player's investments in a town: breweries, extensions, depots and
/// new brands. Each acts for the moving company in the selected town and pays from that town's
/// account.
#pragma once

#include <optional>
#include <string>

#include "commands/command_panel.h"
#include "game/building.h"
#include "game/frontend.h"
#include "game/game_state.h"

/// The most 100-litre steps the account of the town can pay for (0 below one step).
int32_t MaximumExtension(const GameState& s, int company, int town);

/// The brand may get a new brewery in the town: it exists and has neither capacity nor
/// construction there.
bool CanBuildBrewery(const GameState& s, int company, int brand, int town);
/// The brand has a brewery in the town that can be extended.
bool CanExtendBrewery(const GameState& s, int company, int brand, int town);

/// Build Brewery; `brandEntry` is the selected brand name, if any.
PanelNext BuildBrewery(GameState& s, Frontend& frontend, const std::optional<std::string>& brandEntry);

/// Extend Brewery; `countField` is the typed number of 100-litre steps (negative shrinks the
/// brewery where the game allows it).
PanelNext ExtendBrewery(GameState& s, Frontend& frontend, const std::optional<std::string>& brandEntry,
                        const std::string& countField);

/// Build Depot.
PanelNext BuildDepot(GameState& s, Frontend& frontend);

/// New Brand: one offer a month, which the player may buy or decline.
PanelNext NewBrand(GameState& s, Frontend& frontend);
