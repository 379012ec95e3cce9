#include "CombsTab.h"

#include "ActionButton.h"
#include "ActionList.h"
#include "CombsGenerateDialog.h"
#include "CombsModel.h"
#include "DrawDetailsWindow.h"
#include "FileDialogs.h"
#include "FilterRowsModel.h"
#include "SpreadsheetExport.h"
#include "ViewStateGlue.h"
#include "app/Session.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelection>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>
#include <utility>

namespace kumby::gui {

namespace {

constexpr const char* WaitStatus = "Подождите пожалуйста...";
// A copy of more rows than this shows its progress.
constexpr std::size_t LongCopyRows = 100000;

bool ClipboardHoldsText() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}

} // namespace

std::vector<std::pair<std::size_t, std::size_t>> SelectedRanges(const QItemSelection& selection) {
    std::vector<std::pair<std::size_t, std::size_t>> ranges;
    ranges.reserve(selection.size());
    for (const QItemSelectionRange& range : selection)
        if (range.isValid())
            ranges.emplace_back(static_cast<std::size_t>(range.top()),
                                static_cast<std::size_t>(range.bottom()));
    std::sort(ranges.begin(), ranges.end());
    // Ranges of several columns of one row, or overlapping ones, merge into one.
    std::vector<std::pair<std::size_t, std::size_t>> merged;
    for (const auto& range : ranges) {
        if (!merged.empty() && range.first <= merged.back().second + 1)
            merged.back().second = std::max(merged.back().second, range.second);
        else
            merged.push_back(range);
    }
    return merged;
}

std::vector<std::size_t> SelectedRows(const QItemSelection& selection) {
    std::vector<std::size_t> rows;
    for (const auto& [first, last] : SelectedRanges(selection))
        for (std::size_t r = first; r <= last; ++r)
            rows.push_back(r);
    return rows;
}

QByteArray CombsClipboardBytes(const TCombsArray& list,
                               const std::vector<std::pair<std::size_t, std::size_t>>& ranges,
                               const std::function<bool(std::size_t done, std::size_t total)>& progress) {
    constexpr std::size_t LineBytes = NumbersInDraw * 3 + 1; // "NN " twelve times, the last space a CR, LF
    constexpr std::size_t ProgressEveryRows = 1 << 16;
    std::size_t total = 0;
    for (const auto& [first, last] : ranges)
        if (first < list.size())
            total += std::min(last, list.size() - 1) - first + 1;
    QByteArray text;
    // Numbers of three digits (a loaded file may hold them) make a line longer; they
    // are rare enough to grow the text for.
    text.reserve(static_cast<qsizetype>(total * LineBytes));
    char line[NumbersInDraw * 4 + 2];
    std::size_t done = 0;
    for (const auto& [first, last] : ranges) {
        for (std::size_t r = first; r <= last && r < list.size(); ++r) {
            char* out = line;
            for (int i = 0; i < NumbersInDraw; ++i) {
                const unsigned v = list[r][i];
                if (i > 0)
                    *out++ = ' ';
                if (v >= 100)
                    *out++ = static_cast<char>('0' + v / 100);
                *out++ = static_cast<char>('0' + v / 10 % 10);
                *out++ = static_cast<char>('0' + v % 10);
            }
            *out++ = '\r';
            *out++ = '\n';
            text.append(line, out - line);
            if (++done % ProgressEveryRows == 0 && progress && !progress(done, total))
                return {};
        }
    }
    return text;
}

TCombsTab::TCombsTab(Session& session, TActionList& actions, QWidget* parent)
    : QWidget(parent), Session_(session), Actions_(actions) {
    const QString excludeHint =
        QStringLiteral("Исключить указанное количество последних тиражей из списка комбинаций");
    Exclude_ = new QSpinBox;
    Exclude_->setRange(0, INT_MAX);
    Exclude_->setMinimumWidth(100);
    Exclude_->setToolTip(excludeHint);
    Exclude_->setStatusTip(excludeHint);
    Exclude_->installEventFilter(this);
    if (QLineEdit* edit = Exclude_->findChild<QLineEdit*>())
        edit->installEventFilter(this);

    Model_ = new TCombsModel(session, this);
    List_ = new QTableView;
    List_->setModel(Model_);
    SetUpListView(*List_);
    List_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    List_->setContextMenuPolicy(Qt::CustomContextMenu);
    List_->horizontalHeader()->setStretchLastSection(true);
    List_->setColumnWidth(TCombsModel::ColIndex,
                          FitColumnWidth(*List_, TCombsModel::ColIndex, QStringLiteral("0000000")));
    for (int c = TCombsModel::ColFirstNumber; c < TCombsModel::ColSum; ++c)
        List_->setColumnWidth(c, FitColumnWidth(*List_, c, QStringLiteral("00")));
    List_->setColumnWidth(TCombsModel::ColSum,
                          FitColumnWidth(*List_, TCombsModel::ColSum, QStringLiteral("000")));

    FiltersModel_ = new TFilterRowsModel(session, this);
    Filters_ = new QTableView;
    Filters_->setObjectName(QString::fromUtf8(FiltersListName));
    Filters_->setModel(FiltersModel_);
    SetUpListView(*Filters_);
    Filters_->setSelectionMode(QAbstractItemView::SingleSelection);
    Filters_->setMinimumHeight(60);
    // The designed widths, widened where this font would cut the caption or a count.
    const QFontMetrics filterMetrics = Filters_->fontMetrics();
    for (int c = 0; c < TFilterRowsModel::ColumnCount; ++c) {
        const QString caption = FiltersModel_->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        int width =
            std::max(TFilterRowsModel::DesignedWidths[c], filterMetrics.horizontalAdvance(caption) + 20);
        if (c == TFilterRowsModel::ColCount)
            width = std::max(width, filterMetrics.horizontalAdvance(QStringLiteral("0000000")) + 16);
        Filters_->setColumnWidth(c, width);
    }

    Splitter_ = new QSplitter(Qt::Vertical);
    Splitter_->addWidget(List_);
    Splitter_->addWidget(Filters_);
    Splitter_->setStretchFactor(0, 1);
    Splitter_->setStretchFactor(1, 0);
    Splitter_->setChildrenCollapsible(false);
    Splitter_->setSizes({400, DesignedFiltersHeight});

    CreateActions();
    ExcludeButton_ = ActionButton(CombsExclude, QStringLiteral("[-] Тиражи"));

    auto* top = new QHBoxLayout;
    top->addWidget(Exclude_);
    top->addWidget(ExcludeButton_);
    top->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top);
    layout->addWidget(Splitter_, 1);

    ContextMenu_ = new QMenu(this);
    AddCommands(*ContextMenu_);

    connect(Exclude_, &QSpinBox::valueChanged, this, [this](int n) {
        Session_.View().DrawsExclude = n;
        Actions_.Update();
    });
    connect(List_, &QTableView::customContextMenuRequested, this,
            [this](const QPoint& pos) { ContextMenu_->popup(List_->viewport()->mapToGlobal(pos)); });
    // A double click is left free for the stakes made from a combination.
    connect(List_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { Actions_.Update(); });
    connect(List_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { Actions_.Update(); });
    connect(Model_, &QAbstractItemModel::modelReset, this, [this] { Actions_.Update(); });
    ClipboardHasText_ = ClipboardHoldsText();
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] {
        ClipboardHasText_ = ClipboardHoldsText();
        Actions_.Update();
    });

    CombsColor->setChecked(Session_.View().ColorCombs);
}

void TCombsTab::CreateActions() {
    auto notEmpty = [this] { return !ListEmpty(); };
    auto focused = [this] { return FocusedRow() >= 0; };

    CombsGenerate = Actions_.Add(QStringLiteral("Генерировать"),
                                 QStringLiteral("Создать новый список комбинаций"), QKeySequence(Qt::Key_F2));
    CombsOpen =
        Actions_.Add(QStringLiteral("Открыть"), QStringLiteral("Загрузить список комбинаций из файла"),
                     QKeySequence(Qt::CTRL | Qt::Key_O));
    CombsSave =
        Actions_.Add(QStringLiteral("Сохранить"), QStringLiteral("Сохранить список комбинаций в файл"),
                     QKeySequence(Qt::CTRL | Qt::Key_S), notEmpty);
    CombsUndo = Actions_.Add(QStringLiteral("Отменить"),
                             QStringLiteral("Вернуть список комбинаций к состоянию до последнего изменения"),
                             QKeySequence(Qt::CTRL | Qt::Key_Z), [this] { return Session_.CanUndo(); });
    CombsExclude =
        Actions_.Add(QStringLiteral("Исключить тиражи"),
                     QStringLiteral("Исключить указанное количество последних тиражей из списка комбинаций"),
                     QKeySequence(Qt::CTRL | Qt::Key_E),
                     [this] { return !ListEmpty() && !Session_.Draws().empty() && Exclude_->value() > 0; });
    CombsDelete = Actions_.Add(QStringLiteral("Удалить выделенные"),
                               QStringLiteral("Удалить выделенные комбинации из списка"),
                               QKeySequence(Qt::CTRL | Qt::Key_Delete),
                               [this] { return !ListEmpty() && List_->selectionModel()->hasSelection(); });
    CombsCopy = Actions_.Add(QStringLiteral("Копировать в буфер"),
                             QStringLiteral("Копировать выделенные комбинации в буфер обмена"),
                             QKeySequence(Qt::CTRL | Qt::Key_C), notEmpty);
    CombsPaste = Actions_.Add(QStringLiteral("Вставить из буфера"),
                              QStringLiteral("Заменить список комбинаций комбинациями из буфера обмена"),
                              QKeySequence(Qt::CTRL | Qt::Key_V), [this] { return ClipboardHasText_; });
    CombsSelectAll =
        Actions_.Add(QStringLiteral("Выделить все"), QStringLiteral("Выделить все комбинации списка"),
                     QKeySequence(Qt::CTRL | Qt::Key_A), notEmpty);
    CombsDistinct =
        Actions_.Add(QStringLiteral("Количество уникальных номеров"),
                     QStringLiteral("Сколько разных чисел содержится в текущем списке комбинаций"));
    CombsFind = Actions_.Add(QStringLiteral("Проверить по архиву тиражей"),
                             QStringLiteral("Найти выбранную комбинацию в архиве тиражей"),
                             QKeySequence(Qt::CTRL | Qt::Key_F), focused);
    CombsDetails = Actions_.Add(QStringLiteral("Сведения о комбинации"),
                                QStringLiteral("Подробная информация о выбранной комбинации"), {}, focused);
    CombsExcel =
        Actions_.Add(QStringLiteral("Экспорт в Microsoft Excel"),
                     QStringLiteral("Сохранить список комбинаций в книгу Microsoft Excel"), {}, notEmpty);
    CombsColor = Actions_.AddCheck(QStringLiteral("Выделять каналы в списке комбинаций"),
                                   QStringLiteral("Раскрашивать числа в списке комбинаций по каналам"));

    connect(CombsGenerate, &QAction::triggered, this, &TCombsTab::GenerateExecute);
    connect(CombsOpen, &QAction::triggered, this, &TCombsTab::OpenExecute);
    connect(CombsSave, &QAction::triggered, this, &TCombsTab::SaveExecute);
    connect(CombsUndo, &QAction::triggered, this, &TCombsTab::UndoExecute);
    connect(CombsExclude, &QAction::triggered, this, &TCombsTab::ExcludeExecute);
    connect(CombsDelete, &QAction::triggered, this, &TCombsTab::DeleteExecute);
    connect(CombsCopy, &QAction::triggered, this, &TCombsTab::CopyExecute);
    connect(CombsPaste, &QAction::triggered, this, &TCombsTab::PasteExecute);
    connect(CombsSelectAll, &QAction::triggered, this, &TCombsTab::SelectAllExecute);
    connect(CombsDistinct, &QAction::triggered, this, &TCombsTab::DistinctExecute);
    connect(CombsFind, &QAction::triggered, this, &TCombsTab::FindExecute);
    connect(CombsDetails, &QAction::triggered, this, &TCombsTab::DetailsExecute);
    connect(CombsExcel, &QAction::triggered, this, &TCombsTab::ExcelExecute);
    connect(CombsColor, &QAction::triggered, this, &TCombsTab::ColorExecute);
}

void TCombsTab::AddCommands(QMenu& menu) const {
    menu.addAction(CombsGenerate);
    menu.addAction(CombsOpen);
    menu.addAction(CombsSave);
    menu.addSeparator();
    menu.addAction(CombsUndo);
    menu.addSeparator();
    menu.addAction(CombsExclude);
    menu.addAction(CombsDelete);
    menu.addSeparator();
    menu.addAction(CombsCopy);
    menu.addAction(CombsPaste);
    menu.addAction(CombsSelectAll);
    menu.addSeparator();
    menu.addAction(CombsDistinct);
    menu.addAction(CombsFind);
    menu.addAction(CombsDetails);
    menu.addSeparator();
    menu.addAction(CombsExcel);
    menu.addSeparator();
    menu.addAction(CombsColor);
}

bool TCombsTab::ListEmpty() const {
    return Session_.WorkingList().empty();
}

int TCombsTab::FocusedRow() const {
    const QModelIndex current = List_->currentIndex();
    if (!current.isValid() || static_cast<std::size_t>(current.row()) >= Session_.WorkingList().size())
        return -1;
    return current.row();
}

void TCombsTab::Refresh() {
    Model_->Refresh();
    FiltersModel_->Refresh();
    if (FiltersModel_->rowCount() > 0)
        Filters_->scrollToBottom();
}

void TCombsTab::SessionEvent(TSessionEvent event) {
    switch (event) {
    case TSessionEvent::CombsChanged:
        Refresh();
        break;
    case TSessionEvent::SettingsChanged:
        // The channel width colours the numbers.
        Model_->Refresh();
        break;
    case TSessionEvent::BusyChanged:
        Exclude_->setEnabled(!Session_.Busy());
        break;
    default:
        break;
    }
}

bool TCombsTab::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && (watched == Exclude_ || watched->parent() == Exclude_)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            // Half-typed text (empty, say) is no count: nothing runs.
            if (Exclude_->hasAcceptableInput()) {
                Exclude_->interpretText();
                Actions_.Update();
                if (CombsExclude->isEnabled())
                    CombsExclude->trigger();
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TCombsTab::showEvent(QShowEvent* event) {
    Shown_ = true;
    QWidget::showEvent(event);
}

void TCombsTab::RestoreViewState(const TIniFile& ini) {
    RestoreColumnWidths(*List_, ini, MainWindowSection, ListName);
    RestoreColumnWidths(*Filters_, ini, MainWindowSection, FiltersListName);
    Exclude_->setValue(std::max(0, Session_.View().DrawsExclude));
    Session_.View().DrawsExclude = Exclude_->value();
    const int height = Session_.View().FiltersHeight;
    const QList<int> sizes = Splitter_->sizes();
    const int total = std::max(sizes.value(0) + sizes.value(1), 2 * DesignedFiltersHeight);
    const int filters = height > 0 ? height : DesignedFiltersHeight;
    Splitter_->setSizes({std::max(1, total - filters), filters});
    CombsColor->setChecked(Session_.View().ColorCombs);
    Model_->Refresh();
}

void TCombsTab::SaveViewState(TKeyValues& values) {
    AddColumnWidthValues(*List_, ListName, values);
    AddColumnWidthValues(*Filters_, FiltersListName, values);
    Session_.View().DrawsExclude = Exclude_->value();
    // A page never shown has no real sizes: the height read at start stays.
    const int filters = Splitter_->sizes().value(1);
    if (Shown_ && filters > 0)
        Session_.View().FiltersHeight = filters;
}

void TCombsTab::GenerateExecute() {
    TCombsGenerateDialog dialog(Session_.GenerateDefaults(), window());
    if (dialog.exec() == QDialog::Accepted)
        Session_.CombsGenerate(dialog.Result(), dialog.MakeDefault());
}

void TCombsTab::OpenExecute() {
    const QString name = AskOpenFileName(window(), QString::fromUtf8(CombsFileFilter));
    if (!name.isEmpty())
        Session_.CombsOpen(LocalPath(name));
}

void TCombsTab::SaveExecute() {
    const QString name = AskSaveFileName(window(), QString::fromUtf8(CombsFileFilter), QStringLiteral("lcv"));
    if (!name.isEmpty())
        Session_.CombsSave(LocalPath(name));
}

void TCombsTab::UndoExecute() {
    Session_.CombsUndo();
}

void TCombsTab::ExcludeExecute() {
    Session_.CombsExclude(Exclude_->value());
}

void TCombsTab::DeleteExecute() {
    const std::vector<std::size_t> rows = SelectedRows(List_->selectionModel()->selection());
    if (rows.empty())
        return;
    Session_.CombsDeleteSelected(rows);
    List_->selectionModel()->clearSelection();
    Actions_.Update();
}

void TCombsTab::CopyExecute() {
    const std::vector<std::pair<std::size_t, std::size_t>> ranges =
        SelectedRanges(List_->selectionModel()->selection());
    if (ranges.empty())
        return;
    QByteArray text;
    {
        TBusyScope busy(Session_, WaitStatus);
        IUserInterface& ui = Session_.Ui();
        bool progressShown = false;
        text = CombsClipboardBytes(Session_.WorkingList(), ranges, [&](std::size_t done, std::size_t total) {
            // A short list is done before a progress window could be read.
            if (total > LongCopyRows) {
                ui.SetProgress(static_cast<long long>(done), static_cast<long long>(total));
                progressShown = true;
            }
            ui.PumpEvents();
            return !ui.StopRequested();
        });
        if (progressShown)
            ui.SetProgress(0, 0);
    }
    if (text.isEmpty())
        return; // stopped: the clipboard keeps what it had
    // The text is plain ASCII: the clipboard holds its bytes as they are, not a
    // second copy of twice the size.
    auto* data = new QMimeData;
    data->setData(QStringLiteral("text/plain"), text);
    QGuiApplication::clipboard()->setMimeData(data);
}

void TCombsTab::PasteExecute() {
    // Our own copy is taken as its bytes, without a detour through a wide string.
    const QClipboard& clipboard = *QGuiApplication::clipboard();
    const QMimeData* own = clipboard.ownsClipboard() ? clipboard.mimeData() : nullptr;
    const QByteArray text = own && own->hasFormat(QStringLiteral("text/plain"))
                                ? own->data(QStringLiteral("text/plain"))
                                : clipboard.text().toUtf8();
    Session_.CombsPaste(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
}

void TCombsTab::SelectAllExecute() {
    const int rows = Model_->rowCount();
    if (rows == 0)
        return;
    TBusyScope busy(Session_, WaitStatus);
    // One range for every row: a per-row selection of the full set would take ages.
    const QItemSelection all(Model_->index(0, 0), Model_->index(rows - 1, TCombsModel::ColumnCount - 1));
    List_->selectionModel()->select(all, QItemSelectionModel::ClearAndSelect);
}

void TCombsTab::DistinctExecute() {
    Session_.CombsDistinctNumbers();
}

void TCombsTab::FindExecute() {
    const int row = FocusedRow();
    if (row >= 0)
        Session_.CombsFindInArchive(static_cast<std::size_t>(row));
}

void TCombsTab::DetailsExecute() {
    const int row = FocusedRow();
    if (row < 0)
        return;
    TDrawDetailsWindow details(CombinationDetailsContent(Session_.Registry(), Session_.WorkingList()[row],
                                                         Session_.DrawsOffset(), Session_.View().SortedDraws),
                               Session_.Config(), window());
    details.exec();
}

void TCombsTab::ExcelExecute() {
    ExportListToSpreadsheet(Session_, window(), QString::fromUtf8(Caption), *List_);
}

void TCombsTab::ColorExecute(bool on) {
    Session_.View().ColorCombs = on;
    Session_.WriteViewSwitch("ColorCombs");
    Model_->Refresh();
}

} // namespace kumby::gui
