/// @file keyboard.h The window played from the keyboard: the command buttons' access keys in
/// both languages, the panel's Tab order, the menu shortcuts, and the keys' names in the hints.
#pragma once

#include <QKeySequence>
#include <array>
#include <string>
#include <string_view>

#include "commands/command_panel.h"
#include "game/text.h"
#include "ui/language_tables.h"
#include "ui/layout_builder.h"

/// A command button's caption with its access key marked by "&" (Alt+letter).
struct AccessKeyCaption {
    std::string_view Control;
    LocalText Caption;  ///< the button's caption with one letter marked
};

/// The idle panel's nine buttons; each letter is unique in its language and differs from the
/// menu bar's.
extern const std::array<AccessKeyCaption, 9> kPanelAccessKeys;

/// The key that ends a month, only on the idle panel and only with the comforts.
inline constexpr Qt::Key kNextTurnKey = Qt::Key_N;

/// The panel's controls in reading order: every mode's visible ones follow each other in this
/// order, its inputs before OK and Cancel.
extern const std::array<std::string_view, 25> kPanelTabOrder;

/// The menu entries with a shortcut, and the shortcut.
struct MenuShortcut {
    MenuEntry Entry;
    const char* Key;  ///< the same on every desktop, as the hints name it
};
extern const std::array<MenuShortcut, 6> kMenuShortcuts;

/// Marks the access keys in the buttons' captions; with `namedInHints` (a comfort) the hints
/// name the keys too. Runs after the table has set the language's words and hints.
void ApplyAccessKeys(const BuiltControls& controls, Language language, bool namedInHints);

/// OK's caption for a mode with its access key marked where it has a word of its own: the town
/// information's "Sales" (a letter neither the menu bar nor Cancel uses).
QString OkCaptionWithAccessKey(PanelMode mode, const std::string& caption, Language language);

/// Chains the panel's controls in kPanelTabOrder.
void SetPanelTabOrder(const BuiltControls& controls);

/// The panel's keys on its own controls: Enter on a focused button presses that button (not
/// OK), and the first Down or Up in a list without a choice chooses the entry the list shows as
/// current instead of moving past it.
void InstallPanelKeys(const BuiltControls& controls, QObject* owner);
