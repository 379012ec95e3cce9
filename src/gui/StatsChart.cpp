#include "StatsChart.h"

#include "GuiText.h"
#include "stats/StatTable.h"

#include <QCategoryAxis>
#include <QChart>
#include <QGraphicsLayout>
#include <QImage>
#include <QLegend>
#include <QLineSeries>
#include <QPainter>
#include <QSet>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <map>

namespace kumby::gui {

namespace {

QColor Rgb(TColour colour) {
    return QColor::fromRgb(static_cast<QRgb>(colour));
}

// A marker "size" is the distance from the point to the marker's edge.
int MarkerPixels(int size) {
    return 2 * std::max(0, size) + 1;
}

QImage MarkerImage(const TChartSeries& s) {
    const int side = MarkerPixels(s.MarkerSize);
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(Rgb(s.LineColour));
    QPainter painter(&image);
    painter.setPen(Rgb(s.MarkerOutline));
    painter.drawRect(0, 0, side - 1, side - 1);
    return image;
}

} // namespace

TStatsChart::TStatsChart(QWidget* parent) : QChartView(parent) {
    setRenderHint(QPainter::Antialiasing);
    chart()->legend()->setAlignment(Qt::AlignTop);
    chart()->setMargins(QMargins(4, 4, 4, 4));
    chart()->layout()->setContentsMargins(0, 0, 0, 0);
    chart()->setBackgroundRoundness(0);
}

int TStatsChart::SeriesCount() const {
    return static_cast<int>(chart()->series().size());
}

void TStatsChart::Clear() {
    QChart* c = chart();
    c->removeAllSeries();
    for (QAbstractAxis* axis : c->axes()) {
        c->removeAxis(axis);
        delete axis;
    }
}

void TStatsChart::Show(const std::vector<TChartSeries>& series) {
    Clear();
    if (series.empty())
        return;
    QChart* c = chart();

    // One label per x position, whichever series brings it.
    std::map<double, QString> labels;
    double minY = 0, maxY = 0;
    for (const TChartSeries& s : series)
        for (const TChartPoint& p : s.Points) {
            labels.emplace(p.X, Q(p.Label));
            maxY = std::max(maxY, p.Y);
            minY = std::min(minY, p.Y);
        }

    auto* axisX = new QCategoryAxis;
    axisX->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    const int step = std::max<int>(1, static_cast<int>((labels.size() + MaxAxisLabels - 1) / MaxAxisLabels));
    QSet<QString> used;
    int k = 0;
    for (const auto& [x, label] : labels) {
        // The axis needs distinct labels; a repeated text keeps its first place.
        if (k++ % step == 0 && !used.contains(label)) {
            axisX->append(label, x);
            used.insert(label);
        }
    }
    if (!labels.empty()) {
        const double first = labels.begin()->first, last = labels.rbegin()->first;
        axisX->setRange(first - 0.5, last + 0.5);
    }
    axisX->setGridLineVisible(false);
    c->addAxis(axisX, Qt::AlignBottom);

    auto* axisY = new QValueAxis;
    axisY->setRange(minY, maxY > minY ? maxY * 1.05 : minY + 1);
    axisY->setLabelFormat(QStringLiteral("%.0f"));
    axisY->applyNiceNumbers();
    c->addAxis(axisY, Qt::AlignLeft);

    for (const TChartSeries& s : series) {
        auto* line = new QLineSeries;
        line->setName(Q(s.Title));
        QPen pen(Rgb(s.LineColour));
        pen.setWidth(s.LineWidth);
        line->setPen(pen);
        for (const TChartPoint& p : s.Points)
            line->append(p.X, p.Y);
        if (s.MarkersVisible) {
            line->setLightMarker(MarkerImage(s));
            line->setMarkerSize(MarkerPixels(s.MarkerSize));
        }
        line->setPointLabelsVisible(false);
        c->addSeries(line);
        line->attachAxis(axisX);
        line->attachAxis(axisY);
    }
}

} // namespace kumby::gui
