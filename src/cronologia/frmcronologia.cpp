#include "cronologia/frmcronologia.h"

#include "cronologia/testicronologia.h"
#include "store/funzioni.h"
#include "store/giornale.h"
#include "store/storeerror.h"
#include "widgets/dialogs.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace brenzola {
namespace {

// The captions and names of the fields, in the order of ColonneContatto(), as the main window calls them.
struct Campo {
    const char* nome;
    const char* etichetta;
};
constexpr Campo kCampi[] = {{"TxtCognome", QT_TRANSLATE_NOOP("brenzola::FrmCronologia", "Cognome")},
                            {"TxtNome", QT_TRANSLATE_NOOP("brenzola::FrmCronologia", "Nome")},
                            {"TxtData", QT_TRANSLATE_NOOP("brenzola::FrmCronologia", "Data")},
                            {"TxtTipoRef", QT_TRANSLATE_NOOP("brenzola::FrmCronologia", "Tipo Ref.")},
                            {"TxtProv", QT_TRANSLATE_NOOP("brenzola::FrmCronologia", "Prov.")},
                            {"TxtCitta", QT_TRANSLATE_NOOP("brenzola::FrmCronologia", "Citta'")},
                            {"TxtIndirizzo", QT_TRANSLATE_NOOP("brenzola::FrmCronologia", "Indirizzo")},
                            {"TxtCap", QT_TRANSLATE_NOOP("brenzola::FrmCronologia", "Cap")},
                            {"TxtEmail", QT_TRANSLATE_NOOP("brenzola::FrmCronologia", "Email")},
                            {"TxtTelefono", QT_TRANSLATE_NOOP("brenzola::FrmCronologia", "Telefono")},
                            {"TxtCell", QT_TRANSLATE_NOOP("brenzola::FrmCronologia", "Cell.")},
                            {"TxtDataNasc", QT_TRANSLATE_NOOP("brenzola::FrmCronologia", "Data Nasc.")},
                            {"Txtfonte", QT_TRANSLATE_NOOP("brenzola::FrmCronologia", "Fonte")},
                            {"TxtDataRicontattare", QT_TRANSLATE_NOOP("brenzola::FrmCronologia", "Data ricontattare")},
                            {"TxtCommenti", QT_TRANSLATE_NOOP("brenzola::FrmCronologia", "Commenti")}};

const QColor kCambiato(0xb0, 0x00, 0x20);
constexpr char kDescrizioneCambiato[] =
    QT_TRANSLATE_NOOP("brenzola::FrmCronologia", "cambiato rispetto alla versione precedente");

QString testo(const QVariant& valore)
{
    return valore.typeId() == QMetaType::QDate ? valore.toDate().toString(Funzioni::FormatoDataMostrata()) : valore.toString();
}

// Null and empty text are different values, though QVariant calls them equal.
bool diverso(const QVariant& prima, const QVariant& dopo) { return prima.isNull() != dopo.isNull() || prima != dopo; }

// Bold and coloured when changed; otherwise as the window draws everything else.
void segna(QWidget* widget, bool cambiato)
{
    QFont font;
    QPalette colori;
    if (cambiato) {
        font.setBold(true);
        for (QPalette::ColorRole ruolo : {QPalette::Text, QPalette::WindowText}) colori.setColor(ruolo, kCambiato);
    }
    widget->setFont(font);
    widget->setPalette(colori);
}

}  // namespace

FrmCronologia::FrmCronologia(Dialogs& dialogs, Connection& connessione, qint64 id, QWidget* parent)
    : QDialog(parent),
      dialogs_(dialogs),
      connessione_(connessione),
      id_(id)
{
    setObjectName(QStringLiteral("FrmCronologia"));
    setWindowTitle(tr("Cronologia"));
    setWindowFlag(Qt::WindowMinMaxButtonsHint);
    resize(980, 560);
    auto* layout = new QVBoxLayout(this);
    auto* divisore = new QSplitter(this);
    divisore->setObjectName(QStringLiteral("Divisore"));
    layout->addWidget(divisore);

    GrigliaVersioni = new QTreeWidget(divisore);
    GrigliaVersioni->setObjectName(QStringLiteral("GrigliaVersioni"));
    GrigliaVersioni->setHeaderLabels({tr("Quando"), tr("Chi"), tr("Operazione")});
    GrigliaVersioni->setRootIsDecorated(false);
    GrigliaVersioni->setAllColumnsShowFocus(true);
    GrigliaVersioni->setAccessibleName(tr("Versioni"));
    GrigliaVersioni->setAccessibleDescription(tr("Le versioni del contatto, la più recente in cima; accanto, i suoi campi"));

    auto* scheda = new QWidget(divisore);
    scheda->setObjectName(QStringLiteral("Scheda"));
    auto* campi = new QFormLayout(scheda);
    LblStato = new QLabel(scheda);
    LblStato->setObjectName(QStringLiteral("LblStato"));
    LblStato->setWordWrap(true);
    campi->addRow(LblStato);
    for (const Campo& campo : kCampi) {
        const bool commenti = qstrcmp(campo.nome, "TxtCommenti") == 0;
        QWidget* valore = nullptr;
        if (commenti) {
            auto* box = new QPlainTextEdit(scheda);
            box->setReadOnly(true);
            box->setTabChangesFocus(true);
            valore = box;
        } else {
            auto* box = new QLineEdit(scheda);
            box->setReadOnly(true);
            valore = box;
        }
        valore->setObjectName(QLatin1String(campo.nome));
        valore->setAccessibleName(tr(campo.etichetta));
        auto* etichetta = new QLabel(tr(campo.etichetta), scheda);
        etichetta->setObjectName(QStringLiteral("Lbl") + QLatin1String(campo.nome).mid(3));
        etichetta->setBuddy(valore);
        campi->addRow(etichetta, valore);
        etichette_.push_back(etichetta);
        campi_.push_back(valore);
    }
    divisore->setStretchFactor(1, 1);
    divisore->setSizes({420, 560});

    auto* pulsanti = new QHBoxLayout;
    CmdRipristina = new QPushButton(tr("Ripristina questa versione"), this);
    CmdRipristina->setObjectName(QStringLiteral("CmdRipristina"));
    pulsanti->addWidget(CmdRipristina);
    pulsanti->addStretch();
    CmdChiudi = new QPushButton(tr("Chiudi"), this);
    CmdChiudi->setObjectName(QStringLiteral("CmdChiudi"));
    CmdChiudi->setDefault(true);
    pulsanti->addWidget(CmdChiudi);
    layout->addLayout(pulsanti);

    connect(GrigliaVersioni, &QTreeWidget::currentItemChanged, this, &FrmCronologia::mostraVersione);
    connect(CmdRipristina, &QPushButton::clicked, this, &FrmCronologia::ripristina);
    connect(CmdChiudi, &QPushButton::clicked, this, &QDialog::close);
    CmdRipristina->setEnabled(false);
}

int FrmCronologia::scelta() const { return GrigliaVersioni->indexOfTopLevelItem(GrigliaVersioni->currentItem()); }

bool FrmCronologia::Leggi()
{
    // The chosen version stays chosen: the oldest known shares its journal row with the next.
    const int prima = scelta();
    const qint64 numero = prima >= 0 ? versioni_[size_t(prima)].numero : 0;
    const bool piuVecchia = prima >= 0 && versioni_[size_t(prima)].piuVecchia;
    try {
        versioni_ = CronologiaContatto(connessione_, id_);
    } catch (...) {
        MostraErrore(dialogs_, this, tr("Impossibile leggere la cronologia del contatto."));
        return false;
    }
    if (versioni_.empty()) {
        dialogs_.MsgBox(this, {tr("Di questo contatto non è registrata nessuna modifica: la sua cronologia comincia "
                                  "dalla prima."),
                               MsgButtons::Ok, MsgIcon::Information});
        return false;
    }
    for (const Versione& v : versioni_)
        if (!v.eliminato) {
            setWindowTitle(tr("Cronologia di «%1»").arg((v.valori[0].toString() + u' ' + v.valori[1].toString()).trimmed()));
            break;
        }
    const QSignalBlocker quieta(GrigliaVersioni);  // one version shown at the end
    GrigliaVersioni->clear();
    int daScegliere = 0;
    for (size_t i = 0; i < versioni_.size(); ++i) {
        const Versione& v = versioni_[i];
        auto* riga = new QTreeWidgetItem(GrigliaVersioni);
        if (v.piuVecchia) {
            riga->setText(0, tr("versione più vecchia conosciuta"));
        } else {
            riga->setText(0, QuandoLocale(v.quando));
            riga->setText(1, v.chi);
            riga->setText(2, v.eliminato ? v.etichetta + tr(": contatto eliminato") : v.etichetta);
        }
        if (v.eliminato)
            for (int c = 0; c < GrigliaVersioni->columnCount(); ++c) riga->setForeground(c, kCambiato);
        if (prima >= 0 && v.numero == numero && v.piuVecchia == piuVecchia) daScegliere = int(i);
    }
    for (int c = 0; c + 1 < GrigliaVersioni->columnCount(); ++c) GrigliaVersioni->resizeColumnToContents(c);
    GrigliaVersioni->setCurrentItem(GrigliaVersioni->topLevelItem(daScegliere));
    mostraVersione();
    return true;
}

void FrmCronologia::mostraVersione()
{
    const int riga = scelta();
    if (riga < 0) return;
    const Versione& v = versioni_[size_t(riga)];
    // Compared with the nearest older version that has values: a deletion has none.
    const Versione* precedente = nullptr;
    for (size_t i = size_t(riga) + 1; i < versioni_.size() && !precedente; ++i)
        if (!versioni_[i].eliminato) precedente = &versioni_[i];
    QStringList cambiati;
    for (size_t c = 0; c < campi_.size(); ++c) {
        const QVariant valore = v.eliminato ? QVariant() : v.valori.value(qsizetype(c));
        const bool cambiato = !v.eliminato && precedente && diverso(precedente->valori.value(qsizetype(c)), valore);
        if (auto* box = qobject_cast<QLineEdit*>(campi_[c])) {
            box->setText(testo(valore));
            box->setCursorPosition(0);
        } else {
            static_cast<QPlainTextEdit*>(campi_[c])->setPlainText(testo(valore));
        }
        segna(campi_[c], cambiato);
        segna(etichette_[c], cambiato);
        campi_[c]->setAccessibleDescription(cambiato ? tr(kDescrizioneCambiato) : QString());
        if (cambiato) cambiati << tr(kCampi[c].etichetta);
    }
    if (v.eliminato)
        LblStato->setText(tr("In questa versione il contatto è stato eliminato: non ha dati."));
    else if (v.piuVecchia)
        LblStato->setText(tr("Il contatto com'era prima della prima modifica registrata: quando e da chi non si sa."));
    else if (!precedente)
        LblStato->setText(tr("La prima versione registrata del contatto."));
    else if (cambiati.isEmpty())
        LblStato->setText(tr("Nessun campo è cambiato rispetto alla versione precedente."));
    else
        LblStato->setText(tr("Cambiati rispetto alla versione precedente: %1.").arg(cambiati.join(QStringLiteral(", "))));
    CmdRipristina->setEnabled(riga > 0 && !v.eliminato);
}

void FrmCronologia::ripristina()
{
    const int riga = scelta();
    if (riga <= 0 || versioni_[size_t(riga)].eliminato) return;
    const Versione versione = versioni_[size_t(riga)];
    const QString quale = versione.piuVecchia ? tr("la versione più vecchia conosciuta")
                                              : tr("la versione del %1").arg(QuandoLocale(versione.quando));
    try {
        RipristinaVersione(connessione_, id_, versione, versioni_.front().numero);
    } catch (...) {
        const StoreError errore = ErroreCorrente();
        MostraErrore(dialogs_, this, errore,
                     errore.number() == StoreErrorNumber::RowChanged
                         ? tr("Non è stata ripristinata %1. La cronologia viene letta di nuovo: controllare la modifica "
                              "fatta altrove, poi scegliere di nuovo la versione da ripristinare.")
                               .arg(quale)
                         : tr("Non è stata ripristinata %1.").arg(quale));
        if (!Leggi()) reject();
        return;
    }
    Q_EMIT cambiato();
    dialogs_.MsgBox(this, {tr("Ripristinata %1: il contatto è di nuovo così.").arg(quale), MsgButtons::Ok, MsgIcon::Information});
    GrigliaVersioni->setCurrentItem(nullptr);  // the restored version, now the newest, is shown
    if (!Leggi()) reject();
}

}  // namespace brenzola
