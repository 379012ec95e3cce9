// The settings dialog: prize grid, segments grid relayout, OK and Cancel.

#include "GuiTestSupport.h"

#include "DrawDetailsWindow.h"
#include "DrawsModel.h"
#include "DrawsTab.h"
#include "SettingsDialog.h"
#include "StatsTab.h"
#include "io/IniFile.h"
#include "model/VexoUtils.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QValidator>

using namespace kumby;
using namespace kumby::gui;
using namespace kumby::gui::testing;

namespace {

// Segment of number n: 1..9, different for neighbours.
std::array<uint8_t, MaxNumber> DistinctSegments() {
    std::array<uint8_t, MaxNumber> segments;
    for (int n = 1; n <= MaxNumber; ++n)
        segments[n - 1] = static_cast<uint8_t>((n * 7) % 9 + 1);
    return segments;
}

TConfigData ConfigWithPrizes() {
    TConfigData config;
    config.MatrixSegments = DistinctSegments();
    config.Profits = {{5, MoneyFromFloat(10)}, {12, MoneyFromFloat(1000000.5)}};
    return config;
}

// Records the messages of a dialog tested on its own.
struct TAnsweringUi : TMessageBoxUi {
    TAnsweringUi() {
        Answerer = [this](const TShownMessage& m) {
            Messages.push_back(m);
            return false;
        };
    }
    std::vector<TShownMessage> Messages;
};

} // namespace

class TSettingsDialogTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { SetUpApplication(); }

    void changingColumnsKeepsEverySegment() {
        TAnsweringUi ui;
        TSettingsDialog dialog(ConfigWithPrizes(), ui);
        const auto segments = DistinctSegments();
        for (int cols : {4, 5, 7, 1, 24, 11, 3}) {
            dialog.MatrixColsEdit()->setValue(cols);
            QTableWidget& grid = *dialog.SegmentsGrid();
            const int rows = (MaxNumber + cols - 1) / cols;
            QCOMPARE(grid.columnCount(), cols);
            QCOMPARE(grid.rowCount(), rows);
            QCOMPARE(dialog.MatrixRowsEdit()->text(), QString::number(rows));
            for (int y = 0; y < rows; ++y)
                for (int x = 0; x < cols; ++x) {
                    const int n = 1 + x + y * cols;
                    const QTableWidgetItem* cell = grid.item(y, x);
                    if (n <= MaxNumber) {
                        QCOMPARE(cell->text(), QString::number(segments[n - 1]));
                        QVERIFY(cell->flags() & Qt::ItemIsSelectable);
                        QCOMPARE(cell->textAlignment(), int(Qt::AlignCenter));
                    } else {
                        QCOMPARE(cell->flags(), Qt::NoItemFlags);
                    }
                }
            QVERIFY(dialog.Segments() == segments);
        }
        // Five columns: row 4, column 4 would be number 25.
        dialog.MatrixColsEdit()->setValue(5);
        QCOMPARE(dialog.SegmentsGrid()->item(4, 4)->flags(), Qt::NoItemFlags);
        QVERIFY(ui.Messages.empty());
    }

    void badSegmentIsRefusedAndEmptyCountsAsOne() {
        TAnsweringUi ui;
        TSettingsDialog dialog(ConfigWithPrizes(), ui);
        QTableWidget& grid = *dialog.SegmentsGrid();
        grid.item(0, 1)->setText(QStringLiteral("0"));
        QCOMPARE(ui.Messages.size(), std::size_t(1));
        QCOMPARE(ui.Messages[0].Text,
                 QStringLiteral("Некорректное значение: 0!\n\nУкажите любое число от 1 до 9"));
        QCOMPARE(grid.item(0, 1)->text(), QStringLiteral("1"));

        grid.item(0, 2)->setText(QStringLiteral("12"));
        QCOMPARE(ui.Messages.size(), std::size_t(2));
        QCOMPARE(grid.item(0, 2)->text(), QStringLiteral("1"));

        grid.item(0, 3)->setText(QString());
        grid.item(1, 0)->setText(QStringLiteral("9"));
        QCOMPARE(ui.Messages.size(), std::size_t(2));
        dialog.accept();
        QCOMPARE(dialog.Result().MatrixSegments[3], uint8_t(1));
        QCOMPARE(dialog.Result().MatrixSegments[4], uint8_t(9));
    }

    void prizeGridHasThirteenRowsAndOkGivesThirteenEntries() {
        TAnsweringUi ui;
        TConfigData config = ConfigWithPrizes();
        config.MaxStake = 7;
        TSettingsDialog dialog(config, ui);
        QTableWidget& prizes = *dialog.PrizeGrid();
        QCOMPARE(prizes.rowCount(), 13);
        QCOMPARE(prizes.horizontalHeaderItem(0)->text(), QStringLiteral("Совпадений"));
        QCOMPARE(prizes.horizontalHeaderItem(1)->text(), QStringLiteral("Сумма выигрыша"));
        for (int row = 0; row < 13; ++row)
            QCOMPARE(prizes.item(row, 0)->text(), QString::number(row));
        const QLocale locale;
        QCOMPARE(prizes.item(0, 1)->text(), locale.toString(0.0, 'f', 2));
        QCOMPARE(prizes.item(5, 1)->text(), locale.toString(10.0, 'f', 2));
        QCOMPARE(prizes.item(12, 1)->text(), locale.toString(1000000.5, 'f', 2));

        prizes.item(6, 1)->setText(locale.toString(25.75, 'f', 2));
        prizes.item(7, 1)->setText(QStringLiteral("не число"));
        dialog.accept();
        const TConfigData& result = dialog.Result();
        QCOMPARE(result.Profits.size(), std::size_t(13));
        for (int row = 0; row < 13; ++row)
            QCOMPARE(int(result.Profits[row].Overlap), row);
        QCOMPARE(result.Profits[5].Profit, TMoney(100000));
        QCOMPARE(result.Profits[6].Profit, TMoney(257500));
        QCOMPARE(result.Profits[7].Profit, TMoney(0));
        QCOMPARE(result.Profits[12].Profit, TMoney(10000005000));
        QCOMPARE(result.MaxStake, 7);
    }

    void cellsTakeOnlyTheirCharacters() {
        TAnsweringUi ui;
        TSettingsDialog dialog(ConfigWithPrizes(), ui);
        dialog.show();
        auto validatorOf = [](QTableWidget& grid, int row, int column) -> const QValidator* {
            const QModelIndex index = grid.model()->index(row, column);
            auto* line = qobject_cast<QLineEdit*>(grid.itemDelegateForIndex(index)->createEditor(
                grid.viewport(), QStyleOptionViewItem(), index));
            return line ? line->validator() : nullptr;
        };
        auto accepts = [](const QValidator* v, QString text) {
            int pos = 0;
            return v && v->validate(text, pos) != QValidator::Invalid;
        };
        const QString point = QLocale().decimalPoint();
        const QValidator* prize = validatorOf(*dialog.PrizeGrid(), 3, 1);
        QVERIFY(accepts(prize, QStringLiteral("125") + point + QStringLiteral("50")));
        QVERIFY(!accepts(prize, QStringLiteral("12a")));
        QVERIFY(!accepts(prize, QStringLiteral("-5")));
        const QValidator* segment = validatorOf(*dialog.SegmentsGrid(), 0, 0);
        QVERIFY(accepts(segment, QStringLiteral("7")));
        QVERIFY(!accepts(segment, QStringLiteral("x")));
        QVERIFY(!accepts(segment, point));
    }

    void prizeTextsReadAsDecimals_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("locale") << QStringLiteral("12,5") << 12.5;
        QTest::newRow("point") << QStringLiteral("12.5") << 12.5;
        QTest::newRow("integer") << QStringLiteral("300") << 300.0;
        QTest::newRow("empty") << QString() << 0.0;
        QTest::newRow("two separators") << QStringLiteral("1,2,3") << 0.0;
        QTest::newRow("word") << QStringLiteral("abc") << 0.0;
    }
    void prizeTextsReadAsDecimals() {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(ParsePrizeText(text), value);
    }

    void okThroughTheMainWindowStoresAndWritesTheGroup() {
        TGuiFixture f;
        f.WriteArchive({SpreadDraw(1, 1)});
        QVERIFY(f.Start());
        OnModal<TSettingsDialog>([](TSettingsDialog* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Параметры системы"));
            d->ChannelSizeEdit()->setValue(6);
            d->MatrixColsEdit()->setValue(5);
            d->CostEdit()->setValue(12.5);
            d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        });
        f.Window->Settings->trigger();

        const TConfigData& config = f.Core->Config();
        QCOMPARE(config.Profits.size(), std::size_t(13));
        QCOMPARE(config.ChannelSize, 6);
        QCOMPARE(config.MatrixCols, 5);
        QCOMPARE(config.Cost, TMoney(125000));
        const TIniFile ini = TIniFile::Load(f.Path() / "Kumby_12x24.ini");
        QCOMPARE(ini.ReadInteger("STAKES", "Profits", 0), 13);
        QCOMPARE(ini.ReadInteger("GLOBAL", "ChannelSize", 0), 6);
        QCOMPARE(ini.ReadInteger("GLOBAL", "MatrixCols", 0), 5);
        // The list's colours follow the new channel width at once.
        const QAbstractItemModel& model = *f.Window->DrawsTab()->Model();
        const QModelIndex cell = model.index(0, 1);
        QCOMPARE(model.data(cell, Qt::BackgroundRole).value<QColor>().rgb() & 0xFFFFFF,
                 NumberColour(model.data(cell, Qt::DisplayRole).toInt(), 6));
    }

    // Painting number 24 with segment 9 in a grid of five columns: the method lists
    // offer SGM1..SGM9 and the fifth column, and the group 4 and 5 files are new.
    void segmentGridAndColumnsChangeTheMethods() {
        TGuiFixture f;
        f.WriteArchive({SpreadDraw(1, 1)});
        QVERIFY(f.Start());
        QCOMPARE(f.Core->Registry().FindByCode("SGM9"), -1);
        OnModal<TSettingsDialog>([](TSettingsDialog* d) {
            d->MatrixColsEdit()->setValue(5);
            d->SegmentsGrid()->item(4, 3)->setText(QStringLiteral("9")); // 1 + 3 + 4 * 5
            d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        });
        f.Window->Settings->trigger();

        QCOMPARE(MatrixSegmentsToText(f.Core->Config().MatrixSegments),
                 std::string("111111111111111111111119"));
        const TStatList& registry = f.Core->Registry();
        for (const char* code : {"SGM1", "SGM5", "SGM9", "COL5", "ROW5"})
            QVERIFY2(registry.FindByCode(code) >= 0, code);
        QCOMPARE(registry.FindByCode("ROW6"), -1);
        const QComboBox& list = *f.Window->StatsTab()->MethodList();
        const auto sgm9 = static_cast<std::size_t>(registry.FindByCode("SGM9"));
        QVERIFY(list.findText(QString::fromStdString(registry.DisplayName(sgm9, true))) >= 0);
        QCOMPARE(TIniFile::Load(f.Path() / "Kumby_12x24.ini").ReadString("GLOBAL", "MatrixSegments", ""),
                 std::string("111111111111111111111119"));
    }

    void cancelChangesNothing() {
        TGuiFixture f;
        WriteBytes(f.Path() / "Kumby_12x24.ini",
                   "[STAKES]\r\nProfits=1\r\nProfit_0_Overlap=6\r\nProfit_0_Profit=5\r\n");
        QVERIFY(f.Start());
        const std::string before = ReadBytes(f.Path() / "Kumby_12x24.ini");
        const TConfigData config = f.Core->Config();
        OnModal<TSettingsDialog>([](TSettingsDialog* d) {
            d->ChannelSizeEdit()->setValue(8);
            d->MatrixColsEdit()->setValue(6);
            d->PrizeGrid()->item(3, 1)->setText(QStringLiteral("99"));
            d->reject();
        });
        f.Window->Settings->trigger();
        QCOMPARE(ReadBytes(f.Path() / "Kumby_12x24.ini"), before);
        QCOMPARE(f.Core->Config().Profits.size(), std::size_t(1));
        QCOMPARE(f.Core->Config().ChannelSize, config.ChannelSize);
        QCOMPARE(f.Core->Config().MatrixCols, config.MatrixCols);
    }

    void detailsCardFollowsTheColumnCount() {
        TConfigData config;
        config.ChannelSize = 3;
        TDrawRecord draw = SpreadDraw(77, 1, "05.06.2022 19:45");
        TDrawDetailsWindow details(DrawDetailsContent(draw), config);
        QCOMPARE(details.Properties()->horizontalHeaderItem(0)->text(), QStringLiteral("Свойство"));
        QCOMPARE(details.Properties()->horizontalHeaderItem(1)->text(), QStringLiteral("Значение"));
        QCOMPARE(details.Properties()->item(0, 0)->text(), QStringLiteral("Номер тиража:"));
        QCOMPARE(details.Properties()->item(0, 1)->text(), QStringLiteral("77"));
        QCOMPARE(details.Properties()->item(1, 0)->text(), QStringLiteral("Дата тиража:"));
        QCOMPARE(details.Properties()->item(1, 1)->text(), QStringLiteral("05.06.2022 19:45"));
        QCOMPARE(details.ColumnsEdit()->value(), config.MatrixCols);

        for (int cols : {4, 5, 24, 1, 7}) {
            details.ColumnsEdit()->setValue(cols);
            QTableWidget& card = *details.Card();
            QCOMPARE(card.columnCount(), cols);
            QCOMPARE(card.rowCount(), (MaxNumber + cols - 1) / cols);
            int written = 0;
            for (int y = 0; y < card.rowCount(); ++y)
                for (int x = 0; x < cols; ++x) {
                    const int n = 1 + x + y * cols;
                    const QTableWidgetItem* cell = card.item(y, x);
                    const bool drawn = n <= MaxNumber && DrawContains(n, draw);
                    QCOMPARE(cell->text(), drawn ? QString::number(n) : QString());
                    if (drawn) {
                        ++written;
                        QCOMPARE(cell->background().color().rgb() & 0xFFFFFF, NumberColour(n, 3));
                        QCOMPARE(cell->textAlignment(), int(Qt::AlignCenter));
                    }
                }
            QCOMPARE(written, NumbersInDraw);
        }
    }
};

QTEST_MAIN(TSettingsDialogTest)
#include "SettingsDialogTest.moc"
