#pragma once

// The tab "Карта": the card of the draws with its colours, and the keep/remove
// filters of the working list by the numbers of the selected cells.

#include "app/IUserInterface.h"

#include <QWidget>

class QAction;
class QTableView;

namespace kumby {
class Session;
}

namespace kumby::gui {

class TActionList;
class TViewGridModel;

class TCardTab : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* Caption = "Карта";

    TCardTab(Session& session, TActionList& actions, QWidget* parent = nullptr);

    QTableView* Grid() const { return Grid_; }
    TViewGridModel* Model() const { return Model_; }

    // Builds the card when it changed (or always, forced), then shows it.
    void Refresh(bool force);
    void SessionEvent(TSessionEvent event);

    QAction* CardRefresh;
    QAction* CardFilterInclude;
    QAction* CardFilterExclude;
    QAction* CardExport;

protected:
    void showEvent(QShowEvent* event) override;

private:
    Session& Session_;
    TActionList& Actions_;
    TViewGridModel* Model_;
    QTableView* Grid_;
};

} // namespace kumby::gui
