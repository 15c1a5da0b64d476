#include "register/elenconomi.h"

#include <QHeaderView>

#include <algorithm>

namespace brenzola {

ModelloElenco::ModelloElenco(const IndiceNomi& indice, QObject* parent) : QAbstractTableModel(parent), indice_(indice) {}

void ModelloElenco::mostra(std::vector<IndiceNomi::Voce> voci)
{
    beginResetModel();
    voci_ = std::move(voci);
    endResetModel();
}

int ModelloElenco::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(voci_.size()); }

int ModelloElenco::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 1; }

QVariant ModelloElenco::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || size_t(index.row()) >= voci_.size()) return {};
    return indice_.testo(voci_[size_t(index.row())]);
}

QVariant ModelloElenco::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section != 0 || role != Qt::DisplayRole) return {};
    return tr("Cognome e nome");
}

ElencoNomi::ElencoNomi(const IndiceNomi& indice, QWidget* parent)
    : QTableView(parent),
      indice_(indice),
      modello_(new ModelloElenco(indice, this))
{
    setModel(modello_);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setTabKeyNavigation(false);  // Tab leaves the list, as from any list box
    setShowGrid(false);
    setWordWrap(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    horizontalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->hide();
    // Rows of one height: the view places a million of them without measuring any.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 2);
}

void ElencoNomi::mostra(std::vector<IndiceNomi::Voce> voci)
{
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 2);  // the font may have been set since
    modello_->mostra(std::move(voci));
}

int ElencoNomi::count() const { return modello_->rowCount(); }

QString ElencoNomi::text(int row) const
{
    return row >= 0 && row < count() ? indice_.testo(modello_->voci()[size_t(row)]) : QString();
}

qint64 ElencoNomi::chiave(int row) const { return row >= 0 && row < count() ? indice_.chiave(modello_->voci()[size_t(row)]) : 0; }

int ElencoNomi::rigaDi(qint64 chiave) const
{
    const std::optional<IndiceNomi::Voce> voce = indice_.voceDi(chiave);
    if (!voce) return -1;
    const auto& voci = modello_->voci();
    const auto found = std::find(voci.begin(), voci.end(), *voce);
    return found == voci.end() ? -1 : int(found - voci.begin());
}

int ElencoNomi::selectedRow() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.front().row();
}

int ElencoNomi::currentRow() const { return currentIndex().isValid() ? currentIndex().row() : -1; }

void ElencoNomi::setCurrentRow(int row)
{
    selectionModel()->setCurrentIndex(modello_->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void ElencoNomi::scrollToRow(int row) { scrollTo(modello_->index(row, 0)); }

QRect ElencoNomi::rowRect(int row) const { return visualRect(modello_->index(row, 0)); }

QModelIndex ElencoNomi::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    // Home and End go to the first and last entry, as in any list box (a table would stay
    // in the row).
    if (action == MoveHome || action == MoveEnd) modifiers |= Qt::ControlModifier;
    return QTableView::moveCursor(action, modifiers);
}

void ElencoNomi::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    QTableView::selectionChanged(selected, deselected);
    Q_EMIT sceltaCambiata();
}

}  // namespace brenzola
