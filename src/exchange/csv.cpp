#include "exchange/csv.h"

#include "exchange/mappacsv.h"
#include "store/storeddate.h"
#include "store/storeerror.h"

#include <QCoreApplication>

#include <algorithm>

namespace brenzola {
namespace {

// A field's text as Brenzola's CSV writes it; a Null QString for a Null value.
QString testoCampo(const QVariant& valore, bool data, StileCsv stile)
{
    if (valore.isNull()) return {};
    if (data && valore.typeId() == QMetaType::QDate)
        return stile == StileCsv::Italiano ? dayFirstDateText(valore.toDate()) : storedDateText(valore.toDate());
    const QString testo = valore.toString();
    if (testo.isNull()) return QStringLiteral("");  // empty text, not Null
    // A spreadsheet would run it as a formula: the apostrophe makes it text, as typed.
    return stile == StileCsv::Italiano && daProteggere(testo) ? u'\'' + testo : testo;
}

QChar separatoreDi(StileCsv stile) { return stile == StileCsv::Italiano ? u';' : u','; }

}  // namespace

QByteArray intestazioneCsv(StileCsv stile)
{
    QStringList nomi;
    for (const DescrizioneCampo& d : campi()) nomi << QString::fromUtf8(d.etichetta);
    const QByteArray riga = nomi.join(separatoreDi(stile)).toUtf8() + "\r\n";
    return stile == StileCsv::Italiano ? "\xEF\xBB\xBF" + riga : riga;
}

QByteArray rigaCsv(const Contatto& contatto, StileCsv stile)
{
    QStringList valori;
    for (const DescrizioneCampo& d : campi()) valori << testoCampo(contatto[d.campo], d.data, stile);
    return lineaCsv(valori, separatoreDi(stile));
}

QByteArray lineaCsv(const QStringList& valori, QChar separatore)
{
    QByteArray riga;
    for (qsizetype i = 0; i < valori.size(); ++i) {
        if (i > 0) riga += QString(separatore).toUtf8();
        if (!valori[i].isNull()) riga += '"' + QString(valori[i]).replace(u'"', QStringLiteral("\"\"")).toUtf8() + '"';
    }
    return riga + "\r\n";
}

bool daProteggere(const QString& testo)
{
    if (testo.isEmpty()) return false;
    const QChar c = testo[0];
    return c == u'=' || c == u'+' || c == u'-' || c == u'@' || c == u'\t' || c == u'\r' || c == u'\'';
}

FormatoCsv rilevaFormatoCsv(const QByteArray& dati)
{
    FormatoCsv formato;
    formato.codifica = rilevaCodifica(dati);
    const QString inizio = decodifica(dati.left(qsizetype{64} * 1024), formato.codifica);
    int migliore = 0;
    formato.separatore = u',';
    for (const QChar candidato : {QChar(u';'), QChar(u','), QChar(u'\t'), QChar(u'|')}) {
        int conta = 0;
        bool virgolette = false;
        for (const QChar c : inizio) {
            if (c == u'"')
                virgolette = !virgolette;
            else if (!virgolette && (c == u'\n' || c == u'\r'))
                break;
            else if (!virgolette && c == candidato)
                ++conta;
        }
        if (conta > migliore) {
            migliore = conta;
            formato.separatore = candidato;
        }
    }
    return formato;
}

TabellaCsv leggiCsv(const QByteArray& dati, const FormatoCsv& formato, qsizetype massimoRighe)
{
    if (dati.trimmed().isEmpty())
        throw StoreError(StoreErrorNumber::FileFormat, QCoreApplication::translate("brenzola::Csv", "Il file è vuoto."));
    if (sembraBinario(dati))
        throw StoreError(StoreErrorNumber::FileFormat,
                         QCoreApplication::translate("brenzola::Csv", "Il file non è un file di testo."));
    const QString testo = decodifica(dati, formato.codifica);
    const QChar sep = formato.separatore;

    TabellaCsv tabella;
    bool intestazioni = true;
    int riga = 1;
    qsizetype i = 0;
    const qsizetype n = testo.size();
    while (i < n && (massimoRighe < 0 || qsizetype(tabella.righe.size()) < massimoRighe)) {
        RigaCsv corrente{riga, {}};
        bool fineRiga = false;
        while (!fineRiga) {
            QString campo;
            if (i < n && testo[i] == u'"') {
                const int apertaA = riga;
                ++i;
                campo = QStringLiteral("");  // quoted: empty text, not Null
                for (;;) {
                    if (i >= n)
                        throw StoreError(
                            StoreErrorNumber::FileFormat,
                            QCoreApplication::translate("brenzola::Csv", "Riga %1: le virgolette aperte qui non si chiudono più.")
                                .arg(apertaA));
                    const QChar c = testo[i++];
                    if (c == u'"') {
                        if (i < n && testo[i] == u'"') {
                            campo += u'"';
                            ++i;
                            continue;
                        }
                        break;
                    }
                    if (c == u'\n' || (c == u'\r' && !(i < n && testo[i] == u'\n'))) ++riga;
                    campo += c;
                }
            }
            // Unquoted text, or whatever follows a closing quote, up to the separator.
            const qsizetype da = i;
            while (i < n && testo[i] != sep && testo[i] != u'\n' && testo[i] != u'\r') ++i;
            if (i > da) campo += QStringView(testo).mid(da, i - da);
            corrente.campi << campo;
            if (i < n && testo[i] == sep) {
                ++i;
                continue;
            }
            if (i < n && testo[i] == u'\r') ++i;
            if (i < n && testo[i] == u'\n') ++i;
            ++riga;
            fineRiga = true;
        }
        const bool vuota = corrente.campi.size() == 1 && corrente.campi.front().isNull();
        if (vuota) continue;
        if (intestazioni) {
            for (QString& nome : corrente.campi) nome = nome.trimmed();
            tabella.intestazioni = corrente.campi;
            intestazioni = false;
        } else {
            tabella.righe.push_back(std::move(corrente));
        }
    }
    return tabella;
}

Lettura contattiDaCsv(const TabellaCsv& tabella, const MappaCsv& mappa)
{
    Lettura lettura;
    for (const RigaCsv& riga : tabella.righe) {
        Voce voce = mappa.voce(riga.riga, riga.campi);
        if (voce.errore.isEmpty() && !voce.contatto.haDati()) {
            const auto& valori = voce.contatto.valori;
            if (std::all_of(valori.begin(), valori.end(), [](const QVariant& v) { return v.isNull(); })) continue;
            voce.errore = QCoreApplication::translate("brenzola::Csv", "riga %1: la riga non contiene dati").arg(riga.riga);
            voce.contatto = {};
        }
        lettura.voci.push_back(std::move(voce));
    }
    return lettura;
}

}  // namespace brenzola
