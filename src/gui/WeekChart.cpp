#include "WeekChart.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QGraphicsLayout>
#include <QImage>
#include <QLegend>
#include <QLineSeries>
#include <QPainter>
#include <QValueAxis>

#include <algorithm>

namespace kumby::gui {

namespace {

const QColor LineGreen(0, 128, 0);
const QColor MarkMagenta(255, 0, 255);

} // namespace

TWeekChart::TWeekChart(QWidget* parent) : QChartView(parent) {
    setRenderHint(QPainter::Antialiasing);
    chart()->legend()->setAlignment(Qt::AlignTop);
    chart()->setMargins(QMargins(4, 4, 4, 4));
    chart()->layout()->setContentsMargins(0, 0, 0, 0);
    chart()->setBackgroundRoundness(0);
}

int TWeekChart::SeriesCount() const {
    return static_cast<int>(chart()->series().size());
}

bool TWeekChart::ShowsLine() const {
    const QList<QAbstractSeries*> series = chart()->series();
    return !series.empty() && series.front()->type() == QAbstractSeries::SeriesTypeLine;
}

void TWeekChart::Clear() {
    QChart* c = chart();
    c->removeAllSeries();
    for (QAbstractAxis* axis : c->axes()) {
        c->removeAxis(axis);
        delete axis;
    }
}

void TWeekChart::Show(const QString& title, const QStringList& labels, const std::vector<int>& values,
                      bool line) {
    Clear();
    if (values.empty())
        return;
    QChart* c = chart();
    auto* axisX = new QBarCategoryAxis;
    axisX->append(labels);
    axisX->setGridLineVisible(false);
    // Room for 24 labels side by side.
    QFont small = axisX->labelsFont();
    small.setPointSizeF(std::max(6.0, small.pointSizeF() - 1));
    axisX->setLabelsFont(small);
    c->addAxis(axisX, Qt::AlignBottom);
    auto* axisY = new QValueAxis;
    const int largest = *std::max_element(values.begin(), values.end());
    axisY->setRange(0, std::max(1, largest));
    axisY->setLabelFormat(QStringLiteral("%.0f"));
    axisY->applyNiceNumbers();
    c->addAxis(axisY, Qt::AlignLeft);

    QAbstractSeries* series = nullptr;
    if (line) {
        auto* lineSeries = new QLineSeries;
        QPen pen(LineGreen);
        pen.setWidth(2);
        lineSeries->setPen(pen);
        for (std::size_t i = 0; i < values.size(); ++i)
            lineSeries->append(static_cast<double>(i), values[i]);
        QImage mark(3, 3, QImage::Format_ARGB32);
        mark.fill(MarkMagenta);
        lineSeries->setLightMarker(mark);
        lineSeries->setMarkerSize(3);
        lineSeries->setPointLabelsVisible(false);
        series = lineSeries;
    } else {
        auto* set = new QBarSet(title);
        set->setColor(LineGreen);
        set->setBorderColor(LineGreen);
        for (int v : values)
            *set << v;
        auto* bars = new QBarSeries;
        bars->append(set);
        bars->setLabelsVisible(false);
        series = bars;
    }
    series->setName(title);
    c->addSeries(series);
    series->attachAxis(axisX);
    series->attachAxis(axisY);
}

} // namespace kumby::gui
