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
inline constexpr int TypeMismatch = 13;
inline constexpr int NoCurrentRecord = 3021;
inline constexpr int ItemNotFound = 3265;
inline constexpr int ConnectionClosed = 3704;
inline constexpr int ProviderNotFound = 3706;
inline constexpr int NotUpdatable = 3251;
inline constexpr int SyntaxError = 3075;
inline constexpr int RowNotFound = 3167;  // the record was deleted
inline constexpr int RowChanged = 3197;   // another user changed the record meanwhile
inline constexpr int FileExists = 58;
}  // namespace StoreErrorNumber

}  // namespace brenzola
