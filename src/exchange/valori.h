#pragma once

#include "exchange/contatto.h"

#include <QByteArray>
#include <QDate>
#include <QStringView>

#include <array>

namespace brenzola {

class Connection;
class RowView;

// A field's value as the writers read it: Null, text, or (in a date field only) a date.
struct Valore {
    enum class Tipo { Nullo, Testo, Data };
    Tipo tipo = Tipo::Nullo;
    QStringView testo;
    QDate data;

    // Null or empty text, as Contatto::vuoto.
    bool vuoto() const { return tipo == Tipo::Nullo || (tipo == Tipo::Testo && testo.isEmpty()); }
};

// A contact's values seen where they are, in a Contatto or in a row the store hands out:
// written a million at a time, a QVariant and a copy of each would cost more than the writing.
struct Valori {
    qint64 id = 0;
    QStringView uid;  // as Contatto::uid (see RigheContatti)
    std::array<Valore, kNumeroCampi> campi;

    const Valore& operator[](Campo campo) const { return campi[size_t(campo)]; }
    // A text field's text; empty for Null.
    QStringView testo(Campo campo) const
    {
        return (*this)[campo].tipo == Valore::Tipo::Testo ? (*this)[campo].testo : QStringView();
    }
    // A Contatto holding the same values.
    Contatto contatto() const;
};

// A Contatto seen as Valori, valid while both live.
class VistaContatto {
public:
    explicit VistaContatto(const Contatto& contatto);
    const Valori& valori() const { return valori_; }

private:
    std::array<QString, kNumeroCampi> testi_;
    Valori valori_;
};

// The contacts of the rows Connection::readRows hands out, read as a Recordset reads
// them (the store's date columns holding a date give a date) into Valori valid until the
// next row.
class RigheContatti {
public:
    // `uid`: the UID a contact without one of its own is known by is wanted too; else the
    // Valori hold only a UID of its own.
    RigheContatti(Connection& connection, bool uid);
    // The columns to select, in the order they are read.
    QString colonne() const;
    const Valori& leggi(const RowView& riga);

private:
    bool conUid_;
    bool uid_;
    QString identita_;
    std::array<bool, kNumeroCampi> data_{};  // the store holds the field as a date
    QString uidFatto_;
    std::array<QString, kNumeroCampi> reali_;  // numbers in date columns, as Qt writes them
    Valori valori_;
};

enum class FormaData {
    Iso,          // 2024-03-05
    GiornoPrima,  // 05/03/2024
    Compatta,     // 20240305
    MeseGiorno    // 0305
};
// Appends the date's text, as storedDateText (or dayFirstDateText) writes it.
void aggiungiData(QByteArray& out, QDate data, FormaData forma);

}  // namespace brenzola
