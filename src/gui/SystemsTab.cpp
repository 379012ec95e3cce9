#include "SystemsTab.h"

#include "ActionButton.h"
#include "ActionList.h"
#include "FileDialogs.h"
#include "GuiText.h"
#include "StakesMultiDialog.h"
#include "StakesTab.h"
#include "SystemDialogs.h"
#include "ViewStateGlue.h"
#include "app/Session.h"
#include "model/VexoUtils.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kumby::gui {

TSystemsTab::TSystemsTab(Session& session, TActionList& actions, TStakesTab& stakes, QWidget* parent)
    : QWidget(parent), Session_(session), Actions_(actions), Stakes_(stakes) {
    CreateActions();

    Numbers_ = new QLabel;
    Numbers_->setObjectName(QStringLiteral("lbSystemNumbers"));
    Numbers_->setWordWrap(true);
    Numbers_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Chosen_ = new QLabel;
    Chosen_->setObjectName(QStringLiteral("lbSystemChosen"));
    Chosen_->setWordWrap(true);
    Chosen_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* game = new QGroupBox(QStringLiteral("Системная игра"));
    auto* gameButtons = new QHBoxLayout;
    gameButtons->addWidget(ActionButton(SystemStakeAll, SystemStakeAll->text()));
    gameButtons->addWidget(ActionButton(SystemStakeFilter, SystemStakeFilter->text()));
    gameButtons->addStretch(1);
    auto* gameLayout = new QVBoxLayout(game);
    gameLayout->addWidget(Numbers_);
    gameLayout->addWidget(Chosen_);
    gameLayout->addLayout(gameButtons);

    List_ = new QTableWidget(0, ColumnCount);
    List_->setObjectName(QString::fromUtf8(ListName));
    List_->setHorizontalHeaderLabels({QStringLiteral("Файл"), QStringLiteral("Чисел"),
                                      QStringLiteral("Комбинаций"), QStringLiteral("Вид")});
    List_->setSelectionBehavior(QAbstractItemView::SelectRows);
    List_->setSelectionMode(QAbstractItemView::SingleSelection);
    List_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    List_->setWordWrap(false);
    List_->verticalHeader()->hide();
    List_->verticalHeader()->setDefaultSectionSize(List_->fontMetrics().height() + 6);
    List_->horizontalHeader()->setHighlightSections(false);
    const int widths[ColumnCount] = {200, 60, 100, 260};
    for (int c = 0; c < ColumnCount; ++c)
        List_->setColumnWidth(c, widths[c]);
    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(ActionButton(SystemGenerate, SystemGenerate->text()));
    listButtons->addWidget(ActionButton(SystemCheck, SystemCheck->text()));
    listButtons->addWidget(ActionButton(SystemsRefresh, QStringLiteral("Обновить")));
    listButtons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(game);
    layout->addWidget(
        new QLabel(QStringLiteral("Системы в папке \"%1\":").arg(QString::fromUtf8(SystemsFolderName))));
    layout->addWidget(List_, 1);
    layout->addLayout(listButtons);
}

void TSystemsTab::CreateActions() {
    auto play = [this] { return Shown_ && Session_.CanPlaySystem(); };
    auto shown = [this] { return Shown_; };
    // Both captions begin with a Latin "C".
    SystemStakeAll = Actions_.Add(
        QStringLiteral("Cистемная игра по списку системы"),
        QStringLiteral(
            "Системная игра по всем комбинациям выбранной системы (даже если их нет в списке комбинаций)"),
        {}, play);
    SystemStakeFilter = Actions_.Add(
        QStringLiteral("Cистемная игра по списку комбинаций"),
        QStringLiteral(
            "Системная игра только по комбинациям, которые есть и в системе и в списке комбинаций"),
        {}, play);
    SystemGenerate = Actions_.Add(
        QStringLiteral("Создать систему..."),
        QStringLiteral("Создать полную или сокращенную систему и записать ее в папку \"Systems\""), {},
        shown);
    SystemCheck =
        Actions_.Add(QStringLiteral("Проверить систему..."),
                     QStringLiteral("Проверить гарантию файла системы по всем вариантам тиража"), {}, shown);
    SystemsRefresh = Actions_.Add(
        QStringLiteral("Обновить список систем"),
        QStringLiteral("Заново прочитать папку \"Systems\" и числа списка комбинаций"), {}, shown);
    connect(SystemStakeAll, &QAction::triggered, this, &TSystemsTab::SystemStakeAllExecute);
    connect(SystemStakeFilter, &QAction::triggered, this, &TSystemsTab::SystemStakeFilterExecute);
    connect(SystemGenerate, &QAction::triggered, this, &TSystemsTab::SystemGenerateExecute);
    connect(SystemCheck, &QAction::triggered, this, &TSystemsTab::SystemCheckExecute);
    connect(SystemsRefresh, &QAction::triggered, this, &TSystemsTab::Refresh);
}

void TSystemsTab::AddCommands(QMenu& menu) const {
    menu.addAction(SystemStakeAll);
    menu.addAction(SystemStakeFilter);
    menu.addSeparator();
    menu.addAction(SystemGenerate);
    menu.addAction(SystemCheck);
    menu.addAction(SystemsRefresh);
}

void TSystemsTab::SetShown(bool shown) {
    Shown_ = shown;
    Actions_.Update();
}

void TSystemsTab::SessionEvent(TSessionEvent event) {
    if (event != TSessionEvent::CombsChanged)
        return;
    // Collecting the numbers reads the whole list: only for a tab in sight.
    NumbersStale_ = true;
    if (isVisible()) {
        RefreshNumbers();
        ShowChosenSystem();
    }
}

void TSystemsTab::RestoreViewState(const TIniFile& ini) {
    RestoreColumnWidths(*List_, ini, MainWindowSection, ListName);
}

void TSystemsTab::SaveViewState(TKeyValues& values) const {
    AddColumnWidthValues(*List_, ListName, values);
}

void TSystemsTab::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Systems reach the folder from outside the program: it is read on every look.
    Refresh();
}

void TSystemsTab::Refresh() {
    NumbersStale_ = true;
    RefreshNumbers();
    RefreshSystems();
    ShowChosenSystem();
}

void TSystemsTab::RefreshNumbers() {
    if (!NumbersStale_)
        return;
    NumbersStale_ = false;
    const TCombsArray& list = Session_.WorkingList();
    TByteArray numbers;
    CollectDistinctNumbers(list.data(), list.size(), numbers);
    ListN_ = static_cast<int>(numbers.size());
    if (list.empty()) {
        Numbers_->setText(QStringLiteral("Список комбинаций пуст."));
        return;
    }
    QStringList texts;
    for (uint8_t number : numbers)
        texts << QString::number(number);
    Numbers_->setText(
        QStringLiteral("Числа списка комбинаций (n = %1): %2").arg(ListN_).arg(texts.join(QLatin1Char(';'))));
}

void TSystemsTab::RefreshSystems() {
    Systems_ = ListSystemFiles(Session_.SystemsDir());
    List_->setRowCount(static_cast<int>(Systems_.size()));
    for (std::size_t i = 0; i < Systems_.size(); ++i) {
        const TSystemFileInfo& info = Systems_[i];
        QString kind;
        if (info.Generated && info.Full)
            kind = QStringLiteral("полная");
        else if (info.Generated)
            kind = QStringLiteral("сокращенная (m = %1, t = %2)").arg(info.M).arg(info.T);
        const QString cells[ColumnCount] = {
            Q(info.File.filename().string()), QString::number(info.N),
            info.Combinations < 0 ? QStringLiteral("не читается") : QString::number(info.Combinations), kind};
        const int row = static_cast<int>(i);
        for (int c = 0; c < ColumnCount; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c == ColumnN || c == ColumnCombinations)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            List_->setItem(row, c, item);
        }
    }
}

void TSystemsTab::ShowChosenSystem() {
    const std::filesystem::path chosen =
        ListN_ > 0 ? FindSystemFile(Session_.SystemsDir(), ListN_) : std::filesystem::path();
    if (Session_.WorkingList().empty())
        Chosen_->clear();
    else if (chosen.empty())
        Chosen_->setText(Q(SystemNotFoundText(ListN_)));
    else
        Chosen_->setText(QStringLiteral("Будет использована система: %1").arg(Q(chosen.filename().string())));
    for (int row = 0; row < List_->rowCount(); ++row) {
        const bool mark = !chosen.empty() && Systems_[static_cast<std::size_t>(row)].File == chosen;
        for (int c = 0; c < ColumnCount; ++c) {
            QTableWidgetItem* item = List_->item(row, c);
            QFont font = item->font();
            font.setBold(mark);
            item->setFont(font);
        }
    }
}

void TSystemsTab::PlaySystem(TSystemMode mode) {
    const std::optional<Session::TSystemGame> game = Session_.SystemPrepare(mode);
    if (!game)
        return;
    TStakesMultiDialog dialog(static_cast<int>(game->DrawNumber), game->Comment, Session_.Ui(), window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    const int64_t made = Session_.SystemStake(*game, dialog.DrawNumber(), dialog.Copies(), dialog.Comment());
    if (made > 0)
        Stakes_.ShowLastStake();
    else if (made == 0 && mode == TSystemMode::Filter)
        Session_.Ui().ShowInfo("Ни одной комбинации системы нет в списке комбинаций: ставки не сделаны.");
    Actions_.Update();
}

void TSystemsTab::SystemStakeAllExecute() {
    PlaySystem(TSystemMode::All);
}

void TSystemsTab::SystemStakeFilterExecute() {
    PlaySystem(TSystemMode::Filter);
}

void TSystemsTab::SystemGenerateExecute() {
    RefreshNumbers();
    TSystemGenerateDialog dialog(ListN_, Session_.Ui(), window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    const TSystemRequest request = dialog.Request();
    const std::optional<std::filesystem::path> file = Session_.SystemGenerate(request);
    if (!file)
        return;
    Refresh();
    // The full system holds every combination of its numbers: a check over millions of
    // draws would tell nothing more.
    std::optional<TSystemCheck> check;
    if (!request.Full)
        check = Session_.SystemCheck(*file, request.M);
    TSystemReportDialog report(QStringLiteral("Система создана"), SystemFileInfo(*file), request.M,
                               check ? &*check : nullptr, window());
    report.exec();
}

void TSystemsTab::SystemCheckExecute() {
    const QString name =
        AskOpenFileName(window(), QStringLiteral("Файлы систем (*.dat)"), Q(Session_.SystemsDir().string()));
    if (name.isEmpty())
        return;
    const std::filesystem::path file = LocalPath(name);
    QInputDialog ask(window());
    ask.setWindowTitle(QStringLiteral("Проверка системы"));
    ask.setLabelText(QStringLiteral("Сколько выпавших чисел окажется среди чисел системы (m):"));
    ask.setInputMode(QInputDialog::IntInput);
    ask.setIntRange(1, NumbersInDraw);
    ask.setIntValue(NumbersInDraw);
    ask.setOkButtonText(QStringLiteral("OK"));
    ask.setCancelButtonText(QStringLiteral("Отмена"));
    if (ask.exec() != QDialog::Accepted)
        return;
    const int m = ask.intValue();
    const std::optional<TSystemCheck> check = Session_.SystemCheck(file, m);
    if (!check)
        return;
    TSystemReportDialog report(QStringLiteral("Проверка системы"), SystemFileInfo(file), m, &*check,
                               window());
    report.exec();
}

} // namespace kumby::gui
