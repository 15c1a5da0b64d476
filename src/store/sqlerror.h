#pragma once

#include "storeerror.h"

#include <QSqlError>

namespace brenzola {

// The engine's own number and text for a failed operation.
StoreError storeErrorFrom(const QSqlError& error);

}  // namespace brenzola
