#pragma once

// The registry of statistic methods: one entry per class, or per parameter value
// of a parametrised class, in the fixed order of the class table.

#include "model/Records.h"
#include "stats/VexoFilters.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kumby {

// The group of the shredding methods, whose names carry their formulas.
inline constexpr int ShreddingGroup = 12;

// The class table in registry order (StatClassTable.cpp).
std::span<const TStatClassInfo* const> StatClassTable();

// The letters of the set flag bits in the order S N D P G ("NG" for EVEN).
std::string StatFlagLetters(uint8_t flags);

struct TStatMethod {
    const TStatClassInfo* StatClass = nullptr;
    int32_t Param = 0;
    bool Marked = true;
    std::string CustomName;
    std::string FormulaText; // shredding methods only

    std::string MethodCode() const { return StatClass->CodeFor(Param); }
    std::string MethodCaption() const { return StatClass->CaptionFor(Param); }
    std::string BaseName() const { return CustomName.empty() ? MethodCaption() : CustomName; }
    std::string FullName() const;
};

// The five weight fields of the configuration.
struct TWeights {
    long double CoefCount = 0;
    long double CoefDeviation = -1;
    long double CoefLevel = 1;
    bool UsePercents = false;
    bool UseAbsValues = false;
    bool operator==(const TWeights&) const = default;
};

class TStatList {
public:
    TStatList(const TDrawsArray& draws, TConfigData& config, const TShreddingSettings& shredding);

    const TDrawsArray& Draws() const { return Draws_; }
    const TConfigData& Config() const { return Config_; }
    const TShreddingSettings& Shredding() const { return Shredding_; }
    const std::string& HelpFile() const { return HelpFile_; }
    void SetHelpFile(std::string path) { HelpFile_ = std::move(path); }
    // Three-letter code of the interface language ("RUS").
    const std::string& LanguageCode() const { return LanguageCode_; }
    void SetLanguageCode(std::string code) { LanguageCode_ = std::move(code); }

    void Rebuild();
    std::size_t Count() const { return Methods_.size(); }
    const TStatMethod& Items(std::size_t i) const { return Methods_[i]; }
    TStatMethod& Items(std::size_t i) { return Methods_[i]; }
    bool IsShown(std::size_t i) const { return AllMarked || Methods_[i].Marked; }
    std::string DisplayName(std::size_t i, bool withFlags) const;
    std::unique_ptr<TCustomStat> CreateInstance(std::size_t i) const;
    // Registry index of the first method with that code (any case), or -1.
    int FindByCode(std::string_view code) const;

    void MarkAll();
    void NormalizeFavourites();
    std::string FavouritesText() const;
    void SetFavourites(std::string_view text);
    // Raise Error with "Ошибка загрузки/сохранения списка фильтров!\r\r%s", the text the
    // user is shown.
    void LoadNames(const std::filesystem::path& file, bool withFavourites);
    void SaveNames(const std::filesystem::path& file, bool withFavourites, bool allNames);

    // Stake value: -Cost x Binomial(k, 12), plus the prize for `hits` when known.
    TMoney StakeResult(int numbersInStake, int hits) const;
    static std::string GroupText(int group);
    static std::string GroupTag(int group);

    void SaveWeights();
    // Nothing to restore before the first SaveWeights: the settings stay as they are.
    void RestoreWeights();
    void ApplyWeights(bool use, const TWeights& weights);

    bool Ordered = false;
    bool ShowGroupName = true;
    bool ShowMethodFlags = true;
    bool AllMarked = true;

private:
    const TDrawsArray& Draws_;
    TConfigData& Config_;
    const TShreddingSettings& Shredding_;
    std::optional<TWeights> SavedWeights_; // empty until the first SaveWeights
    std::string HelpFile_;
    std::string LanguageCode_ = "RUS";
    std::vector<TStatMethod> Methods_;
};

} // namespace kumby
