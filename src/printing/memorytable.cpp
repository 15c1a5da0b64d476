#include "printing/memorytable.h"

#include "store/funzioni.h"
#include "store/storeerror.h"

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QRegularExpression>

namespace brenzola {

namespace {

[[noreturn]] void badCommand(const QString& command, const QString& why)
{
    throw StoreError(
        StoreErrorNumber::SyntaxError,
        QCoreApplication::translate("brenzola::MemoryTable", "Comando SHAPE non valido (%1): «%2».").arg(why, command));
}

}  // namespace

MemoryTable::MemoryTable(const QString& shapeCommand)
{
    // "SHAPE APPEND " then clauses joined by ", ", the last one followed by one blank.
    static const QString prefix = QStringLiteral("SHAPE APPEND ");
    static const QRegularExpression clause(QStringLiteral(R"(^NEW adVarChar\((\d{1,5})\) AS ([A-Za-z_][A-Za-z0-9_]*)$)"),
                                           QRegularExpression::CaseInsensitiveOption);
    if (!shapeCommand.startsWith(prefix, Qt::CaseInsensitive) || !shapeCommand.endsWith(u' ')
        || shapeCommand.endsWith(QStringLiteral("  ")))
        badCommand(shapeCommand,
                   QCoreApplication::translate("brenzola::MemoryTable", "atteso SHAPE APPEND seguito dalle colonne"));
    const QString body = shapeCommand.mid(prefix.size()).chopped(1);
    for (const QString& part : body.split(QStringLiteral(", "))) {
        const QRegularExpressionMatch match = clause.match(part);
        if (!match.hasMatch())
            badCommand(shapeCommand, QCoreApplication::translate("brenzola::MemoryTable", "colonna «%1»").arg(part));
        const int size = match.captured(1).toInt();
        const QString name = match.captured(2);
        if (size < 1)
            badCommand(shapeCommand, QCoreApplication::translate("brenzola::MemoryTable", "dimensione nulla per «%1»").arg(name));
        if (columnIndex(name) >= 0)
            badCommand(shapeCommand, QCoreApplication::translate("brenzola::MemoryTable", "colonna «%1» ripetuta").arg(name));
        columns_ << name;
        sizes_.push_back(size);
    }
}

int MemoryTable::columnIndex(const QString& name) const
{
    for (int i = 0; i < columns_.size(); ++i)
        if (columns_[i].compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

int MemoryTable::requireColumn(const QString& name) const
{
    const int index = columnIndex(name);
    if (index < 0)
        throw StoreError(StoreErrorNumber::ItemNotFound,
                         QCoreApplication::translate("brenzola::MemoryTable", "Campo «%1» non trovato nel recordset.").arg(name));
    return index;
}

QVariant MemoryTable::asText(const QVariant& value)
{
    if (value.isNull()) return {};
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate().toString(Funzioni::FormatoDataMostrata());
    case QMetaType::QDateTime: {
        const QDateTime moment = value.toDateTime();
        const QString date = moment.date().toString(Funzioni::FormatoDataMostrata());
        return moment.time() == QTime(0, 0) ? date : date + moment.time().toString(QStringLiteral(" HH:mm:ss"));
    }
    default:
        return value.toString();
    }
}

void MemoryTable::AddNew()
{
    if (adding_) Update();
    pending_.assign(size_t(columns_.size()), QVariant());
    adding_ = true;
}

void MemoryTable::SetField(const QString& name, const QVariant& value)
{
    const int index = requireColumn(name);
    if (!adding_)
        throw StoreError(
            StoreErrorNumber::NotUpdatable,
            QCoreApplication::translate("brenzola::MemoryTable", "Le righe già confermate non si modificano: usare AddNew."));
    pending_[size_t(index)] = asText(value);
}

void MemoryTable::Update()
{
    if (!adding_) return;
    cells_.insert(cells_.end(), std::make_move_iterator(pending_.begin()), std::make_move_iterator(pending_.end()));
    pending_.clear();
    ++rowCount_;
    adding_ = false;
}

void MemoryTable::MoveNext()
{
    if (Eof())
        throw StoreError(
            StoreErrorNumber::NoCurrentRecord,
            QCoreApplication::translate("brenzola::MemoryTable", "Nessun record corrente: inizio o fine del recordset."));
    ++position_;
}

QVariant MemoryTable::Fields(int index) const
{
    if (Eof())
        throw StoreError(
            StoreErrorNumber::NoCurrentRecord,
            QCoreApplication::translate("brenzola::MemoryTable", "Nessun record corrente: inizio o fine del recordset."));
    if (index < 0 || index >= columns_.size())
        throw StoreError(StoreErrorNumber::ItemNotFound,
                         QCoreApplication::translate("brenzola::MemoryTable", "Campo %1 non trovato nel recordset.").arg(index));
    return value(position_, index);
}

QVariant MemoryTable::Fields(const QString& name) const { return Fields(requireColumn(name)); }

}  // namespace brenzola
