// The script in memory, its mirror file and the script files: exact bytes, the
// append rule, bad files and failed writes.

#include "io/AtomicFile.h"
#include "model/Error.h"
#include "script/Script.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

namespace kumby {
namespace {

using testing::ReadBytes;
using testing::TTempDir;
using testing::WriteBytes;

// "Тест" in CP1251.
const std::string TestCp1251 = "\xD2\xE5\xF1\xF2";

// The message of the Error that `f` raises; empty when it raises none.
template <typename F> std::string ErrorOf(F&& f) {
    try {
        f();
    } catch (const Error& e) {
        return e.what();
    }
    return {};
}

class ScriptFileTest : public ::testing::Test {
protected:
    std::filesystem::path Mirror() const { return Dir / ScriptMirrorFileName; }
    TTempDir Dir;
    TScript Script{Dir / ScriptMirrorFileName};
};

TEST_F(ScriptFileTest, EveryChangeWritesTheMirrorInCp1251WithCrLf) {
    Script.Add("FULL:0#RAND| | | | | | | |Тест");
    EXPECT_EQ(ReadBytes(Mirror()), "FULL:0#RAND| | | | | | | |" + TestCp1251 + "\r\n");
    EXPECT_EQ(Script.AddSeparator(), 1u);
    EXPECT_EQ(Script.Add("b"), 2u);
    EXPECT_EQ(ReadBytes(Mirror()), "FULL:0#RAND| | | | | | | |" + TestCp1251 + "\r\n\r\nb\r\n");

    EXPECT_EQ(Script.Insert(0, "a"), 0u);
    Script.Replace(3, "c");
    EXPECT_EQ(Script.Clone(0), 4u);
    EXPECT_EQ(Script.MoveDown(0), 1u);
    EXPECT_EQ(Script.MoveUp(4), 3u);
    EXPECT_EQ(Script.MoveUp(0), 0u) << "the first line stays";
    EXPECT_EQ(Script.MoveDown(4), 4u) << "the last line stays";
    const TScriptLines expected = {"FULL:0#RAND| | | | | | | |Тест", "a", "", "a", "c"};
    EXPECT_EQ(Script.Lines(), expected);
    EXPECT_EQ(ReadBytes(Mirror()), "FULL:0#RAND| | | | | | | |" + TestCp1251 + "\r\na\r\n\r\na\r\nc\r\n");

    Script.Delete({3, 0, 3});
    EXPECT_EQ(Script.Lines(), (TScriptLines{"a", "", "c"}));
    Script.Clear();
    EXPECT_TRUE(Script.Empty());
    EXPECT_EQ(ReadBytes(Mirror()), "");

    // What the file cannot hold is what memory holds too.
    Script.Add("x\r\ny\nz");
    Script.Add("✓ 5€");
    EXPECT_EQ(Script.Lines(), (TScriptLines{"x  y z", "? 5€"}));
    EXPECT_EQ(ReadBytes(Mirror()), "x  y z\r\n? 5\x88\r\n");
}

TEST_F(ScriptFileTest, LoadReadsAnyLineEndsAndStrayBytes) {
    const std::string longLine(10000, 'q');
    const std::filesystem::path file = Dir / "a.lsc";
    WriteBytes(file, "one\ntwo\r\n\r\n" + TestCp1251 + std::string(" \x98\x00z\r", 5) + longLine);
    Script.Add("old");
    Script.Load(file);
    const TScriptLines expected = {"one", "two", "", "Тест ?" + std::string(1, '\0') + "z", longLine};
    EXPECT_TRUE(Script.Lines() == expected);
    EXPECT_TRUE(ReadBytes(Mirror()) == "one\r\ntwo\r\n\r\n" + TestCp1251 + " ?" + std::string(1, '\0') +
                                           "z\r\n" + longLine + "\r\n");

    TScript again(Mirror());
    again.LoadMirror();
    EXPECT_TRUE(again.Lines() == expected);

    WriteBytes(file, "");
    Script.Load(file);
    EXPECT_TRUE(Script.Empty());
}

struct TAppendCase {
    TScriptLines Before;
    const char* FileBytes;
    TScriptLines After;
};

TEST_F(ScriptFileTest, AppendPutsOneSeparatorBetween) {
    const TAppendCase cases[] = {
        {{}, "a\r\nb\r\n", {"a", "b"}},
        {{"x"}, "a\r\n", {"x", "", "a"}},
        {{"x", ""}, "a\r\n", {"x", "", "a"}},
        {{"x", "   "}, "\r\na\r\n", {"x", "   ", "", "a"}},
    };
    const std::filesystem::path file = Dir / "b.lsc";
    for (const TAppendCase& c : cases) {
        Script.Clear();
        for (const std::string& line : c.Before)
            Script.Add(line);
        WriteBytes(file, c.FileBytes);
        Script.Append(file);
        EXPECT_EQ(Script.Lines(), c.After);
        EXPECT_EQ(ParseScriptBytes(ReadBytes(Mirror())), c.After);
    }
}

TEST_F(ScriptFileTest, BadFilesChangeNothing) {
    Script.Add("keep");
    const std::string mirrorBefore = ReadBytes(Mirror());

    const std::filesystem::path missing = Dir / "missing.lsc";
    std::string error = ErrorOf([&] { Script.Load(missing); });
    EXPECT_EQ(error.rfind("Ошибка чтения файла \"" + missing.string() + "\"!\r\r", 0), 0u) << error;

    const std::filesystem::path huge = Dir / "huge.lsc";
    WriteBytes(huge, std::string(MaxScriptFileBytes + 1, 'a'));
    error = ErrorOf([&] { Script.Append(huge); });
    EXPECT_EQ(error.rfind("Ошибка чтения файла \"" + huge.string() + "\"!\r\r", 0), 0u) << error;
    EXPECT_NE(error.find("больше предельного (4194304 байт)"), std::string::npos) << error;

    error = ErrorOf([&] { Script.Load(Dir.Path()); });
    EXPECT_NE(error.find("это не обычный файл"), std::string::npos) << error;

    EXPECT_EQ(Script.Lines(), TScriptLines{"keep"});
    EXPECT_EQ(ReadBytes(Mirror()), mirrorBefore);

    // Rows outside the script.
    EXPECT_EQ(ErrorOf([&] { Script.Line(1); }), "Запись со индексом 1 в файле данных не найдена!");
    EXPECT_EQ(ErrorOf([&] { Script.Replace(3, "x"); }), "Запись со индексом 3 в файле данных не найдена!");
    EXPECT_EQ(ErrorOf([&] { Script.Insert(2, "x"); }), "Запись со индексом 2 в файле данных не найдена!");
    EXPECT_EQ(ErrorOf([&] { Script.Delete({0, 9}); }), "Запись со индексом 9 в файле данных не найдена!");
    EXPECT_EQ(ErrorOf([&] { Script.MoveUp(1); }), "Запись со индексом 1 в файле данных не найдена!");
    EXPECT_EQ(Script.Lines(), TScriptLines{"keep"});
}

TEST_F(ScriptFileTest, FailedWriteKeepsTheChangeInMemoryAndTheOldFile) {
    Script.Add("first");
    SetWriteFaultHookForTesting([](std::size_t) { return false; });
    const std::string error = ErrorOf([&] { Script.Add("second"); });
    SetWriteFaultHookForTesting(nullptr);
    EXPECT_EQ(error.rfind("Ошибка записи в файл \"" + Mirror().string() + "\"!\r\r", 0), 0u) << error;
    EXPECT_EQ(Script.Lines(), (TScriptLines{"first", "second"}));
    EXPECT_EQ(ReadBytes(Mirror()), "first\r\n");
    Script.SaveMirror();
    EXPECT_EQ(ReadBytes(Mirror()), "first\r\nsecond\r\n");
}

TEST_F(ScriptFileTest, UnreadableMirrorIsKeptUntilAScriptIsLoaded) {
    const std::string big(MaxScriptFileBytes + 10, 'z');
    WriteBytes(Mirror(), big);
    EXPECT_NE(ErrorOf([&] { Script.LoadMirror(); }).find("Ошибка чтения файла"), std::string::npos);
    EXPECT_TRUE(Script.MirrorBlocked());
    EXPECT_TRUE(Script.Empty());

    const std::string error = ErrorOf([&] { Script.Add("new"); });
    EXPECT_EQ(error.rfind("Ошибка записи в файл \"" + Mirror().string() + "\"!\r\r", 0), 0u) << error;
    EXPECT_NE(error.find("не перезаписывается"), std::string::npos) << error;
    EXPECT_EQ(Script.Lines(), TScriptLines{"new"}) << "the change stands in memory";
    EXPECT_EQ(ErrorOf([&] { Script.Clear(); }), error);
    EXPECT_EQ(ReadBytes(Mirror()), big);

    // Loading a file is the user's choice to replace it.
    const std::filesystem::path file = Dir / "c.lsc";
    WriteBytes(file, "x\r\n");
    Script.Load(file);
    EXPECT_FALSE(Script.MirrorBlocked());
    EXPECT_EQ(ReadBytes(Mirror()), "x\r\n");

    // A mirror that is not there is an empty script, not a blocked one.
    TScript none(Dir / "absent" / ScriptMirrorFileName);
    none.LoadMirror();
    EXPECT_FALSE(none.MirrorBlocked());
    EXPECT_TRUE(none.Empty());
}

TEST_F(ScriptFileTest, SaveAsWritesTheSameBytes) {
    Script.Add("Тест");
    Script.AddSeparator();
    const std::filesystem::path file = Dir / "d.lsc";
    Script.SaveAs(file);
    EXPECT_EQ(ReadBytes(file), TestCp1251 + "\r\n\r\n");
    const std::filesystem::path bad = Dir / "no" / "such" / "e.lsc";
    const std::string error = ErrorOf([&] { Script.SaveAs(bad); });
    EXPECT_EQ(error.rfind("Ошибка записи в файл \"" + bad.string() + "\"!\r\r", 0), 0u) << error;
}

} // namespace
} // namespace kumby
