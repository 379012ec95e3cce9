#pragma once

// The tab "Неделя": how often each number came out on each day of the week over a
// window of draws, the chart of the current cell, and the keep/remove filters by
// the selected columns.

#include "app/IUserInterface.h"

#include <QWidget>

class QAction;
class QSpinBox;
class QSplitter;
class QTableView;

namespace kumby {
class Session;
}

namespace kumby::gui {

class TActionList;
class TViewGridModel;
class TWeekChart;

class TWeekTab : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* Caption = "Неделя";

    TWeekTab(Session& session, TActionList& actions, QWidget* parent = nullptr);

    QTableView* Grid() const { return Grid_; }
    TViewGridModel* Model() const { return Model_; }
    QSpinBox* LengthEdit() const { return Length_; }
    TWeekChart* Chart() const { return Chart_; }
    QAction* SaveChart;

    void Refresh(bool force);
    // The chart of the current cell in the chart mode and type of the view state.
    void ShowChart();
    void SessionEvent(TSessionEvent event);
    // The length and the chart height, kept in the session's view state.
    void RestoreViewState();
    void SaveViewState() const;

    QAction* WeekRefresh;
    QAction* WeekFilterInclude;
    QAction* WeekFilterExclude;
    QAction* WeekExport;

protected:
    void showEvent(QShowEvent* event) override;

private:
    Session& Session_;
    TActionList& Actions_;
    TViewGridModel* Model_;
    QTableView* Grid_;
    QSpinBox* Length_;
    TWeekChart* Chart_;
    QSplitter* Splitter_;
};

} // namespace kumby::gui
