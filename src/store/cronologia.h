#pragma once

#include "store/connection.h"

#include <QDateTime>
#include <QString>
#include <QVariantList>

#include <vector>

namespace brenzola {

// What the journal (giornale.h) lets a user see and take back: the operations, each
// contact's versions, the bin of deleted contacts, undo. Every change made here is an
// operation of its own, which can itself be undone. Without a journal each of these
// raises StoreError NoJournal, saying why the store has none.

// An operation as the journal keeps it.
struct VoceOperazione {
    qint64 numero = 0;
    QDateTime quando;  // UTC
    QString chi;       // the server user; on a file the system user and computer, or "altro programma"
    QString etichetta;
    qint64 annulla = 0;      // the operation it undid
    qint64 annullataDa = 0;  // the latest operation that undid it
    qint64 contatti = 0;     // how many contacts it changed
    QStringList nomi;        // the first few of them, "Cognome Nome"
};
// The newest operations, newest first; with `prima`, only those numbered below it.
std::vector<VoceOperazione> OperazioniRecenti(Connection& connection, int quante, qint64 prima = 0);

// A contact the undo of an operation would overwrite: someone changed it since.
struct ContattoCambiato {
    qint64 id = 0;
    QString nome;
    QDateTime quando;  // of the latest change
    QString chi;
};
// The contacts operation `numero` changed that have changed again since.
std::vector<ContattoCambiato> CambiatiDopo(Connection& connection, qint64 numero);

struct EsitoAnnullamento {
    qint64 operazione = 0;                   // the undo's own number; 0 when there was nothing to undo
    qint64 contatti = 0;                     // how many contacts went back
    std::vector<ContattoCambiato> lasciati;  // changed since, left as they are
};
// Undoes operation `numero` in one transaction, as a new operation: each contact it
// changed goes back to what it was before (a contact it added goes, one it deleted comes
// back with its key). Contacts changed since are never overwritten: with `parziale` they
// are left as they are and the rest is undone; otherwise, if there are any, StoreError
// RowChanged and nothing is done. An operation already undone is refused (NotUpdatable),
// naming the undo that can be undone instead.
EsitoAnnullamento Annulla(Connection& connection, qint64 numero, bool parziale);
// The newest operation made through this connection that is still in the journal and
// was not undone, or 0.
qint64 UltimaOperazionePropria(Connection& connection);

// One version of a contact, as it stood after a change.
struct Versione {
    qint64 numero = 0;  // its journal row
    // As it was before its first recorded change (when and by whom is not known); it
    // shares its journal row, the change, with the version after it.
    bool piuVecchia = false;
    qint64 operazione = 0;
    QDateTime quando;
    QString chi;
    QString etichetta;
    bool eliminato = false;  // this change deleted it: no values
    QVariantList valori;     // in the order of ColonneGiornale(); readable dates as QDate
};
// Every known version of the contact, newest first.
std::vector<Versione> CronologiaContatto(Connection& connection, qint64 id);
// Writes that version over the contact (or brings it back, if deleted), provided the
// newest journal row of the contact is still `ultimaVista`; otherwise StoreError
// RowChanged and nothing is written. The operation's number.
qint64 RipristinaVersione(Connection& connection, qint64 id, const Versione& versione, qint64 ultimaVista);

// A deleted contact, in the bin.
struct Eliminato {
    qint64 id = 0;
    QString nome;
    QDateTime quando;  // when it was deleted
    QString chi;
    qint64 operazione = 0;
    QString etichetta;
};
// The bin: the deleted contacts whose history the journal still holds, latest deletion first.
std::vector<Eliminato> Cestino(Connection& connection);
// Brings those contacts back with their keys and every value. The operation's number;
// contacts no longer in the bin are passed over.
qint64 RipristinaDalCestino(Connection& connection, const std::vector<qint64>& ids);
// Erases deleted contacts and their whole history. On a file no byte of them stays in it;
// on a server the rows are gone, and the bytes stay in the server's files until it reuses
// the space. Contacts in the register are never touched. How many were erased.
int EliminaDefinitivamente(Connection& connection, const std::vector<qint64>& ids);
// What erasing promises on this store, for the user.
QString CosaRestaDopoLaCancellazione(const Connection& connection);
// How many days deleted contacts stay in the bin before they are erased.
int GiorniCestino(Connection& connection);
void ImpostaGiorniCestino(Connection& connection, int giorni);
// Erases the contacts deleted longer ago than the bin keeps them. How many.
int EliminaScaduti(Connection& connection, const QDateTime& adesso = QDateTime::currentDateTimeUtc());

}  // namespace brenzola
