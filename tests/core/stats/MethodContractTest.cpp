// What every registered method must do, whatever its family: run over each entry
// of the registry built with the default settings.

#include "StatTestSupport.h"
#include "combs/PrefetchFile.h"
#include "stats/StatFilter.h"
#include "stats/StatTable.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <set>

namespace kumby::testing {
namespace {

constexpr int RandomCombinations = 300;

// A small archive: random draws in drawn order, with a draw number missing in the
// middle, and a few draws at the ends of every number class.
void BuildArchive(TDrawsArray& draws) {
    std::mt19937 rng(20240611);
    int32_t number = 501;
    for (int i = 0; i < 30; ++i) {
        if (i == 12)
            number += 3; // numbers missing from the archive
        draws.push_back(DrawOf(number++, RandomDrawNumbers(rng)));
    }
    draws.push_back(DrawOf(number++, {23, 21, 19, 17, 15, 13, 11, 9, 7, 5, 3, 1}));
    draws.push_back(DrawOf(number++, {2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24}));
    draws.push_back(DrawOf(number++, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    draws.push_back(DrawOf(number++, {24, 23, 22, 21, 20, 19, 18, 17, 16, 15, 14, 13}));
    draws.push_back(DrawOf(number++, {13, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    draws.push_back(DrawOf(number++, RandomDrawNumbers(rng)));
}

std::string LowerAscii(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

class MethodContractTest : public ::testing::TestWithParam<std::size_t> {
protected:
    void SetUp() override {
        BuildArchive(F.Draws);
        ASSERT_LT(GetParam(), F.List.Count());
        Method = &F.List.Items(GetParam());
        Info = Method->StatClass;
        Stat = F.List.CreateInstance(GetParam());
        ASSERT_NE(Stat, nullptr);
    }

    bool HasFlag(uint8_t flag) const { return (Info->Flags & flag) != 0; }
    // The sum bands: with the band row selected only sums inside match, whatever else is.
    bool SelectionNarrows() const { return Info->Code == std::string_view("SUM%d"); }
    // Runs and periods are measured from earlier draws of the window, which a search
    // starting at a draw does not see: it finds such a value only where it arises anew.
    bool ValueNeedsEarlierDraws() const { return Info->Group == 8 || HasFlag(StatFlagP); }
    // The sequence charts take falling steps as well, which the values do not.
    bool ChartReadsOtherSteps() const {
        return Info->Code == std::string_view("SEQS") || Info->Code == std::string_view("LENS");
    }

    TCombination DrawNumbers(int idx, bool sorted) const {
        TCombination comb = F.Draws[idx].Combination();
        if (sorted)
            std::sort(comb.begin(), comb.end());
        return comb;
    }

    // Values of random combinations and of the window, so that every combination can
    // be shown values it does not have.
    std::vector<TCombination> Combinations() const {
        std::mt19937 rng(77);
        std::vector<TCombination> combs;
        for (int i = 0; i < RandomCombinations; ++i)
            combs.push_back(RandomCombination(rng));
        combs.push_back({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
        combs.push_back({13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24});
        combs.push_back({1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23});
        return combs;
    }

    TStatFixture F;
    const TStatMethod* Method = nullptr;
    const TStatClassInfo* Info = nullptr;
    std::unique_ptr<TCustomStat> Stat;
};

TEST_P(MethodContractTest, ClassDescriptionAgreesWithTheInstance) {
    const std::string code = Method->MethodCode();
    ASSERT_FALSE(code.empty());
    EXPECT_EQ(code.find('%'), std::string::npos);
    // The code names the method in settings, files and scripts: it must find this entry.
    EXPECT_EQ(F.List.FindByCode(LowerAscii(code)), static_cast<int>(GetParam()));

    EXPECT_EQ(Stat->Param(), Method->Param);
    EXPECT_EQ(&Stat->Info(), Info);
    EXPECT_EQ(Stat->InstanceCaption(), Method->MethodCaption());
    EXPECT_EQ(Stat->HasChartValue(), Info->HasChart);
    EXPECT_LE(Info->Group, 12);
    EXPECT_EQ(Info->Flags & StatFlagG, 0) << "G is added for display only";
    EXPECT_EQ(Info->DisplayFlags() & StatFlagG, Info->HasChart ? StatFlagG : 0);
    EXPECT_TRUE(Info->Available);
    if (!Info->HasParam) {
        EXPECT_EQ(Method->Param, 0);
    }

    // Every placeholder is filled by the time a name reaches the lists.
    EXPECT_EQ(Method->FullName().find('%'), std::string::npos) << Method->FullName();
    EXPECT_EQ(Info->HelpCodeFor(Method->Param).find('%'), std::string::npos);
    EXPECT_EQ(F.List.DisplayName(GetParam(), true).find('%'), std::string::npos);
}

// A full-set file is built once and read for every window, so only a method whose
// values come from the combination alone may have one: combinations have values,
// the same whatever the window ends with and however the draws are read.
TEST_P(MethodContractTest, FullSetFileOnlyWhereACombinationAloneGivesTheValues) {
    if (!Info->HasPrefetch())
        return;
    int withValues = 0; // a combination may have none (no adjacent numbers in COLA)
    for (const TCombination& comb : Combinations()) {
        Stat->LoadDraws(-1, F.LastIdx(), false);
        const TStatDrawArray atNewest = CombinationValues(*Stat, comb);
        withValues += atNewest.empty() ? 0 : 1;
        Stat->LoadDraws(-1, 0, true);
        EXPECT_EQ(CountsByKey(CombinationValues(*Stat, comb), false), CountsByKey(atNewest, false))
            << CombToText(comb);
        if (::testing::Test::HasFailure())
            return;
    }
    EXPECT_GT(withValues, RandomCombinations / 2);
}

TEST_P(MethodContractTest, CombinationMatchesExactlyTheValuesAddCombinationGivesIt) {
    const std::vector<TCombination> combs = Combinations();
    for (const int lastIdx : {F.LastIdx(), F.LastIdx() - 2}) {
        SCOPED_TRACE("window ending at " + std::to_string(lastIdx));
        Stat->LoadDraws(-1, lastIdx, false);

        std::vector<TStatDrawArray> values;
        std::set<uint64_t> universe;
        for (const TCombination& comb : combs) {
            values.push_back(CombinationValues(*Stat, comb));
            for (const TStatEntry& e : values.back()) {
                EXPECT_EQ(e.Depth, 0);
                EXPECT_EQ(e.Draw, 0);
                EXPECT_GT(e.Count, 0);
                universe.insert(StatKey(e));
            }
        }
        if (universe.empty()) {
            // Such a method never matches anything.
            for (const TCombination& comb : combs)
                EXPECT_FALSE(Stat->Matches(comb, {}, lastIdx, false, false));
            continue;
        }

        for (std::size_t c = 0; c < combs.size(); ++c) {
            const TCombination& comb = combs[c];
            std::set<uint64_t> own;
            for (const TStatEntry& e : values[c])
                own.insert(StatKey(e));
            for (uint64_t key : own) {
                const TStatDrawArray selected{KeyEntry(key)};
                EXPECT_TRUE(Stat->Matches(comb, selected, lastIdx, false, false))
                    << CombToText(comb) << " value " << Stat->ValueText(selected[0]);
                if (!HasFlag(StatFlagP)) {
                    EXPECT_TRUE(Stat->Matches(comb, selected, lastIdx, false, true));
                }
            }
            TStatDrawArray others;
            for (uint64_t key : universe)
                if (!own.contains(key))
                    others.push_back(KeyEntry(key));
            EXPECT_FALSE(Stat->Matches(comb, others, lastIdx, false, false)) << CombToText(comb);
            if (!own.empty() && !SelectionNarrows()) {
                // A hit at the end of a long selection counts as well.
                others.push_back(KeyEntry(*own.rbegin()));
                EXPECT_TRUE(Stat->Matches(comb, others, lastIdx, false, false)) << CombToText(comb);
            }
            if (::testing::Test::HasFailure())
                return;
        }
    }
}

TEST_P(MethodContractTest, ValueTextsTellValuesApartAndParseBackWhereNumeric) {
    std::map<uint64_t, TStatEntry> values;
    TStatDrawArray seeded;
    Stat->SeedValues(F.LastIdx(), seeded);
    for (const TStatEntry& e : seeded)
        values.emplace(StatKey(e), e);
    for (const TStatEntry& e : EvaluateWindow(*Stat, 0, F.LastIdx(), false))
        values.emplace(StatKey(e), e);
    Stat->LoadDraws(-1, F.LastIdx(), false);
    for (const TCombination& comb : Combinations())
        for (const TStatEntry& e : CombinationValues(*Stat, comb))
            values.emplace(StatKey(e), e);

    std::map<std::string, uint64_t> byText;
    std::map<int32_t, std::string> byNumber;
    for (const auto& [key, e] : values) {
        const std::string text = Stat->ValueText(e);
        EXPECT_FALSE(text.empty());
        const auto [at, fresh] = byText.emplace(text, key);
        EXPECT_TRUE(fresh) << "two values shown as " << text;

        if (!Info->NumericValues) {
            EXPECT_EQ(Stat->NumericValue(text), 0) << text;
            continue;
        }
        const int32_t n = Stat->ParseValue(text);
        EXPECT_EQ(Stat->NumericValue(text), n) << text;
        if (int32_t plain = 0; TryParseInt(text, plain)) {
            EXPECT_EQ(n, plain) << text;
        } else {
            EXPECT_NE(text.find(std::to_string(n)), std::string::npos) << text << " parsed as " << n;
        }
        const auto [other, first] = byNumber.emplace(n, text);
        EXPECT_TRUE(first) << text << " and " << other->second << " both parse as " << n;
    }

    // Where a method keys its captions for the table's sort, the keys order the values
    // as their texts compare.
    std::vector<std::pair<uint64_t, std::string>> keyed;
    for (const auto& [key, e] : values)
        if (uint64_t order = 0; Stat->CaptionOrderKey(e, order))
            keyed.emplace_back(order, Stat->ValueText(e));
    std::sort(keyed.begin(), keyed.end());
    for (std::size_t i = 1; i < keyed.size(); ++i)
        ASSERT_LT(CompareStatTexts(keyed[i - 1].second, keyed[i].second), 0)
            << keyed[i - 1].second << " then " << keyed[i].second;
}

TEST_P(MethodContractTest, WindowOfOneDrawGivesDepthOne) {
    for (const bool sorted : {false, true})
        for (int k = 0; k <= F.LastIdx(); ++k) {
            SCOPED_TRACE("draw index " + std::to_string(k) + (sorted ? " sorted" : ""));
            const TStatDrawArray stat = EvaluateWindow(*Stat, k, k, sorted);
            std::set<uint64_t> keys;
            for (const TStatEntry& e : stat) {
                EXPECT_TRUE(keys.insert(StatKey(e)).second) << "value listed twice: " << Stat->ValueText(e);
                if (e.Count > 0) {
                    EXPECT_EQ(e.Depth, 1) << Stat->ValueText(e);
                    EXPECT_EQ(e.Draw, F.Draws[k].Number);
                    EXPECT_EQ(e.PeriodMin, 0);
                    EXPECT_EQ(e.PeriodMax, 0);
                    // The search for the "Факт" column finds the value in that very draw.
                    EXPECT_EQ(Stat->FindNextOccurrence(e, k, k, sorted), F.Draws[k].Number);
                } else {
                    EXPECT_EQ(e.Count, 0);
                    EXPECT_EQ(e.Depth, 0);
                    EXPECT_EQ(e.Draw, 0);
                }
                EXPECT_EQ(e.Norm, 0);
            }
            if (HasFlag(StatFlagN)) {
                // A value that needs no other draw comes out of a draw as out of its combination.
                Stat->LoadDraws(-1, k, sorted);
                EXPECT_EQ(CountsByKey(stat, true),
                          CountsByKey(CombinationValues(*Stat, DrawNumbers(k, sorted)), true));
            }
            if (Info->HasChart && Info->NumericValues && !HasFlag(StatFlagD) && !ChartReadsOtherSteps()) {
                std::vector<const TStatEntry*> occurred;
                for (const TStatEntry& e : stat)
                    if (e.Count > 0)
                        occurred.push_back(&e);
                if (occurred.size() == 1) {
                    EXPECT_EQ(Stat->ChartValueOfDraw(k, k, sorted),
                              Stat->NumericValue(Stat->ValueText(*occurred[0])));
                }
            }
            if (::testing::Test::HasFailure())
                return;
        }
}

TEST_P(MethodContractTest, WindowOverTheArchiveCountsEveryOccurrence) {
    for (const bool sorted : {false, true}) {
        SCOPED_TRACE(sorted ? "sorted" : "drawn order");
        const int lastIdx = F.LastIdx() - 1;
        const int firstIdx = 3;
        const TStatDrawArray stat = EvaluateWindow(*Stat, firstIdx, lastIdx, sorted);
        std::set<uint64_t> keys;
        for (const TStatEntry& e : stat) {
            EXPECT_TRUE(keys.insert(StatKey(e)).second) << "value listed twice: " << Stat->ValueText(e);
            EXPECT_EQ(e.Count == 0, e.Depth == 0) << Stat->ValueText(e);
            EXPECT_GE(e.Depth, 0);
            EXPECT_LE(e.Depth, lastIdx - firstIdx + 1);
            if (e.Depth > 0 && e.Depth <= lastIdx - firstIdx + 1) {
                EXPECT_EQ(e.Draw, F.Draws[lastIdx - e.Depth + 1].Number);
            }
            EXPECT_LE(e.PeriodMin, e.PeriodMax);
        }
        if (!HasFlag(StatFlagN))
            continue;

        // Counts and depths follow from the values of each draw's numbers.
        std::map<uint64_t, int64_t> expected;
        std::map<uint64_t, int> newestIdx;
        for (int idx = firstIdx; idx <= lastIdx; ++idx) {
            Stat->LoadDraws(-1, idx, sorted);
            for (const TStatEntry& e : CombinationValues(*Stat, DrawNumbers(idx, sorted))) {
                expected[StatKey(e)] += e.Count;
                newestIdx[StatKey(e)] = idx;
            }
        }
        EXPECT_EQ(CountsByKey(stat, true), expected);
        for (const TStatEntry& e : stat) {
            if (e.Count == 0)
                continue;
            EXPECT_EQ(e.Depth, lastIdx - newestIdx[StatKey(e)] + 1) << Stat->ValueText(e);
            // The first occurrence from the value's newest draw on is that draw; later
            // draws outside the window count as well.
            EXPECT_EQ(Stat->FindNextOccurrence(e, lastIdx - e.Depth + 1, lastIdx, sorted), e.Draw);
        }
    }
}

// What a search reads from a draw: the values AddDraw merges into an empty list from
// a zero RunState, whether a shape lists them its own way or not. Each draw is read
// against the newest and against itself, as D methods relate to that draw.
TEST_P(MethodContractTest, DrawValuesAreWhatTheDrawMergesIntoAnEmptyList) {
    for (const bool sorted : {false, true})
        for (int k = 0; k <= F.LastIdx(); ++k)
            for (const int lastIdx : {k, F.LastIdx()}) {
                TRunState ownState, mergedState;
                TStatDrawArray own, merged;
                Stat->DrawValues(k, lastIdx, sorted, ownState, own);
                Stat->TCustomStat::DrawValues(k, lastIdx, sorted, mergedState, merged);
                ASSERT_EQ(own.size(), merged.size()) << "draw index " << k;
                for (std::size_t i = 0; i < own.size(); ++i)
                    ASSERT_EQ(std::memcmp(&own[i], &merged[i], sizeof(TStatEntry)), 0)
                        << "draw index " << k << ": " << Stat->ValueText(merged[i]);
                ASSERT_EQ(std::memcmp(&ownState, &mergedState, sizeof(TRunState)), 0) << "draw index " << k;
            }
}

TEST_P(MethodContractTest, SearchBeyondTheNewestDrawFindsNothing) {
    const TStatDrawArray stat = EvaluateWindow(*Stat, 0, F.LastIdx(), false);
    // A method conditioned on the newest draw may find nothing to list in a window.
    if (!HasFlag(StatFlagD)) {
        ASSERT_FALSE(stat.empty());
    }
    for (const TStatEntry& e : stat) {
        EXPECT_EQ(Stat->FindNextOccurrence(e, F.LastIdx() + 1, F.LastIdx(), false), -1);
        EXPECT_EQ(Stat->FindNextOccurrence(e, 1000, F.LastIdx(), true), -1);
    }
    // A value no draw has is searched to the end in vain.
    TStatEntry absent;
    absent.Key1 = 60000;
    absent.Key2 = 60000;
    absent.Key3 = 60000;
    absent.Key4 = 60000;
    EXPECT_EQ(Stat->FindNextOccurrence(absent, 0, F.LastIdx(), false), -1);
}

TEST_P(MethodContractTest, EmptyArchiveListsOnlySeededValues) {
    TStatFixture empty;
    auto stat = empty.List.CreateInstance(GetParam());
    const TStatDrawArray values = EvaluateWindow(*stat, 0, -1, false);
    for (const TStatEntry& e : values) {
        EXPECT_EQ(e.Count, 0);
        EXPECT_EQ(e.Depth, 0);
    }
    TStatEntry e;
    EXPECT_EQ(stat->FindNextOccurrence(e, 0, -1, false), -1);
    EXPECT_EQ(stat->FindNextOccurrence(e, -5, -1, false), -1);
    stat->LoadDraws(-1, -1, false);
    EXPECT_FALSE(stat->Matches({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, {}, -1, false, false));
}

// Old archives and imported files can hold numbers 0 and 25..255 and a number twice.
// Every method takes such draws as they stand, reading nothing beyond them: the values
// of a draw are those its stored numbers give as a combination, each value has a text
// of its own, and the table and a filter pass over such values work. Damaged draws sit
// in the middle and at the newest end, so that methods conditioned on the newest draw
// meet them as predecessor and as reference.
TEST_P(MethodContractTest, DamagedDrawsAreTakenAsTheyStand) {
    const std::vector<TCombination> damaged = {
        {0, 25, 255, 5, 5, 24, 1, 200, 100, 12, 13, 255},
        {},
        {24, 24, 24, 24, 24, 24, 24, 24, 24, 24, 24, 24},
        {25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36},
        {255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255},
    };
    int32_t number = F.Draws.back().Number + 1;
    for (const TCombination& c : damaged)
        F.Draws.push_back(DrawOf(number++, c));
    F.Draws.push_back(DrawOf(number++, {3, 1, 4, 15, 9, 2, 6, 5, 13, 24, 8, 7}));
    for (const TCombination& c : damaged)
        F.Draws.push_back(DrawOf(number++, c));
    const int firstDamaged = F.LastIdx() - 2 * static_cast<int>(damaged.size());

    const std::vector<TCombination> combs = Combinations();
    std::set<uint64_t> combinationValues;
    TPrefetchData prefetch;
    if (Info->HasPrefetch()) {
        TStatDrawArray all;
        for (const TCombination& comb : combs)
            Stat->AddCombination(comb, all);
        SortStatEntries(all);
        for (const TStatEntry& e : all) {
            combinationValues.insert(StatKey(e));
            prefetch.Records.push_back(PrefetchFromStatEntry(e));
            prefetch.MinCount = std::min(prefetch.MinCount, e.Count);
            prefetch.MaxCount = std::max(prefetch.MaxCount, e.Count);
        }
    }

    for (const bool sorted : {false, true})
        for (const int lastIdx : {F.LastIdx(), F.LastIdx() - static_cast<int>(damaged.size())}) {
            SCOPED_TRACE(std::string(sorted ? "sorted" : "drawn order") + ", window ending at " +
                         std::to_string(lastIdx));
            const TStatDrawArray stat = EvaluateWindow(*Stat, firstDamaged - 3, lastIdx, sorted);
            std::map<uint64_t, std::string> textOf;
            std::set<std::string> texts;
            TStatDrawArray occurred;
            for (const TStatEntry& e : stat) {
                const std::string text = Stat->ValueText(e);
                EXPECT_FALSE(text.empty());
                EXPECT_TRUE(textOf.emplace(StatKey(e), text).second) << "value listed twice: " << text;
                EXPECT_TRUE(texts.insert(text).second) << "two values shown as " << text;
                EXPECT_EQ(e.Count == 0, e.Depth == 0) << text;
                if (e.Count > 0) {
                    occurred.push_back(e);
                    if (!ValueNeedsEarlierDraws()) {
                        EXPECT_EQ(Stat->FindNextOccurrence(e, lastIdx - e.Depth + 1, lastIdx, sorted), e.Draw)
                            << text;
                    }
                }
            }
            for (int idx = firstDamaged - 3; idx <= lastIdx; ++idx)
                Stat->ChartValueOfDraw(idx, lastIdx,
                                       sorted); // any number: what matters is reading inside the draws

            if (HasFlag(StatFlagN)) {
                std::map<uint64_t, int64_t> expected;
                for (int idx = firstDamaged - 3; idx <= lastIdx; ++idx) {
                    Stat->LoadDraws(-1, idx, sorted);
                    for (const TStatEntry& e : CombinationValues(*Stat, DrawNumbers(idx, sorted)))
                        expected[StatKey(e)] += e.Count;
                }
                EXPECT_EQ(CountsByKey(stat, true), expected);
            }

            // The statistics table, with the comparison where the method has one.
            const int offset = F.LastIdx() - lastIdx;
            const TStatTable table =
                ComputeStatTable(F.List.CreateInstance(GetParam()), F.Draws,
                                 StatWindow(F.Draws.size(), offset, lastIdx - firstDamaged + 4), sorted,
                                 Info->HasPrefetch() ? &prefetch : nullptr, F.Config, true);
            ASSERT_EQ(table.RowCount(), stat.size());
            for (std::size_t r = 0; r < table.RowCount(); ++r) {
                const TStatRow& row = table.DisplayRow(r);
                EXPECT_EQ(table.Text(row, StatColValue), textOf[StatKey(row.Entry)]);
            }

            // A filter pass selecting every value that occurred: keeping and removing
            // split the combinations between them, in order.
            if (occurred.empty())
                continue;
            const TCombsArray list(combs.begin(), combs.end());
            const TStatMethodFactory create = [&] { return F.List.CreateInstance(GetParam()); };
            TCombsArray kept, removed;
            FilterCombinations(create, list, kept, occurred, lastIdx, sorted, false);
            FilterCombinations(create, list, removed, occurred, lastIdx, sorted, true);
            if (!HasFlag(StatFlagP)) {
                EXPECT_EQ(kept.size() + removed.size(), list.size());
            }
            // Values only damaged draws have are no value of any combination.
            if (HasFlag(StatFlagN) && !SelectionNarrows()) {
                TStatDrawArray damagedOnly;
                for (const TStatEntry& e : occurred)
                    if (!combinationValues.contains(StatKey(e)))
                        damagedOnly.push_back(e);
                FilterCombinations(create, list, kept, damagedOnly, lastIdx, sorted, false);
                EXPECT_TRUE(kept.empty())
                    << kept.size() << " combinations have a value of damaged draws only";
            }
            if (::testing::Test::HasFailure())
                return;
        }
}

std::vector<std::size_t> RegistryIndexes() {
    TStatFixture f;
    std::vector<std::size_t> indexes(f.List.Count());
    std::iota(indexes.begin(), indexes.end(), std::size_t{0});
    return indexes;
}

// Test names from the method codes; "+" and "-" of codes like PRV+1 spelled out. The
// names are made once: a registry per test name made every start of the test
// program take seconds under the sanitizers.
std::string MethodName(const ::testing::TestParamInfo<std::size_t>& info) {
    static const std::vector<std::string> names = [] {
        TStatFixture f;
        std::vector<std::string> all;
        for (std::size_t i = 0; i < f.List.Count(); ++i) {
            std::string name;
            for (char c : f.List.Items(i).MethodCode()) {
                if (std::isalnum(static_cast<unsigned char>(c)))
                    name += c;
                else if (c == '+')
                    name += "Plus";
                else if (c == '-')
                    name += "Minus";
                else
                    name += '_';
            }
            all.push_back(std::move(name));
        }
        return all;
    }();
    return names.at(info.param);
}

// A pass over many combinations at once may count its values before merging them:
// the list must come out as one combination at a time makes it, order included,
// with damaged combinations in between and at the ends.
TEST_P(MethodContractTest, ACombinationPassListsWhatSingleCombinationsDo) {
    std::vector<TCombination> combs = Combinations();
    const std::vector<TCombination> damaged = {
        {0, 25, 255, 5, 5, 24, 1, 200, 100, 12, 13, 255},
        {24, 24, 24, 24, 24, 24, 24, 24, 24, 24, 24, 24},
        {25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36},
    };
    combs.insert(combs.begin(), damaged[2]);
    combs.insert(combs.begin() + 40, damaged.begin(), damaged.end());
    combs.push_back(damaged[0]);
    TStatDrawArray single;
    for (const TCombination& comb : combs)
        Stat->AddCombination(comb, single);
    const std::unique_ptr<TCustomStat> other = F.List.CreateInstance(GetParam());
    TStatDrawArray pass;
    other->AddCombinations(combs, pass);
    ASSERT_EQ(pass.size(), single.size());
    for (std::size_t i = 0; i < pass.size(); ++i) {
        EXPECT_EQ(StatKey(pass[i]), StatKey(single[i])) << "value " << i;
        EXPECT_EQ(pass[i].Count, single[i].Count) << Stat->ValueText(single[i]);
    }
}

INSTANTIATE_TEST_SUITE_P(Registry, MethodContractTest, ::testing::ValuesIn(RegistryIndexes()), MethodName);

} // namespace
} // namespace kumby::testing
