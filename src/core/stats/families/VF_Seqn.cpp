#include "VF_Seqn.h"

#include "VF_Diff.h"
#include "model/GameConstants.h"

#include <algorithm>

namespace kumby {

namespace {

template <typename T> std::unique_ptr<TCustomStat> Make(const TStatList& list, int32_t param) {
    return std::make_unique<T>(list, param);
}

// Runs of two or more numbers, and the longest of them (0 when there is none).
struct TLongRuns {
    int Count = 0;
    int Longest = 0;
};

constexpr int StepPatterns = 1 << (NumbersInDraw - 1);

// What the steps of 12 numbers make of them: the runs of two or more, the longest
// of those, and which run lengths there are.
struct TStepRuns {
    uint8_t LongCount = 0;
    uint8_t Longest = 0;  // 0 without a step
    uint16_t Lengths = 0; // bit per run length
};

// The run lengths of a step pattern (StepMask) in position order; returns how many.
int RunLengths(unsigned steps, uint8_t* lengths) {
    int runs = 0;
    uint8_t length = 1;
    for (int i = 1; i < NumbersInDraw; ++i) {
        if ((steps >> (i - 1) & 1) != 0) {
            ++length;
        } else {
            lengths[runs++] = length;
            length = 1;
        }
    }
    lengths[runs++] = length;
    return runs;
}

const std::array<TStepRuns, StepPatterns>& StepRuns() {
    static const std::array<TStepRuns, StepPatterns> table = [] {
        std::array<TStepRuns, StepPatterns> t{};
        for (unsigned steps = 0; steps < StepPatterns; ++steps) {
            TStepRuns& r = t[steps];
            uint8_t lengths[NumbersInDraw];
            const int runs = RunLengths(steps, lengths);
            for (int i = 0; i < runs; ++i) {
                r.Lengths = static_cast<uint16_t>(r.Lengths | 1u << lengths[i]);
                if (lengths[i] >= 2) {
                    ++r.LongCount;
                    r.Longest = std::max(r.Longest, lengths[i]);
                }
            }
        }
        return t;
    }();
    return table;
}

// Bytes equal to 1 of a word, as bits 0..7.
inline unsigned OnesOf(uint64_t lanes) {
    constexpr uint64_t Low7 = 0x7F7F7F7F7F7F7F7F;
    const uint64_t x = lanes ^ 0x0101010101010101;
    const uint64_t zero = ~(((x & Low7) + Low7) | x | Low7); // top bit of each zero byte
    return static_cast<unsigned>(((zero >> 7) * 0x0102040810204080) >> 56);
}

TLongRuns LongRuns(const uint8_t* numbers, bool eitherWay) {
    uint8_t lengths[NumbersInDraw];
    const int runs = SequenceLengths(numbers, lengths, eitherWay);
    TLongRuns r;
    for (int i = 0; i < runs; ++i)
        if (lengths[i] >= 2) {
            ++r.Count;
            r.Longest = std::max<int>(r.Longest, lengths[i]);
        }
    return r;
}

} // namespace

int SequenceLengths(const uint8_t* numbers, uint8_t* lengths, bool eitherWay) {
    unsigned steps = 0;
    for (int i = 1; i < NumbersInDraw; ++i) {
        const int step = numbers[i] - numbers[i - 1];
        if (step == 1 || (eitherWay && step == -1))
            steps |= 1u << (i - 1);
    }
    return RunLengths(steps, lengths);
}

unsigned StepMask(const uint8_t* numbers) {
    const TDiffLanes d = DiffLanes(numbers);
    return OnesOf(d.Low) | OnesOf(d.High) << 8;
}

// Class table rows: class, code, caption, help code, group, flags, chart, numeric, param, available, range,
// factory.
const TStatClassInfo TstSequenceLen::ClassInfo = {"TstSequenceLen",
                                                  "SEQL",
                                                  "Длина последовательности в тираже",
                                                  nullptr,
                                                  6,
                                                  StatFlagS | StatFlagN,
                                                  false,
                                                  true,
                                                  false,
                                                  true,
                                                  nullptr,
                                                  Make<TstSequenceLen>};
const TStatClassInfo TstSequenceCnt::ClassInfo = {"TstSequenceCnt",
                                                  "SEQS",
                                                  "Количество последовательностей в тираже",
                                                  nullptr,
                                                  6,
                                                  StatFlagS | StatFlagN,
                                                  true,
                                                  true,
                                                  false,
                                                  true,
                                                  nullptr,
                                                  Make<TstSequenceCnt>};
const TStatClassInfo TstSequenceLenMax::ClassInfo = {"TstSequenceLenMax",
                                                     "LENS",
                                                     "Макс. длина последовательности в тираже",
                                                     nullptr,
                                                     6,
                                                     StatFlagS | StatFlagN,
                                                     true,
                                                     true,
                                                     false,
                                                     true,
                                                     nullptr,
                                                     Make<TstSequenceLenMax>};

// ---- SEQL ----------------------------------------------------------------------

void TstSequenceLen::SeedValues(int lastIdx, TStatDrawArray& stat) {
    TTupleStat::SeedValues(lastIdx, stat);
    SeedKeyRange(stat, 1, NumbersInDraw);
}

// A combination's run lengths follow from its steps alone, so the combinations are
// counted per step pattern and each length merged once with what the patterns add
// up to, in the order first met: the list ends as merging every run would leave it.
void TstSequenceLen::AddCombinations(std::span<const TCombination> combs, TStatDrawArray& stat) {
    std::array<uint32_t, StepPatterns> patterns{}; // combinations per pattern
    std::array<uint16_t, StepPatterns> met{};      // the patterns met, in order
    std::size_t metCount = 0;
    uint32_t seen = 0; // lengths
    std::array<uint8_t, NumbersInDraw + 1> order{};
    std::size_t ordered = 0;
    uint8_t lengths[NumbersInDraw];
    for (const TCombination& c : combs) {
        const unsigned steps = StepMask(c.data());
        if (patterns[steps]++ != 0)
            continue;
        met[metCount++] = static_cast<uint16_t>(steps);
        const int runs = RunLengths(steps, lengths);
        for (int i = 0; i < runs; ++i)
            if ((seen >> lengths[i] & 1) == 0) {
                seen |= 1u << lengths[i];
                order[ordered++] = lengths[i];
            }
    }
    std::array<int64_t, NumbersInDraw + 1> times{};
    for (std::size_t m = 0; m < metCount; ++m) {
        const int runs = RunLengths(met[m], lengths);
        for (int i = 0; i < runs; ++i)
            times[lengths[i]] += patterns[met[m]];
    }
    Entry = TStatEntry{};
    for (std::size_t t = 0; t < ordered; ++t) {
        Entry.Key1 = order[t];
        Entry.Count = static_cast<int32_t>(times[order[t]]);
        Merge(stat, false);
    }
}

bool TstSequenceLen::Matches(const TCombination& comb, const TStatDrawArray& selected, int, bool, bool) {
    if (Watch_.Changed(selected)) {
        SelectedLengths_ = 0;
        for (unsigned length = 1; length <= NumbersInDraw; ++length)
            if (HasKeys(selected, static_cast<uint16_t>(length), 0, 0, 0))
                SelectedLengths_ |= 1u << length;
    }
    return (StepRuns()[StepMask(comb.data())].Lengths & SelectedLengths_) != 0;
}

// ---- SEQS ----------------------------------------------------------------------

void TstSequenceCnt::SeedValues(int lastIdx, TStatDrawArray& stat) {
    SeedRange(lastIdx, stat, 0, NumbersInDraw / 2);
}

int32_t TstSequenceCnt::ValueOf(const uint8_t* numbers) const {
    return StepRuns()[StepMask(numbers)].LongCount;
}

int32_t TstSequenceCnt::ChartValue(const uint8_t* numbers, int, int, bool) {
    return LongRuns(numbers, true).Count;
}

// ---- LENS ----------------------------------------------------------------------

void TstSequenceLenMax::SeedValues(int lastIdx, TStatDrawArray& stat) {
    SeedRange(lastIdx, stat, 1, NumbersInDraw);
}

int32_t TstSequenceLenMax::ValueOf(const uint8_t* numbers) const {
    return std::max<int32_t>(StepRuns()[StepMask(numbers)].Longest, 1);
}

int32_t TstSequenceLenMax::ChartValue(const uint8_t* numbers, int, int, bool) {
    return LongRuns(numbers, true).Longest;
}

} // namespace kumby
