#include "register/comandiagenda.h"

#include "agenda/agenda.h"
#include "agenda/ui/frmagenda.h"
#include "store/registro.h"
#include "widgets/screenfit.h"

#include <QDate>

namespace brenzola {

ComandiAgenda::ComandiAgenda(Dialogs& dialogs, QWidget* finestra, Registro& registro)
    : QObject(finestra),
      dialogs_(dialogs),
      finestra_(finestra),
      registro_(registro)
{
}

void ComandiAgenda::apri()
{
    if (!agenda_) {
        agenda_ = new FrmAgenda(dialogs_, finestra_);
        connect(agenda_, &FrmAgenda::apri, this, &ComandiAgenda::apriContatto);
        connect(agenda_, &FrmAgenda::contattoCambiato, this, &ComandiAgenda::contattoCambiato);
        keepOnScreen(agenda_, finestra_);  // the contacts it opens show in the main window: both in sight
    } else {
        agenda_->Aggiorna();
    }
    agenda_->show();
    agenda_->raise();
    agenda_->activateWindow();
}

void ComandiAgenda::allAvvio()
{
    if (!registro_.connessione || !FrmAgenda::AllAvvio()) return;
    if (AgendaUrgente(*registro_.connessione, QDate::currentDate())) apri();  // one indexed look, not the agenda
}

void ComandiAgenda::chiudi()
{
    if (agenda_) agenda_->close();
}

void ComandiAgenda::segui()
{
    if (agenda_) agenda_->Segui();
}

}  // namespace brenzola
