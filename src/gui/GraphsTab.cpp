#include "GraphsTab.h"

#include "ActionButton.h"
#include "ActionList.h"
#include "ChartImage.h"
#include "CountEdit.h"
#include "MethodLists.h"
#include "RepeatsDialog.h"
#include "StatsChart.h"
#include "StatsTab.h"
#include "SumDistributionWindow.h"
#include "TabPlaces.h"
#include "app/Session.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegend>
#include <QLineSeries>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace kumby::gui {

TGraphsTab::TGraphsTab(Session& session, TActionList& actions, QTabWidget& pages, TTabPlaces& places,
                       TStatsTab& statsTab, QWidget* parent)
    : QWidget(parent), Session_(session), Actions_(actions), Pages_(pages), Places_(places) {
    hide(); // on the page only while its switch is on
    const QString lengthHint = QStringLiteral("Количество тиражей, отображаемых на графике");
    auto* lengthLabel = new QLabel(QStringLiteral("Тиражей:"));
    Length_ = CountEdit(lengthHint);
    Length_->setValue(100);
    lengthLabel->setBuddy(Length_);

    const QString methodHint = QStringLiteral("Вид графика");
    Methods_ = MethodListBox(methodHint);

    Marks_ = new QCheckBox(QStringLiteral("Отображать метки на графике"));
    Chart_ = new TStatsChart;
    Chart_->PutLegendBelow();
    SaveChart = AddSaveChartAction(*Chart_, Session_.Ui());

    TabGraphs = actions.AddCheck(QStringLiteral("Вкладка \"Графики\""),
                                 QStringLiteral("Скрыть / показать вкладку \"Графики\""));
    DrawsGraphCalc =
        actions.Add(QStringLiteral("Обновить"), QStringLiteral("Перестроить график по выбранным параметрам"),
                    {}, [this] { return Session_.GraphsShown() && Methods_->currentIndex() >= 0; });
    SumDistribution = actions.Add(QString::fromUtf8(SumDistributionTitle),
                                  QStringLiteral("Сравнить распределение сумм тиражей с распределением сумм "
                                                 "всех возможных комбинаций"));
    DrawsRepeats = actions.Add(QString::fromUtf8(RepeatsTitle),
                               QStringLiteral("Количество совпадений каждого тиража с предыдущими тиражами"));

    auto* methodRow = new QHBoxLayout;
    methodRow->addWidget(Methods_, 1);
    auto* commandRow = new QHBoxLayout;
    commandRow->addWidget(lengthLabel);
    commandRow->addWidget(Length_);
    commandRow->addSpacing(8);
    commandRow->addWidget(ActionButton(DrawsGraphCalc, QStringLiteral("Обновить")));
    commandRow->addSpacing(8);
    commandRow->addWidget(Marks_);
    commandRow->addStretch();
    commandRow->addWidget(ActionButton(SaveChart, SaveChart->text()));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(methodRow);
    layout->addLayout(commandRow);
    layout->addWidget(Chart_, 1);

    statsTab.SetChartList(Methods_);
    // A refill of the lists may leave another method selected.
    connect(&statsTab, &TStatsTab::listsFilled, this,
            [this] { QTimer::singleShot(0, this, [this] { ComputeGraph(false); }); });
    connect(Length_, &QSpinBox::valueChanged, this, [this](int len) { Session_.View().DrawsGraphLen = len; });
    connect(Length_, &QSpinBox::editingFinished, this, [this] { ComputeGraph(false); });
    connect(Methods_, &QComboBox::currentIndexChanged, this, [this] {
        Actions_.Update();
        ComputeGraph(false);
    });
    connect(Marks_, &QCheckBox::toggled, this, &TGraphsTab::ShowMarks);
    connect(&Pages_, &QTabWidget::currentChanged, this, [this] {
        if (Pages_.currentWidget() == this)
            ComputeGraph(false);
    });
    connect(TabGraphs, &QAction::triggered, this, [this](bool on) {
        Session_.SetTabGraphs(on);
        SyncTab();
        if (on) {
            Pages_.setCurrentWidget(this);
            ComputeGraph(true);
        } else {
            Chart_->Clear();
        }
    });
    connect(DrawsGraphCalc, &QAction::triggered, this, [this] { ComputeGraph(true); });
    connect(SumDistribution, &QAction::triggered, this, &TGraphsTab::SumDistributionExecute);
    connect(DrawsRepeats, &QAction::triggered, this, &TGraphsTab::DrawsRepeatsExecute);
}

void TGraphsTab::AddCommands(QMenu& menu) const {
    menu.addSeparator();
    menu.addAction(SumDistribution);
    menu.addAction(DrawsRepeats);
}

void TGraphsTab::SyncTab() {
    const bool shown = Session_.GraphsShown();
    TabGraphs->setChecked(shown);
    Places_.Show(this, QString::fromUtf8(Caption), shown);
    Actions_.Update();
}

void TGraphsTab::ComputeGraph(bool force) {
    // Signals of the controls also arrive while a computation changes their state.
    if (Computing_ || Session_.Busy() || !Session_.GraphsShown())
        return;
    Computing_ = true;
    if (Session_.ComputeGraph(SelectedMethod(*Methods_), force))
        Chart_->Show(GraphChartSeries(Session_.LastGraph(), Marks_->isChecked()));
    Computing_ = false;
    Actions_.Update();
}

void TGraphsTab::ShowMarks(bool on) {
    // The values' marks of the main line only; the graph is not made again.
    const QList<QAbstractSeries*> series = Chart_->chart()->series();
    if (!series.isEmpty())
        if (auto* line = qobject_cast<QLineSeries*>(series.front()))
            line->setPointLabelsVisible(on);
}

void TGraphsTab::SessionEvent(TSessionEvent event) {
    switch (event) {
    case TSessionEvent::BusyChanged: {
        const bool idle = !Session_.Busy();
        Length_->setEnabled(idle);
        Methods_->setEnabled(idle);
        break;
    }
    case TSessionEvent::SettingsChanged:
        // Channel width, matrix and segments change what the methods give.
        Session_.ResetGraphKey();
        break;
    case TSessionEvent::AnalysisViewsChanged:
        ComputeGraph(false);
        break;
    default:
        break;
    }
}

void TGraphsTab::RestoreViewState() {
    {
        const QSignalBlocker blocker(Length_);
        Length_->setValue(std::max(1, Session_.View().DrawsGraphLen));
    }
    Session_.View().DrawsGraphLen = Length_->value();
    SyncTab();
}

void TGraphsTab::SaveViewState() {
    Session_.View().DrawsGraphLen = Length_->value();
}

void TGraphsTab::SumDistributionExecute() {
    const std::optional<TSumDistribution> d = Session_.SumDistribution();
    if (!d)
        return;
    TSumDistributionWindow view(*d, Session_.Ui(), window());
    view.exec();
}

void TGraphsTab::DrawsRepeatsExecute() {
    TRepeatsDialog dialog(Session_, window());
    dialog.exec();
}

} // namespace kumby::gui
