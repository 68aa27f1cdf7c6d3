/// @file protocol.cpp The messages between the game server and its players.
#include "server/protocol.h"

#include <cmath>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QRandomGenerator>

#include "game/game_state.h"
#include "game/map_tables.h"
#include "platform/cp1252.h"

namespace protocol {

namespace {

const QStringList kSettingsFields = {"map",   "expert", "delay", "events", "advanced", "reduce",
                                     "share", "name1",  "name2", "start1", "start2",   "seed"};

bool Fail(Error& error, const QString& code, const QString& text)
{
    error = {code, text};
    return false;
}

bool BoolField(const QJsonObject& json, const char* key, bool& out, Error& error)
{
    const QJsonValue v = json.value(QLatin1String(key));
    if (!v.isBool())
        return Fail(error, "bad-field", QString("the field \"%1\" must be true or false").arg(key));
    out = v.toBool();
    return true;
}

}  // namespace

QJsonObject ErrorMessage(const Error& error, qint64 seq)
{
    QJsonObject m{{"v", kVersion}, {"kind", "error"}, {"code", error.Code}, {"text", error.Text}};
    if (seq >= 0)
        m.insert("seq", seq);
    return m;
}

QString Encode(const QJsonObject& message)
{
    return QString::fromUtf8(QJsonDocument(message).toJson(QJsonDocument::Compact));
}

QString RandomSeatToken()
{
    QByteArray bytes(32, '\0');
    for (int i = 0; i < bytes.size(); i += 4) {
        const quint32 word = QRandomGenerator::system()->generate();
        for (int k = 0; k < 4; ++k)
            bytes[i + k] = static_cast<char>((word >> (8 * k)) & 0xFF);
    }
    return QString::fromLatin1(bytes.toHex());
}

QStringList FieldsOf(const QString& kind)
{
    if (kind == "host")
        return {"settings", "token"};
    if (kind == "join")
        return {"invite", "token"};
    if (kind == "resume")
        return {"game", "seat", "token"};
    if (kind == "command")
        return {"game", "seat", "token", "seq", "text"};
    if (kind == "fetch")
        return {"game", "seat", "token"};
    if (kind == "snapshot")
        return {"game", "month", "turn", "digest", "savegame"};
    if (kind == "hosted")
        return {"game", "seat", "invite", "expires"};
    if (kind == "joined")
        return {"game", "seat"};
    if (kind == "resumed")
        return {"game", "seat", "seq"};
    if (kind == "result")
        return {"game", "seq", "accepted", "executed", "messages", "repeat"};
    if (kind == "state")
        return {"game", "month", "turn", "joined", "digest"};
    if (kind == "turn")
        return {"game", "seat", "month", "messages"};
    if (kind == "error")
        return {"code", "text", "seq"};
    return {};
}

std::optional<QJsonObject> Decode(const QString& text, const QStringList& kinds, Error& error)
{
    if (text.size() > kMaxMessageBytes || text.toUtf8().size() > kMaxMessageBytes) {
        Fail(error, "too-large", QString("a message may hold at most %1 bytes").arg(kMaxMessageBytes));
        return std::nullopt;
    }
    QJsonParseError parse{};
    const QJsonDocument doc = QJsonDocument::fromJson(text.toUtf8(), &parse);
    if (parse.error != QJsonParseError::NoError || !doc.isObject()) {
        Fail(error, "bad-json",
             parse.error != QJsonParseError::NoError ? "the message is not JSON: " + parse.errorString()
                                                     : QString("the message must be a JSON object"));
        return std::nullopt;
    }
    const QJsonObject m = doc.object();
    const QJsonValue v = m.value("v");
    if (!v.isDouble() || v.toDouble() != kVersion) {
        Fail(error, "bad-version", QString("this server speaks version %1 (\"v\": %1)").arg(kVersion));
        return std::nullopt;
    }
    const QJsonValue kind = m.value("kind");
    if (!kind.isString() || !kinds.contains(kind.toString())) {
        Fail(error, "unknown-kind", "unknown kind of message; expected one of: " + kinds.join(", "));
        return std::nullopt;
    }
    const QStringList fields = FieldsOf(kind.toString());
    for (auto it = m.begin(); it != m.end(); ++it)
        if (it.key() != "v" && it.key() != "kind" && !fields.contains(it.key())) {
            Fail(error, "bad-field", QString("a %1 message has no field \"%2\"").arg(kind.toString(), it.key()));
            return std::nullopt;
        }
    return m;
}

bool TextField(const QJsonObject& message, const char* key, qsizetype maxChars, QString& out, Error& error)
{
    const QJsonValue v = message.value(QLatin1String(key));
    if (!v.isString())
        return Fail(error, "bad-field", QString("the field \"%1\" must be a text").arg(key));
    if (v.toString().size() > maxChars)
        return Fail(error, "bad-field", QString("the field \"%1\" holds at most %2 characters").arg(key).arg(maxChars));
    out = v.toString();
    return true;
}

bool NumberField(const QJsonObject& message, const char* key, qint64 low, qint64 high, qint64& out, Error& error)
{
    const QJsonValue v = message.value(QLatin1String(key));
    const double d = v.toDouble();
    // JSON numbers are doubles: a whole number below 2^53 is exact.
    if (!v.isDouble() || std::trunc(d) != d || d < static_cast<double>(low) || d > static_cast<double>(high))
        return Fail(error, "bad-field",
                    QString("the field \"%1\" must be a whole number from %2 to %3").arg(key).arg(low).arg(high));
    out = static_cast<qint64>(d);
    return true;
}

QJsonObject SettingsToJson(const HostSettings& s)
{
    const NewGameSettings& g = s.Game;
    QJsonObject json{{"map", g.Map},
                     {"expert", g.Expert},
                     {"delay", g.DelayBuilding},
                     {"events", g.Events},
                     {"advanced", g.AdvancedOptions},
                     {"reduce", g.ReduceCapacities},
                     {"share", QString::fromStdString(g.WinningShareText)},
                     {"name1", QString::fromStdString(g.Player1Name)},
                     {"name2", QString::fromStdString(g.Player2Name)},
                     {"start1", g.Player1Start},
                     {"start2", g.Player2Start}};
    if (s.Seed)
        json.insert("seed", static_cast<qint64>(*s.Seed));
    return json;
}

bool SettingsFromJson(const QJsonObject& json, HostSettings& out, Error& error)
{
    for (auto it = json.begin(); it != json.end(); ++it)
        if (!kSettingsFields.contains(it.key()))
            return Fail(error, "bad-field", QString("the settings have no field \"%1\"").arg(it.key()));
    HostSettings s;
    NewGameSettings& g = s.Game;
    g.TwoPlayer = true;
    qint64 n = 0;
    if (!NumberField(json, "map", 1, kMaps, n, error))
        return false;
    g.Map = static_cast<int32_t>(n);
    if (!NumberField(json, "start1", 0, kTowns, n, error))
        return false;
    g.Player1Start = static_cast<int32_t>(n);
    if (!NumberField(json, "start2", 0, kTowns, n, error))
        return false;
    g.Player2Start = static_cast<int32_t>(n);
    if (!BoolField(json, "expert", g.Expert, error) || !BoolField(json, "delay", g.DelayBuilding, error) ||
        !BoolField(json, "events", g.Events, error) || !BoolField(json, "advanced", g.AdvancedOptions, error) ||
        !BoolField(json, "reduce", g.ReduceCapacities, error))
        return false;
    QString text;
    // The typed fields are as long as the dialog lets them be, and more would be cut anyway; a
    // little room keeps a text the simulator takes as it stands.
    if (!TextField(json, "share", 16, text, error))
        return false;
    g.WinningShareText = text.toStdString();
    for (const char* key : {"name1", "name2"}) {
        if (!TextField(json, key, 200, text, error))
            return false;
        const std::string name = text.toStdString();
        // A name the savegame cannot hold would come back another after a reload.
        if (!FitsCp1252Line(name))
            return Fail(error, "bad-field",
                        QString("the field \"%1\" takes only characters a savegame can hold").arg(key));
        (key[4] == '1' ? g.Player1Name : g.Player2Name) = name;
    }
    if (json.contains("seed")) {
        if (!NumberField(json, "seed", 0, UINT32_MAX, n, error))
            return false;
        s.Seed = static_cast<uint32_t>(n);
    }
    out = s;
    return true;
}

}  // namespace protocol
