#pragma once

#include "exchange/scambio.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace brenzola {

// What an import did: how many contacts were added and merged, and each entry of the file
// that was not imported, with its line and the reason.
class FrmRiepilogo : public QDialog {
    Q_OBJECT

public:
    FrmRiepilogo(const Riepilogo& riepilogo, const QString& file, QWidget* parent = nullptr);

private:
    QLabel* LblRiepilogo;
    QPlainTextEdit* TxtSaltati;
    QPushButton* CmdOk;
};

}  // namespace brenzola
