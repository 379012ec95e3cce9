#include "CountEdit.h"

#include <QSpinBox>

#include <climits>

namespace kumby::gui {

QSpinBox* CountEdit(const QString& hint, int minimumWidth) {
    auto* edit = new QSpinBox;
    edit->setRange(1, INT_MAX);
    edit->setMinimumWidth(minimumWidth);
    edit->setToolTip(hint);
    edit->setStatusTip(hint);
    return edit;
}

} // namespace kumby::gui
