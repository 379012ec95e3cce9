#pragma once

// The tab "Графики": the graph value of a chartable method draw by draw over the
// recent draws, with its average and most frequent value; and the view menu's
// commands of the tab and the two side analyses (sum distribution, repeats).

#include "app/IUserInterface.h"

#include <QWidget>

class QAction;
class QCheckBox;
class QComboBox;
class QMenu;
class QSpinBox;
class QTabWidget;

namespace kumby {
class Session;
}

namespace kumby::gui {

class TActionList;
class TStatsChart;
class TStatsTab;
class TTabPlaces;

class TGraphsTab : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* Caption = "Графики";

    // The tab goes on `pages` at its place; the method list refills of `statsTab`
    // fill this tab's list too.
    TGraphsTab(Session& session, TActionList& actions, QTabWidget& pages, TTabPlaces& places,
               TStatsTab& statsTab, QWidget* parent = nullptr);

    QSpinBox* LengthEdit() const { return Length_; }
    QComboBox* MethodList() const { return Methods_; }
    QCheckBox* MarksBox() const { return Marks_; }
    TStatsChart* Chart() const { return Chart_; }

    // The two side analyses; the tab's switch goes with the other tabs' switches.
    void AddCommands(QMenu& menu) const;
    void SessionEvent(TSessionEvent event);
    // Asks the session for the graph of the selected method and shows it.
    void ComputeGraph(bool force);
    // After the session read the view state: the length, the switch and the tab follow it.
    void RestoreViewState();
    void SaveViewState();

    QAction* TabGraphs;
    QAction* DrawsGraphCalc;
    QAction* SumDistribution;
    QAction* DrawsRepeats;
    QAction* SaveChart;

    void SumDistributionExecute();
    void DrawsRepeatsExecute();

private:
    void SyncTab();
    void ShowMarks(bool on);

    Session& Session_;
    TActionList& Actions_;
    QTabWidget& Pages_;
    TTabPlaces& Places_;
    QSpinBox* Length_;
    QComboBox* Methods_;
    QCheckBox* Marks_;
    TStatsChart* Chart_;
    bool Computing_ = false;
};

} // namespace kumby::gui
