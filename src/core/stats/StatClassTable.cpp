// The statistic classes in registry order. A family adds its rows here, at their
// place, and nowhere else.

#include "stats/StatList.h"
#include "stats/families/VF_Chain.h"
#include "stats/families/VF_Chns.h"
#include "stats/families/VF_Cmbv.h"
#include "stats/families/VF_Diff.h"
#include "stats/families/VF_HCV.h"
#include "stats/families/VF_Mtxs.h"
#include "stats/families/VF_Nums.h"
#include "stats/families/VF_Per.h"
#include "stats/families/VF_Reps.h"
#include "stats/families/VF_Segm.h"
#include "stats/families/VF_Seqn.h"
#include "stats/families/VF_Ser.h"
#include "stats/families/VF_Shrd.h"
#include "stats/families/VF_Sums.h"

namespace kumby {

namespace {

const TStatClassInfo* const ClassTable[] = {
    // Numbers family, the first eight classes.
    &TstValues::ClassInfo,
    &TstDigits::ClassInfo,
    &TstEvenCount::ClassInfo,
    &TstEvenValues::ClassInfo,
    &TstSmallCount::ClassInfo,
    &TstSmallValues::ClassInfo,
    &TstPrimeCount::ClassInfo,
    &TstPrimeValues::ClassInfo,
    // Sums family.
    &TstSumValues::ClassInfo,
    &TstSumRanges::ClassInfo,
    &TstSumChange::ClassInfo,
    &TstSumChangeSome::ClassInfo,
    &TstSumTrend::ClassInfo,
    &TstSumEvenValues::ClassInfo,
    &TstSumPrimeValues::ClassInfo,
    &TstSum2To3::ClassInfo,
    // Differences family, the single-draw classes (the difference runs come after the
    // combination classes).
    &TstDiffTotal::ClassInfo,
    &TstDiffMax::ClassInfo,
    &TstMinMaxDiffs::ClassInfo,
    &TstDiffSame::ClassInfo,
    &TstDiffSameCnt::ClassInfo,
    // Channels family, the single-draw classes.
    &TstChannels::ClassInfo,
    &TstChanValues::ClassInfo,
    &TstChanCount::ClassInfo,
    // Matrix family, the single-draw classes.
    &TstColumns::ClassInfo,
    &TstRows::ClassInfo,
    &TstColValues::ClassInfo,
    &TstRowValues::ClassInfo,
    &TstColCount::ClassInfo,
    &TstRowCount::ClassInfo,
    &TstColMask::ClassInfo,
    &TstRowMask::ClassInfo,
    &TstColAjacent::ClassInfo,
    &TstRowAjacent::ClassInfo,
    &TstColAjacentCnt::ClassInfo,
    &TstRowAjacentCnt::ClassInfo,
    // Segments family, the single-draw classes.
    &TstSegments::ClassInfo,
    &TstSegmValues::ClassInfo,
    &TstSegmCount::ClassInfo,
    // Sequences family (after the segment classes).
    &TstSequenceLen::ClassInfo,
    &TstSequenceCnt::ClassInfo,
    &TstSequenceLenMax::ClassInfo,
    // Repeats family.
    &TstRepValues2::ClassInfo,
    &TstRepValues3::ClassInfo,
    &TstRepValues2B3::ClassInfo,
    &TstRepValues2over1::ClassInfo,
    &TstRepValues2over2::ClassInfo,
    &TstRepValues2over3::ClassInfo,
    &TstRepValues2P1::ClassInfo,
    &TstRepValues2N1::ClassInfo,
    &TstRepValues2P2::ClassInfo,
    &TstRepValues2N2::ClassInfo,
    &TstRepCount2::ClassInfo,
    &TstRepCount3::ClassInfo,
    &TstRepCount2B3::ClassInfo,
    &TstRepCount2over1::ClassInfo,
    &TstRepCount2over2::ClassInfo,
    &TstRepCount2over3::ClassInfo,
    &TstRepCount2P1::ClassInfo,
    &TstRepCount2N1::ClassInfo,
    &TstRepCount2P2::ClassInfo,
    &TstRepCount2N2::ClassInfo,
    // Combination values family (after the repeat classes); the ascending
    // combinations are never registered.
    &TstCombValMix2::ClassInfo,
    &TstCombValMix3::ClassInfo,
    &TstCombValMix4::ClassInfo,
    &TstCombValSeq2::ClassInfo,
    &TstCombValSeq3::ClassInfo,
    &TstCombValSeq4::ClassInfo,
    &TstCombValPos2::ClassInfo,
    &TstCombValPos3::ClassInfo,
    &TstCombValPos4::ClassInfo,
    &TstCombValSort2::ClassInfo,
    &TstCombValSort3::ClassInfo,
    &TstCombValSort4::ClassInfo,
    // Differences family, the difference runs (after the combination classes).
    &TstCombDiffSeq2::ClassInfo,
    &TstCombDiffSeq3::ClassInfo,
    &TstCombDiffSeq4::ClassInfo,
    // Channels family, the channel combinations (after the difference runs).
    &TstCombChnMix2::ClassInfo,
    &TstCombChnMix3::ClassInfo,
    &TstCombChnMix4::ClassInfo,
    &TstCombChnSeq2::ClassInfo,
    &TstCombChnSeq3::ClassInfo,
    &TstCombChnSeq4::ClassInfo,
    // Matrix family, the column and row combinations (after the channel ones).
    &TstCombColMix2::ClassInfo,
    &TstCombColMix3::ClassInfo,
    &TstCombColMix4::ClassInfo,
    &TstCombColSeq2::ClassInfo,
    &TstCombColSeq3::ClassInfo,
    &TstCombColSeq4::ClassInfo,
    &TstCombRowMix2::ClassInfo,
    &TstCombRowMix3::ClassInfo,
    &TstCombRowMix4::ClassInfo,
    &TstCombRowSeq2::ClassInfo,
    &TstCombRowSeq3::ClassInfo,
    &TstCombRowSeq4::ClassInfo,
    // Segments family, the segment combinations (after the row ones).
    &TstCombSegmMix2::ClassInfo,
    &TstCombSegmMix3::ClassInfo,
    &TstCombSegmMix4::ClassInfo,
    &TstCombSegmSeq2::ClassInfo,
    &TstCombSegmSeq3::ClassInfo,
    &TstCombSegmSeq4::ClassInfo,
    // Numbers family, the position classes (after the combination classes).
    &TstPosVal::ClassInfo,
    &TstPosExt::ClassInfo,
    // Channels family, the count in one channel (after the position classes).
    &TstChnValCnt::ClassInfo,
    // Matrix family, the count in one column or row (after the channel one).
    &TstColValCnt::ClassInfo,
    &TstRowValCnt::ClassInfo,
    // Segments family, the count in one segment (after the row one).
    &TstSgmValCnt::ClassInfo,
    // Series family (after the count methods).
    &TstNumGroups::ClassInfo,
    &TstNumPauses::ClassInfo,
    &TstChnGroups::ClassInfo,
    &TstChnPauses::ClassInfo,
    &TstSgmGroups::ClassInfo,
    &TstSgmPauses::ClassInfo,
    // Periods family (after the series).
    &TstNumPeriods::ClassInfo,
    &TstChnPeriods::ClassInfo,
    &TstSgmPeriods::ClassInfo,
    // Chains family (after the periods classes).
    &TstChain2DrawsAll::ClassInfo,
    &TstChain2DrawsPos::ClassInfo,
    &TstChain2Pos::ClassInfo,
    &TstChain3DrawsPos::ClassInfo,
    &TstChain3Pos::ClassInfo,
    &TstChain2ChannelsAll::ClassInfo,
    &TstChain2ChannelsPos::ClassInfo,
    &TstChain2Channel::ClassInfo,
    &TstChain3ChannelsPos::ClassInfo,
    &TstChain3Channel::ClassInfo,
    &TstChain2CnlCnt::ClassInfo,
    &TstChain3CnlCnt::ClassInfo,
    &TstChainChannels2InsideAll::ClassInfo,
    &TstChainChannels2InsideSuc::ClassInfo,
    &TstChainChannels2InsideBad::ClassInfo,
    &TstChainChannels2InsideCnt::ClassInfo,
    &TstChain2SegmentsAll::ClassInfo,
    &TstChain2SegmentsPos::ClassInfo,
    &TstChain2Segment::ClassInfo,
    &TstChain3SegmentsPos::ClassInfo,
    &TstChain3Segment::ClassInfo,
    &TstChain2SgmCnt::ClassInfo,
    &TstChain3SgmCnt::ClassInfo,
    // Characteristic number family (after the chain classes).
    &TstVarnek1::ClassInfo,
    &TstVarnek2::ClassInfo,
    &TstVarnek3::ClassInfo,
    // Shredding family, the last rows of the table.
    &TstShreddingStat::ClassInfo,
};

} // namespace

std::span<const TStatClassInfo* const> StatClassTable() {
    return ClassTable;
}

} // namespace kumby
