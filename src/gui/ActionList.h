#pragma once

// The main window's commands: each action has its caption, hint, shortcut and the
// rule that enables it. While the session is busy every action is disabled but
// the ones kept for it.

#include <QAction>
#include <QKeySequence>
#include <QObject>

#include <functional>
#include <vector>

namespace kumby::gui {

class TActionList : public QObject {
    Q_OBJECT
public:
    using TRule = std::function<bool()>;

    TActionList(std::function<bool()> busy, QObject* parent) : QObject(parent), Busy_(std::move(busy)) {}

    // The hint is both the status tip and the tool tip. An empty rule: enabled
    // whenever the session is not busy.
    QAction* Add(const QString& caption, const QString& hint, const QKeySequence& shortcut = {},
                 TRule rule = {});
    QAction* AddCheck(const QString& caption, const QString& hint, TRule rule = {});
    // The action's rule alone decides, busy or not: the one way to reach a long
    // operation while it runs (its Stop).
    void KeepWhileBusy(QAction* action);

    // Re-evaluates every rule.
    void Update();
    const std::vector<QAction*>& Actions() const { return Actions_; }

private:
    std::function<bool()> Busy_;
    std::vector<QAction*> Actions_;
    std::vector<TRule> Rules_;
    std::vector<bool> KeepWhileBusy_;
};

} // namespace kumby::gui
