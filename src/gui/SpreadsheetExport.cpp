#include "SpreadsheetExport.h"

#include "FileDialogs.h"
#include "GuiText.h"
#include "app/Session.h"
#include "model/VexoUtils.h"

#include <QAbstractItemModel>
#include <QAbstractTableModel>
#include <QAction>
#include <QColor>
#include <QFile>
#include <QHeaderView>
#include <QTableView>

#include <filesystem>
#include <map>
#include <system_error>
#include <xlsxwriter.h>

namespace kumby::gui {

namespace {

constexpr int MaxSheetRows = 1048576;
constexpr int RowsPerSheet = MaxSheetRows - 2; // below the title and the captions
constexpr int ProgressEveryRows = 4096;
constexpr int LongListRows = 50000;

// Sheet names are at most 31 characters and must not contain []:*?/\; the sheets
// after the first carry their number.
QString SheetName(const QString& title, int sheet) {
    QString name = title;
    for (const QChar c : QStringLiteral("[]:*?/\\"))
        name.remove(c);
    const QString suffix = sheet > 0 ? QStringLiteral(" (%1)").arg(sheet + 1) : QString();
    name = name.left(31 - static_cast<int>(suffix.size())).trimmed();
    return (name.isEmpty() ? QStringLiteral("Лист") : name) + suffix;
}

bool IsNumber(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

// A grid's model with its row headers as a first column.
class TRowHeadersModel : public QAbstractTableModel {
public:
    TRowHeadersModel(const QAbstractItemModel& source, QString caption)
        : Source_(source), Caption_(std::move(caption)) {}

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : Source_.rowCount();
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : Source_.columnCount() + 1;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (index.column() == 0)
            return role == Qt::DisplayRole ? Source_.headerData(index.row(), Qt::Vertical, role) : QVariant();
        return Source_.data(Source_.index(index.row(), index.column() - 1), role);
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return section == 0 ? QVariant(Caption_) : Source_.headerData(section - 1, orientation, role);
        return {};
    }

private:
    const QAbstractItemModel& Source_;
    QString Caption_;
};

} // namespace

bool WriteSpreadsheet(const QString& path, const QString& title, const QAbstractItemModel& model,
                      const QList<int>& columns, const QList<int>& widths, QString& error,
                      const TExportProgress& progress) {
    error.clear();
    const int rows = model.rowCount();
    const std::filesystem::path target = std::filesystem::path(QFile::encodeName(path).toStdString());
    std::filesystem::path temporary = target;
    temporary += ".part";

    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE; // rows go straight to disk: lists may be long
    lxw_workbook* book = workbook_new_opt(temporary.c_str(), &options);
    if (!book) {
        error = QStringLiteral("Не удалось создать файл \"%1\".").arg(path);
        return false;
    }

    lxw_format* titleFormat = workbook_add_format(book);
    format_set_bold(titleFormat);
    format_set_font_size(titleFormat, 12);
    lxw_format* captionFormat = workbook_add_format(book);
    format_set_bold(captionFormat);
    format_set_align(captionFormat, LXW_ALIGN_CENTER);
    format_set_bottom(captionFormat, LXW_BORDER_THIN);
    std::map<QRgb, lxw_format*> fills;
    auto fillFormat = [&](const QVariant& background) -> lxw_format* {
        if (!background.canConvert<QColor>())
            return nullptr;
        const QColor colour = background.value<QColor>();
        if (!colour.isValid() || colour == QColor(Qt::white))
            return nullptr;
        const QRgb rgb = colour.rgb() & 0xFFFFFF;
        auto [it, added] = fills.try_emplace(rgb, nullptr);
        if (added) {
            it->second = workbook_add_format(book);
            format_set_pattern(it->second, LXW_PATTERN_SOLID);
            format_set_bg_color(it->second, rgb);
        }
        return it->second;
    };
    const QByteArray titleText = title.toUtf8();
    QList<QByteArray> captions;
    for (const int column : columns)
        captions.push_back(model.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString().toUtf8());

    auto addSheet = [&](int number) {
        const QByteArray name = SheetName(title, number).toUtf8();
        lxw_worksheet* sheet = workbook_add_worksheet(book, name.constData());
        for (int c = 0; c < columns.size(); ++c) {
            const double width = c < widths.size() && widths[c] > 0 ? widths[c] / 7.0 : 10.0;
            worksheet_set_column(sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), width, nullptr);
        }
        worksheet_write_string(sheet, 0, 0, titleText.constData(), titleFormat);
        for (int c = 0; c < columns.size(); ++c)
            worksheet_write_string(sheet, 1, static_cast<lxw_col_t>(c), captions[c].constData(),
                                   captionFormat);
        return sheet;
    };

    bool stopped = false;
    lxw_worksheet* sheet = addSheet(0);
    for (int r = 0; r < rows && !stopped; ++r) {
        if (r > 0 && r % RowsPerSheet == 0)
            sheet = addSheet(r / RowsPerSheet);
        const auto sheetRow = static_cast<lxw_row_t>(r % RowsPerSheet + 2);
        for (int c = 0; c < columns.size(); ++c) {
            const QModelIndex index = model.index(r, columns[c]);
            const QVariant value = model.data(index, Qt::DisplayRole);
            lxw_format* format = fillFormat(model.data(index, Qt::BackgroundRole));
            const auto col = static_cast<lxw_col_t>(c);
            if (IsNumber(value))
                worksheet_write_number(sheet, sheetRow, col, value.toDouble(), format);
            else if (const QString text = value.toString(); !text.isEmpty())
                worksheet_write_string(sheet, sheetRow, col, text.toUtf8().constData(), format);
            else if (format)
                worksheet_write_blank(sheet, sheetRow, col, format);
        }
        if (progress && r % ProgressEveryRows == ProgressEveryRows - 1)
            stopped = !progress(r + 1, rows);
    }

    const lxw_error result = workbook_close(book);
    std::error_code ec;
    if (stopped || result != LXW_NO_ERROR) {
        if (!stopped)
            error = QString::fromUtf8(lxw_strerror(result));
        std::filesystem::remove(temporary, ec);
        return false;
    }
    std::filesystem::rename(temporary, target, ec);
    if (ec) {
        error = QString::fromStdString(ec.message());
        std::filesystem::remove(temporary, ec);
        return false;
    }
    return true;
}

void ExportListToSpreadsheet(Session& session, QWidget* parent, const QString& title, const QTableView& view,
                             const QString& rowCaption) {
    if (!view.model())
        return;
    const QString path =
        AskSaveFileName(parent, QString::fromUtf8(SpreadsheetFileFilter), QStringLiteral("xlsx"));
    if (path.isEmpty())
        return;

    const QHeaderView* header = view.horizontalHeader();
    QList<int> columns;
    QList<int> widths;
    const bool rowHeaders = !rowCaption.isEmpty();
    if (rowHeaders) {
        columns.push_back(0);
        widths.push_back(view.verticalHeader()->width());
    }
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (header->isSectionHidden(logical) || header->sectionSize(logical) <= 0)
            continue;
        columns.push_back(rowHeaders ? logical + 1 : logical);
        widths.push_back(header->sectionSize(logical));
    }

    QString error;
    bool ok = false;
    {
        TBusyScope busy(session, Format("Экспорт списка в файл \"%s\"...", S(path).c_str()));
        IUserInterface& ui = session.Ui();
        // Short lists are written before a progress window could be read.
        const bool longList = view.model()->rowCount() > LongListRows;
        const TRowHeadersModel headed(*view.model(), rowCaption);
        const QAbstractItemModel& model =
            rowHeaders ? static_cast<const QAbstractItemModel&>(headed) : *view.model();
        ok = WriteSpreadsheet(path, title, model, columns, widths, error,
                              [&ui, longList](long long done, long long total) {
                                  if (longList)
                                      ui.SetProgress(done, total);
                                  ui.PumpEvents();
                                  return !ui.StopRequested();
                              });
        if (longList)
            ui.SetProgress(0, 0);
    }
    if (!ok && !error.isEmpty())
        session.Ui().ShowError(Format("Ошибка экспорта в Microsoft Excel!\r\r%s", S(error).c_str()));
}

QAction* AddListExportAction(Session& session, QTableView& view, std::function<QString()> title) {
    auto* action = new QAction(QStringLiteral("Экспорт в Microsoft Excel"), &view);
    const QString hint = QStringLiteral("Сохранить список в книгу Microsoft Excel");
    action->setToolTip(hint);
    action->setStatusTip(hint);
    QObject::connect(action, &QAction::triggered, &view, [&session, &view, title = std::move(title)] {
        ExportListToSpreadsheet(session, view.window(), title(), view);
    });
    view.addAction(action);
    view.setContextMenuPolicy(Qt::ActionsContextMenu);
    return action;
}

} // namespace kumby::gui
