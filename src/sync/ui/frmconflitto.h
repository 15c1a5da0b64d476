#pragma once

#include "sync/sincronizzazione.h"

#include <QDialog>

#include <optional>

class QLabel;
class QPushButton;
class QTableWidget;

namespace brenzola {

// A contact changed both here and on the server since the last synchronisation, the two
// versions side by side: the user keeps one, or decides later. Nothing is chosen for them.
class FrmConflitto : public QDialog {
    Q_OBJECT

public:
    // `numero` of `totale`: where this one is among those waiting.
    FrmConflitto(const Conflitto& conflitto, int numero, int totale, QWidget* parent = nullptr);

    // The version kept; nothing: decided later (Decidi dopo, or the window closed).
    std::optional<Versione> scelta() const { return scelta_; }
    // The user asked to go through no more of them now.
    bool basta() const { return basta_; }

private:
    std::optional<Versione> scelta_;
    bool basta_ = false;
    QLabel* LblTesto;
    QTableWidget* GrigliaConfronto;
    QPushButton* CmdTieniQui;
    QPushButton* CmdTieniServer;
    QPushButton* CmdDopo;
    QPushButton* CmdChiudi;
};

}  // namespace brenzola
