#include "register/frmbrenzola.h"

#include "agenda/agenda.h"
#include "agenda/ui/frmagenda.h"
#include "exchange/ui/comandiscambio.h"
#include "presentation/formtransparancy.h"
#include "printing/stampa.h"
#include "register/comandicronologia.h"
#include "register/elenconomi.h"
#include "search/frmricerca.h"
#include "store/archivio.h"
#include "store/funzioni.h"
#include "store/giornale.h"
#include "store/storeerror.h"
#include "widgets/calendarfield.h"
#include "widgets/immagini.h"
#include "widgets/keyboardtoolbar.h"
#include "widgets/moduli.h"
#include "widgets/picturebutton.h"
#include "widgets/screenfit.h"
#include "widgets/twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QEventLoop>
#include <QFocusEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace brenzola {

using namespace Funzioni;

namespace {

const QString kDataMancante = QStringLiteral("01/01/1900");
constexpr char kEmailAssistenza[] = "aiuto@brenzola.example";
constexpr char kSitoAssistenza[] = "brenzola.example";

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

// Shows a stored text whole, even when it is longer than the box lets the user type.
void mostraTesto(QLineEdit* box, const QVariant& value)
{
    const QString text = value.toString();
    box->setMaxLength(std::max(box->property("limite").toInt(), int(text.size())));
    box->setText(text);
}

}  // namespace

FrmBrenzola::FrmBrenzola(Dialogs& dialogs, QWidget* parent) : QWidget(parent), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("FrmBrenzola"));
    setWindowTitle(
        QStringLiteral("Brenzola 1.0       %1       %2").arg(QLatin1String(kEmailAssistenza), QLatin1String(kSitoAssistenza)));
    setWindowIcon(Immagini::logo());
    setFont(carattere("MS Sans Serif", 8.25));
    const QSize designed(twips(this, 15240), twips(this, 9225));
    resize(designed);
    page_ = addDesignedPage(this, designed);
    keepOnScreen(this);
    buildToolbar();
    buildLeftPanel();
    buildEditPanel();
    buildCommands();
    setTabOrder();
    connectHandlers();
    campi_ = {{"cognome", TxtCognome},
              {"nome", TxtNome},
              {"DataIn", DtInizio},
              {"TipoRef", TxtTipoRef},
              {"citta", TxtCitta},
              {"indirizzo", TxtIndirizzo},
              {"Cap", TxtCap},
              {"Email", TxtEmail},
              {"Telefono", TxtTelefono},
              {"Cell", TxtCell},
              {"DataNasc", DtNasc},
              {"Fonte", Txtfonte},
              {"DataRicont", DtDataRicontattare},
              {"commenti", TxtCommenti},
              {"prov", TxtProv}};
    // Several desks' changes arriving together refresh the list once.
    aggiornaElenco_ = new QTimer(this);
    aggiornaElenco_->setSingleShot(true);
    aggiornaElenco_->setInterval(0);
    connect(aggiornaElenco_, &QTimer::timeout, this, &FrmBrenzola::ElencoCambiatoAltrove);
    FormTransparancy1 = new FormTransparancy(this);
    FormTransparancy1->ReadProperties({{QStringLiteral("TransparencyLevel"), 2}, {QStringLiteral("TransparencyDirection"), 4}});
}

FrmBrenzola::~FrmBrenzola()
{
    // A window destroyed without being closed (the session ending) still releases the
    // store while Qt's database registry exists.
    Form_Unload();
}

void FrmBrenzola::buildToolbar()
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
    const Voce voci[] = {{"Mostra Tutti", 12, Qt::Key_F5},
                         {"Ricerca Avanzata", 8, Qt::CTRL | Qt::Key_F},
                         {"Indietro", 2, Qt::ALT | Qt::Key_Left},
                         {"Avanti", 1, Qt::ALT | Qt::Key_Right},
                         {"Esci", 19, Qt::CTRL | Qt::Key_Q}};
    for (const Voce& voce : voci) {
        const QString caption = QString::fromLatin1(voce.caption);
        QAction* button = Tb->addCommand(Immagini::ImageList1(voce.immagine), caption, voce.scorciatoia);
        button->setObjectName(caption);  // the key is the caption too
        Tb->widgetForAction(button)->setFixedSize(twips(this, 1365), twips(this, 540));
    }

    // The agenda and contacts in and out, at the free right end: nothing designed moves.
    Tb->addSeparator();
    for (const auto& [caption, icon, shortcut] :
         {std::tuple{"Agenda", Immagini::agenda(), QKeySequence(Qt::CTRL | Qt::Key_G)},
          std::tuple{"Importa", Immagini::importa(), QKeySequence(Qt::CTRL | Qt::Key_I)},
          std::tuple{"Doppioni", Immagini::doppioni(), QKeySequence(Qt::CTRL | Qt::Key_D)}}) {
        QAction* button = Tb->addCommand(icon, QString::fromLatin1(caption), shortcut);
        button->setObjectName(QString::fromLatin1(caption));
        Tb->widgetForAction(button)->setFixedSize(twips(this, 1365), twips(this, 540));
    }
    // Esporta offers the list and the contact on screen; each has its own shortcut.
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("MnuEsporta"));
    menu->addAction(QStringLiteral("Esporta l'elenco..."), QKeySequence(Qt::CTRL | Qt::Key_E), this, [this] { EsportaElenco(); })
        ->setObjectName(QStringLiteral("EsportaElenco"));
    menu->addAction(QStringLiteral("Esporta il contatto..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E), this,
                    [this] { EsportaContatto(); })
        ->setObjectName(QStringLiteral("EsportaContatto"));
    aggiungiMenu(Immagini::esporta(), QStringLiteral("Esporta"), menu);
    // Undo, the bin, each contact's versions: the list and the form follow what they change.
    cronologia_ = new ComandiCronologia(
        dialogs_, this, [this] { return LasciaContatto(); }, [this] { return IdCorrente; });
    aggiungiMenu(Immagini::cronologia(), QStringLiteral("Cronologia"), cronologia_->menu());
    connect(cronologia_, &ComandiCronologia::archivioCambiato, this, [this] {
        ElencoCambiatoAltrove();
        ricaricaDopoCambi(false);
    });
}

void FrmBrenzola::aggiungiMenu(const QIcon& icona, const QString& caption, QMenu* menu)
{
    QStringList voci;
    for (const QAction* voce : menu->actions())
        voci << QStringLiteral("%1 (%2)").arg(QString(voce->text()).remove(QStringLiteral("...")),
                                              voce->shortcut().toString(QKeySequence::NativeText));
    addActions(menu->actions());  // their shortcuts work with the menu closed
    QAction* pulsante = Tb->addAction(icona, caption);
    pulsante->setObjectName(caption);
    pulsante->setToolTip(voci.join(u'\n'));
    pulsante->setMenu(menu);
    auto* button = static_cast<QToolButton*>(Tb->widgetForAction(pulsante));
    button->setPopupMode(QToolButton::InstantPopup);
    button->setFixedSize(twips(this, 1365), twips(this, 540));
}

void FrmBrenzola::buildLeftPanel()
{
    frameElenco_ = new QFrame(page_);
    frameElenco_->setObjectName(QStringLiteral("Frame"));
    frameElenco_->setProperty("Index", 1);
    frameElenco_->setFrameShape(QFrame::StyledPanel);
    placeInTwips(frameElenco_, 120, 600, 3975, 7815);
    QWidget* p = frameElenco_;

    Label6 = addLabel(p, "Label6", QStringLiteral("Ricerca veloce cognome"), 240, 240, 3495);
    Label6->setFont(carattere("MS Sans Serif", 12, true));

    CmdCerca = new PictureButton(Immagini::cerca(), QString(), p);
    CmdCerca->setObjectName(QStringLiteral("CmdCerca"));
    CmdCerca->setToolTip(QStringLiteral("Cerca"));
    placeInTwips(CmdCerca, 3360, 240, 615, 375);

    TxtRicerca = addTextBox(p, "TxtRicerca", 250, 240, 600, 3495, 405);
    TxtRicerca->setFont(carattere("Verdana", 12));
    colora(TxtRicerca, QPalette::Base, QColor(192, 255, 192));

    Label17 = addLabel(p, "Label17", QStringLiteral("Contatti trovati:"), 240, 1080, 2055);
    Label17->setFont(carattere("MS Sans Serif", 9.75));

    LblNum = addLabel(p, "LblNum", QString(), 1680, 1080, 855);
    LblNum->setFont(carattere("Verdana", 9.75));
    LblNum->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    List1 = new ElencoNomi(indice_, p);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setFont(carattere("MS Sans Serif", 9.75));
    colora(List1, QPalette::Base, Qt::white);
    placeInTwips(List1, 240, 1440, 3495, 4590);

    CmdStampaElenco = new PictureButton(Immagini::stampa(), QStringLiteral("Stampa Elenco Selezionato"), p);
    CmdStampaElenco->setObjectName(QStringLiteral("CmdStampaElenco"));
    placeInTwips(CmdStampaElenco, 240, 6360, 3495, 615);
    CmdStampaSchede = new PictureButton(Immagini::stampa(), QStringLiteral("Stampa Schede Selezionate"), p);
    CmdStampaSchede->setObjectName(QStringLiteral("CmdStampaSchede"));
    placeInTwips(CmdStampaSchede, 240, 7080, 3495, 615);
}

QLabel* FrmBrenzola::addLabel(QWidget* panel, const char* name, const QString& caption, int left, int top, int width, int height)
{
    auto* label = new QLabel(caption, panel);
    label->setObjectName(QLatin1String(name));
    placeInTwips(label, left, top, width, height);
    return label;
}

QLineEdit* FrmBrenzola::addTextBox(QWidget* panel, const char* name, int maxLength, int left, int top, int width, int height)
{
    auto* box = new QLineEdit(panel);
    box->setObjectName(QLatin1String(name));
    box->setMaxLength(maxLength);
    box->setProperty("limite", maxLength);
    placeInTwips(box, left, top, width, height);
    return box;
}

CalendarField* FrmBrenzola::addDateField(QWidget* panel, const char* name, const QString& etichetta, int left, int top)
{
    auto* field = new CalendarField(panel);
    field->setObjectName(QLatin1String(name));
    field->setAccessibleName(etichetta);  // names the field in messages about it
    placeInTwips(field, left, top, 2175, 375);
    return field;
}

void FrmBrenzola::buildEditPanel()
{
    frameScheda_ = new QFrame(page_);
    frameScheda_->setObjectName(QStringLiteral("Frame"));
    frameScheda_->setProperty("Index", 0);
    frameScheda_->setFrameShape(QFrame::StyledPanel);
    frameScheda_->setFont(carattere("MS Sans Serif", 12));  // labels and boxes without a font of their own
    placeInTwips(frameScheda_, 4200, 600, 10935, 7815);
    QWidget* p = frameScheda_;

    addLabel(p, "Label1", QStringLiteral("Cognome"), 240, 240, 1335);
    TxtCognome = addTextBox(p, "TxtCognome", 250, 1800, 240, 8295, 405);
    addLabel(p, "Label2", QStringLiteral("Nome"), 240, 720, 1335);
    TxtNome = addTextBox(p, "TxtNome", 250, 1800, 720, 8295, 405);
    addLabel(p, "Label3", QStringLiteral("Data"), 240, 1200, 1335);
    DtInizio = addDateField(p, "DtInizio", QStringLiteral("Data"), 1800, 1200);
    DtInizio->setFont(carattere("Verdana", 12));
    addLabel(p, "Label4", QStringLiteral("Tipo Ref."), 4080, 1200, 1455);
    TxtTipoRef = addTextBox(p, "TxtTipoRef", 250, 5160, 1200, 4935, 420);
    addLabel(p, "Label9", QStringLiteral("Citta'"), 240, 1680, 1335);
    TxtCitta = addTextBox(p, "TxtCitta", 250, 1800, 1680, 6135, 405);
    addLabel(p, "Label18", QStringLiteral("Prov."), 8040, 1680, 1335);
    TxtProv = addTextBox(p, "TxtProv", 5, 8880, 1680, 1215, 405);
    addLabel(p, "Label5", QStringLiteral("Indirizzo"), 240, 2160, 1335);
    TxtIndirizzo = addTextBox(p, "TxtIndirizzo", 250, 1800, 2160, 6135, 405);
    addLabel(p, "Label10", QStringLiteral("Cap"), 8040, 2160, 1335);
    TxtCap = addTextBox(p, "TxtCap", 5, 8880, 2160, 1215, 405);
    addLabel(p, "Label11", QStringLiteral("Email"), 240, 2640, 1335);
    TxtEmail = addTextBox(p, "TxtEmail", 250, 1800, 2640, 8295, 405);
    addLabel(p, "Label13", QStringLiteral("Telefono"), 240, 3120, 1335);
    TxtTelefono = addTextBox(p, "TxtTelefono", 250, 1800, 3120, 3615, 420);
    addLabel(p, "Label12", QStringLiteral("Cell."), 5640, 3120, 1335);
    TxtCell = addTextBox(p, "TxtCell", 250, 6480, 3120, 3615, 420);
    addLabel(p, "Label7", QStringLiteral("Data Nasc."), 240, 3600, 1455);
    DtNasc = addDateField(p, "DtNasc", QStringLiteral("Data Nasc."), 1800, 3600);
    addLabel(p, "Label14", QStringLiteral("Fonte"), 240, 4080, 1335);
    Txtfonte = addTextBox(p, "Txtfonte", 250, 1800, 4080, 3615, 420);
    Txtfonte->setFont(carattere("Verdana", 12));
    addLabel(p, "Label15", QStringLiteral("Data ricontattare"), 5520, 4080, 2655);
    DtDataRicontattare = addDateField(p, "DtDataRicontattare", QStringLiteral("Data ricontattare"), 7920, 4080);
    addLabel(p, "Label8", QStringLiteral("Commenti"), 240, 4560, 1335);
    TxtCommenti = new QTextEdit(p);
    TxtCommenti->setObjectName(QStringLiteral("TxtCommenti"));
    TxtCommenti->setTabChangesFocus(true);
    TxtCommenti->setAcceptRichText(false);  // only its plain text is stored
    placeInTwips(TxtCommenti, 1800, 4560, 8295, 3135);

    for (QWidget* white :
         std::initializer_list<QWidget*>{TxtCognome, TxtNome, TxtCitta, TxtIndirizzo, TxtEmail, TxtTelefono, Txtfonte})
        colora(white, QPalette::Base, Qt::white);
}

void FrmBrenzola::buildCommands()
{
    const auto addButton = [this](const char* name, const QIcon& icon, const QString& caption, int left) {
        auto* button = new PictureButton(icon, caption, page_);
        button->setObjectName(QLatin1String(name));
        placeInTwips(button, left, 8520, 1575, 615);
        return button;
    };
    CmdElimina = addButton("CmdElimina", Immagini::elimina(), QStringLiteral("Elimina"), 6000);
    CmdStampa = addButton("CmdStampa", Immagini::stampa(), QStringLiteral("Stampa"), 7680);
    CmdNuovo = addButton("CmdNuovo", Immagini::nuovo(), QStringLiteral("Nuovo"), 9360);
    CmdSalva = addButton("CmdSalva", Immagini::salva(), QStringLiteral("Salva"), 11040);
    CmdEsci = addButton("CmdEsci", Immagini::esci(), QStringLiteral("Esci"), 12720);
    CmdSalva->setDefault(true);  // drawn as the default; Enter reaches it through keyPressEvent

    Label16 =
        addLabel(page_, "Label16",
                 QStringLiteral("Assistenza: %1    %2").arg(QLatin1String(kEmailAssistenza), QLatin1String(kSitoAssistenza)), 240,
                 8760, 12135, 255);
    Label16->setFont(carattere("Verdana", 9.75));
    colora(Label16, QPalette::WindowText, QColor(0, 0, 255));
    Label16->lower();  // a label lies beneath the buttons it shares room with
}

void FrmBrenzola::setTabOrder()
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

void FrmBrenzola::keyPressEvent(QKeyEvent* event)
{
    // Keys that no control used: Enter presses the default button, Esc the cancel button.
    // A focused button and the list are controls that use Enter, though Qt leaves it to
    // the window: the button is pressed, the list chooses its current entry.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto* button = qobject_cast<QAbstractButton*>(focusWidget())) {
            button->click();
        } else if (focusWidget() == List1) {
            if (List1->currentRow() >= 0) List1->setCurrentRow(List1->currentRow());
        } else {
            CmdSalva->click();
        }
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        CmdEsci->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void FrmBrenzola::track(QWidget* field, Handler gotFocus, Handler lostFocus)
{
    trackedFields_.insert(field, {gotFocus, lostFocus});
    if (auto* date = qobject_cast<CalendarField*>(field)) {
        connect(date, &CalendarField::gotFocus, this, [this, gotFocus] { (this->*gotFocus)(); });
        connect(date, &CalendarField::lostFocus, this, [this, lostFocus] { (this->*lostFocus)(); });
    } else {
        field->installEventFilter(this);
    }
}

void FrmBrenzola::connectHandlers()
{
    connect(TxtRicerca, &QLineEdit::textChanged, this, [this] { handle([this] { TxtRicerca_Change(); }); });
    connect(CmdCerca, &QPushButton::clicked, this, [this] { handle([this] { CmdCerca_Click(); }); });
    connect(CmdEsci, &QPushButton::clicked, this, [this] { CmdEsci_Click(); });
    connect(CmdNuovo, &QPushButton::clicked, this, [this] { CmdNuovo_Click(); });
    connect(CmdSalva, &QPushButton::clicked, this, [this] { handle([this] { CmdSalva_Click(); }); });
    connect(CmdElimina, &QPushButton::clicked, this, [this] { handle([this] { CmdElimina_Click(); }); });
    connect(CmdStampa, &QPushButton::clicked, this, [this] { handle([this] { CmdStampa_Click(); }); });
    connect(CmdStampaElenco, &QPushButton::clicked, this, [this] { handle([this] { CmdStampaElenco_Click(); }); });
    connect(CmdStampaSchede, &QPushButton::clicked, this, [this] { handle([this] { CmdStampaSchede_Click(); }); });
    connect(Tb, &QToolBar::actionTriggered, this, [this](QAction* button) { handle([&] { Tb_ButtonClick(button); }); });

    // An entry becomes the chosen one when the selection moves to it, or when it is
    // clicked while already selected.
    connect(List1, &ElencoNomi::sceltaCambiata, this, [this] {
        if (List1->selectedRow() >= 0) handle([this] { List1_Click(); });
    });
    connect(List1, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (index.row() == rowBeforePress_) handle([this] { List1_Click(); });
    });
    List1->viewport()->installEventFilter(this);

    track(TxtCognome, &FrmBrenzola::TxtCognome_GotFocus, &FrmBrenzola::TxtCognome_LostFocus);
    track(TxtNome, &FrmBrenzola::TxtNome_GotFocus, &FrmBrenzola::TxtNome_LostFocus);
    track(DtInizio, &FrmBrenzola::DtInizio_GotFocus, &FrmBrenzola::DtInizio_LostFocus);
    track(TxtTipoRef, &FrmBrenzola::TxtTipoRef_GotFocus, &FrmBrenzola::TxtTipoRef_LostFocus);
    track(TxtProv, &FrmBrenzola::TxtProv_GotFocus, &FrmBrenzola::TxtProv_LostFocus);
    track(TxtCitta, &FrmBrenzola::TxtCitta_GotFocus, &FrmBrenzola::TxtCitta_LostFocus);
    track(TxtIndirizzo, &FrmBrenzola::TxtIndirizzo_GotFocus, &FrmBrenzola::TxtIndirizzo_LostFocus);
    track(TxtCap, &FrmBrenzola::TxtCap_GotFocus, &FrmBrenzola::TxtCap_LostFocus);
    track(TxtEmail, &FrmBrenzola::TxtEmail_GotFocus, &FrmBrenzola::TxtEmail_LostFocus);
    track(TxtTelefono, &FrmBrenzola::TxtTelefono_GotFocus, &FrmBrenzola::TxtTelefono_LostFocus);
    track(TxtCell, &FrmBrenzola::TxtCell_GotFocus, &FrmBrenzola::TxtCell_LostFocus);
    track(DtNasc, &FrmBrenzola::DtNasc_GotFocus, &FrmBrenzola::DtNasc_LostFocus);
    track(Txtfonte, &FrmBrenzola::Txtfonte_GotFocus, &FrmBrenzola::Txtfonte_LostFocus);
    track(DtDataRicontattare, &FrmBrenzola::DtDataRicontattare_GotFocus, &FrmBrenzola::DtDataRicontattare_LostFocus);
    track(TxtCommenti, &FrmBrenzola::TxtCommenti_GotFocus, &FrmBrenzola::TxtCommenti_LostFocus);
}

bool FrmBrenzola::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == List1->viewport() && event->type() == QEvent::MouseButtonPress) {
        rowBeforePress_ = List1->selectedRow();
    } else if ((event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
               && static_cast<QFocusEvent*>(event)->reason() != Qt::ActiveWindowFocusReason
               && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        // Focus moves inside the window count; a message box or a menu opening does not.
        const auto found = trackedFields_.constFind(watched);
        if (found != trackedFields_.constEnd())
            (this->*(event->type() == QEvent::FocusIn ? found->gotFocus : found->lostFocus))();
    }
    return QWidget::eventFilter(watched, event);
}

template <typename Work> void FrmBrenzola::handle(Work&& work)
{
    try {
        work();
    } catch (...) {
        showError(ErroreCorrente());
    }
}

void FrmBrenzola::showError(const StoreError& error, const QString& context)
{
    // Every failure here concerns the store: say which one.
    MostraErrore(dialogs_, this, error, context.isEmpty() ? QStringLiteral("Archivio «%1».").arg(archivio_) : context);
}

MsgAnswer FrmBrenzola::ask(const QString& question)
{
    return dialogs_.MsgBox(this, {question, MsgButtons::YesNo, MsgIcon::Question});
}

// ---- Start-up and contact list ----

bool FrmBrenzola::Form_Load(const QString& archivio)
{
    archivio_ = NomeArchivio(archivio);
    QString password;
    for (;;) {
        try {
            ApriDatabase(archivio, password);
            break;
        } catch (const StoreError& error) {
            // A server that wants a password the user has not given (or got wrong) asks for
            // it; it is kept for this connection only.
            if (error.number() == StoreErrorNumber::ServerPassword) {
                password = dialogs_.AskPassword(this, QStringLiteral("Password per l'archivio «%1»:").arg(archivio_));
                if (!password.isEmpty()) continue;
            }
            showError(error, QStringLiteral("Impossibile usare l'archivio dei contatti «%1».").arg(archivio_));
            ChiudiDatabase();
            return false;
        }
    }
    try {
        AggiungiIndici(*Connessione);
        svuotaScheda();
        IdCorrente = 0;
        ElencaTutti();
        AggiornaAnagrafica = 0;
        if (Connessione->isReadOnly())
            dialogs_.MsgBox(this, {QStringLiteral("L'archivio «%1» è di sola lettura: si può consultare, ma le modifiche "
                                                  "non si potranno salvare.\n\nPer salvare serve il permesso di scrittura "
                                                  "sul file e sulla cartella che lo contiene.")
                                       .arg(archivio_),
                                   MsgButtons::Ok, MsgIcon::Information});
        cronologia_->CestinoAllAvvio();
        // Other desks' changes show in the list as they happen.
        Connessione->onOthersChange([this](qint64 id) {
            cambiatiAltrove_.push_back(id);
            aggiornaElenco_->start();
        });
        return true;
    } catch (...) {
        showError(ErroreCorrente(), QStringLiteral("Impossibile usare l'archivio dei contatti «%1».").arg(archivio_));
        ChiudiDatabase();
        return false;
    }
}

void FrmBrenzola::ElencoCambiatoAltrove()
{
    if (!Connessione) return;
    // The list shows what it showed, with the others' changes, scrolled where it was and
    // on the same entry; the form and the search box are not touched.
    const qint64 scelto = List1->chiave(List1->selectedRow());
    const int scorrimento = List1->verticalScrollBar()->value();
    handle([this] {
        std::vector<qint64> cambiati;
        cambiati.swap(cambiatiAltrove_);
        // The journal says what changed; a server without one names the contacts, when it can.
        if (Connessione->hasJournal() || cambiati.empty() || std::find(cambiati.begin(), cambiati.end(), 0) != cambiati.end())
            indice_.aggiorna(*Connessione);
        else
            indice_.contattiCambiati(*Connessione, cambiati);
        switch (elenco_) {
        case Elenco::Tutti:
            mostraVoci(indice_.tutte());
            break;
        case Elenco::Rapida:
            mostraVoci(cercaRapida(testoRapido_));
            break;
        case Elenco::Avanzata: {
            auto rs = std::make_unique<Recordset>();
            rs->Open(QueryLista(), Connessione.get());
            RsLista = std::move(rs);
            RiempiLista();
            break;
        }
        }
    });
    List1->verticalScrollBar()->setValue(scorrimento);
    if (scelto) mostraInElenco(scelto);
    Q_EMIT contattiCambiati();
}

void FrmBrenzola::Form_Unload()
{
    if (agenda_) agenda_->close();  // it reads the store, which closes here
    aggiornaElenco_->stop();
    ChiudiDatabase();
}

void FrmBrenzola::MostraModale()
{
    QEventLoop loop;
    connect(this, &FrmBrenzola::chiusa, &loop, &QEventLoop::quit);
    setWindowModality(Qt::ApplicationModal);
    show();
    loop.exec();
}

void FrmBrenzola::closeEvent(QCloseEvent* event)
{
    // Closing must not lose an edit: ask as a change of contact would.
    if (!LasciaContatto()) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
    Q_EMIT chiusa();
}

QString FrmBrenzola::QueryLista()
{
    // The key rides along so that each entry loads its own contact, even among equal names.
    return QStringLiteral("Select Cognome & ' ' & Nome, id from Anagrafica ") + Filtro
           + QStringLiteral(" ORDER BY Cognome & ' ' & Nome");
}

void FrmBrenzola::RiempiLista()
{
    // The store chose the contacts and their order; the names come from the index, which
    // is read again if it misses any of them.
    std::vector<qint64> chiavi;
    while (!RsLista->Eof()) {
        chiavi.push_back(RsLista->Fields(1).toLongLong());
        RsLista->MoveNext();
    }
    indice_.aggiorna(*Connessione);  // the names as stored now
    std::vector<IndiceNomi::Voce> voci;
    voci.reserve(chiavi.size());
    for (qint64 id : chiavi)
        if (const auto voce = indice_.voceDi(id)) voci.push_back(*voce);  // else deleted meanwhile
    mostraVoci(std::move(voci));
}

void FrmBrenzola::mostraVoci(std::vector<IndiceNomi::Voce> voci)
{
    const QSignalBlocker quiet(List1);  // emptying the list chooses nothing
    List1->mostra(std::move(voci));
    LblNum->setText(QString::number(List1->count()));
}

void FrmBrenzola::ElencaTutti()
{
    RsLista = std::make_unique<Recordset>();
    Filtro = QStringLiteral(" ");
    indice_.aggiorna(openConnection(Connessione.get()));
    elenco_ = Elenco::Tutti;
    mostraVoci(indice_.tutte());
}

void FrmBrenzola::CmdCerca_Click()
{
    RsLista = std::make_unique<Recordset>();
    Filtro = QStringLiteral(" where cognome like '%") + RaddoppiaApici(TxtRicerca->text()) + QStringLiteral("%' ");
    indice_.aggiornaSeCambiato(openConnection(Connessione.get()));
    mostraVoci(cercaRapida(TxtRicerca->text()));
}

std::vector<IndiceNomi::Voce> FrmBrenzola::cercaRapida(const QString& testo)
{
    const LikePattern pattern(u'%' + testo + u'%');
    // Typing on narrows what the last search found, when that is sure to hold every match.
    const auto semplice = [](const QString& t) { return !t.contains(u'%') && !t.contains(u'_'); };
    std::u16string precedente;
    lowerCase(testoRapido_, precedente);
    const bool restringe = elenco_ == Elenco::Rapida && versioneRapida_ == indice_.versione() && semplice(testoRapido_)
                           && pattern.alwaysContains(precedente);
    std::vector<IndiceNomi::Voce> trovate = indice_.cerca(pattern, restringe ? &List1->voci() : nullptr);
    elenco_ = Elenco::Rapida;
    testoRapido_ = testo;
    versioneRapida_ = indice_.versione();
    return trovate;
}

void FrmBrenzola::seguiArchivio() { indice_.aggiorna(openConnection(Connessione.get())); }

void FrmBrenzola::TxtRicerca_Change() { CmdCerca_Click(); }

void FrmBrenzola::AzzeraRicerca()
{
    // Mostra Tutti shows the store as it is, even what a program that announces nothing wrote.
    indice_.aggiorna(openConnection(Connessione.get()));
    TxtRicerca->setText(QString());
    CmdCerca_Click();
}

void FrmBrenzola::CmdEsci_Click() { close(); }

// ---- Showing and creating a contact ----

bool FrmBrenzola::LasciaContatto()
{
    contaCampoAttivo();
    if (!AggiornaAnagrafica) return true;
    const Message domanda{QStringLiteral("I dati sono stati modificati, si desidera salvare?"), MsgButtons::YesNoCancel,
                          MsgIcon::Question};
    switch (dialogs_.MsgBox(this, domanda)) {
    case MsgAnswer::Yes: {
        bool saved = false;
        handle([&] { saved = CmdSalva_Click(); });
        return saved;
    }
    case MsgAnswer::No:
        AggiornaAnagrafica = 0;
        return true;
    default:
        return false;
    }
}

void FrmBrenzola::List1_Click()
{
    const qint64 scelto = List1->chiave(List1->selectedRow());
    if (!LasciaContatto()) {
        mostraInElenco(IdCorrente);  // the list keeps pointing at the contact on screen
        return;
    }
    if (scelto) mostraInElenco(scelto);  // a save has refilled the list meanwhile
    CaricaContatto();
}

void FrmBrenzola::mostraInElenco(qint64 chiave)
{
    const int selected = List1->selectedRow();
    if (chiave != 0 && selected >= 0 && List1->chiave(selected) == chiave) return;
    const QSignalBlocker quiet(List1);
    const int row = chiave == 0 ? -1 : List1->rigaDi(chiave);
    if (row < 0) {
        List1->clearSelection();
        return;
    }
    List1->setCurrentRow(row);
    List1->scrollToRow(row);
}

void FrmBrenzola::CaricaContatto()
{
    const int selected = List1->selectedRow();
    QString sql =
        QStringLiteral("Select * from Anagrafica where Cognome & ' ' & Nome ='") + RaddoppiaApici(List1->text(selected)) + u'\'';
    if (selected >= 0) sql += QStringLiteral(" and id =%1").arg(List1->chiave(selected));

    Recordset rs;
    rs.Open(sql, Connessione.get());
    if (rs.Eof()) {
        mostraInElenco(IdCorrente);
        return;
    }
    mostraRiga(rs);
}

void FrmBrenzola::mostraRiga(const Recordset& rs)
{
    IdCorrente = rs.Fields(QStringLiteral("id")).toLongLong();
    const auto testoDi = [&rs](const char* column) { return ValoreNonNullo(rs.Fields(QLatin1String(column)), QString()); };
    const auto dataDi = [&rs](const char* column) { return ValoreNonNullo(rs.Fields(QLatin1String(column)), kDataMancante); };
    mostraTesto(TxtCognome, testoDi("cognome"));
    mostraTesto(TxtNome, testoDi("nome"));
    DtInizio->setValue(dataDi("DataIn"));
    mostraTesto(TxtTipoRef, testoDi("TipoRef"));
    mostraTesto(TxtProv, testoDi("prov"));
    mostraTesto(TxtCitta, testoDi("citta"));
    mostraTesto(TxtIndirizzo, testoDi("indirizzo"));
    mostraTesto(TxtCap, testoDi("Cap"));
    mostraTesto(TxtEmail, testoDi("Email"));
    mostraTesto(TxtTelefono, testoDi("Telefono"));
    mostraTesto(TxtCell, testoDi("Cell"));
    DtNasc->setValue(dataDi("DataNasc"));
    mostraTesto(Txtfonte, testoDi("Fonte"));
    DtDataRicontattare->setValue(dataDi("DataRicont"));
    commentiCaricati_ = testoDi("commenti").toString();
    TxtCommenti->setPlainText(commentiCaricati_);
    ricordaContatto(rs.StoredValues(), testoDi("cognome").toString() + u' ' + testoDi("nome").toString());
}

void FrmBrenzola::ricordaContatto(const QVariantList& memorizzato, const QString& nome)
{
    contattoCaricato_ = memorizzato;
    nomeCaricato_ = nome;
    mostrato_.clear();
    for (const Campo& campo : campi_) mostrato_.push_back(statoCampo(campo.controllo));
    ricordaCampoAttivo();
}

void FrmBrenzola::svuotaScheda()
{
    PulisciCampi(this);
    for (QLineEdit* box : findChildren<QLineEdit*>())
        if (box->property("limite").isValid()) box->setMaxLength(box->property("limite").toInt());
    commentiCaricati_.clear();
    ricordaContatto({}, {});
}

void FrmBrenzola::Scorri(const QString& Direzione)
{
    const int p = List1->selectedRow();
    if (p < 0 || List1->count() == 0) return;
    const int last = List1->count() - 1;
    const int next = Direzione == u"I" ? (p == 0 ? last : p - 1) : (p == last ? 0 : p + 1);
    {
        const QSignalBlocker quiet(List1);  // the move is chosen once, below
        List1->setCurrentRow(next);
    }
    List1->scrollToRow(next);
    List1_Click();
}

void FrmBrenzola::CmdNuovo_Click()
{
    if (!LasciaContatto()) return;
    svuotaScheda();
    IdCorrente = 0;
}

// ---- Saving and deleting ----

QVariant FrmBrenzola::statoCampo(const QWidget* controllo)
{
    if (auto* box = qobject_cast<const QLineEdit*>(controllo)) return box->text();
    if (auto* date = qobject_cast<const CalendarField*>(controllo)) return date->value();
    return static_cast<const QTextEdit*>(controllo)->document()->toRawText();
}

QVariant FrmBrenzola::valoreDaScrivere(size_t campo) const
{
    const QWidget* controllo = campi_[campo].controllo;
    if (controllo != TxtCommenti) return statoCampo(controllo);
    // The box turns every kind of line break into its own: an unchanged comment goes back
    // as it was loaded, a changed one with the line breaks it used.
    if (statoCampo(controllo) == mostrato_[campo]) return commentiCaricati_;
    const QString fineRiga = commentiCaricati_.contains(QLatin1String("\r\n")) ? QStringLiteral("\r\n")
                             : commentiCaricati_.contains(u'\r')               ? QStringLiteral("\r")
                                                                               : QStringLiteral("\n");
    return TxtCommenti->document()->toRawText().replace(QChar::ParagraphSeparator, fineRiga);
}

bool FrmBrenzola::CmdSalva_Click()
{
    if (TxtCognome->text().isEmpty()) {
        dialogs_.MsgBox(this, {QStringLiteral("Scrivere il cognome!"), MsgButtons::Ok, MsgIcon::Information});
        TxtCognome->setFocus();
        return false;
    }
    if (!datesAreValid(this, dialogs_)) return false;
    bool mostraComeSalvato = false;
    for (;;) {
        Recordset rs;
        rs.Open(QStringLiteral("Select * from Anagrafica where id =%1").arg(IdCorrente), Connessione.get());
        const bool nuovo = rs.Eof();
        if (!contattoCaricato_.isEmpty()) {
            const Conflitto scelta = nuovo                         ? chiediSeEliminato()
                                     : rs.Holds(contattoCaricato_) ? Conflitto::Nessuno
                                                                   : chiediSeCambiato();
            if (scelta == Conflitto::Annulla) return false;
            if (scelta == Conflitto::Ricarica) {
                mostraRiga(rs);
                AggiornaAnagrafica = 0;
                mostraInElenco(IdCorrente);
                return false;
            }
            mostraComeSalvato = mostraComeSalvato || scelta == Conflitto::Scrivi;
        }
        if (nuovo) rs.AddNew();
        // Only what the user changed is written over a stored contact: every other column keeps its bytes.
        for (size_t i = 0; i < campi_.size(); ++i)
            if (nuovo || statoCampo(campi_[i].controllo) != mostrato_[i])
                rs.SetField(QLatin1String(campi_[i].colonna), valoreDaScrivere(i));
        try {
            InOperazione(*Connessione, nuovo ? QStringLiteral("Nuovo contatto") : QStringLiteral("Salvataggio"),
                         [&rs] { rs.Update(); });
        } catch (const StoreError& error) {
            // Changed or deleted between the check and the write: check again.
            if (error.number() == StoreErrorNumber::RowChanged || error.number() == StoreErrorNumber::RowNotFound) continue;
            throw;
        }
        IdCorrente = rs.Fields(QStringLiteral("id")).toLongLong();
        break;
    }
    Recordset salvato;
    salvato.Open(QStringLiteral("Select * from Anagrafica where id =%1").arg(IdCorrente), Connessione.get());
    if (!salvato.Eof()) {
        // After writing over another's version the form shows the row as it now is.
        if (mostraComeSalvato)
            mostraRiga(salvato);
        else
            ricordaContatto(salvato.StoredValues(), TxtCognome->text() + u' ' + TxtNome->text());
    }
    // Once the form knows what it wrote: a failure to list it leaves the save complete.
    seguiArchivio();
    dialogs_.MsgBox(this, {QStringLiteral("Salvato"), MsgButtons::Ok, MsgIcon::Information});
    ElencaTutti();
    AggiornaAnagrafica = 0;
    Q_EMIT contattiCambiati();
    return true;
}

FrmBrenzola::Conflitto FrmBrenzola::chiediSeCambiato()
{
    Message domanda{QStringLiteral("Un altro utente ha modificato questo contatto dopo che è stato aperto.\n\n"
                                   "«Sovrascrivi» salva i campi cambiati qui sopra la sua versione; "
                                   "«Ricarica» mostra la sua versione e abbandona le modifiche fatte qui."),
                    MsgButtons::YesNoCancel, MsgIcon::Question};
    domanda.yesCaption = QStringLiteral("Sovrascrivi");
    domanda.noCaption = QStringLiteral("Ricarica");
    domanda.defaultAnswer = MsgAnswer::Cancel;
    switch (dialogs_.MsgBox(this, domanda)) {
    case MsgAnswer::Yes:
        return Conflitto::Scrivi;
    case MsgAnswer::No:
        return Conflitto::Ricarica;
    default:
        return Conflitto::Annulla;
    }
}

FrmBrenzola::Conflitto FrmBrenzola::chiediSeEliminato()
{
    const Message domanda{QStringLiteral("Un altro utente ha eliminato questo contatto dopo che è stato aperto.\n\n"
                                         "Salvarlo come nuovo contatto?"),
                          MsgButtons::YesNo, MsgIcon::Question};
    return dialogs_.MsgBox(this, domanda) == MsgAnswer::Yes ? Conflitto::Scrivi : Conflitto::Annulla;
}

void FrmBrenzola::CmdElimina_Click()
{
    // Asked about the contact on screen, which is the one deleted.
    QString testo = QStringLiteral("Cancellare il contatto selezionato?");
    if (IdCorrente != 0 && !nomeCaricato_.trimmed().isEmpty()) testo += QStringLiteral("\n\n") + nomeCaricato_;
    const Message domanda{testo, MsgButtons::YesNo, MsgIcon::Question, QStringLiteral("Info"), MsgAnswer::Yes};
    if (dialogs_.MsgBox(this, domanda) != MsgAnswer::Yes) return;
    InOperazione(openConnection(Connessione.get()), QStringLiteral("Eliminazione"),
                 [this] { Connessione->Execute(QStringLiteral("Delete from anagrafica where id=%1").arg(IdCorrente)); });
    // The data stay on screen; saving them again makes a new contact, without asking.
    contattoCaricato_.clear();
    seguiArchivio();
    ElencaTutti();
    Q_EMIT contattiCambiati();
}

// ---- Printing ----

void FrmBrenzola::StampaRS()
{
    QStringList voci;
    voci.reserve(List1->count());
    for (int i = 0; i < List1->count(); ++i) voci << List1->text(i);
    brenzola::StampaRS(voci, dialogs_, this);
}

void FrmBrenzola::StampaRS_Scheda(const QString& Sql) { brenzola::StampaRS_Scheda(Sql, dialogs_, this); }

void FrmBrenzola::CmdStampaElenco_Click()
{
    TotaleElenco = List1->count();
    StampaRS();
}

void FrmBrenzola::CmdStampaSchede_Click() { StampaRS_Scheda(QStringLiteral("Select * from Anagrafica ") + Filtro); }

void FrmBrenzola::CmdStampa_Click()
{
    // The stored contact: edits not yet saved do not reach the card.
    StampaRS_Scheda(QStringLiteral("select * from anagrafica where id=%1").arg(IdCorrente));
}

// ---- Toolbar ----

void FrmBrenzola::Tb_ButtonClick(const QAction* Button)
{
    const QString comando = Button->text().toUpper();
    if (comando == u"MOSTRA TUTTI")
        AzzeraRicerca();
    else if (comando == u"RICERCA AVANZATA")
        RicercaAvanzata();
    else if (comando == u"INDIETRO")
        Scorri(QStringLiteral("I"));
    else if (comando == u"AVANTI")
        Scorri(QStringLiteral("A"));
    else if (comando == u"ESCI")
        close();
    else if (comando == u"AGENDA")
        ApriAgenda();
    else if (comando == u"IMPORTA")
        Importa();
    else if (comando == u"DOPPIONI")
        Doppioni();
}

// ---- Contacts in and out ----

void FrmBrenzola::Importa()
{
    if (!LasciaContatto()) return;  // merging may change the contact on screen
    handle([this] { ricaricaDopoCambi(ImportaDaFile(dialogs_, this, openConnection(Connessione.get()))); });
}

void FrmBrenzola::EsportaElenco()
{
    handle([this] { EsportaInFile(dialogs_, this, openConnection(Connessione.get()), Filtro, QStringLiteral("Contatti")); });
}

void FrmBrenzola::EsportaContatto()
{
    // The stored contact, as printing takes it: edits not yet saved do not go out.
    if (IdCorrente == 0) {
        dialogs_.MsgBox(this, {QStringLiteral("Nessun contatto da esportare: sceglierne uno dall'elenco."), MsgButtons::Ok,
                               MsgIcon::Information});
        return;
    }
    QString nome = nomeCaricato_.trimmed().isEmpty() ? QStringLiteral("Contatto") : nomeCaricato_.trimmed();
    nome.replace(u'/', u'-');  // a file name, not a path
    handle([&] {
        EsportaInFile(dialogs_, this, openConnection(Connessione.get()), QStringLiteral(" where id=%1").arg(IdCorrente), nome);
    });
}

void FrmBrenzola::Doppioni()
{
    if (!LasciaContatto()) return;  // the contact on screen may be merged into another
    handle([this] { ricaricaDopoCambi(UnisciDoppioni(dialogs_, this, openConnection(Connessione.get()))); });
}

void FrmBrenzola::ApriAgenda()
{
    if (!agenda_) {
        agenda_ = new FrmAgenda(dialogs_, this);
        connect(agenda_, &FrmAgenda::apri, this, &FrmBrenzola::MostraContatto);
        connect(agenda_, &FrmAgenda::contattoCambiato, this, [this](qint64 id) {
            // The contact on screen shows the new date, unless the user is changing it.
            seguiArchivio();
            contaCampoAttivo();
            if (id == IdCorrente && !AggiornaAnagrafica) ricaricaDopoCambi(false);
        });
        connect(this, &FrmBrenzola::contattiCambiati, agenda_, &FrmAgenda::Segui);
    } else {
        agenda_->Aggiorna();
    }
    agenda_->show();
    agenda_->raise();
    agenda_->activateWindow();
}

void FrmBrenzola::AgendaAllAvvio()
{
    if (!Connessione || !FrmAgenda::AllAvvio()) return;
    bool urgente = false;
    handle([&] { urgente = AgendaUrgente(*Connessione, QDate::currentDate()); });  // one indexed look, not the agenda
    if (urgente) ApriAgenda();
}

void FrmBrenzola::MostraContatto(qint64 id)
{
    if (!LasciaContatto()) return;
    handle([&] {
        Recordset rs;
        rs.Open(QStringLiteral("Select * from Anagrafica where id =%1").arg(id), Connessione.get());
        if (rs.Eof()) {
            dialogs_.MsgBox(
                this, {QStringLiteral("Il contatto non c'è più: è stato eliminato."), MsgButtons::Ok, MsgIcon::Information});
            return;
        }
        // Listed, so that it can be seen among the others and browsed from.
        if (List1->rigaDi(id) < 0) AzzeraRicerca();
        mostraRiga(rs);
        AggiornaAnagrafica = 0;
        mostraInElenco(id);
    });
    raise();
    activateWindow();
}

void FrmBrenzola::ricaricaDopoCambi(bool cambiati)
{
    // Edits the user chose not to save go either way.
    if (cambiati) Q_EMIT contattiCambiati();
    handle([this, cambiati] {
        if (cambiati) AzzeraRicerca();
        Recordset rs;
        rs.Open(QStringLiteral("Select * from Anagrafica where id =%1").arg(IdCorrente), Connessione.get());
        if (IdCorrente != 0 && !rs.Eof()) {
            mostraRiga(rs);
            mostraInElenco(IdCorrente);
        } else {
            svuotaScheda();
            IdCorrente = 0;
        }
        AggiornaAnagrafica = 0;
    });
}

void FrmBrenzola::RicercaAvanzata()
{
    if (!LasciaContatto()) return;  // the search clears the form
    {
        FrmRicerca ricerca(dialogs_, this);  // a new window each time, with empty criteria
        dialogs_.ShowModal(ricerca);
    }
    RsLista = std::make_unique<Recordset>();
    const QString condizione = Filtro.trimmed();
    if (!condizione.isEmpty() && condizione.left(5).toUpper() != u"WHERE") Filtro = QStringLiteral(" Where ") + Filtro;
    RsLista->Open(QueryLista(), Connessione.get());
    elenco_ = Elenco::Avanzata;
    RiempiLista();
    svuotaScheda();
    IdCorrente = 0;
}

// ---- Edit-state tracking ----

QString FrmBrenzola::contenuto(const QLineEdit* field) { return field->text(); }

QString FrmBrenzola::contenuto(const CalendarField* field) { return ComeTesto(ValoreNonNullo(field->value(), QString())); }

QString FrmBrenzola::contenuto(const QTextEdit* field) { return field->toPlainText(); }

void FrmBrenzola::ricordaCampo(const QString& contenuto) { CampoTemp = contenuto; }

void FrmBrenzola::confrontaCampo(const QString& contenuto)
{
    if (contenuto != CampoTemp) AggiornaAnagrafica = -1;
}

const FrmBrenzola::FocusHandlers* FrmBrenzola::campoAttivo() const
{
    for (QWidget* widget = QApplication::focusWidget(); widget; widget = widget->parentWidget()) {
        const auto found = trackedFields_.constFind(widget);
        if (found != trackedFields_.constEnd()) return &*found;
    }
    return nullptr;
}

void FrmBrenzola::contaCampoAttivo()
{
    if (const FocusHandlers* campo = campoAttivo()) (this->*campo->lostFocus)();
}

void FrmBrenzola::ricordaCampoAttivo()
{
    // A field that keeps the focus while the form is replaced compares with what it shows now.
    if (const FocusHandlers* campo = campoAttivo()) (this->*campo->gotFocus)();
}

void FrmBrenzola::TxtCognome_GotFocus() { ricordaCampo(contenuto(TxtCognome)); }
void FrmBrenzola::TxtCognome_LostFocus() { confrontaCampo(contenuto(TxtCognome)); }
void FrmBrenzola::TxtNome_GotFocus() { ricordaCampo(contenuto(TxtNome)); }
void FrmBrenzola::TxtNome_LostFocus() { confrontaCampo(contenuto(TxtNome)); }
void FrmBrenzola::DtInizio_GotFocus() { ricordaCampo(contenuto(DtInizio)); }
void FrmBrenzola::DtInizio_LostFocus() { confrontaCampo(contenuto(DtInizio)); }
void FrmBrenzola::TxtTipoRef_GotFocus() { ricordaCampo(contenuto(TxtTipoRef)); }
void FrmBrenzola::TxtTipoRef_LostFocus() { confrontaCampo(contenuto(TxtTipoRef)); }
void FrmBrenzola::TxtProv_GotFocus() { ricordaCampo(contenuto(TxtProv)); }
void FrmBrenzola::TxtProv_LostFocus() { confrontaCampo(contenuto(TxtProv)); }
void FrmBrenzola::TxtCitta_GotFocus() { ricordaCampo(contenuto(TxtCitta)); }
void FrmBrenzola::TxtCitta_LostFocus() { confrontaCampo(contenuto(TxtCitta)); }
void FrmBrenzola::TxtIndirizzo_GotFocus() { ricordaCampo(contenuto(TxtIndirizzo)); }
void FrmBrenzola::TxtIndirizzo_LostFocus() { confrontaCampo(contenuto(TxtIndirizzo)); }
void FrmBrenzola::TxtCap_GotFocus() { ricordaCampo(contenuto(TxtCap)); }
void FrmBrenzola::TxtCap_LostFocus() { confrontaCampo(contenuto(TxtCap)); }
void FrmBrenzola::TxtEmail_GotFocus() { ricordaCampo(contenuto(TxtEmail)); }
void FrmBrenzola::TxtEmail_LostFocus() { confrontaCampo(contenuto(TxtEmail)); }
void FrmBrenzola::TxtTelefono_GotFocus() { ricordaCampo(contenuto(TxtTelefono)); }
void FrmBrenzola::TxtTelefono_LostFocus() { confrontaCampo(contenuto(TxtTelefono)); }
void FrmBrenzola::TxtCell_GotFocus() { ricordaCampo(contenuto(TxtCell)); }
void FrmBrenzola::TxtCell_LostFocus() { confrontaCampo(contenuto(TxtCell)); }
void FrmBrenzola::DtNasc_GotFocus() { ricordaCampo(contenuto(DtNasc)); }
void FrmBrenzola::DtNasc_LostFocus() { confrontaCampo(contenuto(DtNasc)); }
void FrmBrenzola::Txtfonte_GotFocus() { ricordaCampo(contenuto(Txtfonte)); }
void FrmBrenzola::Txtfonte_LostFocus() { confrontaCampo(contenuto(Txtfonte)); }
void FrmBrenzola::DtDataRicontattare_GotFocus() { ricordaCampo(contenuto(DtDataRicontattare)); }
void FrmBrenzola::DtDataRicontattare_LostFocus() { confrontaCampo(contenuto(DtDataRicontattare)); }
void FrmBrenzola::TxtCommenti_GotFocus() { ricordaCampo(contenuto(TxtCommenti)); }
void FrmBrenzola::TxtCommenti_LostFocus() { confrontaCampo(contenuto(TxtCommenti)); }

}  // namespace brenzola
