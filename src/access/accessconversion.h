#pragma once

#include "store/storeerror.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace brenzola {

// Error numbers of the conversion, as Access and Visual Basic number the same failures.
namespace ConversionErrorNumber {
inline constexpr int FileNotFound = StoreErrorNumber::FileNotFound;
inline constexpr int DiskFull = StoreErrorNumber::DiskFull;
inline constexpr int PermissionDenied = StoreErrorNumber::PermissionDenied;
inline constexpr int PathFileAccess = StoreErrorNumber::PathFileAccess;
inline constexpr int PathNotFound = StoreErrorNumber::PathNotFound;
inline constexpr int DiskOrNetwork = StoreErrorNumber::DiskOrNetwork;
inline constexpr int CannotOpenDatabase = 3049;
inline constexpr int TableNotFound = 3078;
inline constexpr int UnrecognizedFormat = 3343;
inline constexpr int FileChanged = 3197;
}  // namespace ConversionErrorNumber

// What a file is, judged by its first bytes and never by its name.
enum class StoreFileKind { Missing, SQLite, AccessJet3, AccessJet4, AccessAce, Other };

// Throws StoreError when the path exists but cannot be read as a file.
StoreFileKind detectStoreFileKind(const QString& path);

// What the Access file holds, compared with the store's columns; read before converting
// so that the user hears about any difference first.
struct AccessSurvey {
    StoreFileKind kind = StoreFileKind::Other;
    QString tableName;  // as spelled in the file
    qint64 rowCount = 0;
    QStringList unknownColumns;       // in the Access table, unknown to the store: not converted
    QStringList missingColumns;       // in the store, absent from the Access table: left Null
    QStringList incompatibleColumns;  // "Name (type)": cannot be converted at all
    bool keyColumnMissing = false;    // the store numbers the contacts itself then

    bool columnsDiffer() const { return !unknownColumns.isEmpty() || !missingColumns.isEmpty(); }
    // "Jet 4, Access 2000-2003" and the like.
    QString formatName() const;
    // Throws StoreError when some column cannot be converted at all.
    void requireConvertible(const QString& path) const;
    // The differences in Italian, one paragraph each; empty when the columns match.
    QString describeDifferences() const;
};

struct ConversionOptions {
    // Unknown or missing columns stop the conversion unless the user has accepted them.
    bool acceptColumnDifferences = false;
    // Called now and then while rows arrive: rows read so far and the table's row count.
    std::function<void(qint64 read, qint64 total)> progress;
    // How long the Access reader may stay silent before it is taken for stuck.
    int readerTimeoutMs = 30000;
};

struct ConversionSummary {
    qint64 rowsRead = 0;
    qint64 rowsWritten = 0;
    QString backupPath;  // in-place conversions only: where the original Access file now is
};

// Reads the table Anagrafica of the Access file at `path` (its columns, not its rows).
AccessSurvey surveyAccessFile(const QString& path, const ConversionOptions& options = {});

// Converts the table Anagrafica of the Access file `input` into a new store at `output`.
// When `output` is `input` itself, the converted store takes the file's place and the
// original stays, byte for byte, under accessBackupPath()'s name; otherwise `input` is left
// alone and `output` must not exist yet. Either everything succeeds or nothing on disk
// changes; failures are StoreErrors with an Italian description.
ConversionSummary convertAccessFile(const QString& input, const QString& output, const ConversionOptions& options = {});

// The name the original of `storePath` gets beside it: the first of
// "Brenzola.access-originale.mdb", "Brenzola.access-originale-2.mdb", ... that is free.
QString accessBackupPath(const QString& storePath);

// Turns a Date/Time value of Access (days since 30 December 1899) into the store's text
// form: "yyyy-MM-dd", followed by " HH:mm:ss" (and ".zzz") when it has a time of day.
// Throws StoreError for values outside the years 100 to 9999.
QString storeDateFromAccess(double days);

// Removes from `folder` what conversions killed half-way left behind; the work of a
// conversion still running stays.
void removeAbandonedConversions(const QString& folder);

}  // namespace brenzola
