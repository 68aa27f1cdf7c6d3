/// @file database_url.cpp Where a PostgreSQL database is.
#include "server/database_url.h"

#include <QRegularExpression>
#include <QUrl>
#include <QUrlQuery>

std::optional<DatabaseUrl> ParseDatabaseUrl(const QString& text, QString& why)
{
    const QString shape = "a database URL is postgresql://USER@HOST:PORT/NAME";
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || (url.scheme() != "postgresql" && url.scheme() != "postgres")) {
        why = shape + ", not '" + text + "'";
        return std::nullopt;
    }
    // "USER:@HOST" too: the colon alone says a password was meant.
    const qsizetype start = text.indexOf("://") + 3;
    const qsizetype at = text.indexOf('@', start);
    const qsizetype slash = text.indexOf('/', start);
    const bool withPassword = at >= 0 && (slash < 0 || at < slash) && text.mid(start, at - start).contains(':');
    if (!url.password().isEmpty() || withPassword) {
        why = "a database URL carries no password: give it in PGPASSWORD or ~/.pgpass";
        return std::nullopt;
    }
    DatabaseUrl d;
    d.User = url.userName();
    d.Host = url.host();
    const QString path = url.path();
    d.Name = path.mid(1);
    if (d.User.isEmpty()) {
        why = shape + ": the user is missing";
        return std::nullopt;
    }
    if (!path.startsWith('/') || d.Name.isEmpty() || d.Name.contains('/')) {
        why = shape + ": the database's NAME is missing";
        return std::nullopt;
    }
    if (url.hasFragment()) {
        why = shape + ", without '#'";
        return std::nullopt;
    }
    // QUrl takes an empty port ("HOST:/NAME") as none; a port is a number from 1.
    const qsizetype end = text.indexOf(QRegularExpression("[/?#]"), start);
    if (text.mid(start, end < 0 ? -1 : end - start).endsWith(':') || url.port() == 0) {
        why = shape + ": PORT is a number from 1 to 65535";
        return std::nullopt;
    }
    if (url.port() > 0)
        d.Port = url.port();
    const QUrlQuery query(url);
    const auto items = query.queryItems(QUrl::FullyDecoded);
    for (const auto& [key, value] : items)
        if (key != "host") {
            why = "a database URL knows only the parameter host=/FOLDER (a Unix socket's folder), not '" + key + "'";
            return std::nullopt;
        }
    if (items.size() > 1) {
        why = "a database URL gives host= once";
        return std::nullopt;
    }
    if (!items.empty()) {
        if (!items[0].second.startsWith('/')) {
            why = "the parameter host= names the folder of the database's Unix socket, from '/'";
            return std::nullopt;
        }
        d.Host = items[0].second;
    }
    if (d.Host.isEmpty()) {
        why = shape + ": the HOST is missing (or ?host=/FOLDER for a Unix socket)";
        return std::nullopt;
    }
    return d;
}
