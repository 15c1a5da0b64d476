#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <vector>

namespace brenzola {

class BulkInsert;
class Connection;

// Contacts on their way into the register: an import keeps the contacts it adds in a
// temporary table of its connection while it decides about each, looks duplicates up by
// their keys (e-mail, telephone, name, UID) in an indexed temporary table, and moves them
// into Anagrafica with one statement at the end. Nothing of it outlives the object, and
// memory stays the same however many contacts pass.
class Transito {
public:
    // `colonne`: Anagrafica's columns the contacts fill, in the order of their values.
    Transito(Connection& connection, const QStringList& colonne);
    ~Transito();
    Transito(const Transito&) = delete;
    Transito& operator=(const Transito&) = delete;

    // Adds a contact; returns its number in the table (1, 2, ...).
    qint64 aggiungi(const QVariantList& valori);
    void sostituisci(qint64 numero, const QVariantList& valori);
    // Its values as they will be written, dates as QDate.
    QVariantList leggi(qint64 numero);
    qint64 quanti() const { return aggiunti_; }

    // Files a contact under its keys: `chi` > 0 a contact of the register, < 0 the one numbered -chi here.
    void indicizza(qint64 chi, const QStringList& chiavi);
    // Looks these keys up at once: until it is called again, cerca and cercaEntrambe answer
    // for them from memory, with what is filed meanwhile. A key not given here is answered
    // with what was filed since only.
    void prepara(const QStringList& chiavi);
    // The register's contacts under the keys prepared, each key shared by at most `limite`.
    std::vector<qint64> delRegistro(int limite) const;
    // Who is filed under `chiave`, in the order filed; at most `limite` of them (-1: all).
    // Keys are compared by a 64-bit hash: once in a great while, one filed under another key
    // comes too, so what is found is a candidate to look at, never a verdict.
    std::vector<qint64> cerca(const QString& chiave, int limite = -1) const;
    // Who is filed under both keys.
    std::vector<qint64> cercaEntrambe(const QString& chiave, const QString& altra) const;

    // Writes every contact added into Anagrafica, in the order added; returns how many.
    qint64 trasferisci();

private:
    void scrivi();
    // A contact added and not yet written, or null.
    QVariantList* inAttesa(qint64 numero);

    Connection& connection_;
    QStringList colonne_;
    std::unique_ptr<BulkInsert> contatti_;
    std::unique_ptr<BulkInsert> chiavi_;
    qint64 aggiunti_ = 0;
    qint64 ordine_ = 0;                                     // keys in the order filed
    size_t nonScritte_ = 0;                                 // keys not yet written to the table
    using Filati = std::vector<std::pair<qint64, qint64>>;  // (order filed, who)
    QHash<qint64, Filati> preparati_;                       // what the table held under the keys prepared
    QHash<qint64, Filati> nuovi_;                           // filed since
    bool preparato_ = false;                                // nuovi_ is kept only once keys are prepared
    std::vector<QVariantList> contattiInAttesa_;            // the last ones added, numbered up to aggiunti_
};

}  // namespace brenzola
