#include "RatingsTab.h"

#include "ActionList.h"
#include "CombsTab.h"
#include "FileDialogs.h"
#include "GuiText.h"
#include "RatingsChartWindow.h"
#include "RatingsModel.h"
#include "SpreadsheetExport.h"
#include "ViewStateGlue.h"
#include "app/Session.h"

#include <QActionGroup>
#include <QFile>
#include <QHeaderView>
#include <QItemSelection>
#include <QMenu>
#include <QTableView>
#include <QVBoxLayout>

namespace kumby::gui {

TRatingsTab::TRatingsTab(Session& session, TActionList& actions, QWidget* parent)
    : QWidget(parent), Session_(session), Actions_(actions) {
    Model_ = new TRatingsModel(session, this);
    List_ = new QTableView;
    List_->setObjectName(QString::fromUtf8(ListName));
    List_->setModel(Model_);
    List_->setSelectionBehavior(QAbstractItemView::SelectRows);
    List_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    List_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    List_->setWordWrap(false);
    List_->setContextMenuPolicy(Qt::CustomContextMenu);
    QHeaderView* rows = List_->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(List_->fontMetrics().height() + 6);
    QHeaderView* columns = List_->horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setHighlightSections(false);
    // The indicator shows the session's order before sorting is switched on, so that
    // switching it on sorts nothing.
    columns->setSortIndicator(Session_.RatingsSortColumn(),
                              Session_.RatingsSortDescending() ? Qt::DescendingOrder : Qt::AscendingOrder);
    List_->setSortingEnabled(true);
    // Room for the sort arrow beside a caption.
    const int arrow = columns->fontMetrics().height();
    List_->setColumnWidth(0, std::max(300, FitColumnWidth(*List_, 0, {}) + arrow));
    for (int c = 1; c < RatingsColumnCount; ++c)
        List_->setColumnWidth(
            c, FitColumnWidth(*List_, c, c >= 19 ? QStringLiteral("-00.000%") : QStringLiteral("00000")) +
                   arrow);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(List_, 1);

    CreateActions();
    ContextMenu_ = new QMenu(this);
    AddCommands(*ContextMenu_);

    connect(List_, &QTableView::customContextMenuRequested, this,
            [this](const QPoint& pos) { ContextMenu_->popup(List_->viewport()->mapToGlobal(pos)); });
    connect(List_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { Actions_.Update(); });
    connect(Model_, &QAbstractItemModel::modelReset, this, [this] { Actions_.Update(); });
    connect(List_, &QTableView::doubleClicked, this, [this] {
        Actions_.Update();
        if (RatingsGraphOverlap->isEnabled())
            RatingsGraphOverlap->trigger();
    });
    SyncSwitches();
}

void TRatingsTab::CreateActions() {
    auto selected = [this] { return List_->selectionModel()->hasSelection(); };
    auto stakesAndSelected = [this] {
        return Session_.Stakes().IsOpen() && !Session_.Stakes().Empty() &&
               List_->selectionModel()->hasSelection();
    };
    auto notEmpty = [this] { return !Session_.Ratings().Empty(); };

    RatingsRefresh = Actions_.Add(QStringLiteral("Обновить рейтинг"),
                                  QStringLiteral("Пересчитать рейтинг по текущим данным"), {},
                                  [this] { return Session_.Stakes().IsOpen(); });
    RatingsExport = Actions_.Add(QStringLiteral("Экспорт рейтинга в CSV-файл"),
                                 QStringLiteral("Экспорт рейтинга в CSV-файл"), {}, notEmpty);
    RatingsXlsExport = Actions_.Add(QStringLiteral("Экспорт рейтинга в Microsoft Excel"),
                                    QStringLiteral("Экспорт рейтинга в Microsoft Excel"), {}, notEmpty);
    RatingsToScript = Actions_.Add(
        QStringLiteral("Добавить в сценарий"), QStringLiteral("Добавить выделенные строки в сценарий"), {},
        [this] { return Session_.CanRatingsToScript(SelectedRatingRows().size()); });
    RatingsGraphOverlap = Actions_.Add(
        QStringLiteral("Количество совпадений"),
        QStringLiteral("График количества совпадений для выделенных строк рейтинга"), {}, selected);
    StakesGraphOverlap = Actions_.Add(
        QStringLiteral("График совпадений ставок"),
        QStringLiteral("График количества совпадений для всех ставок по тиражам"), {}, stakesAndSelected);
    StakesGraphProfits =
        Actions_.Add(QStringLiteral("График профита ставок"),
                     QStringLiteral("График профита для всех ставок по тиражам"), {}, stakesAndSelected);
    RatingsEffMode0 =
        Actions_.AddCheck(QStringLiteral("Ожидаемые значения совпадений"),
                          QStringLiteral("Показывать расчетные значения количества совпадений"));
    RatingsEffMode1 =
        Actions_.AddCheck(QStringLiteral("Абсолютные значения эффективности"),
                          QStringLiteral("Показывать абсолютные изменения эффективности ставок"));
    RatingsEffMode2 =
        Actions_.AddCheck(QStringLiteral("Относительные значения эффективности"),
                          QStringLiteral("Показывать относительные изменения эффективности ставок"));
    auto* modes = new QActionGroup(this);
    QAction* const modeActions[] = {RatingsEffMode0, RatingsEffMode1, RatingsEffMode2};
    for (int mode = 0; mode < 3; ++mode) {
        QAction* action = modeActions[mode];
        modes->addAction(action);
        connect(action, &QAction::triggered, this, [this, mode] { Session_.SetRatingsEffMode(mode); });
    }

    connect(RatingsRefresh, &QAction::triggered, this, &TRatingsTab::RatingsRefreshExecute);
    connect(RatingsExport, &QAction::triggered, this, &TRatingsTab::RatingsExportExecute);
    connect(RatingsXlsExport, &QAction::triggered, this, &TRatingsTab::RatingsXlsExportExecute);
    connect(RatingsToScript, &QAction::triggered, this, &TRatingsTab::RatingsToScriptExecute);
    connect(RatingsGraphOverlap, &QAction::triggered, this, &TRatingsTab::RatingsGraphOverlapExecute);
    connect(StakesGraphOverlap, &QAction::triggered, this, &TRatingsTab::StakesGraphOverlapExecute);
    connect(StakesGraphProfits, &QAction::triggered, this, &TRatingsTab::StakesGraphProfitsExecute);
}

void TRatingsTab::AddCommands(QMenu& menu) const {
    menu.addAction(RatingsRefresh);
    menu.addSeparator();
    menu.addAction(RatingsExport);
    menu.addAction(RatingsXlsExport);
    menu.addSeparator();
    menu.addAction(RatingsToScript);
    menu.addSeparator();
    menu.addAction(RatingsGraphOverlap);
    menu.addAction(StakesGraphOverlap);
    menu.addAction(StakesGraphProfits);
    menu.addSeparator();
    menu.addAction(RatingsEffMode0);
    menu.addAction(RatingsEffMode1);
    menu.addAction(RatingsEffMode2);
}

void TRatingsTab::SyncSwitches() {
    const int mode = Session_.RatingsEffMode();
    RatingsEffMode0->setChecked(mode == 0);
    RatingsEffMode1->setChecked(mode == 1);
    RatingsEffMode2->setChecked(mode == 2);
    // Setting the indicator to the session's own order sorts nothing.
    List_->horizontalHeader()->setSortIndicator(Session_.RatingsSortColumn(), Session_.RatingsSortDescending()
                                                                                  ? Qt::DescendingOrder
                                                                                  : Qt::AscendingOrder);
}

void TRatingsTab::SessionEvent(TSessionEvent event) {
    if (event != TSessionEvent::RatingsChanged)
        return;
    Model_->Refresh();
    SyncSwitches();
}

void TRatingsTab::RestoreViewState(const TIniFile& ini) {
    RestoreColumnWidths(*List_, ini, MainWindowSection, ListName);
    // Sorts the ratings when the stored order differs from the session's.
    RestoreSortType(*List_, ini, MainWindowSection, ListName);
    SyncSwitches();
}

void TRatingsTab::SaveViewState(TKeyValues& values) const {
    AddColumnWidthValues(*List_, ListName, values);
    AddSortTypeValues(*List_, ListName, values);
}

void TRatingsTab::RatingsToScriptExecute() {
    if (const int added = Session_.RatingsToScript(SelectedRatingRows()); added > 0)
        emit scriptLinesAdded(added);
}

std::vector<std::size_t> TRatingsTab::SelectedRatingRows() const {
    return SelectedRows(List_->selectionModel()->selection());
}

void TRatingsTab::RatingsRefreshExecute() {
    Session_.RatingsRefresh();
}

void TRatingsTab::RatingsExportExecute() {
    const QString name = AskSaveFileName(window(), QString::fromUtf8(CsvFileFilter), QStringLiteral("csv"));
    if (!name.isEmpty())
        Session_.RatingsExport(LocalPath(name));
}

void TRatingsTab::RatingsXlsExportExecute() {
    ExportListToSpreadsheet(Session_, window(), QString::fromUtf8(Caption), *List_);
}

void TRatingsTab::RatingsGraphOverlapExecute() {
    const std::vector<std::size_t> rows = SelectedRatingRows();
    if (rows.empty())
        return;
    TRatingsChartWindow chart(RatingsGraphOverlap->statusTip(), Session_.RatingsOverlapChart(rows), window());
    chart.exec();
}

void TRatingsTab::StakesGraphOverlapExecute() {
    const auto series = Session_.RatingsDrawChart(SelectedRatingRows(), TRatingsDrawValue::Matches);
    if (!series)
        return;
    TRatingsChartWindow chart(StakesGraphOverlap->statusTip(), *series, window());
    chart.exec();
}

void TRatingsTab::StakesGraphProfitsExecute() {
    const auto series = Session_.RatingsDrawChart(SelectedRatingRows(), TRatingsDrawValue::Profit);
    if (!series)
        return;
    TRatingsChartWindow chart(StakesGraphProfits->statusTip(), *series, window());
    chart.exec();
}

} // namespace kumby::gui
