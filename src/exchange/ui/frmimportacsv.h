#pragma once

#include "exchange/csv.h"
#include "exchange/lettore.h"
#include "exchange/mappacsv.h"

#include <QDialog>

#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace brenzola {

// Shows the first rows of a CSV file before it is imported: the user checks the encoding
// and the separator found, and says which field each column fills (guessed from its header;
// a column left out of the fields is kept in the comments under its header).
class FrmImportaCsv : public QDialog {
    Q_OBJECT

public:
    FrmImportaCsv(const QByteArray& dati, const QString& file, QWidget* parent = nullptr);

    FormatoCsv formato() const;
    // The guessed mapping with the user's choices, its dates observed on the first rows.
    MappaCsv mappa() const;
    // The encoding, the separator and the user's changes to the guessed columns, for reading the whole file.
    OpzioniCsv opzioni() const;

private:
    // Reads the first rows again with the chosen encoding and separator.
    void rileggi();
    void aggiornaImporta();

    QByteArray dati_;
    QComboBox* CboCodifica;
    QComboBox* CboSeparatore;
    QTableWidget* GrigliaAnteprima;
    QLabel* LblErrore;
    QPushButton* CmdImporta;
    QPushButton* CmdAnnulla;
    std::vector<QComboBox*> colonne_;
    std::optional<MappaCsv> indovinata_;
};

}  // namespace brenzola
