// The statistic classes in registry order. A family adds its rows here, at their
// place, and nowhere else.

#include "stats/StatList.h"
#include "stats/families/VF_Nums.h"

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
    // Numbers family, the position classes (after the combination classes).
    &TstPosVal::ClassInfo,
    &TstPosExt::ClassInfo,
};

} // namespace

std::span<const TStatClassInfo* const> StatClassTable() {
    return ClassTable;
}

} // namespace kumby
