#include "RepeatsDialog.h"

#include "ActionButton.h"
#include "ChartImage.h"
#include "CountEdit.h"
#include "GuiText.h"
#include "SpreadsheetExport.h"
#include "StatsChart.h"
#include "ViewStateGlue.h"
#include "app/Session.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QColor>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLegend>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace kumby::gui {

class TRepeatsModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void SetRows(std::vector<TRepeatRow> rows) {
        beginResetModel();
        Rows = std::move(rows);
        endResetModel();
    }
    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(Rows.size());
    }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(RepeatsColumnCaptions().size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        const TRepeatRow& row = Rows[static_cast<std::size_t>(index.row())];
        switch (index.column()) {
        case 0:
            return row.Draw;
        case 1:
            return row.Matches;
        case 2:
            return row.Count;
        default:
            return Q(row.List);
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
            section >= columnCount({}))
            return {};
        return QString::fromUtf8(RepeatsColumnCaptions()[static_cast<std::size_t>(section)]);
    }

    std::vector<TRepeatRow> Rows;
};

namespace {

// Random colours dark enough to show on white: from a random hue on, each next one
// turned by the golden angle, so that neighbours differ.
void SetRandomColours(std::vector<TChartSeries>& lines) {
    double hue = QRandomGenerator::global()->bounded(360.0);
    for (TChartSeries& line : lines) {
        const int value = 150 + QRandomGenerator::global()->bounded(70);
        line.LineColour = QColor::fromHsv(static_cast<int>(hue) % 360, 255, value).rgb() & 0xFFFFFF;
        hue += 137.5;
    }
}

} // namespace

TRepeatsDialog::TRepeatsDialog(Session& session, QWidget* parent) : QDialog(parent), Session_(session) {
    setWindowTitle(QString::fromUtf8(RepeatsTitle));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);

    Length_ = CountEdit(QStringLiteral("Количество анализируемых тиражей"));
    Length_->setValue(RepeatsDefaultLength);
    Depth_ =
        CountEdit(QStringLiteral("Количество тиражей, просматриваемых \"в глубину\" для поиска совпадений"));
    Depth_->setValue(RepeatsDefaultDepth);
    auto* lengthLabel = new QLabel(QStringLiteral("Тиражей:"));
    lengthLabel->setBuddy(Length_);
    auto* depthLabel = new QLabel(QStringLiteral("Глубина:"));
    depthLabel->setBuddy(Depth_);
    auto* calculate = new QPushButton(QStringLiteral("Рассчитать"));
    calculate->setAutoDefault(false);

    Model_ = new TRepeatsModel(this);
    List_ = new QTableView;
    List_->setModel(Model_);
    SetUpListView(*List_);
    List_->horizontalHeader()->setStretchLastSection(true);
    for (int c = 0; c < 3; ++c)
        List_->setColumnWidth(
            c, List_->fontMetrics().horizontalAdvance(QString::fromUtf8(RepeatsColumnCaptions()[c])) + 24);
    Chart_ = new TStatsChart;
    Chart_->setMinimumHeight(150);
    Chart_->chart()->legend()->setAlignment(Qt::AlignRight); // twelve titles do not fit in a row
    SaveChart = AddSaveChartAction(*Chart_, Session_.Ui());
    ExportList = AddListExportAction(Session_, *List_, [] { return QString::fromUtf8(RepeatsTitle); });
    Splitter_ = new QSplitter(Qt::Vertical);
    Splitter_->addWidget(List_);
    Splitter_->addWidget(Chart_);
    Splitter_->setChildrenCollapsible(false);
    Splitter_->setStretchFactor(0, 1);
    Splitter_->setSizes({300, DesignedChartHeight});

    auto* fields = new QHBoxLayout;
    fields->addWidget(lengthLabel);
    fields->addWidget(Length_);
    fields->addSpacing(8);
    fields->addWidget(depthLabel);
    fields->addWidget(Depth_);
    fields->addSpacing(8);
    fields->addWidget(calculate);
    fields->addStretch();
    // Enter in a field recomputes: no button of the dialog is its default.
    for (QAction* action : {ExportList, SaveChart}) {
        QPushButton* button = ActionButton(action, action->text());
        button->setAutoDefault(false);
        fields->addWidget(button);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(fields);
    layout->addWidget(Splitter_, 1);
    resize(900, 640);

    connect(calculate, &QPushButton::clicked, this, &TRepeatsDialog::Calculate);
    // Enter in a field recomputes instead of closing the dialog.
    for (QSpinBox* edit : {Length_, Depth_})
        connect(edit, &QSpinBox::editingFinished, this, [this, edit] {
            if (edit->hasFocus())
                Calculate();
        });

    RestoreFields();
    Calculate();
}

const std::vector<TRepeatRow>& TRepeatsDialog::Rows() const {
    return Model_->Rows;
}

void TRepeatsDialog::Calculate() {
    if (Session_.Busy())
        return;
    std::optional<std::vector<TRepeatRow>> rows = Session_.Repeats(Length_->value(), Depth_->value());
    if (!rows)
        return;
    std::vector<TChartSeries> lines = RepeatsChart(*rows);
    SetRandomColours(lines);
    Model_->SetRows(std::move(*rows));
    Chart_->Show(lines);
}

void TRepeatsDialog::RestoreFields() {
    try {
        const TIniFile ini = Session_.ViewStore().Read();
        Length_->setValue(std::max(1, ini.ReadInteger(RepeatsSection, "DrawsLength", RepeatsDefaultLength)));
        Depth_->setValue(std::max(1, ini.ReadInteger(RepeatsSection, "DrawsDeep", RepeatsDefaultDepth)));
        const int height = ini.ReadInteger(RepeatsSection, "GraphHeight", DesignedChartHeight);
        if (height > 0)
            Splitter_->setSizes({std::max(1, 560 - height), height});
    } catch (const std::exception&) {
        // An unreadable view file leaves the designed values.
    }
}

void TRepeatsDialog::SaveFields() {
    if (!Session_.DataLockHeld())
        return; // a copy without the data folder leaves its files alone
    TKeyValues values = {{"DrawsLength", std::to_string(Length_->value())},
                         {"DrawsDeep", std::to_string(Depth_->value())}};
    const int chart = Splitter_->sizes().value(1);
    if (chart > 0)
        values.push_back({"GraphHeight", std::to_string(chart)});
    try {
        Session_.ViewStore().Write(RepeatsSection, values);
    } catch (const std::exception& e) {
        Session_.Ui().ShowError(Format("Ошибка сохранения параметров программы!\r\r%s", e.what()));
    }
}

void TRepeatsDialog::done(int result) {
    SaveFields();
    QDialog::done(result);
}

} // namespace kumby::gui
