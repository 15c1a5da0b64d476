#include "store/cronologia.h"

#include "store/giornale.h"
#include "store/logging.h"
#include "store/sqlerror.h"
#include "store/storeddate.h"
#include "store/storeerror.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <algorithm>
#include <limits>

namespace brenzola {
namespace {

constexpr int kNomiPerOperazione = 3;

QSqlDatabase giornaleDi(Connection& connection)
{
    Connection& aperta = openConnection(&connection);
    if (!aperta.hasJournal()) {
        const QString perche = aperta.journalProblem();
        throw StoreError(
            StoreErrorNumber::NoJournal,
            QCoreApplication::translate("brenzola::Cronologia",
                                        "L'archivio non tiene il registro delle modifiche, perciò non c'è nulla da annullare "
                                        "né da ripristinare%1")
                .arg(perche.isEmpty() ? QStringLiteral(".") : QStringLiteral(": ") + perche));
    }
    return aperta.database();
}

bool sulServer(const Connection& connection) { return connection.engine() == Engine::PostgreSQL; }

// A journal time as text both engines give alike: ISO 8601 in UTC.
QString quando(const Connection& connection, const QString& colonna)
{
    return sulServer(connection)
               ? QStringLiteral("to_char(%1 AT TIME ZONE 'UTC', 'YYYY-MM-DD\"T\"HH24:MI:SS.MS\"Z\"')").arg(colonna)
               : colonna;
}

QDateTime letto(const QVariant& testo) { return QDateTime::fromString(testo.toString(), Qt::ISODateWithMs); }

// "Cognome Nome" of a journal row, as it was before a deletion and after anything else.
QString nomeDellaRiga(const QString& riga)
{
    return QStringLiteral(
               "CASE WHEN %1.azione = 'D' THEN coalesce(%1.prima_cognome, '') || ' ' || coalesce(%1.prima_nome, '') "
               "ELSE coalesce(%1.dopo_cognome, '') || ' ' || coalesce(%1.dopo_nome, '') END")
        .arg(riga);
}

QString chiavi(const std::vector<qint64>& ids)
{
    QStringList testi;
    for (qint64 id : ids) testi << QString::number(id);
    return testi.join(u',');
}

// The columns the journal keeps, as a list for SQL: "prima_cognome, prima_nome, ...".
QString colonne(Connection& connection, const QString& prefisso = {})
{
    QStringList nomi;
    for (const QString& c : ColonneGiornale(connection)) nomi << prefisso + c;
    return nomi.join(QStringLiteral(", "));
}

// A value as the recordsets give it: a readable stored date as a date.
QVariant valoreLetto(const QVariant& valore, const QString& colonna)
{
    if (!colonna.startsWith(QLatin1String("data")) || valore.typeId() != QMetaType::QString) return valore;
    const QDate data = dateFromStoredText(valore.toString());
    return data.isValid() ? QVariant(data) : valore;
}

// On a server, the contacts an operation changed are held until the end of the
// transaction: nobody changes them between the check and the write. A file has one writer.
void blocca(Connection& connection, const QString& quali)
{
    if (sulServer(connection))
        runStatement(connection.database(),
                     QStringLiteral("SELECT id FROM anagrafica WHERE id IN (%1) ORDER BY id FOR UPDATE").arg(quali));
}

}  // namespace

std::vector<VoceOperazione> OperazioniRecenti(Connection& connection, int quante, qint64 prima)
{
    const QSqlDatabase db = giornaleDi(connection);
    QSqlQuery righe = runStatement(db,
                                   QStringLiteral("SELECT o.numero, %1, o.chi, o.etichetta, o.annulla, "
                                                  "(SELECT max(u.numero) FROM giornale_operazioni u WHERE u.annulla = o.numero), "
                                                  "(SELECT count(DISTINCT g.id) FROM giornale g WHERE g.operazione = o.numero) "
                                                  "FROM giornale_operazioni o WHERE o.numero < ? ORDER BY o.numero DESC LIMIT ?")
                                       .arg(quando(connection, QStringLiteral("o.quando"))),
                                   {prima > 0 ? prima : std::numeric_limits<qint64>::max(), quante});
    std::vector<VoceOperazione> voci;
    while (nextRow(righe))
        voci.push_back({righe.value(0).toLongLong(),
                        letto(righe.value(1)),
                        righe.value(2).toString(),
                        righe.value(3).toString(),
                        righe.value(4).toLongLong(),
                        righe.value(5).toLongLong(),
                        righe.value(6).toLongLong(),
                        {}});
    for (VoceOperazione& voce : voci) {
        QSqlQuery nomi =
            runStatement(db,
                         QStringLiteral("SELECT %1 FROM giornale g WHERE g.operazione = ? ORDER BY g.numero LIMIT %2")
                             .arg(nomeDellaRiga(QStringLiteral("g")))
                             .arg(kNomiPerOperazione * 2),
                         {voce.numero});
        while (nextRow(nomi) && voce.nomi.size() < kNomiPerOperazione) {
            const QString nome = nomi.value(0).toString();
            if (!voce.nomi.contains(nome)) voce.nomi << nome;
        }
    }
    return voci;
}

std::vector<ContattoCambiato> CambiatiDopo(Connection& connection, qint64 numero)
{
    QSqlQuery righe = runStatement(
        giornaleDi(connection),
        QStringLiteral("SELECT h.id, %1, o.chi, %2 FROM giornale h LEFT JOIN giornale_operazioni o ON o.numero = h.operazione "
                       "WHERE h.numero IN (SELECT max(d.numero) FROM giornale d JOIN "
                       "(SELECT id, max(numero) AS ultimo FROM giornale WHERE operazione = ? GROUP BY id) p "
                       "ON d.id = p.id AND d.numero > p.ultimo GROUP BY d.id) ORDER BY h.numero")
            .arg(quando(connection, QStringLiteral("o.quando")), nomeDellaRiga(QStringLiteral("h"))),
        {numero});
    std::vector<ContattoCambiato> cambiati;
    while (nextRow(righe))
        cambiati.push_back(
            {righe.value(0).toLongLong(), righe.value(3).toString(), letto(righe.value(1)), righe.value(2).toString()});
    return cambiati;
}

EsitoAnnullamento Annulla(Connection& connection, qint64 numero, bool parziale)
{
    const QSqlDatabase db = giornaleDi(connection);
    QString etichetta;
    {
        QSqlQuery quale =
            runStatement(db, QStringLiteral("SELECT etichetta FROM giornale_operazioni WHERE numero = ?"), {numero});
        if (!nextRow(quale))
            throw StoreError(
                StoreErrorNumber::ItemNotFound,
                QCoreApplication::translate("brenzola::Cronologia", "L'operazione %1 non è nel registro delle modifiche.")
                    .arg(numero));
        etichetta = quale.value(0).toString();
        // Undone already: its contacts are no longer as it left them. The last undo of the
        // chain is what can be undone now.
        QStringList catena;
        for (qint64 ultima = numero;;) {
            QSqlQuery annullata =
                runStatement(db, QStringLiteral("SELECT max(numero) FROM giornale_operazioni WHERE annulla = ?"), {ultima});
            if (!nextRow(annullata) || annullata.value(0).isNull()) break;
            ultima = annullata.value(0).toLongLong();
            catena << QString::number(ultima);
        }
        if (!catena.isEmpty())
            throw StoreError(
                StoreErrorNumber::NotUpdatable,
                QCoreApplication::translate("brenzola::Cronologia",
                                            "L'operazione %1 è già stata annullata (%2): si può annullare solo l'operazione %3, "
                                            "l'ultima di questa catena.")
                    .arg(numero)
                    .arg(catena.size() == 1
                             ? QCoreApplication::translate("brenzola::Cronologia", "dall'operazione ") + catena.front()
                             : QCoreApplication::translate("brenzola::Cronologia", "poi rifatta e così via: operazioni ")
                                   + catena.join(QStringLiteral(", ")),
                         catena.back()));
    }  // a file drops its work table below only with no statement left reading
    Operazione annullamento(connection, QStringLiteral("Annullamento dell'operazione %1: %2").arg(numero).arg(etichetta), numero);
    const QString toccati = QStringLiteral("SELECT id FROM giornale WHERE operazione = %1").arg(numero);
    blocca(connection, toccati);
    EsitoAnnullamento esito;
    esito.lasciati = CambiatiDopo(connection, numero);
    if (!esito.lasciati.empty() && !parziale) {
        QStringList nomi;
        for (const ContattoCambiato& c : esito.lasciati)
            nomi << QCoreApplication::translate("brenzola::Cronologia", "«%1»").arg(c.nome.trimmed());
        throw StoreError(
            StoreErrorNumber::RowChanged,
            QCoreApplication::translate("brenzola::Cronologia",
                                        "Non è stato annullato nulla: dopo l'operazione %1 sono stati modificati %2.")
                .arg(numero)
                .arg(nomi.join(QStringLiteral(", "))));
    }
    // What each contact was before the operation and after it, and whether it changed since.
    const bool server = sulServer(connection);
    if (!server) runStatement(db, QStringLiteral("DROP TABLE IF EXISTS temp.brenzola_piano"));
    runStatement(db, QStringLiteral("CREATE TEMP TABLE brenzola_piano %1 AS "
                                    "SELECT p.id, p.primo, "
                                    "(SELECT azione FROM giornale WHERE numero = p.primo) <> 'I' AS prima_esiste, "
                                    "(SELECT azione FROM giornale WHERE numero = p.ultimo) <> 'D' AS dopo_esiste, "
                                    "EXISTS (SELECT 1 FROM giornale h WHERE h.id = p.id AND h.numero > p.ultimo) AS cambiato "
                                    "FROM (SELECT id, min(numero) AS primo, max(numero) AS ultimo FROM giornale "
                                    "WHERE operazione = %2 GROUP BY id) p")
                         .arg(server ? QStringLiteral("ON COMMIT DROP") : QString())
                         .arg(numero));
    const auto conta = [&](const QString& sql) { esito.contatti += runStatement(db, sql).numRowsAffected(); };
    // Added by the operation: taken away.
    conta(
        QStringLiteral("DELETE FROM anagrafica WHERE id IN "
                       "(SELECT id FROM brenzola_piano WHERE NOT cambiato AND NOT prima_esiste AND dopo_esiste)"));
    // Changed: back to what it was, every value as it was stored.
    conta(QStringLiteral("UPDATE anagrafica SET (%1) = (SELECT %2 FROM giornale g JOIN brenzola_piano p ON g.numero = p.primo "
                         "WHERE p.id = anagrafica.id) "
                         "WHERE id IN (SELECT id FROM brenzola_piano WHERE NOT cambiato AND prima_esiste AND dopo_esiste)")
              .arg(colonne(connection), colonne(connection, QStringLiteral("g.prima_"))));
    // Deleted: back, with its key.
    conta(QStringLiteral(
              "INSERT INTO anagrafica (id, %1) SELECT p.id, %2 FROM brenzola_piano p JOIN giornale g ON g.numero = p.primo "
              "WHERE NOT p.cambiato AND p.prima_esiste AND NOT p.dopo_esiste")
              .arg(colonne(connection), colonne(connection, QStringLiteral("g.prima_"))));
    if (!server) runStatement(db, QStringLiteral("DROP TABLE temp.brenzola_piano"));
    esito.operazione = annullamento.Concludi();
    connection.forgetOwnOperation(numero);
    qCInfo(lcJournal) << "undid operation" << numero << "as" << esito.operazione << ":" << esito.contatti << "contacts back,"
                      << esito.lasciati.size() << "left as changed since";
    return esito;
}

qint64 UltimaOperazionePropria(Connection& connection)
{
    const QSqlDatabase db = giornaleDi(connection);
    const std::vector<qint64> proprie = connection.ownOperations();  // a copy: forgotten below as found undone
    for (auto numero = proprie.rbegin(); numero != proprie.rend(); ++numero) {
        QSqlQuery stato = runStatement(db,
                                       QStringLiteral("SELECT EXISTS (SELECT 1 FROM giornale WHERE operazione = ?), "
                                                      "EXISTS (SELECT 1 FROM giornale_operazioni WHERE annulla = ?)"),
                                       {*numero, *numero});
        if (nextRow(stato) && stato.value(0).toBool() && !stato.value(1).toBool()) return *numero;
        connection.forgetOwnOperation(*numero);  // undone at another desk, or erased with the bin
    }
    return 0;
}

std::vector<Versione> CronologiaContatto(Connection& connection, qint64 id)
{
    QSqlQuery righe =
        runStatement(giornaleDi(connection),
                     QStringLiteral("SELECT g.numero, g.operazione, %1, o.chi, o.etichetta, g.azione, %2, %3 FROM giornale g "
                                    "LEFT JOIN giornale_operazioni o ON o.numero = g.operazione WHERE g.id = ? ORDER BY g.numero")
                         .arg(quando(connection, QStringLiteral("o.quando")), colonne(connection, QStringLiteral("g.prima_")),
                              colonne(connection, QStringLiteral("g.dopo_"))),
                     {id});
    const QStringList tenute = ColonneGiornale(connection);
    const qsizetype n = tenute.size();
    const auto valori = [&](int da) {
        QVariantList v;
        for (qsizetype i = 0; i < n; ++i) v << valoreLetto(righe.value(da + int(i)), tenute[i]);
        return v;
    };
    std::vector<Versione> versioni;
    while (nextRow(righe)) {
        const QString azione = righe.value(5).toString().trimmed();
        if (versioni.empty() && azione != u"I") {
            Versione prima;
            prima.numero = righe.value(0).toLongLong();
            prima.piuVecchia = true;
            prima.valori = valori(6);
            versioni.push_back(prima);
        }
        Versione v{righe.value(0).toLongLong(),
                   false,
                   righe.value(1).toLongLong(),
                   letto(righe.value(2)),
                   righe.value(3).toString(),
                   righe.value(4).toString(),
                   azione == u"D",
                   {}};
        if (!v.eliminato) v.valori = valori(6 + int(n));
        versioni.push_back(v);
    }
    std::reverse(versioni.begin(), versioni.end());
    return versioni;
}

qint64 RipristinaVersione(Connection& connection, qint64 id, const Versione& versione, qint64 ultimaVista)
{
    const QSqlDatabase db = giornaleDi(connection);
    if (versione.eliminato)
        throw StoreError(
            StoreErrorNumber::ItemNotFound,
            QCoreApplication::translate("brenzola::Cronologia", "Questa versione è l'eliminazione del contatto: non ha dati."));
    Operazione ripristino(connection, QStringLiteral("Ripristino di una versione"));
    blocca(connection, QString::number(id));
    QSqlQuery ultima = runStatement(db,
                                    QStringLiteral("SELECT coalesce(max(numero), 0), "
                                                   "EXISTS (SELECT 1 FROM anagrafica WHERE id = ?) FROM giornale WHERE id = ?"),
                                    {id, id});
    if (!nextRow(ultima)) throw storeErrorFrom(ultima);
    if (ultima.value(0).toLongLong() != ultimaVista)
        throw StoreError(
            StoreErrorNumber::RowChanged,
            QCoreApplication::translate("brenzola::Cronologia",
                                        "Il contatto è stato modificato da un altro utente dopo che la sua cronologia è stata "
                                        "letta: non è stato scritto nulla."));
    const QString lato = versione.piuVecchia ? QStringLiteral("prima_") : QStringLiteral("dopo_");
    if (ultima.value(1).toBool())
        runStatement(db,
                     QStringLiteral("UPDATE anagrafica SET (%1) = (SELECT %2 FROM giornale WHERE numero = ?) WHERE id = ?")
                         .arg(colonne(connection), colonne(connection, lato)),
                     {versione.numero, id});
    else
        runStatement(db,
                     QStringLiteral("INSERT INTO anagrafica (id, %1) SELECT ?, %2 FROM giornale WHERE numero = ?")
                         .arg(colonne(connection), colonne(connection, lato)),
                     {id, versione.numero});
    return ripristino.Concludi();
}

std::vector<Eliminato> Cestino(Connection& connection)
{
    QSqlQuery righe =
        runStatement(giornaleDi(connection),
                     QStringLiteral("SELECT g.id, %1, %2, o.chi, g.operazione, o.etichetta FROM giornale g "
                                    "LEFT JOIN giornale_operazioni o ON o.numero = g.operazione "
                                    "WHERE g.azione = 'D' AND g.numero = (SELECT max(numero) FROM giornale WHERE id = g.id) "
                                    "AND NOT EXISTS (SELECT 1 FROM anagrafica a WHERE a.id = g.id) ORDER BY g.numero DESC")
                         .arg(nomeDellaRiga(QStringLiteral("g")), quando(connection, QStringLiteral("o.quando"))));
    std::vector<Eliminato> eliminati;
    while (nextRow(righe))
        eliminati.push_back({righe.value(0).toLongLong(), righe.value(1).toString(), letto(righe.value(2)),
                             righe.value(3).toString(), righe.value(4).toLongLong(), righe.value(5).toString()});
    return eliminati;
}

qint64 RipristinaDalCestino(Connection& connection, const std::vector<qint64>& ids)
{
    const QSqlDatabase db = giornaleDi(connection);
    if (ids.empty()) return 0;
    Operazione ripristino(connection, ids.size() == 1 ? QStringLiteral("Ripristino dal cestino")
                                                      : QStringLiteral("Ripristino dal cestino: %1 contatti").arg(ids.size()));
    runStatement(db, QStringLiteral("INSERT INTO anagrafica (id, %1) SELECT g.id, %2 FROM giornale g WHERE g.id IN (%3) "
                                    "AND g.azione = 'D' AND g.numero = (SELECT max(numero) FROM giornale WHERE id = g.id) "
                                    "AND NOT EXISTS (SELECT 1 FROM anagrafica a WHERE a.id = g.id)")
                         .arg(colonne(connection), colonne(connection, QStringLiteral("g.prima_")), chiavi(ids)));
    return ripristino.Concludi();
}

int EliminaDefinitivamente(Connection& connection, const std::vector<qint64>& ids)
{
    const QSqlDatabase db = giornaleDi(connection);
    if (ids.empty()) return 0;
    if (sulServer(connection)) {
        // Only through the administrator's function: a desk may not touch the journal.
        QSqlQuery tolti = runStatement(db, QStringLiteral("SELECT brenzola_elimina_definitivamente(CAST(? AS bigint[]))"),
                                       {u'{' + chiavi(ids) + u'}'});
        return nextRow(tolti) ? tolti.value(0).toInt() : 0;
    }
    const QString fuori =
        QStringLiteral("id IN (%1) AND NOT EXISTS (SELECT 1 FROM anagrafica a WHERE a.id = giornale.id)").arg(chiavi(ids));
    connection.BeginTrans();
    int quanti = 0;
    try {
        QSqlQuery conta = runStatement(db, QStringLiteral("SELECT count(DISTINCT id) FROM giornale WHERE ") + fuori);
        quanti = nextRow(conta) ? conta.value(0).toInt() : 0;
        QStringList operazioni;
        QSqlQuery quali = runStatement(db, QStringLiteral("SELECT DISTINCT operazione FROM giornale WHERE ") + fuori);
        while (nextRow(quali)) operazioni << quali.value(0).toString();
        // The store was opened with secure_delete: the rows' bytes are overwritten, not freed.
        runStatement(db, QStringLiteral("DELETE FROM giornale WHERE ") + fuori);
        if (!operazioni.isEmpty())
            runStatement(db, QStringLiteral("DELETE FROM giornale_operazioni WHERE numero IN (%1) AND NOT EXISTS "
                                            "(SELECT 1 FROM giornale g WHERE g.operazione = giornale_operazioni.numero)")
                                 .arg(operazioni.join(u',')));
        connection.CommitTrans();
    } catch (...) {
        connection.RollbackTrans();
        throw;
    }
    // A store another tool put in WAL mode keeps copies of pages there until a checkpoint.
    runStatement(db, QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    return quanti;
}

QString CosaRestaDopoLaCancellazione(const Connection& connection)
{
    if (sulServer(connection))
        return QCoreApplication::translate(
            "brenzola::Cronologia",
            "Sul server i dati eliminati definitivamente spariscono dalle tabelle subito; PostgreSQL però "
            "ne lascia i byte nei propri file finché non riusa lo spazio (dopo il VACUUM), e nelle copie "
            "di sicurezza e negli archivi WAL del server finché l'amministratore li conserva.");
    return QCoreApplication::translate(
        "brenzola::Cronologia",
        "Nel file dell'archivio i dati eliminati definitivamente vengono sovrascritti: non ne resta alcun "
        "byte. Restano nelle copie del file fatte prima.");
}

int GiorniCestino(Connection& connection)
{
    QSqlQuery giorni = runStatement(giornaleDi(connection), QStringLiteral("SELECT giorni_cestino FROM giornale_stato"));
    return nextRow(giorni) ? giorni.value(0).toInt() : 90;
}

void ImpostaGiorniCestino(Connection& connection, int giorni)
{
    runStatement(giornaleDi(connection), QStringLiteral("UPDATE giornale_stato SET giorni_cestino = ?"), {std::max(1, giorni)});
}

int EliminaScaduti(Connection& connection, const QDateTime& adesso)
{
    const QSqlDatabase db = giornaleDi(connection);
    const QString limite = adesso.toUTC().addDays(-GiorniCestino(connection)).toString(Qt::ISODateWithMs);
    QSqlQuery righe =
        runStatement(db,
                     QStringLiteral("SELECT g.id FROM giornale g JOIN giornale_operazioni o ON o.numero = g.operazione "
                                    "WHERE g.azione = 'D' AND o.quando < %1 "
                                    "AND g.numero = (SELECT max(numero) FROM giornale WHERE id = g.id) "
                                    "AND NOT EXISTS (SELECT 1 FROM anagrafica a WHERE a.id = g.id)")
                         .arg(sulServer(connection) ? QStringLiteral("CAST(? AS timestamptz)") : QStringLiteral("?")),
                     {limite});
    std::vector<qint64> scaduti;
    while (nextRow(righe)) scaduti.push_back(righe.value(0).toLongLong());
    righe.finish();
    return EliminaDefinitivamente(connection, scaduti);
}

}  // namespace brenzola
