#pragma once

#include "sync/carddav.h"
#include "sync/impostazioni.h"
#include "sync/sincronizzazione.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <vector>

class QAction;
class QMenu;
class QTimer;
class QWidget;

namespace brenzola {

class Dialogs;
class LavoroSincronizzazione;
class Registro;

// The register kept in step with an address book on a CardDAV server, from the main
// window: on demand (with progress and Annulla), at start, every few minutes and a little
// after a save, as the settings say. A synchronisation runs beside the window, which stays
// usable. Those the user did not ask for fail quietly: the menu says so, and they try again
// later, less and less often. Contacts changed on both sides wait in the menu until the
// user decides about them.
class ComandiSincronizzazione : public QObject {
    Q_OBJECT

public:
    // `lascia` is the window's guard about unsaved edits (false: stay).
    ComandiSincronizzazione(Dialogs& dialogs, QWidget* finestra, Registro& registro, std::function<bool()> lascia);
    ~ComandiSincronizzazione() override;

    QMenu* menu() const { return menu_; }

    void SincronizzaOra();
    void Impostazioni();
    void DaDecidere();
    // With a store just opened: its settings, and a synchronisation if they ask for one.
    void allAvvio();
    // A contact was saved: a synchronisation follows shortly, if the settings ask for it.
    void dopoUnSalvataggio();
    // The store is about to close: a synchronisation under way stops, the timers too.
    void chiudi();

Q_SIGNALS:
    // The synchronisation changed contacts here: the window lists them again.
    void archivioCambiato();

private:
    bool attiva() const;
    // The password for the server: the keyring's, else asked (only when `chiedi`).
    bool procuraPassword(bool chiedi);
    CardDavClient::Settings server() const;
    void avvia(bool chiesta);
    // What the synchronisation that ended did: said in the menu; when the user asked for
    // it, failures and contacts to decide are shown at once.
    void concludi();
    void programma();
    void mostraStato(const QString& testo);

    Dialogs& dialogs_;
    QWidget* finestra_;
    Registro& registro_;
    std::function<bool()> lascia_;
    ImpostazioniSincronizzazione impostazioni_;
    QString password_;  // for this session only
    QPointer<LavoroSincronizzazione> lavoro_;
    std::vector<Conflitto> conflitti_;
    bool chiesta_ = false;    // the one under way was asked for by the user
    bool decidendo_ = false;  // the user is deciding about conflicts
    int fallite_ = 0;         // in a row, for the wait before the next try
    QMenu* menu_;
    QAction* stato_;
    QAction* decidi_;
    QTimer* periodica_;
    QTimer* dopoSalvataggio_;
};

}  // namespace brenzola
