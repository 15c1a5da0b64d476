#include "telefono.h"

#include <QFile>
#include <QMap>
#include <QProcess>

#include <cstdio>
#include <stdexcept>

Telefono::Telefono(const QUrl& rubrica, const QString& utente, const QString& password)
{
    const QString dir = folder_.path();
    QDir(dir).mkpath(QStringLiteral("vcf"));
    QDir(dir).mkpath(QStringLiteral("status"));
    QFile config(folder_.filePath(QStringLiteral("config")));
    if (!config.open(QIODevice::WriteOnly)) throw std::runtime_error("cannot write vdirsyncer's configuration");
    config.write(QStringLiteral("[general]\nstatus_path = \"%1/status/\"\n\n"
                                "[pair telefono]\na = \"telefono_locale\"\nb = \"telefono_server\"\ncollections = null\n\n"
                                "[storage telefono_locale]\ntype = \"filesystem\"\npath = \"%1/vcf/\"\nfileext = \".vcf\"\n\n"
                                "[storage telefono_server]\ntype = \"carddav\"\nurl = \"%2\"\nusername = \"%3\"\n"
                                "password = \"%4\"\n")
                     .arg(dir, rubrica.toString(), utente, password)
                     .toUtf8());
    config.close();
    QProcess discover;
    discover.start(QStringLiteral("vdirsyncer"), {QStringLiteral("-c"), config.fileName(), QStringLiteral("discover")});
    if (!discover.waitForFinished(60'000) || discover.exitCode() != 0) throw std::runtime_error("vdirsyncer discover failed");
}

bool Telefono::sincronizza()
{
    QProcess sync;
    sync.start(QStringLiteral("vdirsyncer"),
               {QStringLiteral("-c"), folder_.filePath(QStringLiteral("config")), QStringLiteral("sync")});
    const bool finito = sync.waitForFinished(60'000);
    if (!finito || sync.exitCode() != 0) {
        std::fprintf(stderr, "%s", sync.readAllStandardError().constData());
        if (!finito) sync.kill();
        return false;
    }
    return true;
}

QMap<QString, QByteArray> Telefono::schede() const
{
    QMap<QString, QByteArray> tutte;
    for (const QString& nome : cartella().entryList({QStringLiteral("*.vcf")}, QDir::Files)) {
        QFile file(cartella().filePath(nome));
        if (file.open(QIODevice::ReadOnly)) tutte.insert(nome, file.readAll());
    }
    return tutte;
}
