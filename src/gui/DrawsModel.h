#pragma once

// The draws list: newest draw on top, rows produced on demand from the session's
// archive, so that an archive of any size costs nothing until a row is painted.

#include <QAbstractTableModel>

namespace kumby {
class Session;
}

namespace kumby::gui {

inline constexpr unsigned OffsetRowColour = 0xFFAAAA;

class TDrawsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum TColumn { ColNumber = 0, ColFirstNumber = 1, ColSum = 13, ColDate = 14, ColumnCount = 15 };

    explicit TDrawsModel(const Session& session, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The archive index a list row shows, or -1.
    int ArchiveIndex(int row) const;
    // Follows the archive: a new row count resets the list, otherwise the rows
    // are repainted.
    void Refresh(bool force = false);

private:
    const Session& Session_;
    int Rows_ = 0;
};

} // namespace kumby::gui
