// How a script filter walks a statistics table: which rows it selects, when it
// stops and when a step is undone, on a hand-made table and a fake program.

#include "script/ScriptCriteria.h"
#include "script/ScriptRunner.h"
#include "script/ScriptVariants.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kumby {
namespace {

// A statistics row; the texts not given stay "0".
struct TRowSpec {
    std::string Value, Count, CountPct, Deviation, DeviationPct, Depth, DepthPct, Weight, PeriodMin, Period,
        PeriodMax;
};

TStatValues ValuesOf(const TRowSpec& s) {
    TStatValues v;
    v.Value = s.Value;
    v.Count = s.Count;
    v.CountPct = s.CountPct;
    v.Deviation = s.Deviation;
    v.DeviationPct = s.DeviationPct;
    v.Depth = s.Depth;
    v.DepthPct = s.DepthPct;
    v.Weight = s.Weight;
    v.PeriodMin = s.PeriodMin;
    v.Period = s.Period;
    v.PeriodMax = s.PeriodMax;
    return v;
}

// The program as the runner sees it: a list of combinations in which display row r
// owns the combinations whose index modulo the row count is r.
class TFakeHost final : public IScriptHost {
public:
    TFakeHost() : Registry_(Draws_, Config_, Shredding_) { Registry_.Rebuild(); }

    void ShowError(const std::string& t) override { Errors.push_back(t); }
    void ShowAttention(const std::string& t) override { Attentions.push_back(t); }
    void SetStatus(const std::string&) override {}
    bool PollStop() override { return false; }
    void RunStateChanged() override {}
    void ShowLog(const std::filesystem::path&) override {}
    int DrawCount() const override { return 10; }
    int DrawsOffset() const override { return 0; }
    void SetDrawsOffset(int) override {}
    int64_t NextDrawNumber() const override { return 11; }
    const TCombsArray& WorkingList() const override { return List; }
    bool GenerateDefaultList() override { return true; }
    void ExcludeLastDraws(int) override {}
    void SaveToBuffer(int, int) override {}
    bool RestoreFromBuffer(int, int) override { return false; }
    void InvalidateBuffer() override {}
    void MakeUndoCopy() override { Undo = List; }
    void RestoreUndoCopy() override {
        List = Undo;
        ++Undos;
    }
    void ClearUndo() override { Undo.clear(); }
    void DeleteLastFilterRow() override { ++DeletedRows; }
    const TStatList& Registry() const override { return Registry_; }
    TStatList& Registry() override { return Registry_; }
    bool MethodOffered(int) const override { return true; }
    const TStatTable& ComputeTable(int, int, int, bool) override { return Table; }
    int StatSortColumn() const override { return 1; }
    bool StatSortDescending() const override { return false; }
    void SetStatSort(int, bool) override {}
    void ApplyStatFilter(int, const std::vector<std::size_t>& rows, bool exclude) override {
        Filters.push_back(rows);
        if (rows.empty())
            return;
        List.clear();
        for (std::size_t i = 0; i < Undo.size(); ++i) {
            const bool owned = std::find(rows.begin(), rows.end(), OwnerOf(i)) != rows.end();
            if (owned != exclude)
                List.push_back(Undo[i]);
        }
        // Later rows own the combinations by their position in the original list.
        Owners.clear();
    }
    bool StakesEndWithStake() override { return false; }
    void AppendSeparator() override {}
    void ForEachStakeOfDraw(int32_t, const std::function<void(const TCombination&)>&) override {}
    void AppendStake(const TStakeRecord& s) override { Stakes.push_back(s); }
    TMoney StakeCost() const override { return 0; }
    void ClearStakes() override {}
    void CheckStakes() override {}
    void StakesChanged(bool) override {}
    std::filesystem::path SystemsDir() const override { return {}; }

    // Combination i of the list carries its owner row in its first number.
    std::size_t OwnerOf(std::size_t i) const { return Undo[i][0] - 1; }
    void FillList(std::size_t perRow) {
        List.clear();
        for (std::size_t r = 0; r < Table.RowCount(); ++r)
            for (std::size_t k = 0; k < perRow; ++k) {
                TCombination c{};
                c[0] = static_cast<uint8_t>(r + 1);
                c[1] = static_cast<uint8_t>(k + 1);
                List.push_back(c);
            }
    }

    TStatTable Table;
    TCombsArray List, Undo;
    std::vector<std::vector<std::size_t>> Filters;
    std::vector<std::size_t> Owners;
    std::vector<TStakeRecord> Stakes;
    std::vector<std::string> Errors, Attentions;
    int Undos = 0;
    int DeletedRows = 0;

private:
    TDrawsArray Draws_;
    TConfigData Config_;
    TShreddingSettings Shredding_;
    TStatList Registry_;
};

// Five rows: values 1..5, counts 50, 40, 30, 20, 10, percents 5.5 … 1.5.
const TRowSpec FiveRowSpecs[] = {{"1", "50", "5.5", "5", "1.5", "1", "10.00", "1.5", "1", "2.5", "7"},
                                 {"2", "40", "4.5", "-3", "-0.5", "2", "20.00", "0.5", "2", "3", "8"},
                                 {"3", "30", "3.5", "0", "0", "3", "30.00", "2", "-", "-", "-"},
                                 {"4", "20", "2.5", "7", "2.5", "4", "40.00", "-1", "4", "5", "10"},
                                 {"5", "10", "1.5", "-1", "-1.5", "5", "50.00", "3", "5", "6.25", "11"}};

// The same values and counts as a table of numbers: 150 of 900 occurrences, so the
// percents run 5.6 … 1.1.
TStatTable FiveRows(const TStatList& registry) {
    TStatTable t;
    t.Method = registry.CreateInstance(static_cast<std::size_t>(registry.FindByCode("NUMS")));
    t.Total = 900;
    for (uint16_t v = 1; v <= 5; ++v) {
        TStatRow row;
        row.Entry.Key1 = v;
        row.Entry.Count = 60 - 10 * v;
        t.Rows.push_back(row);
    }
    t.Order = {0, 1, 2, 3, 4};
    return t;
}

struct TWalkCase {
    const char* Filter;                            // the filter text of the line's single slot
    std::size_t PerRow;                            // combinations owned by each row
    std::vector<std::vector<std::size_t>> Filters; // the rows of every filter step, in order
    int Undos;
    std::size_t Left;
};

class ScriptWalkTest : public ::testing::TestWithParam<TWalkCase> {};

TEST_P(ScriptWalkTest, SelectsFiltersAndStopsAsTheFilterSays) {
    const TWalkCase& c = GetParam();
    TFakeHost host;
    host.Table = FiveRows(host.Registry());
    host.FillList(c.PerRow);
    TScriptLog log({});
    TScriptRunner runner(host, log);
    const std::string line = std::string("CURR:0#NONE|") + c.Filter + "| | | | | | |";
    runner.Forecast({line}, {});
    EXPECT_TRUE(host.Errors.empty()) << (host.Errors.empty() ? "" : host.Errors[0]);
    EXPECT_EQ(host.Filters, c.Filters);
    EXPECT_EQ(host.Undos, c.Undos);
    EXPECT_EQ(host.DeletedRows, c.Undos);
    EXPECT_EQ(host.List.size(), c.Left);
    EXPECT_TRUE(host.Stakes.empty()); // NONE
}

INSTANTIATE_TEST_SUITE_P(Walks, ScriptWalkTest,
                         ::testing::Values(
                             // Multi-select: every row meeting the criterion, one step.
                             TWalkCase{"TMF1#NUMS:10#CMV:30#SF:1", 2, {{0, 1, 2}}, 0, 6},
                             TWalkCase{"TMD1#NUMS:10#CLV:20#SF:1", 2, {{3, 4}}, 0, 6},
                             // Bottom-up walks from the last row.
                             TWalkCase{"BMF1#NUMS:10#LNO:#ST:2", 2, {{4, 3}}, 0, 4},
                             // ST 3 looks at exactly three rows, selected or not.
                             TWalkCase{"TMF1#NUMS:10#CMV:40#ST:3", 2, {{0, 1}}, 0, 4},
                             // SV: top-down stops at the first count <= 30; bottom-up at the first >= 30.
                             TWalkCase{"TMF1#NUMS:10#LNO:#SV:30", 2, {{0, 1}}, 0, 4},
                             TWalkCase{"BMF1#NUMS:10#LNO:#SV:30", 2, {{4, 3}}, 0, 4},
                             // SP works on the percent column.
                             TWalkCase{"TMF1#NUMS:10#LNO:#SP:3", 2, {{0, 1, 2}}, 0, 6},
                             // Removing every row would empty the list: undone.
                             TWalkCase{"TMD1#NUMS:10#LNO:#SF:1", 2, {{0, 1, 2, 3, 4}}, 1, 10},
                             // Nothing selected: the list stays as it was.
                             TWalkCase{"TMF1#NUMS:10#CMV:99#SF:1", 2, {{}}, 0, 10},
                             // Single-select keeps one row per step; keeping row 1 leaves it alone, so the
                             // next row's keep empties the list and is undone; SF walks on.
                             TWalkCase{"TSF1#NUMS:10#LNO:#SF:1", 2, {{0}, {1}, {2}, {3}, {4}}, 4, 2},
                             // SZ ends the walk after the first undo.
                             TWalkCase{"TSF1#NUMS:10#LNO:#SZ:1", 2, {{0}, {1}}, 1, 2},
                             // ST counts successful steps only in single-select.
                             TWalkCase{"TSD1#NUMS:10#LNO:#ST:2", 2, {{0}, {1}}, 0, 6},
                             // SC stops once the list holds no more than the value.
                             TWalkCase{"TSD1#NUMS:10#LNO:#SC:7", 2, {{0}, {1}}, 0, 6},
                             // The walk goes on to its end even with one combination left; the step that
                             // would empty the list is undone.
                             TWalkCase{"TSD1#NUMS:10#LNO:#SF:1", 1, {{0}, {1}, {2}, {3}, {4}}, 1, 1}));

// ---- Criteria on one row ----------------------------------------------------------

struct TCriterionCase {
    const char* Level; // field 3 of a filter text
    bool Expected;
};

class ScriptCriterionTest : public ::testing::TestWithParam<TCriterionCase> {};

TEST_P(ScriptCriterionTest, TestsTheRowsColumn) {
    TFakeHost host;
    const TFilterItem item =
        ReadFilterItem(std::string("TMF1#NUMS:10#") + GetParam().Level + "#SF:1", host.Registry());
    TFilterVariants variants(std::span(&item, 1), host.Registry());
    TFilterRec rec;
    ASSERT_TRUE(variants.Next(rec));
    // Row 2 of the table: value 2, count 40, 4.5 %, deviation -3 (-0.5 %), depth 2 (20 %),
    // weight 0.5, periods 2 / 3 / 8.
    TStatValues row = ValuesOf(FiveRowSpecs[1]);
    row.Key = 2;
    EXPECT_EQ(RowMeetsCriterion(rec[0], row), GetParam().Expected) << GetParam().Level;
}

INSTANTIATE_TEST_SUITE_P(
    EveryLevelMode, ScriptCriterionTest,
    ::testing::Values(
        TCriterionCase{"LNO:", true}, TCriterionCase{"LMV:2", true}, TCriterionCase{"LMV:3", false},
        TCriterionCase{"LMP:20", true}, TCriterionCase{"LMP:21", false}, TCriterionCase{"LLV:2", true},
        TCriterionCase{"LLV:1", false}, TCriterionCase{"LLP:20", true}, TCriterionCase{"LLP:19", false},
        TCriterionCase{"LDV:1,2", true}, TCriterionCase{"LDV:3-9;1", false}, TCriterionCase{"LDP:20", true},
        TCriterionCase{"LDP:2", false}, TCriterionCase{"DMV:-3", true}, TCriterionCase{"DMV:-2", false},
        TCriterionCase{"DMP:-1", true}, TCriterionCase{"DMP:0", false}, TCriterionCase{"DLV:-3", true},
        TCriterionCase{"DLV:-4", false}, TCriterionCase{"DLP:0", true}, TCriterionCase{"DLP:-1", false},
        TCriterionCase{"DDV:-3", true}, TCriterionCase{"DDV:3", false}, TCriterionCase{"DDP:0", false},
        TCriterionCase{"CMV:40", true}, TCriterionCase{"CMV:41", false}, TCriterionCase{"CMP:4", true},
        TCriterionCase{"CMP:5", false}, TCriterionCase{"CLV:40", true}, TCriterionCase{"CLV:39", false},
        TCriterionCase{"CLP:5", true}, TCriterionCase{"CLP:4", false}, TCriterionCase{"CDV:10-40;10", true},
        TCriterionCase{"CDV:41", false}, TCriterionCase{"CDP:4", false}, TCriterionCase{"WMV:0", true},
        TCriterionCase{"WMV:1", false}, TCriterionCase{"WLV:1", true}, TCriterionCase{"WLV:0", false},
        TCriterionCase{"WDV:0", false}, TCriterionCase{"PIM:2", true}, TCriterionCase{"PIM:3", false},
        TCriterionCase{"PIL:2", true}, TCriterionCase{"PIL:1", false}, TCriterionCase{"PIR:2", true},
        TCriterionCase{"PIR:3", false}, TCriterionCase{"PAM:3", true}, TCriterionCase{"PAM:4", false},
        TCriterionCase{"PAL:3", true}, TCriterionCase{"PAL:2", false}, TCriterionCase{"PAR:3", true},
        TCriterionCase{"PAR:2", false}, TCriterionCase{"PXM:8", true}, TCriterionCase{"PXM:9", false},
        TCriterionCase{"PXL:8", true}, TCriterionCase{"PXL:7", false}, TCriterionCase{"PXR:8", true},
        TCriterionCase{"PXR:7", false}, TCriterionCase{"LVA:1,2", true}, TCriterionCase{"LVA:3", false}));

TEST(ScriptCriterion, ColumnsThatAreNoNumbersUseTheDefaultOrStopAListTest) {
    TFilterPart part;
    const TStatValues row = ValuesOf(FiveRowSpecs[2]); // periods shown as "-"
    part.LevelList = "0";
    part.LevelMode = 22; // PIM: "-" reads as 0
    EXPECT_TRUE(RowMeetsCriterion(part, row));
    part.LevelMode = 23; // PIL: "-" reads as 65535
    EXPECT_FALSE(RowMeetsCriterion(part, row));
    part.LevelMode = 24; // PIR: a list test needs a number
    EXPECT_THROW(RowMeetsCriterion(part, row), Error);
}

// ---- Variants ---------------------------------------------------------------------

struct TVariantCase {
    std::vector<std::string> Filters;
    std::vector<std::string> Expected; // DrawsLen/LevelList of each part, joined by " "
};

class ScriptVariantsTest : public ::testing::TestWithParam<TVariantCase> {};

TEST_P(ScriptVariantsTest, ComeInGenerationOrder) {
    TFakeHost host;
    std::vector<TFilterItem> items;
    for (const std::string& f : GetParam().Filters)
        items.push_back(ReadFilterItem(f, host.Registry()));
    TFilterVariants variants(items, host.Registry());
    EXPECT_EQ(variants.Count(), static_cast<int64_t>(GetParam().Expected.size()));
    std::vector<std::string> got;
    TFilterRec rec;
    while (variants.Next(rec)) {
        std::string text;
        for (std::size_t d = 0; d < items.size(); ++d)
            text += (d ? " " : "") + std::to_string(rec[d].DrawsLen) + "/" + rec[d].LevelList;
        got.push_back(text);
    }
    EXPECT_EQ(got, GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Expansion, ScriptVariantsTest,
                         ::testing::Values(TVariantCase{{"TSD1#NUMS:5-15;5#CMV:1, 2#SF:1"},
                                                        {"5/1", "5/2", "10/1", "10/2", "15/1", "15/2"}},
                                           TVariantCase{{"TSD1#NUMS:10#CDV:1-5;2#SF:1"}, {"10/1,3,5"}},
                                           TVariantCase{{"TSD1#NUMS:10#WDV:1, 2#SF:1"}, {"10/1", "10/2"}},
                                           TVariantCase{{"TSD1#NUMS:10#LNO:7#SF:1"}, {"10/7"}},
                                           // The first filter changes slowest.
                                           TVariantCase{
                                               {"TSD1#NUMS:1,2#LNO:#SF:1", "TSD1#NUMS:3,4#LNO:#SF:1"},
                                               {"1/ 3/", "1/ 4/", "2/ 3/", "2/ 4/"}}));

TEST(ScriptVariants, AnEmptyListIsAnInvalidFilter) {
    TFakeHost host;
    for (const char* text : {"TSD1#NUMS:x#LNO:#SF:1", "TSD1#NUMS:10#CMV:#SF:1", "TSD1#NOSUCH:10#LNO:#SF:1"}) {
        const TFilterItem item = ReadFilterItem(text, host.Registry());
        try {
            TFilterVariants variants(std::span(&item, 1), host.Registry());
            ADD_FAILURE() << text;
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find("Некорректное описание фильтра: "), std::string::npos);
        }
    }
}

TEST(ScriptVariants, ABadFilterStopsTheRunWithItsMessage) {
    TFakeHost host;
    host.Table = FiveRows(host.Registry());
    host.FillList(2);
    TScriptLog log({});
    TScriptRunner runner(host, log);
    runner.Forecast({"CURR:0#RAND|TSD1#NUMS:0-x#LNO:#SF:1| | | | | | |", "CURR:0#RAND"}, {});
    ASSERT_EQ(host.Errors.size(), 1u);
    EXPECT_EQ(host.Errors[0], "Некорректное описание фильтра: TSD1#NUMS:0-x#LNO:#SF:1!\r\rСтрока сценария 1: "
                              "\"CURR:0#RAND|TSD1#NUMS:0-x#LNO:#SF:1| | | | | | |\"");
    EXPECT_TRUE(host.Stakes.empty()); // the second line never ran
    EXPECT_FALSE(runner.State().Running);
}

} // namespace
} // namespace kumby
