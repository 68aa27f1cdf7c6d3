// The panel's mode switch: which outcome stays, which returns to the command buttons, and the
// information pages toggled by OK.
#include <gtest/gtest.h>

#include "commands/command_panel.h"
#include "command_world.h"
#include "recording_frontend.h"

TEST(CommandPanel, OkRunsTheModesCommandAndMovesOn)
{
    struct Case {
        int32_t mode;
        PanelInputs inputs;
        int32_t after;
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
        {kModeBuildBrewery, {}, kModeBuildBrewery, 1},    // nothing selected
        {kModeExtendBrewery, {}, kModeExtendBrewery, 1},  // nothing selected
        {kModeTransportBeer, {}, kModeTransportBeer, 1},  // no destination
        {kModeTransferMoney, {}, kModeTransferMoney, 1},  // no destination
        {kModeTransferMoney, poorTransfer, kModeTransferMoney, 1},
        {kModeNewOrder, badOrder, kModeNewOrder, 1},  // invalid amount
        {kModeDeleteOrder, {}, kModeDeleteOrder, 1},  // nothing selected
        {kModeTransportBeer, transport, kModeIdle, 0},
        {kModeBuildDepot, {}, kModeIdle, 0},
        {kModeChangePrices, {}, kModeIdle, 0},
        {kModeNewBrand, {}, kModeIdle, 1},  // the offer, declined
        {kModeTownInformation, {}, kModeLastSales, 0},
        {kModeLastSales, {}, kModeTownInformation, 0},
        {kModeMarketShares, {}, kModeIdle, 0},
        {kModeListOrders, {}, kModeIdle, 0},
        {kModeStatistics, {}, kModeIdle, 0},
    };
    for (const Case& c : cases) {
        GameState s = CommandWorld();
        PanelState panel{c.mode};
        RecordingFrontend f;
        PressOk(s, panel, c.inputs, f);
        EXPECT_EQ(panel.CommandMode, c.after) << "mode " << c.mode;
        EXPECT_EQ(f.Messages.size(), c.messages) << "mode " << c.mode;
        EXPECT_EQ(f.Redraws, c.after == c.mode ? 0 : 1) << "a mode switch redraws; staying does not";
    }
}

TEST(CommandPanel, CancelLeavesEveryModeForTheButtons)
{
    for (int32_t mode = kModeBuildBrewery; mode <= kModeStatistics; ++mode) {
        GameState s = CommandWorld();
        PanelState panel{mode};
        RecordingFrontend f;
        PressCancel(s, panel, f);
        EXPECT_EQ(panel.CommandMode, kModeIdle) << mode;
        EXPECT_EQ(s.Account, CommandWorld().Account);
    }
}

TEST(CommandPanel, CommandsActOnTheTownSelectedWhenOkIsPressed)
{
    GameState s = CommandWorld();
    PanelState panel;
    RecordingFrontend f;
    SetCommandMode(s, panel, f, kModeBuildDepot);
    s.SelectedTown = 6;  // a click on the map while the mode is open
    PressOk(s, panel, {}, f);
    EXPECT_TRUE(s.HasDepot[2][6]);
    EXPECT_FALSE(s.HasDepot[2][2]);
}
