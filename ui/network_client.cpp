/// @file network_client.cpp The window's line to a game server.
#include "ui/network_client.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTimer>
#include <QUrl>

namespace {

QStringList Lines(const QJsonValue& value)
{
    QStringList lines;
    for (const QJsonValue line : value.toArray())
        lines << line.toString();
    return lines;
}

}  // namespace

NetworkClient::NetworkClient(QObject* parent) : QObject(parent)
{
    retry_ = new QTimer(this);
    retry_->setSingleShot(true);
    connect(retry_, &QTimer::timeout, this, &NetworkClient::Open);
    connect(&socket_, &QWebSocket::connected, this, &NetworkClient::Greet);
    connect(&socket_, &QWebSocket::disconnected, this, &NetworkClient::Lost);
    // A connection that never came up ends in an error, not always in "disconnected".
    connect(&socket_, QOverload<QAbstractSocket::SocketError>::of(&QWebSocket::error), this,
            [this](QAbstractSocket::SocketError) {
                if (socket_.state() == QAbstractSocket::UnconnectedState)
                    Lost();
            });
    connect(&socket_, &QWebSocket::textMessageReceived, this, &NetworkClient::Receive);
}

NetworkClient::~NetworkClient()
{
    active_ = false;
    socket_.disconnect(this);
    socket_.abort();
}

void NetworkClient::Host(const QString& url, const NewGameSettings& settings)
{
    Leave();
    url_ = url;
    start_ = Start::Host;
    settings_ = settings;
    seat_ = HeldSeat{url.toStdString(), {}, 0, {}};
    token_ = protocol::RandomSeatToken();
    active_ = true;
    Open();
}

void NetworkClient::Join(const QString& url, const QString& invite)
{
    Leave();
    url_ = url;
    start_ = Start::Join;
    invite_ = invite;
    seat_ = HeldSeat{url.toStdString(), {}, 0, {}};
    token_ = protocol::RandomSeatToken();
    active_ = true;
    Open();
}

void NetworkClient::Resume(const HeldSeat& seat)
{
    Leave();
    url_ = QString::fromStdString(seat.Server);
    start_ = Start::Resume;
    seat_ = seat;
    token_ = QString::fromStdString(seat.Token);
    active_ = true;
    Open();
}

void NetworkClient::Leave()
{
    active_ = false;
    greeted_ = false;
    resumed_ = false;
    fetchWanted_ = false;
    retry_->stop();
    retryMs_ = 0;
    queue_.clear();
    seq_ = 0;
    seat_ = HeldSeat{};
    if (socket_.state() != QAbstractSocket::UnconnectedState)
        socket_.abort();
}

void NetworkClient::Open()
{
    if (!active_)
        return;
    resumed_ = false;
    socket_.open(QUrl(url_));
}

void NetworkClient::Send(const QJsonObject& message) { socket_.sendTextMessage(protocol::Encode(message)); }

void NetworkClient::Greet()
{
    if (!active_)
        return;
    // A host or join whose answer was lost is asked again with the same token: the server
    // answers with the same seat.
    if (seat_.Seat != 0) {
        Send({{"v", protocol::kVersion},
              {"kind", "resume"},
              {"game", QString::fromStdString(seat_.Game)},
              {"seat", seat_.Seat},
              {"token", token_}});
    } else if (start_ == Start::Host) {
        Send({{"v", protocol::kVersion},
              {"kind", "host"},
              {"settings", protocol::SettingsToJson({settings_, std::nullopt})},
              {"token", token_}});
    } else {
        Send({{"v", protocol::kVersion}, {"kind", "join"}, {"invite", invite_}, {"token", token_}});
    }
}

void NetworkClient::Lost()
{
    if (!active_ || retry_->isActive())
        return;
    const QString why = socket_.errorString();
    // Before the seat was ever ours nothing is waited for: the player chose the address just now.
    if (!greeted_)
        return Fail("unreachable", why);
    resumed_ = false;
    retryMs_ = retryMs_ == 0 ? FirstRetryMs : std::min(MaxRetryMs, retryMs_ * 2);
    emit ConnectionLost(retryMs_, why);
    retry_->start(retryMs_);
}

void NetworkClient::Fail(const QString& code, const QString& why)
{
    active_ = false;
    retry_->stop();
    if (socket_.state() != QAbstractSocket::UnconnectedState)
        socket_.abort();
    emit Failed(code, why);
}

void NetworkClient::Renumber()
{
    renumber_ = true;
    resumed_ = false;
    Greet();
}

void NetworkClient::SendCommand(const QString& text)
{
    queue_.push_back({++seq_, text});
    if (queue_.size() == 1)
        SendFront();
}

void NetworkClient::SendFront()
{
    if (queue_.empty() || !resumed_ || !active_)
        return;
    Pending& p = queue_.front();
    p.Sent = true;
    Send({{"v", protocol::kVersion},
          {"kind", "command"},
          {"game", QString::fromStdString(seat_.Game)},
          {"seat", seat_.Seat},
          {"token", token_},
          {"seq", p.Seq},
          {"text", p.Text}});
}

void NetworkClient::Fetch()
{
    // After the commands given before it, so that the game fetched holds them.
    fetchWanted_ = true;
    if (!resumed_ || !active_ || !queue_.empty())
        return;
    fetchWanted_ = false;
    Send({{"v", protocol::kVersion},
          {"kind", "fetch"},
          {"game", QString::fromStdString(seat_.Game)},
          {"seat", seat_.Seat},
          {"token", token_}});
}

void NetworkClient::Receive(const QString& text)
{
    if (!active_)
        return;
    const QJsonObject m = QJsonDocument::fromJson(text.toUtf8()).object();
    const QString kind = m.value("kind").toString();
    if (kind == "hosted" || kind == "joined" || kind == "resumed") {
        const bool again = greeted_;
        seat_.Game = m.value("game").toString().toStdString();
        seat_.Seat = m.value("seat").toInt();
        seat_.Token = token_.toStdString();
        greeted_ = true;
        resumed_ = true;
        retryMs_ = 0;
        if (kind == "resumed")
            seq_ = std::max<qint64>(seq_, m.value("seq").toInteger());
        if (renumber_) {
            renumber_ = false;
            for (Pending& p : queue_)
                p = Pending{++seq_, p.Text, false, false};
        } else if (!queue_.empty() && queue_.front().Sent) {
            queue_.front().Resent = true;
        }
        if (kind == "resumed" && again)
            emit Reconnected();
        else
            emit SeatTaken(seat_, m.value("invite").toString(), m.value("expires").toInteger());
        // The command in flight when the line broke goes again: a repeat is never run twice.
        SendFront();
        if (fetchWanted_)
            Fetch();
    } else if (kind == "state") {
        emit StateChanged(m.value("month").toInt(), m.value("turn").toInt(), m.value("joined").toBool(),
                          m.value("digest").toString());
    } else if (kind == "turn") {
        if (m.value("seat").toInt() == seat_.Seat)
            emit TurnBegan(m.value("month").toInt(), Lines(m.value("messages")));
    } else if (kind == "snapshot") {
        emit SnapshotArrived(m.value("month").toInt(), m.value("turn").toInt(), m.value("digest").toString(),
                             QByteArray::fromBase64(m.value("savegame").toString().toLatin1()));
    } else if (kind == "result") {
        if (queue_.empty() || m.value("seq").toInteger() != queue_.front().Seq)
            return;
        if (m.value("repeat").toBool() && !queue_.front().Resent)
            return Renumber();
        const QString sent = queue_.front().Text;
        queue_.pop_front();
        SendFront();
        if (queue_.empty() && fetchWanted_)
            Fetch();
        emit CommandAnswered(sent, m.value("executed").toString(), false, {});
    } else if (kind == "error") {
        const QString code = m.value("code").toString();
        const QString why = m.value("text").toString();
        const bool forCommand = !queue_.empty() && m.value("seq").toInteger() == queue_.front().Seq;
        if (code == "stale-sequence" && forCommand)
            return Renumber();
        if (code == "rate-limited" || code == "storage") {
            // Nothing was run: the same again, a little later.
            QTimer::singleShot(1000, this, [this] {
                SendFront();
                if (fetchWanted_)
                    Fetch();
            });
        } else if (forCommand) {
            const QString sent = queue_.front().Text;
            queue_.pop_front();
            SendFront();
            if (queue_.empty() && fetchWanted_)
                Fetch();
            if (code == "refused")
                emit CommandAnswered(sent, {}, true, why);
            else
                emit CommandRejected(sent, code, why);
        } else if (!resumed_) {
            // The seat itself was refused: a wrong invite, a game or token the server does not know.
            Fail(code, why);
        } else {
            emit CommandRejected({}, code, why);
        }
    }
}
