#include "ViewTabCommands.h"

#include "ActionButton.h"
#include "ActionList.h"
#include "CountEdit.h"
#include "SpreadsheetExport.h"
#include "ViewGridModel.h"
#include "app/Session.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>

namespace kumby::gui {

TViewTabCommands AddViewTabCommands(Session& session, TActionList& actions, TAnalysisView view,
                                    QTableView& grid, const TViewTabTexts& texts,
                                    const std::function<void()>& refresh) {
    TViewTabCommands c;
    auto canFilter = [&session, &grid, view] {
        return session.CanViewFilter(view) && grid.selectionModel()->hasSelection();
    };
    c.Refresh = actions.Add(texts.RefreshCaption, texts.RefreshHint, {},
                            [&session, view] { return session.ViewTabShown(view); });
    c.Include = actions.Add(QStringLiteral("Оставить выделенные"), texts.IncludeHint, {}, canFilter);
    c.Exclude = actions.Add(QStringLiteral("Удалить выделенные"), texts.ExcludeHint, {}, canFilter);
    c.Export = actions.Add(
        QStringLiteral("Экспорт в Microsoft Excel"), texts.ExportHint, {},
        [&session, &grid, view] { return session.ViewTabShown(view) && grid.model()->rowCount() > 0; });
    QObject::connect(c.Refresh, &QAction::triggered, &grid, refresh);
    QObject::connect(c.Export, &QAction::triggered, &grid, [&session, &grid, view, texts] {
        ExportListToSpreadsheet(session, grid.window(), QString::fromUtf8(AnalysisViewCaption(view)), grid,
                                texts.RowCaption);
    });
    for (QAction* action : {c.Include, c.Exclude}) {
        const bool exclude = action == c.Exclude;
        QObject::connect(action, &QAction::triggered, &grid, [&session, &grid, view, exclude] {
            const std::vector<TGridCell> cells = SelectedCells(grid);
            session.ViewFilter(view, cells, exclude);
        });
    }
    QObject::connect(grid.selectionModel(), &QItemSelectionModel::selectionChanged, &grid,
                     [&actions] { actions.Update(); });

    auto* menu = new QMenu(&grid);
    menu->addAction(c.Refresh);
    menu->addSeparator();
    menu->addAction(c.Include);
    menu->addAction(c.Exclude);
    menu->addSeparator();
    menu->addAction(c.Export);
    grid.setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(&grid, &QTableView::customContextMenuRequested, menu,
                     [menu, &grid](const QPoint& pos) { menu->popup(grid.viewport()->mapToGlobal(pos)); });
    return c;
}

QHBoxLayout* ViewCommandRow(const TViewTabCommands& commands, QSpinBox* length) {
    auto* row = new QHBoxLayout;
    if (length) {
        auto* label = new QLabel(QStringLiteral("Тиражей:"));
        label->setBuddy(length);
        row->addWidget(label);
        row->addWidget(length);
        row->addSpacing(8);
    }
    row->addWidget(ActionButton(commands.Refresh, QStringLiteral("Обновить")));
    row->addSpacing(8);
    row->addWidget(ActionButton(commands.Include, QStringLiteral("Оставить выделенные")));
    row->addWidget(ActionButton(commands.Exclude, QStringLiteral("Удалить выделенные")));
    row->addStretch();
    return row;
}

QSpinBox* ViewLengthEdit(const QString& name, int value, const QString& hint) {
    QSpinBox* spin = CountEdit(hint, 80);
    spin->setObjectName(name);
    spin->setValue(std::max(1, value));
    return spin;
}

} // namespace kumby::gui
