#include "exchange/codifica.h"

#include <QStringDecoder>

#include <algorithm>

namespace brenzola {
namespace {

// Windows-1252 differs from Latin-1 only in 0x80-0x9F; its five unassigned bytes become U+FFFD.
constexpr char16_t kCp1252Alti[32] = {0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                                      0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                                      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

QString daWindows1252(const QByteArray& dati)
{
    QString testo(dati.size(), Qt::Uninitialized);
    QChar* out = testo.data();
    for (const char c : dati) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = QChar(b >= 0x80 && b < 0xA0 ? kCp1252Alti[b - 0x80] : char16_t(b));
    }
    return testo;
}

bool inizia(const QByteArray& dati, const char* bom) { return dati.startsWith(bom); }

}  // namespace

QString nomeCodifica(Codifica codifica)
{
    switch (codifica) {
    case Codifica::Utf8:
        return QStringLiteral("UTF-8");
    case Codifica::Utf16LE:
        return QStringLiteral("UTF-16LE");
    case Codifica::Utf16BE:
        return QStringLiteral("UTF-16BE");
    case Codifica::Windows1252:
        return QStringLiteral("Windows-1252");
    }
    return {};
}

bool utf8Valido(QByteArrayView dati)
{
    if (std::all_of(dati.begin(), dati.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) return true;
    // Stateless: a character cut short at the end is an error, not state kept for more bytes.
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString ignored = decoder.decode(dati);
    return !decoder.hasError();
}

char* utf8(char* out, QStringView testo, qsizetype& i)
{
    const char16_t c = testo[i].unicode();
    if (c < 0x80) {
        *out++ = char(c);
    } else if (c < 0x800) {
        *out++ = char(0xC0 | (c >> 6));
        *out++ = char(0x80 | (c & 0x3F));
    } else if (!QChar::isSurrogate(c)) {
        *out++ = char(0xE0 | (c >> 12));
        *out++ = char(0x80 | ((c >> 6) & 0x3F));
        *out++ = char(0x80 | (c & 0x3F));
    } else if (QChar::isHighSurrogate(c) && i + 1 < testo.size() && testo[i + 1].isLowSurrogate()) {
        const char32_t u = QChar::surrogateToUcs4(c, testo[i + 1].unicode());
        *out++ = char(0xF0 | (u >> 18));
        *out++ = char(0x80 | ((u >> 12) & 0x3F));
        *out++ = char(0x80 | ((u >> 6) & 0x3F));
        *out++ = char(0x80 | (u & 0x3F));
        ++i;
    } else {
        // A surrogate alone is no character: whatever Qt makes of it.
        const QByteArray qt = testo.sliced(i, 1).toUtf8();
        out = std::copy(qt.cbegin(), qt.cend(), out);
    }
    ++i;
    return out;
}

Codifica rilevaCodifica(const QByteArray& dati)
{
    if (inizia(dati, "\xEF\xBB\xBF")) return Codifica::Utf8;
    if (inizia(dati, "\xFF\xFE")) return Codifica::Utf16LE;
    if (inizia(dati, "\xFE\xFF")) return Codifica::Utf16BE;
    // Text in UTF-16 without a mark: most of its characters are ASCII, one byte of each zero.
    const qsizetype campione = std::min<qsizetype>(dati.size(), 4096) & ~qsizetype(1);
    int zeriPari = 0, zeriDispari = 0;
    for (qsizetype i = 0; i < campione; ++i)
        if (dati[i] == '\0') ++(i % 2 ? zeriDispari : zeriPari);
    if (campione > 0 && zeriDispari > campione / 4 && zeriPari == 0) return Codifica::Utf16LE;
    if (campione > 0 && zeriPari > campione / 4 && zeriDispari == 0) return Codifica::Utf16BE;
    return utf8Valido(dati) ? Codifica::Utf8 : Codifica::Windows1252;
}

QString decodifica(const QByteArray& dati, Codifica codifica)
{
    switch (codifica) {
    case Codifica::Utf8:
        return QString::fromUtf8(inizia(dati, "\xEF\xBB\xBF") ? dati.mid(3) : dati);
    case Codifica::Utf16LE:
    case Codifica::Utf16BE: {
        QStringDecoder decoder(codifica == Codifica::Utf16LE ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        QString testo = decoder.decode(dati);
        if (testo.startsWith(QChar(0xFEFF))) testo.remove(0, 1);
        return testo;
    }
    case Codifica::Windows1252:
        return daWindows1252(dati);
    }
    return {};
}

std::optional<QString> decodificaCharset(const QByteArray& dati, const QString& charset)
{
    const QString nome = charset.trimmed().toLower();
    if (nome == u"windows-1252" || nome == u"cp1252" || nome == u"iso-8859-1" || nome == u"latin1" || nome == u"iso-8859-15"
        || nome == u"us-ascii" || nome == u"ascii") {
        // Latin-1 text is Windows-1252 text; the euro sign of -15 is the only common difference.
        QString testo = daWindows1252(dati);
        if (nome == u"iso-8859-15") testo.replace(QChar(0xA4), QChar(0x20AC));
        return testo;
    }
    QStringDecoder decoder(nome.toLatin1().constData());
    if (!decoder.isValid()) return std::nullopt;
    QString testo = decoder.decode(dati);
    if (decoder.hasError()) return std::nullopt;
    return testo;
}

bool sembraBinario(const QByteArray& dati)
{
    const Codifica codifica = rilevaCodifica(dati);
    if (codifica == Codifica::Utf16LE || codifica == Codifica::Utf16BE) return false;
    return dati.left(1 << 20).contains('\0');
}

}  // namespace brenzola
