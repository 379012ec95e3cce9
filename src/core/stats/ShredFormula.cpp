#include "ShredFormula.h"

#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace kumby {

namespace {

using TItem = TShredFormula::TItem;
using TInstr = TShredFormula::TInstr;

enum TOpCode : uint8_t { OpLoad, OpPush, OpApply, OpApplyStack, OpFunc };
// SrcSum: a run of whole numbers added up exactly, Index into TProgram::Sums.
enum TSrc : uint8_t { SrcNone, SrcHole, SrcNegHole, SrcConst, SrcNumber, SrcSum };

constexpr const char* VariableLetters = "npt";

// Function names in the order of their numbers (1-based in TInstr::Op).
constexpr std::array<std::string_view, 18> FunctionNames = {
    "ARCTAN", "COS", "SIN",  "TAN",   "ABS",   "EXP",    "LN",     "LOG",  "SQRT",
    "SQR",    "INT", "FRAC", "TRUNC", "ROUND", "ARCSIN", "ARCCOS", "SIGN", "NOT",
};

constexpr long double Pi = 3.141592653589793238462643383279502884L;
constexpr long double EulerE = 2.718281828459045235360287471352662498L;

constexpr int8_t HoleOf(int list, int k) {
    return static_cast<int8_t>(list * 16 + k - 1);
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsVariableLetter(const TItem& item) {
    const char c = Lower(item.C);
    return item.Hole < 0 && (c == 'n' || c == 'p' || c == 't');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsHexDigit(char c) {
    return IsDigit(c) || (c >= 'A' && c <= 'F');
}

// What may follow a number or a constant.
bool EndsOperand(char c) {
    return c == '\0' || c == ')' || c == '*' || c == '+' || c == '-' || c == '/' || c == '^';
}

void AppendNumber(std::string& out, uint8_t n) {
    char buf[4];
    const auto r = std::to_chars(buf, buf + sizeof buf, static_cast<unsigned>(n));
    out.append(buf, r.ptr);
}

// The value of a number token: [sign] digits [. digits] [E [sign] digits] or
// [sign] $hex (1 to 8 digits). The token's shape has been checked by the parser.
bool NumberValue(std::string_view token, std::string& work, long double& value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < token.size() && (token[i] == '+' || token[i] == '-'))
        negative = token[i++] == '-';
    if (i < token.size() && token[i] == '$') {
        const std::string_view hex = token.substr(i + 1);
        if (hex.empty() || hex.size() > 8)
            return false;
        uint32_t v = 0;
        for (const char c : hex)
            v = v * 16 + static_cast<uint32_t>(IsDigit(c) ? c - '0' : c - 'A' + 10);
        value = negative ? -static_cast<long double>(v) : static_cast<long double>(v);
        return true;
    }
    work.clear();
    if (negative)
        work += '-';
    const std::size_t intStart = i;
    while (i < token.size() && IsDigit(token[i]))
        ++i;
    if (i == intStart)
        work += '0';
    work.append(token.substr(intStart, i - intStart));
    if (i < token.size() && token[i] == '.') {
        const std::size_t fracStart = ++i;
        while (i < token.size() && IsDigit(token[i]))
            ++i;
        work += '.';
        if (i == fracStart)
            work += '0';
        work.append(token.substr(fracStart, i - fracStart));
    }
    if (i < token.size() && token[i] == 'E') {
        ++i;
        work += 'e';
        if (i < token.size() && (token[i] == '+' || token[i] == '-'))
            if (token[i++] == '-')
                work += '-';
        work.append(token.substr(i));
    }
    long double v = 0;
    const char* end = work.data() + work.size();
    const auto r = std::from_chars(work.data(), end, v, std::chars_format::general);
    if (r.ec != std::errc{} || r.ptr != end || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

// The text of a token, holes written as their numbers.
void TokenText(const std::vector<TItem>& token, const TFormulaNumbers& numbers, std::string& out) {
    out.clear();
    const uint8_t* lists[3] = {numbers.N, numbers.P, numbers.T};
    for (const TItem& item : token) {
        if (item.Hole < 0)
            out += item.C;
        else
            AppendNumber(out, lists[item.Hole >> 4][item.Hole & 15]);
    }
}

// The whole part of 0 <= a < 2^63. A plain conversion switches the x87 rounding
// mode twice, which costs more than the rest of a short formula: 2^63 + a rounds
// a to a whole number that its mantissa then holds, one less when it rounded up.
inline int64_t WholePart(long double a) {
#if LDBL_MANT_DIG == 64 && defined(__x86_64__)
    const long double shifted = a + 9223372036854775808.0L;
    uint64_t mantissa = 0;
    std::memcpy(&mantissa, &shifted, sizeof mantissa);
    auto whole = static_cast<int64_t>(mantissa & 0x7FFFFFFFFFFFFFFFu);
    if (static_cast<long double>(whole) > a)
        --whole;
    return whole;
#else
    return static_cast<int64_t>(a);
#endif
}

int64_t SumOf(const std::vector<int8_t>& terms, const uint8_t* const* lists) {
    int64_t sum = 0;
    for (const int8_t t : terms) {
        const int h = (t < 0 ? -t : t) - 1;
        const int v = lists[h >> 4][h & 15];
        sum += t < 0 ? -v : v;
    }
    return sum;
}

TFormulaError Checked(long double v, long double& out) {
    if (!std::isfinite(v))
        return TFormulaError::FloatingPoint;
    out = v;
    return TFormulaError::None;
}

TFormulaError Power(long double x, long double y, long double& out) {
    if (y == 0)
        return Checked(1, out);
    if (x == 0 && y > 0)
        return Checked(0, out);
    if (y == std::trunc(y) && std::fabs(y) <= 2147483647.0L) {
        auto n = static_cast<uint32_t>(std::fabs(y));
        long double r = 1;
        long double b = x;
        while (n != 0) {
            if ((n & 1) != 0)
                r *= b;
            n >>= 1;
            if (n != 0)
                b *= b;
        }
        if (y < 0) {
            if (r == 0)
                return TFormulaError::DivisionByZero;
            r = 1 / r;
        }
        return Checked(r, out);
    }
    if (x < 0)
        return TFormulaError::FloatingPoint;
    return Checked(std::exp(y * std::log(x)), out);
}

TFormulaError Function(int f, long double x, long double& out) {
    if (!std::isfinite(x))
        return TFormulaError::FloatingPoint;
    switch (f) {
    case 1:
        return Checked(std::atan(x), out);
    case 2:
        return Checked(std::cos(x), out);
    case 3:
        return Checked(std::sin(x), out);
    case 4:
        return Checked(std::tan(x), out);
    case 5:
        return Checked(std::fabs(x), out);
    case 6:
        return Checked(std::exp(x), out);
    case 7:
        if (x <= 0)
            return TFormulaError::NegativeLogarithm;
        return Checked(std::log(x), out);
    case 8:
        if (x <= 0)
            return TFormulaError::NegativeLogarithm;
        return Checked(std::log10(x), out);
    case 9:
        if (x < 0)
            return TFormulaError::NegativeRoot;
        return Checked(std::sqrt(x), out);
    case 10:
        return Checked(x * x, out);
    case 11:
    case 13:
        return Checked(std::trunc(x), out);
    case 12:
        return Checked(x - std::trunc(x), out);
    case 14:
        return Checked(std::nearbyint(x), out); // halves to even
    case 15:
        return Checked(std::asin(x), out);
    case 16:
        return Checked(std::acos(x), out);
    case 17:
        return Checked(static_cast<long double>((x > 0) - (x < 0)), out);
    default: {
        // The complement of a 64-bit integer; beyond that range there is none.
        const long double t = std::trunc(x);
        if (!(std::fabs(t) < 9223372036854775808.0L))
            return TFormulaError::FloatingPoint;
        return Checked(static_cast<long double>(~static_cast<int64_t>(t)), out);
    }
    }
}

// Replaces every letter+K (letter in either case) of `text` by `hole`, left to right,
// the way a text replacement does; `spoiled` is set when a hole lands right after a
// variable letter, or after such a letter and a 1, where the hole's digits could
// complete a name still to be replaced.
void ReplaceVariable(std::vector<TItem>& text, std::vector<TItem>& work, char letter, int k, int8_t hole,
                     bool& spoiled) {
    char digits[3];
    const auto end = std::to_chars(digits, digits + sizeof digits, k).ptr;
    const auto len = static_cast<std::size_t>(end - digits);
    work.clear();
    std::size_t i = 0;
    while (i < text.size()) {
        bool match = text[i].Hole < 0 && Lower(text[i].C) == letter;
        for (std::size_t j = 0; match && j < len; ++j)
            match = i + 1 + j < text.size() && text[i + 1 + j].Hole < 0 && text[i + 1 + j].C == digits[j];
        if (!match) {
            work.push_back(text[i++]);
            continue;
        }
        const std::size_t w = work.size();
        if (w >= 1 && IsVariableLetter(work[w - 1]))
            spoiled = true;
        // n1 before the number of n12 reads as n11 once n12 is 10..19.
        if (k > 10 && w >= 2 && work[w - 1].Hole < 0 && work[w - 1].C == '1' && IsVariableLetter(work[w - 2]))
            spoiled = true;
        work.push_back({'0', hole});
        i += 1 + len;
    }
    text.swap(work);
}

struct TLevel {
    char ExprOp = 0;       // + or - before the current term; 0 for the first
    char FactorOp = 0;     // * / ^ before the current factor
    bool TermStart = true; // the factor to read is the first of its term
    bool TermPushed = false;
    uint8_t Func = 0;
};

class TCompiler {
public:
    TCompiler(const std::vector<TItem>& items, std::vector<TInstr>& code, std::vector<long double>& constants,
              std::vector<std::vector<TItem>>& numbers)
        : Items_(items), Code_(code), Constants_(constants), Numbers_(numbers) {}

    TFormulaError Run(std::size_t& stackSize);

private:
    char At(std::size_t i) const { return i < Items_.size() ? Items_[i].C : '\0'; }
    bool IsLiteral(std::size_t i) const { return i < Items_.size() && Items_[i].Hole < 0; }
    void Emit(uint8_t code, char op = 0, uint8_t src = SrcNone, uint32_t index = 0) {
        Code_.push_back({code, op, src, index});
        if (code == OpPush)
            MaxDepth_ = std::max(MaxDepth_, ++Depth_);
        else if (code == OpApplyStack)
            --Depth_;
    }
    // A number token at Pos_: its end, or 0 when there is none.
    std::size_t NumberEnd() const;
    // Reads an operand into src/index; false when there is none at Pos_.
    bool ReadOperand(uint8_t& src, uint32_t& index, TFormulaError& error);
    // Function number (1-based) when FUNC( stands at Pos_, 0 otherwise.
    uint8_t FunctionAt() const;

    const std::vector<TItem>& Items_;
    std::vector<TInstr>& Code_;
    std::vector<long double>& Constants_;
    std::vector<std::vector<TItem>>& Numbers_;
    std::size_t Pos_ = 0;
    std::size_t Depth_ = 0;
    std::size_t MaxDepth_ = 0;
    std::string Work_;
};

std::size_t TCompiler::NumberEnd() const {
    std::size_t p = Pos_;
    if (At(p) == '+' || At(p) == '-')
        ++p;
    if (At(p) == '$') {
        const std::size_t first = ++p;
        while (IsHexDigit(At(p)))
            ++p;
        return p > first && EndsOperand(At(p)) ? p : 0;
    }
    const std::size_t first = p;
    while (IsDigit(At(p)))
        ++p;
    bool any = p > first;
    if (At(p) == '.') {
        ++p;
        any = true;
        while (IsDigit(At(p)))
            ++p;
    }
    if (!any)
        return 0;
    if (At(p) == 'E' && IsLiteral(p)) {
        ++p;
        if (At(p) == '+' || At(p) == '-')
            ++p;
        const std::size_t exp = p;
        while (IsDigit(At(p)))
            ++p;
        if (p == exp)
            return 0;
    }
    return EndsOperand(At(p)) ? p : 0;
}

bool TCompiler::ReadOperand(uint8_t& src, uint32_t& index, TFormulaError& error) {
    if (const std::size_t end = NumberEnd(); end != 0) {
        const std::size_t start = Pos_;
        Pos_ = end;
        const bool signed_ = At(start) == '+' || At(start) == '-';
        std::size_t holes = 0;
        for (std::size_t i = start; i < end; ++i)
            holes += Items_[i].Hole >= 0 ? 1 : 0;
        if (holes == 0) {
            Work_.clear();
            for (std::size_t i = start; i < end; ++i)
                Work_ += Items_[i].C;
            long double v = 0;
            std::string work;
            if (!NumberValue(Work_, work, v)) {
                error = TFormulaError::Syntax;
                return false;
            }
            src = SrcConst;
            index = static_cast<uint32_t>(Constants_.size());
            Constants_.push_back(v);
            return true;
        }
        const std::size_t first = signed_ ? start + 1 : start;
        if (end == first + 1 && Items_[first].Hole >= 0) {
            src = At(start) == '-' ? SrcNegHole : SrcHole;
            index = static_cast<uint32_t>(Items_[first].Hole);
            return true;
        }
        src = SrcNumber;
        index = static_cast<uint32_t>(Numbers_.size());
        Numbers_.emplace_back(Items_.begin() + static_cast<std::ptrdiff_t>(start),
                              Items_.begin() + static_cast<std::ptrdiff_t>(end));
        return true;
    }
    long double constant = 0;
    std::size_t len = 0;
    if (At(Pos_) == 'E' && IsLiteral(Pos_) && EndsOperand(At(Pos_ + 1))) {
        constant = EulerE;
        len = 1;
    } else if (At(Pos_) == 'P' && At(Pos_ + 1) == 'I' && IsLiteral(Pos_ + 1) && EndsOperand(At(Pos_ + 2))) {
        constant = Pi;
        len = 2;
    } else {
        return false;
    }
    Pos_ += len;
    src = SrcConst;
    index = static_cast<uint32_t>(Constants_.size());
    Constants_.push_back(constant);
    return true;
}

uint8_t TCompiler::FunctionAt() const {
    for (std::size_t f = 0; f < FunctionNames.size(); ++f) {
        const std::string_view name = FunctionNames[f];
        bool match = At(Pos_ + name.size()) == '(';
        for (std::size_t j = 0; match && j < name.size(); ++j)
            match = IsLiteral(Pos_ + j) && At(Pos_ + j) == name[j];
        if (match)
            return static_cast<uint8_t>(f + 1);
    }
    return 0;
}

// The grammar is walked with an explicit stack of open parentheses, so no nesting
// of a formula can exhaust the machine's stack.
TFormulaError TCompiler::Run(std::size_t& stackSize) {
    std::vector<TLevel> levels(1);
    for (;;) {
        // A factor.
        {
            TLevel& l = levels.back();
            const uint8_t func = At(Pos_) == '(' && IsLiteral(Pos_) ? 0 : FunctionAt();
            if (func != 0 || (At(Pos_) == '(' && IsLiteral(Pos_))) {
                Pos_ += func != 0 ? FunctionNames[func - 1].size() + 1 : 1;
                if (l.TermStart && l.ExprOp != 0)
                    l.TermPushed = true;
                if (!l.TermStart || l.ExprOp != 0)
                    Emit(OpPush);
                levels.push_back({});
                levels.back().Func = func;
                continue;
            }
            uint8_t src = SrcNone;
            uint32_t index = 0;
            TFormulaError error = TFormulaError::Syntax;
            if (!ReadOperand(src, index, error))
                return error;
            const char next = At(Pos_);
            if (!l.TermStart) {
                Emit(OpApply, l.FactorOp, src, index);
            } else if (l.ExprOp == 0) {
                Emit(OpLoad, 0, src, index);
            } else if (next == '*' || next == '/' || next == '^') {
                Emit(OpPush);
                Emit(OpLoad, 0, src, index);
                l.TermPushed = true;
            } else {
                Emit(OpApply, l.ExprOp, src, index);
            }
        }
        // What follows a factor: more of the term, another term, or the end of a level.
        for (;;) {
            TLevel& l = levels.back();
            const char c = At(Pos_);
            if (c == '*' || c == '/' || c == '^') {
                ++Pos_;
                l.FactorOp = c;
                l.TermStart = false;
                break;
            }
            if (l.TermPushed) {
                Emit(OpApplyStack, l.ExprOp);
                l.TermPushed = false;
            }
            if (c == '+' || c == '-') {
                ++Pos_;
                l.ExprOp = c;
                l.FactorOp = 0;
                l.TermStart = true;
                break;
            }
            if (c != '\0' && c != ')' && c != ',' && c != '<' && c != '=' && c != '>')
                return TFormulaError::Syntax;
            if (levels.size() == 1) {
                stackSize = MaxDepth_;
                return TFormulaError::None; // the rest of the text is not read
            }
            if (c != ')')
                return TFormulaError::Parenthesis;
            ++Pos_;
            const uint8_t func = l.Func;
            levels.pop_back();
            if (func != 0)
                Emit(OpFunc, static_cast<char>(func));
            TLevel& parent = levels.back();
            if (!parent.TermStart)
                Emit(OpApplyStack, parent.FactorOp);
            parent.TermStart = false;
        }
    }
}

} // namespace

const char* FormulaErrorText(TFormulaError error) {
    switch (error) {
    case TFormulaError::None:
        return "";
    case TFormulaError::Syntax:
        return "Синтаксическая ошибка";
    case TFormulaError::Parenthesis:
        return "Не хватает скобочки";
    case TFormulaError::DivisionByZero:
        return "Деление на нуль";
    case TFormulaError::NegativeLogarithm:
        return "Выражение под логарифмом меньне нуля";
    case TFormulaError::NegativeRoot:
        return "Выражение под корнем меньне нуля";
    case TFormulaError::FloatingPoint:
        return "Ошибка в операции с плавающей точкой";
    }
    return "";
}

std::string SubstituteFormulaVariables(std::string_view formula, const TFormulaNumbers& numbers) {
    const uint8_t* lists[3] = {numbers.N, numbers.P, numbers.T};
    std::string text(formula);
    std::string work;
    for (int k = 12; k >= 1; --k) {
        const std::string digits = std::to_string(k);
        for (int list = 0; list < 3; ++list) {
            work.clear();
            std::size_t i = 0;
            while (i < text.size()) {
                if (Lower(text[i]) == VariableLetters[list] &&
                    text.compare(i + 1, digits.size(), digits) == 0) {
                    AppendNumber(work, lists[list][k - 1]);
                    i += 1 + digits.size();
                } else {
                    work += text[i++];
                }
            }
            text.swap(work);
        }
    }
    return text;
}

TShredFormula::TShredFormula(std::string_view formula, bool withVariables) {
    std::vector<TItem> items;
    items.reserve(formula.size());
    for (const char c : formula)
        items.push_back({c, -1});
    if (withVariables) {
        std::vector<TItem> work;
        for (int k = 12; k >= 1; --k)
            for (int list = 0; list < 3; ++list)
                ReplaceVariable(items, work, VariableLetters[list], k, HoleOf(list, k), ReadPerSet_);
    }
    if (ReadPerSet_) {
        Formula_ = formula;
        return;
    }
    Compile(std::move(items), Program_);
    Stack_.resize(Program_.StackSize);
}

void TShredFormula::Compile(std::vector<TItem> items, TProgram& program) {
    program.Code.clear();
    program.Constants.clear();
    program.Numbers.clear();
    program.Sums.clear();
    program.RatioTop = program.RatioBottom = -1;
    program.StackSize = 0;
    program.CompileError = TFormulaError::None;

    // Blanks and control characters go, Latin letters become capitals.
    std::size_t kept = 0;
    long opened = 0;
    for (const TItem& item : items) {
        if (item.Hole < 0 && static_cast<unsigned char>(item.C) <= 32)
            continue;
        TItem x = item;
        if (x.Hole < 0 && x.C >= 'a' && x.C <= 'z')
            x.C = static_cast<char>(x.C - 'a' + 'A');
        opened += x.Hole < 0 && x.C == '(' ? 1 : 0;
        opened -= x.Hole < 0 && x.C == ')' ? 1 : 0;
        items[kept++] = x;
    }
    items.resize(kept);
    if (opened != 0) {
        program.CompileError = TFormulaError::Parenthesis;
        return;
    }
    if (!items.empty() && items[0].Hole < 0 && (items[0].C == '+' || items[0].C == '-'))
        items.insert(items.begin(), TItem{'0', -1});
    TCompiler compiler(items, program.Code, program.Constants, program.Numbers);
    program.CompileError = compiler.Run(program.StackSize);
    if (program.CompileError == TFormulaError::None)
        FoldSums(program);
}

// A number loaded and then added to or taken from other numbers (n1+n2+n3) is a sum
// of whole numbers, exact in any order: one instruction adds them as integers.
void TShredFormula::FoldSums(TProgram& program) {
    std::vector<TInstr> folded;
    folded.reserve(program.Code.size());
    const auto isHole = [](const TInstr& in) { return in.Src == SrcHole || in.Src == SrcNegHole; };
    for (std::size_t i = 0; i < program.Code.size(); ++i) {
        const TInstr& in = program.Code[i];
        std::size_t j = i + 1;
        while (j < program.Code.size() && program.Code[j].Code == OpApply &&
               (program.Code[j].Op == '+' || program.Code[j].Op == '-') && isHole(program.Code[j]))
            ++j;
        if (in.Code != OpLoad || !isHole(in) || j == i + 1) {
            folded.push_back(in);
            continue;
        }
        std::vector<int8_t> terms; // hole + 1, negative when taken away
        for (std::size_t k = i; k < j; ++k) {
            const TInstr& t = program.Code[k];
            const bool minus = (t.Src == SrcNegHole) != (k > i && t.Op == '-');
            const auto h = static_cast<int8_t>(t.Index + 1);
            terms.push_back(minus ? static_cast<int8_t>(-h) : h);
        }
        folded.push_back({OpLoad, 0, SrcSum, static_cast<uint32_t>(program.Sums.size())});
        program.Sums.push_back(std::move(terms));
        i = j - 1;
    }
    program.Code.swap(folded);

    // One sum divided by another, the shape of the usual formulas: run without the
    // instruction loop, with the same two conversions and one division.
    const auto sumOf = [&](const TInstr& in) -> int {
        if (in.Src == SrcSum)
            return static_cast<int>(in.Index);
        if (in.Src != SrcHole && in.Src != SrcNegHole)
            return -1;
        const auto h = static_cast<int8_t>(in.Index + 1);
        program.Sums.push_back({in.Src == SrcNegHole ? static_cast<int8_t>(-h) : h});
        return static_cast<int>(program.Sums.size() - 1);
    };
    const std::vector<TInstr>& c = program.Code;
    if (c.size() == 4 && c[0].Code == OpLoad && c[1].Code == OpPush && c[2].Code == OpLoad &&
        c[3].Code == OpApplyStack && c[3].Op == '/') {
        program.RatioTop = sumOf(c[0]);
        program.RatioBottom = sumOf(c[2]);
    } else if (c.size() == 2 && c[0].Code == OpLoad && c[1].Code == OpApply && c[1].Op == '/') {
        program.RatioTop = sumOf(c[0]);
        program.RatioBottom = sumOf(c[1]);
    }
    if (program.RatioTop < 0 || program.RatioBottom < 0)
        program.RatioTop = program.RatioBottom = -1;
}

// Sums, differences and products never turn an overflow back into a finite value,
// so only what can (a divisor, a power, a function) and the result are checked;
// the arithmetic itself stays in registers.
TFormulaError TShredFormula::Run(const TProgram& program, const TFormulaNumbers& numbers, long double& value,
                                 std::vector<long double>& stack, std::string& scratch, std::string& work) {
    if (program.CompileError != TFormulaError::None)
        return program.CompileError;
    const uint8_t* lists[3] = {numbers.N, numbers.P, numbers.T};
    if (program.RatioTop >= 0) {
        const int64_t bottom = SumOf(program.Sums[static_cast<std::size_t>(program.RatioBottom)], lists);
        if (bottom == 0)
            return TFormulaError::DivisionByZero;
        const int64_t top = SumOf(program.Sums[static_cast<std::size_t>(program.RatioTop)], lists);
        value = static_cast<long double>(top) / static_cast<long double>(bottom);
        return TFormulaError::None;
    }
    if (stack.size() < program.StackSize)
        stack.resize(program.StackSize);
    long double* sp = stack.data();
    long double acc = 0;
    for (const TInstr& in : program.Code) {
        long double operand;
        switch (in.Src) {
        case SrcHole:
            operand = lists[in.Index >> 4][in.Index & 15];
            break;
        case SrcNegHole:
            operand = -static_cast<long double>(lists[in.Index >> 4][in.Index & 15]);
            break;
        case SrcConst:
            operand = program.Constants[in.Index];
            break;
        case SrcSum:
            operand = static_cast<long double>(SumOf(program.Sums[in.Index], lists));
            break;
        case SrcNumber:
            TokenText(program.Numbers[in.Index], numbers, scratch);
            if (!NumberValue(scratch, work, operand))
                return TFormulaError::Syntax;
            break;
        default:
            operand = 0;
            if (in.Code == OpApplyStack) {
                operand = acc;
                acc = *--sp;
            }
            break;
        }
        if (in.Code == OpPush) {
            *sp++ = acc;
            continue;
        }
        if (in.Code == OpLoad) {
            acc = operand;
            continue;
        }
        TFormulaError error = TFormulaError::None;
        if (in.Code == OpFunc) {
            error = Function(in.Op, acc, acc);
        } else {
            switch (in.Op) {
            case '+':
                acc += operand;
                break;
            case '-':
                acc -= operand;
                break;
            case '*':
                acc *= operand;
                break;
            case '/':
                if (operand == 0)
                    return TFormulaError::DivisionByZero;
                if (!std::isfinite(operand))
                    return TFormulaError::FloatingPoint;
                acc /= operand;
                break;
            default:
                if (!std::isfinite(acc) || !std::isfinite(operand))
                    return TFormulaError::FloatingPoint;
                error = Power(acc, operand, acc);
                break;
            }
        }
        if (error != TFormulaError::None)
            return error;
    }
    if (!std::isfinite(acc))
        return TFormulaError::FloatingPoint;
    value = acc;
    return TFormulaError::None;
}

TFormulaError TShredFormula::Evaluate(const TFormulaNumbers& numbers, long double& value) const {
    if (!ReadPerSet_)
        return Run(Program_, numbers, value, Stack_, Scratch_, Work_);
    const std::string text = SubstituteFormulaVariables(Formula_, numbers);
    std::vector<TItem> items;
    items.reserve(text.size());
    for (const char c : text)
        items.push_back({c, -1});
    Compile(std::move(items), PerSet_);
    return Run(PerSet_, numbers, value, Stack_, Scratch_, Work_);
}

uint32_t TShredFormula::Shred(const TFormulaNumbers& numbers, int digits) const {
    static constexpr std::array<uint32_t, MaxDigits + 1> Powers = {
        1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};
    const int d = digits < 0 ? 0 : digits > MaxDigits ? MaxDigits : digits;
    if (Program_.RatioTop >= 0 && !ReadPerSet_) {
        // A ratio t/b of whole numbers up to 65535: the extended value is off by at
        // most 65535 * 2^-64 before and 2^-63 after the scaling by 10^9, far less than
        // the 1/b by which the exact value misses a whole number, so the digits are
        // those of the exact fraction. Only an exact whole number is left to the
        // extended arithmetic, which may land a hair below it.
        const uint8_t* lists[3] = {numbers.N, numbers.P, numbers.T};
        const int64_t b = SumOf(Program_.Sums[static_cast<std::size_t>(Program_.RatioBottom)], lists);
        if (b == 0)
            return 0;
        const int64_t t = SumOf(Program_.Sums[static_cast<std::size_t>(Program_.RatioTop)], lists);
        const uint64_t ub = static_cast<uint64_t>(b < 0 ? -b : b);
        const uint64_t ut = static_cast<uint64_t>(t < 0 ? -t : t);
        if (ut <= 65535 && ub <= 65535) {
            const uint64_t scaled = ut % ub * Powers[static_cast<std::size_t>(d)];
            if (scaled <= UINT32_MAX) {
                const auto s32 = static_cast<uint32_t>(scaled);
                const auto b32 = static_cast<uint32_t>(ub);
                if (s32 % b32 != 0)
                    return s32 / b32;
            } else if (scaled % ub != 0) {
                return static_cast<uint32_t>(scaled / ub);
            }
        }
    }
    long double f = 0;
    if (Evaluate(numbers, f) != TFormulaError::None)
        return 0;
    // From 2^63 on every long double is whole.
    const long double a = std::fabs(f);
    const long double frac = a < 9223372036854775808.0L ? a - static_cast<long double>(WholePart(a)) : 0;
    return static_cast<uint32_t>(WholePart(frac * Powers[static_cast<std::size_t>(d)]));
}

} // namespace kumby
