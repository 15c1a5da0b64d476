#include "register/avvio.h"
#include "store/funzioni.h"
#include "widgets/dialogs.h"
#include "widgets/moduli.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    brenzola::Funzioni::ApplicaImpostazioniItaliane(application);
    return brenzola::AvviaProgramma(brenzola::Dialogs::platform(), application.arguments());
}
