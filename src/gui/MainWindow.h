#pragma once

// TFormMain: the main window. It shows the session's data and turns the user's
// commands into session calls; the order of creation, start-up and closing is the
// session's.

#include "app/IUserInterface.h"

#include <QLabel>
#include <QMainWindow>

#include <array>

class QAction;
class QMenu;
class QSplitter;
class QTabWidget;
class QTimer;
class QToolBar;

namespace kumby {
class Session;
}

namespace kumby::gui {

class TActionList;
class TAnalysisTabs;
class TCombsTab;
class TDrawsTab;
class TGraphsTab;
class TMessageBoxUi;
class TRatingsTab;
class TRegularsTab;
class TScriptTab;
class TStakesTab;
class TStatsTab;
class TStatusPanelLabel;
class TSystemsTab;
class TTabPlaces;

// Locale, translations and the application's name: shared by the program and its tests.
void SetUpApplication();

class TFormMain : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int StartUpDelayMs = 100;
    enum TStatusPanel {
        PanelDraws,
        PanelNextDraw,
        PanelNextNumbers,
        PanelCombs,
        PanelStakes,
        PanelRating,
        PanelOperation,
        PanelCount
    };

    // Runs the creation steps and arms the start-up timer.
    TFormMain(Session& session, TMessageBoxUi& ui, QWidget* parent = nullptr);
    ~TFormMain() override;

    // Creation decided that the program must end at once.
    bool ExitRequested() const { return ExitRequested_; }
    // Start-up has run (whatever its outcome).
    bool StartedUp() const { return StartedUp_; }
    // Shows the window where it was last time (normal or maximized).
    void ShowRestored();

    // The panel's whole text; the operation panel's is the operation's, whatever hint
    // it shows for the moment.
    QString StatusText(TStatusPanel panel) const;
    QLabel* StatusPanel(TStatusPanel panel) const;
    // The hint of the control under the mouse, shown in the last panel.
    QString HintText() const { return HintText_; }
    QToolBar* ToolBar() const { return Tools_; }
    // A close request came while an operation ran: the window closes once it ends.
    bool CloseWhenIdle() const { return CloseWhenIdle_; }
    // The draws list shows a whole draw in this width of the left pages.
    int DesignedLeftPanelWidth() const;
    TDrawsTab* DrawsTab() const { return DrawsTab_; }
    TCombsTab* CombsTab() const { return CombsTab_; }
    TStatsTab* StatsTab() const { return StatsTab_; }
    TStakesTab* StakesTab() const { return StakesTab_; }
    TRatingsTab* RatingsTab() const { return RatingsTab_; }
    TRegularsTab* RegularsTab() const { return RegularsTab_; }
    TSystemsTab* SystemsTab() const { return SystemsTab_; }
    QMenu* SystemsMenu() const { return SystemsMenu_; }
    TScriptTab* ScriptTab() const { return ScriptTab_; }
    TAnalysisTabs* AnalysisTabs() const { return AnalysisTabs_; }
    TGraphsTab* GraphsTab() const { return GraphsTab_; }
    TActionList& Actions() const { return *Actions_; }
    QTabWidget* LeftPages() const { return LeftPages_; }
    QTabWidget* RightPages() const { return RightPages_; }

    QAction* Settings;
    QAction* EditShredding;
    QAction* HelpInfo;
    QAction* Exit;
    QAction* TabTables;

    void SettingsExecute();
    void EditShreddingExecute();
    void HelpInfoExecute();
    void TabTablesExecute(bool on);

signals:
    void startUpFinished(bool ready);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateStatusBar();
    void RestoreViewState();
    void SaveViewState();
    void StartUp();
    void SessionEvent(TSessionEvent event);
    void RefreshStatusPanels();
    void ShowLastPanel();
    void FitStatusBar();
    // The toolbar carries the commands of the page on show.
    void FillToolBar();
    void CloseOnceIdle();
    void ShowBusy(bool busy);
    // The tab "Регуляры" is on the page exactly while the switch is on.
    void SyncRegularsTab();
    // The tab "Системы" and its menu are there once start-up has run, while
    // "SystemsEnabled" is on.
    void SyncSystemsTab();
    // While a script runs, the tabs it works through are out of the user's reach.
    void SyncScriptRun();

    Session& Session_;
    TMessageBoxUi& Ui_;
    TActionList* Actions_;
    QTimer* StartUpTimer_ = nullptr;
    QSplitter* Splitter_;
    QTabWidget* LeftPages_;
    QTabWidget* RightPages_;
    TTabPlaces* RightPlaces_;
    TDrawsTab* DrawsTab_;
    TCombsTab* CombsTab_;
    TStatsTab* StatsTab_;
    TStakesTab* StakesTab_;
    TRatingsTab* RatingsTab_;
    TRegularsTab* RegularsTab_;
    TSystemsTab* SystemsTab_;
    QMenu* SystemsMenu_ = nullptr;
    TScriptTab* ScriptTab_;
    TAnalysisTabs* AnalysisTabs_;
    TGraphsTab* GraphsTab_;
    QToolBar* Tools_ = nullptr;
    std::array<TStatusPanelLabel*, PanelCount> Panels_{};
    QString OperationText_;
    QString HintText_;
    bool CloseWhenIdle_ = false;
    bool ExitRequested_ = false;
    bool StartedUp_ = false;
    bool Closed_ = false;
    bool WaitCursor_ = false;
};

} // namespace kumby::gui
