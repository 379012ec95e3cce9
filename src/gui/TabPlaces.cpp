#include "TabPlaces.h"

#include <QTabWidget>

#include <algorithm>

namespace kumby::gui {

TTabPlaces::TTabPlaces(QTabWidget& pages) : QObject(&pages), Pages_(pages) {}

void TTabPlaces::Show(QWidget* tab, const QString& caption, bool shown) {
    const int index = Pages_.indexOf(tab);
    if (!shown) {
        if (index >= 0)
            Pages_.removeTab(index);
        return;
    }
    if (index >= 0)
        return;
    const auto place = std::find(Order_.begin(), Order_.end(), tab);
    if (place == Order_.end()) {
        Pages_.addTab(tab, caption);
        return;
    }
    // Right after the nearest tab before it that is on the page.
    int at = 0;
    for (auto before = place; before != Order_.begin();) {
        const int found = Pages_.indexOf(*--before);
        if (found >= 0) {
            at = found + 1;
            break;
        }
    }
    Pages_.insertTab(at, tab, caption);
}

} // namespace kumby::gui
