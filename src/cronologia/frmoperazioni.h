#pragma once

#include "store/cronologia.h"

#include <QDialog>

#include <vector>

class QPushButton;
class QTreeWidget;

namespace brenzola {

class Dialogs;

// "Operazioni recenti": what every desk changed, newest first, older operations on
// demand; the chosen one can be undone.
class FrmOperazioni : public QDialog {
    Q_OBJECT

public:
    FrmOperazioni(Dialogs& dialogs, Connection& connessione, QWidget* parent = nullptr);

    // Reads the newest operations; false, the failure shown, when they cannot be read.
    bool Leggi();

Q_SIGNALS:
    // An undo changed contacts.
    void cambiato();

private:
    // Lists the `quante` newest operations again, keeping the chosen one chosen.
    bool rileggi(int quante);
    void aggiungi(const std::vector<VoceOperazione>& voci);
    void altre();
    void annulla();

    Dialogs& dialogs_;
    Connection& connessione_;
    std::vector<VoceOperazione> voci_;  // as listed, row by row

    QTreeWidget* GrigliaOperazioni;
    QPushButton* CmdAltre;
    QPushButton* CmdAnnulla;
    QPushButton* CmdChiudi;
};

}  // namespace brenzola
