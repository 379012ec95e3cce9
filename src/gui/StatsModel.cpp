#include "StatsModel.h"

#include "GuiText.h"
#include "app/Session.h"

#include <cstdint>
#include <vector>

namespace kumby::gui {

TStatsModel::TStatsModel(Session& session, QObject* parent)
    : QAbstractTableModel(parent), Session_(session),
      Rows_(static_cast<int>(session.LastStatTable().Order.size())) {}

int TStatsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Rows_;
}

int TStatsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : StatColumnCount;
}

QVariant TStatsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.column() < 0 || index.column() >= StatColumnCount)
        return {};
    switch (role) {
    case Qt::DisplayRole: {
        // The table may have been replaced under a view that has not caught up yet.
        const TStatTable& table = Session_.LastStatTable();
        const auto row = static_cast<std::size_t>(index.row());
        if (index.row() < 0 || row >= table.Order.size() || table.Order[row] >= table.Rows.size())
            return {};
        return Q(table.DisplayText(row, index.column()));
    }
    case Qt::TextAlignmentRole:
        return index.column() == StatColValue ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                              : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant TStatsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= StatColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromUtf8(StatColumnCaptions()[section]);
    case Qt::InitialSortOrderRole:
        // A newly clicked column starts ascending.
        return static_cast<int>(Qt::AscendingOrder);
    case Qt::TextAlignmentRole:
        return section == StatColValue ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                       : QVariant(Qt::AlignCenter);
    default:
        return QAbstractTableModel::headerData(section, orientation, role);
    }
}

void TStatsModel::sort(int column, Qt::SortOrder order) {
    if (column < -1 || column >= StatColumnCount)
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // Selected rows follow their values to the new places.
    const QModelIndexList before = persistentIndexList();
    std::vector<std::size_t> rowIds;
    rowIds.reserve(before.size());
    const std::vector<std::size_t>& oldOrder = Session_.LastStatTable().Order;
    for (const QModelIndex& i : before)
        rowIds.push_back(static_cast<std::size_t>(i.row()) < oldOrder.size() ? oldOrder[i.row()] : SIZE_MAX);

    Session_.SortStatTable(column, order == Qt::DescendingOrder);

    const std::vector<std::size_t>& newOrder = Session_.LastStatTable().Order;
    std::vector<int> positions(Session_.LastStatTable().Rows.size(), -1);
    for (std::size_t r = 0; r < newOrder.size(); ++r)
        if (newOrder[r] < positions.size())
            positions[newOrder[r]] = static_cast<int>(r);
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype k = 0; k < before.size(); ++k) {
        const int row = rowIds[k] < positions.size() ? positions[rowIds[k]] : -1;
        after.push_back(row >= 0 ? index(row, before[k].column()) : QModelIndex());
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void TStatsModel::Refresh() {
    beginResetModel();
    Rows_ = static_cast<int>(Session_.LastStatTable().Order.size());
    endResetModel();
}

} // namespace kumby::gui
