/// @file printing_frontend.h The frontend of tavrek-sim: every message box is one line on
/// standard output, in English; nothing else is shown.
#pragma once

#include <cstdio>

#include "game/silent_frontend.h"

class PrintingFrontend : public SilentFrontend {
public:
    void ShowMessage(const LocalText& text, const LocalText& caption, MessageIcon) override { Print(text, caption); }
    bool AskYesNo(const LocalText& text, const LocalText& caption) override
    {
        Print(text, caption);
        return false;
    }

private:
    static void Print(const LocalText& text, const LocalText& caption)
    {
        if (caption.English.empty())
            std::printf("%s\n", text.English.c_str());
        else
            std::printf("%s: %s\n", caption.English.c_str(), text.English.c_str());
    }
};
