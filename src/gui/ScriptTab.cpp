#include "ScriptTab.h"

#include "ActionButton.h"
#include "ActionList.h"
#include "CombsTab.h"
#include "FileDialogs.h"
#include "FilterDialog.h"
#include "GuiText.h"
#include "RegularDialog.h"
#include "ScriptLineDialog.h"
#include "ScriptListModel.h"
#include "StatsTab.h"
#include "ViewStateGlue.h"
#include "app/Session.h"
#include "model/VexoUtils.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelection>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

namespace kumby::gui {

TScriptTab::TScriptTab(Session& session, TActionList& actions, TStatsTab& stats, QWidget* parent)
    : QWidget(parent), Session_(session), Actions_(actions), Stats_(stats) {
    Model_ = new TScriptListModel(session, this);
    List_ = new QTableView;
    List_->setObjectName(QString::fromUtf8(ListName));
    List_->setModel(Model_);
    SetUpListView(*List_);
    List_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    List_->setContextMenuPolicy(Qt::CustomContextMenu);
    List_->setColumnWidth(0, 160);
    // Room for the usual options; the filters are what the list is read for, and a
    // longer options text shows whole in its tooltip.
    List_->setColumnWidth(
        1, FitColumnWidth(*List_, 1, QStringLiteral("Исходный список; Случайно; Только новые ставки")));
    for (int c = 2; c < Model_->columnCount(); ++c)
        List_->setColumnWidth(c, 220);

    auto* bar = new QStatusBar;
    bar->setSizeGripEnabled(false);
    for (int i = 0; i < PanelCount; ++i) {
        auto* panel = new QLabel;
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setTextFormat(Qt::PlainText);
        panel->setContentsMargins(4, 0, 4, 0);
        if (i == PanelRunText)
            panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        else
            panel->setMinimumWidth(panel->fontMetrics().horizontalAdvance(QStringLiteral("Ставок: 0000000")));
        bar->addWidget(panel, i == PanelRunText ? 1 : 0);
        Panels_[static_cast<std::size_t>(i)] = panel;
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->setSpacing(2);
    layout->addWidget(List_, 1);
    layout->addWidget(bar);

    CreateActions();
    // The commands used most, at hand above the list; the rest are in the menus.
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(4);
    for (QAction* action : {ScriptRun, ScriptTest, ScriptStop})
        buttons->addWidget(ActionButton(action, action->text()));
    buttons->addSpacing(12);
    for (QAction* action : {ScriptAdd, ScriptEdit, ScriptDel})
        buttons->addWidget(ActionButton(action, action->text()));
    buttons->addStretch(1);
    layout->insertLayout(0, buttons);
    ContextMenu_ = new QMenu(this);
    AddCommands(*ContextMenu_);
    connect(List_, &QTableView::customContextMenuRequested, this,
            [this](const QPoint& pos) { ContextMenu_->popup(List_->viewport()->mapToGlobal(pos)); });
    connect(List_, &QTableView::doubleClicked, this, [this] {
        if (ScriptEdit->isEnabled())
            EditExecute();
    });
    connect(List_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { Actions_.Update(); });
    connect(List_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { Actions_.Update(); });
    connect(Model_, &QAbstractItemModel::modelReset, this, [this] { Actions_.Update(); });
    ShowRunState();
}

void TScriptTab::CreateActions() {
    // The list's own keys act only while the list (or the tab) has the focus: the
    // other tabs keep theirs.
    auto local = [this](QAction* action) {
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);
    };
    ScriptOpen = Actions_.Add(QStringLiteral("Открыть"), QStringLiteral("Загрузить сценарий из файла"), {},
                              [this] { return Session_.CanScriptOpen(); });
    ScriptSave = Actions_.Add(QStringLiteral("Сохранить"), QStringLiteral("Сохранить сценарий в файл"), {},
                              [this] { return Session_.CanScriptSave(); });
    ScriptAdd =
        Actions_.Add(QStringLiteral("Добавить фильтры"), QStringLiteral("Добавить новую строку в сценарий"),
                     QKeySequence(Qt::Key_Insert), [this] { return Session_.CanScriptAdd(); });
    local(ScriptAdd);
    ScriptEmpty = Actions_.Add(QStringLiteral("Добавить разделитель"),
                               QStringLiteral("Добавить пустую строку в конец сценария"), {},
                               [this] { return Session_.CanScriptAddSeparator(); });
    ScriptLoad = Actions_.Add(QStringLiteral("Добавить сценарий"),
                              QStringLiteral("Добавить строки сценария из файла в конец сценария"), {},
                              [this] { return Session_.CanScriptLoad(); });
    ScriptClone = Actions_.Add(QStringLiteral("Клонировать"),
                               QStringLiteral("Создать новую строку на основе выделенной"), {},
                               [this] { return Session_.CanScriptClone(CurrentRow()); });
    ScriptEdit = Actions_.Add(QStringLiteral("Изменить"), QStringLiteral("Изменить выделенную строку"), {},
                              [this] { return Session_.CanScriptEdit(CurrentRow()); });
    ScriptEdit->setShortcuts({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    local(ScriptEdit);
    ScriptDel = Actions_.Add(QStringLiteral("Удалить"), QStringLiteral("Удалить выделенные строки"),
                             QKeySequence(Qt::Key_Delete),
                             [this] { return Session_.CanScriptDelete(SelectedLines().size()); });
    local(ScriptDel);
    ScriptClr = Actions_.Add(QStringLiteral("Удалить все"), QStringLiteral("Удалить все строки сценария"), {},
                             [this] { return Session_.CanScriptClear(); });
    ScriptUp = Actions_.Add(
        QStringLiteral("Переместить вверх"), QStringLiteral("Переместить выделенную строку вверх"),
        QKeySequence(Qt::CTRL | Qt::Key_Up), [this] { return Session_.CanScriptUp(CurrentRow()); });
    local(ScriptUp);
    ScriptDown = Actions_.Add(
        QStringLiteral("Переместить вниз"), QStringLiteral("Переместить выделенную строку вниз"),
        QKeySequence(Qt::CTRL | Qt::Key_Down), [this] { return Session_.CanScriptDown(CurrentRow()); });
    local(ScriptDown);

    auto canRun = [this] { return Session_.CanRunScript(Session_.Script().Lines()); };
    ScriptRun = Actions_.Add(QStringLiteral("Прогноз"),
                             QStringLiteral("Выполнить сценарий для текущего тиража и смещения"),
                             QKeySequence(Qt::Key_F9), canRun);
    ScriptTest =
        Actions_.Add(QStringLiteral("Тест"),
                     QStringLiteral("Тестирование сценария на основе результатов предыдуших тиражей"),
                     QKeySequence(Qt::SHIFT | Qt::Key_F9), canRun);
    ScriptStop = Actions_.Add(QStringLiteral("Стоп"), QStringLiteral("Остановить выполнение сценария"),
                              QKeySequence(Qt::Key_Escape), [this] {
                                  const TScriptRunState& state = Session_.ScriptRunState();
                                  return state.Running && !state.StopRequested;
                              });
    ScriptStop->setShortcuts({QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_Pause)});
    Actions_.KeepWhileBusy(ScriptStop);
    const QString logCaption = QStringLiteral("Журнал выполнения сценария");
    LogToggle = Actions_.AddCheck(logCaption, logCaption, [this] { return !Session_.ScriptRunning(); });
    const QString logsCaption = QStringLiteral("Удалить журналы выполнения сценариев");
    LogsDelete = Actions_.Add(logsCaption, logsCaption, {}, [this] { return !Session_.ScriptRunning(); });
    const QString checkCaption = QStringLiteral("Проверять ставки после каждой строки сценария");
    StakesCheckLine = Actions_.AddCheck(checkCaption, checkCaption);
    SyncSwitches();

    connect(ScriptOpen, &QAction::triggered, this, &TScriptTab::OpenExecute);
    connect(ScriptSave, &QAction::triggered, this, &TScriptTab::SaveExecute);
    connect(ScriptAdd, &QAction::triggered, this, &TScriptTab::AddExecute);
    connect(ScriptEmpty, &QAction::triggered, this, &TScriptTab::EmptyExecute);
    connect(ScriptLoad, &QAction::triggered, this, &TScriptTab::LoadExecute);
    connect(ScriptClone, &QAction::triggered, this, &TScriptTab::CloneExecute);
    connect(ScriptEdit, &QAction::triggered, this, &TScriptTab::EditExecute);
    connect(ScriptDel, &QAction::triggered, this, &TScriptTab::DelExecute);
    connect(ScriptClr, &QAction::triggered, this, &TScriptTab::ClrExecute);
    connect(ScriptUp, &QAction::triggered, this, &TScriptTab::UpExecute);
    connect(ScriptDown, &QAction::triggered, this, &TScriptTab::DownExecute);
    connect(ScriptRun, &QAction::triggered, this, &TScriptTab::RunExecute);
    connect(ScriptTest, &QAction::triggered, this, &TScriptTab::TestExecute);
    connect(ScriptStop, &QAction::triggered, this, &TScriptTab::StopExecute);
    connect(LogToggle, &QAction::triggered, this, [this](bool on) {
        Session_.SetScriptLogEnabled(on);
        SyncSwitches();
    });
    connect(LogsDelete, &QAction::triggered, this, [this] { Session_.ScriptLogsDelete(); });
    connect(StakesCheckLine, &QAction::triggered, this, [this](bool on) {
        Session_.SetStakesCheckOnLine(on);
        SyncSwitches();
    });
}

void TScriptTab::SyncSwitches() {
    LogToggle->setChecked(Session_.View().ScriptLogEnabled);
    StakesCheckLine->setChecked(Session_.View().StakesCheckOnLine);
}

void TScriptTab::AddCommands(QMenu& menu) const {
    menu.addAction(ScriptOpen);
    menu.addAction(ScriptSave);
    menu.addSeparator();
    menu.addAction(ScriptAdd);
    menu.addAction(ScriptEmpty);
    menu.addAction(ScriptLoad);
    menu.addAction(ScriptClone);
    menu.addAction(ScriptEdit);
    menu.addAction(ScriptDel);
    menu.addAction(ScriptClr);
    menu.addSeparator();
    menu.addAction(ScriptUp);
    menu.addAction(ScriptDown);
    menu.addSeparator();
    menu.addAction(ScriptRun);
    menu.addAction(ScriptTest);
    menu.addAction(ScriptStop);
    menu.addSeparator();
    menu.addAction(LogToggle);
    menu.addAction(LogsDelete);
    menu.addAction(StakesCheckLine);
}

QString TScriptTab::PanelShown(TPanel panel) const {
    return Panels_[static_cast<std::size_t>(panel)]->text();
}

void TScriptTab::SessionEvent(TSessionEvent event) {
    if (event == TSessionEvent::ScriptChanged) {
        Model_->Refresh();
        Panels_[PanelLines]->setText(Q(Session_.ScriptCountPanel()));
    } else if (event == TSessionEvent::ScriptRunChanged) {
        ShowRunState();
    } else if (event == TSessionEvent::SettingsChanged) {
        // The registry may have been rebuilt: the filters show their methods afresh.
        Model_->Refresh();
    }
}

void TScriptTab::ShowRunState() {
    const TScriptRunState& state = Session_.ScriptRunState();
    Panels_[PanelLines]->setText(Q(Session_.ScriptCountPanel()));
    Panels_[PanelCycle]->setText(Q(Format("Цикл: %d", state.Cycle)));
    Panels_[PanelLine]->setText(Q(Format("Строка: %d", state.Line)));
    Panels_[PanelStakes]->setText(Q(Format("Ставок: %lld", static_cast<long long>(state.StakesMade))));
    Panels_[PanelRunText]->setText(Q(state.Text));
    List_->setEnabled(!state.Running);
    const int row = state.Running ? state.SelectedRow : -1;
    if (row != ShownRunRow_) {
        ShownRunRow_ = row;
        if (row >= 0 && row < Model_->rowCount()) {
            List_->selectRow(row);
            List_->scrollTo(Model_->index(row, 0));
        } else {
            List_->clearSelection();
        }
    }
}

void TScriptTab::RestoreViewState(const TIniFile& ini) {
    RestoreColumnWidths(*List_, ini, MainWindowSection, ListName);
}

void TScriptTab::SaveViewState(TKeyValues& values) const {
    AddColumnWidthValues(*List_, ListName, values);
}

int TScriptTab::CurrentRow() const {
    const std::vector<std::size_t> rows = SelectedLines();
    if (rows.empty())
        return -1;
    const QModelIndex current = List_->currentIndex();
    if (current.isValid() && List_->selectionModel()->isRowSelected(current.row(), {}))
        return current.row();
    return static_cast<int>(rows.front());
}

std::vector<std::size_t> TScriptTab::SelectedLines() const {
    std::vector<std::size_t> rows = SelectedRows(List_->selectionModel()->selection());
    const std::size_t count = Session_.Script().Count();
    rows.erase(std::remove_if(rows.begin(), rows.end(), [count](std::size_t r) { return r >= count; }),
               rows.end());
    return rows;
}

void TScriptTab::SelectRow(std::size_t row) {
    const QModelIndex index = Model_->index(static_cast<int>(row), 0);
    if (!index.isValid())
        return;
    List_->selectionModel()->setCurrentIndex(index,
                                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    List_->scrollTo(index);
}

void TScriptTab::SelectLastLines(int count) {
    const int rows = Model_->rowCount();
    if (count <= 0 || rows == 0)
        return;
    List_->clearSelection();
    const int first = std::max(0, rows - count);
    List_->selectionModel()->select(QItemSelection(Model_->index(first, 0), Model_->index(rows - 1, 0)),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    List_->selectionModel()->setCurrentIndex(Model_->index(rows - 1, 0), QItemSelectionModel::NoUpdate);
    List_->scrollTo(Model_->index(rows - 1, 0));
}

TFilterEditorPresets TScriptTab::FilterPresets() const {
    TFilterEditorPresets presets;
    const QComboBox& methods = *Stats_.MethodList();
    for (int i = 0; i < methods.count(); ++i)
        presets.Methods.push_back(
            {methods.itemText(i), static_cast<std::size_t>(methods.itemData(i).toULongLong())});
    presets.MethodRow = std::max(0, methods.currentIndex());
    presets.DrawsLen = QString::number(Stats_.LengthEdit()->value());
    const TConfigData& config = Session_.Config();
    presets.Weights = {config.CoefCount, config.CoefDeviation, config.CoefLevel, config.UsePercents,
                       config.UseAbsValues};
    return presets;
}

void TScriptTab::OpenExecute() {
    const QString name = AskOpenFileName(window(), QString::fromUtf8(FileFilter));
    if (!name.isEmpty())
        Session_.ScriptOpen(LocalPath(name));
}

void TScriptTab::SaveExecute() {
    const QString name = AskSaveFileName(window(), QString::fromUtf8(FileFilter), QStringLiteral("lsc"));
    if (!name.isEmpty())
        Session_.ScriptSave(LocalPath(name));
}

void TScriptTab::LoadExecute() {
    const QString name = AskOpenFileName(window(), QString::fromUtf8(FileFilter));
    if (!name.isEmpty())
        Session_.ScriptLoad(LocalPath(name));
}

void TScriptTab::AddExecute() {
    const TFilterEditorPresets presets = FilterPresets();
    TScriptLineDialog dialog(QString::fromUtf8(TScriptLineDialog::NewTitle), {}, Session_.View().DrawsExclude,
                             presets, Session_.Registry(), Session_.Ui(), window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (const auto row = Session_.ScriptAdd(dialog.Line()))
        SelectRow(*row);
}

void TScriptTab::CloneExecute() {
    const int row = CurrentRow();
    if (!Session_.CanScriptClone(row))
        return;
    const TFilterEditorPresets presets = FilterPresets();
    TScriptLineDialog dialog(
        QString::fromUtf8(TScriptLineDialog::NewTitle), Session_.Script().Line(static_cast<std::size_t>(row)),
        Session_.View().DrawsExclude, presets, Session_.Registry(), Session_.Ui(), window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (const auto added = Session_.ScriptAdd(dialog.Line()))
        SelectRow(*added);
}

void TScriptTab::EditExecute() {
    const int row = CurrentRow();
    if (!Session_.CanScriptEdit(row))
        return;
    const TFilterEditorPresets presets = FilterPresets();
    TScriptLineDialog dialog(QString::fromUtf8(TScriptLineDialog::EditTitle),
                             Session_.Script().Line(static_cast<std::size_t>(row)),
                             Session_.View().DrawsExclude, presets, Session_.Registry(), Session_.Ui(),
                             window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    Session_.ScriptEdit(static_cast<std::size_t>(row), dialog.Line());
    SelectRow(static_cast<std::size_t>(row));
}

void TScriptTab::EmptyExecute() {
    if (const auto row = Session_.ScriptAddSeparator())
        SelectRow(*row);
}

void TScriptTab::DelExecute() {
    if (Session_.ScriptDelete(SelectedLines()))
        List_->clearSelection();
    Actions_.Update();
}

void TScriptTab::ClrExecute() {
    Session_.ScriptClear();
    Actions_.Update();
}

void TScriptTab::UpExecute() {
    const int row = CurrentRow();
    if (!Session_.CanScriptUp(row))
        return;
    if (const auto moved = Session_.ScriptMoveUp(static_cast<std::size_t>(row)))
        SelectRow(*moved);
}

void TScriptTab::DownExecute() {
    const int row = CurrentRow();
    if (!Session_.CanScriptDown(row))
        return;
    if (const auto moved = Session_.ScriptMoveDown(static_cast<std::size_t>(row)))
        SelectRow(*moved);
}

void TScriptTab::RunExecute() {
    // The run reads its own copy: nothing the user does meanwhile changes its lines.
    const TScriptLines lines = Session_.Script().Lines();
    Session_.ScriptForecast(lines);
    ShowRunState();
    Actions_.Update();
}

void TScriptTab::TestExecute() {
    const TScriptLines lines = Session_.Script().Lines();
    if (!Session_.CanRunScript(lines))
        return;
    TTestCountDialog dialog(Session_.MaxScriptTests(), window());
    if (dialog.exec() != QDialog::Accepted || dialog.Count() <= 0)
        return;
    Session_.ScriptBackTest(lines, dialog.Count());
    ShowRunState();
    Actions_.Update();
}

void TScriptTab::StopExecute() {
    Session_.ScriptStop();
    Actions_.Update();
}

} // namespace kumby::gui
