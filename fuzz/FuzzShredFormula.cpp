// The shredding formulas: any text a person types must end with a value or an
// error, and the formula read once must agree with its substituted text.
#include "stats/ShredFormula.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view formula(reinterpret_cast<const char*>(data), size);
    std::array<uint8_t, 36> numbers;
    for (std::size_t i = 0; i < numbers.size(); ++i)
        numbers[i] = static_cast<uint8_t>((i * 7 + size) % 26);
    const kumby::TFormulaNumbers sets{numbers.data(), numbers.data() + 12, numbers.data() + 24};
    const kumby::TShredFormula once(formula);
    long double a = 0;
    long double b = 0;
    const kumby::TFormulaError ea = once.Evaluate(sets, a);
    const kumby::TShredFormula text(kumby::SubstituteFormulaVariables(formula, sets), false);
    const kumby::TFormulaError eb = text.Evaluate(sets, b);
    // Which error comes first may differ (a number read per set is only checked when
    // it is reached); that there is one, and the value, may not.
    const bool va = ea == kumby::TFormulaError::None;
    const bool vb = eb == kumby::TFormulaError::None;
    if (va != vb || (va && !(a == b)))
        std::abort();
    const uint32_t shredded = once.Shred(sets, 5);
    if (shredded > 99999 || shredded != text.Shred(sets, 5))
        std::abort();
    return 0;
}
