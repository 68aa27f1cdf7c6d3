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
#include "persistence/settings.h"

/// What became of a command.
struct CommandResult {
    /// It ran: the panel went back to its buttons, the town was chosen, the turn ended (a
    /// refusal that comes after the command spent something, like a brand's offer, counts as
    /// run). False: refused (no game, an ended game, an input the rules turn down and say why),
    /// and nothing in the game changed. A refusal about the input keeps it in the panel.
    bool Accepted = false;
    /// The command as it ran, with the answer the player gave to its question (none when the
    /// rules did not ask it).
    Command Executed;
};

class GameSession {
public:
    /// A session without a game yet, keeping its settings and names in `programDirectory`,
    /// showing everything through `frontend`.
    GameSession(Frontend& frontend, std::string programDirectory);

    /// The game and the program beside it, to read. Everything that changes them goes through
    /// the session's own actions.
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
    Leaving BeforeClosing();
    /// The program is asked to end from outside (a signal): nobody is there to answer. With
    /// autosave the game is saved to AutosavePath with its record; then it is left. False,
    /// with `why`, when the autosave or its record could not be written.
    bool LeaveWithoutQuestion(std::string* why);
    /// Leaves the running game (after it was saved on the way out).
    void Leave() { state_.GameActive = false; }

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
    /// The window is about to close. Without a game it may. With "Autosave On Exit" the game is
    /// saved to AutosavePath with its record and the window closes; if that save fails in any
    /// way, the player is told and asked, as without the option, whether to leave the game.
    /// Returns whether the window may close; the game has been left when it may.
    bool MayClose();
    /// Where "Autosave On Exit" keeps the game: "Autosave.tsg" in the program directory, never a
    /// name the working directory would decide.
    const std::string& AutosavePath() const { return autosavePath_; }

    // --- the panel and the map -----------------------------------------------------------------
    /// Checks and runs a player's command for the company on turn, as the player would do it:
    /// its command button when the panel shows another mode, the choices and typed fields, OK.
    /// A question the command asks takes the command's answer, or the frontend's when it has
    /// none. A refusal leaves the panel open with the input, as OK does.
    CommandResult Execute(const Command& command);
    /// Opens a command mode; modes that need a game are refused without one.
    void EnterMode(PanelMode mode);
    /// OK in a mode that gives no command: the town information turns its page, a view closes.
    /// A command mode's OK is its command (Execute).
    void PressOk();
    /// Selects `town` as a click on it would and opens the command's mode there: where an
    /// advisor's hint leads. Nothing happens without a running game, after its end, or for a
    /// kind that has no mode (a town selection, Next Turn).
    void OpenCommand(CommandKind kind, int town);
    void PressCancel();
    /// A click on the map: on a town, its choice (a SelectTown command), and on a right or
    /// double click its information; beside the towns, the information of the chosen one or a
    /// redraw.
    void ClickMap(MouseButton button, bool doubleClick, int x, int y);
    /// Page Down (1) or Page Up (-1): the next or previous town chosen (a SelectTown command),
    /// as a left click on it would.
    void StepTown(int step);
    /// Whether that click leaves what the player typed in the open command as it is: a plain
    /// click on the sea or the panel's background chooses no town.
    bool ClickKeepsInput(MouseButton button, bool doubleClick, int x, int y) const;
    /// "Next Turn": ends the turn of the player on turn. When that ends the game (a company won,
    /// or, with the comforts, the only player went bankrupt) the panel says so and offers no
    /// further turn.
    void NextTurn();

    // --- the program around the game -----------------------------------------------------------
    /// The program's start: reads the options (the first start sets the settings file up, taking
    /// over an older game's files from `legacyDirectory`) and seeds the random generator. Returns
    /// what was read, for the window to show.
    StartupSettings StartProgram(const std::optional<std::string>& legacyDirectory, uint32_t seed);
    /// Seeds the random generator: a fixed seed gives the same game again.
    void SetSeed(uint32_t seed);
    /// The options of the Options and Statistics menus; those kept in the settings file are
    /// written there as they change.
    bool SoundOn() const { return state_.Program.SoundOn; }
    void SetSoundOn(bool on);
    bool AutosaveOnExit() const { return state_.Program.AutosaveOnExit; }
    void SetAutosaveOnExit(bool on);
    bool HandOverScreen() const;
    void SetHandOverScreen(bool on);
    /// The month report opened after every month.
    bool MonthReport() const;
    void SetMonthReport(bool on);
    /// The zoom the player chose, in percent; the screen may not have room for it.
    void SetZoom(int32_t zoom);
    /// The best-opponent comparison after each turn (not kept: every start shows it).
    void SetShowBestOpponent(bool on) { state_.Program.ShowBestOpponent = on; }
    /// Switches the language and keeps it in the settings file.
    void SwitchLanguage(Language language);
    /// Writes the names file with the default names where there is none yet (the player wants
    /// to edit it before the first game). Returns whether the file is there now.
    bool EnsureNamesFile();
    /// Makes a world built elsewhere the running game, as if opened from a file without a name
    /// and without a record (pictures of furnished worlds): the game data whole, names included,
    /// which a savegame does not all keep.
    void Adopt(const GameData& game);
    /// "Restore Names": asks, then writes the default names and reloads them; the players keep
    /// the names they gave. Returns whether the names were restored.
    bool RestoreNames();

    // --- a recorded game played again --------------------------------------------------------
    /// Begins the game a record's start describes: a new world from its settings and names, or
    /// the savegame it was opened from with the names it had, the generator as it was then.
    /// False, with a one-line reason, when that cannot be done or the game is not the one
    /// recorded (its digest differs).
    bool BeginRecorded(const GameStart& start, std::string* reason);
    /// Plays a recorded "Restore Names" or reopening (the game's money as its savegame holds
    /// it, the generator and names as they were then) again; false, with a reason, when the
    /// game reopened is not the one recorded.
    bool ReplayTakenUp(const RecordedInput& input, const TakenUp& at, std::string* reason);

private:
    friend struct SessionTestDoor;  // the tests' door to set a world up (tests/session_door.h)

    /// Makes a savegame just read, with its record, the running game.
    void TakeOver(const std::string& path, OpenedPair& pair);
    /// A new world with these names, its start recorded.
    void MakeWorld(const NewGameSettings& settings, const WorldNames& names);
    /// Execute without keeping the command.
    CommandResult Run(const Command& command);
    /// Next Turn itself.
    void EndTurn();
    /// Keeps an input in the game's record while its inputs can still play it again.
    void KeepInput(int32_t month, int32_t company, const Command& command);
    void KeepTakenUp(InputKind kind, const TakenUp& at);
    /// The town chosen by a click or a key, kept as the command it equals.
    void KeepTownChoice(int32_t month, int32_t company, int32_t before);
    /// Gives the months closed since the record held `months` their digests.
    void DigestClosedMonths(std::size_t months);
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
    std::string autosavePath_;
};
