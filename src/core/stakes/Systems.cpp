#include "stakes/Systems.h"

#include "io/AtomicFile.h"
#include "model/Cp1251.h"
#include "model/Error.h"
#include "model/VexoUtils.h"

#include <algorithm>
#include <cstring>
#include <fstream>

namespace kumby {

namespace {

bool IsSystemSeparator(char c) {
    // The separators of the files, and the line ends of files written elsewhere.
    return std::strchr(" *+,-./:;=\\_|~\t\r", c) != nullptr && c != '\0';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::string SystemFilePrefix(int n) {
    return Format("%d-%.2d-", NumbersInDraw, n);
}

bool IsSystemFileName(const std::string& name, int n) {
    const std::string prefix = SystemFilePrefix(n);
    constexpr std::string_view ext = ".dat";
    if (name.size() < prefix.size() + ext.size() + 1 || name.compare(0, prefix.size(), prefix) != 0 ||
        name.compare(name.size() - ext.size(), ext.size(), ext) != 0)
        return false;
    const std::string_view middle(name.data() + prefix.size(), name.size() - prefix.size() - ext.size());
    return middle.find('_') != std::string_view::npos;
}

std::filesystem::path FindSystemFile(const std::filesystem::path& systemsDir, int n) {
    std::error_code ec;
    std::vector<std::filesystem::path> found;
    for (std::filesystem::directory_iterator it(systemsDir, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeEc;
        if (it->is_regular_file(typeEc) && IsSystemFileName(it->path().filename().string(), n))
            found.push_back(it->path());
    }
    if (found.empty())
        return {};
    // The order of a folder listing differs between file systems; by name it is the same everywhere.
    return *std::min_element(found.begin(), found.end());
}

namespace {

// Lines with anything but separators in them; -1 when the file cannot be read.
int64_t CountSystemLines(const std::filesystem::path& file) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    if (ec || size > MaxSystemFileBytes)
        return -1;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return -1;
    int64_t lines = 0;
    bool filled = false;
    std::vector<char> buffer(1 << 16);
    while (in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        const auto got = static_cast<std::size_t>(in.gcount());
        for (std::size_t i = 0; i < got; ++i) {
            const char c = buffer[i];
            if (c == '\n') {
                lines += filled ? 1 : 0;
                filled = false;
            } else if (!filled && !IsSystemSeparator(c)) {
                filled = true;
            }
        }
    }
    if (in.bad())
        return -1;
    return lines + (filled ? 1 : 0);
}

// The digits of a name field, or -1 when it is empty or holds anything else.
int NameField(std::string_view field) {
    if (field.empty() || field.size() > 6)
        return -1;
    int value = 0;
    for (char c : field) {
        if (!IsDigit(c))
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace

TSystemFileInfo SystemFileInfo(const std::filesystem::path& file) {
    TSystemFileInfo info;
    info.File = file;
    const std::string name = file.filename().string();
    for (int n = MinSystemNumbers; n <= MaxNumber; ++n)
        if (IsSystemFileName(name, n))
            info.N = n;
    // A file of another name may still be checked: its lines are counted all the same.
    info.Combinations = CountSystemLines(file);
    if (info.N == 0)
        return info;
    // "12-NN-B_KKKK.dat": the block length and the catalogue number.
    const std::string_view rest = std::string_view(name).substr(
        SystemFilePrefix(info.N).size(), name.size() - SystemFilePrefix(info.N).size() - 4);
    const std::size_t bar = rest.find('_');
    const int block = NameField(rest.substr(0, bar));
    const std::string_view numberField = rest.substr(bar + 1);
    const int number = numberField.size() == 4 ? NameField(numberField) : -1;
    if (block == 0 && number >= 0) {
        info.Generated = true;
        info.Full = number == 0;
        if (!info.Full) {
            info.M = number / 100;
            info.T = number % 100;
        }
    }
    return info;
}

std::vector<TSystemFileInfo> ListSystemFiles(const std::filesystem::path& systemsDir) {
    std::error_code ec;
    std::vector<std::filesystem::path> found;
    for (std::filesystem::directory_iterator it(systemsDir, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeEc;
        if (!it->is_regular_file(typeEc))
            continue;
        const std::string name = it->path().filename().string();
        for (int n = MinSystemNumbers; n <= MaxNumber; ++n)
            if (IsSystemFileName(name, n)) {
                found.push_back(it->path());
                break;
            }
    }
    std::sort(found.begin(), found.end());
    std::vector<TSystemFileInfo> result;
    result.reserve(found.size());
    for (const std::filesystem::path& file : found)
        result.push_back(SystemFileInfo(file));
    return result;
}

std::vector<TSystemLine> ParseSystemText(std::string_view text, int n, const std::string& name) {
    n = std::min(n, MaxNumber);
    std::vector<TSystemLine> lines;
    std::size_t lineNo = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNo;

        TSystemLine positions{};
        int count = 0;
        bool used[MaxNumber + 1] = {};
        std::string problem;
        for (std::size_t i = 0; i < line.size() && problem.empty();) {
            if (IsSystemSeparator(line[i])) {
                ++i;
                continue;
            }
            std::size_t j = i;
            while (j < line.size() && !IsSystemSeparator(line[j]))
                ++j;
            const std::string_view word = line.substr(i, j - i);
            i = j;
            bool numeric = true;
            for (char c : word)
                numeric = numeric && IsDigit(c);
            // Past three significant digits it is out of range whatever they are: no overflow.
            const std::size_t zeros = std::min(word.find_first_not_of('0'), word.size());
            int value = word.size() - zeros > 3 ? MaxNumber + 1 : 0;
            if (numeric && value == 0)
                for (char c : word.substr(zeros))
                    value = value * 10 + (c - '0');
            const int shown = static_cast<int>(std::min<std::size_t>(word.size(), 40));
            if (!numeric)
                problem = Format("\"%.*s\" - не целое число", shown, word.data());
            else if (value < 1 || value > n)
                problem = Format("позиция %.*s вне пределов 1..%d", shown, word.data(), n);
            else if (count == NumbersInDraw)
                problem = Format("больше %d позиций", NumbersInDraw);
            else if (used[value])
                problem = Format("позиция %d повторяется", value);
            else {
                used[value] = true;
                positions[static_cast<std::size_t>(count++)] = static_cast<uint8_t>(value);
            }
        }
        if (problem.empty() && count == 0)
            continue; // an empty line, such as the one after the last line break
        if (problem.empty() && count < NumbersInDraw)
            problem = Format("%d позиций вместо %d", count, NumbersInDraw);
        if (!problem.empty())
            throw Error(Format("Файл \"%s\", строка %zu: %s.", name.c_str(), lineNo, problem.c_str()));
        lines.push_back(positions);
    }
    return lines;
}

std::vector<TSystemLine> ReadSystemFile(const std::filesystem::path& file, int n) {
    return ParseSystemText(ReadRegularFile(file, MaxSystemFileBytes), n, file.string());
}

std::string SystemNotFoundText(int n) {
    return Format("Система для %d чисел не найдена или не загружена на компьютер!", n);
}

std::string SystemNotFoundBoxText(int n) {
    return SystemNotFoundText(n) +
           "\r\rПеред системной игрой необходимо предварительно загрузить системы на Ваш компьютер через "
           "меню \"Системы\" - \"Загрузить\".";
}

TSystemLoad LoadSystem(const std::filesystem::path& systemsDir, const TByteArray& numberList) {
    TSystemLoad result;
    result.N = static_cast<int>(numberList.size());
    result.File = FindSystemFile(systemsDir, result.N);
    if (result.File.empty()) {
        result.Message = SystemNotFoundText(result.N);
        return result;
    }
    try {
        const std::vector<TSystemLine> lines = ReadSystemFile(result.File, result.N);
        result.Combinations.reserve(lines.size());
        for (const TSystemLine& line : lines) {
            TCombination comb{};
            for (std::size_t j = 0; j < comb.size(); ++j)
                comb[j] = numberList[line[j] - 1u]; // positions were checked against n
            result.Combinations.push_back(comb);
        }
    } catch (const std::exception& e) {
        result.Combinations.clear();
        result.ReadError = true;
        result.Message = e.what();
        return result;
    }
    result.Ok = !result.Combinations.empty();
    if (!result.Ok) {
        result.ReadError = true;
        result.Message = Format("Файл \"%s\" не содержит ни одной комбинации.", result.File.string().c_str());
    }
    return result;
}

TCombinationLookup::TCombinationLookup(const TCombsArray& list) : Sorted_(list) {
    for (TCombination& c : Sorted_)
        SortCombination(c);
    std::sort(Sorted_.begin(), Sorted_.end());
}

bool TCombinationLookup::Contains(const TCombination& sortedNumbers) const {
    return std::binary_search(Sorted_.begin(), Sorted_.end(), sortedNumbers);
}

std::vector<TCombination> SystemGameCombinations(const TSystemLoad& system, TSystemMode mode,
                                                 const TCombsArray& workingList) {
    std::optional<TCombinationLookup> lookup;
    if (mode == TSystemMode::Filter)
        lookup.emplace(workingList);
    std::vector<TCombination> result;
    result.reserve(lookup ? 0 : system.Combinations.size());
    for (TCombination comb : system.Combinations) {
        SortCombination(comb);
        if (!lookup || lookup->Contains(comb))
            result.push_back(comb);
    }
    return result;
}

std::string SystemStakeComment(TSystemMode mode, int n, const std::filesystem::path& file) {
    // A file of a long name must not make a comment the stake dialogs refuse.
    return Utf8Prefix(Format(mode == TSystemMode::All ? "Системная игра для %d чисел [вся система]: %s"
                                                      : "Системная игра для %d чисел [комбинации]: %s",
                             n, file.stem().string().c_str()),
                      StakeCommentMaxLength);
}

int64_t RunScriptSystemGame(const std::filesystem::path& systemsDir, const TCombsArray& workingList,
                            TSystemMode mode, const std::function<void(const std::string&)>& log,
                            const std::function<bool(const TCombination&)>& addStake) {
    TByteArray numbers;
    CollectDistinctNumbers(workingList.data(), workingList.size(), numbers);
    const TSystemLoad system = LoadSystem(systemsDir, numbers);
    if (!system.Ok) {
        log(Format("{#} Системная игра для %d чисел [ОШИБКА]: \"%s\"", system.N, system.Message.c_str()));
        return -1;
    }
    log(Format(mode == TSystemMode::All
                   ? "{#} Системная игра для %d чисел [все система]: загружен файл \"%s\""
                   : "{#} Системная игра для %d чисел [система * комбинации]: загружен "
                     "файл \"%s\"",
               system.N, system.File.stem().string().c_str()));
    int64_t handed = 0;
    for (const TCombination& comb : SystemGameCombinations(system, mode, workingList)) {
        ++handed;
        if (!addStake(comb))
            break;
    }
    return handed;
}

} // namespace kumby
