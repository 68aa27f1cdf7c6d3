/// @file hosted_game.cpp One game the server referees.
#include "server/hosted_game.h"

#include <QCryptographicHash>

#include "persistence/savegame.h"

std::string StateDigest(const GameState& state)
{
    const std::string text = SavegameText(state);
    return QCryptographicHash::hash(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())),
                                    QCryptographicHash::Sha256)
        .toHex()
        .toStdString();
}

void SeatFrontend::BeginCommand(int /*seat*/)
{
    answer_.clear();
    inAnswer_ = true;
}

std::vector<std::string> SeatFrontend::TakeAnswer()
{
    inAnswer_ = false;
    return std::move(answer_);
}

std::optional<int> SeatFrontend::TakeTurnStarted()
{
    const std::optional<int> seat = turnStarted_;
    turnStarted_.reset();
    return seat;
}

void SeatFrontend::Add(const std::string& line)
{
    if (inAnswer_)
        answer_.push_back(line);
    else
        turn_[newsSeat_ == 2 ? 1 : 0].push_back(line);
}

void SeatFrontend::ShowMessage(const LocalText& text, const LocalText& caption, MessageIcon)
{
    Add(caption.English.empty() ? text.English : caption.English + ": " + text.English);
}

bool SeatFrontend::AskYesNo(const LocalText& text, const LocalText& caption)
{
    // Nobody is asked on the server: a command brings its answer; any other question is "No", as
    // the simulator answers it.
    Add((caption.English.empty() ? text.English : caption.English + ": " + text.English) + " (answered: no)");
    return false;
}

void SeatFrontend::HandOverTo(int company)
{
    newsSeat_ = state_ && company == state_->PlayerCompany[1] ? 2 : 1;
    inAnswer_ = false;
    turn_[newsSeat_ - 1].clear();
    turnStarted_ = newsSeat_;
}

HostedGame::HostedGame(const std::string& programDirectory, const NewGameSettings& settings, uint32_t seed)
    : session_(frontend_, programDirectory)
{
    frontend_.Watch(&session_.State());
    session_.SetSeed(seed);
    // The take-over announcements are player 1's news of the first turn.
    session_.NewGame(settings);
}

int HostedGame::SeatOnTurn() const
{
    const GameState& s = session_.State();
    return s.CurrentCompany == s.PlayerCompany[1] ? 2 : 1;
}

PlayOutcome HostedGame::Play(const Command& command)
{
    frontend_.BeginCommand(SeatOnTurn());
    PlayOutcome outcome;
    if (command.Kind == CommandKind::NextTurn) {
        session_.NextTurn();
        outcome.Accepted = true;
        outcome.Executed = CommandText(command);
    } else {
        const CommandResult result = session_.Execute(command);
        if (command.Kind != CommandKind::SelectTown && session_.Panel().CommandMode != PanelMode::Idle)
            session_.PressCancel();
        outcome.Accepted = result.Accepted;
        outcome.Executed = CommandText(result.Executed);
    }
    outcome.Messages = frontend_.TakeAnswer();
    outcome.TurnStarted = frontend_.TakeTurnStarted();
    return outcome;
}
