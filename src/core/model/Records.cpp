#include "Records.h"

#include "Cp1251.h"

#include <algorithm>

namespace kumby {

std::string TDrawRecord::DateTextUtf8() const {
    return Cp1251ToUtf8(DateText.Bytes());
}

void TDrawRecord::SetDateTextUtf8(std::string_view text) {
    DateText.AssignBytes(Utf8ToCp1251(text));
}

TCombination TDrawRecord::Combination() const {
    TCombination comb;
    std::copy(std::begin(Numbers), std::end(Numbers), comb.begin());
    return comb;
}

void TDrawRecord::SetNumbers(const TCombination& comb) {
    std::copy(comb.begin(), comb.end(), std::begin(Numbers));
}

} // namespace kumby
