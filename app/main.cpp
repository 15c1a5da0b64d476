#include "register/avvio.h"
#include "store/funzioni.h"
#include "widgets/dialogs.h"
#include "widgets/moduli.h"

#include <QApplication>
#include <QLocale>

#include <cstring>

int main(int argc, char* argv[])
{
    // The help and the version are text: they need no display.
    for (int i = 1; i < argc; ++i)
        if (!std::strcmp(argv[i], "-h") || !std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "--version")) {
            QCoreApplication testo(argc, argv);
            return brenzola::AvviaProgramma(brenzola::Dialogs::platform(), testo.arguments());
        }
    QApplication application(argc, argv);
    brenzola::Funzioni::ApplicaImpostazioniLingua(application, QLocale::system().uiLanguages());
    return brenzola::AvviaProgramma(brenzola::Dialogs::platform(), application.arguments());
}
