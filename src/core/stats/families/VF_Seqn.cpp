#include "VF_Seqn.h"

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
    int runs = 0;
    uint8_t length = 1;
    for (int i = 1; i < NumbersInDraw; ++i) {
        const int step = numbers[i] - numbers[i - 1];
        if (step == 1 || (eitherWay && step == -1)) {
            ++length;
        } else {
            lengths[runs++] = length;
            length = 1;
        }
    }
    lengths[runs++] = length;
    return runs;
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

// ---- SEQS ----------------------------------------------------------------------

void TstSequenceCnt::SeedValues(int lastIdx, TStatDrawArray& stat) {
    SeedRange(lastIdx, stat, 0, NumbersInDraw / 2);
}

int32_t TstSequenceCnt::ValueOf(const uint8_t* numbers) const {
    return LongRuns(numbers, false).Count;
}

int32_t TstSequenceCnt::ChartValue(const uint8_t* numbers, int, int, bool) {
    return LongRuns(numbers, true).Count;
}

// ---- LENS ----------------------------------------------------------------------

void TstSequenceLenMax::SeedValues(int lastIdx, TStatDrawArray& stat) {
    SeedRange(lastIdx, stat, 1, NumbersInDraw);
}

int32_t TstSequenceLenMax::ValueOf(const uint8_t* numbers) const {
    return std::max(LongRuns(numbers, false).Longest, 1);
}

int32_t TstSequenceLenMax::ChartValue(const uint8_t* numbers, int, int, bool) {
    return LongRuns(numbers, true).Longest;
}

} // namespace kumby
