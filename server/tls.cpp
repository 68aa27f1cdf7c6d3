/// @file tls.cpp The server's certificate and key.
#include "server/tls.h"

#include <memory>

#include <QEventLoop>
#include <QFile>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QTimer>

namespace {

/// A certificate chain or a key is a few KiB; anything far larger is the wrong file.
inline constexpr qint64 kMaxPemBytes = 1 << 20;
inline constexpr int kProofMs = 10000;

bool ReadPem(const QString& what, const QString& file, QByteArray& out, QString& error)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
        error = QString("cannot read the %1 '%2': %3").arg(what, file, f.errorString());
        return false;
    }
    out = f.read(kMaxPemBytes + 1);
    if (out.size() > kMaxPemBytes) {
        error = QString("the %1 '%2' is larger than 1 MiB: not a PEM file").arg(what, file);
        return false;
    }
    return true;
}

/// One handshake of a server with this configuration and a client on loopback that trusts
/// anything: what fails here would fail every player.
bool ProveOnLoopback(const QSslConfiguration& config, QString& error)
{
    QSslServer listener;
    listener.setSslConfiguration(config);
    if (!listener.listen(QHostAddress::LocalHost, 0) && !listener.listen(QHostAddress::LocalHostIPv6, 0)) {
        error = "cannot try the certificate on loopback: " + listener.errorString();
        return false;
    }
    QEventLoop loop;
    QString serverError;
    bool served = false;
    QObject::connect(&listener, &QSslServer::errorOccurred, &loop,
                     [&](QSslSocket* socket, QAbstractSocket::SocketError) {
                         if (serverError.isEmpty())
                             serverError = socket->errorString();
                         loop.quit();
                     });
    QObject::connect(&listener, &QSslServer::pendingConnectionAvailable, &loop, [&]() {
        served = true;
        loop.quit();
    });
    QSslSocket client;
    client.setPeerVerifyMode(QSslSocket::VerifyNone);
    QObject::connect(&client, &QSslSocket::errorOccurred, &loop, [&](QAbstractSocket::SocketError) { loop.quit(); });
    QTimer::singleShot(kProofMs, &loop, &QEventLoop::quit);
    client.connectToHostEncrypted(listener.serverAddress().toString(), listener.serverPort());
    loop.exec();
    if (served && client.isEncrypted())
        return true;
    if (!serverError.isEmpty())
        error = serverError;
    else if (client.error() != QAbstractSocket::UnknownSocketError)
        error = client.errorString();
    else
        error = "no handshake within 10 seconds";
    return false;
}

}  // namespace

bool LoadServerTls(const QString& certificateFile, const QString& keyFile, QSslConfiguration& out, QString& error)
{
    if (!QSslSocket::supportsSsl()) {
        error = "this system's Qt has no TLS (OpenSSL 3) to serve wss:// with";
        return false;
    }
    QByteArray pem;
    if (!ReadPem("certificate", certificateFile, pem, error))
        return false;
    const QList<QSslCertificate> chain = QSslCertificate::fromData(pem, QSsl::Pem);
    if (chain.isEmpty() || chain.front().isNull()) {
        error = QString("the certificate '%1' holds no PEM certificate").arg(certificateFile);
        return false;
    }
    if (!ReadPem("key", keyFile, pem, error))
        return false;
    QSslKey key;
    for (const QSsl::KeyAlgorithm algorithm : {QSsl::Rsa, QSsl::Ec, QSsl::Dsa}) {
        key = QSslKey(pem, algorithm, QSsl::Pem, QSsl::PrivateKey);
        if (!key.isNull())
            break;
    }
    if (key.isNull()) {
        error = QString("the key '%1' holds no PEM private key (RSA, EC or DSA) that reads without a passphrase")
                    .arg(keyFile);
        return false;
    }
    QSslConfiguration config = QSslConfiguration::defaultConfiguration();
    config.setLocalCertificateChain(chain);
    config.setPrivateKey(key);
    config.setPeerVerifyMode(QSslSocket::VerifyNone);  // players prove themselves by seat tokens
    QString why;
    if (!ProveOnLoopback(config, why)) {
        error = QString("the certificate '%1' and the key '%2' do not serve TLS together: %3")
                    .arg(certificateFile, keyFile, why.simplified());
        return false;
    }
    out = config;
    return true;
}
