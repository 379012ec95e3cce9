#pragma once

// Matrix family: the numbers 1..24 laid out row by row in the configured number of
// columns; which columns and rows a draw fills, how many numbers fall into each,
// which sets of them are filled, where drawn numbers touch, and the columns or rows
// of two to four numbers together. Every method comes as a column and a row twin.

#include "stats/SingleValueStat.h"
#include "stats/TupleStat.h"

#include <array>
#include <span>
#include <string>
#include <vector>

namespace kumby {

enum class TMatrixAxis : uint8_t { Columns, Rows };

// The matrix of the settings, fixed when the method is created. Columns above 24
// hold no number and are cut to 24; below 1 (only a hand-made configuration has
// that) the matrix has no column and no row and every number lies in line 0, so
// nothing divides by the column count.
template <class Kind> class TMatrixKind : public Kind {
public:
    TMatrixKind(const TStatList& list, int32_t param);

    int Cols() const { return Cols_; }
    int Rows() const { return Rows_; }
    // How many lines of the axis the matrix has, and the line a number stands in.
    int LineCount(TMatrixAxis axis) const { return axis == TMatrixAxis::Columns ? Cols_ : Rows_; }
    uint8_t LineOf(TMatrixAxis axis, uint8_t number) const {
        return axis == TMatrixAxis::Columns ? Column_[number] : Row_[number];
    }
    // Lines 1..LineCount(axis).
    std::span<const uint8_t> Lines(TMatrixAxis axis) const {
        return {Listed_.data(), static_cast<std::size_t>(LineCount(axis))};
    }
    // The numbers of a line as bits (number n at bit n - 1); 0 for line 0.
    uint32_t LineMask(TMatrixAxis axis, uint8_t line) const {
        return axis == TMatrixAxis::Columns ? ColumnMask_[line] : RowMask_[line];
    }
    // Of the numbers in `set` (as above), those whose neighbour within their line of
    // the axis (the next row for a column, the next column for a row) is in `set` too.
    uint32_t Touching(TMatrixAxis axis, uint32_t set) const {
        return axis == TMatrixAxis::Columns ? set & set >> Cols_ & Below_ : set & set >> 1 & LeftOfNext_;
    }

protected:
    uint8_t Cols_ = 0;
    uint8_t Rows_ = 0;
    std::array<uint8_t, 256> Column_{}; // of every byte a number can be; 0 outside 1..24
    std::array<uint8_t, 256> Row_{};
    std::array<uint8_t, MaxNumber> Listed_{};
    std::array<uint32_t, MaxNumber + 1> ColumnMask_{};
    std::array<uint32_t, MaxNumber + 1> RowMask_{};
    uint32_t Below_ = 0;      // numbers with a number below them in the matrix
    uint32_t LeftOfNext_ = 0; // numbers with a number right of them in their row
};

class TCustomMatrixStat : public TMatrixKind<TCustomNumbersStat> {
public:
    using TMatrixKind::TMatrixKind;
};

class TCustomMatrixGraphStat : public TMatrixKind<TCustomGraphStat> {
public:
    using TMatrixKind::TMatrixKind;
};

// The line of every number (COLS, ROWS).
template <class Self, TMatrixAxis Axis>
class TMatrixLinesStat : public TPerElementStat<Self, TCustomMatrixStat> {
public:
    using TPerElementStat<Self, TCustomMatrixStat>::TPerElementStat;
    void SeedValues(int lastIdx, TStatDrawArray& stat) override;
    uint16_t ElementOf(uint8_t number) const { return this->LineOf(Axis, number); }
};

// Every line with how many of the numbers it holds, empty ones included (COLV, ROWV).
template <class Self, TMatrixAxis Axis>
class TMatrixLineValuesStat : public TPerElementStat<Self, TCustomMatrixStat> {
public:
    using TPerElementStat<Self, TCustomMatrixStat>::TPerElementStat;
    static constexpr bool CountInKey2 = true;
    static constexpr bool ListEveryElement = true;
    void SeedValues(int lastIdx, TStatDrawArray& stat) override;
    std::string ValueText(const TStatEntry& e) const override;
    uint16_t ElementOf(uint8_t number) const { return this->LineOf(Axis, number); }
    std::span<const uint8_t> ListedElements() const { return this->Lines(Axis); }
};

// How many distinct lines the numbers fill (COLN, ROWN).
template <class Self, TMatrixAxis Axis>
class TMatrixLineCountStat : public TSingleValueStat<Self, TCustomMatrixGraphStat> {
public:
    using TSingleValueStat<Self, TCustomMatrixGraphStat>::TSingleValueStat;
    void SeedValues(int lastIdx, TStatDrawArray& stat) override;
    int32_t ValueOf(const uint8_t* numbers) const;
};

// The filled lines as a bit string, line 1 the most significant bit (COLM, ROWM).
template <class Self, TMatrixAxis Axis>
class TMatrixLineMaskStat : public TSingleValueStat<Self, TCustomMatrixStat> {
public:
    using TSingleValueStat<Self, TCustomMatrixStat>::TSingleValueStat;
    static constexpr TValueMatch MatchBy = TValueMatch::KeyHalf;
    // "1011 (011)": one character per line, then the mask in decimal.
    std::string ValueText(const TStatEntry& e) const override;
    // One character per line, "1" a set bit: reads the text above back.
    int32_t ParseValue(std::string_view text) const override;
    int32_t ValueOf(const uint8_t* numbers) const;
};

// Numbers that touch across a line of the other axis: vertically within a column,
// horizontally within a row. Per line with such pairs, how many pairs it holds,
// lines in the order their first pair is met over the pairs of positions.
struct TAdjacentLines {
    int Count = 0;            // lines with a pair
    uint8_t Line[MaxNumber];  // in order of the first pair
    uint8_t Pairs[MaxNumber]; // pairs in that line
};

// Value (line, pairs + 1) per line with adjacent numbers (COLA, ROWA).
template <class Self, TMatrixAxis Axis> class TMatrixAdjacentStat : public TCustomMatrixStat {
public:
    using TCustomMatrixStat::TCustomMatrixStat;
    void AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat, TRunState& runState,
                 TLastValueArray& lastValues) override;
    void AddCombination(const TCombination& comb, TStatDrawArray& stat) override;
    // Values counted per (line, pairs + 1) and merged once each, in first-met order.
    void AddCombinations(std::span<const TCombination> combs, TStatDrawArray& stat) override;
    bool Matches(const TCombination& comb, const TStatDrawArray& selected, int lastIdx, bool sorted,
                 bool exclude) override;
    std::size_t KeepMatching(std::span<const TCombination> in, TCombination* out,
                             const TStatDrawArray& selected, int lastIdx, bool sorted,
                             bool exclude) override {
        return KeepMatchingStatic(*this, in, out, selected, lastIdx, sorted, exclude);
    }
    std::string ValueText(const TStatEntry& e) const override;

private:
    void MergeLines(const uint8_t* numbers, TStatDrawArray& stat, bool trackPeriods);
    // Per byte of the touching numbers, the pairs of every line, four bits to a line
    // from line 1 up (pairs in a line are at most 11); made on first use. Null for
    // more than 16 lines.
    const TByteTable<uint64_t>* LinePairTable();

    TSelectionWatch Watch_;
    std::vector<TByteTable<uint64_t>> LinePairs_; // see LinePairTable
    // Per line: bit p when (line, p) is selected; p is at least 2 in any value.
    std::array<uint32_t, MaxNumber + 1> PairHits_{};
};

// How many lines hold adjacent numbers (COLC, ROWC).
template <class Self, TMatrixAxis Axis>
class TMatrixAdjacentCountStat : public TSingleValueStat<Self, TCustomMatrixGraphStat> {
public:
    TMatrixAdjacentCountStat(const TStatList& list, int32_t param);
    int32_t ValueOf(const uint8_t* numbers) const;

private:
    TByteTable<uint32_t> Lines_{}; // per byte of a number set: the lines of its numbers, bit = line
};

// How many of the numbers stand in line Param (COL%d, ROW%d).
template <class Self, TMatrixAxis Axis>
class TMatrixLineValCntStat : public TSingleValueStat<Self, TCustomMatrixGraphStat> {
public:
    using TSingleValueStat<Self, TCustomMatrixGraphStat>::TSingleValueStat;
    // A column holds at most a row count of numbers, a row at most a column count.
    void SeedValues(int lastIdx, TStatDrawArray& stat) override;
    int32_t ValueOf(const uint8_t* numbers) const;
};

// The lines of K numbers: of every choice of K positions (Mix) or of K adjacent
// positions (Seq).
template <int K, TTupleForm Form, TMatrixAxis Axis>
class TCustomMatrixTupleStat
    : public TElementTupleStat<TCustomMatrixTupleStat<K, Form, Axis>, TCustomMatrixStat, K, Form> {
public:
    using TElementTupleStat<TCustomMatrixTupleStat<K, Form, Axis>, TCustomMatrixStat, K,
                            Form>::TElementTupleStat;
    // Rows rise with the numbers; columns start over in every row.
    static constexpr bool ItemsRise = Axis == TMatrixAxis::Rows;
    uint8_t ElementOf(uint8_t number) const { return this->LineOf(Axis, number); }
};

class TstColumns : public TMatrixLinesStat<TstColumns, TMatrixAxis::Columns> {
public:
    using TMatrixLinesStat::TMatrixLinesStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstRows : public TMatrixLinesStat<TstRows, TMatrixAxis::Rows> {
public:
    using TMatrixLinesStat::TMatrixLinesStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstColValues : public TMatrixLineValuesStat<TstColValues, TMatrixAxis::Columns> {
public:
    using TMatrixLineValuesStat::TMatrixLineValuesStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstRowValues : public TMatrixLineValuesStat<TstRowValues, TMatrixAxis::Rows> {
public:
    using TMatrixLineValuesStat::TMatrixLineValuesStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstColCount : public TMatrixLineCountStat<TstColCount, TMatrixAxis::Columns> {
public:
    using TMatrixLineCountStat::TMatrixLineCountStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstRowCount : public TMatrixLineCountStat<TstRowCount, TMatrixAxis::Rows> {
public:
    using TMatrixLineCountStat::TMatrixLineCountStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstColMask : public TMatrixLineMaskStat<TstColMask, TMatrixAxis::Columns> {
public:
    using TMatrixLineMaskStat::TMatrixLineMaskStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstRowMask : public TMatrixLineMaskStat<TstRowMask, TMatrixAxis::Rows> {
public:
    using TMatrixLineMaskStat::TMatrixLineMaskStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstColAjacent : public TMatrixAdjacentStat<TstColAjacent, TMatrixAxis::Columns> {
public:
    using TMatrixAdjacentStat::TMatrixAdjacentStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstRowAjacent : public TMatrixAdjacentStat<TstRowAjacent, TMatrixAxis::Rows> {
public:
    using TMatrixAdjacentStat::TMatrixAdjacentStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstColAjacentCnt : public TMatrixAdjacentCountStat<TstColAjacentCnt, TMatrixAxis::Columns> {
public:
    using TMatrixAdjacentCountStat::TMatrixAdjacentCountStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstRowAjacentCnt : public TMatrixAdjacentCountStat<TstRowAjacentCnt, TMatrixAxis::Rows> {
public:
    using TMatrixAdjacentCountStat::TMatrixAdjacentCountStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstColValCnt : public TMatrixLineValCntStat<TstColValCnt, TMatrixAxis::Columns> {
public:
    using TMatrixLineValCntStat::TMatrixLineValCntStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstRowValCnt : public TMatrixLineValCntStat<TstRowValCnt, TMatrixAxis::Rows> {
public:
    using TMatrixLineValCntStat::TMatrixLineValCntStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstCombColMix2 : public TCustomMatrixTupleStat<2, TTupleForm::Subsets, TMatrixAxis::Columns> {
public:
    using TCustomMatrixTupleStat::TCustomMatrixTupleStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstCombColMix3 : public TCustomMatrixTupleStat<3, TTupleForm::Subsets, TMatrixAxis::Columns> {
public:
    using TCustomMatrixTupleStat::TCustomMatrixTupleStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstCombColMix4 : public TCustomMatrixTupleStat<4, TTupleForm::Subsets, TMatrixAxis::Columns> {
public:
    using TCustomMatrixTupleStat::TCustomMatrixTupleStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstCombColSeq2 : public TCustomMatrixTupleStat<2, TTupleForm::Runs, TMatrixAxis::Columns> {
public:
    using TCustomMatrixTupleStat::TCustomMatrixTupleStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstCombColSeq3 : public TCustomMatrixTupleStat<3, TTupleForm::Runs, TMatrixAxis::Columns> {
public:
    using TCustomMatrixTupleStat::TCustomMatrixTupleStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstCombColSeq4 : public TCustomMatrixTupleStat<4, TTupleForm::Runs, TMatrixAxis::Columns> {
public:
    using TCustomMatrixTupleStat::TCustomMatrixTupleStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstCombRowMix2 : public TCustomMatrixTupleStat<2, TTupleForm::Subsets, TMatrixAxis::Rows> {
public:
    using TCustomMatrixTupleStat::TCustomMatrixTupleStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstCombRowMix3 : public TCustomMatrixTupleStat<3, TTupleForm::Subsets, TMatrixAxis::Rows> {
public:
    using TCustomMatrixTupleStat::TCustomMatrixTupleStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstCombRowMix4 : public TCustomMatrixTupleStat<4, TTupleForm::Subsets, TMatrixAxis::Rows> {
public:
    using TCustomMatrixTupleStat::TCustomMatrixTupleStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstCombRowSeq2 : public TCustomMatrixTupleStat<2, TTupleForm::Runs, TMatrixAxis::Rows> {
public:
    using TCustomMatrixTupleStat::TCustomMatrixTupleStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstCombRowSeq3 : public TCustomMatrixTupleStat<3, TTupleForm::Runs, TMatrixAxis::Rows> {
public:
    using TCustomMatrixTupleStat::TCustomMatrixTupleStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

class TstCombRowSeq4 : public TCustomMatrixTupleStat<4, TTupleForm::Runs, TMatrixAxis::Rows> {
public:
    using TCustomMatrixTupleStat::TCustomMatrixTupleStat;
    static const TStatClassInfo ClassInfo;
    const TStatClassInfo& Info() const override { return ClassInfo; }
};

} // namespace kumby
