#pragma once

// The spreadsheet export of every list: a title in the first row, then the list's
// column captions and its rows as they are shown, written to an .xlsx workbook.

#include <QList>
#include <QString>

#include <functional>

class QAbstractItemModel;
class QAction;
class QTableView;
class QWidget;

namespace kumby {
class Session;
}

namespace kumby::gui {

// Called now and then with the rows written and the row count; false stops the export.
using TExportProgress = std::function<bool(long long done, long long total)>;

// Writes the model's rows (display texts; numbers as numbers, cell colours kept) in
// the order of `columns` (model column numbers). A list longer than a sheet goes on
// over further sheets, each with the title and captions. The workbook is written
// beside the target and renamed over it at the end, so a failed or stopped export
// leaves an existing file as it was. False on failure with `error` set, or when
// stopped with `error` empty.
bool WriteSpreadsheet(const QString& path, const QString& title, const QAbstractItemModel& model,
                      const QList<int>& columns, const QList<int>& widths, QString& error,
                      const TExportProgress& progress = {});

// The export command of a list: asks for the file, then writes the visible columns
// in the order the view shows them. A grid whose rows are headed (a draw number, a
// day) gives `rowCaption`: the row headers come first, as a column of that caption.
// Failures go to the session's message boxes.
void ExportListToSpreadsheet(Session& session, QWidget* parent, const QString& title, const QTableView& view,
                             const QString& rowCaption = {});

// Gives a list of a window that has no command menu the context menu command
// "Экспорт в Microsoft Excel" with the title `title` gives at the time; the action is
// returned for a button.
QAction* AddListExportAction(Session& session, QTableView& view, std::function<QString()> title);

} // namespace kumby::gui
