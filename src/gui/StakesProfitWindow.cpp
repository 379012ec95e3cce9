#include "StakesProfitWindow.h"

#include "StatsChart.h"
#include "stakes/StakesGrid.h"

#include <QVBoxLayout>

namespace kumby::gui {

TStakesProfitWindow::TStakesProfitWindow(const TProfitDrawArray& list, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8(Title));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    Chart_ = new TStatsChart;
    Chart_->Show(ProfitByDrawSeries(list));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(Chart_);
    resize(900, 500);
}

} // namespace kumby::gui
