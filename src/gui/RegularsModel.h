#pragma once

// The regulars list: one row per regular stake the session holds.

#include <QAbstractTableModel>

namespace kumby {
class Session;
}

namespace kumby::gui {

class TRegularsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TRegularsModel(Session& session, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void Refresh();

private:
    Session& Session_;
};

} // namespace kumby::gui
