#include "storeddate.h"

#include <QRegularExpression>

namespace brenzola {

QDate dateFromStoredText(const QString& text)
{
    static const QRegularExpression yearFirst(
        QStringLiteral(R"(^\s*(\d{4})([-/])(\d{1,2})\2(\d{1,2})(?:[T ]\d{1,2}:\d{2}(?::\d{2}(?:\.\d+)?)?)?\s*$)"));
    const auto match = yearFirst.match(text);
    if (!match.hasMatch()) return {};
    return QDate(match.captured(1).toInt(), match.captured(3).toInt(), match.captured(4).toInt());
}

}  // namespace brenzola
