/// @file town_forecast_window.cpp The town forecast's window, its menu entry and its key.
#include "ui/town_forecast_window.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "commands/game_session.h"
#include "ui/dialog_support.h"
#include "ui/hand_over_cover.h"
#include "ui/window_zoom.h"
#include "ui/zoom.h"

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

/// The window's size in layout pixels: eight columns of figures and three brand rows, the
/// note under them.
constexpr int kWidth = 640;
constexpr int kHeight = 230;

/// The key that opens the forecast from the town information.
constexpr Qt::Key kForecastKey = Qt::Key_F;

bool Hidden(const QWidget* window)
{
    // Between two players' turns nothing of the next player's may show. (The cover is no
    // QObject class of its own, so findChild cannot tell it from any other widget.)
    if (!window)
        return false;
    for (const QWidget* child : window->findChildren<QWidget*>())
        if (dynamic_cast<const HandOverCover*>(child))
            return child->isVisible();
    return false;
}

}  // namespace

TownForecastWindow::TownForecastWindow(QWidget* window, const GameSession& session, std::function<int()> zoom)
    : QDialog(window), session_(session), zoom_(std::move(zoom))
{
    setObjectName("TownForecastWindow");
    // Beside the game, never modal: the player clicks other towns and changes prices while it
    // stays open.
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(false);
    title_ = new QLabel(this);
    table_ = new QTableWidget(this);
    table_->setColumnCount(8);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::NoSelection);
    table_->setFocusPolicy(Qt::NoFocus);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    others_ = new QLabel(this);
    others_->setWordWrap(true);
    note_ = new QLabel(this);
    note_->setWordWrap(true);
    note_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    close_ = new QPushButton(this);
    close_->setAutoDefault(false);
    connect(close_, &QPushButton::clicked, this, &QDialog::close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close_);
    auto* column = new QVBoxLayout(this);
    column->addWidget(title_);
    column->addWidget(table_, 1);
    column->addWidget(others_);
    column->addWidget(note_);
    column->addLayout(buttons);
}

void TownForecastWindow::ApplyZoom(int zoom)
{
    if (zoom == appliedZoom_)
        return;
    appliedZoom_ = zoom;
    setFont(ZoomedFont(WindowFont(), zoom));
    setFixedSize(Zoomed(kWidth, zoom), Zoomed(kHeight, zoom));
}

void TownForecastWindow::Refresh()
{
    ApplyZoom(zoom_ ? zoom_() : 100);
    const GameState& s = session_.State();
    const Language language = s.Program.Language;
    const bool german = language == Language::German;
    setWindowTitle(german ? QString::fromUtf8("Vorschau für die Stadt") : QString("Town Forecast"));
    close_->setText(german ? QString::fromUtf8("Schließen") : QString("Close"));
    if (Hidden(parentWidget())) {
        forecast_ = TownForecast{};
        title_->clear();
        table_->setRowCount(0);
        others_->clear();
        note_->clear();
        return;
    }
    forecast_ = ComputeTownForecast(s, language);
    title_->setText("<b>" + Q(forecast_.Title).toHtmlEscaped() + "</b>");
    QStringList headings;
    for (const std::string& heading : forecast_.Headings)
        headings << Q(heading);
    table_->setHorizontalHeaderLabels(headings);
    table_->setRowCount(static_cast<int>(forecast_.Rows.size()));
    for (int r = 0; r < table_->rowCount(); ++r) {
        const TownForecastRow& row = forecast_.Rows[static_cast<size_t>(r)];
        for (int column = 0; column < table_->columnCount(); ++column) {
            auto* item = new QTableWidgetItem(Q(row.Cells[static_cast<size_t>(column)]));
            // The figures line up on the right, the brand's name on the left.
            item->setTextAlignment(column == 0 ? (Qt::AlignLeft | Qt::AlignVCenter)
                                               : (Qt::AlignRight | Qt::AlignVCenter));
            table_->setItem(r, column, item);
        }
    }
    others_->setText(Q(forecast_.EmptyText.empty() ? forecast_.Others : forecast_.EmptyText));
    note_->setText(Q(forecast_.Note));
}

void TownForecastWindow::showEvent(QShowEvent* event)
{
    qApp->installEventFilter(this);
    Refresh();
    QDialog::showEvent(event);
}

void TownForecastWindow::hideEvent(QHideEvent* event)
{
    qApp->removeEventFilter(this);
    QDialog::hideEvent(event);
}

bool TownForecastWindow::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    // A key the window's shortcuts take (Enter for OK) reaches nobody as a key press: its
    // release and the shortcut itself are looked at too.
    if ((type == QEvent::MouseButtonRelease || type == QEvent::KeyPress || type == QEvent::KeyRelease ||
         type == QEvent::Shortcut) &&
        !lookSoon_) {
        // Once the click or key has done its work.
        lookSoon_ = true;
        QTimer::singleShot(0, this, [this] {
            lookSoon_ = false;
            if (isVisible())
                Refresh();
        });
    }
    return QDialog::eventFilter(watched, event);
}

TownForecastMenu::TownForecastMenu(QMenu* statistics, QAction* before, QWidget* window, const GameSession& session,
                                   std::function<int()> zoom)
    : QObject(window), window_(window), session_(session), zoom_(std::move(zoom))
{
    entry_ = new QAction(statistics);
    entry_->setObjectName("TownForecast1");
    statistics->insertAction(before, entry_);
    connect(entry_, &QAction::triggered, this, &TownForecastMenu::Open);
    // The words follow the game's language whenever the menu is opened.
    connect(statistics, &QMenu::aboutToShow, this, &TownForecastMenu::SetWords);
    SetWords();
    qApp->installEventFilter(this);
}

void TownForecastMenu::SetWords()
{
    const GameState& s = session_.State();
    // Access keys no other entry of the Statistics menu has; after the tab the menu shows the
    // key, in the place of a shortcut.
    entry_->setText(s.Program.Language == Language::German ? QString::fromUtf8("Vorschau für die S&tadt...\tF")
                                                           : QString("Town &Forecast...\tF"));
    entry_->setEnabled(s.GameActive);
}

void TownForecastMenu::SetLanguage()
{
    SetWords();
    if (forecast_ && forecast_->isVisible())
        forecast_->Refresh();
}

void TownForecastMenu::Open()
{
    SetWords();
    if (!session_.State().GameActive)
        return;
    if (!forecast_)
        forecast_ = new TownForecastWindow(window_, session_, zoom_);
    if (forecast_->isVisible()) {
        forecast_->Refresh();
    } else {
        forecast_->show();
        // Below the game's window where the screen has room, else above it, else over the top
        // of the map: never over the panel the player is reading.
        const QRect frame = window_->frameGeometry();
        const QSize size = forecast_->frameGeometry().size().expandedTo(forecast_->size());
        const QScreen* screen = window_->screen();
        const QRect room = screen ? screen->availableGeometry() : QRect(frame.topLeft(), frame.size() * 2);
        int y = frame.bottom() + 1;
        if (y + size.height() > room.bottom() + 1)
            y = frame.top() - size.height();
        if (y < room.top())
            y = std::max(room.top(), frame.top());
        forecast_->move(frame.left() + (frame.width() - size.width()) / 2, y);
    }
    forecast_->raise();
}

bool TownForecastMenu::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const auto* widget = qobject_cast<QWidget*>(watched);
    const PanelMode mode = session_.Panel().CommandMode;
    if (key->key() == kForecastKey && key->modifiers() == Qt::NoModifier && !key->isAutoRepeat() && widget &&
        widget->window() == window_ && (mode == PanelMode::TownInformation || mode == PanelMode::LastSales) &&
        !Hidden(window_)) {
        Open();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
