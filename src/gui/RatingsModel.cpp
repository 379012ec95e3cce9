#include "RatingsModel.h"

#include "GuiText.h"
#include "app/Session.h"

namespace kumby::gui {

TRatingsModel::TRatingsModel(Session& session, QObject* parent)
    : QAbstractTableModel(parent), Session_(session) {
    Rows_ = static_cast<int>(Session_.Ratings().Count());
    EffMode_ = Session_.RatingsEffMode();
}

int TRatingsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Rows_;
}

int TRatingsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : RatingsColumnCount;
}

const TRatingCells& TRatingsModel::RowCells(int row) const {
    if (row != CachedRow_) {
        Cached_ = RatingCells(Session_.Ratings().Items()[static_cast<std::size_t>(row)], EffMode_);
        CachedRow_ = row;
    }
    return Cached_;
}

QVariant TRatingsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= Rows_ ||
        static_cast<std::size_t>(index.row()) >= Session_.Ratings().Count())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return Q(RowCells(index.row())[static_cast<std::size_t>(index.column())]);
    case Qt::TextAlignmentRole:
        return index.column() == 0 ? int(Qt::AlignLeft | Qt::AlignVCenter)
                                   : int(Qt::AlignRight | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant TRatingsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= RatingsColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return Q(RatingsCaptions()[static_cast<std::size_t>(section)]);
    // The first click on a number column puts the best sources first.
    if (role == Qt::InitialSortOrderRole)
        return int(section == 0 ? Qt::AscendingOrder : Qt::DescendingOrder);
    return {};
}

void TRatingsModel::sort(int column, Qt::SortOrder order) {
    const bool descending = order == Qt::DescendingOrder;
    if (column < 0 || column >= RatingsColumnCount ||
        (column == Session_.RatingsSortColumn() && descending == Session_.RatingsSortDescending()))
        return;
    Session_.RatingsSort(column, descending);
}

void TRatingsModel::Refresh() {
    beginResetModel();
    Rows_ = static_cast<int>(Session_.Ratings().Count());
    EffMode_ = Session_.RatingsEffMode();
    CachedRow_ = -1;
    endResetModel();
}

} // namespace kumby::gui
