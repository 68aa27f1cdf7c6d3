/// @file Tavrek95.cpp The main window: start-up, menus, the command panel's controls, painting,
/// the map click and the close.
#include "ui/Tavrek95.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScopedValueRollback>
#include <QShortcut>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QTranslator>
#include <cstdio>
#include <ctime>
#include <span>

#include "commands/hand_over.h"
#include "commands/panel_content.h"
#include "commands/town_mark.h"
#include "engine/turn.h"
#include "game/names_file.h"
#include "game/status_line.h"
#include "persistence/savegame.h"
#include "platform/cp1252.h"
#include "platform/ini_file.h"
#include "persistence/settings.h"
#include "ui/map_view.h"
#include "ui/town_mark_painter.h"

#include "ui/file_dialogs.h"
#include "ui/hand_over_cover.h"
#include "ui/help_window.h"
#include "ui/high.h"
#include "ui/guide_box.h"
#include "ui/network_game.h"
#include "ui/history_window.h"
#include "ui/price_forecast.h"
#include "ui/town_forecast_window.h"
#include "ui/window_layouts.h"
#include "ui/dialog_support.h"
#include "ui/layout_builder.h"
#include "ui/info.h"
#include "ui/keyboard.h"
#include "ui/newgame.h"
#include "ui/pictures.h"
#include "ui/window_zoom.h"
#include "ui/zoom.h"
#include "ui/zwischen.h"

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

/// The make-up all four grids share: rows of 16 pixels under a heading of 16, figures to read
/// rather than pick (no highlighted cell or heading, no editing), a vertical scroll bar.
void SetUpGrid(QTableWidget* grid, std::span<const int> columnWidths)
{
    QHeaderView* rows = grid->verticalHeader();
    rows->hide();
    // Rows of the layout's height whatever the style would make of the font; the statistics
    // grids are set up only once their pages belong to the window (before, rows grew to 18).
    // Columns and rows are kept at 100 % for the zoom to scale.
    SetGridLayout(*grid, columnWidths, kGridRowHeight, 100);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::NoSelection);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

/// A grid's heading and rows as the panel content gives them (row 0 the heading); a content
/// without them leaves the grid as it is.
template <typename Rows>
void ShowGridContent(QTableWidget* grid, const Rows& rows)
{
    if (rows.empty())
        return;
    QStringList heading;
    for (const std::string& cell : rows[0])
        heading << Q(cell);
    grid->setHorizontalHeaderLabels(heading);
    const int count = std::min(static_cast<int>(rows.size()), grid->rowCount() + 1);
    for (int r = 1; r < count; ++r)
        for (int col = 0; col < static_cast<int>(rows[r].size()) && col < grid->columnCount(); ++col)
            grid->setItem(r - 1, col, new QTableWidgetItem(Q(rows[r][col])));
}

}  // namespace

/// The window's drawing surface: the map, the panel texts and every panel control sit on it at
/// client coordinates. A click that hits no control is the map's click.
class FormSurface : public QWidget {
public:
    explicit FormSurface(TForm1* form) : QWidget(form), form_(form)
    {
        setFixedSize(kClientWidth, kClientHeight);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        form_->FormPaint(p);
    }
    void mousePressEvent(QMouseEvent* event) override { Click(event, false); }
    // The second press of a double click arrives here instead of as a press.
    void mouseDoubleClickEvent(QMouseEvent* event) override { Click(event, true); }

private:
    void Click(QMouseEvent* event, bool doubleClick)
    {
        const MouseButton button = event->button() == Qt::RightButton  ? MouseButton::Right
                                   : event->button() == Qt::LeftButton ? MouseButton::Left
                                                                       : MouseButton::Middle;
        // The handler takes layout pixels, whatever the zoom.
        const QPoint at = event->position().toPoint();
        form_->FormMouseDown(button, doubleClick, Unzoomed(at.x(), form_->Zoom()), Unzoomed(at.y(), form_->Zoom()));
    }

    TForm1* form_;
};

TForm1::TForm1(const GameFolders& folders, QWidget* parent, Frontend* dialogs, std::unique_ptr<SoundDevice> soundDevice)
    : QMainWindow(parent),
      session_(*this, folders.Data),
      state_(session_.State()),
      panel_(session_.Panel()),
      sounds_(soundDevice ? std::make_unique<SoundEffects>(std::move(soundDevice)) : std::make_unique<SoundEffects>()),
      dialogs_(dialogs),
      folders_(folders)
{
    sounds_->SetDirectory(QString::fromStdString(folders_.Resources));
    // The window closes an ended game for further turns and offers New and Open instead.
    session_.StopAtTheEnd(true);
    setFont(WindowFont());
    setWindowIcon(GameIcon());
    surface_ = new FormSurface(this);
    setCentralWidget(surface_);
    CreateMenus();
    CreateControls();
    ApplyStyleZoom(zoom_);  // a window starts at 100 %, whatever an earlier one showed
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    move(1, 1);

    ChooseOpenFile = [this] { return AskOpenFile(this, state_.Program.Language, zoom_); };
    ChooseSaveFile = [this] { return AskSaveFile(this, state_.Program.Language, SaveFileName(), zoom_); };
    OpenDocument = OpenWithDesktop;
    RunNewGameDialog = [](TNGDialog& dialog) { return dialog.exec() == QDialog::Accepted; };
    AvailableScreenSize = [this] {
        const QScreen* on = screen() ? screen() : QGuiApplication::primaryScreen();
        return on ? on->availableGeometry().size() : QSize(kClientWidth, kClientHeight);
    };
    WaitForHandOver = [](HandOverCover& cover) { cover.Wait(); };

    ngDialog_ = new TNGDialog(this);
    infoDialog_ = new TInfoDialog(this);
    zwischenDialog_ = new TZwischenDialog(this);
    highDialog_ = new THighDialog(this);

    // FormCreate, in its order.
    // The settings (set up at the first start) and the seed, from the calendar time.
    const StartupSettings startup =
        session_.StartProgram(LegacySettingsDirectory(), static_cast<uint32_t>(std::time(nullptr)));
    RadioButton1->setChecked(state_.Program.Language == Language::English);
    RadioButton2->setChecked(state_.Program.Language == Language::German);
    FillPanelControls(false);  // mode 0: every panel control hidden
    sounds_->SetEnabled(startup.SoundOn);
    Menu(MenuEntry::Sound2)->setChecked(startup.SoundOn);
    Menu(MenuEntry::FastExit1)->setChecked(startup.AutosaveOnExit);
    wantedZoom_ = startup.Zoom;
    handOverAction_->setChecked(session_.HandOverScreen());
    comfortsAction_->setChecked(startup.Comforts);
    ApplyComforts();
    PlaySoundEffect(5);
    ApplyLanguage();
    // Said once, when the window is up: otherwise lost options and names would come unexplained.
    if (!CanKeepSettingsAndNames(state_.Program.ProgramDirectory))
        QTimer::singleShot(0, this, [this] {
            ShowMessage(CannotKeepSettingsText(state_.Program.ProgramDirectory), FileErrorCaption(),
                        MessageIcon::Warning);
        });
}

TForm1::~TForm1()
{
    // Network play watches every event of the program; it goes first, so that no event of the
    // window's own teardown asks a window that is half gone.
    delete findChild<NetworkMenu*>();
}

QWidget* TForm1::Surface() const { return surface_; }

QString TForm1::StatusText() const { return StatusBar1->currentMessage(); }

void TForm1::CreateMenus()
{
    auto action = [this](MenuEntry entry, QMenu* menu, void (TForm1::*handler)(), bool checkable = false) {
        QAction* a = menu->addAction(Q(kMenuCaptions[static_cast<size_t>(entry)].English));
        a->setCheckable(checkable);
        connect(a, &QAction::triggered, this, handler);
        menu_[static_cast<size_t>(entry)] = a;
        return a;
    };
    auto submenu = [this](MenuEntry entry) {
        QMenu* m = menuBar()->addMenu(Q(kMenuCaptions[static_cast<size_t>(entry)].English));
        menu_[static_cast<size_t>(entry)] = m->menuAction();
        return m;
    };
    QMenu* game = submenu(MenuEntry::Game1);
    action(MenuEntry::New1, game, &TForm1::New1Click);
    action(MenuEntry::Open1, game, &TForm1::Open1Click);
    action(MenuEntry::Save1, game, &TForm1::Save1Click);
    action(MenuEntry::Saveas1, game, &TForm1::Saveas1Click);
    action(MenuEntry::Exit1, game, &TForm1::Exit1Click);
    new GuideMenu(game, Menu(MenuEntry::Open1), this, session_,
                  [this] { return MayLeaveRunningGame(session_.BeforeReplacingGame()); });  // a child of the window
    // Network play: Game > Network Game, a child of the window.
    new NetworkMenu(game, Menu(MenuEntry::Exit1), *this,
                    [this] { return MayLeaveRunningGame(session_.BeforeReplacingGame()); });
    QMenu* orders = submenu(MenuEntry::Standingorders1);
    action(MenuEntry::New2, orders, &TForm1::New2Click);
    action(MenuEntry::Delete1, orders, &TForm1::Delete1Click);
    action(MenuEntry::DisplayChange1, orders, &TForm1::DisplayChange1Click);
    QMenu* statistics = submenu(MenuEntry::Statistics1);
    action(MenuEntry::MarketShares1, statistics, &TForm1::MarketShares1Click);
    action(MenuEntry::StatisticDialog1, statistics, &TForm1::StatisticDialog1Click);
    action(MenuEntry::Bestopponent1, statistics, &TForm1::Bestopponent1Click, true)->setChecked(true);
    statistics->addSeparator();
    action(MenuEntry::Highscore1, statistics, &TForm1::Highscore1Click);
    auto* history = new HistoryMenu(statistics, this, session_);  // a child of the window
    new TownForecastMenu(statistics, history->ReportOption(), this, session_,
                         [this] { return zoom_; });  // a child of the window
    QMenu* options = submenu(MenuEntry::Sound1);
    action(MenuEntry::Sound2, options, &TForm1::Sound2Click, true);
    action(MenuEntry::EditNames1, options, &TForm1::EditNames1Click);
    action(MenuEntry::RestoreNames1, options, &TForm1::RestoreNames1Click);
    action(MenuEntry::FastExit1, options, &TForm1::FastExit1Click, true);
    handOverAction_ = options->addAction(QString());
    handOverAction_->setCheckable(true);
    connect(handOverAction_, &QAction::triggered, this, &TForm1::HandOverScreen1Click);
    comfortsAction_ = options->addAction(QString());
    comfortsAction_->setCheckable(true);
    connect(comfortsAction_, &QAction::triggered, this, &TForm1::Comforts1Click);
    history->AddAdvisorOption(options);
    QMenu* zoom = options->addMenu(QString());
    menu_[static_cast<size_t>(MenuEntry::Zoom1)] = zoom->menuAction();
    auto* zoomSteps = new QActionGroup(this);
    for (QAction* step : {action(MenuEntry::Zoom100, zoom, &TForm1::Zoom100Click, true),
                          action(MenuEntry::Zoom150, zoom, &TForm1::Zoom150Click, true),
                          action(MenuEntry::Zoom200, zoom, &TForm1::Zoom200Click, true)})
        zoomSteps->addAction(step);
    Menu(MenuEntry::Zoom100)->setChecked(true);
    QMenu* language = submenu(MenuEntry::Language1);
    action(MenuEntry::English1, language, &TForm1::English1Click);
    action(MenuEntry::Deutsch1, language, &TForm1::Deutsch1Click);
    QMenu* help = submenu(MenuEntry::Help1);
    action(MenuEntry::Contents1, help, &TForm1::Contents1Click);
    help->addSeparator();
    action(MenuEntry::Info1, help, &TForm1::Info1Click);
    for (const MenuShortcut& shortcut : kMenuShortcuts)
        Menu(shortcut.Entry)->setShortcut(QKeySequence(shortcut.Key));
}

void TForm1::CreateControls()
{
    const BuiltControls c = BuildControls(*surface_, kMainWindowLayout);
    controls_ = c;
    QPushButton** buttons[] = {&Button1, &Button2, &Button3, &Button4,  &Button5, &Button6,
                               &Button7, &Button8, &Button9, &Button10, &Button11};
    void (TForm1::*handlers[])() = {&TForm1::Button1Click,  &TForm1::Button2Click, &TForm1::Button3Click,
                                    &TForm1::Button4Click,  &TForm1::Button5Click, &TForm1::Button6Click,
                                    &TForm1::Button7Click,  &TForm1::Button8Click, &TForm1::Button9Click,
                                    &TForm1::Button10Click, &TForm1::Button11Click};
    for (size_t i = 0; i < std::size(buttons); ++i) {
        QPushButton* b = c.Get<QPushButton>("Button" + std::to_string(i + 1));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, handlers[i]);
        *buttons[i] = b;
    }
    QListWidget** lists[] = {&ListBox1, &ListBox2, &ListBox3, &ListBox4, &ListBox5, &ListBox6};
    for (size_t i = 0; i < std::size(lists); ++i)
        *lists[i] = c.Get<QListWidget>("ListBox" + std::to_string(i + 1));
    QLineEdit** edits[] = {&Edit1, &Edit2, &Edit3, &Edit4, &Edit5};
    for (size_t i = 0; i < std::size(edits); ++i)
        *edits[i] = c.Get<QLineEdit>("Edit" + std::to_string(i + 1));
    new PriceForecastLabels(session_, {Edit2, Edit3, Edit4});  // a child of Edit2

    StringGrid1 = c.Get<QTableWidget>("StringGrid1");
    StringGrid1->setRowCount(kSalesGridRows - 1);
    StringGrid1->setColumnCount(kSalesGridColumns);
    SetUpGrid(StringGrid1, kSalesGridColumnWidths);

    StringGrid2 = c.Get<QTableWidget>("StringGrid2");
    StringGrid2->setRowCount(kMarketShareRows - 1);
    StringGrid2->setColumnCount(kStatisticsColumns);
    SetUpGrid(StringGrid2, kMarketShareGridColumnWidths);
    // The five columns fill the grid beside its scroll bar; no sideways scrolling.
    StringGrid2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    PageControl1 = c.Get<QTabWidget>("PageControl1");
    CreateStatisticsView();

    RadioButton1 = c.Get<QRadioButton>("RadioButton1");
    RadioButton2 = c.Get<QRadioButton>("RadioButton2");
    connect(RadioButton1, &QRadioButton::clicked, this, &TForm1::RadioButton1Click);
    connect(RadioButton2, &QRadioButton::clicked, this, &TForm1::RadioButton2Click);

    StatusBar1 = c.Get<QStatusBar>("StatusBar1");
    handOverCover_ = new HandOverCover(surface_);

    SetPanelTabOrder(c);
    InstallPanelKeys(c, this);
    // Enter is OK and Escape Cancel wherever the panel shows them; N ends the month, and only
    // from the command buttons, so that no Enter after a command can end it.
    auto key = [this](QKeySequence sequence, QPushButton* button) {
        auto* shortcut = new QShortcut(sequence, this);
        connect(shortcut, &QShortcut::activated, button, [button] {
            if (button->isVisible() && button->isEnabled())
                button->click();
        });
        return shortcut;
    };
    okKeys_ = {key(Qt::Key_Return, Button9), key(Qt::Key_Enter, Button9)};
    cancelKey_ = key(Qt::Key_Escape, Button10);
    nextTurnKey_ = key(kNextTurnKey, Button8);
    // Page Down and Page Up walk the towns, for a player without a mouse.
    for (const auto& [sequence, step] :
         {std::pair{QKeySequence(Qt::Key_PageDown), 1}, std::pair{QKeySequence(Qt::Key_PageUp), -1}}) {
        auto* shortcut = new QShortcut(sequence, this);
        connect(shortcut, &QShortcut::activated, this, [this, step = step] {
            if (!handOverCover_->isVisible())
                session_.StepTown(step);
        });
    }

    Timer1 = new QTimer(this);
    Timer1->setInterval(kAnimationTickMs);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
}

void TForm1::CreateStatisticsView()
{
    auto sheet = [this](const WindowLayout& layout, QLabel*& choiceLabel, QComboBox*& choice, QLabel*& sortLabel,
                        QComboBox*& sort, QTableWidget*& grid, void (TForm1::*choiceChange)(),
                        void (TForm1::*sortChange)()) {
        auto* page = new QWidget;
        const BuiltControls c = BuildControls(*page, layout);
        pageControls_[&layout == &kTownsPageLayout ? 0 : 1] = c;
        // Each page: the choice's label and list, the sort key's label and list, the grid.
        choiceLabel = c.Get<QLabel>(layout.Controls[0].Name);
        choice = c.Get<QComboBox>(layout.Controls[1].Name);
        sortLabel = c.Get<QLabel>(layout.Controls[2].Name);
        sort = c.Get<QComboBox>(layout.Controls[3].Name);
        grid = c.Get<QTableWidget>(layout.Controls[4].Name);
        for (int key = 0; key < 5; ++key)
            sort->addItem(QString());
        grid->setRowCount(kStatisticsDataRows);
        grid->setColumnCount(kStatisticsColumns);
        // Only a choice by the player re-sorts: filling the lists programmatically must not.
        connect(choice, &QComboBox::activated, this, choiceChange);
        connect(sort, &QComboBox::activated, this, sortChange);
        return page;
    };
    TabSheet1 = sheet(kTownsPageLayout, Label1, ComboBox1, Label2, ComboBox2, StringGrid3, &TForm1::ComboBox1Change,
                      &TForm1::ComboBox2Change);
    TabSheet2 = sheet(kCompaniesPageLayout, Label3, ComboBox3, Label4, ComboBox4, StringGrid4, &TForm1::ComboBox3Change,
                      &TForm1::ComboBox4Change);
    PageControl1->addTab(TabSheet1, QString());
    PageControl1->addTab(TabSheet2, QString());
    // Set up once the pages belong to the window, so they have its font and style.
    SetUpGrid(StringGrid3, kStatisticsGridColumnWidths);
    SetUpGrid(StringGrid4, kStatisticsGridColumnWidths);
    // A click on a column's heading sorts by it: the columns are the sort keys in their order.
    auto sortByHeading = [this](QTableWidget* grid, QComboBox* sort, void (TForm1::*change)()) {
        grid->horizontalHeader()->setSectionsClickable(true);
        connect(grid->horizontalHeader(), &QHeaderView::sectionClicked, this, [this, sort, change](int column) {
            sort->setCurrentIndex(column);
            (this->*change)();
        });
    };
    sortByHeading(StringGrid3, ComboBox2, &TForm1::ComboBox2Change);
    sortByHeading(StringGrid4, ComboBox4, &TForm1::ComboBox4Change);
}

void TForm1::ShowCurrentPicture()
{
    // A box is read against the map, the markers of the company on turn and the status line as
    // they are now, not as they were before a new game or a hand-over began. The start screen's
    // language choice does not belong over a game's map.
    if (state_.GameActive) {
        RadioButton1->hide();
        RadioButton2->hide();
    }
    surface_->repaint();
}

// --- the seam --------------------------------------------------------------------------------

void TForm1::ShowMessage(const LocalText& text, const LocalText& caption, MessageIcon icon)
{
    ShowCurrentPicture();
    if (dialogs_)
        dialogs_->ShowMessage(text, caption, icon);
    else
        boxes_.Show(text, caption, icon, state_.Program.Language, zoom_);
}

bool TForm1::AskYesNo(const LocalText& text, const LocalText& caption)
{
    ShowCurrentPicture();
    if (dialogs_)
        return dialogs_->AskYesNo(text, caption);
    return boxes_.AskYesNo(text, caption, state_.Program.Language, zoom_);
}

YesNoCancel TForm1::AskYesNoCancel(const LocalText& text, const LocalText& caption)
{
    ShowCurrentPicture();
    if (dialogs_)
        return dialogs_->AskYesNoCancel(text, caption);
    return boxes_.AskYesNoCancel(text, caption, state_.Program.Language, zoom_);
}

void TForm1::PlaySoundEffect(int number)
{
    sounds_->Play(number);
    if (dialogs_)
        dialogs_->PlaySoundEffect(number);
}

void TForm1::ShowStatusLine(const LocalText& line)
{
    StatusBar1->showMessage(Q(line.In(state_.Program.Language)));
    if (dialogs_)
        dialogs_->ShowStatusLine(line);
}

void TForm1::SetCaption(const LocalText& caption)
{
    lastCaption_ = caption;
    UpdateTitle();
    if (dialogs_)
        dialogs_->SetCaption(caption);
}

void TForm1::UpdateTitle() { setWindowTitle(Q(session_.Title(lastCaption_))); }

void TForm1::Redraw()
{
    // A command or a month may have changed the game: the title's mark follows.
    UpdateTitle();
    FillPanelControls(keepInputOnRedraw_);
    surface_->update();
    if (dialogs_)
        dialogs_->Redraw();
}

void TForm1::StartAnimation(int town, int nextTown, int stage)
{
    if (dialogs_)
        dialogs_->StartAnimation(town, nextTown, stage);
    // A running animation is never restarted: Start refuses while the timer runs.
    if (animation_.Start(town, nextTown, stage))
        Timer1->start();
}

void TForm1::HandOverTo(int company)
{
    if (handOverAction_->isChecked() && state_.TwoPlayer) {
        // Map, panel and menus wait under the cover until the next player takes the machine.
        menuBar()->setEnabled(false);
        handOverCover_->Show(Q(HandOverText(state_, company).In(state_.Program.Language)));
        WaitForHandOver(*handOverCover_);
        handOverCover_->Take();
        menuBar()->setEnabled(true);
    }
    if (dialogs_)
        dialogs_->HandOverTo(company);
}

void TForm1::ShowBestOpponentDialog()
{
    ShowCurrentPicture();
    if (dialogs_) {
        dialogs_->ShowBestOpponentDialog();
        return;
    }
    zwischenDialog_->ShowFor(state_);
}

// --- painting --------------------------------------------------------------------------------

uint64_t TForm1::MapLayerKey() const
{
    // Everything map and markers depend on; mixed into one number.
    uint64_t key = static_cast<uint64_t>(state_.GameActive) | static_cast<uint64_t>(state_.MapNumber & 0xff) << 1 |
                   static_cast<uint64_t>(panel_.CommandMode == PanelMode::Statistics) << 9 |
                   static_cast<uint64_t>(state_.CurrentCompany & 0xff) << 10 |
                   static_cast<uint64_t>(BufferRatio() * 4) << 18 |
                   static_cast<uint64_t>(state_.SelectedTown & 0xff) << 56;
    const int c = state_.CurrentCompany;
    if (c >= 0 && c < kCompanies) {
        uint64_t bits = 0;
        for (int t = 0; t < kTowns; ++t) {
            for (int b = 0; b < kBrands; ++b)
                bits = bits << 1 | (state_.Capacity[c][b][t] > 0);
            bits = bits << 1 | state_.HasDepot[c][t];
        }
        key ^= bits << 24;
        // The breweries under construction and their months, folded in as one hash.
        uint64_t building = static_cast<uint64_t>(static_cast<uint32_t>(state_.MonthCount));
        for (const BreweryUnderConstruction& planned : BreweriesUnderConstruction(state_, c))
            building = building * 131 + static_cast<uint64_t>(planned.Town * kBrands + planned.Brand + 1);
        key ^= building * 0x9E3779B97F4A7C15ULL;
    }
    return key;
}

void TForm1::RebuildBackBuffer()
{
    mapLayerKey_ = MapLayerKey();
    const qreal ratio = BufferRatio();
    if (backBuffer_.isNull() || backBuffer_.devicePixelRatio() != ratio) {
        // RGB32, so that the animation's raster operations apply to it. It holds the zoomed
        // window's pixels, and its ratio lets everything be drawn in layout pixels.
        backBuffer_ =
            QImage(QSize(Zoomed(kClientWidth, zoom_), Zoomed(kClientHeight, zoom_)) * surface_->devicePixelRatioF(),
                   QImage::Format_RGB32);
        backBuffer_.setDevicePixelRatio(ratio);
    }
    backBuffer_.fill(palette().color(QPalette::Button));
    // Map and markers go through the back buffer, which the map animation draws on too.
    QPainter b(&backBuffer_);
    PaintMap(b, pictures_, state_, panel_.CommandMode);
    if (state_.GameActive && panel_.CommandMode != PanelMode::Statistics) {
        DrawCompanyMarkers(b, pictures_, state_);
        DrawBreweriesUnderConstruction(b, pictures_, state_);
        DrawSelectedTownFrame(b, state_);
    }
}

const AnimationPictureSet& TForm1::AnimationPictures()
{
    const qreal ratio = BufferRatio();
    const int map = state_.MapNumber >= 1 && state_.MapNumber <= kMaps ? state_.MapNumber : 1;
    if (map != animationPicturesMap_ || ratio != animationPicturesRatio_) {
        auto image = [&](const std::string& name) {
            return pictures_.Get(name, ratio).toImage().convertToFormat(QImage::Format_RGB32);
        };
        for (int sprite = kSpriteDepot; sprite <= kSpriteMoney; ++sprite) {
            animationPictures_[sprite] = image(AnimationPictureName(sprite));
            animationPictures_[sprite + kMaskOffset] = image(AnimationPictureName(sprite + kMaskOffset));
        }
        animationPictures_[kPictureMap] = image(MapPictureName(map));
        animationPicturesMap_ = map;
        animationPicturesRatio_ = ratio;
    }
    return animationPictures_;
}

void TForm1::Timer1Timer()
{
    const AnimationTick tick = animation_.Step(state_.MapNumber);
    if (!tick.TimerOn)
        Timer1->stop();
    if (tick.Draws.empty())
        return;
    if (backBuffer_.isNull() || backBuffer_.devicePixelRatio() != BufferRatio())
        RebuildBackBuffer();
    PaintAnimationTick(backBuffer_, tick, AnimationPictures());
    bufferHoldsTick_ = true;
    surface_->update();
}

void TForm1::FormPaint(QPainter& p)
{
    // A tick's drawing is shown as it is, and so is a running animation's while the map and
    // markers underneath stay the same; any other paint redraws them, and the following ticks
    // keep drawing over them.
    const bool keep = bufferHoldsTick_ || (animation_.Running() && MapLayerKey() == mapLayerKey_);
    if (!keep || backBuffer_.isNull())
        RebuildBackBuffer();
    bufferHoldsTick_ = false;
    const QColor face = palette().color(QPalette::Button);
    p.drawImage(QRect(0, 0, Zoomed(kClientWidth, zoom_), Zoomed(kClientHeight, zoom_)), backBuffer_);

    // DrawPanel: the band, then the texts of the mode, at their zoomed places in the zoomed font.
    p.fillRect(ZoomedRect(QRect(kPanelBand.X, kPanelBand.Y, kPanelBand.Width, kPanelBand.Height), zoom_), face);
    const QFont font = WindowFont(zoom_);
    p.setFont(font);
    p.setPen(palette().color(QPalette::ButtonText));
    const QFontMetrics metrics(font);
    const PanelContent content = session_.Content();
    for (const PanelText& text : content.Texts) {
        const QString t = Q(text.Text);
        const int left = Zoomed(text.X, zoom_);
        const int x = text.Align == TextAlign::Right ? left - metrics.horizontalAdvance(t) : left;
        p.drawText(x, Zoomed(text.Y, zoom_) + metrics.ascent(), t);
    }
}

// --- the command panel -----------------------------------------------------------------------

void TForm1::FillPanelControls(bool keepInput)
{
    const PanelContent content = session_.Content();
    for (int i = 0; i <= static_cast<int>(PanelControl::PageControl1); ++i) {
        const auto control = static_cast<PanelControl>(i);
        Control(control)->setVisible(content.Shows(control));
    }
    // The language choice belongs to the start screen; every mode switch hides it.
    RadioButton1->setVisible(panel_.CommandMode == PanelMode::None);
    RadioButton2->setVisible(panel_.CommandMode == PanelMode::None);
    Button9->setText(OkCaptionWithAccessKey(content.Mode, content.Button9Caption, state_.Program.Language));
    Button10->setText(Q(content.Button10Caption.empty() ? kButtonTexts[9].Caption.In(state_.Program.Language)
                                                        : content.Button10Caption));
    UpdateMenus();
    for (QShortcut* ok : okKeys_)
        ok->setEnabled(content.Shows(PanelControl::Button9));
    // An ended game's Button10 opens a game: no Escape should do that.
    cancelKey_->setEnabled(content.Shows(PanelControl::Button10) && panel_.CommandMode != PanelMode::GameOver);
    nextTurnKey_->setEnabled(session_.Comforts() && panel_.CommandMode == PanelMode::Idle &&
                             content.Shows(PanelControl::Button8));
    auto fillList = [keepInput, &content](QListWidget* list, const std::vector<std::string>& entries,
                                          const std::vector<int>& values) {
        const int row = keepInput ? list->currentRow() : -1;
        const bool selected = keepInput && !list->selectedItems().isEmpty();
        list->clear();
        // Each row keeps what it stands for: OK makes the command from it, not from its words.
        for (size_t i = 0; i < entries.size(); ++i) {
            auto* item = new QListWidgetItem(Q(entries[i]), list);
            item->setData(Qt::UserRole, i < values.size() ? values[i] : kNoChoice);
        }
        if (selected && row >= 0 && row < list->count())
            list->setCurrentRow(row);
        // A single choice is made already, when the comforts say so; OK takes it.
        if (content.PreselectSingleEntry && list->count() == 1 && list->selectedItems().isEmpty())
            list->setCurrentRow(0);
    };
    fillList(ListBox1, content.ListBox1, content.ListBox1Values);
    fillList(ListBox2, content.ListBox2, content.ListBox2Values);
    fillList(ListBox3, content.ListBox3, content.ListBox3Values);
    fillList(ListBox4, content.ListBox4, content.ListBox4Values);
    fillList(ListBox5, content.ListBox5, content.ListBox5Values);
    fillList(ListBox6, content.ListBox6, content.ListBox6Values);
    if (!keepInput) {
        const std::pair<QLineEdit*, const std::string*> edits[] = {{Edit1, &content.Edit1},
                                                                   {Edit2, &content.Edit2},
                                                                   {Edit3, &content.Edit3},
                                                                   {Edit4, &content.Edit4},
                                                                   {Edit5, &content.Edit5}};
        for (size_t i = 0; i < std::size(edits); ++i) {
            const auto control = static_cast<PanelControl>(static_cast<int>(PanelControl::Edit1) + static_cast<int>(i));
            if (std::find(content.FilledEdits.begin(), content.FilledEdits.end(), control) != content.FilledEdits.end())
                edits[i].first->setText(Q(*edits[i].second));
        }
    }
    ShowGridContent(StringGrid1, content.SalesGrid);
    ShowGridContent(StringGrid2, content.MarketShares);
    if (!content.MarketShares.empty())
        HighlightOwnRows(StringGrid2);
    // Last, so that the first field holds its text when the focus lands in it.
    if (panel_.CommandMode != focusedMode_) {
        focusedMode_ = panel_.CommandMode;
        FocusFirstControl(content);
    }
}

void TForm1::FocusFirstControl(const PanelContent& content)
{
    if (content.Mode == PanelMode::None)
        return;
    // The command buttons wait for their keys; a command starts in its first field or list, a
    // mode without one on OK.
    if (content.Mode == PanelMode::Idle) {
        surface_->setFocus();
        return;
    }
    for (const std::string_view name : kPanelTabOrder) {
        QWidget* widget = controls_.Widget(name);
        for (const PanelControl control : content.Visible)
            if (Control(control) == widget && widget != Button10) {
                widget->setFocus();
                // A filled field is typed over, as Tab into it would have it.
                if (auto* edit = qobject_cast<QLineEdit*>(widget))
                    edit->selectAll();
                return;
            }
    }
}

void TForm1::UpdateMenus()
{
    // What needs a running game is closed on the start screen, and the commands once it ended.
    const bool game = state_.GameActive;
    const bool playing = game && !session_.End();
    for (const MenuEntry entry : {MenuEntry::Save1, MenuEntry::Saveas1})
        Menu(entry)->setEnabled(game);
    for (const MenuEntry entry : {MenuEntry::New2, MenuEntry::Delete1, MenuEntry::DisplayChange1,
                                  MenuEntry::MarketShares1, MenuEntry::StatisticDialog1})
        Menu(entry)->setEnabled(playing);
    // An ended game's record can still be read.
    if (auto* history = findChild<HistoryMenu*>())
        history->SetGameRunning(game);
}

QWidget* TForm1::Control(PanelControl control) const
{
    QWidget* const widgets[] = {Button1,  Button2,     Button3,     Button4,     Button5,  Button6,  Button7,
                                Button8,  Button9,     Button10,    Button11,    ListBox1, ListBox2, ListBox3,
                                ListBox4, ListBox5,    ListBox6,    Edit1,       Edit2,    Edit3,    Edit4,
                                Edit5,    StringGrid1, StringGrid2, PageControl1};
    static_assert(std::size(widgets) == static_cast<size_t>(PanelControl::PageControl1) + 1);
    return widgets[static_cast<size_t>(control)];
}

std::optional<Command> TForm1::GatherCommand() const
{
    const std::optional<CommandKind> kind = CommandOfMode(panel_.CommandMode);
    if (!kind)
        return std::nullopt;
    // What the chosen row stands for; kNoChoice while the player has chosen none.
    auto chosen = [](const QListWidget* list) {
        const auto items = list->selectedItems();
        return items.isEmpty() ? kNoChoice : items.front()->data(Qt::UserRole).toInt();
    };
    auto typed = [](const QLineEdit* edit) { return edit->text().toStdString(); };
    Command c;
    c.Kind = *kind;
    switch (*kind) {
    case CommandKind::BuildBrewery:
        c.Brand = chosen(ListBox1);
        break;
    case CommandKind::ExtendBrewery:
        c.Brand = chosen(ListBox1);
        c.Amount = typed(Edit1);
        break;
    case CommandKind::ChangePrices:
        c.Prices = {typed(Edit2), typed(Edit3), typed(Edit4)};
        break;
    case CommandKind::TransportBeer:
        c.Brand = chosen(ListBox3);
        c.Town = chosen(ListBox4);
        c.Amount = typed(Edit5);
        break;
    case CommandKind::TransferMoney:
        c.Town = chosen(ListBox4);
        c.Amount = typed(Edit5);
        break;
    case CommandKind::NewOrder:
        c.Brand = chosen(ListBox6);
        c.FromTown = chosen(ListBox5);
        c.Town = chosen(ListBox4);
        c.Amount = typed(Edit5);
        break;
    case CommandKind::DeleteOrder:
        c.Order = chosen(ListBox2);
        break;
    default:
        break;  // Build Depot and New Brand take nothing; the offer's answer is asked when it runs
    }
    return c;
}

void TForm1::Button1Click() { session_.EnterMode(PanelMode::BuildBrewery); }
void TForm1::Button2Click() { session_.EnterMode(PanelMode::ExtendBrewery); }
void TForm1::Button3Click() { session_.EnterMode(PanelMode::BuildDepot); }
void TForm1::Button4Click() { session_.EnterMode(PanelMode::TransportBeer); }
void TForm1::Button5Click() { session_.EnterMode(PanelMode::TransferMoney); }
void TForm1::Button6Click() { session_.EnterMode(PanelMode::ChangePrices); }
void TForm1::Button7Click() { session_.EnterMode(PanelMode::NewBrand); }

void TForm1::Button8Click()
{
    if (findChild<NetworkMenu*>()->EndTurn())  // a network game's turn ends on the server
        return;
    Command nextTurn;
    nextTurn.Kind = CommandKind::NextTurn;
    session_.Execute(nextTurn);
    surface_->update();
    findChild<HistoryMenu*>()->AfterTurn();
}

void TForm1::Button9Click()
{
    // An ended game offers a new one here, and an old one under Button10.
    if (session_.End()) {
        New1Click();
        return;
    }
    if (const std::optional<Command> command = GatherCommand())
        session_.Execute(*command);
    else
        session_.PressOk();
    surface_->update();
}

void TForm1::Button10Click()
{
    if (session_.End()) {
        Open1Click();
        return;
    }
    session_.PressCancel();
}
void TForm1::Button11Click() { session_.EnterMode(PanelMode::TownInformation); }

void TForm1::FormMouseDown(MouseButton button, bool doubleClick, int x, int y)
{
    const QScopedValueRollback keep(keepInputOnRedraw_, session_.ClickKeepsInput(button, doubleClick, x, y));
    session_.ClickMap(button, doubleClick, x, y);
}

// --- menus -----------------------------------------------------------------------------------

void TForm1::StartNewGame(const NewGameSettings& settings)
{
    session_.NewGame(settings);
    findChild<GuideMenu*>()->GameReplaced();
    findChild<NetworkMenu*>()->GameReplaced();
}

bool TForm1::MayLeaveRunningGame(GameSession::Leaving leaving)
{
    if (leaving != GameSession::Leaving::SaveFirst)
        return leaving == GameSession::Leaving::Go;
    session_.SetLeaving(true);
    Save1Click();
    session_.SetLeaving(false);
    // A save that was cancelled or failed keeps the player in the game.
    return !session_.Changed();
}

void TForm1::New1Click()
{
    if (!MayLeaveRunningGame(session_.BeforeReplacingGame()))
        return;
    ngDialog_->Prepare(state_);
    if (!RunNewGameDialog(*ngDialog_))
        return;
    StartNewGame(ngDialog_->Settings());
}

bool TForm1::OpenGameFile(const QString& path)
{
    const bool opened = session_.Open(path.toStdString());
    if (opened) {
        findChild<GuideMenu*>()->GameReplaced();
        findChild<NetworkMenu*>()->GameReplaced();
    }
    UpdateTitle();
    return opened;
}

void TForm1::Open1Click()
{
    if (!MayLeaveRunningGame(session_.BeforeReplacingGame()))
        return;
    const QString path = ChooseOpenFile();
    if (!path.isEmpty())
        OpenGameFile(path);
}

void TForm1::SaveGameFile(const QString& path)
{
    // A file that cannot be opened for writing: the save dialog asks for another one.
    const SaveStatus status = session_.SaveAs(path.toStdString());
    UpdateTitle();
    if (status == SaveStatus::CannotOpen)
        Saveas1Click();
}

void TForm1::Save1Click()
{
    // Without a file yet, or one that cannot be opened for writing (the session has said why),
    // the save dialog asks for one; cancelling it ends the command. A failed write has been
    // reported already and left the old file as it was.
    if (session_.Save() == SaveStatus::CannotOpen)
        Saveas1Click();
    UpdateTitle();
}

void TForm1::Saveas1Click()
{
    if (!state_.GameActive)
        return;  // nothing to save: no dialog either
    const QString path = ChooseSaveFile();
    if (!path.isEmpty())
        SaveGameFile(path);
}

void TForm1::Exit1Click() { close(); }

void TForm1::CloseBySignal()
{
    closingBySignal_ = true;
    // The hand-over waits for a player who may not come.
    if (handOverCover_->isVisible())
        handOverCover_->Take();
    close();
    closingBySignal_ = false;
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (closingBySignal_) {
        std::string why;
        if (!session_.LeaveWithoutQuestion(&why))
            std::fprintf(stderr, "tavrek: %s\n", ControlsReplaced(why).c_str());
        event->accept();
        return;
    }
    // The turn in the middle of its hand-over is finished first.
    if (handOverCover_->isVisible()) {
        event->ignore();
        return;
    }
    const auto leaving = session_.BeforeClosing();
    if (MayLeaveRunningGame(leaving)) {
        session_.Leave();
        event->accept();
    } else {
        event->ignore();
    }
}

void TForm1::showEvent(QShowEvent* event)
{
    if (!shown_) {
        shown_ = true;
        SetZoom(wantedZoom_);
    }
    QMainWindow::showEvent(event);
}

void TForm1::New2Click() { session_.EnterMode(PanelMode::NewOrder); }
void TForm1::Delete1Click() { session_.EnterMode(PanelMode::DeleteOrder); }
void TForm1::DisplayChange1Click() { session_.EnterMode(PanelMode::ListOrders); }
void TForm1::MarketShares1Click() { session_.EnterMode(PanelMode::MarketShares); }

void TForm1::StatisticDialog1Click()
{
    // A fresh snapshot in company, town, brand order; the tabs then sort it in turn.
    RefreshStatisticsTable(state_, statisticsTable_);
    const QSignalBlocker block1(ComboBox1);
    const QSignalBlocker block3(ComboBox3);
    const StatisticsChoice opening = OpeningStatisticsChoice(state_, statistics_);
    ComboBox1->clear();
    for (const std::string& town : state_.TownName)
        ComboBox1->addItem(Q(town));
    ComboBox1->setCurrentIndex(opening.Town);
    ComboBox2->setCurrentIndex(opening.TownSort);
    FillTownsGrid();
    ComboBox3->clear();
    for (const std::string& company : state_.CompanyName)
        ComboBox3->addItem(Q(company));
    ComboBox3->setCurrentIndex(opening.Company);
    ComboBox4->setCurrentIndex(opening.CompanySort);
    FillCompaniesGrid();
    session_.EnterMode(PanelMode::Statistics);
}

namespace {

void ShowStatisticsGrid(QTableWidget* grid, const StatisticsGrid& rows)
{
    for (int r = 0; r < kStatisticsDataRows; ++r)
        for (int col = 0; col < kStatisticsColumns; ++col) {
            auto* item = new QTableWidgetItem(Q(rows[r][col]));
            if (col >= 2)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid->setItem(r, col, item);
        }
}

}  // namespace

void TForm1::FillTownsGrid()
{
    ShowStatisticsGrid(StringGrid3, FillStatisticsGrid(state_, statisticsTable_, StatisticsTab::Towns,
                                                       ComboBox1->currentIndex(), ComboBox2->currentIndex()));
    HighlightOwnRows(StringGrid3);
}

void TForm1::HighlightOwnRows(QTableWidget* grid)
{
    // The player finds the own company at a glance among the others.
    const int c = state_.CurrentCompany;
    if (c < 0 || c >= kCompanies)
        return;
    const QString own = Q(state_.CompanyName[c]);
    for (int r = 0; r < grid->rowCount(); ++r) {
        QTableWidgetItem* first = grid->item(r, 0);
        const bool mine = first && !own.isEmpty() && first->text() == own;
        for (int col = 0; col < grid->columnCount(); ++col)
            if (QTableWidgetItem* item = grid->item(r, col))
                item->setBackground(mine ? QBrush(kOwnRowColour) : QBrush());
    }
}

void TForm1::FillCompaniesGrid()
{
    ShowStatisticsGrid(StringGrid4, FillStatisticsGrid(state_, statisticsTable_, StatisticsTab::Companies,
                                                       ComboBox3->currentIndex(), ComboBox4->currentIndex()));
}

void TForm1::ComboBox1Change()
{
    statistics_.Town = ComboBox1->currentIndex();
    FillTownsGrid();
}

void TForm1::ComboBox2Change()
{
    statistics_.TownSort = ComboBox2->currentIndex();
    FillTownsGrid();
}

void TForm1::ComboBox3Change()
{
    statistics_.Company = ComboBox3->currentIndex();
    FillCompaniesGrid();
}

void TForm1::ComboBox4Change()
{
    statistics_.CompanySort = ComboBox4->currentIndex();
    FillCompaniesGrid();
}

void TForm1::Bestopponent1Click()
{
    session_.SetShowBestOpponent(!state_.Program.ShowBestOpponent);
    Menu(MenuEntry::Bestopponent1)->setChecked(state_.Program.ShowBestOpponent);
}

void TForm1::Highscore1Click()
{
    PlaySoundEffect(6);
    highDialog_->ShowFor(state_.Program.ProgramDirectory, state_.Program.Language);
}

void TForm1::Sound2Click()
{
    const bool on = !sounds_->Enabled();
    // Switching off lets a sound that is playing end by itself.
    sounds_->SetEnabled(on);
    Menu(MenuEntry::Sound2)->setChecked(on);
    session_.SetSoundOn(on);
}

void TForm1::FastExit1Click()
{
    session_.SetAutosaveOnExit(!session_.AutosaveOnExit());
    Menu(MenuEntry::FastExit1)->setChecked(session_.AutosaveOnExit());
}

void TForm1::HandOverScreen1Click() { session_.SetHandOverScreen(handOverAction_->isChecked()); }

void TForm1::Comforts1Click()
{
    session_.SetComforts(comfortsAction_->isChecked());
    ApplyComforts();
    // The hints name their keys or not; the panel takes or leaves its N key and preselection.
    ApplyLanguage();
    FillPanelControls(true);
}

void TForm1::ApplyComforts()
{
    const bool on = session_.Comforts();
    ngDialog_->CentredOnGameWindow = on;
    infoDialog_->CentredOnGameWindow = on;
    zwischenDialog_->CentredOnGameWindow = on;
    highDialog_->CentredOnGameWindow = on;
    UpdateTitle();
}

// --- zoom ------------------------------------------------------------------------------------

void TForm1::Zoom100Click() { ChooseZoom(100); }
void TForm1::Zoom150Click() { ChooseZoom(150); }
void TForm1::Zoom200Click() { ChooseZoom(200); }

void TForm1::ChooseZoom(int zoom)
{
    // The choice is kept even where this screen cannot take it: a larger one may.
    session_.SetZoom(zoom);
    SetZoom(zoom);
}

int TForm1::SetZoom(int zoom)
{
    const QSize available = AvailableScreenSize();
    // Before the desktop has framed the window its frame is unknown: allow for a usual one.
    QSize frame = frameGeometry().size() - geometry().size();
    if (frame.isEmpty())
        frame = QSize(16, 40);
    const int menuHeight = menuBar()->sizeHint().height() * 100 / zoom_;
    const int fitting = FittingZoom(zoom, {available.width(), available.height()},
                                    {kClientWidth, kClientHeight + menuHeight}, {frame.width(), frame.height()});
    const MenuEntry entries[] = {MenuEntry::Zoom100, MenuEntry::Zoom150, MenuEntry::Zoom200};
    for (size_t i = 0; i < std::size(entries); ++i)
        Menu(entries[i])->setChecked(kZoomSteps[i] == fitting);
    if (fitting != zoom_) {
        zoom_ = fitting;
        ApplyZoom();
    }
    return zoom_;
}

void TForm1::ApplyZoom()
{
    const QFont font = WindowFont(zoom_);
    setFont(font);
    // The menus are windows of their own with the desktop's font; it grows with the zoom.
    for (QMenu* menu : menuBar()->findChildren<QMenu*>())
        menu->setFont(MenuFont(zoom_));
    surface_->setFixedSize(Zoomed(kClientWidth, zoom_), Zoomed(kClientHeight, zoom_));
    controls_.ApplyZoom(zoom_);
    for (const BuiltControls& page : pageControls_)
        page.ApplyZoom(zoom_);
    for (QTableWidget* grid : {StringGrid1, StringGrid2, StringGrid3, StringGrid4})
        ZoomGrid(*grid, zoom_);
    // The dialogs come at the window's zoom.
    ngDialog_->SetZoom(zoom_);
    ZoomDialog(*infoDialog_, kInfoLayout, zoom_, kInfoLayout.ClientHeight);
    ZoomDialog(*zwischenDialog_, kBestOpponentLayout, zoom_, kBestOpponentLayout.ClientHeight);
    ZoomDialog(*highDialog_, kHighscoreLayout, zoom_, kHighscoreLayout.ClientHeight);
    findChild<PriceForecastLabels*>()->SetZoom(zoom_);
    // The program's other windows and the style's indicators grow with it.
    findChild<HistoryMenu*>()->SetZoom(zoom_);
    findChild<GuideMenu*>()->SetZoom(zoom_);
    findChild<NetworkMenu*>()->SetZoom(zoom_);
    if (helpWindow_)
        helpWindow_->SetZoom(zoom_);
    ApplyStyleZoom(zoom_);
    // The map and markers are drawn afresh at the new size; a running animation draws on.
    backBuffer_ = QImage();
    layout()->activate();
    surface_->update();
}

QFont TForm1::MenuFont(int zoom)
{
    if (zoom == 100)
        return QFont();  // the desktop's own, as the menus have it without a zoom
    return ZoomedFont(QApplication::font("QMenu"), zoom);
}

qreal TForm1::BufferRatio() const { return surface_->devicePixelRatioF() * zoom_ / 100.0; }

void TForm1::ShowFileError(const QString& path)
{
    const std::string file = QDir::toNativeSeparators(path).toStdString();
    ShowMessage({Format("The file %s could not be opened.", file.c_str()),
                 Format("Die Datei %s konnte nicht geöffnet werden.", file.c_str())},
                FileErrorCaption(), MessageIcon::Warning);
}

void TForm1::EditNames1Click()
{
    const QString path = QDir(Q(state_.Program.ProgramDirectory)).filePath(kNamesFileName);
    // Before the first game the file may not exist yet: give the editor the default names.
    if (!session_.EnsureNamesFile()) {
        ShowFileError(path);
        return;
    }
    if (OpenDocument(path))
        return;
    // Without an editor the player can still find the file and open it by hand.
    const std::string file = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()).toStdString();
    ShowMessage(
        {Format("No program to edit the names file was found. Open it by hand with a text editor:\n%s", file.c_str()),
         Format("Es wurde kein Programm zum Bearbeiten der Namensdatei gefunden. Öffnen Sie sie von Hand "
                "mit einem Texteditor:\n%s",
                file.c_str())},
        {"Edit Names", "Namen ändern"}, MessageIcon::Information);
}

void TForm1::RestoreNames1Click()
{
    // New names in the lists; what the player typed into the open command stays.
    const QScopedValueRollback keep(keepInputOnRedraw_, true);
    if (session_.RestoreNames())
        Redraw();
}

void TForm1::Contents1Click()
{
    const QString path =
        QDir(Q(folders_.Resources)).filePath(QString("help/index%1.html").arg(LanguageNumber(state_.Program.Language)));
    if (!QFileInfo::exists(path)) {
        ShowFileError(path);
        return;
    }
    if (OpenDocument(path))
        return;
    // No browser on this desktop: the game shows its help itself.
    if (!helpWindow_) {
        helpWindow_ = new THelpWindow(this, WindowFont());
        helpWindow_->SetZoom(zoom_);
    }
    helpWindow_->ShowPage(path, state_.Program.Language);
}

void TForm1::Info1Click()
{
    auto place = [this](const char* file) { return QDir(Q(folders_.Data)).absoluteFilePath(file); };
    infoDialog_->ShowPlaces(place(kSettingsFileName), place(kNamesFileName), place(kAutosaveFileName));
    infoDialog_->show();
    infoDialog_->raise();
}

// --- language --------------------------------------------------------------------------------

void TForm1::English1Click() { SwitchLanguage(Language::English); }
void TForm1::Deutsch1Click() { SwitchLanguage(Language::German); }
void TForm1::RadioButton1Click() { SwitchLanguage(Language::English); }
void TForm1::RadioButton2Click() { SwitchLanguage(Language::German); }

void TForm1::SwitchLanguage(Language language)
{
    session_.SwitchLanguage(language);
    ApplyLanguage();
    // The panel speaks the new language at once; what the player chose or typed stays.
    FillPanelControls(true);
    surface_->update();
}

void TForm1::ApplyLanguage()
{
    const Language language = state_.Program.Language;
    // Qt's own buttons (Yes, No, Cancel, the file dialogs) follow the game's language.
    if (qtTranslator_) {
        QApplication::removeTranslator(qtTranslator_.get());
        qtTranslator_.reset();
    }
    if (language == Language::German) {
        auto translator = std::make_unique<QTranslator>();
        if (translator->load("qtbase_de", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            QApplication::installTranslator(translator.get());
            qtTranslator_ = std::move(translator);
        }
    }
    for (int i = 0; i < kMenuEntries; ++i)
        if (menu_[i])
            menu_[i]->setText(Q(kMenuCaptions[i].In(language)));
    lastCaption_ = WindowTitle();
    UpdateTitle();
    controls_.ApplyLanguage(language);
    findChild<HistoryMenu*>()->SetLanguage(language);
    findChild<GuideMenu*>()->SetLanguage(language);
    findChild<NetworkMenu*>()->SetLanguage(language);
    findChild<PriceForecastLabels*>()->Update();
    findChild<TownForecastMenu*>()->SetLanguage();
    handOverAction_->setText(Q(LocalText{"Hand-over Screen", "Übergabebildschirm"}.In(language)));
    comfortsAction_->setText(Q(LocalText{"Comforts", "Komfort"}.In(language)));
    ApplyAccessKeys(controls_, language, session_.Comforts());
    const StatisticsViewTexts statistics = StatisticsTexts(language);
    PageControl1->setTabText(0, Q(statistics.TabCaptions[0]));
    PageControl1->setTabText(1, Q(statistics.TabCaptions[1]));
    Label1->setText(Q(statistics.ChoiceLabels[0]));
    Label3->setText(Q(statistics.ChoiceLabels[1]));
    Label2->setText(Q(statistics.SortLabel));
    Label4->setText(Q(statistics.SortLabel));
    for (QLabel* label : {Label1, Label2, Label3, Label4})
        label->adjustSize();
    // Only the words change: the chosen key and the snapshot's order stay.
    for (int key = 0; key < 5; ++key) {
        ComboBox2->setItemText(key, Q(statistics.TownsSortKeys[key]));
        ComboBox4->setItemText(key, Q(statistics.CompaniesSortKeys[key]));
    }
    QStringList towns, companies;
    for (int col = 0; col < kStatisticsColumns; ++col) {
        towns << Q(statistics.TownsHeading[col]);
        companies << Q(statistics.CompaniesHeading[col]);
    }
    StringGrid3->setHorizontalHeaderLabels(towns);
    StringGrid4->setHorizontalHeaderLabels(companies);
    // OK carries the open mode's own word where it has one.
    const PanelContent content = session_.Content();
    Button9->setText(OkCaptionWithAccessKey(content.Mode, content.Button9Caption, state_.Program.Language));
    Button10->setText(
        Q(content.Button10Caption.empty() ? kButtonTexts[9].Caption.In(language) : content.Button10Caption));
}
