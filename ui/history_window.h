/// @file history_window.h The window's views of the game's record: the month report, the history
/// charts and the message log in one dialog, opened from the Statistics menu. What they show is
/// computed below the window (history_views, history_chart); these only draw it.
#pragma once

#include <QDialog>
#include <QObject>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "commands/advisor.h"
#include "commands/history_chart.h"
#include "commands/history_views.h"

class GameSession;
class QAction;
class QComboBox;
class QListView;
class QListWidget;
class MessageLogModel;
class QMenu;
class QTabWidget;

/// Line charts of one measure over the months, every company a line, drawn with QPainter.
class HistoryChartWidget : public QWidget {
public:
    explicit HistoryChartWidget(QWidget* parent);
    void SetChart(ChartData chart, Language language);
    /// Draws the chart grown by the zoom (percent); Area and the hover stay in 100 % pixels.
    void SetZoom(int zoom);
    const ChartData& Chart() const { return chart_; }
    /// Where the plot lies in the widget.
    PlotArea Area() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    /// The widget's size in 100 % pixels.
    QSizeF LayoutSize() const;
    ChartData chart_;
    Language language_ = Language::English;
    std::optional<ChartPoint> hover_;
    int zoom_ = 100;
};

/// Last month's report for the company on turn, painted in the window font.
class MonthReportWidget : public QWidget {
public:
    explicit MonthReportWidget(QWidget* parent);
    void SetReport(MonthReport report);
    /// Draws the report grown by the zoom (percent).
    void SetZoom(int zoom);
    const MonthReport& Report() const { return report_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    MonthReport report_;
    int zoom_ = 100;
};

/// The views (and the advisor's hints) as pages of one dialog.
class HistoryDialog : public QDialog {
public:
    enum Page { Report = 0, Charts = 1, Messages = 2, Advisor = 3 };
    HistoryDialog(QWidget* parent, const GameSession& session);
    /// Fills every page from the record, in the game's language, and shows `page`.
    void ShowPage(Page page);
    /// Sizes, places and fonts at the window's zoom (percent).
    void SetZoom(int zoom);
    /// Fills the pages again (a language switch, a new month).
    void Refresh();

    QTabWidget* Tabs() const { return tabs_; }
    QComboBox* MetricChoice() const { return metric_; }
    QComboBox* RangeChoice() const { return range_; }
    QComboBox* LinesChoice() const { return lines_; }
    QComboBox* CompanyChoice() const { return company_; }
    QListView* Log() const { return log_; }
    HistoryChartWidget* ChartView() const { return chart_; }
    MonthReportWidget* ReportView() const { return report_; }
    /// The advisor's hints for the player on turn, one a line; a click on one follows it.
    QListWidget* Advice() const { return advice_; }
    /// The hints the advisor page shows, in its lines' order.
    const std::vector<AdvisorHint>& Hints() const { return hints_; }
    /// What a click on a hint does: the menu opens the hint's command in its town.
    std::function<void(const AdvisorHint&)> FollowHint;

private:
    void FillChart();
    void FillLog();

    const GameSession& session_;
    QTabWidget* tabs_ = nullptr;
    MonthReportWidget* report_ = nullptr;
    HistoryChartWidget* chart_ = nullptr;
    QComboBox* metric_ = nullptr;
    QComboBox* range_ = nullptr;
    QComboBox* lines_ = nullptr;
    QComboBox* company_ = nullptr;
    QListView* log_ = nullptr;
    MessageLogModel* logModel_ = nullptr;
    QListWidget* advice_ = nullptr;
    std::vector<AdvisorHint> hints_;
};

/// The Statistics menu's entries for the three views and the dialog they open.
class HistoryMenu : public QObject {
    Q_OBJECT

public:
    HistoryMenu(QMenu* statistics, QWidget* window, GameSession& session);
    /// The option "Advisor after each turn" at the end of the Options menu, kept in the
    /// settings file.
    void AddAdvisorOption(QMenu* options);
    QAction* AdvisorOption() const { return advisorOption_; }
    /// The entries' words and an open dialog in the language.
    void SetLanguage(Language language);
    /// The dialog, once an entry has opened it.
    HistoryDialog* Dialog() const { return dialog_; }
    QAction* Entry(HistoryDialog::Page page) const { return actions_[page]; }
    /// The option "Month report after each turn", kept in the settings file.
    QAction* ReportOption() const { return reportOption_; }
    void Open(HistoryDialog::Page page);
    /// A turn has ended: with the option on, the report of the month just closed opens; with
    /// the advisor's option on, the advisor's page for the player whose turn begins.
    void AfterTurn();
    /// Selects the hint's town and opens its command, closing the dialog.
    void Follow(const AdvisorHint& hint);
    /// The views need a game: closed on the start screen, open again once one runs.
    void SetGameRunning(bool running);
    /// The dialog comes at the window's zoom (percent).
    void SetZoom(int zoom);

private:
    QWidget* window_;
    GameSession& session_;
    std::array<QAction*, 4> actions_{};
    QAction* reportOption_ = nullptr;
    QAction* advisorOption_ = nullptr;
    HistoryDialog* dialog_ = nullptr;
    int zoom_ = 100;
};
