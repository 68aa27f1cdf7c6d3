/// @file frontend.h The narrow seam through which the rules show things: the window implements
/// it with Qt, the tests with a recorder, tavrek-sim by printing.
#pragma once

#include <string>

#include "game/text.h"

enum class MessageIcon {
    None,         ///< a plain box
    Information,  ///< the take-over announcement at the start of a game
    Warning,      ///< refused commands and the turn engine's news (exclamation mark)
};

/// The answer to a question that may also be put off.
enum class YesNoCancel { Yes, No, Cancel };

class Frontend {
public:
    virtual ~Frontend() = default;

    /// A modal message with an OK button; returns when it is closed.
    virtual void ShowMessage(const LocalText& text, const LocalText& caption, MessageIcon icon) = 0;
    /// A modal Yes/No question with the question icon; true for "Yes".
    virtual bool AskYesNo(const LocalText& text, const LocalText& caption) = 0;
    /// One of the game's sound effects, 1..11.
    virtual void PlaySoundEffect(int number) = 0;
    /// The text of the main window's status bar.
    virtual void ShowStatusLine(const LocalText& line) = 0;
    /// The main window's caption.
    virtual void SetCaption(const LocalText& caption) = 0;
    /// Repaint the map, the company's markers and the panel.
    virtual void Redraw() = 0;
    /// A short map animation; the window starts it only when none is running.
    virtual void StartAnimation(int town, int nextTown, int stage) = 0;
    /// The best-opponent comparison for the current company; returns when it is closed.
    virtual void ShowBestOpponentDialog() = 0;

    // --- what the game adds beside the original; a frontend without them keeps its ways -------
    /// A question with Yes, No and Cancel; a frontend that knows only Yes and No answers with
    /// those.
    virtual YesNoCancel AskYesNoCancel(const LocalText& text, const LocalText& caption)
    {
        return AskYesNo(text, caption) ? YesNoCancel::Yes : YesNoCancel::No;
    }
    /// A two-player game passes the machine to the company's player, before that player's news
    /// of the month; returns when the player has taken it.
    virtual void HandOverTo(int /*company*/) {}
};

/// A frontend that passes everything on to another one; a wrapper overrides only what it adds,
/// and whatever the game asks of a frontend later still reaches the window.
class ForwardingFrontend : public Frontend {
public:
    explicit ForwardingFrontend(Frontend& inner) : inner_(inner) {}

    void ShowMessage(const LocalText& text, const LocalText& caption, MessageIcon icon) override
    {
        inner_.ShowMessage(text, caption, icon);
    }
    bool AskYesNo(const LocalText& text, const LocalText& caption) override { return inner_.AskYesNo(text, caption); }
    void PlaySoundEffect(int number) override { inner_.PlaySoundEffect(number); }
    void ShowStatusLine(const LocalText& line) override { inner_.ShowStatusLine(line); }
    void SetCaption(const LocalText& caption) override { inner_.SetCaption(caption); }
    void Redraw() override { inner_.Redraw(); }
    void StartAnimation(int town, int nextTown, int stage) override { inner_.StartAnimation(town, nextTown, stage); }
    void ShowBestOpponentDialog() override { inner_.ShowBestOpponentDialog(); }
    YesNoCancel AskYesNoCancel(const LocalText& text, const LocalText& caption) override
    {
        return inner_.AskYesNoCancel(text, caption);
    }
    void HandOverTo(int company) override { inner_.HandOverTo(company); }

protected:
    Frontend& inner_;
};
