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

namespace {

void digits(QChar*& out, int value, int count)
{
    for (int i = count - 1; i >= 0; --i, value /= 10) out[i] = QChar(u'0' + value % 10);
    out += count;
}

}  // namespace

QString storedDateText(QDate date)
{
    if (!date.isValid() || date.year() < 1 || date.year() > 9999) return date.toString(Qt::ISODate);
    QString text(10, Qt::Uninitialized);
    QChar* out = text.data();
    digits(out, date.year(), 4);
    *out++ = u'-';
    digits(out, date.month(), 2);
    *out++ = u'-';
    digits(out, date.day(), 2);
    return text;
}

QString dayFirstDateText(QDate date)
{
    if (!date.isValid() || date.year() < 1 || date.year() > 9999) return date.toString(QStringLiteral("dd/MM/yyyy"));
    QString text(10, Qt::Uninitialized);
    QChar* out = text.data();
    digits(out, date.day(), 2);
    *out++ = u'/';
    digits(out, date.month(), 2);
    *out++ = u'/';
    digits(out, date.year(), 4);
    return text;
}

}  // namespace brenzola
