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
    image.fill(Rgb(s.MarkerFill == LineColourFill ? s.LineColour : s.MarkerFill));
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
    AxisX_ = nullptr;
    Labels_.clear();
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
    double minY = 0, maxY = 0;
    for (const TChartSeries& s : series)
        for (const TChartPoint& p : s.Points) {
            Labels_.emplace(p.X, Q(p.Label));
            maxY = std::max(maxY, p.Y);
            minY = std::min(minY, p.Y);
        }

    AxisX_ = new QCategoryAxis;
    AxisX_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    if (!Labels_.empty())
        AxisX_->setRange(Labels_.begin()->first - 0.5, Labels_.rbegin()->first + 0.5);
    AxisX_->setGridLineVisible(false);
    c->addAxis(AxisX_, Qt::AlignBottom);
    LayOutAxisLabels();

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
        line->setPointLabelsFormat(QStringLiteral("@yPoint"));
        line->setPointLabelsClipping(false);
        line->setPointLabelsVisible(s.ValueMarksVisible);
        c->addSeries(line);
        line->attachAxis(AxisX_);
        line->attachAxis(axisY);
    }
    PlaceLegend();
}

void TStatsChart::PutLegendBelow() {
    LegendBelow_ = true;
    QLegend* legend = chart()->legend();
    legend->setAlignment(Qt::AlignBottom);
    legend->detachFromChart();
    legend->setBackgroundVisible(false);
    PlaceLegend();
}

void TStatsChart::PlaceLegend() {
    if (!LegendBelow_)
        return;
    QLegend* legend = chart()->legend();
    const qreal height = legend->effectiveSizeHint(Qt::PreferredSize).height();
    QMargins margins = chart()->margins();
    margins.setBottom(static_cast<int>(std::ceil(height)) + 4);
    chart()->setMargins(margins);
    const QSizeF size = chart()->size();
    legend->setGeometry(QRectF(8, size.height() - height - 2, std::max(0.0, size.width() - 16), height));
    legend->update();
}

void TStatsChart::LayOutAxisLabels() {
    if (!AxisX_)
        return;
    for (const QString& label : AxisX_->categoriesLabels())
        AxisX_->remove(label);
    if (Labels_.empty())
        return;
    const QFontMetrics metrics(AxisX_->labelsFont());
    int widest = 0;
    for (const auto& [x, label] : Labels_)
        widest = std::max(widest, metrics.horizontalAdvance(label));
    const QRectF plot = chart()->plotArea();
    const int room = plot.width() > 0 ? static_cast<int>(plot.width()) : std::max(100, width() - 80);
    // The axis gives each label an equal share of its width, counting one share more
    // than there are labels.
    const int fitting = std::max(1, room / (widest + 16) - 1);
    const std::size_t step = (Labels_.size() + fitting - 1) / fitting;
    QSet<QString> used;
    std::size_t k = 0;
    for (const auto& [x, label] : Labels_) {
        // Thinned labels keep off the ends, where a long one would not fit; the axis
        // needs distinct labels, so a repeated text keeps its first place.
        if (k++ % step == step / 2 && !used.contains(label)) {
            AxisX_->append(label, x);
            used.insert(label);
        }
    }
    AxisX_->setRange(Labels_.begin()->first - 0.5, Labels_.rbegin()->first + 0.5);
}

void TStatsChart::resizeEvent(QResizeEvent* event) {
    QChartView::resizeEvent(event);
    PlaceLegend();
    LayOutAxisLabels();
}

} // namespace kumby::gui
