// Standing orders: creating them in the lowest free slot, numbering, refusals, deleting.
#include <gtest/gtest.h>

#include "commands/command_panel.h"
#include "commands/order_commands.h"
#include "commands/panel_content.h"
#include "command_world.h"
#include "recording_frontend.h"

namespace {

using Texts = std::vector<std::string>;

StandingOrderSlot Order(int32_t kind, int32_t from, int32_t to, int32_t amount) { return {kind, from, to, amount}; }

}  // namespace

TEST(NewStandingOrder, TakesTheLowestFreeSlot)
{
    GameState s = CommandWorld();
    s.StandingOrder[2][0] = Order(3, 1, 2, 100);
    s.StandingOrder[2][2] = Order(0, 2, 3, 500);
    EXPECT_EQ(
        ComputePanelContent(s, PanelMode::ListOrders).ListBox2,
        (Texts{"1.: 100 Dollar from Tomsville to Fotzingfors", "3.: 500 litre Alpha from Fotzingfors to Seaside"}));

    RecordingFrontend f;
    EXPECT_EQ(NewStandingOrder(s, f, "litre Alpha", "Truestone", "Freetown", "250.9"), PanelNext::Idle);
    EXPECT_EQ(s.StandingOrder[2][1], Order(0, 0, 6, 250)) << "the source may be any town";
    EXPECT_EQ(NewStandingOrder(s, f, "Dollar", "Seaside", "Kha'Sar", "0.5"), PanelNext::Idle);
    EXPECT_EQ(s.StandingOrder[2][3], Order(3, 3, 9, 0)) << "0.5 passes the test and is stored as 0";
    EXPECT_EQ(NewStandingOrder(s, f, "litre Alpha", "Seaside", "Kha'Sar", "2147483647"), PanelNext::Idle);
    EXPECT_EQ(s.StandingOrder[2][4].Amount, 2147483647);
    EXPECT_TRUE(f.Messages.empty());
    EXPECT_TRUE(f.Sounds.empty()) << "no sound, nothing moves now";
    EXPECT_EQ(s.Account, CommandWorld().Account);

    // Deleted orders leave gaps; the numbers do not close up.
    s.StandingOrder[2][1].Kind = kOrderEmpty;
    EXPECT_EQ(ComputePanelContent(s, PanelMode::DeleteOrder).ListBox2,
              (Texts{"1.: 100 Dollar from Tomsville to Fotzingfors", "3.: 500 litre Alpha from Fotzingfors to Seaside",
                     "4.: 0 Dollar from Seaside to Kha'Sar", "5.: 2147483647 litre Alpha from Seaside to Kha'Sar"}));
}

TEST(NewStandingOrder, GermanEntriesNameTheBrandTheSameWay)
{
    GameState s = CommandWorld();
    s.Program.Language = Language::German;
    s.Quality[2][1] = 1.1f;
    RecordingFrontend f;
    EXPECT_EQ(NewStandingOrder(s, f, "Liter Beta", "Seaside", "Truestone", "70"), PanelNext::Idle);
    EXPECT_EQ(s.StandingOrder[2][0], Order(1, 3, 0, 70));
    EXPECT_EQ(ComputePanelContent(s, PanelMode::ListOrders).ListBox2,
              Texts{"1.: 70 Liter Beta von Seaside nach Truestone"});
}

TEST(NewStandingOrder, RefusalsKeepThePanelAndChangeNothing)
{
    struct Case {
        std::optional<std::string> what;
        std::optional<std::string> from;
        std::optional<std::string> to;
        const char* amount;
        LocalText message;
    };
    const LocalText invalid{"Invalid amount!", "Ungültige Eingabe!"};
    const LocalText selectWhat{"Please select what you want to transfer/transport.",
                               "Bitte wählen Sie, was Sie transportieren möchten."};
    const Case cases[] = {
        {std::nullopt, std::nullopt, std::nullopt, "", selectWhat},
        {"litre Beta", "Seaside", "Truestone", "10", selectWhat},  // Beta is not brewed
        {"Dollar",
         std::nullopt,
         "Truestone",
         "10",
         {"Please select a town to transfer/transport from.", "Bitte wählen Sie einen Startort."}},
        {"Dollar",
         "Seaside",
         std::nullopt,
         "10",
         {"Please select a town to transfer/transport to.", "Bitte wählen Sie einen Zielort."}},
        {"Dollar", "Seaside", "Truestone", "0", invalid},
        {"Dollar", "Seaside", "Truestone", "-5", invalid},
        {"Dollar", "Seaside", "Truestone", "x", invalid},
        {"Dollar", "Seaside", "Truestone", "", invalid},
        {"Dollar", "Seaside", "Seaside", "10", invalid},
        {"litre Alpha", "Seaside", "Truestone", "2147483648", invalid},  // beyond the order's field
        {"litre Alpha", "Seaside", "Truestone", "1e30", invalid},
    };
    for (const Case& c : cases) {
        GameState s = CommandWorld();
        RecordingFrontend f;
        EXPECT_EQ(NewStandingOrder(s, f, c.what, c.from, c.to, c.amount), PanelNext::Stay) << c.amount;
        ASSERT_EQ(f.Messages.size(), 1u);
        EXPECT_EQ(f.Messages[0].Text, c.message) << c.amount;
        EXPECT_EQ(s.StandingOrder, CommandWorld().StandingOrder);
    }
}

TEST(NewStandingOrder, AllSlotsInUse)
{
    GameState s = CommandWorld();
    for (auto& order : s.StandingOrder[2])
        order = Order(3, 0, 1, 5);
    PanelState panel{PanelMode::Idle};
    RecordingFrontend f;
    SetCommandMode(s, panel, f, PanelMode::NewOrder);
    EXPECT_EQ(f.EnglishTexts(), Texts{"No further standing order possible!"});
    EXPECT_EQ(f.Messages[0].Text.German, "Keine weiteren Daueraufträge möglich!");
    const PanelContent content = ComputePanelContent(s, PanelMode::NewOrder);
    EXPECT_TRUE(content.Texts.empty());
    EXPECT_TRUE(content.ListBox4.empty() && content.ListBox5.empty() && content.ListBox6.empty());
    // The empty lists give nothing to select; the player leaves with Cancel.
    PressOk(s, panel, PanelInputs{}, f);
    EXPECT_EQ(f.EnglishTexts().back(), "Please select what you want to transfer/transport.");
    EXPECT_EQ(panel.CommandMode, PanelMode::NewOrder);
    EXPECT_EQ(f.Messages.size(), 2u) << "a redraw does not repeat the warning";
    PressCancel(s, panel, f);
    EXPECT_EQ(panel.CommandMode, PanelMode::Idle);
}

TEST(DeleteStandingOrder, TheNumberNamesTheSlot)
{
    EXPECT_EQ(OrderSlotOfEntry("10.: 5 Dollar from A to B"), 9);
    EXPECT_EQ(OrderSlotOfEntry("1.: 5 Dollar from A to B"), 0);
    EXPECT_EQ(OrderSlotOfEntry("9.: x"), 8);
    EXPECT_EQ(OrderSlotOfEntry("x"), -1);

    GameState s = CommandWorld();
    s.StandingOrder[2][0] = Order(3, 1, 2, 100);
    s.StandingOrder[2][9] = Order(3, 2, 1, 100);
    RecordingFrontend f;
    f.Answers = {true, false, true};
    EXPECT_EQ(DeleteStandingOrder(s, f, "10.: 100 Dollar from Fotzingfors to Tomsville"), PanelNext::Idle);
    EXPECT_EQ(s.StandingOrder[2][9].Kind, kOrderEmpty);
    EXPECT_EQ(DeleteStandingOrder(s, f, "1.: 100 Dollar from Tomsville to Fotzingfors"), PanelNext::Idle);
    EXPECT_EQ(s.StandingOrder[2][0].Kind, kOrderMoney) << "No keeps the order";
    EXPECT_EQ(DeleteStandingOrder(s, f, "1.: 100 Dollar from Tomsville to Fotzingfors"), PanelNext::Idle);
    EXPECT_EQ(s.StandingOrder[2][0].Kind, kOrderEmpty);
    ASSERT_EQ(f.Messages.size(), 3u);
    EXPECT_TRUE(f.Messages[0].Question);
    EXPECT_EQ(f.Messages[0].Text, (LocalText{"Are you shure you want to delete this order?",
                                             "Sind Sie sicher, daß Sie diesen Auftrag löschen möchten?"}));
    EXPECT_EQ(f.Messages[0].Caption, (LocalText{"Confirm delete", ""})) << "no title in German";

    RecordingFrontend g;
    EXPECT_EQ(DeleteStandingOrder(s, g, std::nullopt), PanelNext::Stay);
    EXPECT_EQ(g.Messages.at(0).Text, (LocalText{"Please select an order to delete.",
                                                "Bitte wählen Sie, welchen Auftrag Sie löschen möchten."}));
}
