#pragma once

#include "exchange/contatto.h"

#include <QString>
#include <QStringList>

#include <array>
#include <utility>
#include <vector>

namespace brenzola {

// Whether a date column's value is one of the marks other programs write for "no date"
// (Outlook's 0/0/00 and 1/1/4501, 0000-00-00, 00/00/0000).
bool senzaData(const QString& valore);
// A date as other programs write it, or an invalid QDate. Slashed dates are read month
// first when `mesePrima`, unless only the other order makes a date; a birthday may have
// no year (--05-17, --0517).
QDate dataDaFile(const QString& valore, bool compleanno, bool mesePrima);

// One contact from the values of a file's row or entry, each with the label it had there.
// Nothing is dropped: what has no field, or does not fit its field, goes into the
// comments labelled, and a value that is not the date its column should hold leaves a
// warning instead of keeping the person out.
class Raccolta {
public:
    enum class Parte { NomeIntero, SecondoNome, Azienda, AnnoNascita, MeseNascita, GiornoNascita };

    explicit Raccolta(int riga) : riga_(riga) {}

    // A text field takes the value as it is; empty text (not Null) leaves the field empty
    // rather than Null. A date field takes a date, nothing for a "no date" mark.
    void campo(Campo campo, const QString& valore, const QString& etichetta, bool mesePrima = false);
    // "etichetta: valore" in the comments.
    void altro(const QString& etichetta, const QString& valore);
    // Parts that come together once the whole row is read: the name (a display name or
    // the company stands in for a missing one) and a birthday split in three.
    void parte(Parte parte, const QString& etichetta, const QString& valore);
    void uid(const QString& valore) { uid_ = valore; }
    void avviso(const QString& testo) { avvisi_ << testo; }

    // The contact, its warnings, or why it is too big to be one.
    Voce voce();

private:
    void nomi();
    void nascita();

    int riga_;
    Compilazione compilazione_;
    std::vector<Campo> vuoti_;
    std::vector<std::pair<QString, QString>> nomiInteri_;
    QStringList aziende_;
    QStringList secondiNomi_;
    std::array<std::pair<QString, QString>, 3> nascita_;  // year, month, day: label and value
    QString uid_;
    QStringList avvisi_;
};

}  // namespace brenzola
