#pragma once

#include "exchange/contatto.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace brenzola {

class Raccolta;
struct TabellaCsv;

// The first rows of a file, which osserva looks at before any is read.
inline constexpr qsizetype kRigheOsservate = 1000;

// How the columns of a CSV file become a contact, guessed from the header other programs
// write (Outlook in English and Italian, Outlook.com, Google Contacts old and new,
// Thunderbird, Brenzola's own files and layouts). Besides plain columns it knows typed
// pairs (Google's "Phone 1 - Label" and "Phone 1 - Value"), a birthday split in three,
// names standing in for each other; what no field takes is kept in the comments under
// its header, bookkeeping columns at their default values apart.
class MappaCsv {
public:
    // `stileItaliano`: a ';' file, where Brenzola protects formulas with an apostrophe.
    MappaCsv(const QStringList& intestazioni, bool stileItaliano);

    qsizetype colonne() const { return qsizetype(colonne_.size()); }
    const QString& intestazione(qsizetype colonna) const { return colonne_[size_t(colonna)].intestazione; }
    // The field a column feeds, for the user to check: a typed or split column reports
    // the field it usually fills; nothing for a column kept in the comments.
    std::optional<Campo> campo(qsizetype colonna) const;
    // The user's choice: the column fills that field, or with nothing goes in the comments.
    void assegna(qsizetype colonna, std::optional<Campo> campo);
    // A row of the first ones: decides, for each date column, whether slashed dates put
    // the month first.
    void osserva(const QStringList& campi);
    // One row as a contact. Short rows are read as if padded with empty fields; values
    // beyond the header go in the comments. An empty row gives a contact with no data.
    Voce voce(int riga, QStringList campi) const;

private:
    enum class Ruolo {
        Commento,    // kept in the comments under its header (or its group's label)
        Campo,       // fills a field
        Tipo,        // the type or label of its group's value
        Telefono,    // a typed phone number
        Email,       // a typed e-mail address
        Personale,   // a custom field's value, into the field its label names
        Etichette,   // Google's labels and groups: the reference type
        Formattato,  // an address written whole, kept only when its parts are missing
        Parte,       // a part of the name or of the birthday
        Uid,
    };
    struct Colonna {
        QString intestazione;
        Ruolo ruolo = Ruolo::Commento;
        Campo campo = Campo::Commenti;  // Ruolo::Campo
        int parte = 0;                  // Ruolo::Parte: a Raccolta::Parte
        int priorita = 2;               // among columns of one field, lower fills it first
        qsizetype tipo = -1;            // the column with this one's type or label
        qsizetype gruppo = -1;          // columns sharing a "Address 1 - ..." prefix share it
        bool etichettaDalTipo = false;  // a "... - Value": labelled by its type alone in the comments
        bool giornoOltre12 = false;     // seen by osserva: slashed dates with a first number over 12
        bool meseOltre12 = false;       // and with a second one over 12
    };
    bool mesePrima(const Colonna& colonna) const;
    void valore(Raccolta& raccolta, const QStringList& campi, qsizetype c) const;
    void ordina();

    std::vector<Colonna> colonne_;
    std::vector<qsizetype> ordine_;  // columns in the order they fill fields
    bool stileItaliano_;
    bool mesePrimaSenzaIndizi_ = false;  // an English Outlook layout
};

// The field a name means, as headers and people write it: "Cell", "cellulare",
// "Data Nasc.", "DataNasc", "Telefono". For --colonna INTESTAZIONE=CAMPO.
std::optional<Campo> campoDaNome(const QString& nome);

// The guessed mapping of a table read whole, its date order observed on the first rows.
MappaCsv mappaIndovinata(const TabellaCsv& tabella, bool stileItaliano);

}  // namespace brenzola
