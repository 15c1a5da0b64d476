#pragma once

#include "contattivari.h"
#include "demodata.h"
#include "store/archivio.h"
#include "store/funzioni.h"
#include "widgets/dialogs.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
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

// Which invented contacts fill a store: the demo's (60 surnames, as the README's figures
// were measured with) or a register with as many distinct surnames as a real one.
enum class Dati { Demo, Vari };

// The data set being measured; its figures are named with "varied_" before the name.
inline Dati datiCorrenti = Dati::Demo;

inline const char* nomeDati(Dati dati) { return dati == Dati::Vari ? "varied" : "demo"; }

// A store of `contacts` invented contacts: a file in a temporary folder, or a database of
// its own on the server, dropped at the end.
class ArchivioDemo {
public:
    explicit ArchivioDemo(int contacts, Dati dati = Dati::Demo)
    {
        if (suServer()) {
            database_ = QStringLiteral("brenzola_bench_%1_%2").arg(QLatin1String(nomeDati(dati))).arg(contacts);
            amministra(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(database_));
            amministra(QStringLiteral("CREATE DATABASE %1").arg(database_));
            archivio_ = QStringLiteral("Provider=%1;Database=%2").arg(QLatin1String(Connection::kServerProvider), database_);
        } else {
            archivio_ = Funzioni::PercorsoArchivio(dir_.path());
        }
        CreaArchivio(archivio_);
        if (dati == Dati::Vari)
            AggiungiContattiVari(archivio_, contacts);
        else
            AggiungiContattiDemo(archivio_, contacts);
    }
    ~ArchivioDemo()
    {
        if (!database_.isEmpty()) amministra(QStringLiteral("DROP DATABASE %1 WITH (FORCE)").arg(database_));
    }
    QString archivio() const { return archivio_; }
    // The server's database, or empty for a file.
    QString database() const { return database_; }

private:
    QTemporaryDir dir_;
    QString database_;
    QString archivio_;
};

// Prints one figure as `name_<contacts> value unit`, with "server_" before the name for
// the server and "varied_" for the register of many surnames.
// A figure of /proc/self/status in MB (VmRSS, VmHWM), 0 where there is none.
inline double statusMb(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(key)) return line.mid(key.size()).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}

// Starts the peak (VmHWM) again from what is resident now (Linux's clear_refs); false
// where the system cannot, and the peak then counts from the start.
inline bool resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

inline void print(const char* name, int contacts, double value, const char* unit)
{
    std::printf("%s%s%s_%d %.3f %s\n", suServer() ? "server_" : "", datiCorrenti == Dati::Vari ? "varied_" : "", name, contacts,
                value, unit);
    std::fflush(stdout);
}

// The command line `[--dati demo|varied|both] [N...]`: the sizes, and the data sets (both
// when not said).
struct Argomenti {
    QStringList sizes;
    std::vector<Dati> dati{Dati::Demo, Dati::Vari};
};
inline Argomenti leggiArgomenti(QStringList arguments, const QStringList& predefinite)
{
    Argomenti a;
    const qsizetype i = arguments.indexOf(QStringLiteral("--dati"));
    if (i >= 0 && i + 1 < arguments.size()) {
        const QString scelta = arguments[i + 1];
        if (scelta == u"demo")
            a.dati = {Dati::Demo};
        else if (scelta == u"varied")
            a.dati = {Dati::Vari};
        else if (scelta != u"both")
            qFatal("--dati: demo, varied or both, not %s", qPrintable(scelta));
        arguments.remove(i, 2);
    }
    a.sizes = arguments.isEmpty() ? predefinite : arguments;
    return a;
}

// On a server: how many rows of the register the server has handed out so far, to whom
// ever asked (sequential and indexed reads). `connections` first give the server their
// pending counts; what they read is counted when they are idle, at most every second.
inline qint64 righeLetteDalServer(const std::vector<QSqlDatabase>& connections)
{
    for (const QSqlDatabase& db : connections) {
        QSqlQuery flush(db);
        flush.exec(QStringLiteral("SELECT pg_stat_force_next_flush()"));
    }
    QSqlQuery query(connections.front());
    if (!query.exec(QStringLiteral("SELECT coalesce(seq_tup_read, 0) + coalesce(idx_tup_fetch, 0) FROM pg_stat_user_tables "
                                   "WHERE relname = 'anagrafica'"))
        || !query.next())
        return -1;
    return query.value(0).toLongLong();
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
