#include "MainWindow.h"

#include "ActionList.h"
#include "CombsTab.h"
#include "DrawsTab.h"
#include "GuiText.h"
#include "HelpDialog.h"
#include "MessageBoxUi.h"
#include "SettingsDialog.h"
#include "StatsTab.h"
#include "ViewStateGlue.h"
#include "app/Session.h"
#include "model/VexoUtils.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QTranslator>

#include <cmath>

namespace kumby::gui {

namespace {

constexpr QSize DesignedSize(1100, 720);

int PixelsPerInch(const QWidget& w) {
    const QScreen* screen = w.screen() ? w.screen() : QGuiApplication::primaryScreen();
    return screen ? static_cast<int>(std::lround(screen->logicalDotsPerInch())) : 96;
}

QSize ScreenSize(const QWidget& w) {
    const QScreen* screen = w.screen() ? w.screen() : QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize();
}

} // namespace

void SetUpApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("Kumby_12x24"));
    // The interface speaks Russian: dates, numbers and the standard buttons follow it.
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    static QTranslator translator;
    if (translator.load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&translator);
}

TFormMain::TFormMain(Session& session, TMessageBoxUi& ui, QWidget* parent)
    : QMainWindow(parent), Session_(session), Ui_(ui) {
    setWindowTitle(QString::fromUtf8(DefaultCaption));
    Actions_ = new TActionList([this] { return Session_.Busy(); }, this);

    LeftPages_ = new QTabWidget;
    DrawsTab_ = new TDrawsTab(Session_, *Actions_);
    LeftPages_->addTab(DrawsTab_, QString::fromUtf8(TDrawsTab::Caption));
    CombsTab_ = new TCombsTab(Session_, *Actions_);
    LeftPages_->addTab(CombsTab_, QString::fromUtf8(TCombsTab::Caption));
    // The analysis tabs arrive with their subsystems; a page without tabs stays out of sight.
    RightPages_ = new QTabWidget;
    StatsTab_ = new TStatsTab(Session_, *Actions_);
    RightPages_->addTab(StatsTab_, QString::fromUtf8(TStatsTab::Caption));
    Splitter_ = new QSplitter(Qt::Horizontal);
    Splitter_->addWidget(LeftPages_);
    Splitter_->addWidget(RightPages_);
    Splitter_->setStretchFactor(1, 1);
    Splitter_->setChildrenCollapsible(false);
    RightPages_->setVisible(RightPages_->count() > 0);
    setCentralWidget(Splitter_);

    CreateActions();
    CreateMenus();
    CreateStatusBar();

    Ui_.Owner = this;
    Ui_.OnStatus = [this](const QString& text) { Panels_[PanelOperation]->setText(text); };
    Ui_.OnNotify = [this](TSessionEvent event) { SessionEvent(event); };

    if (!Session_.Create()) {
        ExitRequested_ = true;
        return;
    }
    Ui_.HelpFile = Session_.HelpFile().empty() ? QString() : Q(Session_.HelpFile().string());
    Session_.ResetStatTableKey();
    StatsTab_->FillLists(false, false);
    RestoreViewState();
    DrawsTab_->SessionEvent(TSessionEvent::DrawsDisplayChanged);
    RefreshStatusPanels();
    Actions_->Update();

    StartUpTimer_ = new QTimer(this);
    StartUpTimer_->setSingleShot(true);
    StartUpTimer_->setInterval(StartUpDelayMs);
    connect(StartUpTimer_, &QTimer::timeout, this, &TFormMain::StartUp);
    StartUpTimer_->start();
}

TFormMain::~TFormMain() {
    // The session may outlive the window: nothing may reach it from here on.
    Ui_.OnStatus = nullptr;
    Ui_.OnNotify = nullptr;
    if (Ui_.Owner == this)
        Ui_.Owner = nullptr;
    if (WaitCursor_)
        QApplication::restoreOverrideCursor();
}

void TFormMain::CreateActions() {
    Settings = Actions_->Add(QStringLiteral("Параметры"),
                             QStringLiteral("Стоимость ставки, размеры выигрышей, матрица и каналы"));
    HelpInfo =
        Actions_->Add(QStringLiteral("Справочная информация"),
                      QStringLiteral("Показать справочную информацию о программе"), QKeySequence(Qt::Key_F1));
    Exit = Actions_->Add(QStringLiteral("Выход"), QStringLiteral("Завершить работу программы"),
                         QKeySequence(Qt::ALT | Qt::Key_X));
    connect(Settings, &QAction::triggered, this, &TFormMain::SettingsExecute);
    connect(HelpInfo, &QAction::triggered, this, &TFormMain::HelpInfoExecute);
    connect(Exit, &QAction::triggered, this, &QWidget::close);
}

void TFormMain::CreateMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("Файл"));
    file->addAction(Settings);
    file->addSeparator();
    file->addAction(Exit);

    QMenu* draws = menuBar()->addMenu(QStringLiteral("Тиражи"));
    DrawsTab_->AddCommands(*draws);

    QMenu* combs = menuBar()->addMenu(QStringLiteral("Комбинации"));
    CombsTab_->AddCommands(*combs);

    QMenu* stats = menuBar()->addMenu(QStringLiteral("Статистика"));
    StatsTab_->AddCommands(*stats);

    QMenu* help = menuBar()->addMenu(QStringLiteral("Справка"));
    help->addAction(HelpInfo);

    QToolBar* tools = addToolBar(QStringLiteral("Команды"));
    tools->setObjectName(QStringLiteral("MainToolBar"));
    tools->setMovable(false);
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    tools->addAction(Settings);
    tools->addSeparator();
    tools->addAction(DrawsTab_->DrawsAdd);
    tools->addAction(DrawsTab_->DrawsChange);
    tools->addAction(DrawsTab_->DrawsDelete);
    tools->addSeparator();
    tools->addAction(DrawsTab_->DrawsImport);
    tools->addAction(DrawsTab_->DrawsExport);
    tools->addAction(DrawsTab_->DrawsExcel);
    tools->addSeparator();
    tools->addAction(DrawsTab_->DrawsDetails);
}

void TFormMain::CreateStatusBar() {
    const char* widest[PanelCount] = {"Архив тиражей: 000000",
                                      "Следующий тираж: 000000",
                                      "00;00;00;00;00;00;00;00;00;00;00;00",
                                      "Комбинаций: 0000000",
                                      "Ставок: 000000",
                                      "Рейтинг: 000000",
                                      ""};
    for (int i = 0; i < PanelCount; ++i) {
        auto* panel = new QLabel;
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setContentsMargins(4, 0, 4, 0);
        if (*widest[i])
            panel->setMinimumWidth(panel->fontMetrics().horizontalAdvance(QString::fromUtf8(widest[i])) + 12);
        statusBar()->addWidget(panel, i == PanelOperation ? 1 : 0);
        Panels_[i] = panel;
    }
}

QString TFormMain::StatusText(TStatusPanel panel) const {
    return Panels_[panel]->text();
}

void TFormMain::RefreshStatusPanels() {
    Panels_[PanelDraws]->setText(Q(Session_.DrawsCountPanel()));
    Panels_[PanelNextDraw]->setText(Q(Session_.NextDrawPanel()));
    Panels_[PanelNextNumbers]->setText(Q(Session_.NextDrawNumbersPanel()));
    Panels_[PanelCombs]->setText(Q(Session_.CombsCountPanel()));
    // The stakes and the ratings are not part of the program yet.
    Panels_[PanelStakes]->setText(Q(Format("Ставок: %d", 0)));
    Panels_[PanelRating]->setText(Q(Format("Рейтинг: %d", 0)));
}

void TFormMain::RestoreViewState() {
    TIniFile ini;
    try {
        ini = Session_.ViewStore().Read();
    } catch (const std::exception& e) {
        Ui_.ShowError(Format("Ошибка загрузки параметров программы!\r\r%s", e.what()));
        return;
    }
    RestoreColumnWidths(*DrawsTab_->List(), ini, MainWindowSection, TDrawsTab::ListName);
    CombsTab_->RestoreViewState(ini);
    StatsTab_->RestoreViewState(ini);

    TPlacement placement;
    const bool placed =
        ReadPlacement(ini, MainWindowSection, PixelsPerInch(*this), ScreenSize(*this), placement);
    bool onScreen = false;
    if (placed)
        for (const QScreen* screen : QGuiApplication::screens())
            onScreen = onScreen || screen->availableGeometry().intersects(placement.Normal);
    if (placed && onScreen && placement.Normal.width() >= 200 && placement.Normal.height() >= 150) {
        setGeometry(placement.Normal);
        setWindowState(placement.Maximized ? Qt::WindowMaximized : Qt::WindowNoState);
    } else {
        resize(DesignedSize);
    }
    const int left = Session_.View().LeftPanelWidth;
    if (left > 0)
        Splitter_->setSizes({left, std::max(1, width() - left)});
}

void TFormMain::ShowRestored() {
    if (windowState() & Qt::WindowMaximized)
        showMaximized();
    else
        show();
}

void TFormMain::SaveViewState() {
    // A copy that did not get the data folder leaves its files to the copy that did.
    const bool owner = Session_.DataLockHeld();
    if (owner) {
        TPlacement placement;
        placement.Normal = isMaximized() || isMinimized() ? normalGeometry() : geometry();
        placement.Maximized = isMaximized();
        TKeyValues values = PlacementValues(placement, PixelsPerInch(*this), ScreenSize(*this));
        AddColumnWidthValues(*DrawsTab_->List(), TDrawsTab::ListName, values);
        CombsTab_->SaveViewState(values);
        StatsTab_->SaveViewState(values);
        if (RightPages_->isVisible())
            Session_.View().LeftPanelWidth = Splitter_->sizes().value(0);
        try {
            Session_.ViewStore().Write(MainWindowSection, values);
        } catch (const std::exception& e) {
            Ui_.ShowError(Format("Ошибка сохранения параметров программы!\r\r%s", e.what()));
        }
    }
    Session_.Close(owner);
}

void TFormMain::StartUp() {
    if (Closed_ || StartedUp_)
        return;
    const TStartResult result = Session_.Start();
    StartedUp_ = true;
    Actions_->Update();
    if (result == TStartResult::Exit) {
        ExitRequested_ = true;
        emit startUpFinished(false);
        close();
        return;
    }
    setWindowTitle(Q(Session_.WindowCaption()));
    emit startUpFinished(true);
}

void TFormMain::closeEvent(QCloseEvent* event) {
    // Closing in the middle of an operation would pull its data away under it.
    if (Session_.Busy()) {
        event->ignore();
        return;
    }
    if (!Closed_) {
        Closed_ = true;
        if (StartUpTimer_)
            StartUpTimer_->stop();
        SaveViewState();
    }
    event->accept();
}

void TFormMain::SessionEvent(TSessionEvent event) {
    switch (event) {
    case TSessionEvent::BusyChanged:
        ShowBusy(Session_.Busy());
        DrawsTab_->SessionEvent(event);
        CombsTab_->SessionEvent(event);
        StatsTab_->SessionEvent(event);
        Actions_->Update();
        break;
    case TSessionEvent::DrawsChanged:
        DrawsTab_->SessionEvent(event);
        RefreshStatusPanels();
        Actions_->Update();
        break;
    case TSessionEvent::DrawsDisplayChanged:
        DrawsTab_->SessionEvent(event);
        break;
    case TSessionEvent::CombsChanged:
        CombsTab_->SessionEvent(event);
        RefreshStatusPanels();
        Actions_->Update();
        break;
    case TSessionEvent::AnalysisViewsChanged:
        StatsTab_->SessionEvent(event);
        break;
    case TSessionEvent::SettingsChanged:
        CombsTab_->SessionEvent(event);
        StatsTab_->SessionEvent(event);
        break;
    }
}

void TFormMain::ShowBusy(bool busy) {
    if (busy && !WaitCursor_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        WaitCursor_ = true;
    } else if (!busy && WaitCursor_) {
        QApplication::restoreOverrideCursor();
        WaitCursor_ = false;
    }
}

void TFormMain::SettingsExecute() {
    TSettingsDialog dialog(Session_.Config(), Ui_, this);
    if (dialog.exec() == QDialog::Accepted)
        Session_.ApplyConfig(dialog.Result());
}

void TFormMain::HelpInfoExecute() {
    THelpDialog dialog(Ui_.HelpFile, this);
    dialog.DontShowAgainBox()->setChecked(!Session_.View().FirstRun);
    dialog.exec();
    const bool firstRun = !dialog.DontShowAgain();
    if (firstRun != Session_.View().FirstRun) {
        Session_.View().FirstRun = firstRun;
        Session_.WriteViewSwitch("FirstRun");
    }
}

} // namespace kumby::gui
