/// @file standing_orders.cpp Standing order execution: the moving company's monthly transports
/// and transfers, each carried out whole or reported and skipped.
#include "engine/standing_orders.h"

#include <cstdint>
#include <limits>

#include "game/map_tables.h"
#include "game/text.h"

namespace {

LocalText FailureText(int slot)
{
    const int number = slot + 1;  // the number the order list shows
    return {Format("Cannot execute order %d!", number), Format("Ausführung von Auftrag Nr.%d nicht möglich!", number)};
}

const LocalText kLackOfBeer{"Not enough beer!", "Zu wenig Bier!"};
const LocalText kLackOfMoney{"Not enough money!", "Zu wenig Geld!"};

void Report(Frontend& frontend, int slot, bool lackOfBeer)
{
    frontend.ShowMessage(FailureText(slot), lackOfBeer ? kLackOfBeer : kLackOfMoney, MessageIcon::Warning);
}

// Orders made by the player always hold a kind, two towns and an amount of at least 0; a
// damaged savegame may hold anything else, which is skipped like an empty slot.
bool Valid(const StandingOrderSlot& order)
{
    return order.Kind >= 0 && order.Kind <= kOrderMoney && order.FromTown >= 0 && order.FromTown < kTowns &&
           order.ToTown >= 0 && order.ToTown < kTowns && order.Amount >= 0;
}

}  // namespace

std::optional<FailedOrder> FailedOrderOf(const LocalText& text, const LocalText& caption)
{
    if (caption != kLackOfBeer && caption != kLackOfMoney)
        return std::nullopt;
    for (int slot = 0; slot < kOrderSlots; ++slot)
        if (text == FailureText(slot))
            return FailedOrder{slot, caption == kLackOfBeer};
    return std::nullopt;
}

void ExecuteStandingOrders(GameState& s, Frontend& frontend)
{
    const int cur = s.CurrentCompany;
    if (cur < 0 || cur >= kCompanies)
        return;
    auto& account = s.Account[cur];
    for (int k = 0; k < kOrderSlots; ++k) {
        const StandingOrderSlot order = s.StandingOrder[cur][k];
        if (order.Kind == kOrderEmpty || !Valid(order))
            continue;
        const int from = order.FromTown;
        const int to = order.ToTown;
        const int32_t a = order.Amount;
        if (order.Kind == kOrderMoney) {
            if (account[from] >= a) {
                account[from] -= a;
                account[to] += a * 0.95L;  // 5 % of every transfer is lost
                s.History.NoteSpending(cur, from, SpendingKind::TransferFees, a - a * 0.95L);
            } else {
                Report(frontend, k, false);
            }
            continue;
        }
        const int b = order.Kind;
        // Whole dollars for the litres, cut toward zero; wide enough for any amount.
        const int64_t cost = static_cast<int64_t>(TransportCost(s, from, to)) * a / 100;
        int32_t& source = s.Stock[cur][b][from];
        if (source >= a && account[from] >= cost) {
            source -= a;
            int32_t& destination = s.Stock[cur][b][to];
            destination = AddLitres(destination, a);
            account[from] -= cost;
            s.History.NoteSpending(cur, from, SpendingKind::Transport, static_cast<long double>(cost));
        } else {
            Report(frontend, k, source < a);
        }
    }
}
