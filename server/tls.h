/// @file tls.h The server's certificate and key for wss://, read and proven before it listens.
#pragma once

#include <QSslConfiguration>
#include <QString>

/// Reads the PEM certificate (the server's own first, then any chain to its authority) and the
/// PEM private key, and proves that they serve TLS together by one handshake over loopback, so a
/// key that belongs to another certificate is found at start and not by the first player.
/// False, with a one-line reason, when a file is missing, unreadable, holds no such PEM block, the
/// key needs a passphrase, or the two do not belong together.
bool LoadServerTls(const QString& certificateFile, const QString& keyFile, QSslConfiguration& out, QString& error);
