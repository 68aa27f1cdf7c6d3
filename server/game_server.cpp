/// @file game_server.cpp The game server.
#include "server/game_server.h"

#include <algorithm>
#include <cstdio>

#include <QCryptographicHash>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTimer>
#include <QWebSocket>
#include <QWebSocketServer>

#include "persistence/savegame.h"
#include "server/protocol.h"

namespace {

using protocol::Error;

inline constexpr qint64 kMaxSeq = (qint64{1} << 53) - 1;  ///< every whole number JSON holds exactly
inline constexpr qsizetype kMaxCommandChars = 1000;
inline constexpr qsizetype kMaxIdChars = 128;
inline constexpr qsizetype kTokenChars = 64;
/// How often a server sharing its database looks whether its players' games moved on elsewhere
/// without a notice reaching it (a notice is lost with a broken database connection).
inline constexpr int kLookAroundMs = 5000;

/// `bytes` random bytes from the system's source, as hexadecimal text.
QString RandomHex(int bytes)
{
    QByteArray data(bytes, '\0');
    for (int i = 0; i < bytes; i += 4) {
        const quint32 word = QRandomGenerator::system()->generate();
        for (int k = 0; k < 4 && i + k < bytes; ++k)
            data[i + k] = static_cast<char>((word >> (8 * k)) & 0xFF);
    }
    return QString::fromLatin1(data.toHex());
}

/// Secrets are kept only as their SHA-256: a copy of the database gives nobody a seat.
QString Hash(const QString& secret)
{
    return QString::fromLatin1(QCryptographicHash::hash(secret.toUtf8(), QCryptographicHash::Sha256).toHex());
}

QJsonArray Lines(const std::vector<std::string>& lines)
{
    QJsonArray array;
    for (const std::string& line : lines)
        array.append(QString::fromStdString(line));
    return array;
}

qint64 Now() { return QDateTime::currentSecsSinceEpoch(); }

/// Ends a change of a game that nothing committed, however the handling of a message ends.
struct Unlock {
    GameStore& Store;
    ~Unlock() { Store.Release(); }
};

}  // namespace

std::unique_ptr<HostedGame> RebuildGame(const StoredGame& stored, const std::string& programDirectory, QString& error)
{
    const QJsonDocument doc = QJsonDocument::fromJson(stored.Settings.toUtf8());
    protocol::HostSettings settings;
    Error why;
    if (!doc.isObject() || !protocol::SettingsFromJson(doc.object(), settings, why)) {
        error = "game " + stored.Id + ": its settings cannot be read: " + why.Text;
        return nullptr;
    }
    auto game = std::make_unique<HostedGame>(programDirectory, settings.Game, stored.Seed);
    if (!PlayInputs(*game, stored.Id, stored.Inputs, 0, error))
        return nullptr;
    return game;
}

bool PlayInputs(HostedGame& game, const QString& id, const std::vector<StoredInput>& inputs, int number, QString& error)
{
    for (const StoredInput& input : inputs) {
        ++number;
        Command command;
        std::string reason;
        if (!ParseCommand(input.Line.toStdString(), command, reason)) {
            error = QString("game %1: input %2 cannot be read: %3").arg(id).arg(number).arg(reason.c_str());
            return false;
        }
        if (game.SeatOnTurn() != input.Seat) {
            error = QString("game %1: input %2 is of seat %3, out of turn").arg(id).arg(number).arg(input.Seat);
            return false;
        }
        game.Play(command);
        if (!input.Digest.isEmpty() && input.Digest.toStdString() != StateDigest(game.State())) {
            error = QString("game %1: after input %2 the game is not the one played").arg(id).arg(number);
            return false;
        }
    }
    return true;
}

GameServer::GameServer(GameStore& store, std::string programDirectory, ServerLimits limits, QObject* parent)
    : QObject(parent), store_(store), programDirectory_(std::move(programDirectory)), limits_(limits)
{
    store_.OnNotice([this](const QString& id) { Heard(id); });
    if (store_.Shared()) {
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, &GameServer::LookAround);
        timer->start(kLookAroundMs);
    }
}

GameServer::~GameServer() { store_.OnNotice(nullptr); }

std::unique_ptr<GameServer::Game> GameServer::Restore(const StoredGame& stored, QString& error) const
{
    auto game = std::make_unique<Game>();
    game->Play = RebuildGame(stored, programDirectory_, error);
    if (!game->Play)
        return nullptr;
    game->Id = stored.Id;
    for (int i = 0; i < 2; ++i)
        game->Seats[i] = {stored.Seats[i].TokenHash, stored.Seats[i].LastSeq, stored.Seats[i].LastAnswer};
    game->InviteHash = stored.InviteHash;
    game->InviteExpires = stored.InviteExpires;
    game->InviteUsed = stored.InviteUsed;
    game->Inputs = static_cast<int>(stored.Inputs.size());
    game->Told = {game->Play->Month(), game->Play->SeatOnTurn(), !game->Seats[1].TokenHash.isEmpty()};
    return game;
}

void GameServer::LoadGames()
{
    QString error;
    for (const QString& id : store_.GameIds(error)) {
        const auto stored = store_.Load(id, error);
        auto game = stored ? Restore(*stored, error) : nullptr;
        if (!game) {
            std::fprintf(stderr, "tavrek-server: %s\n", qPrintable(error));
            continue;
        }
        games_[id] = std::move(game);
    }
    if (!error.isEmpty())
        std::fprintf(stderr, "tavrek-server: %s\n", qPrintable(error));
}

void GameServer::UseTls(const QSslConfiguration& tls) { tls_ = tls; }

GameServer::Game* GameServer::Take(QWebSocket* socket, const QString& id, qint64 seq)
{
    const auto it = games_.find(id);
    Game* g = it == games_.end() ? nullptr : it->second.get();
    GameNews news;
    QString why;
    const GameLock lock = store_.Lock(id, g ? g->Inputs : 0, news, why);
    if (lock == GameLock::NoGame) {
        if (socket)
            Send(socket, protocol::ErrorMessage({"unknown-game", "there is no game " + id + " here"}, seq));
        return nullptr;
    }
    if (lock == GameLock::Failed) {
        std::fprintf(stderr, "tavrek-server: game %s cannot be read: %s\n", qPrintable(id), qPrintable(why));
        if (socket)
            Send(socket, protocol::ErrorMessage({"storage", "the game could not be read; send it again"}, seq));
        return nullptr;
    }
    if (g && PlayInputs(*g->Play, id, news.Inputs, g->Inputs, why)) {
        g->Inputs += static_cast<int>(news.Inputs.size());
        for (int i = 0; i < 2; ++i)
            g->Seats[i] = {news.Seats[i].TokenHash, news.Seats[i].LastSeq, news.Seats[i].LastAnswer};
        g->InviteHash = news.InviteHash;
        g->InviteExpires = news.InviteExpires;
        g->InviteUsed = news.InviteUsed;
        return g;
    }
    // Not seen here yet, or not the game the other servers played: the whole game as the
    // database holds it (read under the same lock).
    const auto told = g ? g->Told : std::tuple<int32_t, int, bool>{-1, 0, false};
    if (g)
        std::fprintf(stderr, "tavrek-server: %s; the game is read again\n", qPrintable(why));
    why.clear();
    const auto stored = store_.Load(id, why);
    auto restored = stored ? Restore(*stored, why) : nullptr;
    if (!restored) {
        store_.Release();
        games_.erase(id);
        std::fprintf(stderr, "tavrek-server: %s\n", qPrintable(why));
        if (socket)
            Send(socket, protocol::ErrorMessage({"storage", "the game cannot be read: " + why}, seq));
        return nullptr;
    }
    if (g)
        restored->Told = told;
    return (games_[id] = std::move(restored)).get();
}

void GameServer::Heard(const QString& id)
{
    // A game nobody here listens to is brought up to date when it is next asked for.
    bool listened = false;
    for (const auto& [socket, client] : clients_)
        for (const auto& [game, seat] : client.Seats)
            listened = listened || game == id;
    if (!listened)
        return;
    const Unlock unlock{store_};
    Game* g = Take(nullptr, id, -1);
    store_.Release();
    if (!g)
        return;
    // Told only what changed since this server last told its players, whoever brought the game
    // up to date meanwhile.
    const auto [month, turn, joined] = g->Told;
    if (month != g->Play->Month() || turn != g->Play->SeatOnTurn())
        Broadcast(*g, true);
    else if (joined != !g->Seats[1].TokenHash.isEmpty())
        Broadcast(*g, false);
}

void GameServer::LookAround()
{
    std::vector<QString> ids;
    for (const auto& [socket, client] : clients_)
        for (const auto& [game, seat] : client.Seats)
            if (std::find(ids.begin(), ids.end(), game) == ids.end())
                ids.push_back(game);
    QString error;
    const auto progresses = store_.Progresses(ids, error);
    if (!error.isEmpty())
        std::fprintf(stderr, "tavrek-server: the games cannot be looked at: %s\n", qPrintable(error));
    for (const auto& [id, progress] : progresses) {
        const auto it = games_.find(id);
        if (it != games_.end() && (progress.Inputs != it->second->Inputs || progress.Joined != it->second->InviteUsed))
            Heard(id);
    }
}

bool GameServer::Listen(const QHostAddress& address, quint16 port, QString& error)
{
    if (!server_) {
        server_ = new QWebSocketServer("tavrek-server",
                                       tls_ ? QWebSocketServer::SecureMode : QWebSocketServer::NonSecureMode, this);
        if (tls_)
            server_->setSslConfiguration(*tls_);
        connect(server_, &QWebSocketServer::newConnection, this, &GameServer::Accept);
    }
    if (server_->listen(address, port))
        return true;
    error = server_->errorString();
    return false;
}

QString GameServer::Url() const
{
    if (!server_)
        return {};
    const QHostAddress a = server_->serverAddress();
    const QString host = a.protocol() == QAbstractSocket::IPv6Protocol ? "[" + a.toString() + "]" : a.toString();
    return QString("%1://%2:%3").arg(tls_ ? "wss" : "ws", host).arg(server_->serverPort());
}

void GameServer::Accept()
{
    while (QWebSocket* socket = server_->nextPendingConnection()) {
        Client& client = clients_[socket];
        client.Address = socket->peerAddress();
        client.Tokens = limits_.MessageBurst;
        client.Refilled.start();
        // Room beyond the protocol's limit, so an oversized message gets its error and the
        // connection stays; far beyond it the socket closes with "too much data".
        socket->setMaxAllowedIncomingMessageSize(4 * protocol::kMaxMessageBytes);
        socket->setMaxAllowedIncomingFrameSize(4 * protocol::kMaxMessageBytes);
        connect(socket, &QWebSocket::textMessageReceived, this,
                [this, socket](const QString& text) { Receive(socket, text); });
        connect(socket, &QWebSocket::binaryMessageReceived, this, [this, socket](const QByteArray&) {
            Send(socket, protocol::ErrorMessage({"bad-json", "messages are JSON text, not binary"}));
        });
        connect(socket, &QWebSocket::disconnected, this, [this, socket]() { Drop(socket); });
        const int count = ++perAddress_[client.Address.toString()];
        if (count > limits_.ConnectionsPerAddress) {
            Send(socket, protocol::ErrorMessage(
                             {"too-many-connections",
                              QString("at most %1 connections from one address").arg(limits_.ConnectionsPerAddress)}));
            socket->close(QWebSocketProtocol::CloseCodePolicyViolated, "too many connections");
        }
    }
}

void GameServer::Drop(QWebSocket* socket)
{
    const auto it = clients_.find(socket);
    if (it == clients_.end())
        return;
    const QString address = it->second.Address.toString();
    if (--perAddress_[address] <= 0)
        perAddress_.erase(address);
    clients_.erase(it);
    socket->deleteLater();
}

void GameServer::Send(QWebSocket* socket, const QJsonObject& message)
{
    socket->sendTextMessage(protocol::Encode(message));
}

void GameServer::Receive(QWebSocket* socket, const QString& text)
{
    const auto it = clients_.find(socket);
    if (it == clients_.end())
        return;
    Client& client = it->second;
    // A bucket of messages, refilled at the average rate: bursts up to its size pass.
    client.Tokens =
        std::min(limits_.MessageBurst, client.Tokens + client.Refilled.restart() / 1000.0 * limits_.MessagesPerSecond);
    if (client.Tokens < 1) {
        Send(socket,
             protocol::ErrorMessage(
                 {"rate-limited",
                  QString("at most %1 messages a second; this one was not read").arg(limits_.MessagesPerSecond)}));
        return;
    }
    client.Tokens -= 1;
    Error error;
    const auto m = protocol::Decode(text, {"host", "join", "resume", "command", "fetch"}, error);
    if (!m) {
        Send(socket, protocol::ErrorMessage(error));
        return;
    }
    const QString kind = m->value("kind").toString();
    if (kind == "host")
        Host(socket, *m);
    else if (kind == "join")
        Join(socket, *m);
    else if (kind == "resume")
        Resume(socket, *m);
    else if (kind == "fetch")
        Fetch(socket, *m);
    else
        RunCommand(socket, *m);
}

void GameServer::Listen(QWebSocket* socket, const QString& game, int seat)
{
    auto& seats = clients_[socket].Seats;
    const std::pair<QString, int> entry{game, seat};
    if (std::find(seats.begin(), seats.end(), entry) == seats.end())
        seats.push_back(entry);
}

QJsonObject GameServer::StateMessage(const Game& game) const
{
    return {{"v", protocol::kVersion},
            {"kind", "state"},
            {"game", game.Id},
            {"month", game.Play->Month()},
            {"turn", game.Play->SeatOnTurn()},
            {"joined", !game.Seats[1].TokenHash.isEmpty()},
            {"digest", QString::fromStdString(StateDigest(game.Play->State()))}};
}

QJsonObject GameServer::TurnMessage(const Game& game, int seat) const
{
    return {{"v", protocol::kVersion},
            {"kind", "turn"},
            {"game", game.Id},
            {"seat", seat},
            {"month", game.Play->Month()},
            {"messages", Lines(game.Play->TurnMessages(seat))}};
}

void GameServer::Broadcast(Game& game, bool withTurn)
{
    game.Told = {game.Play->Month(), game.Play->SeatOnTurn(), !game.Seats[1].TokenHash.isEmpty()};
    const QJsonObject state = StateMessage(game);
    const int onTurn = game.Play->SeatOnTurn();
    for (auto& [socket, client] : clients_)
        for (const auto& [id, seat] : client.Seats) {
            if (id != game.Id)
                continue;
            Send(socket, state);
            if (withTurn && seat == onTurn)
                Send(socket, TurnMessage(game, seat));
        }
}

bool GameServer::SeatToken(QWebSocket* socket, const QJsonObject& m, QString& token)
{
    Error error;
    if (!protocol::TextField(m, "token", kTokenChars, token, error)) {
        Send(socket, protocol::ErrorMessage(error));
        return false;
    }
    static const QRegularExpression kHex("^[0-9a-f]{64}$");
    if (!kHex.match(token).hasMatch()) {
        Send(socket, protocol::ErrorMessage(
                         {"bad-field", "a seat token is 64 hexadecimal digits (0-9, a-f), 256 random bits"}));
        return false;
    }
    return true;
}

std::pair<QString, qint64> GameServer::NewInvite(QString& hash) const
{
    const QString invite = RandomHex(16);
    hash = Hash(invite);
    return {invite, Now() + limits_.InviteSeconds};
}

void GameServer::Host(QWebSocket* socket, const QJsonObject& m)
{
    Error error;
    protocol::HostSettings settings;
    QString token;
    if (!SeatToken(socket, m, token))
        return;
    if (!m.value("settings").isObject()) {
        Send(socket, protocol::ErrorMessage({"bad-field", "the field \"settings\" must be an object"}));
        return;
    }
    if (!protocol::SettingsFromJson(m.value("settings").toObject(), settings, error)) {
        Send(socket, protocol::ErrorMessage(error));
        return;
    }
    const QString tokenHash = Hash(token);
    QString why;
    // The same host again: its answer was lost. The game stands; the invite nobody could have
    // seen is replaced by a new one.
    const auto existing = store_.GameOfHost(tokenHash, why);
    if (!why.isEmpty()) {
        Send(socket, protocol::ErrorMessage({"storage", "the games could not be read: " + why}));
        return;
    }
    if (existing) {
        const Unlock unlock{store_};
        Game* g = Take(socket, *existing, -1);
        if (!g)
            return;
        QString invite;
        if (!g->InviteUsed) {
            QString hash;
            const auto [code, expires] = NewInvite(hash);
            if (!store_.RenewInvite(g->Id, hash, expires, why)) {
                Send(socket, protocol::ErrorMessage({"storage", "the invite could not be kept: " + why}));
                return;
            }
            g->InviteHash = hash;
            g->InviteExpires = expires;
            invite = code;
        }
        Hosted(socket, *g, invite);
        return;
    }
    if (!settings.Seed)
        settings.Seed = QRandomGenerator::system()->generate();
    StoredGame stored;
    do
        stored.Id = RandomHex(8);
    while (games_.count(stored.Id) != 0);
    stored.Settings = protocol::Encode(protocol::SettingsToJson(settings));
    stored.Seed = *settings.Seed;
    const auto [invite, expires] = NewInvite(stored.InviteHash);
    stored.InviteExpires = expires;
    stored.Seats[0].TokenHash = tokenHash;
    auto game = Restore(stored, why);
    if (!game || !store_.Create(stored, why)) {
        std::fprintf(stderr, "tavrek-server: cannot keep a new game: %s\n", qPrintable(why));
        Send(socket, protocol::ErrorMessage({"storage", "the game could not be kept: " + why}));
        return;
    }
    Game& g = *(games_[stored.Id] = std::move(game));
    Hosted(socket, g, invite);
}

void GameServer::Hosted(QWebSocket* socket, const Game& g, const QString& invite)
{
    Listen(socket, g.Id, 1);
    Send(socket, {{"v", protocol::kVersion},
                  {"kind", "hosted"},
                  {"game", g.Id},
                  {"seat", 1},
                  {"invite", invite},
                  {"expires", g.InviteExpires}});
    Send(socket, StateMessage(g));
    if (g.Play->SeatOnTurn() == 1)
        Send(socket, TurnMessage(g, 1));
}

void GameServer::Join(QWebSocket* socket, const QJsonObject& m)
{
    Error error;
    QString invite;
    QString token;
    if (!protocol::TextField(m, "invite", kMaxIdChars, invite, error)) {
        Send(socket, protocol::ErrorMessage(error));
        return;
    }
    if (!SeatToken(socket, m, token))
        return;
    const QString tokenHash = Hash(token);
    const QString inviteHash = Hash(invite);
    QString why;
    const auto id = store_.GameOfInvite(inviteHash, why);
    if (!why.isEmpty()) {
        Send(socket, protocol::ErrorMessage({"storage", "the games could not be read: " + why}));
        return;
    }
    const Unlock unlock{store_};
    Game* found = id ? Take(socket, *id, -1) : nullptr;
    if (id && !found)
        return;
    // The same guest again with the same invite: its answer was lost, the seat is its own.
    if (found && found->InviteUsed && found->Seats[1].TokenHash == tokenHash) {
        Joined(socket, *found);
        return;
    }
    if (!found || found->InviteUsed) {
        Send(socket, protocol::ErrorMessage({"bad-invite", "the invite code is unknown or was used"}));
        return;
    }
    Game& g = *found;
    if (Now() >= g.InviteExpires) {
        Send(socket, protocol::ErrorMessage({"bad-invite", "the invite code has expired"}));
        return;
    }
    if (tokenHash == g.Seats[0].TokenHash) {
        Send(socket, protocol::ErrorMessage({"bad-field", "the two seats need tokens of their own"}));
        return;
    }
    if (!store_.TakeInvite(g.Id, tokenHash, why)) {
        Send(socket, protocol::ErrorMessage({"storage", "the seat could not be kept: " + why}));
        return;
    }
    g.InviteUsed = true;
    g.Seats[1].TokenHash = tokenHash;
    Joined(socket, g);
    // The host hears that the game is whole.
    Broadcast(g, false);
}

void GameServer::Joined(QWebSocket* socket, const Game& g)
{
    Listen(socket, g.Id, 2);
    Send(socket, {{"v", protocol::kVersion}, {"kind", "joined"}, {"game", g.Id}, {"seat", 2}});
    Send(socket, StateMessage(g));
    if (g.Play->SeatOnTurn() == 2)
        Send(socket, TurnMessage(g, 2));
}

GameServer::Game* GameServer::Authorize(QWebSocket* socket, const QJsonObject& m, int& seat, qint64 seq)
{
    Error error;
    QString id;
    QString token;
    qint64 n = 0;
    if (!protocol::TextField(m, "game", kMaxIdChars, id, error) || !protocol::NumberField(m, "seat", 1, 2, n, error) ||
        !protocol::TextField(m, "token", kMaxIdChars, token, error)) {
        Send(socket, protocol::ErrorMessage(error, seq));
        return nullptr;
    }
    Game* g = Take(socket, id, seq);
    if (!g)
        return nullptr;
    seat = static_cast<int>(n);
    const QString& held = g->Seats[seat - 1].TokenHash;
    if (held.isEmpty() || held != Hash(token)) {
        store_.Release();
        Send(socket, protocol::ErrorMessage({"bad-token", "that token does not hold that seat"}, seq));
        return nullptr;
    }
    return g;
}

void GameServer::Resume(QWebSocket* socket, const QJsonObject& m)
{
    int seat = 0;
    const Unlock unlock{store_};
    Game* g = Authorize(socket, m, seat, -1);
    if (!g)
        return;
    Listen(socket, g->Id, seat);
    Send(socket, {{"v", protocol::kVersion},
                  {"kind", "resumed"},
                  {"game", g->Id},
                  {"seat", seat},
                  {"seq", g->Seats[seat - 1].LastSeq}});
    Send(socket, StateMessage(*g));
    if (g->Play->SeatOnTurn() == seat)
        Send(socket, TurnMessage(*g, seat));
}

void GameServer::Fetch(QWebSocket* socket, const QJsonObject& m)
{
    int seat = 0;
    const Game* g = Authorize(socket, m, seat, -1);
    if (!g)
        return;
    // The savegame whose hash the state messages carry: a window shows the game from it.
    const std::string text = SavegameText(g->Play->State());
    Send(socket,
         {{"v", protocol::kVersion},
          {"kind", "snapshot"},
          {"game", g->Id},
          {"month", g->Play->Month()},
          {"turn", g->Play->SeatOnTurn()},
          {"digest", QString::fromStdString(StateDigest(g->Play->State()))},
          {"savegame", QString::fromLatin1(QByteArray(text.data(), static_cast<qsizetype>(text.size())).toBase64())}});
}

void GameServer::RunCommand(QWebSocket* socket, const QJsonObject& m)
{
    Error error;
    qint64 seq = 0;
    if (!protocol::NumberField(m, "seq", 1, kMaxSeq, seq, error)) {
        Send(socket, protocol::ErrorMessage(error));
        return;
    }
    int seat = 0;
    const Unlock unlock{store_};
    Game* g = Authorize(socket, m, seat, seq);
    if (!g)
        return;
    Seat& s = g->Seats[seat - 1];
    // A repeat after a lost answer gets the same answer again; nothing runs twice.
    if (seq == s.LastSeq && !s.LastAnswer.isEmpty()) {
        QJsonObject again = QJsonDocument::fromJson(s.LastAnswer.toUtf8()).object();
        if (again.value("kind") == "result")
            again.insert("repeat", true);
        Send(socket, again);
        return;
    }
    if (seq <= s.LastSeq) {
        Send(socket, protocol::ErrorMessage(
                         {"stale-sequence", QString("sequence numbers of this seat are past %1").arg(s.LastSeq)}, seq));
        return;
    }
    QString text;
    if (!protocol::TextField(m, "text", kMaxCommandChars, text, error)) {
        Send(socket, protocol::ErrorMessage(error, seq));
        return;
    }
    if (g->Play->SeatOnTurn() != seat) {
        Send(socket, protocol::ErrorMessage(
                         {"not-your-turn", QString("it is seat %1's turn").arg(g->Play->SeatOnTurn())}, seq));
        return;
    }
    Command command;
    std::string why;
    if (!ParseCommand(text.toStdString(), command, why)) {
        Send(socket, protocol::ErrorMessage({"bad-command", QString::fromStdString(why)}, seq));
        return;
    }
    // Nobody on the server answers a question: the command brings its answer.
    if ((command.Kind == CommandKind::NewBrand || command.Kind == CommandKind::DeleteOrder) && !command.Answer) {
        Send(socket, protocol::ErrorMessage({"bad-command", "this command needs its answer, yes or no"}, seq));
        return;
    }
    const PlayOutcome outcome = g->Play->Play(command);
    QJsonObject answer;
    if (outcome.Accepted) {
        answer = {{"v", protocol::kVersion},
                  {"kind", "result"},
                  {"game", g->Id},
                  {"seq", seq},
                  {"accepted", true},
                  {"executed", QString::fromStdString(outcome.Executed)},
                  {"messages", Lines(outcome.Messages)},
                  {"repeat", false}};
    } else {
        QStringList lines;
        for (const std::string& line : outcome.Messages)
            lines << QString::fromStdString(line);
        answer = protocol::ErrorMessage(
            {"refused", lines.isEmpty() ? "the rules refused the command" : lines.join('\n')}, seq);
    }
    const bool turnEnded = command.Kind == CommandKind::NextTurn;
    const bool news = turnEnded || outcome.TurnStarted;
    StoredInput input{seat, seq, QString::fromStdString(outcome.Executed),
                      turnEnded ? QString::fromStdString(StateDigest(g->Play->State())) : QString()};
    const QString answerText = protocol::Encode(answer);
    QString storeError;
    if (!store_.Commit(g->Id, seat, seq, input, g->Inputs + 1, answerText, news, storeError)) {
        // The game in memory ran a command the disk does not hold: take the game back as stored.
        std::fprintf(stderr, "tavrek-server: game %s: a command could not be kept: %s\n", qPrintable(g->Id),
                     qPrintable(storeError));
        const QString id = g->Id;
        QString reason;
        const auto stored = store_.Load(id, reason);
        auto restored = stored ? Restore(*stored, reason) : nullptr;
        if (restored)
            games_[id] = std::move(restored);
        else
            games_.erase(id);
        Send(socket, protocol::ErrorMessage({"storage", "the command could not be kept; send it again"}, seq));
        return;
    }
    ++g->Inputs;
    s.LastSeq = seq;
    s.LastAnswer = answerText;
    Send(socket, answer);
    if (news)
        Broadcast(*g, true);
}
