#include "RegularsModel.h"

#include "app/Session.h"
#include "stakes/RegularStakes.h"

namespace kumby::gui {

TRegularsModel::TRegularsModel(Session& session, QObject* parent)
    : QAbstractTableModel(parent), Session_(session) {}

int TRegularsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(Session_.Regulars().size());
}

int TRegularsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : RegularsColumnCount;
}

QVariant TRegularsModel::data(const QModelIndex& index, int role) const {
    const auto& items = Session_.Regulars();
    if (!index.isValid() || static_cast<std::size_t>(index.row()) >= items.size())
        return {};
    if (role == Qt::TextAlignmentRole)
        return index.column() == 0 ? int(Qt::AlignLeft | Qt::AlignVCenter) : int(Qt::AlignCenter);
    if (role != Qt::DisplayRole)
        return {};
    const std::vector<std::string> cells = RegularCells(items[static_cast<std::size_t>(index.row())]);
    return QString::fromStdString(cells[static_cast<std::size_t>(index.column())]);
}

QVariant TRegularsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= RegularsColumnCount)
        return {};
    return QString::fromStdString(RegularsCaptions()[static_cast<std::size_t>(section)]);
}

void TRegularsModel::Refresh() {
    beginResetModel();
    endResetModel();
}

} // namespace kumby::gui
