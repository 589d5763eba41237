#pragma once
// The big result grids (Seeker, Duplicate Finder): a read-only table view
// over a row model that selects whole rows, keeps row heights fixed so that a
// million rows stay cheap, and sorts when the page says so on a header click.

#include <QAbstractItemView>
#include <QtGlobal>

class QAbstractItemModel;
class QTableView;
class QWidget;

namespace kit {

QTableView* resultGrid(QWidget* parent, const char* name, QAbstractItemModel* model,
    QAbstractItemView::SelectionMode selection);

// The column a grid is sorted by, as its header shows it.
class TGridSort {
public:
    // A header click: sorts the column ascending, or descending when it was
    // sorted ascending already, and shows that in the header.
    void toggle(QTableView* grid, int column);
    // Shows the present sort again (a click that was refused flipped the arrow).
    void restoreIndicator(QTableView* grid) const;
    // New rows in their own order: no column is sorted.
    void reset(QTableView* grid);

private:
    int m_column = -1;
    Qt::SortOrder m_order = Qt::AscendingOrder;
};

}  // namespace kit
