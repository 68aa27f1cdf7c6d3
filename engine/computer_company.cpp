/// @file computer_company.cpp The moves of a computer-run company.
#include "engine/computer_company.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

#include "game/building.h"
#include "game/map_tables.h"

namespace {

constexpr long double kKeepInBudget = 1500.0L;  // extensions stop once the budget is down to this
constexpr long double kNewBreweryBudget = 19000.0L;
constexpr int32_t kNoCheaperThan = 100;  // surplus only goes where a transport costs less than this

constexpr int32_t kMaxLitres = std::numeric_limits<int32_t>::max();

// How many more 100-litre steps a brewery can take before its capacity leaves the integer range.
// A very rich company (or a wage level so low that a step costs nothing) would otherwise pay
// for steps the capacity cannot hold, or never stop paying.
int64_t StepsLeft(int32_t capacity) { return (static_cast<int64_t>(kMaxLitres) - capacity) / kStepLitres; }

class ComputerTurn {
public:
    ComputerTurn(GameState& s, int c) : s_(s), c_(c), expert_(s.ExpertMode) {}

    void Run()
    {
        long double accounts = 0.0L;
        for (int t = 0; t < kTowns; ++t)
            accounts += s_.Account[c_][t];
        budget_ = 0.95L * accounts;
        totalCapacity_ = SumOfLitres(s_.Capacity, c_);
        for (int t = 0; t < kTowns; ++t)
            totalDemand_ += s_.Demand[t];

        if (expert_)
            ExpertBrands();
        else
            DepotsAndBrands();
        if (budget_ > 0)
            Invest();
        TransportAndPrices();
        CoverDebts();
    }

private:
    void DepotsAndBrands()
    {
        for (int t = 0; t < kTowns; ++t) {
            bool offered = false;
            for (int b = 0; b < kBrands; ++b)
                if (s_.Supply[c_][b][t] > 0)
                    offered = true;
            if (!offered || s_.HasDepot[c_][t])
                continue;
            const long double price = DepotCost(s_, t);
            if (budget_ >= price) {
                s_.HasDepot[c_][t] = true;
                s_.Account[c_][t] -= price;
                s_.History.NoteSpending(c_, t, SpendingKind::Depots, price);
                budget_ -= price;
            }
        }
        if (totalCapacity_ > 5000 && s_.Quality[c_][1] == 0.0f)
            BuyBrand(1);
        if (totalCapacity_ > 10000 && s_.Quality[c_][2] == 0.0f)
            BuyBrand(2);
    }

    void ExpertBrands()
    {
        const float home = s_.Quality[c_][0];
        const bool homeBrandOffMainstream = home > 1.2L || home < 0.8L;
        if (s_.Quality[c_][1] == 0.0f &&
            (totalCapacity_ > totalDemand_ / 15 || (totalCapacity_ > totalDemand_ / 30 && homeBrandOffMainstream)))
            BuyBrand(1);
        if (totalCapacity_ > totalDemand_ / 10 && s_.Quality[c_][2] == 0.0f)
            BuyBrand(2);
    }

    // The town a normal company designs its brand for: the highest wage level above 0, the
    // first of equals; -1 when no town has one.
    int RichestTown() const
    {
        int richest = -1;
        for (int t = 0; t < kTowns; ++t)
            if (s_.Wages[t] > 0.0f && (richest < 0 || s_.Wages[t] > s_.Wages[richest]))
                richest = t;
        return richest;
    }

    void BuyBrand(int slot)
    {
        const int town = expert_ ? s_.Program.Rng.Random(kTowns) : RichestTown();
        if (town < 0)
            return;  // no town to design a brand for: nothing is drawn or bought
        const long double wages = s_.Wages[town];
        const long double price = 60000.0L + 1000.0L * s_.Program.Rng.Random(10) + 10000.0L * wages;
        if (price >= budget_) {
            budget_ = 0.0L;
            return;
        }
        float quality = static_cast<float>(wages - 0.15L + 0.01L * s_.Program.Rng.Random(30));
        if (quality < 0.5f)
            quality = 0.5f;
        if (expert_ && quality > 1.6L)
            quality = 1.6f;
        const long double base = expert_ ? 1.2L : 1.0L;
        const int32_t costDraw = s_.Program.Rng.Random(100);
        // A town without a wage level above 0 would give the brand an infinite or negative cost
        // factor, that is free or even paid brewing: such a brand is not bought.
        if (!(wages > 0.0L))
            return;
        const float costFactor = ToSingle((3.0L * quality - base) / wages - 0.05L + 0.001L * costDraw);
        for (int other = 0; other < slot; ++other) {
            const long double existing = s_.Quality[c_][other];
            if (!(quality > existing + 0.05L || quality < existing - 0.05L))
                return;  // too like a brand the company already has
        }

        s_.Quality[c_][slot] = quality;
        s_.CostFactor[c_][slot] = costFactor;
        s_.Account[c_][town] -= price;
        s_.History.NoteSpending(c_, town, SpendingKind::Brands, price);
        budget_ -= price;
        const float startPrice = static_cast<float>(3.0L * quality);
        for (int t = 0; t < kTowns; ++t)
            s_.Price[c_][slot][t] = startPrice;
    }

    void Invest()
    {
        const long double homeDivisor = expert_ ? 3.0L : 2.0L;
        const long double breweryDivisor = expert_ ? 4.0L : 2.5L;

        // The home brewery grows while it sells out and the home town wants more.
        const int home = c_;
        const long double homeGap = static_cast<long double>(s_.Wages[home]) - s_.Quality[c_][0];
        if (!(expert_ && std::fabs(homeGap) > 0.14L)) {
            const int32_t capacity = s_.Capacity[c_][0][home];
            const int64_t stepsLeft = StepsLeft(capacity);
            int64_t steps = 0;
            while (steps < stepsLeft && s_.Sales[c_][0][home] >= capacity && budget_ > kKeepInBudget &&
                   s_.Demand[home] / homeDivisor > capacity) {
                const long double stepCost = ExtensionStepCost(s_, home);
                if (!(budget_ > stepCost))
                    break;
                s_.Account[c_][home] -= stepCost;
                s_.History.NoteSpending(c_, home, SpendingKind::Extensions, stepCost);
                budget_ -= stepCost;
                ++steps;
            }
            Extend(0, home, steps);
        }

        // Every other sold-out brewery, town by town.
        for (int t = 0; t < kTowns; ++t)
            for (int b = 0; b < kBrands; ++b) {
                const int32_t capacity = s_.Capacity[c_][b][t];
                const int64_t stepsLeft = StepsLeft(capacity);
                int64_t steps = 0;
                while (steps < stepsLeft && capacity > 0 && s_.Quality[c_][b] != 0.0f &&
                       s_.Sales[c_][b][t] >= capacity && budget_ > kKeepInBudget &&
                       s_.Demand[t] / breweryDivisor > capacity) {
                    const long double stepCost = ExtensionStepCost(s_, t);
                    s_.Account[c_][t] -= stepCost;
                    s_.History.NoteSpending(c_, t, SpendingKind::Extensions, stepCost);
                    budget_ -= stepCost;
                    ++steps;
                }
                Extend(b, t, steps);
            }

        // New breweries where the wage level suits a brand.
        const long double limit = expert_ ? 0.1L : 0.15L;
        for (int t = 0; t < kTowns; ++t)
            for (int b = 0; b < kBrands; ++b) {
                const long double gap = static_cast<long double>(s_.Wages[t]) - s_.Quality[c_][b];
                if (std::fabs(gap) < limit && budget_ > kNewBreweryBudget && s_.Capacity[c_][b][t] == 0 &&
                    s_.Quality[c_][b] != 0.0f) {
                    const long double price = BreweryCost(s_, t);
                    s_.Account[c_][t] -= price;
                    s_.History.NoteSpending(c_, t, SpendingKind::Construction, price);
                    budget_ -= price;
                    s_.Capacity[c_][b][t] = kNewBreweryLitres;
                    s_.Stock[c_][b][t] = AddLitres(s_.Stock[c_][b][t], kNewBreweryLitres);
                }
            }
    }

    // New capacity brews at once.
    void Extend(int b, int t, int64_t steps)
    {
        if (steps == 0)
            return;
        s_.Capacity[c_][b][t] = AddLitres(s_.Capacity[c_][b][t], steps * kStepLitres);
        s_.Stock[c_][b][t] = AddLitres(s_.Stock[c_][b][t], steps * kStepLitres);
    }

    void TransportAndPrices()
    {
        // Last month's sales do not change while the company acts: look once per town whether
        // another company sold there (without a branch per place: most places sold nothing).
        std::array<int32_t, kTowns> sold{};
        for (int other = 0; other < kCompanies; ++other) {
            if (other == c_)
                continue;
            for (int ob = 0; ob < kBrands; ++ob)
                for (int t = 0; t < kTowns; ++t)
                    sold[t] |= static_cast<int32_t>(s_.Sales[other][ob][t] > 0);
        }
        for (int t = 0; t < kTowns; ++t)
            if (sold[t] != 0)
                competition_[t] = true;
        for (int t = 0; t < kTowns; ++t)
            for (int b = 0; b < kBrands; ++b) {
                ShipSurplus(b, t);
                SetPrice(b, t);
            }
    }

    // Beer beyond the town's demand goes to the cheapest town that lacks the brand and whose
    // wage level suits it.
    void ShipSurplus(int b, int t)
    {
        const long double quality = s_.Quality[c_][b];
        while (s_.Stock[c_][b][t] > s_.Demand[t]) {
            int32_t best = kNoCheaperThan;
            int destination = -1;
            for (int u = 0; u < kTowns; ++u) {
                const long double gap = s_.Wages[u] - quality;
                const int32_t cost = TransportCost(s_, t, u);
                if (s_.Stock[c_][b][u] < s_.Demand[u] && cost < best && -0.35L < gap && gap < 0.35L) {
                    destination = u;
                    best = cost;
                }
            }
            if (destination < 0)
                return;
            int64_t amount = static_cast<int64_t>(s_.Stock[c_][b][t]) - s_.Demand[t];
            const int64_t shortfall = static_cast<int64_t>(s_.Demand[destination]) - s_.Stock[c_][b][destination];
            if (shortfall < amount)
                amount = shortfall;
            s_.Stock[c_][b][destination] = AddLitres(s_.Stock[c_][b][destination], amount);
            s_.Account[c_][t] -= static_cast<long double>(best) * amount * 0.01L;
            s_.History.NoteSpending(c_, t, SpendingKind::Transport, static_cast<long double>(best) * amount * 0.01L);
            s_.Stock[c_][b][t] = AddLitres(s_.Stock[c_][b][t], -amount);
        }
    }

    void SetPrice(int b, int t)
    {
        const bool competition = competition_[t];
        float& price = s_.Price[c_][b][t];
        const long double quality = s_.Quality[c_][b];
        if (!competition) {
            price = static_cast<float>(3.0L * quality);
            return;
        }
        const int64_t sales = s_.Sales[c_][b][t];
        const int64_t supply = s_.Supply[c_][b][t];
        const int32_t demand = s_.Demand[t];
        if (expert_ && sales + 500 < supply && sales < demand && demand / 3 > sales &&
            static_cast<long double>(s_.Wages[t]) * s_.CostFactor[c_][b] < price - 0.35L)
            price = static_cast<float>(price - 0.05L);
        // Sold all but exactly 100 litres: the brand can ask a little more.
        if (sales == supply - 100 && 3.0L * quality > price)
            price = static_cast<float>(price + 0.15L);
    }

    // Negative town accounts are paid off from positive ones; 5 % is lost on the way.
    void CoverDebts()
    {
        auto& account = s_.Account[c_];
        for (int t = 0; t < kTowns; ++t) {
            if (!(account[t] < 0))
                continue;
            for (int u = 0; u < kTowns && account[t] < 0; ++u) {
                if (!(account[u] > 0))
                    continue;
                const long double need = -account[t] / 0.95L;
                const float amount = ToSingle(account[u] > need ? need : account[u]);
                account[t] += amount * 0.95L;
                account[u] -= amount;
                s_.History.NoteSpending(c_, u, SpendingKind::TransferFees, amount - amount * 0.95L);
            }
        }
    }

    GameState& s_;
    const int c_;
    const bool expert_;
    long double budget_ = 0.0L;
    int64_t totalCapacity_ = 0;
    int64_t totalDemand_ = 0;
    std::array<bool, kTowns> competition_{};  ///< another company sold in the town last month
};

}  // namespace

void RunComputerCompany(GameState& s, int company)
{
    if (company < 0 || company >= kCompanies)
        return;
    ComputerTurn(s, company).Run();
}
