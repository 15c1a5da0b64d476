// sincronizza as an office's timer runs it: the password from a file only its owner can
// read, the address book made by name, what was sent and received printed, and the exit
// status telling a conflict from success and from failure. Against a real Radicale.
#include "radicale.h"
#include "sync/carddav.h"
#include "testsupport.h"

#include <QFile>
#include <QProcess>
#include <QTest>

using namespace brenzola;

namespace {

struct Esito {
    int stato = -1;
    QString uscita;
};

Esito sincronizza(const QStringList& argomenti)
{
    QProcess processo;
    processo.setProcessChannelMode(QProcess::MergedChannels);
    processo.start(QStringLiteral(STRUMENTI "/sincronizza"), argomenti);
    processo.waitForFinished(120'000);
    return {processo.exitStatus() == QProcess::NormalExit ? processo.exitCode() : -1, QString::fromUtf8(processo.readAll())};
}

}  // namespace

class TestSincronizzaStrumento : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void anOfficeSyncsFromATimer();
};

void TestSincronizzaStrumento::anOfficeSyncsFromATimer()
{
    Radicale server;
    test::TempStore store;
    store.insert({{"Cognome", "Rossi"}, {"Nome", "Mario"}, {"Telefono", "02 1234567"}});
    store.insert({{"Cognome", "Bianchi"}, {"Nome", "Luca"}});
    QTemporaryDir cartella;
    const QString password = cartella.filePath(QStringLiteral("password"));
    QFile file(password);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(Radicale::kPassword) + '\n');
    file.close();
    const QStringList argomenti{QStringLiteral("--utente"),
                                QLatin1String(Radicale::kUser),
                                QStringLiteral("--password-da-file"),
                                password,
                                QStringLiteral("--rubrica"),
                                QStringLiteral("Ufficio"),
                                store.path(),
                                server.url().toString()};

    // Readable by others: refused before anything is sent.
    QVERIFY(
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    const Esito aperto = sincronizza(argomenti);
    QCOMPARE(aperto.stato, 1);
    QVERIFY2(aperto.uscita.contains(QStringLiteral("chmod 600")), qPrintable(aperto.uscita));
    QVERIFY(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));

    const Esito primo = sincronizza(argomenti);
    QCOMPARE(primo.stato, 0);
    QVERIFY2(primo.uscita.contains(QStringLiteral("Rubrica: Ufficio"))
                 && primo.uscita.contains(QStringLiteral("Mandati al server: 2 nuovi")),
             qPrintable(primo.uscita));

    // Rossi changed on both sides: status 3, and both sides keep their own.
    CardDavClient::Settings s;
    s.server = server.url();
    s.user = QLatin1String(Radicale::kUser);
    s.password = QLatin1String(Radicale::kPassword);
    CardDavClient client(s);
    const QUrl rubrica = client.addressBooks().front().url;
    for (const auto& scheda : client.fetch(rubrica, [&] {
             std::vector<QUrl> tutte;
             for (const auto& c : client.list(rubrica)) tutte.push_back(c.url);
             return tutte;
         }()))
        if (scheda.vcard.contains("Rossi"))
            QVERIFY(client.put(scheda.url, QByteArray(scheda.vcard).replace("02 1234567", "02 1111111"), scheda.etag));
    store.rows(QStringLiteral("UPDATE anagrafica SET telefono = '02 2222222' WHERE cognome = 'Rossi'"));
    const Esito conflitto = sincronizza(argomenti);
    QCOMPARE(conflitto.stato, 3);
    QVERIFY2(conflitto.uscita.contains(QStringLiteral("qui «Rossi Mario», sul server «Rossi Mario»")),
             qPrintable(conflitto.uscita));
    QCOMPARE(store.rows(QStringLiteral("SELECT telefono FROM anagrafica WHERE cognome = 'Rossi'"))[0][0].toString(),
             QStringLiteral("02 2222222"));

    // A server that is not there: status 1, and why.
    server.kill();
    const Esito via = sincronizza(argomenti);
    QCOMPARE(via.stato, 1);
    QVERIFY2(via.uscita.contains(QStringLiteral("non risponde")), qPrintable(via.uscita));
}

QTEST_GUILESS_MAIN(TestSincronizzaStrumento)
#include "tst_sincronizza.moc"
