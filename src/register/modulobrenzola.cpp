#include "register/modulobrenzola.h"

#include "register/elenconomi.h"
#include "widgets/accessibility.h"
#include "widgets/calendarfield.h"
#include "widgets/immagini.h"
#include "widgets/keyboardtoolbar.h"
#include "widgets/picturebutton.h"
#include "widgets/screenfit.h"
#include "widgets/twips.h"

#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace brenzola {

namespace {

constexpr char kEmailAssistenza[] = "aiuto@brenzola.example";
constexpr char kSitoAssistenza[] = "brenzola.example";
// The width, in twips, of the toolbar buttons added at its free end.
constexpr int kPulsanteAggiunto = 1215;

QFont carattere(const char* family, qreal points, bool italic = false)
{
    QFont font{QLatin1String(family)};
    font.setPointSizeF(points);
    font.setItalic(italic);
    return font;
}

void colora(QWidget* widget, QPalette::ColorRole role, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

}  // namespace

void ModuloBrenzola::costruisci(QWidget* finestra, IndiceNomi& indice)
{
    finestra_ = finestra;
    finestra->setWindowTitle(QCoreApplication::translate("brenzola::FrmBrenzola", "Brenzola 1.0       %1       %2")
                                 .arg(QLatin1String(kEmailAssistenza), QLatin1String(kSitoAssistenza)));
    finestra->setWindowIcon(Immagini::logo());
    finestra->setFont(carattere("MS Sans Serif", 8.25));
    const QSize designed(twips(finestra, 15240), twips(finestra, 9225));
    finestra->resize(designed);
    page_ = addDesignedPage(finestra, designed);
    keepOnScreen(finestra);
    buildToolbar();
    buildLeftPanel(indice);
    buildEditPanel();
    buildCommands();
    setTabOrder();
    describeControls();
}

void ModuloBrenzola::buildToolbar()
{
    Tb = new KeyboardToolBar(page_);
    Tb->setObjectName(QStringLiteral("Tb"));
    Tb->setMovable(false);
    Tb->setIconSize(QSize(16, 16));
    Tb->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    placeInTwips(Tb, 0, 0, 15240, 570);
    // Attached to the top edge of the page, however wide the window is.
    Tb->setFixedHeight(Tb->height());
    auto* topEdge = new QVBoxLayout(page_);
    topEdge->setContentsMargins(0, 0, 0, 0);
    topEdge->addWidget(Tb);
    topEdge->addStretch();
    Tb->addSeparator();
    struct Voce {
        const char* caption;
        int immagine;
        QKeySequence scorciatoia;
    };
    const Voce voci[] = {{QT_TRANSLATE_NOOP("brenzola::FrmBrenzola", "Mostra Tutti"), 12, Qt::Key_F5},
                         {QT_TRANSLATE_NOOP("brenzola::FrmBrenzola", "Ricerca Avanzata"), 8, Qt::CTRL | Qt::Key_F},
                         {QT_TRANSLATE_NOOP("brenzola::FrmBrenzola", "Indietro"), 2, Qt::ALT | Qt::Key_Left},
                         {QT_TRANSLATE_NOOP("brenzola::FrmBrenzola", "Avanti"), 1, Qt::ALT | Qt::Key_Right},
                         {QT_TRANSLATE_NOOP("brenzola::FrmBrenzola", "Esci"), 19, Qt::CTRL | Qt::Key_Q}};
    for (const Voce& voce : voci) {
        QAction* button = Tb->addCommand(Immagini::ImageList1(voce.immagine),
                                         QCoreApplication::translate("brenzola::FrmBrenzola", voce.caption), voce.scorciatoia);
        button->setObjectName(QString::fromUtf8(voce.caption));  // the key is the untranslated caption
        Tb->widgetForAction(button)->setFixedSize(twips(finestra_, 1365), twips(finestra_, 540));
    }

    // The agenda and contacts in and out, at the free right end: nothing designed moves.
    // Those buttons are a little narrower, so that every one of them fits in the window.
    Tb->addSeparator();
    for (const auto& [caption, icon, shortcut] : {std::tuple{QT_TRANSLATE_NOOP("brenzola::FrmBrenzola", "Agenda"),
                                                             Immagini::agenda(), QKeySequence(Qt::CTRL | Qt::Key_G)},
                                                  std::tuple{QT_TRANSLATE_NOOP("brenzola::FrmBrenzola", "Importa"),
                                                             Immagini::importa(), QKeySequence(Qt::CTRL | Qt::Key_I)},
                                                  std::tuple{QT_TRANSLATE_NOOP("brenzola::FrmBrenzola", "Doppioni"),
                                                             Immagini::doppioni(), QKeySequence(Qt::CTRL | Qt::Key_D)}}) {
        QAction* button = Tb->addCommand(icon, QCoreApplication::translate("brenzola::FrmBrenzola", caption), shortcut);
        button->setObjectName(QString::fromUtf8(caption));  // the key is the untranslated caption
        Tb->widgetForAction(button)->setFixedSize(twips(finestra_, kPulsanteAggiunto), twips(finestra_, 540));
    }
}

void ModuloBrenzola::aggiungiMenu(const QIcon& icona, const char* caption, QMenu* menu)
{
    QStringList voci;
    // The commands, with their shortcuts; a line that only says how things stand is left out.
    for (const QAction* voce : menu->actions()) {
        if (voce->isSeparator() || (!voce->isEnabled() && voce->shortcut().isEmpty())) continue;
        const QString testo = QString(voce->text()).remove(QStringLiteral("..."));
        voci << (voce->shortcut().isEmpty()
                     ? testo
                     : QStringLiteral("%1 (%2)").arg(testo, voce->shortcut().toString(QKeySequence::NativeText)));
    }
    finestra_->addActions(menu->actions());  // their shortcuts work with the menu closed
    QAction* pulsante = Tb->addAction(icona, QCoreApplication::translate("brenzola::FrmBrenzola", caption));
    pulsante->setObjectName(QString::fromUtf8(caption));  // the key is the untranslated caption
    pulsante->setToolTip(voci.join(u'\n'));
    pulsante->setMenu(menu);
    auto* button = static_cast<QToolButton*>(Tb->widgetForAction(pulsante));
    button->setPopupMode(QToolButton::InstantPopup);
    button->setFixedSize(twips(finestra_, kPulsanteAggiunto), twips(finestra_, 540));
}

void ModuloBrenzola::buildLeftPanel(IndiceNomi& indice)
{
    frameElenco_ = new QFrame(page_);
    frameElenco_->setObjectName(QStringLiteral("Frame"));
    frameElenco_->setProperty("Index", 1);
    frameElenco_->setFrameShape(QFrame::StyledPanel);
    placeInTwips(frameElenco_, 120, 600, 3975, 7815);
    QWidget* p = frameElenco_;

    Label6 = addLabel(p, "Label6", QCoreApplication::translate("brenzola::FrmBrenzola", "Cerca nome, telefono, email"), 240, 240,
                      3495);
    Label6->setFont(carattere("MS Sans Serif", 12, true));

    CmdCerca = new PictureButton(Immagini::cerca(), QString(), p);
    CmdCerca->setObjectName(QStringLiteral("CmdCerca"));
    CmdCerca->setToolTip(QCoreApplication::translate("brenzola::FrmBrenzola", "Cerca"));
    placeInTwips(CmdCerca, 3360, 240, 615, 375);

    TxtRicerca = addTextBox(p, "TxtRicerca", 250, 240, 600, 3495, 405);
    TxtRicerca->setFont(carattere("Verdana", 12));
    TxtRicerca->setToolTip(
        QCoreApplication::translate("brenzola::FrmBrenzola",
                                    "Parte del cognome; cognome e nome («Rossi Ma»); cifre del telefono o del cellulare; "
                                    "un testo con @ nell'email (Ctrl+L o F3; Giù va all'elenco)"));
    colora(TxtRicerca, QPalette::Base, QColor(192, 255, 192));

    Label17 = addLabel(p, "Label17", QCoreApplication::translate("brenzola::FrmBrenzola", "Contatti trovati:"), 240, 1080, 2055);
    Label17->setFont(carattere("MS Sans Serif", 9.75));

    LblNum = addLabel(p, "LblNum", QString(), 1680, 1080, 855);
    LblNum->setFont(carattere("Verdana", 9.75));
    LblNum->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    List1 = new ElencoNomi(indice, p);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setFont(carattere("MS Sans Serif", 9.75));
    colora(List1, QPalette::Base, Qt::white);
    placeInTwips(List1, 240, 1440, 3495, 4590);

    CmdStampaElenco = new PictureButton(Immagini::stampa(),
                                        QCoreApplication::translate("brenzola::FrmBrenzola", "Stampa Elenco Selezionato"), p);
    CmdStampaElenco->setObjectName(QStringLiteral("CmdStampaElenco"));
    placeInTwips(CmdStampaElenco, 240, 6360, 3495, 615);
    CmdStampaSchede = new PictureButton(Immagini::stampa(),
                                        QCoreApplication::translate("brenzola::FrmBrenzola", "Stampa Schede Selezionate"), p);
    CmdStampaSchede->setObjectName(QStringLiteral("CmdStampaSchede"));
    placeInTwips(CmdStampaSchede, 240, 7080, 3495, 615);
}

QLabel* ModuloBrenzola::addLabel(QWidget* panel, const char* name, const QString& caption, int left, int top, int width,
                                 int height)
{
    auto* label = new QLabel(caption, panel);
    label->setObjectName(QLatin1String(name));
    placeInTwips(label, left, top, width, height);
    return label;
}

QLineEdit* ModuloBrenzola::addTextBox(QWidget* panel, const char* name, int maxLength, int left, int top, int width, int height)
{
    auto* box = new QLineEdit(panel);
    box->setObjectName(QLatin1String(name));
    box->setMaxLength(maxLength);
    box->setProperty("limite", maxLength);
    placeInTwips(box, left, top, width, height);
    return box;
}

CalendarField* ModuloBrenzola::addDateField(QWidget* panel, const char* name, const QString& etichetta, int left, int top)
{
    auto* field = new CalendarField(panel);
    field->setObjectName(QLatin1String(name));
    field->setAccessibleName(etichetta);  // names the field in messages about it
    placeInTwips(field, left, top, 2175, 375);
    return field;
}

void ModuloBrenzola::buildEditPanel()
{
    frameScheda_ = new QFrame(page_);
    frameScheda_->setObjectName(QStringLiteral("Frame"));
    frameScheda_->setProperty("Index", 0);
    frameScheda_->setFrameShape(QFrame::StyledPanel);
    frameScheda_->setFont(carattere("MS Sans Serif", 12));  // labels and boxes without a font of their own
    placeInTwips(frameScheda_, 4200, 600, 10935, 7815);
    QWidget* p = frameScheda_;

    addLabel(p, "Label1", QCoreApplication::translate("brenzola::FrmBrenzola", "Cognome"), 240, 240, 1335);
    TxtCognome = addTextBox(p, "TxtCognome", 250, 1800, 240, 8295, 405);
    addLabel(p, "Label2", QCoreApplication::translate("brenzola::FrmBrenzola", "Nome"), 240, 720, 1335);
    TxtNome = addTextBox(p, "TxtNome", 250, 1800, 720, 8295, 405);
    addLabel(p, "Label3", QCoreApplication::translate("brenzola::FrmBrenzola", "Data"), 240, 1200, 1335);
    DtInizio = addDateField(p, "DtInizio", QCoreApplication::translate("brenzola::FrmBrenzola", "Data"), 1800, 1200);
    DtInizio->setFont(carattere("Verdana", 12));
    addLabel(p, "Label4", QCoreApplication::translate("brenzola::FrmBrenzola", "Tipo Ref."), 4080, 1200, 1455);
    TxtTipoRef = addTextBox(p, "TxtTipoRef", 250, 5160, 1200, 4935, 420);
    addLabel(p, "Label9", QCoreApplication::translate("brenzola::FrmBrenzola", "Citta'"), 240, 1680, 1335);
    TxtCitta = addTextBox(p, "TxtCitta", 250, 1800, 1680, 6135, 405);
    addLabel(p, "Label18", QCoreApplication::translate("brenzola::FrmBrenzola", "Prov."), 8040, 1680, 1335);
    TxtProv = addTextBox(p, "TxtProv", 5, 8880, 1680, 1215, 405);
    addLabel(p, "Label5", QCoreApplication::translate("brenzola::FrmBrenzola", "Indirizzo"), 240, 2160, 1335);
    TxtIndirizzo = addTextBox(p, "TxtIndirizzo", 250, 1800, 2160, 6135, 405);
    addLabel(p, "Label10", QCoreApplication::translate("brenzola::FrmBrenzola", "Cap"), 8040, 2160, 1335);
    TxtCap = addTextBox(p, "TxtCap", 5, 8880, 2160, 1215, 405);
    addLabel(p, "Label11", QCoreApplication::translate("brenzola::FrmBrenzola", "Email"), 240, 2640, 1335);
    TxtEmail = addTextBox(p, "TxtEmail", 250, 1800, 2640, 8295, 405);
    addLabel(p, "Label13", QCoreApplication::translate("brenzola::FrmBrenzola", "Telefono"), 240, 3120, 1335);
    TxtTelefono = addTextBox(p, "TxtTelefono", 250, 1800, 3120, 3615, 420);
    addLabel(p, "Label12", QCoreApplication::translate("brenzola::FrmBrenzola", "Cell."), 5640, 3120, 1335);
    TxtCell = addTextBox(p, "TxtCell", 250, 6480, 3120, 3615, 420);
    addLabel(p, "Label7", QCoreApplication::translate("brenzola::FrmBrenzola", "Data Nasc."), 240, 3600, 1455);
    DtNasc = addDateField(p, "DtNasc", QCoreApplication::translate("brenzola::FrmBrenzola", "Data Nasc."), 1800, 3600);
    addLabel(p, "Label14", QCoreApplication::translate("brenzola::FrmBrenzola", "Fonte"), 240, 4080, 1335);
    Txtfonte = addTextBox(p, "Txtfonte", 250, 1800, 4080, 3615, 420);
    Txtfonte->setFont(carattere("Verdana", 12));
    addLabel(p, "Label15", QCoreApplication::translate("brenzola::FrmBrenzola", "Data ricontattare"), 5520, 4080, 2655);
    DtDataRicontattare = addDateField(p, "DtDataRicontattare",
                                      QCoreApplication::translate("brenzola::FrmBrenzola", "Data ricontattare"), 7920, 4080);
    addLabel(p, "Label8", QCoreApplication::translate("brenzola::FrmBrenzola", "Commenti"), 240, 4560, 1335);
    TxtCommenti = new QTextEdit(p);
    TxtCommenti->setObjectName(QStringLiteral("TxtCommenti"));
    TxtCommenti->setTabChangesFocus(true);
    TxtCommenti->setAcceptRichText(false);  // only its plain text is stored
    placeInTwips(TxtCommenti, 1800, 4560, 8295, 3135);

    for (QWidget* white :
         std::initializer_list<QWidget*>{TxtCognome, TxtNome, TxtCitta, TxtIndirizzo, TxtEmail, TxtTelefono, Txtfonte})
        colora(white, QPalette::Base, Qt::white);
}

void ModuloBrenzola::buildCommands()
{
    // Each with its shortcut, which its tooltip shows.
    const auto addButton = [this](const char* name, const QIcon& icon, const QString& caption, int left,
                                  const QKeySequence& shortcut = {}) {
        auto* button = new PictureButton(icon, caption, page_);
        button->setObjectName(QLatin1String(name));
        placeInTwips(button, left, 8520, 1575, 615);
        if (!shortcut.isEmpty()) {
            button->setShortcut(shortcut);
            button->setToolTip(QStringLiteral("%1 (%2)").arg(caption, shortcut.toString(QKeySequence::NativeText)));
        }
        return button;
    };
    CmdElimina =
        addButton("CmdElimina", Immagini::elimina(), QCoreApplication::translate("brenzola::FrmBrenzola", "Elimina"), 6000);
    CmdStampa = addButton("CmdStampa", Immagini::stampa(), QCoreApplication::translate("brenzola::FrmBrenzola", "Stampa"), 7680,
                          Qt::CTRL | Qt::Key_P);
    CmdNuovo = addButton("CmdNuovo", Immagini::nuovo(), QCoreApplication::translate("brenzola::FrmBrenzola", "Nuovo"), 9360,
                         Qt::CTRL | Qt::Key_N);
    CmdSalva = addButton("CmdSalva", Immagini::salva(), QCoreApplication::translate("brenzola::FrmBrenzola", "Salva"), 11040,
                         Qt::CTRL | Qt::Key_S);
    CmdEsci = addButton("CmdEsci", Immagini::esci(), QCoreApplication::translate("brenzola::FrmBrenzola", "Esci"), 12720);
    CmdSalva->setDefault(true);  // drawn as the default; Enter reaches it through keyPressEvent

    Label16 = addLabel(page_, "Label16",
                       QCoreApplication::translate("brenzola::FrmBrenzola", "Assistenza: %1    %2")
                           .arg(QLatin1String(kEmailAssistenza), QLatin1String(kSitoAssistenza)),
                       240, 8760, 12135, 255);
    Label16->setFont(carattere("Verdana", 9.75));
    colora(Label16, QPalette::WindowText, QColor(0, 0, 255));
    Label16->lower();  // a label lies beneath the buttons it shares room with
}

void ModuloBrenzola::describeControls()
{
    // Each label names the field beside it; a screen reader also says what the field holds.
    const struct {
        const char* label;
        QWidget* control;
        const char* description;
    } fields[] = {
        {"Label6", TxtRicerca, nullptr},  // its tooltip says it
        {"Label1", TxtCognome, QT_TRANSLATE_NOOP("brenzola::FrmBrenzola", "Il cognome del contatto: senza, non si salva")},
        {"Label2", TxtNome, QT_TRANSLATE_NOOP("brenzola::FrmBrenzola", "Il nome del contatto")},
        {"Label3", DtInizio, QT_TRANSLATE_NOOP("brenzola::FrmBrenzola", "La data d'inserimento del contatto, gg/mm/aaaa")},
        {"Label4", TxtTipoRef, QT_TRANSLATE_NOOP("brenzola::FrmBrenzola", "Il tipo di riferimento, testo libero")},
        {"Label9", TxtCitta, QT_TRANSLATE_NOOP("brenzola::FrmBrenzola", "La città")},
        {"Label18", TxtProv, QT_TRANSLATE_NOOP("brenzola::FrmBrenzola", "La sigla della provincia, al più 5 caratteri")},
        {"Label5", TxtIndirizzo, QT_TRANSLATE_NOOP("brenzola::FrmBrenzola", "La via e il numero civico")},
        {"Label10", TxtCap, QT_TRANSLATE_NOOP("brenzola::FrmBrenzola", "Il codice di avviamento postale, al più 5 caratteri")},
        {"Label11", TxtEmail, QT_TRANSLATE_NOOP("brenzola::FrmBrenzola", "L'indirizzo e-mail")},
        {"Label13", TxtTelefono, QT_TRANSLATE_NOOP("brenzola::FrmBrenzola", "Il numero di telefono")},
        {"Label12", TxtCell, QT_TRANSLATE_NOOP("brenzola::FrmBrenzola", "Il numero di cellulare")},
        {"Label7", DtNasc, QT_TRANSLATE_NOOP("brenzola::FrmBrenzola", "La data di nascita, gg/mm/aaaa")},
        {"Label14", Txtfonte, QT_TRANSLATE_NOOP("brenzola::FrmBrenzola", "Da dove viene il contatto, testo libero")},
        {"Label15", DtDataRicontattare,
         QT_TRANSLATE_NOOP("brenzola::FrmBrenzola", "Quando ricontattarlo, gg/mm/aaaa: l'agenda lo ricorda")},
        {"Label8", TxtCommenti, QT_TRANSLATE_NOOP("brenzola::FrmBrenzola", "Note libere, su più righe")},
    };
    for (const auto& field : fields) {
        page_->findChild<QLabel*>(QLatin1String(field.label))->setBuddy(field.control);
        if (field.description)
            field.control->setAccessibleDescription(QCoreApplication::translate("brenzola::FrmBrenzola", field.description));
    }
    List1->setAccessibleName(QCoreApplication::translate("brenzola::FrmBrenzola", "Elenco dei contatti"));
    List1->setAccessibleDescription(
        QCoreApplication::translate("brenzola::FrmBrenzola", "Cognome e nome dei contatti trovati; Invio apre quello scelto"));
    nameForScreenReaders(finestra_);
}

void ModuloBrenzola::setTabOrder()
{
    QWidget* previous = nullptr;
    for (QWidget* control : std::initializer_list<QWidget*>{
             TxtCognome,  TxtNome, DtInizio,   TxtTipoRef, TxtCitta,           TxtProv,         TxtIndirizzo, TxtCap,    TxtEmail,
             TxtTelefono, TxtCell, DtNasc,     Txtfonte,   DtDataRicontattare, TxtCommenti,     CmdSalva,     CmdStampa, CmdNuovo,
             CmdElimina,  CmdEsci, TxtRicerca, List1,      CmdStampaElenco,    CmdStampaSchede, Tb,           CmdCerca}) {
        if (previous) QWidget::setTabOrder(previous, control);
        previous = control;
    }
    TxtCognome->setFocus();  // the window opens on the first control of the tab order
}

}  // namespace brenzola
