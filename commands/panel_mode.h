/// @file panel_mode.h The command panel's modes.
#pragma once

#include <cstdint>
#include <iosfwd>

/// The panel's modes, numbered as the window knows them.
enum class PanelMode : int32_t {
    None = 0,  ///< no game yet: no panel control is shown
    Idle = 1,  ///< the eight command buttons and the town information button
    BuildBrewery = 2,
    NewBrand = 3,
    BuildDepot = 4,
    TownInformation = 5,
    LastSales = 6,
    ExtendBrewery = 7,
    ChangePrices = 8,
    TransportBeer = 9,
    TransferMoney = 10,
    MarketShares = 11,
    NewOrder = 12,
    ListOrders = 13,
    DeleteOrder = 14,
    Statistics = 15,
    GameOver = 16,  ///< ours: the game has ended; only New and Open are offered
};

/// Writes the mode's number, as the window knows it (test messages, traces).
std::ostream& operator<<(std::ostream& out, PanelMode mode);
