/// @file guide_box.cpp The guided first game's menu entry and its box beside the window.
#include "ui/guide_box.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "commands/game_session.h"
#include "ui/dialog_support.h"
#include "ui/history_window.h"
#include "ui/window_zoom.h"
#include "ui/zoom.h"

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

/// The box's size in layout pixels: room for the longest step's words and the list of steps.
constexpr int kBoxWidth = 300;
constexpr int kBoxHeight = 340;
/// How often the box looks at the game (the game changes only through the player's actions).
constexpr int kWatchMilliseconds = 200;

}  // namespace

GuideBox::GuideBox(QWidget* window, const GameSession& session) : QDialog(window), window_(window), session_(session)
{
    setObjectName("GuideBox");
    // A tool window: above the game's window, never modal, and it takes no keyboard focus from
    // the game when it appears.
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(false);
    setAttribute(Qt::WA_ShowWithoutActivating);
    heading_ = new QLabel(this);
    heading_->setWordWrap(true);
    body_ = new QLabel(this);
    body_->setWordWrap(true);
    body_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    body_->setTextFormat(Qt::PlainText);
    steps_ = new QLabel(this);
    steps_->setTextFormat(Qt::RichText);
    steps_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    report_ = new QPushButton(this);
    report_->setAutoDefault(false);
    leave_ = new QPushButton(this);
    leave_->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(report_);
    buttons->addStretch(1);
    buttons->addWidget(leave_);
    auto* column = new QVBoxLayout(this);
    column->addWidget(heading_);
    column->addWidget(body_);
    column->addSpacing(8);
    column->addWidget(steps_);
    column->addStretch(1);
    column->addLayout(buttons);

    connect(report_, &QPushButton::clicked, this, [this] {
        if (auto* history = window_->findChild<HistoryMenu*>())
            history->Open(HistoryDialog::Report);
        Refresh();
    });
    connect(leave_, &QPushButton::clicked, this, &GuideBox::Leave);
    watch_ = new QTimer(this);
    watch_->setInterval(kWatchMilliseconds);
    connect(watch_, &QTimer::timeout, this, &GuideBox::Refresh);
    SetZoom(100);
}

void GuideBox::Begin()
{
    progress_ = BeginGuide(session_.State());
    following_ = true;
    gone_ = false;
    watch_->start();
    qApp->installEventFilter(this);
    Refresh();
}

bool GuideBox::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (following_ &&
        (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease || type == QEvent::KeyPress)) {
        // What the last input did, before this one changes it; and what this one does, once it
        // has been handled.
        Refresh();
        if (!lookSoon_) {
            lookSoon_ = true;
            QTimer::singleShot(0, this, [this] {
                lookSoon_ = false;
                Refresh();
            });
        }
    }
    return QDialog::eventFilter(watched, event);
}

void GuideBox::GameReplaced()
{
    if (!following_)
        return;
    following_ = false;
    gone_ = true;
    watch_->stop();
    qApp->removeEventFilter(this);
    Refresh();
}

bool GuideBox::ReportShown() const
{
    const auto* history = window_->findChild<HistoryMenu*>();
    const HistoryDialog* dialog = history ? history->Dialog() : nullptr;
    return dialog && dialog->isVisible() && dialog->Tabs()->currentIndex() == HistoryDialog::Report;
}

void GuideBox::Refresh()
{
    const GameState& s = session_.State();
    const Language language = s.Program.Language;
    if (following_ && !GuideStillFits(s, progress_)) {
        following_ = false;
        gone_ = true;
        watch_->stop();
        qApp->removeEventFilter(this);
    }
    setWindowTitle(Q(kGuideWords.Caption.In(language)));
    const bool done = progress_.Step == GuidedStep::Done;
    leave_->setText(Q((done || gone_ ? kGuideWords.Close : kGuideWords.Leave).In(language)));
    report_->setText(Q(kGuideWords.Report.In(language)));
    if (gone_) {
        heading_->clear();
        body_->setText(Q(kGuideWords.GameGone.In(language)));
        steps_->clear();
        report_->hide();
        return;
    }
    if (following_) {
        if (ReportShown() && s.MonthCount > progress_.Start.Month)
            progress_.ReportRead = true;
        CurrentGuidedStep(s, progress_);
    }
    const GuidedStep step = progress_.Step;
    const GuidedText text = GuidedStepText(s, step, language);
    heading_->setText("<b>" + Q(text.Title).toHtmlEscaped() + "</b>");
    body_->setText(Q(text.Body));
    QString list;
    for (int i = 0; i < kGuidedSteps; ++i) {
        const QString name = Q(GuidedStepText(s, static_cast<GuidedStep>(i), language).Name).toHtmlEscaped();
        if (i < static_cast<int>(step))
            list += QString::fromUtf8("<span style=\"color:#2a7a2a\">\u2713</span> %1<br>").arg(name);
        else if (i == static_cast<int>(step))
            list += QString::fromUtf8("<b>\u25b6 %1</b><br>").arg(name);
        else
            list += QString::fromUtf8("<span style=\"color:#808080\">\u2022 %1</span><br>").arg(name);
    }
    steps_->setText(list);
    // The report is worth a button once there is one to read.
    report_->setVisible(s.GameActive && !s.History.Months.empty() && step >= GuidedStep::NextTurn);
}

void GuideBox::SetZoom(int zoom)
{
    zoom_ = zoom;
    setFont(ZoomedFont(WindowFont(), zoom));
    setFixedSize(Zoomed(kBoxWidth, zoom), Zoomed(kBoxHeight, zoom));
}

void GuideBox::PlaceBesideWindow()
{
    const QRect frame = window_->frameGeometry();
    const QScreen* screen = window_->screen() ? window_->screen() : QGuiApplication::primaryScreen();
    const QRect room = screen ? screen->availableGeometry() : QRect(frame.topLeft(), frame.size() * 2);
    const int gap = Zoomed(6, zoom_);
    const QSize size = frameGeometry().size().expandedTo(this->size());
    // To the right of the window, else to its left; where neither has room, at the screen's
    // right edge (the player may move it).
    int x = frame.right() + gap;
    if (x + size.width() > room.right() + 1)
        x = frame.left() - gap - size.width();
    if (x < room.left())
        x = room.right() + 1 - size.width();
    const int y = std::max(room.top(), std::min(frame.top(), room.bottom() + 1 - size.height()));
    move(x, y);
}

void GuideBox::Leave()
{
    following_ = false;
    watch_->stop();
    qApp->removeEventFilter(this);
    hide();
}

void GuideBox::closeEvent(QCloseEvent* event)
{
    Leave();
    event->accept();
}

void GuideBox::reject() { Leave(); }

GuideMenu::GuideMenu(QMenu* game, QAction* before, QWidget* window, GameSession& session,
                     std::function<bool()> mayReplaceGame)
    : QObject(window), window_(window), session_(session), mayReplaceGame_(std::move(mayReplaceGame))
{
    entry_ = new QAction(Q(kGuideWords.Menu.English), game);
    game->insertAction(before, entry_);
    connect(entry_, &QAction::triggered, this, &GuideMenu::Start);
}

void GuideMenu::Start()
{
    if (mayReplaceGame_ && !mayReplaceGame_())
        return;
    StartGuidedGame(session_);
    if (!session_.State().GameActive)
        return;
    if (!box_) {
        box_ = new GuideBox(window_, session_);
        box_->SetZoom(zoom_);
    }
    box_->Begin();
    if (!box_->isVisible()) {
        box_->show();
        box_->PlaceBesideWindow();
    }
}

void GuideMenu::GameReplaced()
{
    if (box_)
        box_->GameReplaced();
}

void GuideMenu::SetLanguage(Language language)
{
    entry_->setText(Q(kGuideWords.Menu.In(language)));
    if (box_)
        box_->Refresh();
}

void GuideMenu::SetZoom(int zoom)
{
    zoom_ = zoom;
    if (box_)
        box_->SetZoom(zoom);
}
