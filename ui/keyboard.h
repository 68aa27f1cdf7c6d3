/// @file keyboard.h The window played from the keyboard: the command buttons' access keys in
/// both languages, the panel's Tab order, the menu shortcuts, and the keys' names in the hints.
#pragma once

#include <QKeySequence>
#include <array>
#include <string_view>

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

/// The key that ends a month, only on the idle panel.
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

/// Marks the access keys in the buttons' captions and names the keys in their hints; runs after
/// the table has set the language's words.
void ApplyAccessKeys(const BuiltControls& controls, Language language);

/// Chains the panel's controls in kPanelTabOrder.
void SetPanelTabOrder(const BuiltControls& controls);
