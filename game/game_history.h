/// @file game_history.h The record of a game beside its savegame: every closed month's books of
/// every company and every message the turn engine showed. The month end fills it; the window and
/// tavrek-sim only read it. It is never part of a savegame.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "game/frontend.h"
#include "game/text.h"

inline constexpr int kHistoryCompanies = 10;  ///< every company of a game
inline constexpr int kHistoryTowns = 10;
inline constexpr int kHistoryBrands = 3;

template <typename T>
using BrandTownTable = std::array<std::array<T, kHistoryTowns>, kHistoryBrands>;

/// One company's closed month. Money is kept as double: the record is for reading, never for
/// playing on, and half the size of the game's extended money.
struct CompanyMonth {
    BrandTownTable<int32_t> Supply{};  ///< litres offered at the month's market
    BrandTownTable<int32_t> Sales{};   ///< litres sold there
    double Revenue = 0;                ///< dollars the sales brought in
    double Production = 0;             ///< dollars the breweries cost
    double Transport = 0;              ///< dollars spent on moving beer during the month
    double Interest = 0;               ///< dollars of interest charged on town debts (0 or more)
    double MoneyBefore = 0;            ///< all towns' money just before the market
    double Money = 0;                  ///< all towns' money after the books were closed
    double Value = 0;                  ///< company value after the books were closed
    float Share = 0;                   ///< market share of the month's market, percent

    bool operator==(const CompanyMonth&) const = default;
};

/// One closed month of the game.
struct MonthRecord {
    int32_t Month = 0;                            ///< month count, 1 = January 1750
    std::array<int32_t, kHistoryTowns> Demand{};  ///< litres each town wanted
    std::array<CompanyMonth, kHistoryCompanies> Companies{};

    bool operator==(const MonthRecord&) const = default;
};

/// A message box of the turn engine, kept for the message log.
struct RecordedMessage {
    int32_t Month = 0;    ///< month count when it was shown
    int32_t Company = 0;  ///< company on turn when it was shown: the player who read it
    LocalText Text;
    LocalText Caption;

    bool operator==(const RecordedMessage&) const = default;
};

/// How a game ended where the window stopped it: kept so that the saved game opens as ended
/// (the savegame itself holds only the state the rules left).
struct RecordedEnd {
    int32_t Winner = -1;      ///< the company that reached the winning share, -1 when none did
    bool HumanWon = false;    ///< the winner was the player who ended the turn
    int32_t Points = 0;       ///< that player's points
    int32_t LastPlayer = -1;  ///< the only human player's company, when it was liquidated

    bool operator==(const RecordedEnd&) const = default;
};

/// The whole record of a game.
struct GameHistory {
    std::vector<MonthRecord> Months;        ///< oldest first, one per closed month
    std::vector<RecordedMessage> Messages;  ///< in the order they were shown
    /// Transport spending of the month still open, per company; booked into the month's record
    /// at the month end.
    std::array<long double, kHistoryCompanies> OpenTransport{};
    std::optional<RecordedEnd> End;  ///< the game is over: no further turn

    void Clear() { *this = GameHistory{}; }
    void NoteTransport(int company, long double dollars)
    {
        if (company >= 0 && company < kHistoryCompanies)
            OpenTransport[company] += dollars;
    }
    /// The closed month with this count, or nothing.
    const MonthRecord* FindMonth(int32_t month) const;
    /// Heap bytes the record holds.
    std::size_t MemoryBytes() const;

    bool operator==(const GameHistory& other) const
    {
        return Months == other.Months && Messages == other.Messages && End == other.End;
    }
};

/// A frontend in front of another that keeps every message box in the record, with the month and
/// the company on turn read when it is shown, and passes everything on unchanged.
class HistoryTap final : public ForwardingFrontend {
public:
    HistoryTap(GameHistory& history, Frontend& inner, const int32_t& month, const int32_t& company)
        : ForwardingFrontend(inner), history_(history), month_(month), company_(company)
    {
    }
    void ShowMessage(const LocalText& text, const LocalText& caption, MessageIcon icon) override
    {
        history_.Messages.push_back({month_, company_, text, caption});
        inner_.ShowMessage(text, caption, icon);
    }

private:
    GameHistory& history_;
    const int32_t& month_;
    const int32_t& company_;
};
