/// @file silent_frontend.h A frontend that shows nothing and answers every question "No": for
/// benchmarks, fuzzing and headless play.
#pragma once

#include "game/frontend.h"

class SilentFrontend : public Frontend {
public:
    void ShowMessage(const LocalText&, const LocalText&, MessageIcon) override {}
    bool AskYesNo(const LocalText&, const LocalText&) override { return false; }
    void PlaySoundEffect(int) override {}
    void ShowStatusLine(const LocalText&) override {}
    void SetCaption(const LocalText&) override {}
    void Redraw() override {}
    void StartAnimation(int, int, int) override {}
    void ShowBestOpponentDialog() override {}
};
