#pragma once

#include <QDate>
#include <QString>

#include <iterator>
#include <memory>
#include <vector>

namespace brenzola {

class Connection;
struct Agenda;

// A contact to call again, as the agenda lists it.
struct Promemoria {
    qint64 id = 0;
    QString nome;  // "Cognome Nome", as the list shows it
    QString telefono;
    QString cell;
    QString email;
    QDate data;    // the date to call again
    QString nota;  // the first line of the comments
    // A digest of what the agenda read of the contact (the columns it shows, the whole
    // comments and the date): "Fatto" writes only while the contact still holds it.
    size_t impronta = 0;
};

// The contacts of one section of the agenda, in order. A register of a million contacts
// has hundreds of thousands due: one small row each, their texts packed together as UTF-8.
class ElencoPromemoria {
public:
    enum Testo { Nome, Telefono, Cell, Email, Nota };

    qsizetype size() const { return qsizetype(righe_.size()); }
    bool empty() const { return righe_.empty(); }
    qint64 id(qsizetype i) const { return righe_[size_t(i)].id; }
    QDate data(qsizetype i) const { return QDate::fromJulianDay(righe_[size_t(i)].giorno); }
    QString testo(qsizetype i, Testo quale) const;
    Promemoria operator[](qsizetype i) const;
    Promemoria front() const { return (*this)[0]; }
    // Where that contact is in the section, or -1.
    qsizetype indice(qint64 id) const;

    class const_iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = Promemoria;
        using difference_type = qsizetype;
        using pointer = void;
        using reference = Promemoria;
        const_iterator(const ElencoPromemoria* elenco, qsizetype i) : elenco_(elenco), i_(i) {}
        Promemoria operator*() const { return (*elenco_)[i_]; }
        const_iterator& operator++()
        {
            ++i_;
            return *this;
        }
        bool operator==(const const_iterator& other) const { return i_ == other.i_; }

    private:
        const ElencoPromemoria* elenco_;
        qsizetype i_;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    // The texts of many rows, in blocks that never move once written.
    class Testi;
    struct Riga {
        qint64 id = 0;
        size_t impronta = 0;
        quint64 testi = 0;  // where the row's texts start: block number, then offset in it
        qint32 giorno = 0;  // the date to call again, as a Julian day
        qint32 ordine = 0;  // the name's place in the Italian order, while sorting
    };

    ElencoPromemoria() = default;
    ElencoPromemoria(std::shared_ptr<Testi> testi, std::vector<Riga> righe);

private:
    friend bool AggiornaAgenda(Connection& connection, Agenda& agenda, const std::vector<qint64>& ids);

    // Shared by the sections of one reading and by the agendas updated from it: texts are
    // only ever added, and rows already read keep pointing at theirs.
    std::shared_ptr<Testi> testi_;
    std::vector<Riga> righe_;
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
    int anni = 0;  // the age reached that day; 0 when the year of birth is not known
};

// Whom to call: overdue (oldest first), today, and in the next `giorni` days; and the
// birthdays of the week starting today. A date to call again of 1 January 1900 or
// before, like a missing one, is no date.
struct Agenda {
    QString registro;  // the register's identity (Connection::identity()); empty: it has none
    QDate oggi;
    int giorni = 7;
    ElencoPromemoria scaduti;
    ElencoPromemoria diOggi;
    ElencoPromemoria prossimi;
    std::vector<Compleanno> compleanni;

    // Something is overdue or due today: the agenda opens by itself at start-up.
    bool urgente() const { return !scaduti.empty() || !diOggi.empty(); }
    // "scaduti, oggi e i prossimi 7 giorni, al 08/12/2026"
    QString periodo() const;
};

inline constexpr int kGiorniCompleanni = 7;

Agenda LeggiAgenda(Connection& connection, QDate oggi, int giorni);

// Takes into `agenda` what changed in those contacts (keys in order, as the journal tells
// them): each is read again alone and put in its place, or taken away. False, and the
// agenda as it was, when so many changed that reading it whole is quicker.
bool AggiornaAgenda(Connection& connection, Agenda& agenda, const std::vector<qint64>& ids);

// Whether something is overdue or due today, as LeggiAgenda(...).urgente() would say,
// from the first contact the index on the date to call again finds: for the start-up,
// without reading the agenda.
bool AgendaUrgente(Connection& connection, QDate oggi);

// Writes the next date to call the contact (an invalid date: none), at once, provided
// the contact still holds what the agenda read; otherwise StoreError RowChanged or
// RowNotFound, and nothing is written.
void Ricontatta(Connection& connection, const Promemoria& promemoria, const QDate& prossima);

}  // namespace brenzola
