#include "WeekTab.h"

#include "ActionList.h"
#include "ChartImage.h"
#include "GuiText.h"
#include "ViewGridModel.h"
#include "ViewTabCommands.h"
#include "WeekChart.h"
#include "app/Session.h"

#include <QHeaderView>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QSplitter>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

namespace kumby::gui {

namespace {

constexpr int DesignedChartHeight = 220;

} // namespace

TWeekTab::TWeekTab(Session& session, TActionList& actions, QWidget* parent)
    : QWidget(parent), Session_(session), Actions_(actions) {
    const TWeekView& week = Session_.Week();
    Model_ = new TViewGridModel({[] { return TWeekView::RowCount; }, [] { return TWeekView::ColCount; },
                                 [&week](int r, int c) { return week.CellText(r, c); },
                                 [&week](int r, int c) { return week.CellColour(r, c); }},
                                Qt::AlignCenter, this);
    Grid_ = new QTableView;
    Grid_->setObjectName(QStringLiteral("sgWeek"));
    Grid_->setModel(Model_);
    SetUpGridView(*Grid_);
    // Three digits a cell: a thousand draws give each number about 70 a day.
    Grid_->horizontalHeader()->setDefaultSectionSize(
        Grid_->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 10);

    const TViewTabCommands commands = AddViewTabCommands(
        Session_, Actions_, TAnalysisView::Week, *Grid_,
        {QStringLiteral("Обновить статистику по дням недели"),
         QStringLiteral("Построить статистику по дням недели заново"),
         QStringLiteral("В списке комбинаций оставить комбинации с числами выделенных столбцов"),
         QStringLiteral("Из списка комбинаций удалить комбинации с числами выделенных столбцов"),
         QStringLiteral("Экспорт статистики по дням недели в Microsoft Excel"), QStringLiteral("День")},
        [this] { Refresh(true); });
    WeekRefresh = commands.Refresh;
    WeekFilterInclude = commands.Include;
    WeekFilterExclude = commands.Exclude;
    WeekExport = commands.Export;
    Length_ = ViewLengthEdit(QStringLiteral("edWeekLen"), Session_.View().WeekLen,
                             QStringLiteral("Количество тиражей, использующихся для расчета статистики"));

    // The grid never needs more than its seven rows: the chart takes the rest.
    Grid_->setMaximumHeight(Grid_->horizontalHeader()->sizeHint().height() +
                            (TWeekView::RowCount - 1) * Grid_->verticalHeader()->defaultSectionSize() +
                            Grid_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                            2 * Grid_->frameWidth());
    Chart_ = new TWeekChart;
    Chart_->setMinimumHeight(150);
    SaveChart = AddSaveChartAction(*Chart_, Session_.Ui());
    Splitter_ = new QSplitter(Qt::Vertical);
    Splitter_->addWidget(Grid_);
    Splitter_->addWidget(Chart_);
    Splitter_->setStretchFactor(0, 1);
    Splitter_->setStretchFactor(1, 0);
    Splitter_->setChildrenCollapsible(false);
    Splitter_->setSizes({300, DesignedChartHeight});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    // The row of buttons is full at the designed width: the chart's menu saves it.
    layout->addLayout(ViewCommandRow(commands, Length_));
    layout->addWidget(Splitter_, 1);

    connect(Grid_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { ShowChart(); });
    connect(Length_, &QSpinBox::valueChanged, this, [this](int len) { Session_.View().WeekLen = len; });
    // Enter (the field keeps the focus) builds anew; leaving it builds when the length changed.
    connect(Length_, &QAbstractSpinBox::editingFinished, this, [this] {
        if (!Session_.Busy())
            Refresh(Length_->hasFocus());
    });
}

void TWeekTab::Refresh(bool force) {
    if (Session_.RefreshWeek(force)) {
        // The chart stays on the cell it showed.
        const QModelIndex current = Grid_->currentIndex();
        Model_->Reset();
        if (current.isValid())
            Grid_->selectionModel()->setCurrentIndex(Model_->index(current.row(), current.column()),
                                                     QItemSelectionModel::NoUpdate);
    }
    ShowChart();
    Actions_.Update();
}

void TWeekTab::ShowChart() {
    const QModelIndex current = Grid_->currentIndex();
    if (!current.isValid()) {
        Chart_->Clear();
        return;
    }
    const TGridCell cell = TViewGridModel::Cell(current);
    const int mode = Session_.View().WeekChartMode == WeekChartByDays ? WeekChartByDays : WeekChartByNumbers;
    const TWeekChartData chart = Session_.Week().Chart(mode, cell);
    QStringList labels;
    for (const std::string& label : chart.Labels)
        labels << Q(label);
    const QString title =
        mode == WeekChartByDays ? QStringLiteral("Число %1").arg(cell.Col) : Q(WeekdayShortName(cell.Row));
    Chart_->Show(title, labels, chart.Values, Session_.View().WeekChartType);
}

void TWeekTab::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Refresh(false);
}

void TWeekTab::SessionEvent(TSessionEvent event) {
    if (event == TSessionEvent::BusyChanged)
        Length_->setEnabled(!Session_.Busy());
    else if (event == TSessionEvent::AnalysisViewsChanged && isVisible())
        Refresh(false);
}

void TWeekTab::RestoreViewState() {
    TViewState& view = Session_.View();
    {
        const QSignalBlocker blocker(Length_);
        Length_->setValue(std::max(1, view.WeekLen));
    }
    view.WeekLen = Length_->value();
    const QList<int> sizes = Splitter_->sizes();
    const int total = std::max(sizes.value(0) + sizes.value(1), 2 * DesignedChartHeight);
    const int chart = view.WeekHeight > 0 ? view.WeekHeight : DesignedChartHeight;
    Splitter_->setSizes({std::max(1, total - chart), chart});
}

void TWeekTab::SaveViewState() const {
    TViewState& view = Session_.View();
    view.WeekLen = Length_->value();
    const int chart = Splitter_->sizes().value(1);
    if (chart > 0)
        view.WeekHeight = chart;
}

} // namespace kumby::gui
