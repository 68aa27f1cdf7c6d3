/// @file logistics.cpp Prices, beer transports and money transfers.
#include "commands/logistics.h"

#include <cmath>

#include "commands/amount_field.h"
#include "commands/command_common.h"
#include "game/map_tables.h"
#include "game/text.h"
#include "platform/cp1252.h"

std::string BrandStockEntry(const GameState& s, int c, int b, int t)
{
    return Format("%d. %s, %d l", b + 1, s.BrandName[c][b].c_str(), s.Stock[c][b][t]);
}

std::string TransportDestinationEntry(const GameState& s, int from, int to)
{
    return Format("%s, %2d Dollar/100l", s.TownName[to].c_str(), TransportCost(s, from, to));
}

int DestinationOfEntry(const GameState& s, const std::string& entry)
{
    // The town names of a map differ in their first three characters.
    const std::string prefix = Utf8Prefix(entry, 3);
    if (prefix.empty())
        return -1;
    int town = -1;
    for (int i = 0; i < kTowns; ++i)
        if (s.TownName[i].compare(0, prefix.size(), prefix) == 0)
            town = i;
    return town;
}

PanelNext ChangePrices(GameState& s, Frontend& frontend, const std::array<std::string, kBrands>& priceFields)
{
    const int c = s.CurrentCompany;
    const int t = s.SelectedTown;
    frontend.PlaySoundEffect(2);
    // Every slot gets the price of its field; the empty field of a missing brand sets 0.
    for (int b = 0; b < kBrands; ++b)
        s.Price[c][b][t] = static_cast<float>(ReadPriceField(priceFields[b]));
    return PanelNext::Idle;
}

PanelNext TransportBeer(GameState& s, Frontend& frontend, const std::optional<std::string>& brandEntry,
                        const std::optional<std::string>& destinationEntry, const std::string& amountField)
{
    const int c = s.CurrentCompany;
    const int t = s.SelectedTown;
    const int d = destinationEntry ? DestinationOfEntry(s, *destinationEntry) : -1;
    if (d < 0) {
        Refuse(frontend, {"Please select a town to transport the beer to.", "Bitte wählen Sie einen Zielort."});
        return PanelNext::Stay;
    }
    const long double litres = std::floor(ReadAmountField(amountField, kAmountFieldSize));
    if (litres < 0.0L)
        return PanelNext::Idle;
    // The money is tested before the brand: a costly transport without a brand reports the money.
    const long double cost = TransportCost(s, t, d) * litres * 0.01L;
    if (s.Account[c][t] < cost) {
        Refuse(frontend, NoMoneyInTown());
        return PanelNext::Idle;
    }
    const char first = brandEntry && !brandEntry->empty() ? (*brandEntry)[0] : '\0';
    if (first < '1' || first > '3') {
        Refuse(frontend, {"Please select a brand.", "Bitte wählen Sie eine Marke."});
        return PanelNext::Stay;
    }
    const int b = first - '1';
    if (litres > s.Stock[c][b][t]) {
        Refuse(frontend, {"You don't have enough beer in this town!", "Sie haben nicht genügend Bier in der Stadt!"});
        return PanelNext::Idle;
    }
    frontend.PlaySoundEffect(3);
    const int64_t moved = static_cast<int64_t>(litres);  // at most the stock, so it fits
    s.Stock[c][b][t] = AddLitres(s.Stock[c][b][t], -moved);
    s.Stock[c][b][d] = AddLitres(s.Stock[c][b][d], moved);
    s.Account[c][t] -= cost;
    s.History.NoteSpending(c, t, SpendingKind::Transport, cost);
    frontend.StartAnimation(t, d, 3);
    return PanelNext::Idle;
}

PanelNext TransferMoney(GameState& s, Frontend& frontend, const std::optional<std::string>& destinationEntry,
                        const std::string& amountField)
{
    const int c = s.CurrentCompany;
    const int t = s.SelectedTown;
    const int d = destinationEntry ? DestinationOfEntry(s, *destinationEntry) : -1;
    if (d < 0) {
        Refuse(frontend, {"Please select a town to transfer the money to.", "Bitte wählen Sie einen Zielort."});
        return PanelNext::Stay;
    }
    long double amount = std::floor(ReadAmountField(amountField, kAmountFieldSize));
    if (amount < 0.0L)
        amount = 0.0L;
    if (s.Account[c][t] < amount) {
        Refuse(frontend, NoMoneyInTown());
        return PanelNext::Stay;
    }
    frontend.PlaySoundEffect(2);
    s.Account[c][t] -= amount;
    s.Account[c][d] += amount * 0.95L;
    s.History.NoteSpending(c, t, SpendingKind::TransferFees, amount - amount * 0.95L);
    frontend.StartAnimation(t, d, 5);
    return PanelNext::Idle;
}
