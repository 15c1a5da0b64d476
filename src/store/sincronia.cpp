#include "store/sincronia.h"

#include "store/connection.h"
#include "store/recordset.h"
#include "store/sqlerror.h"

namespace brenzola {
namespace {

bool esiste(Connection& connection) { return connection.schema(QStringLiteral("Sincronia")).exists(); }

}  // namespace

StatoSincronia::StatoSincronia(Connection& connection) : connection_(connection)
{
    if (!esiste(connection)) return;
    connection.readRows(QStringLiteral("Select rubrica, token from Sincronia"), [this](const RowView& riga) {
        rubrica_ = riga.text(0).toString();
        token_ = riga.isNull(1) ? QString() : riga.text(1).toString();
    });
    connection.readRows(
        QStringLiteral("Select id, href, etag, firma from Sincronia_Schede order by id"), [this](const RowView& riga) {
            schede_.push_back({riga.integer(0), riga.text(1).toString(), riga.text(2).toString(), riga.text(3).toString()});
        });
}

void StatoSincronia::salva(const QString& rubrica, const QString& token, const std::vector<Scheda>& schede)
{
    const QSqlDatabase db = connection_.database();
    if (!esiste(connection_)) {
        runStatement(db, QStringLiteral("CREATE TABLE Sincronia (uno integer PRIMARY KEY CHECK (uno = 1), rubrica text NOT "
                                        "NULL, token text)"));
        runStatement(db, QStringLiteral("CREATE TABLE Sincronia_Schede (id bigint PRIMARY KEY, href text NOT NULL UNIQUE, "
                                        "etag text NOT NULL, firma text NOT NULL)"));
    }
    runStatement(db, QStringLiteral("DELETE FROM Sincronia"));
    runStatement(db, QStringLiteral("INSERT INTO Sincronia (uno, rubrica, token) VALUES (1, ?, ?)"),
                 {rubrica, token.isEmpty() ? QVariant() : QVariant(token)});
    runStatement(db, QStringLiteral("DELETE FROM Sincronia_Schede"));
    BulkInsert righe(&connection_, QStringLiteral("Sincronia_Schede"),
                     {QStringLiteral("id"), QStringLiteral("href"), QStringLiteral("etag"), QStringLiteral("firma")},
                     BulkInsert::Announce::No);
    for (const Scheda& s : schede) righe.Add({s.id, s.href, s.etag, s.firma});
    righe.Flush();
    rubrica_ = rubrica;
    token_ = token;
    schede_ = schede;
}

void StatoSincronia::ricorda(const Scheda& scheda)
{
    runStatement(connection_.database(), QStringLiteral("DELETE FROM Sincronia_Schede WHERE href = ? OR id = ?"),
                 {scheda.href, scheda.id});
    runStatement(connection_.database(),
                 QStringLiteral("INSERT INTO Sincronia_Schede (id, href, etag, firma) VALUES (?, ?, ?, ?)"),
                 {scheda.id, scheda.href, scheda.etag, scheda.firma});
}

void StatoSincronia::dimentica(const QString& href)
{
    runStatement(connection_.database(), QStringLiteral("DELETE FROM Sincronia_Schede WHERE href = ?"), {href});
}

}  // namespace brenzola
