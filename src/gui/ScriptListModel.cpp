#include "ScriptListModel.h"

#include "GuiText.h"
#include "app/Session.h"

namespace kumby::gui {

TScriptListModel::TScriptListModel(Session& session, QObject* parent)
    : QAbstractTableModel(parent), Session_(session) {}

int TScriptListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(Session_.Script().Count());
}

int TScriptListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2 + ScriptFilterSlots;
}

QVariant TScriptListModel::data(const QModelIndex& index, int role) const {
    // The tooltip shows a cell the column is too narrow for.
    if ((role != Qt::DisplayRole && role != Qt::ToolTipRole) || !index.isValid() ||
        static_cast<std::size_t>(index.row()) >= Session_.Script().Count())
        return {};
    // Parsed afresh: the list always shows the line as the runner would read it.
    const auto cells =
        ScriptRowCells(Session_.Script().Lines()[static_cast<std::size_t>(index.row())], Session_.Registry());
    return Q(cells[static_cast<std::size_t>(index.column())]);
}

QVariant TScriptListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount())
        return {};
    return Q(ScriptListCaptions()[static_cast<std::size_t>(section)]);
}

void TScriptListModel::Refresh() {
    beginResetModel();
    endResetModel();
}

} // namespace kumby::gui
