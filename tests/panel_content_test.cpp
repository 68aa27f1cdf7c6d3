// The panel's content in every mode and both languages: texts and positions, list entries,
// field values, the OK button's caption and the visible controls.
#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstdio>

#include "commands/command.h"
#include "commands/command_panel.h"
#include "commands/logistics.h"
#include "commands/order_commands.h"
#include "commands/panel_content.h"
#include "game/text.h"
#include "command_world.h"
#include "german_numbers.h"

namespace {

using Texts = std::vector<std::string>;
using C = PanelControl;

PanelText L(int x, int y, const std::string& text) { return {x, y, text, TextAlign::Left}; }
PanelText R(int x, int y, const std::string& text) { return {x, y, text, TextAlign::Right}; }
const std::string k23(23, ' ');

// Alpha brews 1000 l in Fotzingfors with 300 l under construction; Beta has 250 l there but
// no brewery; one standing order in slot 1; a depot; 12345.60 dollars.
GameState PanelWorld(int language)
{
    GameState s = CommandWorld();
    s.Program.Language = LanguageFromNumber(language);
    s.Account[2][2] = 12345.6L;
    s.Wages[2] = 1.05f;
    s.Quality[2][1] = 1.2f;
    s.CostFactor[2][1] = 2.5f;
    s.Stock[2][1][2] = 250;
    s.Price[2][1][2] = static_cast<float>(3.0L * 1.2f);
    s.ConstructionPipeline[2][0][2] = {100, 0, 200};
    s.HasDepot[2][2] = true;
    s.ReduceCapacities = true;
    s.StandingOrder[2][1] = {0, 2, 3, 500};
    return s;
}

struct Expected {
    PanelMode mode;
    int language;
    std::vector<PanelText> texts;
    std::vector<PanelControl> visible;
    std::string caption = "OK";
};

const Texts kTransportDestinations{
    "Freetown, 20 Dollar/100l",     "Kha'Sar, 12 Dollar/100l",   "LaMiella, 19 Dollar/100l",
    "Melkerstiege, 31 Dollar/100l", "Seaside, 12 Dollar/100l",   "Tomsville, 10 Dollar/100l",
    "Truestone, 11 Dollar/100l",    "Twinhaven, 13 Dollar/100l", "Wolfsburg, 27 Dollar/100l"};
const Texts kOtherTowns{"Freetown",  "Kha'Sar",   "LaMiella",  "Melkerstiege", "Seaside",
                        "Tomsville", "Truestone", "Twinhaven", "Wolfsburg"};
const Texts kAllTowns{"Fotzingfors", "Freetown",  "Kha'Sar",   "LaMiella",  "Melkerstiege",
                      "Seaside",     "Tomsville", "Truestone", "Twinhaven", "Wolfsburg"};

}  // namespace

// Kept as written: one mode's texts to a row.
// clang-format off
TEST(PanelContent, TextsAndControlsOfEveryMode)
{
    const std::vector<PanelText> infoEnglish{
        L(15, 405, "Town: Fotzingfors"), L(150, 405, "Demand: 5000 Litre"), L(300, 405, "Wages: 1.05"),
        L(420, 405, "Account:   12346 $"), L(580, 405, "Depot existing"), L(280, 425, "Your Breweries:"),
        L(40, 445, "Brand"), L(150, 445, "Quality"), L(200, 445, "Cost Factor"), L(280, 445, "Capacity"),
        L(340, 445, "Under Construction"), L(450, 445, "Supply"), L(520, 445, "Price"),
        L(15, 465, "Alpha"), L(155, 465, "1.00"), L(220, 465, "2.00"), L(290, 465, "1000 l"), L(370, 465, "300 l"),
        L(450, 465, "1000 l"), L(520, 465, "3.00 $"),
        L(15, 480, "Beta"), L(155, 480, "1.20"), L(220, 480, "2.50"), L(290, 480, "0 l"), L(370, 480, "0 l"),
        L(450, 480, "250 l"), L(520, 480, "3.60 $")};
    const std::vector<PanelText> infoGerman{
        L(15, 405, "Stadt: Fotzingfors"), L(150, 405, "Bedarf: 5000 Liter"), L(300, 405, "Löhne: 1.05"),
        L(420, 405, "Kontostand:   12346 $"), L(580, 405, "Lagerhaus vorhanden"), L(280, 425, "Eigene Brauereien:"),
        L(40, 445, "Marke"), L(150, 445, "Qualität"), L(200, 445, "Kostenfaktor"), L(280, 445, "Kapazität"),
        L(350, 445, "In Bau"), L(450, 445, "Angebot"), L(520, 445, "Preis"),
        L(15, 465, "Alpha"), L(155, 465, "1.00"), L(220, 465, "2.00"), L(290, 465, "1000 l"), L(370, 465, "300 l"),
        L(450, 465, "1000 l"), L(520, 465, "3.00 $"),
        L(15, 480, "Beta"), L(155, 480, "1.20"), L(220, 480, "2.50"), L(290, 480, "0 l"), L(370, 480, "0 l"),
        L(450, 480, "250 l"), L(520, 480, "3.60 $")};
    const std::vector<PanelControl> okCancel{C::Button9, C::Button10};
    const std::vector<Expected> cases{
        {PanelMode::None, 1, {}, {}},
        {PanelMode::Idle, 1, {}, {C::Button1, C::Button2, C::Button3, C::Button4, C::Button5, C::Button6, C::Button7,
                            C::Button8, C::Button11}},
        {PanelMode::BuildBrewery, 1,
         {L(50, 440, "Build a"), L(325, 440, "brewery in Fotzingfors.   12346 $ available."),
          L(325, 460, "Costs: 18150 $.")},
         {C::Button9, C::Button10, C::ListBox1}},
        {PanelMode::BuildBrewery, 2,
         {L(40, 440, "Baue eine"), L(325, 440, "Brauerei in Fotzingfors.   12346 $ vorhanden."),
          L(325, 460, "Kosten: 18150 $.")},
         {C::Button9, C::Button10, C::ListBox1}},
        {PanelMode::NewBrand, 1, {L(50, 460, "Buy a new brand in Fotzingfors,   12346 $ available." + k23)}, okCancel},
        {PanelMode::NewBrand, 2, {L(50, 460, "Kaufe eine neue Marke in Fotzingfors,   12346 $ vorhanden.")}, okCancel},
        {PanelMode::BuildDepot, 1, {L(50, 460, "Build a depot in Fotzingfors. Costs: 5025 $,   12346 $ available." + k23)},
         okCancel},
        {PanelMode::BuildDepot, 2,
         {L(50, 460, "Baue ein Lagerhaus in Fotzingfors. Kosten: 5025 $,   12346 $ vorhanden." + k23)}, okCancel},
        {PanelMode::TownInformation, 1, infoEnglish, okCancel, "Sales"},
        {PanelMode::TownInformation, 2, infoGerman, okCancel, "Verkäufe"},
        {PanelMode::LastSales, 1, {L(50, 405, "Last month's sales:")}, {C::Button9, C::Button10, C::StringGrid1}},
        {PanelMode::LastSales, 2, {L(50, 405, "Verkaufszahlen des letzten Monats:")},
         {C::Button9, C::Button10, C::StringGrid1}},
        {PanelMode::ExtendBrewery, 1,
         {L(40, 440, "Extend the"), L(325, 440, "brewery in Fotzingfors" + std::string(14, ' ')),
          L(135, 492, "times for 100l. Costs:  1105 $ each, maximum of 11 times."),
          L(325, 460, "(enter negative value to reduce capacity)")},
         {C::Button9, C::Button10, C::ListBox1, C::Edit1}},
        {PanelMode::ExtendBrewery, 2,
         {L(30, 440, "Erweitere die"), L(325, 440, "Brauerei in Fotzingfors"),
          L(135, 492, "mal um 100l. Kosten: je  1105 $, maximal 11 mal."),
          L(325, 460, "(zum Verringern negativen Wert eingeben)")},
         {C::Button9, C::Button10, C::ListBox1, C::Edit1}},
        {PanelMode::ChangePrices, 1,
         {L(532, 440, "$"), L(532, 464, "$"), L(532, 488, "$"), L(15, 440, "Change prices in Fotzingfors:"),
          R(450, 440, "Alpha"), R(450, 464, "Beta")},
         {C::Button9, C::Button10, C::Edit2, C::Edit3, C::Edit4}},
        {PanelMode::ChangePrices, 2,
         {L(532, 440, "$"), L(532, 464, "$"), L(532, 488, "$"), L(15, 440, "Ändere Preise in Fotzingfors:"),
          R(450, 440, "Alpha"), R(450, 464, "Beta")},
         {C::Button9, C::Button10, C::Edit2, C::Edit3, C::Edit4}},
        {PanelMode::TransportBeer, 1,
         {L(100, 428, "Transport"), L(260, 428, "litre"), R(320, 470, "from Fotzingfors to")},
         {C::Button9, C::Button10, C::ListBox3, C::ListBox4, C::Edit5}},
        {PanelMode::TransportBeer, 2,
         {L(95, 428, "Transportiere"), L(260, 428, "Liter"), R(320, 470, "von Fotzingfors nach")},
         {C::Button9, C::Button10, C::ListBox3, C::ListBox4, C::Edit5}},
        {PanelMode::TransferMoney, 1,
         {L(100, 428, "Transfer"), L(260, 428, "$"), R(320, 470, "from Fotzingfors (  12346 Dollar available) to")},
         {C::Button9, C::Button10, C::ListBox4, C::Edit5}},
        {PanelMode::TransferMoney, 2,
         {L(100, 428, "Überweise"), L(260, 428, "$"), R(320, 470, "von Fotzingfors (  12346 Dollar vorhanden) nach")},
         {C::Button9, C::Button10, C::ListBox4, C::Edit5}},
        {PanelMode::MarketShares, 1, {}, {C::Button9, C::Button10, C::StringGrid2}},
        {PanelMode::NewOrder, 1, {L(30, 425, "New Order:"), L(25, 480, "from"), L(300, 480, "to")},
         {C::Button9, C::Button10, C::ListBox4, C::ListBox5, C::ListBox6, C::Edit5}},
        {PanelMode::NewOrder, 2, {L(30, 425, "Neuer Auftrag:"), L(25, 480, "von"), L(297, 480, "nach")},
         {C::Button9, C::Button10, C::ListBox4, C::ListBox5, C::ListBox6, C::Edit5}},
        {PanelMode::ListOrders, 1, {L(30, 420, "Current standing orders:")}, {C::Button9, C::Button10, C::ListBox2}},
        {PanelMode::ListOrders, 2, {L(30, 420, "Aktuelle Daueraufträge:")}, {C::Button9, C::Button10, C::ListBox2}},
        {PanelMode::DeleteOrder, 1, {L(30, 420, "Current standing orders:")}, {C::Button9, C::Button10, C::ListBox2},
         "Delete"},
        {PanelMode::DeleteOrder, 2, {L(30, 420, "Aktuelle Daueraufträge:")}, {C::Button9, C::Button10, C::ListBox2},
         "Löschen"},
        {PanelMode::Statistics, 2, {}, {C::Button9, C::Button10, C::PageControl1}},  // Next Turn hidden too
    };
    for (const Expected& e : cases) {
        const PanelContent content = ComputePanelContent(PanelWorld(e.language), e.mode);
        const std::string where = "mode " + std::to_string(static_cast<int>(e.mode)) + ", language " + std::to_string(e.language);
        EXPECT_EQ(content.Mode, e.mode);
        EXPECT_EQ(content.Texts, e.texts) << where;
        EXPECT_EQ(content.Visible, e.visible) << where;
        EXPECT_EQ(content.Button9Caption, e.caption) << where;
    }
}
// clang-format on

TEST(PanelContent, ListsAndFieldsOfEveryMode)
{
    for (const int language : {1, 2}) {
        const GameState s = PanelWorld(language);
        const bool german = language == 2;
        EXPECT_EQ(ComputePanelContent(s, PanelMode::BuildBrewery).ListBox1, Texts{"Beta"});
        const PanelContent extend = ComputePanelContent(s, PanelMode::ExtendBrewery);
        EXPECT_EQ(extend.ListBox1, Texts{"Alpha"});
        EXPECT_EQ(extend.Edit1, "1");
        const PanelContent prices = ComputePanelContent(s, PanelMode::ChangePrices);
        EXPECT_EQ(prices.Edit2, "3.00");
        EXPECT_EQ(prices.Edit3, "3.60");
        EXPECT_EQ(prices.Edit4, "") << "no third brand";
        const PanelContent transport = ComputePanelContent(s, PanelMode::TransportBeer);
        EXPECT_EQ(transport.ListBox3, (Texts{"1. Alpha, 1000 l", "2. Beta, 250 l"}));
        EXPECT_EQ(transport.ListBox4, kTransportDestinations);
        EXPECT_EQ(transport.Edit5, "");
        EXPECT_EQ(ComputePanelContent(s, PanelMode::TransferMoney).ListBox4, kOtherTowns);
        const PanelContent order = ComputePanelContent(s, PanelMode::NewOrder);
        EXPECT_EQ(order.ListBox6, german ? (Texts{"Dollar", "Liter Alpha", "Liter Beta"})
                                         : (Texts{"Dollar", "litre Alpha", "litre Beta"}));
        EXPECT_EQ(order.ListBox5, kAllTowns);
        EXPECT_EQ(order.ListBox4, kAllTowns);
        const std::string entry = german ? "2.: 500 Liter Alpha von Fotzingfors nach Seaside"
                                         : "2.: 500 litre Alpha from Fotzingfors to Seaside";
        EXPECT_EQ(ComputePanelContent(s, PanelMode::ListOrders).ListBox2, Texts{entry});
        EXPECT_EQ(ComputePanelContent(s, PanelMode::DeleteOrder).ListBox2, Texts{entry});
    }
}

TEST(PanelContent, EveryListRowCarriesWhatItStandsFor)
{
    // The window makes OK's command from the chosen rows' values: each value must name exactly
    // the entry beside it, also where a sorted list puts the rows out of their order.
    for (const int language : {1, 2}) {
        GameState s = PanelWorld(language);
        s.StandingOrder[2][6] = {kOrderMoney, 4, 1, 900};
        s.Stock[2][2][2] = 10;
        s.Quality[2][2] = 1.1f;
        const int c = s.CurrentCompany;
        const int t = s.SelectedTown;
        for (const PanelMode mode :
             {PanelMode::BuildBrewery, PanelMode::ExtendBrewery, PanelMode::TransportBeer, PanelMode::TransferMoney,
              PanelMode::NewOrder, PanelMode::ListOrders, PanelMode::DeleteOrder}) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << ", language " << language);
            const PanelContent p = ComputePanelContent(s, mode);
            const auto check = [&](const Texts& list, const std::vector<int>& values, auto textOf) {
                ASSERT_EQ(list.size(), values.size());
                for (size_t row = 0; row < list.size(); ++row)
                    EXPECT_EQ(textOf(values[row]), list[row]) << "row " << row;
            };
            check(p.ListBox1, p.ListBox1Values, [&](int brand) { return s.BrandName[c][brand]; });
            check(p.ListBox2, p.ListBox2Values, [&](int order) { return OrderListEntry(s, c, order - 1); });
            check(p.ListBox3, p.ListBox3Values, [&](int brand) { return BrandStockEntry(s, c, brand, t); });
            check(p.ListBox4, p.ListBox4Values, [&](int town) {
                return mode == PanelMode::TransportBeer ? TransportDestinationEntry(s, t, town) : s.TownName[town];
            });
            check(p.ListBox5, p.ListBox5Values, [&](int town) { return s.TownName[town]; });
            check(p.ListBox6, p.ListBox6Values, [&](int goods) {
                return goods == kMoneyGoods ? std::string(kOrderMoneyEntry) : OrderBeerEntry(s, c, goods);
            });
        }
        // The sorted town lists are out of the map's order, so the check above meant something.
        const PanelContent transfer = ComputePanelContent(s, PanelMode::TransferMoney);
        EXPECT_FALSE(std::is_sorted(transfer.ListBox4Values.begin(), transfer.ListBox4Values.end()));
        EXPECT_EQ(ComputePanelContent(s, PanelMode::DeleteOrder).ListBox2Values, (std::vector<int>{2, 7}));
    }
}

TEST(PanelContent, ExtensionHintOnlyWhereCapacitiesMayShrink)
{
    GameState s = PanelWorld(1);
    s.ReduceCapacities = false;
    EXPECT_EQ(ComputePanelContent(s, PanelMode::ExtendBrewery).Texts.size(), 3u);
}

TEST(PanelContent, TownInformationKeepsEachBrandOnItsRow)
{
    GameState s = PanelWorld(1);
    s.Quality[2][0] = 0.0f;
    s.Quality[2][1] = 0.0f;
    s.Quality[2][2] = 0.8f;
    s.HasDepot[2][2] = false;
    const PanelContent content = ComputePanelContent(s, PanelMode::TownInformation);
    std::vector<PanelText> rows(content.Texts.begin() + 13, content.Texts.end());
    ASSERT_EQ(rows.size(), 7u);
    for (const PanelText& text : rows)
        EXPECT_EQ(text.Y, 495);
    EXPECT_EQ(rows[0].Text, "Gamma");
    EXPECT_EQ(content.Texts[4], L(580, 405, "No depot existing"));
    s.Program.Language = Language::German;
    EXPECT_EQ(ComputePanelContent(s, PanelMode::TownInformation).Texts[4], L(580, 405, "Kein Lagerhaus vorhanden"));
}

TEST(PanelContent, LastMonthsSalesByCompanyAndBrand)
{
    GameState s = PanelWorld(1);
    s.Supply[7][2][2] = 400;
    s.Sales[7][2][2] = 123;
    s.Quality[7][2] = 1.1f;
    s.Price[7][2][2] = 3.25f;
    s.Supply[0][0][2] = 800;
    s.Sales[0][0][2] = 700;
    s.Quality[0][0] = 0.9f;
    s.Price[0][0][2] = 2.7f;
    s.Supply[2][1][2] = 250;
    s.Sales[2][1][2] = 250;
    s.Supply[5][0][3] = 999;  // another town
    const PanelContent content = ComputePanelContent(s, PanelMode::LastSales);
    ASSERT_EQ(content.SalesGrid.size(), 31u);
    EXPECT_EQ(content.SalesGrid[0], (SalesGridRow{"", "Quality", "Price", "Supply", "Sales"}));
    EXPECT_EQ(content.SalesGrid[1], (SalesGridRow{"Company0's Brand00", "0.90", "2.70", "   800", "   700"}));
    EXPECT_EQ(content.SalesGrid[2], (SalesGridRow{"Company2's Beta", "1.20", "3.60", "   250", "   250"}));
    EXPECT_EQ(content.SalesGrid[3], (SalesGridRow{"Company7's Brand72", "1.10", "3.25", "   400", "   123"}));
    for (int row = 4; row < 31; ++row)
        EXPECT_EQ(content.SalesGrid[row], SalesGridRow{}) << row;

    s.Program.Language = Language::German;
    s.SelectedTown = 9;  // nobody offered beer there
    const PanelContent empty = ComputePanelContent(s, PanelMode::LastSales);
    EXPECT_EQ(empty.SalesGrid[0], (SalesGridRow{"", "Qualität", "Preis", "Angebot", "Verkauf"}));
    for (int row = 1; row < 31; ++row)
        EXPECT_EQ(empty.SalesGrid[row], SalesGridRow{}) << row;
}

TEST(PanelContent, SortedListsIgnoreCase)
{
    Texts entries{"beta", "Gamma", "alpha", "Alpha", "Beta"};
    SortListEntries(entries);
    EXPECT_EQ(entries, (Texts{"Alpha", "alpha", "Beta", "beta", "Gamma"}));
    // Brand entries begin with their number, so they sort by slot whatever their names.
    GameState s = PanelWorld(1);
    s.BrandName[2] = {"Zwickel", "Alt", "Mild"};
    s.Quality[2][2] = 0.9f;
    s.Stock[2][2][2] = 5;
    EXPECT_EQ(ComputePanelContent(s, PanelMode::TransportBeer).ListBox3,
              (Texts{"1. Zwickel, 1000 l", "2. Alt, 250 l", "3. Mild, 5 l"}));
}

TEST(PanelContent, NothingWithoutAGame)
{
    GameState s = PanelWorld(1);
    s.GameActive = false;
    const PanelContent content = ComputePanelContent(s, PanelMode::TransportBeer);
    EXPECT_TRUE(content.Texts.empty());
    EXPECT_TRUE(content.ListBox4.empty());
}

// A toolkit sets LC_NUMERIC from the user's environment; the panel still shows "1.05".
TEST(PanelContent, NumbersKeepTheirPointUnderAGermanLocale)
{
    const GermanNumbers german;
    if (!german.Active())
        GTEST_SKIP() << "no German locale on this machine (de_DE.UTF-8)";
    char decimal[16];
    std::snprintf(decimal, sizeof decimal, "%.2f", 1.05);
    const std::string inGerman = decimal;
    const PanelContent content = ComputePanelContent(PanelWorld(2), PanelMode::TownInformation);
    const std::string format = Format("%1.2f", 1.05);
    EXPECT_EQ(inGerman, "1,05") << "the German locale is in force";
    EXPECT_EQ(format, "1.05");
    bool found = false;
    for (const PanelText& text : content.Texts)
        found = found || text.Text == "Löhne: 1.05";
    EXPECT_TRUE(found) << "the wages line of the town information";
}
