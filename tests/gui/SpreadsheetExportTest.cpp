// The workbook writer on its own: long lists over several sheets, a stopped or
// failed export that leaves the old file alone.

#include "GuiTestSupport.h"

#include "SpreadsheetExport.h"

#include <QAbstractTableModel>

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

bool Holds(const std::string& bytes, const std::string& part) {
    return bytes.find(part) != std::string::npos;
}

} // namespace

class TSpreadsheetExportTest : public QObject {
    Q_OBJECT
private slots:
    void longListGoesOnOverFurtherSheets() {
        TTempDir dir;
        const std::filesystem::path book = dir / "long.xlsx";
        // One row more than the first sheet holds below its title and captions.
        TCountingModel model(1048574 + 1);
        QString error;
        long long lastDone = 0, lastTotal = 0;
        QVERIFY(WriteSpreadsheet(QString::fromStdString(book.string()), QStringLiteral("Комбинации"), model,
                                 {0}, {40}, error, [&](long long done, long long total) {
                                     lastDone = done;
                                     lastTotal = total;
                                     return true;
                                 }));
        QVERIFY(error.isEmpty());
        // Part names stand uncompressed in the archive's directory.
        const std::string bytes = ReadBytes(book);
        QVERIFY(Holds(bytes, "xl/worksheets/sheet1.xml"));
        QVERIFY(Holds(bytes, "xl/worksheets/sheet2.xml"));
        QVERIFY(!Holds(bytes, "xl/worksheets/sheet3.xml"));
        QVERIFY(lastDone > 1000000);
        QCOMPARE(lastTotal, 1048575LL);
        QVERIFY(!std::filesystem::exists(dir / "long.xlsx.part"));
    }

    void stoppedOrFailedExportKeepsTheOldFile() {
        TTempDir dir;
        const std::filesystem::path book = dir / "list.xlsx";
        WriteBytes(book, "old");
        TCountingModel model(20000);
        QString error = QStringLiteral("left over");
        QVERIFY(!WriteSpreadsheet(QString::fromStdString(book.string()), QStringLiteral("Комбинации"), model,
                                  {0}, {40}, error, [](long long, long long) { return false; }));
        QVERIFY(error.isEmpty()); // stopped: nothing to report
        QCOMPARE(ReadBytes(book), std::string("old"));
        QVERIFY(!std::filesystem::exists(dir / "list.xlsx.part"));

        // A folder that does not exist: the failure is reported.
        QVERIFY(!WriteSpreadsheet(QString::fromStdString((dir / "missing" / "x.xlsx").string()), "T", model,
                                  {0}, {40}, error));
        QVERIFY(!error.isEmpty());

        // A finished export replaces the old file.
        QVERIFY(WriteSpreadsheet(QString::fromStdString(book.string()), QStringLiteral("Комбинации"), model,
                                 {0}, {40}, error));
        QCOMPARE(ReadBytes(book).substr(0, 2), std::string("PK"));
    }
};

QTEST_MAIN(TSpreadsheetExportTest)
#include "SpreadsheetExportTest.moc"
