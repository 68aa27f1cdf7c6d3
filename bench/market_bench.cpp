/// @file market_bench.cpp The cost of closing one month: the market of ten towns and the books
/// of ten companies, on map 3 with every company holding three brands in several towns.
#include <benchmark/benchmark.h>

#include "engine/market.h"
#include "game/game_state.h"
#include "game/map_tables.h"

namespace {

GameState BusyMap3()
{
    GameState s;
    s.MapNumber = 3;
    s.Program.Rng.Seed(42);
    const MapStartTable& table = kStartTables[2];
    for (int t = 0; t < kTowns; ++t) {
        s.Demand[t] = table.Demand[t];
        s.Wages[t] = table.Wages[t];
    }
    for (int c = 0; c < kCompanies; ++c) {
        for (int b = 0; b < kBrands; ++b) {
            s.Quality[c][b] = static_cast<float>(0.8L + 0.05L * ((c + 3 * b) % 10));
            s.CostFactor[c][b] = 2.2f;
            for (int k = 0; k < 4; ++k) {  // breweries in four towns per brand
                const int t = (c + 3 * b + 2 * k) % kTowns;
                s.Capacity[c][b][t] = 2000 + 500 * k;
                s.Stock[c][b][t] = s.Capacity[c][b][t];
            }
            for (int t = 0; t < kTowns; ++t)
                s.Price[c][b][t] = static_cast<float>(s.Quality[c][b] * (2.0L + 0.1L * ((c + t) % 8)));
        }
        s.Account[c][c] = 50000.0L;
        s.HasDepot[c][(c + 5) % kTowns] = true;
    }
    return s;
}

void BM_CloseMonth(benchmark::State& st)
{
    const GameState start = BusyMap3();
    GameState s = start;
    for (auto _ : st) {
        s = start;
        RunMarket(s);
        SettleMonth(s);
        benchmark::DoNotOptimize(s.Account[3][3]);
    }
}
BENCHMARK(BM_CloseMonth);

// The copy that BM_CloseMonth makes each time, to subtract from its figure.
void BM_CopyState(benchmark::State& st)
{
    const GameState start = BusyMap3();
    GameState s = start;
    for (auto _ : st) {
        s = start;
        benchmark::DoNotOptimize(s.Account[3][3]);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyState);

void BM_RunMarketOnly(benchmark::State& st)
{
    const GameState start = BusyMap3();
    GameState s = start;
    for (auto _ : st) {
        s.Stock = start.Stock;
        RunMarket(s);
        benchmark::DoNotOptimize(s.Sales[3][0][3]);
    }
}
BENCHMARK(BM_RunMarketOnly);

void BM_SettleMonthOnly(benchmark::State& st)
{
    const GameState start = BusyMap3();
    GameState s = start;
    for (auto _ : st) {
        s.Stock = start.Stock;
        s.Account = start.Account;
        s.Wages = start.Wages;
        SettleMonth(s);
        benchmark::DoNotOptimize(s.Account[3][3]);
    }
}
BENCHMARK(BM_SettleMonthOnly);

}  // namespace
