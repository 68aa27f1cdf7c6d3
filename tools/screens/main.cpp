/// @file main.cpp tavrek-screens OUTDIR: renders the real main window offscreen in named states
/// (start screen, games on each map, every command mode, the map animation, the statistics
/// view, the dialogs, message boxes, English and German, scale 2, zoom 150 and 200 %) into PNG
/// pictures, for looking at the layout. `tavrek-screens --help-pictures DIR` writes the help pages' pictures.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QTabWidget>
#include <QTimer>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <clocale>
#include <cstdio>
#include <functional>

#include "commands/guided_game.h"
#include "commands/logistics.h"
#include "commands/map_animation.h"
#include "commands/order_commands.h"
#include "commands/town_selection.h"
#include "commands/statistics.h"
#include "game/silent_frontend.h"
#include "persistence/settings.h"
#include "ui/window_zoom.h"
#include "ui/Tavrek95.h"
#include "ui/guide_box.h"
#include "ui/hand_over_cover.h"
#include "ui/high.h"
#include "ui/history_window.h"
#include "ui/newgame.h"
#include "ui/town_forecast_window.h"
#include "ui/zwischen.h"

namespace {

struct Shots {
    QDir Out;
    int Written = 0;
    bool Failed = false;

    void Save(QWidget& widget, const QString& name, const QRect& part = QRect(), qreal scale = 1.0)
    {
        QApplication::processEvents();
        QImage image = widget.grab(part.isNull() ? QRect(QPoint(0, 0), QSize(-1, -1)) : part).toImage();
        if (scale != 1.0)
            image = image.scaled(image.size() * scale, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        SaveImage(image, name);
    }

    void SaveImage(const QImage& image, const QString& name)
    {
        const QString path = Out.filePath(name + ".png");
        if (image.save(path)) {
            ++Written;
            std::printf("%s\n", path.toLocal8Bit().constData());
        } else {
            Failed = true;
            std::fprintf(stderr, "tavrek-screens: cannot write %s\n", path.toLocal8Bit().constData());
        }
    }
};

// Changes the running game as a picture needs it: the furnished world is handed to the session
// as a game of its own.
void Furnish(TForm1& form, const std::function<void(GameState&)>& change)
{
    GameState s = form.State();
    change(s);
    form.Session().Adopt(s);
}

// A game on a map whose player owns breweries of several brands and depots in several towns.
void StartGame(TForm1& form, int map, int start)
{
    form.Session().SetSeed(1750 + static_cast<uint32_t>(map));
    NewGameSettings settings;
    settings.Map = map;
    settings.Player1Start = start;
    form.StartNewGame(settings);
    Furnish(form, [](GameState& s) {
        const int c = s.CurrentCompany;
        s.Quality[c][1] = 1.1f;
        s.CostFactor[c][1] = 1.0f;
        s.BrandName[c][1] = "Dark Barrel";
        for (int t = 0; t < kTowns; t += 3) {
            s.Capacity[c][0][t] = 4000 + 500 * t;
            s.Stock[c][0][t] = 1500;
            s.Price[c][0][t] = 2.8f;
            s.HasDepot[c][t] = true;
            s.Account[c][t] += 25000;
        }
        s.Capacity[c][1][s.SelectedTown] = 2500;
        s.Stock[c][1][s.SelectedTown] = 800;
        s.StandingOrder[c][0] = {0, s.SelectedTown, (s.SelectedTown + 3) % kTowns, 500};
        s.StandingOrder[c][1] = {kOrderMoney, s.SelectedTown, (s.SelectedTown + 6) % kTowns, 2000};
    });
}

void Select(QListWidget* list, int row)
{
    if (row < list->count())
        list->setCurrentRow(row);
}

void ShowBox(TForm1& form, Shots& shots, QMessageBox::Icon icon, const QString& caption, const QString& text,
             QMessageBox::StandardButtons buttons, const QString& name)
{
    QMessageBox box(icon, caption, text, buttons, &form);
    ZoomMessageBox(box, form.Zoom());  // as the window shows its boxes
    box.show();
    shots.Save(box, name);
}

// Runs the map animation's timer by hand for a number of ticks.
void Tick(TForm1& form, int ticks)
{
    for (int i = 0; i < ticks && form.Timer1->isActive(); ++i)
        form.Timer1Timer();
}

// Ends a running animation so the next one may start.
void FinishAnimation(TForm1& form) { Tick(form, 100); }

// What the window adds for comfort, in one language: the selected town's frame on the map, the
// hand-over screen of a two-player game, the panel after the end of a game.
void ComfortShots(const std::string& work, Frontend& silent, Shots& shots, Language language, const QString& suffix,
                  int zoom = 100)
{
    const auto zoomed = [zoom](TForm1& form) {
        form.AvailableScreenSize = [] { return QSize(4096, 4096); };
        form.show();
        form.SetZoom(zoom);
        // The end after a liquidation and the hand-over screen are options, off by default.
        for (QAction* option : {form.ComfortsOption(), form.HandOverOption()})
            if (!option->isChecked())
                option->trigger();
    };
    {
        TForm1 form(FoldersIn(work), nullptr, &silent);
        zoomed(form);
        StartGame(form, 1, 3);
        form.Menu(language == Language::German ? MenuEntry::Deutsch1 : MenuEntry::English1)->trigger();
        // A brewery under construction in Kha'Sar, opening in two months.
        Furnish(form, [](GameState& s) { s.ConstructionPipeline[s.CurrentCompany][1][9][1] = 1000; });
        shots.Save(form, "comfort-town-mark" + suffix);
        // The only player bankrupt at the end of the month: the game is over.
        Furnish(form, [](GameState& s) { s.Account[s.CurrentCompany].fill(-1e9L); });
        form.Button8->click();
        shots.Save(form, "comfort-game-over" + suffix);
        form.Session().Leave();
    }
    TForm1 form(FoldersIn(work), nullptr, &silent);
    zoomed(form);
    form.Menu(language == Language::German ? MenuEntry::Deutsch1 : MenuEntry::English1)->trigger();
    form.Session().SetSeed(1751);
    NewGameSettings settings;
    settings.TwoPlayer = true;
    settings.Player1Start = 3;
    settings.Player2Start = 7;
    settings.Player1Name = "Anna";
    settings.Player2Name = "Bob";
    form.StartNewGame(settings);
    form.WaitForHandOver = [&](HandOverCover& cover) {
        shots.Save(form, "comfort-hand-over" + suffix);
        cover.Take();
    };
    form.Button8->click();
    form.Session().Leave();
}

// The statistics view with both tabs, the highscores and the best opponent, in one language.
void StatisticsShots(TForm1& form, Shots& shots, const QString& suffix)
{
    form.Menu(MenuEntry::StatisticDialog1)->trigger();
    form.ComboBox2->setCurrentIndex(kSortByCapacity);
    form.ComboBox2Change();
    shots.Save(form, "mode15-statistics-towns" + suffix);
    form.PageControl1->setCurrentIndex(1);
    form.ComboBox3->setCurrentIndex(form.State().CurrentCompany);
    form.ComboBox3Change();
    shots.Save(form, "mode15-statistics-companies" + suffix);
    form.PageControl1->setCurrentIndex(0);
    form.Menu(MenuEntry::MarketShares1)->trigger();
    shots.Save(form, "mode11-market-shares" + suffix);
    form.Button10->click();

    TZwischenDialog& best = *form.BestOpponentDialog();
    best.Fill(ComputeBestOpponent(form.State()));
    best.show();
    shots.Save(best, "dialog-best-opponent" + suffix);
    best.hide();
    THighDialog& high = *form.HighscoreDialog();
    high.Fill(ReadHighscores(form.State().Program.ProgramDirectory, form.State().Program.Language));
    high.show();
    shots.Save(high, "dialog-highscore" + suffix);
    high.hide();

    // The new game dialog, small and with its advanced area.
    form.RunNewGameDialog = [&](TNGDialog& dialog) {
        dialog.show();
        shots.Save(dialog, "dialog-new-game" + suffix);
        dialog.CheckBox5->click();
        shots.Save(dialog, "dialog-new-game-advanced" + suffix);
        dialog.CheckBox5->click();
        dialog.hide();
        return false;
    };
    form.New1Click();
}

// The window zoomed (on a screen with room for it): the start screen, a game with the town
// information and a transport in English and German, a brewery rising, and the statistics view,
// market shares and dialogs in both languages.
void ZoomShots(Shots& shots, SilentFrontend& silent, const std::string& work, int zoom)
{
    TForm1 form(FoldersIn(work), nullptr, &silent);
    form.AvailableScreenSize = [] { return QSize(4096, 4096); };
    form.show();
    form.SetZoom(zoom);
    const QString prefix = QString("zoom%1-").arg(zoom);
    shots.Save(form, prefix + "start");
    StartGame(form, 1, 3);
    for (const QString suffix : {"", "-german"}) {
        if (!suffix.isEmpty())
            form.Menu(MenuEntry::Deutsch1)->trigger();
        form.Button11->click();
        shots.Save(form, prefix + "town-information" + suffix);
        form.Button10->click();
        form.Button4->click();
        Select(form.ListBox3, 0);
        Select(form.ListBox4, 2);
        shots.Save(form, prefix + "transport-beer" + suffix);
        form.Button10->click();
        StatisticsShots(form, shots, QString("-zoom%1").arg(zoom) + suffix);
    }
    form.Menu(MenuEntry::English1)->trigger();
    form.StartAnimation(form.State().SelectedTown, 0, kAnimBreweryAppears);
    Tick(form, 13);
    shots.Save(form, prefix + "animation-reveal");
    FinishAnimation(form);
    form.Session().Leave();
}

// The guided game's steps done with the window's own controls, as the guide words them.
void ClickTown(TForm1& form, int town)
{
    const TownRect& r = kTownHitRects[form.State().MapNumber - 1][town];
    form.FormMouseDown(MouseButton::Left, false, (r.XFrom + r.XTo) / 2, (r.YFrom + r.YTo) / 2);
}

void ChooseText(QListWidget* list, const std::string& text)
{
    const auto items = list->findItems(QString::fromStdString(text), Qt::MatchExactly);
    if (!items.isEmpty())
        list->setCurrentItem(items.front());
}

/// The guided game begun from its menu entry in `language`; its box.
GuideBox& BeginGuidedGame(TForm1& form, Language language)
{
    form.Menu(language == Language::German ? MenuEntry::Deutsch1 : MenuEntry::English1)->trigger();
    auto* menu = form.findChild<GuideMenu*>();
    menu->Entry()->trigger();
    return *menu->Box();
}

/// The guide's first step and Change Prices open with a price typed in the home town.
void TypeGuidedPrice(TForm1& form, GuideBox& box)
{
    // Each click is looked at by the guide, as a player's click is.
    ClickTown(form, kGuidedNeighbourTown);
    box.Refresh();
    ClickTown(form, kGuidedHomeTown);
    box.Refresh();
    form.Button6->click();
    form.Edit2->setText("3.50");
}

/// Plays the guide from its second step up to the end of the month (its eighth step done).
void PlayGuidedMonth(TForm1& form, GuideBox& box)
{
    const GameState& s = form.State();
    const int c = s.CurrentCompany;
    const int home = kGuidedHomeTown;
    const int there = kGuidedNeighbourTown;
    ClickTown(form, home);
    box.Refresh();
    form.Button6->click();
    form.Edit2->setText("3.50");
    form.Button9->click();
    box.Refresh();
    form.Button4->click();
    Select(form.ListBox3, 0);
    ChooseText(form.ListBox4, TransportDestinationEntry(s, home, there));
    form.Edit5->setText("400");
    form.Button9->click();
    box.Refresh();
    form.Button5->click();
    ChooseText(form.ListBox4, s.TownName[there]);
    form.Edit5->setText("8000");
    form.Button9->click();
    box.Refresh();
    ClickTown(form, there);
    form.Button3->click();
    form.Button9->click();
    box.Refresh();
    ClickTown(form, home);
    form.Button2->click();
    Select(form.ListBox1, 0);
    form.Edit1->setText("5");
    form.Button9->click();
    box.Refresh();
    form.Menu(MenuEntry::New2)->trigger();
    ChooseText(form.ListBox6, OrderBeerEntry(s, c, 0));
    ChooseText(form.ListBox5, s.TownName[home]);
    ChooseText(form.ListBox4, s.TownName[there]);
    form.Edit5->setText("300");
    form.Button9->click();
    box.Refresh();
    FinishAnimation(form);
    form.Button8->click();
    box.Refresh();
}

/// The window with the guide box beside it, as the player sees them, in one picture.
QImage WindowWithGuide(TForm1& form, GuideBox& box)
{
    QApplication::processEvents();
    box.Refresh();
    QImage window = form.grab().toImage();
    QImage guide = box.grab().toImage();
    window.setDevicePixelRatio(1);
    guide.setDevicePixelRatio(1);
    const int gap = window.width() / 100;
    QImage both(window.width() + gap + guide.width(), std::max(window.height(), guide.height()), QImage::Format_RGB32);
    both.fill(QColor(70, 78, 86));  // a plain desktop behind the two windows
    QPainter p(&both);
    p.drawImage(0, 0, window);
    p.drawImage(window.width() + gap, 0, guide);
    return both;
}

/// The guided game in one language at one zoom: its first step, Change Prices with the
/// forecast, the month's end, the report to read and the end of the guide.
void GuidedShots(const std::string& work, Frontend& silent, Shots& shots, Language language, int zoom)
{
    const QString suffix = QString(language == Language::German ? "-de" : "-en") +
                           (zoom == 100 ? QString() : QString("-zoom%1").arg(zoom));
    TForm1 form(FoldersIn(work), nullptr, &silent);
    form.AvailableScreenSize = [] { return QSize(4096, 4096); };
    form.show();
    form.SetZoom(zoom);
    GuideBox& box = BeginGuidedGame(form, language);
    shots.SaveImage(WindowWithGuide(form, box), "guided-1-select-town" + suffix);
    TypeGuidedPrice(form, box);
    shots.SaveImage(WindowWithGuide(form, box), "guided-2-change-prices" + suffix);
    form.Button10->click();
    PlayGuidedMonth(form, box);
    // The town information's forecast for the home town, the month after.
    form.Button11->click();
    TownForecastMenu& forecast = *form.findChild<TownForecastMenu*>();
    forecast.Open();
    shots.Save(*forecast.Window(), "guided-town-forecast" + suffix);
    forecast.Window()->close();
    form.Button10->click();
    shots.SaveImage(WindowWithGuide(form, box), "guided-9-read-the-report" + suffix);
    box.ReportButton()->click();
    HistoryDialog& report = *form.findChild<HistoryMenu*>()->Dialog();
    shots.Save(report, "guided-report" + suffix);
    report.close();
    shots.SaveImage(WindowWithGuide(form, box), "guided-done" + suffix);
    box.close();
    form.Session().Leave();
}

// The help's pictures of the guided game in one language: the guide box at its second step,
// Change Prices with the forecast, the month report and the advisor after the guided month.
void HelpGuidedPictures(const std::string& work, Frontend& silent, Shots& shots, Language language,
                        const QString& suffix)
{
    TForm1 form(FoldersIn(work), nullptr, &silent);
    form.show();
    GuideBox& box = BeginGuidedGame(form, language);
    TypeGuidedPrice(form, box);
    box.Refresh();
    shots.Save(box, "help-guide" + suffix);
    shots.Save(*form.Surface(), "help-forecast" + suffix, QRect(0, 400, 790, 135), 0.75);
    form.Button10->click();
    PlayGuidedMonth(form, box);
    form.Button11->click();
    TownForecastMenu& forecast = *form.findChild<TownForecastMenu*>();
    forecast.Open();
    shots.Save(*forecast.Window(), "help-town-forecast" + suffix, QRect(), 0.75);
    forecast.Window()->close();
    form.Button10->click();
    auto* history = form.findChild<HistoryMenu*>();
    history->Open(HistoryDialog::Report);
    shots.Save(*history->Dialog(), "help-report" + suffix, QRect(), 0.75);
    history->Open(HistoryDialog::Advisor);
    shots.Save(*history->Dialog(), "help-advisor" + suffix, QRect(), 0.75);
    history->Dialog()->close();
    box.close();
    form.Session().Leave();
}

// The help pages' pictures, small: the map with the company's symbols and a brewery rising,
// and in each language the panel in a command mode and the statistics view.
int HelpPictures(Shots& shots, SilentFrontend& silent, const std::string& work)
{
    for (const Language language : {Language::English, Language::German}) {
        const QString suffix = language == Language::German ? "-de" : "-en";
        TForm1 form(FoldersIn(work), nullptr, &silent);
        form.show();
        if (language == Language::German)
            form.Menu(MenuEntry::Deutsch1)->trigger();
        StartGame(form, 1, 3);
        QWidget& surface = *form.Surface();
        if (language == Language::English) {  // the map has no words of either language
            form.StartAnimation(form.State().SelectedTown, 0, kAnimBreweryAppears);
            Tick(form, 14);
            shots.Save(surface, "help-map", QRect(0, 0, 790, 400), 0.75);
            FinishAnimation(form);
        }
        form.Button4->click();
        Select(form.ListBox3, 0);
        Select(form.ListBox4, 2);
        shots.Save(surface, "help-panel" + suffix, QRect(0, 400, 790, 135), 0.75);
        form.Button10->click();
        form.Menu(MenuEntry::StatisticDialog1)->trigger();
        shots.Save(surface, "help-statistics" + suffix, QRect(0, 0, 790, 430), 0.75);
        form.Button10->click();
        form.Session().Leave();
        HelpGuidedPictures(work, silent, shots, language, suffix);
    }
    return shots.Failed ? 1 : 0;
}

}  // namespace

// A game nobody can win, so that it lasts: the record's views over many months.
void StartLongGame(TForm1& form)
{
    form.Session().SetSeed(1753);
    NewGameSettings settings;
    settings.Map = 1;
    settings.Player1Start = 3;
    settings.AdvancedOptions = true;
    settings.WinningShareText = "100";
    form.StartNewGame(settings);
}

void PlayMonths(TForm1& form, int months)
{
    form.Session().SetShowBestOpponent(false);
    while (static_cast<int>(form.State().History.Months.size()) < months && form.State().GameActive)
        form.Button8->click();
}

// The month report, the charts (with the value under the mouse) and the message log.
void HistoryShots(TForm1& form, Shots& shots, const QString& suffix, bool charts600)
{
    auto* menu = form.findChild<HistoryMenu*>();
    menu->Open(HistoryDialog::Report);
    HistoryDialog& dialog = *menu->Dialog();
    shots.Save(dialog, "history-report" + suffix);
    menu->Open(HistoryDialog::Charts);
    dialog.RangeChoice()->setCurrentIndex(1);
    dialog.MetricChoice()->setCurrentIndex(1);
    HistoryChartWidget& chart = *dialog.ChartView();
    const ChartData& data = chart.Chart();
    const ChartSeries& own = data.Series[form.State().CurrentCompany];
    const int last = static_cast<int>(data.Months.size()) - 1;
    const QPointF at(PlotX(data, chart.Area(), last / 2), PlotY(data, chart.Area(), own.Values[last / 2]));
    QMouseEvent move(QEvent::MouseMove, at, chart.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&chart, &move);
    shots.Save(dialog, "history-charts-value" + suffix);
    dialog.MetricChoice()->setCurrentIndex(2);
    shots.Save(dialog, "history-charts-share" + suffix);
    dialog.LinesChoice()->setCurrentIndex(1);
    shots.Save(dialog, "history-charts-share-own" + suffix);
    dialog.LinesChoice()->setCurrentIndex(0);
    if (charts600) {
        PlayMonths(form, 600);
        menu->Open(HistoryDialog::Charts);
        dialog.RangeChoice()->setCurrentIndex(2);
        dialog.MetricChoice()->setCurrentIndex(0);
        shots.Save(dialog, "history-charts-600-money" + suffix);
        dialog.MetricChoice()->setCurrentIndex(3);
        shots.Save(dialog, "history-charts-600-sales" + suffix);
    }
    menu->Open(HistoryDialog::Messages);
    shots.Save(dialog, "history-messages" + suffix);
    menu->Open(HistoryDialog::Advisor);
    shots.Save(dialog, "history-advisor" + suffix);
    dialog.close();
}

// Change Prices with a typed price and the forecast beside it; the town information's forecast.
void ForecastShot(TForm1& form, Shots& shots, const QString& suffix)
{
    form.Button10->click();
    form.Button6->click();
    form.Edit2->setText("2.80");
    shots.Save(form, "mode08-change-prices-forecast" + suffix);
    form.Button10->click();
    // The town information with its forecast.
    form.Button11->click();
    TownForecastMenu& forecast = *form.findChild<TownForecastMenu*>();
    forecast.Open();
    shots.Save(*forecast.Window(), "town-forecast" + suffix);
    forecast.Window()->close();
    form.Button10->click();
}

int main(int argc, char** argv)
{
    if (argc < 2 || (argv[1][0] == '-' && QString(argv[1]) != "--help-pictures")) {
        std::fprintf(stderr, "usage: tavrek-screens OUTDIR | --help-pictures DIR\n");
        return 2;
    }
    const bool helpPictures = QString(argv[1]) == "--help-pictures";
    if (helpPictures && argc < 3) {
        std::fprintf(stderr, "usage: tavrek-screens --help-pictures DIR\n");
        return 2;
    }
    const bool scaleOnly = argc > 2 && QString(argv[2]) == "--scale-2";
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");

    Shots shots;
    const char* outDir = helpPictures ? argv[2] : argv[1];
    shots.Out = QDir(QString::fromLocal8Bit(outDir));
    if (!shots.Out.mkpath(".")) {
        std::fprintf(stderr, "tavrek-screens: cannot create %s\n", outDir);
        return 1;
    }
    // The window writes its settings and names into its game folder: keep them apart.
    QTemporaryDir workDir;
    const std::string work = workDir.path().toStdString();
    SilentFrontend silent;
    // Highscores to show, as a won game would have left them.
    RecordHighscore(work, 0, "Brewer Ida", 1275);

    if (helpPictures)
        return HelpPictures(shots, silent, work);

    if (scaleOnly) {
        TForm1 form(FoldersIn(work), nullptr, &silent);
        form.show();
        StartGame(form, 1, 3);
        form.Button11->click();
        shots.Save(form, "scale2-map1-town-information");
        form.Button10->click();
        form.StartAnimation(form.State().SelectedTown, 0, kAnimBreweryAppears);
        Tick(form, 13);
        shots.Save(form, "scale2-animation-reveal");
        FinishAnimation(form);
        StatisticsShots(form, shots, "-scale2");
        form.Menu(MenuEntry::Deutsch1)->trigger();
        StatisticsShots(form, shots, "-scale2-german");
        form.Session().Leave();
        TForm1 history(FoldersIn(work), nullptr, &silent);
        history.show();
        StartLongGame(history);
        PlayMonths(history, 24);
        for (const Language language : {Language::English, Language::German}) {
            const QString suffix = language == Language::German ? "-scale2-german" : "-scale2";
            history.Menu(language == Language::German ? MenuEntry::Deutsch1 : MenuEntry::English1)->trigger();
            ForecastShot(history, shots, suffix);
            HistoryShots(history, shots, suffix, false);
        }
        history.Session().Leave();
        ComfortShots(work, silent, shots, Language::English, "-scale2-en");
        ComfortShots(work, silent, shots, Language::German, "-scale2-de");
        return shots.Failed ? 1 : 0;
    }

    {
        TForm1 form(FoldersIn(work), nullptr, &silent);
        form.show();
        shots.Save(form, "start-english");
        form.RadioButton2->click();
        shots.Save(form, "start-german");
        form.RadioButton1->click();
    }
    for (int map = 1; map <= 3; ++map) {
        TForm1 form(FoldersIn(work), nullptr, &silent);
        form.show();
        StartGame(form, map, map == 1 ? 3 : 1);
        shots.Save(form, QString("game-map%1").arg(map));
    }
    {
        TForm1 form(FoldersIn(work), nullptr, &silent);
        form.show();
        StartGame(form, 1, 3);
        struct Mode {
            const char* Name;
            std::function<void()> Enter;
        };
        const Mode modes[] = {
            {"mode02-build-brewery",
             [&] {
                 form.Button1->click();
                 Select(form.ListBox1, 0);
             }},
            {"mode03-new-brand", [&] { form.Button7->click(); }},
            {"mode04-build-depot", [&] { form.Button3->click(); }},
            {"mode05-town-information", [&] { form.Button11->click(); }},
            {"mode06-last-sales",
             [&] {
                 form.Button11->click();
                 form.Button9->click();
             }},
            {"mode07-extend-brewery",
             [&] {
                 form.Button2->click();
                 Select(form.ListBox1, 0);
             }},
            {"mode08-change-prices", [&] { form.Button6->click(); }},
            {"mode09-transport-beer",
             [&] {
                 form.Button4->click();
                 Select(form.ListBox3, 0);
                 Select(form.ListBox4, 2);
             }},
            {"mode10-transfer-money",
             [&] {
                 form.Button5->click();
                 Select(form.ListBox4, 1);
             }},
            {"mode12-new-standing-order", [&] { form.Menu(MenuEntry::New2)->trigger(); }},
            {"mode13-standing-orders", [&] { form.Menu(MenuEntry::DisplayChange1)->trigger(); }},
            {"mode14-delete-standing-order", [&] { form.Menu(MenuEntry::Delete1)->trigger(); }},
        };
        for (const Mode& m : modes) {
            form.Button10->click();
            m.Enter();
            shots.Save(form, m.Name);
        }
        form.Button10->click();
        form.Menu(MenuEntry::Deutsch1)->trigger();
        form.Button11->click();
        shots.Save(form, "mode05-town-information-german");
        form.Button10->click();
        form.Menu(MenuEntry::English1)->trigger();

        // The map animation: a brewery in the middle of its reveal, a transport halfway (wiped
        // at the source, then half revealed at the destination).
        const int town = form.State().SelectedTown;
        form.StartAnimation(town, 0, kAnimBreweryAppears);
        Tick(form, 13);
        shots.Save(form, "animation-reveal");
        FinishAnimation(form);
        form.Surface()->repaint();
        form.StartAnimation(town, (town + 4) % kTowns, kAnimBarrelsLeave);
        Tick(form, 12);
        shots.Save(form, "animation-transport-leaving");
        Tick(form, 25);
        shots.Save(form, "animation-transport-arriving");
        FinishAnimation(form);
        form.Surface()->repaint();

        StatisticsShots(form, shots, "");
        form.Menu(MenuEntry::Deutsch1)->trigger();
        StatisticsShots(form, shots, "-german");
        form.Menu(MenuEntry::English1)->trigger();

        ShowBox(form, shots, QMessageBox::Warning, "", "You don't have enough money!", QMessageBox::Ok, "box-warning");
        ShowBox(form, shots, QMessageBox::Question, "The TAVREK! War", "Do you really want to leave this game?",
                QMessageBox::Yes | QMessageBox::No, "box-question");
        form.Session().Leave();  // leave without the close question
    }
    ComfortShots(work, silent, shots, Language::English, "-en");
    ComfortShots(work, silent, shots, Language::German, "-de");
    ComfortShots(work, silent, shots, Language::English, "-zoom200-en", 200);
    ComfortShots(work, silent, shots, Language::German, "-zoom200-de", 200);
    for (const Language language : {Language::English, Language::German})
        for (const int zoom : {100, 200})
            GuidedShots(work, silent, shots, language, zoom);
    // Back to the language the other pictures were made in.
    WriteSetting(work, settings::kLanguage, "1");

    {
        TForm1 form(FoldersIn(work), nullptr, &silent);
        form.show();
        StartLongGame(form);
        PlayMonths(form, 24);
        ForecastShot(form, shots, "");
        HistoryShots(form, shots, "", false);
        form.Menu(MenuEntry::Deutsch1)->trigger();
        ForecastShot(form, shots, "-german");
        HistoryShots(form, shots, "-german", true);
        form.Menu(MenuEntry::English1)->trigger();
        HistoryShots(form, shots, "-600", false);
        form.Session().Leave();
    }

    for (const int zoom : {150, 200})
        ZoomShots(shots, silent, work, zoom);

    // The whole window at scale 2, from a second run of this program on a doubled screen.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_SCALE_FACTOR", "2");
    QProcess scaled;
    scaled.setProcessEnvironment(env);
    scaled.setProcessChannelMode(QProcess::ForwardedChannels);
    scaled.start(QCoreApplication::applicationFilePath(), {shots.Out.absolutePath(), "--scale-2"});
    if (!scaled.waitForFinished(60000) || scaled.exitCode() != 0) {
        std::fprintf(stderr, "tavrek-screens: the scale-2 picture failed\n");
        shots.Failed = true;
    }
    return shots.Failed ? 1 : 0;
}
