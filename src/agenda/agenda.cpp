#include "agenda.h"

#include "connection.h"
#include "funzioni.h"
#include "recordset.h"
#include "storeerror.h"

#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace brenzola {
namespace {

const QDate kNessunaData(1900, 1, 1);

QString sqlData(QDate data) { return u'#' + data.toString(QStringLiteral("MM/dd/yyyy")) + u'#'; }

QString testo(const Recordset& rs, const char* colonna) { return rs.Fields(QLatin1String(colonna)).toString(); }

QString nomeDi(const Recordset& rs) { return testo(rs, "Cognome") + u' ' + testo(rs, "Nome"); }

}  // namespace

QString Agenda::periodo() const
{
    return QStringLiteral("scaduti, oggi e %1, al %2")
        .arg(giorni == 1 ? QStringLiteral("domani") : QStringLiteral("i prossimi %1 giorni").arg(giorni),
             oggi.toString(QLatin1String(Funzioni::kFormatoData)));
}

Agenda LeggiAgenda(Connection& connection, QDate oggi, int giorni)
{
    Agenda agenda;
    agenda.oggi = oggi;
    agenda.giorni = giorni;

    Recordset rs;
    rs.Open(QStringLiteral("Select * from Anagrafica where DataRicont > %1 and DataRicont <= %2 "
                           "ORDER BY DataRicont, Cognome & ' ' & Nome")
                .arg(sqlData(kNessunaData), sqlData(oggi.addDays(giorni))),
            &connection);
    for (; !rs.Eof(); rs.MoveNext()) {
        const QVariant data = rs.Fields(QStringLiteral("DataRicont"));
        if (data.typeId() != QMetaType::QDate) continue;  // text another program stored that is no date
        Promemoria p{rs.Fields(QStringLiteral("id")).toLongLong(),
                     nomeDi(rs),
                     testo(rs, "Telefono"),
                     testo(rs, "Cell"),
                     testo(rs, "Email"),
                     data.toDate(),
                     testo(rs, "Commenti").section(QRegularExpression(QStringLiteral("[\\r\\n]")), 0, 0).trimmed(),
                     rs.StoredValues()};
        auto& sezione = p.data < oggi ? agenda.scaduti : p.data == oggi ? agenda.diOggi : agenda.prossimi;
        sezione.push_back(std::move(p));
    }

    // Birthdays by month and day; one born on 29 February has it on the 28th in other years.
    QSet<int> giorniDellAnno;
    std::vector<QDate> settimana;
    for (int i = 0; i < kGiorniCompleanni; ++i) {
        const QDate giorno = oggi.addDays(i);
        settimana.push_back(giorno);
        giorniDellAnno << giorno.month() * 100 + giorno.day();
        if (giorno.month() == 2 && giorno.day() == 28 && !QDate::isLeapYear(giorno.year())) giorniDellAnno << 229;
    }
    QStringList elenco;
    for (int giorno : giorniDellAnno) elenco << QString::number(giorno);
    Recordset nati;
    nati.Open(QStringLiteral("Select id, Cognome, Nome, Telefono, Cell, Email, DataNasc from Anagrafica "
                             "where Month(DataNasc) * 100 + Day(DataNasc) in (%1)")
                  .arg(elenco.join(u',')),
              &connection);
    for (; !nati.Eof(); nati.MoveNext()) {
        const QVariant nascita = nati.Fields(QStringLiteral("DataNasc"));
        if (nascita.typeId() != QMetaType::QDate || nascita.toDate() <= kNessunaData) continue;
        const QDate nato = nascita.toDate();
        if (nato > oggi) continue;  // a birth date yet to come is a typing slip, not a birthday
        for (const QDate& giorno : settimana) {
            const bool stessoGiorno = giorno.month() == nato.month() && giorno.day() == nato.day();
            const bool bisestile = nato.month() == 2 && nato.day() == 29 && giorno.month() == 2 && giorno.day() == 28
                                   && !QDate::isLeapYear(giorno.year());
            if (!stessoGiorno && !bisestile) continue;
            agenda.compleanni.push_back({nati.Fields(0).toLongLong(), nomeDi(nati), testo(nati, "Telefono"), testo(nati, "Cell"),
                                         testo(nati, "Email"), nato, giorno, giorno.year() - nato.year()});
            break;
        }
    }
    std::sort(agenda.compleanni.begin(), agenda.compleanni.end(), [](const Compleanno& a, const Compleanno& b) {
        return a.giorno != b.giorno ? a.giorno < b.giorno : QString::localeAwareCompare(a.nome, b.nome) < 0;
    });
    return agenda;
}

void Ricontatta(Connection& connection, const Promemoria& promemoria, const QDate& prossima)
{
    Recordset rs;
    rs.Open(QStringLiteral("Select * from Anagrafica where id =%1").arg(promemoria.id), &connection);
    if (rs.Eof())
        throw StoreError(StoreErrorNumber::RowNotFound,
                         QStringLiteral("Il contatto «%1» è stato eliminato da un altro utente.").arg(promemoria.nome.trimmed()));
    if (!rs.Holds(promemoria.memorizzato))
        throw StoreError(StoreErrorNumber::RowChanged,
                         QStringLiteral("Il contatto «%1» è stato modificato da un altro utente dopo che l'agenda lo ha letto.")
                             .arg(promemoria.nome.trimmed()));
    rs.SetField(QStringLiteral("DataRicont"), prossima.isValid() ? QVariant(prossima) : QVariant());
    rs.Update();
}

}  // namespace brenzola
