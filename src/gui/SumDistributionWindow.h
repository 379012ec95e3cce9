#pragma once

// The modal chart of the draws' sums against the sums of all combinations.

#include "views/SumDistribution.h"

#include <QDialog>

class QAction;

namespace kumby {
class IUserInterface;
}

namespace kumby::gui {

class TStatsChart;

class TSumDistributionWindow : public QDialog {
    Q_OBJECT
public:
    // A failed save of the chart is reported through `ui`.
    TSumDistributionWindow(const TSumDistribution& distribution, IUserInterface& ui,
                           QWidget* parent = nullptr);

    TStatsChart* Chart() const { return Chart_; }
    QAction* SaveChart;

private:
    TStatsChart* Chart_;
};

} // namespace kumby::gui
