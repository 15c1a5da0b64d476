#include "store/identita.h"

#include "store/archivio.h"
#include "store/sqlerror.h"

#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>

namespace brenzola {
namespace {

constexpr char kUrn[] = "urn:uuid:";
// The register's UUID up to its last group; the contact's key fills that group (48 bits).
constexpr qsizetype kPrefisso = 24;

}  // namespace

QString NuovoUuid() { return QUuid::createUuid().toString(QUuid::WithoutBraces); }

void PreparaIdentita(const QSqlDatabase& db, Engine engine)
{
    const bool server = engine == Engine::PostgreSQL;
    if (!db.record(server ? QStringLiteral("anagrafica") : QStringLiteral("Anagrafica")).contains(QStringLiteral("uid")))
        runStatement(db, server ? QStringLiteral("ALTER TABLE anagrafica ADD COLUMN uid text")
                                : QStringLiteral("ALTER TABLE Anagrafica ADD COLUMN Uid TEXT"));
    // Another address book's UID finds its contact at once.
    runStatement(db, QStringLiteral("CREATE INDEX IF NOT EXISTS identita ON Anagrafica (Uid)"));
    if (db.record(server ? QStringLiteral("identita_registro") : QStringLiteral("Identita_Registro")).isEmpty()) {
        runStatement(
            db, QStringLiteral("CREATE TABLE Identita_Registro (uno integer PRIMARY KEY CHECK (uno = 1), uuid text NOT NULL)"));
        runStatement(db, QStringLiteral("INSERT INTO Identita_Registro (uno, uuid) VALUES (1, ?)"), {NuovoUuid()});
    }
    if (server) {
        QSqlQuery ruolo =
            runStatement(db, QStringLiteral("SELECT 1 FROM pg_roles WHERE rolname = ?"), {QLatin1String(kRuoloUtenti)});
        if (nextRow(ruolo))
            runStatement(db, QStringLiteral("GRANT SELECT ON identita_registro TO %1").arg(QLatin1String(kRuoloUtenti)));
    }
}

bool HaIdentita(Connection& connection)
{
    return !connection.schema(QStringLiteral("Anagrafica")).declaredName(QStringLiteral("uid")).isEmpty();
}

QString UidContatto(const QString& registro, qint64 id, const QVariant& memorizzato)
{
    if (!memorizzato.isNull() && !memorizzato.toString().isEmpty()) return memorizzato.toString();
    if (registro.size() < kPrefisso || id <= 0 || id >= (qint64(1) << 48)) return {};
    return QLatin1String(kUrn) + registro.left(kPrefisso) + QStringLiteral("%1").arg(id, 12, 16, QLatin1Char('0'));
}

std::optional<qint64> IdDaUid(const QString& registro, const QString& uid)
{
    if (registro.size() < kPrefisso) return std::nullopt;
    const QString uuid = uid.startsWith(QLatin1String(kUrn), Qt::CaseInsensitive) ? uid.mid(qsizetype(sizeof kUrn) - 1) : uid;
    if (uuid.size() != kPrefisso + 12 || uuid.left(kPrefisso).compare(registro.left(kPrefisso), Qt::CaseInsensitive) != 0)
        return std::nullopt;
    bool ok = false;
    const qint64 id = uuid.mid(kPrefisso).toLongLong(&ok, 16);
    return ok && id > 0 ? std::optional<qint64>(id) : std::nullopt;
}

}  // namespace brenzola
