#include "combs/KeepPass.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace kumby {
namespace {

TCombsArray Numbered(std::size_t n) {
    TCombsArray list(n);
    for (std::size_t i = 0; i < n; ++i) {
        list[i][0] = static_cast<uint8_t>(i);
        list[i][1] = static_cast<uint8_t>(i >> 8);
        list[i][2] = static_cast<uint8_t>(i >> 16);
    }
    return list;
}

std::size_t IndexOf(const TCombination& c) {
    return c[0] | std::size_t{c[1]} << 8 | std::size_t{c[2]} << 16;
}

// Keeps what the rule keeps, slice by slice.
TKeepSlice KeepWhere(bool (*rule)(std::size_t)) {
    return [rule](std::size_t, std::span<const TCombination> in, TCombination* out) {
        TCombination* const first = out;
        for (const TCombination& c : in)
            if (rule(IndexOf(c)))
                *out++ = c;
        return static_cast<std::size_t>(out - first);
    };
}

TEST(KeepPassTest, AnySliceCountKeepsWhatTheRuleKeepsInOrder) {
    const TCombsArray from = Numbered(1003);
    const auto rules = {+[](std::size_t i) { return i % 7 != 3; }, +[](std::size_t i) { return i < 10; },
                        +[](std::size_t i) { return i > 990; }, +[](std::size_t) { return false; },
                        +[](std::size_t) { return true; }};
    for (auto rule : rules) {
        TCombsArray expected;
        for (const TCombination& c : from)
            if (rule(IndexOf(c)))
                expected.push_back(c);
        for (std::size_t parts = 1; parts <= 8; ++parts) {
            TCombsArray to = Numbered(5); // what was there before is replaced
            KeepInOrder(from, to, parts, KeepWhere(rule));
            EXPECT_EQ(to, expected) << parts << " slices";
        }
    }
    TCombsArray to = Numbered(3);
    KeepInOrder({}, to, 4, KeepWhere(+[](std::size_t) { return true; }));
    EXPECT_TRUE(to.empty());
}

TEST(KeepPassTest, AFailingSliceIsRethrownAfterTheOthersEnd) {
    const TCombsArray from = Numbered(400);
    TCombsArray to;
    const TKeepSlice failSecond = [](std::size_t part, std::span<const TCombination> in, TCombination* out) {
        if (part == 1)
            throw std::runtime_error("slice 1");
        std::copy(in.begin(), in.end(), out);
        return in.size();
    };
    EXPECT_THROW(KeepInOrder(from, to, 4, failSecond), std::runtime_error);
    // The slices that ran keep their combinations, in order.
    ASSERT_EQ(to.size(), 300u);
    EXPECT_EQ(IndexOf(to[99]), 99u);
    EXPECT_EQ(IndexOf(to[100]), 200u);
}

} // namespace
} // namespace kumby
