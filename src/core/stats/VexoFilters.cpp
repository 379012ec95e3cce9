#include "VexoFilters.h"

#include "model/Cp1251.h"
#include "model/VexoUtils.h"
#include "stats/StatList.h"

#include <algorithm>
#include <bitset>
#include <cctype>
#include <filesystem>

namespace kumby {

// ---- Pattern formatting --------------------------------------------------------

namespace {

constexpr int MaxWidth = 255;

// Replaces every placeholder of one kind in a Delphi format pattern ("%d", "%0:d",
// "%.3d", "%5d", "%-5s", "%0:s") by the one argument, with "%%" giving "%". Widths
// and precisions are capped: custom method names reach this as patterns.
template <typename F> std::string FormatOne(std::string_view pattern, char kind, F&& render) {
    std::string out;
    out.reserve(pattern.size() + 8);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%') {
            out += pattern[i];
            continue;
        }
        if (i + 1 < pattern.size() && pattern[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        // %[index:][-][width][.precision]type
        std::size_t j = i + 1;
        std::size_t k = j;
        while (k < pattern.size() && std::isdigit(static_cast<unsigned char>(pattern[k])))
            ++k;
        if (k < pattern.size() && pattern[k] == ':')
            j = k + 1;
        bool leftAligned = false;
        if (j < pattern.size() && pattern[j] == '-') {
            leftAligned = true;
            ++j;
        }
        std::size_t width = 0;
        while (j < pattern.size() && std::isdigit(static_cast<unsigned char>(pattern[j])))
            width =
                std::min<std::size_t>(width * 10 + static_cast<std::size_t>(pattern[j++] - '0'), MaxWidth);
        int precision = -1;
        if (j < pattern.size() && pattern[j] == '.') {
            ++j;
            precision = 0;
            while (j < pattern.size() && std::isdigit(static_cast<unsigned char>(pattern[j])))
                precision = std::min(precision * 10 + (pattern[j++] - '0'), MaxWidth);
        }
        if (j < pattern.size() && std::tolower(static_cast<unsigned char>(pattern[j])) == kind) {
            const std::string text = render(precision);
            const std::size_t length = Utf8Length(text);
            const std::string padding(width > length ? width - length : 0, ' ');
            out += leftAligned ? text + padding : padding + text;
            i = j;
            continue;
        }
        out += pattern[i]; // not ours: keep it as it stands
    }
    return out;
}

} // namespace

std::string FormatWithInt(std::string_view pattern, int32_t value) {
    return FormatOne(pattern, 'd', [&](int precision) {
        return precision > 0 ? Format("%.*d", precision, value) : std::to_string(value);
    });
}

std::string FormatWithText(std::string_view pattern, std::string_view value) {
    return FormatOne(pattern, 's', [&](int) { return std::string(value); });
}

// ---- Class information -------------------------------------------------------

std::string TStatClassInfo::CodeFor(int32_t param) const {
    return FormatWithInt(Code, param);
}

std::string TStatClassInfo::CaptionFor(int32_t param) const {
    if (CaptionOf)
        return CaptionOf(param);
    return FormatWithInt(Caption, param);
}

std::string TStatClassInfo::HelpCodeFor(int32_t param) const {
    return FormatWithInt(HelpCode ? HelpCode : Code, param);
}

std::string TStatClassInfo::HelpTopic(int32_t param, const std::string& helpFile) const {
    // A folder of that name is no help file either.
    std::error_code ec;
    if (helpFile.empty() || !std::filesystem::is_regular_file(helpFile, ec))
        return {};
    return "ms-its:" + helpFile + Format("::/Filters_%.4d_%s.htm", 1049, HelpCodeFor(param).c_str());
}

void TStatClassInfo::GetParamRange(const TStatList& list, int32_t& min, int32_t& max) const {
    min = 0;
    max = 0;
    if (ParamRange)
        ParamRange(list, min, max);
}

// ---- Merging with an index -----------------------------------------------------

void TStatMerger::Remember(const TStatDrawArray& list) {
    List_ = &list;
    Data_ = list.data();
    Size_ = list.size();
    LastKey_ = list.empty() ? 0 : StatKey(list.back());
}

uint32_t* TStatMerger::TupleEntry(uint64_t key) {
    if (DirectSlot(key) >= 0)
        return nullptr;
    const int32_t slot = TupleSlot(key);
    if (slot < 0)
        return nullptr;
    if (Tuple_.empty())
        Tuple_.assign(TupleSlots, 0);
    return &Tuple_[static_cast<std::size_t>(slot)];
}

void TStatMerger::ClearTuples() {
    // Past a quarter of the table, one sweep costs less than jumping slot by slot.
    if (TupleUsed_.size() > Tuple_.size() / 4) {
        std::fill(Tuple_.begin(), Tuple_.end(), 0u);
    } else {
        for (const uint32_t slot : TupleUsed_)
            Tuple_[slot] = 0;
    }
    TupleUsed_.clear();
}

int64_t TStatMerger::Find(uint64_t key) {
    if (const int32_t slot = DirectSlot(key); slot >= 0)
        return static_cast<int64_t>(Direct_[static_cast<std::size_t>(slot)]) - 1;
    if (const uint32_t* at = TupleEntry(key))
        return static_cast<int64_t>(*at) - 1;
    const auto it = Index_.find(key);
    return it == Index_.end() ? -1 : static_cast<int64_t>(it->second);
}

// The first of equal keys wins, as the scan of AddStatEntry finds the first.
void TStatMerger::Insert(uint64_t key, std::size_t position) {
    if (const int32_t slot = DirectSlot(key); slot >= 0) {
        uint32_t& at = Direct_[static_cast<std::size_t>(slot)];
        if (at == 0)
            at = static_cast<uint32_t>(position + 1);
    } else if (uint32_t* at = TupleEntry(key)) {
        if (*at == 0) {
            *at = static_cast<uint32_t>(position + 1);
            TupleUsed_.push_back(static_cast<uint32_t>(TupleSlot(key)));
        }
    } else {
        Index_.emplace(key, static_cast<uint32_t>(position));
    }
}

void TStatMerger::Rebuild(const TStatDrawArray& list) {
    Direct_.assign(DirectSlots, 0);
    Index_.clear();
    ClearTuples();
    for (std::size_t i = 0; i < list.size(); ++i)
        Insert(StatKey(list[i]), i);
    Remember(list);
}

void TStatMerger::AddSlow(TStatDrawArray& list, const TStatEntry& e, bool trackPeriods) {
    if (!Follows(list))
        Rebuild(list);
    const uint64_t key = StatKey(e);
    const int64_t at = Find(key);
    if (at >= 0) {
        const auto position = static_cast<std::size_t>(at);
        TStatEntry* found = position < list.size() ? list.data() + position : nullptr;
        if (found && StatKey(*found) == key) {
            MergeStatEntry(*found, e, trackPeriods);
            return;
        }
        // The list changed behind the index: start over.
        Rebuild(list);
        Add(list, e, trackPeriods);
        return;
    }
    TStatEntry copy = e;
    copy.Norm = 0;
    list.push_back(copy);
    Insert(key, list.size() - 1);
    Remember(list);
}

// ---- TCustomStat ---------------------------------------------------------------

TCustomStat::TCustomStat(const TStatList& list, int32_t param)
    : List(list), Param_(param), Draws(list.Draws()) {}

const TConfigData& TCustomStat::Config() const {
    return List.Config();
}

int32_t TCustomStat::ParseValue(std::string_view text) const {
    return ParseIntOr(text, 0);
}

int32_t TCustomStat::NumericValue(std::string_view text) const {
    return Info().NumericValues ? ParseValue(text) : 0;
}

void TCustomStat::SeedValues(int /*lastIdx*/, TStatDrawArray& /*stat*/) {
    Entry = TStatEntry{};
}

void TCustomStat::GetDraw(int idx, bool sorted, TDrawRecord& out) const {
    if (idx < 0 || static_cast<std::size_t>(idx) >= Draws.size()) {
        out = TDrawRecord{};
        return;
    }
    out = Draws[idx];
    if (sorted)
        SortDrawNumbers(out);
}

void TCustomStat::LoadDraws(int drawIdx, int refIdx, bool sorted) {
    GetDraw(drawIdx, sorted, CurDraw);
    if (Info().Flags & StatFlagD)
        GetDraw(refIdx, sorted, RefDraw);
}

void TCustomStat::AddCombination(const TCombination& /*comb*/, TStatDrawArray& /*stat*/) {
    Entry = TStatEntry{};
    Entry.Count = 1;
}

void TCustomStat::AddCombinations(std::span<const TCombination> combs, TStatDrawArray& stat) {
    for (const TCombination& comb : combs)
        AddCombination(comb, stat);
}

void TCustomStat::AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& /*stat*/,
                          TRunState& /*runState*/, TLastValueArray& /*lastValues*/) {
    LoadDraws(drawIdx, lastIdx, sorted);
    Entry = TStatEntry{};
    Entry.Draw = CurDraw.Number;
    Entry.PrevDraw = CurDraw.Number;
    Entry.Depth = lastIdx - drawIdx + 1;
    Entry.Count = 1;
}

void TCustomStat::DrawValues(int drawIdx, int lastIdx, bool sorted, TRunState& runState,
                             TStatDrawArray& values) {
    values.clear();
    TLastValueArray lastValues;
    AddDraw(drawIdx, lastIdx, sorted, values, runState, lastValues);
}

int32_t TCustomStat::FindNextOccurrence(const TStatEntry& e, int startIdx, int lastIdx, bool sorted) {
    const int newest = static_cast<int>(Draws.size()) - 1;
    if (startIdx > newest)
        return -1;
    TRunState runState;
    TStatDrawArray stat;
    for (int idx = std::max(startIdx, 0); idx <= newest; ++idx) {
        DrawValues(idx, lastIdx, sorted, runState, stat);
        for (const TStatEntry& x : stat)
            if (x.SameKey(e))
                return x.Draw;
    }
    return -1;
}

int32_t TCustomStat::ChartValue(const uint8_t* /*numbers*/, int /*drawIdx*/, int /*lastIdx*/,
                                bool /*sorted*/) {
    return 0;
}

int32_t TCustomStat::ChartValueOfDraw(int drawIdx, int lastIdx, bool sorted) {
    TDrawRecord d;
    GetDraw(drawIdx, sorted, d);
    return ChartValue(d.Numbers, drawIdx, lastIdx, sorted);
}

// ---- Selected-value lookups ------------------------------------------------------

TSelectionScope::TSelectionScope(const TStatDrawArray& selected) {
    detail::TSelectionIndex& index = detail::Selection;
    index = detail::TSelectionIndex{};
    for (const TStatEntry& e : selected) {
        if (e.Key1 >= detail::SmallKey)
            continue;
        index.Word1.set(e.Key1);
        if (e.Key2 == 0)
            index.Half1.set(e.Key1);
        if (e.Key2 == 0 && e.Key3 == 0 && e.Key4 == 0) {
            index.Exact.set(e.Key1);
            if (e.Key1 < index.ExactNumber.size())
                index.ExactNumber[e.Key1] = 1;
        }
    }
    index.Source = &selected;
    index.Size = selected.size();
}

TSelectionScope::~TSelectionScope() {
    detail::Selection.Source = nullptr;
}

std::size_t TCustomStat::KeepMatching(std::span<const TCombination> in, TCombination* out,
                                      const TStatDrawArray& selected, int lastIdx, bool sorted,
                                      bool exclude) {
    TCombination* const first = out;
    for (const TCombination& c : in)
        if (Matches(c, selected, lastIdx, sorted, exclude) != exclude)
            *out++ = c;
    return static_cast<std::size_t>(out - first);
}

bool TCustomStat::ScanKeys(const TStatDrawArray& selected, uint16_t k1, uint16_t k2, uint16_t k3,
                           uint16_t k4) {
    for (const TStatEntry& e : selected)
        if (e.Key1 == k1 && e.Key2 == k2 && e.Key3 == k3 && e.Key4 == k4)
            return true;
    return false;
}

bool TCustomStat::HasKeyByte(const TStatDrawArray& selected, int n, uint8_t b) {
    if (n < 1 || n > 8)
        return false;
    for (const TStatEntry& e : selected) {
        const uint64_t key = StatKey(e);
        if (static_cast<uint8_t>(key >> (8 * (n - 1))) == b)
            return true;
    }
    return false;
}

bool TCustomStat::ScanKeyWord(const TStatDrawArray& selected, int n, uint16_t w) {
    if (n < 1 || n > 4)
        return false;
    for (const TStatEntry& e : selected)
        if (static_cast<uint16_t>(StatKey(e) >> (16 * (n - 1))) == w)
            return true;
    return false;
}

bool TCustomStat::ScanKeyHalf(const TStatDrawArray& selected, int n, uint32_t d) {
    if (n < 1 || n > 2)
        return false;
    for (const TStatEntry& e : selected)
        if (static_cast<uint32_t>(StatKey(e) >> (32 * (n - 1))) == d)
            return true;
    return false;
}

// ---- Base kinds ----------------------------------------------------------------

std::string TCustomGraphStat::ValueText(const TStatEntry& e) const {
    return std::to_string(e.Key1);
}
std::string TCustomValuesStat::ValueText(const TStatEntry& e) const {
    return std::to_string(e.Key1);
}
std::string TCustomNumbersStat::ValueText(const TStatEntry& e) const {
    return std::to_string(e.Key1);
}

std::string TCustomRatioStat::ValueText(const TStatEntry& e) const {
    return std::to_string(e.Key1) + ":" + std::to_string(12 - static_cast<int>(e.Key1));
}

int32_t TCustomRatioStat::ParseValue(std::string_view text) const {
    return ParseIntOr(TrimView(text.substr(0, text.find(':'))), 0);
}

std::string TCustomMaskStat::ValueText(const TStatEntry& e) const {
    const uint32_t mask = static_cast<uint32_t>(StatKey(e));
    std::string symbols;
    for (int bit = 11; bit >= 0; --bit)
        symbols += (mask >> bit) & 1 ? OneSymbol() : ZeroSymbol();
    return symbols + Format(" (%.3u)", mask);
}

int32_t TCustomMaskStat::ParseValue(std::string_view text) const {
    // Symbols may be Cyrillic, so characters are UTF-8 sequences, not bytes.
    const std::string_view one = OneSymbol();
    int32_t mask = 0;
    std::size_t i = 0;
    for (int n = 0; n < 12 && i < text.size(); ++n) {
        std::size_t len = 1;
        while (i + len < text.size() && (static_cast<unsigned char>(text[i + len]) & 0xC0) == 0x80)
            ++len;
        mask = mask * 2 + (text.substr(i, len) == one ? 1 : 0);
        i += len;
    }
    return mask;
}

void TCustomMaskStat::SeedValues(int lastIdx, TStatDrawArray& stat) {
    TCustomStat::SeedValues(lastIdx, stat);
    for (uint16_t m = 0; m < 4096; ++m) {
        Entry.Key1 = m;
        Entry.Key2 = 0;
        Merge(stat, false);
    }
}

} // namespace kumby
