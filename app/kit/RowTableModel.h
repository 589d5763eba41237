#pragma once
// TRowTableModel: the model of every big result grid. It owns compact rows,
// takes them a batch at a time (one beginInsertRows per batch, so a million
// rows arrive without freezing the window) and formats a cell only when the
// view asks for it. Rows stay where they were appended; the grid shows them
// through an order permutation, and sorting replaces only that permutation,
// ordered by keys computed once per sort. A column descriptor per grid says
// what each column shows and how it sorts.

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include <QAbstractTableModel>
#include <QString>

#include "app/kit/RowOrder.h"

// How a column sorts, as the grid's users see it.
enum class TSortKind { Text, Number, Date };

template <typename Row>
struct TRowColumn {
    QString header;
    TSortKind kind = TSortKind::Text;
    // The cell's alignment; 0 leaves it to the view.
    Qt::Alignment alignment = {};
    std::function<QString(const Row&)> text;
    // The sort key: exactly one of these is set. textKey sorts by folded
    // text; numberKey by a number (sizes, dates, packed letters); groupKey by
    // the folded text of an entry in a table of shared texts (e.g. folders),
    // whose table groups() gives.
    std::function<const std::string&(const Row&)> textKey;
    std::function<double(const Row&)> numberKey;
    std::function<uint32_t(const Row&)> groupKey;
    std::function<const std::vector<std::string>&()> groups;
    // The cell's background (e.g. a group colour); unset: the view's.
    std::function<QVariant(const Row&)> background;
};

// The permutation and the parts of the model that do not depend on the row.
class TRowTableModelBase : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_order.size());
    }

    // Takes grid row row out of the grid (its record stays stored until the
    // rows are cleared, so the stored positions of the others hold).
    void removeGridRow(int row)
    {
        if (row < 0 || row >= rowCount())
            return;
        beginRemoveRows(QModelIndex(), row, row);
        m_order.erase(m_order.begin() + row);
        endRemoveRows();
    }

protected:
    // The stored position of grid row row.
    uint32_t storedAt(int row) const { return m_order.at(static_cast<size_t>(row)); }
    // Shows the rows so that new grid row i is present grid row moves[i],
    // keeping the view's persistent indexes (the selection) on their rows.
    void applyOrder(const std::vector<uint32_t>& moves);

    std::vector<uint32_t> m_order;
};

template <typename Row>
class TRowTableModel : public TRowTableModelBase {
public:
    TRowTableModel(std::vector<TRowColumn<Row>> columns, QObject* parent = nullptr)
        : TRowTableModelBase(parent), m_columns(std::move(columns))
    {
    }

    int columnCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
    }

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override
    {
        if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
            return {};
        const TRowColumn<Row>& column = m_columns[static_cast<size_t>(index.column())];
        if (role == Qt::DisplayRole)
            return column.text(rowAt(index.row()));
        if (role == Qt::TextAlignmentRole && column.alignment != Qt::Alignment())
            return QVariant(column.alignment);
        if (role == Qt::BackgroundRole && column.background)
            return column.background(rowAt(index.row()));
        return {};
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < columnCount())
            return m_columns[static_cast<size_t>(section)].header;
        return QAbstractTableModel::headerData(section, orientation, role);
    }

    // Sorts by the column's key; equal keys keep their present order.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override
    {
        if (column < 0 || column >= columnCount() || m_order.size() < 2)
            return;
        const TRowColumn<Row>& descriptor = m_columns[static_cast<size_t>(column)];
        // Keys in present grid order, so that equal keys keep their order.
        const size_t n = m_order.size();
        std::vector<uint32_t> moves;
        if (descriptor.numberKey) {
            std::vector<double> keys(n);
            for (size_t i = 0; i < n; ++i)
                keys[i] = descriptor.numberKey(m_rows[m_order[i]]);
            moves = kit::orderByNumbers(keys, order);
        } else if (descriptor.groupKey) {
            // Rank the shared texts once; each row then sorts by its rank.
            const std::vector<uint32_t> rank = kit::rankTexts(descriptor.groups());
            std::vector<uint32_t> keys(n);
            for (size_t i = 0; i < n; ++i)
                keys[i] = rank[descriptor.groupKey(m_rows[m_order[i]])];
            moves = kit::orderByNumbers(keys, order);
        } else {
            std::vector<const std::string*> texts(n);
            for (size_t i = 0; i < n; ++i)
                texts[i] = &descriptor.textKey(m_rows[m_order[i]]);
            moves = kit::orderByText(texts, order);
        }
        applyOrder(moves);
    }

    const TRowColumn<Row>& columnAt(int column) const { return m_columns.at(static_cast<size_t>(column)); }
    // The row shown at grid row row.
    const Row& rowAt(int row) const { return m_rows[storedAt(row)]; }
    // The cell text as the grid shows it.
    QString cellText(int row, int column) const { return columnAt(column).text(rowAt(row)); }

    // Appends rows at the end, in order, as one insertion.
    void appendRows(std::vector<Row>&& rows)
    {
        if (rows.empty())
            return;
        const int first = rowCount();
        beginInsertRows(QModelIndex(), first, first + static_cast<int>(rows.size()) - 1);
        for (Row& row : rows) {
            m_order.push_back(static_cast<uint32_t>(m_rows.size()));
            m_rows.push_back(std::move(row));
        }
        endInsertRows();
    }

    // Removes every row; clearShared (when set) empties the tables the rows
    // refer to inside the same reset.
    void clearRows(const std::function<void()>& clearShared = {})
    {
        beginResetModel();
        m_rows.clear();
        m_rows.shrink_to_fit();
        m_order.clear();
        m_order.shrink_to_fit();
        if (clearShared)
            clearShared();
        endResetModel();
    }

    bool empty() const { return m_rows.empty(); }

private:
    std::vector<TRowColumn<Row>> m_columns;
    std::deque<Row> m_rows;  // grows without moving the rows already held
};
