/// @file printing_frontend.h The frontend of tavrek-sim: every message box is one line on
/// standard output, in English; nothing else is shown.
#pragma once

#include <cstdio>

#include "game/silent_frontend.h"
#include "platform/cp1252.h"

class PrintingFrontend : public SilentFrontend {
public:
    void ShowMessage(const LocalText& text, const LocalText& caption, MessageIcon) override { Print(text, caption); }
    bool AskYesNo(const LocalText& text, const LocalText& caption) override
    {
        Print(text, caption);
        return false;
    }

private:
    // Messages name companies and brands from the names file, which anyone can edit: nothing in
    // it may reach the terminal as an escape sequence.
    static void Print(const LocalText& text, const LocalText& caption)
    {
        const std::string line = ControlsReplaced(text.English);
        if (caption.English.empty())
            std::printf("%s\n", line.c_str());
        else
            std::printf("%s: %s\n", ControlsReplaced(caption.English).c_str(), line.c_str());
    }
};
