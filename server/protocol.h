/// @file protocol.h The messages between the game server and its players: versioned JSON, each
/// field checked, and the new-game settings as they travel. PROTOCOL.md describes them.
#pragma once

#include <cstdint>
#include <optional>

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include "game/world_generation.h"

namespace protocol {

inline constexpr int kVersion = 1;                    ///< the "v" of every message
inline constexpr qsizetype kMaxMessageBytes = 65536;  ///< a longer message is refused unread

/// Why a message was refused: a code a program can act on and a line a person can read.
struct Error {
    QString Code;
    QString Text;
};

/// The error message sent for `error`; `seq` names the command it answers (negative: none).
QJsonObject ErrorMessage(const Error& error, qint64 seq = -1);

/// The text of one message: compact JSON.
QString Encode(const QJsonObject& message);

/// A new seat token: 256 bits from the system's generator, as 64 lower-case hex digits. The
/// player makes it and keeps it; the server keeps only its hash.
QString RandomSeatToken();

/// Reads a message: a JSON object with this protocol's version and a kind among `kinds`, and no
/// field but `fields` beside "v" and "kind". Nothing on a fault, with `error` set.
std::optional<QJsonObject> Decode(const QString& text, const QStringList& kinds, Error& error);
/// The fields a message of `kind` may carry (besides "v" and "kind"); empty for an unknown kind.
QStringList FieldsOf(const QString& kind);

/// A required text field of at most `maxChars` characters.
bool TextField(const QJsonObject& message, const char* key, qsizetype maxChars, QString& out, Error& error);
/// A required whole-number field within [low, high].
bool NumberField(const QJsonObject& message, const char* key, qint64 low, qint64 high, qint64& out, Error& error);

/// The settings of a hosted game: what the new-game dialog offers, and the seed of its random
/// generator.
struct HostSettings {
    NewGameSettings Game;
    std::optional<uint32_t> Seed;  ///< none: the server draws one
};
QJsonObject SettingsToJson(const HostSettings& settings);
/// Reads and checks the "settings" object of a host message. A network game always has two
/// players.
bool SettingsFromJson(const QJsonObject& json, HostSettings& out, Error& error);

}  // namespace protocol
