#pragma once

// "Подробная информация": the properties of a draw (or of a combination) and its
// numbers on a card laid out as a matrix.

#include "model/Records.h"

#include <QDialog>

#include <string>
#include <utility>
#include <vector>

class QSpinBox;
class QTableWidget;

namespace kumby {
class TStatList;
}

namespace kumby::gui {

struct TDetailsContent {
    // Caption and value of each property row, in order.
    std::vector<std::pair<std::string, std::string>> Properties;
    TCombination Numbers{};
};

// The property rows of a draw: its number and date come first.
TDetailsContent DrawDetailsContent(const TDrawRecord& draw);
// One row per chart method of the statistics list: its name and the chart value of
// `numbers` (sorted first when `sorted`), measured at draw `drawIdx` of the archive.
void AddChartValueRows(TDetailsContent& content, const TStatList& registry, const TCombination& numbers,
                       int drawIdx, int lastIdx, bool sorted);
// Draw `index` of the registry's archive: number, date and the chart values.
TDetailsContent DrawDetailsContent(const TStatList& registry, int index, bool sorted);
// A combination of the working list: no number or date; its chart values are those
// it would have as the draw after the newest one at the offset.
TDetailsContent CombinationDetailsContent(const TStatList& registry, const TCombination& comb, int offset,
                                          bool sorted);

class TDrawDetailsWindow : public QDialog {
    Q_OBJECT
public:
    TDrawDetailsWindow(const TDetailsContent& content, const TConfigData& config, QWidget* parent = nullptr);

    QTableWidget* Properties() const { return Properties_; }
    QTableWidget* Card() const { return Card_; }
    QSpinBox* ColumnsEdit() const { return Columns_; }

private:
    void LayOutCard();

    TCombination Numbers_;
    int ChannelSize_;
    QTableWidget* Properties_;
    QSpinBox* Columns_;
    QTableWidget* Card_;
};

} // namespace kumby::gui
