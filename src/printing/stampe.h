#pragma once

#include "printing/memorytable.h"
#include "printing/reportdefinition.h"
#include "printing/reportlayout.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

namespace brenzola {

class Progress;
class Recordset;

// The shape commands that declare the two report tables.
QString listShapeCommand();
QString cardShapeCommand();
// The agenda report's table: data, stato, nome, telefono, cell, email, nota.
QString agendaShapeCommand();

// The list entries, in list order, as the list report's table (one column, Nome).
MemoryTable listTable(const QStringList& entries);
// Every remaining row of `source` as the card report's table: fourteen text columns
// filled from the contact fields by name; the province and the key are left out.
MemoryTable cardTable(Recordset& source);

// The reports as they come into being, initialised and laid out on `paper`.
ReportPages layoutStElenco(const QStringList& entries, const PaperSize& paper,
                           const QDateTime& now = QDateTime::currentDateTime());
ReportPages layoutStDettaglio(const MemoryTable& cards, const PaperSize& paper,
                              const QDateTime& now = QDateTime::currentDateTime());
ReportPages layoutStAgenda(const MemoryTable& rows, const QString& periodo, const PaperSize& paper,
                           const QDateTime& now = QDateTime::currentDateTime());

// The same reports as documents that keep only where each page begins, however long the
// list, laid out while `progress` (when given) follows the rows; none when the user stops.
std::optional<ReportDocument> layoutStElenco(const QStringList& entries, const PaperSize& paper, Progress* progress,
                                             const QDateTime& now = QDateTime::currentDateTime());
std::optional<ReportDocument> layoutStDettaglio(MemoryTable cards, const PaperSize& paper, Progress* progress,
                                                const QDateTime& now = QDateTime::currentDateTime());

}  // namespace brenzola
