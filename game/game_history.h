/// @file game_history.h The record of a game beside its savegame: every closed month's books of
/// every company and every message the turn engine showed. The month end fills it; the window and
/// tavrek-sim only read it. It is never part of a savegame.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

#include "game/frontend.h"
#include "game/game_inputs.h"
#include "game/text.h"

template <typename T>
using BrandTownTable = std::array<std::array<T, kHistoryTowns>, kHistoryBrands>;

/// What a company's own spending of a month went on, in the month report's order.
enum class SpendingKind : uint8_t { Construction, Extensions, Depots, Brands, TransferFees, Transport };
inline constexpr int kSpendingKinds = 6;

/// Why a brand sold nothing in a town at the month's market, as the market's rules decide it.
enum class NothingSold : uint8_t {
    No = 0,        ///< it sold something, or nothing was to be sold there
    NoStock,       ///< it sold there the month before, but had no beer on offer
    PriceTooHigh,  ///< its price lay above 1.2 times three times its quality
    OffTaste,      ///< its quality lay 0.35 or more from the town's wage level
    DemandMet,     ///< the town's demand went to the other brands before a litre came to it
};

/// One company's closed month. Money is kept as double: the record is for reading, never for
/// playing on, and half the size of the game's extended money. Its litres place by place are kept
/// for the newest month alone (the month report's); older months keep the totals the charts and
/// the CSV show.
struct CompanyMonth {
    double Revenue = 0;      ///< dollars the sales brought in
    double Production = 0;   ///< dollars the breweries cost
    double Transport = 0;    ///< dollars spent on moving beer during the month
    double Interest = 0;     ///< dollars of interest charged on town debts (0 or more)
    double MoneyBefore = 0;  ///< all towns' money just before the market
    double Money = 0;        ///< all towns' money after the books were closed
    double Value = 0;        ///< company value after the books were closed
    float Share = 0;         ///< market share of the month's market, percent
    int64_t Supply = 0;      ///< litres offered at the month's market, all brands and towns
    int64_t Sales = 0;       ///< litres sold there

    bool operator==(const CompanyMonth&) const = default;
};

/// A company's own spending and other changes of money before the market in a month seen whole
/// (MonthRecord::Detailed). Kept beside the months, and only where one of them is not zero: in
/// most months of a long game most companies neither spend nor gain anything.
struct CompanyBooks {
    int32_t Month = 0;
    int32_t Company = 0;
    double Spent = 0;  ///< own spending of every kind but transport (that is CompanyMonth::Transport)
    double Other = 0;  ///< every other change of money before the market: events, gifts, liquidation

    bool operator==(const CompanyBooks&) const = default;
};

/// A human player's own spending of a month seen whole by kind but transport, kept where one
/// kind is not zero: the month report names each kind.
struct KindSpending {
    int32_t Month = 0;
    int32_t Company = 0;
    std::array<double, kSpendingKinds - 1> Spent{};  ///< in SpendingKind's order

    bool operator==(const KindSpending&) const = default;
};

/// Sales as a percentage of the total demand, held in single precision. Without any demand
/// nobody has a share: a damaged savegame may hold a map where nobody wants beer, and a share
/// of nothing must not win the game. The record works its shares out the same way.
inline float ShareOfDemand(int64_t sales, double totalDemand)
{
    if (!(totalDemand > 0.0))
        return 0.0f;
    return static_cast<float>(static_cast<double>(sales) / totalDemand * 100.0);
}

/// The litres of one company's brand in one town in the newest closed month. Only the places
/// where something was offered or sold are kept: most of the 300 places of a company are empty.
struct LitreCell {
    uint8_t Company = 0;
    uint8_t Brand = 0;
    uint8_t Town = 0;
    int32_t Supply = 0;  ///< litres offered at the month's market
    int32_t Sales = 0;   ///< litres sold there

    bool operator==(const LitreCell&) const = default;
};

/// A company's litres of one month as whole tables, for the views that show them place by place
/// (empty tables for a month before the newest), with its totals.
struct CompanyLitres {
    BrandTownTable<int32_t> Supply{};
    BrandTownTable<int32_t> Sales{};
    int64_t TotalSupply = 0;
    int64_t TotalSales = 0;
};

/// One closed month of the game.
struct MonthRecord {
    int32_t Month = 0;  ///< month count, 1 = January 1750
    /// The companies' spending, other changes and unsold reasons were seen over the whole month:
    /// not in a month that was open when the game was opened.
    bool Detailed = false;
    uint64_t Digest = 0;      ///< MonthDigest of the game once the month closed; 0: not known
    int64_t TotalDemand = 0;  ///< litres all towns wanted
    std::array<CompanyMonth, kHistoryCompanies> Companies{};

    bool operator==(const MonthRecord&) const = default;
};

/// A company's details of the month still open, booked into its record at the month end.
struct OpenBooks {
    std::array<long double, kSpendingKinds - 1> Spent{};
    std::array<long double, kHistoryTowns> TownSpent{};
    long double Other = 0;

    bool operator==(const OpenBooks&) const = default;
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
    /// Oldest first, one per closed month. A deque: a long game's months are never copied to
    /// grow, so its record never needs twice its size.
    std::deque<MonthRecord> Months;
    /// The newest month's places, ordered by company, brand and town, and its towns' demand.
    std::vector<LitreCell> NewestCells;
    std::array<int32_t, kHistoryTowns> NewestDemand{};
    /// The newest month's spending of each company by the town that paid, and why a brand sold
    /// nothing where it was expected to sell (its month report's; kept where it is Detailed).
    std::array<std::array<double, kHistoryTowns>, kHistoryCompanies> NewestTownSpent{};
    std::array<BrandTownTable<NothingSold>, kHistoryCompanies> NewestUnsold{};
    /// Every month's spending and other changes that are not zero, ordered by month and company;
    /// and the human players' spending by kind.
    std::vector<CompanyBooks> Books;
    std::vector<KindSpending> Kinds;
    std::vector<RecordedMessage> Messages;  ///< in the order they were shown
    /// Transport spending of the month still open, per company; booked into the month's record
    /// at the month end.
    std::array<long double, kHistoryCompanies> OpenTransport{};
    /// The other details of the month still open, per company, and whether they were noted
    /// since its start (a new game, or a month that began in this sitting).
    std::array<OpenBooks, kHistoryCompanies> Open{};
    bool OpenWhole = false;
    std::optional<RecordedEnd> End;  ///< the game is over: no further turn
    GameInputs Inputs;               ///< how the game began and what its players did

    void Clear() { *this = GameHistory{}; }
    /// A company's spending and other changes in a month (zero where none were kept).
    CompanyBooks BooksOf(int32_t month, int company) const;
    /// The month's own spending of a company (every kind, transport included).
    double TotalSpending(const MonthRecord& r, int company) const;
    /// What a human player's company spent on one kind in a month.
    double SpentOn(const MonthRecord& r, int company, SpendingKind kind) const;
    /// Money a company paid out of a town's account for its own plans (a refund is negative).
    void NoteSpending(int company, int town, SpendingKind kind, long double dollars);
    /// Money that came or went otherwise before the market (events, liquidation).
    void NoteOther(int company, long double dollars)
    {
        if (company >= 0 && company < kHistoryCompanies)
            Open[company].Other += dollars;
    }
    /// A new newest month, its places and demand to follow; the month before keeps its totals.
    MonthRecord& AddMonth(int32_t month);
    /// Drops the newest month; the month before becomes the newest without its places.
    void DropNewestMonth();
    /// Sets the towns' demand of the newest month and its total.
    void SetDemand(const std::array<int32_t, kHistoryTowns>& demand);
    /// Sets the litres of a place in the newest month, and its company's totals; a place with
    /// nothing offered or sold is not kept. Nothing happens without a month or outside the tables.
    void SetLitres(int company, int brand, int town, int32_t supply, int32_t sales);
    /// Appends a place of the newest month that lies after all its places so far (the month end
    /// and the reader fill them in order), adding to its company's totals; nothing offered or
    /// sold is not kept.
    void AppendLitres(int company, int brand, int town, int32_t supply, int32_t sales)
    {
        if (supply == 0 && sales == 0)
            return;
        NewestCells.push_back(
            {static_cast<uint8_t>(company), static_cast<uint8_t>(brand), static_cast<uint8_t>(town), supply, sales});
        CompanyMonth& m = Months.back().Companies[company];
        m.Supply += supply;
        m.Sales += sales;
    }
    /// The places of a month: the newest month's, none for an older one.
    std::span<const LitreCell> CellsOf(const MonthRecord& r) const
    {
        if (Months.empty() || &r != &Months.back())
            return {};
        return NewestCells;
    }
    /// One company's litres of a month as tables, with their totals.
    CompanyLitres Litres(const MonthRecord& r, int company) const;
    /// The closed month with this count, or nothing.
    const MonthRecord* FindMonth(int32_t month) const;
    /// Heap bytes the record holds.
    std::size_t MemoryBytes() const;

    bool operator==(const GameHistory& other) const;
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
