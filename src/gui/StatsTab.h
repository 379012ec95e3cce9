#pragma once

// The tab "Статистика": the depth and the method of the statistics table, the table
// itself with the chart of its counts, and the commands of the method lists.

#include "app/IUserInterface.h"
#include "app/ViewState.h"

#include <QWidget>

class QAction;
class QComboBox;
class QMenu;
class QSpinBox;
class QSplitter;
class QTableView;

namespace kumby {
class Session;
}

namespace kumby::gui {

class TActionList;
class TStatsChart;
class TStatsModel;

class TStatsTab : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* Caption = "Статистика";
    static constexpr const char* ListName = "lvDrawsStat";
    static constexpr int DesignedChartHeight = 220;
    static constexpr int FullSetColumnWidth = 80;

    TStatsTab(Session& session, TActionList& actions, QWidget* parent = nullptr);

    QSpinBox* LengthEdit() const { return Length_; }
    QComboBox* MethodList() const { return Methods_; }
    QTableView* List() const { return List_; }
    TStatsModel* Model() const { return Model_; }
    TStatsChart* Chart() const { return Chart_; }
    QAction* SaveChart;
    QSplitter* Splitter() const { return Splitter_; }

    void AddCommands(QMenu& menu) const;
    void SessionEvent(TSessionEvent event);

    // Refills the method list (see FillMethodLists) and the chart list when there is one.
    void FillLists(bool reload, bool keepSelection);
    void SetChartList(QComboBox* list) { ChartList_ = list; }
    // Asks the session for the table of the selected method and shows it; errors
    // are reported, never thrown.
    void ComputeTable(bool force);

    void RestoreViewState(const TIniFile& ini);
    // Puts the depth and the chart height into the session's view state and adds the
    // list's column widths and sort to `values`.
    void SaveViewState(TKeyValues& values);

    QAction* DrawsStatCalc;
    QAction* FiltersInfo;
    QAction* FiltersManager;
    QAction* FiltersReset;
    QAction* DrawsStatePrefetchsEnabled;
    QAction* DrawsStatShowTotalLine;
    QAction* DrawsStatExportToExcel;
    QAction* StatFilterInclude;
    QAction* StatFilterExclude;

    void FiltersInfoExecute();
    void FiltersManagerExecute();
    void FiltersResetExecute();
    void PrefetchsEnabledExecute(bool on);
    void ShowTotalLineExecute(bool on);
    void ExportToExcelExecute();
    // Keeps (or removes) the combinations with the values of the selected rows.
    void StatFilterExecute(bool exclude);

signals:
    void listsFilled();

private:
    void CreateActions();
    // Columns "Норма", "Отклонение", "Откл-ие в %" exist only with the full-set comparison.
    void ApplyFullSetColumns();
    void SyncSwitches();
    bool CanCompute() const;

    Session& Session_;
    TActionList& Actions_;
    QSpinBox* Length_;
    QComboBox* Methods_;
    QComboBox* ChartList_ = nullptr;
    TStatsModel* Model_;
    QTableView* List_;
    TStatsChart* Chart_;
    QSplitter* Splitter_;
    QMenu* ContextMenu_;
    bool Computing_ = false;
    // A settings change may have rebuilt the registry under the list.
    bool RegistryMayHaveChanged_ = false;
};

} // namespace kumby::gui
