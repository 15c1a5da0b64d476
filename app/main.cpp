#include "frmbrenzola.h"
#include "funzioni.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    brenzola::Funzioni::ApplicaImpostazioniItaliane(application);
    brenzola::FrmBrenzola window;
    if (!window.Form_Load()) return 1;
    window.show();
    return application.exec();
}
