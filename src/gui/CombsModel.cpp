#include "CombsModel.h"

#include "app/Session.h"
#include "model/VexoUtils.h"

#include <QColor>

#include <algorithm>
#include <climits>

namespace kumby::gui {

namespace {

int RowsOf(const Session& session) {
    return static_cast<int>(std::min<std::size_t>(session.WorkingList().size(), INT_MAX));
}

} // namespace

TCombsModel::TCombsModel(const Session& session, QObject* parent)
    : QAbstractTableModel(parent), Session_(session), Rows_(RowsOf(session)) {}

int TCombsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Rows_;
}

int TCombsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TCombsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    // A long command may shrink the list before the view has caught up.
    const TCombsArray& list = Session_.WorkingList();
    const auto row = static_cast<std::size_t>(index.row());
    if (index.row() < 0 || row >= list.size())
        return {};
    const int column = index.column();
    const bool numberCell = column >= ColFirstNumber && column < ColFirstNumber + NumbersInDraw;

    switch (role) {
    case Qt::DisplayRole: {
        const TCombination& comb = list[row];
        if (column == ColIndex)
            return index.row() + 1;
        if (numberCell)
            return static_cast<int>(comb[column - ColFirstNumber]);
        if (column == ColSum) {
            int sum = 0;
            for (uint8_t n : comb)
                sum += n;
            return sum;
        }
        return {};
    }
    case Qt::BackgroundRole:
        if (numberCell && Session_.View().ColorCombs)
            return QColor::fromRgb(static_cast<QRgb>(
                NumberColour(list[row][column - ColFirstNumber], Session_.Config().ChannelSize)));
        return QColor(Qt::white);
    case Qt::ForegroundRole:
        // The cells are always painted light, whatever the desktop's colours.
        return QColor(Qt::black);
    case Qt::TextAlignmentRole:
        return QVariant(Qt::AlignCenter);
    default:
        return {};
    }
}

QVariant TCombsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section == ColIndex)
        return QStringLiteral("№ п.п.");
    if (section >= ColFirstNumber && section < ColFirstNumber + NumbersInDraw)
        return QString::number(section);
    if (section == ColSum)
        return QStringLiteral("S");
    return {};
}

void TCombsModel::Refresh() {
    const int rows = RowsOf(Session_);
    if (rows != Rows_) {
        beginResetModel();
        Rows_ = rows;
        endResetModel();
    } else if (Rows_ > 0) {
        emit dataChanged(index(0, 0), index(Rows_ - 1, ColumnCount - 1));
    }
}

} // namespace kumby::gui
