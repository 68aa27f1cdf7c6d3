/// @file main.cpp tavrek-screens OUTDIR: renders the real main window offscreen in named states
/// (start screen, games on each map, every command mode, message boxes, German, scale 2) into
/// PNG pictures, for the help pages and for looking at the layout.
#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <clocale>
#include <cstdio>
#include <functional>

#include "game/silent_frontend.h"
#include "ui/Tavrek95.h"

namespace {

struct Shots {
    QDir Out;
    int Written = 0;
    bool Failed = false;

    void Save(QWidget& widget, const QString& name)
    {
        QApplication::processEvents();
        const QString path = Out.filePath(name + ".png");
        if (widget.grab().save(path)) {
            ++Written;
            std::printf("%s\n", path.toLocal8Bit().constData());
        } else {
            Failed = true;
            std::fprintf(stderr, "tavrek-screens: cannot write %s\n", path.toLocal8Bit().constData());
        }
    }
};

// A game on a map whose player owns breweries of several brands and depots in several towns.
void StartGame(TForm1& form, int map, int start)
{
    form.State().Program.Rng.Seed(1750 + static_cast<uint32_t>(map));
    NewGameSettings settings;
    settings.Map = map;
    settings.Player1Start = start;
    form.StartNewGame(settings);
    GameState& s = form.State();
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
    form.Redraw();
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
    box.show();
    shots.Save(box, name);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: tavrek-screens OUTDIR\n");
        return 2;
    }
    const bool scaleOnly = argc > 2 && QString(argv[2]) == "--scale-2";
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");

    Shots shots;
    shots.Out = QDir(QString::fromLocal8Bit(argv[1]));
    if (!shots.Out.mkpath(".")) {
        std::fprintf(stderr, "tavrek-screens: cannot create %s\n", argv[1]);
        return 1;
    }
    // The window writes its settings and names into its working directory: keep them apart.
    QTemporaryDir work;
    QDir::setCurrent(work.path());
    SilentFrontend silent;

    if (scaleOnly) {
        TForm1 form(nullptr, &silent);
        form.show();
        StartGame(form, 1, 3);
        form.Button11->click();
        shots.Save(form, "scale2-map1-town-information");
        return shots.Failed ? 1 : 0;
    }

    {
        TForm1 form(nullptr, &silent);
        form.show();
        shots.Save(form, "start-english");
        form.RadioButton2->click();
        shots.Save(form, "start-german");
        form.RadioButton1->click();
    }
    for (int map = 1; map <= 3; ++map) {
        TForm1 form(nullptr, &silent);
        form.show();
        StartGame(form, map, map == 1 ? 3 : 1);
        shots.Save(form, QString("game-map%1").arg(map));
    }
    {
        TForm1 form(nullptr, &silent);
        form.show();
        StartGame(form, 1, 3);
        struct Mode {
            const char* Name;
            std::function<void()> Enter;
        };
        const Mode modes[] = {
            {"mode02-build-brewery", [&] { form.Button1->click(); Select(form.ListBox1, 0); }},
            {"mode03-new-brand", [&] { form.Button7->click(); }},
            {"mode04-build-depot", [&] { form.Button3->click(); }},
            {"mode05-town-information", [&] { form.Button11->click(); }},
            {"mode06-last-sales", [&] { form.Button11->click(); form.Button9->click(); }},
            {"mode07-extend-brewery", [&] { form.Button2->click(); Select(form.ListBox1, 0); }},
            {"mode08-change-prices", [&] { form.Button6->click(); }},
            {"mode09-transport-beer",
             [&] { form.Button4->click(); Select(form.ListBox3, 0); Select(form.ListBox4, 2); }},
            {"mode10-transfer-money", [&] { form.Button5->click(); Select(form.ListBox4, 1); }},
            {"mode11-market-shares", [&] { form.Menu(MenuEntry::MarketShares1)->trigger(); }},
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

        ShowBox(form, shots, QMessageBox::Warning, "", "You don't have enough money!", QMessageBox::Ok,
                "box-warning");
        ShowBox(form, shots, QMessageBox::Question, "The TAVREK! War", "Do you really want to leave this game?",
                QMessageBox::Yes | QMessageBox::No, "box-question");
        form.State().GameActive = false;  // leave without the close question
    }

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
