/// @file game_session.cpp The game with its panel and its file, and the player's actions.
#include "commands/game_session.h"

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
    GenerateWorld(state_, settings, frontend_);
    SetCommandMode(state_, panel_, frontend_, kModeIdle);
}

bool GameSession::Open(const std::string& path)
{
    if (!OpenGame(state_, path, frontend_))
        return false;
    ReadHistoryBeside(path);
    if (const auto note = HistoryNote(historyLoad_))
        frontend_.ShowStatusLine(*note);
    // Save writes the game back where it came from, never over the game that was running.
    saveFile_ = path;
    SetCommandMode(state_, panel_, frontend_, kModeIdle);
    return true;
}

LoadStatus GameSession::Load(const std::string& path, std::string* reason)
{
    const LoadStatus status = LoadGameFile(state_, path, reason);
    if (status == LoadStatus::Loaded) {
        ReadHistoryBeside(path);
        saveFile_ = path;
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
    if (status == SaveStatus::Saved && !WriteHistoryBeside(saveFile_))
        frontend_.ShowStatusLine(HistoryNotSavedNote());
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

void GameSession::EnterMode(int32_t mode) { SetCommandMode(state_, panel_, frontend_, mode); }

void GameSession::PressOk(const PanelInputs& inputs) { ::PressOk(state_, panel_, inputs, frontend_); }

void GameSession::PressCancel() { ::PressCancel(state_, panel_, frontend_); }

void GameSession::ClickMap(MouseButton button, bool doubleClick, int x, int y)
{
    ::ClickMap(state_, panel_, frontend_, button, doubleClick, x, y);
}

void GameSession::NextTurn()
{
    if (state_.GameActive)
        ::NextTurn(state_, frontend_);
}

void GameSession::SwitchLanguage(Language language)
{
    state_.Program.Language = language;
    WriteSetting(state_.Program.ProgramDirectory, settings::kLanguage, std::to_string(LanguageNumber(language)));
}

bool GameSession::RestoreNames() { return ::RestoreNames(state_, frontend_); }
