#pragma once

// The chart under the statistics table: one line per series of the table, the
// values' texts as the labels of the horizontal axis.

#include <QChartView>

#include <map>
#include <vector>

class QCategoryAxis;

namespace kumby {
struct TChartSeries;
}

namespace kumby::gui {

class TStatsChart : public QChartView {
    Q_OBJECT
public:
    explicit TStatsChart(QWidget* parent = nullptr);

    void Show(const std::vector<TChartSeries>& series);
    void Clear();
    int SeriesCount() const;
    // The legend below the chart across its whole width: at the chart's side the
    // legend gets less than half the width and cuts long titles.
    void PutLegendBelow();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Puts as many value labels under the points as fit side by side.
    void LayOutAxisLabels();
    void PlaceLegend();

    QCategoryAxis* AxisX_ = nullptr;
    bool LegendBelow_ = false;
    std::map<double, QString> Labels_; // one label per x position
};

} // namespace kumby::gui
