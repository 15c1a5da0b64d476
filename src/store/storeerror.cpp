#include "storeerror.h"

namespace brenzola {

StoreError::StoreError(int number, const QString& description)
    : std::runtime_error(QStringLiteral("%1: %2").arg(number).arg(description).toStdString()),
      number_(number),
      description_(description)
{
}

}  // namespace brenzola
