#pragma once

#include "exchange/contatto.h"
#include "exchange/doppioni.h"
#include "exchange/scambio.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace brenzola {

// A field of a contact as the side-by-side windows show it.
QString testoMostrato(const Contatto& contatto, const DescrizioneCampo& d);

// Two contacts that look like the same person, side by side with what merging them would
// make, so that nothing is merged without the user seeing it. Importing, the user adds the
// new one anyway, skips it, merges it or stops the import; in the register, merges the two
// or leaves them apart, or stops. Either way, optionally for every duplicate still to come,
// unless the two may be different people.
class FrmDoppione : public QDialog {
    Q_OBJECT

public:
    // Aggiornamento: a contact read again with the UID of one in the register, which it updates.
    enum class Uso { Importazione, Aggiornamento, Archivio };

    FrmDoppione(Uso uso, const QString& testo, const QString& titoloPrimo, const QString& titoloSecondo, const Contatto& primo,
                const Contatto& secondo, QWidget* parent = nullptr);

    // Why the two look alike. Two that may be different people are said to be so, and
    // what is chosen for them is never taken for the duplicates to come.
    void mostraConfronto(const Confronto& confronto);
    // The choice made; nothing when the user stopped.
    std::optional<Scelta> scelta() const { return scelta_; }
    bool perTutti() const;

private:
    void scegli(Scelta scelta);

    std::optional<Scelta> scelta_;
    QLabel* LblTesto;
    QLabel* LblMotivi;
    QTableWidget* GrigliaConfronto;
    QCheckBox* ChkTutti;
    QPushButton* CmdAggiungi = nullptr;
    QPushButton* CmdSalta;
    QPushButton* CmdUnisci;  // "Aggiorna" (CmdAggiorna) when updating
    QPushButton* CmdAnnulla;
};

}  // namespace brenzola
