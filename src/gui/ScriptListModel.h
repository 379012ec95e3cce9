#pragma once

// The script list: one row per line, its cells read from the line on every look.

#include <QAbstractTableModel>

namespace kumby {
class Session;
}

namespace kumby::gui {

class TScriptListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TScriptListModel(Session& session, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void Refresh();

private:
    Session& Session_;
};

} // namespace kumby::gui
