/// @file message_boxes.h The game's message boxes and questions as Qt shows them: modal over the
/// main window, in the player's language, at the window's zoom.
#pragma once

#include "game/frontend.h"
#include "game/text.h"

class QWidget;

/// Shows what the rules tell or ask through real QMessageBoxes over one window.
class MessageBoxes {
public:
    explicit MessageBoxes(QWidget* parent) : parent_(parent) {}

    /// A box with OK only.
    void Show(const LocalText& text, const LocalText& caption, MessageIcon icon, Language language, int zoom) const;
    /// Yes and No; true for Yes.
    bool AskYesNo(const LocalText& text, const LocalText& caption, Language language, int zoom) const;
    /// Yes, No and Cancel; Escape or closing the box is Cancel.
    YesNoCancel AskYesNoCancel(const LocalText& text, const LocalText& caption, Language language, int zoom) const;

private:
    QWidget* parent_;  ///< the window the boxes are modal over
};
