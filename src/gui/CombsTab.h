#pragma once

// The tab "Комбинации": the working combination list, the exclusion of the last
// draws, the operation history under the list and the list's commands.

#include "app/IUserInterface.h"
#include "app/ViewState.h"
#include "model/Records.h"

#include <QWidget>

#include <QByteArray>

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

class QAction;
class QItemSelection;
class QMenu;
class QPushButton;
class QSpinBox;
class QSplitter;
class QTableView;

namespace kumby {
class Session;
}

namespace kumby::gui {

class TActionList;
class TCombsModel;
class TFilterRowsModel;

// The rows an item selection covers, ascending and each once; built from its ranges,
// so a selection of every row is one range and costs one pass.
std::vector<std::size_t> SelectedRows(const QItemSelection& selection);
// The same rows as ascending, disjoint first..last ranges.
std::vector<std::pair<std::size_t, std::size_t>> SelectedRanges(const QItemSelection& selection);

// The clipboard text of the rows in `ranges`: one line per combination, its numbers
// with two digits and single spaces, each line ended by CR LF. `progress` hears the
// rows done every so often and stops the work by answering false (the result is then
// empty).
QByteArray CombsClipboardBytes(const TCombsArray& list,
                               const std::vector<std::pair<std::size_t, std::size_t>>& ranges,
                               const std::function<bool(std::size_t done, std::size_t total)>& progress = {});

class TCombsTab : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* Caption = "Комбинации";
    static constexpr const char* ListName = "lvCombs";
    static constexpr const char* FiltersListName = "lvFilters";
    static constexpr int DesignedFiltersHeight = 150;

    TCombsTab(Session& session, TActionList& actions, QWidget* parent = nullptr);

    QTableView* List() const { return List_; }
    TCombsModel* Model() const { return Model_; }
    QTableView* Filters() const { return Filters_; }
    TFilterRowsModel* FiltersModel() const { return FiltersModel_; }
    QSpinBox* ExcludeEdit() const { return Exclude_; }
    QPushButton* ExcludeButton() const { return ExcludeButton_; }
    QSplitter* Splitter() const { return Splitter_; }

    void AddCommands(QMenu& menu) const;
    void SessionEvent(TSessionEvent event);

    void RestoreViewState(const TIniFile& ini);
    // Puts the spin edit's value and the history height into the session's view
    // state and adds both lists' column widths to `values`.
    void SaveViewState(TKeyValues& values);

    QAction* CombsGenerate;
    QAction* CombsOpen;
    QAction* CombsSave;
    QAction* CombsUndo;
    QAction* CombsExclude;
    QAction* CombsDelete;
    QAction* CombsCopy;
    QAction* CombsPaste;
    QAction* CombsSelectAll;
    QAction* CombsDistinct;
    QAction* CombsFind;
    QAction* CombsDetails;
    QAction* CombsExcel;
    QAction* CombsColor;

    void GenerateExecute();
    void OpenExecute();
    void SaveExecute();
    void UndoExecute();
    void ExcludeExecute();
    void DeleteExecute();
    void CopyExecute();
    void PasteExecute();
    void SelectAllExecute();
    void DistinctExecute();
    void FindExecute();
    void DetailsExecute();
    void ExcelExecute();
    void ColorExecute(bool on);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void CreateActions();
    void Refresh();
    // The list row of the focused combination, or -1.
    int FocusedRow() const;
    bool ListEmpty() const;

    Session& Session_;
    TActionList& Actions_;
    TCombsModel* Model_;
    QTableView* List_;
    TFilterRowsModel* FiltersModel_;
    QTableView* Filters_;
    QSpinBox* Exclude_;
    QPushButton* ExcludeButton_;
    QSplitter* Splitter_;
    QMenu* ContextMenu_;
    bool ClipboardHasText_ = false;
    // The splitter has its real size only once the page has been shown.
    bool Shown_ = false;
};

} // namespace kumby::gui
