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
    // Save writes the game back where it came from, never over the game that was running.
    saveFile_ = path;
    SetCommandMode(state_, panel_, frontend_, kModeIdle);
    return true;
}

LoadStatus GameSession::Load(const std::string& path, std::string* reason)
{
    const LoadStatus status = LoadGameFile(state_, path, reason);
    if (status == LoadStatus::Loaded) {
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
    return SaveGame(state_, saveFile_, frontend_).Status;
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
    return WriteSavegameFile(state_, path, reason);
}

bool GameSession::MayClose(bool autosaveOnExit, const std::string& autosavePath)
{
    return MayCloseWindow(state_, autosaveOnExit, frontend_, autosavePath);
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
