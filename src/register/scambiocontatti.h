#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QMenu;
class QWidget;

namespace brenzola {

class Dialogs;
class Registro;

// Contacts in and out of the main window: a vCard or CSV file imported, the listed
// contacts or the one on screen exported, the register's duplicates merged.
class ScambioContatti : public QObject {
    Q_OBJECT

public:
    // The stored contact on screen: its key (0 for none) and its name as stored.
    struct Mostrato {
        qint64 id = 0;
        QString nome;
    };
    // `lascia` is the window's guard about unsaved edits (false: stay); `mostrato` tells
    // which contact is on screen.
    ScambioContatti(Dialogs& dialogs, QWidget* finestra, Registro& registro, std::function<bool()> lascia,
                    std::function<Mostrato()> mostrato);

    // Esporta's entries, the list and the contact on screen, each with its shortcut.
    QMenu* menuEsporta() const { return menu_; }

    void importa();
    void esportaElenco();
    void esportaContatto();
    void doppioni();

Q_SIGNALS:
    // An import or a merge ended (the window shows its contact as stored); `cambiati` when
    // it changed the store.
    void finito(bool cambiati);

private:
    // Runs a command on the open store, showing a failure.
    template <typename Lavoro> void esegui(Lavoro&& lavoro);

    Dialogs& dialogs_;
    QWidget* finestra_;
    Registro& registro_;
    std::function<bool()> lascia_;
    std::function<Mostrato()> mostrato_;
    QMenu* menu_;
};

}  // namespace brenzola
