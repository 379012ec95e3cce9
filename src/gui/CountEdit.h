#pragma once

// The field for a number of draws (a window length, a depth): 1 and up, with its
// hint as tool tip and status tip.

#include <QString>

class QSpinBox;

namespace kumby::gui {

QSpinBox* CountEdit(const QString& hint, int minimumWidth = 90);

} // namespace kumby::gui
