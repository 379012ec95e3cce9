#pragma once

// The chart under the weekday grid: the counts of one number over the days or of
// one day over the numbers, as a line with point marks or as bars.

#include <QChartView>
#include <QStringList>

#include <vector>

namespace kumby::gui {

class TWeekChart : public QChartView {
    Q_OBJECT
public:
    explicit TWeekChart(QWidget* parent = nullptr);

    // Nothing for no values.
    void Show(const QString& title, const QStringList& labels, const std::vector<int>& values, bool line);
    void Clear();
    int SeriesCount() const;
    // Whether the chart shows a line (else bars).
    bool ShowsLine() const;
};

} // namespace kumby::gui
