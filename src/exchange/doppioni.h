#pragma once

#include "exchange/contatto.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

namespace brenzola {

// How sure it is that two contacts are one person.
enum class Somiglianza { Diversi, Possibile, Stesso };
struct Confronto {
    Somiglianza esito = Somiglianza::Diversi;
    QStringList motivi;  // why, in Italian, for the user
};

// What comparing takes from a contact, worked out once.
struct Impronta {
    struct Recapito {
        QString chiave;   // as compared
        QString scritto;  // as written, for the reasons
    };
    explicit Impronta(const Contatto& contatto);
    bool senzaNome() const { return cognome.isEmpty() && nome.isEmpty(); }
    // Completes it with another's as merging does: the name and birth date stay when
    // there are any, the addresses and numbers add up.
    void completa(const Impronta& altra);
    // What contacts are looked up by: the plain "cognome\x1fnome" (empty when both are
    // empty), the case-folded e-mail addresses, telefonoPiano of every number in Telefono
    // and Cell.
    QString chiaveNome() const;
    QStringList chiaviEmail() const;
    QStringList chiaviTelefono() const;

    QString cognome;  // nomePiano
    QString nome;
    QString scritto;  // "Cognome Nome" as written
    std::vector<Recapito> email;
    std::vector<Recapito> telefoni;
    QVariant nascita;  // a QDate, the plain text of one that is not a date, or Null
};

// Stesso: the same name (letter case, accents, apostrophes and spacing aside) and an
// e-mail address or a telephone in common, with no birth dates that differ. Possibile: an
// address or a telephone in common under names that differ (or are missing). Diversi:
// nothing in common, or birth dates that differ. The same name alone is never enough.
Confronto confronta(const Contatto& a, const Contatto& b);
Confronto confronta(const Impronta& a, const Impronta& b);

// Said of a pair that would be the same person, but one of them is as much the same as
// someone born on another day: it could be either, so it is only Possibile.
QString motivoConteso();

// A name without letter case or accents, every apostrophe as ', spaces collapsed and none
// around an apostrophe: "Èrcoli  D’ Amico" -> "ercoli d'amico".
QString nomePiano(const QString& testo);
// The digits of a telephone number, without the Italian prefix +39 or 0039 (any other "+"
// read as "00"); empty when too short to tell one number from another.
QString telefonoPiano(const QString& testo);

// Two remembered contacts and how alike they are.
struct Legame {
    qint64 prima = 0;
    qint64 seconda = 0;
    Confronto confronto;
};
// Contacts that are one person: linked by Stesso pairs, directly or through others.
struct GruppoDoppioni {
    std::vector<qint64> chiavi;  // in the order remembered
    std::vector<Legame> legami;  // the Stesso pairs that joined them
    // Why `chiave` belongs to the group: the first link it has.
    const Confronto& perche(qint64 chiave) const;
};
struct Doppioni {
    std::vector<GruppoDoppioni> gruppi;  // in the order of their first contact
    // Possibile pairs, each between two contacts no group joins; one per two groups.
    std::vector<Legame> possibili;
};
// A remembered contact that is or may be the same person as another.
struct Candidato {
    qint64 chiave = 0;
    Confronto confronto;
};
// How `impronta` compares with each contact near it (its key and fingerprint), in their
// order: those that are, or may be, the same person. When it is the same as two born on
// different days it could be either: all are only Possibile.
std::vector<Candidato> giudica(const Impronta& impronta, const std::vector<std::pair<qint64, const Impronta*>>& vicini);

// Finds among remembered contacts those that are, or may be, the same person.
//
// A telephone or an address shared by more than kCondivisoDa contacts is an office's (a
// switchboard, a company's info@): among those only contacts of the same name are
// compared, so that thousands sharing one make no pairs of different people.
class IndiceDoppioni {
public:
    static constexpr qsizetype kCondivisoDa = 10;

    // Remembers a contact under a key of the caller's choice (the store's id, say). Under
    // a key already remembered it completes it, as merging does: its name and birth date
    // stay, when it has them, and the addresses and numbers add up.
    void aggiungi(qint64 chiave, const Contatto& contatto);
    // The keys of the remembered contacts that are the same person as `contatto` (Stesso),
    // in the order remembered.
    std::vector<qint64> doppioniDi(const Contatto& contatto) const;
    // The remembered contacts that are or may be the same person, in the order remembered.
    // When it is the same as two born on different days it could be either: all are only
    // Possibile.
    std::vector<Candidato> candidati(const Contatto& contatto) const;
    // The groups of remembered contacts that are one person, and the pairs that may be. A
    // group never joins two contacts whose birth dates differ: a contact that would is left
    // out of it, and so is one that is the same as two born on different days (it could be
    // either); each such contact is in one Possibile pair, not one per contact it resembles.
    Doppioni gruppi() const;

private:
    // The positions of the contacts before `limite` that share an address or a number with
    // `impronta`, ascending.
    std::vector<size_t> vicini(const Impronta& impronta, size_t limite) const;
    static void indicizza(size_t posto, const QString& chiave, QHash<QString, std::vector<size_t>>& indice);

    std::vector<qint64> ordine_;
    std::vector<Impronta> impronte_;  // alongside ordine_
    QHash<qint64, size_t> posto_;     // each key's place in ordine_
    QHash<QString, std::vector<size_t>> perEmail_;
    QHash<QString, std::vector<size_t>> perTelefono_;
    QHash<QString, std::vector<size_t>> perNome_;
};

// `base` completed with `altro`: its empty fields filled, the comments joined, and every
// other value of `altro` that differs kept in the comments with its label, so nothing of
// either contact is lost. The result keeps the base's key and stored row.
Contatto unisci(const Contatto& base, const Contatto& altro);
// `esistente` brought up to date by `nuovo`, the same contact read again from another
// address book: each field `nuovo` holds replaces the existing one; what `nuovo` does not
// hold (another address book has no place for it) stays.
Contatto aggiorna(const Contatto& esistente, const Contatto& nuovo);

}  // namespace brenzola
