#include "RegularsTab.h"

#include "ActionList.h"
#include "CombsTab.h"
#include "GuiText.h"
#include "RegularDialog.h"
#include "RegularsModel.h"
#include "StakeDialog.h"
#include "StakesModel.h"
#include "StakesTab.h"
#include "ViewStateGlue.h"
#include "app/Session.h"

#include <QHeaderView>
#include <QItemSelection>
#include <QMenu>
#include <QTableView>
#include <QVBoxLayout>

namespace kumby::gui {

TRegularsTab::TRegularsTab(Session& session, TActionList& actions, TCombsTab& combs, TStakesTab& stakes,
                           QWidget* parent)
    : QWidget(parent), Session_(session), Actions_(actions), Combs_(combs), Stakes_(stakes) {
    Model_ = new TRegularsModel(session, this);
    List_ = new QTableView;
    List_->setObjectName(QString::fromUtf8(ListName));
    List_->setModel(Model_);
    List_->setSelectionBehavior(QAbstractItemView::SelectRows);
    List_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    List_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    List_->setWordWrap(false);
    List_->setContextMenuPolicy(Qt::CustomContextMenu);
    List_->verticalHeader()->hide();
    List_->verticalHeader()->setDefaultSectionSize(List_->fontMetrics().height() + 6);
    List_->horizontalHeader()->setHighlightSections(false);
    const int widths[] = {200, 200, 50, 200, 60};
    for (int c = 0; c < 5; ++c)
        List_->setColumnWidth(c, widths[c]);

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
}

void TRegularsTab::CreateActions() {
    auto shown = [this] { return Session_.RegularsVisible(); };
    auto selected = [this] { return Session_.RegularsVisible() && !SelectedRegulars().empty(); };
    TablesAdd = Actions_.Add(QStringLiteral("Добавить регулярную ставку"),
                             QStringLiteral("Добавить регулярную табличную ставку"), {}, shown);
    TablesDel = Actions_.Add(QStringLiteral("Удалить регулярную ставку"),
                             QStringLiteral("Удалить выделенные регулярные табличные ставки"), {}, selected);
    TablesStakeAdd = Actions_.Add(QStringLiteral("Сделать ставку по регуляру"),
                                  QStringLiteral("Создать ставку по выделенному регуляру"), {}, [this] {
                                      return Session_.RegularsVisible() && SelectedRegulars().size() == 1;
                                  });
    TablesStakeTest = Actions_.Add(QStringLiteral("Тест регуляров"),
                                   QStringLiteral("Тестирование регулярных ставок"), {}, selected);
    connect(TablesAdd, &QAction::triggered, this, &TRegularsTab::TablesAddExecute);
    connect(TablesDel, &QAction::triggered, this, &TRegularsTab::TablesDelExecute);
    connect(TablesStakeAdd, &QAction::triggered, this, &TRegularsTab::TablesStakeAddExecute);
    connect(TablesStakeTest, &QAction::triggered, this, &TRegularsTab::TablesStakeTestExecute);
}

void TRegularsTab::AddCommands(QMenu& menu) const {
    menu.addAction(TablesAdd);
    menu.addAction(TablesDel);
    menu.addSeparator();
    menu.addAction(TablesStakeAdd);
    menu.addAction(TablesStakeTest);
}

void TRegularsTab::SessionEvent(TSessionEvent event) {
    if (event == TSessionEvent::RegularsChanged)
        Model_->Refresh();
}

void TRegularsTab::RestoreViewState(const TIniFile& ini) {
    RestoreColumnWidths(*List_, ini, MainWindowSection, ListName);
}

void TRegularsTab::SaveViewState(TKeyValues& values) const {
    AddColumnWidthValues(*List_, ListName, values);
}

std::vector<std::size_t> TRegularsTab::SelectedRegulars() const {
    std::vector<std::size_t> rows = SelectedRows(List_->selectionModel()->selection());
    const std::size_t count = Session_.Regulars().size();
    rows.erase(std::remove_if(rows.begin(), rows.end(), [count](std::size_t r) { return r >= count; }),
               rows.end());
    return rows;
}

void TRegularsTab::FollowNewStakes() {
    TStakesModel& model = *Stakes_.Model();
    if (model.rowCount() == 0)
        return;
    const QModelIndex last = model.index(model.rowCount() - 1, 0);
    Stakes_.Grid()->setCurrentIndex(last);
    Stakes_.Grid()->scrollTo(last);
}

void TRegularsTab::TablesAddExecute() {
    const std::vector<std::size_t> combs = SelectedRows(Combs_.List()->selectionModel()->selection());
    TRegularDialog dialog(Session_.NewRegularInput(combs), combs.size() == 1, Session_.Regulars(),
                          Session_.Ui(), window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (Session_.RegularsAdd(dialog.Result(), combs) > 0) {
        const QModelIndex last = Model_->index(Model_->rowCount() - 1, 0);
        List_->setCurrentIndex(last);
        List_->scrollTo(last);
    }
}

void TRegularsTab::TablesDelExecute() {
    if (Session_.RegularsDelete(SelectedRegulars()))
        List_->clearSelection();
    Actions_.Update();
}

void TRegularsTab::TablesStakeAddExecute() {
    const std::vector<std::size_t> rows = SelectedRegulars();
    if (rows.size() != 1)
        return;
    const auto prepared = Session_.RegularStakePrepare(rows[0]);
    if (!prepared)
        return;
    TStakeDialog dialog(prepared->Stake, Session_.Ui(), window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (Session_.RegularStakeCommit(rows[0], prepared->Advanced, dialog.Result()))
        FollowNewStakes();
    List_->selectionModel()->select(Model_->index(static_cast<int>(rows[0]), 0),
                                    QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TRegularsTab::TablesStakeTestExecute() {
    const std::vector<std::size_t> rows = SelectedRegulars();
    if (rows.empty())
        return;
    const int maxCount = static_cast<int>(Session_.Draws().size()) - 1;
    if (maxCount < 1) {
        Session_.Ui().ShowError("Для теста нужно не менее двух тиражей в архиве.");
        return;
    }
    TTestCountDialog dialog(maxCount, window());
    if (dialog.exec() != QDialog::Accepted || dialog.Count() <= 0)
        return;
    if (Session_.RegularsTest(rows, dialog.Count()) > 0)
        FollowNewStakes();
    Actions_.Update();
}

} // namespace kumby::gui
