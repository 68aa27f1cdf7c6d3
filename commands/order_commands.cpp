/// @file order_commands.cpp Creating and deleting standing orders.
#include "commands/order_commands.h"

#include <cmath>

#include "commands/amount_field.h"
#include "commands/command_common.h"
#include "game/text.h"

namespace {

// The largest amount the order's 32-bit field holds.
constexpr long double kLargestAmount = 2147483647.0L;

std::string BeerEntryIn(const GameState& s, int c, int b, Language language)
{
    return Format(language == Language::German ? "Liter %s" : "litre %s", s.BrandName[c][b].c_str());
}

// The town whose whole name is the entry; -1 for none.
int TownOfEntry(const GameState& s, const std::optional<std::string>& entry)
{
    if (!entry)
        return -1;
    for (int i = 0; i < kTowns; ++i)
        if (s.TownName[i] == *entry)
            return i;
    return -1;
}

// What a what-list entry moves: a brand slot, money, or -1 for nothing known.
int KindOfEntry(const GameState& s, const std::optional<std::string>& entry)
{
    if (!entry)
        return -1;
    if (*entry == kOrderMoneyEntry)
        return kOrderMoney;
    // Either language's wording, so a list filled before a language switch still works.
    for (int b = 0; b < kBrands; ++b)
        if (BrandExists(s, s.CurrentCompany, b) && (*entry == BeerEntryIn(s, s.CurrentCompany, b, Language::English) ||
                                                    *entry == BeerEntryIn(s, s.CurrentCompany, b, Language::German)))
            return b;
    return -1;
}

const char* NameOr(const PerTown<std::string>& names, int town)
{
    return town >= 0 && town < kTowns ? names[town].c_str() : "";
}

}  // namespace

std::string OrderBeerEntry(const GameState& s, int c, int b) { return BeerEntryIn(s, c, b, s.Program.Language); }

std::string OrderListEntry(const GameState& s, int c, int slot)
{
    const StandingOrderSlot& o = s.StandingOrder[c][slot];
    const bool german = s.Program.Language == Language::German;
    const char* from = NameOr(s.TownName, o.FromTown);
    const char* to = NameOr(s.TownName, o.ToTown);
    if (o.Kind == kOrderMoney)
        return Format(german ? "%d.: %d Dollar von %s nach %s" : "%d.: %d Dollar from %s to %s", slot + 1, o.Amount,
                      from, to);
    const char* brand = o.Kind >= 0 && o.Kind < kBrands ? s.BrandName[c][o.Kind].c_str() : "";
    return Format(german ? "%d.: %d Liter %s von %s nach %s" : "%d.: %d litre %s from %s to %s", slot + 1, o.Amount,
                  brand, from, to);
}

int FreeOrderSlot(const GameState& s, int c)
{
    for (int slot = 0; slot < kOrderSlots; ++slot)
        if (s.StandingOrder[c][slot].Kind == kOrderEmpty)
            return slot;
    return -1;
}

int OrderSlotOfEntry(const std::string& entry)
{
    if (entry.empty() || entry[0] < '1' || entry[0] > '9')
        return -1;
    if (entry[0] == '1')
        return entry.size() > 1 && entry[1] == '0' ? 9 : 0;
    return entry[0] - '1';
}

PanelNext NewStandingOrder(GameState& s, Frontend& frontend, const std::optional<std::string>& whatEntry,
                           const std::optional<std::string>& fromEntry, const std::optional<std::string>& toEntry,
                           const std::string& amountField)
{
    const int c = s.CurrentCompany;
    const int kind = KindOfEntry(s, whatEntry);
    if (kind < 0) {
        Refuse(frontend, {"Please select what you want to transfer/transport.",
                          "Bitte wählen Sie, was Sie transportieren möchten."});
        return PanelNext::Stay;
    }
    const int from = TownOfEntry(s, fromEntry);
    if (from < 0) {
        Refuse(frontend, {"Please select a town to transfer/transport from.", "Bitte wählen Sie einen Startort."});
        return PanelNext::Stay;
    }
    const int to = TownOfEntry(s, toEntry);
    if (to < 0) {
        Refuse(frontend, {"Please select a town to transfer/transport to.", "Bitte wählen Sie einen Zielort."});
        return PanelNext::Stay;
    }
    // A fraction takes part in the test; an amount beyond the order's field is refused too.
    const long double amount = ReadAmountField(amountField, kOrderFieldSize);
    if (amount <= 0.0L || amount >= kLargestAmount + 1.0L || to == from) {
        Refuse(frontend, {"Invalid amount!", "Ungültige Eingabe!"});
        return PanelNext::Stay;
    }
    const int slot = FreeOrderSlot(s, c);
    if (slot < 0) {
        Refuse(frontend, NoFreeOrderSlot());
        return PanelNext::Stay;
    }
    StandingOrderSlot& order = s.StandingOrder[c][slot];
    order.Kind = kind;
    order.FromTown = from;
    order.ToTown = to;
    order.Amount = static_cast<int32_t>(std::trunc(amount));
    return PanelNext::Idle;
}

PanelNext DeleteStandingOrder(GameState& s, Frontend& frontend, const std::optional<std::string>& orderEntry)
{
    if (!orderEntry) {
        Refuse(frontend,
               {"Please select an order to delete.", "Bitte wählen Sie, welchen Auftrag Sie löschen möchten."});
        return PanelNext::Stay;
    }
    const int slot = OrderSlotOfEntry(*orderEntry);
    if (slot < 0)
        return PanelNext::Idle;
    if (frontend.AskYesNo({"Are you shure you want to delete this order?",
                           "Sind Sie sicher, daß Sie diesen Auftrag löschen möchten?"},
                          {"Confirm delete", ""}))
        s.StandingOrder[s.CurrentCompany][slot].Kind = kOrderEmpty;
    return PanelNext::Idle;
}
