#include "exchange/ui/comandiscambio.h"

#include "exchange/csv.h"
#include "exchange/doppioni.h"
#include "exchange/ldif.h"
#include "exchange/lettore.h"
#include "exchange/righefile.h"
#include "exchange/scambio.h"
#include "exchange/ui/frmdoppione.h"
#include "exchange/ui/frmimportacsv.h"
#include "exchange/ui/frmriepilogo.h"
#include "exchange/vcard.h"
#include "store/connection.h"
#include "store/giornale.h"
#include "store/storeerror.h"
#include "widgets/dialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace brenzola {
namespace {

constexpr int kErroriMostrati = 5;

struct FormatoOfferto {
    FormatoScambio formato;
    const char* filtro;
    const char* estensione;
};
constexpr FormatoOfferto kFormatiOfferti[] = {
    {FormatoScambio::VCard4, QT_TRANSLATE_NOOP("brenzola::ComandiScambio", "vCard 4.0 (*.vcf)"), "vcf"},
    {FormatoScambio::VCard3,
     QT_TRANSLATE_NOOP("brenzola::ComandiScambio", "vCard 3.0, per telefoni e programmi meno recenti (*.vcf)"), "vcf"},
    {FormatoScambio::CsvItaliano,
     QT_TRANSLATE_NOOP("brenzola::ComandiScambio", "CSV per Excel e LibreOffice in italiano (*.csv)"), "csv"},
    {FormatoScambio::CsvRfc, QT_TRANSLATE_NOOP("brenzola::ComandiScambio", "CSV standard, separato da virgole (*.csv)"), "csv"},
    {FormatoScambio::CsvGoogle, QT_TRANSLATE_NOOP("brenzola::ComandiScambio", "CSV per Google Contatti (*.csv)"), "csv"},
    {FormatoScambio::CsvOutlook, QT_TRANSLATE_NOOP("brenzola::ComandiScambio", "CSV per Outlook (*.csv)"), "csv"},
    {FormatoScambio::Ldif, QT_TRANSLATE_NOOP("brenzola::ComandiScambio", "LDIF per Thunderbird (*.ldif)"), "ldif"}};

void informa(Dialogs& dialogs, QWidget* parent, const QString& testo)
{
    dialogs.MsgBox(parent, {testo, MsgButtons::Ok, MsgIcon::Information});
}

// The start of a file, enough to tell its kind and show a CSV file's first rows.
QByteArray inizioDi(const QString& file)
{
    const std::unique_ptr<QFile> aperto = apriFileContatti(file);
    return aperto->read(qint64(1) << 20);
}

// A reader of the file's contacts: a CSV file read as the user maps its columns. Nothing
// when the user cancelled.
std::unique_ptr<LettoreVoci> apriFile(Dialogs& dialogs, QWidget* parent, const QString& file)
{
    const QByteArray inizio = inizioDi(file);
    if (sembraVCard(inizio) || sembraLdif(inizio)) return apriLettore(file);
    leggiCsv(inizio, rilevaFormatoCsv(inizio), 0);  // an empty or binary file is refused before any window
    FrmImportaCsv finestra(inizio, file, parent);
    dialogs.ShowModal(finestra);
    if (finestra.result() != QDialog::Accepted) return nullptr;
    return apriLettore(file, finestra.opzioni());
}

// Whether to go on with the readable entries when some cannot be read; asked once the
// whole file is read, before anything is written.
bool accettaIlleggibili(Dialogs& dialogs, QWidget* parent, int illeggibili, int tutte, QStringList primi)
{
    if (illeggibili > kErroriMostrati) primi << QStringLiteral("…");
    if (illeggibili == tutte) {
        dialogs.MsgBox(parent,
                       {QCoreApplication::translate("brenzola::ComandiScambio", "Nessun contatto del file si può leggere:\n\n")
                            + primi.join(u'\n'),
                        MsgButtons::Ok, MsgIcon::Critical});
        return false;
    }
    const QString quanti =
        illeggibili == 1
            ? QCoreApplication::translate("brenzola::ComandiScambio", "1 contatto su %1 non si può leggere").arg(tutte)
            : QCoreApplication::translate("brenzola::ComandiScambio", "%1 contatti su %2 non si possono leggere")
                  .arg(illeggibili)
                  .arg(tutte);
    Message domanda{
        QCoreApplication::translate("brenzola::ComandiScambio",
                                    "%1:\n\n%2\n\nImportare gli altri %3? Quelli illeggibili saranno elencati alla fine.")
            .arg(quanti, primi.join(u'\n'))
            .arg(tutte - illeggibili),
        MsgButtons::YesNo, MsgIcon::Question};
    domanda.defaultAnswer = MsgAnswer::No;
    return dialogs.MsgBox(parent, domanda) == MsgAnswer::Yes;
}

// The merges the user agreed to in the register, as they add up: a contact merged into
// one that is already part of a merge joins that merge, and two merges joined become one,
// so that each contact is written or taken away once.
class UnioniScelte {
public:
    explicit UnioniScelte(Connection& connection) : connection_(connection) {}

    // The contact as merging would leave it: the result of its merge, or as stored.
    Contatto attuale(qint64 id)
    {
        if (const auto dove = unioneDi_.constFind(id); dove != unioneDi_.cend()) return unioni_[*dove].risultato;
        return letto(id);
    }
    bool giaInsieme(qint64 a, qint64 b) const
    {
        return unioneDi_.contains(a) && unioneDi_.contains(b) && unioneDi_.value(a) == unioneDi_.value(b);
    }
    // `doppio` (with whatever it was merged with) merged into `tenuto`'s contact.
    void unisciContatti(qint64 tenuto, qint64 doppio)
    {
        if (giaInsieme(tenuto, doppio)) return;
        if (!unioneDi_.contains(tenuto)) {
            unioneDi_.insert(tenuto, unioni_.size());
            const Contatto base = letto(tenuto);
            unioni_.push_back({base, base, {}});
        }
        Unione& unione = unioni_[unioneDi_.value(tenuto)];
        if (const auto dove = unioneDi_.constFind(doppio); dove != unioneDi_.cend()) {
            Unione& altra = unioni_[*dove];
            unione.risultato = unisci(unione.risultato, altra.risultato);
            for (const Contatto& c : altra.assorbiti) assorbi(unione, c);
            assorbi(unione, altra.base);
            altra = {};
        } else {
            const Contatto c = letto(doppio);
            unione.risultato = unisci(unione.risultato, c);
            assorbi(unione, c);
        }
    }
    std::vector<Unione> unioni() const
    {
        std::vector<Unione> fatte;
        for (const Unione& unione : unioni_)
            if (!unione.assorbiti.empty()) fatte.push_back(unione);
        return fatte;
    }

private:
    void assorbi(Unione& unione, const Contatto& contatto)
    {
        unioneDi_.insert(contatto.id, size_t(&unione - unioni_.data()));
        unione.assorbiti.push_back(contatto);
    }
    const Contatto& letto(qint64 id)
    {
        auto dove = letti_.find(id);
        if (dove == letti_.end()) dove = letti_.insert(id, LeggiContatto(connection_, id));
        return *dove;
    }

    Connection& connection_;
    std::vector<Unione> unioni_;
    QHash<qint64, size_t> unioneDi_;  // each contact in a merge, kept or absorbed
    QHash<qint64, Contatto> letti_;   // as read, once
};

}  // namespace

bool ImportaDaFile(Dialogs& dialogs, QWidget* parent, Connection& connection)
{
    const QString file =
        dialogs.ChooseFile(parent, QCoreApplication::translate("brenzola::ComandiScambio", "Importa contatti"), QDir::homePath(),
                           QCoreApplication::translate("brenzola::ComandiScambio",
                                                       "Contatti (*.vcf *.vcard *.csv *.txt *.ldif);;vCard (*.vcf *.vcard);;"
                                                       "CSV (*.csv *.txt);;LDIF (*.ldif);;Tutti i file (*)"));
    if (file.isEmpty()) return false;
    try {
        const std::unique_ptr<LettoreVoci> lettore = apriFile(dialogs, parent, file);
        if (!lettore) return false;
        std::optional<Scelta> perTutti, perTuttiAggiornati;
        const auto mostraAvanzamento = [&] {
            return dialogs.ShowProgress(
                parent, QCoreApplication::translate("brenzola::ComandiScambio", "Importazione dei contatti da «%1»…")
                            .arg(QFileInfo(file).fileName()));
        };
        std::unique_ptr<Progress> avanzamento = mostraAvanzamento();
        OpzioniImportazione opzioni;
        opzioni.origine = QFileInfo(file).fileName();
        bool illeggibiliRifiutati = false;  // the user already knows nothing is imported
        opzioni.conferma = [&](int illeggibili, int tutte, const QStringList& primi) {
            avanzamento.reset();
            illeggibiliRifiutati = !accettaIlleggibili(dialogs, parent, illeggibili, tutte, primi);
            if (!illeggibiliRifiutati) avanzamento = mostraAvanzamento();
            return !illeggibiliRifiutati;
        };
        opzioni.avanzamento = [&](qint64 fatto, qint64 totale) { return !avanzamento || avanzamento->advance(fatto, totale); };
        opzioni.scelta = [&](const Contatto& esistente, const Voce& letta, const Confronto& perche) -> std::optional<Scelta> {
            const bool stessoUid = !letta.contatto.uid.isEmpty() && letta.contatto.uid == esistente.uid;
            const bool certo = perche.esito == Somiglianza::Stesso;
            // "For all" answers only what it was given for: the same person, or the same contact again.
            std::optional<Scelta>& perQuesti = stessoUid ? perTuttiAggiornati : perTutti;
            if (certo && perQuesti) return perQuesti;
            const bool giaLetto = esistente.id == 0;
            FrmDoppione finestra(
                stessoUid ? FrmDoppione::Uso::Aggiornamento : FrmDoppione::Uso::Importazione,
                QCoreApplication::translate("brenzola::ComandiScambio", "«%1» (riga %2 del file) sembra %3 «%4».")
                    .arg(letta.contatto.nomeCompleto().trimmed(), QString::number(letta.riga),
                         giaLetto
                             ? QCoreApplication::translate("brenzola::ComandiScambio", "lo stesso contatto letto prima dal file:")
                             : QCoreApplication::translate("brenzola::ComandiScambio", "già presente nell'archivio come"),
                         esistente.nomeCompleto().trimmed()),
                giaLetto ? QCoreApplication::translate("brenzola::ComandiScambio", "Letto prima dal file")
                         : QCoreApplication::translate("brenzola::ComandiScambio", "Nell'archivio"),
                QCoreApplication::translate("brenzola::ComandiScambio", "Nel file, riga %1").arg(letta.riga), esistente,
                letta.contatto, parent);
            finestra.mostraConfronto(perche);
            dialogs.ShowModal(finestra);
            if (finestra.scelta() && finestra.perTutti()) perQuesti = finestra.scelta();
            return finestra.scelta();
        };
        const Riepilogo riepilogo = Importa(connection, *lettore, opzioni);
        avanzamento.reset();
        if (!riepilogo.annullato && riepilogo.letti == 0) {
            informa(dialogs, parent,
                    QCoreApplication::translate("brenzola::ComandiScambio", "Il file «%1» non contiene contatti.")
                        .arg(QFileInfo(file).fileName()));
            return false;
        }
        if (riepilogo.annullato) {
            if (!illeggibiliRifiutati)
                informa(dialogs, parent,
                        QCoreApplication::translate("brenzola::ComandiScambio",
                                                    "Importazione annullata: l'archivio non è stato modificato."));
            return false;
        }
        FrmRiepilogo finestra(riepilogo, file, parent);
        dialogs.ShowModal(finestra);
        return riepilogo.aggiunti + riepilogo.uniti + riepilogo.aggiornati > 0;
    } catch (...) {
        MostraErrore(dialogs, parent,
                     QCoreApplication::translate("brenzola::ComandiScambio",
                                                 "Importazione da «%1» non riuscita: l'archivio non è stato modificato.")
                         .arg(file));
        return false;
    }
}

void EsportaInFile(Dialogs& dialogs, QWidget* parent, Connection& connection, const QString& filtro, const QString& nome)
{
    QStringList filtri;
    for (const FormatoOfferto& f : kFormatiOfferti) filtri << QCoreApplication::translate("brenzola::ComandiScambio", f.filtro);
    int scelto = 0;
    QString file = dialogs.ChooseSaveFile(parent, QCoreApplication::translate("brenzola::ComandiScambio", "Esporta contatti"),
                                          QDir::home().filePath(nome + QStringLiteral(".vcf")), filtri, &scelto);
    if (file.isEmpty()) return;
    const FormatoOfferto& formato = kFormatiOfferti[std::clamp(scelto, 0, int(std::size(kFormatiOfferti)) - 1)];
    if (QFileInfo(file).suffix().isEmpty()) file += u'.' + QLatin1String(formato.estensione);
    try {
        std::unique_ptr<Progress> avanzamento = dialogs.ShowProgress(
            parent, QCoreApplication::translate("brenzola::ComandiScambio", "Esportazione dei contatti in «%1»…")
                        .arg(QFileInfo(file).fileName()));
        const std::optional<qint64> scritti =
            Esporta(connection, filtro, formato.formato, file,
                    [&](qint64 fatto, qint64 totale) { return avanzamento->advance(fatto, totale); });
        avanzamento.reset();
        informa(
            dialogs, parent,
            !scritti
                ? QCoreApplication::translate("brenzola::ComandiScambio", "Esportazione annullata: nessun file è stato scritto.")
            : *scritti == 1 ? QCoreApplication::translate("brenzola::ComandiScambio", "Esportato 1 contatto in «%1».").arg(file)
                            : QCoreApplication::translate("brenzola::ComandiScambio", "Esportati %1 contatti in «%2».")
                                  .arg(*scritti)
                                  .arg(file));
    } catch (...) {
        MostraErrore(dialogs, parent,
                     QCoreApplication::translate("brenzola::ComandiScambio", "Esportazione in «%1» non riuscita.").arg(file));
    }
}

bool UnisciDoppioni(Dialogs& dialogs, QWidget* parent, Connection& connection)
{
    const auto nessuno = [&] {
        informa(dialogs, parent, QCoreApplication::translate("brenzola::ComandiScambio", "Nessun contatto è stato unito."));
        return false;
    };
    try {
        // A store without a journal would lose the merged contacts: ApplicaUnioni refuses it,
        // and is asked before the user decides anything.
        if (!connection.hasJournal()) ApplicaUnioni(connection, {});
        std::unique_ptr<Progress> avanzamento =
            dialogs.ShowProgress(parent, QCoreApplication::translate("brenzola::ComandiScambio", "Ricerca dei contatti doppi…"));
        const auto doppioni =
            CercaDoppioni(connection, [&](qint64 fatto, qint64 totale) { return avanzamento->advance(fatto, totale); });
        avanzamento.reset();
        if (!doppioni) return false;
        if (doppioni->gruppi.empty() && doppioni->possibili.empty()) {
            informa(dialogs, parent,
                    QCoreApplication::translate("brenzola::ComandiScambio", "Nell'archivio non ci sono contatti doppi."));
            return false;
        }
        UnioniScelte scelte(connection);
        struct Risposta {
            std::optional<Scelta> scelta;  // nothing: the user stopped
            bool perTutti = false;
        };
        const auto chiedi = [&](const QString& testo, qint64 tenuto, qint64 doppio, const Confronto& confronto) {
            FrmDoppione finestra(FrmDoppione::Uso::Archivio, testo,
                                 QCoreApplication::translate("brenzola::ComandiScambio", "Contatto da tenere"),
                                 QCoreApplication::translate("brenzola::ComandiScambio", "Contatto doppio"),
                                 scelte.attuale(tenuto), scelte.attuale(doppio), parent);
            finestra.mostraConfronto(confronto);
            dialogs.ShowModal(finestra);
            return Risposta{finestra.scelta(), finestra.perTutti()};
        };

        // First the groups that are one person, where one answer may do for all ...
        const size_t gruppi = doppioni->gruppi.size();
        std::optional<Scelta> perTutti;
        for (size_t g = 0; g < gruppi; ++g) {
            const GruppoDoppioni& gruppo = doppioni->gruppi[g];
            for (size_t i = 1; i < gruppo.chiavi.size(); ++i) {
                std::optional<Scelta> scelta = perTutti;
                if (!scelta) {
                    const Risposta risposta =
                        chiedi(QCoreApplication::translate("brenzola::ComandiScambio",
                                                           "Gruppo %1 di %2: «%3» e «%4» sembrano la stessa persona.")
                                   .arg(g + 1)
                                   .arg(gruppi)
                                   .arg(scelte.attuale(gruppo.chiavi.front()).nomeCompleto().trimmed(),
                                        scelte.attuale(gruppo.chiavi[i]).nomeCompleto().trimmed()),
                               gruppo.chiavi.front(), gruppo.chiavi[i], gruppo.perche(gruppo.chiavi[i]));
                    scelta = risposta.scelta;
                    if (!scelta) return nessuno();
                    if (risposta.perTutti) perTutti = scelta;
                }
                if (*scelta == Scelta::Unisci) scelte.unisciContatti(gruppo.chiavi.front(), gruppo.chiavi[i]);
            }
        }
        // ... then the pairs that may be different people, each on its own.
        const size_t coppie = doppioni->possibili.size();
        for (size_t c = 0; c < coppie; ++c) {
            const Legame& coppia = doppioni->possibili[c];
            if (scelte.giaInsieme(coppia.prima, coppia.seconda)) continue;
            const std::optional<Scelta> scelta =
                chiedi(QCoreApplication::translate("brenzola::ComandiScambio",
                                                   "Coppia %1 di %2: «%3» e «%4» potrebbero essere la stessa persona, ma "
                                                   "anche persone diverse.")
                           .arg(c + 1)
                           .arg(coppie)
                           .arg(scelte.attuale(coppia.prima).nomeCompleto().trimmed(),
                                scelte.attuale(coppia.seconda).nomeCompleto().trimmed()),
                       coppia.prima, coppia.seconda, coppia.confronto)
                    .scelta;
            if (!scelta) return nessuno();
            if (*scelta == Scelta::Unisci) scelte.unisciContatti(coppia.prima, coppia.seconda);
        }

        const std::vector<Unione> unioni = scelte.unioni();
        if (unioni.empty()) return nessuno();
        ApplicaUnioni(connection, unioni);
        qint64 assorbiti = 0;
        for (const Unione& unione : unioni) assorbiti += qint64(unione.assorbiti.size());
        informa(dialogs, parent,
                QCoreApplication::translate("brenzola::ComandiScambio",
                                            "Contatti doppi uniti: l'archivio ha %1 in meno. Quelli uniti ad altri sono nel "
                                            "cestino.")
                    .arg(ContattiMostrati(assorbiti)));
        return true;
    } catch (...) {
        MostraErrore(dialogs, parent,
                     QCoreApplication::translate("brenzola::ComandiScambio",
                                                 "Unione dei contatti doppi non riuscita: l'archivio non è stato modificato."));
        return false;
    }
}

}  // namespace brenzola
