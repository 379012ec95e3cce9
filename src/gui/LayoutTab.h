#pragma once

// The tab "Схема": the layout of the numbers by count and last appearance over a
// window of draws, the five comparison lists under it, and the keep/remove filters
// by the numbers of the selected cells.

#include "app/IUserInterface.h"
#include "app/ViewState.h"

#include <QWidget>

#include <array>

class QAction;
class QSpinBox;
class QSplitter;
class QTableView;
class QTableWidget;

namespace kumby {
class Session;
}

namespace kumby::gui {

class TActionList;
class TViewGridModel;

class TLayoutTab : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* Caption = "Схема";
    static constexpr int CompareCount = 5;

    TLayoutTab(Session& session, TActionList& actions, QWidget* parent = nullptr);

    QTableView* Grid() const { return Grid_; }
    TViewGridModel* Model() const { return Model_; }
    QSpinBox* LengthEdit() const { return Length_; }
    QSpinBox* CompareEdit(int i) const { return CompareLengths_[static_cast<std::size_t>(i)]; }
    QTableWidget* CompareList(int i) const { return CompareLists_[static_cast<std::size_t>(i)]; }

    // Builds the grid and the comparison lists when they changed (or always, forced).
    void Refresh(bool force);
    void RefreshCompare(bool force);
    void SessionEvent(TSessionEvent event);
    // The lengths and the height of the comparison lists, kept in the session's view state.
    void RestoreViewState();
    void SaveViewState() const;

    QAction* LayoutRefresh;
    QAction* LayoutFilterInclude;
    QAction* LayoutFilterExclude;
    QAction* LayoutExport;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowCompareLists();

    Session& Session_;
    TActionList& Actions_;
    TViewGridModel* Model_;
    QTableView* Grid_;
    QSpinBox* Length_;
    std::array<QSpinBox*, CompareCount> CompareLengths_{};
    std::array<QTableWidget*, CompareCount> CompareLists_{};
    QSplitter* Splitter_;
};

} // namespace kumby::gui
