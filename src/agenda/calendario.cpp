#include "agenda/calendario.h"

#include "exchange/rigacontenuto.h"

namespace brenzola {
namespace {

constexpr char kDominio[] = "brenzola.example";

QByteArray data(const QDate& giorno) { return giorno.toString(QStringLiteral("yyyyMMdd")).toLatin1(); }

QByteArray testo(const char* nome, const QString& valore) { return QByteArray(nome) + ':' + testoEscaped(valore).toUtf8(); }

// An entry's UID, unique among every register's: a calendar that imports the agendas of
// two registers keeps the entries of both. Made of the register's identity rather than the
// contact's UID, which two registers share when both imported the same address book; the
// same for every export of one register, so an export imported again replaces its entries.
// A register without an identity keeps the form it always had.
QByteArray uid(const QByteArray& voce, const QString& registro)
{
    return "UID:" + voce + (registro.isEmpty() ? QByteArray() : '-' + testoEscaped(registro).toUtf8()) + '@' + kDominio;
}

QString recapiti(const QString& telefono, const QString& cell, const QString& email)
{
    QStringList righe;
    if (!telefono.trimmed().isEmpty()) righe << QStringLiteral("Telefono: ") + telefono.trimmed();
    if (!cell.trimmed().isEmpty()) righe << QStringLiteral("Cell.: ") + cell.trimmed();
    if (!email.trimmed().isEmpty()) righe << QStringLiteral("Email: ") + email.trimmed();
    return righe.join(u'\n');
}

}  // namespace

QByteArray CalendarioAgenda(const Agenda& agenda, const QDateTime& adesso)
{
    QByteArray out;
    const auto riga = [&out](const QByteArray& linea) { out += rigaPiegata(linea); };
    const QByteArray timbro = "DTSTAMP:" + adesso.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")).toLatin1();
    riga("BEGIN:VCALENDAR");
    riga("VERSION:2.0");
    riga("PRODID:-//Brenzola//Brenzola 1.0//IT");
    riga("CALSCALE:GREGORIAN");
    for (const auto* sezione : {&agenda.scaduti, &agenda.diOggi, &agenda.prossimi}) {
        for (const Promemoria& p : *sezione) {
            riga("BEGIN:VTODO");
            riga(uid("ricontattare-" + QByteArray::number(p.id) + '-' + data(p.data), agenda.registro));
            riga(timbro);
            riga("DUE;VALUE=DATE:" + data(p.data));
            riga(testo("SUMMARY", QStringLiteral("Ricontattare %1").arg(p.nome.trimmed())));
            QString descrizione = recapiti(p.telefono, p.cell, p.email);
            if (!p.nota.isEmpty()) descrizione += (descrizione.isEmpty() ? QString() : QStringLiteral("\n")) + p.nota;
            if (!descrizione.isEmpty()) riga(testo("DESCRIPTION", descrizione));
            riga("STATUS:NEEDS-ACTION");
            riga("END:VTODO");
        }
    }
    for (const Compleanno& c : agenda.compleanni) {
        const bool bisestile = c.nascita.month() == 2 && c.nascita.day() == 29;
        riga("BEGIN:VEVENT");
        riga(uid("compleanno-" + QByteArray::number(c.id), agenda.registro));
        riga(timbro);
        riga("DTSTART;VALUE=DATE:" + data(c.nascita));
        riga("DTEND;VALUE=DATE:" + data(c.nascita.addDays(1)));
        riga(bisestile ? "RRULE:FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=-1" : "RRULE:FREQ=YEARLY");
        riga(testo("SUMMARY", QStringLiteral("Compleanno di %1").arg(c.nome.trimmed())));
        if (const QString r = recapiti(c.telefono, c.cell, c.email); !r.isEmpty()) riga(testo("DESCRIPTION", r));
        riga("TRANSP:TRANSPARENT");
        riga("END:VEVENT");
    }
    riga("END:VCALENDAR");
    return out;
}

}  // namespace brenzola
