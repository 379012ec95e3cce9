#pragma once

// The arithmetic of the shredding methods: a person's formula over the numbers of
// the current set (n1..n12), the previous draw (p1..p12) and the one before it
// (t1..t12), evaluated in extended precision.
//
// The formula is read once per job. Its variables become holes in the text, so a
// formula is parsed once and then run for every set of numbers with the same result
// as putting the numbers' decimal texts into the formula and reading it anew. A
// formula whose substituted numbers could form new variable names with the letters
// around them (nn1, pn12, n1n12) has no fixed shape and is read anew for every set.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kumby {

// Why an expression has no value. The method turns every one of them into 0.
enum class TFormulaError : uint8_t {
    None,
    Syntax,
    Parenthesis,
    DivisionByZero,
    NegativeLogarithm,
    NegativeRoot,
    FloatingPoint,
};

// The evaluator's own text for an error ("Синтаксическая ошибка", ...).
const char* FormulaErrorText(TFormulaError error);

// The three lists of 12 numbers a formula reads: current set, previous draw, the one
// before it.
struct TFormulaNumbers {
    const uint8_t* N;
    const uint8_t* P;
    const uint8_t* T;
};

// The formula text with every variable replaced by its number, K = 12 down to 1,
// n then p then t, letters in either case: the reading that the compiled form
// reproduces.
std::string SubstituteFormulaVariables(std::string_view formula, const TFormulaNumbers& numbers);

class TShredFormula {
public:
    TShredFormula() = default;
    // withVariables false: the text is a plain expression, its letters are not variables.
    explicit TShredFormula(std::string_view formula, bool withVariables = true);

    // The formula's value; an error leaves value untouched.
    TFormulaError Evaluate(const TFormulaNumbers& numbers, long double& value) const;
    // The first `digits` digits after the point of |value|, 0 on any error.
    uint32_t Shred(const TFormulaNumbers& numbers, int digits) const;
    // Whether the formula has a fixed shape (it is not read anew per set of numbers).
    bool Compiled() const { return !ReadPerSet_; }

    // Digits above this would not fit the 32-bit value.
    static constexpr int MaxDigits = 9;

    // One character of the prepared text: a literal or a hole standing for a number.
    struct TItem {
        char C;      // the literal, '0' for a hole
        int8_t Hole; // -1: literal; else 12 * list (n, p, t) + K - 1
    };
    struct TInstr {
        uint8_t Code; // TOpCode
        char Op;      // + - * / ^, or the function number for Func
        uint8_t Src;  // TSrc of the operand
        uint32_t Index;
    };

private:
    struct TProgram {
        std::vector<TInstr> Code;
        std::vector<long double> Constants;
        std::vector<std::vector<TItem>> Numbers; // tokens read per set of numbers
        std::vector<std::vector<int8_t>> Sums;   // hole + 1 per term, negative when subtracted
        int RatioTop = -1;                       // the whole formula is Sums[RatioTop] / Sums[RatioBottom]
        int RatioBottom = -1;
        std::size_t StackSize = 0;
        TFormulaError CompileError = TFormulaError::None;
    };

    static void Compile(std::vector<TItem> items, TProgram& program);
    static void FoldSums(TProgram& program);
    static TFormulaError Run(const TProgram& program, const TFormulaNumbers& numbers, long double& value,
                             std::vector<long double>& stack, std::string& scratch, std::string& work);

    TProgram Program_;
    bool ReadPerSet_ = false;
    std::string Formula_; // kept for the formulas read anew per set
    // Working storage of Evaluate, sized once so that evaluating allocates nothing.
    mutable std::vector<long double> Stack_;
    mutable std::string Scratch_;
    mutable std::string Work_;
    mutable TProgram PerSet_;
};

} // namespace kumby
