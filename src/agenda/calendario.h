#pragma once

#include "agenda/agenda.h"

#include <QByteArray>
#include <QDateTime>

namespace brenzola {

// The agenda as an iCalendar file (RFC 5545) that calendar programs import: one VTODO per
// contact to call, due on its date, and one yearly all-day VEVENT per birthday (born on
// 29 February: the last day of February). `adesso` stamps the entries.
QByteArray CalendarioAgenda(const Agenda& agenda, const QDateTime& adesso);

}  // namespace brenzola
