/// @file command_panel.cpp The panel's mode switch and its OK and Cancel buttons.
#include "commands/command_panel.h"

#include <ostream>
#include <utility>

#include "commands/command_common.h"
#include "commands/construction.h"
#include "commands/logistics.h"
#include "commands/order_commands.h"

void SetCommandMode(const GameState& s, PanelState& panel, Frontend& frontend, PanelMode mode)
{
    // Every mode but the start screen's works on a running game.
    if (mode != PanelMode::None && !s.GameActive)
        return;
    panel.CommandMode = mode;
    frontend.Redraw();
    // Told once on entering, not on every repaint of the empty panel.
    if (mode == PanelMode::NewOrder && s.GameActive && FreeOrderSlot(s, s.CurrentCompany) < 0)
        Refuse(frontend, NoFreeOrderSlot());
}

void PressCancel(const GameState& s, PanelState& panel, Frontend& frontend)
{
    SetCommandMode(s, panel, frontend, PanelMode::Idle);
}

void PressOk(GameState& s, PanelState& panel, const PanelInputs& in, Frontend& frontend)
{
    PanelNext next = PanelNext::Idle;
    switch (panel.CommandMode) {
    case PanelMode::BuildBrewery:
        next = BuildBrewery(s, frontend, in.ListBox1);
        break;
    case PanelMode::NewBrand:
        next = NewBrand(s, frontend);
        break;
    case PanelMode::BuildDepot:
        next = BuildDepot(s, frontend);
        break;
    case PanelMode::ExtendBrewery:
        next = ExtendBrewery(s, frontend, in.ListBox1, in.Edit1);
        break;
    case PanelMode::ChangePrices:
        next = ChangePrices(s, frontend, {in.Edit2, in.Edit3, in.Edit4});
        break;
    case PanelMode::TransportBeer:
        next = TransportBeer(s, frontend, in.ListBox3, in.ListBox4, in.Edit5);
        break;
    case PanelMode::TransferMoney:
        next = TransferMoney(s, frontend, in.ListBox4, in.Edit5);
        break;
    case PanelMode::NewOrder:
        next = NewStandingOrder(s, frontend, in.ListBox6, in.ListBox5, in.ListBox4, in.Edit5);
        break;
    case PanelMode::DeleteOrder:
        next = DeleteStandingOrder(s, frontend, in.ListBox2);
        break;
    case PanelMode::TownInformation:
        SetCommandMode(s, panel, frontend, PanelMode::LastSales);
        return;
    case PanelMode::LastSales:
        SetCommandMode(s, panel, frontend, PanelMode::TownInformation);
        return;
    case PanelMode::None:
    case PanelMode::Idle:
        return;  // OK is hidden
    default:
        break;  // market shares, list of orders, statistics: OK just closes them
    }
    if (next == PanelNext::Idle)
        SetCommandMode(s, panel, frontend, PanelMode::Idle);
}

namespace {

// Each command's mode; the other modes give no command.
constexpr std::pair<CommandKind, PanelMode> kCommandModes[] = {
    {CommandKind::BuildBrewery, PanelMode::BuildBrewery},   {CommandKind::ExtendBrewery, PanelMode::ExtendBrewery},
    {CommandKind::BuildDepot, PanelMode::BuildDepot},       {CommandKind::NewBrand, PanelMode::NewBrand},
    {CommandKind::ChangePrices, PanelMode::ChangePrices},   {CommandKind::TransportBeer, PanelMode::TransportBeer},
    {CommandKind::TransferMoney, PanelMode::TransferMoney}, {CommandKind::NewOrder, PanelMode::NewOrder},
    {CommandKind::DeleteOrder, PanelMode::DeleteOrder},
};

}  // namespace

PanelMode ModeOfCommand(CommandKind kind)
{
    for (const auto& [k, mode] : kCommandModes)
        if (k == kind)
            return mode;
    return PanelMode::None;
}

std::optional<CommandKind> CommandOfMode(PanelMode mode)
{
    for (const auto& [kind, m] : kCommandModes)
        if (m == mode)
            return kind;
    return std::nullopt;
}

std::ostream& operator<<(std::ostream& out, PanelMode mode) { return out << static_cast<int32_t>(mode); }
