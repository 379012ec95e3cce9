#include "ViewStateGlue.h"

#include "GuiText.h"
#include "model/VexoUtils.h"

#include <QHeaderView>
#include <QStringList>
#include <QStyle>
#include <QTableView>

#include <algorithm>

namespace kumby::gui {

namespace {

// Windows' show commands, as the file has always held them.
constexpr int ShowNormal = 1;
constexpr int ShowMaximized = 3;

std::string ScreenKey(const char* key, QSize screen) {
    return Format("%s_%dx%d", key, screen.width(), screen.height());
}

// "left,top,right,bottom" with right and bottom just outside the rectangle.
bool ParseRect(const std::string& text, QRect& out) {
    const QStringList parts = Q(text).split(QLatin1Char(','));
    if (parts.size() != 4)
        return false;
    int v[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        v[i] = parts[i].trimmed().toInt(&ok);
        if (!ok)
            return false;
    }
    if (v[2] <= v[0] || v[3] <= v[1])
        return false;
    out = QRect(QPoint(v[0], v[1]), QPoint(v[2] - 1, v[3] - 1));
    return true;
}

std::string RectText(const QRect& r) {
    return Format("%d,%d,%d,%d", r.left(), r.top(), r.right() + 1, r.bottom() + 1);
}

std::string ColumnKey(const std::string& listName, int column) {
    return Format("%s.Column%d", listName.c_str(), column);
}

} // namespace

bool ReadPlacement(const TIniFile& ini, const std::string& section, int pixelsPerInch, QSize screen,
                   TPlacement& out) {
    if (ini.ReadInteger(section, "PixelsPerInch", -1) != pixelsPerInch)
        return false;
    const std::string screenKey = ScreenKey("NormPos", screen);
    const std::string key = ini.HasKey(section, screenKey) ? screenKey : std::string("NormPos");
    QRect normal;
    if (!ParseRect(ini.ReadString(section, key, ""), normal))
        return false;
    out.Normal = normal;
    out.Maximized = ini.ReadInteger(section, "ShowCmd", ShowNormal) == ShowMaximized;
    return true;
}

TKeyValues PlacementValues(const TPlacement& placement, int pixelsPerInch, QSize screen) {
    const std::string normal = RectText(placement.Normal);
    const std::string minMax = "-1,-1,-1,-1";
    return {
        {"Flags", "0"},
        {"ShowCmd", std::to_string(placement.Maximized ? ShowMaximized : ShowNormal)},
        {"PixelsPerInch", std::to_string(pixelsPerInch)},
        {"MinMaxPos", minMax},
        {ScreenKey("MinMaxPos", screen), minMax},
        {"NormPos", normal},
        {ScreenKey("NormPos", screen), normal},
    };
}

void RestoreColumnWidths(QTableView& view, const TIniFile& ini, const std::string& section,
                         const std::string& listName) {
    QHeaderView* header = view.horizontalHeader();
    for (int c = 0; c < header->count(); ++c) {
        const int width = ini.ReadInteger(section, ColumnKey(listName, c), -1);
        // Zero hides a column on purpose; only nonsense is ignored.
        if (width >= 0 && width <= 4000)
            header->resizeSection(c, width);
    }
}

void AddColumnWidthValues(const QTableView& view, const std::string& listName, TKeyValues& values) {
    const QHeaderView* header = view.horizontalHeader();
    for (int c = 0; c < header->count(); ++c)
        values.emplace_back(ColumnKey(listName, c), std::to_string(header->sectionSize(c)));
}

int FitColumnWidth(const QTableView& view, int column, const QString& widest) {
    // A cell keeps a small margin at each side of its text; a header section a larger one.
    const int cellMargin = view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1;
    const int cell = view.fontMetrics().horizontalAdvance(widest) + 2 * cellMargin + 4;
    const QHeaderView* header = view.horizontalHeader();
    const QString caption = view.model()
                                ? view.model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString()
                                : QString();
    const int headerMargin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    const int head = header->fontMetrics().horizontalAdvance(caption) + 2 * headerMargin + 4;
    return std::max(cell, head);
}

void RestoreSortType(QTableView& view, const TIniFile& ini, const std::string& section,
                     const std::string& listName) {
    const QStringList parts = Q(ini.ReadString(section, listName + ".SortType", "")).split(QLatin1Char(','));
    if (parts.size() != 2)
        return;
    bool columnOk = false, orderOk = false;
    const int column = parts[0].trimmed().toInt(&columnOk);
    const int order = parts[1].trimmed().toInt(&orderOk);
    if (!columnOk || !orderOk || column < 0 || column >= view.horizontalHeader()->count())
        return;
    view.sortByColumn(column, order == 1 ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void AddSortTypeValues(const QTableView& view, const std::string& listName, TKeyValues& values) {
    const QHeaderView* header = view.horizontalHeader();
    values.emplace_back(listName + ".SortType",
                        Format("%d,%d", header->sortIndicatorSection(),
                               header->sortIndicatorOrder() == Qt::DescendingOrder ? 1 : 0));
}

void SetUpListView(QTableView& view) {
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    view.setWordWrap(false);
    QHeaderView* rows = view.verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(view.fontMetrics().height() + 6);
    QHeaderView* columns = view.horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setHighlightSections(false);
    columns->setMinimumSectionSize(0);
}

} // namespace kumby::gui
