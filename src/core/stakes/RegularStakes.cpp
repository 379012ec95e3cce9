#include "stakes/RegularStakes.h"

#include "io/AtomicFile.h"
#include "model/Cp1251.h"
#include "model/VexoUtils.h"
#include "stakes/Ratings.h"
#include "stakes/StakeRecord.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <unordered_set>

namespace kumby {

std::string TRegularRecord::CommentUtf8() const {
    return Cp1251ToUtf8(Comment.Bytes());
}

void TRegularRecord::SetCommentUtf8(std::string_view text) {
    Comment.AssignBytes(Utf8ToCp1251(text));
}

TCombination ShiftCombination(const TCombination& base, int step) {
    TCombination out{};
    for (std::size_t i = 0; i < base.size(); ++i)
        out[i] = static_cast<uint8_t>(ShiftNumber(base[i], step));
    SortCombination(out);
    return out;
}

bool AdvanceRegular(TRegularRecord& regular, const TCombination& lastDraw) {
    const TCombination& base = regular.UseLastDraw ? lastDraw : regular.CurrentComb;
    // A shift of zeros would give numbers that are no stake.
    if (!IsValidStakeCombination(base) || regular.Step < -MaxRegularStep || regular.Step > MaxRegularStep)
        return false;
    regular.CurrentComb = ShiftCombination(base, regular.Step);
    if (regular.StakeCount < std::numeric_limits<int32_t>::max())
        ++regular.StakeCount;
    return true;
}

namespace {

bool IsSoundComb(const TCombination& comb) {
    if (std::all_of(comb.begin(), comb.end(), [](uint8_t n) { return n == 0; }))
        return true;
    return IsValidStakeCombination(comb) && std::is_sorted(comb.begin(), comb.end());
}

} // namespace

bool IsSoundRegular(const TRegularRecord& r) {
    return r.Comment.Length > 0 && r.UseLastDraw <= 1 && r.Step >= -MaxRegularStep &&
           r.Step <= MaxRegularStep && r.StakeCount >= 0 && IsSoundComb(r.StartComb) &&
           IsSoundComb(r.CurrentComb);
}

int64_t FindRegular(const TRegularsArray& items, std::string_view commentUtf8) {
    const std::string key = Utf8ToUpper(commentUtf8);
    for (std::size_t i = 0; i < items.size(); ++i)
        if (Utf8ToUpper(items[i].CommentUtf8()) == key)
            return static_cast<int64_t>(i);
    return -1;
}

TRegularsLoad RegularsFromBytes(std::string_view bytes) {
    TRegularsLoad load;
    load.Records = static_cast<int64_t>(bytes.size() / RegularRecordSize);
    load.TailBytes = static_cast<int64_t>(bytes.size() % RegularRecordSize);
    std::unordered_set<std::string> comments;
    for (int64_t i = 0; i < load.Records; ++i) {
        TRegularRecord r;
        std::memcpy(&r, bytes.data() + i * static_cast<int64_t>(RegularRecordSize), RegularRecordSize);
        // Bytes past the length are not part of the comment; zero them so that they
        // are not carried on.
        r.Comment.AssignBytes(r.Comment.Bytes());
        std::fill(std::begin(r.Reserved), std::end(r.Reserved), uint8_t{0});
        if (!IsSoundRegular(r)) {
            ++load.Bad;
            continue;
        }
        if (!comments.insert(Utf8ToUpper(r.CommentUtf8())).second) {
            ++load.Duplicates;
            continue;
        }
        load.Items.push_back(r);
    }
    return load;
}

std::string RegularsToBytes(const TRegularsArray& items) {
    std::string bytes(items.size() * RegularRecordSize, '\0');
    for (std::size_t i = 0; i < items.size(); ++i)
        std::memcpy(bytes.data() + i * RegularRecordSize, &items[i], RegularRecordSize);
    return bytes;
}

TRegularsLoad LoadRegularsFile(const std::filesystem::path& path) {
    return RegularsFromBytes(ReadRegularFile(path, MaxRegularsFileBytes));
}

void SaveRegularsFile(const std::filesystem::path& path, const TRegularsArray& items) {
    SaveFileAtomic(path, RegularsToBytes(items));
}

std::filesystem::path KeepDamagedRegularsFile(const std::filesystem::path& path) {
    // The ratings' copy works on any file: the same names, never overwriting one.
    return KeepDamagedRatingsFile(path);
}

std::string DamagedRegularsText(const std::filesystem::path& path, const TRegularsLoad& load,
                                const std::filesystem::path& copy) {
    std::string problems;
    if (load.TailBytes > 0)
        problems += Format("\r- размер файла не кратен размеру записи (%zu байт): последние %lld байт "
                           "не образуют записи;",
                           RegularRecordSize, static_cast<long long>(load.TailBytes));
    if (load.Bad > 0)
        problems += Format("\r- записей с недопустимыми значениями: %lld;", static_cast<long long>(load.Bad));
    if (load.Duplicates > 0)
        problems += Format("\r- записей с повторяющимся комментарием: %lld;",
                           static_cast<long long>(load.Duplicates));
    std::string text = Format("Файл регулярных ставок \"%s\" поврежден:%s\r\rСохранено регулярных ставок: "
                              "%zu из %lld.",
                              path.string().c_str(), problems.c_str(), load.Items.size(),
                              static_cast<long long>(load.Records));
    if (!copy.empty())
        text += Format(" Исходный файл сохранен без изменений как \"%s\".", copy.string().c_str());
    return text;
}

std::string CheckRegularInput(const TRegularInput& input, bool oneSelected, const TRegularsArray& existing) {
    if (!input.UseLastDraw && oneSelected && !ParseStakeNumbers(input.CombText))
        return BadStakeNumbersText;
    if (input.Comment.empty())
        return NoStakeCommentText;
    if (FindRegular(existing, input.Comment) >= 0)
        return "Запись с таким комментарией уже присутствует в списке!\rВыберите другой комментарий.";
    if (Utf8Length(input.Comment) > StakeCommentMaxLength)
        return Format("Комментарий к ставке длиннее %d символов.", StakeCommentMaxLength);
    if (input.Step < -MaxRegularStep || input.Step > MaxRegularStep)
        return Format("Некорректный шаг: %d. Допустимо от %d до %d.", input.Step, -MaxRegularStep,
                      MaxRegularStep);
    return {};
}

const std::vector<std::string>& RegularsCaptions() {
    static const std::vector<std::string> captions = {"Комментарий", "Стартовая комбинация", "Шаг",
                                                      "Текущая комбинация", "Ставок"};
    return captions;
}

std::vector<std::string> RegularCells(const TRegularRecord& r) {
    auto join = [](const TCombination& comb) {
        std::string text;
        for (uint8_t n : comb) {
            if (!text.empty())
                text += ';';
            text += std::to_string(n);
        }
        return text;
    };
    return {r.CommentUtf8(), join(r.StartComb), std::to_string(r.Step), join(r.CurrentComb),
            std::to_string(r.StakeCount)};
}

} // namespace kumby
