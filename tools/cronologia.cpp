// Shows a register's journal and takes changes back:
//   cronologia [--contatto ID | --cestino | --ripristina ID | --annulla N [--forza-parziale] |
//               --elimina-definitivamente ID] ARCHIVIO
#include "store/cronologia.h"
#include "store/connection.h"
#include "store/funzioni.h"
#include "store/giornale.h"
#include "store/recordset.h"
#include "store/rigadicomando.h"
#include "store/storeerror.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

#include <optional>

using namespace brenzola;

namespace {

// 0 done, 1 error, 2 usage, 3 refused.
constexpr int kFatto = 0;
constexpr int kErrore = 1;
constexpr int kUso = 2;
constexpr int kRifiutato = 3;

// Operations read from the journal at a time: the first lines come out at once.
constexpr int kPerPagina = 200;

QString programma() { return QFileInfo(QCoreApplication::applicationFilePath()).fileName(); }

// Text from the store on one line of a terminal: what another program wrote may hold line
// breaks or control characters, shown escaped (a backslash doubled, so nothing is ambiguous).
QString inRiga(const QString& testo)
{
    QString riga;
    riga.reserve(testo.size());
    for (const QChar c : testo) {
        if (c == u'\\')
            riga += QStringLiteral("\\\\");
        else if (c == u'\n')
            riga += QStringLiteral("\\n");
        else if (c == u'\r')
            riga += QStringLiteral("\\r");
        else if (c == u'\t')
            riga += QStringLiteral("\\t");
        else if (c.category() == QChar::Other_Control || c.category() == QChar::Separator_Line
                 || c.category() == QChar::Separator_Paragraph)
            riga += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            riga += c;
    }
    return riga;
}

QString ora(const QDateTime& quando)
{
    return quando.isValid() ? quando.toLocalTime().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"))
                            : QCoreApplication::translate("cronologia", "data sconosciuta");
}

QString nome(const QString& cognomeNome)
{
    const QString n = cognomeNome.trimmed();
    return n.isEmpty() ? QCoreApplication::translate("cronologia", "(senza nome)") : inRiga(n);
}

QString chi(const QString& utente)
{
    return utente.isEmpty() ? QCoreApplication::translate("cronologia", "utente sconosciuto") : inRiga(utente);
}

bool nelRegistro(Connection& connection, qint64 id)
{
    Recordset rs;
    rs.Open(QStringLiteral("select id from Anagrafica where id = %1").arg(id), &connection);
    return !rs.Eof();
}

std::optional<Eliminato> nelCestino(Connection& connection, qint64 id)
{
    for (const Eliminato& e : Cestino(connection))
        if (e.id == id) return e;
    return std::nullopt;
}

StoreError nonNelCestino(Connection& connection, qint64 id, const QString& perche)
{
    if (nelRegistro(connection, id))
        return StoreError(
            StoreErrorNumber::ItemNotFound,
            QCoreApplication::translate("cronologia",
                                        "Il contatto %1 è ancora nell'archivio, non nel cestino: %2. Per vedere il cestino: "
                                        "%3 --cestino ARCHIVIO.")
                .arg(id)
                .arg(perche, programma()));
    return StoreError(
        StoreErrorNumber::ItemNotFound,
        QCoreApplication::translate(
            "cronologia", "Nel cestino non c'è un contatto con la chiave %1: %2. Per vedere il cestino: %3 --cestino ARCHIVIO.")
            .arg(id)
            .arg(perche, programma()));
}

QString cambiato(const ContattoCambiato& c)
{
    // One arg() for all: a name holding "%2" stays as it is.
    return QCoreApplication::translate("cronologia", "  %1 (chiave %2): cambiato da %3 il %4")
        .arg(nome(c.nome), QString::number(c.id), chi(c.chi), ora(c.quando));
}

void elencaOperazioni(Connection& connection, QTextStream& out)
{
    qint64 prima = 0;
    for (;;) {
        const std::vector<VoceOperazione> voci = OperazioniRecenti(connection, kPerPagina, prima);
        for (const VoceOperazione& v : voci) {
            QStringList nomi;
            for (const QString& n : v.nomi) nomi << nome(n);
            QString contatti = QuantiContatti(v.contatti);
            if (!nomi.isEmpty()) contatti += QStringLiteral(": ") + nomi.join(QStringLiteral(", "));
            if (v.contatti > nomi.size() && !nomi.isEmpty()) contatti += QCoreApplication::translate("cronologia", " e altri");
            out << v.numero << "  " << ora(v.quando) << "  " << chi(v.chi) << "  " << inRiga(v.etichetta) << "  " << contatti;
            if (v.annullataDa != 0)
                out << "  " << QCoreApplication::translate("cronologia", "annullata dall'operazione %1").arg(v.annullataDa);
            out << '\n';
        }
        out.flush();
        if (voci.size() < size_t(kPerPagina)) return;
        prima = voci.back().numero;
    }
}

// The contact's values in the journal's column order, named as the register declares them
// (a server folds the declared names to lower case: the same names everywhere). Null ones
// are left out, empty text shown as «».
QString valori(const QVariantList& valori)
{
    static const QStringList kCampi = {"Cognome", "Nome",     "DataIn", "TipoRef",  "Prov",  "Citta",      "Indirizzo", "Cap",
                                       "Email",   "Telefono", "Cell",   "DataNasc", "Fonte", "DataRicont", "Commenti"};
    QStringList campi;
    for (qsizetype i = 0; i < valori.size() && i < ColonneContatto().size(); ++i) {
        const QVariant& v = valori[i];
        if (v.isNull()) continue;
        const QString campo = kCampi.value(i);
        const QString testo = v.typeId() == QMetaType::QDate
                                  ? Funzioni::ComeTesto(v)
                                  : QCoreApplication::translate("cronologia", "«%1»").arg(inRiga(v.toString()));
        campi << QStringLiteral("%1 %2").arg(
            campo.compare(ColonneContatto()[i], Qt::CaseInsensitive) == 0 ? campo : ColonneContatto()[i], testo);
    }
    return campi.isEmpty() ? QCoreApplication::translate("cronologia", "tutti i campi vuoti (Null)")
                           : campi.join(QStringLiteral(", "));
}

int elencaVersioni(Connection& connection, qint64 id, QTextStream& out)
{
    const std::vector<Versione> versioni = CronologiaContatto(connection, id);
    if (versioni.empty()) {
        if (!nelRegistro(connection, id))
            throw StoreError(StoreErrorNumber::ItemNotFound,
                             QCoreApplication::translate(
                                 "cronologia",
                                 "Nell'archivio e nel suo registro delle modifiche non c'è un contatto con la chiave %1: "
                                 "controllare la chiave.")
                                 .arg(id));
        out << QCoreApplication::translate(
                   "cronologia", "Il contatto %1 non è cambiato da quando l'archivio tiene il registro delle modifiche.")
                   .arg(id)
            << '\n';
        return kFatto;
    }
    for (const Versione& v : versioni) {
        out << v.numero << "  ";
        if (v.piuVecchia)
            out << QCoreApplication::translate("cronologia",
                                               "com'era prima della modifica %1 (quando e da chi scritto non si sa)")
                       .arg(v.numero);
        else
            out << ora(v.quando) << "  " << chi(v.chi) << "  " << inRiga(v.etichetta)
                << QCoreApplication::translate("cronologia", " (operazione %1)").arg(v.operazione);
        out << "  " << (v.eliminato ? QCoreApplication::translate("cronologia", "eliminato") : valori(v.valori)) << '\n';
    }
    return kFatto;
}

void elencaCestino(Connection& connection, QTextStream& out)
{
    const std::vector<Eliminato> cestino = Cestino(connection);
    for (const Eliminato& e : cestino)
        out << e.id << "  " << nome(e.nome) << "  "
            << QCoreApplication::translate("cronologia", "eliminato il %1 da %2 nell'operazione %3 (%4)")
                   .arg(ora(e.quando), chi(e.chi), QString::number(e.operazione), inRiga(e.etichetta))
            << '\n';
    if (cestino.empty()) out << QCoreApplication::translate("cronologia", "Il cestino è vuoto.") << '\n';
}

int ripristina(Connection& connection, qint64 id, QTextStream& out)
{
    const std::optional<Eliminato> eliminato = nelCestino(connection, id);
    if (!eliminato)
        throw nonNelCestino(connection, id, QCoreApplication::translate("cronologia", "non è stato ripristinato nulla"));
    const qint64 numero = RipristinaDalCestino(connection, {id});
    // Another desk may have brought it back, or taken its key, since the bin was read.
    if (numero == 0)
        throw nonNelCestino(
            connection, id,
            QCoreApplication::translate("cronologia", "nel frattempo è uscito dal cestino; non è stato ripristinato nulla"));
    out << QCoreApplication::translate("cronologia", "Ripristinato il contatto %1 con la sua chiave %2 (operazione %3).")
               .arg(nome(eliminato->nome), QString::number(id), QString::number(numero))
        << '\n';
    return kFatto;
}

int annulla(Connection& connection, qint64 numero, bool parziale, QTextStream& out, QTextStream& err)
{
    EsitoAnnullamento esito;
    try {
        esito = Annulla(connection, numero, parziale);
    } catch (const StoreError& error) {
        if (parziale || error.number() != StoreErrorNumber::RowChanged) throw;
        const std::vector<ContattoCambiato> cambiati = CambiatiDopo(connection, numero);
        if (cambiati.empty()) throw;  // nothing to name: the store's own words
        const bool uno = cambiati.size() == 1;
        err << (uno ? QCoreApplication::translate(
                          "cronologia",
                          "Non è stato annullato nulla: dopo l'operazione %1 è cambiato ancora 1 contatto, "
                          "che annullarla sovrascriverebbe:")
                          .arg(numero)
                    : QCoreApplication::translate("cronologia",
                                                  "Non è stato annullato nulla: dopo l'operazione %1 sono cambiati ancora %2 "
                                                  "contatti, che annullarla sovrascriverebbe:")
                          .arg(numero)
                          .arg(cambiati.size()))
            << '\n';
        for (const ContattoCambiato& c : cambiati) err << cambiato(c) << '\n';
        err << (uno ? QCoreApplication::translate("cronologia",
                                                  "Per annullare il resto e lasciare questo contatto com'è: "
                                                  "%1 --annulla %2 --forza-parziale ARCHIVIO")
                    : QCoreApplication::translate("cronologia",
                                                  "Per annullare il resto e lasciare questi contatti come sono: "
                                                  "%1 --annulla %2 --forza-parziale ARCHIVIO"))
                   .arg(programma(), QString::number(numero))
            << '\n';
        return kRifiutato;
    }
    if (esito.operazione == 0 && !esito.lasciati.empty())
        out << QCoreApplication::translate(
                   "cronologia", "Non è stato annullato nulla dell'operazione %1: tutti i suoi contatti sono cambiati dopo.")
                   .arg(numero)
            << '\n';
    else if (esito.operazione == 0)
        out << QCoreApplication::translate(
                   "cronologia", "L'operazione %1 non ha lasciato nulla da annullare: l'archivio non è stato modificato.")
                   .arg(numero)
            << '\n';
    else
        out << (esito.contatti == 1
                    ? QCoreApplication::translate("cronologia",
                                                  "Annullata l'operazione %1 con l'operazione %2: 1 contatto è tornato com'era.")
                          .arg(numero)
                          .arg(esito.operazione)
                    : QCoreApplication::translate("cronologia",
                                                  "Annullata l'operazione %1 con l'operazione %2: %3 contatti sono tornati "
                                                  "com'erano.")
                          .arg(numero)
                          .arg(esito.operazione)
                          .arg(esito.contatti))
            << '\n';
    if (!esito.lasciati.empty()) {
        out << QCoreApplication::translate("cronologia", "Lasciati come sono, perché cambiati dopo l'operazione %1:").arg(numero)
            << '\n';
        for (const ContattoCambiato& c : esito.lasciati) out << cambiato(c) << '\n';
    }
    return kFatto;
}

int eliminaDefinitivamente(Connection& connection, qint64 id, QTextStream& out)
{
    const std::optional<Eliminato> eliminato = nelCestino(connection, id);
    if (!eliminato)
        throw nonNelCestino(
            connection, id,
            QCoreApplication::translate("cronologia",
                                        "si elimina definitivamente solo un contatto del cestino; non è stato eliminato nulla"));
    if (EliminaDefinitivamente(connection, {id}) == 0)
        throw nonNelCestino(
            connection, id,
            QCoreApplication::translate("cronologia", "nel frattempo è uscito dal cestino; non è stato eliminato nulla"));
    out << QCoreApplication::translate("cronologia",
                                       "Eliminato definitivamente il contatto %1 (chiave %2) con tutta la sua cronologia.")
               .arg(nome(eliminato->nome), QString::number(id))
        << '\n'
        << CosaRestaDopoLaCancellazione(connection) << '\n';
    return kFatto;
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const QString contatto = QStringLiteral("contatto"), cestino = QStringLiteral("cestino"),
                  ripristinaOpz = QStringLiteral("ripristina"), annullaOpz = QStringLiteral("annulla"),
                  forza = QStringLiteral("forza-parziale"), elimina = QStringLiteral("elimina-definitivamente");
    const QString uso = QCoreApplication::translate(
        "cronologia",
        "[--contatto ID | --cestino | --ripristina ID | --annulla N [--forza-parziale] | --elimina-definitivamente ID] ARCHIVIO");
    RigaDiComando riga(
        uso,
        QCoreApplication::translate(
            "cronologia",
            "Mostra le modifiche registrate nell'archivio ARCHIVIO (un file, o la connessione a un server) e ne\n"
            "riprende. Senza opzioni elenca le operazioni, dalla più recente: numero, quando, chi, che cosa,\n"
            "quanti contatti e i primi nomi.\n\n"
            "  --contatto ID                  le versioni del contatto con la chiave ID, dalla più recente, con\n"
            "                                 i suoi valori (i campi Null non si mostrano)\n"
            "  --cestino                      i contatti eliminati che si possono ripristinare\n"
            "  --ripristina ID                riporta nell'archivio il contatto ID dal cestino, con la sua chiave\n"
            "  --annulla N                    annulla l'operazione N, se nessuno dei suoi contatti è cambiato dopo\n"
            "  --forza-parziale               con --annulla: annulla il resto, lasciando come sono i contatti\n"
            "                                 cambiati dopo\n"
            "  --elimina-definitivamente ID   cancella per sempre il contatto ID dal cestino, con la sua cronologia\n"
            "  -h, --help                     mostra questo aiuto\n"
            "  --version                      mostra la versione\n\n"
            "Stato d'uscita: 0 fatto, 1 errore, 2 riga di comando sbagliata, 3 annullamento rifiutato perché\n"
            "alcuni contatti sono cambiati dopo l'operazione.\n"),
        {{contatto, QString(), QStringLiteral("ID")},
         {cestino, QString()},
         {ripristinaOpz, QString(), QStringLiteral("ID")},
         {annullaOpz, QString(), QStringLiteral("N")},
         {forza, QString()},
         {elimina, QString(), QStringLiteral("ID")}},
        1);
    if (const int fine = riga.leggi(application.arguments()); fine >= 0) return fine;

    QTextStream out(stdout);
    QTextStream err(stderr);
    const QCommandLineParser& parser = riga.parser();
    const auto sbagliata = [&err, &uso](const QString& motivo) {
        err << programma() << ": " << motivo << '\n'
            << QCoreApplication::translate("cronologia", "Uso: %1 %2").arg(programma(), uso) << '\n'
            << QCoreApplication::translate("cronologia", "Per saperne di più: %1 --help").arg(programma()) << '\n';
        return kUso;
    };
    QStringList scelte;
    for (const QString& opzione : {contatto, cestino, ripristinaOpz, annullaOpz, elimina}) {
        if (!parser.isSet(opzione)) continue;
        if (parser.values(opzione).size() > 1)
            return sbagliata(QCoreApplication::translate("cronologia", "--%1 data più volte").arg(opzione));
        scelte << opzione;
    }
    if (scelte.size() > 1)
        return sbagliata(QCoreApplication::translate("cronologia", "--%1 e --%2 non vanno insieme: una cosa alla volta")
                             .arg(scelte[0], scelte[1]));
    if (parser.isSet(forza) && !parser.isSet(annullaOpz))
        return sbagliata(QCoreApplication::translate("cronologia", "--forza-parziale va con --annulla N"));
    const QString scelta = scelte.isEmpty() ? QString() : scelte.front();
    qint64 numero = 0;
    if (!scelta.isEmpty() && scelta != cestino) {
        bool numerico = false;
        numero = parser.value(scelta).toLongLong(&numerico);
        if (!numerico || numero <= 0)
            return sbagliata(QCoreApplication::translate("cronologia", "--%1 vuole un numero intero positivo, non «%2»")
                                 .arg(scelta, inRiga(parser.value(scelta))));
    }

    try {
        Connection connection;
        connection.Open(Funzioni::StringaConnessionePer(riga.argomenti()[0]));
        if (scelta == contatto) return elencaVersioni(connection, numero, out);
        if (scelta == cestino) {
            elencaCestino(connection, out);
            return kFatto;
        }
        if (scelta == ripristinaOpz) return ripristina(connection, numero, out);
        if (scelta == annullaOpz) return annulla(connection, numero, parser.isSet(forza), out, err);
        if (scelta == elimina) return eliminaDefinitivamente(connection, numero, out);
        elencaOperazioni(connection, out);
    } catch (...) {
        const StoreError error = ErroreCorrente();
        out.flush();
        err << QCoreApplication::translate("cronologia", "Errore %1: %2")
                   .arg(QString::number(error.number()), error.description())
            << '\n';
        return kErrore;
    }
    return kFatto;
}
