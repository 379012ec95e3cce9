// The workbook writer on its own: every cell read back from the file, long lists over
// several sheets, a stopped or failed export that leaves the old file alone.

#include "GuiTestSupport.h"
#include "XlsxReader.h"

#include "SpreadsheetExport.h"

#include <QAbstractTableModel>
#include <QColor>

using namespace kumby;
using namespace kumby::gui;
using namespace kumby::gui::testing;

namespace {

// Row r shows the number r in its one column.
class TCountingModel : public QAbstractTableModel {
public:
    explicit TCountingModel(int rows) : Rows_(rows) {}
    int rowCount(const QModelIndex& = {}) const override { return Rows_; }
    int columnCount(const QModelIndex& = {}) const override { return 1; }
    QVariant data(const QModelIndex& index, int role) const override {
        return role == Qt::DisplayRole ? QVariant(index.row()) : QVariant();
    }
    QVariant headerData(int, Qt::Orientation, int role) const override {
        return role == Qt::DisplayRole ? QVariant(QStringLiteral("№")) : QVariant();
    }

private:
    int Rows_;
};

// A small list of every kind of cell: numbers, texts, a dash, an empty cell, a
// coloured cell, and a column the export leaves out.
class TMixedModel : public QAbstractTableModel {
public:
    int rowCount(const QModelIndex& = {}) const override { return 3; }
    int columnCount(const QModelIndex& = {}) const override { return 4; }
    QVariant data(const QModelIndex& index, int role) const override {
        static const QVariant cells[3][4] = {
            {5000, QStringLiteral("01.02.2021 20:00"), 3.5, QStringLiteral("скрыто")},
            {4999, QStringLiteral("-"), QVariant(), QStringLiteral("скрыто")},
            {4998, QStringLiteral("Сумма \"в кавычках\" & <знаки>"), -2, QStringLiteral("скрыто")},
        };
        if (role == Qt::DisplayRole)
            return cells[index.row()][index.column()];
        if (role == Qt::BackgroundRole && index.row() == 1 && index.column() == 0)
            return QColor(0xFF, 0xAA, 0xAA);
        return {};
    }
    QVariant headerData(int section, Qt::Orientation, int role) const override {
        static const char* captions[] = {"Тираж", "Дата тиража", "Вес", "Лишний"};
        return role == Qt::DisplayRole ? QVariant(QString::fromUtf8(captions[section])) : QVariant();
    }
};

QString Path(const std::filesystem::path& p) {
    return QString::fromStdString(p.string());
}

} // namespace

class TSpreadsheetExportTest : public QObject {
    Q_OBJECT
private slots:
    void everyCellReadsBackAsShown() {
        TTempDir dir;
        const std::filesystem::path book = dir / "draws.xlsx";
        TMixedModel model;
        QString error;
        QVERIFY(WriteSpreadsheet(Path(book), QStringLiteral("Архив тиражей"), model, {0, 1, 2}, {60, 120, 40},
                                 error));
        const TZipReader zip(ReadBytes(book));
        QVERIFY(zip.Has("xl/worksheets/sheet1.xml"));
        QVERIFY(!zip.Has("xl/worksheets/sheet2.xml"));
        const std::map<QString, QString> expected = {
            {"A1", "Архив тиражей"},
            {"A2", "Тираж"},
            {"B2", "Дата тиража"},
            {"C2", "Вес"},
            {"A3", "5000"},
            {"B3", "01.02.2021 20:00"},
            {"C3", "3.5"},
            {"A4", "4999"},
            {"B4", "-"},
            {"A5", "4998"},
            {"B5", "Сумма \"в кавычках\" & <знаки>"},
            {"C5", "-2"},
        };
        // Nothing more: the empty cell stays empty and the left-out column is absent.
        QCOMPARE(SheetCells(zip, "xl/worksheets/sheet1.xml"), expected);
    }

    void longListGoesOnOverFurtherSheets() {
        TTempDir dir;
        const std::filesystem::path book = dir / "long.xlsx";
        // One row more than the first sheet holds below its title and captions.
        constexpr int FirstSheetRows = 1048574;
        TCountingModel model(FirstSheetRows + 1);
        QString error;
        long long lastDone = 0, lastTotal = 0;
        QVERIFY(WriteSpreadsheet(Path(book), QStringLiteral("Комбинации"), model, {0}, {40}, error,
                                 [&](long long done, long long total) {
                                     lastDone = done;
                                     lastTotal = total;
                                     return true;
                                 }));
        QVERIFY(error.isEmpty());
        QVERIFY(lastDone > 1000000);
        QCOMPARE(lastTotal, 1048575LL);
        QVERIFY(!std::filesystem::exists(dir / "long.xlsx.part"));

        const TZipReader zip(ReadBytes(book));
        QVERIFY(!zip.Has("xl/worksheets/sheet3.xml"));
        const QStringList shared = SharedStrings(zip);
        // The first sheet: the title, the caption, then rows 0 .. FirstSheetRows - 1 in order.
        int next = 0;
        bool inOrder = true;
        ForEachCell(zip, "xl/worksheets/sheet1.xml", shared, [&](const QString& ref, const QString& value) {
            if (ref == QLatin1String("A1") || ref == QLatin1String("A2"))
                return;
            inOrder = inOrder && ref == QStringLiteral("A%1").arg(next + 3) && value == QString::number(next);
            ++next;
        });
        QVERIFY(inOrder);
        QCOMPARE(next, FirstSheetRows);
        QCOMPARE(SheetCells(zip, "xl/worksheets/sheet2.xml"),
                 (std::map<QString, QString>{
                     {"A1", "Комбинации"}, {"A2", "№"}, {"A3", QString::number(FirstSheetRows)}}));
    }

    void stoppedOrFailedExportKeepsTheOldFile() {
        TTempDir dir;
        const std::filesystem::path book = dir / "list.xlsx";
        WriteBytes(book, "old");
        TCountingModel model(20000);
        QString error = QStringLiteral("left over");
        QVERIFY(!WriteSpreadsheet(Path(book), QStringLiteral("Комбинации"), model, {0}, {40}, error,
                                  [](long long, long long) { return false; }));
        QVERIFY(error.isEmpty()); // stopped: nothing to report
        QCOMPARE(ReadBytes(book), std::string("old"));
        QVERIFY(!std::filesystem::exists(dir / "list.xlsx.part"));

        // A folder that does not exist: the failure is reported.
        QVERIFY(!WriteSpreadsheet(Path(dir / "missing" / "x.xlsx"), "T", model, {0}, {40}, error));
        QVERIFY(!error.isEmpty());

        // A finished export replaces the old file.
        QVERIFY(WriteSpreadsheet(Path(book), QStringLiteral("Комбинации"), model, {0}, {40}, error));
        const std::map<QString, QString> cells =
            SheetCells(TZipReader(ReadBytes(book)), "xl/worksheets/sheet1.xml");
        QCOMPARE(cells.size(), std::size_t(20002));
        QCOMPARE(cells.at("A20002"), QStringLiteral("19999"));
    }
};

QTEST_MAIN(TSpreadsheetExportTest)
#include "SpreadsheetExportTest.moc"
