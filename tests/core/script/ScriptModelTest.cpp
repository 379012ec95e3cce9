// The text of script lines: fields, options, filter items and parts, numbers and
// the cells of the list.

#include "script/ScriptModel.h"

#include <gtest/gtest.h>

#include <string>

namespace kumby {
namespace {

// The registry with the default settings: NUMS … SUMS … POS1 … POS10 … POS12.
struct TRegistry {
    TDrawsArray Draws;
    TConfigData Config;
    TShreddingSettings Shredding;
    TStatList List{Draws, Config, Shredding};
    TRegistry() { List.Rebuild(); }
    int Index(std::string_view code) const { return List.FindByCode(code); }
};

class ScriptModelTest : public ::testing::Test {
protected:
    TFilterItem Read(std::string_view text) const { return ReadFilterItem(text, R.List); }
    std::string Write(const TFilterItem& item) const { return FilterItemText(item, R.List); }
    TRegistry R;
};

TEST_F(ScriptModelTest, LineKeepsEveryFieldInPlace) {
    std::array<std::string, ScriptFilterSlots> filters{};
    const std::string line = BuildLine("FULL:0#RAND", filters, "");
    EXPECT_EQ(line, "FULL:0#RAND| | | | | | | |");
    EXPECT_EQ(LineOptionsText(line), "FULL:0#RAND");
    for (int i = 1; i <= ScriptFilterSlots; ++i)
        EXPECT_EQ(LineFilterText(line, i), "") << i;
    EXPECT_EQ(LineComment(line), "");

    // Blank filters become a space; the others are written untrimmed, read trimmed.
    filters = {"", " ", " TSD1#NUMS:10#LNO:#SF:1 ", "", "", "", "BMF2#SUMS:5"};
    const std::string withComment = BuildLine("EXCL:3#ALL", filters, "Проба");
    EXPECT_EQ(withComment, "EXCL:3#ALL| | | TSD1#NUMS:10#LNO:#SF:1 | | | |BMF2#SUMS:5|Проба");
    EXPECT_EQ(LineFilterText(withComment, 3), "TSD1#NUMS:10#LNO:#SF:1");
    EXPECT_EQ(LineFilterText(withComment, 7), "BMF2#SUMS:5");
    EXPECT_EQ(LineFilterText(withComment, 2), "");
    EXPECT_EQ(LineComment(withComment), "Проба");
    EXPECT_EQ(LineFilterText(withComment, 0), "");
    EXPECT_EQ(LineFilterText(withComment, 8), "");

    // A blank comment adds nothing after the last separator; a "|" in it cuts it.
    EXPECT_EQ(BuildLine("FULL:0#RAND", {}, "  "), line);
    EXPECT_EQ(LineComment(BuildLine("FULL:0#RAND", {}, "до|после")), "до");
}

TEST_F(ScriptModelTest, FieldsFollowTheWordRule) {
    EXPECT_EQ(ExtractField("||a||b |", 2, "|"), "b");
    EXPECT_EQ(ExtractField("a", 2, "|"), "");
    EXPECT_EQ(ExtractField("a:b;c", 3, ":;"), "c");
    EXPECT_EQ(ExtractField("a", 0, "|"), "");
    EXPECT_TRUE(IsSeparatorLine(""));
    EXPECT_TRUE(IsSeparatorLine(" \t "));
    EXPECT_FALSE(IsSeparatorLine(" x "));

    // A very long comment and a very long filter field.
    const std::string longText(10000, 'z');
    const std::string line = BuildLine("FULL:0#RAND", {longText}, longText);
    EXPECT_EQ(LineFilterText(line, 1), longText);
    EXPECT_EQ(LineComment(line), longText);
}

struct TOptionsCase {
    const char* Text;
    TScriptOptions Expected;
    const char* LineText;
    const char* LogText;
    const char* DisplayText;
};

TEST_F(ScriptModelTest, OptionsReadAndWrite) {
    const TOptionsCase cases[] = {
        {"fUlL:7#rand#nex#clr",
         {7, StartFull, ResultRand, true, true},
         "FULL:7#RAND#CLR#NEX",
         "FULL#RAND#NEX",
         "Исходный список; Случайно; Удалить ставки; Только новые ставки"},
        {"EXCL:3#ALL#CLR#NEX",
         {3, StartExcl, ResultAll, true, true},
         "EXCL:3#ALL#CLR#NEX",
         "EXCL:3#ALL#NEX",
         "Исключить 3 тиражей; Все; Удалить ставки; Только новые ставки"},
        {" CURR:0 # none # NEX ",
         {0, StartCurr, ResultNone, false, true},
         "CURR:0#NONE#NEX",
         "CURR#NONE#NEX",
         "Текущий список; Не делать ставок; Только новые ставки"},
        {"EXCLUDE:x#sysc##other#Clr",
         {0, StartExcl, ResultSysC, true, false},
         "EXCL:0#SYSC#CLR",
         "EXCL:0#SYSC",
         "Исключить 0 тиражей; Система [комб]; Удалить ставки; Все создаваемые ставки"},
        {"nonsense#FIRSTS",
         {0, StartFull, ResultRand, false, false},
         "FULL:0#RAND",
         "FULL#RAND",
         "Исходный список; Случайно; Все создаваемые ставки"},
        {"",
         {0, StartFull, ResultRand, false, false},
         "FULL:0#RAND",
         "FULL#RAND",
         "Исходный список; Случайно; Все создаваемые ставки"},
        {"EXCL:-5#LAST",
         {0, StartExcl, ResultLast, false, false},
         "EXCL:0#LAST",
         "EXCL:0#LAST",
         "Исключить 0 тиражей; Последняя; Все создаваемые ставки"},
    };
    for (const TOptionsCase& c : cases) {
        SCOPED_TRACE(c.Text);
        const TScriptOptions o = ReadOptions(c.Text);
        EXPECT_EQ(o.DrawsExclude, c.Expected.DrawsExclude);
        EXPECT_EQ(o.StartCombsType, c.Expected.StartCombsType);
        EXPECT_EQ(o.ResultCombsMode, c.Expected.ResultCombsMode);
        EXPECT_EQ(o.ClearStakes, c.Expected.ClearStakes);
        EXPECT_EQ(o.NewOnly, c.Expected.NewOnly);
        EXPECT_EQ(OptionsLineText(o), c.LineText);
        EXPECT_EQ(OptionsLogText(o), c.LogText);
        EXPECT_EQ(OptionsDisplayText(o), c.DisplayText);
    }
}

TEST_F(ScriptModelTest, FilterItemFieldsAndDefaults) {
    const TFilterItem full = Read("BMF2#SUMS:5-30;5#WMV:3#ST:4#1.5:-1:1:0:0");
    EXPECT_TRUE(full.Used);
    EXPECT_TRUE(full.BottomUp && full.MultiSelect && full.KeepSelected);
    EXPECT_EQ(full.SortOrder, 2);
    EXPECT_EQ(full.Method, R.Index("SUMS"));
    EXPECT_EQ(full.MethodText, "SUMS:5-30;5");
    EXPECT_EQ(full.DrawsLen, "5-30;5");
    EXPECT_EQ(full.LevelMode, 19);
    EXPECT_EQ(full.LevelValue, "3");
    EXPECT_EQ(full.StopMode, StopST);
    EXPECT_EQ(full.StopValue, 4);
    EXPECT_TRUE(full.CDLOverride);
    EXPECT_EQ(full.Weights.CoefCount, 1.5L);
    EXPECT_EQ(full.Weights.CoefDeviation, -1.0L);
    EXPECT_EQ(full.Weights.CoefLevel, 1.0L);
    EXPECT_FALSE(full.Weights.UsePercents);
    EXPECT_FALSE(full.Weights.UseAbsValues);
    EXPECT_EQ(Write(full), "BMF2#SUMS:5-30;5#WMV:3#ST:4#1.5:-1:1:0:0");

    // POS10 is found whole although POS1 comes first; codes compare in any case.
    const TFilterItem pos = Read("tsd11#pos10:5");
    EXPECT_EQ(pos.Method, R.Index("POS10"));
    EXPECT_NE(pos.Method, R.Index("POS1"));
    EXPECT_EQ(pos.DrawsLen, "5");
    EXPECT_EQ(pos.SortOrder, 11);
    EXPECT_FALSE(pos.BottomUp || pos.MultiSelect || pos.KeepSelected) << "flag letters are case-sensitive";
    EXPECT_EQ(pos.StopMode, StopSF);
    EXPECT_EQ(pos.StopValue, 0) << "no field 4";
    EXPECT_FALSE(pos.CDLOverride);
    EXPECT_EQ(Write(pos), "TSD11#POS10:5#LNO:#SF:0");

    const TFilterItem empty = Read("   ");
    EXPECT_FALSE(empty.Used);
    EXPECT_EQ(empty.SortOrder, 0);
    EXPECT_EQ(empty.Weights.CoefDeviation, 0.0L);
    EXPECT_EQ(empty.Weights.CoefLevel, 0.0L);
    EXPECT_EQ(Write(empty), "");
}

struct TFilterCase {
    const char* Text;
    const char* Normalised;
};

TEST_F(ScriptModelTest, FilterTextsReadBackNormalised) {
    const TFilterCase cases[] = {
        {"TSD", "TSD1# #LNO:#SF:0"},              // no method field keeps its place
        {"TSDx#NUMS:1", "TSD1#NUMS:1#LNO:#SF:0"}, // sort column not a number
        {"FMB0#nums:1, 2, 3#cmv:1-10;2#sc:7", "BMF0#NUMS:1, 2, 3#CMV:1-10;2#SC:7"},
        {"TSD1#NUMS:10#LLP:40#SZ", "TSD1#NUMS:10#LLP:40#SZ:1"},   // stop value missing
        {"TSD1#NUMS:10#LLP:40#SP:x", "TSD1#NUMS:10#LLP:40#SP:1"}, // not a number
        {"TSD1#NUMS:10#XYZ:40#QQ:3", "TSD1#NUMS:10#LNO:#SF:3"},   // unknown keywords
        {"TSD1#NUMS#LNO", "TSD1#NUMS:#LNO:#SF:0"},
        {"TSD1#ABCD:7#CMV:5#SF:1", "TSD1#ABCD:7#CMV:5#SF:1"}, // unknown method survives
        {"TSD1#NUMS:10#WMV:1#SF:1#1E-6:1,5:x:1:true", "TSD1#NUMS:10#WMV:1#SF:1#0:1.5:0:1:0"},
    };
    for (const TFilterCase& c : cases) {
        SCOPED_TRACE(c.Text);
        const std::string normalised = Write(Read(c.Text));
        EXPECT_EQ(normalised, c.Normalised);
        EXPECT_EQ(Write(Read(normalised)), normalised) << "stable on a second pass";
    }
    const TFilterItem unknown = Read("TSD1#ABCD:7");
    EXPECT_EQ(unknown.Method, -1);
    EXPECT_EQ(unknown.MethodText, "ABCD:7");
    EXPECT_EQ(unknown.DrawsLen, "");
}

TEST_F(ScriptModelTest, FloatsAreWrittenShortAndReadLeniently) {
    const std::pair<long double, const char*> written[] = {
        {0, "0"},
        {1, "1"},
        {-1, "-1"},
        {1.5L, "1.5"},
        {0.1L, "0.1"},
        {-0.125L, "-0.125"},
        {100, "100"},
        {0.0001L, "0.0001"},
        {1e-6L, "1E-6"},
        {1e20L, "1E20"},
        {123456.75L, "123456.75"},
        {2.0L / 3, "0.666666666666667"},
    };
    for (const auto& [value, text] : written)
        EXPECT_EQ(ScriptFloatText(value), text);

    const std::pair<const char*, long double> read[] = {
        {"1.5", 1.5L}, {"1,5", 1.5L}, {"-1", -1}, {" 2 ", 2}, {"1E-6", 0},  {"abc", 0}, {"", 0},
        {"-", 0},      {"1.2.3", 0},  {"--1", 0}, {"1-6", 0}, {".5", 0.5L}, {"x3y", 3},
    };
    for (const auto& [text, value] : read)
        EXPECT_EQ(ReadScriptFloat(text), value) << text;

    for (long double v : {1.5L, -0.125L, 3.14159L, 0.0001L, 12345.678L})
        EXPECT_EQ(ReadScriptFloat(ScriptFloatText(v)), v) << ScriptFloatText(v);
    EXPECT_EQ(ReadScriptFloat(std::string(5000, '9')), 0) << "beyond the range";
}

TEST_F(ScriptModelTest, CaptionsAndKeywordsOutOfRange) {
    EXPECT_STREQ(StartCombsKeyword(1), "EXCL");
    EXPECT_STREQ(StartCombsShortCaption(1), "Исключить %d тиражей");
    EXPECT_STREQ(ResultModeEditorCaption(8), "Не делать ставок (для последовательного выполнения)");
    EXPECT_STREQ(LevelModeKeyword(31), "LVA");
    EXPECT_STREQ(LevelModeCaption(19), "\"Вес\": не менее заданного значения");
    EXPECT_STREQ(StopModeCaption(2), "Пока список не будет пуст и откатить на шаг");
    for (int v : {-1, 100}) {
        EXPECT_STREQ(StartCombsKeyword(v), "# ERROR #");
        EXPECT_STREQ(StartCombsEditorCaption(v), "# ERROR #");
        EXPECT_STREQ(StartCombsShortCaption(v), "# ERROR #");
        EXPECT_STREQ(ResultModeKeyword(v), "# ERROR #");
        EXPECT_STREQ(ResultModeEditorCaption(v), "# ERROR #");
        EXPECT_STREQ(ResultModeShortCaption(v), "# ERROR #");
        EXPECT_STREQ(LevelModeKeyword(v), "# ERROR #");
        EXPECT_STREQ(LevelModeCaption(v), "# ERROR #");
        EXPECT_STREQ(StopModeKeyword(v), "# ERROR #");
        EXPECT_STREQ(StopModeCaption(v), "# ERROR #");
    }
    EXPECT_STREQ(StartCombsKeyword(StartCombsTypeCount), "# ERROR #");
    EXPECT_STREQ(ResultModeShortCaption(ResultCombsModeCount), "# ERROR #");
    EXPECT_STREQ(LevelModeCaption(LevelModeCount), "# ERROR #");
    EXPECT_STREQ(StopModeKeyword(StopModeCount), "# ERROR #");
    TScriptOptions bad;
    bad.StartCombsType = 9;
    EXPECT_EQ(OptionsDisplayText(bad), "# ERROR #; Случайно; Все создаваемые ставки");
}

TEST_F(ScriptModelTest, PartsVariantsAndStakeComments) {
    TFilterRec rec;
    rec[0].Used = true;
    rec[0].Method = R.Index("NUMS");
    rec[0].DrawsLen = 10;
    rec[0].SortOrder = 7; // not shown
    rec[0].LevelMode = 13;
    rec[0].LevelText = "5";
    rec[0].StopValue = 1;
    rec[2].Used = true;
    rec[2].BottomUp = rec[2].MultiSelect = rec[2].KeepSelected = true;
    rec[2].Method = R.Index("POS10");
    rec[2].DrawsLen = 3;
    rec[2].LevelMode = 19;
    rec[2].LevelText = "1, 2";
    rec[2].StopMode = StopSV;
    rec[2].StopValue = 2;
    rec[2].CDLOverride = true;
    rec[2].Weights = {1.5L, -1, 0.25L, true, false};

    EXPECT_EQ(FilterPartText(rec[0], R.List), "TSD#NUMS:10#CMV:5#SF:1");
    EXPECT_EQ(FilterPartText(rec[1], R.List), "");
    EXPECT_EQ(FilterRecText(rec, R.List),
              "TSD#NUMS:10#CMV:5#SF:1 + BMF#POS10:3#WMV:1, 2#SV:2#1.5:-1:0.25:1:0");

    const std::string filters = "FULL#RAND + " + FilterPartText(rec[0], R.List);
    EXPECT_EQ(StakeCommentText(3, 2, "тест", filters), "03.002: тест @ FULL#RAND + TSD#NUMS:10#CMV:5#SF:1");
    EXPECT_EQ(StakeCommentText(12, 0, "", "FULL#RAND"), "12.000: @ FULL#RAND");
    EXPECT_EQ(StakeCommentText(123, 1234, "к", "F"), "123.1234: к @ F");
}

TEST_F(ScriptModelTest, RowCellsShowTheNormalisedLine) {
    const std::string line =
        "excl:2#all#nex|tsd1#nums:10#cmv:5#sf:1| |TSD1#ABCD:7| | | |bmf2#pos10:5|Моя строка";
    const auto cells = ScriptRowCells(line, R.List);
    EXPECT_EQ(cells[0], "Моя строка");
    EXPECT_EQ(cells[1], "Исключить 2 тиражей; Все; Только новые ставки");
    EXPECT_EQ(cells[2], "TSD1#NUMS:10#CMV:5#SF:1");
    EXPECT_EQ(cells[3], "");
    EXPECT_EQ(cells[4], "TSD1#ABCD:7#LNO:#SF:0");
    EXPECT_EQ(cells[8], "TSD2#POS10:5#LNO:#SF:0") << "lower-case flag letters are no flags";

    for (const std::string& cell : ScriptRowCells("   ", R.List))
        EXPECT_EQ(cell, "");
}

} // namespace
} // namespace kumby
