#pragma once

#include "store/cronologia.h"

#include <QDialog>

#include <vector>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace brenzola {

class Dialogs;

// "Cronologia di «Cognome Nome»": every known version of one contact, newest first, and
// the fifteen fields of the chosen one, those that differ from the version before it
// marked for the eye and for a screen reader. An older version can be written back,
// unless someone changed the contact after its history was read.
class FrmCronologia : public QDialog {
    Q_OBJECT

public:
    FrmCronologia(Dialogs& dialogs, Connection& connessione, qint64 id, QWidget* parent = nullptr);

    // Reads the contact's history; false, the reason shown, when there is none to show.
    bool Leggi();

Q_SIGNALS:
    // A version was written back.
    void cambiato();

private:
    void mostraVersione();
    void ripristina();
    // The chosen version's place, or -1.
    int scelta() const;

    Dialogs& dialogs_;
    Connection& connessione_;
    qint64 id_;
    std::vector<Versione> versioni_;  // newest first, as listed

    QTreeWidget* GrigliaVersioni;
    std::vector<QLabel*> etichette_;  // the fields' captions and boxes, in the order of ColonneContatto()
    std::vector<QWidget*> campi_;
    QLabel* LblStato;
    QPushButton* CmdRipristina;
    QPushButton* CmdChiudi;
};

}  // namespace brenzola
