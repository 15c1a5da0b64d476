#pragma once

#include "store/connection.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class QSqlDatabase;

namespace brenzola {

// The journal: the store's own record of every change to Anagrafica, kept by triggers in
// the database whoever writes (this program, its tools, sqlite3, psql). Its tables:
//   Giornale_Operazioni  one row per operation: number, time (UTC), who, label, the
//                        operation it undid
//   Giornale             one row per changed contact: number, operation (which tells when
//                        and by whom), key, action (I inserted, U changed, D deleted) and the
//                        whole row before and after, each value exactly as stored
//   Giornale_Stato       one row: the period deleted contacts stay in the bin, the highest
//                        journal number ever removed, and (file only) the operation this
//                        program has open
// On a server the desks may read these tables; only the triggers and the bin's erasing
// function (the administrator's) write them.

// The contact columns, in the table's order, the key aside: what the journal keeps.
const QStringList& ColonneContatto();

// The columns the journal keeps of each row in this store: the contact columns, and the
// UID where the journal was made, or brought up to date, by a version that keeps it.
QStringList ColonneGiornale(Connection& connection);
// Brings a journal made before it kept the UID up to date: its columns and its triggers.
void AggiornaGiornale(const QSqlDatabase& db, Engine engine);

// Adds the journal to a store whose Anagrafica has every contact column but no journal
// yet. Rows already there are not journaled: they have no history. On a server the role
// of the desks, if there is one, may read the journal and call its functions.
void InstallaGiornale(const QSqlDatabase& db, Engine engine);
// Whether the store's Anagrafica has the columns the journal keeps.
bool PuoAvereGiornale(Connection& connection);

// One user action, journaled as one operation with a label ("Salvataggio", "Importazione
// di contatti.vcf: 1.234 contatti"): every change made between construction and Concludi()
// belongs to it, in one transaction. Destroyed without Concludi(), it leaves the store as
// it was. On a store without a journal it is a plain transaction.
class Operazione {
public:
    // `annulla`: the operation this one undoes, if any.
    Operazione(Connection& connection, const QString& etichetta, qint64 annulla = 0);
    ~Operazione();
    Operazione(const Operazione&) = delete;
    Operazione& operator=(const Operazione&) = delete;

    // Commits. Returns the operation's number, or 0 when nothing was changed.
    qint64 Concludi();

private:
    Connection& connection_;
    bool annullamento_;
    bool aperta_ = true;
    qint64 numero_ = 0;  // on a file, opened at once
};

// "1 contatto", "1.234 contatti": how labels count contacts.
QString QuantiContatti(qint64 quanti);
// The same in the interface's language: "1 contact", "1,234 contacts" in English.
QString ContattiMostrati(qint64 quanti);

// Runs `lavoro` as one operation; returns its number (0: nothing changed).
template <typename Lavoro> qint64 InOperazione(Connection& connection, const QString& etichetta, Lavoro&& lavoro)
{
    Operazione operazione(connection, etichetta);
    lavoro();
    return operazione.Concludi();
}

// Where a reader of the journal (the names index, the agenda) stands: which changes it has
// already seen. Each reader keeps its own.
class CursoreGiornale {
public:
    // The contacts changed since the last call, each once. Nothing when the journal cannot
    // tell (the store has none, it was purged past what was seen, or this is the first
    // call): the reader reads the whole register again, and the cursor already stands
    // where that reading starts. Without `forza`, a store whose change mark says nothing
    // changed (or cannot say) is not asked.
    std::optional<std::vector<qint64>> cambiamenti(Connection& connection, bool forza = true);
    // Forgets what was seen: the next call asks for a whole reading.
    void azzera() { letto_ = false; }

private:
    bool letto_ = false;
    QString connessione_;              // the connection it was read on
    qint64 numero_ = 0;                // the highest journal number seen
    QString orizzonte_;                // on a server: the oldest transaction still running then
    std::optional<ChangeMark> segno_;  // the store's change mark when last read
};

}  // namespace brenzola
