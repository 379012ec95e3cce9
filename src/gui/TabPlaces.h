#pragma once

// The designed order of a page's tabs. A tab that its switch hides and shows again
// comes back at its own place: after the tabs before it in this order that are on
// the page.

#include <QObject>
#include <QString>

#include <vector>

class QTabWidget;
class QWidget;

namespace kumby::gui {

// Owned by the page.
class TTabPlaces : public QObject {
    Q_OBJECT
public:
    explicit TTabPlaces(QTabWidget& pages);

    // The tabs in their designed order; a tab not listed goes last.
    void SetOrder(std::vector<QWidget*> order) { Order_ = std::move(order); }
    // Puts the tab on the page at its place, or takes it off.
    void Show(QWidget* tab, const QString& caption, bool shown);

private:
    QTabWidget& Pages_;
    std::vector<QWidget*> Order_;
};

} // namespace kumby::gui
