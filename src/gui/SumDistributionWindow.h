#pragma once

// The modal chart of the draws' sums against the sums of all combinations.

#include "views/SumDistribution.h"

#include <QDialog>

namespace kumby::gui {

class TStatsChart;

class TSumDistributionWindow : public QDialog {
    Q_OBJECT
public:
    explicit TSumDistributionWindow(const TSumDistribution& distribution, QWidget* parent = nullptr);

    TStatsChart* Chart() const { return Chart_; }

private:
    TStatsChart* Chart_;
};

} // namespace kumby::gui
