// The statistics table of the session.

#include "app/Session.h"

#include "stats/VexoFilters.h"

namespace kumby {

bool Session::ComputeTable(std::size_t method, bool force) {
    const TStatTableKey key{Draws_.size(), Offset_, View_.DrawsStatLen, method};
    // The weight column follows the coefficients, which a script filter may change.
    const TWeights weights{Config_.CoefCount, Config_.CoefDeviation, Config_.CoefLevel, Config_.UsePercents,
                           Config_.UseAbsValues};
    if (!force && StatKey_ == key && StatWeights_ == weights)
        return false;
    StatKey_ = key;
    StatWeights_ = weights;

    if (Registry_.Count() == 0)
        return false;
    StatTable_ = TStatTable{};
    StatMethod_ = NoStatMethod;
    if (method >= Registry_.Count() || Draws_.empty())
        return true;

    try {
        TBusyScope busy(*this, StatTableStatusText);
        const TStatWindow window = StatWindow(Draws_.size(), Offset_, View_.DrawsStatLen);
        std::optional<TPrefetchData> prefetch;
        if (View_.PrefetchsEnabled && Registry_.Items(method).StatClass->HasPrefetch())
            prefetch = OpenPrefetchFile(method);
        StatTable_ = ComputeStatTable(Registry_.CreateInstance(method), Draws_, window, View_.SortedDraws,
                                      prefetch ? &*prefetch : nullptr, Config_, View_.ShowTotalLine);
        kumby::SortStatTable(StatTable_, StatSortColumn_, StatSortDescending_);
        StatMethod_ = method;
    } catch (...) {
        StatTable_ = TStatTable{};
        StatKey_.reset(); // the next request computes again
        throw;
    }
    return true;
}

void Session::SortStatTable(int column, bool descending) {
    kumby::SortStatTable(StatTable_, column, descending);
    StatSortColumn_ = column;
    StatSortDescending_ = descending;
}

} // namespace kumby
