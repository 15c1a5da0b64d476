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
                            : QStringLiteral("data sconosciuta");
}

QString nome(const QString& cognomeNome)
{
    const QString n = cognomeNome.trimmed();
    return n.isEmpty() ? QStringLiteral("(senza nome)") : inRiga(n);
}

QString chi(const QString& utente) { return utente.isEmpty() ? QStringLiteral("utente sconosciuto") : inRiga(utente); }

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
        return StoreError(StoreErrorNumber::ItemNotFound,
                          QStringLiteral("Il contatto %1 è ancora nell'archivio, non nel cestino: %2. Per vedere il cestino: "
                                         "%3 --cestino ARCHIVIO.")
                              .arg(id)
                              .arg(perche, programma()));
    return StoreError(
        StoreErrorNumber::ItemNotFound,
        QStringLiteral("Nel cestino non c'è un contatto con la chiave %1: %2. Per vedere il cestino: %3 --cestino ARCHIVIO.")
            .arg(id)
            .arg(perche, programma()));
}

QString cambiato(const ContattoCambiato& c)
{
    // One arg() for all: a name holding "%2" stays as it is.
    return QStringLiteral("  %1 (chiave %2): cambiato da %3 il %4")
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
            if (v.contatti > nomi.size() && !nomi.isEmpty()) contatti += QStringLiteral(" e altri");
            out << v.numero << "  " << ora(v.quando) << "  " << chi(v.chi) << "  " << inRiga(v.etichetta) << "  " << contatti;
            if (v.annullataDa != 0) out << "  annullata dall'operazione " << v.annullataDa;
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
        const QString testo =
            v.typeId() == QMetaType::QDate ? Funzioni::ComeTesto(v) : QStringLiteral("«%1»").arg(inRiga(v.toString()));
        campi << QStringLiteral("%1 %2").arg(
            campo.compare(ColonneContatto()[i], Qt::CaseInsensitive) == 0 ? campo : ColonneContatto()[i], testo);
    }
    return campi.isEmpty() ? QStringLiteral("tutti i campi vuoti (Null)") : campi.join(QStringLiteral(", "));
}

int elencaVersioni(Connection& connection, qint64 id, QTextStream& out)
{
    const std::vector<Versione> versioni = CronologiaContatto(connection, id);
    if (versioni.empty()) {
        if (!nelRegistro(connection, id))
            throw StoreError(
                StoreErrorNumber::ItemNotFound,
                QStringLiteral("Nell'archivio e nel suo registro delle modifiche non c'è un contatto con la chiave %1: "
                               "controllare la chiave.")
                    .arg(id));
        out << "Il contatto " << id << " non è cambiato da quando l'archivio tiene il registro delle modifiche.\n";
        return kFatto;
    }
    for (const Versione& v : versioni) {
        out << v.numero << "  ";
        if (v.piuVecchia)
            out << "com'era prima della modifica " << v.numero << " (quando e da chi scritto non si sa)";
        else
            out << ora(v.quando) << "  " << chi(v.chi) << "  " << inRiga(v.etichetta) << " (operazione " << v.operazione << ')';
        out << "  " << (v.eliminato ? QStringLiteral("eliminato") : valori(v.valori)) << '\n';
    }
    return kFatto;
}

void elencaCestino(Connection& connection, QTextStream& out)
{
    const std::vector<Eliminato> cestino = Cestino(connection);
    for (const Eliminato& e : cestino)
        out << e.id << "  " << nome(e.nome) << "  eliminato il " << ora(e.quando) << " da " << chi(e.chi) << " nell'operazione "
            << e.operazione << " (" << inRiga(e.etichetta) << ")\n";
    if (cestino.empty()) out << "Il cestino è vuoto.\n";
}

int ripristina(Connection& connection, qint64 id, QTextStream& out)
{
    const std::optional<Eliminato> eliminato = nelCestino(connection, id);
    if (!eliminato) throw nonNelCestino(connection, id, QStringLiteral("non è stato ripristinato nulla"));
    const qint64 numero = RipristinaDalCestino(connection, {id});
    // Another desk may have brought it back, or taken its key, since the bin was read.
    if (numero == 0)
        throw nonNelCestino(connection, id, QStringLiteral("nel frattempo è uscito dal cestino; non è stato ripristinato nulla"));
    out << "Ripristinato il contatto " << nome(eliminato->nome) << " con la sua chiave " << id << " (operazione " << numero
        << ").\n";
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
        err << "Non è stato annullato nulla: dopo l'operazione " << numero
            << (uno ? QStringLiteral(" è cambiato ancora 1 contatto, che annullarla sovrascriverebbe:\n")
                    : QStringLiteral(" sono cambiati ancora %1 contatti, che annullarla sovrascriverebbe:\n")
                          .arg(cambiati.size()));
        for (const ContattoCambiato& c : cambiati) err << cambiato(c) << '\n';
        err << "Per annullare il resto e lasciare " << (uno ? "questo contatto com'è" : "questi contatti come sono") << ": "
            << programma() << " --annulla " << numero << " --forza-parziale ARCHIVIO\n";
        return kRifiutato;
    }
    if (esito.operazione == 0 && !esito.lasciati.empty())
        out << "Non è stato annullato nulla dell'operazione " << numero << ": tutti i suoi contatti sono cambiati dopo.\n";
    else if (esito.operazione == 0)
        out << "L'operazione " << numero << " non ha lasciato nulla da annullare: l'archivio non è stato modificato.\n";
    else
        out << "Annullata l'operazione " << numero << " con l'operazione " << esito.operazione << ": "
            << (esito.contatti == 1 ? QStringLiteral("1 contatto è tornato com'era")
                                    : QStringLiteral("%1 contatti sono tornati com'erano").arg(esito.contatti))
            << ".\n";
    if (!esito.lasciati.empty()) {
        out << "Lasciati come sono, perché cambiati dopo l'operazione " << numero << ":\n";
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
            QStringLiteral("si elimina definitivamente solo un contatto del cestino; non è stato eliminato nulla"));
    if (EliminaDefinitivamente(connection, {id}) == 0)
        throw nonNelCestino(connection, id, QStringLiteral("nel frattempo è uscito dal cestino; non è stato eliminato nulla"));
    out << "Eliminato definitivamente il contatto " << nome(eliminato->nome) << " (chiave " << id
        << ") con tutta la sua cronologia.\n"
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
    const QString uso = QStringLiteral(
        "[--contatto ID | --cestino | --ripristina ID | --annulla N [--forza-parziale] | --elimina-definitivamente ID] ARCHIVIO");
    RigaDiComando riga(
        uso,
        QStringLiteral("Mostra le modifiche registrate nell'archivio ARCHIVIO (un file, o la connessione a un server) e ne\n"
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
        err << programma() << ": " << motivo << "\nUso: " << programma() << ' ' << uso << "\nPer saperne di più: " << programma()
            << " --help\n";
        return kUso;
    };
    QStringList scelte;
    for (const QString& opzione : {contatto, cestino, ripristinaOpz, annullaOpz, elimina}) {
        if (!parser.isSet(opzione)) continue;
        if (parser.values(opzione).size() > 1) return sbagliata(QStringLiteral("--%1 data più volte").arg(opzione));
        scelte << opzione;
    }
    if (scelte.size() > 1)
        return sbagliata(QStringLiteral("--%1 e --%2 non vanno insieme: una cosa alla volta").arg(scelte[0], scelte[1]));
    if (parser.isSet(forza) && !parser.isSet(annullaOpz)) return sbagliata(QStringLiteral("--forza-parziale va con --annulla N"));
    const QString scelta = scelte.isEmpty() ? QString() : scelte.front();
    qint64 numero = 0;
    if (!scelta.isEmpty() && scelta != cestino) {
        bool numerico = false;
        numero = parser.value(scelta).toLongLong(&numerico);
        if (!numerico || numero <= 0)
            return sbagliata(
                QStringLiteral("--%1 vuole un numero intero positivo, non «%2»").arg(scelta, inRiga(parser.value(scelta))));
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
        err << "Errore " << error.number() << ": " << error.description() << '\n';
        return kErrore;
    }
    return kFatto;
}
