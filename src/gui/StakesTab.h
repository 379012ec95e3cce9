#pragma once

// The tab "Ставки": the stakes grid over the stakes file and the stake commands,
// including the stakes made from the combination list.

#include "app/IUserInterface.h"
#include "app/ViewState.h"

#include <QWidget>

#include <optional>

class QAction;
class QMenu;
class QTableView;

namespace kumby {
class Session;
}

namespace kumby::gui {

class TActionList;
class TCombsTab;
class TStakesModel;

class TStakesTab : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* Caption = "Ставки";
    static constexpr const char* ListName = "sgStakes";

    // The combination list's selection feeds the stakes made from it; its double
    // click makes a stake.
    TStakesTab(Session& session, TActionList& actions, TCombsTab& combs, QWidget* parent = nullptr);

    QTableView* Grid() const { return Grid_; }
    TStakesModel* Model() const { return Model_; }

    void AddCommands(QMenu& menu) const;
    // Moves the grid to its last row, whatever the scroll switch says: after stakes
    // made by another tab's command.
    void ShowLastStake();
    void SessionEvent(TSessionEvent event);
    void RestoreViewState(const TIniFile& ini);
    void SaveViewState(TKeyValues& values) const;

    QAction* StakeAdd;
    QAction* StakeAddRandom;
    QAction* StakeAddSelected;
    QAction* StakeAddAll;
    QAction* StakeDel;
    QAction* StakeFilter;
    QAction* StakeClear;
    QAction* StakesCheckManual;
    QAction* LogStakes;
    QAction* LogStakesDelete;
    QAction* StakesScroll;
    QAction* StakesGraphDraws;
    QAction* StakesXlsExport;

    void StakeAddExecute();
    void StakeAddRandomExecute();
    void StakeAddSelectedExecute();
    void StakeAddAllExecute();
    void StakeDelExecute();
    void StakeFilterExecute();
    void StakeClearExecute();
    void StakesCheckManualExecute();
    void LogStakesExecute(bool on);
    void LogStakesDeleteExecute();
    void StakesScrollExecute(bool on);
    void StakesGraphDrawsExecute();
    void StakesXlsExportExecute();

private:
    void CreateActions();
    void SyncSwitches();
    // The working-list row of the combination selected in the combination list.
    std::optional<std::size_t> SelectedCombination() const;
    // Opens the stake dialog on a stake with these numbers (none: empty).
    void AddManualStake(std::optional<std::size_t> row);
    void AddStakesFromList(bool selectedOnly);
    // After new stakes: the grid moves to its last row while the switch is on.
    void FollowNewStakes();

    Session& Session_;
    TActionList& Actions_;
    TCombsTab& Combs_;
    TStakesModel* Model_;
    QTableView* Grid_;
    QMenu* ContextMenu_;
};

} // namespace kumby::gui
