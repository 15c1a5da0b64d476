#pragma once

#include <QByteArray>
#include <QList>
#include <QSslCertificate>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <memory>
#include <optional>
#include <vector>

class QNetworkAccessManager;

namespace brenzola {

// A CardDAV server spoken to as an address book's owner (RFC 6352, with WebDAV sync,
// RFC 6578, and discovery, RFC 6764). Each call waits for its answer; a failure (the
// server away, a certificate refused, the password not accepted, an answer that is not
// WebDAV) is a StoreError in Italian with its number. A write refused because the card
// changed on the server meanwhile is not a failure: the call says so.
class CardDavClient {
public:
    struct Settings {
        QUrl server;  // any address on it: the address book's, the principal's or just the host
        QString user;
        QString password;
        // Authorities trusted besides the system's (an office's own, a test's).
        QList<QSslCertificate> authorities;
        int timeoutMs = 30'000;
    };
    struct AddressBook {
        QUrl url;
        QString name;       // the displayname, else the last part of the path
        QString syncToken;  // empty when the server has none: ETags are compared instead
    };
    struct CardRef {
        QUrl url;
        QString etag;
    };
    struct Card {
        QUrl url;
        QString etag;
        QByteArray vcard;
    };
    struct Changes {
        std::vector<CardRef> changed;  // added or changed since the token
        std::vector<QUrl> removed;
        QString syncToken;          // where the next sync starts
        bool tokenRefused = false;  // the server forgot the token: list everything instead
    };

    explicit CardDavClient(Settings settings);
    ~CardDavClient();
    CardDavClient(const CardDavClient&) = delete;
    CardDavClient& operator=(const CardDavClient&) = delete;

    // The user's address books, found from the server's address.
    std::vector<AddressBook> addressBooks();
    // A new address book named `name` beside the user's others.
    AddressBook createAddressBook(const QString& name);
    // Every card of the address book, with its ETag (its contents not read).
    std::vector<CardRef> list(const QUrl& book);
    // What changed since `token` (empty: everything there is).
    Changes changesSince(const QUrl& book, const QString& token);
    // The cards asked for, as they are now; those gone meanwhile are left out.
    std::vector<Card> fetch(const QUrl& book, const std::vector<QUrl>& cards);
    // Writes a card: a new one (`etag` empty: refused if one is already there) or over the
    // version with that ETag. The new ETag when the server says it (empty when it does
    // not); nothing when the card on the server is not what `etag` says.
    std::optional<QString> put(const QUrl& card, const QByteArray& vcard, const QString& etag);
    // Deletes the card if it is still the version with that ETag: false when it changed.
    // A card already gone is deleted.
    bool remove(const QUrl& card, const QString& etag);

    // What went over the wire so far: requests sent, and cards sent or received whole.
    qint64 requests() const { return requests_; }
    qint64 cardsTransferred() const { return cardsTransferred_; }

    struct Reply;

private:
    Reply request(const QByteArray& method, QUrl url, const QByteArray& body, const QList<QByteArray>& headers);
    Reply propfind(const QUrl& url, int depth, const QByteArray& props);
    QUrl homeSet();

    Settings settings_;
    std::unique_ptr<QNetworkAccessManager> network_;
    qint64 requests_ = 0;
    qint64 cardsTransferred_ = 0;
};

}  // namespace brenzola
