#include "sync/ui/frmconflitto.h"

#include "exchange/ui/frmdoppione.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace brenzola {

FrmConflitto::FrmConflitto(const Conflitto& conflitto, int numero, int totale, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmConflitto"));
    setWindowTitle(tr("Contatto cambiato da due parti (%1 di %2)").arg(numero).arg(totale));
    auto* layout = new QVBoxLayout(this);
    const Contatto& noto = conflitto.qui ? *conflitto.qui : *conflitto.sulServer;
    QString testo = tr("«%1» è cambiato qui e sul server dall'ultima sincronizzazione. Scegliere quale versione tenere: "
                       "l'altra sarà sostituita (qui va nel cestino e nella cronologia, da dove si può riprendere).")
                        .arg(noto.nomeCompleto().trimmed());
    if (!conflitto.qui) testo += u'\n' + tr("Qui il contatto è stato eliminato.");
    if (!conflitto.sulServer) testo += u'\n' + tr("Sul server il contatto è stato eliminato.");
    LblTesto = new QLabel(testo, this);
    LblTesto->setObjectName(QStringLiteral("LblTesto"));
    LblTesto->setWordWrap(true);
    layout->addWidget(LblTesto);

    GrigliaConfronto = new QTableWidget(kNumeroCampi, 2, this);
    GrigliaConfronto->setObjectName(QStringLiteral("GrigliaConfronto"));
    GrigliaConfronto->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GrigliaConfronto->setWordWrap(true);
    GrigliaConfronto->setHorizontalHeaderLabels({conflitto.qui ? tr("Qui") : tr("Qui (eliminato)"),
                                                 conflitto.sulServer ? tr("Sul server") : tr("Sul server (eliminato)")});
    QStringList etichette;
    for (const DescrizioneCampo& d : campi()) {
        etichette << etichettaMostrata(d);
        const QString mio = conflitto.qui ? testoMostrato(*conflitto.qui, d) : QString();
        const QString suo = conflitto.sulServer ? testoMostrato(*conflitto.sulServer, d) : QString();
        for (int colonna : {0, 1}) {
            auto* cella = new QTableWidgetItem(colonna == 0 ? mio : suo);
            cella->setTextAlignment(Qt::AlignLeft | Qt::AlignTop);
            if (mio != suo) {  // where the two differ stands out
                QFont grassetto = cella->font();
                grassetto.setBold(true);
                cella->setFont(grassetto);
                cella->setBackground(QColor(0xff, 0xf3, 0xc4));
            }
            GrigliaConfronto->setItem(int(d.campo), colonna, cella);
        }
    }
    GrigliaConfronto->setVerticalHeaderLabels(etichette);
    GrigliaConfronto->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    GrigliaConfronto->resizeRowsToContents();
    GrigliaConfronto->setMinimumSize(640, 440);
    GrigliaConfronto->setAccessibleName(tr("Le due versioni"));
    GrigliaConfronto->setAccessibleDescription(
        tr("Ogni campo del contatto com'è qui e sul server; in grassetto, dove differiscono"));
    layout->addWidget(GrigliaConfronto);

    auto* pulsanti = new QDialogButtonBox(this);
    const auto pulsante = [&](const char* nome, const QString& testo, QDialogButtonBox::ButtonRole ruolo) {
        QPushButton* p = pulsanti->addButton(testo, ruolo);
        p->setObjectName(QLatin1String(nome));
        return p;
    };
    CmdTieniQui = pulsante("CmdTieniQui", conflitto.qui ? tr("Tieni quella di &qui") : tr("Elimina anche sul &server"),
                           QDialogButtonBox::AcceptRole);
    CmdTieniServer = pulsante("CmdTieniServer", conflitto.sulServer ? tr("Tieni quella del &server") : tr("Elimina anche &qui"),
                              QDialogButtonBox::AcceptRole);
    CmdDopo = pulsante("CmdDopo", tr("Decidi &dopo"), QDialogButtonBox::AcceptRole);
    CmdChiudi = pulsante("CmdChiudi", tr("Chiudi"), QDialogButtonBox::RejectRole);
    layout->addWidget(pulsanti);
    connect(CmdTieniQui, &QPushButton::clicked, this, [this] {
        scelta_ = Versione::Qui;
        accept();
    });
    connect(CmdTieniServer, &QPushButton::clicked, this, [this] {
        scelta_ = Versione::SulServer;
        accept();
    });
    connect(CmdDopo, &QPushButton::clicked, this, &QDialog::accept);
    connect(CmdChiudi, &QPushButton::clicked, this, [this] {
        basta_ = true;
        reject();
    });
    connect(this, &QDialog::rejected, this, [this] { basta_ = true; });
    CmdDopo->setDefault(true);  // Enter decides nothing
}

}  // namespace brenzola
