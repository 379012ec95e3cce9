#pragma once

// The spreadsheet export of every list: a title in the first row, then the list's
// column captions and its rows as they are shown, written to an .xlsx workbook.

#include <QList>
#include <QString>

#include <functional>

class QAbstractItemModel;
class QTableView;
class QWidget;

namespace kumby {
class Session;
}

namespace kumby::gui {

// Writes the model's rows (display texts; numbers as numbers, cell colours kept) in
// the order of `columns` (model column numbers), `pump` called now and then on long
// lists. False with `error` set on failure.
bool WriteSpreadsheet(const QString& path, const QString& title, const QAbstractItemModel& model,
                      const QList<int>& columns, const QList<int>& widths, QString& error,
                      const std::function<void()>& pump = {});

// The export command of a list: asks for the file, then writes the visible columns
// in the order the view shows them. Failures go to the session's message boxes.
void ExportListToSpreadsheet(Session& session, QWidget* parent, const QString& title, const QTableView& view);

} // namespace kumby::gui
