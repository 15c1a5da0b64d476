#include "exchange/rigacontenuto.h"

#include "exchange/codifica.h"

namespace brenzola {

QString testoEscaped(const QString& testo, QStringList* aCapo)
{
    QByteArray out;
    std::vector<ACapo> tipi;
    aggiungiEscaped(out, testo, tipi);
    if (aCapo)
        for (ACapo tipo : tipi) *aCapo << QString::fromLatin1(nomeACapo(tipo));
    return QString::fromUtf8(out);
}

QByteArray rigaPiegata(const QByteArray& linea)
{
    QByteArray out = linea;
    piegaFine(out, 0);
    return out;
}

QByteArray nomeACapo(ACapo aCapo)
{
    switch (aCapo) {
    case ACapo::LF:
        return "LF";
    case ACapo::CR:
        return "CR";
    case ACapo::CRLF:
        return "CRLF";
    }
    return {};
}

void aggiungiEscaped(QByteArray& out, QStringView testo, std::vector<ACapo>& aCapo)
{
    const qsizetype inizio = out.size();
    out.resize(inizio + 3 * testo.size());  // the most a UTF-16 unit can become
    char* p = out.data() + inizio;
    for (qsizetype i = 0; i < testo.size();) {
        const char16_t c = testo[i].unicode();
        if (c >= 0x80) {
            p = utf8(p, testo, i);
            continue;
        }
        ++i;
        if (c == u'\r' || c == u'\n') {
            const bool crlf = c == u'\r' && i < testo.size() && testo[i] == u'\n';
            aCapo.push_back(crlf ? ACapo::CRLF : c == u'\r' ? ACapo::CR : ACapo::LF);
            if (crlf) ++i;
            *p++ = '\\';
            *p++ = 'n';
        } else if (c == u'\\' || c == u',' || c == u';') {
            *p++ = '\\';
            *p++ = char(c);
        } else {
            *p++ = char(c);
        }
    }
    out.resize(p - out.constData());
}

void piegaFine(QByteArray& out, qsizetype inizio)
{
    constexpr qsizetype kLungaRiga = 75;  // bytes, CRLF excluded
    if (out.size() - inizio <= kLungaRiga) {
        out += "\r\n";
        return;
    }
    const QByteArray linea = out.sliced(inizio);
    out.resize(inizio);
    qsizetype da = 0;
    qsizetype spazio = kLungaRiga;
    while (linea.size() - da > spazio) {
        qsizetype fine = da + spazio;
        while (fine > da && (static_cast<unsigned char>(linea[fine]) & 0xC0) == 0x80) --fine;
        out.append(linea.constData() + da, fine - da);
        out += "\r\n ";
        da = fine;
        spazio = kLungaRiga - 1;  // the space that starts a continuation counts
    }
    out.append(linea.constData() + da, linea.size() - da);
    out += "\r\n";
}

}  // namespace brenzola
