#pragma once

// Window placement, list column widths and sort columns in the view state file.

#include "app/ViewState.h"

#include <QRect>
#include <QSize>
#include <QString>

#include <string>

class QTableView;

namespace kumby::gui {

struct TPlacement {
    QRect Normal; // the window's normal geometry
    bool Maximized = false;
};

// The stored placement, when "PixelsPerInch" matches `pixelsPerInch`; the keys of
// this screen size ("NormPos_%dx%d") win over the plain ones.
bool ReadPlacement(const TIniFile& ini, const std::string& section, int pixelsPerInch, QSize screen,
                   TPlacement& out);
TKeyValues PlacementValues(const TPlacement& placement, int pixelsPerInch, QSize screen);

// The rows of a list that never measures a row (so it stays virtual over millions):
// fixed heights, no header column, read-only whole-row selection.
void SetUpListView(QTableView& view);

// "<list>.Column%d" for every column of the view.
void RestoreColumnWidths(QTableView& view, const TIniFile& ini, const std::string& section,
                         const std::string& listName);
void AddColumnWidthValues(const QTableView& view, const std::string& listName, TKeyValues& values);

// The narrowest width of a column that shows `widest` in its cells and its caption
// in the header, both whole.
int FitColumnWidth(const QTableView& view, int column, const QString& widest);

// "<list>.SortType" as "column,order" (order 0 ascending, 1 descending).
void RestoreSortType(QTableView& view, const TIniFile& ini, const std::string& section,
                     const std::string& listName);
void AddSortTypeValues(const QTableView& view, const std::string& listName, TKeyValues& values);

} // namespace kumby::gui
