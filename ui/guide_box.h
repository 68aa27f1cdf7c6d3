/// @file guide_box.h The guided first game in the window: the Game menu's entry that starts it,
/// and the small box beside the window that says what to do next, ticks off each step as the
/// game shows it done, and lets the player leave the guide at any time and play on.
#pragma once

#include <QDialog>
#include <functional>

#include "commands/guided_game.h"

class GameSession;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;

class GuideBox : public QDialog {
    Q_OBJECT

public:
    GuideBox(QWidget* window, const GameSession& session);
    /// The guided world has just been made: the guide starts at its first step.
    void Begin();
    /// Looks at the game: moves the steps on, notices a month report read or a game replaced,
    /// and shows the words of the step the player is at, in the game's language.
    void Refresh();
    /// The running game is no longer the guided one (New or Open replaced it).
    void GameReplaced();
    /// Font and width at the window's zoom (percent).
    void SetZoom(int zoom);
    /// Next to the game's window where the screen has room, so that it covers none of its controls.
    void PlaceBesideWindow();
    /// Whether the guide follows the game (false once left, replaced or never begun).
    bool Following() const { return following_; }
    const GuidedProgress& Progress() const { return progress_; }

    QLabel* Heading() const { return heading_; }
    QLabel* Body() const { return body_; }
    QLabel* StepList() const { return steps_; }
    QPushButton* ReportButton() const { return report_; }
    QPushButton* LeaveButton() const { return leave_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    /// After each click and key press anywhere in the program, a look at the game: a step that
    /// lasts only a moment (a town selected, then the next one) is not missed between two ticks.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    /// Whether the player is looking at the month report now.
    bool ReportShown() const;
    void Leave();

    QWidget* window_;
    const GameSession& session_;
    GuidedProgress progress_;
    bool following_ = false;
    bool gone_ = false;  ///< the game was replaced while the guide followed it
    QLabel* heading_ = nullptr;
    QLabel* body_ = nullptr;
    QLabel* steps_ = nullptr;
    QPushButton* report_ = nullptr;
    QPushButton* leave_ = nullptr;
    QTimer* watch_ = nullptr;
    bool lookSoon_ = false;  ///< a look after the event being handled is on its way
    int zoom_ = 100;
};

/// Game > Guided Game and the box it opens.
class GuideMenu : public QObject {
    Q_OBJECT

public:
    /// Puts the entry into the Game menu before `before`. `mayReplaceGame` is asked first, as New
    /// asks (with the comforts, whether to save a changed game).
    GuideMenu(QMenu* game, QAction* before, QWidget* window, GameSession& session,
              std::function<bool()> mayReplaceGame);
    /// The entry: the guided world through the new-game path, and the guide beside the window.
    void Start();
    /// New or Open has replaced the game: the guide says so and follows no more.
    void GameReplaced();
    void SetLanguage(Language language);
    void SetZoom(int zoom);
    QAction* Entry() const { return entry_; }
    GuideBox* Box() const { return box_; }

private:
    QWidget* window_;
    GameSession& session_;
    std::function<bool()> mayReplaceGame_;
    QAction* entry_ = nullptr;
    GuideBox* box_ = nullptr;
    int zoom_ = 100;
};
