#include "sync/carddav.h"

#include "store/funzioni.h"
#include "store/storeerror.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QHash>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslConfiguration>
#include <QSslError>
#include <QUuid>
#include <QXmlStreamReader>

namespace brenzola {

struct CardDavClient::Reply {
    int status = 0;
    QUrl url;  // the one that answered, after any redirection
    QByteArray body;
    QString etag;
};

namespace {

constexpr char16_t kDav[] = u"DAV:";
constexpr char16_t kCardDav[] = u"urn:ietf:params:xml:ns:carddav";
constexpr int kMultistatus = 207;
constexpr int kPrecondition = 412;
constexpr int kCardsPerFetch = 100;

// The context of this file's texts, in a form lupdate reads.
struct CardDav {
    Q_DECLARE_TR_FUNCTIONS(brenzola::CardDav)
};

QString where(const QUrl& url) { return url.toDisplayString(QUrl::RemoveUserInfo | QUrl::RemoveQuery | QUrl::RemoveFragment); }

StoreError serverAnswered(const QUrl& url, int status, const QByteArray& method)
{
    return StoreError(StoreErrorNumber::ServerCall,
                      CardDav::tr("Il server %1 ha risposto %2 alla richiesta %3: l'operazione non è stata fatta. Controllare "
                                  "l'indirizzo della rubrica e i permessi dell'utente sul server.")
                          .arg(where(url))
                          .arg(status)
                          .arg(QString::fromLatin1(method)));
}

// A certificate refused, said as the user can act on it.
StoreError certificateRefused(const QUrl& url, const QList<QSslError>& errors)
{
    QString why = CardDav::tr("il suo certificato non viene da un'autorità riconosciuta");
    for (const QSslError& e : errors) {
        if (e.error() == QSslError::CertificateExpired || e.error() == QSslError::CertificateNotYetValid) {
            why = CardDav::tr("il suo certificato è scaduto o non è ancora valido (valido dal %1 al %2)")
                      .arg(e.certificate().effectiveDate().date().toString(Funzioni::FormatoDataMostrata()),
                           e.certificate().expiryDate().date().toString(Funzioni::FormatoDataMostrata()));
            break;
        }
        if (e.error() == QSslError::HostNameMismatch) {
            QStringList nomi = e.certificate().subjectAlternativeNames().values(QSsl::DnsEntry);
            if (nomi.isEmpty()) nomi = e.certificate().subjectInfo(QSslCertificate::CommonName);
            why = CardDav::tr("il suo certificato è intestato a un altro nome (%1)").arg(nomi.join(QStringLiteral(", ")));
            break;
        }
    }
    return StoreError(StoreErrorNumber::ServerConnection,
                      CardDav::tr("Il server %1 non è stato accettato: %2. Nessun dato è stato mandato. Controllare l'indirizzo, "
                                  "o chiedere a chi gestisce il server.")
                          .arg(where(url), why));
}

StoreError unreachable(const QUrl& url, const QString& detail)
{
    return StoreError(StoreErrorNumber::ServerConnection,
                      CardDav::tr("Il server %1 non risponde (%2). Controllare l'indirizzo e la rete; si riproverà più tardi.")
                          .arg(where(url), detail));
}

// "HTTP/1.1 404 Not Found" -> 404
int statusOf(const QString& line)
{
    const QStringList parts = line.simplified().split(u' ');
    return parts.size() >= 2 ? parts[1].toInt() : 0;
}

// One <response> of a multistatus answer.
struct Member {
    struct Property {
        int status = 200;
        QString text;
        QStringList children;  // "{namespace}name" of each child element
        QStringList hrefs;     // the text of child <href>s
    };
    QString href;
    int status = 0;  // of the response as a whole (a member removed, a listing cut short), else 0
    QHash<QString, Property> properties;

    const Property* property(const char16_t* ns, const char* name) const
    {
        const auto found = properties.constFind(u'{' + QString::fromUtf16(ns) + u'}' + QLatin1String(name));
        return found == properties.cend() || found->status != 200 ? nullptr : &*found;
    }
    bool isAddressBook() const
    {
        const Property* type = property(kDav, "resourcetype");
        return type && type->children.contains(u'{' + QString::fromUtf16(kCardDav) + QStringLiteral("}addressbook"));
    }
    bool isCollection() const
    {
        const Property* type = property(kDav, "resourcetype");
        return type && type->children.contains(QStringLiteral("{DAV:}collection"));
    }
};

struct Multistatus {
    std::vector<Member> members;
    QString syncToken;
};

bool is(const QXmlStreamReader& r, const char16_t* ns, const char* name)
{
    return r.namespaceUri() == QStringView(ns) && r.name() == QLatin1String(name);
}

QString keyOf(const QXmlStreamReader& r) { return u'{' + r.namespaceUri().toString() + u'}' + r.name().toString(); }

std::pair<QString, Member::Property> readProperty(QXmlStreamReader& r)
{
    const QString key = keyOf(r);
    Member::Property p;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isCharacters()) {
            p.text += r.text();
        } else if (r.isStartElement()) {
            p.children << keyOf(r);
            if (is(r, kDav, "href"))
                p.hrefs << r.readElementText().trimmed();
            else
                r.skipCurrentElement();
        } else if (r.isEndElement()) {
            break;
        }
    }
    return {key, p};
}

void readPropstat(QXmlStreamReader& r, Member& member)
{
    std::vector<std::pair<QString, Member::Property>> found;
    int status = 200;
    while (r.readNextStartElement()) {
        if (is(r, kDav, "prop")) {
            while (r.readNextStartElement()) found.push_back(readProperty(r));
        } else if (is(r, kDav, "status")) {
            status = statusOf(r.readElementText());
        } else {
            r.skipCurrentElement();
        }
    }
    for (auto& [key, property] : found) {
        property.status = status;
        member.properties.insert(key, property);
    }
}

Member readResponse(QXmlStreamReader& r)
{
    Member member;
    while (r.readNextStartElement()) {
        if (is(r, kDav, "href"))
            member.href = r.readElementText().trimmed();
        else if (is(r, kDav, "status"))
            member.status = statusOf(r.readElementText());
        else if (is(r, kDav, "propstat"))
            readPropstat(r, member);
        else
            r.skipCurrentElement();
    }
    return member;
}

Multistatus parse(const QByteArray& xml, const QUrl& url)
{
    QXmlStreamReader r(xml);
    Multistatus answer;
    const bool multistatus = r.readNextStartElement() && is(r, kDav, "multistatus");
    if (multistatus) {
        while (r.readNextStartElement()) {
            if (is(r, kDav, "response"))
                answer.members.push_back(readResponse(r));
            else if (is(r, kDav, "sync-token"))
                answer.syncToken = r.readElementText().trimmed();
            else
                r.skipCurrentElement();
        }
    }
    if (!multistatus || r.hasError())
        throw StoreError(
            StoreErrorNumber::ServerCall,
            CardDav::tr("Il server %1 ha dato una risposta che non è WebDAV (%2): non è un server CardDAV, o l'indirizzo "
                        "non è quello della rubrica.")
                .arg(where(url), r.errorString()));
    return answer;
}

// The same resource, however its path is written.
bool same(const QUrl& a, const QUrl& b)
{
    const auto normal = [](const QUrl& u) {
        return u.adjusted(QUrl::StripTrailingSlash | QUrl::NormalizePathSegments).path(QUrl::FullyDecoded);
    };
    return a.host() == b.host() && a.port() == b.port() && normal(a) == normal(b);
}

QByteArray xmlText(const QString& text) { return text.toHtmlEscaped().toUtf8(); }

}  // namespace

CardDavClient::CardDavClient(Settings settings)
    : settings_(std::move(settings)),
      network_(std::make_unique<QNetworkAccessManager>())
{
}

CardDavClient::~CardDavClient() = default;

CardDavClient::Reply CardDavClient::request(const QByteArray& method, QUrl url, const QByteArray& body,
                                            const QList<QByteArray>& headers)
{
    constexpr int kRedirections = 5;
    for (int redirected = 0;; ++redirected) {
        QNetworkRequest asked(url);
        // Followed here, with the same method and body: Qt would turn a PROPFIND into a GET.
        asked.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
        asked.setTransferTimeout(settings_.timeoutMs);
        asked.setRawHeader("Authorization", "Basic " + (settings_.user + u':' + settings_.password).toUtf8().toBase64());
        asked.setRawHeader("User-Agent", "Brenzola");
        for (const QByteArray& header : headers) {
            const qsizetype colon = header.indexOf(':');
            asked.setRawHeader(header.left(colon), header.mid(colon + 1).trimmed());
        }
        if (!settings_.authorities.isEmpty()) {
            QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
            tls.addCaCertificates(settings_.authorities);
            asked.setSslConfiguration(tls);
        }
        QNetworkReply* sent = network_->sendCustomRequest(asked, method, body);
        ++requests_;
        const std::unique_ptr<QNetworkReply> reply(sent);
        QList<QSslError> tlsErrors;
        QObject::connect(sent, &QNetworkReply::sslErrors, sent, [&tlsErrors](const QList<QSslError>& e) { tlsErrors = e; });
        QEventLoop waiting;
        QObject::connect(sent, &QNetworkReply::finished, &waiting, &QEventLoop::quit);
        if (!sent->isFinished()) waiting.exec(QEventLoop::ExcludeUserInputEvents);

        const int status = sent->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (!tlsErrors.isEmpty()) throw certificateRefused(url, tlsErrors);
        if (status == 0) {
            const QString detail = sent->error() == QNetworkReply::OperationCanceledError
                                       ? CardDav::tr("nessuna risposta in %1 secondi").arg(settings_.timeoutMs / 1000)
                                       : sent->errorString();
            throw unreachable(url, detail);
        }
        if (status == 401)
            throw StoreError(StoreErrorNumber::ServerPassword,
                             CardDav::tr("Il server %1 non ha accettato l'utente «%2» con la password data. Controllare utente e "
                                         "password.")
                                 .arg(where(url), settings_.user));
        const QUrl location = sent->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl();
        if (status >= 300 && status < 400 && location.isValid() && redirected < kRedirections) {
            url = url.resolved(location);
            continue;
        }
        QString etag = QString::fromLatin1(sent->rawHeader("ETag"));
        return {status, url, sent->readAll(), etag};
    }
}

CardDavClient::Reply CardDavClient::propfind(const QUrl& url, int depth, const QByteArray& props)
{
    const QByteArray body = R"(<?xml version="1.0" encoding="utf-8"?><d:propfind xmlns:d="DAV:" )"
                            R"(xmlns:c="urn:ietf:params:xml:ns:carddav"><d:prop>)"
                            + props + "</d:prop></d:propfind>";
    return request("PROPFIND", url, body,
                   {"Depth: " + QByteArray::number(depth), "Content-Type: application/xml; charset=utf-8"});
}

QUrl CardDavClient::homeSet()
{
    // The address given may be the principal's or the host's; the host points on (RFC 6764).
    QUrl principal;
    for (const QUrl& asked : {settings_.server, settings_.server.resolved(QUrl(QStringLiteral("/.well-known/carddav")))}) {
        const Reply reply = propfind(asked, 0, "<d:current-user-principal/>");
        if (reply.status != kMultistatus) continue;
        for (const Member& m : parse(reply.body, reply.url).members)
            if (const auto* p = m.property(kDav, "current-user-principal"); p && !p->hrefs.isEmpty())
                principal = reply.url.resolved(QUrl(p->hrefs.front()));
        if (principal.isValid()) break;
    }
    if (!principal.isValid())
        throw StoreError(StoreErrorNumber::ServerCall,
                         CardDav::tr("Il server %1 non dice dove sono le rubriche dell'utente: non è un server CardDAV, o serve "
                                     "l'indirizzo completo della rubrica.")
                             .arg(where(settings_.server)));
    const Reply reply = propfind(principal, 0, "<c:addressbook-home-set/>");
    if (reply.status != kMultistatus) throw serverAnswered(principal, reply.status, "PROPFIND");
    for (const Member& m : parse(reply.body, reply.url).members)
        if (const auto* p = m.property(kCardDav, "addressbook-home-set"); p && !p->hrefs.isEmpty())
            return reply.url.resolved(QUrl(p->hrefs.front()));
    throw StoreError(StoreErrorNumber::ServerCall,
                     CardDav::tr("Il server %1 non ha rubriche per l'utente «%2».").arg(where(principal), settings_.user));
}

namespace {

constexpr QByteArrayView kBookProperties = "<d:resourcetype/><d:displayname/><d:sync-token/>";

// The address books among the members of an answer.
std::vector<CardDavClient::AddressBook> booksIn(const QUrl& answered, const QByteArray& body)
{
    std::vector<CardDavClient::AddressBook> found;
    for (const Member& m : parse(body, answered).members) {
        if (!m.isAddressBook()) continue;
        CardDavClient::AddressBook book{answered.resolved(QUrl(m.href)), {}, {}};
        if (const auto* name = m.property(kDav, "displayname")) book.name = name->text.trimmed();
        if (book.name.isEmpty()) book.name = book.url.adjusted(QUrl::StripTrailingSlash).fileName();
        if (const auto* token = m.property(kDav, "sync-token")) book.syncToken = token->text.trimmed();
        found.push_back(book);
    }
    return found;
}

}  // namespace

std::vector<CardDavClient::AddressBook> CardDavClient::addressBooks()
{
    // The address of an address book is that address book.
    if (const Reply itself = propfind(settings_.server, 0, kBookProperties.toByteArray()); itself.status == kMultistatus)
        if (std::vector<AddressBook> one = booksIn(itself.url, itself.body); !one.empty()) return one;
    const QUrl home = homeSet();
    const Reply reply = propfind(home, 1, kBookProperties.toByteArray());
    if (reply.status != kMultistatus) throw serverAnswered(home, reply.status, "PROPFIND");
    return booksIn(reply.url, reply.body);
}

CardDavClient::AddressBook CardDavClient::createAddressBook(const QString& name)
{
    const QUrl book = homeSet().resolved(QUrl(QUuid::createUuid().toString(QUuid::WithoutBraces) + u'/'));
    const QByteArray body = R"(<?xml version="1.0" encoding="utf-8"?><d:mkcol xmlns:d="DAV:" )"
                            R"(xmlns:c="urn:ietf:params:xml:ns:carddav"><d:set><d:prop><d:resourcetype><d:collection/>)"
                            R"(<c:addressbook/></d:resourcetype><d:displayname>)"
                            + xmlText(name) + "</d:displayname></d:prop></d:set></d:mkcol>";
    const Reply made = request("MKCOL", book, body, {"Content-Type: application/xml; charset=utf-8"});
    if (made.status != 201) throw serverAnswered(book, made.status, "MKCOL");
    const Reply reply = propfind(book, 0, kBookProperties.toByteArray());
    if (reply.status == kMultistatus)
        for (const AddressBook& b : booksIn(reply.url, reply.body)) return b;
    return {book, name, {}};
}

std::vector<CardDavClient::CardRef> CardDavClient::list(const QUrl& book)
{
    const Reply reply = propfind(book, 1, "<d:resourcetype/><d:getetag/>");
    if (reply.status != kMultistatus) throw serverAnswered(book, reply.status, "PROPFIND");
    std::vector<CardRef> cards;
    for (const Member& m : parse(reply.body, reply.url).members) {
        const QUrl url = reply.url.resolved(QUrl(m.href));
        const auto* etag = m.property(kDav, "getetag");
        if (etag && !m.isCollection() && !same(url, book)) cards.push_back({url, etag->text.trimmed()});
    }
    return cards;
}

CardDavClient::Changes CardDavClient::changesSince(const QUrl& book, const QString& token)
{
    Changes changes;
    changes.syncToken = token;
    // A server may cut a long answer short (507 on the collection): ask again from where it stopped.
    for (bool more = true; more;) {
        more = false;
        const QByteArray body = R"(<?xml version="1.0" encoding="utf-8"?><d:sync-collection xmlns:d="DAV:"><d:sync-token>)"
                                + xmlText(changes.syncToken)
                                + "</d:sync-token><d:sync-level>1</d:sync-level><d:prop><d:getetag/></d:prop>"
                                  "</d:sync-collection>";
        const Reply reply = request("REPORT", book, body, {"Depth: 0", "Content-Type: application/xml; charset=utf-8"});
        if (!token.isEmpty() && (reply.status == 403 || reply.status == 409 || reply.status == 400)) {
            changes.tokenRefused = true;  // valid-sync-token failed: the server forgot it
            return changes;
        }
        if (reply.status != kMultistatus) throw serverAnswered(book, reply.status, "REPORT sync-collection");
        const Multistatus answer = parse(reply.body, reply.url);
        for (const Member& m : answer.members) {
            const QUrl url = reply.url.resolved(QUrl(m.href));
            if (same(url, book)) {
                more = m.status == 507;
                continue;
            }
            if (m.status == 404) {
                changes.removed.push_back(url);
            } else if (const auto* etag = m.property(kDav, "getetag"); etag && !m.isCollection()) {
                changes.changed.push_back({url, etag->text.trimmed()});
            }
        }
        if (more && answer.syncToken == changes.syncToken) more = false;  // no progress: take what came
        changes.syncToken = answer.syncToken;
    }
    return changes;
}

std::vector<CardDavClient::Card> CardDavClient::fetch(const QUrl& book, const std::vector<QUrl>& cards)
{
    std::vector<Card> fetched;
    for (size_t from = 0; from < cards.size(); from += kCardsPerFetch) {
        QByteArray body = R"(<?xml version="1.0" encoding="utf-8"?><c:addressbook-multiget xmlns:d="DAV:" )"
                          R"(xmlns:c="urn:ietf:params:xml:ns:carddav"><d:prop><d:getetag/><c:address-data/></d:prop>)";
        for (size_t i = from; i < std::min(cards.size(), from + kCardsPerFetch); ++i)
            body += "<d:href>" + xmlText(cards[i].path(QUrl::FullyEncoded)) + "</d:href>";
        body += "</c:addressbook-multiget>";
        const Reply reply = request("REPORT", book, body, {"Depth: 1", "Content-Type: application/xml; charset=utf-8"});
        if (reply.status != kMultistatus) throw serverAnswered(book, reply.status, "REPORT addressbook-multiget");
        for (const Member& m : parse(reply.body, reply.url).members) {
            const auto* etag = m.property(kDav, "getetag");
            const auto* data = m.property(kCardDav, "address-data");
            if (etag && data) fetched.push_back({reply.url.resolved(QUrl(m.href)), etag->text.trimmed(), data->text.toUtf8()});
        }
    }
    cardsTransferred_ += qint64(fetched.size());
    return fetched;
}

std::optional<QString> CardDavClient::put(const QUrl& card, const QByteArray& vcard, const QString& etag)
{
    const QByteArray condition = etag.isEmpty() ? QByteArray("If-None-Match: *") : "If-Match: " + etag.toLatin1();
    const Reply reply = request("PUT", card, vcard, {"Content-Type: text/vcard; charset=utf-8", condition});
    ++cardsTransferred_;
    if (reply.status == kPrecondition) return std::nullopt;
    if (reply.status != 200 && reply.status != 201 && reply.status != 204) throw serverAnswered(card, reply.status, "PUT");
    return reply.etag;
}

bool CardDavClient::remove(const QUrl& card, const QString& etag)
{
    const Reply reply = request("DELETE", card, {}, {"If-Match: " + etag.toLatin1()});
    if (reply.status == kPrecondition) return false;
    if (reply.status != 200 && reply.status != 204 && reply.status != 404) throw serverAnswered(card, reply.status, "DELETE");
    return true;
}

}  // namespace brenzola
