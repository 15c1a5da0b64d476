#pragma once

#include "exchange/contatto.h"

#include <QByteArray>

#include <optional>
#include <span>

namespace brenzola {

// CSV files for other address books, with the English headers their importers map:
// Google Contacts (UTF-8, dates yyyy-MM-dd, a birthday without a year --MM-dd) and
// Outlook (UTF-8 with a byte-order mark, dates M/d/yyyy). Brenzola's fields those
// programs have no place for ride in Google's custom fields, labelled as the form labels
// them, and in Outlook's user fields; Null and empty text stay apart as in Brenzola's
// own CSV (nothing, or "").
enum class Tracciato { Google, Outlook };

// A column of a layout: it holds a field, or with nothing the contact's uid. With
// `tipo`, it holds that type or label instead of the value, when the value is not Null
// (an empty `tipo`: the field's own label, or "UID").
struct ColonnaTracciato {
    const char* intestazione;
    std::optional<Campo> campo;
    const char* tipo = nullptr;
};
std::span<const ColonnaTracciato> colonneTracciato(Tracciato tracciato);
// The label of the custom field holding the uid.
inline constexpr char kEtichettaUid[] = "UID";

QByteArray intestazioneTracciato(Tracciato tracciato);
QByteArray rigaTracciato(const Contatto& contatto, Tracciato tracciato);

}  // namespace brenzola
