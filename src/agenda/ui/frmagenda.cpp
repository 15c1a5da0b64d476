#include "agenda/ui/frmagenda.h"

#include "agenda/calendario.h"
#include "printing/memorytable.h"
#include "printing/ui/stampa.h"
#include "store/funzioni.h"
#include "store/storeerror.h"
#include "widgets/accessibility.h"
#include "widgets/calendarfield.h"
#include "widgets/dialogs.h"
#include "widgets/filapulsanti.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QSaveFile>
#include <QSettings>
#include <QSpinBox>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

namespace brenzola {
namespace {

const QString kAllAvvio = QStringLiteral("agenda/allAvvio");
const QString kGiorni = QStringLiteral("agenda/giorni");
const QColor kScaduto(0xb0, 0x00, 0x20);
constexpr int kRuoloId = Qt::UserRole;

QSettings impostazioni() { return QSettings(Funzioni::FileImpostazioni(), QSettings::IniFormat); }

QString comeData(const QDate& giorno) { return giorno.toString(Funzioni::FormatoDataMostrata()); }

// Asks for the next date to call; the week after today to start with.
class FrmProssimaData : public QDialog {
public:
    FrmProssimaData(Dialogs& dialogs, const QDate& proposta, QWidget* parent) : QDialog(parent), dialogs_(dialogs)
    {
        setObjectName(QStringLiteral("FrmProssimaData"));
        setWindowTitle(QCoreApplication::translate("brenzola::FrmProssimaData", "Ricontattare il"));
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(
            new QLabel(QCoreApplication::translate("brenzola::FrmProssimaData", "Data in cui ricontattare:"), this));
        DtProssima = new CalendarField(this);
        DtProssima->setObjectName(QStringLiteral("DtProssima"));
        DtProssima->setAccessibleName(QCoreApplication::translate("brenzola::FrmProssimaData", "Data in cui ricontattare"));
        DtProssima->setValue(proposta);
        layout->addWidget(DtProssima);
        auto* pulsanti = new QDialogButtonBox(this);
        QPushButton* ok =
            pulsanti->addButton(QCoreApplication::translate("brenzola::FrmProssimaData", "OK"), QDialogButtonBox::AcceptRole);
        ok->setObjectName(QStringLiteral("CmdOk"));
        pulsanti->addButton(QCoreApplication::translate("brenzola::FrmProssimaData", "Annulla"), QDialogButtonBox::RejectRole)
            ->setObjectName(QStringLiteral("CmdAnnulla"));
        layout->addWidget(pulsanti);
        nameForScreenReaders(this);
        connect(pulsanti, &QDialogButtonBox::accepted, this, [this] {
            if (!datesAreValid(this, dialogs_)) return;
            if (DtProssima->value().typeId() != QMetaType::QDate) {
                dialogs_.MsgBox(this, {QCoreApplication::translate("brenzola::FrmProssimaData",
                                                                   "Scrivere la data, oppure scegliere «Nessuna data»."),
                                       MsgButtons::Ok, MsgIcon::Information});
                return;
            }
            accept();
        });
        connect(pulsanti, &QDialogButtonBox::rejected, this, &QDialog::reject);
    }

    QDate scelta() const { return DtProssima->value().toDate(); }

private:
    Dialogs& dialogs_;
    CalendarField* DtProssima;
};

QFont grassetto()
{
    QFont font;  // only the weight: the rest comes from the list
    font.setBold(true);
    return font;
}

// A list of the agenda: rows of one height, each section's title across the whole row.
class GrigliaAgenda final : public QTreeView {
public:
    GrigliaAgenda(QWidget* parent, const char* nome, QAbstractItemModel* modello) : QTreeView(parent)
    {
        setObjectName(QLatin1String(nome));
        setModel(modello);
        setRootIsDecorated(false);
        setIndentation(0);
        setUniformRowHeights(true);
        setAllColumnsShowFocus(true);
        header()->setStretchLastSection(true);
    }

    // After the model was reset: its sections open and, when `misura`, the columns as wide
    // as their first rows need. Measuring every row would cost a wait on a long agenda.
    void mostraSezioni(bool misura)
    {
        constexpr int kRigheMisurate = 200;
        QStyleOptionViewItem opzione;
        initViewItemOption(&opzione);
        const int colonne = model()->columnCount();
        std::vector<int> larghezze(size_t(colonne), 0);
        for (int c = 0; c < colonne; ++c) larghezze[size_t(c)] = header()->sectionSizeHint(c);
        int misurate = 0;
        const auto misuraRiga = [&](int riga, const QModelIndex& sezione) {
            for (int c = 0; c < colonne; ++c) {
                const QModelIndex cella = model()->index(riga, c, sezione);
                larghezze[size_t(c)] =
                    std::max(larghezze[size_t(c)], itemDelegateForIndex(cella)->sizeHint(opzione, cella).width());
            }
            ++misurate;
        };
        for (int s = 0; s < model()->rowCount(); ++s) {
            const QModelIndex sezione = model()->index(s, 0);
            if (!(model()->flags(sezione) & Qt::ItemIsSelectable)) {
                expand(sezione);
            } else if (misura && misurate < kRigheMisurate) {
                misuraRiga(s, {});
            }
            for (int r = 0, righe = model()->rowCount(sezione); misura && r < righe && misurate < kRigheMisurate; ++r)
                misuraRiga(r, sezione);
        }
        if (misura)
            for (int c = 0; c + 1 < colonne; ++c) header()->resizeSection(c, larghezze[size_t(c)]);
    }

protected:
    // A section's title is drawn over the whole row by hand: a spanned first column would
    // make every layout of a long agenda look each of its rows up among the spans.
    void drawRow(QPainter* painter, const QStyleOptionViewItem& opzione, const QModelIndex& indice) const override
    {
        if (indice.parent().isValid() || (model()->flags(indice) & Qt::ItemIsSelectable)) {
            QTreeView::drawRow(painter, opzione, indice);
            return;
        }
        painter->save();
        painter->setFont(indice.data(Qt::FontRole).value<QFont>().resolve(font()));
        const QVariant colore = indice.data(Qt::ForegroundRole);
        painter->setPen(colore.isValid() ? colore.value<QBrush>().color() : palette().color(QPalette::Text));
        const int margine = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
        painter->drawText(opzione.rect.adjusted(margine, 0, -margine, 0), Qt::AlignLeft | Qt::AlignVCenter,
                          indice.data().toString());
        painter->restore();
    }
};

}  // namespace

// The contacts to call under a row for each section: overdue, today, the next days.
// Rows are read from the agenda as the list shows them.
class ModelloRicontatti final : public QAbstractItemModel {
public:
    explicit ModelloRicontatti(QObject* parent) : QAbstractItemModel(parent) {}

    void mostra(std::shared_ptr<const Agenda> agenda)
    {
        beginResetModel();
        agenda_ = std::move(agenda);
        sezioni_.clear();
        const auto sezione = [this](const ElencoPromemoria& elenco, const QString& titolo, bool scaduti) {
            if (!elenco.empty()) sezioni_.push_back({QStringLiteral("%1 (%2)").arg(titolo).arg(elenco.size()), &elenco, scaduti});
        };
        sezione(agenda_->scaduti, QCoreApplication::translate("brenzola::ModelloRicontatti", "Scaduti"), true);
        sezione(agenda_->diOggi, QCoreApplication::translate("brenzola::ModelloRicontatti", "Oggi"), false);
        sezione(agenda_->prossimi,
                agenda_->giorni == 1
                    ? QCoreApplication::translate("brenzola::ModelloRicontatti", "Domani")
                    : QCoreApplication::translate("brenzola::ModelloRicontatti", "Prossimi %1 giorni").arg(agenda_->giorni),
                false);
        if (sezioni_.empty())
            sezioni_.push_back(
                {QCoreApplication::translate("brenzola::ModelloRicontatti", "Nessun contatto da ricontattare."), nullptr, false});
        endResetModel();
    }

    QModelIndex indice(qint64 id) const
    {
        for (size_t s = 0; s < sezioni_.size(); ++s)
            if (const qsizetype riga = sezioni_[s].elenco ? sezioni_[s].elenco->indice(id) : -1; riga >= 0)
                return createIndex(int(riga), 0, quintptr(s) + 1);
        return {};
    }

    std::optional<Promemoria> promemoria(const QModelIndex& indice) const
    {
        if (!indice.isValid() || indice.internalId() == 0) return std::nullopt;
        return (*sezioni_[indice.internalId() - 1].elenco)[indice.row()];
    }

    QModelIndex index(int row, int column, const QModelIndex& parent) const override
    {
        if (row < 0 || column < 0 || column >= kColonne) return {};
        if (!parent.isValid()) return row < int(sezioni_.size()) ? createIndex(row, column, quintptr(0)) : QModelIndex();
        if (parent.internalId() != 0 || parent.column() != 0) return {};
        return row < rowCount(parent) ? createIndex(row, column, quintptr(parent.row()) + 1) : QModelIndex();
    }
    QModelIndex parent(const QModelIndex& child) const override
    {
        if (!child.isValid() || child.internalId() == 0) return {};
        return createIndex(int(child.internalId() - 1), 0, quintptr(0));
    }
    int rowCount(const QModelIndex& parent) const override
    {
        if (!parent.isValid()) return int(sezioni_.size());
        if (parent.internalId() != 0 || parent.column() != 0) return 0;
        const ElencoPromemoria* elenco = sezioni_[size_t(parent.row())].elenco;
        return elenco ? int(elenco->size()) : 0;
    }
    int columnCount(const QModelIndex&) const override { return kColonne; }
    bool hasChildren(const QModelIndex& parent) const override { return rowCount(parent) > 0; }
    Qt::ItemFlags flags(const QModelIndex& indice) const override
    {
        if (!indice.isValid()) return {};
        if (indice.internalId() == 0) return Qt::ItemIsEnabled;
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        static constexpr const char* titoli[kColonne] = {QT_TRANSLATE_NOOP("brenzola::ModelloRicontatti", "Data"),
                                                         QT_TRANSLATE_NOOP("brenzola::ModelloRicontatti", "Cognome e nome"),
                                                         QT_TRANSLATE_NOOP("brenzola::ModelloRicontatti", "Telefono"),
                                                         QT_TRANSLATE_NOOP("brenzola::ModelloRicontatti", "Cellulare"),
                                                         QT_TRANSLATE_NOOP("brenzola::ModelloRicontatti", "Email"),
                                                         QT_TRANSLATE_NOOP("brenzola::ModelloRicontatti", "Commenti")};
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kColonne) return {};
        return QCoreApplication::translate("brenzola::ModelloRicontatti", titoli[section]);
    }
    QVariant data(const QModelIndex& indice, int role) const override
    {
        if (!indice.isValid()) return {};
        if (indice.internalId() == 0) {
            const Sezione& sezione = sezioni_[size_t(indice.row())];
            if (indice.column() != 0) return {};
            if (role == Qt::DisplayRole) return sezione.titolo;
            if (role == Qt::FontRole) return grassetto();
            if (role == Qt::ForegroundRole && sezione.scaduti) return QBrush(kScaduto);
            return {};
        }
        const Sezione& sezione = sezioni_[indice.internalId() - 1];
        const qsizetype riga = indice.row();
        switch (role) {
        case Qt::DisplayRole: {
            static constexpr ElencoPromemoria::Testo testi[] = {ElencoPromemoria::Nome, ElencoPromemoria::Telefono,
                                                                ElencoPromemoria::Cell, ElencoPromemoria::Email,
                                                                ElencoPromemoria::Nota};
            if (indice.column() == 0) return comeData(sezione.elenco->data(riga));
            return sezione.elenco->testo(riga, testi[indice.column() - 1]);
        }
        case Qt::ForegroundRole:
            return sezione.scaduti ? QVariant(QBrush(kScaduto)) : QVariant();
        case kRuoloId:
            return sezione.elenco->id(riga);
        default:
            return {};
        }
    }

private:
    static constexpr int kColonne = 6;
    struct Sezione {
        QString titolo;
        const ElencoPromemoria* elenco;  // none for the row that says there is nobody to call
        bool scaduti;
    };
    std::shared_ptr<const Agenda> agenda_;
    std::vector<Sezione> sezioni_;  // pointing into agenda_
};

// The birthdays of the week, or a row that says there are none.
class ModelloCompleanni final : public QAbstractTableModel {
public:
    explicit ModelloCompleanni(QObject* parent) : QAbstractTableModel(parent) {}

    void mostra(std::shared_ptr<const Agenda> agenda)
    {
        beginResetModel();
        agenda_ = std::move(agenda);
        endResetModel();
    }

    QModelIndex indice(qint64 id) const
    {
        if (!agenda_) return {};
        const auto& compleanni = agenda_->compleanni;
        const auto trovato = std::find_if(compleanni.begin(), compleanni.end(), [id](const Compleanno& c) { return c.id == id; });
        return trovato == compleanni.end() ? QModelIndex() : index(int(trovato - compleanni.begin()), 0);
    }

    int rowCount(const QModelIndex& parent) const override
    {
        return parent.isValid() || !agenda_ ? 0 : std::max(1, int(agenda_->compleanni.size()));
    }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : kColonne; }
    Qt::ItemFlags flags(const QModelIndex& indice) const override
    {
        if (!indice.isValid()) return {};
        if (nessuno()) return Qt::ItemIsEnabled;
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        static constexpr const char* titoli[kColonne] = {QT_TRANSLATE_NOOP("brenzola::ModelloCompleanni", "Giorno"),
                                                         QT_TRANSLATE_NOOP("brenzola::ModelloCompleanni", "Cognome e nome"),
                                                         QT_TRANSLATE_NOOP("brenzola::ModelloCompleanni", "Compie"),
                                                         QT_TRANSLATE_NOOP("brenzola::ModelloCompleanni", "Telefono"),
                                                         QT_TRANSLATE_NOOP("brenzola::ModelloCompleanni", "Cellulare"),
                                                         QT_TRANSLATE_NOOP("brenzola::ModelloCompleanni", "Email")};
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kColonne) return {};
        return QCoreApplication::translate("brenzola::ModelloCompleanni", titoli[section]);
    }
    QVariant data(const QModelIndex& indice, int role) const override
    {
        if (!indice.isValid() || !agenda_) return {};
        if (nessuno()) {
            if (indice.column() != 0) return {};
            if (role == Qt::DisplayRole)
                return QCoreApplication::translate("brenzola::ModelloCompleanni", "Nessun compleanno nei prossimi %1 giorni.")
                    .arg(kGiorniCompleanni);
            if (role == Qt::FontRole) return grassetto();
            return {};
        }
        const Compleanno& c = agenda_->compleanni[size_t(indice.row())];
        if (role == kRuoloId) return c.id;
        if (role != Qt::DisplayRole) return {};
        switch (indice.column()) {
        case 0:
            return c.giorno == agenda_->oggi ? QCoreApplication::translate("brenzola::ModelloCompleanni", "oggi")
                                             : Funzioni::LocaleMostrata().toString(c.giorno, u"dddd d MMMM");
        case 1:
            return c.nome;
        case 2:
            return c.anni > 0 ? QCoreApplication::translate("brenzola::ModelloCompleanni", "%1 anni").arg(c.anni) : QString();
        case 3:
            return c.telefono;
        case 4:
            return c.cell;
        default:
            return c.email;
        }
    }

private:
    static constexpr int kColonne = 6;
    bool nessuno() const { return agenda_->compleanni.empty(); }
    std::shared_ptr<const Agenda> agenda_;
};

FrmAgenda::FrmAgenda(Dialogs& dialogs, QWidget* parent, Oggi oggi)
    : QDialog(parent),
      dialogs_(dialogs),
      oggi_(std::move(oggi)),
      agenda_(std::make_shared<const Agenda>())
{
    setObjectName(QStringLiteral("FrmAgenda"));
    setWindowTitle(tr("Da ricontattare"));
    setWindowFlag(Qt::WindowMinMaxButtonsHint);
    resize(920, 600);
    auto* layout = new QVBoxLayout(this);

    auto* orizzonte = new QHBoxLayout;
    auto* etichettaGiorni = new QLabel(tr("Scaduti, oggi e i prossimi"), this);
    orizzonte->addWidget(etichettaGiorni);
    SpnGiorni = new QSpinBox(this);
    etichettaGiorni->setBuddy(SpnGiorni);
    SpnGiorni->setAccessibleDescription(tr("Quanti giorni avanti guarda l'agenda"));
    SpnGiorni->setObjectName(QStringLiteral("SpnGiorni"));
    SpnGiorni->setRange(1, 365);
    SpnGiorni->setValue(Giorni());
    orizzonte->addWidget(SpnGiorni);
    orizzonte->addWidget(new QLabel(tr("giorni"), this));
    orizzonte->addStretch();
    layout->addLayout(orizzonte);

    ricontatti_ = new ModelloRicontatti(this);
    compleanni_ = new ModelloCompleanni(this);
    GrigliaRicontatti = new GrigliaAgenda(this, "GrigliaRicontatti", ricontatti_);
    layout->addWidget(GrigliaRicontatti, 3);
    auto* etichettaCompleanni = new QLabel(tr("Compleanni della settimana"), this);
    layout->addWidget(etichettaCompleanni);
    GrigliaCompleanni = new GrigliaAgenda(this, "GrigliaCompleanni", compleanni_);
    etichettaCompleanni->setBuddy(GrigliaCompleanni);
    layout->addWidget(GrigliaCompleanni, 1);

    ChkAvvio = new QCheckBox(tr("Apri all'avvio quando ci sono contatti da ricontattare"), this);
    ChkAvvio->setObjectName(QStringLiteral("ChkAvvio"));
    ChkAvvio->setChecked(AllAvvio());
    ChkAvvio->setAccessibleDescription(tr("Tolta la spunta, l'agenda si apre solo dal pulsante Agenda (Ctrl+G)"));
    layout->addWidget(ChkAvvio);

    auto* pulsanti = new FilaPulsanti;
    CmdApri = pulsanti->aggiungi("CmdApri", tr("&Apri contatto"));
    CmdFatto = pulsanti->aggiungi("CmdFatto", tr("&Fatto"));
    pulsanti->addStretch();
    CmdStampa = pulsanti->aggiungi("CmdStampa", tr("S&tampa..."));
    CmdCalendario = pulsanti->aggiungi("CmdCalendario", tr("&Esporta calendario..."));
    CmdChiudi = pulsanti->aggiungi("CmdChiudi", tr("&Chiudi"));
    layout->addLayout(pulsanti);
    CmdApri->setDefault(true);  // Enter opens the chosen contact
    // The list the window is named after.
    GrigliaRicontatti->setAccessibleName(windowTitle());
    GrigliaRicontatti->setAccessibleDescription(
        tr("I contatti da chiamare, scaduti, di oggi e dei prossimi giorni, con telefoni, e-mail e commenti; "
           "Invio apre quello scelto"));
    GrigliaCompleanni->setAccessibleDescription(tr("Giorno, nome, età compiuta e recapiti; Invio apre quello scelto"));
    nameForScreenReaders(this);

    // Fatto: the next date to call, or none.
    auto* menu = new QMenu(CmdFatto);
    const auto voce = [&](const char* nome, const QString& testo, std::function<void()> azione) {
        QAction* a = menu->addAction(testo, this, std::move(azione));
        a->setObjectName(QLatin1String(nome));
    };
    voce("FattoSettimana", tr("Ricontattare fra una settimana"), [this] { fatto(oggi_().addDays(7)); });
    voce("FattoMese", tr("Ricontattare fra un mese"), [this] { fatto(oggi_().addMonths(1)); });
    voce("FattoData", tr("Ricontattare in una data..."), [this] { scegliData(); });
    voce("FattoNessuna", tr("Nessuna data"), [this] { fatto({}); });
    CmdFatto->setMenu(menu);

    connect(CmdApri, &QPushButton::clicked, this, &FrmAgenda::apriScelto);
    connect(CmdStampa, &QPushButton::clicked, this, &FrmAgenda::stampa);
    connect(CmdCalendario, &QPushButton::clicked, this, &FrmAgenda::esportaCalendario);
    connect(CmdChiudi, &QPushButton::clicked, this, &QDialog::close);
    for (QTreeView* g : {GrigliaRicontatti, GrigliaCompleanni}) {
        // A double-click opens the entry; Enter presses Apri, the default button.
        connect(g, &QTreeView::doubleClicked, this, [this](const QModelIndex& indice) {
            if (indice.data(kRuoloId).isValid()) apriScelto();
        });
        // One entry chosen at a time, in either list. Chosen is selected: Tab passing
        // through a list (which moves its cursor, selecting nothing) leaves the choice alone.
        connect(g->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this, g] {
            if (g->selectionModel()->hasSelection())
                (g == GrigliaRicontatti ? GrigliaCompleanni : GrigliaRicontatti)->clearSelection();
            aggiornaPulsanti();
        });
    }
    connect(SpnGiorni, &QSpinBox::valueChanged, this, [this](int giorni) {
        impostazioni().setValue(kGiorni, giorni);
        Aggiorna();
    });
    connect(ChkAvvio, &QCheckBox::toggled, this, [](bool si) { impostazioni().setValue(kAllAvvio, si); });

    // At midnight today becomes yesterday: what was due becomes overdue.
    mezzanotte_ = new QTimer(this);
    mezzanotte_->setSingleShot(true);
    connect(mezzanotte_, &QTimer::timeout, this, &FrmAgenda::Segui);
    Aggiorna();
    GrigliaRicontatti->setFocus();
}

bool FrmAgenda::AllAvvio() { return impostazioni().value(kAllAvvio, true).toBool(); }

int FrmAgenda::Giorni() { return std::clamp(impostazioni().value(kGiorni, 7).toInt(), 1, 365); }

bool FrmAgenda::event(QEvent* e)
{
    // Back in the agenda after working elsewhere (in Brenzola or another program): read it
    // again. Not when it has just been read, as when it opens.
    if (e->type() == QEvent::WindowDeactivate) daRileggere_ = true;
    if (e->type() == QEvent::WindowActivate && isVisible() && daRileggere_) QTimer::singleShot(0, this, &FrmAgenda::Aggiorna);
    return QDialog::event(e);
}

void FrmAgenda::Segui()
{
    if (isVisible()) Aggiorna();
}

void FrmAgenda::Aggiorna()
{
    daRileggere_ = false;
    const qint64 scelto = IdScelto();
    Agenda nuova;
    bool intera = true;
    try {
        Connection& connessione = openConnection(Funzioni::Connessione());
        const Lettura lettura{connessione.name(), oggi_(), SpnGiorni->value()};
        if (lettura != letta_) cursore_.azzera();
        // Taken before reading: a change made meanwhile is read next time.
        const std::optional<std::vector<qint64>> cambiati = cursore_.cambiamenti(connessione);
        if (cambiati && cambiati->empty()) {
            puntaAMezzanotte();
            return;  // nothing changed: what is on screen is still right
        }
        intera = !cambiati;
        if (cambiati) nuova = *agenda_;
        if (!cambiati || !AggiornaAgenda(connessione, nuova, *cambiati)) {
            nuova = LeggiAgenda(connessione, lettura.oggi, lettura.giorni);
            intera = true;
        }
        letta_ = lettura;
    } catch (...) {
        letta_.reset();
        MostraErrore(dialogs_, this, tr("Impossibile leggere i contatti da ricontattare."));
        return;
    }
    riempi(std::move(nuova), intera);
    Scegli(scelto);
    // Otherwise the first to call, so that Enter and Fatto work straight away.
    if (IdScelto() == 0)
        if (const QModelIndex primo = ricontatti_->index(0, 0, ricontatti_->index(0, 0, {})); primo.isValid())
            GrigliaRicontatti->setCurrentIndex(primo);
    puntaAMezzanotte();
}

void FrmAgenda::puntaAMezzanotte()
{
    const QDateTime adesso = QDateTime::currentDateTime();
    const qint64 mancano = adesso.msecsTo(QDateTime(adesso.date().addDays(1), QTime(0, 0)));
    mezzanotte_->start(int(std::clamp<qint64>(mancano + 1000, 1000, 24 * 3600 * 1000)));
}

void FrmAgenda::riempi(Agenda&& agenda, bool intera)
{
    agenda_ = std::make_shared<const Agenda>(std::move(agenda));
    ricontatti_->mostra(agenda_);
    compleanni_->mostra(agenda_);
    // A few rows changed keep the columns as they were: the user may have widened them.
    for (QTreeView* g : {GrigliaRicontatti, GrigliaCompleanni}) static_cast<GrigliaAgenda*>(g)->mostraSezioni(intera);
    aggiornaPulsanti();
}

namespace {

// The entry chosen in a list: its selected row.
QModelIndex sceltaIn(const QTreeView* griglia)
{
    const QModelIndexList righe = griglia->selectionModel()->selectedRows();
    return righe.isEmpty() ? QModelIndex() : righe.front();
}

}  // namespace

qint64 FrmAgenda::IdScelto() const
{
    for (const QTreeView* g : {GrigliaRicontatti, GrigliaCompleanni})
        if (const QVariant id = sceltaIn(g).data(kRuoloId); id.isValid()) return id.toLongLong();
    return 0;
}

void FrmAgenda::Scegli(qint64 id)
{
    if (id == 0) return;
    if (const QModelIndex indice = ricontatti_->indice(id); indice.isValid())
        GrigliaRicontatti->setCurrentIndex(indice);
    else if (const QModelIndex compleanno = compleanni_->indice(id); compleanno.isValid())
        GrigliaCompleanni->setCurrentIndex(compleanno);
}

std::optional<Promemoria> FrmAgenda::promemoriaScelto() const { return ricontatti_->promemoria(sceltaIn(GrigliaRicontatti)); }

void FrmAgenda::aggiornaPulsanti()
{
    CmdApri->setEnabled(IdScelto() != 0);
    CmdFatto->setEnabled(sceltaIn(GrigliaRicontatti).data(kRuoloId).isValid());  // a birthday has nothing to do
}

void FrmAgenda::apriScelto()
{
    if (const qint64 id = IdScelto()) Q_EMIT apri(id);
}

void FrmAgenda::fatto(const QDate& prossima)
{
    const std::optional<Promemoria> scelto = promemoriaScelto();
    if (!scelto) return;
    const Promemoria& promemoria = *scelto;
    try {
        Ricontatta(openConnection(Funzioni::Connessione()), promemoria, prossima);
    } catch (...) {
        const StoreError errore = ErroreCorrente();
        const bool cambiato = errore.number() == StoreErrorNumber::RowChanged || errore.number() == StoreErrorNumber::RowNotFound;
        MostraErrore(dialogs_, this, errore,
                     cambiato ? tr("Non è stato scritto nulla: l'agenda mostra ora i contatti come sono.")
                              : tr("Impossibile scrivere la prossima data di «%1».").arg(promemoria.nome.trimmed()));
        Aggiorna();
        return;
    }
    Q_EMIT contattoCambiato(promemoria.id);
    Aggiorna();
}

void FrmAgenda::scegliData()
{
    if (!promemoriaScelto()) return;
    FrmProssimaData finestra(dialogs_, oggi_().addDays(7), this);
    dialogs_.ShowModal(finestra);
    if (finestra.result() == QDialog::Accepted) fatto(finestra.scelta());
}

void FrmAgenda::stampa()
{
    MemoryTable righe(agendaShapeCommand());
    const auto aggiungi = [&righe](const QDate& giorno, const QString& stato, const QString& nome, const QString& telefono,
                                   const QString& cell, const QString& email, const QString& nota) {
        righe.AddNew();
        for (const auto& [colonna, valore] : {std::pair{"data", comeData(giorno)},
                                              {"stato", stato},
                                              {"nome", nome},
                                              {"telefono", telefono},
                                              {"cell", cell},
                                              {"email", email},
                                              {"nota", nota}})
            righe.SetField(QLatin1String(colonna), valore);
        righe.Update();
    };
    for (const Promemoria& p : agenda_->scaduti) aggiungi(p.data, tr("Scaduto"), p.nome, p.telefono, p.cell, p.email, p.nota);
    for (const Promemoria& p : agenda_->diOggi) aggiungi(p.data, tr("Oggi"), p.nome, p.telefono, p.cell, p.email, p.nota);
    for (const Promemoria& p : agenda_->prossimi) aggiungi(p.data, QString(), p.nome, p.telefono, p.cell, p.email, p.nota);
    for (const Compleanno& c : agenda_->compleanni)
        aggiungi(c.giorno, tr("Compleanno"), c.nome, c.telefono, c.cell, c.email,
                 c.anni > 0 ? tr("Compie %1 anni (nato il %2)").arg(c.anni).arg(comeData(c.nascita))
                            : tr("Compleanno (l'anno di nascita non si sa)"));
    showReport(layoutStAgenda(righe, agenda_->periodo(), currentPaper()), dialogs_, this);
}

void FrmAgenda::esportaCalendario()
{
    int filtro = 0;
    const QString file =
        dialogs_.ChooseSaveFile(this, tr("Esporta il calendario"), QDir::home().filePath(tr("Da ricontattare.ics")),
                                {tr("Calendario iCalendar (*.ics)")}, &filtro);
    if (file.isEmpty()) return;
    const QString nome = QFileInfo(file).suffix().isEmpty() ? file + QStringLiteral(".ics") : file;
    QSaveFile uscita(nome);
    if (!uscita.open(QIODevice::WriteOnly) || uscita.write(CalendarioAgenda(*agenda_, QDateTime::currentDateTime())) < 0
        || !uscita.commit()) {
        MostraErrore(dialogs_, this,
                     StoreError(StoreErrorNumber::PathFileAccess, QStringLiteral("%1.").arg(uscita.errorString())),
                     tr("Impossibile scrivere il calendario «%1».").arg(nome));
        return;
    }
    const qsizetype promemoria = qsizetype(agenda_->scaduti.size() + agenda_->diOggi.size() + agenda_->prossimi.size());
    dialogs_.MsgBox(this, {tr("Calendario scritto in «%1»: %2 da ricontattare e %3 compleanni.")
                               .arg(nome)
                               .arg(promemoria)
                               .arg(agenda_->compleanni.size()),
                           MsgButtons::Ok, MsgIcon::Information});
}

}  // namespace brenzola
