#pragma once

#include "exchange/contatto.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

namespace brenzola {

// Finds contacts that are the same person: the same e-mail address, or the same surname
// and first name (letter case and accents aside) with a telephone in common.
class IndiceDoppioni {
public:
    // Remembers a contact under a key of the caller's choice (the store's id, say).
    void aggiungi(qint64 chiave, const Contatto& contatto);
    // The keys of the remembered contacts `contatto` duplicates, in the order remembered.
    std::vector<qint64> doppioniDi(const Contatto& contatto) const;
    // The remembered contacts that duplicate one another, directly or through others:
    // each group in the order remembered, the groups in the order of their first.
    std::vector<std::vector<qint64>> gruppi() const;

private:
    struct Chiavi {
        QString nome;
        QStringList email;
        QStringList telefoni;
    };
    static Chiavi chiaviDi(const Contatto& contatto);

    std::vector<qint64> ordine_;
    QHash<qint64, size_t> posto_;  // each key's place in ordine_
    QHash<qint64, QString> nomi_;
    QHash<QString, std::vector<qint64>> perEmail_;
    QHash<QString, std::vector<qint64>> perTelefono_;
};

// A name without letter case or accents, spaces collapsed: "Èrcoli  D'Amico" -> "ercoli d'amico".
QString nomePiano(const QString& testo);
// The digits of a telephone number, without the Italian prefix +39 or 0039; empty when
// too short to tell one number from another.
QString telefonoPiano(const QString& testo);

// `base` completed with `altro`: its empty fields filled, the comments joined, and every
// other value of `altro` that differs kept in the comments with its label, so nothing of
// either contact is lost. The result keeps the base's key and stored row.
Contatto unisci(const Contatto& base, const Contatto& altro);

}  // namespace brenzola
