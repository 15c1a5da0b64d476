#include "cronologia/frmoperazioni.h"

#include "cronologia/annullamento.h"
#include "cronologia/testicronologia.h"
#include "store/giornale.h"
#include "store/storeerror.h"
#include "widgets/dialogs.h"
#include "widgets/filapulsanti.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace brenzola {
namespace {

constexpr int kPagina = 100;

}  // namespace

FrmOperazioni::FrmOperazioni(Dialogs& dialogs, Connection& connessione, QWidget* parent)
    : QDialog(parent),
      dialogs_(dialogs),
      connessione_(connessione)
{
    setObjectName(QStringLiteral("FrmOperazioni"));
    setWindowTitle(tr("Operazioni recenti"));
    setWindowFlag(Qt::WindowMinMaxButtonsHint);
    resize(900, 500);
    auto* layout = new QVBoxLayout(this);
    GrigliaOperazioni = new QTreeWidget(this);
    GrigliaOperazioni->setObjectName(QStringLiteral("GrigliaOperazioni"));
    GrigliaOperazioni->setHeaderLabels({tr("N."), tr("Quando"), tr("Chi"), tr("Operazione"), tr("Contatti"), tr("Annullata")});
    GrigliaOperazioni->setRootIsDecorated(false);
    GrigliaOperazioni->setUniformRowHeights(true);
    GrigliaOperazioni->setAllColumnsShowFocus(true);
    GrigliaOperazioni->setAccessibleName(windowTitle());
    GrigliaOperazioni->setAccessibleDescription(tr("Le operazioni di ogni scrivania, la più recente in cima"));
    layout->addWidget(GrigliaOperazioni);

    auto* pulsanti = new FilaPulsanti;
    CmdAnnulla = pulsanti->aggiungi("CmdAnnulla", tr("Annulla l'operazione"));
    CmdAltre = pulsanti->aggiungi("CmdAltre", tr("Operazioni precedenti"));
    pulsanti->addStretch();
    CmdChiudi = pulsanti->aggiungi("CmdChiudi", tr("Chiudi"));
    layout->addLayout(pulsanti);
    CmdChiudi->setDefault(true);

    connect(CmdAnnulla, &QPushButton::clicked, this, &FrmOperazioni::annulla);
    connect(CmdAltre, &QPushButton::clicked, this, &FrmOperazioni::altre);
    connect(CmdChiudi, &QPushButton::clicked, this, &QDialog::close);
    connect(GrigliaOperazioni, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* scelta) { CmdAnnulla->setEnabled(scelta != nullptr); });
    CmdAnnulla->setEnabled(false);
}

bool FrmOperazioni::Leggi() { return rileggi(kPagina); }

bool FrmOperazioni::rileggi(int quante)
{
    QTreeWidgetItem* scelta = GrigliaOperazioni->currentItem();
    const qint64 scelto = scelta ? voci_[size_t(GrigliaOperazioni->indexOfTopLevelItem(scelta))].numero : 0;
    std::vector<VoceOperazione> voci;
    try {
        voci = OperazioniRecenti(connessione_, quante);
    } catch (...) {
        MostraErrore(dialogs_, this, tr("Impossibile leggere le operazioni recenti."));
        return false;
    }
    GrigliaOperazioni->clear();
    voci_.clear();
    aggiungi(voci);
    CmdAltre->setEnabled(int(voci.size()) == quante);
    for (size_t i = 0; i < voci_.size(); ++i)
        if (voci_[i].numero == scelto || (scelto == 0 && i == 0))
            GrigliaOperazioni->setCurrentItem(GrigliaOperazioni->topLevelItem(int(i)));
    return true;
}

void FrmOperazioni::aggiungi(const std::vector<VoceOperazione>& voci)
{
    for (const VoceOperazione& voce : voci) {
        QStringList nomi;
        for (const QString& nome : voce.nomi) nomi << nome.trimmed();
        if (voce.contatti > nomi.size()) nomi << QStringLiteral("…");
        const QString contatti = ContattiMostrati(voce.contatti)
                                 + (voce.nomi.isEmpty() ? QString() : QStringLiteral(": ") + nomi.join(QStringLiteral(", ")));
        const QString annullata = voce.annullataDa ? tr("annullata dall'operazione %1").arg(voce.annullataDa) : QString();
        auto* riga = new QTreeWidgetItem(GrigliaOperazioni, {QString::number(voce.numero), QuandoLocale(voce.quando), voce.chi,
                                                             voce.etichetta, contatti, annullata});
        if (voce.annullataDa)  // greyed: it no longer stands
            for (int c = 0; c < riga->columnCount(); ++c)
                riga->setForeground(c, palette().brush(QPalette::Disabled, QPalette::Text));
        voci_.push_back(voce);
    }
    for (int c = 0; c + 1 < GrigliaOperazioni->columnCount(); ++c) GrigliaOperazioni->resizeColumnToContents(c);
}

void FrmOperazioni::altre()
{
    if (voci_.empty()) return;
    try {
        const std::vector<VoceOperazione> voci = OperazioniRecenti(connessione_, kPagina, voci_.back().numero);
        aggiungi(voci);
        CmdAltre->setEnabled(int(voci.size()) == kPagina);
    } catch (...) {
        MostraErrore(dialogs_, this, tr("Impossibile leggere le operazioni precedenti."));
    }
}

void FrmOperazioni::annulla()
{
    const int riga = GrigliaOperazioni->indexOfTopLevelItem(GrigliaOperazioni->currentItem());
    if (riga < 0) return;
    if (AnnullaOperazione(dialogs_, this, connessione_, voci_[size_t(riga)].numero)) Q_EMIT cambiato();
    rileggi(int(voci_.size()) + 1);  // the undo is an operation too, now the newest
}

}  // namespace brenzola
