// The card, layout and weekday views of the session and their filter steps.

#include "app/Session.h"

#include "model/Error.h"

namespace kumby {

namespace {

constexpr const char* LayoutStatusText = "Построение схемы выпадения номеров...";
constexpr const char* WeekStatusText = "Построение статистики по дням недели...";

} // namespace

bool Session::ViewTabShown(TAnalysisView view) const {
    switch (view) {
    case TAnalysisView::Card:
        return View_.TabCard;
    case TAnalysisView::Layout:
        return View_.TabLayout;
    case TAnalysisView::Week:
        break;
    }
    return View_.TabWeek;
}

void Session::SetViewTabShown(TAnalysisView view, bool on) {
    switch (view) {
    case TAnalysisView::Card:
        View_.TabCard = on;
        WriteViewSwitch("TabCard");
        if (!on)
            Card_.Clear();
        break;
    case TAnalysisView::Layout:
        View_.TabLayout = on;
        WriteViewSwitch("TabLayout");
        if (!on)
            Layout_.Clear();
        break;
    case TAnalysisView::Week:
        View_.TabWeek = on;
        WriteViewSwitch("TabWeek");
        if (!on)
            Week_.Clear();
        break;
    }
}

void Session::BuildView(const std::string& status, const std::function<void()>& build,
                        const std::function<void()>& clear) {
    try {
        TBusyScope busy(*this, status);
        build();
    } catch (const std::exception& e) {
        clear();
        Ui_.ShowError(e.what());
    }
}

bool Session::RefreshCard(bool force) {
    if (!View_.TabCard || (!force && Card_.IsCurrent(Draws_)))
        return false;
    BuildView(
        {}, [&] { Card_.Refresh(Draws_, true); }, [&] { Card_.Clear(); });
    return true;
}

bool Session::RefreshLayout(bool force) {
    if (!View_.TabLayout || (!force && Layout_.IsCurrent(LayoutInput(), View_.LayoutLen)))
        return false;
    BuildView(
        LayoutStatusText, [&] { Layout_.Refresh(LayoutInput(), View_.LayoutLen, true); },
        [&] { Layout_.Clear(); });
    return true;
}

bool Session::RefreshLayoutCompare(bool force) {
    if (!View_.TabLayout || (!force && Layout_.IsCompareCurrent(LayoutInput(), View_.LayoutCompareLen)))
        return false;
    BuildView(
        LayoutStatusText, [&] { Layout_.RefreshCompare(LayoutInput(), View_.LayoutCompareLen, true); },
        [&] { Layout_.Clear(); });
    return true;
}

bool Session::RefreshWeek(bool force) {
    if (!View_.TabWeek || (!force && Week_.IsCurrent(Draws_, Offset_, View_.WeekLen)))
        return false;
    BuildView(
        WeekStatusText, [&] { Week_.Refresh(Draws_, Offset_, View_.WeekLen, true); }, [&] { Week_.Clear(); });
    return true;
}

bool Session::ViewFilter(TAnalysisView view, std::span<const TGridCell> cells, bool exclude) {
    std::vector<int> numbers;
    switch (view) {
    case TAnalysisView::Card:
        numbers = Card_.SelectionNumbers(cells);
        break;
    case TAnalysisView::Layout:
        numbers = Layout_.SelectionNumbers(cells);
        break;
    case TAnalysisView::Week:
        numbers = Week_.SelectionNumbers(cells);
        break;
    }
    if (numbers.empty()) {
        Ui_.ShowError("В выделенном диапазоне нет значений для фильтра!");
        return false;
    }
    TStatDrawArray selected;
    for (int n : numbers) {
        TStatEntry e;
        e.Key1 = static_cast<uint16_t>(n);
        selected.push_back(e);
    }
    MakeUndoCopy(true);
    try {
        TBusyScope busy(*this, "Фильтрация комбинаций...");
        const int nums = Registry_.FindByCode("NUMS");
        if (nums < 0)
            throw Error("Не выбран метод расчета статистики (cb: NUMS)!");
        ApplyValuesFilter([&] { return Registry_.CreateInstance(static_cast<std::size_t>(nums)); }, selected,
                          exclude, AnalysisViewCaption(view), ViewNumbersText(numbers));
    } catch (const std::exception& e) {
        Ui_.Notify(TSessionEvent::CombsChanged);
        Ui_.ShowError(e.what());
        return false;
    }
    Ui_.Notify(TSessionEvent::CombsChanged);
    return true;
}

} // namespace kumby
