#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

namespace brenzola {

class Dialogs;
class FrmAgenda;
class Registro;

// The follow-up agenda beside the main window: opened on demand, or at start when something
// is overdue or due today; it follows the contacts the window changes.
class ComandiAgenda : public QObject {
    Q_OBJECT

public:
    ComandiAgenda(Dialogs& dialogs, QWidget* finestra, Registro& registro);

    // Opens the agenda, or brings it up to date and to the front.
    void apri();
    // At start-up: opens the agenda when something is overdue or due today, unless the user
    // turned that off.
    void allAvvio();
    // Closes the agenda; it reads the store, which is about to close.
    void chiudi();
    // Contacts changed elsewhere: an open agenda reads them again.
    void segui();

Q_SIGNALS:
    // The user asked to see that contact in the main window.
    void apriContatto(qint64 id);
    // The agenda changed that contact (a call done, a date moved).
    void contattoCambiato(qint64 id);

private:
    Dialogs& dialogs_;
    QWidget* finestra_;
    Registro& registro_;
    QPointer<FrmAgenda> agenda_;
};

}  // namespace brenzola
