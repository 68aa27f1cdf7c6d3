/// @file language_tables.h The main window's own texts in English and German: menu captions,
/// command buttons with their hints.
#pragma once

#include <array>

#include "game/text.h"

/// The menu entries, named as on the window.
enum class MenuEntry {
    Game1,
    New1,
    Open1,
    Save1,
    Saveas1,
    Exit1,
    Standingorders1,
    New2,
    Delete1,
    DisplayChange1,
    Statistics1,
    MarketShares1,
    StatisticDialog1,
    Bestopponent1,
    Highscore1,
    Sound1,
    Sound2,
    EditNames1,
    RestoreNames1,
    FastExit1,
    Language1,
    English1,
    Deutsch1,
    Help1,
    Contents1,
    Info1,
    Zoom1,  ///< in the Options menu: the window's zoom
    Zoom100,
    Zoom150,
    Zoom200,
};
inline constexpr int kMenuEntries = static_cast<int>(MenuEntry::Zoom200) + 1;

/// Captions of the menu entries, indexed by MenuEntry ("&" marks the access key).
extern const std::array<LocalText, kMenuEntries> kMenuCaptions;

struct ButtonText {
    LocalText Caption;
    LocalText Hint;  ///< tool-tip; empty for OK and Cancel
};

/// Button1 ... Button11, index 0 ... 10.
extern const std::array<ButtonText, 11> kButtonTexts;

/// The file dialogs of Open and Save as.
struct FileDialogTexts {
    LocalText OpenTitle;
    LocalText SaveTitle;
    LocalText SavegameFilter;
    LocalText AllFilesFilter;
};
extern const FileDialogTexts kFileDialogTexts;

/// The game's own help window.
struct HelpWindowTexts {
    LocalText Title;
    LocalText Back;
    LocalText Close;
};
extern const HelpWindowTexts kHelpWindowTexts;

/// The window caption of a language (the close of a month shows the English one in both).
LocalText WindowTitle();
