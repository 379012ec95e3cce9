#pragma once

// The chart under the statistics table: one line per series of the table, the
// values' texts as the labels of the horizontal axis.

#include <QChartView>

#include <vector>

namespace kumby {
struct TChartSeries;
}

namespace kumby::gui {

class TStatsChart : public QChartView {
    Q_OBJECT
public:
    // Horizontal labels beyond this many are thinned out so that they stay legible.
    static constexpr int MaxAxisLabels = 40;

    explicit TStatsChart(QWidget* parent = nullptr);

    void Show(const std::vector<TChartSeries>& series);
    void Clear();
    int SeriesCount() const;
};

} // namespace kumby::gui
