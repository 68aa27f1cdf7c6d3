/// @file server_load.cpp Many two-player games of bots at once on one tavrek-server over
/// loopback: commands answered per second, the time from a command to its answer, the server's
/// peak resident memory. A figure, not a test: run it by hand; it starts its own server.
#include <algorithm>
#include <cstdio>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include <sys/resource.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QWebSocket>

#include "server/protocol.h"

namespace {

struct Options {
    QString Server = TAVREK_SERVER_PATH;
    QString Commands = TAVREK_BENCH_SCRIPT;
    int Games = 200;
    int Months = 24;
    QStringList ServerArgs;
};

/// One line of the bots' script: in this month, this seat sends this command.
struct Line {
    int Month = 0;
    int Seat = 0;
    QString Text;
};

std::vector<Line> ReadScript(const QString& file, QString& error)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        error = "cannot read " + file + ": " + f.errorString();
        return {};
    }
    std::vector<Line> lines;
    while (!f.atEnd()) {
        const QString text = QString::fromUtf8(f.readLine()).trimmed();
        if (text.isEmpty() || text.startsWith('#'))
            continue;
        const QStringList words = text.split(' ', Qt::SkipEmptyParts);
        bool okMonth = false;
        bool okSeat = false;
        Line line{words.value(0).toInt(&okMonth), words.value(1).toInt(&okSeat), words.mid(2).join(' ')};
        if (!okMonth || !okSeat || line.Text.isEmpty()) {
            error = "not a line MONTH SEAT COMMAND in " + file + ": " + text;
            return {};
        }
        lines.push_back(line);
    }
    return lines;
}

/// What all bots saw, together.
struct Tally {
    std::vector<double> AnswerMs;   ///< one per command answered
    std::map<QString, int> Errors;  ///< error codes of answers, "refused" among them
    int Finished = 0;
    int Failed = 0;
    QElapsedTimer Clock;
    qint64 FirstSent = -1;
    qint64 LastAnswer = 0;
};

/// One seat of one game: hosts or joins, then on each of its turns sends its script's lines and
/// Next Turn, one command at a time, each waiting for its answer.
class Bot {
public:
    Bot(Tally& tally, const std::vector<Line>& script, int months, int seat, int seed)
        : tally_(tally), script_(script), months_(months), seat_(seat), seed_(seed)
    {
        QObject::connect(&socket_, &QWebSocket::connected, [this]() { Greet(); });
        QObject::connect(&socket_, &QWebSocket::textMessageReceived, [this](const QString& t) { Receive(t); });
        QObject::connect(&socket_, &QWebSocket::disconnected, [this]() { Fail("the connection closed"); });
        token_ = QString("%1").arg(seat * 100000 + seed, 64, 16, QChar('0'));
    }

    void Open(const QString& url, const QString& invite = {})
    {
        invite_ = invite;
        socket_.open(QUrl(url));
    }
    const QString& Invite() const { return invite_; }
    bool Done() const { return done_; }

private:
    void Send(const QJsonObject& m) { socket_.sendTextMessage(protocol::Encode(m)); }

    void Greet()
    {
        if (seat_ == 1) {
            QJsonObject settings{{"map", 2},          {"expert", false}, {"delay", true}, {"events", true},
                                 {"advanced", false}, {"reduce", false}, {"share", "60"}, {"name1", ""},
                                 {"name2", ""},       {"start1", 3},     {"start2", 7},   {"seed", seed_}};
            Send({{"v", 1}, {"kind", "host"}, {"token", token_}, {"settings", settings}});
        } else {
            Send({{"v", 1}, {"kind", "join"}, {"token", token_}, {"invite", invite_}});
        }
    }

    void Fail(const QString& why)
    {
        if (done_)
            return;
        done_ = true;
        ++tally_.Failed;
        std::fprintf(stderr, "game %s seat %d: %s\n", qPrintable(game_), seat_, qPrintable(why));
    }

    void Receive(const QString& text)
    {
        const QJsonObject m = QJsonDocument::fromJson(text.toUtf8()).object();
        const QString kind = m.value("kind").toString();
        if (kind == "hosted" || kind == "joined") {
            game_ = m.value("game").toString();
            if (kind == "hosted")
                invite_ = m.value("invite").toString();
        } else if (kind == "state" && m.value("month").toInt() > months_ && !done_ && sentAt_ < 0) {
            // The game's months are over for this seat too: a company liquidated before the end
            // has no turns left to play.
            done_ = true;
            ++tally_.Finished;
        } else if (kind == "turn" && m.value("seat").toInt() == seat_) {
            const int month = m.value("month").toInt();
            if (done_ || month <= lastMonth_ || !queue_.empty() || sentAt_ >= 0)
                return;
            lastMonth_ = month;
            for (const Line& line : script_)
                if (line.Month == month && line.Seat == seat_)
                    queue_.push_back(line.Text);
            queue_.push_back("next-turn");
            Next();
        } else if ((kind == "result" || kind == "error") && sentAt_ >= 0 && m.value("seq").toInteger() == seq_) {
            const qint64 now = tally_.Clock.nsecsElapsed();
            tally_.AnswerMs.push_back((now - sentAt_) / 1e6);
            tally_.LastAnswer = std::max(tally_.LastAnswer, now);
            sentAt_ = -1;
            if (kind == "error")
                ++tally_.Errors[m.value("code").toString()];
            if (kind == "error" && m.value("code").toString() != "refused")
                return Fail("the server said " + m.value("code").toString() + ": " + m.value("text").toString());
            Next();
        } else if (kind == "error") {
            ++tally_.Errors[m.value("code").toString()];
            Fail("the server said " + m.value("code").toString() + ": " + m.value("text").toString());
        }
    }

    void Next()
    {
        if (queue_.empty()) {
            if (++turns_ >= months_ && !done_) {
                done_ = true;
                ++tally_.Finished;
            }
            return;
        }
        const QString text = queue_.front();
        queue_.pop_front();
        sentAt_ = tally_.Clock.nsecsElapsed();
        if (tally_.FirstSent < 0)
            tally_.FirstSent = sentAt_;
        Send({{"v", 1},
              {"kind", "command"},
              {"game", game_},
              {"seat", seat_},
              {"token", token_},
              {"seq", ++seq_},
              {"text", text}});
    }

    Tally& tally_;
    const std::vector<Line>& script_;
    int months_;
    int seat_;
    int seed_;
    QWebSocket socket_;
    QString token_;
    QString invite_;
    QString game_;
    std::deque<QString> queue_;
    qint64 seq_ = 0;
    qint64 sentAt_ = -1;
    int lastMonth_ = 0;
    int turns_ = 0;
    bool done_ = false;
};

/// A value of /proc/PID/status in KiB ("VmHWM", "VmRSS"); -1 when it cannot be read.
long StatusKiB(qint64 pid, const char* key)
{
    QFile f(QString("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(QByteArray(key) + ':'))
            return line.mid(qsizetype(qstrlen(key)) + 1).trimmed().split(' ').value(0).toLong();
    return -1;
}

/// The CPU seconds (user and system) a process has used so far, from /proc/PID/stat.
double CpuSeconds(qint64 pid)
{
    QFile f(QString("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray stat = f.readAll();
    // The fields after the program's name in parentheses: utime and stime are the 12th and 13th.
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    return (fields.value(11).toDouble() + fields.value(12).toDouble()) / double(sysconf(_SC_CLK_TCK));
}

double Percentile(const std::vector<double>& sorted, double p)
{
    if (sorted.empty())
        return 0;
    const size_t i = std::min(sorted.size() - 1, static_cast<size_t>(p * static_cast<double>(sorted.size())));
    return sorted[i];
}

/// Runs the event loop until `done` holds or `ms` have passed, sleeping while nothing happens:
/// a waiting loop that spun would take a core from the server it measures.
bool WaitUntil(QCoreApplication& app, const std::function<bool()>& done, int ms)
{
    QElapsedTimer t;
    t.start();
    QTimer tick;
    tick.start(50);
    while (!done()) {
        if (t.elapsed() > ms)
            return false;
        app.processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

int Usage(const char* why)
{
    std::fprintf(stderr,
                 "tavrek_server_load: %s\n"
                 "usage: tavrek_server_load [--games N] [--months N] [--server PROGRAM] [--commands FILE]\n"
                 "                          [-- SERVER OPTIONS...]\n",
                 why);
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Options o;
    QStringList args = app.arguments().mid(1);
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString a = args[i];
        const bool more = i + 1 < args.size();
        if (a == "--") {
            o.ServerArgs = args.mid(i + 1);
            break;
        }
        if (!more)
            return Usage("an option without its value, or an unknown option");
        if (a == "--games")
            o.Games = args[++i].toInt();
        else if (a == "--months")
            o.Months = args[++i].toInt();
        else if (a == "--server")
            o.Server = args[++i];
        else if (a == "--commands")
            o.Commands = args[++i];
        else
            return Usage("unknown option");
    }
    if (o.Games < 1 || o.Months < 1)
        return Usage("--games and --months need a whole number from 1");
    QString error;
    const std::vector<Line> script = ReadScript(o.Commands, error);
    if (!error.isEmpty())
        return Usage(qPrintable(error));

    // The server as it is run for players, but with room for every bot's connection from this
    // one address, and without the per-connection rate that guards against a flooding player
    // (a bot answers at once; a person does not).
    QTemporaryDir data;
    QProcess server;
    server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    server.start(o.Server, QStringList{"--data", data.path(), "--listen", "127.0.0.1:0", "--connections-per-address",
                                       QString::number(2 * o.Games + 10), "--messages-per-second", "100000"} +
                               o.ServerArgs);
    if (!server.waitForStarted(10000) || !WaitUntil(
                                             app, [&]() { return server.canReadLine(); }, 20000)) {
        std::fprintf(stderr, "tavrek_server_load: the server did not start\n");
        return 1;
    }
    const QString first = QString::fromUtf8(server.readLine()).trimmed();
    std::printf("server: %s, its database in %s\n", qPrintable(first), qPrintable(data.path()));
    const QString url = first.section(' ', 2);
    const qint64 pid = server.processId();
    const long idleKiB = StatusKiB(pid, "VmRSS");

    Tally tally;
    tally.Clock.start();
    std::vector<std::unique_ptr<Bot>> hosts;
    std::vector<std::unique_ptr<Bot>> guests;
    for (int g = 0; g < o.Games; ++g) {
        hosts.push_back(std::make_unique<Bot>(tally, script, o.Months, 1, g + 1));
        hosts.back()->Open(url);
    }
    // Every guest joins with its host's invite.
    if (!WaitUntil(
            app,
            [&]() { return std::all_of(hosts.begin(), hosts.end(), [](auto& b) { return !b->Invite().isEmpty(); }); },
            120000)) {
        std::fprintf(stderr, "tavrek_server_load: not every game was hosted\n");
        return 1;
    }
    const double hostedS = tally.Clock.nsecsElapsed() / 1e9;
    const long madeKiB = StatusKiB(pid, "VmRSS");
    for (int g = 0; g < o.Games; ++g) {
        guests.push_back(std::make_unique<Bot>(tally, script, o.Months, 2, g + 1));
        guests.back()->Open(url, hosts[size_t(g)]->Invite());
    }
    const bool all = WaitUntil(
        app, [&]() { return tally.Finished + tally.Failed >= 2 * o.Games; }, 3600000);
    const long peakKiB = StatusKiB(pid, "VmHWM");
    const long endKiB = StatusKiB(pid, "VmRSS");
    const double serverCpu = CpuSeconds(pid);
    server.kill();
    server.waitForFinished(10000);
    rusage self{};
    getrusage(RUSAGE_SELF, &self);
    const double clientCpu = double(self.ru_utime.tv_sec + self.ru_stime.tv_sec) +
                             double(self.ru_utime.tv_usec + self.ru_stime.tv_usec) / 1e6;

    std::vector<double> ms = tally.AnswerMs;
    std::sort(ms.begin(), ms.end());
    const double playS = (tally.LastAnswer - tally.FirstSent) / 1e9;
    std::printf("%d games of two bots on one tavrek-server over loopback (%d connections), %d months each\n", o.Games,
                2 * o.Games, o.Months);
    std::printf("games played to the end: %d of %d%s\n", tally.Finished / 2, o.Games,
                all && tally.Failed == 0 ? "" : " (some bots failed or timed out: see above)");
    std::printf("hosting all games: %.2f s\n", hostedS);
    std::printf("commands answered: %zu in %.2f s: %.0f commands per second\n", ms.size(), playS,
                playS > 0 ? double(ms.size()) / playS : 0.0);
    for (const auto& [code, count] : tally.Errors)
        std::printf("  answered with error %s: %d\n", qPrintable(code), count);
    std::printf("answer time (command sent to its answer): p50 %.2f ms, p90 %.2f ms, p99 %.2f ms, max %.2f ms\n",
                Percentile(ms, 0.50), Percentile(ms, 0.90), Percentile(ms, 0.99), ms.empty() ? 0.0 : ms.back());
    std::printf(
        "server resident memory: at start %.1f MiB, with the games hosted %.1f MiB, at the end %.1f MiB, "
        "peak %.1f MiB\n",
        idleKiB / 1024.0, madeKiB / 1024.0, endKiB / 1024.0, peakKiB / 1024.0);
    std::printf("CPU time: server %.2f s, the bots (this program) %.2f s\n", serverCpu, clientCpu);
    return all && tally.Failed == 0 ? 0 : 1;
}
