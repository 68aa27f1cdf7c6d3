/// @file command.h Every action a player takes on a running game as a small value: what it is
/// and what the player chose and typed. The session checks and executes it; the window and
/// tavrek-sim only build it. Each has a one-line text form that reads back to the same value,
/// so a game's commands can be kept, sent and played again.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

enum class CommandKind : uint8_t {
    SelectTown,     ///< a left click on a town (Page Down / Page Up too)
    BuildBrewery,   ///< OK in Build Brewery
    ExtendBrewery,  ///< OK in Extend Brewery
    BuildDepot,     ///< OK in Build Depot
    NewBrand,       ///< OK in New Brand, with the answer to the offer
    ChangePrices,   ///< OK in Change Prices
    TransportBeer,  ///< OK in Transport Beer
    TransferMoney,  ///< OK in Transfer Money
    NewOrder,       ///< OK in New Standing Order
    DeleteOrder,    ///< OK in Delete Standing Order, with the answer to the question
    NextTurn,       ///< "Next Turn": the player on turn ends the turn
};

/// A list the player left without a choice.
inline constexpr int kNoChoice = -1;
/// What a standing order moves when it moves money instead of a brand's beer.
inline constexpr int kMoneyGoods = 3;

struct Command {
    CommandKind Kind = CommandKind::NextTurn;
    int Brand = kNoChoice;     ///< brand slot 0..2 (a new order: kMoneyGoods for money)
    int Town = kNoChoice;      ///< town 0..9: the one chosen, or where beer, money or an order go
    int FromTown = kNoChoice;  ///< town 0..9 a new standing order takes from
    int Order = kNoChoice;     ///< standing order 1..10 to delete
    /// The answer to the command's question (new brand, delete order); none: the player is asked
    /// when it runs, and the executed command carries the answer given.
    std::optional<bool> Answer;
    std::string Amount;                 ///< as typed: 100-litre steps (extend), litres or money
    std::array<std::string, 3> Prices;  ///< as typed: the three brands' prices

    bool operator==(const Command&) const = default;
};

/// The kind's word in the text form ("select", "build-brewery", ..., "next-turn").
const char* CommandWord(CommandKind kind);

/// The one-line text form: the kind's word, then its inputs separated by single blanks. A list
/// without a choice and an empty typed field are "-"; typed text is kept exactly, with a blank,
/// "%" and control characters written as "%XX" (and a typed "-" as "%2D").
std::string CommandText(const Command& command);

/// Reads a command's text form; blanks around and between words may be any run of blanks.
/// Returns false, with a one-line reason in `error`, when the line is no command or an input is
/// out of its range ("TOWN must be from 0 to 9, not '12'").
bool ParseCommand(std::string_view text, Command& out, std::string& error);
