#include "exchange/raccolta.h"

#include "store/storeddate.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <algorithm>

namespace brenzola {

bool senzaData(const QString& valore)
{
    static const QRegularExpression zeri(QStringLiteral(R"(^\s*0+([/.-]0+)*\s*$)"));
    static const QRegularExpression nessuna(QStringLiteral(R"(^\s*0?1/0?1/4501\s*$)"));
    return zeri.match(valore).hasMatch() || nessuna.match(valore).hasMatch();
}

QDate dataDaFile(const QString& valore, bool compleanno, bool mesePrima)
{
    if (const QDate data = dateFromStoredText(valore); data.isValid()) return data;  // the common case, quickly
    static const QRegularExpression barrata(QStringLiteral(R"(^\s*(\d{1,2})([/.-])(\d{1,2})\2(\d{4})\s*$)"));
    if (const auto m = barrata.match(valore); m.hasMatch()) {
        const int primo = m.captured(1).toInt();
        const int secondo = m.captured(3).toInt();
        const int anno = m.captured(4).toInt();
        const QDate scelta = mesePrima ? QDate(anno, primo, secondo) : QDate(anno, secondo, primo);
        if (scelta.isValid()) return scelta;
        return mesePrima ? QDate(anno, secondo, primo) : QDate(anno, primo, secondo);  // only the other order is a date
    }
    return compleanno ? compleannoScritto(valore) : dataScritta(valore);
}

namespace {

QString nonUnaData(int riga, const QString& valore, const QString& etichetta)
{
    return QCoreApplication::translate("brenzola::Raccolta", "riga %1: «%2» nella colonna «%3» non è una data: è nei commenti")
        .arg(riga)
        .arg(valore, etichetta);
}

constexpr Campo kRecapiti[] = {Campo::Email, Campo::Telefono, Campo::Cell};

// The words of a name in any order, to tell a display name made of the name's own parts.
QStringList parole(const QString& testo)
{
    static const QRegularExpression separatori(QStringLiteral(R"([^\w]+)"), QRegularExpression::UseUnicodePropertiesOption);
    QStringList tutte = testo.toLower().split(separatori, Qt::SkipEmptyParts);
    tutte.sort();
    return tutte;
}

}  // namespace

void Raccolta::campo(Campo campo, const QString& valore, const QString& etichetta, bool mesePrima)
{
    if (valore.isNull()) return;
    if (!descrizione(campo).data) {
        if (valore.isEmpty())
            vuoti_.push_back(campo);
        else
            compilazione_.aggiungi(campo, valore, etichetta);
        return;
    }
    if (valore.trimmed().isEmpty() || senzaData(valore)) return;  // a date is there or Null
    const QDate data = dataDaFile(valore, campo == Campo::DataNasc, mesePrima);
    if (data.isValid()) {
        compilazione_.aggiungi(campo, data, etichetta);
        return;
    }
    altro(etichetta, valore);
    avvisi_ << nonUnaData(riga_, valore, etichetta);
}

void Raccolta::altro(const QString& etichetta, const QString& valore) { compilazione_.altro(etichetta, valore); }

void Raccolta::parte(Parte parte, const QString& etichetta, const QString& valore)
{
    if (valore.trimmed().isEmpty()) return;
    switch (parte) {
    case Parte::NomeIntero:
        nomiInteri_.emplace_back(etichetta, valore);
        break;
    case Parte::SecondoNome:
        secondiNomi_ << valore;
        break;
    case Parte::Azienda:
        aziende_ << valore;
        break;
    case Parte::AnnoNascita:
    case Parte::MeseNascita:
    case Parte::GiornoNascita:
        nascita_[size_t(parte) - size_t(Parte::AnnoNascita)] = {etichetta, valore};
        break;
    }
}

void Raccolta::nomi()
{
    if (nomiInteri_.empty() && aziende_.isEmpty()) return;  // the name is in its own columns, as usual
    const auto haNome = [this] {
        return !compilazione_.vuoto(Campo::Cognome) || !compilazione_.vuoto(Campo::Nome) || !secondiNomi_.isEmpty();
    };
    // A display name that is only the address or the number, as programs fill it in, is no name.
    const Contatto letto = compilazione_.contatto();
    const auto recapito = [&letto](const QString& valore) {
        return std::any_of(std::begin(kRecapiti), std::end(kRecapiti),
                           [&](Campo c) { return !letto.vuoto(c) && letto.testo(c).trimmed() == valore.trimmed(); });
    };
    qsizetype nomeUsato = -1;
    qsizetype aziendaUsata = -1;
    for (qsizetype i = 0; !haNome() && i < qsizetype(nomiInteri_.size()); ++i)
        if (!recapito(nomiInteri_[size_t(i)].second)) {
            compilazione_.aggiungi(Campo::Cognome, nomiInteri_[size_t(i)].second);
            nomeUsato = i;
        }
    if (!haNome() && !aziende_.isEmpty()) {
        compilazione_.aggiungi(Campo::Cognome, aziende_.front());
        aziendaUsata = 0;
    }
    const Contatto finora = compilazione_.contatto();
    const QStringList proprie =
        parole(finora.testo(Campo::Cognome) + u' ' + finora.testo(Campo::Nome) + u' ' + secondiNomi_.join(u' '));
    for (qsizetype i = 0; i < qsizetype(nomiInteri_.size()); ++i) {
        const auto& [etichetta, valore] = nomiInteri_[size_t(i)];
        const QStringList sue = parole(valore);
        // "Rossi, Mario" beside Rossi and Mario says nothing more.
        const bool ripete =
            i == nomeUsato || sue == proprie || recapito(valore)
            || std::any_of(aziende_.cbegin(), aziende_.cend(), [&](const QString& a) { return parole(a) == sue; });
        if (!ripete) compilazione_.altro(etichetta, valore);
    }
    for (qsizetype i = 0; i < aziende_.size(); ++i)
        if (i != aziendaUsata) compilazione_.altro(QStringLiteral("Azienda"), aziende_[i]);
}

void Raccolta::nascita()
{
    QStringList etichette;
    QStringList valori;
    for (const auto& [etichetta, valore] : nascita_)
        if (!valore.isEmpty()) {
            etichette << etichetta;
            valori << valore;
        }
    if (valori.isEmpty()) return;
    bool annoLetto = false;
    bool meseLetto = false;
    bool giornoLetto = false;
    const int anno = nascita_[0].second.trimmed().toInt(&annoLetto);
    const int mese = nascita_[1].second.trimmed().toInt(&meseLetto);
    const int giorno = nascita_[2].second.trimmed().toInt(&giornoLetto);
    const bool senzaAnno = nascita_[0].second.isEmpty();
    if (meseLetto && giornoLetto && (annoLetto || senzaAnno)) {
        const QDate data(senzaAnno ? kAnnoIgnoto : anno, mese, giorno);
        if (data.isValid() && (senzaAnno || anno > 0)) {
            compilazione_.aggiungi(Campo::DataNasc, data, etichette.join(QStringLiteral(", ")));
            return;
        }
    }
    for (const auto& [etichetta, valore] : nascita_) compilazione_.altro(etichetta, valore);
    avvisi_ << nonUnaData(riga_, valori.join(u'/'), etichette.join(QStringLiteral(", ")));
}

Voce Raccolta::voce()
{
    nomi();
    nascita();
    Voce voce;
    voce.riga = riga_;
    Contatto contatto = compilazione_.contatto();
    if (!secondiNomi_.isEmpty()) {
        const QString nome = contatto.testo(Campo::Nome);
        contatto[Campo::Nome] = (nome.isEmpty() ? QString() : nome + u' ') + secondiNomi_.join(u' ');
    }
    for (Campo campo : vuoti_)
        if (contatto[campo].isNull()) contatto[campo] = QStringLiteral("");  // empty text, not Null
    contatto.uid = uid_;
    if (const QString motivo = troppoLungo(contatto); !motivo.isEmpty()) {
        voce.errore = QCoreApplication::translate("brenzola::Raccolta", "riga %1: %2").arg(riga_).arg(motivo);
        return voce;
    }
    voce.contatto = std::move(contatto);
    voce.avvisi = avvisi_;
    return voce;
}

}  // namespace brenzola
