#include "app/kit/ResultGrid.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QTableView>

namespace kit {

QTableView* resultGrid(QWidget* parent, const char* name, QAbstractItemModel* model,
    QAbstractItemView::SelectionMode selection)
{
    auto* grid = new QTableView(parent);
    grid->setObjectName(QString::fromLatin1(name));
    grid->setModel(model);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(selection);
    grid->setShowGrid(true);
    grid->setWordWrap(false);
    grid->setSortingEnabled(false);
    // Fixed row heights keep a million rows cheap to lay out and scroll.
    QHeaderView* rows = grid->verticalHeader();
    rows->setVisible(false);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    QHeaderView* columns = grid->horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setSectionsClickable(true);
    columns->setSortIndicatorShown(true);
    columns->setSortIndicator(-1, Qt::AscendingOrder);
    columns->setHighlightSections(false);
    return grid;
}

void TGridSort::toggle(QTableView* grid, int column)
{
    const Qt::SortOrder order =
        (column == m_column && m_order == Qt::AscendingOrder) ? Qt::DescendingOrder : Qt::AscendingOrder;
    grid->model()->sort(column, order);
    m_column = column;
    m_order = order;
    grid->horizontalHeader()->setSortIndicator(column, order);
}

void TGridSort::restoreIndicator(QTableView* grid) const
{
    grid->horizontalHeader()->setSortIndicator(m_column, m_order);
}

void TGridSort::reset(QTableView* grid)
{
    m_column = -1;
    grid->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
}

}  // namespace kit
