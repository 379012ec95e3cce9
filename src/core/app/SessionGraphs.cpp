// The graphs tab, the sum distribution and the repeats analysis of the session.

#include "app/Session.h"

#include "stats/VexoFilters.h"

namespace kumby {

namespace {

constexpr const char* RepeatsStatusText = "Подождите пожалуйста...";

// Progress of a long pass: shown, the window kept painted, Stop asked.
auto UiProgress(IUserInterface& ui) {
    return [&ui](long long done, long long total) {
        ui.SetProgress(done, total);
        ui.PumpEvents();
        return !ui.StopRequested();
    };
}

// A side analysis under the wait window: its result, nothing when stopped or once its
// error is shown.
template <typename TPass>
auto RunPass(Session& session, IUserInterface& ui, const char* status, TPass pass) -> decltype(pass()) {
    try {
        TBusyScope busy(session, status);
        auto result = pass();
        ui.SetProgress(0, 0);
        return result;
    } catch (const std::exception& e) {
        ui.SetProgress(0, 0);
        ui.ShowError(e.what());
        return std::nullopt;
    }
}

} // namespace

void Session::SetTabGraphs(bool on) {
    View_.TabGraphs = on;
    WriteViewSwitch("TabGraphs");
    if (!on) {
        Graph_ = TGraphSeries{};
        GraphKey_.reset();
    }
}

bool Session::ComputeGraph(std::size_t method, bool force) {
    if (!View_.TabGraphs)
        return false;
    const TStatWindow window = StatWindow(Draws_.size(), Offset_, View_.DrawsGraphLen);
    const TGraphKey key{Draws_.size(), Offset_,           View_.DrawsGraphLen,
                        method,        View_.SortedDraws, GraphDrawsHash(Draws_, window)};
    if (!force && GraphKey_ == key)
        return false;
    GraphKey_ = key;
    Graph_ = TGraphSeries{};
    if (method >= Registry_.Count() || !Registry_.Items(method).StatClass->HasChart)
        return true;
    try {
        TBusyScope busy(*this, GraphsStatusText);
        std::unique_ptr<TCustomStat> instance = Registry_.CreateInstance(method);
        Graph_ = ComputeGraphSeries(*instance, Draws_, window, View_.SortedDraws);
        Graph_.Caption = Registry_.Items(method).FullName();
    } catch (const std::exception& e) {
        Graph_ = TGraphSeries{};
        GraphKey_.reset(); // the next request tries again
        Ui_.ShowError(e.what());
    }
    return true;
}

std::optional<TSumDistribution> Session::SumDistribution() {
    return RunPass(*this, Ui_, SumDistributionStatusText, [&] {
        Ui_.SetProgress(0, FullSetSize);
        return ComputeSumDistribution(Draws_, UiProgress(Ui_));
    });
}

std::optional<std::vector<TRepeatRow>> Session::Repeats(int length, int depth) {
    return RunPass(*this, Ui_, RepeatsStatusText,
                   [&] { return ComputeRepeats(Draws_, length, depth, UiProgress(Ui_)); });
}

} // namespace kumby
