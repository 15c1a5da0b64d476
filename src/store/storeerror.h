#pragma once

#include <QString>
#include <stdexcept>

namespace brenzola {

// A failure of the store, carrying the number and description shown to the user.
class StoreError : public std::runtime_error {
public:
    StoreError(int number, const QString& description);

    int number() const { return number_; }
    QString description() const { return description_; }

private:
    int number_;
    QString description_;
};

// Error numbers the store raises on its own (the engine's own codes pass through unchanged).
namespace StoreErrorNumber {
inline constexpr int OutOfMemory = 7;
inline constexpr int TypeMismatch = 13;
inline constexpr int Internal = 51;       // a fault of the program itself
inline constexpr int UserInterrupt = 18;  // the user stopped a long operation
inline constexpr int NoCurrentRecord = 3021;
inline constexpr int ItemNotFound = 3265;
inline constexpr int ConnectionClosed = 3704;
inline constexpr int ProviderNotFound = 3706;
inline constexpr int InvalidArgument = 3001;  // a connection string with what it must not hold
inline constexpr int NotUpdatable = 3251;
inline constexpr int SyntaxError = 3075;
inline constexpr int RowNotFound = 3167;  // the record was deleted
inline constexpr int RowChanged = 3197;   // another user changed the record meanwhile
inline constexpr int FileExists = 58;
inline constexpr int Transaction = 3034;  // a commit with no transaction begun, or one begun twice
inline constexpr int NoJournal = 3078;    // the store keeps no journal: nothing to undo or restore from
// A file to import that is not what it should be (not text, not a vCard, a broken CSV).
inline constexpr int FileFormat = 3274;
// Failures of the file system, as Visual Basic numbers them.
inline constexpr int FileNotFound = 53;
inline constexpr int DiskFull = 61;
inline constexpr int PermissionDenied = 70;
inline constexpr int PathFileAccess = 75;
inline constexpr int PathNotFound = 76;
inline constexpr int DiskOrNetwork = 3043;
// Failures of a database server, as Access numbered those of a linked server.
inline constexpr int ServerCall = 3146;
inline constexpr int ServerConnection = 3151;
inline constexpr int ServerPassword = 3029;  // not a valid account name or password
}  // namespace StoreErrorNumber

// The exception being handled, as the user is told of it: a StoreError as it is, anything
// else with the number Visual Basic gave it (out of memory, internal error). Call it only
// inside a catch block.
StoreError ErroreCorrente();

// A failed system call as the user is told about it: `what` was being done, `error` is errno.
StoreError systemError(int error, const QString& what);

}  // namespace brenzola
