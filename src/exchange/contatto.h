#pragma once

#include <QDate>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <array>
#include <optional>
#include <vector>

namespace brenzola {

class Recordset;

// The fifteen fields of a contact, in the order the form shows them.
enum class Campo {
    Cognome,
    Nome,
    DataIn,
    TipoRef,
    Citta,
    Prov,
    Indirizzo,
    Cap,
    Email,
    Telefono,
    Cell,
    DataNasc,
    Fonte,
    DataRicont,
    Commenti
};
inline constexpr int kNumeroCampi = 15;

struct DescrizioneCampo {
    Campo campo;
    const char* colonna;    // the store's column
    const char* etichetta;  // as the form labels it, in Italian: files and comments keep it so
    bool data;
};
const std::array<DescrizioneCampo, kNumeroCampi>& campi();
const DescrizioneCampo& descrizione(Campo campo);
// The field's label in the user's language, for the screen only.
QString etichettaMostrata(const DescrizioneCampo& d);

// One contact outside the store. A value is Null (an invalid QVariant), a text (empty
// text is not Null), or for a date field a QDate, or the text a store held that is not a
// date. `memorizzato` is the row as stored when it was read, for writing it back only if
// nobody changed it meanwhile.
struct Contatto {
    qint64 id = 0;  // 0: not in the store
    // Who the contact is for every address book that has it (vCard UID); empty: not known.
    QString uid;
    std::array<QVariant, kNumeroCampi> valori;
    QVariantList memorizzato;

    QVariant& operator[](Campo campo) { return valori[size_t(campo)]; }
    const QVariant& operator[](Campo campo) const { return valori[size_t(campo)]; }
    // Null or empty text.
    bool vuoto(Campo campo) const;
    QString testo(Campo campo) const { return (*this)[campo].toString(); }
    // Whether any field holds something.
    bool haDati() const;
    // "Cognome Nome", as the list shows it.
    QString nomeCompleto() const;
};

// The contact at the recordset's current row (which must include id and the fifteen columns).
Contatto contattoDa(const Recordset& rs);
// Sets on the recordset each field that `dopo` holds differently from `prima` (every
// field, for a new row).
void scriviCampi(Recordset& rs, const Contatto& prima, const Contatto& dopo);

// A date a person or another program wrote: year first (2024-03-15, 20240315, with a time
// after it), or day first (15/03/2024, 15.03.2024, 15-03-2024, with or without leading
// zeros). An invalid QDate for anything else.
QDate dataScritta(const QString& testo);
// A birthday as other programs write it: a date dataScritta reads, or a month and day
// without a year (--0203, --02-03, as vCard and Google write it), stored in kAnnoIgnoto.
QDate compleannoScritto(const QString& testo);
// A date field's value as dd/MM/yyyy, or the stored text when it is not a date.
QString dataComeTesto(const QVariant& valore);

// Why a contact read from another program's file is too big to be one (a text field
// over 10,000 characters, comments over 1,000,000), or an empty text.
QString troppoLungo(const Contatto& contatto);

// Where the first control character of `testo` is (U+0000 to U+001F but tab, line feed and
// carriage return, and U+007F), or -1: no file format keeps one as it is.
qsizetype primoCarattereDiControllo(QStringView testo);

// A control character in a contact: the field holding it (nothing: the uid), where it is in
// the field's text, and the reason in Italian, naming the field as the form labels it.
struct CarattereDiControllo {
    std::optional<Campo> campo;
    qsizetype posizione = -1;
    QString motivo;
};
// The first one, in the order the form shows the fields, the uid last; nothing when none.
std::optional<CarattereDiControllo> carattereDiControllo(const Contatto& contatto);

// What a file to import holds: each contact with the line it starts on, or why that
// entry cannot be read, and the properties no field takes, counted by name.
struct Voce {
    int riga = 0;
    Contatto contatto;
    QString errore;      // empty: readable
    QStringList avvisi;  // read, but not all where it belongs: each says where it went
};
struct Lettura {
    std::vector<Voce> voci;
    QMap<QString, int> ignorate;
    QString origine;  // the file's name, for the label of the import in the journal
    int illeggibili() const;
};

// Fills a contact from another program's data: the first value of a field goes into it;
// a different one for a field already filled is kept in the comments, labelled, so
// nothing read is dropped.
class Compilazione {
public:
    void aggiungi(Campo campo, const QVariant& valore, const QString& etichetta = {});
    // The comments as read, before any value kept there.
    void commenti(const QString& testo);
    // A value no field takes, kept in the comments as "etichetta: valore".
    void altro(const QString& etichetta, const QString& valore);
    bool vuoto(Campo campo) const { return contatto_.vuoto(campo); }
    Contatto contatto() const;

private:
    Contatto contatto_;
    QStringList altri_;
};

}  // namespace brenzola
