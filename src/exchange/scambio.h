#pragma once

#include "exchange/contatto.h"
#include "exchange/doppioni.h"
#include "exchange/lettore.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace brenzola {

class Connection;

enum class FormatoScambio { VCard4, VCard3, CsvItaliano, CsvRfc, CsvGoogle, CsvOutlook, Ldif };

// Told now and then how much of the work is done; answers false to stop it.
using Avanzamento = std::function<bool(qint64 fatto, qint64 totale)>;

// Writes the contacts the list condition `filtro` selects (" " for all, "where ..."), in
// the list's order, to `file`. The file is replaced only once it is complete. The number
// written, or nothing when stopped (no file written then).
std::optional<qint64> Esporta(Connection& connection, const QString& filtro, FormatoScambio formato, const QString& file,
                              const Avanzamento& avanzamento = {});

// A file's bytes, for reading contacts from; a file too big to be a contact list is refused.
QByteArray LeggiFile(const QString& file);

enum class Scelta { Aggiungi, Salta, Unisci, Aggiorna };
// Asked for each contact read that is, or may be, one already there (in the register, or
// read before it): `perche` says how sure and why. Merging makes unisci(esistente,
// letta.contatto) of the existing one; for a contact with the same UID, which is the same
// contact again, updating makes aggiorna(esistente, letta.contatto). Nothing: stop, and
// import nothing.
using SceltaDoppione =
    std::function<std::optional<Scelta>(const Contatto& esistente, const Voce& letta, const Confronto& perche)>;
// Asked once, when the whole file is read and before anything is written, if some entries
// could not be read: how many, of how many, the first few reasons. True: import the others.
using ConfermaIlleggibili = std::function<bool(int illeggibili, int lette, const QStringList& primi)>;

struct OpzioniImportazione {
    SceltaDoppione scelta;
    // The choice is a rule that never waits for anyone: the store need not be let go of
    // before each one (as it must be while a user thinks).
    bool sceltaImmediata = false;
    ConfermaIlleggibili conferma;  // none: the others are imported
    Avanzamento avanzamento;
    QString origine;  // the file's name, for the journal's label
};

struct Riepilogo {
    int letti = 0;  // entries in the file, readable or not
    int aggiunti = 0;
    int uniti = 0;
    int aggiornati = 0;
    int nonImportati = 0;
    // The first kDettagli entries not imported, each with its line and the reason; and of
    // those imported not all where they belong, and notes on the file. A file of a million
    // duplicates must not make a million lines.
    static constexpr qsizetype kDettagli = 1000;
    QStringList saltati;
    QStringList avvisi;
    int altriAvvisi = 0;  // beyond kDettagli
    QMap<QString, int> ignorate;
    bool annullato = false;  // stopped: nothing was written
};

// Adds the readable contacts of a file to the store as they are read, asking about each
// duplicate, in one transaction at the end: stopped or failed (a StoreError), the store is
// as it was. Memory stays the same however long the file: what waits, waits in the store's
// temporary tables.
Riepilogo Importa(Connection& connection, LettoreVoci& lettore, const OpzioniImportazione& opzioni);
// The same for entries already read.
Riepilogo Importa(Connection& connection, const Lettura& lettura, const SceltaDoppione& scelta,
                  const Avanzamento& avanzamento = {});

// Writes `dopo` over a contact as it was read (`prima`), provided nobody changed it since
// (else StoreError RowChanged or RowNotFound, and nothing is written).
void RiscriviContatto(Connection& connection, const Contatto& prima, const Contatto& dopo);
// Adds a contact (with its UID, if it came with one); returns its key.
qint64 AggiungiContatto(Connection& connection, const Contatto& contatto);
// Deletes a contact as it was read, provided nobody changed it since; with the journal it
// goes to the bin.
void EliminaContatto(Connection& connection, const Contatto& letto);
// The contact with that key as it is stored; StoreError RowNotFound when there is none.
Contatto LeggiContatto(Connection& connection, qint64 id);
// The contacts in the store that are the same person, in groups in list order, and the
// pairs that may be (see IndiceDoppioni::gruppi); nothing when stopped.
std::optional<Doppioni> CercaDoppioni(Connection& connection, const Avanzamento& avanzamento = {});

// One contact made of several: `risultato` replaces `base`, and `assorbiti` go to the bin.
struct Unione {
    Contatto base;  // as read
    Contatto risultato;
    std::vector<Contatto> assorbiti;  // as read
};
// Applies the merges in one transaction, provided nobody changed any of those contacts
// since they were read (else StoreError RowChanged or RowNotFound, and nothing is done).
// A store without a journal has no bin to keep the absorbed contacts: StoreError NoJournal.
void ApplicaUnioni(Connection& connection, const std::vector<Unione>& unioni);

}  // namespace brenzola
