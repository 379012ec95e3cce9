#include "AnalysisTabs.h"

#include "ActionList.h"
#include "CardTab.h"
#include "LayoutTab.h"
#include "TabPlaces.h"
#include "ViewGridModel.h"
#include "WeekTab.h"
#include "app/Session.h"

#include <QMenu>
#include <QTabWidget>

namespace kumby::gui {

TAnalysisTabs::TAnalysisTabs(Session& session, TActionList& actions, QTabWidget& pages, TTabPlaces& places,
                             QObject* parent)
    : QObject(parent), Session_(session), Pages_(pages), Places_(places) {
    Card_ = new TCardTab(session, actions, &pages);
    Layout_ = new TLayoutTab(session, actions, &pages);
    Week_ = new TWeekTab(session, actions, &pages);
    Card_->hide();
    Layout_->hide();
    Week_->hide();

    TabCard = actions.AddCheck(QStringLiteral("Вкладка \"Карта\""),
                               QStringLiteral("Скрыть / показать вкладку \"Карта тиражей\""));
    TabLayout = actions.AddCheck(QStringLiteral("Вкладка \"Схема\""),
                                 QStringLiteral("Скрыть / показать вкладку \"Схема выпадения номеров\""));
    TabWeek = actions.AddCheck(QStringLiteral("Вкладка \"Неделя\""),
                               QStringLiteral("Скрыть / показать вкладку \"Статистика по дням недели\""));
    ColorCard = actions.AddCheck(QStringLiteral("Выделять каналы в карте тиражей"),
                                 QStringLiteral("Раскрашивать столбцы карты тиражей по каналам"));
    ColorCardSequences =
        actions.AddCheck(QStringLiteral("Выделять последовательности в карте тиражей"),
                         QStringLiteral("Выделять в карте тиражей повторы и последовательности чисел"));
    LayoutGradient = actions.AddCheck(QStringLiteral("Градиентная раскраска схемы"),
                                      QStringLiteral("Раскрашивать схему плавным переходом цвета"));
    WeekChartMode = actions.AddCheck(
        QStringLiteral("График по дням недели"),
        QStringLiteral("График выделенного числа по дням недели (иначе - выделенного дня по числам)"));
    WeekChartType =
        actions.AddCheck(QStringLiteral("График / диаграмма"),
                         QStringLiteral("Показывать линию графика (иначе - столбчатую диаграмму)"));

    auto tabSwitch = [this](TAnalysisView view, QWidget* tab) {
        return [this, view, tab](bool on) {
            Session_.SetViewTabShown(view, on);
            SyncTabs();
            if (on)
                Pages_.setCurrentWidget(tab);
        };
    };
    connect(TabCard, &QAction::triggered, this, tabSwitch(TAnalysisView::Card, Card_));
    connect(TabLayout, &QAction::triggered, this, tabSwitch(TAnalysisView::Layout, Layout_));
    connect(TabWeek, &QAction::triggered, this, tabSwitch(TAnalysisView::Week, Week_));
    connect(ColorCard, &QAction::triggered, this, [this](bool on) {
        SetSwitch(Session_.View().ColorCard, "ColorCard", on);
        Card_->Model()->Repaint();
    });
    connect(ColorCardSequences, &QAction::triggered, this, [this](bool on) {
        SetSwitch(Session_.View().ColorCardSequences, "ColorCardSequences", on);
        Card_->Model()->Repaint();
    });
    connect(LayoutGradient, &QAction::triggered, this, [this](bool on) {
        SetSwitch(Session_.View().LayoutGradient, "LayoutGradient", on);
        Layout_->Model()->Repaint();
    });
    connect(WeekChartMode, &QAction::triggered, this, [this](bool on) {
        Session_.View().WeekChartMode = on ? WeekChartByDays : WeekChartByNumbers;
        Session_.WriteViewSwitch("WeekChartMode");
        Week_->ShowChart();
    });
    connect(WeekChartType, &QAction::triggered, this, [this](bool on) {
        SetSwitch(Session_.View().WeekChartType, "WeekChartType", on);
        Week_->ShowChart();
    });
}

void TAnalysisTabs::SetSwitch(bool& field, const char* key, bool on) {
    field = on;
    Session_.WriteViewSwitch(key);
}

void TAnalysisTabs::AddCommands(QMenu& menu) const {
    menu.addAction(TabCard);
    menu.addAction(TabLayout);
    menu.addAction(TabWeek);
    menu.addSeparator();
    menu.addAction(ColorCard);
    menu.addAction(ColorCardSequences);
    menu.addAction(LayoutGradient);
    menu.addAction(WeekChartMode);
    menu.addAction(WeekChartType);
}

void TAnalysisTabs::SyncSwitches() {
    const TViewState& view = Session_.View();
    TabCard->setChecked(view.TabCard);
    TabLayout->setChecked(view.TabLayout);
    TabWeek->setChecked(view.TabWeek);
    ColorCard->setChecked(view.ColorCard);
    ColorCardSequences->setChecked(view.ColorCardSequences);
    LayoutGradient->setChecked(view.LayoutGradient);
    WeekChartMode->setChecked(view.WeekChartMode == WeekChartByDays);
    WeekChartType->setChecked(view.WeekChartType);
}

void TAnalysisTabs::SyncTabs() {
    const std::pair<QWidget*, TAnalysisView> tabs[] = {
        {Card_, TAnalysisView::Card}, {Layout_, TAnalysisView::Layout}, {Week_, TAnalysisView::Week}};
    for (const auto& [tab, view] : tabs)
        Places_.Show(tab, QString::fromUtf8(AnalysisViewCaption(view)), Session_.ViewTabShown(view));
    SyncSwitches();
}

void TAnalysisTabs::RestoreViewState() {
    Layout_->RestoreViewState();
    Week_->RestoreViewState();
    SyncTabs();
}

void TAnalysisTabs::SaveViewState() const {
    Layout_->SaveViewState();
    Week_->SaveViewState();
}

void TAnalysisTabs::SessionEvent(TSessionEvent event) {
    Card_->SessionEvent(event);
    Layout_->SessionEvent(event);
    Week_->SessionEvent(event);
    if (event == TSessionEvent::SettingsChanged)
        Card_->Model()->Repaint(); // the channel width colours the card
}

} // namespace kumby::gui
