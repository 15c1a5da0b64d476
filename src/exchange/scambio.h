#pragma once

#include "exchange/contatto.h"
#include "exchange/doppioni.h"

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

enum class Scelta { Aggiungi, Salta, Unisci };
// Asked for each contact read that duplicates one in the store (or one read before it, with
// no key yet); merging makes unisci(esistente, letta.contatto) of the existing one.
// Nothing: stop, and import nothing.
using SceltaDoppione = std::function<std::optional<Scelta>(const Contatto& esistente, const Voce& letta)>;

struct Riepilogo {
    int aggiunti = 0;
    int uniti = 0;
    QStringList saltati;  // each entry not imported, with its line and the reason
    QMap<QString, int> ignorate;
    bool annullato = false;  // stopped: nothing was written
};

// Adds the readable contacts of `lettura` to the store, asking about each duplicate, in
// one transaction: stopped or failed (a StoreError), the store is as it was.
Riepilogo Importa(Connection& connection, const Lettura& lettura, const SceltaDoppione& scelta,
                  const Avanzamento& avanzamento = {});

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
