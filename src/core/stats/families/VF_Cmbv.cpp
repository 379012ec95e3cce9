#include "VF_Cmbv.h"

namespace kumby {

namespace {

template <typename T> std::unique_ptr<TCustomStat> Make(const TStatList& list, int32_t param) {
    return std::make_unique<T>(list, param);
}

// Starting positions of a run of K numbers: 1 .. 13 - K.
template <int K> void StartRange(const TStatList&, int32_t& min, int32_t& max) {
    min = TCustomCombValPosStat<K>::FirstPosition;
    max = TCustomCombValPosStat<K>::LastPosition;
}

constexpr uint8_t NumbersGroup = 0;

// A row of the tuple classes: fixed code and caption, flag S, no chart, texts that
// are no plain numbers.
constexpr TStatClassInfo TupleRow(const char* className, const char* code, const char* caption,
                                  const char* helpCode, TParamRangeFn range, TStatFactory create) {
    return {className, code,  caption,          helpCode, NumbersGroup, StatFlagS,
            false,     false, range != nullptr, true,     range,        create};
}

} // namespace

// Class table rows.
const TStatClassInfo TstCombValMix2::ClassInfo =
    TupleRow("TstCombValMix2", "KNM2", "Сочетания из 2 чисел по всем числам тиража", nullptr, nullptr,
             Make<TstCombValMix2>);
const TStatClassInfo TstCombValMix3::ClassInfo =
    TupleRow("TstCombValMix3", "KNM3", "Сочетания из 3 чисел по всем числам тиража", nullptr, nullptr,
             Make<TstCombValMix3>);
const TStatClassInfo TstCombValMix4::ClassInfo =
    TupleRow("TstCombValMix4", "KNM4", "Сочетания из 4 чисел по всем числам тиража", nullptr, nullptr,
             Make<TstCombValMix4>);
const TStatClassInfo TstCombValSeq2::ClassInfo = TupleRow(
    "TstCombValSeq2", "KNS2", "Сочетания из 2 соседних чисел тиража", nullptr, nullptr, Make<TstCombValSeq2>);
const TStatClassInfo TstCombValSeq3::ClassInfo = TupleRow(
    "TstCombValSeq3", "KNS3", "Сочетания из 3 соседних чисел тиража", nullptr, nullptr, Make<TstCombValSeq3>);
const TStatClassInfo TstCombValSeq4::ClassInfo = TupleRow(
    "TstCombValSeq4", "KNS4", "Сочетания из 4 соседних чисел тиража", nullptr, nullptr, Make<TstCombValSeq4>);
const TStatClassInfo TstCombValPos2::ClassInfo =
    TupleRow("TstCombValPos2", "KNP2%d", "Сочетания из 2-х чисел тиража начиная с %0:d позиции", "KNP2",
             StartRange<2>, Make<TstCombValPos2>);
const TStatClassInfo TstCombValPos3::ClassInfo =
    TupleRow("TstCombValPos3", "KNP3%d", "Сочетания из 3-х чисел тиража начиная с %0:d позиции", "KNP3",
             StartRange<3>, Make<TstCombValPos3>);
const TStatClassInfo TstCombValPos4::ClassInfo =
    TupleRow("TstCombValPos4", "KNP4%d", "Сочетания из 4-х чисел тиража начиная с %0:d позиции", "KNP4",
             StartRange<4>, Make<TstCombValPos4>);

// Never registered: no flags, no factory.
const TStatClassInfo TstCombValSort2::ClassInfo = {"TstCombValSort2",
                                                   "KNO2",
                                                   "Сочетания из 2 чисел тиража по возрастанию",
                                                   nullptr,
                                                   NumbersGroup,
                                                   0,
                                                   false,
                                                   false,
                                                   false,
                                                   false,
                                                   nullptr,
                                                   nullptr};
const TStatClassInfo TstCombValSort3::ClassInfo = {"TstCombValSort3",
                                                   "KNO3",
                                                   "Сочетания из 3 чисел тиража по возрастанию",
                                                   nullptr,
                                                   NumbersGroup,
                                                   0,
                                                   false,
                                                   false,
                                                   false,
                                                   false,
                                                   nullptr,
                                                   nullptr};
const TStatClassInfo TstCombValSort4::ClassInfo = {"TstCombValSort4",
                                                   "KNO4",
                                                   "Сочетания из 4 чисел тиража по возрастанию",
                                                   nullptr,
                                                   NumbersGroup,
                                                   0,
                                                   false,
                                                   false,
                                                   false,
                                                   false,
                                                   nullptr,
                                                   nullptr};

} // namespace kumby
