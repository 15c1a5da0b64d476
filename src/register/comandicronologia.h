#pragma once

#include <QObject>

#include <functional>

class QMenu;
class QWidget;

namespace brenzola {

class Connection;
class Dialogs;

// The main window's history commands, in the menu of its Cronologia button: undo this
// desk's last operation, the recent operations of every desk, the bin, the versions of the
// contact on screen. Whatever may change that contact first asks the window's guard.
class ComandiCronologia : public QObject {
    Q_OBJECT

public:
    // `lascia` is the window's guard about unsaved edits (false: stay); `corrente` the key
    // of the contact on screen, 0 for none.
    ComandiCronologia(Dialogs& dialogs, QWidget* finestra, std::function<bool()> lascia, std::function<qint64()> corrente);

    QMenu* menu() const { return menu_; }

    void AnnullaUltima();
    void ApriOperazioni();
    void ApriCestino();
    void ApriCronologia();
    // At start-up: erases the contacts deleted longer ago than the bin keeps them, on a store
    // with a journal that can be written. A failure is shown, and the start goes on.
    void CestinoAllAvvio();

Q_SIGNALS:
    // Contacts changed: the window lists them again and shows its contact as stored.
    void archivioCambiato();

private:
    // Runs a command on the open store, showing a failure.
    template <typename Lavoro> void esegui(Lavoro&& lavoro);
    // Shows a history window modally once it has read what it shows, passing on its changes.
    template <typename Finestra> void mostra(Finestra& finestra);

    Dialogs& dialogs_;
    QWidget* finestra_;
    std::function<bool()> lascia_;
    std::function<qint64()> corrente_;
    QMenu* menu_;
};

}  // namespace brenzola
