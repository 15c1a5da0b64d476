#include "exchange/tracciati.h"

#include "exchange/csv.h"
#include "store/storeddate.h"

namespace brenzola {
namespace {

// Google's import header names these; a birthday without a year is --MM-dd.
constexpr ColonnaTracciato kGoogle[] = {
    {"First Name", Campo::Nome},
    {"Last Name", Campo::Cognome},
    {"Birthday", Campo::DataNasc},
    {"Notes", Campo::Commenti},
    {"Labels", Campo::TipoRef},
    {"E-mail 1 - Label", Campo::Email, "Home"},
    {"E-mail 1 - Value", Campo::Email},
    {"Phone 1 - Label", Campo::Telefono, "Home"},
    {"Phone 1 - Value", Campo::Telefono},
    {"Phone 2 - Label", Campo::Cell, "Mobile"},
    {"Phone 2 - Value", Campo::Cell},
    {"Address 1 - Street", Campo::Indirizzo},
    {"Address 1 - City", Campo::Citta},
    {"Address 1 - Region", Campo::Prov},
    {"Address 1 - Postal Code", Campo::Cap},
    {"Custom Field 1 - Label", Campo::DataIn, ""},
    {"Custom Field 1 - Value", Campo::DataIn},
    {"Custom Field 2 - Label", Campo::DataRicont, ""},
    {"Custom Field 2 - Value", Campo::DataRicont},
    {"Custom Field 3 - Label", Campo::Fonte, ""},
    {"Custom Field 3 - Value", Campo::Fonte},
    {"Custom Field 4 - Label", std::nullopt, ""},
    {"Custom Field 4 - Value", std::nullopt},
};

// Outlook's classic English header, in its order, the columns Brenzola fills.
constexpr ColonnaTracciato kOutlook[] = {
    {"First Name", Campo::Nome},     {"Last Name", Campo::Cognome},    {"Home Street", Campo::Indirizzo},
    {"Home City", Campo::Citta},     {"Home State", Campo::Prov},      {"Home Postal Code", Campo::Cap},
    {"Home Phone", Campo::Telefono}, {"Mobile Phone", Campo::Cell},    {"Birthday", Campo::DataNasc},
    {"Categories", Campo::TipoRef},  {"E-mail Address", Campo::Email}, {"Notes", Campo::Commenti},
    {"Referred By", Campo::Fonte},   {"User 1", Campo::DataIn},        {"User 2", Campo::DataRicont},
    {"User 3", std::nullopt},
};

QString dataPer(QDate data, Tracciato tracciato)
{
    if (tracciato == Tracciato::Outlook) return QStringLiteral("%1/%2/%3").arg(data.month()).arg(data.day()).arg(data.year());
    return senzaAnno(data) ? data.toString(QStringLiteral("--MM-dd")) : storedDateText(data);
}

QString valoreDi(const Contatto& contatto, const ColonnaTracciato& colonna, Tracciato tracciato)
{
    if (!colonna.campo) {
        if (contatto.uid.isEmpty()) return {};
        return colonna.tipo ? QString::fromLatin1(kEtichettaUid) : contatto.uid;
    }
    const QVariant& valore = contatto[*colonna.campo];
    if (valore.isNull()) return {};
    if (colonna.tipo) return QString::fromUtf8(*colonna.tipo ? colonna.tipo : descrizione(*colonna.campo).etichetta);
    if (valore.typeId() == QMetaType::QDate) return dataPer(valore.toDate(), tracciato);
    const QString testo = valore.toString();
    return testo.isNull() ? QStringLiteral("") : testo;
}

}  // namespace

std::span<const ColonnaTracciato> colonneTracciato(Tracciato tracciato)
{
    if (tracciato == Tracciato::Google) return kGoogle;
    return kOutlook;
}

QByteArray intestazioneTracciato(Tracciato tracciato)
{
    QStringList nomi;
    for (const ColonnaTracciato& colonna : colonneTracciato(tracciato)) nomi << QString::fromLatin1(colonna.intestazione);
    const QByteArray riga = lineaCsv(nomi, u',');
    return tracciato == Tracciato::Outlook ? "\xEF\xBB\xBF" + riga : riga;
}

QByteArray rigaTracciato(const Contatto& contatto, Tracciato tracciato)
{
    QStringList valori;
    for (const ColonnaTracciato& colonna : colonneTracciato(tracciato)) valori << valoreDi(contatto, colonna, tracciato);
    return lineaCsv(valori, u',');
}

}  // namespace brenzola
