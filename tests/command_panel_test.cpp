// The panel's mode switch: which outcome stays, which returns to the command buttons, and the
// information pages toggled by OK.
#include <gtest/gtest.h>

#include "commands/command_panel.h"
#include "command_world.h"
#include "recording_frontend.h"

TEST(CommandPanel, OkRunsTheModesCommandAndMovesOn)
{
    struct Case {
        PanelMode mode;
        PanelInputs inputs;
        PanelMode after;
        size_t messages;
    };
    PanelInputs transport;
    transport.ListBox3 = "1. Alpha, 1000 l";
    transport.ListBox4 = "Seaside, 12 Dollar/100l";
    transport.Edit5 = "100";
    PanelInputs poorTransfer;
    poorTransfer.ListBox4 = "Seaside";
    poorTransfer.Edit5 = "100000";
    PanelInputs badOrder;
    badOrder.ListBox6 = "Dollar";
    badOrder.ListBox5 = "Seaside";
    badOrder.ListBox4 = "Seaside";
    badOrder.Edit5 = "5";
    const Case cases[] = {
        {PanelMode::BuildBrewery, {}, PanelMode::BuildBrewery, 1},    // nothing selected
        {PanelMode::ExtendBrewery, {}, PanelMode::ExtendBrewery, 1},  // nothing selected
        {PanelMode::TransportBeer, {}, PanelMode::TransportBeer, 1},  // no destination
        {PanelMode::TransferMoney, {}, PanelMode::TransferMoney, 1},  // no destination
        {PanelMode::TransferMoney, poorTransfer, PanelMode::TransferMoney, 1},
        {PanelMode::NewOrder, badOrder, PanelMode::NewOrder, 1},  // invalid amount
        {PanelMode::DeleteOrder, {}, PanelMode::DeleteOrder, 1},  // nothing selected
        {PanelMode::TransportBeer, transport, PanelMode::Idle, 0},
        {PanelMode::BuildDepot, {}, PanelMode::Idle, 0},
        {PanelMode::ChangePrices, {}, PanelMode::Idle, 0},
        {PanelMode::NewBrand, {}, PanelMode::Idle, 1},  // the offer, declined
        {PanelMode::TownInformation, {}, PanelMode::LastSales, 0},
        {PanelMode::LastSales, {}, PanelMode::TownInformation, 0},
        {PanelMode::MarketShares, {}, PanelMode::Idle, 0},
        {PanelMode::ListOrders, {}, PanelMode::Idle, 0},
        {PanelMode::Statistics, {}, PanelMode::Idle, 0},
    };
    for (const Case& c : cases) {
        GameState s = CommandWorld();
        PanelState panel{c.mode};
        RecordingFrontend f;
        PressOk(s, panel, c.inputs, f);
        EXPECT_EQ(panel.CommandMode, c.after) << "mode " << static_cast<int>(c.mode);
        EXPECT_EQ(f.Messages.size(), c.messages) << "mode " << static_cast<int>(c.mode);
        EXPECT_EQ(f.Redraws, c.after == c.mode ? 0 : 1) << "a mode switch redraws; staying does not";
    }
}

TEST(CommandPanel, CancelLeavesEveryModeForTheButtons)
{
    for (int32_t mode = static_cast<int32_t>(PanelMode::BuildBrewery);
         mode <= static_cast<int32_t>(PanelMode::Statistics); ++mode) {
        GameState s = CommandWorld();
        PanelState panel{static_cast<PanelMode>(mode)};
        RecordingFrontend f;
        PressCancel(s, panel, f);
        EXPECT_EQ(panel.CommandMode, PanelMode::Idle) << mode;
        EXPECT_EQ(s.Account, CommandWorld().Account);
    }
}

TEST(CommandPanel, CommandsActOnTheTownSelectedWhenOkIsPressed)
{
    GameState s = CommandWorld();
    PanelState panel;
    RecordingFrontend f;
    SetCommandMode(s, panel, f, PanelMode::BuildDepot);
    s.SelectedTown = 6;  // a click on the map while the mode is open
    PressOk(s, panel, {}, f);
    EXPECT_TRUE(s.HasDepot[2][6]);
    EXPECT_FALSE(s.HasDepot[2][2]);
}
