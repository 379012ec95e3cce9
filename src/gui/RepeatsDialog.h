#pragma once

// The dialog "Количество повторов в зависимости от тиража": per recent draw and per
// number of shared numbers, the earlier draws that share them, as a list and a chart.
// Its fields and the chart's height live in its own section of the view state file.

#include "views/RepeatsAnalysis.h"

#include <QDialog>

#include <vector>

class QAction;
class QSpinBox;
class QSplitter;
class QTableView;

namespace kumby {
class Session;
}

namespace kumby::gui {

class TRepeatsModel;
class TStatsChart;

class TRepeatsDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int DesignedChartHeight = 260;

    // Reads the stored fields and computes at once.
    TRepeatsDialog(Session& session, QWidget* parent = nullptr);

    QSpinBox* LengthEdit() const { return Length_; }
    QSpinBox* DepthEdit() const { return Depth_; }
    QTableView* List() const { return List_; }
    TStatsChart* Chart() const { return Chart_; }
    QAction* SaveChart;
    QAction* ExportList;
    const std::vector<TRepeatRow>& Rows() const;

    // "Рассчитать" and Enter in a field.
    void Calculate();
    // Stores the fields and the chart's height; also on closing.
    void done(int result) override;

private:
    void RestoreFields();
    void SaveFields();

    Session& Session_;
    QSpinBox* Length_;
    QSpinBox* Depth_;
    TRepeatsModel* Model_;
    QTableView* List_;
    TStatsChart* Chart_;
    QSplitter* Splitter_;
};

} // namespace kumby::gui
