#include "store/ricercarapida.h"

#include "store/funzioni.h"

#include <algorithm>

namespace brenzola {

namespace {

bool numero(const QString& testo)
{
    bool cifre = false;
    for (QChar c : testo) {
        if (c >= u'0' && c <= u'9')
            cifre = true;
        else if (!RicercaRapida::separatore(c))
            return false;
    }
    return cifre;
}

RicercaRapida::Tipo tipoDi(const QString& testo)
{
    if (testo.contains(u'@')) return RicercaRapida::Tipo::Email;
    if (numero(testo)) return RicercaRapida::Tipo::Telefono;
    if (testo.contains(u' ') && !testo.trimmed().isEmpty()) return RicercaRapida::Tipo::NomeCompleto;
    return RicercaRapida::Tipo::Cognome;
}

// The digits of a number typed with its country code: Italy's, written +39 or 0039, is
// left out, as most numbers are stored without it.
QString cercatoDi(RicercaRapida::Tipo tipo, const QString& testo)
{
    if (tipo != RicercaRapida::Tipo::Telefono) return testo;
    std::string utf8;
    RicercaRapida::aggiungiCifre(testo.toStdString(), utf8);
    QString cifre = QString::fromStdString(utf8);
    const QString inizio = testo.trimmed();
    const qsizetype prefisso = inizio.startsWith(u"+39") ? 2 : inizio.startsWith(u"0039") ? 4 : 0;
    if (cifre.size() > prefisso) cifre.remove(0, prefisso);  // "+39" alone still looks for 39
    return cifre;
}

// A field without the separators of a number, in the store's dialect.
QString senzaSeparatori(const QString& campo)
{
    QString sql = campo;
    for (char16_t c : std::u16string_view(RicercaRapida::kSeparatori))
        sql = QStringLiteral("Replace(%1, '%2', '')").arg(sql, QChar(c));
    return sql;
}

}  // namespace

RicercaRapida::RicercaRapida(const QString& testo)
    : tipo_(tipoDi(testo)),
      cercato_(cercatoDi(tipo_, testo)),
      pattern_(QString(u'%' + cercato_ + u'%')),
      semplice_(!cercato_.contains(u'%') && !cercato_.contains(u'_'))
{
    lowerCase(cercato_, minuscolo_);
}

QString RicercaRapida::filtro() const
{
    const QString simile = QStringLiteral(" like '%") + Funzioni::RaddoppiaApici(cercato_) + QStringLiteral("%'");
    switch (tipo_) {
    case Tipo::Cognome:
        return QStringLiteral(" where cognome") + simile + u' ';
    case Tipo::NomeCompleto:
        return QStringLiteral(" where (Cognome & ' ' & Nome%1 or Nome & ' ' & Cognome%1) ").arg(simile);
    case Tipo::Telefono:
        return QStringLiteral(" where (%1%3 or %2%3) ")
            .arg(senzaSeparatori(QStringLiteral("Telefono")), senzaSeparatori(QStringLiteral("Cell")), simile);
    case Tipo::Email:
        return QStringLiteral(" where Email") + simile + u' ';
    }
    return {};
}

bool RicercaRapida::restringe(const RicercaRapida& prima) const
{
    return tipo_ == prima.tipo_ && prima.semplice_ && pattern_.alwaysContains(prima.minuscolo_);
}

void RicercaRapida::aggiungiCifre(std::string_view numero, std::string& utf8)
{
    // The separators are ASCII, and no byte of a longer character is ASCII.
    for (char c : numero)
        if (static_cast<unsigned char>(c) >= 0x80 || !separatore(QChar(c))) utf8.push_back(c);
}

}  // namespace brenzola
