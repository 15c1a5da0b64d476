#include "exchange/scambio.h"

#include "exchange/anticipo.h"
#include "exchange/csv.h"
#include "exchange/doppioni.h"
#include "exchange/ldif.h"
#include "exchange/righefile.h"
#include "exchange/tracciati.h"
#include "exchange/valori.h"
#include "exchange/vcard.h"
#include "store/connection.h"
#include "store/giornale.h"
#include "store/identita.h"
#include "store/logging.h"
#include "store/recordset.h"
#include "store/storeerror.h"
#include "store/transito.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSaveFile>

#include <map>
#include <unordered_map>

namespace brenzola {
namespace {

// A contact in a format whose writer takes a Contatto.
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

// The text with each control character shown as U+FFFD: fit for a message.
QString mostrabile(QString testo)
{
    for (qsizetype i = primoCarattereDiControllo(testo); i >= 0; i = primoCarattereDiControllo(testo))
        testo[i] = QChar::ReplacementCharacter;
    return testo;
}

// Appends a contact in the format: Brenzola's own formats straight from the values.
void aggiungi(QByteArray& out, const Valori& valori, FormatoScambio formato)
{
    switch (formato) {
    case FormatoScambio::VCard4:
        return aggiungiSchedaVCard(out, valori, VersioneVCard::V4);
    case FormatoScambio::VCard3:
        return aggiungiSchedaVCard(out, valori, VersioneVCard::V3);
    case FormatoScambio::CsvItaliano:
        return aggiungiRigaCsv(out, valori, StileCsv::Italiano);
    case FormatoScambio::CsvRfc:
        return aggiungiRigaCsv(out, valori, StileCsv::Rfc4180);
    default:
        out += scritto(valori.contatto(), formato);
    }
}

QByteArray intestazione(FormatoScambio formato)
{
    switch (formato) {
    case FormatoScambio::CsvItaliano:
        return intestazioneCsv(StileCsv::Italiano);
    case FormatoScambio::CsvRfc:
        return intestazioneCsv(StileCsv::Rfc4180);
    case FormatoScambio::CsvGoogle:
        return intestazioneTracciato(Tracciato::Google);
    case FormatoScambio::CsvOutlook:
        return intestazioneTracciato(Tracciato::Outlook);
    default:
        return {};
    }
}

// Only LDIF carries a control character (in base64): the other formats refuse the contact
// holding one, rather than write a file that other programs, and Brenzola, cannot read.
void esportabile(const Contatto& contatto, FormatoScambio formato)
{
    if (formato == FormatoScambio::Ldif) return;
    const std::optional<CarattereDiControllo> trovato = carattereDiControllo(contatto);
    if (!trovato) return;
    throw StoreError(StoreErrorNumber::TypeMismatch,
                     QCoreApplication::translate("brenzola::Scambio",
                                                 "Il contatto «%1» (id %2) non si può esportare in questo formato: %3. "
                                                 "Nessun file è stato scritto: togliere il carattere dal contatto e "
                                                 "ripetere l'esportazione, oppure esportare in LDIF, che lo conserva.")
                         .arg(mostrabile(contatto.nomeCompleto()))
                         .arg(contatto.id)
                         .arg(trovato->motivo));
}

// The same, looked for in the values: a Contatto is made only for the message.
void esportabile(const Valori& valori, FormatoScambio formato)
{
    if (formato == FormatoScambio::Ldif) return;
    const auto controllo = [](QStringView testo) { return primoCarattereDiControllo(testo) >= 0; };
    bool trovato = controllo(valori.uid);
    for (const Valore& v : valori.campi) trovato = trovato || (v.tipo == Valore::Tipo::Testo && controllo(v.testo));
    if (trovato) esportabile(valori.contatto(), formato);
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
    // The file is written a block at a time, the rows read as they come: memory stays the
    // same however many contacts there are.
    constexpr qsizetype kBlocco = qsizetype{1} << 20;
    const qint64 totale = conta(connection, filtro);
    QSaveFile uscita(file);
    if (!uscita.open(QIODevice::WriteOnly))
        throw erroreFile(uscita, QCoreApplication::translate("brenzola::Scambio", "Impossibile scrivere il file"));
    QByteArray blocco = intestazione(formato);
    blocco.reserve(kBlocco + kBlocco / 2);
    // Brenzola's own CSV alone writes no UID.
    RigheContatti righe(connection, formato != FormatoScambio::CsvItaliano && formato != FormatoScambio::CsvRfc);
    // A disk that is full stops the export at once.
    const auto scrivi = [&] {
        if (uscita.write(blocco) != blocco.size())
            throw erroreFile(uscita, QCoreApplication::translate("brenzola::Scambio", "Impossibile scrivere il file"));
        blocco.resize(0);
    };
    qint64 scritti = 0;
    bool fermato = false;
    connection.readRows(QStringLiteral("Select ") + righe.colonne() + QStringLiteral(" from Anagrafica ") + filtro
                            + QStringLiteral(" ORDER BY Cognome & ' ' & Nome"),
                        [&](const RowView& riga) {
                            if (fermato) return;
                            const Valori& valori = righe.leggi(riga);
                            esportabile(valori, formato);
                            aggiungi(blocco, valori, formato);
                            if (blocco.size() >= kBlocco) scrivi();
                            fermato = ++scritti % 256 == 0 && avanzamento && !avanzamento(scritti, totale);
                        });
    if (fermato) {
        uscita.cancelWriting();
        return std::nullopt;
    }
    scrivi();
    if (!uscita.commit())
        throw erroreFile(uscita, QCoreApplication::translate("brenzola::Scambio", "Impossibile scrivere il file"));
    qCInfo(lcExchange) << "exported" << scritti << "contacts in format" << int(formato) << "to" << file;
    return scritti;
}

QByteArray LeggiFile(const QString& nome)
{
    const std::unique_ptr<QFile> file = apriFileContatti(nome);
    QByteArray dati = file->readAll();
    if (file->error() != QFileDevice::NoError)
        throw erroreFile(*file, QCoreApplication::translate("brenzola::Scambio", "Impossibile leggere il file"));
    return dati;
}

namespace {

constexpr int kIlleggibiliMostrati = 5;

// A Lettura read whole, handed out as a file being read would.
class VociInMemoria final : public LettoreVoci {
public:
    explicit VociInMemoria(const Lettura& lettura) : lettura_(lettura) { contaIgnorate() = lettura.ignorate; }
    std::optional<Voce> prossima() override
    {
        if (prossima_ >= lettura_.voci.size()) return std::nullopt;
        return lettura_.voci[prossima_++];
    }
    qint64 posizione() const override { return qint64(prossima_); }
    qint64 dimensione() const override { return qint64(lettura_.voci.size()); }

private:
    const Lettura& lettura_;
    size_t prossima_ = 0;
};

// A contact merged into another keeps the other's identity: its own UID is not filed.
QStringList senzaUid(QStringList chiavi)
{
    chiavi.removeIf([](const QString& k) { return k.startsWith(u"u:"); });
    return chiavi;
}

// One import: the contacts read are decided about one by one and wait in a Transito;
// those that change contacts of the register wait here, as read and as they will be.
class Importazione {
public:
    Importazione(Connection& connection, const OpzioniImportazione& opzioni)
        : connection_(connection),
          opzioni_(opzioni),
          conUid_(HaIdentita(connection)),
          transito_(connection, colonne())
    {
    }

    ~Importazione()
    {
        if (lottoAperto_) connection_.RollbackTrans();  // stopped or failed: only temporary tables were written
    }

    Riepilogo esegui(LettoreVoci& lettore)
    {
        apriLotto();
        if (!indicizzaRegistro()) return annullata();
        chiudiLotto();
        const qint64 dimensione = lettore.dimensione();
        const qint64 tutto = totale(dimensione);
        int illeggibili = 0;
        QStringList primi;
        {
            LetturaAnticipata anticipata(lettore);
            std::vector<const Letta*> daDecidere;
            for (;;) {
                const LetturaAnticipata::Lotto lotto = anticipata.prossimo();
                if (lotto.lette.empty()) break;
                if (!avanti(lotto.posizione, tutto)) return annullata();
                daDecidere.clear();
                for (const Letta& letta : lotto.lette) {
                    ++lette_;
                    if (!letta.voce.errore.isEmpty()) {
                        nonImportato(letta.voce.errore);
                        if (++illeggibili <= kIlleggibiliMostrati) primi << letta.voce.errore;
                        continue;
                    }
                    daDecidere.push_back(&letta);
                }
                // A batch at a time: its keys and the contacts they may be are read at once.
                apriLotto();
                prepara(daDecidere);
                for (const Letta* letta : daDecidere) {
                    for (const QString& avviso : letta->voce.avvisi)
                        if (riepilogo_.avvisi.size() < Riepilogo::kDettagli)
                            riepilogo_.avvisi << avviso;
                        else
                            ++riepilogo_.altriAvvisi;
                    if (!decidi(*letta)) return annullata();
                }
                respiro();
            }
        }
        chiudiLotto();
        riepilogo_.ignorate = lettore.ignorate();
        riepilogo_.letti = int(lette_);
        riepilogo_.avvisi = lettore.avvisi() + riepilogo_.avvisi;
        if (illeggibili > 0 && opzioni_.conferma && !opzioni_.conferma(illeggibili, lette_, primi)) return annullata();
        if (!scrivi(dimensione, tutto)) return annullata();
        qCInfo(lcExchange) << "imported from" << opzioni_.origine << ":" << riepilogo_.aggiunti << "added," << riepilogo_.uniti
                           << "merged," << riepilogo_.aggiornati << "updated";
        return riepilogo_;
    }

private:
    QStringList colonne() const
    {
        QStringList tutte;
        for (const DescrizioneCampo& d : campi()) tutte << QLatin1String(d.colonna);
        if (conUid_) tutte << QStringLiteral("Uid");
        return tutte;
    }

    QVariantList valori(const Contatto& c) const
    {
        QVariantList v(c.valori.begin(), c.valori.end());
        if (conUid_) v << (c.uid.isEmpty() ? QVariant() : QVariant(c.uid));
        return v;
    }

    bool avanti(qint64 fatto, qint64 totale) const { return !opzioni_.avanzamento || opzioni_.avanzamento(fatto, totale); }
    // Reading the file, then writing, which takes about a quarter of that.
    static qint64 totale(qint64 dimensione) { return dimensione + std::max<qint64>(1, dimensione / 4); }

    Riepilogo annullata()
    {
        riepilogo_ = {};
        riepilogo_.annullato = true;
        return riepilogo_;
    }

    void nonImportato(const QString& perche)
    {
        ++riepilogo_.nonImportati;
        if (riepilogo_.saltati.size() < Riepilogo::kDettagli) riepilogo_.saltati << perche;
    }

    // The writes to the temporary tables go in one transaction, a commit each statement
    // costing more than the writing. Reading the register inside it keeps other desks from
    // saving, so it is closed before every question, so that nothing is held while the user
    // thinks, and between batches once it has been open a moment.
    void apriLotto()
    {
        if (lottoAperto_) return;
        connection_.BeginTrans();
        lottoAperto_ = true;
        aperto_.start();
    }
    void respiro()
    {
        constexpr qint64 kMillisecondi = 200;
        if (lottoAperto_ && aperto_.hasExpired(kMillisecondi)) chiudiLotto();
    }
    void chiudiLotto()
    {
        if (!lottoAperto_) return;
        lottoAperto_ = false;
        connection_.CommitTrans();
    }

    // The register's contacts filed under their keys.
    bool indicizzaRegistro()
    {
        qint64 letti = 0;
        bool fermato = false;
        connection_.readRows(conUid_ ? QStringLiteral("Select id, Cognome, Nome, Email, Telefono, Cell, Uid from Anagrafica")
                                     : QStringLiteral("Select id, Cognome, Nome, Email, Telefono, Cell from Anagrafica"),
                             [&](const RowView& riga) {
                                 if (fermato) return;
                                 Contatto c;
                                 const auto testo = [&riga](int i) {
                                     return riga.isNull(i) ? QVariant() : QVariant(riga.text(i).toString());
                                 };
                                 c[Campo::Cognome] = testo(1);
                                 c[Campo::Nome] = testo(2);
                                 c[Campo::Email] = testo(3);
                                 c[Campo::Telefono] = testo(4);
                                 c[Campo::Cell] = testo(5);
                                 if (conUid_ && !riga.isNull(6)) c.uid = riga.text(6).toString();
                                 transito_.indicizza(riga.integer(0), chiaviDi(Impronta(c), c.uid));
                                 if (++letti % 4096 == 0 && !avanti(0, 1)) fermato = true;
                             });
        return !fermato;
    }

    // The keys of a batch looked up at once, and the register's contacts they may be read.
    void prepara(const std::vector<const Letta*>& lotto)
    {
        QStringList chiavi;
        for (const Letta* letta : lotto) chiavi << letta->chiavi;
        transito_.prepara(chiavi);
        letti_.clear();
        QStringList ids;
        for (qint64 id : transito_.delRegistro(int(IndiceDoppioni::kCondivisoDa)))
            if (!cambiati_.count(id)) ids << QString::number(id);
        if (ids.isEmpty()) return;
        Recordset rs;
        rs.Open(QStringLiteral("Select * from Anagrafica where id in (%1)").arg(ids.join(u',')), &connection_);
        for (; !rs.Eof(); rs.MoveNext()) {
            Contatto c = contattoDa(rs);
            letti_.emplace(c.id, std::move(c));
        }
    }

    // The contact filed as `chi`, as it stands now in this import.
    Contatto contatto(qint64 chi)
    {
        if (chi > 0) {
            if (const auto cambiato = cambiati_.find(chi); cambiato != cambiati_.end()) return cambiato->second.second;
            if (const auto letto = letti_.find(chi); letto != letti_.end()) return letto->second;
            return LeggiContatto(connection_, chi);
        }
        const QVariantList v = transito_.leggi(-chi);
        Contatto c;
        for (const DescrizioneCampo& d : campi()) c[d.campo] = v.value(qsizetype(d.campo));
        if (conUid_) c.uid = v.value(kNumeroCampi).toString();
        return c;
    }

    // `letto`: the contact as it was read for deciding, which must still be so when written.
    void sostituisci(qint64 chi, const Contatto& letto, const Contatto& dopo)
    {
        if (chi < 0) {
            transito_.sostituisci(-chi, valori(dopo));
            return;
        }
        cambiati_.try_emplace(chi, letto, letto).first->second.second = dopo;
    }

    // The contact of the register (or read before) with this UID.
    std::optional<qint64> perUid(const QString& uid)
    {
        if (uid.isEmpty()) return std::nullopt;
        if (const std::optional<qint64> id = IdDaUid(connection_.identity(), uid)) {
            Recordset rs;
            rs.Open(QStringLiteral("Select id from Anagrafica where id =%1").arg(*id), &connection_);
            if (!rs.Eof()) return id;
        }
        for (qint64 chi : transito_.cerca(QStringLiteral("u:") + uid))
            if (contatto(chi).uid == uid) return chi;
        return std::nullopt;
    }

    // Who may be the same person: under each address and number; one shared by an office
    // (more than kCondivisoDa) only among those of the same name.
    std::vector<qint64> vicini(const QStringList& chiavi)
    {
        std::vector<qint64> tutti;
        const auto nome = std::find_if(chiavi.begin(), chiavi.end(), [](const QString& k) { return k.startsWith(u"n:"); });
        for (const QString& chiave : chiavi) {
            if (!chiave.startsWith(u"e:") && !chiave.startsWith(u"t:")) continue;
            std::vector<qint64> chi = transito_.cerca(chiave, int(IndiceDoppioni::kCondivisoDa) + 1);
            if (chi.size() > size_t(IndiceDoppioni::kCondivisoDa))
                chi = nome == chiavi.end() ? std::vector<qint64>{} : transito_.cercaEntrambe(chiave, *nome);
            for (qint64 uno : chi)
                if (std::find(tutti.begin(), tutti.end(), uno) == tutti.end()) tutti.push_back(uno);
        }
        return tutti;
    }

    bool decidi(const Letta& letta)
    {
        const Voce& voce = letta.voce;
        std::optional<qint64> chi = perUid(voce.contatto.uid);
        Confronto perche;
        if (chi) {
            perche = {
                Somiglianza::Stesso,
                {QCoreApplication::translate("brenzola::Scambio", "lo stesso identificativo (UID) «%1»").arg(voce.contatto.uid)}};
        } else {
            std::vector<Impronta> impronte;
            const std::vector<qint64> accanto = vicini(letta.chiavi);
            for (qint64 uno : accanto) impronte.emplace_back(contatto(uno));
            std::vector<std::pair<qint64, const Impronta*>> daGiudicare;
            for (size_t i = 0; i < accanto.size(); ++i) daGiudicare.emplace_back(accanto[i], &impronte[i]);
            // The same person if there is one, else who may be.
            for (Candidato& c : giudica(letta.impronta, daGiudicare))
                if (!chi || (c.confronto.esito == Somiglianza::Stesso && perche.esito != Somiglianza::Stesso)) {
                    chi = c.chiave;
                    perche = std::move(c.confronto);
                }
        }
        if (!chi) {
            aggiungi(letta);
            return true;
        }
        Contatto esistente = contatto(*chi);
        if (!opzioni_.sceltaImmediata) chiudiLotto();
        const std::optional<Scelta> decisa = opzioni_.scelta(esistente, voce, perche);
        apriLotto();
        if (!decisa) return false;
        switch (*decisa) {
        case Scelta::Aggiungi:
            aggiungi(letta);
            break;
        case Scelta::Salta:
            if (riepilogo_.saltati.size() < Riepilogo::kDettagli)
                nonImportato(QCoreApplication::translate("brenzola::Scambio", "riga %1: «%2» c'è già come «%3»")
                                 .arg(voce.riga)
                                 .arg(voce.contatto.nomeCompleto().trimmed(), esistente.nomeCompleto().trimmed()));
            else
                ++riepilogo_.nonImportati;
            break;
        case Scelta::Unisci:
            sostituisci(*chi, esistente, unisci(esistente, voce.contatto));
            transito_.indicizza(*chi, senzaUid(letta.chiavi));
            ++riepilogo_.uniti;
            break;
        case Scelta::Aggiorna:
            sostituisci(*chi, esistente, aggiorna(esistente, voce.contatto));
            transito_.indicizza(*chi, senzaUid(letta.chiavi));
            ++riepilogo_.aggiornati;
            break;
        }
        return true;
    }

    void aggiungi(const Letta& letta)
    {
        const qint64 numero = transito_.aggiungi(valori(letta.voce.contatto));
        transito_.indicizza(-numero, letta.chiavi);
    }

    bool scrivi(qint64 letto, qint64 totale)
    {
        const qint64 quanti = transito_.quanti() + riepilogo_.uniti + riepilogo_.aggiornati;
        const QString etichetta = opzioni_.origine.isEmpty()
                                      ? QStringLiteral("Importazione di contatti: %1").arg(QuantiContatti(quanti))
                                      : QStringLiteral("Importazione di %1: %2").arg(opzioni_.origine, QuantiContatti(quanti));
        return inOperazione(connection_, etichetta, [&] {
            if (!avanti(letto, totale)) return false;
            riepilogo_.aggiunti = int(transito_.trasferisci());
            if (!avanti((letto + totale) / 2, totale)) return false;
            for (const auto& [id, prima_dopo] : cambiati_)
                if (prima_dopo.first.valori != prima_dopo.second.valori)
                    RiscriviContatto(connection_, prima_dopo.first, prima_dopo.second);
            return avanti(totale, totale);  // the last moment to stop
        });
    }

    Connection& connection_;
    const OpzioniImportazione& opzioni_;
    const bool conUid_;
    Transito transito_;
    std::map<qint64, std::pair<Contatto, Contatto>> cambiati_;  // id -> as read, as it will be
    std::unordered_map<qint64, Contatto> letti_;                // the batch's, as read
    Riepilogo riepilogo_;
    qint64 lette_ = 0;
    bool lottoAperto_ = false;
    QElapsedTimer aperto_;
};

}  // namespace

Riepilogo Importa(Connection& connection, LettoreVoci& lettore, const OpzioniImportazione& opzioni)
{
    return Importazione(connection, opzioni).esegui(lettore);
}

Riepilogo Importa(Connection& connection, const Lettura& lettura, const SceltaDoppione& scelta, const Avanzamento& avanzamento)
{
    VociInMemoria voci(lettura);
    OpzioniImportazione opzioni;
    opzioni.scelta = scelta;
    opzioni.avanzamento = avanzamento;
    opzioni.origine = lettura.origine;
    return Importa(connection, voci, opzioni);
}

void RiscriviContatto(Connection& connection, const Contatto& prima, const Contatto& dopo)
{
    Recordset rs;
    apriInvariato(rs, connection, prima);
    scriviCampi(rs, prima, dopo);
    rs.Update();
}

qint64 AggiungiContatto(Connection& connection, const Contatto& contatto)
{
    Recordset rs;
    rs.Open(QStringLiteral("Select * from Anagrafica where id =0"), &connection);
    rs.AddNew();
    scriviCampi(rs, Contatto(), contatto);
    rs.Update();
    return rs.Fields(QStringLiteral("id")).toLongLong();
}

void EliminaContatto(Connection& connection, const Contatto& letto)
{
    Recordset rs;
    apriInvariato(rs, connection, letto);
    connection.Execute(QStringLiteral("Delete from anagrafica where id=%1").arg(letto.id));
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
            RiscriviContatto(connection, unione.base, unione.risultato);
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
