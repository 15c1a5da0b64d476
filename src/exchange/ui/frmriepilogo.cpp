#include "exchange/ui/frmriepilogo.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace brenzola {

FrmRiepilogo::FrmRiepilogo(const Riepilogo& riepilogo, const QString& file, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmRiepilogo"));
    setWindowTitle(tr("Importazione completata"));
    auto* layout = new QVBoxLayout(this);
    QString testo = tr("Importazione da «%1»:\n\nAggiunti: %2\nUniti a contatti già presenti: %3\nNon importati: %4")
                        .arg(QFileInfo(file).fileName(), QString::number(riepilogo.aggiunti), QString::number(riepilogo.uniti),
                             QString::number(riepilogo.nonImportati));
    if (riepilogo.aggiornati > 0)
        testo += tr("\nAggiornati (lo stesso contatto, riconosciuto dal suo UID): %1").arg(riepilogo.aggiornati);
    if (!riepilogo.ignorate.isEmpty()) {
        QStringList ignorate;
        for (auto i = riepilogo.ignorate.cbegin(); i != riepilogo.ignorate.cend(); ++i)
            ignorate << QStringLiteral("%1 (%2)").arg(i.key(), QString::number(i.value()));
        testo += tr("\n\nDati del file che nessun campo accoglie, lasciati fuori: ") + ignorate.join(QStringLiteral(", "));
    }
    LblRiepilogo = new QLabel(testo, this);
    LblRiepilogo->setObjectName(QStringLiteral("LblRiepilogo"));
    LblRiepilogo->setWordWrap(true);
    LblRiepilogo->setMinimumWidth(420);
    layout->addWidget(LblRiepilogo);
    // What was left out, then what came in not quite where it belongs.
    QStringList righe = riepilogo.saltati;
    if (riepilogo.nonImportati > riepilogo.saltati.size())
        righe << tr("… e altri %1 non importati").arg(riepilogo.nonImportati - riepilogo.saltati.size());
    if (!riepilogo.avvisi.isEmpty())
        righe << (righe.isEmpty() ? QString() : QStringLiteral("\n")) + tr("Da controllare:") << riepilogo.avvisi;
    TxtSaltati = new QPlainTextEdit(righe.join(u'\n'), this);
    TxtSaltati->setObjectName(QStringLiteral("TxtSaltati"));
    TxtSaltati->setReadOnly(true);
    TxtSaltati->setAccessibleName(tr("Dettagli"));
    TxtSaltati->setAccessibleDescription(tr("Le voci non importate, con la riga e il motivo, e quelle da controllare"));
    TxtSaltati->setVisible(!righe.isEmpty());
    TxtSaltati->setMinimumSize(560, 200);
    layout->addWidget(TxtSaltati);
    auto* pulsanti = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    CmdOk = pulsanti->button(QDialogButtonBox::Ok);
    CmdOk->setObjectName(QStringLiteral("CmdOk"));
    layout->addWidget(pulsanti);
    connect(pulsanti, &QDialogButtonBox::accepted, this, &QDialog::accept);
}

}  // namespace brenzola
