/// @file order_commands.h Creating and deleting the moving company's standing orders; they run
/// at the start of each of its turns.
#pragma once

#include <optional>
#include <string>

#include "commands/command_panel.h"
#include "game/frontend.h"
#include "game/game_state.h"

/// The what-list's entry for money; the same word in both languages.
inline constexpr const char* kOrderMoneyEntry = "Dollar";
/// The what-list's entry for beer of a brand: "litre Name" (English) or "Liter Name" (German).
std::string OrderBeerEntry(const GameState& s, int company, int brand);
/// The order list's entry of a used slot, numbered slot + 1: "3.: 500 litre Name from A to B".
std::string OrderListEntry(const GameState& s, int company, int slot);
/// The lowest free slot of the company; -1 when all ten are in use.
int FreeOrderSlot(const GameState& s, int company);
/// The slot an order-list entry names by its leading number; -1 for none.
int OrderSlotOfEntry(const std::string& entry);

/// A new standing order from the what-list, the source and destination lists and the amount.
PanelNext NewStandingOrder(GameState& s, Frontend& frontend, const std::optional<std::string>& whatEntry,
                           const std::optional<std::string>& fromEntry, const std::optional<std::string>& toEntry,
                           const std::string& amountField);

/// Deletes the selected order after a Yes to the confirmation.
PanelNext DeleteStandingOrder(GameState& s, Frontend& frontend, const std::optional<std::string>& orderEntry);
