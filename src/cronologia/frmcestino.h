#pragma once

#include "store/cronologia.h"

#include <QDialog>

#include <vector>

class QPushButton;
class QSpinBox;
class QTreeView;

namespace brenzola {

class Dialogs;
class ModelloCestino;

// "Cestino": the deleted contacts, latest first (those a merge absorbed too). The chosen
// ones come back with their keys, or are erased for good after the user has been told what
// erasing leaves behind on this store; the bin can be emptied; the period it keeps deleted
// contacts is set here.
class FrmCestino : public QDialog {
    Q_OBJECT

public:
    FrmCestino(Dialogs& dialogs, Connection& connessione, QWidget* parent = nullptr);

    // Reads the bin and its period; false, the failure shown, when they cannot be read.
    bool Leggi();

Q_SIGNALS:
    // Contacts came back into the register.
    void cambiato();

private:
    std::vector<const Eliminato*> scelti() const;
    void ripristina();
    // Erases those contacts once the user agrees to `domanda`.
    void elimina(const std::vector<const Eliminato*>& quali, const QString& domanda);
    void impostaGiorni(int giorni);
    void aggiornaPulsanti();

    Dialogs& dialogs_;
    Connection& connessione_;
    ModelloCestino* modello_;

    QTreeView* GrigliaCestino;
    QSpinBox* SpnGiorni;
    QPushButton* CmdRipristina;
    QPushButton* CmdElimina;
    QPushButton* CmdSvuota;
    QPushButton* CmdChiudi;
};

}  // namespace brenzola
