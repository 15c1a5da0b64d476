#pragma once

#include <QDate>
#include <QString>
#include <QVariantList>

#include <vector>

namespace brenzola {

class Connection;

// A contact to call again, as the agenda lists it.
struct Promemoria {
    qint64 id = 0;
    QString nome;  // "Cognome Nome", as the list shows it
    QString telefono;
    QString cell;
    QString email;
    QDate data;    // the date to call again
    QString nota;  // the first line of the comments
    QVariantList memorizzato;  // the row as read: a change is written only if it still holds
};

// A birthday in the coming week.
struct Compleanno {
    qint64 id = 0;
    QString nome;
    QString telefono;
    QString cell;
    QString email;
    QDate nascita;
    QDate giorno;  // when it falls; 29 February falls on the 28th in other years
    int anni = 0;  // the age reached that day
};

// Whom to call: overdue (oldest first), today, and in the next `giorni` days; and the
// birthdays of the week starting today. A date to call again of 1 January 1900 or
// before, like a missing one, is no date.
struct Agenda {
    QDate oggi;
    int giorni = 7;
    std::vector<Promemoria> scaduti;
    std::vector<Promemoria> diOggi;
    std::vector<Promemoria> prossimi;
    std::vector<Compleanno> compleanni;

    // Something is overdue or due today: the agenda opens by itself at start-up.
    bool urgente() const { return !scaduti.empty() || !diOggi.empty(); }
    // "scaduti, oggi e i prossimi 7 giorni, al 08/12/2026"
    QString periodo() const;
};

inline constexpr int kGiorniCompleanni = 7;

Agenda LeggiAgenda(Connection& connection, QDate oggi, int giorni);

// Writes the next date to call the contact (an invalid date: none), at once, provided
// the contact is still as the agenda read it; otherwise StoreError RowChanged or
// RowNotFound, and nothing is written.
void Ricontatta(Connection& connection, const Promemoria& promemoria, const QDate& prossima);

}  // namespace brenzola
