/// @file command_panel.cpp The panel's mode switch and its OK and Cancel buttons.
#include "commands/command_panel.h"

#include <utility>

#include "commands/command_common.h"
#include "commands/construction.h"
#include "commands/logistics.h"
#include "commands/order_commands.h"

void SetCommandMode(const GameState& s, PanelState& panel, Frontend& frontend, int32_t mode)
{
    // Every mode but the start screen's works on a running game.
    if (mode != kModeNone && !s.GameActive)
        return;
    panel.CommandMode = mode;
    frontend.Redraw();
    // Told once on entering, not on every repaint of the empty panel.
    if (mode == kModeNewOrder && s.GameActive && FreeOrderSlot(s, s.CurrentCompany) < 0)
        Refuse(frontend, NoFreeOrderSlot());
}

void PressCancel(const GameState& s, PanelState& panel, Frontend& frontend)
{
    SetCommandMode(s, panel, frontend, kModeIdle);
}

void PressOk(GameState& s, PanelState& panel, const PanelInputs& in, Frontend& frontend)
{
    PanelNext next = PanelNext::Idle;
    switch (panel.CommandMode) {
    case kModeBuildBrewery:
        next = BuildBrewery(s, frontend, in.ListBox1);
        break;
    case kModeNewBrand:
        next = NewBrand(s, frontend);
        break;
    case kModeBuildDepot:
        next = BuildDepot(s, frontend);
        break;
    case kModeExtendBrewery:
        next = ExtendBrewery(s, frontend, in.ListBox1, in.Edit1);
        break;
    case kModeChangePrices:
        next = ChangePrices(s, frontend, {in.Edit2, in.Edit3, in.Edit4});
        break;
    case kModeTransportBeer:
        next = TransportBeer(s, frontend, in.ListBox3, in.ListBox4, in.Edit5);
        break;
    case kModeTransferMoney:
        next = TransferMoney(s, frontend, in.ListBox4, in.Edit5);
        break;
    case kModeNewOrder:
        next = NewStandingOrder(s, frontend, in.ListBox6, in.ListBox5, in.ListBox4, in.Edit5);
        break;
    case kModeDeleteOrder:
        next = DeleteStandingOrder(s, frontend, in.ListBox2);
        break;
    case kModeTownInformation:
        SetCommandMode(s, panel, frontend, kModeLastSales);
        return;
    case kModeLastSales:
        SetCommandMode(s, panel, frontend, kModeTownInformation);
        return;
    case kModeNone:
    case kModeIdle:
        return;  // OK is hidden
    default:
        break;  // market shares, list of orders, statistics: OK just closes them
    }
    if (next == PanelNext::Idle)
        SetCommandMode(s, panel, frontend, kModeIdle);
}

namespace {

// Each command's mode; the other modes give no command.
constexpr std::pair<CommandKind, int32_t> kCommandModes[] = {
    {CommandKind::BuildBrewery, kModeBuildBrewery},   {CommandKind::ExtendBrewery, kModeExtendBrewery},
    {CommandKind::BuildDepot, kModeBuildDepot},       {CommandKind::NewBrand, kModeNewBrand},
    {CommandKind::ChangePrices, kModeChangePrices},   {CommandKind::TransportBeer, kModeTransportBeer},
    {CommandKind::TransferMoney, kModeTransferMoney}, {CommandKind::NewOrder, kModeNewOrder},
    {CommandKind::DeleteOrder, kModeDeleteOrder},
};

}  // namespace

int32_t ModeOfCommand(CommandKind kind)
{
    for (const auto& [k, mode] : kCommandModes)
        if (k == kind)
            return mode;
    return kModeNone;
}

std::optional<CommandKind> CommandOfMode(int32_t mode)
{
    for (const auto& [kind, m] : kCommandModes)
        if (m == mode)
            return kind;
    return std::nullopt;
}
