#pragma once

// The model of a view's grid (card, layout, weekday): row 0 and column 0 of the
// grid are the headers, the other cells the items; the background comes from the
// view's colouring.

#include "model/VexoUtils.h"
#include "views/ViewGrid.h"

#include <QAbstractTableModel>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QTableView;

namespace kumby::gui {

class TViewGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct TSource {
        std::function<int()> RowCount; // with the header row
        std::function<int()> ColCount; // with the header column
        std::function<std::string(int, int)> Text;
        std::function<std::optional<TColour>(int, int)> Colour;
    };

    TViewGridModel(TSource source, Qt::Alignment alignment, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The grid was built anew.
    void Reset();
    // Only the colours changed.
    void Repaint();

    static TGridCell Cell(const QModelIndex& index) { return {index.row() + 1, index.column() + 1}; }

private:
    TSource Source_;
    Qt::Alignment Alignment_;
};

// A grid of cells, any of which may be selected.
void SetUpGridView(QTableView& view);
// The selected cells in grid coordinates, row by row.
std::vector<TGridCell> SelectedCells(const QTableView& view);
// Columns wide enough for their widest text plus 10 pixels, at least `minimum`.
void FitGridColumns(QTableView& view, int minimum);

} // namespace kumby::gui
