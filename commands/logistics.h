/// @file logistics.h The player's business between towns: prices, beer transports and money
/// transfers. Each acts for the moving company from the selected town.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "commands/command_panel.h"
#include "game/frontend.h"
#include "game/game_state.h"

/// The transport list's entry of a brand with stock in the town: "2. Name, 500 l".
std::string BrandStockEntry(const GameState& s, int company, int brand, int town);
/// The transport list's entry of a destination: "Name, 12 Dollar/100l".
std::string TransportDestinationEntry(const GameState& s, int from, int to);
/// The town a destination entry names: the last town whose name begins with the entry's first
/// three characters; -1 for none.
int DestinationOfEntry(const GameState& s, const std::string& entry);

/// Change Prices: the three typed prices of brand slots 0, 1 and 2 in the selected town.
PanelNext ChangePrices(GameState& s, Frontend& frontend, const std::array<std::string, kBrands>& priceFields);

/// Transport Beer from the selected town; `brandEntry` and `destinationEntry` are the selected
/// entries of the brand and destination lists, if any.
PanelNext TransportBeer(GameState& s, Frontend& frontend, const std::optional<std::string>& brandEntry,
                        const std::optional<std::string>& destinationEntry, const std::string& amountField);

/// Transfer Money from the selected town; 5 % of the amount is lost on the way.
PanelNext TransferMoney(GameState& s, Frontend& frontend, const std::optional<std::string>& destinationEntry,
                        const std::string& amountField);
