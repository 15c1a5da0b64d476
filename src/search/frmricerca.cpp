#include "search/frmricerca.h"

#include "store/funzioni.h"
#include "widgets/accessibility.h"
#include "widgets/calendarfield.h"
#include "widgets/screenfit.h"
#include "widgets/twips.h"

#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTextEdit>

namespace brenzola {

using namespace Funzioni;

namespace {

QFont carattere(const char* family)
{
    QFont font{QLatin1String(family)};
    font.setPointSizeF(9.75);
    return font;
}

}  // namespace

FrmRicerca::FrmRicerca(Dialogs& dialogs, QWidget* parent, Registro& registro)
    : QDialog(parent),
      dialogs_(dialogs),
      registro_(registro)
{
    setObjectName(QStringLiteral("FrmRicerca"));
    setWindowTitle(tr("Compilare i campi di ricerca che si conoscono:"));
    setWindowIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(carattere("MS Sans Serif"));
    // Its designed size at most; smaller only where the screen is.
    const QSize designed(twips(this, 10350), twips(this, 6645));
    resize(designed);
    setMaximumSize(designed);
    page_ = addDesignedPage(this, designed);
    keepOnScreen(this);

    // Created in tab order.
    TxtCognome = addTextBox("TxtCognome", 1920, 120, 8295, 250);
    TxtNome = addTextBox("TxtNome", 1920, 600, 8295, 250);
    DtInizioDa = addDateField("DtInizioDa", QT_TRANSLATE_NOOP("brenzola::FrmRicerca", "Da data"), 1920, 1080);
    DtInizioA = addDateField("DtInizioA", QT_TRANSLATE_NOOP("brenzola::FrmRicerca", "A data"), 8040, 1080);
    DtInizioDa->setFont(carattere("Verdana"));
    DtInizioA->setFont(carattere("Verdana"));
    TxtTipoRef = addTextBox("TxtTipoRef", 1920, 1560, 4935, 250);
    TxtCitta = addTextBox("TxtCitta", 1920, 2040, 6135, 250);
    TxtProv = addTextBox("TxtProv", 9000, 2040, 1215, 5);
    TxtIndirizzo = addTextBox("TxtIndirizzo", 1920, 2520, 6135, 250);
    TxtCap = addTextBox("TxtCap", 9000, 2520, 1215, 5);
    TxtEmail = addTextBox("TxtEmail", 1920, 3000, 8295, 250);
    TxtTelefono = addTextBox("TxtTelefono", 1920, 3480, 3615, 250);
    TxtCell = addTextBox("TxtCell", 6600, 3480, 3615, 250);
    DtNascDa = addDateField("DtNascDa", QT_TRANSLATE_NOOP("brenzola::FrmRicerca", "Da data Nasc."), 1920, 3960);
    DtNascA = addDateField("DtNascA", QT_TRANSLATE_NOOP("brenzola::FrmRicerca", "A data Nasc."), 6600, 3960);
    DtDataRicontattareDa =
        addDateField("DtDataRicontattareDa", QT_TRANSLATE_NOOP("brenzola::FrmRicerca", "Da data ricontattare"), 1920, 4440);
    DtDataRicontattareA =
        addDateField("DtDataRicontattareA", QT_TRANSLATE_NOOP("brenzola::FrmRicerca", "A data ricontattare"), 6600, 4440);
    Txtfonte = addTextBox("Txtfonte", 1920, 5040, 3615, 250);
    TxtCommenti = new QTextEdit(page_);
    TxtCommenti->setObjectName(QStringLiteral("TxtCommenti"));
    TxtCommenti->setTabChangesFocus(true);
    placeInTwips(TxtCommenti, 1920, 5520, 8295, 375);

    CmdCerca = new QPushButton(style()->standardIcon(QStyle::SP_DialogApplyButton), tr("Ricerca"), page_);
    CmdCerca->setObjectName(QStringLiteral("CmdCerca"));
    CmdCerca->setDefault(true);
    placeInTwips(CmdCerca, 6720, 6000, 1695, 615);
    CmdSalva = new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), tr("Esci"), page_);
    CmdSalva->setObjectName(QStringLiteral("CmdSalva"));
    CmdSalva->setAutoDefault(false);
    placeInTwips(CmdSalva, 8520, 6000, 1695, 615);
    addLabels();

    QWidget* previous = nullptr;
    for (QWidget* control : std::initializer_list<QWidget*>{TxtCognome,
                                                            TxtNome,
                                                            DtInizioDa,
                                                            DtInizioA,
                                                            TxtTipoRef,
                                                            TxtCitta,
                                                            TxtProv,
                                                            TxtIndirizzo,
                                                            TxtCap,
                                                            TxtEmail,
                                                            TxtTelefono,
                                                            TxtCell,
                                                            DtNascDa,
                                                            DtNascA,
                                                            DtDataRicontattareDa,
                                                            DtDataRicontattareA,
                                                            Txtfonte,
                                                            TxtCommenti,
                                                            CmdCerca,
                                                            CmdSalva}) {
        if (previous) setTabOrder(previous, control);
        previous = control;
    }

    // The order in which conditions are joined, which is not the tab order.
    criteri_ = {
        {TxtCognome, " Cognome like '%", "%'"},
        {TxtNome, " Nome like '%", "%'"},
        {DtInizioDa, " DataIn >= #", "#"},
        {DtInizioA, " DataIn <= #", "#"},
        {TxtTipoRef, " TipoRef like '%", "%'"},
        {TxtProv, " Prov like '%", "%'"},
        {TxtCitta, " Citta like '%", "%'"},
        {TxtIndirizzo, " Indirizzo like '%", "%'"},
        {TxtCap, " Cap like '%", "%'"},
        {TxtEmail, " Email like '%", "%'"},
        {TxtTelefono, " Telefono like '%", "%'"},
        {TxtCell, " Cell like '%", "%'"},
        {DtNascDa, " DataNasc >= #", "#"},
        {DtNascA, " DataNasc <= #", "#"},
        {Txtfonte, " Fonte like '%", "%'"},
        {DtDataRicontattareDa, " DataRicont >= #", "#"},
        {DtDataRicontattareA, " DataRicont <= #", "#"},
        {TxtCommenti, " Commenti like '%", "%'"},
    };
    // What each criterion asks, for screen readers; the labels name them.
    for (const Criterio& criterio : criteri_) {
        const QLatin1String apertura(criterio.apertura);
        criterio.control->setAccessibleDescription(
            apertura.contains(QLatin1String("like"))
                ? tr("Trova i contatti in cui questo campo contiene il testo scritto; vuoto, qualunque")
            : apertura.contains(QLatin1String(">="))
                ? tr("Trova i contatti con questa data o una successiva, gg/mm/aaaa; vuota, nessun limite")
                : tr("Trova i contatti con questa data o una precedente, gg/mm/aaaa; vuota, nessun limite"));
    }
    nameForScreenReaders(this);

    connect(CmdCerca, &QPushButton::clicked, this, &FrmRicerca::CmdCerca_Click);
    connect(CmdSalva, &QPushButton::clicked, this, &FrmRicerca::CmdSalva_Click);
}

FrmRicerca::~FrmRicerca() = default;

QLineEdit* FrmRicerca::addTextBox(const char* name, int left, int top, int width, int maxLength)
{
    auto* box = new QLineEdit(page_);
    box->setObjectName(QLatin1String(name));
    box->setMaxLength(maxLength);
    placeInTwips(box, left, top, width, 360);
    return box;
}

CalendarField* FrmRicerca::addDateField(const char* name, const char* etichetta, int left, int top)
{
    auto* field = new CalendarField(page_);
    field->setObjectName(QLatin1String(name));
    field->setAccessibleName(tr(etichetta));  // names the field in messages about it
    placeInTwips(field, left, top, 2175, 360);
    return field;
}

void FrmRicerca::addLabels()
{
    struct Etichetta {
        const char* name;
        const char* caption;
        const char* control;  // the one it names
        int left, top, width, height;
    };
    static const Etichetta etichette[] = {
        {"Label15", QT_TRANSLATE_NOOP("brenzola::FrmRicerca", "Da data ricontattare"), "DtDataRicontattareDa", 360, 4440, 1455,
         495},
        {"Label14", QT_TRANSLATE_NOOP("brenzola::FrmRicerca", "Fonte"), "Txtfonte", 360, 5040, 1335, 375},
        {"Label13", QT_TRANSLATE_NOOP("brenzola::FrmRicerca", "Telefono"), "TxtTelefono", 360, 3480, 1335, 375},
        {"Label12", QT_TRANSLATE_NOOP("brenzola::FrmRicerca", "Cellulare"), "TxtCell", 5640, 3480, 1335, 375},
        {"Label11", QT_TRANSLATE_NOOP("brenzola::FrmRicerca", "Email"), "TxtEmail", 360, 3000, 1335, 375},
        {"Label9", QT_TRANSLATE_NOOP("brenzola::FrmRicerca", "Citta'"), "TxtCitta", 360, 2040, 1335, 375},
        {"Label8", QT_TRANSLATE_NOOP("brenzola::FrmRicerca", "Commenti"), "TxtCommenti", 360, 5520, 1335, 375},
        {"Label7", QT_TRANSLATE_NOOP("brenzola::FrmRicerca", "Da data Nasc."), "DtNascDa", 360, 3960, 1695, 375},
        {"Label5", QT_TRANSLATE_NOOP("brenzola::FrmRicerca", "Indirizzo"), "TxtIndirizzo", 360, 2520, 1335, 375},
        {"Label4", QT_TRANSLATE_NOOP("brenzola::FrmRicerca", "Tipo Ref."), "TxtTipoRef", 360, 1560, 1455, 375},
        {"Label3", QT_TRANSLATE_NOOP("brenzola::FrmRicerca", "Da data"), "DtInizioDa", 360, 1080, 1335, 375},
        {"Label2", QT_TRANSLATE_NOOP("brenzola::FrmRicerca", "Nome"), "TxtNome", 360, 600, 1335, 375},
        {"Label1", QT_TRANSLATE_NOOP("brenzola::FrmRicerca", "Cognome"), "TxtCognome", 360, 120, 1335, 375},
        {"Label10", QT_TRANSLATE_NOOP("brenzola::FrmRicerca", "CAP"), "TxtCap", 8160, 2520, 1335, 375},
        {"Label6", QT_TRANSLATE_NOOP("brenzola::FrmRicerca", "A data Nasc."), "DtNascA", 5280, 3960, 1695, 375},
        {"Label16", QT_TRANSLATE_NOOP("brenzola::FrmRicerca", "A data ricontattare"), "DtDataRicontattareA", 4800, 4440, 2295,
         375},
        {"Label17", QT_TRANSLATE_NOOP("brenzola::FrmRicerca", "A data"), "DtInizioA", 7200, 1080, 1335, 375},
        {"Label18", QT_TRANSLATE_NOOP("brenzola::FrmRicerca", "Prov."), "TxtProv", 8160, 2040, 1335, 375},
    };
    for (const Etichetta& e : etichette) {
        auto* label = new QLabel(tr(e.caption), page_);
        label->setObjectName(QLatin1String(e.name));
        label->setWordWrap(true);
        placeInTwips(label, e.left, e.top, e.width, e.height);
        label->setBuddy(page_->findChild<QWidget*>(QLatin1String(e.control)));
    }
}

// The criterion's value as it goes into the condition, and whether it takes part.
QString FrmRicerca::valore(const Criterio& criterio, bool& partecipa)
{
    if (auto* date = qobject_cast<CalendarField*>(criterio.control)) {
        const QString text = ComeTesto(ValoreNonNullo(date->value(), QString()));
        partecipa = !text.isEmpty();
        return partecipa ? FormattaDataSql(text) : QString();
    }
    const QString text = qobject_cast<QTextEdit*>(criterio.control) ? static_cast<QTextEdit*>(criterio.control)->toPlainText()
                                                                    : static_cast<QLineEdit*>(criterio.control)->text();
    partecipa = !text.isEmpty();
    return RaddoppiaApici(text);
}

void FrmRicerca::CmdCerca_Click()
{
    // A date that is not one is refused, never left out: the list would not be what was asked.
    if (!datesAreValid(this, dialogs_)) return;
    registro_.filtro.clear();
    for (const Criterio& criterio : criteri_) {
        bool partecipa = false;
        const QString testo = valore(criterio, partecipa);
        if (!partecipa) continue;
        if (!registro_.filtro.isEmpty()) registro_.filtro += QStringLiteral(" and ");
        registro_.filtro += QLatin1String(criterio.apertura) + testo + QLatin1String(criterio.chiusura);
    }
    accept();
}

void FrmRicerca::CmdSalva_Click() { reject(); }

}  // namespace brenzola
