#include "exchange/scambio.h"

#include "exchange/csv.h"
#include "exchange/doppioni.h"
#include "exchange/ldif.h"
#include "exchange/tracciati.h"
#include "exchange/vcard.h"
#include "store/connection.h"
#include "store/giornale.h"
#include "store/logging.h"
#include "store/recordset.h"
#include "store/storeerror.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>

#include <map>

namespace brenzola {
namespace {

constexpr qint64 kFileMassimo = qint64(1) << 30;

StoreError erroreFile(const QFileDevice& file, const QString& cosa)
{
    const int numero = file.error() == QFileDevice::PermissionsError ? StoreErrorNumber::PermissionDenied
                       : file.error() == QFileDevice::ResourceError  ? StoreErrorNumber::DiskFull
                                                                     : StoreErrorNumber::PathFileAccess;
    return StoreError(
        numero, QCoreApplication::translate("brenzola::Scambio", "%1 «%2»: %3.").arg(cosa, file.fileName(), file.errorString()));
}

QByteArray scritto(const Contatto& contatto, FormatoScambio formato)
{
    switch (formato) {
    case FormatoScambio::VCard4:
        return schedaVCard(contatto, VersioneVCard::V4);
    case FormatoScambio::VCard3:
        return schedaVCard(contatto, VersioneVCard::V3);
    case FormatoScambio::CsvItaliano:
        return rigaCsv(contatto, StileCsv::Italiano);
    case FormatoScambio::CsvRfc:
        return rigaCsv(contatto, StileCsv::Rfc4180);
    case FormatoScambio::CsvGoogle:
        return rigaTracciato(contatto, Tracciato::Google);
    case FormatoScambio::CsvOutlook:
        return rigaTracciato(contatto, Tracciato::Outlook);
    case FormatoScambio::Ldif:
        return voceLdif(contatto);
    }
    return {};
}

qint64 conta(Connection& connection, const QString& filtro)
{
    Recordset rs;
    rs.Open(QStringLiteral("Select count(*) from Anagrafica ") + filtro, &connection);
    return rs.Eof() ? 0 : rs.Fields(0).toLongLong();
}

// Every contact's name, e-mail, telephones and birth date, in the list's order, under its key.
bool leggiChiavi(Connection& connection, IndiceDoppioni& indice, const Avanzamento& avanzamento, qint64 totale)
{
    Recordset rs;
    rs.Open(
        QStringLiteral("Select id, Cognome, Nome, Email, Telefono, Cell, DataNasc from Anagrafica ORDER BY Cognome & ' ' & Nome"),
        &connection);
    qint64 letti = 0;
    for (; !rs.Eof(); rs.MoveNext()) {
        Contatto c;
        c[Campo::Cognome] = rs.Fields(1);
        c[Campo::Nome] = rs.Fields(2);
        c[Campo::Email] = rs.Fields(3);
        c[Campo::Telefono] = rs.Fields(4);
        c[Campo::Cell] = rs.Fields(5);
        c[Campo::DataNasc] = rs.Fields(6);
        indice.aggiungi(rs.Fields(0).toLongLong(), c);
        if (avanzamento && ++letti % 1024 == 0 && !avanzamento(letti, totale)) return false;
    }
    return true;
}

// The stored contact, provided it is still as it was read.
void apriInvariato(Recordset& rs, Connection& connection, const Contatto& letto)
{
    rs.Open(QStringLiteral("Select * from Anagrafica where id =%1").arg(letto.id), &connection);
    if (rs.Eof())
        throw StoreError(StoreErrorNumber::RowNotFound,
                         QCoreApplication::translate("brenzola::Scambio",
                                                     "Il contatto «%1» è stato eliminato da un altro utente nel frattempo.")
                             .arg(letto.nomeCompleto()));
    if (!rs.Holds(letto.memorizzato))
        throw StoreError(StoreErrorNumber::RowChanged,
                         QCoreApplication::translate("brenzola::Scambio",
                                                     "Il contatto «%1» è stato modificato da un altro utente nel frattempo.")
                             .arg(letto.nomeCompleto()));
}

void riscrivi(Connection& connection, const Contatto& prima, const Contatto& dopo)
{
    Recordset rs;
    apriInvariato(rs, connection, prima);
    scriviCampi(rs, prima, dopo);
    rs.Update();
}

// Runs `lavoro` as one operation of the journal; false when it stopped, and then nothing is kept.
template <typename Lavoro> bool inOperazione(Connection& connection, const QString& etichetta, Lavoro&& lavoro)
{
    Operazione operazione(connection, etichetta);
    if (!lavoro()) return false;
    operazione.Concludi();
    return true;
}

}  // namespace

std::optional<qint64> Esporta(Connection& connection, const QString& filtro, FormatoScambio formato, const QString& file,
                              const Avanzamento& avanzamento)
{
    const qint64 totale = conta(connection, filtro);
    Recordset rs;
    rs.Open(QStringLiteral("Select * from Anagrafica ") + filtro + QStringLiteral(" ORDER BY Cognome & ' ' & Nome"), &connection);
    QSaveFile uscita(file);
    if (!uscita.open(QIODevice::WriteOnly))
        throw erroreFile(uscita, QCoreApplication::translate("brenzola::Scambio", "Impossibile scrivere il file"));
    if (formato == FormatoScambio::CsvItaliano) uscita.write(intestazioneCsv(StileCsv::Italiano));
    if (formato == FormatoScambio::CsvRfc) uscita.write(intestazioneCsv(StileCsv::Rfc4180));
    if (formato == FormatoScambio::CsvGoogle) uscita.write(intestazioneTracciato(Tracciato::Google));
    if (formato == FormatoScambio::CsvOutlook) uscita.write(intestazioneTracciato(Tracciato::Outlook));
    qint64 scritti = 0;
    for (; !rs.Eof(); rs.MoveNext()) {
        uscita.write(scritto(contattoDa(rs), formato));
        if (++scritti % 256 == 0 && avanzamento && !avanzamento(scritti, totale)) {
            uscita.cancelWriting();
            return std::nullopt;
        }
    }
    if (!uscita.commit())
        throw erroreFile(uscita, QCoreApplication::translate("brenzola::Scambio", "Impossibile scrivere il file"));
    qCInfo(lcExchange) << "exported" << scritti << "contacts in format" << int(formato) << "to" << file;
    return scritti;
}

QByteArray LeggiFile(const QString& nome)
{
    QFile file(nome);
    if (!file.open(QIODevice::ReadOnly))
        throw erroreFile(file, QCoreApplication::translate("brenzola::Scambio", "Impossibile leggere il file"));
    if (file.size() > kFileMassimo)
        throw StoreError(
            StoreErrorNumber::FileFormat,
            QCoreApplication::translate("brenzola::Scambio", "Il file «%1» è troppo grande per un elenco di contatti (%2 MB).")
                .arg(nome, QString::number(file.size() >> 20)));
    QByteArray dati = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw erroreFile(file, QCoreApplication::translate("brenzola::Scambio", "Impossibile leggere il file"));
    return dati;
}

Riepilogo Importa(Connection& connection, const Lettura& lettura, const SceltaDoppione& scelta, const Avanzamento& avanzamento)
{
    Riepilogo riepilogo;
    riepilogo.ignorate = lettura.ignorate;
    const qint64 voci = qint64(lettura.voci.size());
    const qint64 esistenti = conta(connection, QStringLiteral(" "));
    const qint64 totale = esistenti + 2 * voci;  // reading the store, deciding, writing
    const auto avanti = [&](qint64 fatto) { return !avanzamento || avanzamento(fatto, totale); };
    const auto annullato = [&riepilogo] {
        riepilogo = {};
        riepilogo.annullato = true;
        return riepilogo;
    };

    IndiceDoppioni indice;
    if (!leggiChiavi(connection, indice, avanzamento, totale)) return annullato();
    // New contacts are keyed -1, -2, ... in the index; stored ones by their id.
    std::vector<Contatto> nuovi;
    std::map<qint64, std::pair<Contatto, Contatto>> cambiati;  // id -> as read, as it will be
    qint64 fatto = esistenti;
    for (const Voce& voce : lettura.voci) {
        if (++fatto % 256 == 0 && !avanti(fatto)) return annullato();
        if (!voce.errore.isEmpty()) {
            riepilogo.saltati << voce.errore;
            continue;
        }
        const auto aggiungi = [&] {
            nuovi.push_back(voce.contatto);
            indice.aggiungi(-qint64(nuovi.size()), voce.contatto);
        };
        const std::vector<qint64> doppioni = indice.doppioniDi(voce.contatto);
        if (doppioni.empty()) {
            aggiungi();
            continue;
        }
        const qint64 chiave = doppioni.front();
        if (chiave > 0 && !cambiati.count(chiave)) {
            const Contatto letto = LeggiContatto(connection, chiave);
            cambiati.emplace(chiave, std::make_pair(letto, letto));
        }
        Contatto& esistente = chiave > 0 ? cambiati.at(chiave).second : nuovi[size_t(-chiave - 1)];
        const std::optional<Scelta> decisa = scelta(esistente, voce);
        if (!decisa) return annullato();
        switch (*decisa) {
        case Scelta::Aggiungi:
            aggiungi();
            break;
        case Scelta::Salta:
            riepilogo.saltati << QCoreApplication::translate("brenzola::Scambio", "riga %1: «%2» c'è già come «%3»")
                                     .arg(voce.riga)
                                     .arg(voce.contatto.nomeCompleto().trimmed(), esistente.nomeCompleto().trimmed());
            break;
        case Scelta::Unisci:
            esistente = unisci(esistente, voce.contatto);
            indice.aggiungi(chiave, voce.contatto);
            ++riepilogo.uniti;
            break;
        }
    }

    const qint64 quanti = qint64(nuovi.size()) + riepilogo.uniti;
    const QString etichetta = lettura.origine.isEmpty()
                                  ? QStringLiteral("Importazione di contatti: %1").arg(QuantiContatti(quanti))
                                  : QStringLiteral("Importazione di %1: %2").arg(lettura.origine, QuantiContatti(quanti));
    const bool scritto = inOperazione(connection, etichetta, [&] {
        if (!avanti(fatto)) return false;
        QStringList colonne;
        for (const DescrizioneCampo& d : campi()) colonne << QLatin1String(d.colonna);
        BulkInsert inserimento(&connection, QStringLiteral("Anagrafica"), colonne);
        for (const Contatto& nuovo : nuovi) {
            inserimento.Add(QVariantList(nuovo.valori.begin(), nuovo.valori.end()));
            if (++fatto % 256 == 0 && !avanti(fatto)) return false;
        }
        inserimento.Flush();
        for (const auto& [id, prima_dopo] : cambiati)
            if (prima_dopo.first.valori != prima_dopo.second.valori) riscrivi(connection, prima_dopo.first, prima_dopo.second);
        return avanti(totale);  // the last moment to stop
    });
    if (!scritto) return annullato();
    riepilogo.aggiunti = int(nuovi.size());
    qCInfo(lcExchange) << "imported from" << lettura.origine << ":" << riepilogo.aggiunti << "added," << riepilogo.uniti
                       << "merged into contacts already there";
    return riepilogo;
}

Contatto LeggiContatto(Connection& connection, qint64 id)
{
    Recordset rs;
    rs.Open(QStringLiteral("Select * from Anagrafica where id =%1").arg(id), &connection);
    if (rs.Eof())
        throw StoreError(StoreErrorNumber::RowNotFound,
                         QCoreApplication::translate("brenzola::Scambio", "Il contatto %1 non esiste più.").arg(id));
    return contattoDa(rs);
}

std::optional<Doppioni> CercaDoppioni(Connection& connection, const Avanzamento& avanzamento)
{
    IndiceDoppioni indice;
    if (!leggiChiavi(connection, indice, avanzamento, conta(connection, QStringLiteral(" ")))) return std::nullopt;
    return indice.gruppi();
}

void ApplicaUnioni(Connection& connection, const std::vector<Unione>& unioni)
{
    // Without the journal a deleted contact is gone for good: a merge never erases one.
    if (!connection.hasJournal())
        throw StoreError(StoreErrorNumber::NoJournal,
                         QCoreApplication::translate("brenzola::Scambio",
                                                     "L'archivio non tiene il registro delle modifiche, perciò i contatti "
                                                     "uniti non andrebbero nel cestino ma sarebbero persi: nessuno è stato "
                                                     "unito%1")
                             .arg(connection.journalProblem().isEmpty() ? QStringLiteral(".")
                                                                        : QStringLiteral(": ") + connection.journalProblem()));
    qint64 assorbiti = 0;
    for (const Unione& unione : unioni) assorbiti += qint64(unione.assorbiti.size());
    inOperazione(connection, QStringLiteral("Unione di contatti doppi: %1 in meno").arg(QuantiContatti(assorbiti)), [&] {
        for (const Unione& unione : unioni) {
            riscrivi(connection, unione.base, unione.risultato);
            for (const Contatto& assorbito : unione.assorbiti) {
                // Deleted only as it was read: a contact changed meanwhile is not thrown away.
                Recordset rs;
                apriInvariato(rs, connection, assorbito);
                connection.Execute(QStringLiteral("Delete from Anagrafica where id=%1").arg(assorbito.id));
            }
        }
        return true;
    });
}

}  // namespace brenzola
