// The filter editor's checks before it takes a filter, and its enabling helpers.

#include "script/FilterEditor.h"

#include <gtest/gtest.h>

namespace kumby {
namespace {

class FilterEditor : public ::testing::Test {
protected:
    FilterEditor() : Registry(Draws, Config, Shredding) { Registry.Rebuild(); }
    int NumericMethod() const { return Registry.FindByCode("NUMS"); }
    int TextMethod() const {
        for (std::size_t i = 0; i < Registry.Count(); ++i)
            if (!Registry.Items(i).StatClass->NumericValues)
                return static_cast<int>(i);
        return -1;
    }
    TDrawsArray Draws;
    TConfigData Config;
    TShreddingSettings Shredding;
    TStatList Registry;
};

TEST_F(FilterEditor, RefusesInOrderAndNamesTheField) {
    ASSERT_GE(NumericMethod(), 0);
    ASSERT_GE(TextMethod(), 0);
    struct TCase {
        const char* DrawsLen;
        int LevelMode;
        const char* LevelValue;
        bool Numeric;
        bool Multi;
        int Stop;
        std::optional<TFilterEditorField> Field;
    };
    using F = TFilterEditorField;
    const TCase cases[] = {
        {"10", 0, "", true, false, StopSF, std::nullopt},
        {"1-10;2", 13, "5, 6", true, true, StopST, std::nullopt},
        {"", 0, "", true, false, StopSF, F::DrawsLen},
        {"0", 0, "", true, false, StopSF, F::DrawsLen},
        {"0,5", 0, "", true, false, StopSF, std::nullopt}, // only the single 0 is refused
        {"abc", 0, "", true, false, StopSF, F::DrawsLen},
        // The criterion's values matter only with a criterion.
        {"10", 0, "x", true, false, StopSF, std::nullopt},
        {"10", 5, "", true, false, StopSF, F::LevelValue},
        {"10", 31, "1", false, false, StopSF, F::LevelMode},
        {"10", 31, "", false, false, StopSF, F::LevelMode}, // the mode before its values
        {"10", 31, "1;2", true, false, StopSF, std::nullopt},
        {"10", 0, "", true, true, StopSC, F::StopMode},
        {"10", 0, "", true, false, StopSC, std::nullopt},
        {"", 31, "", false, true, StopSC, F::DrawsLen}, // the first failure wins
    };
    for (const TCase& c : cases) {
        TFilterItem item;
        item.Used = true;
        item.Method = c.Numeric ? NumericMethod() : TextMethod();
        item.DrawsLen = c.DrawsLen;
        item.LevelMode = static_cast<TLevelMode>(c.LevelMode);
        item.LevelValue = c.LevelValue;
        item.MultiSelect = c.Multi;
        item.StopMode = static_cast<uint8_t>(c.Stop);
        const auto problem = FilterEditorProblem(item, Registry);
        SCOPED_TRACE(std::string(c.DrawsLen) + " / " + std::to_string(c.LevelMode) + " / " + c.LevelValue);
        ASSERT_EQ(problem.has_value(), c.Field.has_value());
        if (!problem)
            continue;
        EXPECT_EQ(problem->Field, *c.Field);
        const char* expected = *c.Field == F::LevelMode  ? FilterValuesModeErrorText
                               : *c.Field == F::StopMode ? FilterMultiStopErrorText
                                                         : FilterRangeErrorText;
        EXPECT_EQ(problem->Message, expected);
    }
    EXPECT_EQ(std::string(FilterMultiStopErrorText),
              "В режиме мультивыделения остановка сценария по количеству комбинаций или чисел не может "
              "быть выполнена!\rВыберите другой способ останова.");
}

TEST_F(FilterEditor, ValuesModeWithoutAMethodIsRefused) {
    TFilterItem item;
    item.Used = true;
    item.DrawsLen = "10";
    item.LevelMode = LevelValues;
    item.LevelValue = "1";
    const auto problem = FilterEditorProblem(item, Registry);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->Field, TFilterEditorField::LevelMode);
}

TEST(FilterEditorHelpers, OverrideOnlyForWeightCriteriaAndNumberListCharacters) {
    for (int mode = 0; mode < LevelModeCount; ++mode)
        EXPECT_EQ(FilterOverrideAvailable(mode), mode >= 19 && mode <= 21) << mode;
    for (const char32_t c : {U'0', U'9', U',', U'-', U';', U'\b', U'\x7f', U'\r'})
        EXPECT_TRUE(NumberListCharAllowed(c)) << static_cast<int>(c);
    for (const char32_t c : {U' ', U'a', U'.', U':', U'+', U'Я', U'/'})
        EXPECT_FALSE(NumberListCharAllowed(c)) << static_cast<int>(c);
}

} // namespace
} // namespace kumby
