#include "MainWindow.h"

#include "ActionList.h"
#include "AnalysisTabs.h"
#include "CardTab.h"
#include "CombsTab.h"
#include "DrawsTab.h"
#include "GraphsTab.h"
#include "GuiText.h"
#include "HelpDialog.h"
#include "LayoutTab.h"
#include "MessageBoxUi.h"
#include "RatingsTab.h"
#include "RegularsTab.h"
#include "ScriptTab.h"
#include "SettingsDialog.h"
#include "ShreddingDialog.h"
#include "StakesTab.h"
#include "StandardTexts.h"
#include "StatsTab.h"
#include "SystemsTab.h"
#include "TabPlaces.h"
#include "ViewStateGlue.h"
#include "WeekTab.h"
#include "app/Session.h"
#include "model/VexoUtils.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLocale>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolBar>

#include <cmath>
#include <cstdio>

namespace kumby::gui {

namespace {

constexpr QSize DesignedSize(1200, 760);
constexpr const char* ClosingNotice = "Программа будет закрыта после завершения текущей операции...";

int PixelsPerInch(const QWidget& w) {
    const QScreen* screen = w.screen() ? w.screen() : QGuiApplication::primaryScreen();
    return screen ? static_cast<int>(std::lround(screen->logicalDotsPerInch())) : 96;
}

QSize ScreenSize(const QWidget& w) {
    const QScreen* screen = w.screen() ? w.screen() : QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize();
}

} // namespace

// A status-bar panel. A fixed panel is as wide as its text and hides while it has
// none; the window keeps room for the widest text it is made for. The stretching
// panel takes what room is left and shortens a text that does not fit in the
// middle, with the whole text as its tip.
class TStatusPanelLabel : public QLabel {
public:
    TStatusPanelLabel(const QString& widest, bool stretching) : Stretching_(stretching) {
        setFrameShape(QFrame::StyledPanel);
        setFrameShadow(QFrame::Sunken);
        setContentsMargins(4, 0, 4, 0);
        setTextFormat(Qt::PlainText);
        setWordWrap(false);
        if (Stretching_) {
            setMinimumWidth(fontMetrics().horizontalAdvance(QString(16, QLatin1Char('0'))));
            setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        } else {
            WidestWidth_ = TextWidth(widest);
            setVisible(false);
        }
    }

    const QString& FullText() const { return Full_; }
    void SetFullText(const QString& text) {
        Full_ = text;
        Update();
    }
    // The room the panel may need: its widest text or, when longer, the one it has.
    int RoomNeeded() const { return std::max(WidestWidth_, TextWidth(Full_)); }

    QSize minimumSizeHint() const override {
        return Stretching_ ? QSize(minimumWidth(), QLabel::minimumSizeHint().height())
                           : QSize(TextWidth(Full_), QLabel::minimumSizeHint().height());
    }
    QSize sizeHint() const override { return minimumSizeHint(); }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QLabel::resizeEvent(event);
        if (Stretching_)
            Update();
    }

private:
    int TextWidth(const QString& text) const {
        const QMargins m = contentsMargins();
        return fontMetrics().horizontalAdvance(text) + m.left() + m.right() + 2 * frameWidth() + 2;
    }
    void Update() {
        if (!Stretching_) {
            setText(Full_);
            setVisible(!Full_.isEmpty());
            updateGeometry();
            return;
        }
        const QMargins m = contentsMargins();
        const int room = std::max(0, width() - m.left() - m.right() - 2 * frameWidth() - 2);
        const QString shown = fontMetrics().elidedText(Full_, Qt::ElideMiddle, room);
        setText(shown);
        setToolTip(shown == Full_ ? QString() : Full_);
    }

    bool Stretching_;
    int WidestWidth_ = 0;
    QString Full_;
};

void SetUpApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("Kumby_12x24"));
    // The interface speaks Russian: dates, numbers and the standard dialogs follow it.
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    if (!LoadQtRussianTranslations())
        std::fputs("Qt's Russian translations (qtbase_ru.qm) were not found: the standard dialogs "
                   "will partly read in English.\n",
                   stderr);
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
    RightPlaces_ = new TTabPlaces(*RightPages_);
    AnalysisTabs_ = new TAnalysisTabs(Session_, *Actions_, *RightPages_, *RightPlaces_, this);
    GraphsTab_ = new TGraphsTab(Session_, *Actions_, *RightPages_, *RightPlaces_, *StatsTab_, RightPages_);
    StakesTab_ = new TStakesTab(Session_, *Actions_, *CombsTab_);
    RightPages_->addTab(StakesTab_, QString::fromUtf8(TStakesTab::Caption));
    RatingsTab_ = new TRatingsTab(Session_, *Actions_);
    RightPages_->addTab(RatingsTab_, QString::fromUtf8(TRatingsTab::Caption));
    ScriptTab_ = new TScriptTab(Session_, *Actions_, *StatsTab_);
    RightPages_->addTab(ScriptTab_, QString::fromUtf8(TScriptTab::Caption));
    connect(RatingsTab_, &TRatingsTab::scriptLinesAdded, this, [this](int count) {
        RightPages_->setCurrentWidget(ScriptTab_);
        ScriptTab_->SelectLastLines(count);
    });
    RegularsTab_ = new TRegularsTab(Session_, *Actions_, *CombsTab_, *StakesTab_, this);
    RegularsTab_->hide(); // on the page only while its switch is on
    SystemsTab_ = new TSystemsTab(Session_, *Actions_, *StakesTab_, this);
    SystemsTab_->hide(); // on the page once start-up has run
    RightPlaces_->SetOrder({StatsTab_, GraphsTab_, AnalysisTabs_->CardTab(), AnalysisTabs_->LayoutTab(),
                            AnalysisTabs_->WeekTab(), StakesTab_, RatingsTab_, SystemsTab_, ScriptTab_,
                            RegularsTab_});
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
    Ui_.OnStatus = [this](const QString& text) {
        OperationText_ = text;
        ShowLastPanel();
        if (Session_.ScriptRunning())
            ScriptTab_->ShowRunState();
    };
    Ui_.OnNotify = [this](TSessionEvent event) { SessionEvent(event); };

    if (!Session_.Create()) {
        ExitRequested_ = true;
        return;
    }
    Ui_.HelpFile = Session_.HelpFile().empty() ? QString() : Q(Session_.HelpFile().string());
    Session_.ResetStatTableKey();
    StatsTab_->FillLists(false, false);
    RestoreViewState();
    SyncRegularsTab();
    SyncSystemsTab();
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
    EditShredding =
        Actions_->Add(QStringLiteral("Формулы шинковки"),
                      QStringLiteral("Формулы методов шинковки и количество знаков после запятой"));
    HelpInfo =
        Actions_->Add(QStringLiteral("Справочная информация"),
                      QStringLiteral("Показать справочную информацию о программе"), QKeySequence(Qt::Key_F1));
    Exit = Actions_->Add(QStringLiteral("Выход"), QStringLiteral("Завершить работу программы"),
                         QKeySequence(Qt::ALT | Qt::Key_X));
    connect(Settings, &QAction::triggered, this, &TFormMain::SettingsExecute);
    connect(EditShredding, &QAction::triggered, this, &TFormMain::EditShreddingExecute);
    connect(HelpInfo, &QAction::triggered, this, &TFormMain::HelpInfoExecute);
    connect(Exit, &QAction::triggered, this, &QWidget::close);
    TabTables = Actions_->AddCheck(QStringLiteral("Вкладка \"Регуляры\""),
                                   QStringLiteral("Скрыть / показать вкладку \"Регулярные ставки\""));
    connect(TabTables, &QAction::triggered, this, &TFormMain::TabTablesExecute);
}

void TFormMain::TabTablesExecute(bool on) {
    Session_.SetTabTables(on);
    SyncRegularsTab();
    if (on)
        RightPages_->setCurrentWidget(RegularsTab_);
}

void TFormMain::SyncRegularsTab() {
    const bool shown = Session_.RegularsVisible();
    TabTables->setChecked(shown);
    RightPlaces_->Show(RegularsTab_, QString::fromUtf8(TRegularsTab::Caption), shown);
}

void TFormMain::SyncSystemsTab() {
    const bool shown = StartedUp_ && !ExitRequested_ && Session_.View().SystemsEnabled;
    RightPlaces_->Show(SystemsTab_, QString::fromUtf8(TSystemsTab::Caption), shown);
    SystemsMenu_->menuAction()->setVisible(shown);
    SystemsTab_->SetShown(shown);
}

void TFormMain::CreateMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("Файл"));
    file->addAction(Settings);
    file->addAction(EditShredding);
    file->addSeparator();
    file->addAction(Exit);

    QMenu* draws = menuBar()->addMenu(QStringLiteral("Тиражи"));
    DrawsTab_->AddCommands(*draws);

    QMenu* combs = menuBar()->addMenu(QStringLiteral("Комбинации"));
    CombsTab_->AddCommands(*combs);

    QMenu* stats = menuBar()->addMenu(QStringLiteral("Статистика"));
    StatsTab_->AddCommands(*stats);

    QMenu* stakes = menuBar()->addMenu(QStringLiteral("Ставки"));
    StakesTab_->AddCommands(*stakes);

    QMenu* ratings = menuBar()->addMenu(QStringLiteral("Рейтинг"));
    RatingsTab_->AddCommands(*ratings);

    QMenu* script = menuBar()->addMenu(QString::fromUtf8(TScriptTab::Caption));
    ScriptTab_->AddCommands(*script);

    QMenu* regulars = menuBar()->addMenu(QString::fromUtf8(TRegularsTab::Caption));
    RegularsTab_->AddCommands(*regulars);

    SystemsMenu_ = menuBar()->addMenu(QString::fromUtf8(TSystemsTab::Caption));
    SystemsTab_->AddCommands(*SystemsMenu_);
    SystemsMenu_->menuAction()->setVisible(false);

    QMenu* view = menuBar()->addMenu(QStringLiteral("Вид"));
    view->addAction(TabTables);
    view->addAction(GraphsTab_->TabGraphs);
    AnalysisTabs_->AddCommands(*view);
    GraphsTab_->AddCommands(*view);

    QMenu* help = menuBar()->addMenu(QStringLiteral("Справка"));
    help->addAction(HelpInfo);

    Tools_ = addToolBar(QStringLiteral("Команды"));
    Tools_->setObjectName(QStringLiteral("MainToolBar"));
    Tools_->setMovable(false);
    Tools_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    FillToolBar();
    connect(LeftPages_, &QTabWidget::currentChanged, this, [this] { FillToolBar(); });
}

void TFormMain::FillToolBar() {
    // The separators are the toolbar's own; the commands belong to the action list.
    const QList<QAction*> shown = Tools_->actions();
    Tools_->clear();
    for (QAction* action : shown)
        if (action->parent() == Tools_)
            delete action;
    Tools_->addAction(Settings);
    Tools_->addSeparator();
    if (LeftPages_->currentWidget() == CombsTab_) {
        Tools_->addAction(CombsTab_->CombsGenerate);
        Tools_->addAction(CombsTab_->CombsOpen);
        Tools_->addAction(CombsTab_->CombsSave);
        Tools_->addSeparator();
        Tools_->addAction(CombsTab_->CombsUndo);
        Tools_->addAction(CombsTab_->CombsDelete);
        Tools_->addSeparator();
        Tools_->addAction(CombsTab_->CombsCopy);
        Tools_->addAction(CombsTab_->CombsPaste);
        Tools_->addSeparator();
        Tools_->addAction(CombsTab_->CombsDetails);
    } else {
        Tools_->addAction(DrawsTab_->DrawsDownload);
        Tools_->addSeparator();
        Tools_->addAction(DrawsTab_->DrawsAdd);
        Tools_->addAction(DrawsTab_->DrawsChange);
        Tools_->addAction(DrawsTab_->DrawsDelete);
        Tools_->addSeparator();
        Tools_->addAction(DrawsTab_->DrawsImport);
        Tools_->addAction(DrawsTab_->DrawsExport);
        Tools_->addAction(DrawsTab_->DrawsExcel);
        Tools_->addSeparator();
        Tools_->addAction(DrawsTab_->DrawsDetails);
    }
}

void TFormMain::CreateStatusBar() {
    const char* widest[PanelCount] = {"Архив тиражей: 000000",
                                      "Следующий тираж: 000000",
                                      "00;00;00;00;00;00;00;00;00;00;00;00",
                                      "Комбинаций: 0000000",
                                      "Ставок: 00000",
                                      "Рейтинг: 00000",
                                      ""};
    for (int i = 0; i < PanelCount; ++i) {
        auto* panel = new TStatusPanelLabel(QString::fromUtf8(widest[i]), i == PanelOperation);
        statusBar()->addWidget(panel, i == PanelOperation ? 1 : 0);
        Panels_[i] = panel;
    }
    statusBar()->setSizeGripEnabled(true);
    FitStatusBar();
}

void TFormMain::FitStatusBar() {
    // The window is never narrower than its status bar with every panel at its widest
    // (the panels would overlap): what the bar needs now, plus what each panel may
    // still grow by, a hidden one with the gap in front of it.
    constexpr int PanelGap = 6;
    int width = statusBar()->minimumSizeHint().width();
    for (const TStatusPanelLabel* panel : Panels_) {
        if (panel == Panels_[PanelOperation])
            continue;
        if (panel->isVisibleTo(statusBar()))
            width += panel->RoomNeeded() - panel->minimumSizeHint().width();
        else
            width += panel->RoomNeeded() + PanelGap;
    }
    if (width != minimumWidth())
        setMinimumWidth(width);
}

QString TFormMain::StatusText(TStatusPanel panel) const {
    return panel == PanelOperation ? OperationText_ : Panels_[panel]->FullText();
}

QLabel* TFormMain::StatusPanel(TStatusPanel panel) const {
    return Panels_[panel];
}

void TFormMain::ShowLastPanel() {
    // A hint never hides the other panels; the last one lends it its place for the
    // moment and gets the operation's text back when the hint ends.
    QString text = !HintText_.isEmpty() ? HintText_ : OperationText_;
    if (CloseWhenIdle_)
        text = QString::fromUtf8(ClosingNotice);
    Panels_[PanelOperation]->SetFullText(text);
}

bool TFormMain::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        HintText_ = static_cast<QStatusTipEvent*>(event)->tip();
        ShowLastPanel();
        return true;
    }
    return QMainWindow::event(event);
}

int TFormMain::DesignedLeftPanelWidth() const {
    const QTableView& list = *DrawsTab_->List();
    int width = 0;
    for (int c = 0; c < list.model()->columnCount(); ++c)
        width += list.columnWidth(c);
    // The list's frame and scroll bar, the page's margins and the tab frame.
    width += 2 * list.frameWidth() + list.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &list);
    return width + 8 + 2 * LeftPages_->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 8;
}

void TFormMain::RefreshStatusPanels() {
    Panels_[PanelDraws]->SetFullText(Q(Session_.DrawsCountPanel()));
    Panels_[PanelNextDraw]->SetFullText(Q(Session_.NextDrawPanel()));
    Panels_[PanelNextNumbers]->SetFullText(Q(Session_.NextDrawNumbersPanel()));
    Panels_[PanelCombs]->SetFullText(Q(Session_.CombsCountPanel()));
    Panels_[PanelStakes]->SetFullText(Q(Session_.StakesCountPanel()));
    Panels_[PanelRating]->SetFullText(Q(Session_.RatingsCountPanel()));
    FitStatusBar();
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
    StakesTab_->RestoreViewState(ini);
    RatingsTab_->RestoreViewState(ini);
    RegularsTab_->RestoreViewState(ini);
    SystemsTab_->RestoreViewState(ini);
    ScriptTab_->RestoreViewState(ini);
    AnalysisTabs_->RestoreViewState();
    GraphsTab_->RestoreViewState();

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
        resize(DesignedSize.expandedTo(QSize(minimumWidth(), 0)));
    }
    // Without a stored width the draws list gets the room to show a whole draw.
    const int left = ini.HasKey(MainWindowSection, "LeftPanelWidth") ? Session_.View().LeftPanelWidth
                                                                     : DesignedLeftPanelWidth();
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
        StakesTab_->SaveViewState(values);
        RatingsTab_->SaveViewState(values);
        RegularsTab_->SaveViewState(values);
        SystemsTab_->SaveViewState(values);
        ScriptTab_->SaveViewState(values);
        AnalysisTabs_->SaveViewState();
        GraphsTab_->SaveViewState();
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
    SyncSystemsTab();
    emit startUpFinished(true);
}

void TFormMain::closeEvent(QCloseEvent* event) {
    // Closing in the middle of an operation would pull its data away under it: the
    // operation is asked to stop, the user is told to wait, and the window closes
    // once it is over.
    if (Session_.Busy()) {
        event->ignore();
        if (!CloseWhenIdle_) {
            CloseWhenIdle_ = true;
            Ui_.RequestStop();
            ShowLastPanel();
        }
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
    AnalysisTabs_->SessionEvent(event);
    switch (event) {
    case TSessionEvent::BusyChanged:
        ShowBusy(Session_.Busy());
        if (CloseWhenIdle_ && !Session_.Busy())
            QTimer::singleShot(0, this, &TFormMain::CloseOnceIdle);
        DrawsTab_->SessionEvent(event);
        CombsTab_->SessionEvent(event);
        StatsTab_->SessionEvent(event);
        GraphsTab_->SessionEvent(event);
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
        SystemsTab_->SessionEvent(event);
        RefreshStatusPanels();
        Actions_->Update();
        break;
    case TSessionEvent::AnalysisViewsChanged:
        StatsTab_->SessionEvent(event);
        GraphsTab_->SessionEvent(event);
        break;
    case TSessionEvent::SettingsChanged:
        CombsTab_->SessionEvent(event);
        StatsTab_->SessionEvent(event);
        GraphsTab_->SessionEvent(event);
        ScriptTab_->SessionEvent(event);
        break;
    case TSessionEvent::StakesChanged:
        StakesTab_->SessionEvent(event);
        [[fallthrough]];
    case TSessionEvent::RatingsChanged:
        RatingsTab_->SessionEvent(event);
        RefreshStatusPanels();
        Actions_->Update();
        break;
    case TSessionEvent::RegularsChanged:
        RegularsTab_->SessionEvent(event);
        SyncRegularsTab();
        Actions_->Update();
        break;
    case TSessionEvent::ScriptRunChanged:
        ScriptTab_->SessionEvent(event);
        SyncScriptRun();
        Actions_->Update();
        break;
    case TSessionEvent::ScriptChanged:
        ScriptTab_->SessionEvent(event);
        Actions_->Update();
        break;
    }
}

void TFormMain::SyncScriptRun() {
    const bool idle = !Session_.ScriptRunning();
    for (QWidget* tab : {static_cast<QWidget*>(DrawsTab_), static_cast<QWidget*>(CombsTab_),
                         static_cast<QWidget*>(StatsTab_)})
        tab->setEnabled(idle);
}

void TFormMain::CloseOnceIdle() {
    if (Closed_ || Session_.Busy())
        return;
    // A message the finished operation still shows comes first.
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(100, this, &TFormMain::CloseOnceIdle);
        return;
    }
    close();
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

void TFormMain::EditShreddingExecute() {
    TShreddingDialog dialog(Session_.Shredding(), this);
    if (dialog.exec() == QDialog::Accepted)
        Session_.ApplyShredding(dialog.Result());
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
