/// @file net_play.cpp tavrek-sim as a player of a game on a game server.
#include "tools/tavrek_sim/network/net_play.h"

#include <cstdio>
#include <deque>

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslError>
#include <QTimer>
#include <QUrl>
#include <QWebSocket>

#include "platform/cp1252.h"
#include "server/protocol.h"

namespace {

/// How long a lost server is waited for before the player gives up: long enough for a restart.
inline constexpr int kRetryMs = 250;
inline constexpr int kRetries = 240;
/// A command unanswered this long over a line that seems open: the line is taken as broken (a
/// half-open connection answers nothing) and taken up again; the repeat is harmless, the server
/// knows its sequence number.
inline constexpr int kAnswerMs = 10000;

class NetPlayer {
public:
    NetPlayer(const NetPlayOptions& options, const std::vector<ScriptAction>& actions, const QSslConfiguration& tls)
        : options_(options), actions_(actions), done_(actions.size(), false)
    {
        socket_.setSslConfiguration(tls);
        // A certificate nobody trusts does not become trusted by trying again: the player stops
        // at once and says why, instead of waiting for a server that seems away.
        QObject::connect(&socket_, &QWebSocket::sslErrors, [this](const QList<QSslError>& errors) {
            QStringList why;
            bool unknownIssuer = false;
            for (const QSslError& e : errors) {
                why << e.errorString();
                unknownIssuer = unknownIssuer || e.error() == QSslError::SelfSignedCertificate ||
                                e.error() == QSslError::SelfSignedCertificateInChain ||
                                e.error() == QSslError::UnableToGetLocalIssuerCertificate ||
                                e.error() == QSslError::UnableToGetIssuerCertificate ||
                                e.error() == QSslError::UnableToVerifyFirstCertificate ||
                                e.error() == QSslError::CertificateUntrusted;
            }
            Finish(1, "the server's certificate is refused: " + why.join("; ") +
                          (unknownIssuer ? " (give its certificate or its authority's with --ca FILE)" : ""));
        });
        QObject::connect(&socket_, &QWebSocket::connected, [this]() { Greet(); });
        QObject::connect(&socket_, &QWebSocket::disconnected, [this]() { Lost(); });
        // A connection that never came up ends in an error, not always in "disconnected".
        QObject::connect(&socket_, QOverload<QAbstractSocket::SocketError>::of(&QWebSocket::error),
                         [this](QAbstractSocket::SocketError) {
                             if (socket_.state() == QAbstractSocket::UnconnectedState)
                                 Lost();
                         });
        QObject::connect(&socket_, &QWebSocket::textMessageReceived, [this](const QString& text) { Receive(text); });
        answerTimer_.setSingleShot(true);
        answerTimer_.setInterval(kAnswerMs);
        QObject::connect(&answerTimer_, &QTimer::timeout, [this]() {
            if (!pending_ || finished_ || socket_.state() != QAbstractSocket::ConnectedState)
                return;
            socket_.abort();
            Lost();
        });
    }

    void Start() { socket_.open(QUrl(QString::fromStdString(options_.Url))); }
    int Status() const { return status_; }

private:
    struct Pending {
        qint64 Seq = 0;
        QString Text;
    };

    static void Print(const QString& line)
    {
        // What the server sends is shown as text, never as the terminal's commands.
        std::printf("%s\n", ControlsReplaced(line.toStdString()).c_str());
    }

    void Finish(int status, const QString& why = {})
    {
        if (finished_)
            return;
        finished_ = true;
        status_ = status;
        if (!why.isEmpty())
            std::fprintf(stderr, "tavrek-sim: %s\n", ControlsReplaced(why.toStdString()).c_str());
        else
            std::printf("game %s\n", qPrintable(game_));
        std::fflush(stdout);
        socket_.close();
        QCoreApplication::exit(status);
    }

    void Send(const QJsonObject& message) { socket_.sendTextMessage(protocol::Encode(message)); }

    void Greet()
    {
        retries_ = 0;
        // The seat's secret is made here and only its hash is kept on the server: a host or join
        // whose answer was lost is simply asked again with it.
        if (token_.isEmpty())
            token_ = protocol::RandomSeatToken();
        if (seat_ != 0) {
            Send({{"v", protocol::kVersion}, {"kind", "resume"}, {"game", game_}, {"seat", seat_}, {"token", token_}});
        } else if (options_.Host) {
            protocol::HostSettings settings{options_.Settings, options_.Seed};
            Send({{"v", protocol::kVersion},
                  {"kind", "host"},
                  {"settings", protocol::SettingsToJson(settings)},
                  {"token", token_}});
        } else {
            Send({{"v", protocol::kVersion},
                  {"kind", "join"},
                  {"invite", QString::fromStdString(options_.Invite)},
                  {"token", token_}});
        }
    }

    void Lost()
    {
        if (finished_ || retrying_)
            return;
        if (++retries_ > kRetries)
            return Finish(1, "the server cannot be reached: " + socket_.errorString());
        retrying_ = true;
        QTimer::singleShot(kRetryMs, [this]() {
            retrying_ = false;
            Start();
        });
    }

    void Receive(const QString& text)
    {
        const QJsonObject m = QJsonDocument::fromJson(text.toUtf8()).object();
        const QString kind = m.value("kind").toString();
        if (kind == "hosted" || kind == "joined") {
            game_ = m.value("game").toString();
            seat_ = m.value("seat").toInt();
            if (kind == "hosted") {
                std::printf("invite %s\n", qPrintable(m.value("invite").toString()));
                std::fflush(stdout);
            }
            if (options_.Months <= 0)
                Finish(0);
        } else if (kind == "resumed") {
            // The command in flight when the line broke goes again: the server answers a repeat
            // without running it twice.
            if (pending_)
                SendPending();
        } else if (kind == "state") {
            // A company liquidated before the last month gets no turn again: its player is done
            // when the game's months are over, as at one machine.
            if (m.value("month").toInt() > options_.Months && !inTurn_ && !pending_)
                Finish(0);
        } else if (kind == "turn") {
            if (m.value("seat").toInt() == seat_)
                BeginTurn(m);
        } else if (kind == "result") {
            if (!pending_ || m.value("seq").toInteger() != pending_->Seq)
                return;
            for (const QJsonValue line : m.value("messages").toArray())
                Print(line.toString());
            Done();
        } else if (kind == "error") {
            const QString code = m.value("code").toString();
            const QString why = m.value("text").toString();
            if (code == "rate-limited" || code == "storage") {
                // Nothing was run: the same command again, a little later; a server that cannot
                // keep anything is not waited for forever.
                if (code == "storage" && ++storageErrors_ > kRetries / 10)
                    return Finish(1, "the server cannot keep the game: " + why);
                QTimer::singleShot(1000, [this]() { SendPending(); });
            } else if (code == "refused" && pending_ && m.value("seq").toInteger() == pending_->Seq) {
                // As at the machine: the rules said why, the player goes on with the next line.
                for (const QString& line : why.split('\n'))
                    Print(line);
                Done();
            } else {
                Finish(1, "the server refused: " + code + ": " + why);
            }
        }
    }

    void BeginTurn(const QJsonObject& m)
    {
        const int month = m.value("month").toInt();
        if (inTurn_ || month <= lastMonth_)
            return;
        inTurn_ = true;
        month_ = month;
        for (const QJsonValue line : m.value("messages").toArray())
            Print(line.toString());
        for (size_t i = 0; i < actions_.size(); ++i)
            if (!done_[i] && actions_[i].Month == month && actions_[i].Player == seat_) {
                done_[i] = true;
                queue_.push_back(i);
            }
        Next();
    }

    void Next()
    {
        QString text;
        if (!queue_.empty()) {
            const ScriptAction& a = actions_[queue_.front()];
            queue_.pop_front();
            std::printf("> %s\n", a.Text.c_str());
            text = QString::fromStdString(CommandText(a.Do));
        } else {
            text = "next-turn";
            endingTurn_ = true;
        }
        pending_ = Pending{++seq_, text};
        SendPending();
    }

    void SendPending()
    {
        if (!pending_ || finished_)
            return;
        Send({{"v", protocol::kVersion},
              {"kind", "command"},
              {"game", game_},
              {"seat", seat_},
              {"token", token_},
              {"seq", pending_->Seq},
              {"text", pending_->Text}});
        answerTimer_.start();
    }

    void Done()
    {
        pending_.reset();
        answerTimer_.stop();
        if (!endingTurn_)
            return Next();
        endingTurn_ = false;
        inTurn_ = false;
        lastMonth_ = month_;
        if (++turns_ >= options_.Months)
            Finish(0);
    }

    const NetPlayOptions& options_;
    const std::vector<ScriptAction>& actions_;
    std::vector<bool> done_;
    QWebSocket socket_;
    QString game_;
    QString token_;
    int seat_ = 0;
    qint64 seq_ = 0;
    std::optional<Pending> pending_;
    std::deque<size_t> queue_;
    bool inTurn_ = false;
    bool endingTurn_ = false;
    int32_t month_ = 0;
    int32_t lastMonth_ = 0;
    int32_t turns_ = 0;
    int retries_ = 0;
    int storageErrors_ = 0;
    bool retrying_ = false;
    QTimer answerTimer_;
    bool finished_ = false;
    int status_ = 1;
};

}  // namespace

int PlayOverNetwork(const NetPlayOptions& options, const std::vector<ScriptAction>& actions)
{
    // A network game runs at the other player's pace: each line is shown as it happens.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    int argc = 1;
    char name[] = "tavrek-sim";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    if (!options.CaFile.empty()) {
        const QString file = QString::fromStdString(options.CaFile);
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "tavrek-sim: cannot read the certificates '%s': %s\n",
                         ControlsReplaced(options.CaFile).c_str(), qPrintable(f.errorString()));
            return 1;
        }
        const QList<QSslCertificate> trusted = QSslCertificate::fromData(f.read(1 << 20), QSsl::Pem);
        if (trusted.isEmpty()) {
            std::fprintf(stderr, "tavrek-sim: '%s' holds no PEM certificate\n",
                         ControlsReplaced(options.CaFile).c_str());
            return 1;
        }
        tls.addCaCertificates(trusted);
    }
    NetPlayer player(options, actions, tls);
    player.Start();
    app.exec();
    return player.Status();
}
