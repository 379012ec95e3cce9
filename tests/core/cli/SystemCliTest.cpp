#include "CliRun.h"

#include "support/TempDir.h"
#include "support/TestArchive.h"

#include <gtest/gtest.h>

namespace kumby {
namespace {

using testing::OutputLines;
using testing::TTempDir;

class SystemCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::WriteArchive(Dir.Path(), {testing::PlainDraw(1)});
        // 16 numbers: 1..12, then 13..16.
        testing::WriteBytes(Dir / "list.lcv",
                            "1;2;3;4;5;6;7;8;9;10;11;12\r\n5;6;7;8;9;10;11;12;13;14;15;16\r\n");
    }
    testing::TRun Run(std::vector<std::string> args) {
        return testing::RunCliIn(Dir.Path(), std::move(args));
    }

    TTempDir Dir;
};

TEST_F(SystemCliTest, GeneratedSystemIsCheckedAndPlayedInBothModes) {
    auto r = Run({"system", "generate", "--n", "16", "--m", "12", "--t", "10"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    auto lines = OutputLines(r.Out);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "Файл\tКомбинаций\tГарантия");
    const std::string file = (Dir / "Systems" / "12-16-0_1210.dat").string();
    EXPECT_EQ(lines[1].rfind(file + "\t", 0), 0u) << lines[1];
    EXPECT_EQ(lines[1].substr(lines[1].rfind('\t')), "\t10");
    const int count = std::stoi(lines[1].substr(file.size() + 1));

    r = Run({"system", "check", file, "--m", "12"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    lines = OutputLines(r.Out);
    ASSERT_EQ(lines.size(), 3u + 13u);
    EXPECT_EQ(lines[0], "Вариантов\tГарантия");
    EXPECT_EQ(lines[1], "1820\t10");
    EXPECT_EQ(lines[2], "Совпадений\tВариантов");
    for (int k = 0; k < 10; ++k)
        EXPECT_EQ(lines[3 + k], std::to_string(k) + "\t0");
    EXPECT_EQ(lines[15], "12\t" + std::to_string(count)); // each line is one draw matched whole

    r = Run({"system", "stake", "--all", "--in", (Dir / "list.lcv").string(), "--copies", "2"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(r.Out, std::to_string(count) + "\n");
    r = Run({"system", "stake", "--filter", "--in", (Dir / "list.lcv").string(), "--draw", "7"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    // Both combinations of the list are lines of that system.
    EXPECT_EQ(r.Out, "2\n");
    r = Run({"stakes"});
    lines = OutputLines(r.Out);
    // Two copies: each after a separator but the first in the empty file; then a
    // separator before the second game.
    ASSERT_EQ(lines.size(), 1u + (4u * static_cast<std::size_t>(count) - 1u) + 3u);
    EXPECT_EQ(lines[lines.size() - 2].rfind("7\tСистема\t1;2;3;4;5;6;7;8;9;10;11;12\t2\t", 0), 0u);
    EXPECT_EQ(lines.back().rfind("7\tСистема\t5;6;7;8;9;10;11;12;13;14;15;16\t2\t", 0), 0u) << lines.back();
    EXPECT_NE(lines.back().find("Системная игра для 16 чисел [комбинации]: 12-16-0_1210"), std::string::npos);
}

TEST_F(SystemCliTest, FullSystemHasEveryCombination) {
    const auto r = Run({"system", "generate", "--n", "13", "--full"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(OutputLines(r.Out).at(1), (Dir / "Systems" / "12-13-0_0000.dat").string() + "\t13\t12");
}

TEST_F(SystemCliTest, WrongUseAndMissingSystemsFailWithTheirTexts) {
    struct TCase {
        std::vector<std::string> Args;
        const char* ErrStart;
    };
    const TCase cases[] = {
        {{"system", "stake", "--in", "list.lcv"}, "Укажите один из ключей --all"},
        {{"system", "stake", "--all", "--filter"}, "Укажите один из ключей --all"},
        {{"system", "stake", "--all", "--in", "LIST"}, "Система для 16 чисел не найдена"},
        {{"system", "generate", "--n", "16"}, "Укажите ключ --full"},
        {{"system", "generate", "--n", "16", "--full", "--m", "12"}, "Укажите ключ --full"},
        {{"system", "generate", "--n", "16", "--m", "12"}, "Укажите ключ --full"},
        {{"system", "generate", "--n", "12", "--full"}, "Некорректное значение ключа --n"},
        {{"system", "generate", "--n", "16", "--m", "3", "--t", "2"}, "Количество выпавших чисел среди 16"},
        {{"system", "check", "--m", "12"}, "Укажите один файл системы"},
        {{"system", "check", "missing.dat", "--m", "12"}, "Ошибка проверки системы!"},
    };
    for (TCase c : cases) {
        for (std::string& a : c.Args)
            if (a == "LIST")
                a = (Dir / "list.lcv").string();
        SCOPED_TRACE(c.Args.back());
        const auto r = Run(c.Args);
        EXPECT_EQ(r.Code, 1);
        EXPECT_EQ(r.Err.rfind(c.ErrStart, 0), 0u) << r.Err;
        EXPECT_EQ(r.Out, "");
    }
}

} // namespace
} // namespace kumby
