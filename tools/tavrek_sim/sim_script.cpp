/// @file sim_script.cpp Scripted player actions for tavrek-sim.
#include "tools/tavrek_sim/sim_script.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <limits>
#include <sstream>

namespace {

bool ParseWhole(const std::string& text, int64_t low, int64_t high, int64_t& out)
{
    int64_t value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || ptr != text.data() + text.size() || value < low || value > high)
        return false;
    out = value;
    return true;
}

}  // namespace

bool SimScript::Load(const std::string& path, std::string& error)
{
    actions_.clear();
    done_.clear();
    if (path.empty())
        return true;
    std::ifstream file(path);
    if (!file) {
        error = "cannot read the commands file '" + path + "'";
        return false;
    }
    return Parse(file, path, error);
}

bool SimScript::Parse(std::istream& in, const std::string& name, std::string& error)
{
    std::vector<ScriptAction> actions;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string word; words >> word;)
            w.push_back(word);
        if (w.empty() || w[0][0] == '#')
            continue;
        const auto fail = [&](const std::string& reason) {
            error = name + ":" + std::to_string(number) + ": " + reason;
            return false;
        };
        ScriptAction a;
        a.Line = number;
        for (const auto& word : w)
            a.Text += (a.Text.empty() ? "" : " ") + word;
        int64_t n = 0;
        if (!ParseWhole(w[0], 1, std::numeric_limits<int32_t>::max(), n))
            return fail("the month must be a whole number from 1, not '" + w[0] + "'");
        a.Month = static_cast<int32_t>(n);
        if (w.size() < 2 || !ParseWhole(w[1], 1, 2, n))
            return fail("the player must be 1 or 2");
        a.Player = static_cast<int>(n);
        if (w.size() < 3)
            return fail("an action is missing");
        std::string rest;
        for (size_t i = 2; i < w.size(); ++i)
            rest += (rest.empty() ? "" : " ") + w[i];
        std::string why;
        if (!ParseCommand(rest, a.Do, why))
            return fail(why);
        // A scripted question needs its answer; a turn ends after its month's lines.
        if (a.Do.Kind == CommandKind::NewBrand && !a.Do.Answer)
            return fail("usage: new-brand yes|no");
        if (a.Do.Kind == CommandKind::DeleteOrder && !a.Do.Answer)
            return fail("usage: delete-order NUMBER yes|no");
        if (a.Do.Kind == CommandKind::NextTurn)
            return fail("next-turn is not written: each turn ends after its month's lines");
        actions.push_back(std::move(a));
    }
    if (in.bad()) {
        error = "cannot read the commands file '" + name + "'";
        return false;
    }
    actions_ = std::move(actions);
    done_.assign(actions_.size(), false);
    return true;
}

void ScriptAnswers::ShowMessage(const LocalText& text, const LocalText& caption, MessageIcon icon)
{
    inner_.ShowMessage(text, caption, icon);
}

bool ScriptAnswers::AskYesNo(const LocalText& text, const LocalText& caption)
{
    const bool innerAnswer = inner_.AskYesNo(text, caption);
    if (!answer_)
        return innerAnswer;
    const bool answer = *answer_;
    answer_.reset();
    std::printf("answer: %s\n", answer ? "yes" : "no");
    return answer;
}

void SimScript::RunTurn(GameSession& session, ScriptAnswers& answers, const std::function<void()>& afterAction)
{
    const GameState& s = session.State();
    const int player = s.CurrentCompany == s.PlayerCompany[0] ? 1 : s.CurrentCompany == s.PlayerCompany[1] ? 2 : 0;
    for (size_t i = 0; i < actions_.size(); ++i) {
        const ScriptAction& a = actions_[i];
        if (done_[i] || a.Month != s.MonthCount || a.Player != player)
            continue;
        done_[i] = true;
        std::printf("> %s\n", a.Text.c_str());
        Run(a, session, answers);
        if (afterAction)
            afterAction();
    }
}

void SimScript::Run(const ScriptAction& a, GameSession& session, ScriptAnswers& answers)
{
    // The command's question is asked and answered from the script, so the question is shown
    // beside its answer.
    Command command = a.Do;
    answers.AnswerNext(command.Answer);
    command.Answer.reset();
    session.Execute(command);
    // A refusal that keeps the panel open: the player gives up with Cancel.
    if (command.Kind != CommandKind::SelectTown && session.Panel().CommandMode != PanelMode::Idle)
        session.PressCancel();
    answers.AnswerNext(std::nullopt);
}
