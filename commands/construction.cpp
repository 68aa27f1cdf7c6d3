/// @file construction.cpp Breweries, extensions, depots and new brands.
#include "commands/construction.h"

#include <cmath>
#include <limits>

#include "commands/amount_field.h"
#include "commands/command_common.h"
#include "game/text.h"

namespace {

constexpr int kNewestStage = kStages - 1;

LocalText SelectBrand() { return {"Please select a brand to build a brewery.", "Bitte wählen Sie eine Marke."}; }

// The brand slot a list entry names, among the brands the list offers; -1 for none.
template <typename Offered>
int BrandOfEntry(const GameState& s, const std::optional<std::string>& entry, Offered offered)
{
    if (!entry)
        return -1;
    for (int b = 0; b < kBrands; ++b)
        if (offered(b) && s.BrandName[s.CurrentCompany][b] == *entry)
            return b;
    return -1;
}

}  // namespace

int32_t MaximumExtension(const GameState& s, int company, int town)
{
    constexpr int32_t kMost = std::numeric_limits<int32_t>::max();
    const long double step = ExtensionStepCost(s, town);
    const long double account = s.Account[company][town];
    // A step costs something at every wage level above -10; below that any count is affordable.
    if (!(step > 0.0L))
        return account >= 0.0L ? kMost : 0;
    if (!(account >= step))
        return 0;
    const long double estimate = std::floor(account / step);
    if (estimate >= kMost)
        return kMost;
    int32_t n = static_cast<int32_t>(estimate);
    while (n > 0 && n * step > account)
        --n;
    while (n < kMost && (n + 1) * step <= account)
        ++n;
    return n;
}

bool CanBuildBrewery(const GameState& s, int c, int b, int t)
{
    const auto& stages = s.ConstructionPipeline[c][b][t];
    return BrandExists(s, c, b) && s.Capacity[c][b][t] == 0 && stages[0] == 0 && stages[1] == 0 && stages[2] == 0;
}

bool CanExtendBrewery(const GameState& s, int c, int b, int t)
{
    return s.Capacity[c][b][t] > 0 && BrandExists(s, c, b);
}

PanelNext BuildBrewery(GameState& s, Frontend& frontend, const std::optional<std::string>& brandEntry)
{
    const int c = s.CurrentCompany;
    const int t = s.SelectedTown;
    const int b = BrandOfEntry(s, brandEntry, [&](int brand) { return CanBuildBrewery(s, c, brand, t); });
    if (b < 0) {
        Refuse(frontend, SelectBrand());
        return PanelNext::Stay;
    }
    const long double cost = BreweryCost(s, t);
    if (s.Account[c][t] < cost) {
        Refuse(frontend, {"Not enough money in town!", "Nicht genug Geld in der Stadt!"});
        return PanelNext::Idle;
    }
    frontend.PlaySoundEffect(4);
    if (s.DelayBuilding) {
        s.ConstructionPipeline[c][b][t][kNewestStage] = kNewBreweryLitres;
    } else {
        // The first month's beer is on hand at once.
        s.Capacity[c][b][t] = kNewBreweryLitres;
        s.Stock[c][b][t] = AddLitres(s.Stock[c][b][t], kNewBreweryLitres);
    }
    s.Account[c][t] -= cost;
    s.History.NoteSpending(c, t, SpendingKind::Construction, cost);
    s.Price[c][b][t] = static_cast<float>(3.0L * s.Quality[c][b]);
    frontend.StartAnimation(t, 0, 2);
    return PanelNext::Idle;
}

PanelNext ExtendBrewery(GameState& s, Frontend& frontend, const std::optional<std::string>& brandEntry,
                        const std::string& countField)
{
    const int c = s.CurrentCompany;
    const int t = s.SelectedTown;
    int32_t n = CutToInt32(std::floor(ReadAmountField(countField, kCountFieldSize)));
    const int b = BrandOfEntry(s, brandEntry, [&](int brand) { return CanExtendBrewery(s, c, brand, t); });
    if (b < 0) {
        Refuse(frontend, SelectBrand());
        return PanelNext::Stay;
    }
    if (n < 0) {
        // Shrinking is immediate, free and refunds nothing; the stock stays.
        if (s.ReduceCapacities) {
            const int32_t reduced = AddLitres(s.Capacity[c][b][t], int64_t{kStepLitres} * n);
            s.Capacity[c][b][t] = reduced < 0 ? 0 : reduced;
        }
        n = 0;
    }
    const long double step = ExtensionStepCost(s, t);
    if (n != 0 && s.Account[c][t] < step * n) {
        Refuse(frontend, {"Not enough money in town!", "Sie haben nicht genügend Geld in der Stadt!"});
        return PanelNext::Idle;
    }
    frontend.PlaySoundEffect(4);
    const int64_t litres = int64_t{kStepLitres} * n;
    if (s.DelayBuilding) {
        auto& newest = s.ConstructionPipeline[c][b][t][kNewestStage];
        newest = AddLitres(newest, litres);
    } else {
        s.Capacity[c][b][t] = AddLitres(s.Capacity[c][b][t], litres);
        s.Stock[c][b][t] = AddLitres(s.Stock[c][b][t], litres);
    }
    s.Account[c][t] -= step * n;
    s.History.NoteSpending(c, t, SpendingKind::Extensions, step * n);
    frontend.StartAnimation(t, 0, 7);
    return PanelNext::Idle;
}

PanelNext BuildDepot(GameState& s, Frontend& frontend)
{
    const int c = s.CurrentCompany;
    const int t = s.SelectedTown;
    if (s.HasDepot[c][t]) {
        Refuse(frontend,
               {"You already have a depot in this town!", "Sie haben bereits ein Lagerhaus in dieser Stadt!"});
        return PanelNext::Idle;
    }
    const long double cost = DepotCost(s, t);
    if (s.Account[c][t] < cost) {
        Refuse(frontend, NoMoneyInTown());
        return PanelNext::Idle;
    }
    frontend.PlaySoundEffect(4);
    s.Account[c][t] -= cost;
    s.History.NoteSpending(c, t, SpendingKind::Depots, cost);
    s.HasDepot[c][t] = true;
    frontend.StartAnimation(t, 0, 1);
    return PanelNext::Idle;
}

PanelNext NewBrand(GameState& s, Frontend& frontend)
{
    const int c = s.CurrentCompany;
    const int t = s.SelectedTown;
    if (BrandExists(s, c, 2)) {
        Refuse(frontend, {"You already have three brands!", "Sie haben bereits drei Marken!"});
        return PanelNext::Idle;
    }
    if (s.BrandOffered[c]) {
        Refuse(frontend, {"No one offers you a new brand!", "Niemand bietet Ihnen eine neue Marke an!"});
        return PanelNext::Idle;
    }
    // The month's offer is spent from here on, whether it is bought or not.
    s.BrandOffered[c] = true;
    const long double price = 60000.0L + (10000.0L * s.Wages[t] + 1000.0L * s.Program.Rng.Random(10));
    if (price > s.Account[c][t]) {
        Refuse(frontend, NoMoneyInTown());
        return PanelNext::Idle;
    }
    float quality = static_cast<float>(s.Wages[t] - 0.15L + 0.01L * s.Program.Rng.Random(30));
    if (quality < 0.5f)
        quality = 0.5f;
    const float costFactor =
        ToSingle((3.0L * quality - 1.0L) / s.Wages[t] - 0.05L + 0.001L * s.Program.Rng.Random(100));
    const double q = quality;
    const double f = costFactor;
    const bool buy = frontend.AskYesNo(
        {Format("You are offered a beer with a quality of %1.2f and a cost factor of %1.2f. Do you want to buy "
                "it for %6.0Lf $ ?",
                q, f, price),
         Format("Man bietet Ihnen ein Bier mit einer Qualität von %1.2f und einem Kostenfaktor von %1.2f an. "
                "Möchten Sie sie für %6.0Lf $ kaufen?",
                q, f, price)},
        {"Buy New Brand", "Neue Marke kaufen"});
    if (!buy)
        return PanelNext::Idle;
    frontend.PlaySoundEffect(6);
    s.Account[c][t] -= price;
    s.History.NoteSpending(c, t, SpendingKind::Brands, price);
    const int slot = BrandExists(s, c, 1) ? 2 : 1;
    s.Quality[c][slot] = quality;
    s.CostFactor[c][slot] = costFactor;
    for (int i = 0; i < kTowns; ++i)
        s.Price[c][slot][i] = static_cast<float>(3.0L * quality);
    return PanelNext::Idle;
}
