#include "SumDistributionWindow.h"

#include "StatsChart.h"

#include <QVBoxLayout>

namespace kumby::gui {

TSumDistributionWindow::TSumDistributionWindow(const TSumDistribution& distribution, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QString::fromUtf8(SumDistributionTitle));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    Chart_ = new TStatsChart;
    Chart_->Show(SumDistributionChart(distribution));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(Chart_);
    resize(1000, 600);
}

} // namespace kumby::gui
