#pragma once

// The ratings list: one row per rating record in the order the session keeps them,
// the cells as the chosen view of effectiveness shows them.

#include "stakes/RatingsView.h"

#include <QAbstractTableModel>

namespace kumby {
class Session;
}

namespace kumby::gui {

class TRatingsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TRatingsModel(Session& session, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // A header click: the session sorts its ratings and saves them; the list follows
    // through the ratings event. The order it keeps already is not sorted again.
    void sort(int column, Qt::SortOrder order) override;

    // Follows the session's ratings and view setting.
    void Refresh();

private:
    const TRatingCells& RowCells(int row) const;

    Session& Session_;
    int Rows_ = 0;
    int EffMode_ = RatingsEffModeAbsolute;
    // A row is asked for cell by cell: its texts are made once.
    mutable int CachedRow_ = -1;
    mutable TRatingCells Cached_;
};

} // namespace kumby::gui
