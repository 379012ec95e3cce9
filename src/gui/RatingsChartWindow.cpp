#include "RatingsChartWindow.h"

#include "StatsChart.h"
#include "stats/StatTable.h"

#include <QChart>
#include <QString>
#include <QVBoxLayout>
#include <QValueAxis>

#include <array>

namespace kumby::gui {

namespace {

constexpr TColour NormalColour = 0x808080;
// Distinct on white and from the grey of the expected distribution.
constexpr std::array<TColour, 10> SourceColours = {0x1F77B4, 0xD62728, 0x2CA02C, 0xFF7F0E, 0x9467BD,
                                                   0x8C564B, 0xE377C2, 0x17BECF, 0xBCBD22, 0x000080};

} // namespace

std::vector<TChartSeries> RatingsChartLines(const std::vector<TRatingsSeries>& series) {
    std::vector<TChartSeries> lines;
    lines.reserve(series.size());
    std::size_t next = 0;
    for (const TRatingsSeries& s : series) {
        TChartSeries line;
        line.Title = s.Name;
        if (s.Name == NormalSeriesName)
            line.LineColour = NormalColour;
        else
            line.LineColour = SourceColours[next++ % SourceColours.size()];
        line.MarkerOutline = line.LineColour;
        line.LineWidth = 2;
        for (const auto& [x, y] : s.Points)
            line.Points.push_back({x, y, QString::number(x, 'g', 12).toStdString()});
        lines.push_back(std::move(line));
    }
    return lines;
}

TRatingsChartWindow::TRatingsChartWindow(const QString& title, const std::vector<TRatingsSeries>& series,
                                         QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(title);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    Chart_ = new TStatsChart;
    Chart_->Show(RatingsChartLines(series));
    // A few stakes give a short value range, where whole-number labels would repeat.
    for (QAbstractAxis* axis : Chart_->chart()->axes(Qt::Vertical))
        if (auto* values = qobject_cast<QValueAxis*>(axis); values && values->max() - values->min() < 10)
            values->setLabelFormat(QStringLiteral("%.1f"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(Chart_);
    resize(900, 500);
}

} // namespace kumby::gui
