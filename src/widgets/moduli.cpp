#include "widgets/moduli.h"

#include "printing/reportfont.h"

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
    RegistraCaratteri();
    application.setStyle(new FocusRingStyle);
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    auto* translator = new QTranslator(&application);
    if (translator->load(QLocale(QLocale::Italian), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        application.installTranslator(translator);
    application.setApplicationName(QString::fromLatin1(kTitoloApplicazione));
    application.setApplicationVersion(QStringLiteral(BRENZOLA_VERSION));
}

}  // namespace brenzola::Funzioni
