#include "StakesTab.h"

#include "ActionList.h"
#include "CombsTab.h"
#include "GuiText.h"
#include "SpreadsheetExport.h"
#include "StakeDialog.h"
#include "StakesFilterDialog.h"
#include "StakesModel.h"
#include "StakesMultiDialog.h"
#include "StakesProfitWindow.h"
#include "ViewStateGlue.h"
#include "app/Session.h"
#include "stakes/StakesGrid.h"

#include <QHeaderView>
#include <QItemSelection>
#include <QMenu>
#include <QTableView>
#include <QVBoxLayout>

namespace kumby::gui {

TStakesTab::TStakesTab(Session& session, TActionList& actions, TCombsTab& combs, QWidget* parent)
    : QWidget(parent), Session_(session), Actions_(actions), Combs_(combs) {
    Model_ = new TStakesModel(session, this);
    Grid_ = new QTableView;
    Grid_->setObjectName(QString::fromUtf8(ListName));
    Grid_->setModel(Model_);
    Grid_->setItemDelegate(new TStakesDelegate(Grid_));
    SetUpListView(*Grid_);
    // Deleting takes one range of rows.
    Grid_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    Grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    // The designed widths, widened where this font would cut a caption or a stake's
    // twelve numbers (each possibly bold).
    QFont bold = Grid_->font();
    bold.setBold(true);
    const int numbersWidth = 12 * QFontMetrics(bold).horizontalAdvance(QStringLiteral("00")) +
                             11 * TStakesDelegate::NumberGap + 2 * TStakesDelegate::Margin + 6;
    for (int c = 0; c < StakesGridColumns; ++c) {
        int width = StakesGridLayout()[static_cast<std::size_t>(c)].Width;
        if (c != StakesGridColumns - 1)
            width = std::max(width, FitColumnWidth(*Grid_, c, {}));
        if (c == StakesGridStakeColumn || c == StakesGridResultColumn)
            width = std::max(width, numbersWidth);
        Grid_->setColumnWidth(c, width);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(Grid_, 1);

    CreateActions();
    ContextMenu_ = new QMenu(this);
    AddCommands(*ContextMenu_);

    connect(Grid_, &QTableView::customContextMenuRequested, this,
            [this](const QPoint& pos) { ContextMenu_->popup(Grid_->viewport()->mapToGlobal(pos)); });
    connect(Grid_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { Actions_.Update(); });
    connect(Model_, &QAbstractItemModel::modelReset, this, [this] { Actions_.Update(); });
    connect(Model_, &TStakesModel::readFailed, this,
            [this](const QString& text) { Session_.Ui().ShowError(S(text)); });
    connect(Combs_.List(), &QTableView::doubleClicked, this, [this] {
        Actions_.Update();
        if (StakeAdd->isEnabled())
            StakeAdd->trigger();
    });
    SyncSwitches();
}

void TStakesTab::CreateActions() {
    auto open = [this] { return Session_.Stakes().IsOpen(); };
    auto withStakes = [this] { return Session_.Stakes().IsOpen() && !Session_.Stakes().Empty(); };
    auto withList = [this] { return Session_.Stakes().IsOpen() && !Session_.WorkingList().empty(); };

    StakeAdd = Actions_.Add(
        QStringLiteral("Сделать ставку"),
        QStringLiteral("Добавить текущую комбинацию в список ставок с возможностью ручного ввода"), {}, open);
    StakeAddRandom = Actions_.Add(
        QStringLiteral("Сделать случайную ставку"),
        QStringLiteral("Добавить ставку, выбранную случайным образом из списка комбинаций"), {}, withList);
    StakeAddSelected =
        Actions_.Add(QStringLiteral("Сделать ставки для выделенных комбинаций"),
                     QStringLiteral("Добавить выделенные комбинации в список ввода"), {}, [this] {
                         return Session_.Stakes().IsOpen() && !Session_.WorkingList().empty() &&
                                Combs_.List()->selectionModel()->hasSelection();
                     });
    StakeAddAll =
        Actions_.Add(QStringLiteral("Сделать ставки для всех комбинаций"),
                     QStringLiteral("Добавить все существующие комбинации в список ввода"), {}, withList);
    StakeDel = Actions_.Add(QStringLiteral("Удалить ставку"),
                            QStringLiteral("Удалить выделенные ставки из списка ставок"), {}, [this] {
                                return Session_.Stakes().IsOpen() && Model_->rowCount() > 0 &&
                                       Grid_->selectionModel()->hasSelection();
                            });
    StakeFilter = Actions_.Add(
        QStringLiteral("Удалить по условию"),
        QStringLiteral("Удалить ставки с заданным количеством совпадений из списка ставок"), {}, withStakes);
    StakeClear = Actions_.Add(QStringLiteral("Удалить все ставки"), QStringLiteral("Очистить список ставок"),
                              {}, withStakes);
    StakesCheckManual =
        Actions_.Add(QStringLiteral("Проверить ставки"),
                     QStringLiteral("Выполнить проверку ставок по архиву тиражей"), {}, withStakes);
    LogStakes = Actions_.AddCheck(QStringLiteral("Журналы ставок"),
                                  QStringLiteral("Создавать текстовые файлы журналов ставок"), open);
    LogStakesDelete = Actions_.Add(QStringLiteral("Удалить журналы ставок"),
                                   QStringLiteral("Удалить имеющиеся файлы журналов ставок"), {}, open);
    StakesScroll =
        Actions_.AddCheck(QStringLiteral("Прокручивать список при добавлении"),
                          QStringLiteral("Прокручивать список ставок при добавлении новой ставки"), open);
    StakesGraphDraws = Actions_.Add(QStringLiteral("Суммарный профит по тиражам"),
                                    QString::fromUtf8(TStakesProfitWindow::Title), {}, withStakes);
    StakesXlsExport = Actions_.Add(QStringLiteral("Экспорт ставок в Microsoft Excel"),
                                   QStringLiteral("Экспорт ставок в Microsoft Excel"), {}, open);

    connect(StakeAdd, &QAction::triggered, this, &TStakesTab::StakeAddExecute);
    connect(StakeAddRandom, &QAction::triggered, this, &TStakesTab::StakeAddRandomExecute);
    connect(StakeAddSelected, &QAction::triggered, this, &TStakesTab::StakeAddSelectedExecute);
    connect(StakeAddAll, &QAction::triggered, this, &TStakesTab::StakeAddAllExecute);
    connect(StakeDel, &QAction::triggered, this, &TStakesTab::StakeDelExecute);
    connect(StakeFilter, &QAction::triggered, this, &TStakesTab::StakeFilterExecute);
    connect(StakeClear, &QAction::triggered, this, &TStakesTab::StakeClearExecute);
    connect(StakesCheckManual, &QAction::triggered, this, &TStakesTab::StakesCheckManualExecute);
    connect(LogStakes, &QAction::triggered, this, &TStakesTab::LogStakesExecute);
    connect(LogStakesDelete, &QAction::triggered, this, &TStakesTab::LogStakesDeleteExecute);
    connect(StakesScroll, &QAction::triggered, this, &TStakesTab::StakesScrollExecute);
    connect(StakesGraphDraws, &QAction::triggered, this, &TStakesTab::StakesGraphDrawsExecute);
    connect(StakesXlsExport, &QAction::triggered, this, &TStakesTab::StakesXlsExportExecute);
}

void TStakesTab::AddCommands(QMenu& menu) const {
    menu.addAction(StakeAdd);
    menu.addAction(StakeAddRandom);
    menu.addAction(StakeAddSelected);
    menu.addAction(StakeAddAll);
    menu.addSeparator();
    menu.addAction(StakeDel);
    menu.addAction(StakeFilter);
    menu.addAction(StakeClear);
    menu.addSeparator();
    menu.addAction(StakesCheckManual);
    menu.addSeparator();
    menu.addAction(LogStakes);
    menu.addAction(LogStakesDelete);
    menu.addAction(StakesScroll);
    menu.addSeparator();
    menu.addAction(StakesGraphDraws);
    menu.addAction(StakesXlsExport);
}

void TStakesTab::SyncSwitches() {
    LogStakes->setChecked(Session_.View().StakesLogEnabled);
    StakesScroll->setChecked(Session_.View().StakesScrollEnabled);
}

void TStakesTab::SessionEvent(TSessionEvent event) {
    switch (event) {
    case TSessionEvent::StakesChanged:
        Model_->Refresh();
        break;
    default:
        break;
    }
}

void TStakesTab::RestoreViewState(const TIniFile& ini) {
    RestoreColumnWidths(*Grid_, ini, MainWindowSection, ListName);
    SyncSwitches();
}

void TStakesTab::SaveViewState(TKeyValues& values) const {
    AddColumnWidthValues(*Grid_, ListName, values);
}

std::optional<std::size_t> TStakesTab::SelectedCombination() const {
    const QTableView& list = *Combs_.List();
    const QItemSelectionModel& selection = *list.selectionModel();
    const std::size_t size = Session_.WorkingList().size();
    const QModelIndex current = list.currentIndex();
    if (current.isValid() && selection.isRowSelected(current.row(), {}) &&
        static_cast<std::size_t>(current.row()) < size)
        return static_cast<std::size_t>(current.row());
    const std::vector<std::pair<std::size_t, std::size_t>> ranges = SelectedRanges(selection.selection());
    if (!ranges.empty() && ranges.front().first < size)
        return ranges.front().first;
    return std::nullopt;
}

void TStakesTab::ShowLastStake() {
    if (Model_->rowCount() == 0)
        return;
    const QModelIndex last = Model_->index(Model_->rowCount() - 1, 0);
    Grid_->setCurrentIndex(last);
    Grid_->scrollTo(last);
}

void TStakesTab::FollowNewStakes() {
    if (!Session_.View().StakesScrollEnabled || Model_->rowCount() == 0)
        return;
    const QModelIndex last = Model_->index(Model_->rowCount() - 1, 0);
    Grid_->setCurrentIndex(last);
    Grid_->scrollTo(last);
}

void TStakesTab::AddManualStake(std::optional<std::size_t> row) {
    const TCombination* numbers = row ? &Session_.WorkingList()[*row] : nullptr;
    TStakeDialog dialog(Session_.NewManualStake(numbers), Session_.Ui(), window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (Session_.StakeAddManual(dialog.Result()))
        FollowNewStakes();
}

void TStakesTab::StakeAddExecute() {
    AddManualStake(SelectedCombination());
}

void TStakesTab::StakeAddRandomExecute() {
    if (const auto row = Session_.RandomCombinationIndex())
        AddManualStake(row);
}

void TStakesTab::AddStakesFromList(bool selectedOnly) {
    std::vector<std::size_t> rows;
    if (selectedOnly) {
        rows = SelectedRows(Combs_.List()->selectionModel()->selection());
        if (rows.empty())
            return;
    }
    TStakesMultiDialog dialog(Session_.NewManualStake(nullptr).DrawNumber, Session_.Ui(), window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    const int64_t made = Session_.StakesAddCombinations(selectedOnly ? &rows : nullptr, dialog.DrawNumber(),
                                                        dialog.Copies(), dialog.Comment());
    if (made < 0)
        return;
    Combs_.List()->selectionModel()->clearSelection();
    FollowNewStakes();
    Actions_.Update();
}

void TStakesTab::StakeAddSelectedExecute() {
    AddStakesFromList(true);
}

void TStakesTab::StakeAddAllExecute() {
    AddStakesFromList(false);
}

void TStakesTab::StakeDelExecute() {
    const std::vector<std::pair<std::size_t, std::size_t>> ranges =
        SelectedRanges(Grid_->selectionModel()->selection());
    if (ranges.empty())
        return;
    // The grid keeps one range; should several come, their span is what is asked about.
    const auto first = static_cast<int64_t>(ranges.front().first);
    const auto last = static_cast<int64_t>(ranges.back().second);
    if (Session_.StakesDeleteRange(first, last))
        Grid_->clearSelection();
    Actions_.Update();
}

void TStakesTab::StakeFilterExecute() {
    TStakesFilterDialog dialog(window());
    if (dialog.exec() == QDialog::Accepted)
        Session_.StakesDeleteByCondition(dialog.Result());
}

void TStakesTab::StakeClearExecute() {
    Session_.StakesClear();
}

void TStakesTab::StakesCheckManualExecute() {
    Session_.StakesCheck();
}

void TStakesTab::LogStakesExecute(bool on) {
    Session_.SetStakesLogEnabled(on);
}

void TStakesTab::LogStakesDeleteExecute() {
    Session_.StakesLogsDelete();
}

void TStakesTab::StakesScrollExecute(bool on) {
    Session_.SetStakesScrollEnabled(on);
}

void TStakesTab::StakesGraphDrawsExecute() {
    const std::optional<TProfitDrawArray> list = Session_.StakesProfitByDraw();
    if (!list)
        return;
    TStakesProfitWindow chart(*list, window());
    chart.exec();
}

void TStakesTab::StakesXlsExportExecute() {
    ExportListToSpreadsheet(Session_, window(), QString::fromUtf8(Caption), *Grid_);
}

} // namespace kumby::gui
