#include "exchange/rigacontenuto.h"

namespace brenzola {

QString testoEscaped(const QString& testo, QStringList* aCapo)
{
    QString out;
    out.reserve(testo.size() + 8);
    for (qsizetype i = 0; i < testo.size(); ++i) {
        const QChar c = testo[i];
        if (c == u'\r' || c == u'\n') {
            const bool crlf = c == u'\r' && i + 1 < testo.size() && testo[i + 1] == u'\n';
            if (aCapo) *aCapo << (crlf ? QStringLiteral("CRLF") : c == u'\r' ? QStringLiteral("CR") : QStringLiteral("LF"));
            if (crlf) ++i;
            out += QLatin1String("\\n");
        } else if (c == u'\\' || c == u',' || c == u';') {
            out += u'\\';
            out += c;
        } else {
            out += c;
        }
    }
    return out;
}

QByteArray rigaPiegata(const QByteArray& linea)
{
    constexpr qsizetype kLungaRiga = 75;  // bytes, CRLF excluded
    QByteArray out;
    qsizetype inizio = 0;
    qsizetype spazio = kLungaRiga;
    while (linea.size() - inizio > spazio) {
        qsizetype fine = inizio + spazio;
        while (fine > inizio && (static_cast<unsigned char>(linea[fine]) & 0xC0) == 0x80) --fine;
        out += linea.mid(inizio, fine - inizio) + "\r\n ";
        inizio = fine;
        spazio = kLungaRiga - 1;  // the space that starts a continuation counts
    }
    return out + linea.mid(inizio) + "\r\n";
}

}  // namespace brenzola
