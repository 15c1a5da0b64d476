#include "avvio.h"
#include "dialogs.h"
#include "funzioni.h"
#include "moduli.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    brenzola::Funzioni::ApplicaImpostazioniItaliane(application);
    return brenzola::AvviaProgramma(brenzola::Dialogs::platform(), application.arguments());
}
