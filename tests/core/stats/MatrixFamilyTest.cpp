// The matrix family: columns and rows of the numbers, the count in each, the filled
// lines as a count and as a mask, adjacent numbers per line, and the columns or rows
// of two to four numbers together, for several column counts.

#include "StatTestSupport.h"
#include "stats/families/VF_Mtxs.h"

namespace kumby::testing {
namespace {

using TCounts = std::map<uint64_t, int64_t>;

class MatrixFamilyTest : public TFamilyTest {
protected:
    void SetCols(int32_t cols) {
        F.Config.MatrixCols = cols;
        F.List.Rebuild();
    }
    std::vector<std::string> GroupCodes() const {
        std::vector<std::string> found;
        for (std::size_t i = 0; i < F.List.Count(); ++i)
            if (F.List.Items(i).StatClass->Group == 4)
                found.push_back(F.List.Items(i).MethodCode());
        return found;
    }
};

// With four columns:      1  2  3  4 /  5  6  7  8 /  9 10 11 12 /
//                        13 14 15 16 / 17 18 19 20 / 21 22 23 24
// Columns 1 and 2 full, drawn with 22 first.
const TCombination Pairs = {22, 1, 2, 5, 6, 9, 10, 13, 14, 17, 18, 21};
// Column 1 in rows 1, 2, 4, 5; column 2 in rows 1, 3, 6; column 3 in rows 2, 3, 4;
// column 4 in rows 5, 6. Rows hold two numbers each; touching in a row: 1-2, 10-11.
const TCombination Gaps = {24, 1, 5, 13, 17, 7, 11, 15, 2, 10, 20, 22};
const TCombination Low = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
const TCombination FirstThreeCols = {1, 2, 3, 5, 6, 7, 9, 10, 11, 13, 14, 15};

TEST_F(MatrixFamilyTest, ValuesOfOneDrawWithFourColumns) {
    struct TCase {
        const char* Code;
        TCombination Numbers;
        TCounts Values; // key -> count, values that occurred
    };
    const TCase cases[] = {
        {"COLS", Pairs, {{Key(1), 6}, {Key(2), 6}}},
        {"COLS", Gaps, {{Key(1), 4}, {Key(2), 3}, {Key(3), 3}, {Key(4), 2}}},
        {"ROWS", Pairs, {{Key(1), 2}, {Key(2), 2}, {Key(3), 2}, {Key(4), 2}, {Key(5), 2}, {Key(6), 2}}},
        {"ROWS", Low, {{Key(1), 4}, {Key(2), 4}, {Key(3), 4}}},
        {"COLV", Pairs, {{Key(1, 6), 1}, {Key(2, 6), 1}, {Key(3, 0), 1}, {Key(4, 0), 1}}},
        {"COLV", Gaps, {{Key(1, 4), 1}, {Key(2, 3), 1}, {Key(3, 3), 1}, {Key(4, 2), 1}}},
        {"ROWV",
         Low,
         {{Key(1, 4), 1}, {Key(2, 4), 1}, {Key(3, 4), 1}, {Key(4, 0), 1}, {Key(5, 0), 1}, {Key(6, 0), 1}}},
        {"COLN", Pairs, {{Key(2), 1}}},
        {"COLN", Gaps, {{Key(4), 1}}},
        {"ROWN", Pairs, {{Key(6), 1}}},
        {"ROWN", Low, {{Key(3), 1}}},
        {"COLM", Pairs, {{Key(12), 1}}},          // 1100
        {"COLM", FirstThreeCols, {{Key(14), 1}}}, // 1110
        {"ROWM", Pairs, {{Key(63), 1}}},          // 111111
        {"ROWM", Low, {{Key(56), 1}}},            // 111000
        {"COLA", Pairs, {{Key(1, 6), 1}, {Key(2, 6), 1}}},
        {"COLA", Gaps, {{Key(4, 2), 1}, {Key(1, 3), 1}, {Key(3, 3), 1}}},
        {"ROWA",
         Pairs,
         {{Key(1, 2), 1}, {Key(2, 2), 1}, {Key(3, 2), 1}, {Key(4, 2), 1}, {Key(5, 2), 1}, {Key(6, 2), 1}}},
        {"ROWA", Gaps, {{Key(1, 2), 1}, {Key(3, 2), 1}}},
        {"ROWA", Low, {{Key(1, 4), 1}, {Key(2, 4), 1}, {Key(3, 4), 1}}},
        {"COLC", Pairs, {{Key(2), 1}}},
        {"COLC", Gaps, {{Key(3), 1}}},
        {"ROWC", Pairs, {{Key(6), 1}}},
        {"ROWC", Gaps, {{Key(2), 1}}},
        {"COL1", Gaps, {{Key(4), 1}}},
        {"COL4", Pairs, {{Key(0), 1}}},
        {"ROW6", Gaps, {{Key(2), 1}}},
        {"ROW4", Low, {{Key(0), 1}}},
        // Columns 4 1 1 1 1 3 3 3 2 2 4 2, rows 6 1 2 4 5 2 3 4 1 3 5 6.
        {"KFS2",
         Gaps,
         {{Key(4, 1), 1},
          {Key(1, 1), 3},
          {Key(1, 3), 1},
          {Key(3, 3), 2},
          {Key(3, 2), 1},
          {Key(2, 2), 1},
          {Key(2, 4), 1},
          {Key(4, 2), 1}}},
        {"KRS3",
         Gaps,
         {{Key(6, 1, 2), 1},
          {Key(1, 2, 4), 1},
          {Key(2, 4, 5), 1},
          {Key(4, 5, 2), 1},
          {Key(5, 2, 3), 1},
          {Key(2, 3, 4), 1},
          {Key(3, 4, 1), 1},
          {Key(4, 1, 3), 1},
          {Key(1, 3, 5), 1},
          {Key(3, 5, 6), 1}}},
        // Columns 1 2 3 4 1 2 3 4 1 2 3 4: a lower column comes first six times out of nine.
        {"KFM2",
         Low,
         {{Key(1, 1), 3},
          {Key(2, 2), 3},
          {Key(3, 3), 3},
          {Key(4, 4), 3},
          {Key(1, 2), 6},
          {Key(2, 1), 3},
          {Key(1, 3), 6},
          {Key(3, 1), 3},
          {Key(1, 4), 6},
          {Key(4, 1), 3},
          {Key(2, 3), 6},
          {Key(3, 2), 3},
          {Key(2, 4), 6},
          {Key(4, 2), 3},
          {Key(3, 4), 6},
          {Key(4, 3), 3}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Code) + " " + CombToText(c.Numbers));
        const TStatDrawArray stat = OneDraw(c.Code, c.Numbers);
        EXPECT_EQ(CountsByKey(stat, true), c.Values);
        for (const TStatEntry& e : stat)
            if (e.Count != 0) {
                EXPECT_EQ(e.Depth, 1);
                EXPECT_EQ(e.PeriodMin | e.PeriodMax, 0) << "a value met twice in one draw is no period";
            }
        // The same numbers sorted, as a draw and as a combination: the values of a
        // line do not depend on the order, only the tuples do.
        auto method = F.Create(c.Code);
        TCombination ascending = c.Numbers;
        std::sort(ascending.begin(), ascending.end());
        if (!method->Info().HasPrefetch()) {
            EXPECT_TRUE(CombinationValues(*method, ascending).empty());
            continue;
        }
        EXPECT_EQ(CountsByKey(OneDraw(c.Code, c.Numbers, true), true), c.Values);
        EXPECT_EQ(CountsByKey(CombinationValues(*method, ascending), false), c.Values);
    }
}

// Lines are listed ascending beforehand; adjacent lines in the order their first
// touching pair is met, pairs of positions with the first one outermost.
TEST_F(MatrixFamilyTest, OrderOfFirstAppearance) {
    EXPECT_EQ(KeysInOrder(OneDraw("COLS", Gaps)), (std::vector<uint64_t>{Key(1), Key(2), Key(3), Key(4)}));
    EXPECT_EQ(KeysInOrder(OneDraw("COLA", Gaps)), (std::vector<uint64_t>{Key(4, 2), Key(1, 3), Key(3, 3)}));
    EXPECT_EQ(KeysInOrder(OneDraw("COLA", Pairs)), (std::vector<uint64_t>{Key(2, 6), Key(1, 6)}));
    EXPECT_EQ(KeysInOrder(OneDraw("COLA", Pairs, true)), (std::vector<uint64_t>{Key(1, 6), Key(2, 6)}));
    EXPECT_EQ(KeysInOrder(OneDraw("ROWA", Pairs)),
              (std::vector<uint64_t>{Key(6, 2), Key(1, 2), Key(2, 2), Key(3, 2), Key(4, 2), Key(5, 2)}));
    for (const auto& [code, count] : std::vector<std::pair<const char*, int64_t>>{
             {"KFM2", 66}, {"KFM3", 220}, {"KRM4", 495}, {"KFS2", 11}, {"KRS3", 10}, {"KFS4", 9}}) {
        int64_t total = 0;
        for (const TStatEntry& e : OneDraw(code, Gaps))
            total += e.Count;
        EXPECT_EQ(total, count) << code;
    }
}

TEST_F(MatrixFamilyTest, OtherColumnCounts) {
    // With five columns: rows 1-5, 6-10, 11-15, 16-20, 21-24; touching in rows 4-5,
    // 6-7, 12-13-14, 19-20, 21-22; in columns 7-12, 14-19-24.
    const TCombination Fives = {4, 5, 6, 7, 12, 13, 14, 19, 20, 21, 22, 24};
    struct TCase {
        int32_t Cols;
        const char* Code;
        TCombination Numbers;
        TCounts Values;
    };
    const TCase cases[] = {
        // One column of 24 rows: every number touches its neighbour number.
        {1, "COLS", Gaps, {{Key(1), 12}}},
        {1, "COLM", Gaps, {{Key(1), 1}}},
        {1, "COLA", Low, {{Key(1, 12), 1}}},
        {1, "COLA", Gaps, {{Key(1, 3), 1}}}, // 1-2, 10-11
        {1, "COLC", Low, {{Key(1), 1}}},
        {1, "ROWN", Gaps, {{Key(12), 1}}},
        {1, "ROWM", Low, {{Key(0xF000, 0xFF), 1}}}, // 24 bits, rows 1..12 set
        // One row of 24 columns: touching in the row means consecutive numbers.
        {24, "ROWN", Gaps, {{Key(1), 1}}},
        {24, "ROWA", Low, {{Key(1, 12), 1}}},
        {24, "ROWA", Gaps, {{Key(1, 3), 1}}}, // 1-2, 10-11
        {24, "ROWC", Gaps, {{Key(1), 1}}},
        {24, "COLA", Low, {}},
        {24, "COLM", Low, {{Key(0xF000, 0xFF), 1}}},
        {24, "COLN", Low, {{Key(12), 1}}},
        // Five columns: the last row holds 21..24 only; 5 and 6 do not touch.
        {5, "ROW5", {13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}, {{Key(4), 1}}},
        {5, "COL5", Low, {{Key(2), 1}}},
        {5, "ROWA", Fives, {{Key(1, 2), 1}, {Key(2, 2), 1}, {Key(3, 3), 1}, {Key(4, 2), 1}, {Key(5, 2), 1}}},
        {5, "COLA", Fives, {{Key(2, 2), 1}, {Key(4, 3), 1}}},
        {5, "ROWM", Low, {{Key(28), 1}}}, // 11100
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Code) + " with " + std::to_string(c.Cols) + " columns");
        SetCols(c.Cols);
        EXPECT_EQ(CountsByKey(OneDraw(c.Code, c.Numbers), true), c.Values);
    }
}

TEST_F(MatrixFamilyTest, ListedValuesAndTextsFollowTheColumns) {
    struct TCase {
        int32_t Cols;
        const char* Code;
        std::vector<std::string> Listed; // texts of the values listed before any draw
    };
    const TCase cases[] = {
        {4, "COLS", {"1", "2", "3", "4"}},
        {4, "ROWS", {"1", "2", "3", "4", "5", "6"}},
        {4, "COLN", {"1", "2", "3", "4"}},
        {4, "ROWN", {"1", "2", "3", "4", "5", "6"}},
        {1, "ROWN", {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"}},
        {4, "COL2", {"1", "2", "3", "4", "5", "6"}}, // a column holds at most six
        {4, "ROW2", {"1", "2", "3", "4"}},
        {5, "ROW5", {"1", "2", "3", "4", "5"}},
        {4, "COLM", {}},
        {4, "COLA", {}},
        {4, "COLC", {}},
        {4, "KFM2", {}},
        {0, "COLS", {}},
        {0, "ROWV", {}},
        {-1, "COLN", {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Code) + " with " + std::to_string(c.Cols) + " columns");
        SetCols(c.Cols);
        TStatDrawArray listed;
        F.Create(c.Code)->SeedValues(-1, listed);
        EXPECT_EQ(Texts(c.Code, listed), c.Listed);
        for (const TStatEntry& e : listed)
            EXPECT_EQ(e.Count | e.Depth | e.Draw, 0);
    }

    SetCols(4);
    TStatDrawArray colv;
    F.Create("COLV")->SeedValues(-1, colv);
    ASSERT_EQ(colv.size(), 4u * 7) << "counts 0..6 per column";
    EXPECT_EQ(Texts("COLV", colv)[9], "2 x 2");
    TStatDrawArray rowv;
    F.Create("ROWV")->SeedValues(-1, rowv);
    ASSERT_EQ(rowv.size(), 6u * 5) << "counts 0..4 per row";
    EXPECT_EQ(Texts("ROWV", rowv).back(), "6 x 4");
    SetCols(13);
    rowv.clear();
    F.Create("ROWV")->SeedValues(-1, rowv);
    EXPECT_EQ(rowv.size(), 2u * 13) << "a row holds at most the 12 numbers";
}

TEST_F(MatrixFamilyTest, RowTextsAndParsing) {
    struct TCase {
        int32_t Cols;
        const char* Code;
        TStatEntry Value;
        const char* Text;
        int32_t Numeric; // NumericValue of the text
    };
    const TCase cases[] = {
        {4, "COLM", Keys(11), "1011 (011)", 11},
        {4, "COLM", Keys(12), "1100 (012)", 12},
        {4, "ROWM", Keys(63), "111111 (063)", 63},
        {4, "ROWM", Keys(5), "000101 (005)", 5},
        {3, "ROWM", Keys(129), "10000001 (129)", 129},
        {1, "COLM", Keys(1), "1 (001)", 1},
        {1, "ROWM", Keys(0xF000, 0xFF), "111111111111000000000000 (16773120)", 16773120},
        {4, "COLV", Keys(3, 2), "3 x 2", 0},
        {4, "ROWV", Keys(6, 0), "6 x 0", 0},
        {4, "COLA", Keys(1, 6), "1 x 6", 0},
        {4, "ROWA", Keys(3, 2), "3 x 2", 0},
        {4, "COLS", Keys(3), "3", 3},
        {4, "ROWC", Keys(6), "6", 6},
        {4, "COL3", Keys(0), "0", 0},
        {4, "KFM3", Keys(1, 4, 4), "1:4:4", 0},
        {4, "KRS4", Keys(6, 5, 1, 2), "6:5:1:2", 0},
        {4, "KFS2", Keys(2, 1), "2:1", 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Code) + " " + c.Text);
        SetCols(c.Cols);
        auto method = F.Create(c.Code);
        EXPECT_EQ(method->ValueText(c.Value), c.Text);
        EXPECT_EQ(method->NumericValue(c.Text), c.Numeric);
    }
    // A mask reads one character per line, "1" a set bit, missing ones clear.
    SetCols(4);
    auto rowm = F.Create("ROWM");
    for (const auto& [text, mask] : std::vector<std::pair<const char*, int32_t>>{
             {"101", 40}, {"1x1111", 47}, {"", 0}, {"1111111", 63}, {"011111 (063)", 31}})
        EXPECT_EQ(rowm->ParseValue(text), mask) << text;
    EXPECT_EQ(F.Create("COLM")->ParseValue("111111"), 15);
}

TEST_F(MatrixFamilyTest, RegisteredMethodsFollowTheColumns) {
    const std::vector<std::string> fixed = {"COLS", "ROWS", "COLV", "ROWV", "COLN", "ROWN", "COLM", "ROWM",
                                            "COLA", "ROWA", "COLC", "ROWC", "KFM2", "KFM3", "KFM4", "KFS2",
                                            "KFS3", "KFS4", "KRM2", "KRM3", "KRM4", "KRS2", "KRS3", "KRS4"};
    struct TCase {
        int32_t Cols;
        int Columns, Rows;
    };
    for (const TCase c : {TCase{4, 4, 6}, TCase{5, 5, 5}, TCase{1, 1, 24}, TCase{24, 24, 1}, TCase{7, 7, 4},
                          TCase{0, 0, 0}, TCase{-3, 0, 0}, TCase{40, 24, 1}}) {
        SCOPED_TRACE(c.Cols);
        SetCols(c.Cols);
        std::vector<std::string> expected = fixed;
        for (int p = 1; p <= c.Columns; ++p)
            expected.push_back("COL" + std::to_string(p));
        for (int p = 1; p <= c.Rows; ++p)
            expected.push_back("ROW" + std::to_string(p));
        EXPECT_EQ(GroupCodes(), expected);
    }
    SetCols(4);
    const auto row5 = static_cast<std::size_t>(F.List.FindByCode("ROW5"));
    EXPECT_EQ(F.List.Items(row5).MethodCaption(), "Количество чисел в 5 строке матрицы");
    EXPECT_EQ(F.List.Items(row5).StatClass->HelpCodeFor(5), "ROWx");
    EXPECT_EQ(F.List.DisplayName(row5, true), "{ mtx } Количество чисел в 5 строке матрицы [ NG ]");
    EXPECT_EQ(F.List.DisplayName(static_cast<std::size_t>(F.List.FindByCode("KRM3")), true),
              "{ mtx } Сочетания из 3 строк по всем числам тиража [ S ]");
    EXPECT_EQ(F.List.DisplayName(static_cast<std::size_t>(F.List.FindByCode("COLM")), true),
              "{ mtx } Сочетания столбцов матрицы [ N ]");
    EXPECT_EQ(F.List.Items(static_cast<std::size_t>(F.List.FindByCode("COL1"))).StatClass->HelpCodeFor(1),
              "COLx");
}

// A column count of 0 (only a hand-made configuration has one) lists nothing,
// divides by nothing and still answers.
TEST_F(MatrixFamilyTest, NoColumnsIsHarmless) {
    SetCols(0);
    for (const char* code : {"COLS", "ROWS", "COLV", "ROWV", "COLN", "ROWN", "COLM", "ROWM", "COLA", "ROWA",
                             "COLC", "ROWC", "KFM4", "KRS2"}) {
        SCOPED_TRACE(code);
        auto method = F.Create(code);
        const TStatDrawArray stat = OneDraw(code, Gaps);
        for (const TStatEntry& e : stat)
            method->ValueText(e);
        method->LoadDraws(-1, F.LastIdx(), false);
        if (!stat.empty()) {
            EXPECT_TRUE(method->Matches(Low, stat, F.LastIdx(), false, false));
        }
        CombinationValues(*method, Low);
    }
    EXPECT_TRUE(OneDraw("COLV", Gaps).empty());
    EXPECT_TRUE(OneDraw("COLA", Low).empty());
}

TEST_F(MatrixFamilyTest, MatchesTheSelectedValues) {
    struct TCase {
        const char* Code;
        std::vector<TStatEntry> Selected;
        TCombination Comb;
        bool Match;
    };
    const TCase cases[] = {
        {"COLS", {Keys(4)}, Low, true},
        {"COLS", {Keys(4)}, FirstThreeCols, false},
        {"ROWS", {Keys(6)}, Low, false},
        {"COLV", {Keys(1, 3)}, Low, true},
        {"COLV", {Keys(1, 4)}, Low, false},
        {"COLV", {Keys(4, 0)}, FirstThreeCols, true}, // an empty column is a value too
        {"COLV", {Keys(4, 0)}, Low, false},
        {"ROWV", {Keys(2, 2)}, Gaps, true},
        {"COLN", {Keys(3)}, FirstThreeCols, true},
        {"COLN", {Keys(4), Keys(2)}, FirstThreeCols, false},
        {"ROWN", {Keys(4)}, FirstThreeCols, true},
        {"COLM", {Keys(12)}, Pairs, true},
        {"COLM", {Keys(14)}, Pairs, false},
        {"COLM", {Keys(12, 1)}, Pairs, false}, // the whole 32-bit mask counts
        {"ROWM", {Keys(56)}, Low, true},
        {"COLA", {Keys(1, 6)}, Pairs, true},
        {"COLA", {Keys(1, 5)}, Pairs, false},
        {"COLA", {Keys(1, 6, 1)}, Pairs, false},
        {"COLA", {Keys(4, 2), Keys(9, 9)}, Gaps, true},
        {"ROWA", {Keys(3, 2)}, Gaps, true},
        {"ROWA", {Keys(2, 2)}, Gaps, false},
        {"ROWA", {}, Gaps, false},
        {"COLC", {Keys(3)}, Gaps, true},
        {"COLC", {Keys(2)}, Gaps, false},
        {"ROWC", {Keys(2)}, Gaps, true},
        {"COL1", {Keys(4)}, Gaps, true},
        {"COL1", {Keys(3)}, Gaps, false},
        {"ROW6", {Keys(0)}, Low, true},
        {"KFM2", {Keys(4, 1)}, Gaps, true},
        {"KFM2", {Keys(1, 4)}, Gaps, true},  // 1 at position 2, 4 at position 11
        {"KFM2", {Keys(3, 1)}, Gaps, false}, // no 1 after a 3
        {"KFS2", {Keys(1, 3)}, Gaps, true},
        {"KFS2", {Keys(1, 4)}, Gaps, false},
        {"KRS3", {Keys(4, 1, 3)}, Gaps, true},
        {"KRS3", {Keys(6, 1, 3)}, Gaps, false},
        {"KRM4", {Keys(6, 6, 6, 6)}, Gaps, false},
        {"KRM4", {Keys(1, 1, 1, 1)}, Low, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Code);
        auto method = F.Create(c.Code);
        method->LoadDraws(-1, F.LastIdx(), false);
        const TStatDrawArray selected(c.Selected.begin(), c.Selected.end());
        EXPECT_EQ(method->Matches(c.Comb, selected, F.LastIdx(), false, false), c.Match);
        const TSelectionScope scope(selected);
        EXPECT_EQ(method->Matches(c.Comb, selected, F.LastIdx(), false, true), c.Match) << "with the lookups";
    }
}

// Draws 1, 2 and 5 (3 and 4 are missing), in drawn order. Gaps are measured in draw
// numbers.
TEST_F(MatrixFamilyTest, TableOverAFewDrawsWorkedOutByHand) {
    F.Draws = {DrawOf(1, Pairs), DrawOf(2, Gaps), DrawOf(5, Pairs)};
    struct TRow {
        const char* Code;
        uint64_t Key;
        int32_t Count, Draw, Depth;
        uint16_t PeriodMin, PeriodMax;
    };
    const TRow rows[] = {
        {"COLS", Key(1), 16, 5, 1, 1, 3},   {"COLS", Key(3), 3, 2, 2, 0, 0},
        {"COLV", Key(3, 0), 2, 5, 1, 4, 4}, {"COLV", Key(1, 4), 1, 2, 2, 0, 0},
        {"COLV", Key(2, 5), 0, 0, 0, 0, 0}, {"COLN", Key(2), 2, 5, 1, 4, 4},
        {"COLN", Key(4), 1, 2, 2, 0, 0},    {"COLN", Key(1), 0, 0, 0, 0, 0},
        {"COLM", Key(12), 2, 5, 1, 4, 4},   {"ROWM", Key(63), 3, 5, 1, 1, 3},
        {"COLA", Key(1, 6), 2, 5, 1, 4, 4}, {"COLA", Key(4, 2), 1, 2, 2, 0, 0},
        {"ROWA", Key(1, 2), 3, 5, 1, 1, 3}, {"ROWA", Key(2, 2), 2, 5, 1, 4, 4},
        {"ROWC", Key(6), 2, 5, 1, 4, 4},    {"ROWC", Key(2), 1, 2, 2, 0, 0},
        {"ROW6", Key(2), 3, 5, 1, 1, 3},    {"COL4", Key(0), 2, 5, 1, 4, 4},
        {"KRS2", Key(6, 1), 3, 5, 1, 1, 3}, {"KRS2", Key(1, 1), 2, 5, 1, 4, 4},
    };
    for (const TRow& r : rows) {
        SCOPED_TRACE(std::string(r.Code) + " " + std::to_string(r.Key));
        const TStatDrawArray stat = EvaluateWindow(*F.Create(r.Code), 0, 2, false);
        const TStatEntry k = KeyEntry(r.Key);
        const TStatEntry* e = FindKey(stat, k.Key1, k.Key2, k.Key3, k.Key4);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->Count, r.Count);
        EXPECT_EQ(e->Draw, r.Draw);
        EXPECT_EQ(e->Depth, r.Depth);
        EXPECT_EQ(e->PeriodMin, r.PeriodMin);
        EXPECT_EQ(e->PeriodMax, r.PeriodMax);
    }
    EXPECT_EQ(F.Create("KFS2")->FindNextOccurrence(Keys(4, 1), 0, 2, false), 2);
    EXPECT_EQ(F.Create("KFS2")->FindNextOccurrence(Keys(4, 4), 0, 2, false), -1);
    EXPECT_EQ(F.Create("COLA")->FindNextOccurrence(Keys(1, 6), 1, 2, false), 5);
}

} // namespace
} // namespace kumby::testing
