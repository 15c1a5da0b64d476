#pragma once

#include "storeerror.h"

#include <QSqlError>

class QSqlDatabase;
class QSqlQuery;

namespace brenzola {

// The engine's own number and text for a failed operation; the commonest failures are
// described in Italian instead. The query or database says which engine failed.
StoreError storeErrorFrom(const QSqlQuery& query);
StoreError storeErrorFrom(const QSqlDatabase& database);
StoreError storeErrorFrom(int engineCode, const QString& engineText);

// Steps a statement to its next row: false at the end of the rows, a StoreError when the
// step failed (a damaged page, a lost lock), so that a failure never looks like the end.
bool nextRow(QSqlQuery& query);

}  // namespace brenzola
