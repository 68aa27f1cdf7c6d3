/// @file game_session.h The one way into the rules for the window and tavrek-sim alike: the game
/// with its command panel and the file it belongs to, and every action a player takes on them.
/// The window's handlers gather what the player chose, call one of these and show the answer;
/// the rules reach back through the frontend. Actions that need a running game do nothing
/// without one.
#pragma once

#include <cstdint>
#include <string>

#include "commands/command_panel.h"
#include "commands/town_selection.h"
#include "game/frontend.h"
#include "game/game_state.h"
#include "game/world_generation.h"
#include "persistence/history_file.h"
#include "persistence/savegame.h"

class GameSession {
public:
    /// A session without a game yet, keeping its settings and names in `programDirectory`,
    /// showing everything through `frontend`.
    GameSession(Frontend& frontend, std::string programDirectory);

    GameState& State() { return state_; }
    const GameState& State() const { return state_; }
    const PanelState& Panel() const { return panel_; }
    /// The file Save writes to: the one the game was last saved to or opened from; empty for a
    /// new game.
    const std::string& SaveFile() const { return saveFile_; }
    /// The game's record of closed months and messages.
    const GameHistory& History() const { return state_.History; }
    /// How the record beside the last opened or loaded savegame was read.
    HistoryLoad LastHistoryLoad() const { return historyLoad_; }

    // --- the game menu ---------------------------------------------------------------------
    /// A new world from the setup dialog's choices, then the command buttons. The new game
    /// belongs to no file yet.
    void NewGame(const NewGameSettings& settings);
    /// "Open": loads the file or tells why not, keeping the running game and its file. Returns
    /// whether a game was loaded. The record beside the file comes with it; one that cannot be
    /// read costs only the record, with a note in the status line.
    bool Open(const std::string& path);
    /// Loads without telling anything (tavrek-sim says it its own way); `reason` tells why not.
    LoadStatus Load(const std::string& path, std::string* reason = nullptr);
    /// "Save": writes the game to its file, and its record beside it (a record that cannot be
    /// written is noted in the status line; the game is saved all the same). `CannotOpen` when there is no file yet or
    /// it cannot be opened for writing: the window then asks for one. A failed write has been told.
    SaveStatus Save();
    /// "Save as" with the chosen file: from now on the game belongs to it.
    SaveStatus SaveAs(const std::string& path);
    /// Writes the game to a file, and its record beside it, without telling anything or changing
    /// the game's file; `reason` tells why not.
    SaveResult WriteTo(const std::string& path, std::string* reason = nullptr) const;
    /// The window is about to close: autosave or ask, as the option says. Returns whether it may.
    bool MayClose(bool autosaveOnExit, const std::string& autosavePath = kAutosaveFileName);

    // --- the panel and the map -----------------------------------------------------------------
    /// Opens a command mode; modes that need a game are refused without one.
    void EnterMode(int32_t mode);
    void PressOk(const PanelInputs& inputs);
    void PressCancel();
    void ClickMap(MouseButton button, bool doubleClick, int x, int y);
    /// "Next Turn": ends the turn of the player on turn.
    void NextTurn();

    // --- the program around the game -----------------------------------------------------------
    /// Switches the language and keeps it in the settings file.
    void SwitchLanguage(Language language);
    /// "Restore Names": asks, then writes the default names and reloads them; the players keep
    /// the names they gave. Returns whether the names were restored.
    bool RestoreNames();

private:
    /// Reads the record beside a savegame just loaded; anything but a whole record of this game
    /// leaves an empty one.
    void ReadHistoryBeside(const std::string& path);
    /// Writes the record beside a savegame just written; false when it could not be written.
    bool WriteHistoryBeside(const std::string& path) const;

    Frontend& frontend_;
    HistoryLoad historyLoad_ = HistoryLoad::Missing;
    GameState state_;
    PanelState panel_;
    std::string saveFile_;
};
