#include "frmbrenzola.h"

#include "funzioni.h"
#include "storeerror.h"
#include "twips.h"

#include <QCloseEvent>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>

namespace brenzola {

using namespace Funzioni;

FrmBrenzola::FrmBrenzola(Dialogs& dialogs, QWidget* parent) : QWidget(parent), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("FrmBrenzola"));
    setWindowTitle(QString::fromLatin1(kTitoloApplicazione));
    resize(twips(this, 15240), twips(this, 9225));
    buildLeftPanel();

    CmdEsci = new QPushButton(QStringLiteral("Esci"), this);
    CmdEsci->setObjectName(QStringLiteral("CmdEsci"));
    placeInTwips(CmdEsci, 12720, 8520, 1575, 615);

    connect(TxtRicerca, &QLineEdit::textChanged, this, [this] { handle([this] { TxtRicerca_Change(); }); });
    connect(CmdCerca, &QPushButton::clicked, this, [this] { handle([this] { CmdCerca_Click(); }); });
    connect(CmdEsci, &QPushButton::clicked, this, [this] { CmdEsci_Click(); });
}

FrmBrenzola::~FrmBrenzola() = default;

void FrmBrenzola::buildLeftPanel()
{
    frameElenco_ = new QFrame(this);
    frameElenco_->setObjectName(QStringLiteral("Frame"));
    frameElenco_->setProperty("Index", 1);
    frameElenco_->setFrameShape(QFrame::StyledPanel);
    placeInTwips(frameElenco_, 120, 600, 3975, 7815);

    Label6 = new QLabel(QStringLiteral("Ricerca veloce cognome"), frameElenco_);
    Label6->setObjectName(QStringLiteral("Label6"));
    placeInTwips(Label6, 240, 240, 3495, 375);

    CmdCerca = new QPushButton(frameElenco_);
    CmdCerca->setObjectName(QStringLiteral("CmdCerca"));
    CmdCerca->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    placeInTwips(CmdCerca, 3360, 240, 615, 375);

    TxtRicerca = new QLineEdit(frameElenco_);
    TxtRicerca->setObjectName(QStringLiteral("TxtRicerca"));
    TxtRicerca->setMaxLength(250);
    placeInTwips(TxtRicerca, 240, 600, 3495, 405);

    Label17 = new QLabel(QStringLiteral("Contatti trovati:"), frameElenco_);
    Label17->setObjectName(QStringLiteral("Label17"));
    placeInTwips(Label17, 240, 1080, 2055, 375);

    LblNum = new QLabel(frameElenco_);
    LblNum->setObjectName(QStringLiteral("LblNum"));
    LblNum->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    placeInTwips(LblNum, 1680, 1080, 855, 375);

    List1 = new QListWidget(frameElenco_);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->setUniformItemSizes(true);  // keeps a refill of many thousand names fast
    placeInTwips(List1, 240, 1440, 3495, 4590);
}

template <typename Handler> void FrmBrenzola::handle(Handler&& handler)
{
    try {
        handler();
    } catch (const StoreError& error) {
        showError(error);
    }
}

void FrmBrenzola::showError(const StoreError& error, const QString& context)
{
    MostraErrore(dialogs_, this, error, context);
}

bool FrmBrenzola::Form_Load(const QString& cartella)
{
    try {
        ApriDatabase(cartella);
        PulisciCampi(this);
        IdCorrente = 0;
        ElencaTutti();
        AggiornaAnagrafica = 0;
        return true;
    } catch (const StoreError& error) {
        showError(error, QStringLiteral("Impossibile usare l'archivio dei contatti «%1».")
                             .arg(QDir::toNativeSeparators(PercorsoArchivio(cartella))));
        ChiudiDatabase();
        return false;
    }
}

void FrmBrenzola::Form_Unload() { ChiudiDatabase(); }

void FrmBrenzola::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

QString FrmBrenzola::QueryLista()
{
    return QStringLiteral("Select Cognome & ' ' & Nome from Anagrafica ") + Filtro
         + QStringLiteral(" ORDER BY Cognome & ' ' & Nome");
}

void FrmBrenzola::RiempiLista()
{
    List1->clear();
    QStringList voci;
    while (!RsLista->Eof()) {
        voci << RsLista->Fields(0).toString();
        RsLista->MoveNext();
    }
    List1->addItems(voci);
    LblNum->setText(QString::number(List1->count()));
}

void FrmBrenzola::ElencaTutti()
{
    RsLista = std::make_unique<Recordset>();
    Filtro = QStringLiteral(" ");
    RsLista->Open(QueryLista(), Connessione.get());
    RiempiLista();
}

void FrmBrenzola::CmdCerca_Click()
{
    RsLista = std::make_unique<Recordset>();
    const QString testo = TxtRicerca->text().replace(u'\'', QStringLiteral("''"));
    Filtro = QStringLiteral(" where cognome like '%") + testo + QStringLiteral("%' ");
    RsLista->Open(QueryLista(), Connessione.get());
    RiempiLista();
}

void FrmBrenzola::TxtRicerca_Change() { CmdCerca_Click(); }

void FrmBrenzola::AzzeraRicerca()
{
    TxtRicerca->setText(QString());
    CmdCerca_Click();
}

void FrmBrenzola::CmdEsci_Click() { close(); }

}  // namespace brenzola
