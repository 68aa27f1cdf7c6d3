/// @file history_window.cpp The month report, the history charts, the message log and the advisor's hints.
#include "ui/history_window.h"

#include <QAbstractListModel>
#include <QAction>
#include <QComboBox>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTabWidget>
#include <climits>

#include "commands/advisor.h"
#include "commands/game_session.h"
#include "persistence/settings.h"
#include "ui/dialog_support.h"
#include "ui/window_zoom.h"
#include "ui/zoom.h"

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// Ten line colours that tell the companies apart on the map's paper tones.
const QColor kCompanyColours[kCompanies] = {
    QColor(31, 119, 180),  QColor(214, 39, 40), QColor(44, 160, 44),  QColor(148, 103, 189), QColor(140, 86, 75),
    QColor(227, 119, 194), QColor(90, 90, 90),  QColor(188, 189, 34), QColor(23, 190, 207),  QColor(255, 127, 14)};

constexpr int kLegendWidth = 150;

struct ChoiceText {
    LocalText Metrics[4];
    LocalText Ranges[3];
    LocalText Pages[4];
    LocalText AllCompanies;
    LocalText OwnOnly;
    LocalText Title;
    LocalText NoMonths;
    LocalText NoMessages;
    LocalText NoAdvice;
};

const ChoiceText& Texts()
{
    static const ChoiceText texts{
        {{"Money", "Geld"},
         {"Company value", "Firmenwert"},
         {"Market share", "Marktanteil"},
         {"Sales (litres)", "Absatz (Liter)"}},
        {{"Last 12 months", "Letzte 12 Monate"}, {"Last 5 years", "Letzte 5 Jahre"}, {"All months", "Alle Monate"}},
        {{"Month report", "Monatsbericht"},
         {"History charts", "Verlauf"},
         {"Message log", "Meldungen"},
         {"Advisor", "Berater"}},
        {"All companies", "Alle Firmen"},
        {"Only my company", "Nur meine Firma"},
        {"Business history", "Geschäftsverlauf"},
        {"No month has been closed yet.", "Noch ist kein Monat abgeschlossen."},
        {"No messages yet.", "Noch keine Meldungen."},
        {"Nothing to point out this month.", "In diesem Monat gibt es keine Hinweise."}};
    return texts;
}

}  // namespace

// --- the chart --------------------------------------------------------------------------------

HistoryChartWidget::HistoryChartWidget(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    setFont(WindowFont());
}

void HistoryChartWidget::SetChart(ChartData chart, Language language)
{
    chart_ = std::move(chart);
    language_ = language;
    hover_.reset();
    update();
}

void HistoryChartWidget::SetZoom(int zoom)
{
    zoom_ = zoom;
    update();
}

QSizeF HistoryChartWidget::LayoutSize() const { return QSizeF(size()) * (100.0 / zoom_); }

PlotArea HistoryChartWidget::Area() const
{
    const QFontMetrics fm(font());
    const double left = 10 + fm.horizontalAdvance(QStringLiteral("-8888.88 Mio.%"));
    const double top = fm.height() + 8;
    const QSizeF size = LayoutSize();
    return {left, top, size.width() - left - kLegendWidth - 10, size.height() - top - 2.0 * fm.height() - 8};
}

void HistoryChartWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    // Drawn in 100 % pixels, grown by the zoom as a whole.
    p.scale(zoom_ / 100.0, zoom_ / 100.0);
    const double width = LayoutSize().width();
    p.fillRect(QRectF(QPointF(0, 0), LayoutSize()), QColor(252, 248, 236));
    p.setRenderHint(QPainter::Antialiasing, true);
    const QFontMetrics fm(font());
    const PlotArea a = Area();
    const QRectF plot(a.Left, a.Top, a.Width, a.Height);

    p.setPen(Qt::black);
    p.drawText(QPointF(a.Left, fm.ascent() + 2), Q(chart_.Title.In(language_)));

    // Value axis: a faint line and a label at every tick.
    for (const AxisTick& tick : chart_.Scale.Ticks) {
        const double y = PlotY(chart_, a, tick.Value);
        p.setPen(QPen(tick.Value == 0 ? QColor(120, 120, 120) : QColor(215, 210, 195), 1));
        p.drawLine(QPointF(a.Left, y), QPointF(a.Left + a.Width, y));
        p.setPen(Qt::black);
        // Cut to the room left of the plot rather than drawn past the window's edge.
        const QString label = fm.elidedText(Q(tick.Label), Qt::ElideRight, std::max(static_cast<int>(a.Left) - 8, 0));
        p.drawText(QPointF(a.Left - 6 - fm.horizontalAdvance(label), y + fm.ascent() / 2.0 - 1), label);
    }
    for (const AxisTick& tick : chart_.MonthTicks) {
        const double x = PlotX(chart_, a, static_cast<int>(tick.Value));
        p.setPen(QPen(QColor(215, 210, 195), 1));
        p.drawLine(QPointF(x, a.Top), QPointF(x, a.Top + a.Height + 4));
        p.setPen(Qt::black);
        const QString label = Q(tick.Label);
        const double w = fm.horizontalAdvance(label);
        p.drawText(QPointF(std::clamp(x - w / 2, 0.0, width - kLegendWidth - w), a.Top + a.Height + 4 + fm.ascent()),
                   label);
    }
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(plot);

    if (chart_.Empty()) {
        p.drawText(plot, Qt::AlignCenter, Q(Texts().NoMonths.In(language_)));
    } else {
        // The player's own line last, on top of the others.
        for (int pass = 0; pass < 2; ++pass)
            for (const ChartSeries& s : chart_.Series) {
                if (s.Own != (pass == 1))
                    continue;
                QPainterPath path;
                for (size_t i = 0; i < s.Values.size(); ++i) {
                    const QPointF point(PlotX(chart_, a, static_cast<int>(i)), PlotY(chart_, a, s.Values[i]));
                    if (i == 0)
                        path.moveTo(point);
                    else
                        path.lineTo(point);
                }
                p.setPen(QPen(kCompanyColours[s.Company % kCompanies], s.Own ? 3.0 : 1.2));
                p.setBrush(Qt::NoBrush);
                if (s.Values.size() == 1)
                    p.drawEllipse(path.currentPosition(), 2.5, 2.5);
                else
                    p.drawPath(path);
            }
    }

    // Legend: every company with its colour; the player's own in bold.
    const double lx = width - kLegendWidth;
    double ly = a.Top;
    for (const ChartSeries& s : chart_.Series) {
        p.setPen(QPen(kCompanyColours[s.Company % kCompanies], s.Own ? 3.0 : 1.5));
        p.drawLine(QPointF(lx, ly + fm.height() / 2.0), QPointF(lx + 16, ly + fm.height() / 2.0));
        QFont f = font();
        f.setBold(s.Own);
        p.setFont(f);
        p.setPen(Qt::black);
        const QString name = QFontMetrics(f).elidedText(Q(s.Name), Qt::ElideRight, kLegendWidth - 26);
        p.drawText(QPointF(lx + 22, ly + fm.ascent()), name);
        ly += fm.height() + 4;
    }
    p.setFont(font());

    if (hover_) {
        const ChartSeries& s = chart_.Series[hover_->Series];
        const QPointF point(PlotX(chart_, a, hover_->Index), PlotY(chart_, a, s.Values[hover_->Index]));
        p.setBrush(kCompanyColours[s.Company % kCompanies]);
        p.setPen(Qt::black);
        p.drawEllipse(point, 4, 4);
        const QString text = Q(hover_->Text);
        QRectF box(0, 0, fm.horizontalAdvance(text) + 10, fm.height() + 6);
        box.moveTopLeft(point + QPointF(8, -box.height() - 6));
        if (box.right() > width - 2)
            box.moveRight(point.x() - 8);
        if (box.top() < 2)
            box.moveTop(point.y() + 8);
        p.setBrush(QColor(255, 255, 225));
        p.drawRect(box);
        p.drawText(box, Qt::AlignCenter, text);
    }
}

void HistoryChartWidget::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF at = event->position() * (100.0 / zoom_);
    hover_ = NearestPoint(chart_, Area(), at.x(), at.y(), language_);
    update();
}

void HistoryChartWidget::leaveEvent(QEvent*)
{
    hover_.reset();
    update();
}

// --- the month report -------------------------------------------------------------------------

MonthReportWidget::MonthReportWidget(QWidget* parent) : QWidget(parent) { setFont(WindowFont()); }

void MonthReportWidget::SetZoom(int zoom)
{
    zoom_ = zoom;
    update();
}

void MonthReportWidget::SetReport(MonthReport report)
{
    report_ = std::move(report);
    update();
}

void MonthReportWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    // Drawn in 100 % pixels, grown by the zoom as a whole.
    p.scale(zoom_ / 100.0, zoom_ / 100.0);
    const int width = this->width() * 100 / zoom_;
    const int height = this->height() * 100 / zoom_;
    p.fillRect(QRect(0, 0, width, height), QColor(252, 248, 236));
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics fm(font());
    const int line = fm.height() + 1;
    p.setFont(bold);
    p.drawText(QPointF(10, 8 + fm.ascent()), Q(report_.Title));
    p.setFont(font());
    if (report_.Empty) {
        p.drawText(QPointF(10, 14 + line + fm.ascent()), Q(report_.EmptyText));
        return;
    }
    // Left half: the sales table; right half: the books, then the messages.
    const int half = width / 2;
    const int columns[5] = {10, 92, 170, 220, 268};
    const int rightAligned[5] = {0, 0, 1, 1, 1};
    const int widths[5] = {80, 76, 48, 46, 50};
    int y = 14 + line;
    const auto cell = [&](int column, const std::string& text, int baseline) {
        const QString t = p.fontMetrics().elidedText(Q(text), Qt::ElideRight, widths[column]);
        const int x = rightAligned[column] ? columns[column] + widths[column] - p.fontMetrics().horizontalAdvance(t)
                                           : columns[column];
        p.drawText(QPointF(x, baseline), t);
    };
    p.setFont(bold);
    for (int i = 0; i < 5; ++i)
        cell(i, report_.Headings[i], y + fm.ascent());
    p.setFont(font());
    y += line + 2;
    const int bottom = height - line;
    for (size_t i = 0; i < report_.Sales.size(); ++i) {
        if (y + line > bottom) {
            p.drawText(QPointF(columns[0], y + fm.ascent()), QStringLiteral("..."));
            break;
        }
        const ReportSalesRow& r = report_.Sales[i];
        const std::string* cells[5] = {&r.Town, &r.Brand, &r.Offered, &r.Sold, &r.Demand};
        for (int c = 0; c < 5; ++c)
            cell(c, *cells[c], y + fm.ascent());
        y += line;
    }
    // Below the sales: what each town paid for the month's plans, and where a brand sold nothing.
    const int leftWidth = half - 10;
    const auto section = [&](const std::string& heading, const std::vector<std::string>& lines) {
        if (lines.empty() || y + 2 * line + line / 2 > bottom)
            return;
        y += line / 2;
        p.setFont(bold);
        p.drawText(QPointF(columns[0], y + fm.ascent()), Q(heading));
        p.setFont(font());
        y += line + 2;
        for (const std::string& text : lines) {
            const QRect room(columns[0], y, leftWidth, bottom - y);
            const QRect needed = fm.boundingRect(room, Qt::TextWordWrap, Q(text));
            if (needed.height() > room.height()) {
                p.drawText(QPointF(columns[0], y + fm.ascent()), QStringLiteral("..."));
                y += line;
                return;
            }
            p.drawText(room, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, Q(text));
            y += needed.height() + 1;
        }
    };
    std::vector<std::string> towns;
    for (const ReportAmount& a : report_.TownSpending)
        towns.push_back(a.Label + ": " + a.Amount);
    section(report_.TownSpendingHeading, towns);
    section(report_.UnsoldHeading, report_.Unsold);

    int ry = 14 + line;
    p.setFont(bold);
    p.drawText(QPointF(half + 20, ry + fm.ascent()), Q(report_.BooksHeading));
    p.setFont(font());
    ry += line + 2;
    for (const ReportAmount& a : report_.Books) {
        p.drawText(QPointF(half + 20, ry + fm.ascent()), Q(a.Label));
        // Never over its label: what does not fit is cut.
        const int room = width - 10 - (half + 20 + fm.horizontalAdvance(Q(a.Label)) + 8);
        const QString amount = fm.elidedText(Q(a.Amount), Qt::ElideRight, std::max(room, 0));
        p.drawText(QPointF(width - 10 - fm.horizontalAdvance(amount), ry + fm.ascent()), amount);
        ry += line;
    }
    ry += line / 2;
    p.setFont(bold);
    p.drawText(QPointF(half + 20, ry + fm.ascent()), Q(report_.MessagesHeading));
    p.setFont(font());
    ry += line + 2;
    const QRect messages(half + 20, ry, width - half - 30, height - ry - 6);
    QString text;
    for (const std::string& m : report_.Messages)
        text += Q(m) + QLatin1Char('\n');
    p.drawText(messages, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, text.isEmpty() ? QStringLiteral("-") : text);
}

// --- the dialog --------------------------------------------------------------------------------

/// The message log's lines, made only for the rows the view shows: a record of many messages
/// opens at once and scrolls without freezing.
class MessageLogModel : public QAbstractListModel {
public:
    MessageLogModel(const GameSession& session, QObject* parent) : QAbstractListModel(parent), session_(session) {}

    void Fill(std::optional<int> company, QString emptyNote)
    {
        beginResetModel();
        entries_ = MessageLogEntries(session_.State().History, company);
        emptyNote_ = std::move(emptyNote);
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = QModelIndex()) const override
    {
        if (parent.isValid())
            return 0;
        return entries_.empty() ? 1 : static_cast<int>(std::min<std::size_t>(entries_.size(), INT_MAX));
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || index.row() < 0)
            return {};
        if (entries_.empty())
            return emptyNote_;
        const auto row = static_cast<std::size_t>(index.row());
        const GameState& s = session_.State();
        // The record may have been replaced since the log was filled: no line for what is gone.
        if (row >= entries_.size() || entries_[row] >= s.History.Messages.size())
            return {};
        return QString::fromStdString(MessageLogLine(s, s.History.Messages[entries_[row]], s.Program.Language));
    }

private:
    const GameSession& session_;
    std::vector<std::size_t> entries_;
    QString emptyNote_;
};

HistoryDialog::HistoryDialog(QWidget* parent, const GameSession& session) : QDialog(parent), session_(session)
{
    setFont(WindowFont());
    setModal(true);
    setFixedSize(640, 440);
    tabs_ = new QTabWidget(this);
    tabs_->setGeometry(6, 6, 628, 428);

    report_ = new MonthReportWidget(nullptr);
    tabs_->addTab(report_, QString());

    auto* charts = new QWidget(nullptr);
    metric_ = new QComboBox(charts);
    metric_->setGeometry(6, 6, 170, 22);
    range_ = new QComboBox(charts);
    range_->setGeometry(184, 6, 170, 22);
    lines_ = new QComboBox(charts);
    lines_->setGeometry(362, 6, 170, 22);
    chart_ = new HistoryChartWidget(charts);
    chart_->setGeometry(0, 34, 622, 362);
    tabs_->addTab(charts, QString());

    auto* messages = new QWidget(nullptr);
    company_ = new QComboBox(messages);
    company_->setGeometry(6, 6, 220, 22);
    log_ = new QListView(messages);
    log_->setGeometry(6, 34, 610, 360);
    // One line each: the view never measures rows it does not show.
    log_->setUniformItemSizes(true);
    log_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    logModel_ = new MessageLogModel(session_, log_);
    log_->setModel(logModel_);
    tabs_->addTab(messages, QString());

    auto* advisor = new QWidget(nullptr);
    advice_ = new QListWidget(advisor);
    advice_->setGeometry(6, 6, 610, 388);
    tabs_->addTab(advisor, QString());
    // A click (or Enter) on a hint leads to the command that acts on it.
    const auto follow = [this](QListWidgetItem* item) {
        const int row = advice_->row(item);
        if (row >= 0 && static_cast<size_t>(row) < hints_.size() && FollowHint)
            FollowHint(hints_[static_cast<size_t>(row)]);
    };
    connect(advice_, &QListWidget::itemClicked, this, follow);
    connect(advice_, &QListWidget::itemActivated, this, follow);

    for (QComboBox* box : {metric_, range_, lines_, company_})
        connect(box, &QComboBox::currentIndexChanged, this, [this] {
            FillChart();
            FillLog();
        });
}

void HistoryDialog::SetZoom(int zoom)
{
    setFont(ZoomedFont(WindowFont(), zoom));
    setFixedSize(Zoomed(640, zoom), Zoomed(440, zoom));
    const std::pair<QWidget*, QRect> places[] = {
        {tabs_, {6, 6, 628, 428}},   {metric_, {6, 6, 170, 22}},  {range_, {184, 6, 170, 22}},
        {lines_, {362, 6, 170, 22}}, {chart_, {0, 34, 622, 362}}, {company_, {6, 6, 220, 22}},
        {log_, {6, 34, 610, 360}},   {advice_, {6, 6, 610, 388}},
    };
    for (const auto& [widget, rect] : places)
        widget->setGeometry(ZoomedRect(rect, zoom));
    chart_->SetZoom(zoom);
    report_->SetZoom(zoom);
}

void HistoryDialog::ShowPage(Page page)
{
    Refresh();
    tabs_->setCurrentIndex(page);
}

void HistoryDialog::Refresh()
{
    const GameState& s = session_.State();
    const Language language = s.Program.Language;
    const ChoiceText& t = Texts();
    setWindowTitle(Q(t.Title.In(language)));
    for (int i = 0; i < 4; ++i)
        tabs_->setTabText(i, Q(t.Pages[i].In(language)));
    const auto refill = [](QComboBox* box, const std::vector<std::string>& items, int fallback) {
        const QSignalBlocker block(box);
        const int at = box->currentIndex();
        box->clear();
        for (const std::string& item : items)
            box->addItem(Q(item));
        box->setCurrentIndex(at >= 0 && at < box->count() ? at : fallback);
    };
    std::vector<std::string> metrics, ranges, companies{t.AllCompanies.In(language)};
    for (const LocalText& m : t.Metrics)
        metrics.push_back(m.In(language));
    for (const LocalText& r : t.Ranges)
        ranges.push_back(r.In(language));
    for (int c = 0; c < kCompanies; ++c)
        companies.push_back(s.CompanyName[c]);
    refill(metric_, metrics, 0);
    refill(range_, ranges, 2);
    refill(lines_, {t.AllCompanies.In(language), t.OwnOnly.In(language)}, 0);
    refill(company_, companies, 0);
    MonthReport report = ComputeMonthReport(s, s.CurrentCompany, language);
    // An opened game whose record was missing or unreadable says so here, not in the status line.
    if (const auto note = HistoryNote(session_.LastHistoryLoad()); note && s.History.Months.empty())
        report.EmptyText = note->In(language);
    report_->SetReport(std::move(report));
    FillChart();
    FillLog();
    advice_->clear();
    hints_ = ComputeAdvice(s, s.CurrentCompany, language);
    for (const AdvisorHint& hint : hints_)
        advice_->addItem(Q(hint.Text));
    if (advice_->count() == 0)
        advice_->addItem(Q(t.NoAdvice.In(language)));
}

void HistoryDialog::FillChart()
{
    const GameState& s = session_.State();
    const auto metric = static_cast<ChartMetric>(std::max(0, metric_->currentIndex()));
    const auto range = static_cast<ChartRange>(std::max(0, range_->currentIndex()));
    chart_->SetChart(ComputeChart(s.History, s.CompanyName, metric, range, s.CurrentCompany, s.Program.Language,
                                  lines_->currentIndex() == 1),
                     s.Program.Language);
}

void HistoryDialog::FillLog()
{
    const GameState& s = session_.State();
    const int choice = company_->currentIndex();
    const std::optional<int> company = choice > 0 ? std::optional<int>(choice - 1) : std::nullopt;
    logModel_->Fill(company, Q(Texts().NoMessages.In(s.Program.Language)));
}

// --- the menu --------------------------------------------------------------------------------

namespace {

/// The entries in the Statistics menu, with access keys no other entry there has.
const LocalText kMenuTexts[5] = {{"Month &report...", "Mo&natsbericht..."},
                                 {"History &charts...", "&Verlauf..."},
                                 {"Message &log...", "M&eldungen..."},
                                 {"A&dvisor...", "Be&rater..."},
                                 {"Month report &after each turn", "Monatsbericht nach &jedem Zug"}};
/// In the Options menu, whose entries have no access key but Zoom's.
const LocalText kAdvisorOptionText{"&Advisor after each turn", "&Berater nach jedem Zug"};

}  // namespace

HistoryMenu::HistoryMenu(QMenu* statistics, QWidget* window, GameSession& session)
    : QObject(window), window_(window), session_(session)
{
    statistics->addSeparator();
    for (int page = 0; page < 4; ++page) {
        actions_[page] = statistics->addAction(Q(kMenuTexts[page].English));
        connect(actions_[page], &QAction::triggered, this,
                [this, page] { Open(static_cast<HistoryDialog::Page>(page)); });
    }
    reportOption_ = statistics->addAction(Q(kMenuTexts[4].English));
    reportOption_->setCheckable(true);
    reportOption_->setChecked(session_.MonthReport());
    connect(reportOption_, &QAction::toggled, this, [this](bool on) { session_.SetMonthReport(on); });
}

void HistoryMenu::AddAdvisorOption(QMenu* options)
{
    advisorOption_ = options->addAction(Q(kAdvisorOptionText.English));
    advisorOption_->setCheckable(true);
    advisorOption_->setChecked(ReadOnOff(session_.State().Program.ProgramDirectory, settings::kAdvisorAfterTurn));
    connect(advisorOption_, &QAction::toggled, this, [this](bool on) {
        WriteOnOff(session_.State().Program.ProgramDirectory, settings::kAdvisorAfterTurn, on);
    });
}

void HistoryMenu::AfterTurn()
{
    const GameState& s = session_.State();
    // The advisor speaks of the turn that begins (the report is a tab away); the report of the
    // month behind it.
    if (advisorOption_ && advisorOption_->isChecked() && s.GameActive && !session_.End())
        Open(HistoryDialog::Advisor);
    else if (reportOption_->isChecked() && s.GameActive && !s.History.Months.empty())
        Open(HistoryDialog::Report);
}

void HistoryMenu::Follow(const AdvisorHint& hint)
{
    if (dialog_)
        dialog_->hide();
    session_.OpenCommand(hint.Command, hint.CommandTown);
}

void HistoryMenu::SetGameRunning(bool running)
{
    for (QAction* view : actions_)
        view->setEnabled(running);
}

void HistoryMenu::SetZoom(int zoom)
{
    zoom_ = zoom;
    if (dialog_)
        dialog_->SetZoom(zoom);
}

void HistoryMenu::SetLanguage(Language language)
{
    for (int page = 0; page < 4; ++page)
        actions_[page]->setText(Q(kMenuTexts[page].In(language)));
    reportOption_->setText(Q(kMenuTexts[4].In(language)));
    if (advisorOption_)
        advisorOption_->setText(Q(kAdvisorOptionText.In(language)));
    if (dialog_ && dialog_->isVisible())
        dialog_->Refresh();
}

void HistoryMenu::Open(HistoryDialog::Page page)
{
    if (!dialog_) {
        dialog_ = new HistoryDialog(window_, session_);
        dialog_->SetZoom(zoom_);
        dialog_->FollowHint = [this](const AdvisorHint& hint) { Follow(hint); };
    }
    dialog_->ShowPage(page);
    dialog_->show();
    dialog_->raise();
}
