#pragma once

#include "archivio.h"
#include "demodata.h"
#include "dialogs.h"
#include "funzioni.h"

#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace brenzola::bench {

// The median time of `runs` calls, in milliseconds; `work` is given the run's number.
inline double medianMs(int runs, const std::function<void(int)>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work(i);
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// True when the benchmarks run against a PostgreSQL server (BRENZOLA_BENCH_SERVER set,
// and libpq's PG variables naming it, as pg_virtualenv sets them).
inline bool suServer() { return !qEnvironmentVariableIsEmpty("BRENZOLA_BENCH_SERVER"); }

// Runs one statement on the server's maintenance database, as its administrator.
inline void amministra(const QString& sql)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("bench-admin"));
        db.setDatabaseName(QStringLiteral("postgres"));
        QSqlQuery query(db);
        if (!db.open() || !query.exec(sql))
            qFatal("%s: %s", qPrintable(sql), qPrintable((db.isOpen() ? query.lastError() : db.lastError()).text()));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench-admin"));
}

// A store of `contacts` demo contacts: a file in a temporary folder, or a database of its
// own on the server, dropped at the end.
class ArchivioDemo {
public:
    explicit ArchivioDemo(int contacts)
    {
        if (suServer()) {
            database_ = QStringLiteral("brenzola_bench_%1").arg(contacts);
            amministra(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(database_));
            amministra(QStringLiteral("CREATE DATABASE %1").arg(database_));
            archivio_ = QStringLiteral("Provider=%1;Database=%2").arg(QLatin1String(Connection::kServerProvider), database_);
        } else {
            archivio_ = Funzioni::PercorsoArchivio(dir_.path());
        }
        CreaArchivio(archivio_);
        AggiungiContattiDemo(archivio_, contacts);
    }
    ~ArchivioDemo()
    {
        if (!database_.isEmpty()) amministra(QStringLiteral("DROP DATABASE %1 WITH (FORCE)").arg(database_));
    }
    QString archivio() const { return archivio_; }

private:
    QTemporaryDir dir_;
    QString database_;
    QString archivio_;
};

// Prints one figure as `name_<contacts> value unit`, with "server_" before the name for
// the server.
inline void print(const char* name, int contacts, double value, const char* unit)
{
    std::printf("%s%s_%d %.3f %s\n", suServer() ? "server_" : "", name, contacts, value, unit);
    std::fflush(stdout);
}

// Answers every question No and shows no window; errors go to stderr.
class QuietDialogs final : public Dialogs {
public:
    MsgAnswer MsgBox(QWidget*, const Message& message) override
    {
        if (message.icon == MsgIcon::Critical) std::fprintf(stderr, "%s\n", qPrintable(message.text));
        return MsgAnswer::No;
    }
    void ShowModal(QDialog&) override {}
    QString ChooseFile(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString ChooseSaveFile(QWidget*, const QString&, const QString&, const QStringList&, int*) override { return {}; }
    QString AskPassword(QWidget*, const QString&) override { return {}; }
    std::unique_ptr<Progress> ShowProgress(QWidget*, const QString&) override
    {
        struct Unseen final : Progress {
            bool advance(qint64, qint64) override { return true; }
        };
        return std::make_unique<Unseen>();
    }
};

}  // namespace brenzola::bench
