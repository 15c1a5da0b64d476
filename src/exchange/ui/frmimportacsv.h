#pragma once

#include "exchange/csv.h"

#include <QDialog>

#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace brenzola {

// Shows the first rows of a CSV file before it is imported: the user checks the encoding
// and the separator found, and says which field each column fills (guessed from its header).
class FrmImportaCsv : public QDialog {
    Q_OBJECT

public:
    FrmImportaCsv(const QByteArray& dati, const QString& file, QWidget* parent = nullptr);

    FormatoCsv formato() const;
    Colonne colonne() const;

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
};

}  // namespace brenzola
