/// @file network_window_test.cpp Network play in the window: a real tavrek-server on loopback, one
/// window hosting and another joining; the turns, the read-only wait, a lost server coming back,
/// and the clear words when the server is gone or the invite code is wrong.
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <filesystem>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "recording_frontend.h"
#include "temp_dir.h"
#include "persistence/game_folders.h"
#include "persistence/savegame.h"
#include "ui/Tavrek95.h"
#include "ui/network_game.h"
#include "ui/network_seats.h"
#include "ui/newgame.h"

namespace {

using Phase = NetworkMenu::Phase;

bool WaitUntil(const std::function<bool()>& done, int ms = 20000) { return QTest::qWaitFor(done, ms); }

/// A tavrek-server on loopback with its data folder.
class LoopbackServer {
public:
    explicit LoopbackServer(std::string data) : data_(std::move(data)) {}
    ~LoopbackServer() { Kill(); }

    bool Start(int port = 0)
    {
        process_.start(TAVREK_SERVER_PATH,
                       {"--data", QString::fromStdString(data_), "--listen", QString("127.0.0.1:%1").arg(port)});
        if (!process_.waitForStarted(10000))
            return false;
        WaitUntil([this] { return process_.canReadLine() || process_.state() == QProcess::NotRunning; });
        const QString line = QString::fromUtf8(process_.readLine()).trimmed();
        if (!line.startsWith("listening on ws://127.0.0.1:"))
            return false;
        url_ = line.mid(13);
        port_ = QUrl(url_).port();
        return true;
    }
    void Kill()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(10000);
        }
    }
    /// The game's savegame as the server writes it (with the server stopped, so it is whole).
    std::string Export(const std::string& game, const std::string& file)
    {
        QProcess p;
        p.start(TAVREK_SERVER_PATH, {"--data", QString::fromStdString(data_), "--export", QString::fromStdString(game),
                                     QString::fromStdString(file)});
        if (!p.waitForFinished(60000) || p.exitCode() != 0)
            return {};
        return ReadFile(file);
    }
    const QString& Url() const { return url_; }
    int Port() const { return port_; }

private:
    std::string data_;
    QProcess process_;
    QString url_;
    int port_ = 0;
};

/// One player's window in a folder of its own, its boxes recorded.
struct Player {
    TempDir Dir;
    RecordingFrontend Boxes;
    std::unique_ptr<TForm1> Form;
    QString Invite;

    Player()
    {
        Form = std::make_unique<TForm1>(FoldersIn(Dir.Str()), nullptr, &Boxes);
        Form->RunNewGameDialog = [](TNGDialog&) { return true; };
        Net().ShowInvite = [this](const QString& invite, const QString&) { Invite = invite; };
        Net().Alert = [this] { ++Alerts; };
        Form->show();
    }
    NetworkMenu& Net() { return *Form->findChild<NetworkMenu*>(); }
    Phase Now() { return Net().CurrentPhase(); }
    QString Banner() { return Net().Banner()->isVisible() ? Net().Banner()->text() : QString(); }
    bool Said(const std::string& words) const
    {
        for (const auto& m : Boxes.Messages)
            if (m.Text.English.find(words) != std::string::npos)
                return true;
        return false;
    }
    /// A depot in the selected town, through the panel's button and OK, as a player builds it.
    void BuildDepot()
    {
        QTest::mouseClick(Form->Button3, Qt::LeftButton);
        QTest::mouseClick(Form->Button9, Qt::LeftButton);
    }
    void ClickTown(int town)
    {
        const TownRect& r = kTownHitRects[static_cast<size_t>(Form->State().MapNumber - 1)][static_cast<size_t>(town)];
        QTest::mouseClick(Form->Surface(), Qt::LeftButton, Qt::NoModifier,
                          QPoint((r.XFrom + r.XTo) / 2, (r.YFrom + r.YTo) / 2));
    }
    void NextTurn() { QTest::mouseClick(Form->Button8, Qt::LeftButton); }
    std::string Savegame() const { return SavegameText(Form->State()); }
    int Alerts = 0;
};

/// Everything the command panel's buttons allow on this player's turn.
bool PanelWorks(const TForm1& form)
{
    return form.Button1->isEnabled() && form.Button3->isEnabled() && form.Button8->isEnabled();
}

}  // namespace

TEST(NetworkWindow, HostAndJoinPlayMonthsAndEndOnTheServersGame)
{
    TempDir data;
    LoopbackServer server(data.Str());
    ASSERT_TRUE(server.Start());
    Player host;
    Player guest;

    host.Net().AskServer = [&](const QString&) { return std::optional<QString>(server.Url()); };
    host.Net().Host();
    ASSERT_TRUE(WaitUntil([&] { return host.Now() == Phase::OnTurn; })) << host.Banner().toStdString();
    EXPECT_EQ(host.Invite.size(), 32);
    ASSERT_TRUE(host.Form->State().GameActive);
    EXPECT_TRUE(host.Form->State().TwoPlayer);
    EXPECT_TRUE(PanelWorks(*host.Form));
    EXPECT_TRUE(host.Banner().contains("Your turn")) << host.Banner().toStdString();

    // The seat's token is kept in a file of its own, readable by its owner only, and never in
    // the settings file.
    const std::string seatsFile = host.Dir.Str() + "/" + kSeatsFileName;
    struct stat info {};
    ASSERT_EQ(::stat(seatsFile.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    const std::optional<HeldSeats> held = ReadHeldSeats(host.Dir.Str());
    ASSERT_TRUE(held && held->Seats.size() == 1);
    EXPECT_EQ(held->Seats[0].Seat, 1);
    EXPECT_EQ(ReadFile(host.Dir.Str() + "/Tavrek!.ini").find(held->Seats[0].Token), std::string::npos);

    // Month 1, player 1: a town chosen on the map and a depot built, then Next Turn.
    host.ClickTown(4);
    host.BuildDepot();
    EXPECT_EQ(host.Form->State().SelectedTown, 4);
    host.NextTurn();
    ASSERT_TRUE(WaitUntil([&] { return host.Now() == Phase::Waiting; }));
    EXPECT_TRUE(host.Banner().contains("Waiting for player 2 to join")) << host.Banner().toStdString();
    EXPECT_FALSE(PanelWorks(*host.Form));

    guest.Net().AskJoin = [&](const QString&) { return std::optional(std::pair{server.Url(), host.Invite}); };
    guest.Net().Join();
    ASSERT_TRUE(WaitUntil([&] { return guest.Now() == Phase::OnTurn; })) << guest.Banner().toStdString();
    EXPECT_TRUE(guest.Form->State().GameActive);
    EXPECT_EQ(guest.Form->State().CurrentCompany, guest.Form->State().PlayerCompany[1]);
    ASSERT_TRUE(WaitUntil([&] { return host.Banner().contains("(player 2) is on turn"); })) << host.Banner().toStdString();

    // While player 2 moves, player 1's map and panel are read-only.
    const int hostTown = host.Form->State().SelectedTown;
    host.ClickTown(hostTown == 7 ? 8 : 7);
    QTest::keyClick(host.Form.get(), Qt::Key_PageDown);
    QTest::qWait(50);
    EXPECT_EQ(host.Form->State().SelectedTown, hostTown);
    EXPECT_FALSE(host.Form->Button3->isEnabled());
    EXPECT_FALSE(host.Form->Button8->isEnabled());

    guest.BuildDepot();
    guest.NextTurn();
    ASSERT_TRUE(WaitUntil([&] { return host.Now() == Phase::OnTurn && guest.Now() == Phase::Waiting; }));
    EXPECT_EQ(host.Form->State().MonthCount, 2);
    EXPECT_TRUE(PanelWorks(*host.Form));
    EXPECT_FALSE(PanelWorks(*guest.Form));
    EXPECT_TRUE(guest.Banner().contains("(player 1) is on turn")) << guest.Banner().toStdString();

    // The server goes away in month 2: the window says so and comes back by itself once it is
    // there again, resuming with the seat's token.
    host.Net().Client().FirstRetryMs = 100;
    guest.Net().Client().FirstRetryMs = 100;
    const int port = server.Port();
    server.Kill();
    ASSERT_TRUE(WaitUntil([&] { return host.Banner().contains("Connection lost"); })) << host.Banner().toStdString();
    ASSERT_TRUE(server.Start(port));
    ASSERT_TRUE(WaitUntil([&] { return !host.Banner().contains("Connection lost") && !guest.Banner().contains("Connection lost"); }))
        << host.Banner().toStdString();

    host.ClickTown(2);
    host.BuildDepot();
    host.NextTurn();
    ASSERT_TRUE(WaitUntil([&] { return guest.Now() == Phase::OnTurn; }));
    guest.ClickTown(6);
    guest.BuildDepot();
    guest.NextTurn();
    ASSERT_TRUE(WaitUntil([&] {
        return host.Now() == Phase::OnTurn && guest.Now() == Phase::Waiting && guest.Form->State().MonthCount == 3;
    }));

    // Both copies were compared at each turn's end and agreed; both show the server's game.
    EXPECT_EQ(host.Net().ChecksDone(), 2);
    EXPECT_EQ(guest.Net().ChecksDone(), 2);
    EXPECT_EQ(host.Net().ChecksFailed(), 0);
    EXPECT_EQ(guest.Net().ChecksFailed(), 0);
    EXPECT_EQ(host.Savegame(), guest.Savegame());
    // A turn that came while the window was not in front drew the player's eye.
    if (!host.Form->isActiveWindow())
        EXPECT_GT(host.Alerts, 0);
    const std::string game = host.Net().Client().Seat().Game;
    server.Kill();
    const std::string exported = server.Export(game, data.Str() + "/game.tsg");
    ASSERT_FALSE(exported.empty());
    EXPECT_EQ(exported, host.Savegame());
    // The depots each player built stand in the server's game.
    EXPECT_TRUE(host.Form->State().HasDepot[host.Form->State().PlayerCompany[0]][4]);
    EXPECT_TRUE(host.Form->State().HasDepot[host.Form->State().PlayerCompany[1]][6]);
}
