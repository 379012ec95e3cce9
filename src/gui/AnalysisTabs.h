#pragma once

// The card, layout and weekday tabs together: their place on the page, the view
// menu's switches that show or hide them and colour them, and the session's events
// they follow.

#include "app/IUserInterface.h"

#include <QObject>

class QAction;
class QMenu;
class QTabWidget;
class QWidget;

namespace kumby {
class Session;
}

namespace kumby::gui {

class TActionList;
class TCardTab;
class TLayoutTab;
class TTabPlaces;
class TWeekTab;

class TAnalysisTabs : public QObject {
    Q_OBJECT
public:
    // The tabs go on `pages` at their places.
    TAnalysisTabs(Session& session, TActionList& actions, QTabWidget& pages, TTabPlaces& places,
                  QObject* parent);

    TCardTab* CardTab() const { return Card_; }
    TLayoutTab* LayoutTab() const { return Layout_; }
    TWeekTab* WeekTab() const { return Week_; }

    void AddCommands(QMenu& menu) const;
    void SessionEvent(TSessionEvent event);
    // After the session read the view state: the switches and the tabs follow it.
    void RestoreViewState();
    void SaveViewState() const;

    QAction* TabCard;
    QAction* TabLayout;
    QAction* TabWeek;
    QAction* ColorCard;
    QAction* ColorCardSequences;
    QAction* LayoutGradient;
    QAction* WeekChartMode;
    QAction* WeekChartType;

private:
    void SyncTabs();
    void SyncSwitches();
    // Stores one display switch of the view state at once.
    void SetSwitch(bool& field, const char* key, bool on);

    Session& Session_;
    QTabWidget& Pages_;
    TTabPlaces& Places_;
    TCardTab* Card_;
    TLayoutTab* Layout_;
    TWeekTab* Week_;
};

} // namespace kumby::gui
