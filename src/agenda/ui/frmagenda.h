#pragma once

#include "agenda/agenda.h"

#include "store/connection.h"
#include "store/giornale.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTimer;
class QTreeView;

namespace brenzola {

class Dialogs;
class ModelloCompleanni;
class ModelloRicontatti;

// "Da ricontattare": the contacts to call, overdue ones first, those of today and of the
// next days, and the birthdays of the week. A window beside the main one: choosing an
// entry asks the main window to show that contact; "Fatto" writes the next date to call
// at once; it prints, and exports an iCalendar file.
class FrmAgenda : public QDialog {
    Q_OBJECT

public:
    using Oggi = std::function<QDate()>;

    explicit FrmAgenda(Dialogs& dialogs, QWidget* parent = nullptr, Oggi oggi = &QDate::currentDate);

    // Up to date with the open store, keeping the entry chosen: on the same day, only the
    // contacts the journal says changed are read again.
    void Aggiorna();
    // As Aggiorna() while the agenda is shown; closed, it costs nothing, and it catches up
    // when it is shown again.
    void Segui();
    const Agenda& agenda() const { return *agenda_; }
    // The key of the chosen entry (a contact to call or a birthday), 0 for none.
    qint64 IdScelto() const;
    // Chooses the entry of that contact, if it is listed.
    void Scegli(qint64 id);

    // The user's choices, remembered in their settings file: whether the agenda opens by
    // itself at start-up when something is overdue or due today, and how many days ahead
    // it looks.
    static bool AllAvvio();
    static int Giorni();

Q_SIGNALS:
    // The user wants this contact in the main window.
    void apri(qint64 id);
    // "Fatto" wrote this contact.
    void contattoCambiato(qint64 id);

protected:
    bool event(QEvent* event) override;

private:
    // What the agenda on screen was read from: another store, day or horizon is read whole.
    struct Lettura {
        QString connessione;
        QDate oggi;
        int giorni = 0;
        bool operator==(const Lettura&) const = default;
    };

    // Shows `agenda`: read whole, or only a few of its rows changed.
    void riempi(Agenda&& agenda, bool intera);
    void fatto(const QDate& prossima);
    void scegliData();
    void stampa();
    void esportaCalendario();
    void apriScelto();
    void aggiornaPulsanti();
    void puntaAMezzanotte();
    std::optional<Promemoria> promemoriaScelto() const;

    Dialogs& dialogs_;
    Oggi oggi_;
    std::shared_ptr<const Agenda> agenda_;  // shared with the lists, which may outlive the window's members
    std::optional<Lettura> letta_;
    CursoreGiornale cursore_;   // what of the store's changes the agenda on screen holds
    bool daRileggere_ = false;  // the user went elsewhere since the last reading
    QTimer* mezzanotte_;
    ModelloRicontatti* ricontatti_;
    ModelloCompleanni* compleanni_;

    QSpinBox* SpnGiorni;
    QTreeView* GrigliaRicontatti;
    QTreeView* GrigliaCompleanni;
    QPushButton* CmdApri;
    QPushButton* CmdFatto;
    QPushButton* CmdStampa;
    QPushButton* CmdCalendario;
    QPushButton* CmdChiudi;
    QCheckBox* ChkAvvio;
};

}  // namespace brenzola
