#pragma once

#include "store/indicenomi.h"

#include <QAbstractTableModel>
#include <QTableView>

#include <vector>

namespace brenzola {

// The entries a list shows: places in the names index, in list order.
class ModelloElenco : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit ModelloElenco(const IndiceNomi& indice, QObject* parent = nullptr);
    void mostra(std::vector<IndiceNomi::Voce> voci);
    const std::vector<IndiceNomi::Voce>& voci() const { return voci_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // The column's title, which screen readers say (the view shows no header); rows have no number.
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    const IndiceNomi& indice_;
    std::vector<IndiceNomi::Voce> voci_;
};

// A single-selection list of names that stays quick at a million entries: a view over a
// model, one line per entry, whose layout costs nothing however long the list is.
class ElencoNomi : public QTableView {
    Q_OBJECT

public:
    ElencoNomi(const IndiceNomi& indice, QWidget* parent = nullptr);

    void mostra(std::vector<IndiceNomi::Voce> voci);
    const std::vector<IndiceNomi::Voce>& voci() const { return modello_->voci(); }
    int count() const;
    QString text(int row) const;
    // The entry's contact key.
    qint64 chiave(int row) const;
    // The row holding that contact, or -1.
    int rigaDi(qint64 chiave) const;
    int selectedRow() const;  // -1: none
    int currentRow() const;
    // Makes `row` the current and only selected entry.
    void setCurrentRow(int row);
    void scrollToRow(int row);
    QRect rowRect(int row) const;

Q_SIGNALS:
    // The selection changed (by the user or by code), as a list box tells it.
    void sceltaCambiata();

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;

private:
    const IndiceNomi& indice_;
    ModelloElenco* modello_;
};

}  // namespace brenzola
