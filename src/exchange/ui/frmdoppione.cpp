#include "exchange/ui/frmdoppione.h"

#include "exchange/doppioni.h"
#include "store/funzioni.h"
#include "widgets/accessibility.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace brenzola {

QString testoMostrato(const Contatto& contatto, const DescrizioneCampo& d)
{
    const QVariant& valore = contatto[d.campo];
    if (d.data && valore.typeId() == QMetaType::QDate) return valore.toDate().toString(Funzioni::FormatoDataMostrata());
    return d.data ? dataComeTesto(valore) : contatto.testo(d.campo);
}

FrmDoppione::FrmDoppione(Uso uso, const QString& testo, const QString& titoloPrimo, const QString& titoloSecondo,
                         const Contatto& primo, const Contatto& secondo, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmDoppione"));
    const bool aggiornamento = uso == Uso::Aggiornamento;
    setWindowTitle(uso == Uso::Archivio ? tr("Contatti doppi") : tr("Contatto già presente"));
    auto* layout = new QVBoxLayout(this);
    LblTesto = new QLabel(testo, this);
    LblTesto->setObjectName(QStringLiteral("LblTesto"));
    LblTesto->setWordWrap(true);
    layout->addWidget(LblTesto);
    LblMotivi = new QLabel(this);
    LblMotivi->setObjectName(QStringLiteral("LblMotivi"));
    LblMotivi->setWordWrap(true);
    LblMotivi->setTextFormat(Qt::PlainText);
    LblMotivi->hide();
    layout->addWidget(LblMotivi);

    // The same contact again brings it up to date; another that is the same person merges into it.
    const Contatto unito = aggiornamento ? aggiorna(primo, secondo) : unisci(primo, secondo);
    GrigliaConfronto = new QTableWidget(kNumeroCampi, 3, this);
    GrigliaConfronto->setObjectName(QStringLiteral("GrigliaConfronto"));
    GrigliaConfronto->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GrigliaConfronto->setWordWrap(true);
    GrigliaConfronto->setHorizontalHeaderLabels(
        {titoloPrimo, titoloSecondo, aggiornamento ? tr("Dopo l'aggiornamento") : tr("Dopo l'unione")});
    QStringList etichette;
    for (const DescrizioneCampo& d : campi()) {
        const int riga = int(d.campo);
        etichette << etichettaMostrata(d);
        const QString prima = testoMostrato(primo, d);
        const QString dopo = testoMostrato(unito, d);
        const auto cella = [](const QString& testo) {
            auto* item = new QTableWidgetItem(testo);
            item->setTextAlignment(Qt::AlignLeft | Qt::AlignTop);
            return item;
        };
        GrigliaConfronto->setItem(riga, 0, cella(prima));
        GrigliaConfronto->setItem(riga, 1, cella(testoMostrato(secondo, d)));
        auto* risultato = cella(dopo);
        if (dopo != prima) {  // what a merge would change stands out
            QFont grassetto = risultato->font();
            grassetto.setBold(true);
            risultato->setFont(grassetto);
            risultato->setBackground(QColor(0xff, 0xf3, 0xc4));
        }
        GrigliaConfronto->setItem(riga, 2, risultato);
    }
    GrigliaConfronto->setVerticalHeaderLabels(etichette);
    GrigliaConfronto->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    GrigliaConfronto->resizeRowsToContents();
    GrigliaConfronto->setMinimumSize(760, 440);
    GrigliaConfronto->setAccessibleName(windowTitle());
    GrigliaConfronto->setAccessibleDescription(
        tr("Ogni campo dei due contatti e di quello che ne risulterebbe; in grassetto, ciò che cambierebbe"));
    layout->addWidget(GrigliaConfronto);

    ChkTutti = new QCheckBox(tr("Fai lo stesso per tutti i doppioni seguenti"), this);
    ChkTutti->setObjectName(QStringLiteral("ChkTutti"));
    layout->addWidget(ChkTutti);

    auto* pulsanti = new QDialogButtonBox(this);
    const auto pulsante = [&](const char* nome, const QString& testo, QDialogButtonBox::ButtonRole ruolo) {
        QPushButton* p = pulsanti->addButton(testo, ruolo);
        p->setObjectName(QLatin1String(nome));
        return p;
    };
    const bool importa = uso != Uso::Archivio;
    CmdUnisci = aggiornamento ? pulsante("CmdAggiorna", tr("Aggiorna"), QDialogButtonBox::AcceptRole)
                              : pulsante("CmdUnisci", tr("Unisci"), QDialogButtonBox::AcceptRole);
    // A second contact with the same identity would be one person twice.
    if (uso == Uso::Importazione) CmdAggiungi = pulsante("CmdAggiungi", tr("Aggiungi comunque"), QDialogButtonBox::AcceptRole);
    CmdSalta = pulsante("CmdSalta", importa ? tr("Salta") : tr("Lascia separati"), QDialogButtonBox::AcceptRole);
    CmdAnnulla = pulsante("CmdAnnulla", importa ? tr("Annulla l'importazione") : tr("Annulla"), QDialogButtonBox::RejectRole);
    layout->addWidget(pulsanti);
    connect(CmdUnisci, &QPushButton::clicked, this,
            [this, aggiornamento] { scegli(aggiornamento ? Scelta::Aggiorna : Scelta::Unisci); });
    if (CmdAggiungi) connect(CmdAggiungi, &QPushButton::clicked, this, [this] { scegli(Scelta::Aggiungi); });
    connect(CmdSalta, &QPushButton::clicked, this, [this] { scegli(Scelta::Salta); });
    connect(CmdAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    CmdSalta->setDefault(true);  // Enter changes nothing
    nameForScreenReaders(this);
}

void FrmDoppione::mostraConfronto(const Confronto& confronto)
{
    QString testo = tr("Perché: %1.").arg(confronto.motivi.join(QStringLiteral("; ")));
    const bool dubbio = confronto.esito != Somiglianza::Stesso;
    if (dubbio)
        testo = tr("Attenzione: potrebbero essere persone diverse. Unirli solo se si è certi che siano la stessa persona.")
                + u'\n' + testo;
    LblMotivi->setText(testo);
    LblMotivi->setStyleSheet(dubbio ? QStringLiteral("color: #a00000; font-weight: bold;") : QString());
    LblMotivi->show();
    ChkTutti->setChecked(false);
    ChkTutti->setHidden(dubbio);
}

bool FrmDoppione::perTutti() const { return !ChkTutti->isHidden() && ChkTutti->isChecked(); }

void FrmDoppione::scegli(Scelta scelta)
{
    scelta_ = scelta;
    accept();
}

}  // namespace brenzola
