#include "VF_Mtxs.h"

#include "model/VexoUtils.h"
#include "stats/StatList.h"

#include <algorithm>
#include <bit>
#include <functional>

namespace kumby {

namespace {

template <typename T> std::unique_ptr<TCustomStat> Make(const TStatList& list, int32_t param) {
    return std::make_unique<T>(list, param);
}

// The column count of the settings within 0..24; 0 stands for no matrix.
int MatrixColsOf(const TStatList& list) {
    return std::clamp<int32_t>(list.Config().MatrixCols, 0, MaxNumber);
}

// Columns 1..C; none for a column count of 0 or less.
void ColumnRange(const TStatList& list, int32_t& min, int32_t& max) {
    const int cols = MatrixColsOf(list);
    min = cols == 0 ? 0 : 1;
    max = cols == 0 ? -1 : cols;
}

// Rows 1..ceil(24 / C); none for a column count of 0 or less.
void RowRange(const TStatList& list, int32_t& min, int32_t& max) {
    const int cols = MatrixColsOf(list);
    min = cols == 0 ? 0 : 1;
    max = cols == 0 ? -1 : GroupCount(1, MaxNumber, cols);
}

constexpr TMatrixAxis Other(TMatrixAxis axis) {
    return axis == TMatrixAxis::Columns ? TMatrixAxis::Rows : TMatrixAxis::Columns;
}

// Per line of the axis, the pairs of numbers in it that touch: vertically for a
// column (rows one apart), horizontally for a row (columns one apart). Pairs of
// positions i < j are examined with i outermost.
// The numbers as bits (number n at bit n - 1) when they rise strictly within
// 1..24, as every combination does; false otherwise.
bool AscendingSet(const uint8_t* numbers, uint32_t& set) {
    bool ascending = numbers[0] >= 1 && numbers[NumbersInDraw - 1] <= MaxNumber;
    set = 0;
    for (int i = 0; i < NumbersInDraw; ++i) {
        if (i + 1 < NumbersInDraw)
            ascending &= numbers[i] < numbers[i + 1];
        set |= uint32_t{1} << ((numbers[i] - 1) & 31);
    }
    return ascending;
}

// For rising numbers, the pairs of positions i < j met with i outermost are the
// touching numbers from the lowest up, so a line is first met at its lowest
// touching number: whole lines are taken off the touching bits at a time.
template <class Kind>
void FindAdjacentInSet(const TMatrixKind<Kind>& m, TMatrixAxis axis, uint32_t set, TAdjacentLines& out) {
    uint32_t touching = m.Touching(axis, set);
    out.Count = 0;
    while (touching != 0) {
        const auto line = m.LineOf(axis, static_cast<uint8_t>(std::countr_zero(touching) + 1));
        const uint32_t inLine = touching & m.LineMask(axis, line);
        out.Line[out.Count] = line;
        out.Pairs[out.Count] = static_cast<uint8_t>(std::popcount(inLine));
        ++out.Count;
        touching &= ~inLine;
    }
}

template <class Kind>
void FindAdjacent(const TMatrixKind<Kind>& m, TMatrixAxis axis, const uint8_t* numbers, TAdjacentLines& out) {
    if (uint32_t set = 0; AscendingSet(numbers, set)) {
        FindAdjacentInSet(m, axis, set, out);
        return;
    }
    // A draw in drawn order, or with numbers out of range or repeated.
    uint8_t at[MaxNumber + 1] = {}; // per line: its place in out + 1
    out.Count = 0;
    for (int i = 0; i + 1 < NumbersInDraw; ++i) {
        const uint8_t line = m.LineOf(axis, numbers[i]);
        if (line == 0)
            continue;
        const int across = m.LineOf(Other(axis), numbers[i]);
        for (int j = i + 1; j < NumbersInDraw; ++j) {
            if (m.LineOf(axis, numbers[j]) != line)
                continue;
            const int step = m.LineOf(Other(axis), numbers[j]) - across;
            if (step != 1 && step != -1)
                continue;
            if (at[line] == 0) {
                out.Line[out.Count] = line;
                out.Pairs[out.Count] = 0;
                at[line] = static_cast<uint8_t>(++out.Count);
            }
            ++out.Pairs[at[line] - 1];
        }
    }
}

// Per (line, pairs + 1) how many combinations give it. Every line of the matrix is
// counted for every combination, a line without pairs under pairs + 1 = 1, a value
// that never exists and is never merged: a fixed number of counts, no branch on
// where the pairs fall. The values are merged in first-met order, kept by Order for
// a combination that met a slot first.
class TLinePairTally {
public:
    static constexpr unsigned PairSlots = 16; // pairs + 1 is at most 12

    // True when the slot had no count yet.
    bool Count(unsigned slot) { return Hits_[slot]++ == 0; }
    // Lists the values of the lines, in their order, that are not listed yet.
    void Order(const TAdjacentLines& lines) {
        for (int t = 0; t < lines.Count; ++t) {
            const auto slot = static_cast<uint16_t>(lines.Line[t] * PairSlots + lines.Pairs[t] + 1);
            if (!Listed_[slot])
                Order_[Size_++] = slot;
            Listed_[slot] = true;
        }
    }
    // Calls merge(slot, count) per listed value, in first-met order, and starts over.
    template <class F> void Flush(F&& merge) {
        for (std::size_t t = 0; t < Size_; ++t) {
            merge(Order_[t], static_cast<int32_t>(Hits_[Order_[t]]));
            Listed_[Order_[t]] = false;
        }
        Hits_.fill(0);
        Size_ = 0;
    }

private:
    static constexpr std::size_t Slots = (MaxNumber + 1) * PairSlots;
    std::array<uint32_t, Slots> Hits_{};
    std::array<bool, Slots> Listed_{};
    std::array<uint16_t, Slots> Order_{};
    std::size_t Size_ = 0;
};

} // namespace

template <class Kind>
TMatrixKind<Kind>::TMatrixKind(const TStatList& list, int32_t param) : Kind(list, param) {
    const int cols = MatrixColsOf(list);
    Cols_ = static_cast<uint8_t>(cols);
    Rows_ = static_cast<uint8_t>(cols == 0 ? 0 : GroupCount(1, MaxNumber, cols));
    if (cols != 0)
        for (int n = 1; n <= MaxNumber; ++n) {
            Column_[n] = static_cast<uint8_t>(MatrixColumn(n, cols));
            Row_[n] = static_cast<uint8_t>(MatrixRow(n, cols));
            const uint32_t bit = uint32_t{1} << (n - 1);
            ColumnMask_[Column_[n]] |= bit;
            RowMask_[Row_[n]] |= bit;
            if (n + cols <= MaxNumber)
                Below_ |= bit;
            if (n < MaxNumber && Column_[n] != cols)
                LeftOfNext_ |= bit;
        }
    for (int l = 0; l < MaxNumber; ++l)
        Listed_[l] = static_cast<uint8_t>(l + 1);
}

template class TMatrixKind<TCustomNumbersStat>;
template class TMatrixKind<TCustomGraphStat>;

// ---- COLS / ROWS ------------------------------------------------------------------

template <class Self, TMatrixAxis Axis>
void TMatrixLinesStat<Self, Axis>::SeedValues(int lastIdx, TStatDrawArray& stat) {
    TCustomStat::SeedValues(lastIdx, stat);
    for (const uint8_t line : this->Lines(Axis)) {
        this->Entry.Key1 = line;
        this->Merge(stat, false);
    }
}

// ---- COLV / ROWV ------------------------------------------------------------------

template <class Self, TMatrixAxis Axis>
void TMatrixLineValuesStat<Self, Axis>::SeedValues(int lastIdx, TStatDrawArray& stat) {
    TCustomStat::SeedValues(lastIdx, stat);
    const int most = std::min(this->LineCount(Other(Axis)), NumbersInDraw);
    for (const uint8_t line : this->Lines(Axis))
        for (int k = 0; k <= most; ++k) {
            this->Entry.Key1 = line;
            this->Entry.Key2 = static_cast<uint16_t>(k);
            this->Merge(stat, false);
        }
}

template <class Self, TMatrixAxis Axis>
std::string TMatrixLineValuesStat<Self, Axis>::ValueText(const TStatEntry& e) const {
    return Format("%d x %d", e.Key1, e.Key2);
}

// ---- COLN / ROWN ------------------------------------------------------------------

template <class Self, TMatrixAxis Axis>
void TMatrixLineCountStat<Self, Axis>::SeedValues(int lastIdx, TStatDrawArray& stat) {
    this->SeedRange(lastIdx, stat, 1, std::min(this->LineCount(Axis), NumbersInDraw));
}

template <class Self, TMatrixAxis Axis>
int32_t TMatrixLineCountStat<Self, Axis>::ValueOf(const uint8_t* numbers) const {
    uint32_t filled = 0; // lines are at most 24
    for (int i = 0; i < NumbersInDraw; ++i)
        filled |= uint32_t{1} << this->LineOf(Axis, numbers[i]);
    return std::popcount(filled);
}

// ---- COLM / ROWM ------------------------------------------------------------------

template <class Self, TMatrixAxis Axis>
int32_t TMatrixLineMaskStat<Self, Axis>::ValueOf(const uint8_t* numbers) const {
    const int count = this->LineCount(Axis);
    uint32_t mask = 0;
    for (int i = 0; i < NumbersInDraw; ++i) {
        const int line = this->LineOf(Axis, numbers[i]);
        if (line != 0)
            mask |= uint32_t{1} << (count - line);
    }
    return static_cast<int32_t>(mask);
}

template <class Self, TMatrixAxis Axis>
std::string TMatrixLineMaskStat<Self, Axis>::ValueText(const TStatEntry& e) const {
    const int count = this->LineCount(Axis);
    const uint32_t mask = uint32_t{e.Key1} | uint32_t{e.Key2} << 16;
    std::string bits;
    for (int k = count - 1; k >= 0; --k)
        bits += (k < 32 && (mask >> k & 1) != 0) ? '1' : '0';
    return Format("%s (%.3u)", bits.c_str(), mask);
}

template <class Self, TMatrixAxis Axis>
int32_t TMatrixLineMaskStat<Self, Axis>::ParseValue(std::string_view text) const {
    uint32_t mask = 0;
    for (int k = 0; k < this->LineCount(Axis); ++k)
        mask = mask << 1 | (static_cast<std::size_t>(k) < text.size() && text[k] == '1' ? 1 : 0);
    return static_cast<int32_t>(mask);
}

// ---- COLA / ROWA ------------------------------------------------------------------

template <class Self, TMatrixAxis Axis>
void TMatrixAdjacentStat<Self, Axis>::MergeLines(const uint8_t* numbers, TStatDrawArray& stat,
                                                 bool trackPeriods) {
    TAdjacentLines lines;
    FindAdjacent(*this, Axis, numbers, lines);
    for (int t = 0; t < lines.Count; ++t) {
        Entry.Key1 = lines.Line[t];
        Entry.Key2 = static_cast<uint16_t>(lines.Pairs[t] + 1);
        Merge(stat, trackPeriods);
    }
}

template <class Self, TMatrixAxis Axis>
const TByteTable<uint64_t>* TMatrixAdjacentStat<Self, Axis>::LinePairTable() {
    if (LineCount(Axis) > 16)
        return nullptr;
    if (LinePairs_.empty()) {
        LinePairs_.resize(1);
        FillByteTable(
            LinePairs_[0], uint64_t{0},
            [&](uint8_t number) {
                const int line = LineOf(Axis, number);
                return line == 0 ? 0 : uint64_t{1} << (4 * (line - 1));
            },
            std::plus<>{});
    }
    return &LinePairs_[0];
}

template <class Self, TMatrixAxis Axis>
void TMatrixAdjacentStat<Self, Axis>::AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat,
                                              TRunState& runState, TLastValueArray& lastValues) {
    TCustomMatrixStat::AddDraw(drawIdx, lastIdx, sorted, stat, runState, lastValues);
    MergeLines(CurDraw.Numbers, stat, true);
}

template <class Self, TMatrixAxis Axis>
void TMatrixAdjacentStat<Self, Axis>::AddCombination(const TCombination& comb, TStatDrawArray& stat) {
    TCustomMatrixStat::AddCombination(comb, stat);
    MergeLines(comb.data(), stat, false);
}

template <class Self, TMatrixAxis Axis>
void TMatrixAdjacentStat<Self, Axis>::AddCombinations(std::span<const TCombination> combs,
                                                      TStatDrawArray& stat) {
    constexpr unsigned PairSlots = TLinePairTally::PairSlots;
    const int lineCount = LineCount(Axis);
    const TByteTable<uint64_t>* pairTable = LinePairTable();
    TLinePairTally tally; // line * PairSlots + pairs + 1
    TallyCombinations<TCustomMatrixStat>(
        *this, combs, stat, tally,
        [&](const TCombination& c, TLinePairTally& t) {
            uint32_t set = 0;
            if (!DistinctNumberSet(c.data(), set))
                return false;
            const uint32_t touching = Touching(Axis, set);
            bool fresh = false;
            if (pairTable != nullptr) {
                const uint64_t pairs = ByteTableValue(*pairTable, touching, std::plus<>{});
                for (int line = 1; line <= lineCount; ++line)
                    fresh |= t.Count(static_cast<unsigned>(line) * PairSlots +
                                     static_cast<unsigned>(pairs >> (4 * (line - 1)) & 15) + 1);
            } else {
                for (int line = 1; line <= lineCount; ++line) {
                    const auto pairs = static_cast<unsigned>(
                        BitCount(touching & LineMask(Axis, static_cast<uint8_t>(line))));
                    fresh |= t.Count(static_cast<unsigned>(line) * PairSlots + pairs + 1);
                }
            }
            if (fresh) { // the order of the lines is that of the pairs of positions
                TAdjacentLines lines;
                FindAdjacent(*this, Axis, c.data(), lines);
                t.Order(lines);
            }
            return true;
        },
        [&](uint16_t at, int32_t count) {
            Entry.Key1 = static_cast<uint16_t>(at / PairSlots);
            Entry.Key2 = static_cast<uint16_t>(at % PairSlots);
            Entry.Count = count;
            Merge(stat, false);
        });
}

template <class Self, TMatrixAxis Axis>
bool TMatrixAdjacentStat<Self, Axis>::Matches(const TCombination& comb, const TStatDrawArray& selected, int,
                                              bool, bool) {
    if (Watch_.Changed(selected)) {
        // A line is at most 24 and a value's pairs + 1 within 2..12: others never match.
        PairHits_.fill(0);
        for (const TStatEntry& e : selected)
            if (e.Key1 <= MaxNumber && e.Key2 >= 2 && e.Key2 < 32 && e.Key3 == 0 && e.Key4 == 0)
                PairHits_[e.Key1] |= uint32_t{1} << e.Key2;
    }
    // Every line looked at, one without pairs under pairs + 1 = 1, never selected.
    if (uint32_t set = 0; DistinctNumberSet(comb.data(), set)) {
        const uint32_t touching = Touching(Axis, set);
        const int lineCount = LineCount(Axis);
        uint32_t any = 0;
        if (const TByteTable<uint64_t>* pairTable = LinePairTable()) {
            const uint64_t pairs = ByteTableValue(*pairTable, touching, std::plus<>{});
            for (int line = 1; line <= lineCount; ++line)
                any |= PairHits_[line] >> ((pairs >> (4 * (line - 1)) & 15) + 1);
        } else {
            for (int line = 1; line <= lineCount; ++line)
                any |=
                    PairHits_[line] >> (BitCount(touching & LineMask(Axis, static_cast<uint8_t>(line))) + 1);
        }
        return (any & 1) != 0;
    }
    TAdjacentLines lines;
    FindAdjacent(*this, Axis, comb.data(), lines);
    uint32_t any = 0;
    for (int t = 0; t < lines.Count; ++t)
        any |= PairHits_[lines.Line[t]] >> (lines.Pairs[t] + 1);
    return (any & 1) != 0;
}

template <class Self, TMatrixAxis Axis>
std::string TMatrixAdjacentStat<Self, Axis>::ValueText(const TStatEntry& e) const {
    return Format("%d x %d", e.Key1, e.Key2);
}

// ---- COLC / ROWC ------------------------------------------------------------------

template <class Self, TMatrixAxis Axis>
TMatrixAdjacentCountStat<Self, Axis>::TMatrixAdjacentCountStat(const TStatList& list, int32_t param)
    : TSingleValueStat<Self, TCustomMatrixGraphStat>(list, param) {
    FillByteTable(
        Lines_, uint32_t{0}, [&](uint8_t number) { return uint32_t{1} << this->LineOf(Axis, number); },
        std::bit_or<>{});
}

// The pairs of 12 distinct numbers do not hang on their order: the lines of the
// touching numbers are the answer.
template <class Self, TMatrixAxis Axis>
int32_t TMatrixAdjacentCountStat<Self, Axis>::ValueOf(const uint8_t* numbers) const {
    if (uint32_t set = 0; DistinctNumberSet(numbers, set))
        return BitCount(ByteTableValue(Lines_, this->Touching(Axis, set), std::bit_or<>{}));
    TAdjacentLines lines;
    FindAdjacent(*this, Axis, numbers, lines);
    return lines.Count;
}

// ---- COL%d / ROW%d ----------------------------------------------------------------

template <class Self, TMatrixAxis Axis>
void TMatrixLineValCntStat<Self, Axis>::SeedValues(int lastIdx, TStatDrawArray& stat) {
    this->SeedRange(lastIdx, stat, 1, this->LineCount(Other(Axis)));
}

template <class Self, TMatrixAxis Axis>
int32_t TMatrixLineValCntStat<Self, Axis>::ValueOf(const uint8_t* numbers) const {
    int count = 0;
    for (int i = 0; i < NumbersInDraw; ++i)
        count += this->LineOf(Axis, numbers[i]) == this->Param() ? 1 : 0;
    return count;
}

template class TMatrixLinesStat<TstColumns, TMatrixAxis::Columns>;
template class TMatrixLinesStat<TstRows, TMatrixAxis::Rows>;
template class TMatrixLineValuesStat<TstColValues, TMatrixAxis::Columns>;
template class TMatrixLineValuesStat<TstRowValues, TMatrixAxis::Rows>;
template class TMatrixLineCountStat<TstColCount, TMatrixAxis::Columns>;
template class TMatrixLineCountStat<TstRowCount, TMatrixAxis::Rows>;
template class TMatrixLineMaskStat<TstColMask, TMatrixAxis::Columns>;
template class TMatrixLineMaskStat<TstRowMask, TMatrixAxis::Rows>;
template class TMatrixAdjacentStat<TstColAjacent, TMatrixAxis::Columns>;
template class TMatrixAdjacentStat<TstRowAjacent, TMatrixAxis::Rows>;
template class TMatrixAdjacentCountStat<TstColAjacentCnt, TMatrixAxis::Columns>;
template class TMatrixAdjacentCountStat<TstRowAjacentCnt, TMatrixAxis::Rows>;
template class TMatrixLineValCntStat<TstColValCnt, TMatrixAxis::Columns>;
template class TMatrixLineValCntStat<TstRowValCnt, TMatrixAxis::Rows>;

// COLA and ROWA show "column x count", as COLV does: not plain numbers.
// Class table rows: class, code, caption, help code, group, flags, chart, numeric, param, available, range,
// factory.
const TStatClassInfo TstColumns::ClassInfo = {"TstColumns", "COLS",  "Столбцы матрицы (не пустые)",
                                              nullptr,      4,       StatFlagN,
                                              false,        true,    false,
                                              true,         nullptr, Make<TstColumns>};
const TStatClassInfo TstRows::ClassInfo = {
    "TstRows", "ROWS",       "Строки матрицы (не пустые)", nullptr, 4, StatFlagN, false, true, false, true,
    nullptr,   Make<TstRows>};
const TStatClassInfo TstColValues::ClassInfo = {"TstColValues", "COLV",  "Количество чисел в столбце матрицы",
                                                nullptr,        4,       StatFlagN,
                                                false,          false,   false,
                                                true,           nullptr, Make<TstColValues>};
const TStatClassInfo TstRowValues::ClassInfo = {"TstRowValues", "ROWV",  "Количество чисел в строке матрицы",
                                                nullptr,        4,       StatFlagN,
                                                false,          false,   false,
                                                true,           nullptr, Make<TstRowValues>};
const TStatClassInfo TstColCount::ClassInfo = {
    "TstColCount", "COLN",  "Количество не пустых столбцов в матрице",
    nullptr,       4,       StatFlagN,
    true,          true,    false,
    true,          nullptr, Make<TstColCount>};
const TStatClassInfo TstRowCount::ClassInfo = {"TstRowCount", "ROWN",  "Количество не пустых строк в матрице",
                                               nullptr,       4,       StatFlagN,
                                               true,          true,    false,
                                               true,          nullptr, Make<TstRowCount>};
const TStatClassInfo TstColMask::ClassInfo = {"TstColMask", "COLM",  "Сочетания столбцов матрицы",
                                              nullptr,      4,       StatFlagN,
                                              false,        true,    false,
                                              true,         nullptr, Make<TstColMask>};
const TStatClassInfo TstRowMask::ClassInfo = {
    "TstRowMask", "ROWM",  "Сочетания строк матрицы", nullptr, 4, StatFlagN, false, true, false,
    true,         nullptr, Make<TstRowMask>};
const TStatClassInfo TstColAjacent::ClassInfo = {"TstColAjacent",
                                                 "COLA",
                                                 "Столбцы матрицы со смежными числами",
                                                 nullptr,
                                                 4,
                                                 StatFlagN,
                                                 false,
                                                 false,
                                                 false,
                                                 true,
                                                 nullptr,
                                                 Make<TstColAjacent>};
const TStatClassInfo TstRowAjacent::ClassInfo = {"TstRowAjacent",
                                                 "ROWA",
                                                 "Строки матрицы со смежными числами",
                                                 nullptr,
                                                 4,
                                                 StatFlagN,
                                                 false,
                                                 false,
                                                 false,
                                                 true,
                                                 nullptr,
                                                 Make<TstRowAjacent>};
const TStatClassInfo TstColAjacentCnt::ClassInfo = {"TstColAjacentCnt",
                                                    "COLC",
                                                    "Количество столбцов матрицы со смежными числами",
                                                    nullptr,
                                                    4,
                                                    StatFlagN,
                                                    true,
                                                    true,
                                                    false,
                                                    true,
                                                    nullptr,
                                                    Make<TstColAjacentCnt>};
const TStatClassInfo TstRowAjacentCnt::ClassInfo = {"TstRowAjacentCnt",
                                                    "ROWC",
                                                    "Количество строк матрицы со смежными числами",
                                                    nullptr,
                                                    4,
                                                    StatFlagN,
                                                    true,
                                                    true,
                                                    false,
                                                    true,
                                                    nullptr,
                                                    Make<TstRowAjacentCnt>};
const TStatClassInfo TstCombColMix2::ClassInfo = {"TstCombColMix2",
                                                  "KFM2",
                                                  "Сочетания из 2 столбцов по всем числам тиража",
                                                  nullptr,
                                                  4,
                                                  StatFlagS,
                                                  false,
                                                  false,
                                                  false,
                                                  true,
                                                  nullptr,
                                                  Make<TstCombColMix2>};
const TStatClassInfo TstCombColMix3::ClassInfo = {"TstCombColMix3",
                                                  "KFM3",
                                                  "Сочетания из 3 столбцов по всем числам тиража",
                                                  nullptr,
                                                  4,
                                                  StatFlagS,
                                                  false,
                                                  false,
                                                  false,
                                                  true,
                                                  nullptr,
                                                  Make<TstCombColMix3>};
const TStatClassInfo TstCombColMix4::ClassInfo = {"TstCombColMix4",
                                                  "KFM4",
                                                  "Сочетания из 4 столбцов по всем числам тиража",
                                                  nullptr,
                                                  4,
                                                  StatFlagS,
                                                  false,
                                                  false,
                                                  false,
                                                  true,
                                                  nullptr,
                                                  Make<TstCombColMix4>};
const TStatClassInfo TstCombColSeq2::ClassInfo = {"TstCombColSeq2",
                                                  "KFS2",
                                                  "Сочетания из 2 столбцов по соседним числам",
                                                  nullptr,
                                                  4,
                                                  StatFlagS,
                                                  false,
                                                  false,
                                                  false,
                                                  true,
                                                  nullptr,
                                                  Make<TstCombColSeq2>};
const TStatClassInfo TstCombColSeq3::ClassInfo = {"TstCombColSeq3",
                                                  "KFS3",
                                                  "Сочетания из 3 столбцов по соседним числам",
                                                  nullptr,
                                                  4,
                                                  StatFlagS,
                                                  false,
                                                  false,
                                                  false,
                                                  true,
                                                  nullptr,
                                                  Make<TstCombColSeq3>};
const TStatClassInfo TstCombColSeq4::ClassInfo = {"TstCombColSeq4",
                                                  "KFS4",
                                                  "Сочетания из 4 столбцов по соседним числам",
                                                  nullptr,
                                                  4,
                                                  StatFlagS,
                                                  false,
                                                  false,
                                                  false,
                                                  true,
                                                  nullptr,
                                                  Make<TstCombColSeq4>};
const TStatClassInfo TstCombRowMix2::ClassInfo = {"TstCombRowMix2",
                                                  "KRM2",
                                                  "Сочетания из 2 строк по всем числам тиража",
                                                  nullptr,
                                                  4,
                                                  StatFlagS,
                                                  false,
                                                  false,
                                                  false,
                                                  true,
                                                  nullptr,
                                                  Make<TstCombRowMix2>};
const TStatClassInfo TstCombRowMix3::ClassInfo = {"TstCombRowMix3",
                                                  "KRM3",
                                                  "Сочетания из 3 строк по всем числам тиража",
                                                  nullptr,
                                                  4,
                                                  StatFlagS,
                                                  false,
                                                  false,
                                                  false,
                                                  true,
                                                  nullptr,
                                                  Make<TstCombRowMix3>};
const TStatClassInfo TstCombRowMix4::ClassInfo = {"TstCombRowMix4",
                                                  "KRM4",
                                                  "Сочетания из 4 строк по всем числам тиража",
                                                  nullptr,
                                                  4,
                                                  StatFlagS,
                                                  false,
                                                  false,
                                                  false,
                                                  true,
                                                  nullptr,
                                                  Make<TstCombRowMix4>};
const TStatClassInfo TstCombRowSeq2::ClassInfo = {"TstCombRowSeq2",
                                                  "KRS2",
                                                  "Сочетания из 2 строк по соседним числам",
                                                  nullptr,
                                                  4,
                                                  StatFlagS,
                                                  false,
                                                  false,
                                                  false,
                                                  true,
                                                  nullptr,
                                                  Make<TstCombRowSeq2>};
const TStatClassInfo TstCombRowSeq3::ClassInfo = {"TstCombRowSeq3",
                                                  "KRS3",
                                                  "Сочетания из 3 строк по соседним числам",
                                                  nullptr,
                                                  4,
                                                  StatFlagS,
                                                  false,
                                                  false,
                                                  false,
                                                  true,
                                                  nullptr,
                                                  Make<TstCombRowSeq3>};
const TStatClassInfo TstCombRowSeq4::ClassInfo = {"TstCombRowSeq4",
                                                  "KRS4",
                                                  "Сочетания из 4 строк по соседним числам",
                                                  nullptr,
                                                  4,
                                                  StatFlagS,
                                                  false,
                                                  false,
                                                  false,
                                                  true,
                                                  nullptr,
                                                  Make<TstCombRowSeq4>};
const TStatClassInfo TstColValCnt::ClassInfo = {
    "TstColValCnt", "COL%d",     "Количество чисел в %0:d столбце матрицы",
    "COLx",         4,           StatFlagN,
    true,           true,        true,
    true,           ColumnRange, Make<TstColValCnt>};
const TStatClassInfo TstRowValCnt::ClassInfo = {
    "TstRowValCnt", "ROW%d",  "Количество чисел в %0:d строке матрицы",
    "ROWx",         4,        StatFlagN,
    true,           true,     true,
    true,           RowRange, Make<TstRowValCnt>};

} // namespace kumby
