#include "store/storeddate.h"

#include <QRegularExpression>

#include <optional>

namespace brenzola {

namespace {

// "yyyy-MM-dd" exactly, as stores and most files write dates: read without a pattern.
std::optional<QDate> isoDate(QStringView text)
{
    if (text.size() != 10 || text[4] != u'-' || text[7] != u'-') return std::nullopt;
    int parts[3] = {0, 0, 0};
    for (qsizetype i = 0, part = 0; i < 10; ++i) {
        if (i == 4 || i == 7) {
            ++part;
            continue;
        }
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9') return std::nullopt;
        parts[part] = parts[part] * 10 + (c - u'0');
    }
    return QDate(parts[0], parts[1], parts[2]);
}

}  // namespace

QDate dateFromStoredText(QStringView text)
{
    if (const std::optional<QDate> date = isoDate(text)) return *date;
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

// Four-digit years only; other dates take Qt's slower way.
QString dateText(QDate date, bool yearFirst)
{
    const QChar separator = yearFirst ? u'-' : u'/';
    if (!date.isValid() || date.year() < 1 || date.year() > 9999)
        return date.toString(yearFirst ? QStringLiteral("yyyy-MM-dd") : QStringLiteral("dd/MM/yyyy"));
    QString text(10, Qt::Uninitialized);
    QChar* out = text.data();
    const int first = yearFirst ? date.year() : date.day();
    const int last = yearFirst ? date.day() : date.year();
    digits(out, first, yearFirst ? 4 : 2);
    *out++ = separator;
    digits(out, date.month(), 2);
    *out++ = separator;
    digits(out, last, yearFirst ? 2 : 4);
    return text;
}

}  // namespace

QString storedDateText(QDate date) { return dateText(date, true); }

QString dayFirstDateText(QDate date) { return dateText(date, false); }

}  // namespace brenzola
