#pragma once

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
// were mostly measured with), a register's (a few very common surnames and a long tail of
// rare ones), or a surname of its own for every contact.
enum class Dati { Demo, Realistici, Distinti };

// The data set being measured; its figures are named with its prefix before the name.
inline Dati datiCorrenti = Dati::Demo;

inline const char* nomeDati(Dati dati)
{
    switch (dati) {
    case Dati::Demo:
        return "demo";
    case Dati::Realistici:
        return "realistic";
    case Dati::Distinti:
        return "distinct";
    }
    return "";
}

inline const char* prefissoDati(Dati dati)
{
    return dati == Dati::Realistici ? "realistic_" : dati == Dati::Distinti ? "distinct_" : "";
}

inline Varieta varietaDi(Dati dati)
{
    return dati == Dati::Realistici ? Varieta::Realistica : dati == Dati::Distinti ? Varieta::Distinti : Varieta::Demo;
}

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
        AggiungiContattiDemo(archivio_, contacts, 1, varietaDi(dati));
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

// Prints one figure as `name_<contacts> value unit`, with "server_" before the name for
// the server and the data set's prefix.
inline void print(const char* name, int contacts, double value, const char* unit)
{
    std::printf("%s%s%s_%d %.3f %s\n", suServer() ? "server_" : "", prefissoDati(datiCorrenti), name, contacts, value, unit);
    std::fflush(stdout);
}

// The command line `[--dati demo|realistic|distinct|all] [N...]`: the sizes, and the data
// sets (all when not said).
struct Argomenti {
    QStringList sizes;
    std::vector<Dati> dati{Dati::Demo, Dati::Realistici, Dati::Distinti};
};
inline Argomenti leggiArgomenti(QStringList arguments, const QStringList& predefinite)
{
    Argomenti a;
    const qsizetype i = arguments.indexOf(QStringLiteral("--dati"));
    if (i >= 0) {
        const QString scelta = arguments.value(i + 1);
        const auto uno = std::find_if(a.dati.begin(), a.dati.end(), [&](Dati d) { return scelta == QLatin1String(nomeDati(d)); });
        if (uno != a.dati.end())
            a.dati = {*uno};
        else if (scelta != u"all")
            qFatal("--dati: demo, realistic, distinct or all, not %s", qPrintable(scelta));
        arguments.remove(i, std::min<qsizetype>(2, arguments.size() - i));
    }
    a.sizes = arguments.isEmpty() ? predefinite : arguments;
    return a;
}

// The data set bench_elenco's measuring process was given by name.
inline Dati datiDi(const QString& nome)
{
    for (const Dati d : {Dati::Demo, Dati::Realistici, Dati::Distinti})
        if (nome == QLatin1String(nomeDati(d))) return d;
    qFatal("no data set %s", qPrintable(nome));
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
