#pragma once

// The tab "Сценарий": the script list, its commands, the forecast and the back-test
// with their Stop, and the five panels of the script's status bar.

#include "app/IUserInterface.h"
#include "app/ViewState.h"

#include <QWidget>

#include <array>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QTableView;

namespace kumby {
class Session;
}

namespace kumby::gui {

class TActionList;
class TScriptListModel;
class TStatsTab;
struct TFilterEditorPresets;

class TScriptTab : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* Caption = "Сценарий";
    static constexpr const char* ListName = "lvScript";
    static constexpr const char* FileFilter = "Файлы сценариев (*.lsc)";
    enum TPanel { PanelLines, PanelCycle, PanelLine, PanelStakes, PanelRunText, PanelCount };

    TScriptTab(Session& session, TActionList& actions, TStatsTab& stats, QWidget* parent = nullptr);

    QTableView* List() const { return List_; }
    TScriptListModel* Model() const { return Model_; }
    QString PanelShown(TPanel panel) const;

    void AddCommands(QMenu& menu) const;
    void SessionEvent(TSessionEvent event);
    // The run's panels and its running line, as the session has them now.
    void ShowRunState();
    void RestoreViewState(const TIniFile& ini);
    void SaveViewState(TKeyValues& values) const;
    // What the filter editor starts with: the statistics tab's method list, method
    // and number of draws, and the settings' weight coefficients.
    TFilterEditorPresets FilterPresets() const;
    // Selects the last `count` lines and shows them.
    void SelectLastLines(int count);

    QAction* ScriptOpen;
    QAction* ScriptSave;
    QAction* ScriptAdd;
    QAction* ScriptEmpty;
    QAction* ScriptLoad;
    QAction* ScriptClone;
    QAction* ScriptEdit;
    QAction* ScriptDel;
    QAction* ScriptClr;
    QAction* ScriptUp;
    QAction* ScriptDown;
    QAction* ScriptRun;
    QAction* ScriptTest;
    QAction* ScriptStop;
    QAction* LogToggle;
    QAction* LogsDelete;
    QAction* StakesCheckLine;

    void OpenExecute();
    void SaveExecute();
    void AddExecute();
    void EmptyExecute();
    void LoadExecute();
    void CloneExecute();
    void EditExecute();
    void DelExecute();
    void ClrExecute();
    void UpExecute();
    void DownExecute();
    void RunExecute();
    void TestExecute();
    void StopExecute();

private:
    void CreateActions();
    int CurrentRow() const;
    std::vector<std::size_t> SelectedLines() const;
    void SelectRow(std::size_t row);
    void SyncSwitches();

    Session& Session_;
    TActionList& Actions_;
    TStatsTab& Stats_;
    TScriptListModel* Model_;
    QTableView* List_;
    std::array<QLabel*, PanelCount> Panels_{};
    QMenu* ContextMenu_;
    int ShownRunRow_ = -1;
};

} // namespace kumby::gui
