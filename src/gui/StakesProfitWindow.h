#pragma once

// The chart of the stakes' profit by draw: per draw, the mean and the running total.

#include "model/Records.h"

#include <QDialog>

namespace kumby::gui {

class TStatsChart;

class TStakesProfitWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* Title = "График суммарного профита ставок по тиражам";

    TStakesProfitWindow(const TProfitDrawArray& list, QWidget* parent = nullptr);

    TStatsChart* Chart() const { return Chart_; }

private:
    TStatsChart* Chart_;
};

} // namespace kumby::gui
