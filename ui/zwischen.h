/// @file zwischen.h TZwischenDialog: the best-opponent comparison shown after a turn while
/// "Best opponent" is checked.
///
/// Use from the window: create it hidden at start and reuse it; the frontend's
/// `ShowBestOpponentDialog()` calls `ShowFor(state)`, which fills it for the moving company
/// in the current language and returns when the player has pressed OK.
#pragma once

#include <QDialog>

#include <array>

#include "commands/statistics.h"
#include "game/game_state.h"

class QLabel;
class QLineEdit;
class QPushButton;

class TZwischenDialog : public QDialog {
    Q_OBJECT

public:
    explicit TZwischenDialog(QWidget* parent = nullptr);

    /// Sets the captions and fields: own company in the first row, best opponent in the second.
    void Fill(const BestOpponentView& view);
    /// Fills the dialog for the moving company and shows it modally, centred on the screen.
    void ShowFor(const GameState& s);
    /// Centred on the game's window instead of the screen (a comfort).
    bool CentredOnGameWindow = false;

    std::array<QLabel*, 8> Labels{};     ///< Label1 ... Label8
    std::array<QLineEdit*, 14> Edits{};  ///< Edit1 ... Edit14: odd numbers own, even numbers best
    QPushButton* OKBtn = nullptr;
};
