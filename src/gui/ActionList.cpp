#include "ActionList.h"

namespace kumby::gui {

QAction* TActionList::Add(const QString& caption, const QString& hint, const QKeySequence& shortcut,
                          TRule rule) {
    auto* action = new QAction(caption, this);
    action->setStatusTip(hint);
    action->setToolTip(hint);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    Actions_.push_back(action);
    Rules_.push_back(std::move(rule));
    KeepWhileBusy_.push_back(false);
    return action;
}

QAction* TActionList::AddCheck(const QString& caption, const QString& hint, TRule rule) {
    QAction* action = Add(caption, hint, {}, std::move(rule));
    action->setCheckable(true);
    return action;
}

void TActionList::KeepWhileBusy(QAction* action) {
    for (std::size_t i = 0; i < Actions_.size(); ++i)
        if (Actions_[i] == action)
            KeepWhileBusy_[i] = true;
}

void TActionList::Update() {
    const bool busy = Busy_ && Busy_();
    for (std::size_t i = 0; i < Actions_.size(); ++i)
        Actions_[i]->setEnabled((!busy || KeepWhileBusy_[i]) && (!Rules_[i] || Rules_[i]()));
}

} // namespace kumby::gui
