#pragma once

#include "exchange/codifica.h"
#include "exchange/contatto.h"
#include "exchange/lettore.h"
#include "exchange/valori.h"

#include <QByteArray>
#include <QStringList>

#include <vector>

namespace brenzola {

class MappaCsv;

// Italiano: what an Italian spreadsheet opens by double-click (UTF-8 with a byte-order
// mark, ';' between fields, dates dd/MM/yyyy; a text a spreadsheet would take for a
// formula starts with an apostrophe). Rfc4180: plain CSV with commas and ISO dates.
// Either way a Null field is left empty and empty text is written "".
enum class StileCsv { Italiano, Rfc4180 };

QByteArray intestazioneCsv(StileCsv stile);
QByteArray rigaCsv(const Contatto& contatto, StileCsv stile);
// Appends the same line for the values.
void aggiungiRigaCsv(QByteArray& out, const Valori& valori, StileCsv stile);

struct FormatoCsv {
    Codifica codifica = Codifica::Utf8;
    QChar separatore = u';';
};
// The encoding and the separator (';', ',', tab or '|', the most frequent in the first line).
FormatoCsv rilevaFormatoCsv(const QByteArray& dati);

struct RigaCsv {
    int riga = 0;       // the line it starts on
    QStringList campi;  // a field left empty without quotes is a null QString
};
struct TabellaCsv {
    QStringList intestazioni;
    std::vector<RigaCsv> righe;
};
// The header and every row. An empty or binary file, or quotes opened and never closed,
// are a StoreError FileFormat naming the line. `massimoRighe` stops early, for a preview.
TabellaCsv leggiCsv(const QByteArray& dati, const FormatoCsv& formato, qsizetype massimoRighe = -1);

// The contacts of the rows, as `mappa` reads them; rows with no data are left out.
Lettura contattiDaCsv(const TabellaCsv& tabella, const MappaCsv& mappa);

// The contacts of a file's lines, row by row: its first row is the header, the mapping
// guessed from it (then changed by `scelte`) observes the first rows before any contact
// is read. Quotes never closed are a StoreError FileFormat when they are reached.
std::unique_ptr<LettoreVoci> lettoreCsv(std::unique_ptr<RigheFile> righe, QChar separatore,
                                        const std::function<void(MappaCsv&)>& scelte);

// One line of a CSV file: each text quoted, a Null QString left empty without quotes.
QByteArray lineaCsv(const QStringList& valori, QChar separatore);
// Whether Brenzola's Italian CSV writes the text after an apostrophe: a spreadsheet would
// run it as a formula, or it starts with an apostrophe itself (which would be taken away).
bool daProteggere(QStringView testo);

}  // namespace brenzola
