#include "widgets/moduli.h"

#include "printing/reportfont.h"
#include "store/funzioni.h"

#include "widgets/calendarfield.h"
#include "widgets/dialogs.h"
#include "widgets/focusringstyle.h"

#include <QApplication>
#include <QComboBox>
#include <QFont>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QTextEdit>
#include <QTranslator>

#include <memory>

namespace brenzola::Funzioni {

namespace {

// Returns true when the widget is an input control, whose own parts are not controls.
bool pulisciControllo(QWidget* control)
{
    bool isInput = false;
    if (auto* richText = qobject_cast<QTextEdit*>(control)) {
        richText->clear();
        isInput = true;
    }
    if (auto* text = qobject_cast<QLineEdit*>(control)) {
        text->setText(QString());
        isInput = true;
    }
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        combo->setEditText(QString());
        isInput = true;
    }
    if (auto* calendar = qobject_cast<CalendarField*>(control)) {
        calendar->setValue(QStringLiteral("01/01/1900"));
        isInput = true;
    }
    if (control->objectName().left(2).toUpper() == u"DT") control->setProperty("value", QVariant());
    return isInput;
}

// What both languages set: the fonts, the program's name and version, and no translation yet.
void impostaProgramma(QApplication& application)
{
    RegistraCaratteri();
    application.setStyle(new FocusRingStyle);
    // A language applied again replaces the one before.
    for (QTranslator* translator :
         application.findChildren<QTranslator*>(QString::fromLatin1(kTraduzione), Qt::FindDirectChildrenOnly))
        delete translator;  // a destroyed translator removes itself from the application
    application.setApplicationName(QString::fromLatin1(kTitoloApplicazione));
    application.setApplicationVersion(QStringLiteral(BRENZOLA_VERSION));
}

void pulisciFigli(QWidget* parent)
{
    for (QObject* child : parent->children()) {
        auto* control = qobject_cast<QWidget*>(child);
        if (control && !pulisciControllo(control)) pulisciFigli(control);
    }
}

}  // namespace

void PulisciCampi(QWidget* finestra) { pulisciFigli(finestra); }

void ApplicaImpostazioniItaliane(QApplication& application)
{
    impostaProgramma(application);
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    auto* translator = new QTranslator(&application);
    translator->setObjectName(QString::fromLatin1(kTraduzione));
    if (translator->load(QLocale(QLocale::Italian), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        application.installTranslator(translator);
}

QString IngleseVoluto(const QStringList& lingueUtente)
{
    for (const QString& lingua : lingueUtente) {
        const QLocale::Language quale = QLocale(lingua).language();
        if (quale == QLocale::Italian) return {};
        if (quale == QLocale::English) return lingua;
    }
    return {};
}

void ApplicaImpostazioniLingua(QApplication& application, const QStringList& lingueUtente)
{
    const QString inglese = IngleseVoluto(lingueUtente);
    auto translator = std::make_unique<QTranslator>();
    // Built into the program; should it ever be missing, Italian throughout beats a mixture.
    if (inglese.isEmpty() || !translator->load(QStringLiteral(":/i18n/brenzola_en.qm"))) {
        ApplicaImpostazioniItaliane(application);
        return;
    }
    impostaProgramma(application);
    QLocale::setDefault(QLocale(inglese));  // Qt's own texts are English already
    translator->setObjectName(QString::fromLatin1(kTraduzione));
    translator->setParent(&application);
    application.installTranslator(translator.release());
}

}  // namespace brenzola::Funzioni
