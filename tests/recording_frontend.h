/// @file recording_frontend.h A frontend for tests: keeps everything the rules show and
/// answers Yes/No questions from a script.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "game/frontend.h"

class RecordingFrontend : public Frontend {
public:
    struct Message {
        LocalText Text;
        LocalText Caption;
        MessageIcon Icon = MessageIcon::None;
        bool Question = false;
    };

    std::vector<Message> Messages;
    std::vector<int> Sounds;
    std::vector<LocalText> StatusLines;
    std::vector<LocalText> Captions;
    std::vector<std::vector<int>> Animations;
    int Redraws = 0;
    int BestOpponentDialogs = 0;
    std::deque<bool> Answers;  ///< answers to the next questions; "No" when empty
    /// Answers to the next Yes/No/Cancel questions; "No" when empty.
    std::deque<YesNoCancel> ThreeWayAnswers;
    int HandOvers = 0;  ///< two-player hand-overs announced
    /// Runs as each message box, question or best-opponent dialog would appear.
    std::function<void()> OnBox;

    void ShowMessage(const LocalText& text, const LocalText& caption, MessageIcon icon) override
    {
        if (OnBox)
            OnBox();
        Messages.push_back({text, caption, icon, false});
    }
    bool AskYesNo(const LocalText& text, const LocalText& caption) override
    {
        if (OnBox)
            OnBox();
        Messages.push_back({text, caption, MessageIcon::None, true});
        if (Answers.empty())
            return false;
        const bool answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    YesNoCancel AskYesNoCancel(const LocalText& text, const LocalText& caption) override
    {
        if (OnBox)
            OnBox();
        Messages.push_back({text, caption, MessageIcon::None, true});
        if (ThreeWayAnswers.empty())
            return YesNoCancel::No;
        const YesNoCancel answer = ThreeWayAnswers.front();
        ThreeWayAnswers.pop_front();
        return answer;
    }
    void HandOverTo(int) override { ++HandOvers; }
    void PlaySoundEffect(int number) override { Sounds.push_back(number); }
    void ShowStatusLine(const LocalText& line) override { StatusLines.push_back(line); }
    void SetCaption(const LocalText& caption) override { Captions.push_back(caption); }
    void Redraw() override { ++Redraws; }
    void StartAnimation(int town, int nextTown, int stage) override { Animations.push_back({town, nextTown, stage}); }
    void ShowBestOpponentDialog() override
    {
        if (OnBox)
            OnBox();
        ++BestOpponentDialogs;
    }

    /// The English texts of the messages, in order.
    std::vector<std::string> EnglishTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& m : Messages)
            texts.push_back(m.Text.English);
        return texts;
    }
};
