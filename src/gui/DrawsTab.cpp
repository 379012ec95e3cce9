#include "DrawsTab.h"

#include "ActionList.h"
#include "DrawDetailsWindow.h"
#include "DrawDialog.h"
#include "DrawsModel.h"
#include "FileDialogs.h"
#include "GuiText.h"
#include "ProxyDialog.h"
#include "SpreadsheetExport.h"
#include "ViewStateGlue.h"
#include "app/Session.h"
#include "draws/DrawCsv.h"

#include <QActionGroup>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace kumby::gui {

TDrawsTab::TDrawsTab(Session& session, TActionList& actions, QWidget* parent)
    : QWidget(parent), Session_(session), Actions_(actions) {
    const QString offsetHint = QStringLiteral("Смещение относительно последнего загруженного номера тиража");
    auto* offsetLabel = new QLabel(QStringLiteral("Смещение назад:"));
    Offset_ = new QSpinBox;
    Offset_->setRange(0, 0);
    Offset_->setMinimumWidth(90);
    Offset_->setToolTip(offsetHint);
    Offset_->setStatusTip(offsetHint);
    offsetLabel->setBuddy(Offset_);

    Model_ = new TDrawsModel(session, this);
    List_ = new QTableView;
    List_->setModel(Model_);
    SetUpListView(*List_);
    List_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    List_->setContextMenuPolicy(Qt::CustomContextMenu);
    QHeaderView* columns = List_->horizontalHeader();
    columns->setStretchLastSection(true);
    // Compact columns: the whole draw fits the left pages at their designed width.
    List_->setColumnWidth(TDrawsModel::ColNumber,
                          FitColumnWidth(*List_, TDrawsModel::ColNumber, QStringLiteral("000000")));
    for (int c = TDrawsModel::ColFirstNumber; c < TDrawsModel::ColSum; ++c)
        List_->setColumnWidth(c, FitColumnWidth(*List_, c, QStringLiteral("00")));
    List_->setColumnWidth(TDrawsModel::ColSum,
                          FitColumnWidth(*List_, TDrawsModel::ColSum, QStringLiteral("000")));
    List_->setColumnWidth(TDrawsModel::ColDate,
                          FitColumnWidth(*List_, TDrawsModel::ColDate, QStringLiteral("00.00.0000 00:00")));

    auto* top = new QHBoxLayout;
    top->addWidget(offsetLabel);
    top->addWidget(Offset_);
    top->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top);
    layout->addWidget(List_, 1);

    CreateActions();
    ContextMenu_ = new QMenu(this);
    AddCommands(*ContextMenu_);

    connect(Offset_, &QSpinBox::valueChanged, this, [this](int k) { Session_.SetDrawsOffset(k); });
    connect(List_, &QTableView::customContextMenuRequested, this,
            [this](const QPoint& pos) { ContextMenu_->popup(List_->viewport()->mapToGlobal(pos)); });
    connect(List_, &QTableView::doubleClicked, this, [this] {
        if (DrawsDetails->isEnabled())
            DrawsDetails->trigger();
    });
    connect(List_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { Actions_.Update(); });
    connect(List_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { Actions_.Update(); });
    connect(Model_, &QAbstractItemModel::modelReset, this, [this] { Actions_.Update(); });

    SyncFromSession();
}

void TDrawsTab::CreateActions() {
    auto focused = [this] { return FocusedIndex() >= 0; };
    auto notEmpty = [this] { return !Session_.Draws().empty(); };

    DrawsDownload =
        Actions_.Add(QStringLiteral("Загрузка"), QStringLiteral("Загрузка архива тиражей с сайта лотереи"),
                     QKeySequence(Qt::Key_F3));
    DrawsAdd =
        Actions_.Add(QStringLiteral("Добавить"), QStringLiteral("Добавить в архив данные нового тиража"));
    DrawsChange = Actions_.Add(QStringLiteral("Изменить"),
                               QStringLiteral("Изменить данные выбранного тиража"), {}, focused);
    DrawsDelete =
        Actions_.Add(QStringLiteral("Удалить"), QStringLiteral("Удалить выделенные тиражи из архива"), {},
                     [this] { return List_->selectionModel()->hasSelection(); });
    DrawsImport = Actions_.Add(QStringLiteral("Импорт из CSV-файла"),
                               QStringLiteral("Добавить в архив тиражи из текстового файла CSV"));
    DrawsExport = Actions_.Add(QStringLiteral("Экспорт в CSV-файл"),
                               QStringLiteral("Сохранить архив тиражей в текстовый файл CSV"), {}, notEmpty);
    DrawsExcel =
        Actions_.Add(QStringLiteral("Экспорт в Microsoft Excel"),
                     QStringLiteral("Сохранить список тиражей в книгу Microsoft Excel"), {}, notEmpty);
    DrawsDetails = Actions_.Add(QStringLiteral("Сведения о тираже"),
                                QStringLiteral("Подробная информация о выбранном тираже"), {}, focused);
    DrawsSorted = Actions_.AddCheck(QStringLiteral("Упорядочить MIN->MAX"),
                                    QStringLiteral("Показывать числа каждого тиража по возрастанию"));
    DrawsColor = Actions_.AddCheck(QStringLiteral("Выделять каналы в списке тиражей"),
                                   QStringLiteral("Раскрашивать числа в списке тиражей по каналам"));
    const QString modeHints[3] = {
        QStringLiteral("При запуске программы спрашивать, загружать ли новые тиражи"),
        QStringLiteral("При запуске программы загружать новые тиражи без запроса"),
        QStringLiteral("Не загружать новые тиражи при запуске программы"),
    };
    const QString modeCaptions[3] = {QStringLiteral("По запросу (по умолчанию)"),
                                     QStringLiteral("Автоматически"), QStringLiteral("Отключено")};
    auto* modes = new QActionGroup(this);
    modes->setExclusive(true);
    for (int mode = 0; mode < 3; ++mode) {
        DownloadMode[mode] = Actions_.AddCheck(modeCaptions[mode], modeHints[mode]);
        modes->addAction(DownloadMode[mode]);
        connect(DownloadMode[mode], &QAction::triggered, this,
                [this, mode] { Session_.SetDownloadDrawsOnStart(mode); });
    }

    ProxySettings = Actions_.Add(QStringLiteral("Параметры proxy-сервера"),
                                 QStringLiteral("Настройка подключения к сайту лотереи через proxy-сервер"));

    connect(DrawsDownload, &QAction::triggered, this, &TDrawsTab::DrawsDownloadExecute);
    connect(DrawsAdd, &QAction::triggered, this, &TDrawsTab::DrawsAddExecute);
    connect(DrawsChange, &QAction::triggered, this, &TDrawsTab::DrawsChangeExecute);
    connect(DrawsDelete, &QAction::triggered, this, &TDrawsTab::DrawsDeleteExecute);
    connect(DrawsImport, &QAction::triggered, this, &TDrawsTab::DrawsImportExecute);
    connect(DrawsExport, &QAction::triggered, this, &TDrawsTab::DrawsExportExecute);
    connect(DrawsExcel, &QAction::triggered, this, &TDrawsTab::DrawsExcelExecute);
    connect(DrawsDetails, &QAction::triggered, this, &TDrawsTab::DrawsDetailsExecute);
    connect(ProxySettings, &QAction::triggered, this, &TDrawsTab::ProxySettingsExecute);
    connect(DrawsSorted, &QAction::triggered, this, [this](bool on) { Session_.SetSortedDraws(on); });
    connect(DrawsColor, &QAction::triggered, this, [this](bool on) { Session_.SetColorDraws(on); });
}

void TDrawsTab::AddCommands(QMenu& menu) const {
    menu.addAction(DrawsDownload);
    menu.addSeparator();
    menu.addAction(DrawsAdd);
    menu.addAction(DrawsChange);
    menu.addAction(DrawsDelete);
    menu.addSeparator();
    menu.addAction(DrawsImport);
    menu.addAction(DrawsExport);
    menu.addAction(DrawsExcel);
    menu.addSeparator();
    menu.addAction(DrawsDetails);
    menu.addSeparator();
    menu.addAction(DrawsSorted);
    menu.addAction(DrawsColor);
    QMenu* modes = menu.addMenu(QStringLiteral("Загрузка тиражей при запуске"));
    for (QAction* mode : DownloadMode)
        modes->addAction(mode);
    menu.addAction(ProxySettings);
}

int TDrawsTab::FocusedIndex() const {
    const QModelIndex current = List_->currentIndex();
    return current.isValid() ? Model_->ArchiveIndex(current.row()) : -1;
}

void TDrawsTab::SyncFromSession() {
    {
        const QSignalBlocker blocker(Offset_);
        Offset_->setMaximum(std::max(0, static_cast<int>(Session_.Draws().size()) - 1));
        Offset_->setValue(Session_.DrawsOffset());
    }
    DrawsSorted->setChecked(Session_.View().SortedDraws);
    DrawsColor->setChecked(Session_.View().ColorDraws);
    const int mode = Session_.View().DownloadDrawsOnStart;
    DownloadMode[mode >= 0 && mode <= 2 ? mode : 0]->setChecked(true);
}

void TDrawsTab::SessionEvent(TSessionEvent event) {
    switch (event) {
    case TSessionEvent::DrawsChanged:
        Model_->Refresh();
        SyncFromSession();
        break;
    case TSessionEvent::DrawsDisplayChanged:
        Model_->Refresh();
        SyncFromSession();
        break;
    case TSessionEvent::BusyChanged:
        Offset_->setEnabled(!Session_.Busy());
        break;
    default:
        break;
    }
}

void TDrawsTab::DrawsDownloadExecute() {
    // The session saves each batch, refreshes the views and reports what went wrong.
    Session_.DownloadDraws();
}

void TDrawsTab::DrawsAddExecute() {
    const TDrawRecord draw = Session_.NewDrawRecord();
    if (draw.Number == 0) {
        Session_.Ui().ShowError(NoNewDrawNumberText);
        return;
    }
    TDrawDialog dialog(QString::fromUtf8(NextDrawCaption), draw, true, Session_.Ui(), window());
    dialog.CheckNumberAgainst(Session_.Draws(), -1);
    if (dialog.exec() == QDialog::Accepted)
        Session_.DrawsAdd(dialog.Result(), true); // a number already there was asked about
}

void TDrawsTab::DrawsChangeExecute() {
    const int index = FocusedIndex();
    if (index < 0)
        return;
    TDrawDialog dialog(QString::fromUtf8(NextDrawCaption), Session_.Draws()[index], true, Session_.Ui(),
                       window());
    dialog.CheckNumberAgainst(Session_.Draws(), index);
    if (dialog.exec() == QDialog::Accepted)
        Session_.DrawsChange(index, dialog.Result());
}

void TDrawsTab::DrawsDeleteExecute() {
    // By position: a draw that shares its number with another one is never taken instead.
    std::vector<int> indexes;
    for (const QModelIndex& row : List_->selectionModel()->selectedRows())
        if (const int index = Model_->ArchiveIndex(row.row()); index >= 0)
            indexes.push_back(index);
    if (indexes.empty())
        return;
    if (Session_.DrawsDeleteAt(indexes))
        List_->clearSelection();
}

void TDrawsTab::DrawsImportExecute() {
    const QString name = AskOpenFileName(window(), QString::fromUtf8(DrawsFileFilter));
    if (name.isEmpty())
        return;
    TDrawsImportReport report;
    if (Session_.DrawsImport(LocalPath(name), &report) >= 0)
        Session_.Ui().ShowInfo(DrawsImportReportText(report));
}

void TDrawsTab::DrawsExportExecute() {
    const QString name = AskSaveFileName(window(), QString::fromUtf8(DrawsFileFilter), QStringLiteral("csv"));
    if (!name.isEmpty())
        Session_.DrawsExport(LocalPath(name));
}

void TDrawsTab::DrawsExcelExecute() {
    ExportListToSpreadsheet(Session_, window(), QString::fromUtf8(Caption), *List_);
}

void TDrawsTab::DrawsDetailsExecute() {
    const int index = FocusedIndex();
    if (index < 0)
        return;
    TDrawDetailsWindow details(DrawDetailsContent(Session_.Registry(), index, Session_.View().SortedDraws),
                               Session_.Config(), window());
    details.exec();
}

void TDrawsTab::ProxySettingsExecute() {
    TProxyDialog dialog(Session_.Proxy(), window());
    if (dialog.exec() == QDialog::Accepted)
        Session_.ProxySave(dialog.Result());
}

} // namespace kumby::gui
