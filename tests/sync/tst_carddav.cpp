// A CardDAV server spoken to: address books found and made, cards written, listed, fetched
// and deleted without ever overwriting a change made meanwhile, what changed since a sync
// told, and every failure (password, server away, certificate) said in Italian. Against a
// real Radicale started by the test.
#include "radicale.h"
#include "store/storeerror.h"
#include "sync/carddav.h"
#include "telefono.h"

#include <QFile>
#include <QTest>

using namespace brenzola;

namespace {

CardDavClient::Settings settings(const Radicale& server, const QString& password = QLatin1String(Radicale::kPassword))
{
    CardDavClient::Settings s;
    s.server = server.url();
    s.user = QLatin1String(Radicale::kUser);
    s.password = password;
    s.timeoutMs = 5000;
    return s;
}

QByteArray card(const QByteArray& uid, const QByteArray& name)
{
    return "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:" + uid + "\r\nN:" + name + ";;;;\r\nFN:" + name + "\r\nEND:VCARD\r\n";
}

// The failure a call ends in: its number and text.
std::pair<int, QString> failure(const std::function<void()>& call)
{
    try {
        call();
    } catch (const StoreError& e) {
        return {e.number(), e.description()};
    }
    return {0, {}};
}

}  // namespace

class TestCardDav : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void addressBooksAreFoundFromTheServersAddress();
    void aCardChangedMeanwhileIsNeverOverwritten();
    void whatAPhoneChangesIsSeen();
    void failuresAreSaidWithTheirCause();
    void certificatesAreChecked();
};

void TestCardDav::addressBooksAreFoundFromTheServersAddress()
{
    Radicale server;
    CardDavClient client(settings(server));
    QVERIFY(client.addressBooks().empty());
    const CardDavClient::AddressBook made = client.createAddressBook(QStringLiteral("Clienti & fornitori"));
    QCOMPARE(made.name, QStringLiteral("Clienti & fornitori"));
    QVERIFY(!made.syncToken.isEmpty());
    client.createAddressBook(QStringLiteral("Famiglia"));
    QStringList names;
    for (const auto& book : client.addressBooks()) names << book.name;
    names.sort();
    QCOMPARE(names, (QStringList{"Clienti & fornitori", "Famiglia"}));
    // The address book's own address finds that one only.
    auto only = settings(server);
    only.server = made.url;
    const auto found = CardDavClient(only).addressBooks();
    QCOMPARE(found.size(), size_t(1));
    QCOMPARE(found[0].name, made.name);
}

void TestCardDav::aCardChangedMeanwhileIsNeverOverwritten()
{
    Radicale server;
    CardDavClient client(settings(server));
    const QUrl book = client.createAddressBook(QStringLiteral("Ufficio")).url;
    const CardDavClient::Changes empty = client.changesSince(book, {});
    QVERIFY(empty.changed.empty());

    const QUrl rossi = book.resolved(QUrl(QStringLiteral("rossi.vcf")));
    const std::optional<QString> first = client.put(rossi, card("u-rossi", "Rossi"), {});
    QVERIFY(first && !first->isEmpty());
    QVERIFY(!client.put(rossi, card("u-rossi", "Rossi bis"), {}));  // a new card where one is: refused
    const CardDavClient::Changes added = client.changesSince(book, empty.syncToken);
    QCOMPARE(added.changed.size(), size_t(1));
    QCOMPARE(added.changed[0].url.path(), rossi.path());
    QCOMPARE(added.changed[0].etag, *first);
    QVERIFY(client.changesSince(book, added.syncToken).changed.empty());

    // Changed by another client: our write over the old version is refused, as is our delete.
    const std::optional<QString> second = client.put(rossi, card("u-rossi", "Rossi Mario"), *first);
    QVERIFY(second && *second != *first);
    QVERIFY(!client.put(rossi, card("u-rossi", "Rossi vecchio"), *first));
    QVERIFY(!client.remove(rossi, *first));
    const auto fetched = client.fetch(book, {rossi, book.resolved(QUrl(QStringLiteral("nessuno.vcf")))});
    QCOMPARE(fetched.size(), size_t(1));
    QVERIFY(fetched[0].vcard.contains("Rossi Mario"));
    QCOMPARE(fetched[0].etag, *second);
    QCOMPARE(client.list(book).size(), size_t(1));

    QVERIFY(client.remove(rossi, *second));
    QVERIFY(client.remove(rossi, *second));  // already gone is gone
    const CardDavClient::Changes removed = client.changesSince(book, added.syncToken);
    QVERIFY(removed.changed.empty());
    QCOMPARE(removed.removed.size(), size_t(1));
    QCOMPARE(removed.removed[0].path(), rossi.path());
    QVERIFY(client.changesSince(book, QStringLiteral("http://radicale.org/ns/sync/inventato")).tokenRefused);
}

void TestCardDav::whatAPhoneChangesIsSeen()
{
    Radicale server;
    CardDavClient client(settings(server));
    const CardDavClient::AddressBook book = client.createAddressBook(QStringLiteral("Ufficio"));
    const QUrl rossi = book.url.resolved(QUrl(QStringLiteral("rossi.vcf")));
    QVERIFY(client.put(rossi, card("u-rossi", "Rossi"), {}));
    const QString token = client.changesSince(book.url, {}).syncToken;

    // The phone gets the card, changes it, adds one of its own.
    Telefono telefono(book.url, QLatin1String(Radicale::kUser), QLatin1String(Radicale::kPassword));
    QVERIFY(telefono.sincronizza());
    const QMap<QString, QByteArray> ricevute = telefono.schede();
    QCOMPARE(ricevute.size(), 1);
    QVERIFY(ricevute.first().contains("UID:u-rossi"));
    QFile cambiata(telefono.cartella().filePath(ricevute.firstKey()));
    QVERIFY(cambiata.open(QIODevice::WriteOnly));
    cambiata.write(QByteArray(ricevute.first()).replace("FN:Rossi", "FN:Rossi Mario").replace("N:Rossi;", "N:Rossi;Mario"));
    cambiata.close();
    QFile nuova(telefono.cartella().filePath(QStringLiteral("verdi.vcf")));
    QVERIFY(nuova.open(QIODevice::WriteOnly));
    nuova.write(card("u-verdi", "Verdi"));
    nuova.close();
    QVERIFY(telefono.sincronizza());

    const CardDavClient::Changes changes = client.changesSince(book.url, token);
    QCOMPARE(changes.changed.size(), size_t(2));
    std::vector<QUrl> urls;
    for (const auto& c : changes.changed) urls.push_back(c.url);
    QStringList letti;
    for (const auto& c : client.fetch(book.url, urls)) letti << QString::fromUtf8(c.vcard);
    letti.sort();
    QCOMPARE(letti.size(), 2);
    QVERIFY2(letti[0].contains(QStringLiteral("FN:Rossi Mario")) && letti[1].contains(QStringLiteral("UID:u-verdi")),
             qPrintable(letti.join(u'|')));

    // Deleted on the phone: gone from the server.
    QVERIFY(telefono.cartella().remove(ricevute.firstKey()));
    QVERIFY(telefono.sincronizza());
    const CardDavClient::Changes removed = client.changesSince(book.url, changes.syncToken);
    QCOMPARE(removed.removed.size(), size_t(1));
    QCOMPARE(removed.removed[0].path(), rossi.path());
}

void TestCardDav::failuresAreSaidWithTheirCause()
{
    Radicale server;
    const auto [number, text] = failure([&] { CardDavClient(settings(server, QStringLiteral("sbagliata"))).addressBooks(); });
    QCOMPARE(number, StoreErrorNumber::ServerPassword);
    QVERIFY2(text.contains(QStringLiteral("non ha accettato l'utente «anna»")), qPrintable(text));
    server.kill();
    const auto [away, why] = failure([&] { CardDavClient(settings(server)).addressBooks(); });
    QCOMPARE(away, StoreErrorNumber::ServerConnection);
    QVERIFY2(why.startsWith(QStringLiteral("Il server %1 non risponde").arg(server.url().toDisplayString())), qPrintable(why));
}

void TestCardDav::certificatesAreChecked()
{
    Radicale server(Radicale::Tls::Yes);
    auto trusted = settings(server);
    trusted.authorities = {server.certificate()};
    QVERIFY(CardDavClient(trusted).addressBooks().empty());

    const auto [unknown, unknownWhy] = failure([&] { CardDavClient(settings(server)).addressBooks(); });
    QCOMPARE(unknown, StoreErrorNumber::ServerConnection);
    QVERIFY2(unknownWhy.contains(QStringLiteral("non viene da un'autorità riconosciuta")), qPrintable(unknownWhy));

    // The right authority, but the certificate names another host.
    trusted.server = QUrl(QStringLiteral("https://127.0.0.1:%1/").arg(server.port()));
    const auto [other, otherWhy] = failure([&] { CardDavClient(trusted).addressBooks(); });
    QCOMPARE(other, StoreErrorNumber::ServerConnection);
    QVERIFY2(otherWhy.contains(QStringLiteral("è intestato a un altro nome (localhost)")), qPrintable(otherWhy));
}

QTEST_GUILESS_MAIN(TestCardDav)
#include "tst_carddav.moc"
