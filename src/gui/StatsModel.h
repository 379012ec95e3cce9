#pragma once

// The statistics table: rows produced on demand from the session's last table, in
// its display order. Sorting goes through the session, which keeps the sort for
// the next computations.

#include <QAbstractTableModel>

namespace kumby {
class Session;
}

namespace kumby::gui {

class TStatsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TStatsModel(Session& session, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;

    // Follows a new table of the session.
    void Refresh();

private:
    Session& Session_;
    int Rows_ = 0;
};

} // namespace kumby::gui
