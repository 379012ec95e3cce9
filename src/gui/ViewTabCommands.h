#pragma once

// What the card, layout and weekday tabs share around their grids: the refresh and
// keep/remove commands with their buttons and context menu, and the length fields.

#include "views/ViewGrid.h"

#include <QString>

#include <functional>

class QAction;
class QHBoxLayout;
class QSpinBox;
class QTableView;
class QWidget;

namespace kumby {
class Session;
}

namespace kumby::gui {

class TActionList;

struct TViewTabCommands {
    QAction* Refresh = nullptr;
    QAction* Include = nullptr;
    QAction* Exclude = nullptr;
    QAction* Export = nullptr;
};

struct TViewTabTexts {
    QString RefreshCaption;
    QString RefreshHint;
    QString IncludeHint;
    QString ExcludeHint;
    QString ExportHint;
    // The caption of the grid's row headers in the spreadsheet.
    QString RowCaption;
};

// The commands of the tab of `view` over `grid` (the grid's context menu offers
// them); a forced refresh runs `refresh`, the filters take the selected cells, the
// export writes the grid to a spreadsheet.
TViewTabCommands AddViewTabCommands(Session& session, TActionList& actions, TAnalysisView view,
                                    QTableView& grid, const TViewTabTexts& texts,
                                    const std::function<void()>& refresh);
// "Тиражей:" with the length field (when given), "Обновить", "Оставить выделенные",
// "Удалить выделенные".
QHBoxLayout* ViewCommandRow(const TViewTabCommands& commands, QSpinBox* length);
// A field of a number of draws, 1 and more.
QSpinBox* ViewLengthEdit(const QString& name, int value, const QString& hint);

} // namespace kumby::gui
