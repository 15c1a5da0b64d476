// Keeps a register in step with an address book on a CardDAV server, for an office whose
// register is on a server (run by a timer) or for a desk from the command line:
//   sincronizza [--rubrica URL-O-NOME] [--utente U] [--password-da-file F] ARCHIVIO URL
// Exits 0, or 3 when contacts changed on both sides wait for a decision, 1 on error.
#include "exchange/contatto.h"
#include "store/connection.h"
#include "store/funzioni.h"
#include "store/rigadicomando.h"
#include "store/storeerror.h"
#include "sync/carddav.h"
#include "sync/password.h"
#include "sync/sincronizzazione.h"

#include <QCoreApplication>
#include <QTextStream>

using namespace brenzola;

namespace {

QString tr(const char* testo) { return QCoreApplication::translate("sincronizza", testo); }

constexpr int kConflitti = 3;

// The address book asked for by address or name; the only one when none is named; a new
// one when a name is not there yet.
CardDavClient::AddressBook rubricaScelta(CardDavClient& server, const QString& chiesta)
{
    const std::vector<CardDavClient::AddressBook> tutte = server.addressBooks();
    for (const auto& r : tutte)
        if (!chiesta.isEmpty() && (r.name == chiesta || r.url == QUrl(chiesta) || r.url.path() == chiesta)) return r;
    if (chiesta.isEmpty() && tutte.size() == 1) return tutte.front();
    if (!chiesta.isEmpty() && !chiesta.contains(u'/')) return server.createAddressBook(chiesta);
    QStringList nomi;
    for (const auto& r : tutte) nomi << r.name;
    throw StoreError(StoreErrorNumber::ItemNotFound,
                     chiesta.isEmpty()
                         ? tr("Il server ha %1 rubriche (%2): sceglierne una con --rubrica.")
                               .arg(tutte.size())
                               .arg(nomi.join(QStringLiteral(", ")))
                         : tr("Sul server non c'è la rubrica «%1»; ci sono: %2.").arg(chiesta, nomi.join(QStringLiteral(", "))));
}

QString descritto(const std::optional<Contatto>& c) { return c ? c->nomeCompleto().trimmed() : tr("(eliminato)"); }

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    RigaDiComando riga(
        tr("[--rubrica URL-O-NOME] [--utente U] [--password-da-file F] ARCHIVIO URL"),
        tr("Porta i contatti dell'archivio ARCHIVIO (un file, o la connessione a un server) e quelli di una rubrica\n"
           "sul server CardDAV all'indirizzo URL allo stesso punto: ciò che è cambiato da una parte dall'ultima\n"
           "volta passa all'altra. Un contatto cambiato da entrambe le parti resta com'è da tutte e due, finché\n"
           "qualcuno sceglie; i contatti eliminati sul server vanno nel cestino.\n\n"
           "  --rubrica R            la rubrica, per indirizzo o per nome (un nome che non c'è la crea); senza,\n"
           "                         l'unica che il server ha\n"
           "  --utente U             l'utente sul server (se no, quello del sistema)\n"
           "  --password-da-file F   legge la password dal file F, che solo l'utente deve poter leggere; senza,\n"
           "                         dal portachiavi del desktop\n"
           "  -h, --help             mostra questo aiuto\n"
           "  --version              mostra la versione\n\n"
           "Esce con 0, con 3 se restano contatti da decidere, con 1 in caso di errore.\n"),
        {{QStringLiteral("rubrica"), QString(), QStringLiteral("R")},
         {QStringLiteral("utente"), QString(), QStringLiteral("U")},
         {QStringLiteral("password-da-file"), QString(), QStringLiteral("F")}},
        2);
    if (const int fine = riga.leggi(application.arguments()); fine >= 0) return fine;

    QTextStream out(stdout);
    QTextStream err(stderr);
    try {
        CardDavClient::Settings impostazioni;
        impostazioni.server = QUrl::fromUserInput(riga.argomenti()[1]);
        impostazioni.user = riga.parser().isSet(QStringLiteral("utente")) ? riga.parser().value(QStringLiteral("utente"))
                                                                          : qEnvironmentVariable("USER");
        impostazioni.password = riga.parser().isSet(QStringLiteral("password-da-file"))
                                    ? PasswordDaFile(riga.parser().value(QStringLiteral("password-da-file")))
                                    : PasswordDalPortachiavi(impostazioni.server, impostazioni.user);
        CardDavClient server(impostazioni);
        const CardDavClient::AddressBook rubrica = rubricaScelta(server, riga.parser().value(QStringLiteral("rubrica")));
        Connection connection;
        connection.Open(Funzioni::StringaConnessionePer(riga.argomenti()[0]));
        const EsitoSincronizzazione esito = Sincronizza(connection, server, rubrica);
        out << tr("Rubrica: %1 (%2)").arg(rubrica.name, rubrica.url.toDisplayString()) << '\n'
            << tr("Mandati al server: %1 nuovi, %2 cambiati, %3 eliminati")
                   .arg(esito.inviati)
                   .arg(esito.cambiatiSulServer)
                   .arg(esito.eliminatiSulServer)
            << '\n'
            << tr("Ricevuti dal server: %1 nuovi, %2 cambiati, %3 eliminati (nel cestino)")
                   .arg(esito.ricevuti)
                   .arg(esito.cambiatiQui)
                   .arg(esito.eliminatiQui)
            << '\n';
        for (const SchedaIllegibile& s : esito.illeggibili)
            out << tr("Lasciata com'è sul server, non è un contatto: %1 (%2)").arg(s.scheda.toDisplayString(), s.motivo) << '\n';
        if (esito.conflitti.empty()) return 0;
        out << tr("Da decidere (cambiati qui e sul server): %1").arg(esito.conflitti.size()) << '\n';
        for (const Conflitto& c : esito.conflitti)
            out << "  " << tr("qui «%1», sul server «%2»").arg(descritto(c.qui), descritto(c.sulServer)) << '\n';
        return kConflitti;
    } catch (const StoreError& e) {
        err << tr("Errore %1: %2").arg(e.number()).arg(e.description()) << '\n';
        return 1;
    }
}
