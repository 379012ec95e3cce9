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
    if (ea != eb || (ea == kumby::TFormulaError::None && !(a == b)))
        std::abort();
    if (once.Shred(sets, 5) > 99999)
        std::abort();
    return 0;
}
