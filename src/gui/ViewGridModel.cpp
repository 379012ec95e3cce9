#include "ViewGridModel.h"

#include "GuiText.h"

#include <QBrush>
#include <QColor>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>

#include <algorithm>

namespace kumby::gui {

TViewGridModel::TViewGridModel(TSource source, Qt::Alignment alignment, QObject* parent)
    : QAbstractTableModel(parent), Source_(std::move(source)), Alignment_(alignment) {}

int TViewGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max(0, Source_.RowCount() - 1);
}

int TViewGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max(0, Source_.ColCount() - 1);
}

QVariant TViewGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const TGridCell cell = Cell(index);
    switch (role) {
    case Qt::DisplayRole:
        return Q(Source_.Text(cell.Row, cell.Col));
    case Qt::BackgroundRole:
        if (const std::optional<TColour> colour = Source_.Colour(cell.Row, cell.Col))
            return QBrush(QColor::fromRgb(static_cast<QRgb>(*colour)));
        return {};
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Alignment_);
    default:
        return {};
    }
}

QVariant TViewGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return orientation == Qt::Horizontal ? Q(Source_.Text(0, section + 1)) : Q(Source_.Text(section + 1, 0));
}

void TViewGridModel::Reset() {
    beginResetModel();
    endResetModel();
}

void TViewGridModel::Repaint() {
    if (rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::BackgroundRole});
}

void SetUpGridView(QTableView& view) {
    view.setSelectionBehavior(QAbstractItemView::SelectItems);
    view.setSelectionMode(QAbstractItemView::ExtendedSelection);
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    view.setWordWrap(false);
    // Fixed row heights: the card has a row per draw and is never measured row by row.
    QHeaderView* rows = view.verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(view.fontMetrics().height() + 6);
    rows->setDefaultAlignment(Qt::AlignCenter);
    view.horizontalHeader()->setHighlightSections(true);
}

std::vector<TGridCell> SelectedCells(const QTableView& view) {
    std::vector<TGridCell> cells;
    for (const QModelIndex& index : view.selectionModel()->selectedIndexes())
        cells.push_back(TViewGridModel::Cell(index));
    std::sort(cells.begin(), cells.end(), [](const TGridCell& a, const TGridCell& b) {
        return std::pair(a.Row, a.Col) < std::pair(b.Row, b.Col);
    });
    return cells;
}

void FitGridColumns(QTableView& view, int minimum) {
    const QAbstractItemModel& model = *view.model();
    const QFontMetrics metrics = view.fontMetrics();
    for (int c = 0; c < model.columnCount(); ++c) {
        int width = std::max(minimum, view.horizontalHeader()->fontMetrics().horizontalAdvance(
                                          model.headerData(c, Qt::Horizontal).toString()) +
                                          10);
        for (int r = 0; r < model.rowCount(); ++r)
            width = std::max(width, metrics.horizontalAdvance(model.data(model.index(r, c)).toString()) + 10);
        view.setColumnWidth(c, width);
    }
}

} // namespace kumby::gui
