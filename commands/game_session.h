/// @file game_session.h The one way into the rules for the window and tavrek-sim alike: the game
/// with its command panel and the file it belongs to, and every action a player takes on them.
/// The window's handlers gather what the player chose, call one of these and show the answer;
/// the rules reach back through the frontend. Actions that need a running game do nothing
/// without one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "commands/command.h"
#include "commands/command_panel.h"
#include "commands/game_end.h"
#include "commands/panel_content.h"
#include "commands/town_selection.h"
#include "game/frontend.h"
#include "game/game_state.h"
#include "game/world_generation.h"
#include "persistence/game_files.h"
#include "persistence/history_file.h"
#include "persistence/savegame.h"

/// What became of a command.
struct CommandResult {
    /// It ran: the panel went back to its buttons, the town was chosen, the turn ended (a
    /// refusal that comes after the command spent something, like a brand's offer, counts as
    /// run). False: refused (no game, an ended game, an input the rules turn down and say why),
    /// and nothing in the game changed. A refusal about the input keeps it in the panel.
    bool Accepted = false;
    Command Executed;  ///< the command as it ran, with the answer the player gave to its question
};

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
    /// How the record beside the last opened or loaded savegame was read (Loaded for a new game).
    HistoryLoad LastHistoryLoad() const { return historyLoad_; }
    /// Why that record was not read, in English; empty when it was.
    const std::string& LastHistoryReason() const { return historyReason_; }
    /// How the record beside the last saved game went.
    RecordSave LastRecordSave() const { return lastRecordSave_; }
    /// While the player leaves the game (a save on the way to Exit, New or Open), a record that
    /// could not be saved is told in a box: the status line goes with the game.
    void SetLeaving(bool leaving) { leaving_ = leaving; }
    /// Whether the running game holds anything its file does not (a new game counts as kept
    /// until a command or a month changes it); the selected town alone is no change.
    bool Changed() const;
    /// Whether the end of a game closes it for further turns (the window) or the months go on
    /// with the emptied companies as the rules leave them (tavrek-sim, the default).
    void StopAtTheEnd(bool stop) { stopAtTheEnd_ = stop; }
    /// How the running game ended, when a Next Turn has ended it and the session stops there;
    /// empty while it runs.
    const std::optional<GameEnd>& End() const { return end_; }
    /// What the panel shows now: the open mode's content, or the end of the game.
    PanelContent Content() const;
    /// The window's title for the caption the rules last set. With the comforts, the name of
    /// the game's file in front once it belongs to one, marked "*" while the game has changed.
    std::string Title(const LocalText& caption) const;
    /// Today's comforts that change the flow of play (off: the game goes as it always went);
    /// kept in the settings file.
    bool Comforts() const { return state_.Program.Comforts; }
    void SetComforts(bool on);

    /// What to do with the running game before New, Open or Exit replace it.
    enum class Leaving {
        Go,         ///< nothing to keep, or the player gave it up
        SaveFirst,  ///< save it (the window asks for a file where it has none), then go
        Stay,       ///< the player cancelled: keep playing
    };
    /// Before New or Open: with the comforts, asks "Save the running game?" when the game has
    /// changed; without them the game is replaced without a question.
    Leaving BeforeReplacingGame();
    /// The window is about to close. Without the comforts, with autosave, or with an unchanged
    /// game, as MayClose does (Go or Stay); otherwise asks "Save the running game?". When the
    /// answer is Go the game has been left.
    Leaving BeforeClosing(bool autosaveOnExit, const std::string& autosavePath = kAutosaveFileName);
    /// The program is asked to end from outside (a signal): nobody is there to answer. With
    /// autosave the game is saved to `autosavePath` with its record; then it is left. False,
    /// with `why`, when the autosave or its record could not be written.
    bool LeaveWithoutQuestion(bool autosaveOnExit, const std::string& autosavePath, std::string* why);
    /// Leaves the running game (after it was saved on the way out).
    void Leave() { state_.GameActive = false; }

    /// Seeds the game's random generator, as the program does once at its start.
    void SeedRandom(uint32_t seed) { state_.Program.Rng.Seed(seed); }

    // --- the game menu ---------------------------------------------------------------------
    /// A new world from the setup dialog's choices, then the command buttons. The new game
    /// belongs to no file yet.
    void NewGame(const NewGameSettings& settings);
    /// "Open": loads the file or tells why not, keeping the running game and its file. Returns
    /// whether a game was loaded. The record beside the file comes with it; one that cannot be
    /// read costs only the record (LastHistoryLoad says how it went).
    bool Open(const std::string& path);
    /// Loads without telling anything (tavrek-sim says it its own way); `reason` tells why not.
    LoadStatus Load(const std::string& path, std::string* reason = nullptr);
    /// "Save": writes the game to its file, and its record beside it (a record that cannot be
    /// written is noted in the status line, a file at the record's name that is no record is
    /// left alone with a File Error box; the game is saved all the same). `CannotOpen` when
    /// there is no file yet or it cannot be opened for writing: the window then asks for one. A
    /// failed write has been told.
    SaveStatus Save();
    /// "Save as" with the chosen file: from now on the game belongs to it.
    SaveStatus SaveAs(const std::string& path);
    /// Writes the game to a file, and its record beside it, without telling anything or changing
    /// the game's file; `reason` tells why the game was not saved, the result why not its record.
    PairSave WriteTo(const std::string& path, std::string* reason = nullptr) const;
    /// The window is about to close: autosave or ask, as the option says. Returns whether it may.
    bool MayClose(bool autosaveOnExit, const std::string& autosavePath = kAutosaveFileName);

    // --- the panel and the map -----------------------------------------------------------------
    /// Checks and runs a player's command for the company on turn, as the player would do it:
    /// its command button when the panel shows another mode, the choices and typed fields, OK.
    /// A question the command asks takes the command's answer, or the frontend's when it has
    /// none. A refusal leaves the panel open with the input, as OK does.
    CommandResult Execute(const Command& command);
    /// Opens a command mode; modes that need a game are refused without one.
    void EnterMode(int32_t mode);
    void PressOk(const PanelInputs& inputs);
    void PressCancel();
    void ClickMap(MouseButton button, bool doubleClick, int x, int y);
    /// Page Down (1) or Page Up (-1): the next or previous town, as a left click on it.
    void StepTown(int step);
    /// Whether that click leaves what the player typed in the open command as it is: a plain
    /// click on the sea or the panel's background chooses no town.
    bool ClickKeepsInput(MouseButton button, bool doubleClick, int x, int y) const;
    /// "Next Turn": ends the turn of the player on turn. When that ends the game (a company won,
    /// or, with the comforts, the only player went bankrupt) the panel says so and offers no
    /// further turn.
    void NextTurn();

    // --- the program around the game -----------------------------------------------------------
    /// Switches the language and keeps it in the settings file.
    void SwitchLanguage(Language language);
    /// "Restore Names": asks, then writes the default names and reloads them; the players keep
    /// the names they gave. Returns whether the names were restored.
    bool RestoreNames();

private:
    /// Makes a savegame just read, with its record, the running game.
    void TakeOver(const std::string& path, OpenedPair& pair);
    /// Tells the player what became of the record beside a saved game.
    void TellRecord(const std::string& path, const PairSave& saved, bool inBox);
    /// The game as its file holds it (or as it began): what Changed compares with.
    void Keep() { kept_ = state_; }

    Frontend& frontend_;
    HistoryLoad historyLoad_ = HistoryLoad::Missing;
    std::string historyReason_;
    RecordSave lastRecordSave_ = RecordSave::Saved;
    bool leaving_ = false;
    GameState state_;
    PanelState panel_;
    std::string saveFile_;
    GameData kept_;
    std::optional<GameEnd> end_;
    bool stopAtTheEnd_ = false;
};
