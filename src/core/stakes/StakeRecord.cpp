#include "stakes/StakeRecord.h"

#include "model/Cp1251.h"
#include "model/VexoUtils.h"

#include <algorithm>

namespace kumby {

std::string TStakeRecord::CommentUtf8() const {
    return Cp1251ToUtf8(Comment.Bytes());
}

void TStakeRecord::SetCommentUtf8(std::string_view text) {
    Comment.AssignBytes(Utf8ToCp1251(text));
}

TStakeRecord NewStake(TStakeKind kind, int32_t drawNumber, int32_t combsCount, const TCombination& numbers,
                      TMoney cost, std::string_view commentUtf8) {
    TStakeRecord r;
    r.Kind = kind;
    r.DrawNumber = drawNumber;
    r.CombsCount = combsCount;
    SetStakeNumbers(r, numbers);
    r.Profit = -cost;
    r.SetCommentUtf8(commentUtf8);
    return r;
}

TStakeRecord SeparatorRecord() {
    return TStakeRecord{};
}

void SetStakeNumbers(TStakeRecord& stake, const TCombination& numbers) {
    TCombination sorted = numbers;
    std::sort(sorted.begin(), sorted.end());
    stake.Numbers.Count = NumbersInDraw;
    std::copy(sorted.begin(), sorted.end(), stake.Numbers.Numbers);
}

bool IsValidStakeCombination(const TCombination& numbers) {
    uint32_t seen = 0;
    for (uint8_t n : numbers) {
        if (n < 1 || n > MaxNumber || (seen >> n & 1))
            return false;
        seen |= uint32_t{1} << n;
    }
    return true;
}

std::optional<TCombination> ParseStakeNumbers(std::string_view text) {
    TCombination comb{};
    std::size_t count = 0;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        const std::size_t end = std::min(text.find_first_of(",;", pos), text.size());
        if (end > pos) { // runs of separators count as one
            if (count == comb.size())
                return std::nullopt;
            int32_t n = 0;
            if (!TryParseInt(TrimView(text.substr(pos, end - pos)), n) || n < 1 || n > MaxNumber)
                return std::nullopt;
            comb[count++] = static_cast<uint8_t>(n);
        }
        pos = end + 1;
    }
    if (count != comb.size() || !IsValidStakeCombination(comb))
        return std::nullopt;
    std::sort(comb.begin(), comb.end());
    return comb;
}

int64_t EnteredNumbersSum(std::string_view text) {
    int64_t sum = 0;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        const std::size_t end = std::min(text.find_first_of(",;", pos), text.size());
        int32_t n = 0;
        if (end > pos && TryParseInt(TrimView(text.substr(pos, end - pos)), n))
            sum += n;
        pos = end + 1;
    }
    return sum;
}

std::string CheckManualStake(std::string_view numbersText, std::string_view commentUtf8) {
    if (!ParseStakeNumbers(numbersText))
        return BadStakeNumbersText;
    if (commentUtf8.empty())
        return NoStakeCommentText;
    return {};
}

} // namespace kumby
