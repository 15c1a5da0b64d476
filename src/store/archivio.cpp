#include "archivio.h"

#include "sqlerror.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <optional>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace brenzola {

namespace {

// Text columns accept the empty text and dates accept Null. Dates are ISO text
// (yyyy-mm-dd), so they compare and sort correctly as plain text; the declared
// type DATE tells the program which columns hold them.
constexpr char kCreateTable[] = R"(CREATE TABLE Anagrafica (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    Cognome TEXT,
    Nome TEXT,
    DataIn DATE,
    TipoRef TEXT,
    Prov TEXT,
    Citta TEXT,
    Indirizzo TEXT,
    Cap TEXT,
    Email TEXT,
    Telefono TEXT,
    Cell TEXT,
    DataNasc DATE,
    Fonte TEXT,
    DataRicont DATE,
    Commenti TEXT
))";

}  // namespace

void CreaArchivio(const QString& path)
{
    // Made here, empty, readable and writable by its owner only (the contacts are personal
    // data), and never over a file already there.
    const int file = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (file < 0) {
        const int error = errno;
        if (error == EEXIST)
            throw StoreError(StoreErrorNumber::FileExists, QStringLiteral("Il file «%1» esiste già.").arg(path));
        throw systemError(error, QStringLiteral("Impossibile creare il file «%1»").arg(path));
    }
    ::close(file);
    const QString name = QStringLiteral("brenzola-crea-%1").arg(quintptr(&path));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        std::optional<StoreError> failure;
        if (!db.open()) {
            failure = storeErrorFrom(db.lastError());
        } else {
            QSqlQuery query(db);
            if (!query.exec(QString::fromLatin1(kCreateTable))) failure = storeErrorFrom(query.lastError());
        }
        db.close();
        if (failure) {
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            QFile::remove(path);  // it did not exist before: leave nothing half-made
            throw *failure;
        }
    }
    QSqlDatabase::removeDatabase(name);
}

}  // namespace brenzola
