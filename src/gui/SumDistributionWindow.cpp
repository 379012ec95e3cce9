#include "SumDistributionWindow.h"

#include "ChartImage.h"
#include "StatsChart.h"

#include <QLegend>
#include <QVBoxLayout>

namespace kumby::gui {

TSumDistributionWindow::TSumDistributionWindow(const TSumDistribution& distribution, IUserInterface& ui,
                                               QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QString::fromUtf8(SumDistributionTitle));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    Chart_ = new TStatsChart;
    // The level titles carry their sums: a column beside the chart keeps them whole.
    Chart_->chart()->legend()->setAlignment(Qt::AlignRight);
    Chart_->Show(SumDistributionChart(distribution));
    SaveChart = AddSaveChartAction(*Chart_, ui);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(Chart_);
    resize(1200, 640);
}

} // namespace kumby::gui
