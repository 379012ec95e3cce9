#include "script/ScriptRunner.h"

#include "model/Error.h"
#include "model/VexoUtils.h"
#include "script/ScriptCriteria.h"
#include "script/ScriptVariants.h"

#include <algorithm>
#include <limits>

namespace kumby {

namespace {

const std::string EqualsLine(94, '=');
const std::string DashLine(94, '-');
constexpr const char* StartBanner =
    "### ЗАПУСК СЦЕНАРИЯ ##########################################################################";
constexpr const char* EndBanner =
    "### ЗАВЕРШЕНИЕ СЦЕНАРИЯ ######################################################################";
constexpr const char* StopBanner =
    "### ВЫПОЛНЕНИЕ СЦЕНАРИЯ ПРЕРВАНО #############################################################";
constexpr const char* OffsetBannerText =
    "=== Выполнение сценария для смещения %.6d ==================================================";
constexpr const char* RunningText = "Выполнение сценария...";
constexpr const char* FinishedText = "Сценарий завершен!";
constexpr const char* CountText = "Количество комбинаций в списке: %d";
constexpr const char* StartListText = "Создание начального списка комбинаций...";
constexpr const char* RowText =
    "< [%s] кол-во: %s (%s %%), отклонение: %s (%s %%), глубина: %s (%s %%), вес: %s >";
constexpr const char* MethodMissingText =
    "Метод расчета статистики \"%s\" на найден!\r%s\r\rВозможно, Вы отключили данных метод расчета либо "
    "использовали сценарий от другой модификации программы.";
constexpr const char* TooManyLeftText = "Выполнение сценария прервано, т.к. после применения всех фильтров в "
                                        "списке комбинаций их осталось более одной: %d!\r\rФильтры: %s";
constexpr auto ThrottleInterval = std::chrono::milliseconds(101);

std::string StakeKey(const TCombination& numbers) {
    TCombination sorted = numbers;
    std::sort(sorted.begin(), sorted.end());
    return std::string(sorted.begin(), sorted.end());
}

std::string StakeNumbersText(const TCombination& numbers) {
    TCombination sorted = numbers;
    std::sort(sorted.begin(), sorted.end());
    return NumbersToText(sorted.data(), static_cast<int>(sorted.size()), ";");
}

} // namespace

// ---- Run frame ------------------------------------------------------------------

bool TScriptRunner::Stopped() {
    if (!State_.StopRequested && Host_.PollStop()) {
        Log(StopBanner);
        State_.StopRequested = true;
        Changed();
    }
    return State_.StopRequested;
}

void TScriptRunner::RequestStop() {
    if (!State_.Running || State_.StopRequested)
        return;
    Log(StopBanner);
    State_.StopRequested = true;
    Changed();
}

void TScriptRunner::SetStatus(const std::string& text) {
    State_.Text = text;
    Host_.SetStatus(text);
    Changed();
    Stopped();
}

void TScriptRunner::Log(const std::string& text) {
    if (!Options_.LogEnabled)
        return;
    if (const std::string failure = Log_.Write(text); !failure.empty())
        Host_.ShowError(failure);
}

void TScriptRunner::LogRow(const char* prefix, const TStatValues& r) {
    if (!Options_.LogEnabled)
        return;
    Log(prefix + Format(RowText, r.Value.c_str(), r.Count.c_str(), r.CountPct.c_str(), r.Deviation.c_str(),
                        r.DeviationPct.c_str(), r.Depth.c_str(), r.DepthPct.c_str(), r.Weight.c_str()));
}

void TScriptRunner::Begin(const TScriptRunOptions& options, int cycle) {
    Options_ = options;
    Random_.seed(options.Seed ? *options.Seed : std::random_device{}());
    KnownDraw_ = -1;
    KnownStakes_.clear();
    LastShown_ = {};
    SetStatus(RunningText);
    if (Options_.LogEnabled) {
        Log_.Open();
        Log(StartBanner);
    }
    State_ = TScriptRunState{};
    State_.Running = true;
    State_.Cycle = cycle;
    State_.Text = RunningText;
    SavedSortColumn_ = Host_.StatSortColumn();
    SavedSortDescending_ = Host_.StatSortDescending();
    Changed();
}

void TScriptRunner::End(bool restoreOffset, int savedOffset) {
    if (restoreOffset && !State_.StopRequested) {
        try {
            Host_.SetDrawsOffset(savedOffset);
        } catch (const std::exception& e) {
            Host_.ShowError(e.what());
        }
    }
    const bool stopped = State_.StopRequested;
    State_.Cycle = 0;
    State_.Line = 0;
    State_.SelectedRow = -1;
    State_.Running = false;
    State_.StopRequested = false;
    try {
        Host_.SetStatSort(SavedSortColumn_, SavedSortDescending_);
    } catch (const std::exception& e) {
        Host_.ShowError(e.what());
    }
    if (restoreOffset || !stopped) {
        State_.Text = FinishedText;
        Host_.SetStatus(FinishedText);
    }
    Changed();
    if (Options_.LogEnabled) {
        Log(EndBanner);
        if (const std::filesystem::path file = Log_.Close(); !file.empty())
            Host_.ShowLog(file);
    }
}

void TScriptRunner::OffsetBanner(int offset) {
    Log(EqualsLine);
    Log(Format(OffsetBannerText, offset));
    Log(EqualsLine);
}

void TScriptRunner::Forecast(const TScriptLines& lines, const TScriptRunOptions& options) {
    Begin(options, 1);
    OffsetBanner(Host_.DrawsOffset());
    RunAllLines(lines);
    End(false, 0);
}

void TScriptRunner::BackTest(const TScriptLines& lines, int tests, const TScriptRunOptions& options) {
    Begin(options, 0);
    const int savedOffset = Host_.DrawsOffset();
    for (int i = 1; i <= tests; ++i) {
        const int offset = tests - i + 1;
        State_.Cycle = i;
        SetStatus(RunningText);
        if (Stopped())
            break;
        try {
            Host_.SetDrawsOffset(offset);
        } catch (const std::exception& e) {
            Host_.ShowError(e.what());
            State_.StopRequested = true;
        }
        if (Stopped())
            break;
        OffsetBanner(offset);
        if (Stopped())
            break;
        RunAllLines(lines);
    }
    End(true, savedOffset);
}

void TScriptRunner::RunAllLines(const TScriptLines& lines) {
    try {
        if (Host_.StakesEndWithStake())
            Host_.AppendSeparator();
    } catch (const std::exception& e) {
        Host_.ShowError(e.what());
        State_.StopRequested = true;
        return;
    }
    Host_.InvalidateBuffer();
    Host_.Registry().SaveWeights();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (Stopped())
            break;
        if (IsSeparatorLine(lines[i]))
            continue;
        State_.SelectedRow = static_cast<int>(i);
        Changed();
        Log(DashLine);
        Log(Format("Выполнение строки %.3d: \"%s\"", static_cast<int>(i + 1), lines[i].c_str()));
        Log(DashLine);
        RunLine(static_cast<int>(i), lines[i]);
        State_.SelectedRow = -1;
        Changed();
        if (State_.StopRequested)
            break;
    }
    if (!Options_.CheckOnLine) {
        Host_.CheckStakes();
        Host_.StakesChanged(Options_.ScrollStakes);
    }
    Host_.Registry().RestoreWeights();
    Host_.InvalidateBuffer();
}

// ---- One line -------------------------------------------------------------------

void TScriptRunner::RunLine(int index, const std::string& text) {
    const int line = index + 1;
    State_.Line = line;
    bool staked = false;
    try {
        Host_.ClearUndo();
        const TScriptOptions options = ReadOptions(LineOptionsText(text));
        if (Stopped())
            return;
        std::vector<TFilterItem> items;
        for (int f = 1; f <= ScriptFilterSlots; ++f)
            if (const std::string field = LineFilterText(text, f); !field.empty())
                items.push_back(ReadFilterItem(field, Host_.Registry()));
        const std::string comment = LineComment(text);

        if (items.empty()) {
            Log("{ERROR} Фильтры не применялись!");
            Log("");
            SetStatus(OptionsLogText(options));
            Log(StartListText);
            BuildStartList(options);
            Log(Format(CountText, static_cast<int>(Host_.WorkingList().size())));
            if (Stopped())
                return;
            staked = true;
            MakeStake(options.ResultCombsMode, line, OptionsLogText(options), comment, options.NewOnly, 0);
            if (Options_.CheckOnLine) {
                Host_.CheckStakes();
                Host_.StakesChanged(Options_.ScrollStakes);
            }
            return;
        }

        Log("Создание всех вариантов фильтров...");
        SetStatus("Создание всех вариантов фильтров...");
        TFilterVariants variants(items, Host_.Registry());
        Log(Format("Создано %lld вариантов фильтров.", static_cast<long long>(variants.Count())));
        if (Stopped())
            return;

        TFilterRec rec;
        for (int k = 1; variants.Next(rec); ++k) {
            if (Stopped())
                break;
            staked = true;
            RunVariant(line, k, variants.Count(), options, rec, comment);
            if (State_.StopRequested)
                break;
            Log(DashLine);
            if (Options_.CheckOnLine) {
                Host_.CheckStakes();
                Host_.StakesChanged(Options_.ScrollStakes);
            }
        }
    } catch (const std::exception& e) {
        State_.StopRequested = true;
        Changed();
        Log(std::string("{ERROR} ") + e.what());
        // A hand-edited script may have many lines: the message says which one failed.
        Host_.ShowError(Format("%s\r\rСтрока сценария %d: \"%s\"", e.what(), line, text.c_str()));
    }
    // Stakes made before a stop are checked as the line would have checked them.
    if (State_.StopRequested && staked && Options_.CheckOnLine) {
        Host_.CheckStakes();
        Host_.StakesChanged(Options_.ScrollStakes);
    }
}

void TScriptRunner::RunVariant(int line, int variant, int64_t total, const TScriptOptions& options,
                               const TFilterRec& rec, const std::string& comment) {
    const std::string recText = FilterRecText(rec, Host_.Registry());
    Log("");
    Log(DashLine);
    Log(Format("Применение набора фильтров %.3d: \"%s\"", variant, recText.c_str()));
    Log(DashLine);
    SetStatus(Format("Фильтр %d из %lld: %s", variant, static_cast<long long>(total), recText.c_str()));
    Log(StartListText);
    BuildStartList(options);
    Log(Format(CountText, static_cast<int>(Host_.WorkingList().size())));
    if (Stopped())
        return;
    for (const TFilterPart& part : rec) {
        if (Host_.WorkingList().size() <= 1 || State_.StopRequested)
            break;
        if (part.Used)
            ApplyPart(part);
    }
    if (Stopped())
        return;
    MakeStake(options.ResultCombsMode, line, OptionsLogText(options) + " + " + recText, comment,
              options.NewOnly, variant);
}

void TScriptRunner::BuildStartList(const TScriptOptions& options) {
    if (options.StartCombsType == StartFull || options.StartCombsType == StartExcl) {
        if (!Host_.GenerateDefaultList()) {
            State_.StopRequested = true; // the failure has been shown
            return;
        }
        if (Stopped())
            return;
        if (options.StartCombsType == StartExcl && options.DrawsExclude > 0) {
            const int offset = Host_.DrawsOffset();
            if (!Host_.RestoreFromBuffer(offset, options.DrawsExclude)) {
                Host_.MakeUndoCopy();
                Host_.ExcludeLastDraws(options.DrawsExclude);
                Host_.SaveToBuffer(offset, options.DrawsExclude);
            }
            if (Stopped())
                return;
        }
    }
    if (options.ClearStakes) {
        Host_.ClearStakes();
        KnownDraw_ = -1;
        Host_.StakesChanged(false);
    }
}

// ---- One filter -------------------------------------------------------------------

void TScriptRunner::ApplyPart(const TFilterPart& part) {
    TStatList& registry = Host_.Registry();
    if (part.Method < 0 || static_cast<std::size_t>(part.Method) >= registry.Count() ||
        !Host_.MethodOffered(part.Method)) {
        const bool known = part.Method >= 0 && static_cast<std::size_t>(part.Method) < registry.Count();
        const std::string code = known ? registry.Items(part.Method).MethodCode() : std::string();
        const std::string caption = known ? registry.Items(part.Method).MethodCaption() : std::string();
        throw Error(Format(MethodMissingText, code.c_str(), caption.c_str()));
    }
    const auto method = static_cast<std::size_t>(part.Method);
    Log(Format("Анализ тиражей и расчет статистики \"%s\" для выборки в %d тиражей...",
               registry.DisplayName(method, true).c_str(), part.DrawsLen));
    registry.ApplyWeights(part.CDLOverride, part.Weights);
    const TStatTable& table = Host_.ComputeTable(part.Method, part.DrawsLen, part.SortOrder, true);
    if (Options_.LogEnabled)
        for (std::size_t r = 0; r < table.RowCount(); ++r)
            LogRow("", RowValues(table, table.DisplayRow(r)));

    const std::unique_ptr<TCustomStat> instance = registry.CreateInstance(method);
    if (part.MultiSelect)
        WalkMulti(part, table, *instance);
    else
        WalkSingle(part, table, *instance);
}

namespace {

// The rows of the table in walk order.
class TWalk {
public:
    TWalk(const TStatTable& table, const TCustomStat& instance, bool bottomUp)
        : Table_(table), Instance_(instance), BottomUp_(bottomUp) {}
    std::size_t Count() const { return Table_.RowCount(); }
    std::size_t DisplayRow(std::size_t i) const { return BottomUp_ ? Count() - 1 - i : i; }
    TStatValues Read(std::size_t i) const {
        TStatValues v = RowValues(Table_, Table_.DisplayRow(DisplayRow(i)));
        v.Key = Instance_.NumericValue(v.Value);
        return v;
    }

private:
    const TStatTable& Table_;
    const TCustomStat& Instance_;
    bool BottomUp_;
};

} // namespace

void TScriptRunner::Filter(const TFilterPart& part, const std::vector<std::size_t>& rows) {
    Log(part.KeepSelected ? "Оставляем выделенные значения..." : "Удаляем выделенные значения...");
    Host_.MakeUndoCopy();
    Host_.ApplyStatFilter(part.Method, rows, !part.KeepSelected);
    Log(Format(CountText, static_cast<int>(Host_.WorkingList().size())));
}

void TScriptRunner::WalkMulti(const TFilterPart& part, const TStatTable& table, const TCustomStat& instance) {
    const TWalk walk(table, instance, part.BottomUp);
    std::vector<std::size_t> selected;
    int step = 0;
    for (std::size_t i = 0; i < walk.Count(); ++i, ++step) {
        if (Stopped())
            return;
        const TStatValues row = walk.Read(i);
        if (WalkStopsAt(part, row, step))
            break;
        if (RowMeetsCriterion(part, row)) {
            selected.push_back(walk.DisplayRow(i));
            LogRow(Format("Шаг %.3d. Выделение строки: ", step + 1).c_str(), row);
        }
    }
    Filter(part, selected);
    if (Host_.WorkingList().empty()) {
        Log("{UNDO} Откат изменений...");
        Host_.RestoreUndoCopy();
        Host_.DeleteLastFilterRow();
    }
}

void TScriptRunner::WalkSingle(const TFilterPart& part, const TStatTable& table,
                               const TCustomStat& instance) {
    const TWalk walk(table, instance, part.BottomUp);
    int step = 0;
    for (std::size_t i = 0; i < walk.Count(); ++i) {
        if (Stopped())
            return;
        const TStatValues row = walk.Read(i);
        if (part.StopMode == StopSC &&
            Host_.WorkingList().size() <= static_cast<std::size_t>(std::max(0, part.StopValue)))
            break;
        if (WalkStopsAt(part, row, step))
            break;
        if (Stopped())
            return;
        if (!RowMeetsCriterion(part, row))
            continue;
        LogRow(Format("Шаг %.3d. Выделение строки: ", step + 1).c_str(), row);
        Filter(part, {walk.DisplayRow(i)});
        if (!Host_.WorkingList().empty()) {
            ++step;
            continue;
        }
        Log("{UNDO} Откат изменений...");
        Host_.RestoreUndoCopy();
        Host_.DeleteLastFilterRow();
        if (part.StopMode == StopSZ)
            break;
    }
}

// ---- Stakes -----------------------------------------------------------------------

void TScriptRunner::MakeStake(uint8_t mode, int line, const std::string& filters, const std::string& comment,
                              bool newOnly, int variant) {
    Log(Format("{*} Добавление ставки, режим: \"%s\"", ResultModeEditorCaption(mode)));
    const TCombsArray& list = Host_.WorkingList();
    if (list.empty() || mode == ResultNone)
        return;
    if (list.size() > 1 && mode == ResultStop) {
        State_.StopRequested = true;
        Changed();
        Log("{!} Сценарий остановлен!");
        Host_.ShowAttention(Format(TooManyLeftText, static_cast<int>(list.size()),
                                   StakeCommentText(line, variant, comment, filters).c_str()));
        return;
    }
    if (list.size() > 1 && mode == ResultSkip) {
        Log("{-} Ставка игнорирована!");
        return;
    }
    if (State_.StopRequested)
        return;
    if (list.size() == 1) {
        AddStake(list[0], line, variant, filters, comment, newOnly, false);
    } else {
        switch (mode) {
        case ResultFirst:
            AddStake(list.front(), line, variant, filters, comment, newOnly, false);
            break;
        case ResultLast:
            AddStake(list.back(), line, variant, filters, comment, newOnly, false);
            break;
        case ResultAll:
            for (const TCombination& comb : list) {
                if (Stopped())
                    break;
                AddStake(comb, line, variant, filters, comment, newOnly, true);
            }
            ShowStakesMade(false);
            break;
        case ResultSysA:
        case ResultSysC:
            RunScriptSystemGame(
                Host_.SystemsDir(), list, mode == ResultSysA ? TSystemMode::All : TSystemMode::Filter,
                [this](const std::string& text) { Log(text); },
                [&](const TCombination& comb) {
                    if (Stopped())
                        return false;
                    AddStake(comb, line, variant, filters, comment, newOnly, true);
                    return true;
                });
            ShowStakesMade(false);
            break;
        default: // RAND
            AddStake(list[static_cast<std::size_t>(Random_() % list.size())], line, variant, filters, comment,
                     newOnly, false);
            break;
        }
    }
    Host_.StakesChanged(Options_.ScrollStakes);
}

bool TScriptRunner::AddStake(const TCombination& comb, int line, int variant, const std::string& filters,
                             const std::string& comment, bool newOnly, bool throttled) {
    const int64_t next = Host_.NextDrawNumber();
    const auto draw = static_cast<int32_t>(std::clamp<int64_t>(next, 1, std::numeric_limits<int32_t>::max()));
    const std::string numbersText = StakeNumbersText(comb);
    if (newOnly) {
        if (KnownDraw_ != draw) {
            KnownStakes_.clear();
            Host_.ForEachStakeOfDraw(draw,
                                     [this](const TCombination& c) { KnownStakes_.insert(StakeKey(c)); });
            KnownDraw_ = draw;
        }
        if (KnownStakes_.contains(StakeKey(comb))) {
            Log(Format("{-} Ставка на тираж %d не добавлена, так как уже имеется в списке ставок: [%s]", draw,
                       numbersText.c_str()));
            ShowStakesMade(throttled);
            return false;
        }
    }
    const TStakeRecord stake =
        NewStake(StakeKindScript, draw, static_cast<int32_t>(Host_.WorkingList().size()), comb,
                 Host_.StakeCost(), StakeCommentText(line, variant, comment, filters));
    Host_.AppendStake(stake);
    if (KnownDraw_ == draw)
        KnownStakes_.insert(StakeKey(comb));
    Log(Format("{+} Ставка на тираж %d добавлена в список ставок: [%s]", draw, numbersText.c_str()));
    ++State_.StakesMade;
    ShowStakesMade(throttled);
    return true;
}

void TScriptRunner::ShowStakesMade(bool throttled) {
    const auto now = std::chrono::steady_clock::now();
    if (throttled && now - LastShown_ < ThrottleInterval)
        return;
    LastShown_ = now;
    Changed();
    if (throttled)
        Host_.StakesChanged(Options_.ScrollStakes);
}

} // namespace kumby
