/// @file sim_script.h Scripted player actions for tavrek-sim, so whole games with human play
/// run headless. Each action goes through the panel exactly as a player's click and OK would.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <istream>
#include <string>
#include <vector>

#include <optional>

#include "commands/command.h"
#include "commands/command_panel.h"
#include "commands/game_session.h"
#include "game/frontend.h"
#include "game/game_state.h"

/// One line of a script: `MONTH PLAYER COMMAND`, the command in its text form.
struct ScriptAction {
    int Line = 0;       ///< line number in the file, from 1
    std::string Text;   ///< the line as written, blanks squeezed
    int32_t Month = 1;  ///< MonthCount at which it runs
    int Player = 1;     ///< 1 or 2
    Command Do;         ///< what the player does, with the answer to its question
};

/// The frontend the scripted game shows through: everything goes to the inner one, but the one
/// question a scripted command asks gets the script's answer (printed beside it).
class ScriptAnswers : public ForwardingFrontend {
public:
    explicit ScriptAnswers(Frontend& inner) : ForwardingFrontend(inner) {}
    /// The answer to the next question; none: the inner frontend answers.
    void AnswerNext(std::optional<bool> answer) { answer_ = answer; }

    void ShowMessage(const LocalText& text, const LocalText& caption, MessageIcon icon) override;
    bool AskYesNo(const LocalText& text, const LocalText& caption) override;
    /// Through AskYesNo, where the script's answer is.
    YesNoCancel AskYesNoCancel(const LocalText& text, const LocalText& caption) override
    {
        return Frontend::AskYesNoCancel(text, caption);
    }

private:
    std::optional<bool> answer_;
};

class SimScript {
public:
    /// Reads a script file. An empty path gives an empty script. On a fault returns false and
    /// sets `error` to "FILE:LINE: reason" (or a reason for an unreadable file).
    bool Load(const std::string& path, std::string& error);
    /// Reads a script from a stream; `name` stands for the file in error texts.
    bool Parse(std::istream& in, const std::string& name, std::string& error);

    /// Runs the moving player's actions of the current month, in file order. Call it at the
    /// start of each human turn, before "Next Turn". `afterAction`, when given, is called after
    /// each action.
    void RunTurn(GameSession& session, ScriptAnswers& answers, const std::function<void()>& afterAction = {});

    const std::vector<ScriptAction>& Actions() const { return actions_; }

private:
    void Run(const ScriptAction& action, GameSession& session, ScriptAnswers& answers);

    std::vector<ScriptAction> actions_;
    std::vector<bool> done_;
};
