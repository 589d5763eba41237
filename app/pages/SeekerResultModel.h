#pragma once
// The rows of the Seeker's result grid. The model owns compact records of the
// matches (name and folder bytes, attribute word, size, modified time) and
// formats the five cells only when the view asks for them, so a million rows
// cost little memory and appending a batch is one beginInsertRows. The rows
// stay where they were appended; the grid shows them through an order
// permutation, and sorting replaces only that permutation, ordered by keys
// computed once per sort (folded text prefixes, byte size, time value).

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include <QAbstractTableModel>

#include "platform/DateTime.h"
#include "search/FileDetails.h"

class TSeekerResultModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // The columns of nxResult.
    enum Column { clFilename = 0, clSize = 1, clAttr = 2, clMod = 3, clLoc = 4, ColumnCount = 5 };
    enum class SortKind { Text, Number, Date };

    explicit TSeekerResultModel(QObject* parent = nullptr);

    static SortKind sortKindOf(int column);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // Sorts by the column's kind; equal keys keep their present order.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    // Appends one batch of matches as new rows at the end, in order.
    void appendBatch(const std::vector<korvala::TFileDetails>& batch);
    // Removes every row.
    void clear();

    // The cell text as the grid shows it.
    QString cellText(int row, int column) const;
    // The row's name and folder as bytes (the folder ends in "/").
    const std::string& nameAt(int row) const;
    const std::string& locationAt(int row) const;
    std::string pathAt(int row) const { return locationAt(row) + nameAt(row); }

private:
    struct Row {
        std::string name;
        uint32_t location = 0;  // index into m_locations
        uint32_t attributes = 0;
        int64_t size = 0;
        korvala::TDateTime modified = 0;
    };

    const Row& rowAt(int row) const { return m_rows[m_order.at(static_cast<size_t>(row))]; }
    // Shows the rows so that new grid row i is present grid row moves[i],
    // keeping the view's persistent indexes (the selection) on their rows.
    void applyOrder(const std::vector<uint32_t>& moves);

    // The rows in the order found, and the grid's order of them.
    std::deque<Row> m_rows;  // grows without moving the rows already held
    std::vector<uint32_t> m_order;
    // The folders of the rows; matches arrive folder by folder, so one entry
    // serves a run of rows.
    std::vector<std::string> m_locations;
};
