#include "ActionButton.h"

#include <QAction>
#include <QPushButton>

namespace kumby::gui {

QPushButton* ActionButton(QAction* action, const QString& caption) {
    auto* button = new QPushButton(caption);
    button->setToolTip(action->toolTip());
    button->setStatusTip(action->statusTip());
    button->setEnabled(action->isEnabled());
    QObject::connect(button, &QPushButton::clicked, action, &QAction::trigger);
    QObject::connect(action, &QAction::changed, button,
                     [button, action] { button->setEnabled(action->isEnabled()); });
    return button;
}

} // namespace kumby::gui
