#pragma once

// The operation history under the combination list (lvFilters): one row per keep or
// remove step with its caption, its values and the count after it.

#include <QAbstractTableModel>
#include <QIcon>

namespace kumby {
class Session;
}

namespace kumby::gui {

class TFilterRowsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum TColumn { ColCaption = 0, ColValues = 1, ColCount = 2, ColumnCount = 3 };
    static constexpr int DesignedWidths[ColumnCount] = {150, 100, 60};

    explicit TFilterRowsModel(const Session& session, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Follows the session's history.
    void Refresh();

    // The marks of a keep step and of a remove step, drawn here.
    static QIcon KeepIcon();
    static QIcon RemoveIcon();

private:
    const Session& Session_;
    int Rows_ = 0;
};

} // namespace kumby::gui
