// Copies a contact store (or an Access file, converted first) to a PostgreSQL server:
//   copia_su_server [--accetta-differenze] ORIGINE CONNESSIONE
// Every key, Null, empty text, date and memo is kept; the key sequence goes on past the
// highest id; a database that already holds Anagrafica is refused, and on any failure the
// server is left as it was.
#include "access/accessconversion.h"
#include "store/archivio.h"
#include "store/connection.h"
#include "store/funzioni.h"
#include "store/identita.h"
#include "store/rigadicomando.h"
#include "store/sqlerror.h"
#include "store/storeddate.h"
#include "store/storeerror.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTextStream>

using namespace brenzola;

namespace {

const QStringList kColonne = {"id",    "Cognome",  "Nome", "DataIn",   "TipoRef", "Prov",       "Citta",    "Indirizzo", "Cap",
                              "Email", "Telefono", "Cell", "DataNasc", "Fonte",   "DataRicont", "Commenti", "Uid"};

QSqlQuery run(QSqlDatabase& db, const QString& sql)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(sql)) throw storeErrorFrom(query);
    return query;
}

// A value as the server keeps it; a stored date a server cannot take stops the copy.
QVariant perIlServer(const QVariant& valore, const QString& colonna, qint64 id)
{
    if (valore.typeId() == QMetaType::QString && valore.toString().contains(QChar(0)))
        throw StoreError(StoreErrorNumber::TypeMismatch,
                         QCoreApplication::translate("copia_su_server",
                                                     "il contatto %1 ha in %2 un carattere nullo (NUL), che il server non "
                                                     "accetta: toglierlo e ripetere la copia")
                             .arg(id)
                             .arg(colonna));
    if (valore.isNull() || !colonna.startsWith(QLatin1String("Data"))) return valore;
    const QString testo = valore.toString().trimmed();
    const QDate data = dateFromStoredText(testo);
    if (data.isValid() && testo.size() > 10
        && !testo.mid(10).contains(QRegularExpression(QStringLiteral("^[T ]0?0:00(:00(\\.0+)?)?$"))))
        throw StoreError(
            StoreErrorNumber::TypeMismatch,
            QCoreApplication::translate("copia_su_server",
                                        "il contatto %1 ha in %2 «%3», con un'ora del giorno che la data sul server non "
                                        "conserva: toglierla e ripetere la copia")
                .arg(id)
                .arg(colonna, testo));
    if (!data.isValid())
        throw StoreError(
            StoreErrorNumber::TypeMismatch,
            QCoreApplication::translate("copia_su_server",
                                        "il contatto %1 ha in %2 «%3», che non è una data: correggerlo e ripetere la copia")
                .arg(id)
                .arg(colonna, valore.toString()));
    return data;
}

qint64 copia(const QString& origine, const QString& connessione)
{
    Connection file;
    file.Open(Funzioni::StringaConnessionePer(origine));
    // A register made before identities has none to copy: its contacts take the server's.
    const QStringList colonne = HaIdentita(file) ? kColonne : kColonne.mid(0, kColonne.size() - 1);
    qint64 righe = 0;
    CreaArchivioSulServer(connessione, [&](QSqlDatabase& server) {
        // The contacts keep the identities other address books know them by.
        if (!file.identity().isEmpty()) {
            QSqlQuery identita(server);
            identita.prepare(QStringLiteral("UPDATE identita_registro SET uuid = ?"));
            identita.addBindValue(file.identity());
            if (!identita.exec()) throw storeErrorFrom(identita);
        }
        QStringList marks;
        for (qsizetype i = 0; i < colonne.size(); ++i) marks << QStringLiteral("?");
        QSqlQuery insert(server);
        if (!insert.prepare(QStringLiteral("INSERT INTO anagrafica (%1) VALUES (%2)").arg(colonne.join(u','), marks.join(u','))))
            throw storeErrorFrom(insert);
        QSqlDatabase db = file.database();
        QSqlQuery rows = run(db, QStringLiteral("SELECT %1 FROM Anagrafica ORDER BY id").arg(colonne.join(u',')));
        while (nextRow(rows)) {
            const qint64 id = rows.value(0).toLongLong();
            for (int i = 0; i < colonne.size(); ++i) insert.addBindValue(perIlServer(rows.value(i), colonne[i], id));
            if (!insert.exec()) throw storeErrorFrom(insert);
            ++righe;
        }
        // New contacts go on past the highest key.
        run(server, QStringLiteral("SELECT setval(pg_get_serial_sequence('anagrafica', 'id'), "
                                   "coalesce((SELECT max(id) FROM anagrafica), 1), (SELECT count(*) > 0 FROM anagrafica))"));
    });
    return righe;
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    RigaDiComando riga(QCoreApplication::translate("copia_su_server", "[--accetta-differenze] ORIGINE CONNESSIONE"),
                       QCoreApplication::translate(
                           "copia_su_server",
                           "Copia l'archivio ORIGINE (un archivio di Brenzola o un file Access, che viene prima convertito)\n"
                           "in un database PostgreSQL, che non deve contenere la tabella Anagrafica. CONNESSIONE è per\n"
                           "esempio \"Provider=Brenzola.PostgreSQL;Host=server;Database=brenzola;User=amministratore\";\n"
                           "la password viene da ~/.pgpass, da un file di servizio o da PGPASSWORD.\n\n"
                           "  --accetta-differenze  converte il file Access anche se le colonne non corrispondono\n"
                           "  -h, --help            mostra questo aiuto\n"
                           "  --version             mostra la versione\n"),
                       {{QStringLiteral("accetta-differenze"), QString()}}, 2);
    if (const int fine = riga.leggi(application.arguments()); fine >= 0) return fine;

    QTextStream out(stdout);
    QTextStream err(stderr);
    QString origine = riga.argomenti()[0];
    const QString connessione = riga.argomenti()[1];
    if (!Funzioni::SulServer(connessione)) {
        err << "copia_su_server: "
            << QCoreApplication::translate("copia_su_server", "CONNESSIONE deve indicare un server (Provider=%1;...)")
                   .arg(QLatin1String(Connection::kServerProvider))
            << '\n';
        return 2;
    }
    try {
        QTemporaryDir convertito;
        const StoreFileKind kind = detectStoreFileKind(origine);
        if (kind == StoreFileKind::AccessJet3 || kind == StoreFileKind::AccessJet4 || kind == StoreFileKind::AccessAce) {
            ConversionOptions options;
            options.acceptColumnDifferences = riga.parser().isSet(QStringLiteral("accetta-differenze"));
            const QString archivio = convertito.filePath(QString::fromLatin1(Funzioni::kNomeArchivio));
            convertAccessFile(origine, archivio, options);
            origine = archivio;
        }
        const qint64 righe = copia(origine, connessione);
        out << QCoreApplication::translate("copia_su_server", "Copiati %1 contatti su %2.")
                   .arg(QString::number(righe), serverStoreName(parseConnectionString(connessione)))
            << '\n';
    } catch (...) {
        const StoreError error = ErroreCorrente();
        err << QCoreApplication::translate("copia_su_server", "Errore %1: %2")
                   .arg(QString::number(error.number()), error.description())
            << '\n';
        return 1;
    }
    return 0;
}
