/// @file town_forecast_window.h The town forecast beside the town information: a small window
/// with each of the player's brands in the selected town at its current price (what the town
/// wants of it, the stock, what sells, the revenue, the highest prices that sell all and any of
/// it). Opened from the Statistics menu and with F while the town information shows; it follows
/// the selected town and the game as the player plays. The figures come from ComputeTownForecast.
#pragma once

#include <QDialog>
#include <QObject>
#include <functional>

#include "commands/history_views.h"

class GameSession;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QTableWidget;

class TownForecastWindow : public QDialog {
    Q_OBJECT

public:
    TownForecastWindow(QWidget* window, const GameSession& session, std::function<int()> zoom);
    /// Works the forecast out again for the selected town, in the game's language and at the
    /// window's zoom.
    void Refresh();
    const TownForecast& Forecast() const { return forecast_; }
    QLabel* Title() const { return title_; }
    QTableWidget* Table() const { return table_; }
    QLabel* Others() const { return others_; }
    QLabel* Note() const { return note_; }
    QPushButton* CloseButton() const { return close_; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    /// After each click and key press anywhere in the program, a look at the game: a new town,
    /// a changed price or stock, a new month.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ApplyZoom(int zoom);

    const GameSession& session_;
    std::function<int()> zoom_;
    int appliedZoom_ = 0;
    TownForecast forecast_;
    QLabel* title_ = nullptr;
    QTableWidget* table_ = nullptr;
    QLabel* others_ = nullptr;
    QLabel* note_ = nullptr;
    QPushButton* close_ = nullptr;
    bool lookSoon_ = false;
};

/// Statistics > Town Forecast and the F key in the town information.
class TownForecastMenu : public QObject {
    Q_OBJECT

public:
    /// Puts the entry into the Statistics menu before `before`; `zoom` tells the window's zoom in
    /// percent.
    TownForecastMenu(QMenu* statistics, QAction* before, QWidget* window, const GameSession& session,
                     std::function<int()> zoom);
    /// Opens the window (or brings it up) for the selected town; nothing without a game.
    void Open();
    /// The entry's words and an open window in the game's language.
    void SetLanguage();
    QAction* Entry() const { return entry_; }
    /// The window, once opened.
    TownForecastWindow* Window() const { return forecast_; }

protected:
    /// F, without modifiers, while the main window shows the town information or last month's
    /// sales: a key that did nothing there before.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetWords();

    QWidget* window_;
    const GameSession& session_;
    std::function<int()> zoom_;
    QAction* entry_ = nullptr;
    TownForecastWindow* forecast_ = nullptr;
};
