/// @file database_url.h Where a PostgreSQL database is: postgresql://USER@HOST:PORT/NAME, or a
/// Unix socket's folder given as ?host=/FOLDER.
#pragma once

#include <optional>

#include <QString>

struct DatabaseUrl {
    QString User;
    QString Host;  ///< a host name or address, or the folder of the server's Unix socket
    int Port = 5432;
    QString Name;  ///< the database
};

/// The URL's parts; nothing, with a one-line `why`, when it is no such URL. A password is
/// refused: on the command line every user of the machine could read it (libpq's PGPASSWORD
/// and ~/.pgpass serve instead).
std::optional<DatabaseUrl> ParseDatabaseUrl(const QString& text, QString& why);
