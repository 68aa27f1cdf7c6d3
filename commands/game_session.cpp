/// @file game_session.cpp The game with its panel and its file, and the player's actions.
#include "commands/game_session.h"

#include <filesystem>
#include <utility>

#include "engine/turn.h"
#include "game/names_file.h"
#include "persistence/settings.h"

GameSession::GameSession(Frontend& frontend, std::string programDirectory) : frontend_(frontend)
{
    state_.Program.ProgramDirectory = std::move(programDirectory);
}

void GameSession::NewGame(const NewGameSettings& settings)
{
    // A new game belongs to no file yet: its first Save asks for one.
    saveFile_.clear();
    end_.reset();
    // A new game's record is whole from its first month: nothing was lost to note.
    historyLoad_ = HistoryLoad::Loaded;
    GenerateWorld(state_, settings, frontend_);
    Keep();
    SetCommandMode(state_, panel_, frontend_, kModeIdle);
}

bool GameSession::Open(const std::string& path)
{
    if (!OpenGame(state_, path, frontend_))
        return false;
    // How the record beside it was read stays with the session (the business history says it):
    // the status line keeps the game's own line.
    ReadHistoryBeside(path);
    // Save writes the game back where it came from, never over the game that was running.
    saveFile_ = path;
    end_.reset();
    Keep();
    SetCommandMode(state_, panel_, frontend_, kModeIdle);
    return true;
}

LoadStatus GameSession::Load(const std::string& path, std::string* reason)
{
    const LoadStatus status = LoadGameFile(state_, path, reason);
    if (status == LoadStatus::Loaded) {
        ReadHistoryBeside(path);
        saveFile_ = path;
        end_.reset();
        Keep();
        panel_.CommandMode = kModeIdle;
    }
    return status;
}

SaveStatus GameSession::Save()
{
    if (!state_.GameActive)
        return SaveStatus::NoGame;
    if (saveFile_.empty())
        return SaveStatus::CannotOpen;
    const SaveStatus status = SaveGame(state_, saveFile_, frontend_).Status;
    if (status == SaveStatus::Saved) {
        Keep();
        if (!WriteHistoryBeside(saveFile_))
            frontend_.ShowStatusLine(HistoryNotSavedNote());
    }
    return status;
}

SaveStatus GameSession::SaveAs(const std::string& path)
{
    if (!state_.GameActive)
        return SaveStatus::NoGame;
    saveFile_ = path;
    return Save();
}

SaveResult GameSession::WriteTo(const std::string& path, std::string* reason) const
{
    const SaveResult result = WriteSavegameFile(state_, path, reason);
    if (result)
        WriteHistoryBeside(path);
    return result;
}

bool GameSession::MayClose(bool autosaveOnExit, const std::string& autosavePath)
{
    const bool wasActive = state_.GameActive;
    const std::string text = wasActive && autosaveOnExit ? SavegameText(state_) : std::string();
    if (!MayCloseWindow(state_, autosaveOnExit, frontend_, autosavePath))
        return false;
    // The autosave keeps its record too, when the file holds this very game.
    if (wasActive && autosaveOnExit) {
        const auto written = ReadPlainFile(autosavePath, text.size());
        if (written && *written == text)
            WriteHistoryBeside(autosavePath);
    }
    return true;
}

void GameSession::ReadHistoryBeside(const std::string& path)
{
    // A savegame is at most a few hundred kilobytes; the loader has just read it whole.
    const auto bytes = ReadPlainFile(path, std::size_t{1} << 20);
    historyLoad_ = bytes ? LoadHistoryFile(path, SavegameFingerprint(*bytes), state_.History) : HistoryLoad::Damaged;
    if (historyLoad_ != HistoryLoad::Loaded)
        state_.History.Clear();
}

bool GameSession::WriteHistoryBeside(const std::string& path) const
{
    return static_cast<bool>(SaveHistoryFile(path, state_.History, SavegameFingerprint(SavegameText(state_))));
}

bool GameSession::Changed() const
{
    if (!state_.GameActive)
        return false;
    GameData now = state_;
    now.SelectedTown = kept_.SelectedTown;
    return !(now == kept_);
}

PanelContent GameSession::Content() const
{
    if (end_ && panel_.CommandMode == kModeGameOver)
        return GameOverContent(state_, *end_);
    return ComputePanelContent(state_, panel_.CommandMode);
}

std::string GameSession::Title(const LocalText& caption) const
{
    const std::string& title = caption.In(state_.Program.Language);
    if (!state_.Program.Comforts || saveFile_.empty())
        return title;
    return std::filesystem::path(saveFile_).filename().string() + (Changed() ? "*" : "") + " - " + title;
}

void GameSession::SetComforts(bool on)
{
    state_.Program.Comforts = on;
    WriteOnOff(state_.Program.ProgramDirectory, settings::kComforts, on);
}

namespace {

const LocalText kSaveRunningGame{"Save the running game?", "Das laufende Spiel speichern?"};
const LocalText kSaveCaption{"The TAVREK! War", "TAVRIK! - Das Spiel"};

}  // namespace

GameSession::Leaving GameSession::BeforeReplacingGame()
{
    // The game as it always was: New and Open replace the running game without a word.
    if (!state_.Program.Comforts || !Changed())
        return Leaving::Go;
    switch (frontend_.AskYesNoCancel(kSaveRunningGame, kSaveCaption)) {
    case YesNoCancel::Yes:
        return Leaving::SaveFirst;
    case YesNoCancel::No:
        return Leaving::Go;
    case YesNoCancel::Cancel:
        break;
    }
    return Leaving::Stay;
}

GameSession::Leaving GameSession::BeforeClosing(bool autosaveOnExit, const std::string& autosavePath)
{
    // Autosave keeps the game by itself; an unchanged game has nothing to lose. Without the
    // comforts every close asks the game's own question.
    if (!state_.Program.Comforts || autosaveOnExit || !Changed())
        return MayClose(autosaveOnExit, autosavePath) ? Leaving::Go : Leaving::Stay;
    const Leaving leaving = BeforeReplacingGame();
    if (leaving == Leaving::Go)
        Leave();
    return leaving;
}

void GameSession::EnterMode(int32_t mode)
{
    // An ended game offers no command.
    if (!end_)
        SetCommandMode(state_, panel_, frontend_, mode);
}

void GameSession::PressOk(const PanelInputs& inputs)
{
    if (!end_)
        ::PressOk(state_, panel_, inputs, frontend_);
}

void GameSession::PressCancel()
{
    if (!end_)
        ::PressCancel(state_, panel_, frontend_);
}

void GameSession::ClickMap(MouseButton button, bool doubleClick, int x, int y)
{
    if (end_) {
        frontend_.Redraw();
        return;
    }
    ::ClickMap(state_, panel_, frontend_, button, doubleClick, x, y);
}

bool GameSession::ClickKeepsInput(MouseButton button, bool doubleClick, int x, int y) const
{
    // Only a click on a town chooses a town, and so refills the open command.
    return state_.GameActive && button == MouseButton::Left && !doubleClick && TownAt(state_.MapNumber, x, y, -1) < 0;
}

void GameSession::StepTown(int step)
{
    if (!end_)
        StepSelectedTown(state_, panel_, frontend_, step);
}

void GameSession::NextTurn()
{
    if (!state_.GameActive || end_)
        return;
    const bool twoPlayers = state_.TwoPlayer;
    const int moving = state_.CurrentCompany;
    const std::optional<GameEnd> end = GameEndAfterTurn(::NextTurn(state_, frontend_), twoPlayers, moving);
    // A victory leaves a world of emptied companies: the game stops there. The only player's
    // liquidation stops it only with the comforts; otherwise the months run on as they did.
    if (end && stopAtTheEnd_ && (end->Winner >= 0 || state_.Program.Comforts)) {
        end_ = end;
        panel_.CommandMode = kModeGameOver;
        frontend_.Redraw();
    }
}

void GameSession::SwitchLanguage(Language language)
{
    state_.Program.Language = language;
    WriteSetting(state_.Program.ProgramDirectory, settings::kLanguage, std::to_string(LanguageNumber(language)));
}

bool GameSession::RestoreNames() { return ::RestoreNames(state_, frontend_); }
