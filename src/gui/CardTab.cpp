#include "CardTab.h"

#include "ActionList.h"
#include "ViewGridModel.h"
#include "ViewTabCommands.h"
#include "app/Session.h"

#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>

namespace kumby::gui {

TCardTab::TCardTab(Session& session, TActionList& actions, QWidget* parent)
    : QWidget(parent), Session_(session), Actions_(actions) {
    const TCardView& card = Session_.Card();
    Model_ = new TViewGridModel(
        {[&card] { return card.RowCount(); }, [] { return TCardView::ColCount; },
         [&card](int r, int c) { return card.CellText(r, c); },
         [this, &card](int r, int c) { return card.CellColour(r, c, Session_.CardColouring()); }},
        Qt::AlignHCenter | Qt::AlignTop, this);
    Grid_ = new QTableView;
    Grid_->setObjectName(QStringLiteral("sgCard"));
    Grid_->setModel(Model_);
    SetUpGridView(*Grid_);
    // Every column holds at most "24": narrow columns show more of the card at once.
    Grid_->horizontalHeader()->setDefaultSectionSize(
        Grid_->fontMetrics().horizontalAdvance(QStringLiteral("00")) + 10);
    Grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);

    const TViewTabCommands commands = AddViewTabCommands(
        Session_, Actions_, TAnalysisView::Card, *Grid_,
        {QStringLiteral("Обновить карту тиражей"), QStringLiteral("Построить карту тиражей заново"),
         QStringLiteral("В списке комбинаций оставить комбинации с выделенными в карте числами"),
         QStringLiteral("Из списка комбинаций удалить комбинации с выделенными в карте числами"),
         QStringLiteral("Экспорт карты тиражей в Microsoft Excel"), QStringLiteral("Тираж")},
        [this] { Refresh(true); });
    CardRefresh = commands.Refresh;
    CardFilterInclude = commands.Include;
    CardFilterExclude = commands.Exclude;
    CardExport = commands.Export;

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(ViewCommandRow(commands, nullptr));
    layout->addWidget(Grid_, 1);
}

void TCardTab::Refresh(bool force) {
    if (Session_.RefreshCard(force))
        Model_->Reset();
    else
        Model_->Repaint();
    Actions_.Update();
}

void TCardTab::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Refresh(false);
}

void TCardTab::SessionEvent(TSessionEvent event) {
    // A tab out of sight does no work: it catches up when shown.
    if (event == TSessionEvent::AnalysisViewsChanged && isVisible())
        Refresh(false);
}

} // namespace kumby::gui
