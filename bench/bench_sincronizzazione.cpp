// Synchronisation with a CardDAV server on this machine (Radicale, as the tests start it):
// the first synchronisation of a register of realistic names with an empty address
// book, a synchronisation with nothing changed, and one with a contact changed on each
// side; for each the time, the program's own processor time, the requests and the cards
// sent or received. Prints `name value unit` lines; the argument is the number of contacts
// (10,000 if none).
#include "benchsupport.h"
#include "exchange/scambio.h"
#include "radicale.h"
#include "store/connection.h"
#include "store/funzioni.h"
#include "sync/sincronizzazione.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <sys/resource.h>

using namespace brenzola;

namespace {

// Processor time this process has used (the server is another process).
double cpuSecondi()
{
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    return double(uso.ru_utime.tv_sec + uso.ru_stime.tv_sec) + double(uso.ru_utime.tv_usec + uso.ru_stime.tv_usec) / 1e6;
}

void stampa(const char* nome, int contatti, double valore, const char* unita)
{
    std::printf("%s_%d %.3f %s\n", nome, contatti, valore, unita);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int contatti = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10'000;
    bench::ArchivioDemo archivio(contatti, bench::Dati::Realistici);
    Radicale server;
    CardDavClient::Settings impostazioni;
    impostazioni.server = server.url();
    impostazioni.user = QLatin1String(Radicale::kUser);
    impostazioni.password = QLatin1String(Radicale::kPassword);
    CardDavClient client(impostazioni);
    client.createAddressBook(QStringLiteral("Ufficio"));
    Connection connection;
    connection.Open(Funzioni::StringaConnessionePer(archivio.archivio()));

    const auto sincronizza = [&](const char* nome) {
        const CardDavClient::AddressBook rubrica = client.addressBooks().front();
        const qint64 richieste = client.requests();
        const qint64 schede = client.cardsTransferred();
        QElapsedTimer tempo;
        tempo.start();
        const double cpuPrima = cpuSecondi();
        const EsitoSincronizzazione esito = Sincronizza(connection, client, rubrica);
        stampa(nome, contatti, double(tempo.nsecsElapsed()) / 1e9, "s");
        // The program's own share: the rest of the time is the server's.
        stampa((QByteArray(nome) + "_client_cpu").constData(), contatti, cpuSecondi() - cpuPrima, "s");
        stampa((QByteArray(nome) + "_requests").constData(), contatti, double(client.requests() - richieste), "requests");
        stampa((QByteArray(nome) + "_cards").constData(), contatti, double(client.cardsTransferred() - schede), "cards");
        return esito;
    };
    const EsitoSincronizzazione prima = sincronizza("sync_first");
    if (prima.inviati != contatti) qFatal("%d of %d contacts sent", prima.inviati, contatti);
    sincronizza("sync_unchanged");

    // One contact changed here, another on the server.
    const Contatto qui = LeggiContatto(connection, 1);
    Contatto cambiato = qui;
    cambiato[Campo::Telefono] = QStringLiteral("0123 456789");
    RiscriviContatto(connection, qui, cambiato);
    const CardDavClient::AddressBook rubrica = client.addressBooks().front();
    const CardDavClient::CardRef la = client.list(rubrica.url).back();
    QByteArray scheda = client.fetch(rubrica.url, {la.url}).front().vcard;
    scheda.replace("END:VCARD", "NOTE:cambiata sul telefono\r\nEND:VCARD");
    if (!client.put(la.url, scheda, la.etag)) qFatal("the server's card could not be changed");
    const EsitoSincronizzazione una = sincronizza("sync_one_change_each_side");
    if (una.cambiatiQui != 1 || una.cambiatiSulServer != 1) qFatal("the changes did not cross");
    return 0;
}
