#include "StatList.h"

#include "io/IniFile.h"
#include "model/Cp1251.h"
#include "model/Error.h"
#include "model/VexoUtils.h"

namespace kumby {

namespace {

struct TGroupInfo {
    const char* Tag;
    const char* Caption;
};

const TGroupInfo Groups[] = {
    {"num", "Числа тиража"},
    {"sum", "Сумма чисел тиража"},
    {"dif", "Разности между числами тиража"},
    {"grp", "Каналы (группы чисел)"},
    {"mtx", "Матрица тиража"},
    {"sgm", "Сегменты матрицы тиража"},
    {"seq", "Последовательности чисел в одном тираже"},
    {"rep", "Повторяющиеся числа в нескольких тиражах"},
    {"ser", "Серии (цепочки) значений"},
    {"per", "Периоды повторения значений"},
    {"mov", "Переходы (изменения) значений между тиражами"},
    {"vrn", "Характеристическое число Варнека"},
    {"shr", "Методы шинковки"},
};

constexpr int GroupCountTotal = static_cast<int>(std::size(Groups));
constexpr const char* FiltersSection = "FILTERS";

} // namespace

std::string TStatMethod::FullName() const {
    if (StatClass->Group == ShreddingGroup)
        return FormatWithText(BaseName(), FormulaText);
    return BaseName();
}

TStatList::TStatList(const TDrawsArray& draws, TConfigData& config, const TShreddingSettings& shredding)
    : Draws_(draws), Config_(config), Shredding_(shredding) {}

void TStatList::Rebuild() {
    Ordered = false;
    ShowGroupName = true;
    ShowMethodFlags = true;
    AllMarked = true;
    Methods_.clear();
    for (const TStatClassInfo* info : StatClassTable()) {
        if (!info->Available)
            continue;
        int32_t min = 0, max = 0;
        if (info->HasParam)
            info->GetParamRange(*this, min, max);
        for (int64_t p = min; p <= max; ++p) {
            TStatMethod m;
            m.StatClass = info;
            m.Param = static_cast<int32_t>(p);
            if (info->Group == ShreddingGroup && p >= 1 && p <= 3)
                m.FormulaText = Shredding_.Formulas[p - 1];
            Methods_.push_back(std::move(m));
        }
    }
}

std::string TStatList::GroupTag(int group) {
    return group >= 0 && group < GroupCountTotal ? Groups[group].Tag : "";
}

std::string TStatList::GroupText(int group) {
    if (group < 0 || group >= GroupCountTotal)
        return "#ERROR#";
    return std::string("{ ") + Groups[group].Tag + " } " + Groups[group].Caption;
}

std::string TStatList::DisplayName(std::size_t i, bool withFlags) const {
    const TStatMethod& m = Methods_[i];
    std::string name = m.FullName();
    if (ShowGroupName)
        name = "{ " + GroupTag(m.StatClass->Group) + " } " + name;
    if (withFlags && ShowMethodFlags) {
        const std::string marks = StatFlagLetters(m.StatClass->DisplayFlags());
        if (!marks.empty())
            name += " [ " + marks + " ]";
    }
    return name;
}

std::string StatFlagLetters(uint8_t flags) {
    static const std::pair<uint8_t, char> letters[] = {
        {StatFlagS, 'S'}, {StatFlagN, 'N'}, {StatFlagD, 'D'}, {StatFlagP, 'P'}, {StatFlagG, 'G'}};
    std::string marks;
    for (const auto& [bit, letter] : letters)
        if (flags & bit)
            marks += letter;
    return marks;
}

std::unique_ptr<TCustomStat> TStatList::CreateInstance(std::size_t i) const {
    const TStatMethod& m = Methods_.at(i);
    return m.StatClass->Create(*this, m.Param);
}

int TStatList::FindByCode(std::string_view code) const {
    for (std::size_t i = 0; i < Methods_.size(); ++i)
        if (SameTextIgnoreCase(Methods_[i].MethodCode(), code))
            return static_cast<int>(i);
    return -1;
}

void TStatList::MarkAll() {
    AllMarked = true;
    for (TStatMethod& m : Methods_)
        m.Marked = true;
}

void TStatList::NormalizeFavourites() {
    AllMarked = true;
    for (std::size_t i = 1; i < Methods_.size(); ++i)
        if (Methods_[i].Marked != Methods_[0].Marked) {
            AllMarked = false;
            return;
        }
    if (!Methods_.empty() && !Methods_[0].Marked)
        for (TStatMethod& m : Methods_)
            m.Marked = true;
}

std::string TStatList::FavouritesText() const {
    if (AllMarked)
        return {};
    std::string text;
    for (const TStatMethod& m : Methods_)
        if (m.Marked) {
            if (!text.empty())
                text += ',';
            text += m.MethodCode();
        }
    return text;
}

void TStatList::SetFavourites(std::string_view text) {
    if (TrimView(text).empty()) {
        MarkAll();
        return;
    }
    std::vector<std::string_view> words;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        words.push_back(
            text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    AllMarked = false;
    for (TStatMethod& m : Methods_) {
        const std::string code = m.MethodCode();
        m.Marked = false;
        for (std::string_view w : words)
            if (SameTextIgnoreCase(code, w)) {
                m.Marked = true;
                break;
            }
    }
}

void TStatList::LoadNames(const std::filesystem::path& file, bool withFavourites) {
    try {
        const TIniFile ini = TIniFile::Load(file);
        const std::string section = "STRINGS_" + LanguageCode_;
        if (withFavourites) {
            SetFavourites(ini.ReadString(FiltersSection, "Favorites", FavouritesText()));
            Ordered = ini.ReadBool(FiltersSection, "Ordered", Ordered);
            ShowGroupName = ini.ReadBool(FiltersSection, "ShowGroupName", ShowGroupName);
            ShowMethodFlags = ini.ReadBool(FiltersSection, "ShowMethodFlags", ShowMethodFlags);
        }
        for (TStatMethod& m : Methods_)
            m.CustomName = Trim(ini.ReadString(section, m.MethodCode(), ""));
    } catch (const std::exception& e) {
        throw Error(FormatWithText("Ошибка загрузки списка фильтров!\r\r%s", e.what()));
    }
}

void TStatList::SaveNames(const std::filesystem::path& file, bool withFavourites, bool allNames) {
    try {
        TIniFile ini = TIniFile::Load(file);
        if (withFavourites) {
            ini.WriteString(FiltersSection, "Favorites", FavouritesText());
            ini.WriteBool(FiltersSection, "Ordered", Ordered);
            ini.WriteBool(FiltersSection, "ShowGroupName", ShowGroupName);
            ini.WriteBool(FiltersSection, "ShowMethodFlags", ShowMethodFlags);
        }
        const std::string section = "STRINGS_" + LanguageCode_;
        ini.EraseSection(section);
        for (const TStatMethod& m : Methods_) {
            if (allNames)
                ini.WriteString(section, m.MethodCode(), m.BaseName());
            else if (!m.CustomName.empty())
                ini.WriteString(section, m.MethodCode(), m.CustomName);
        }
        ini.Save(file);
    } catch (const std::exception& e) {
        throw Error(FormatWithText("Ошибка сохранения списка фильтров!\r\r%s", e.what()));
    }
}

TMoney TStatList::StakeResult(int numbersInStake, int hits) const {
    const long double cost =
        static_cast<long double>(Config_.Cost) * static_cast<long double>(Binomial(numbersInStake, 12));
    TMoney result = -RoundHalfEven(cost);
    if (hits >= 0)
        for (const TProfitEntry& p : Config_.Profits)
            if (p.Overlap == hits) {
                result += p.Profit;
                break;
            }
    return result;
}

void TStatList::SaveWeights() {
    SavedWeights_ = TWeights{Config_.CoefCount, Config_.CoefDeviation, Config_.CoefLevel, Config_.UsePercents,
                             Config_.UseAbsValues};
}

void TStatList::RestoreWeights() {
    if (!SavedWeights_)
        return;
    Config_.CoefCount = SavedWeights_->CoefCount;
    Config_.CoefDeviation = SavedWeights_->CoefDeviation;
    Config_.CoefLevel = SavedWeights_->CoefLevel;
    Config_.UsePercents = SavedWeights_->UsePercents;
    Config_.UseAbsValues = SavedWeights_->UseAbsValues;
}

void TStatList::ApplyWeights(bool use, const TWeights& w) {
    if (!use) {
        RestoreWeights();
        return;
    }
    Config_.CoefCount = w.CoefCount;
    Config_.CoefDeviation = w.CoefDeviation;
    Config_.CoefLevel = w.CoefLevel;
    Config_.UsePercents = w.UsePercents;
    Config_.UseAbsValues = w.UseAbsValues;
}

} // namespace kumby
