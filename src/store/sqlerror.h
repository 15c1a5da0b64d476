#pragma once

#include "store/storeerror.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariantList>

class QSqlDatabase;

namespace brenzola {

// The engine's own number and text for a failed operation; the commonest failures are
// described in Italian instead. The query or database says which engine failed.
StoreError storeErrorFrom(const QSqlQuery& query);
StoreError storeErrorFrom(const QSqlDatabase& database);
StoreError storeErrorFrom(int engineCode, const QString& engineText);
// A server's failure, numbered as Access numbered a linked server's: 3151 when the
// connection itself failed, 3146 for the rest; the SQLSTATE stays in the description.
StoreError serverErrorFrom(const QString& sqlState, const QString& text);

// Runs a statement in the engine's own SQL, with `values` bound to its ?s in order; a
// StoreError when it fails.
QSqlQuery runStatement(const QSqlDatabase& db, const QString& sql, const QVariantList& values = {});

// Steps a statement to its next row: false at the end of the rows, a StoreError when the
// step failed (a damaged page, a lost lock), so that a failure never looks like the end.
bool nextRow(QSqlQuery& query);

}  // namespace brenzola
