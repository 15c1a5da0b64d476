#include "printing/stampe.h"

#include "store/funzioni.h"
#include "store/recordset.h"

namespace brenzola {

namespace {

constexpr char kShapePrefix[] = "SHAPE APPEND ";
constexpr int kTextSize = 250;

// Card column and the contact field it is filled from, in card order.
struct CardColumn {
    const char* column;
    const char* source;
};
constexpr CardColumn kCardColumns[] = {
    {"cognome", "cognome"},
    {"nome", "nome"},
    {"data", "DataIn"},
    {"tipo_ref", "TipoRef"},
    {"citta", "citta"},
    {"indirizzo", "indirizzo"},
    {"cap", "Cap"},
    {"email", "Email"},
    {"telefono", "Telefono"},
    {"cell", "Cell"},
    {"data_nasc", "DataNasc"},
    {"fonte", "Fonte"},
    {"data_ricontattare", "DataRicont"},
    {"commenti", "commenti"},
};

QString textColumn(const char* name) { return QStringLiteral("NEW adVarChar(%1) AS %2").arg(kTextSize).arg(QLatin1String(name)); }

}  // namespace

QString listShapeCommand() { return QLatin1String(kShapePrefix) + textColumn("Nome") + u' '; }

QString cardShapeCommand()
{
    QStringList clauses;
    for (const CardColumn& column : kCardColumns) clauses << textColumn(column.column);
    return QLatin1String(kShapePrefix) + clauses.join(QStringLiteral(", ")) + u' ';
}

QString agendaShapeCommand()
{
    QStringList clauses;
    for (const char* column : {"data", "stato", "nome", "telefono", "cell", "email", "nota"}) clauses << textColumn(column);
    return QLatin1String(kShapePrefix) + clauses.join(QStringLiteral(", ")) + u' ';
}

MemoryTable listTable(const QStringList& entries)
{
    MemoryTable table(listShapeCommand());
    const QString nome = QStringLiteral("Nome");
    for (const QString& entry : entries) {
        table.AddNew();
        table.SetField(nome, entry);
        table.Update();
    }
    return table;
}

MemoryTable cardTable(Recordset& source)
{
    MemoryTable table(cardShapeCommand());
    while (!source.Eof()) {
        table.AddNew();
        for (const CardColumn& column : kCardColumns)
            table.SetField(QLatin1String(column.column), source.Fields(QLatin1String(column.source)));
        table.Update();
        source.MoveNext();
    }
    return table;
}

namespace {

ReportDefinition initializedStElenco()
{
    ReportDefinition report = StElenco();
    StElenco_DataReport_Initialize(report);
    return report;
}

ReportDefinition initializedStDettaglio(const PaperSize& paper)
{
    ReportDefinition report = StDettaglio();
    StDettaglio_DataReport_Initialize(report, paper);
    return report;
}

}  // namespace

ReportPages layoutStElenco(const QStringList& entries, const PaperSize& paper, const QDateTime& now)
{
    return layoutStElenco(entries, paper, nullptr, now)->allPages();
}

std::optional<ReportDocument> layoutStElenco(const QStringList& entries, const PaperSize& paper, Progress* progress,
                                             const QDateTime& now)
{
    // The entries are read as they are: a table of a million values would only copy them.
    return layoutDocument(initializedStElenco(), ReportRows::of(entries, QStringLiteral("Nome")), paper, now, progress);
}

ReportPages layoutStDettaglio(const MemoryTable& cards, const PaperSize& paper, const QDateTime& now)
{
    return layoutReport(initializedStDettaglio(paper), cards, paper, now);
}

std::optional<ReportDocument> layoutStDettaglio(MemoryTable cards, const PaperSize& paper, Progress* progress,
                                                const QDateTime& now)
{
    return layoutDocument(initializedStDettaglio(paper), ReportRows::of(std::move(cards)), paper, now, progress);
}

ReportPages layoutStAgenda(const MemoryTable& rows, const QString& periodo, const PaperSize& paper, const QDateTime& now)
{
    return layoutReport(StAgenda(periodo), rows, paper, now);
}

}  // namespace brenzola
