#include "exchange/csv.h"

#include "store/storeddate.h"
#include "store/storeerror.h"

#include <QCoreApplication>
#include <QHash>
#include <QRegularExpression>

namespace brenzola {
namespace {

bool sembraFormula(const QString& testo)
{
    if (testo.isEmpty()) return false;
    const QChar c = testo[0];
    return c == u'=' || c == u'+' || c == u'-' || c == u'@' || c == u'\t' || c == u'\r';
}

QByteArray campoCsv(const QVariant& valore, bool data, StileCsv stile)
{
    if (valore.isNull()) return {};
    if (data && valore.typeId() == QMetaType::QDate)
        return (stile == StileCsv::Italiano ? dayFirstDateText(valore.toDate()) : storedDateText(valore.toDate())).toLatin1();
    QString testo = valore.toString();
    // A spreadsheet would run it as a formula: the apostrophe makes it text, as typed.
    if (stile == StileCsv::Italiano && sembraFormula(testo)) testo.prepend(u'\'');
    return '"' + testo.replace(u'"', QStringLiteral("\"\"")).toUtf8() + '"';
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
    QByteArray riga;
    for (const DescrizioneCampo& d : campi()) {
        if (d.campo != Campo::Cognome) riga += char(separatoreDi(stile).unicode());
        riga += campoCsv(contatto[d.campo], d.data, stile);
    }
    return riga + "\r\n";
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

namespace {

// "Città (ab.)" -> "citta ab": lower case, no accents, words only.
QString normalizzata(const QString& intestazione)
{
    QString piana;
    for (const QChar c : intestazione.normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing) piana += c.isLetterOrNumber() ? c.toLower() : QChar(u' ');
    return piana.simplified();
}

const QHash<QString, Campo>& intestazioniNote()
{
    static const QHash<QString, Campo> note = [] {
        QHash<QString, Campo> h;
        const auto metti = [&h](Campo campo, std::initializer_list<const char*> nomi) {
            for (const char* nome : nomi) h.insert(normalizzata(QString::fromUtf8(nome)), campo);
        };
        for (const DescrizioneCampo& d : campi()) metti(d.campo, {d.etichetta, d.colonna});
        metti(Campo::Cognome, {"last name", "family name", "surname", "lastname", "cognome ab"});
        metti(Campo::Nome, {"first name", "given name", "firstname", "nome di battesimo"});
        metti(Campo::DataIn, {"data inserimento", "data ingresso", "data di inserimento"});
        metti(Campo::TipoRef, {"tipo riferimento", "tipo", "categoria", "categorie", "categories"});
        metti(Campo::Citta, {"citta", "città", "city", "home city", "citta ab", "città (ab.)", "address 1 city", "localita",
                             "località", "business city", "citta uff"});
        metti(Campo::Prov, {"provincia", "state", "region", "home state", "provincia ab", "provincia (ab.)", "address 1 region",
                            "business state", "provincia uff"});
        metti(Campo::Indirizzo, {"address", "street", "home street", "via", "via ab", "via (ab.)", "address 1 street",
                                 "home address", "business street", "via uff", "indirizzo ab"});
        metti(Campo::Cap, {"postal code", "zip", "zip code", "postcode", "home postal code", "cap ab", "cap (ab.)",
                           "address 1 postal code", "business postal code", "cap uff", "codice postale"});
        metti(Campo::Email, {"e-mail", "e mail", "email address", "e-mail address", "e-mail 1 - value", "primary email",
                             "e-mail 2 - value", "e-mail 2 address", "secondary email", "indirizzo posta elettronica",
                             "indirizzo di posta elettronica", "posta elettronica", "indirizzo e-mail", "e mail address"});
        metti(Campo::Telefono, {"phone", "telephone", "home phone", "business phone", "work phone", "phone 1 - value",
                                "phone 2 - value", "phone 3 - value", "home phone 2", "business phone 2", "telefono abitazione",
                                "telefono ufficio", "telefono casa", "telefono lavoro", "tel"});
        metti(Campo::Cell, {"cellulare", "mobile", "mobile phone", "cell phone", "cellular", "telefono cellulare", "cell"});
        metti(Campo::DataNasc,
              {"data di nascita", "nascita", "birthday", "compleanno", "birth date", "date of birth", "data nascita"});
        metti(Campo::Fonte, {"source", "origine", "provenienza"});
        metti(Campo::DataRicont, {"ricontattare", "data ricontatto", "richiamare", "da ricontattare"});
        metti(Campo::Commenti, {"note", "notes", "commento", "comments", "annotazioni"});
        return h;
    }();
    return note;
}

// Whether the slashed dates of a column put the month first, as American exports do:
// only when some value could not be read day first.
bool mesePrima(const TabellaCsv& tabella, size_t colonna)
{
    static const QRegularExpression barrata(QStringLiteral(R"(^\s*(\d{1,2})[/.-](\d{1,2})[/.-]\d{4}\s*$)"));
    bool giornoPossibile = true, mesePossibile = true;
    for (const RigaCsv& riga : tabella.righe) {
        const auto m = barrata.match(riga.campi.value(qsizetype(colonna)));
        if (!m.hasMatch()) continue;
        if (m.captured(1).toInt() > 12) mesePossibile = false;
        if (m.captured(2).toInt() > 12) giornoPossibile = false;
    }
    return !giornoPossibile && mesePossibile;
}

}  // namespace

Colonne indovinaColonne(const QStringList& intestazioni)
{
    Colonne colonne;
    for (const QString& intestazione : intestazioni) {
        const auto trovata = intestazioniNote().constFind(normalizzata(intestazione));
        colonne.push_back(trovata == intestazioniNote().constEnd() ? std::nullopt : std::optional<Campo>(*trovata));
    }
    return colonne;
}

Lettura contattiDaCsv(const TabellaCsv& tabella, const Colonne& colonne)
{
    Lettura lettura;
    const qsizetype attesi = tabella.intestazioni.size();
    std::vector<bool> mese(colonne.size(), false);
    for (size_t c = 0; c < colonne.size(); ++c)
        if (colonne[c] && descrizione(*colonne[c]).data) mese[c] = mesePrima(tabella, c);
    static const QRegularExpression mdY(QStringLiteral(R"(^\s*(\d{1,2})([/.-])(\d{1,2})\2(\d{4})\s*$)"));

    for (const RigaCsv& riga : tabella.righe) {
        Voce voce{riga.riga, {}, {}};
        QStringList campiRiga = riga.campi;
        // A trailing separator, as some programs write, adds only empty fields.
        while (campiRiga.size() > attesi && campiRiga.back().isEmpty()) campiRiga.removeLast();
        if (campiRiga.size() != attesi) {
            voce.errore = QCoreApplication::translate("brenzola::Csv", "riga %1: %2 campi invece di %3")
                              .arg(riga.riga)
                              .arg(campiRiga.size())
                              .arg(attesi);
            lettura.voci.push_back(std::move(voce));
            continue;
        }
        Compilazione compilazione;
        std::vector<Campo> vuoti;
        for (size_t c = 0; c < colonne.size() && qsizetype(c) < attesi; ++c) {
            if (!colonne[c]) continue;
            const Campo campo = *colonne[c];
            QString valore = campiRiga[qsizetype(c)];
            if (valore.isNull()) continue;
            if (valore.isEmpty()) {
                if (!descrizione(campo).data) vuoti.push_back(campo);  // a date is there or Null
                continue;
            }
            if (valore.startsWith(u'\'') && sembraFormula(valore.mid(1))) valore.remove(0, 1);
            const QString etichetta = tabella.intestazioni[qsizetype(c)];
            if (!descrizione(campo).data) {
                compilazione.aggiungi(campo, valore, etichetta);
                continue;
            }
            QDate data;
            if (const auto m = mdY.match(valore); mese[c] && m.hasMatch())
                data = QDate(m.captured(4).toInt(), m.captured(1).toInt(), m.captured(3).toInt());
            else
                data = dataScritta(valore);
            if (!data.isValid()) {
                voce.errore = QCoreApplication::translate("brenzola::Csv", "riga %1: «%2» nella colonna «%3» non è una data")
                                  .arg(riga.riga)
                                  .arg(valore, etichetta);
                break;
            }
            compilazione.aggiungi(campo, data, etichetta);
        }
        if (voce.errore.isEmpty()) {
            voce.contatto = compilazione.contatto();
            for (Campo campo : vuoti)
                if (voce.contatto[campo].isNull()) voce.contatto[campo] = QStringLiteral("");
            const bool conDati = voce.contatto.haDati();
            if (!conDati && vuoti.empty()) continue;  // a row of empty fields is no contact
            if (const QString motivo = troppoLungo(voce.contatto); !motivo.isEmpty())
                voce.errore = QCoreApplication::translate("brenzola::Csv", "riga %1: %2").arg(riga.riga).arg(motivo);
            else if (!conDati)
                voce.errore = QCoreApplication::translate("brenzola::Csv", "riga %1: la riga non contiene dati").arg(riga.riga);
        }
        if (!voce.errore.isEmpty()) voce.contatto = {};
        lettura.voci.push_back(std::move(voce));
    }
    return lettura;
}

}  // namespace brenzola
