/// @file game_session.cpp The game with its panel and its file, and the player's actions.
#include "commands/game_session.h"
#include "game/status_line.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "commands/logistics.h"
#include "commands/order_commands.h"
#include "engine/end_of_game.h"
#include "engine/month_digest.h"
#include "engine/month_record.h"
#include "engine/turn.h"
#include "game/text.h"
#include "game/names_file.h"
#include "persistence/settings.h"
#include "platform/cp1252.h"
#include "platform/ini_file.h"

namespace {

const LocalText kSaveRunningGame{"Save the running game?", "Das laufende Spiel speichern?"};
// The close questions' caption.

}  // namespace

GameSession::GameSession(Frontend& frontend, std::string programDirectory) : frontend_(frontend)
{
    state_.Program.ProgramDirectory = std::move(programDirectory);
    // A whole path: a program directory given as a relative one is taken as the session starts,
    // not as whatever the working directory is at the close.
    const std::string path = platform::PathIn(state_.Program.ProgramDirectory, kAutosaveFileName);
    std::error_code error;
    const std::filesystem::path whole = std::filesystem::absolute(path, error);
    autosavePath_ = error ? path : whole.string();
}

namespace {

WorldNames NamesOf(const GameState& s) { return {s.CompanyName, s.BrandName}; }

}  // namespace

void GameSession::NewGame(const NewGameSettings& settings)
{
    MakeWorld(settings, NamesForNewWorld(state_, settings));
    SetCommandMode(state_, panel_, frontend_, PanelMode::Idle);
}

void GameSession::MakeWorld(const NewGameSettings& settings, const WorldNames& names)
{
    // A new game belongs to no file yet: its first Save asks for one.
    saveFile_.clear();
    end_.reset();
    // A new game's record is whole from its first month: nothing was lost to note.
    historyLoad_ = HistoryLoad::Loaded;
    const uint64_t random = state_.Program.Rng.State();
    GenerateWorld(state_, settings, names, frontend_);
    // The world follows from these alone: the settings, the names file's names, the generator.
    GameInputs& inputs = state_.History.Inputs;
    inputs = GameInputs{};
    inputs.Start.Kind = StartKind::NewWorld;
    // The typed texts as far as the world reads them, so that the record can always hold them.
    inputs.Start.Settings = settings;
    inputs.Start.Settings.WinningShareText = Utf8Prefix(settings.WinningShareText, kShareFieldLength);
    inputs.Start.Settings.Player1Name = Utf8Prefix(settings.Player1Name, kTypedNameLength);
    inputs.Start.Settings.Player2Name = Utf8Prefix(settings.Player2Name, kTypedNameLength);
    inputs.Start.At = TakenUp{random, MonthDigest(state_), names};
    Keep();
}

bool GameSession::Open(const std::string& path)
{
    OpenedPair pair = ReadGameAndRecord(path);
    if (pair.Game == LoadStatus::Loaded)
        TakeOver(path, pair);
    if (!ShowOpened(state_, pair.Game, frontend_))
        return false;
    // How the record beside it was read stays with the session (the business history says it):
    // the status line keeps the game's own line.
    SetCommandMode(state_, panel_, frontend_, PanelMode::Idle);
    if (end_) {
        panel_.CommandMode = PanelMode::GameOver;
        frontend_.Redraw();
    }
    return true;
}

LoadStatus GameSession::Load(const std::string& path, std::string* reason)
{
    OpenedPair pair = ReadGameAndRecord(path, reason);
    if (pair.Game == LoadStatus::Loaded) {
        TakeOver(path, pair);
        panel_.CommandMode = end_ ? PanelMode::GameOver : PanelMode::Idle;
    }
    return pair.Game;
}

void GameSession::TakeOver(const std::string& path, OpenedPair& pair)
{
    const uint64_t random = state_.Program.Rng.State();
    ApplySavegame(state_, *pair.Content);
    historyLoad_ = pair.Record;
    historyReason_ = pair.RecordReason;
    if (historyLoad_ == HistoryLoad::Loaded) {
        state_.History = std::move(pair.History);
        NoteMoneyOfOpenedGame(state_);
    } else {
        state_.History.Clear();
    }
    // Save writes the game back where it came from, never over the game that was running.
    saveFile_ = path;
    end_.reset();
    // A game saved after its end opens as ended where the session stops there; where the months
    // go on (tavrek-sim), they go on from here and the game is no longer over.
    if (state_.History.End && stopAtTheEnd_) {
        const RecordedEnd& e = *state_.History.End;
        end_ = GameEnd{e.Winner, e.HumanWon, e.Points, e.LastPlayer};
    } else {
        state_.History.End.reset();
    }
    // The game goes on from its savegame: after the inputs that made it, where the record holds
    // them, or from the savegame itself. The generator and the names are the program's, so they
    // are kept with it.
    const TakenUp at{random, MonthDigest(state_), NamesOf(state_)};
    GameInputs& inputs = state_.History.Inputs;
    if (inputs.Replayable()) {
        KeepTakenUp(InputKind::Reopened, at);
    } else {
        inputs = GameInputs{};
        inputs.Start.Kind = StartKind::Savegame;
        inputs.Start.At = at;
        inputs.Start.Savegame = std::move(pair.Text);
    }
    Keep();
}

SaveStatus GameSession::Save()
{
    if (!state_.GameActive)
        return SaveStatus::NoGame;
    if (saveFile_.empty())
        return SaveStatus::CannotOpen;
    const PairSave saved = WriteTo(saveFile_);
    ShowSaveResult(saveFile_, saved.Game, frontend_);
    if (saved.Game) {
        Keep();
        TellRecord(saveFile_, saved, leaving_);
    }
    return saved.Game.Status;
}

SaveStatus GameSession::SaveAs(const std::string& path)
{
    if (!state_.GameActive)
        return SaveStatus::NoGame;
    saveFile_ = path;
    return Save();
}

PairSave GameSession::WriteTo(const std::string& path, std::string* reason) const
{
    if (path.empty()) {
        if (reason)
            *reason = "no file name";
        PairSave none;
        none.Game = SaveResult{SaveStatus::CannotOpen, SaveProblem::NoFileName};
        return none;
    }
    try {
        return WriteGameAndRecord(path, SavegameText(state_), state_.MonthCount, state_.History, reason);
    } catch (const std::exception& e) {
        if (reason)
            *reason = Format("cannot save '%s': %s", path.c_str(), e.what());
        PairSave failed;
        failed.Game = SaveResult{SaveStatus::WriteFailed};
        return failed;
    }
}

void GameSession::TellRecord(const std::string& path, const PairSave& saved, bool inBox)
{
    lastRecordSave_ = saved.Record;
    switch (saved.Record) {
    case RecordSave::Saved:
        break;
    case RecordSave::NotARecord:
        frontend_.ShowMessage(NotARecordNote(HistoryFileName(path)), FileErrorCaption(), MessageIcon::Warning);
        break;
    case RecordSave::Failed:
        // The status line goes with the window or the game being left: then a box says it.
        if (inBox)
            frontend_.ShowMessage(HistoryNotSavedNote(), FileErrorCaption(), MessageIcon::Warning);
        else
            frontend_.ShowStatusLine(HistoryNotSavedNote());
        break;
    }
}

bool GameSession::LeaveWithoutQuestion(std::string* why)
{
    bool kept = true;
    const std::string autosavePath = AutosavePath();
    if (state_.GameActive && state_.Program.AutosaveOnExit) {
        const PairSave saved = WriteTo(autosavePath, why);
        kept = static_cast<bool>(saved.Game);
        if (kept && saved.Record != RecordSave::Saved) {
            if (why)
                *why = Format("the game was saved to '%s', but not its history: %s", autosavePath.c_str(),
                              saved.RecordReason.c_str());
            kept = false;
        }
    }
    Leave();
    return kept;
}

bool GameSession::MayClose()
{
    if (!state_.GameActive)
        return true;
    // A failed autosave must not lose the game silently: the player is told, then asked.
    if (state_.Program.AutosaveOnExit) {
        const std::string autosavePath = AutosavePath();
        const PairSave saved = WriteTo(autosavePath);
        ShowSaveResult(autosavePath, saved.Game, frontend_);
        if (saved.Game) {
            TellRecord(autosavePath, saved, true);
            Leave();
            return true;
        }
    }
    if (frontend_.AskYesNo({"Do you really want to leave this game?", "Wollen Sie das Spiel wirklich beenden?"},
                           CapitalGameTitle())) {
        Leave();
        return true;
    }
    return false;
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
    if (end_ && panel_.CommandMode == PanelMode::GameOver)
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

GameSession::Leaving GameSession::BeforeReplacingGame()
{
    // The game as it always was: New and Open replace the running game without a word.
    if (!state_.Program.Comforts || !Changed())
        return Leaving::Go;
    switch (frontend_.AskYesNoCancel(kSaveRunningGame, CapitalGameTitle())) {
    case YesNoCancel::Yes:
        return Leaving::SaveFirst;
    case YesNoCancel::No:
        return Leaving::Go;
    case YesNoCancel::Cancel:
        break;
    }
    return Leaving::Stay;
}

GameSession::Leaving GameSession::BeforeClosing()
{
    // Autosave keeps the game by itself; an unchanged game has nothing to lose. Without the
    // comforts every close asks the game's own question.
    if (!state_.Program.Comforts || state_.Program.AutosaveOnExit || !Changed())
        return MayClose() ? Leaving::Go : Leaving::Stay;
    const Leaving leaving = BeforeReplacingGame();
    if (leaving == Leaving::Go)
        Leave();
    return leaving;
}

void GameSession::EnterMode(PanelMode mode)
{
    // An ended game offers no command.
    if (!end_)
        SetCommandMode(state_, panel_, frontend_, mode);
}

namespace {

// The question a command asks gets the command's answer without asking anyone; without one the
// player is asked, and the answer is kept with the command.
// It also notes whether the rules turned the command down: they tell the player why in a warning.
class CommandAnswers : public ForwardingFrontend {
public:
    CommandAnswers(Frontend& inner, std::optional<bool>& answer) : ForwardingFrontend(inner), answer_(answer) {}
    void ShowMessage(const LocalText& text, const LocalText& caption, MessageIcon icon) override
    {
        refused_ = refused_ || icon == MessageIcon::Warning;
        inner_.ShowMessage(text, caption, icon);
    }
    bool AskYesNo(const LocalText& text, const LocalText& caption) override
    {
        asked_ = true;
        if (!answer_)
            answer_ = inner_.AskYesNo(text, caption);
        return *answer_;
    }
    YesNoCancel AskYesNoCancel(const LocalText& text, const LocalText& caption) override
    {
        return Frontend::AskYesNoCancel(text, caption);
    }

    bool Refused() const { return refused_; }
    bool Asked() const { return asked_; }

private:
    std::optional<bool>& answer_;
    bool refused_ = false;
    bool asked_ = false;
};

// The entry a player would click: the wanted text if the list offers it, else nothing.
std::optional<std::string> Choose(const std::vector<std::string>& list, const std::string& wanted)
{
    if (std::find(list.begin(), list.end(), wanted) != list.end())
        return wanted;
    return std::nullopt;
}

// The first entry that begins with the prefix.
std::optional<std::string> ChooseByStart(const std::vector<std::string>& list, const std::string& prefix)
{
    for (const auto& entry : list)
        if (entry.compare(0, prefix.size(), prefix) == 0)
            return entry;
    return std::nullopt;
}

bool IsTown(int town) { return town >= 0 && town < kTowns; }
bool IsBrand(int brand) { return brand >= 0 && brand < kBrands; }

}  // namespace

void GameSession::OpenCommand(CommandKind kind, int town)
{
    const PanelMode mode = ModeOfCommand(kind);
    if (!state_.GameActive || end_ || !IsTown(town) || mode == PanelMode::None)
        return;
    // From the idle panel, as the player would: a click on the town, then the command's button.
    EnterMode(PanelMode::Idle);
    ClickTown(state_, panel_, frontend_, town);
    EnterMode(mode);
}

namespace {

// The panel's inputs a player gives for the command: each choice picked from the list as the
// panel shows it (a choice the list does not offer stays unpicked), each field as typed.
PanelInputs InputsFor(const GameState& s, const PanelContent& panel, const Command& c)
{
    const int company = s.CurrentCompany;
    const bool brand = IsBrand(c.Brand);
    PanelInputs in;
    in.Edit1 = panel.Edit1;
    in.Edit2 = panel.Edit2;
    in.Edit3 = panel.Edit3;
    in.Edit4 = panel.Edit4;
    in.Edit5 = panel.Edit5;
    switch (c.Kind) {
    case CommandKind::BuildBrewery:
        in.ListBox1 = brand ? Choose(panel.ListBox1, s.BrandName[company][c.Brand]) : std::nullopt;
        break;
    case CommandKind::ExtendBrewery:
        in.ListBox1 = brand ? Choose(panel.ListBox1, s.BrandName[company][c.Brand]) : std::nullopt;
        in.Edit1 = c.Amount;
        break;
    case CommandKind::ChangePrices:
        in.Edit2 = c.Prices[0];
        in.Edit3 = c.Prices[1];
        in.Edit4 = c.Prices[2];
        break;
    case CommandKind::TransportBeer:
        in.ListBox3 = brand ? ChooseByStart(panel.ListBox3, Format("%d. ", c.Brand + 1)) : std::nullopt;
        in.ListBox4 = IsTown(c.Town) && IsTown(s.SelectedTown)
                          ? Choose(panel.ListBox4, TransportDestinationEntry(s, s.SelectedTown, c.Town))
                          : std::nullopt;
        in.Edit5 = c.Amount;
        break;
    case CommandKind::TransferMoney:
        in.ListBox4 = IsTown(c.Town) ? Choose(panel.ListBox4, s.TownName[c.Town]) : std::nullopt;
        in.Edit5 = c.Amount;
        break;
    case CommandKind::NewOrder:
        if (c.Brand == kMoneyGoods)
            in.ListBox6 = Choose(panel.ListBox6, kOrderMoneyEntry);
        else if (brand)
            in.ListBox6 = Choose(panel.ListBox6, OrderBeerEntry(s, company, c.Brand));
        in.ListBox5 = IsTown(c.FromTown) ? Choose(panel.ListBox5, s.TownName[c.FromTown]) : std::nullopt;
        in.ListBox4 = IsTown(c.Town) ? Choose(panel.ListBox4, s.TownName[c.Town]) : std::nullopt;
        in.Edit5 = c.Amount;
        break;
    case CommandKind::DeleteOrder:
        in.ListBox2 = c.Order >= 1 && c.Order <= kOrderSlots ? ChooseByStart(panel.ListBox2, Format("%d.:", c.Order))
                                                             : std::nullopt;
        break;
    default:
        break;
    }
    return in;
}

}  // namespace

CommandResult GameSession::Execute(const Command& command)
{
    const int32_t month = state_.MonthCount;
    const int32_t company = state_.CurrentCompany;
    const std::size_t months = state_.History.Months.size();
    CommandResult result = Run(command);
    // A refused command changed nothing: the record keeps what ran, with its answer.
    if (result.Accepted)
        KeepInput(month, company, result.Executed);
    DigestClosedMonths(months);
    return result;
}

CommandResult GameSession::Run(const Command& command)
{
    CommandResult result{false, command};
    if (!state_.GameActive || end_)
        return result;
    switch (command.Kind) {
    case CommandKind::SelectTown:
        if (!IsTown(command.Town))
            return result;
        ClickTown(state_, panel_, frontend_, command.Town);
        result.Accepted = true;
        return result;
    case CommandKind::NextTurn:
        EndTurn();
        result.Accepted = true;
        return result;
    default:
        break;
    }
    const PanelMode mode = ModeOfCommand(command.Kind);
    // The command's button or menu entry, unless its mode is open already.
    if (panel_.CommandMode != mode)
        EnterMode(mode);
    if (panel_.CommandMode != mode)
        return result;
    const PanelInputs inputs = InputsFor(state_, ComputePanelContent(state_, mode), command);
    // Some refusals come after the command has spent something (a brand's offer is gone once
    // made): those count as run, so that a refused command is one that changed nothing.
    const GameData before = state_;
    const uint64_t drawsBefore = state_.Program.Rng.State();
    CommandAnswers answers(frontend_, result.Executed.Answer);
    ::PressOk(state_, panel_, inputs, answers);
    // The command as it ran: an answer the rules never asked for is no part of it.
    if (!answers.Asked())
        result.Executed.Answer.reset();
    const bool changed = !(static_cast<const GameData&>(state_) == before) || state_.Program.Rng.State() != drawsBefore;
    result.Accepted = changed || !(answers.Refused() || panel_.CommandMode == mode);
    return result;
}

void GameSession::PressOk()
{
    // A command's OK comes as the command (Execute), which the record keeps; the other modes'
    // OK only turns a page or closes a view.
    if (!end_ && !CommandOfMode(panel_.CommandMode))
        ::PressOk(state_, panel_, PanelInputs{}, frontend_);
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
    // A click on a town chooses it, as the command a game's record keeps; a right or double
    // click then opens its information. A click beside the towns keeps the town.
    const int town = state_.GameActive ? TownAt(state_.MapNumber, x, y, -1) : -1;
    if (town < 0) {
        ::ClickMap(state_, panel_, frontend_, button, doubleClick, x, y);
        return;
    }
    Command choice;
    choice.Kind = CommandKind::SelectTown;
    choice.Town = town;
    Execute(choice);
    if (button == MouseButton::Right || doubleClick)
        EnterMode(PanelMode::TownInformation);
}

bool GameSession::ClickKeepsInput(MouseButton button, bool doubleClick, int x, int y) const
{
    // Only a click on a town chooses a town, and so refills the open command.
    return state_.GameActive && button == MouseButton::Left && !doubleClick && TownAt(state_.MapNumber, x, y, -1) < 0;
}

void GameSession::StepTown(int step)
{
    const int town = end_ ? -1 : SteppedTown(state_, panel_, step);
    if (town < 0)
        return;
    Command choice;
    choice.Kind = CommandKind::SelectTown;
    choice.Town = town;
    Execute(choice);
}

void GameSession::NextTurn()
{
    Command next;
    next.Kind = CommandKind::NextTurn;
    Execute(next);
}

void GameSession::EndTurn()
{
    if (!state_.GameActive || end_)
        return;
    const bool twoPlayers = state_.TwoPlayer;
    const int moving = state_.CurrentCompany;
    // The score to beat is read only where somebody can win this turn: the table is a file.
    bool winnable = false;
    for (int c = 0; c < kCompanies && !winnable; ++c)
        winnable = MarketShare(state_, c) >= state_.WinningShare;
    const int map = state_.MapNumber >= 1 && state_.MapNumber <= kMaps ? state_.MapNumber - 1 : 0;
    const int32_t best = winnable ? ReadBestScore(state_.Program.ProgramDirectory, map) : 0;
    const TurnOutcome outcome = ::NextTurn(state_, frontend_, best);
    // The month has told the player; its highscore is kept before anything else happens.
    if (outcome.Highscore)
        RecordHighscore(state_.Program.ProgramDirectory, outcome.Highscore->Map, outcome.Highscore->Holder,
                        outcome.Highscore->Points);
    const std::optional<GameEnd> end = GameEndAfterTurn(outcome, twoPlayers, moving);
    // A victory leaves a world of emptied companies: the game stops there. The only player's
    // liquidation stops it only with the comforts; otherwise the months run on as they did.
    if (end && stopAtTheEnd_ && (end->Winner >= 0 || state_.Program.Comforts)) {
        end_ = end;
        state_.History.End = RecordedEnd{end->Winner, end->HumanWon, end->Points, end->LastPlayer};
        panel_.CommandMode = PanelMode::GameOver;
        frontend_.Redraw();
    }
}

void GameSession::SwitchLanguage(Language language)
{
    state_.Program.Language = language;
    WriteSetting(state_.Program.ProgramDirectory, settings::kLanguage, std::to_string(LanguageNumber(language)));
}

bool GameSession::EnsureNamesFile()
{
    const std::string path = platform::PathIn(state_.Program.ProgramDirectory, kNamesFileName);
    if (!std::filesystem::exists(path))
        WriteDefaultNames(state_);
    return std::filesystem::exists(path);
}

StartupSettings GameSession::StartProgram(const std::optional<std::string>& legacyDirectory, uint32_t seed)
{
    const StartupSettings startup = ReadStartupSettings(state_.Program.ProgramDirectory, legacyDirectory);
    state_.Program.Language = startup.Language;
    state_.Program.Rng.Seed(seed);
    state_.Program.SoundOn = startup.SoundOn;
    state_.Program.AutosaveOnExit = startup.AutosaveOnExit;
    state_.Program.Comforts = startup.Comforts;
    return startup;
}

void GameSession::SetSeed(uint32_t seed) { state_.Program.Rng.Seed(seed); }

void GameSession::SetSoundOn(bool on)
{
    state_.Program.SoundOn = on;
    WriteOnOff(state_.Program.ProgramDirectory, settings::kSound, on);
}

void GameSession::SetAutosaveOnExit(bool on)
{
    state_.Program.AutosaveOnExit = on;
    WriteOnOff(state_.Program.ProgramDirectory, settings::kAutosave, on);
}

bool GameSession::HandOverScreen() const
{
    return ReadOnOff(state_.Program.ProgramDirectory, settings::kHandOverScreen);
}

void GameSession::SetHandOverScreen(bool on)
{
    WriteOnOff(state_.Program.ProgramDirectory, settings::kHandOverScreen, on);
}

bool GameSession::MonthReport() const { return ReadOnOff(state_.Program.ProgramDirectory, settings::kMonthReport); }

void GameSession::SetMonthReport(bool on) { WriteOnOff(state_.Program.ProgramDirectory, settings::kMonthReport, on); }

void GameSession::SetZoom(int32_t zoom) { WriteZoom(state_.Program.ProgramDirectory, zoom); }

void GameSession::Adopt(const GameData& game)
{
    static_cast<GameData&>(state_) = game;
    // A game of its own: no file, no record of months before it, not ended.
    state_.History.Clear();
    historyLoad_ = HistoryLoad::Loaded;
    saveFile_.clear();
    end_.reset();
    Keep();
    SetCommandMode(state_, panel_, frontend_, PanelMode::Idle);
}

bool GameSession::RestoreNames()
{
    const bool restored = ::RestoreNames(state_, frontend_);
    if (restored && state_.GameActive)
        KeepTakenUp(InputKind::Names, TakenUp{0, 0, NamesOf(state_)});
    return restored;
}

void GameSession::KeepInput(int32_t month, int32_t company, const Command& command)
{
    GameInputs& inputs = state_.History.Inputs;
    if (inputs.Replayable())
        inputs.Entries.push_back({month, company, InputKind::Command, 0, CommandText(command)});
}

void GameSession::KeepTakenUp(InputKind kind, const TakenUp& at)
{
    GameInputs& inputs = state_.History.Inputs;
    if (!inputs.Replayable())
        return;
    inputs.Entries.push_back(
        {state_.MonthCount, state_.CurrentCompany, kind, static_cast<uint32_t>(inputs.Details.size()), std::string()});
    inputs.Details.push_back(at);
}

void GameSession::KeepTownChoice(int32_t month, int32_t company, int32_t before)
{
    if (!state_.GameActive || state_.SelectedTown == before)
        return;
    Command select;
    select.Kind = CommandKind::SelectTown;
    select.Town = state_.SelectedTown;
    KeepInput(month, company, select);
}

void GameSession::DigestClosedMonths(std::size_t months)
{
    auto& closed = state_.History.Months;
    for (std::size_t i = std::min(months, closed.size()); i < closed.size(); ++i)
        if (closed[i].Digest == 0)
            closed[i].Digest = MonthDigest(state_);
}

bool GameSession::BeginRecorded(const GameStart& start, std::string* reason)
{
    const auto fail = [&](const char* why) {
        if (reason)
            *reason = why;
        return false;
    };
    state_.Program.Rng.SetState(start.At.Random);
    switch (start.Kind) {
    case StartKind::Unknown:
        return fail("the record does not say how the game began");
    case StartKind::NewWorld:
        MakeWorld(start.Settings, start.At.Names);
        break;
    case StartKind::Savegame: {
        std::string why;
        const auto content = ParseSavegame(start.Savegame, &why);
        if (!content) {
            if (reason)
                *reason = "the savegame the game began with cannot be read: " + why;
            return false;
        }
        ApplySavegame(state_, *content);
        state_.CompanyName = start.At.Names.Company;
        state_.BrandName = start.At.Names.Brand;
        state_.History.Clear();
        saveFile_.clear();
        end_.reset();
        historyLoad_ = HistoryLoad::Loaded;
        GameInputs& inputs = state_.History.Inputs;
        inputs.Start = start;
        inputs.Start.At.Digest = MonthDigest(state_);
        Keep();
        break;
    }
    }
    SetCommandMode(state_, panel_, frontend_, PanelMode::Idle);
    if (state_.History.Inputs.Start.At.Digest != start.At.Digest)
        return fail("the game does not begin as recorded (its digest differs)");
    return true;
}

bool GameSession::ReplayTakenUp(const RecordedInput& input, const TakenUp& at, std::string* reason)
{
    if (!state_.GameActive) {
        if (reason)
            *reason = "no game is running";
        return false;
    }
    if (input.Kind == InputKind::Reopened) {
        // Saved and opened again: the game as its savegame gave it back, with the generator of
        // the program that opened it.
        std::string why;
        const auto content = ParseSavegame(SavegameText(state_), &why);
        if (!content) {
            if (reason)
                *reason = "the game cannot be saved and opened again: " + why;
            return false;
        }
        ApplySavegame(state_, *content);
        NoteMoneyOfOpenedGame(state_);
        state_.Program.Rng.SetState(at.Random);
        end_.reset();
    }
    state_.CompanyName = at.Names.Company;
    state_.BrandName = at.Names.Brand;
    KeepTakenUp(input.Kind, input.Kind == InputKind::Reopened ? TakenUp{at.Random, MonthDigest(state_), at.Names}
                                                              : TakenUp{0, 0, at.Names});
    if (input.Kind == InputKind::Reopened && MonthDigest(state_) != at.Digest) {
        if (reason)
            *reason = "the game opened again differs from the replayed one (its digest differs)";
        return false;
    }
    return true;
}
