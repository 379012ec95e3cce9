#pragma once

// The tab "Рейтинг": the ratings list in one of three views of effectiveness, sorted
// by a click on a column header, and the rating commands with their charts.

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
class TRatingsModel;

class TRatingsTab : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* Caption = "Рейтинг";
    static constexpr const char* ListName = "lvRatings";
    static constexpr const char* CsvFileFilter = "CSV-файлы (*.csv)";

    TRatingsTab(Session& session, TActionList& actions, QWidget* parent = nullptr);

    QTableView* List() const { return List_; }
    TRatingsModel* Model() const { return Model_; }

    void AddCommands(QMenu& menu) const;
    void SessionEvent(TSessionEvent event);
    void RestoreViewState(const TIniFile& ini);
    void SaveViewState(TKeyValues& values) const;

    QAction* RatingsRefresh;
    QAction* RatingsExport;
    QAction* RatingsXlsExport;
    QAction* RatingsToScript;
    QAction* RatingsGraphOverlap;
    QAction* StakesGraphOverlap;
    QAction* StakesGraphProfits;
    QAction* RatingsEffMode0;
    QAction* RatingsEffMode1;
    QAction* RatingsEffMode2;

    void RatingsRefreshExecute();
    void RatingsExportExecute();
    void RatingsXlsExportExecute();
    void RatingsToScriptExecute();
    void RatingsGraphOverlapExecute();
    void StakesGraphOverlapExecute();
    void StakesGraphProfitsExecute();

signals:
    // Lines made of the selected rows went into the script.
    void scriptLinesAdded(int count);

private:
    void CreateActions();
    // The view switches and the header's sort indicator follow the session.
    void SyncSwitches();
    std::vector<std::size_t> SelectedRatingRows() const;

    Session& Session_;
    TActionList& Actions_;
    TRatingsModel* Model_;
    QTableView* List_;
    QMenu* ContextMenu_;
};

} // namespace kumby::gui
