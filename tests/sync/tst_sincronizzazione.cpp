// The register and an address book on a CardDAV server kept in step, with a phone
// (vdirsyncer) on the other side: the first synchronisation pairs what both have instead
// of doubling it and never takes a homonym for the same person; edits and deletions on
// either side reach the other; a contact changed on both sides is left alone on both; the
// server's card keeps what the register has no field for. Against a real Radicale.
#include "exchange/contatto.h"
#include "exchange/scambio.h"
#include "exchange/vcard.h"
#include "radicale.h"
#include "store/connection.h"
#include "store/funzioni.h"
#include "store/sincronia.h"
#include "store/storeerror.h"
#include "sync/sincronizzazione.h"
#include "telefono.h"
#include "testsupport.h"

#include <QFile>
#include <QTest>

using namespace brenzola;

namespace {

struct Banco {
    Radicale server;
    test::TempStore store;
    std::unique_ptr<Connection> connection = std::make_unique<Connection>();
    std::unique_ptr<CardDavClient> client;
    CardDavClient::AddressBook rubrica;

    Banco()
    {
        CardDavClient::Settings s;
        s.server = server.url();
        s.user = QLatin1String(Radicale::kUser);
        s.password = QLatin1String(Radicale::kPassword);
        client = std::make_unique<CardDavClient>(s);
        rubrica = client->createAddressBook(QStringLiteral("Ufficio"));
        connection->Open(Funzioni::StringaConnessionePer(store.path()));
    }
    EsitoSincronizzazione sincronizza()
    {
        rubrica = client->addressBooks().front();
        return Sincronizza(*connection, *client, rubrica);
    }
    QStringList nomi() const
    {
        QStringList tutti;
        for (const auto& riga : store.rows(QStringLiteral("SELECT cognome, nome, citta, telefono FROM anagrafica")))
            tutti << QStringLiteral("%1 %2 %3 %4")
                         .arg(riga[0].toString(), riga[1].toString(), riga[2].toString(), riga[3].toString())
                         .simplified();
        tutti.sort();
        return tutti;
    }
};

QByteArray scheda(const QByteArray& uid, const QByteArray& cognome, const QByteArray& nome, const QByteArray& altro)
{
    return "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:" + uid + "\r\nN:" + cognome + ";" + nome + ";;;\r\nFN:" + nome + " " + cognome
           + "\r\n" + altro + "END:VCARD\r\n";
}

QString riassunto(const EsitoSincronizzazione& e)
{
    return QStringLiteral("inviati %1 cambiati là %2 eliminati là %3 ricevuti %4 cambiati qui %5 eliminati qui %6 conflitti %7")
        .arg(e.inviati)
        .arg(e.cambiatiSulServer)
        .arg(e.eliminatiSulServer)
        .arg(e.ricevuti)
        .arg(e.cambiatiQui)
        .arg(e.eliminatiQui)
        .arg(e.conflitti.size());
}

// The phone's card whose text contains `testo`, and its file.
QString fileCon(const Telefono& telefono, const QByteArray& testo)
{
    const QMap<QString, QByteArray> tutte = telefono.schede();
    for (auto i = tutte.cbegin(); i != tutte.cend(); ++i)
        if (i.value().contains(testo)) return telefono.cartella().filePath(i.key());
    return {};
}

void riscrivi(const QString& file, const QByteArray& da, const QByteArray& a)
{
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QByteArray testo = f.readAll().replace(da, a);
    f.close();
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(testo);
}

}  // namespace

class TestSincronizzazione : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void theFirstSyncPairsWithoutDoublingOrMergingHomonyms();
    void changesOnEitherSideReachTheOther();
    void aContactChangedOnBothSidesIsLeftAlone();
    void aStoppedSyncLeavesTheRegisterAsItWasAndResumes();
};

void TestSincronizzazione::theFirstSyncPairsWithoutDoublingOrMergingHomonyms()
{
    Banco banco;
    banco.store.insert({{"Cognome", "Rossi"}, {"Nome", "Mario"}, {"Email", "mario@rossi.it"}, {"Telefono", "02 1234567"}});
    banco.store.insert({{"Cognome", "Bianchi"}, {"Nome", "Luca"}, {"Email", "luca@bianchi.it"}, {"Citta", "Como"}});
    // Already on the server: Rossi as another program wrote him, with a photo; another
    // Luca Bianchi, who shares nothing with ours; Verdi, only there.
    QVERIFY(
        banco.client->put(banco.rubrica.url.resolved(QUrl(QStringLiteral("r.vcf"))),
                          scheda("altro-rossi", "Rossi", "Mario",
                                 "EMAIL:mario@rossi.it\r\nTEL;TYPE=VOICE:02 1234567\r\nPHOTO;VALUE=uri:http://x.it/r.jpg\r\n"),
                          {}));
    QVERIFY(banco.client->put(banco.rubrica.url.resolved(QUrl(QStringLiteral("b.vcf"))),
                              scheda("altro-bianchi", "Bianchi", "Luca", "EMAIL:luca@altrove.it\r\n"), {}));
    QVERIFY(banco.client->put(banco.rubrica.url.resolved(QUrl(QStringLiteral("v.vcf"))),
                              scheda("altro-verdi", "Verdi", "Anna", "TEL;TYPE=CELL:333 1\r\n"), {}));

    const EsitoSincronizzazione prima = banco.sincronizza();
    QCOMPARE(riassunto(prima),
             QStringLiteral("inviati 1 cambiati là 0 eliminati là 0 ricevuti 2 cambiati qui 0 eliminati qui 0 conflitti 0"));
    QCOMPARE(banco.nomi(), (QStringList{"Bianchi Luca", "Bianchi Luca Como", "Rossi Mario 02 1234567", "Verdi Anna"}));
    QCOMPARE(banco.client->list(banco.rubrica.url).size(), size_t(4));
    // Nothing changed: nothing to do, however often it runs.
    QCOMPARE(riassunto(banco.sincronizza()),
             QStringLiteral("inviati 0 cambiati là 0 eliminati là 0 ricevuti 0 cambiati qui 0 eliminati qui 0 conflitti 0"));
    QCOMPARE(riassunto(banco.sincronizza()),
             QStringLiteral("inviati 0 cambiati là 0 eliminati là 0 ricevuti 0 cambiati qui 0 eliminati qui 0 conflitti 0"));
}

void TestSincronizzazione::changesOnEitherSideReachTheOther()
{
    Banco banco;
    const qint64 rossi = banco.store.insert({{"Cognome", "Rossi"}, {"Nome", "Mario"}, {"Telefono", "02 1234567"}});
    const qint64 bianchi = banco.store.insert({{"Cognome", "Bianchi"}, {"Nome", "Luca"}, {"Citta", "Como"}});
    banco.store.insert({{"Cognome", "Verdi"}, {"Nome", "Anna"}});
    const qint64 neri = banco.store.insert({{"Cognome", "Neri"}, {"Nome", "Aldo"}});
    QCOMPARE(banco.sincronizza().inviati, 4);

    Telefono telefono(banco.rubrica.url, QLatin1String(Radicale::kUser), QLatin1String(Radicale::kPassword));
    QVERIFY(telefono.sincronizza());
    QCOMPARE(telefono.schede().size(), 4);
    // On the phone: Rossi's number changes and he gets a photo; Verdi is deleted.
    riscrivi(fileCon(telefono, "Rossi"), "02 1234567", "02 7654321\r\nPHOTO;VALUE=uri:http://x.it/r.jpg");
    QVERIFY(QFile::remove(fileCon(telefono, "Verdi")));
    QVERIFY(telefono.sincronizza());
    // Here: Bianchi moves, Neri is deleted.
    banco.store.rows(QStringLiteral("UPDATE anagrafica SET citta = 'Lecco' WHERE id = %1").arg(bianchi));
    banco.connection->Execute(QStringLiteral("Delete from anagrafica where id=%1").arg(neri));

    QCOMPARE(riassunto(banco.sincronizza()),
             QStringLiteral("inviati 0 cambiati là 1 eliminati là 1 ricevuti 0 cambiati qui 1 eliminati qui 1 conflitti 0"));
    QCOMPARE(banco.nomi(), (QStringList{"Bianchi Luca Lecco", "Rossi Mario 02 7654321"}));
    QVERIFY(LeggiContatto(*banco.connection, rossi).testo(Campo::Commenti).isEmpty());  // the photo stays there
    // Verdi is in the bin, not gone.
    QCOMPARE(
        banco.store.rows(QStringLiteral("SELECT count(*) FROM giornale WHERE azione = 'D' AND prima_cognome = 'Verdi'"))[0][0]
            .toInt(),
        1);

    QVERIFY(telefono.sincronizza());
    QCOMPARE(telefono.schede().size(), 2);
    QVERIFY(!fileCon(telefono, "Lecco").isEmpty());
    QVERIFY(!fileCon(telefono, "PHOTO;VALUE=uri:http://x.it/r.jpg").isEmpty());
}

void TestSincronizzazione::aContactChangedOnBothSidesIsLeftAlone()
{
    Banco banco;
    banco.store.insert({{"Cognome", "Rossi"}, {"Nome", "Mario"}, {"Telefono", "02 1234567"}});
    const qint64 bianchi = banco.store.insert({{"Cognome", "Bianchi"}, {"Nome", "Luca"}});
    banco.sincronizza();
    Telefono telefono(banco.rubrica.url, QLatin1String(Radicale::kUser), QLatin1String(Radicale::kPassword));
    QVERIFY(telefono.sincronizza());
    riscrivi(fileCon(telefono, "Rossi"), "02 1234567", "02 1111111");
    QVERIFY(telefono.sincronizza());
    banco.store.rows(QStringLiteral("UPDATE anagrafica SET telefono = '02 2222222' WHERE cognome = 'Rossi'"));
    banco.store.rows(QStringLiteral("UPDATE anagrafica SET citta = 'Lodi' WHERE id = %1").arg(bianchi));

    const EsitoSincronizzazione esito = banco.sincronizza();
    QCOMPARE(riassunto(esito),
             QStringLiteral("inviati 0 cambiati là 1 eliminati là 0 ricevuti 0 cambiati qui 0 eliminati qui 0 conflitti 1"));
    QCOMPARE(esito.conflitti[0].qui->testo(Campo::Telefono), QStringLiteral("02 2222222"));
    QCOMPARE(esito.conflitti[0].sulServer->testo(Campo::Telefono), QStringLiteral("02 1111111"));
    QVERIFY(banco.nomi().contains(QStringLiteral("Rossi Mario 02 2222222")));
    QVERIFY(telefono.sincronizza());
    QVERIFY(!fileCon(telefono, "02 1111111").isEmpty());
    // Still undecided the next time, and never decided silently.
    QCOMPARE(banco.sincronizza().conflitti.size(), size_t(1));

    // A choice about a card that changed again since is not carried out.
    riscrivi(fileCon(telefono, "Rossi"), "02 1111111", "02 3333333");
    QVERIFY(telefono.sincronizza());
    QVERIFY(!Risolvi(*banco.connection, *banco.client, banco.rubrica, esito.conflitti[0], Versione::SulServer));
    QVERIFY(banco.nomi().contains(QStringLiteral("Rossi Mario 02 2222222")));
    // Chosen as it is now: the register's version goes to the phone, and stays decided.
    const std::vector<Conflitto> ora = banco.sincronizza().conflitti;
    QCOMPARE(ora.size(), size_t(1));
    QCOMPARE(ora[0].sulServer->testo(Campo::Telefono), QStringLiteral("02 3333333"));
    QVERIFY(Risolvi(*banco.connection, *banco.client, banco.rubrica, ora[0], Versione::Qui));
    QCOMPARE(riassunto(banco.sincronizza()),
             QStringLiteral("inviati 0 cambiati là 0 eliminati là 0 ricevuti 0 cambiati qui 0 eliminati qui 0 conflitti 0"));
    QVERIFY(telefono.sincronizza());
    QVERIFY(!fileCon(telefono, "02 2222222").isEmpty());

    // The other way: the phone's version comes here.
    riscrivi(fileCon(telefono, "Rossi"), "02 2222222", "02 4444444");
    QVERIFY(telefono.sincronizza());
    banco.store.rows(QStringLiteral("UPDATE anagrafica SET telefono = '02 5555555' WHERE cognome = 'Rossi'"));
    const std::vector<Conflitto> ancora = banco.sincronizza().conflitti;
    QCOMPARE(ancora.size(), size_t(1));
    QVERIFY(Risolvi(*banco.connection, *banco.client, banco.rubrica, ancora[0], Versione::SulServer));
    QVERIFY(banco.nomi().contains(QStringLiteral("Rossi Mario 02 4444444")));
    QCOMPARE(banco.sincronizza().conflitti.size(), size_t(0));
}

void TestSincronizzazione::aStoppedSyncLeavesTheRegisterAsItWasAndResumes()
{
    Banco banco;
    for (int i = 0; i < 30; ++i) banco.store.insert({{"Cognome", QStringLiteral("Cognome%1").arg(i)}, {"Nome", "Anna"}});
    // What the register remembers of the server: a stopped synchronisation leaves it as it was.
    const auto ricordo = [&] {
        QStringList schede;
        const StatoSincronia stato(*banco.connection);
        for (const StatoSincronia::Scheda& s : stato.schede()) schede << s.href + s.etag + s.firma;
        return schede;
    };

    // Stopped by the user after ten cards: whole cards on the server, nothing here.
    try {
        Sincronizza(*banco.connection, *banco.client, banco.client->addressBooks().front(),
                    [](qint64 fatte, qint64) { return fatte < 10; });
        QFAIL("the synchronisation was not stopped");
    } catch (const StoreError& e) {
        QCOMPARE(e.number(), StoreErrorNumber::UserInterrupt);
    }
    QCOMPARE(banco.client->list(banco.rubrica.url).size(), size_t(9));
    QVERIFY(ricordo().isEmpty());
    // The next one pairs those nine and sends the rest, with nothing to decide.
    QCOMPARE(riassunto(banco.sincronizza()),
             QStringLiteral("inviati 21 cambiati là 0 eliminati là 0 ricevuti 0 cambiati qui 0 eliminati qui 0 conflitti 0"));

    // The server gone in the middle: an error that says so, and the register as it was.
    banco.store.rows(QStringLiteral("UPDATE anagrafica SET nome = 'Bruna'"));
    const auto rubrica = banco.client->addressBooks().front();
    const QStringList prima = ricordo();
    try {
        Sincronizza(*banco.connection, *banco.client, rubrica, [&](qint64 fatte, qint64) {
            if (fatte == 5) banco.server.kill();
            return true;
        });
        QFAIL("the synchronisation went on without its server");
    } catch (const StoreError& e) {
        QCOMPARE(e.number(), StoreErrorNumber::ServerConnection);
    }
    QCOMPARE(ricordo(), prima);
    QCOMPARE(prima.size(), 30);
}

QTEST_GUILESS_MAIN(TestSincronizzazione)
#include "tst_sincronizzazione.moc"
