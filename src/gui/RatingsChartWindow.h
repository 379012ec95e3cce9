#pragma once

// The rating charts: the match counts of the selected sources against the expected
// distribution, or their matches or profits draw by draw.

#include "stakes/RatingsCharts.h"

#include <QDialog>

#include <vector>

namespace kumby {
struct TChartSeries;
}

namespace kumby::gui {

class TStatsChart;

// The chart lines of the series: the expected distribution in grey, the sources in
// colours of their own, every point labelled by its x value.
std::vector<TChartSeries> RatingsChartLines(const std::vector<TRatingsSeries>& series);

class TRatingsChartWindow : public QDialog {
    Q_OBJECT
public:
    TRatingsChartWindow(const QString& title, const std::vector<TRatingsSeries>& series,
                        QWidget* parent = nullptr);

    TStatsChart* Chart() const { return Chart_; }

private:
    TStatsChart* Chart_;
};

} // namespace kumby::gui
