#include "radicale.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <stdexcept>

namespace {

int freePort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0)) throw std::runtime_error("no free port");
    return probe.serverPort();
}

void write(const QString& path, const QByteArray& text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) throw std::runtime_error("cannot write");
}

}  // namespace

Radicale::Radicale(Tls tls) : port_(freePort()), tls_(tls == Tls::Yes)
{
    const QString dir = folder_.path();
    write(dir + QStringLiteral("/users"), QByteArray(kUser) + ':' + kPassword + '\n');
    QByteArray config = "[server]\nhosts = 127.0.0.1:" + QByteArray::number(port_) + "\n";
    if (tls_) {
        QProcess openssl;
        openssl.start(QStringLiteral("openssl"),
                      {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"), QStringLiteral("rsa:2048"),
                       QStringLiteral("-nodes"), QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-subj"),
                       QStringLiteral("/CN=localhost"), QStringLiteral("-addext"), QStringLiteral("subjectAltName=DNS:localhost"),
                       QStringLiteral("-keyout"), dir + QStringLiteral("/key.pem"), QStringLiteral("-out"),
                       dir + QStringLiteral("/cert.pem")});
        if (!openssl.waitForFinished(60'000) || openssl.exitCode() != 0) throw std::runtime_error("openssl failed");
        certificate_ = QSslCertificate::fromPath(dir + QStringLiteral("/cert.pem")).value(0);
        config += "ssl = True\ncertificate = " + (dir + QStringLiteral("/cert.pem")).toUtf8()
                  + "\nkey = " + (dir + QStringLiteral("/key.pem")).toUtf8() + "\n";
    }
    config += "[auth]\ntype = htpasswd\nhtpasswd_filename = " + (dir + QStringLiteral("/users")).toUtf8()
              + "\nhtpasswd_encryption = plain\n[storage]\nfilesystem_folder = " + (dir + QStringLiteral("/collections")).toUtf8()
              + "\n[rights]\ntype = owner_only\n[web]\ntype = none\n[logging]\nlevel = critical\n";
    write(dir + QStringLiteral("/config"), config);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QStringLiteral("radicale"), {QStringLiteral("--config"), dir + QStringLiteral("/config")});
    if (!process_.waitForStarted()) throw std::runtime_error("radicale did not start");
    // Ready once it takes connections.
    for (QDeadlineTimer deadline(20'000); !deadline.hasExpired(); QThread::msleep(50)) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, quint16(port_));
        if (socket.waitForConnected(200)) return;
        if (process_.state() != QProcess::Running) break;
    }
    throw std::runtime_error("radicale is not listening");
}

Radicale::~Radicale() { kill(); }

QUrl Radicale::url() const
{
    return QUrl(QStringLiteral("%1://localhost:%2/").arg(tls_ ? QStringLiteral("https") : QStringLiteral("http")).arg(port_));
}

void Radicale::kill()
{
    if (process_.state() == QProcess::NotRunning) return;
    process_.kill();
    process_.waitForFinished();
}

QString Radicale::collections() const
{
    return folder_.path() + QStringLiteral("/collections/collection-root/") + QLatin1String(kUser);
}
