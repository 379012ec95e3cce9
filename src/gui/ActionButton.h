#pragma once

// A push button that stands for an action: same hint, same enabled state, and a
// click triggers the action.

#include <QString>

class QAction;
class QPushButton;

namespace kumby::gui {

QPushButton* ActionButton(QAction* action, const QString& caption);

} // namespace kumby::gui
