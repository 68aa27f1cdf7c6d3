/// @file month_digest.cpp The game's digest, field by field.
#include "engine/month_digest.h"

#include <array>
#include <bit>
#include <cstring>
#include <span>

namespace {

// A fast mix of 64-bit words in four lanes (no lane waits for another's multiply). Money is taken
// by its value, never with the padding of its extended format; tables of whole numbers, singles
// and flags by their bytes.
class Digest {
public:
    static void Mix(uint64_t& lane, uint64_t v)
    {
        lane = (lane ^ v) * 0x9E3779B97F4A7C15ull;
        lane ^= lane >> 29;
    }
    static uint64_t Pair(int32_t a, int32_t b)
    {
        return uint64_t{static_cast<uint32_t>(a)} | uint64_t{static_cast<uint32_t>(b)} << 32;
    }
    void Add(uint64_t v) { Mix(lanes_[next_++ & 3], v); }
    void Add(int32_t a, int32_t b) { Add(Pair(a, b)); }
    void Add(float f) { Add(uint64_t{std::bit_cast<uint32_t>(f)}); }
    void Add(long double v)
    {
        // The 64-bit mantissa and the sign and exponent of the x87 format, never its padding.
        uint64_t mantissa = 0;
        uint16_t exponent = 0;
        std::memcpy(&mantissa, &v, sizeof mantissa);
        std::memcpy(&exponent, reinterpret_cast<const char*>(&v) + sizeof mantissa, sizeof exponent);
        Add(mantissa);
        Add(uint64_t{exponent});
    }
    void Add(const std::string& text)
    {
        Add(static_cast<uint64_t>(text.size()) | uint64_t{0x5A} << 56);
        uint64_t word = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            word = word << 8 | static_cast<unsigned char>(text[i]);
            if (i % 8 == 7) {
                Add(word);
                word = 0;
            }
        }
        Add(word);
    }
    /// A whole table of whole numbers (or singles): two values a word, four words a step, so
    /// that the four lanes run side by side.
    template <typename Table>
    void AddTable(const Table& table)
    {
        constexpr std::size_t n = sizeof(Table) / sizeof(int32_t);
        static_assert(sizeof(Table) % sizeof(int32_t) == 0);
        std::array<int32_t, n> flat;
        std::memcpy(flat.data(), &table, sizeof(Table));
        std::size_t i = 0;
        for (; i + 8 <= n; i += 8)
            for (std::size_t lane = 0; lane < 4; ++lane)
                Mix(lanes_[lane], Pair(flat[i + 2 * lane], flat[i + 2 * lane + 1]));
        for (; i < n; ++i)
            Add(flat[i], 0);
    }
    /// A table of money: each value's mantissa and its sign and exponent.
    template <typename Table>
    void AddMoney(const Table& table)
    {
        constexpr std::size_t n = sizeof(Table) / sizeof(long double);
        std::array<long double, n> flat;
        std::memcpy(flat.data(), &table, sizeof(Table));
        std::size_t i = 0;
        for (; i + 2 <= n; i += 2)
            for (std::size_t k = 0; k < 2; ++k) {
                uint64_t mantissa = 0;
                uint16_t exponent = 0;
                std::memcpy(&mantissa, &flat[i + k], sizeof mantissa);
                std::memcpy(&exponent, reinterpret_cast<const char*>(&flat[i + k]) + sizeof mantissa, sizeof exponent);
                Mix(lanes_[2 * k], mantissa);
                Mix(lanes_[2 * k + 1], exponent);
            }
        for (; i < n; ++i)
            Add(flat[i]);
    }
    template <typename T, std::size_t N>
    void Add(const std::array<T, N>& values)
    {
        if constexpr (std::is_same_v<T, int32_t>) {
            std::size_t i = 0;
            for (; i + 1 < N; i += 2)
                Add(values[i], values[i + 1]);
            if (i < N)
                Add(values[i], 0);
        } else if constexpr (std::is_same_v<T, bool>) {
            uint64_t bits = 0;
            for (std::size_t i = 0; i < N; ++i)
                bits |= uint64_t{values[i]} << (i % 64);
            Add(bits);
        } else if constexpr (std::is_same_v<T, float>) {
            std::size_t i = 0;
            for (; i + 1 < N; i += 2)
                Add(std::bit_cast<int32_t>(values[i]), std::bit_cast<int32_t>(values[i + 1]));
            if (i < N)
                Add(values[i]);
        } else {
            for (const T& v : values)
                Add(v);
        }
    }
    void Add(bool b) { Add(uint64_t{b ? 1u : 2u}); }
    void Add(double d) { Add(std::bit_cast<uint64_t>(d)); }

    uint64_t Value() const
    {
        uint64_t h = 0xCBF29CE484222325ull;
        for (const uint64_t lane : lanes_) {
            h = (h ^ lane) * 0x100000001B3ull;
            h ^= h >> 31;
        }
        return h == 0 ? 1 : h;
    }

private:
    uint64_t lanes_[4] = {1, 2, 3, 4};
    std::size_t next_ = 0;
};

}  // namespace

// A new field of the game must be added below, or two games that differ in it look alike.
static_assert(sizeof(GameData) == 19712, "GameData changed: add the new field to MonthDigest");

uint64_t MonthDigest(const GameState& s)
{
    Digest d;
    d.Add(s.GameActive);
    d.Add(s.MapNumber, s.MonthCount);
    d.Add(s.CurrentCompany, s.SelectedTown);
    d.Add(s.PlayerCompany);
    d.Add(s.PlayerTown);
    d.Add(s.TwoPlayer);
    d.Add(s.ExpertMode);
    d.Add(s.DelayBuilding);
    d.Add(s.EventsOn);
    d.Add(s.ReduceCapacities);
    d.Add(s.WinningShare);
    d.Add(s.BrandOffered);
    d.Add(s.TownName);
    d.Add(s.Demand);
    d.Add(s.Wages);
    d.Add(s.CompanyName);
    for (int c = 0; c < kCompanies; ++c)
        d.Add(s.BrandName[c]);
    d.AddTable(s.Quality);
    d.AddTable(s.CostFactor);
    d.AddTable(s.Price);
    d.AddTable(s.Capacity);
    d.AddTable(s.Stock);
    d.AddTable(s.Supply);
    d.AddTable(s.Sales);
    d.AddTable(s.ConstructionPipeline);
    d.AddTable(s.StandingOrder);
    d.AddTable(s.HasDepot);
    d.AddMoney(s.ProductionCost);
    d.AddMoney(s.Account);
    d.Add(s.Program.Rng.State());
    return d.Value();
}
