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

    // Month 1, player 1: a town chosen on the map, then the home town and a depot built there
    // (the money is at home), then Next Turn.
    const int hostHome = host.Form->State().PlayerCompany[0];
    const int guestHome = host.Form->State().PlayerCompany[1];
    host.ClickTown(hostHome == 4 ? 5 : 4);
    host.ClickTown(hostHome);
    host.BuildDepot();
    EXPECT_EQ(host.Form->State().SelectedTown, hostHome);
    EXPECT_TRUE(host.Form->State().HasDepot[hostHome][hostHome]);
    host.NextTurn();
    ASSERT_TRUE(WaitUntil([&] { return host.Now() == Phase::Waiting; }));
    EXPECT_TRUE(host.Banner().contains("Waiting for player 2 to join")) << host.Banner().toStdString();
    EXPECT_FALSE(PanelWorks(*host.Form));
    // The banner grows with the window's zoom and is as it was back at 100 %.
    const QLabel& banner = *host.Net().Banner();
    const QRect at100 = banner.geometry();
    host.Form->AvailableScreenSize = [] { return QSize(1920, 1200); };
    ASSERT_EQ(host.Form->SetZoom(200), 200);
    EXPECT_EQ(banner.pos(), QPoint(8, 8));
    EXPECT_GT(banner.height(), at100.height() * 3 / 2);
    EXPECT_GT(banner.width(), at100.width() * 3 / 2);
    ASSERT_EQ(host.Form->SetZoom(100), 100);
    EXPECT_EQ(banner.geometry(), at100);

    guest.Net().AskJoin = [&](const QString&) { return std::optional(std::pair{server.Url(), host.Invite}); };
    guest.Net().Join();
    ASSERT_TRUE(WaitUntil([&] { return guest.Now() == Phase::OnTurn; })) << guest.Banner().toStdString();
    EXPECT_TRUE(guest.Form->State().GameActive);
    EXPECT_EQ(guest.Form->State().CurrentCompany, guest.Form->State().PlayerCompany[1]);
    ASSERT_TRUE(WaitUntil([&] { return host.Banner().contains("(player 2) is on turn"); }))
        << host.Banner().toStdString();

    // While player 2 moves, player 1's map and panel are read-only.
    const int hostTown = host.Form->State().SelectedTown;
    host.ClickTown(hostTown == 7 ? 8 : 7);
    QTest::keyClick(host.Form.get(), Qt::Key_PageDown);
    QTest::qWait(50);
    EXPECT_EQ(host.Form->State().SelectedTown, hostTown);
    EXPECT_FALSE(host.Form->Button3->isEnabled());
    EXPECT_FALSE(host.Form->Button8->isEnabled());

    guest.ClickTown(guestHome);
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
    ASSERT_TRUE(WaitUntil([&] {
        return !host.Banner().contains("Connection lost") && !guest.Banner().contains("Connection lost");
    })) << host.Banner().toStdString();

    host.ClickTown(2);
    host.NextTurn();
    ASSERT_TRUE(WaitUntil([&] { return guest.Now() == Phase::OnTurn; }));
    guest.ClickTown(6);
    guest.NextTurn();
    ASSERT_TRUE(WaitUntil([&] {
        return host.Now() == Phase::OnTurn && guest.Now() == Phase::Waiting && guest.Form->State().MonthCount == 3;
    }));

    // Both copies were compared at each turn's end and agreed; both show the server's game.
    EXPECT_EQ(host.Net().ChecksDone(), 2);
    EXPECT_EQ(guest.Net().ChecksDone(), 2);
    EXPECT_EQ(host.Net().ChecksFailed(), 0);
    EXPECT_EQ(guest.Net().ChecksFailed(), 0);
    EXPECT_TRUE(host.Savegame() == guest.Savegame());
    // A turn that came while the window was not in front drew the player's eye.
    if (!host.Form->isActiveWindow()) {
        EXPECT_GT(host.Alerts, 0);
    }
    const std::string game = host.Net().Client().Seat().Game;
    server.Kill();
    const std::string exported = server.Export(game, data.Str() + "/game.tsg");
    ASSERT_FALSE(exported.empty());
    EXPECT_TRUE(exported == host.Savegame());
    // The depots each player built stand in the server's game.
    EXPECT_TRUE(host.Form->State().HasDepot[hostHome][hostHome]);
    EXPECT_TRUE(host.Form->State().HasDepot[guestHome][guestHome]);
    // The towns chosen last reached it too: player 1 is on turn in town 2.
    EXPECT_EQ(host.Form->State().SelectedTown, 2);
}

TEST(NetworkWindow, ResumeTakesTheSeatUpAgainInAnotherWindow)
{
    TempDir data;
    LoopbackServer server(data.Str());
    ASSERT_TRUE(server.Start());
    HeldSeat seat;
    std::string game;
    {
        Player host;
        host.Net().AskServer = [&](const QString&) { return std::optional<QString>(server.Url()); };
        host.Net().Host();
        ASSERT_TRUE(WaitUntil([&] { return host.Now() == Phase::OnTurn; }));
        host.ClickTown(3);
        host.ClickTown(host.Form->State().PlayerCompany[0]);
        host.BuildDepot();
        // Sent after the click's handler, then answered.
        QCoreApplication::processEvents();
        ASSERT_TRUE(WaitUntil([&] { return host.Net().Client().Unanswered() == 0; }));
        game = host.Savegame();
        seat = ReadHeldSeats(host.Dir.Str())->Seats.at(0);
    }
    // The player comes back later, in a new window: the seat is taken up, the turn goes on.
    Player again;
    HeldSeats seats;
    seats.Keep(seat);
    ASSERT_TRUE(WriteHeldSeats(again.Dir.Str(), seats));
    QStringList offered;
    again.Net().AskSeat = [&](const QStringList& lines) {
        offered = lines;
        return std::optional<int>(0);
    };
    again.Net().Resume();
    ASSERT_EQ(offered.size(), 1);
    EXPECT_TRUE(offered[0].contains(QString::fromStdString(seat.Game))) << offered[0].toStdString();
    ASSERT_TRUE(WaitUntil([&] { return again.Now() == Phase::OnTurn; })) << again.Banner().toStdString();
    EXPECT_TRUE(again.Savegame() == game);
    // Commands go on with the seat's sequence numbers: the server takes the next one.
    again.ClickTown(5);
    again.NextTurn();
    ASSERT_TRUE(WaitUntil([&] { return again.Now() == Phase::Waiting; }));
    EXPECT_EQ(again.Net().ChecksFailed(), 0);
    EXPECT_FALSE(again.Said("server did not take"));
    EXPECT_FALSE(again.Said("differs from the server's"));
}

TEST(NetworkWindow, AGuestWhoJoinsWhileTheHostMovesWaitsForTheTurn)
{
    TempDir data;
    LoopbackServer server(data.Str());
    ASSERT_TRUE(server.Start());
    Player host;
    Player guest;
    host.Net().AskServer = [&](const QString&) { return std::optional<QString>(server.Url()); };
    host.Net().Host();
    ASSERT_TRUE(WaitUntil([&] { return host.Now() == Phase::OnTurn; }));
    guest.Net().AskJoin = [&](const QString&) { return std::optional(std::pair{server.Url(), host.Invite}); };
    guest.Net().Join();
    ASSERT_TRUE(WaitUntil([&] { return guest.Now() == Phase::Waiting && guest.Form->State().GameActive; }));
    EXPECT_TRUE(guest.Banner().contains("(player 1) is on turn")) << guest.Banner().toStdString();
    // The host's moves while the guest joined reach both.
    host.ClickTown(host.Form->State().PlayerCompany[0] == 2 ? 3 : 2);
    host.NextTurn();
    ASSERT_TRUE(WaitUntil([&] { return guest.Now() == Phase::OnTurn && host.Now() == Phase::Waiting; }));
    EXPECT_EQ(host.Net().ChecksFailed(), 0);
    EXPECT_TRUE(host.Savegame() == guest.Savegame());
}

TEST(NetworkWindow, ACopyThatDiffersIsToldAndTheServersGameTaken)
{
    TempDir data;
    LoopbackServer server(data.Str());
    ASSERT_TRUE(server.Start());
    Player host;
    host.Net().AskServer = [&](const QString&) { return std::optional<QString>(server.Url()); };
    host.Net().Host();
    ASSERT_TRUE(WaitUntil([&] { return host.Now() == Phase::OnTurn; }));

    // The same seat at a second machine chooses a town the first window never hears of.
    Player twin;
    HeldSeats seats;
    seats.Keep(ReadHeldSeats(host.Dir.Str())->Seats.at(0));
    ASSERT_TRUE(WriteHeldSeats(twin.Dir.Str(), seats));
    twin.Net().AskSeat = [](const QStringList&) { return std::optional<int>(0); };
    twin.Net().Resume();
    ASSERT_TRUE(WaitUntil([&] { return twin.Now() == Phase::OnTurn; }));
    const int home = host.Form->State().PlayerCompany[0];
    const int elsewhere = home == 5 ? 6 : 5;
    twin.ClickTown(elsewhere);
    QCoreApplication::processEvents();
    ASSERT_TRUE(WaitUntil([&] { return twin.Net().Client().Unanswered() == 0; }));
    EXPECT_EQ(host.Form->State().SelectedTown, home);

    // At the end of the turn the first window's copy is compared: it differs, the player is told,
    // and the server's game is what the window shows.
    host.NextTurn();
    ASSERT_TRUE(WaitUntil([&] { return host.Now() == Phase::Waiting; }));
    EXPECT_TRUE(host.Said("differs from the server's"));
    EXPECT_EQ(host.Net().ChecksDone(), 1);
    EXPECT_EQ(host.Net().ChecksFailed(), 1);
    // The town the twin chose is the one the server's game holds, and now the window's.
    EXPECT_EQ(host.Form->State().SelectedTown, elsewhere);
    // The second machine's command spent the sequence number the first one used next: the first
    // took new numbers, and its Next Turn ran.
    ASSERT_TRUE(WaitUntil([&] { return twin.Now() == Phase::Waiting; }));
    EXPECT_TRUE(host.Savegame() == twin.Savegame());
}

TEST(NetworkWindow, ServerGoneWrongInviteAndUnknownSeatAreSaidClearly)
{
    TempDir data;
    LoopbackServer server(data.Str());
    ASSERT_TRUE(server.Start());
    const QString url = server.Url();

    // A wrong invite code: refused, the window stays as it was.
    Player guest;
    guest.Net().AskJoin = [&](const QString&) {
        return std::optional(std::pair{url, QString("0123456789abcdef0123456789abcdef")});
    };
    guest.Net().Join();
    ASSERT_TRUE(WaitUntil([&] { return guest.Said("does not know this invite code"); }));
    EXPECT_EQ(guest.Now(), Phase::Off);
    EXPECT_FALSE(guest.Form->State().GameActive);
    EXPECT_FALSE(guest.Net().Banner()->isVisible());

    // A seat in a game the server does not know.
    Player stranger;
    HeldSeats seats;
    seats.Keep({url.toStdString(), "feedfacefeedface", 1, std::string(64, 'a')});
    ASSERT_TRUE(WriteHeldSeats(stranger.Dir.Str(), seats));
    stranger.Net().AskSeat = [](const QStringList&) { return std::optional<int>(0); };
    stranger.Net().Resume();
    ASSERT_TRUE(WaitUntil([&] { return stranger.Said("no longer knows this game"); }));
    EXPECT_EQ(stranger.Now(), Phase::Off);

    // No seats at all.
    Player newcomer;
    newcomer.Net().Resume();
    EXPECT_TRUE(WaitUntil([&] { return newcomer.Said("You hold no seat"); }));

    // The server is gone before the seat was taken: said at once, nothing waited for.
    server.Kill();
    Player host;
    host.Net().AskServer = [&](const QString&) { return std::optional<QString>(url); };
    host.Net().Host();
    ASSERT_TRUE(WaitUntil([&] { return host.Said("cannot be reached"); }));
    EXPECT_EQ(host.Now(), Phase::Off);
    EXPECT_FALSE(host.Form->State().GameActive);
    // Nothing of a network game is left in the window: its own buttons work as always.
    EXPECT_TRUE(host.Form->Button8->isEnabled());
}

TEST(NetworkSeats, TheFileReadsBackAndADamagedLineCostsOnlyItsSeat)
{
    const std::string token(64, 'c');
    HeldSeats seats;
    seats.LastServer = "ws://example.org:4000";
    seats.Keep({"ws://a:1", "g1", 1, token});
    seats.Keep({"ws://a:1", "g2", 2, token});
    seats.Keep({"ws://a:1", "g1", 1, std::string(64, 'd')});  // the same seat again: replaced, first
    ASSERT_EQ(seats.Seats.size(), 2u);
    EXPECT_EQ(seats.Seats[0].Game, "g1");
    EXPECT_EQ(ParseHeldSeats(HeldSeatsText(seats)), seats);

    struct Case {
        const char* Line;
        bool Kept;
    };
    const Case cases[] = {
        {"seat ws://a:1 g 1 cccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccc", true},
        {"seat ws://a:1 g 3 cccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccc", false},  // no seat 3
        {"seat ws://a:1 g 1 CCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCC",
         false},                            // not lower-case hex
        {"seat ws://a:1 g 1 cccc", false},  // too short
        {"seat ws://a:1 g 1 cccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccc extra", false},
        {"seat ws://a:1", false},
        {"garbage", false},
    };
    for (const Case& c : cases) {
        const auto read = ParseHeldSeats(std::string("TAVREK seats 1\n") + c.Line + "\n");
        ASSERT_TRUE(read) << c.Line;
        EXPECT_EQ(read->Seats.size(), c.Kept ? 1u : 0u) << c.Line;
    }
    EXPECT_FALSE(ParseHeldSeats("Tavrek!.ini\n[Options]\n"));
    EXPECT_FALSE(ParseHeldSeats(""));

    // Written whole and owner-only; no file is no seats, a foreign file is refused.
    TempDir dir;
    EXPECT_TRUE(ReadHeldSeats(dir.Str()) && ReadHeldSeats(dir.Str())->Seats.empty());
    ASSERT_TRUE(WriteHeldSeats(dir.Str(), seats));
    struct stat info {};
    ASSERT_EQ(::stat((dir.Str() + "/" + kSeatsFileName).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(ReadHeldSeats(dir.Str()), seats);
    WriteFile(dir.Path() / kSeatsFileName, "something else\n");
    std::string why;
    EXPECT_FALSE(ReadHeldSeats(dir.Str(), &why));
    EXPECT_NE(why.find("not a seats file"), std::string::npos);
}
