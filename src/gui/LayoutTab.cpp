#include "LayoutTab.h"

#include "ActionList.h"
#include "GuiText.h"
#include "SpreadsheetExport.h"
#include "ViewGridModel.h"
#include "ViewTabCommands.h"
#include "app/Session.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace kumby::gui {

namespace {

constexpr int DesignedCompareHeight = 180;

} // namespace

TLayoutTab::TLayoutTab(Session& session, TActionList& actions, QWidget* parent)
    : QWidget(parent), Session_(session), Actions_(actions) {
    const TLayoutView& layout = Session_.Layout();
    Model_ = new TViewGridModel(
        {[&layout] { return layout.RowCount(); }, [&layout] { return layout.ColCount(); },
         [&layout](int r, int c) { return layout.CellText(r, c); },
         [this, &layout](int r, int c) { return layout.CellColour(r, c, Session_.View().LayoutGradient); }},
        Qt::AlignLeft | Qt::AlignVCenter, this);
    Grid_ = new QTableView;
    Grid_->setObjectName(QStringLiteral("sgLayout"));
    Grid_->setModel(Model_);
    SetUpGridView(*Grid_);
    Grid_->verticalHeader()->setFixedWidth(50);

    const TViewTabCommands commands = AddViewTabCommands(
        Session_, Actions_, TAnalysisView::Layout, *Grid_,
        {QStringLiteral("Обновить схему"), QStringLiteral("Построить схему выпадения номеров заново"),
         QStringLiteral("В списке комбинаций оставить комбинации с выделенными в схеме числами"),
         QStringLiteral("Из списка комбинаций удалить комбинации с выделенными в схеме числами"),
         QStringLiteral("Экспорт схемы в Microsoft Excel"), QString::fromUtf8(LayoutCountCaption)},
        [this] {
            Refresh(true);
            RefreshCompare(true);
        });
    LayoutRefresh = commands.Refresh;
    LayoutFilterInclude = commands.Include;
    LayoutFilterExclude = commands.Exclude;
    LayoutExport = commands.Export;
    Length_ = ViewLengthEdit(QStringLiteral("edLayoutLen"), Session_.View().LayoutLen,
                             QStringLiteral("Количество тиражей, использующихся для построения схемы"));

    auto* compare = new QWidget;
    auto* compareLayout = new QGridLayout(compare);
    compareLayout->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < CompareCount; ++i) {
        const auto at = static_cast<std::size_t>(i);
        QSpinBox* spin =
            ViewLengthEdit(QStringLiteral("edLayoutCmp%1").arg(i + 1), Session_.View().LayoutCompareLen[at],
                           QStringLiteral("Количество тиражей для списка сравнения"));
        auto* list = new QTableWidget(0, 2);
        list->setEditTriggers(QAbstractItemView::NoEditTriggers);
        list->setSelectionBehavior(QAbstractItemView::SelectRows);
        list->verticalHeader()->hide();
        list->verticalHeader()->setDefaultSectionSize(list->fontMetrics().height() + 6);
        list->setColumnWidth(0, list->fontMetrics().horizontalAdvance(QString::fromUtf8(LayoutCountCaption)) +
                                    16);
        list->setHorizontalHeaderLabels({QString::fromUtf8(LayoutCountCaption), QString()});
        AddListExportAction(Session_, *list, [list] {
            return QStringLiteral("%1 %2").arg(QString::fromUtf8(Caption),
                                               list->horizontalHeaderItem(1)->text());
        });
        CompareLengths_[at] = spin;
        CompareLists_[at] = list;
        compareLayout->addWidget(spin, 0, i);
        // Room for the window's caption and a dozen numbers; a narrow tab scrolls the lists.
        list->setMinimumWidth(
            list->fontMetrics().horizontalAdvance(QStringLiteral("Кол-во 0000 - 0000 00, 00, 00, 00")) + 24);
        compareLayout->addWidget(list, 1, i);
        connect(spin, &QSpinBox::valueChanged, this,
                [this, at](int len) { Session_.View().LayoutCompareLen[at] = len; });
        // Enter (the field keeps the focus) builds the lists anew; leaving the field
        // builds them when the length changed.
        connect(spin, &QAbstractSpinBox::editingFinished, this, [this, spin] {
            if (!Session_.Busy())
                RefreshCompare(spin->hasFocus());
        });
    }

    Splitter_ = new QSplitter(Qt::Vertical);
    Splitter_->addWidget(Grid_);
    auto* compareArea = new QScrollArea;
    compareArea->setWidget(compare);
    compareArea->setWidgetResizable(true);
    compareArea->setFrameShape(QFrame::NoFrame);
    compareArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Splitter_->addWidget(compareArea);
    Splitter_->setStretchFactor(0, 1);
    Splitter_->setStretchFactor(1, 0);
    Splitter_->setChildrenCollapsible(false);
    Splitter_->setSizes({400, DesignedCompareHeight});

    auto* layoutBox = new QVBoxLayout(this);
    layoutBox->setContentsMargins(4, 4, 4, 4);
    layoutBox->addLayout(ViewCommandRow(commands, Length_));
    layoutBox->addWidget(Splitter_, 1);

    connect(Length_, &QSpinBox::valueChanged, this, [this](int len) { Session_.View().LayoutLen = len; });
    connect(Length_, &QAbstractSpinBox::editingFinished, this, [this] {
        if (!Session_.Busy())
            Refresh(Length_->hasFocus());
    });
}

void TLayoutTab::Refresh(bool force) {
    if (Session_.RefreshLayout(force)) {
        Model_->Reset();
        FitGridColumns(*Grid_, 40);
    } else {
        Model_->Repaint();
    }
    Actions_.Update();
}

void TLayoutTab::RefreshCompare(bool force) {
    if (Session_.RefreshLayoutCompare(force))
        ShowCompareLists();
}

void TLayoutTab::ShowCompareLists() {
    const auto& lists = Session_.Layout().CompareLists();
    for (std::size_t i = 0; i < lists.size(); ++i) {
        QTableWidget& table = *CompareLists_[i];
        table.setHorizontalHeaderItem(1, new QTableWidgetItem(Q(lists[i].Caption)));
        table.setRowCount(static_cast<int>(lists[i].Rows.size()));
        for (std::size_t r = 0; r < lists[i].Rows.size(); ++r) {
            auto* count = new QTableWidgetItem(QString::number(lists[i].Rows[r].Count));
            count->setTextAlignment(Qt::AlignCenter);
            table.setItem(static_cast<int>(r), 0, count);
            table.setItem(static_cast<int>(r), 1, new QTableWidgetItem(Q(lists[i].Rows[r].Numbers)));
        }
        // The numbers column fills the list, or is as wide as its longest text with a
        // scroll bar under it.
        const int header =
            table.horizontalHeader()->fontMetrics().horizontalAdvance(table.horizontalHeaderItem(1)->text()) +
            16;
        const int room = table.viewport()->width() - table.columnWidth(0);
        table.resizeColumnToContents(1);
        table.setColumnWidth(1, std::max({header, table.columnWidth(1), room}));
    }
}

void TLayoutTab::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Refresh(false);
    RefreshCompare(false);
}

void TLayoutTab::SessionEvent(TSessionEvent event) {
    if (event == TSessionEvent::BusyChanged) {
        const bool idle = !Session_.Busy();
        Length_->setEnabled(idle);
        for (QSpinBox* spin : CompareLengths_)
            spin->setEnabled(idle);
    } else if (event == TSessionEvent::AnalysisViewsChanged && isVisible()) {
        Refresh(false);
        RefreshCompare(false);
    }
}

void TLayoutTab::RestoreViewState() {
    TViewState& view = Session_.View();
    {
        const QSignalBlocker blocker(Length_);
        Length_->setValue(std::max(1, view.LayoutLen));
    }
    view.LayoutLen = Length_->value();
    for (std::size_t i = 0; i < CompareLengths_.size(); ++i) {
        const QSignalBlocker blocker(CompareLengths_[i]);
        CompareLengths_[i]->setValue(std::max(1, view.LayoutCompareLen[i]));
        view.LayoutCompareLen[i] = CompareLengths_[i]->value();
    }
    const QList<int> sizes = Splitter_->sizes();
    const int total = std::max(sizes.value(0) + sizes.value(1), 2 * DesignedCompareHeight);
    const int compare = view.LayoutCompareHeight > 0 ? view.LayoutCompareHeight : DesignedCompareHeight;
    Splitter_->setSizes({std::max(1, total - compare), compare});
}

void TLayoutTab::SaveViewState() const {
    TViewState& view = Session_.View();
    view.LayoutLen = Length_->value();
    for (std::size_t i = 0; i < CompareLengths_.size(); ++i)
        view.LayoutCompareLen[i] = CompareLengths_[i]->value();
    const int compare = Splitter_->sizes().value(1);
    if (compare > 0)
        view.LayoutCompareHeight = compare;
}

} // namespace kumby::gui
