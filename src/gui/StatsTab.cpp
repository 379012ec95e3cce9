#include "StatsTab.h"

#include "ActionButton.h"
#include "ActionList.h"
#include "ChartImage.h"
#include "CountEdit.h"
#include "FilterHelpWindow.h"
#include "FiltersManagerDialog.h"
#include "GuiText.h"
#include "MethodLists.h"
#include "SpreadsheetExport.h"
#include "StatsChart.h"
#include "StatsModel.h"
#include "ViewStateGlue.h"
#include "app/Session.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace kumby::gui {

namespace {

constexpr const char* WaitStatus = "Подождите пожалуйста...";

} // namespace

TStatsTab::TStatsTab(Session& session, TActionList& actions, QWidget* parent)
    : QWidget(parent), Session_(session), Actions_(actions) {
    CreateActions();

    const QString lengthHint = QStringLiteral("Количество тиражей, использующихся для расчета статистики");
    auto* lengthLabel = new QLabel(QStringLiteral("Тиражей:"));
    Length_ = CountEdit(lengthHint);
    Length_->setValue(1000);
    lengthLabel->setBuddy(Length_);

    const QString methodHint = QStringLiteral("Вид расчета статистики");
    Methods_ = MethodListBox(methodHint);

    Model_ = new TStatsModel(session, this);
    List_ = new QTableView;
    List_->setModel(Model_);
    SetUpListView(*List_);
    List_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    List_->setContextMenuPolicy(Qt::CustomContextMenu);
    QHeaderView* columns = List_->horizontalHeader();
    columns->setSortIndicatorShown(true);
    // Designed widths: the value column takes room for masks, the others their captions.
    List_->setColumnWidth(StatColValue,
                          List_->fontMetrics().horizontalAdvance(QStringLiteral("ЧЧЧЧЧЧЧЧЧЧЧЧ (0000)")) + 16);
    for (int c = 1; c < StatColumnCount; ++c) {
        const QString caption = QString::fromUtf8(StatColumnCaptions()[c]);
        List_->setColumnWidth(c, std::max(60, List_->fontMetrics().horizontalAdvance(caption) + 24));
    }
    columns->setSortIndicator(StatColCount, Qt::AscendingOrder);
    List_->setSortingEnabled(true);

    Chart_ = new TStatsChart;
    // Low enough to leave the table room, high enough for the axes to keep their labels.
    Chart_->setMinimumHeight(150);
    SaveChart = AddSaveChartAction(*Chart_, Session_.Ui());

    Splitter_ = new QSplitter(Qt::Vertical);
    Splitter_->addWidget(List_);
    Splitter_->addWidget(Chart_);
    Splitter_->setStretchFactor(0, 1);
    Splitter_->setStretchFactor(1, 0);
    Splitter_->setChildrenCollapsible(false);
    Splitter_->setSizes({400, DesignedChartHeight});

    auto* methodRow = new QHBoxLayout;
    methodRow->addWidget(Methods_, 1);
    auto* commandRow = new QHBoxLayout;
    commandRow->addWidget(lengthLabel);
    commandRow->addWidget(Length_);
    commandRow->addSpacing(8);
    commandRow->addWidget(ActionButton(DrawsStatCalc, QStringLiteral("Обновить")));
    commandRow->addWidget(ActionButton(FiltersInfo, QStringLiteral("Описание")));
    commandRow->addWidget(ActionButton(FiltersManager, QStringLiteral("Избранное")));
    commandRow->addStretch();
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(ActionButton(StatFilterInclude, QStringLiteral("Оставить выделенные")));
    filterRow->addWidget(ActionButton(StatFilterExclude, QStringLiteral("Удалить выделенные")));
    filterRow->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(methodRow);
    layout->addLayout(commandRow);
    layout->addWidget(Splitter_, 1);
    layout->addLayout(filterRow);

    ContextMenu_ = new QMenu(this);
    AddCommands(*ContextMenu_);

    connect(Length_, &QSpinBox::valueChanged, this, [this](int len) { Session_.View().DrawsStatLen = len; });
    // Enter (or leaving the field) recomputes; an unchanged depth finds the table current.
    connect(Length_, &QSpinBox::editingFinished, this, [this] {
        if (CanCompute())
            ComputeTable(false);
    });
    connect(Methods_, &QComboBox::currentIndexChanged, this, [this] {
        Actions_.Update();
        if (CanCompute())
            ComputeTable(false);
    });
    connect(List_, &QTableView::customContextMenuRequested, this,
            [this](const QPoint& pos) { ContextMenu_->popup(List_->viewport()->mapToGlobal(pos)); });
    // The filter commands follow the selected rows.
    connect(List_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { Actions_.Update(); });
    connect(Model_, &QAbstractItemModel::modelReset, this, [this] { Actions_.Update(); });

    SyncSwitches();
    ApplyFullSetColumns();
}

void TStatsTab::CreateActions() {
    auto selected = [this] { return Methods_->currentIndex() >= 0; };
    DrawsStatCalc = Actions_.Add(QStringLiteral("Обновить"),
                                 QStringLiteral("Пересчитать статистику по выбранным параметрам"), {},
                                 [this, selected] { return !Session_.Draws().empty() && selected(); });
    FiltersInfo =
        Actions_.Add(QStringLiteral("Описание статистики"),
                     QStringLiteral("Описание методики расчета выбранной статистики"), {}, selected);
    FiltersManager =
        Actions_.Add(QStringLiteral("Избранные статистики"),
                     QStringLiteral("Выбрать избранные методы расчета статистики и их названия"));
    FiltersReset =
        Actions_.Add(QStringLiteral("Все доступные статистики"),
                     QStringLiteral("Показывать в списках все доступные методы расчета статистики"));
    DrawsStatePrefetchsEnabled = Actions_.AddCheck(
        QStringLiteral("Использовать сравнение с полным набором комбинаций"),
        QStringLiteral(
            "Использовать режим сравнения статистики с распределением по полному набору комбинаций"));
    DrawsStatShowTotalLine =
        Actions_.AddCheck(QStringLiteral("График идеального распределения"),
                          QStringLiteral("Показывать на графике распределение по полному набору комбинаций"),
                          [this] { return Session_.View().PrefetchsEnabled; });
    auto canFilter = [this] {
        return !Session_.WorkingList().empty() && List_->selectionModel()->hasSelection();
    };
    StatFilterInclude =
        Actions_.Add(QStringLiteral("Оставить выделенные"),
                     QStringLiteral("В списке комбинаций оставить комбинации с выделенными характеристиками"),
                     QKeySequence(Qt::Key_F7), canFilter);
    StatFilterExclude =
        Actions_.Add(QStringLiteral("Удалить выделенные"),
                     QStringLiteral("Из списка комбинаций удалить комбинации с выделенными характеристиками"),
                     QKeySequence(Qt::CTRL | Qt::Key_F7), canFilter);
    DrawsStatExportToExcel =
        Actions_.Add(QStringLiteral("Экспорт статистики в Microsoft Excel"),
                     QStringLiteral("Сохранить таблицу статистики в книгу Microsoft Excel"), {},
                     [this] { return Session_.LastStatTable().RowCount() > 0; });

    connect(DrawsStatCalc, &QAction::triggered, this, [this] { ComputeTable(true); });
    connect(FiltersInfo, &QAction::triggered, this, &TStatsTab::FiltersInfoExecute);
    connect(FiltersManager, &QAction::triggered, this, &TStatsTab::FiltersManagerExecute);
    connect(FiltersReset, &QAction::triggered, this, &TStatsTab::FiltersResetExecute);
    connect(DrawsStatePrefetchsEnabled, &QAction::triggered, this, &TStatsTab::PrefetchsEnabledExecute);
    connect(DrawsStatShowTotalLine, &QAction::triggered, this, &TStatsTab::ShowTotalLineExecute);
    connect(DrawsStatExportToExcel, &QAction::triggered, this, &TStatsTab::ExportToExcelExecute);
    connect(StatFilterInclude, &QAction::triggered, this, [this] { StatFilterExecute(false); });
    connect(StatFilterExclude, &QAction::triggered, this, [this] { StatFilterExecute(true); });
}

void TStatsTab::AddCommands(QMenu& menu) const {
    menu.addAction(DrawsStatCalc);
    menu.addAction(FiltersInfo);
    menu.addSeparator();
    menu.addAction(FiltersManager);
    menu.addAction(FiltersReset);
    menu.addSeparator();
    menu.addAction(StatFilterInclude);
    menu.addAction(StatFilterExclude);
    menu.addSeparator();
    menu.addAction(DrawsStatePrefetchsEnabled);
    menu.addAction(DrawsStatShowTotalLine);
    menu.addSeparator();
    menu.addAction(DrawsStatExportToExcel);
}

bool TStatsTab::CanCompute() const {
    // Signals of the controls also arrive while a computation changes their state.
    return !Computing_ && !Session_.Busy() && DrawsStatCalc->isEnabled();
}

void TStatsTab::SyncSwitches() {
    DrawsStatePrefetchsEnabled->setChecked(Session_.View().PrefetchsEnabled);
    DrawsStatShowTotalLine->setChecked(Session_.View().ShowTotalLine);
}

void TStatsTab::ApplyFullSetColumns() {
    const int width = Session_.View().PrefetchsEnabled ? FullSetColumnWidth : 0;
    for (int c : {StatColNorm, StatColDeviation, StatColDeviationPct})
        List_->setColumnWidth(c, width);
}

void TStatsTab::FillLists(bool reload, bool keepSelection) {
    FillMethodLists(Session_, *Methods_, ChartList_, reload, keepSelection);
    RegistryMayHaveChanged_ = false;
    Actions_.Update();
    emit listsFilled();
}

void TStatsTab::ComputeTable(bool force) {
    if (Computing_)
        return;
    Computing_ = true;
    bool touched = true;
    try {
        touched = Session_.ComputeTable(SelectedMethod(*Methods_), force);
    } catch (const std::exception& e) {
        Session_.Ui().ShowError(e.what());
    }
    if (touched) {
        Model_->Refresh();
        Chart_->Show(StatChart(Session_.LastStatTable()));
    }
    Computing_ = false;
    Actions_.Update();
}

void TStatsTab::SessionEvent(TSessionEvent event) {
    switch (event) {
    case TSessionEvent::BusyChanged: {
        const bool idle = !Session_.Busy();
        Length_->setEnabled(idle);
        Methods_->setEnabled(idle);
        break;
    }
    case TSessionEvent::SettingsChanged:
        RegistryMayHaveChanged_ = true;
        break;
    case TSessionEvent::AnalysisViewsChanged:
        if (RegistryMayHaveChanged_)
            FillLists(false, true);
        // A draw changed in place or another display switch leaves the cache key as it
        // was: the table is always made anew.
        ComputeTable(true);
        break;
    default:
        break;
    }
}

void TStatsTab::RestoreViewState(const TIniFile& ini) {
    RestoreColumnWidths(*List_, ini, MainWindowSection, ListName);
    RestoreSortType(*List_, ini, MainWindowSection, ListName);
    ApplyFullSetColumns();
    {
        const QSignalBlocker blocker(Length_);
        Length_->setValue(std::max(1, Session_.View().DrawsStatLen));
    }
    Session_.View().DrawsStatLen = Length_->value();
    const int height = Session_.View().DrawsStatHeight;
    const QList<int> sizes = Splitter_->sizes();
    const int total = std::max(sizes.value(0) + sizes.value(1), 2 * DesignedChartHeight);
    const int chart = height > 0 ? height : DesignedChartHeight;
    Splitter_->setSizes({std::max(1, total - chart), chart});
    SyncSwitches();
}

void TStatsTab::SaveViewState(TKeyValues& values) {
    AddColumnWidthValues(*List_, ListName, values);
    AddSortTypeValues(*List_, ListName, values);
    Session_.View().DrawsStatLen = Length_->value();
    const int chart = Splitter_->sizes().value(1);
    if (chart > 0)
        Session_.View().DrawsStatHeight = chart;
}

void TStatsTab::FiltersInfoExecute() {
    const std::size_t method = SelectedMethod(*Methods_);
    if (method >= Session_.Registry().Count())
        return;
    TFilterHelpWindow help(Session_, method, window());
    help.exec();
}

void TStatsTab::FiltersManagerExecute() {
    TFiltersManagerDialog dialog(Session_, window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    {
        TBusyScope busy(Session_, WaitStatus);
        // The reload saves the names and favourites first.
        FillLists(true, false);
    }
    ComputeTable(true);
}

void TStatsTab::FiltersResetExecute() {
    if (!Session_.Ui().Confirm("Вы действительно хотите сбросить список избранных фильтров?"))
        return;
    {
        TBusyScope busy(Session_, WaitStatus);
        Session_.Registry().MarkAll();
        FillLists(true, false);
    }
    ComputeTable(false);
}

void TStatsTab::PrefetchsEnabledExecute(bool on) {
    Session_.SetPrefetchsEnabled(on);
    SyncSwitches();
    ApplyFullSetColumns();
    ComputeTable(true);
}

void TStatsTab::ShowTotalLineExecute(bool on) {
    Session_.Ui().SetStatus("Создание графиков...");
    Session_.View().ShowTotalLine = on;
    Session_.WriteViewSwitch("ShowTotalLine");
    Chart_->Clear();
    ComputeTable(true);
    Session_.Ui().SetStatus("");
}

void TStatsTab::StatFilterExecute(bool exclude) {
    std::vector<std::size_t> rows;
    for (const QModelIndex& row : List_->selectionModel()->selectedRows())
        rows.push_back(static_cast<std::size_t>(row.row()));
    if (!rows.empty())
        Session_.StatFilter(rows, exclude);
}

void TStatsTab::ExportToExcelExecute() {
    ExportListToSpreadsheet(Session_, window(), QString::fromUtf8(Caption), *List_);
}

} // namespace kumby::gui
