#pragma once
// The rows of the Seeker's result grid: compact records of the matches (name
// and folder bytes, attribute word, size, modified time) on the kit's row
// model, which formats the five cells only when the view asks for them.

#include <cstdint>
#include <string>
#include <vector>

#include "app/kit/RowTableModel.h"
#include "platform/DateTime.h"
#include "search/FileDetails.h"

struct TSeekerGridRow {
    std::string name;
    uint32_t location = 0;  // index into the model's folder table
    uint32_t attributes = 0;
    int64_t size = 0;
    korvala::TDateTime modified = 0;
};

class TSeekerResultModel : public TRowTableModel<TSeekerGridRow> {
    Q_OBJECT

public:
    // The columns of nxResult.
    enum Column { clFilename = 0, clSize = 1, clAttr = 2, clMod = 3, clLoc = 4, ColumnCount = 5 };
    using SortKind = TSortKind;

    explicit TSeekerResultModel(QObject* parent = nullptr);

    static SortKind sortKindOf(int column);

    // Appends one batch of matches as new rows at the end, in order.
    void appendBatch(const std::vector<korvala::TFileDetails>& batch);
    // Removes every row.
    void clear();

    // The row's name and folder as bytes (the folder ends in "/").
    const std::string& nameAt(int row) const { return rowAt(row).name; }
    const std::string& locationAt(int row) const { return m_locations[rowAt(row).location]; }
    std::string pathAt(int row) const { return locationAt(row) + nameAt(row); }

private:
    // The folders of the rows; matches arrive folder by folder, so one entry
    // serves a run of rows.
    std::vector<std::string> m_locations;
};
