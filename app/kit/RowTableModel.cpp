#include "app/kit/RowTableModel.h"

void TRowTableModelBase::applyOrder(const std::vector<uint32_t>& moves)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<uint32_t> order(moves.size());
    for (size_t i = 0; i < moves.size(); ++i)
        order[i] = m_order[moves[i]];
    m_order.swap(order);

    const QModelIndexList from = persistentIndexList();
    if (!from.isEmpty()) {
        std::vector<uint32_t> newRowOf(moves.size());
        for (uint32_t i = 0; i < moves.size(); ++i)
            newRowOf[moves[i]] = i;
        QModelIndexList to;
        to.reserve(from.size());
        for (const QModelIndex& index : from)
            to.append(index.isValid() ? createIndex(static_cast<int>(newRowOf[static_cast<size_t>(index.row())]),
                                            index.column())
                                      : QModelIndex());
        changePersistentIndexList(from, to);
    }
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
