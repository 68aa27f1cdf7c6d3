/// @file command_panel.h The command panel's modes, its inputs, and what OK and Cancel do.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "commands/command.h"
#include "commands/panel_mode.h"
#include "game/frontend.h"
#include "game/game_state.h"

/// The panel's view state; the window owns it, it is not part of a saved game.
struct PanelState {
    PanelMode CommandMode = PanelMode::None;  ///< which mode the panel shows
};

/// What the panel does when a command has run.
enum class PanelNext {
    Stay,  ///< keep the mode and the typed input, so the player can correct it or cancel
    Idle,  ///< back to the command buttons
};

/// The panel's input controls as the window reads them when OK is pressed.
struct PanelInputs {
    std::optional<std::string> ListBox1;  ///< brand (Build and Extend Brewery)
    std::optional<std::string> ListBox2;  ///< standing order (delete)
    std::optional<std::string> ListBox3;  ///< brand with stock (transport)
    std::optional<std::string> ListBox4;  ///< destination town (transport, transfer, new order)
    std::optional<std::string> ListBox5;  ///< source town (new order)
    std::optional<std::string> ListBox6;  ///< what a new order moves
    std::string Edit1;                    ///< number of 100-litre steps
    std::string Edit2;                    ///< price of brand 1
    std::string Edit3;                    ///< price of brand 2
    std::string Edit4;                    ///< price of brand 3
    std::string Edit5;                    ///< amount of a transport, transfer or new order
};

/// The mode whose OK gives a command of this kind; PanelMode::None for the commands without one (a
/// town choice, Next Turn).
PanelMode ModeOfCommand(CommandKind kind);
/// The command OK gives in a mode; none in the modes whose OK only turns a page or closes a view.
std::optional<CommandKind> CommandOfMode(PanelMode mode);

/// Switches the panel to a mode and redraws. Entering the new-order mode with all ten slots
/// in use tells the player so, once. Without a running game only the start screen's mode 0 is
/// taken; any other is refused and nothing happens.
void SetCommandMode(const GameState& s, PanelState& panel, Frontend& frontend, PanelMode mode);

/// OK (Button9): runs the command of the current mode and moves on as it says.
void PressOk(GameState& s, PanelState& panel, const PanelInputs& inputs, Frontend& frontend);

/// Cancel (Button10): back to the command buttons without any effect.
void PressCancel(const GameState& s, PanelState& panel, Frontend& frontend);
