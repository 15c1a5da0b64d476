#pragma once

#include <QProcess>
#include <QSslCertificate>
#include <QTemporaryDir>
#include <QUrl>

// A real CardDAV server for a test: Radicale on a free port of this machine, with one user
// ("anna", password "segreta") checked against a password file, its collections in a
// folder of its own, optionally over TLS with a certificate made for "localhost". It ends
// with the object.
class Radicale {
public:
    static constexpr char kUser[] = "anna";
    static constexpr char kPassword[] = "segreta";

    enum class Tls { No, Yes };
    explicit Radicale(Tls tls = Tls::No);
    ~Radicale();
    Radicale(const Radicale&) = delete;
    Radicale& operator=(const Radicale&) = delete;

    bool running() const { return process_.state() == QProcess::Running; }
    // http(s)://localhost:PORT/
    QUrl url() const;
    int port() const { return port_; }
    // The certificate the server presents (its own authority), when over TLS.
    QSslCertificate certificate() const { return certificate_; }
    // Stops it at once, as a crash or a pulled cable would.
    void kill();
    // The folder of the user's collections, as the server keeps them.
    QString collections() const;

private:
    QTemporaryDir folder_;
    QProcess process_;
    int port_ = 0;
    bool tls_ = false;
    QSslCertificate certificate_;
};
