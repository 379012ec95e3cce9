#pragma once

// The tab "Регуляры": the regular stakes list and its commands; the tab is shown
// or hidden by the view switch TabTables.

#include "app/IUserInterface.h"
#include "app/ViewState.h"

#include <QWidget>

#include <vector>

class QAction;
class QMenu;
class QTableView;

namespace kumby {
class Session;
}

namespace kumby::gui {

class TActionList;
class TCombsTab;
class TRegularsModel;
class TStakesTab;

class TRegularsTab : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* Caption = "Регуляры";
    static constexpr const char* ListName = "lvTables";

    TRegularsTab(Session& session, TActionList& actions, TCombsTab& combs, TStakesTab& stakes,
                 QWidget* parent = nullptr);

    QTableView* List() const { return List_; }
    TRegularsModel* Model() const { return Model_; }

    void AddCommands(QMenu& menu) const;
    void SessionEvent(TSessionEvent event);
    void RestoreViewState(const TIniFile& ini);
    void SaveViewState(TKeyValues& values) const;

    QAction* TablesAdd;
    QAction* TablesDel;
    QAction* TablesStakeAdd;
    QAction* TablesStakeTest;

    void TablesAddExecute();
    void TablesDelExecute();
    void TablesStakeAddExecute();
    void TablesStakeTestExecute();

private:
    void CreateActions();
    std::vector<std::size_t> SelectedRegulars() const;
    void FollowNewStakes();

    Session& Session_;
    TActionList& Actions_;
    TCombsTab& Combs_;
    TStakesTab& Stakes_;
    TRegularsModel* Model_;
    QTableView* List_;
    QMenu* ContextMenu_;
};

} // namespace kumby::gui
