#pragma once

// The tab "Системы": the system game on the numbers of the working list, the system
// files of the "Systems" folder, and the systems the program makes and checks. The
// tab is on its page once start-up has run, while "SystemsEnabled" is on.

#include "app/IUserInterface.h"
#include "app/ViewState.h"
#include "stakes/Systems.h"

#include <QWidget>

class QAction;
class QLabel;
class QMenu;
class QTableWidget;

namespace kumby {
class Session;
}

namespace kumby::gui {

class TActionList;
class TStakesTab;

class TSystemsTab : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* Caption = "Системы";
    static constexpr const char* ListName = "lvSystems";
    enum TListColumn { ColumnFile, ColumnN, ColumnCombinations, ColumnKind, ColumnCount };

    TSystemsTab(Session& session, TActionList& actions, TStakesTab& stakes, QWidget* parent = nullptr);

    QTableWidget* List() const { return List_; }
    QLabel* NumbersLabel() const { return Numbers_; }
    QLabel* ChosenLabel() const { return Chosen_; }

    // The commands work only while the tab is on its page.
    bool Shown() const { return Shown_; }
    void SetShown(bool shown);

    void AddCommands(QMenu& menu) const;
    void SessionEvent(TSessionEvent event);
    void RestoreViewState(const TIniFile& ini);
    void SaveViewState(TKeyValues& values) const;
    // Reads the folder and the working list's numbers again.
    void Refresh();

    QAction* SystemStakeAll;
    QAction* SystemStakeFilter;
    QAction* SystemGenerate;
    QAction* SystemCheck;
    QAction* SystemsRefresh;

    void SystemStakeAllExecute();
    void SystemStakeFilterExecute();
    void SystemGenerateExecute();
    void SystemCheckExecute();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateActions();
    void RefreshNumbers();
    void RefreshSystems();
    // The file the game would play for the list's n, marked in the list.
    void ShowChosenSystem();
    void PlaySystem(TSystemMode mode);

    Session& Session_;
    TActionList& Actions_;
    TStakesTab& Stakes_;
    QLabel* Numbers_;
    QLabel* Chosen_;
    QTableWidget* List_;
    std::vector<TSystemFileInfo> Systems_;
    int ListN_ = 0; // count of the working list's numbers
    bool NumbersStale_ = true;
    bool Shown_ = false;
};

} // namespace kumby::gui
