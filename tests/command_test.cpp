// A player's command as a value: its text form reads back to the same value, a broken line is
// refused with its reason, and the session runs it as the panel's OK would. A refused command
// changes nothing in the game.
#include <gtest/gtest.h>

#include "commands/command.h"
#include "commands/game_session.h"
#include "persistence/savegame.h"
#include "recording_frontend.h"
#include "temp_dir.h"
#include "session_door.h"

namespace {

Command Make(CommandKind kind)
{
    Command c;
    c.Kind = kind;
    return c;
}

struct TextCase {
    const char* Text;
    Command Value;
};

std::vector<TextCase> TextCases()
{
    std::vector<TextCase> cases;
    const auto add = [&](const char* text, CommandKind kind, auto&& fill) {
        Command c = Make(kind);
        fill(c);
        cases.push_back({text, c});
    };
    add("select 7", CommandKind::SelectTown, [](Command& c) { c.Town = 7; });
    add("build-brewery 2", CommandKind::BuildBrewery, [](Command& c) { c.Brand = 2; });
    add("build-brewery -", CommandKind::BuildBrewery, [](Command&) {});
    add("extend 0 5", CommandKind::ExtendBrewery, [](Command& c) {
        c.Brand = 0;
        c.Amount = "5";
    });
    add("extend - -", CommandKind::ExtendBrewery, [](Command&) {});
    add("depot", CommandKind::BuildDepot, [](Command&) {});
    add("new-brand", CommandKind::NewBrand, [](Command&) {});
    add("new-brand yes", CommandKind::NewBrand, [](Command& c) { c.Answer = true; });
    add("new-brand no", CommandKind::NewBrand, [](Command& c) { c.Answer = false; });
    add("prices 1.50 - 2,80", CommandKind::ChangePrices, [](Command& c) { c.Prices = {"1.50", "", "2,80"}; });
    // Typed text is kept exactly: blanks, a percent sign, a lone minus, umlauts.
    add("prices 1%205 %25 %2D", CommandKind::ChangePrices, [](Command& c) { c.Prices = {"1 5", "%", "-"}; });
    add("prices -1 \xC3\xA4%09 --", CommandKind::ChangePrices, [](Command& c) {
        c.Prices = {"-1", "\xC3\xA4\t", "--"};
    });
    add("transport 1 9 400", CommandKind::TransportBeer, [](Command& c) {
        c.Brand = 1;
        c.Town = 9;
        c.Amount = "400";
    });
    add("transport - - -", CommandKind::TransportBeer, [](Command&) {});
    add("transfer 0 1000.5", CommandKind::TransferMoney, [](Command& c) {
        c.Town = 0;
        c.Amount = "1000.5";
    });
    add("order money 3 4 250", CommandKind::NewOrder, [](Command& c) {
        c.Brand = kMoneyGoods;
        c.FromTown = 3;
        c.Town = 4;
        c.Amount = "250";
    });
    add("order 2 - 1 abc", CommandKind::NewOrder, [](Command& c) {
        c.Brand = 2;
        c.Town = 1;
        c.Amount = "abc";
    });
    add("delete-order 10 yes", CommandKind::DeleteOrder, [](Command& c) {
        c.Order = 10;
        c.Answer = true;
    });
    add("delete-order -", CommandKind::DeleteOrder, [](Command&) {});
    add("next-turn", CommandKind::NextTurn, [](Command&) {});
    return cases;
}

}  // namespace

TEST(CommandText, EveryKindReadsBackToTheSameValue)
{
    bool seen[static_cast<int>(CommandKind::NextTurn) + 1] = {};
    for (const auto& c : TextCases()) {
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(CommandText(c.Value), c.Text);
        Command back;
        std::string error;
        ASSERT_TRUE(ParseCommand(c.Text, back, error)) << error;
        EXPECT_EQ(back, c.Value);
        seen[static_cast<int>(c.Value.Kind)] = true;
    }
    for (bool kind : seen)
        EXPECT_TRUE(kind) << "a command kind without a case";
}

TEST(CommandText, AnyRunOfBlanksSeparatesTheWords)
{
    Command c;
    std::string error;
    ASSERT_TRUE(ParseCommand("  transfer \t 4   12\r\n", c, error)) << error;
    EXPECT_EQ(CommandText(c), "transfer 4 12");
}

TEST(CommandText, ABrokenLineIsRefusedWithItsReason)
{
    const struct {
        const char* Text;
        const char* Reason;
    } cases[] = {
        {"", "a command is missing"},
        {"bulid-brewery 0", "unknown action 'bulid-brewery'"},
        {"select", "usage: select TOWN"},
        {"select -", "TOWN must be from 0 to 9, not '-'"},
        {"select 10", "TOWN must be from 0 to 9, not '10'"},
        {"build-brewery 3", "BRAND must be from 0 to 2, not '3'"},
        {"extend 0", "usage: extend BRAND COUNT"},
        {"depot now", "usage: depot"},
        {"new-brand maybe", "the answer must be yes or no, not 'maybe'"},
        {"prices 1 2", "usage: prices P1 P2 P3"},
        {"prices 1%2 2 3", "a typed field has a broken %-escape: '1%2'"},
        {"prices 1%zz 2 3", "a typed field has a broken %-escape: '1%zz'"},
        {"transport 0 -1 5", "TOWN must be from 0 to 9, not '-1'"},
        {"order beer 0 1 5", "BRAND must be from 0 to 2, not 'beer'"},
        {"order 0 0 12 5", "TO must be from 0 to 9, not '12'"},
        {"delete-order 11 yes", "NUMBER must be from 1 to 10, not '11'"},
        {"delete-order 1 yes no", "usage: delete-order NUMBER [yes|no]"},
        {"next-turn 1", "usage: next-turn"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        Command out = Make(CommandKind::BuildDepot);
        std::string error;
        EXPECT_FALSE(ParseCommand(c.Text, out, error));
        EXPECT_EQ(error, c.Reason);
        EXPECT_EQ(out, Make(CommandKind::BuildDepot)) << "a refused line leaves the value alone";
    }
}

namespace {

struct SessionCommands : ::testing::Test {
    TempDir dir;
    RecordingFrontend frontend;
    GameSession session{frontend, dir.Str()};

    void SetUp() override
    {
        session.SetSeed(11);
        session.NewGame(NewGameSettings{});
    }
    CommandResult Run(const char* text)
    {
        Command c;
        std::string error;
        EXPECT_TRUE(ParseCommand(text, c, error)) << error;
        return session.Execute(c);
    }
};

}  // namespace

TEST_F(SessionCommands, ARefusedCommandChangesNothingAndSaysWhy)
{
    const int home = session.State().SelectedTown;
    const int other = (home + 1) % kTowns;
    const std::string far = std::to_string(other);
    const std::string lines[] = {
        "build-brewery -",
        "extend 0 99999",
        "extend - 1",
        "transport - " + far + " 100",
        "transport 0 " + far + " 99999999",
        "transfer - 100",
        "transfer " + far + " 99999999",
        "order 0 - " + far + " 100",
        "delete-order 1 yes",
    };
    for (const auto& line : lines) {
        SCOPED_TRACE(line);
        const std::string before = SavegameText(session.State());
        frontend.Messages.clear();
        const CommandResult result = Run(line.c_str());
        EXPECT_FALSE(result.Accepted);
        EXPECT_TRUE(SavegameText(session.State()) == before) << "the refused command changed the game";
        EXPECT_FALSE(frontend.Messages.empty()) << "the player is told why";
        if (session.Panel().CommandMode != PanelMode::Idle)
            session.PressCancel();
    }
}

TEST_F(SessionCommands, WithoutARunningGameEveryCommandIsRefused)
{
    RecordingFrontend quiet;
    GameSession empty(quiet, dir.Str());
    for (const auto& c : TextCases()) {
        SCOPED_TRACE(c.Text);
        EXPECT_FALSE(empty.Execute(c.Value).Accepted);
    }
    EXPECT_EQ(empty.State().MonthCount, 1);
    EXPECT_TRUE(quiet.Messages.empty());
}

TEST_F(SessionCommands, AnAcceptedCommandActsAsThePanelsOk)
{
    const std::string before = SavegameText(session.State());
    const CommandResult prices = Run("prices 3.10 - -");
    EXPECT_TRUE(prices.Accepted);
    EXPECT_EQ(session.Panel().CommandMode, PanelMode::Idle);
    EXPECT_FALSE(SavegameText(session.State()) == before);

    const int next = (session.State().SelectedTown + 3) % kTowns;
    EXPECT_TRUE(Run(("select " + std::to_string(next)).c_str()).Accepted);
    EXPECT_EQ(session.State().SelectedTown, next);

    EXPECT_TRUE(Run("next-turn").Accepted);
    EXPECT_EQ(session.State().MonthCount, 2);
}

TEST_F(SessionCommands, TheQuestionTakesTheCommandsAnswerOrKeepsThePlayers)
{
    // Without an answer the player is asked, and the command as run carries the answer. The
    // offer needs money in the town.
    WritableState(session).Account[session.State().CurrentCompany][session.State().SelectedTown] = 1e6L;
    frontend.Answers = {false};
    const CommandResult asked = Run("new-brand");
    ASSERT_TRUE(asked.Executed.Answer.has_value());
    EXPECT_FALSE(*asked.Executed.Answer);
    const size_t questions = frontend.Messages.size();
    EXPECT_GT(questions, 0u);

    // With its answer nobody is asked: the kept command, run on the same game elsewhere, gives
    // the same game.
    RecordingFrontend quiet;
    GameSession again(quiet, dir.Str());
    again.SetSeed(11);
    again.NewGame(NewGameSettings{});
    WritableState(again).Account[again.State().CurrentCompany][again.State().SelectedTown] = 1e6L;
    const CommandResult replayed = again.Execute(asked.Executed);
    EXPECT_EQ(replayed.Executed, asked.Executed);
    for (const auto& m : quiet.Messages)
        EXPECT_FALSE(m.Question) << "asked again: " << m.Text.English;
    EXPECT_TRUE(SavegameText(again.State()) == SavegameText(session.State()));

    // Once the month's offer is spent the question is not asked: the command as run has no answer.
    const CommandResult spent = again.Execute(asked.Executed);
    EXPECT_FALSE(spent.Accepted);
    EXPECT_FALSE(spent.Executed.Answer.has_value());
}
