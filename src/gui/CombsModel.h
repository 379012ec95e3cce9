#pragma once

// The working combination list: rows produced on demand from the session's list,
// so that the full set of 2,704,156 combinations costs nothing until a row is painted.

#include <QAbstractTableModel>

namespace kumby {
class Session;
}

namespace kumby::gui {

class TCombsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum TColumn { ColIndex = 0, ColFirstNumber = 1, ColSum = 13, ColumnCount = 14 };

    explicit TCombsModel(const Session& session, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Follows the list: a new row count resets the view (and its selection),
    // otherwise the rows are repainted.
    void Refresh();

private:
    const Session& Session_;
    int Rows_ = 0;
};

} // namespace kumby::gui
