#include "frmagenda.h"

#include "calendarfield.h"
#include "calendario.h"
#include "dialogs.h"
#include "funzioni.h"
#include "memorytable.h"
#include "stampa.h"
#include "storeerror.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSaveFile>
#include <QSettings>
#include <QSpinBox>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace brenzola {
namespace {

const QString kAllAvvio = QStringLiteral("agenda/allAvvio");
const QString kGiorni = QStringLiteral("agenda/giorni");
const QColor kScaduto(0xb0, 0x00, 0x20);
constexpr int kRuoloId = Qt::UserRole;

QSettings impostazioni() { return QSettings(Funzioni::FileImpostazioni(), QSettings::IniFormat); }

QString comeData(const QDate& giorno) { return giorno.toString(QLatin1String(Funzioni::kFormatoData)); }

// Asks for the next date to call; the week after today to start with.
class FrmProssimaData : public QDialog {
public:
    FrmProssimaData(Dialogs& dialogs, const QDate& proposta, QWidget* parent) : QDialog(parent), dialogs_(dialogs)
    {
        setObjectName(QStringLiteral("FrmProssimaData"));
        setWindowTitle(QStringLiteral("Ricontattare il"));
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(new QLabel(QStringLiteral("Data in cui ricontattare:"), this));
        DtProssima = new CalendarField(this);
        DtProssima->setObjectName(QStringLiteral("DtProssima"));
        DtProssima->setAccessibleName(QStringLiteral("Data in cui ricontattare"));
        DtProssima->setValue(proposta);
        layout->addWidget(DtProssima);
        auto* pulsanti = new QDialogButtonBox(this);
        QPushButton* ok = pulsanti->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
        ok->setObjectName(QStringLiteral("CmdOk"));
        pulsanti->addButton(QStringLiteral("Annulla"), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("CmdAnnulla"));
        layout->addWidget(pulsanti);
        connect(pulsanti, &QDialogButtonBox::accepted, this, [this] {
            if (!datesAreValid(this, dialogs_)) return;
            if (DtProssima->value().typeId() != QMetaType::QDate) {
                dialogs_.MsgBox(this, {QStringLiteral("Scrivere la data, oppure scegliere «Nessuna data»."), MsgButtons::Ok,
                                       MsgIcon::Information});
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

QTreeWidgetItem* riga(QTreeWidgetItem* sezione, qint64 id, const QStringList& testi)
{
    auto* item = new QTreeWidgetItem(sezione, testi);
    item->setData(0, kRuoloId, id);
    return item;
}

QTreeWidgetItem* sezione(QTreeWidget* griglia, const QString& titolo)
{
    auto* item = new QTreeWidgetItem(griglia, {titolo});
    item->setFirstColumnSpanned(true);
    item->setFlags(Qt::ItemIsEnabled);
    QFont grassetto = item->font(0);
    grassetto.setBold(true);
    item->setFont(0, grassetto);
    item->setExpanded(true);
    return item;
}

QTreeWidget* griglia(QWidget* parent, const char* nome, const QStringList& intestazioni)
{
    auto* g = new QTreeWidget(parent);
    g->setObjectName(QLatin1String(nome));
    g->setHeaderLabels(intestazioni);
    g->setRootIsDecorated(false);
    g->setIndentation(0);
    g->setUniformRowHeights(true);
    g->setAllColumnsShowFocus(true);
    g->header()->setStretchLastSection(true);
    g->header()->setResizeContentsPrecision(200);  // columns sized from the first rows: thousands would cost a wait
    return g;
}

}  // namespace

FrmAgenda::FrmAgenda(Dialogs& dialogs, QWidget* parent, Oggi oggi) : QDialog(parent), dialogs_(dialogs), oggi_(std::move(oggi))
{
    setObjectName(QStringLiteral("FrmAgenda"));
    setWindowTitle(QStringLiteral("Da ricontattare"));
    setWindowFlag(Qt::WindowMinMaxButtonsHint);
    resize(920, 600);
    auto* layout = new QVBoxLayout(this);

    auto* orizzonte = new QHBoxLayout;
    orizzonte->addWidget(new QLabel(QStringLiteral("Scaduti, oggi e i prossimi"), this));
    SpnGiorni = new QSpinBox(this);
    SpnGiorni->setObjectName(QStringLiteral("SpnGiorni"));
    SpnGiorni->setRange(1, 365);
    SpnGiorni->setValue(Giorni());
    orizzonte->addWidget(SpnGiorni);
    orizzonte->addWidget(new QLabel(QStringLiteral("giorni"), this));
    orizzonte->addStretch();
    layout->addLayout(orizzonte);

    GrigliaRicontatti = griglia(this, "GrigliaRicontatti",
                                {QStringLiteral("Data"), QStringLiteral("Cognome e nome"), QStringLiteral("Telefono"),
                                 QStringLiteral("Cellulare"), QStringLiteral("Email"), QStringLiteral("Commenti")});
    layout->addWidget(GrigliaRicontatti, 3);
    layout->addWidget(new QLabel(QStringLiteral("Compleanni della settimana"), this));
    GrigliaCompleanni = griglia(this, "GrigliaCompleanni",
                                {QStringLiteral("Giorno"), QStringLiteral("Cognome e nome"), QStringLiteral("Compie"),
                                 QStringLiteral("Telefono"), QStringLiteral("Cellulare"), QStringLiteral("Email")});
    layout->addWidget(GrigliaCompleanni, 1);

    ChkAvvio = new QCheckBox(QStringLiteral("Apri all'avvio quando ci sono contatti da ricontattare"), this);
    ChkAvvio->setObjectName(QStringLiteral("ChkAvvio"));
    ChkAvvio->setChecked(AllAvvio());
    layout->addWidget(ChkAvvio);

    auto* pulsanti = new QHBoxLayout;
    const auto pulsante = [&](const char* nome, const QString& testo) {
        auto* p = new QPushButton(testo, this);
        p->setObjectName(QLatin1String(nome));
        pulsanti->addWidget(p);
        return p;
    };
    CmdApri = pulsante("CmdApri", QStringLiteral("Apri contatto"));
    CmdFatto = pulsante("CmdFatto", QStringLiteral("Fatto"));
    pulsanti->addStretch();
    CmdStampa = pulsante("CmdStampa", QStringLiteral("Stampa..."));
    CmdCalendario = pulsante("CmdCalendario", QStringLiteral("Esporta calendario..."));
    CmdChiudi = pulsante("CmdChiudi", QStringLiteral("Chiudi"));
    layout->addLayout(pulsanti);
    CmdApri->setDefault(true);  // Enter opens the chosen contact

    // Fatto: the next date to call, or none.
    auto* menu = new QMenu(CmdFatto);
    const auto voce = [&](const char* nome, const QString& testo, std::function<void()> azione) {
        QAction* a = menu->addAction(testo, this, std::move(azione));
        a->setObjectName(QLatin1String(nome));
    };
    voce("FattoSettimana", QStringLiteral("Ricontattare fra una settimana"), [this] { fatto(oggi_().addDays(7)); });
    voce("FattoMese", QStringLiteral("Ricontattare fra un mese"), [this] { fatto(oggi_().addMonths(1)); });
    voce("FattoData", QStringLiteral("Ricontattare in una data..."), [this] { scegliData(); });
    voce("FattoNessuna", QStringLiteral("Nessuna data"), [this] { fatto({}); });
    CmdFatto->setMenu(menu);

    connect(CmdApri, &QPushButton::clicked, this, &FrmAgenda::apriScelto);
    connect(CmdStampa, &QPushButton::clicked, this, &FrmAgenda::stampa);
    connect(CmdCalendario, &QPushButton::clicked, this, &FrmAgenda::esportaCalendario);
    connect(CmdChiudi, &QPushButton::clicked, this, &QDialog::close);
    for (QTreeWidget* g : {GrigliaRicontatti, GrigliaCompleanni}) {
        // A double-click opens the entry; Enter presses Apri, the default button.
        connect(g, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
            if (item->data(0, kRuoloId).isValid()) apriScelto();
        });
        connect(g, &QTreeWidget::currentItemChanged, this, [this, g](QTreeWidgetItem* item) {
            // One entry chosen at a time, in either list.
            if (item) (g == GrigliaRicontatti ? GrigliaCompleanni : GrigliaRicontatti)->setCurrentItem(nullptr);
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
    connect(mezzanotte_, &QTimer::timeout, this, &FrmAgenda::Aggiorna);
    Aggiorna();
    GrigliaRicontatti->setFocus();
}

bool FrmAgenda::AllAvvio() { return impostazioni().value(kAllAvvio, true).toBool(); }

int FrmAgenda::Giorni() { return std::clamp(impostazioni().value(kGiorni, 7).toInt(), 1, 365); }

bool FrmAgenda::event(QEvent* e)
{
    // Back in the agenda after working elsewhere (in Brenzola or another program): read it again.
    if (e->type() == QEvent::WindowActivate && isVisible()) QTimer::singleShot(0, this, &FrmAgenda::Aggiorna);
    return QDialog::event(e);
}

void FrmAgenda::Aggiorna()
{
    const qint64 scelto = IdScelto();
    try {
        agenda_ = LeggiAgenda(openConnection(Funzioni::Connessione.get()), oggi_(), SpnGiorni->value());
    } catch (const StoreError& errore) {
        MostraErrore(dialogs_, this, errore, QStringLiteral("Impossibile leggere i contatti da ricontattare."));
        return;
    }
    riempi();
    Scegli(scelto);
    // Otherwise the first to call, so that Enter and Fatto work straight away.
    if (IdScelto() == 0)
        if (QTreeWidgetItem* sezione = GrigliaRicontatti->topLevelItem(0); sezione && sezione->childCount() > 0)
            GrigliaRicontatti->setCurrentItem(sezione->child(0));
    puntaAMezzanotte();
}

void FrmAgenda::puntaAMezzanotte()
{
    const QDateTime adesso = QDateTime::currentDateTime();
    const qint64 mancano = adesso.msecsTo(QDateTime(adesso.date().addDays(1), QTime(0, 0)));
    mezzanotte_->start(int(std::clamp<qint64>(mancano + 1000, 1000, 24 * 3600 * 1000)));
}

void FrmAgenda::riempi()
{
    const QSignalBlocker quieti(GrigliaRicontatti);
    const QSignalBlocker quieti2(GrigliaCompleanni);
    GrigliaRicontatti->clear();
    GrigliaCompleanni->clear();
    const auto elenca = [this](const std::vector<Promemoria>& voci, const QString& titolo, bool scaduti) {
        if (voci.empty()) return;
        QTreeWidgetItem* s = sezione(GrigliaRicontatti, QStringLiteral("%1 (%2)").arg(titolo).arg(voci.size()));
        if (scaduti) s->setForeground(0, kScaduto);
        for (const Promemoria& p : voci) {
            QTreeWidgetItem* item = riga(s, p.id, {comeData(p.data), p.nome, p.telefono, p.cell, p.email, p.nota});
            if (scaduti)
                for (int c = 0; c < item->columnCount(); ++c) item->setForeground(c, kScaduto);
        }
    };
    elenca(agenda_.scaduti, QStringLiteral("Scaduti"), true);
    elenca(agenda_.diOggi, QStringLiteral("Oggi"), false);
    elenca(agenda_.prossimi, agenda_.giorni == 1 ? QStringLiteral("Domani") : QStringLiteral("Prossimi %1 giorni").arg(agenda_.giorni),
           false);
    if (GrigliaRicontatti->topLevelItemCount() == 0) sezione(GrigliaRicontatti, QStringLiteral("Nessun contatto da ricontattare."));
    for (const Compleanno& c : agenda_.compleanni) {
        const QString giorno = c.giorno == agenda_.oggi ? QStringLiteral("oggi") : QLocale(QLocale::Italian).toString(c.giorno, u"dddd d MMMM");
        auto* item = new QTreeWidgetItem(GrigliaCompleanni, {giorno, c.nome, QStringLiteral("%1 anni").arg(c.anni), c.telefono, c.cell, c.email});
        item->setData(0, kRuoloId, c.id);
    }
    if (agenda_.compleanni.empty()) sezione(GrigliaCompleanni, QStringLiteral("Nessun compleanno nei prossimi %1 giorni.").arg(kGiorniCompleanni));
    for (QTreeWidget* g : {GrigliaRicontatti, GrigliaCompleanni})
        for (int c = 0; c + 1 < g->columnCount(); ++c) g->resizeColumnToContents(c);
    aggiornaPulsanti();
}

qint64 FrmAgenda::IdScelto() const
{
    for (const QTreeWidget* g : {GrigliaRicontatti, GrigliaCompleanni})
        if (const QTreeWidgetItem* item = g->currentItem(); item && item->data(0, kRuoloId).isValid())
            return item->data(0, kRuoloId).toLongLong();
    return 0;
}

void FrmAgenda::Scegli(qint64 id)
{
    if (id == 0) return;
    for (QTreeWidget* g : {GrigliaRicontatti, GrigliaCompleanni}) {
        for (QTreeWidgetItemIterator it(g); *it; ++it) {
            if ((*it)->data(0, kRuoloId).toLongLong() == id) {
                g->setCurrentItem(*it);
                return;
            }
        }
    }
}

const Promemoria* FrmAgenda::promemoriaScelto() const
{
    const QTreeWidgetItem* item = GrigliaRicontatti->currentItem();
    if (!item || !item->data(0, kRuoloId).isValid()) return nullptr;
    const qint64 id = item->data(0, kRuoloId).toLongLong();
    for (const auto* sezione : {&agenda_.scaduti, &agenda_.diOggi, &agenda_.prossimi})
        for (const Promemoria& p : *sezione)
            if (p.id == id) return &p;
    return nullptr;
}

void FrmAgenda::aggiornaPulsanti()
{
    CmdApri->setEnabled(IdScelto() != 0);
    CmdFatto->setEnabled(promemoriaScelto() != nullptr);  // a birthday has nothing to do
}

void FrmAgenda::apriScelto()
{
    if (const qint64 id = IdScelto()) Q_EMIT apri(id);
}

void FrmAgenda::fatto(const QDate& prossima)
{
    const Promemoria* p = promemoriaScelto();
    if (!p) return;
    const Promemoria promemoria = *p;
    try {
        Ricontatta(openConnection(Funzioni::Connessione.get()), promemoria, prossima);
    } catch (const StoreError& errore) {
        const bool cambiato = errore.number() == StoreErrorNumber::RowChanged || errore.number() == StoreErrorNumber::RowNotFound;
        MostraErrore(dialogs_, this, errore,
                     cambiato ? QStringLiteral("Non è stato scritto nulla: l'agenda mostra ora i contatti come sono.")
                              : QStringLiteral("Impossibile scrivere la prossima data di «%1».").arg(promemoria.nome.trimmed()));
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
        for (const auto& [colonna, valore] : {std::pair{"data", comeData(giorno)}, {"stato", stato}, {"nome", nome},
                                               {"telefono", telefono}, {"cell", cell}, {"email", email}, {"nota", nota}})
            righe.SetField(QLatin1String(colonna), valore);
        righe.Update();
    };
    for (const Promemoria& p : agenda_.scaduti) aggiungi(p.data, QStringLiteral("Scaduto"), p.nome, p.telefono, p.cell, p.email, p.nota);
    for (const Promemoria& p : agenda_.diOggi) aggiungi(p.data, QStringLiteral("Oggi"), p.nome, p.telefono, p.cell, p.email, p.nota);
    for (const Promemoria& p : agenda_.prossimi) aggiungi(p.data, QString(), p.nome, p.telefono, p.cell, p.email, p.nota);
    for (const Compleanno& c : agenda_.compleanni)
        aggiungi(c.giorno, QStringLiteral("Compleanno"), c.nome, c.telefono, c.cell, c.email,
                 QStringLiteral("Compie %1 anni (nato il %2)").arg(c.anni).arg(comeData(c.nascita)));
    showReport(layoutStAgenda(righe, agenda_.periodo(), currentPaper()), dialogs_, this);
}

void FrmAgenda::esportaCalendario()
{
    int filtro = 0;
    const QString file = dialogs_.ChooseSaveFile(this, QStringLiteral("Esporta il calendario"),
                                                 QDir::home().filePath(QStringLiteral("Da ricontattare.ics")),
                                                 {QStringLiteral("Calendario iCalendar (*.ics)")}, &filtro);
    if (file.isEmpty()) return;
    const QString nome = QFileInfo(file).suffix().isEmpty() ? file + QStringLiteral(".ics") : file;
    QSaveFile uscita(nome);
    if (!uscita.open(QIODevice::WriteOnly) || uscita.write(CalendarioAgenda(agenda_, QDateTime::currentDateTime())) < 0
        || !uscita.commit()) {
        MostraErrore(dialogs_, this,
                     StoreError(StoreErrorNumber::PathFileAccess, QStringLiteral("%1.").arg(uscita.errorString())),
                     QStringLiteral("Impossibile scrivere il calendario «%1».").arg(nome));
        return;
    }
    const qsizetype promemoria = qsizetype(agenda_.scaduti.size() + agenda_.diOggi.size() + agenda_.prossimi.size());
    dialogs_.MsgBox(this, {QStringLiteral("Calendario scritto in «%1»: %2 da ricontattare e %3 compleanni.")
                               .arg(nome)
                               .arg(promemoria)
                               .arg(agenda_.compleanni.size()),
                           MsgButtons::Ok, MsgIcon::Information});
}

}  // namespace brenzola
