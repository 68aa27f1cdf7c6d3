/// @file advisor.cpp The advisor's hints, from the accounts, the stocks, the towns' demand and
/// dry runs of this month's market.
#include "commands/advisor.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "commands/history_views.h"
#include "engine/market.h"
#include "engine/standing_orders.h"
#include "game/map_tables.h"
#include "game/status_line.h"

namespace {

constexpr size_t kMostHints = 5;
// A town "wants much more" when it drinks at least twice what was on offer, and 1000 l more.
constexpr int32_t kThirstFactor = 2;
constexpr int32_t kThirstLitres = 1000;
// The interest on a debt and the part of a transfer lost on the way, as the rules charge them.
constexpr double kInterestPercent = 15.0;
constexpr long double kTransferKept = 0.95L;

std::string Price(int64_t cents) { return Format("%.2f $", static_cast<double>(cents) / 100.0); }

bool HasBase(const GameState& s, int c, int t)
{
    if (s.HasDepot[c][t])
        return true;
    for (int b = 0; b < kBrands; ++b)
        if (s.Capacity[c][b][t] > 0)
            return true;
    return false;
}

// A town with your depot or brewery, or the one cheapest to reach from such a town.
bool NearBase(const GameState& s, int c, int t)
{
    for (int base = 0; base < kTowns; ++base) {
        if (!HasBase(s, c, base))
            continue;
        if (base == t)
            return true;
        int nearest = -1;
        for (int other = 0; other < kTowns; ++other)
            if (other != base && (nearest < 0 || TransportCost(s, base, other) < TransportCost(s, base, nearest)))
                nearest = other;
        if (nearest == t)
            return true;
    }
    return false;
}

bool HasBrewery(const GameState& s, int c, int t)
{
    for (int b = 0; b < kBrands; ++b)
        if (s.Capacity[c][b][t] > 0)
            return true;
    return false;
}

// The town other than `except` that holds the most money, or -1 when none holds any.
int RichestOther(const GameState& s, int c, int except)
{
    int richest = -1;
    for (int t = 0; t < kTowns; ++t)
        if (t != except && s.Account[c][t] > 0 && (richest < 0 || s.Account[c][t] > s.Account[c][richest]))
            richest = t;
    return richest;
}

// The standing orders that could not be carried out at the start of this turn, as their message
// boxes told the player.
void FailedOrders(const GameState& s, int c, bool german, std::vector<AdvisorHint>& hints)
{
    std::array<bool, kOrderSlots> told{};
    for (auto it = s.History.Messages.rbegin(); it != s.History.Messages.rend() && it->Month == s.MonthCount; ++it) {
        if (it->Company != c)
            continue;
        const auto failed = FailedOrderOf(it->Text, it->Caption);
        if (!failed || told[failed->Slot])
            continue;
        told[failed->Slot] = true;
        const StandingOrderSlot& order = s.StandingOrder[c][failed->Slot];
        if (order.Kind == kOrderEmpty || order.Kind < 0 || order.Kind > kOrderMoney || order.FromTown < 0 ||
            order.FromTown >= kTowns || order.ToTown < 0 || order.ToTown >= kTowns)
            continue;  // deleted since, or not an order the advisor can read
        const int number = failed->Slot + 1;
        const char* from = s.TownName[order.FromTown].c_str();
        const char* to = s.TownName[order.ToTown].c_str();
        AdvisorHint hint{HintKind::OrderFailed, order.FromTown, static_cast<long double>(order.Amount), {}};
        if (order.Kind == kOrderMoney) {
            hint.Text = Format(german ? "Auftrag %d (%d $ von %s nach %s) scheiterte: zu wenig Geld in %s"
                                      : "Order %d (%d $ from %s to %s) failed: not enough money in %s",
                               number, order.Amount, from, to, from);
        } else {
            const char* brand = s.BrandName[c][order.Kind].c_str();
            hint.Text = Format(failed->LackOfBeer
                                   ? (german ? "Auftrag %d (%d l %s von %s nach %s) scheiterte: zu wenig Bier in %s"
                                             : "Order %d (%d l of %s from %s to %s) failed: not enough beer in %s")
                                   : (german ? "Auftrag %d (%d l %s von %s nach %s) scheiterte: zu wenig Geld in %s"
                                             : "Order %d (%d l of %s from %s to %s) failed: not enough money in %s"),
                               number, order.Amount, brand, from, to, from);
        }
        // Money is brought from the richest other town; beer from a bigger brewery. Otherwise the
        // order itself is what to change.
        const int richest = RichestOther(s, c, order.FromTown);
        if (!failed->LackOfBeer && richest >= 0) {
            hint.Command = CommandKind::TransferMoney;
            hint.CommandTown = richest;
        } else if (failed->LackOfBeer && s.Capacity[c][order.Kind][order.FromTown] > 0) {
            hint.Command = CommandKind::ExtendBrewery;
            hint.CommandTown = order.FromTown;
        } else {
            hint.Command = CommandKind::DeleteOrder;
            hint.CommandTown = order.FromTown;
        }
        hints.push_back(std::move(hint));
    }
}

}  // namespace

std::vector<AdvisorHint> ComputeAdvice(const GameState& s, int c, Language language)
{
    std::vector<AdvisorHint> hints;
    if (!s.GameActive || c < 0 || c >= kCompanies)
        return hints;
    const bool german = language == Language::German;

    // The deepest debt, if another town holds enough to pay it off after the transfer's loss.
    int debtor = -1;
    int richest = -1;
    for (int t = 0; t < kTowns; ++t) {
        if (s.Account[c][t] < 0 && (debtor < 0 || s.Account[c][t] < s.Account[c][debtor]))
            debtor = t;
        if (richest < 0 || s.Account[c][t] > s.Account[c][richest])
            richest = t;
    }
    if (debtor >= 0 && richest >= 0 && s.Account[c][richest] * kTransferKept >= -s.Account[c][debtor]) {
        const double debt = static_cast<double>(-s.Account[c][debtor]);
        hints.push_back({HintKind::Debt, debtor, -s.Account[c][debtor],
                         Format(german ? "%s: %.2f $ Schulden kosten %.0f %% Zinsen im Monat; %s hat %.2f $"
                                       : "%s: a debt of %.2f $ costs %.0f %% interest a month; %s holds %.2f $",
                                s.TownName[debtor].c_str(), debt, kInterestPercent, s.TownName[richest].c_str(),
                                static_cast<double>(s.Account[c][richest])),
                         CommandKind::TransferMoney, richest});
    }
    FailedOrders(s, c, german, hints);
    // Which places already have a price hint: an idle brewery there says nothing more.
    BrandTownTable<bool> priceHint{};

    for (int t = 0; t < kTowns; ++t) {
        // The company's brands in the town meet each other with the beer they have on hand.
        std::array<float, kBrands> prices{};
        for (int b = 0; b < kBrands; ++b)
            prices[b] = s.Price[c][b][t];
        const GameData market = OwnBrandsAsOnHand(s, c, t, prices);
        for (int b = 0; b < kBrands; ++b) {
            if (!BrandExists(s, c, b) || s.Stock[c][b][t] <= 0)
                continue;
            const float price = s.Price[c][b][t];
            const BrandForecast f = ForecastBrand(market, c, b, t, price);
            const char* town = s.TownName[t].c_str();
            const char* brand = s.BrandName[c][b].c_str();
            if (f.Sold == 0 && f.AnySoldUpToCents) {
                const std::string limit = Price(*f.AnySoldUpToCents);
                hints.push_back({HintKind::PriceTooHigh, t, static_cast<long double>(f.Stock),
                                 german ? Format("%s: %s verkauft zu %.2f $ nichts von %d l; es verkauft sich bis %s",
                                                 town, brand, static_cast<double>(price), f.Stock, limit.c_str())
                                        : Format("%s: %s sells none of %d l at %.2f $; it sells up to %s", town, brand,
                                                 f.Stock, static_cast<double>(price), limit.c_str()),
                                 CommandKind::ChangePrices, t});
                priceHint[b][t] = true;
                continue;
            }
            const int32_t left = f.Stock - f.Sold;
            if (left <= 0 || f.Sold == 0)
                continue;
            const std::string cheaper = f.AllSoldUpToCents
                                            ? Format(german ? "; alles verkauft sich bis %s" : "; all sells up to %s",
                                                     Price(*f.AllSoldUpToCents).c_str())
                                            : std::string();
            hints.push_back({HintKind::Unsold, t, static_cast<long double>(left),
                             Format(s.HasDepot[c][t] ? (german ? "%s: %d l %s bleiben diesen Monat liegen%s"
                                                               : "%s: %d l of %s wait unsold%s")
                                                     : (german ? "%s: %d l %s verderben ohne Lager am Monatsende%s"
                                                               : "%s: %d l of %s spoil at month end without a depot%s"),
                                    town, left, brand, cheaper.c_str()),
                             s.HasDepot[c][t] ? CommandKind::ChangePrices : CommandKind::BuildDepot, t});
        }
    }

    // A brewery whose beer was on offer at home at the last market and sold none of it, while
    // its whole capacity is paid for every month. The first month has had no market yet.
    for (int t = 0; t < kTowns && s.MonthCount > 1; ++t)
        for (int b = 0; b < kBrands; ++b) {
            const int32_t capacity = s.Capacity[c][b][t];
            if (!BrandExists(s, c, b) || capacity <= 0 || s.Supply[c][b][t] <= 0 || s.Sales[c][b][t] != 0 ||
                priceHint[b][t])
                continue;
            const long double cost = static_cast<long double>(capacity) * s.Wages[t] * s.CostFactor[c][b];
            // Beer the town's wage level does not drink at any price goes elsewhere; otherwise the
            // price is what stopped it.
            const bool offTaste = !(std::fabs(static_cast<double>(QualityGap(s.Quality[c][b], s.Wages[t]))) < 0.35);
            const char* town = s.TownName[t].c_str();
            const char* brand = s.BrandName[c][b].c_str();
            const int32_t offered = s.Supply[c][b][t];
            hints.push_back(
                {HintKind::IdleBrewery, t, cost,
                 german ? Format("%s: %d l der %s-Brauerei fanden letzten Monat hier keinen Käufer; sie kostet "
                                 "%.2f $ im Monat",
                                 town, offered, brand, static_cast<double>(cost))
                        : Format("%s: the %s brewery's %d l found no buyer here last month; it costs %.2f $ a month",
                                 town, brand, offered, static_cast<double>(cost)),
                 offTaste ? CommandKind::TransportBeer : CommandKind::ChangePrices, t});
        }

    for (int t = 0; t < kTowns; ++t) {
        if (!NearBase(s, c, t))
            continue;
        int64_t offered = 0;
        for (int k = 0; k < kCompanies; ++k)
            for (int b = 0; b < kBrands; ++b)
                offered += s.Supply[k][b][t];
        const int64_t demand = s.Demand[t];
        if (demand >= kThirstFactor * offered && demand - offered >= kThirstLitres) {
            // Before the first market nothing has been on offer anywhere yet: the demand alone.
            const std::string text =
                s.MonthCount <= 1
                    ? Format(german ? "%s trinkt %lld l im Monat; noch hat kein Markt stattgefunden"
                                    : "%s drinks %lld l a month; no market has been held yet",
                             s.TownName[t].c_str(), static_cast<long long>(demand))
                    : Format(german ? "%s trinkt %lld l im Monat, angeboten waren nur %lld l"
                                    : "%s drinks %lld l a month, only %lld l were on offer",
                             s.TownName[t].c_str(), static_cast<long long>(demand), static_cast<long long>(offered));
            hints.push_back({HintKind::Thirst, t, static_cast<long double>(demand - offered), text,
                             HasBrewery(s, c, t) ? CommandKind::ExtendBrewery : CommandKind::BuildBrewery, t});
        }
    }

    std::stable_sort(hints.begin(), hints.end(), [](const AdvisorHint& a, const AdvisorHint& b) {
        if (a.Kind != b.Kind)
            return a.Kind < b.Kind;
        return a.Weight > b.Weight;
    });
    if (hints.size() > kMostHints)
        hints.resize(kMostHints);
    return hints;
}
