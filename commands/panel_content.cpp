/// @file panel_content.cpp What the command panel shows in each mode.
#include "commands/panel_content.h"

#include <algorithm>
#include <utility>

#include "commands/command.h"
#include "commands/command_panel.h"
#include "commands/construction.h"
#include "commands/logistics.h"
#include "commands/order_commands.h"
#include "game/text.h"
#include "platform/ascii.h"

namespace {

using C = PanelControl;

// The controls a mode shows besides OK and Cancel.
std::vector<PanelControl> ModeControls(PanelMode mode)
{
    switch (mode) {
    case PanelMode::BuildBrewery:
        return {C::ListBox1};
    case PanelMode::LastSales:
        return {C::StringGrid1};
    case PanelMode::ExtendBrewery:
        return {C::ListBox1, C::Edit1};
    case PanelMode::ChangePrices:
        return {C::Edit2, C::Edit3, C::Edit4};
    case PanelMode::TransportBeer:
        return {C::ListBox3, C::ListBox4, C::Edit5};
    case PanelMode::TransferMoney:
        return {C::ListBox4, C::Edit5};
    case PanelMode::MarketShares:
        return {C::StringGrid2};
    case PanelMode::NewOrder:
        return {C::ListBox4, C::ListBox5, C::ListBox6, C::Edit5};
    case PanelMode::ListOrders:
    case PanelMode::DeleteOrder:
        return {C::ListBox2};
    case PanelMode::Statistics:
        return {C::PageControl1};
    default:
        return {};
    }
}

std::vector<PanelControl> VisibleControls(PanelMode mode)
{
    if (mode == PanelMode::None)
        return {};
    if (mode == PanelMode::Idle)
        return {C::Button1, C::Button2, C::Button3, C::Button4, C::Button5,
                C::Button6, C::Button7, C::Button8, C::Button11};
    std::vector<PanelControl> visible{C::Button9, C::Button10};
    const auto extras = ModeControls(mode);
    visible.insert(visible.end(), extras.begin(), extras.end());
    std::sort(visible.begin(), visible.end());
    return visible;
}

class Builder {
public:
    Builder(const GameState& s, PanelContent& content)
        : s_(s),
          content_(content),
          c_(s.CurrentCompany),
          t_(s.SelectedTown),
          german_(s.Program.Language == Language::German)
    {
    }

    void Build()
    {
        switch (content_.Mode) {
        case PanelMode::BuildBrewery:
            BuildBrewery();
            break;
        case PanelMode::NewBrand:
            NewBrand();
            break;
        case PanelMode::BuildDepot:
            BuildDepot();
            break;
        case PanelMode::TownInformation:
            TownInformation();
            break;
        case PanelMode::LastSales:
            LastSales();
            break;
        case PanelMode::ExtendBrewery:
            ExtendBrewery();
            break;
        case PanelMode::ChangePrices:
            ChangePrices();
            break;
        case PanelMode::TransportBeer:
            TransportBeer();
            break;
        case PanelMode::TransferMoney:
            TransferMoney();
            break;
        case PanelMode::NewOrder:
            NewOrder();
            break;
        case PanelMode::ListOrders:
        case PanelMode::DeleteOrder:
            ListOrders();
            break;
        case PanelMode::MarketShares: {
            const MarketShareGrid grid = ComputeMarketShareGrid(s_);
            content_.MarketShares.assign(grid.begin(), grid.end());
            break;
        }
        default:
            break;
        }
    }

private:
    const char* Pick(const char* english, const char* german) const { return german_ ? german : english; }
    void Text(int x, int y, std::string text, TextAlign align = TextAlign::Left)
    {
        content_.Texts.push_back({x, y, std::move(text), align});
    }
    const char* Town() const { return s_.TownName[t_].c_str(); }
    long double Money() const { return s_.Account[c_][t_]; }

    void BuildBrewery()
    {
        const double cost = static_cast<double>(BreweryCost(s_, t_));
        if (german_) {
            Text(40, 440, "Baue eine");
            Text(325, 440, Format("Brauerei in %s. %7.0Lf $ vorhanden.", Town(), Money()));
            Text(325, 460, Format("Kosten: %5.0f $.", cost));
        } else {
            Text(50, 440, "Build a");
            Text(325, 440, Format("brewery in %s. %7.0Lf $ available.", Town(), Money()));
            Text(325, 460, Format("Costs: %5.0f $.", cost));
        }
        for (int b = 0; b < kBrands; ++b)
            if (CanBuildBrewery(s_, c_, b, t_))
                Add(content_.ListBox1, content_.ListBox1Values, s_.BrandName[c_][b], b);
    }

    void NewBrand()
    {
        Text(50, 460,
             german_ ? Format("Kaufe eine neue Marke in %s, %7.0Lf $ vorhanden.", Town(), Money())
                     : Format("Buy a new brand in %s, %7.0Lf $ available.%23s", Town(), Money(), ""));
    }

    void BuildDepot()
    {
        const double cost = static_cast<double>(DepotCost(s_, t_));
        Text(50, 460,
             Format(Pick("Build a depot in %s. Costs: %4.0f $, %7.0Lf $ available.%23s",
                         "Baue ein Lagerhaus in %s. Kosten: %4.0f $, %7.0Lf $ vorhanden.%23s"),
                    Town(), cost, Money(), ""));
    }

    void TownInformation()
    {
        Text(15, 405, Format(Pick("Town: %s", "Stadt: %s"), Town()));
        Text(150, 405, Format(Pick("Demand: %d Litre", "Bedarf: %d Liter"), s_.Demand[t_]));
        Text(300, 405, Format(Pick("Wages: %1.2f", "Löhne: %1.2f"), static_cast<double>(s_.Wages[t_])));
        Text(420, 405, Format(Pick("Account: %7.0Lf $", "Kontostand: %7.0Lf $"), Money()));
        Text(580, 405,
             s_.HasDepot[c_][t_] ? Pick("Depot existing", "Lagerhaus vorhanden")
                                 : Pick("No depot existing", "Kein Lagerhaus vorhanden"));
        Text(280, 425, Pick("Your Breweries:", "Eigene Brauereien:"));
        Text(40, 445, Pick("Brand", "Marke"));
        Text(150, 445, Pick("Quality", "Qualität"));
        Text(200, 445, Pick("Cost Factor", "Kostenfaktor"));
        Text(280, 445, Pick("Capacity", "Kapazität"));
        if (german_)
            Text(350, 445, "In Bau");
        else
            Text(340, 445, "Under Construction");
        Text(450, 445, Pick("Supply", "Angebot"));
        Text(520, 445, Pick("Price", "Preis"));
        // Each slot keeps its own row; an empty slot leaves its row blank.
        static constexpr int kRowY[kBrands] = {465, 480, 495};
        for (int b = 0; b < kBrands; ++b) {
            if (!BrandExists(s_, c_, b))
                continue;
            const auto& stages = s_.ConstructionPipeline[c_][b][t_];
            const int64_t building = int64_t{stages[0]} + stages[1] + stages[2];
            const int y = kRowY[b];
            Text(15, y, s_.BrandName[c_][b]);
            Text(155, y, Format("%1.2f", static_cast<double>(s_.Quality[c_][b])));
            Text(220, y, Format("%1.2f", static_cast<double>(s_.CostFactor[c_][b])));
            Text(290, y, Format("%d l", s_.Capacity[c_][b][t_]));
            Text(370, y, Format("%lld l", static_cast<long long>(building)));
            Text(450, y, Format("%d l", s_.Stock[c_][b][t_]));
            Text(520, y, Format("%1.2f $", static_cast<double>(s_.Price[c_][b][t_])));
        }
    }

    void LastSales()
    {
        Text(50, 405, Pick("Last month's sales:", "Verkaufszahlen des letzten Monats:"));
        auto& grid = content_.SalesGrid;
        grid.assign(kSalesGridRows, SalesGridRow{});
        grid[0] = {"", Pick("Quality", "Qualität"), Pick("Price", "Preis"), Pick("Supply", "Angebot"),
                   Pick("Sales", "Verkauf")};
        // By company and brand slot, every brand offered in the town, the player's own included.
        int row = 1;
        for (int k = 0; k < kCompanies; ++k)
            for (int b = 0; b < kBrands; ++b) {
                if (s_.Supply[k][b][t_] <= 0 || row >= kSalesGridRows)
                    continue;
                grid[row++] = {Format("%s's %s", s_.CompanyName[k].c_str(), s_.BrandName[k][b].c_str()),
                               Format("%1.2f", static_cast<double>(s_.Quality[k][b])),
                               Format("%1.2f", static_cast<double>(s_.Price[k][b][t_])),
                               Format("%6d", s_.Supply[k][b][t_]), Format("%6d", s_.Sales[k][b][t_])};
            }
    }

    void ExtendBrewery()
    {
        const double step = static_cast<double>(ExtensionStepCost(s_, t_));
        const int32_t most = MaximumExtension(s_, c_, t_);
        if (german_) {
            Text(30, 440, "Erweitere die");
            Text(325, 440, Format("Brauerei in %s", Town()));
            Text(135, 492, Format("mal um 100l. Kosten: je %5.0f $, maximal %d mal.", step, most));
            if (s_.ReduceCapacities)
                Text(325, 460, "(zum Verringern negativen Wert eingeben)");
        } else {
            Text(40, 440, "Extend the");
            Text(325, 440, Format("brewery in %s%14s", Town(), ""));
            Text(135, 492, Format("times for 100l. Costs: %5.0f $ each, maximum of %d times.", step, most));
            if (s_.ReduceCapacities)
                Text(325, 460, "(enter negative value to reduce capacity)");
        }
        content_.Edit1 = std::string(1, '1');  // one step; GCC 12 misreads a plain "1" here (-Wrestrict)
        content_.FilledEdits = {PanelControl::Edit1};
        for (int b = 0; b < kBrands; ++b)
            if (CanExtendBrewery(s_, c_, b, t_))
                Add(content_.ListBox1, content_.ListBox1Values, s_.BrandName[c_][b], b);
    }

    void ChangePrices()
    {
        Text(532, 440, "$");
        Text(532, 464, "$");
        Text(532, 488, "$");
        Text(15, 440, Format(Pick("Change prices in %s:", "Ändere Preise in %s:"), Town()));
        std::string* fields[kBrands] = {&content_.Edit2, &content_.Edit3, &content_.Edit4};
        // A row without a brand empties its field.
        content_.FilledEdits = {PanelControl::Edit2, PanelControl::Edit3, PanelControl::Edit4};
        static constexpr int kRowY[kBrands] = {440, 464, 488};
        for (int b = 0; b < kBrands; ++b) {
            // Brand 0 always has its row; the others only when the slot is in use.
            if (b > 0 && !BrandExists(s_, c_, b))
                continue;
            Text(450, kRowY[b], s_.BrandName[c_][b], TextAlign::Right);
            *fields[b] = Format("%1.2f", static_cast<double>(s_.Price[c_][b][t_]));
        }
    }

    void TransportBeer()
    {
        content_.FilledEdits = {PanelControl::Edit5};
        if (german_) {
            Text(95, 428, "Transportiere");
            Text(260, 428, "Liter");
            Text(320, 470, Format("von %s nach", Town()), TextAlign::Right);
        } else {
            Text(100, 428, "Transport");
            Text(260, 428, "litre");
            Text(320, 470, Format("from %s to", Town()), TextAlign::Right);
        }
        for (int b = 0; b < kBrands; ++b)
            if (s_.Stock[c_][b][t_] > 0 && BrandExists(s_, c_, b))
                Add(content_.ListBox3, content_.ListBox3Values, BrandStockEntry(s_, c_, b, t_), b);
        for (int i = 0; i < kTowns; ++i)
            if (i != t_)
                Add(content_.ListBox4, content_.ListBox4Values, TransportDestinationEntry(s_, t_, i), i);
        SortListEntries(content_.ListBox3, content_.ListBox3Values);
        SortListEntries(content_.ListBox4, content_.ListBox4Values);
    }

    void TransferMoney()
    {
        content_.FilledEdits = {PanelControl::Edit5};
        Text(100, 428, Pick("Transfer", "Überweise"));
        Text(260, 428, "$");
        Text(320, 470,
             Format(Pick("from %s (%7.0Lf Dollar available) to", "von %s (%7.0Lf Dollar vorhanden) nach"), Town(),
                    Money()),
             TextAlign::Right);
        for (int i = 0; i < kTowns; ++i)
            if (i != t_)
                Add(content_.ListBox4, content_.ListBox4Values, s_.TownName[i], i);
        SortListEntries(content_.ListBox4, content_.ListBox4Values);
    }

    void NewOrder()
    {
        // With all ten slots in use the panel stays empty (the player is told on entering).
        if (FreeOrderSlot(s_, c_) < 0)
            return;
        content_.FilledEdits = {PanelControl::Edit5};
        Add(content_.ListBox6, content_.ListBox6Values, kOrderMoneyEntry, kMoneyGoods);
        if (german_) {
            Text(30, 425, "Neuer Auftrag:");
            Text(25, 480, "von");
            Text(297, 480, "nach");
        } else {
            Text(30, 425, "New Order:");
            Text(25, 480, "from");
            Text(300, 480, "to");
        }
        for (int b = 0; b < kBrands; ++b)
            if (BrandExists(s_, c_, b))
                Add(content_.ListBox6, content_.ListBox6Values, OrderBeerEntry(s_, c_, b), b);
        for (int i = 0; i < kTowns; ++i) {
            Add(content_.ListBox5, content_.ListBox5Values, s_.TownName[i], i);
            Add(content_.ListBox4, content_.ListBox4Values, s_.TownName[i], i);
        }
        SortListEntries(content_.ListBox5, content_.ListBox5Values);
        SortListEntries(content_.ListBox4, content_.ListBox4Values);
    }

    void ListOrders()
    {
        for (int slot = 0; slot < kOrderSlots; ++slot)
            if (s_.StandingOrder[c_][slot].Kind != kOrderEmpty)
                Add(content_.ListBox2, content_.ListBox2Values, OrderListEntry(s_, c_, slot), slot + 1);
        Text(30, 420, Pick("Current standing orders:", "Aktuelle Daueraufträge:"));
    }

    // A list's row: its text and what it stands for.
    static void Add(std::vector<std::string>& list, std::vector<int>& values, std::string entry, int value)
    {
        list.push_back(std::move(entry));
        values.push_back(value);
    }

    const GameState& s_;
    PanelContent& content_;
    const int c_;
    const int t_;
    const bool german_;
};

}  // namespace

bool PanelContent::Shows(PanelControl control) const
{
    return std::find(Visible.begin(), Visible.end(), control) != Visible.end();
}

namespace {

// Alphabetically, ignoring case; texts equal but for case in byte order.
bool ListEntryLess(const std::string& a, const std::string& b)
{
    const bool less = std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(FoldAscii(x)) < static_cast<unsigned char>(FoldAscii(y));
    });
    const bool greater = std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), [](char x, char y) {
        return static_cast<unsigned char>(FoldAscii(x)) < static_cast<unsigned char>(FoldAscii(y));
    });
    return less || (!greater && a < b);
}

}  // namespace

void SortListEntries(std::vector<std::string>& entries)
{
    std::stable_sort(entries.begin(), entries.end(), ListEntryLess);
}

void SortListEntries(std::vector<std::string>& entries, std::vector<int>& values)
{
    std::vector<size_t> order(entries.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return ListEntryLess(entries[a], entries[b]); });
    std::vector<std::string> sortedEntries;
    std::vector<int> sortedValues;
    for (const size_t i : order) {
        sortedEntries.push_back(std::move(entries[i]));
        sortedValues.push_back(values.at(i));
    }
    entries = std::move(sortedEntries);
    values = std::move(sortedValues);
}

PanelContent ComputePanelContent(const GameState& s, PanelMode mode)
{
    PanelContent content;
    content.Mode = mode;
    content.Visible = VisibleControls(mode);
    content.PreselectSingleEntry = s.Program.Comforts;
    static const LocalText kSales{"Sales", "Verkäufe"};
    static const LocalText kDelete{"Delete", "Löschen"};
    if (mode == PanelMode::TownInformation)
        content.Button9Caption = kSales.In(s.Program.Language);
    else if (mode == PanelMode::DeleteOrder)
        content.Button9Caption = kDelete.In(s.Program.Language);
    if (s.GameActive && s.CurrentCompany >= 0 && s.CurrentCompany < kCompanies && s.SelectedTown >= 0 &&
        s.SelectedTown < kTowns)
        Builder(s, content).Build();
    return content;
}
