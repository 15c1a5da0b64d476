#include "cronologia/frmcestino.h"

#include "cronologia/testicronologia.h"
#include "store/giornale.h"
#include "store/storeerror.h"
#include "widgets/dialogs.h"
#include "widgets/filapulsanti.h"

#include <QAbstractTableModel>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTreeView>
#include <QVBoxLayout>

namespace brenzola {

// The bin as a list, however many contacts a deletion sent there.
class ModelloCestino final : public QAbstractTableModel {
public:
    explicit ModelloCestino(QObject* parent) : QAbstractTableModel(parent) {}

    void mostra(std::vector<Eliminato> eliminati)
    {
        beginResetModel();
        eliminati_ = std::move(eliminati);
        endResetModel();
    }
    const std::vector<Eliminato>& eliminati() const { return eliminati_; }

    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : int(eliminati_.size()); }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : kColonne; }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        static constexpr const char* titoli[kColonne] = {QT_TRANSLATE_NOOP("brenzola::ModelloCestino", "Contatto"),
                                                         QT_TRANSLATE_NOOP("brenzola::ModelloCestino", "Eliminato il"),
                                                         QT_TRANSLATE_NOOP("brenzola::ModelloCestino", "Da"),
                                                         QT_TRANSLATE_NOOP("brenzola::ModelloCestino", "Operazione")};
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kColonne) return {};
        return QCoreApplication::translate("brenzola::ModelloCestino", titoli[section]);
    }
    QVariant data(const QModelIndex& indice, int role) const override
    {
        if (!indice.isValid() || role != Qt::DisplayRole) return {};
        const Eliminato& e = eliminati_[size_t(indice.row())];
        switch (indice.column()) {
        case 0:
            return e.nome.trimmed();
        case 1:
            return QuandoLocale(e.quando);
        case 2:
            return e.chi;
        default:
            return QStringLiteral("%1: %2").arg(QString::number(e.operazione), e.etichetta);
        }
    }

private:
    static constexpr int kColonne = 4;
    std::vector<Eliminato> eliminati_;
};

FrmCestino::FrmCestino(Dialogs& dialogs, Connection& connessione, QWidget* parent)
    : QDialog(parent),
      dialogs_(dialogs),
      connessione_(connessione),
      modello_(new ModelloCestino(this))
{
    setObjectName(QStringLiteral("FrmCestino"));
    setWindowTitle(tr("Cestino"));
    setWindowFlag(Qt::WindowMinMaxButtonsHint);
    resize(760, 480);
    auto* layout = new QVBoxLayout(this);
    GrigliaCestino = new QTreeView(this);
    GrigliaCestino->setObjectName(QStringLiteral("GrigliaCestino"));
    GrigliaCestino->setModel(modello_);
    GrigliaCestino->setRootIsDecorated(false);
    GrigliaCestino->setUniformRowHeights(true);
    GrigliaCestino->setAllColumnsShowFocus(true);
    GrigliaCestino->setSelectionMode(QAbstractItemView::ExtendedSelection);
    GrigliaCestino->setAccessibleName(windowTitle());
    GrigliaCestino->setAccessibleDescription(tr("I contatti eliminati: chi, quando e in quale operazione"));
    layout->addWidget(GrigliaCestino);

    auto* periodo = new QHBoxLayout;
    auto* etichetta = new QLabel(tr("Conserva i contatti eliminati per"), this);
    etichetta->setObjectName(QStringLiteral("LblConserva"));
    periodo->addWidget(etichetta);
    SpnGiorni = new QSpinBox(this);
    SpnGiorni->setObjectName(QStringLiteral("SpnGiorni"));
    SpnGiorni->setRange(1, 3650);
    SpnGiorni->setValue(90);
    SpnGiorni->setKeyboardTracking(false);  // the number typed, not each of its digits
    SpnGiorni->setAccessibleName(tr("Conserva i contatti eliminati per giorni"));
    SpnGiorni->setToolTip(tr("All'avvio, i contatti eliminati da più giorni vengono eliminati definitivamente."));
    etichetta->setBuddy(SpnGiorni);
    periodo->addWidget(SpnGiorni);
    auto* giorni = new QLabel(tr("giorni"), this);
    giorni->setObjectName(QStringLiteral("LblGiorni"));
    periodo->addWidget(giorni);
    periodo->addStretch();
    layout->addLayout(periodo);

    auto* pulsanti = new FilaPulsanti;
    CmdRipristina = pulsanti->aggiungi("CmdRipristina", tr("Ripristina"));
    CmdElimina = pulsanti->aggiungi("CmdElimina", tr("Elimina definitivamente"));
    CmdSvuota = pulsanti->aggiungi("CmdSvuota", tr("Svuota cestino"));
    pulsanti->addStretch();
    CmdChiudi = pulsanti->aggiungi("CmdChiudi", tr("Chiudi"));
    layout->addLayout(pulsanti);
    CmdChiudi->setDefault(true);

    connect(CmdRipristina, &QPushButton::clicked, this, &FrmCestino::ripristina);
    connect(CmdElimina, &QPushButton::clicked, this, [this] {
        const std::vector<const Eliminato*> quali = scelti();
        QStringList nomi;
        for (const Eliminato* e : quali) nomi << e->nome;
        elimina(quali, tr("Eliminare definitivamente %1? Non si potranno più ripristinare, e la loro cronologia "
                          "sparisce con loro.")
                           .arg(NomiTraVirgolette(nomi)));
    });
    connect(CmdSvuota, &QPushButton::clicked, this, [this] {
        std::vector<const Eliminato*> tutti;
        for (const Eliminato& e : modello_->eliminati()) tutti.push_back(&e);
        elimina(tutti, tr("Svuotare il cestino? I %1 che contiene non si potranno più ripristinare, e la loro "
                          "cronologia sparisce con loro.")
                           .arg(ContattiMostrati(qint64(tutti.size()))));
    });
    connect(CmdChiudi, &QPushButton::clicked, this, &QDialog::close);
    connect(SpnGiorni, &QSpinBox::valueChanged, this, &FrmCestino::impostaGiorni);
    connect(GrigliaCestino->selectionModel(), &QItemSelectionModel::selectionChanged, this, &FrmCestino::aggiornaPulsanti);
    connect(modello_, &QAbstractItemModel::modelReset, this, &FrmCestino::aggiornaPulsanti);
    aggiornaPulsanti();
}

bool FrmCestino::Leggi()
{
    try {
        std::vector<Eliminato> eliminati = Cestino(connessione_);
        const int giorni = GiorniCestino(connessione_);
        modello_->mostra(std::move(eliminati));
        const QSignalBlocker quieto(SpnGiorni);  // shown, not set
        SpnGiorni->setValue(giorni);
    } catch (...) {
        MostraErrore(dialogs_, this, tr("Impossibile leggere il cestino."));
        return false;
    }
    for (int c = 0; c + 1 < modello_->columnCount({}); ++c) GrigliaCestino->resizeColumnToContents(c);
    return true;
}

std::vector<const Eliminato*> FrmCestino::scelti() const
{
    std::vector<const Eliminato*> quali;
    for (const QModelIndex& riga : GrigliaCestino->selectionModel()->selectedRows())
        quali.push_back(&modello_->eliminati()[size_t(riga.row())]);
    return quali;
}

void FrmCestino::aggiornaPulsanti()
{
    const bool scelta = GrigliaCestino->selectionModel()->hasSelection();
    CmdRipristina->setEnabled(scelta);
    CmdElimina->setEnabled(scelta);
    CmdSvuota->setEnabled(!modello_->eliminati().empty());
}

void FrmCestino::ripristina()
{
    std::vector<qint64> chiavi;
    QStringList nomi;
    for (const Eliminato* e : scelti()) {
        chiavi.push_back(e->id);
        nomi << e->nome;
    }
    if (chiavi.empty()) return;
    try {
        const qint64 operazione = RipristinaDalCestino(connessione_, chiavi);
        dialogs_.MsgBox(this, {operazione ? tr("Ripristinati, con tutti i loro dati: %1.").arg(NomiTraVirgolette(nomi))
                                          : tr("Nessuno dei contatti scelti era ancora nel cestino: nel frattempo sono "
                                               "stati ripristinati o eliminati definitivamente altrove."),
                               MsgButtons::Ok, MsgIcon::Information});
        if (operazione) Q_EMIT cambiato();
    } catch (...) {
        MostraErrore(dialogs_, this, tr("Non è stato ripristinato nessun contatto."));
    }
    Leggi();
}

void FrmCestino::elimina(const std::vector<const Eliminato*>& quali, const QString& domanda)
{
    if (quali.empty()) return;
    Message conferma{domanda + QStringLiteral("\n\n") + CosaRestaDopoLaCancellazione(connessione_), MsgButtons::YesNo,
                     MsgIcon::Question};
    conferma.yesCaption = tr("Elimina definitivamente");
    conferma.noCaption = tr("Non eliminare");
    conferma.defaultAnswer = MsgAnswer::No;
    if (dialogs_.MsgBox(this, conferma) != MsgAnswer::Yes) return;
    std::vector<qint64> chiavi;
    chiavi.reserve(quali.size());
    for (const Eliminato* e : quali) chiavi.push_back(e->id);
    try {
        const int eliminati = EliminaDefinitivamente(connessione_, chiavi);
        dialogs_.MsgBox(
            this, {tr("Eliminati definitivamente: %1.").arg(ContattiMostrati(eliminati)), MsgButtons::Ok, MsgIcon::Information});
    } catch (...) {
        MostraErrore(dialogs_, this, tr("Impossibile eliminare definitivamente i contatti scelti."));
    }
    Leggi();
}

void FrmCestino::impostaGiorni(int giorni)
{
    try {
        ImpostaGiorniCestino(connessione_, giorni);
    } catch (...) {
        MostraErrore(dialogs_, this, tr("Il periodo del cestino non è stato cambiato."));
        Leggi();  // shows the period the store keeps
    }
}

}  // namespace brenzola
