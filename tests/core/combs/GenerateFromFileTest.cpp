// Generation mode 4: the working list read from a list file, and list files that
// cannot be one (missing, a folder, a FIFO, a device, too large).

#include "combs/CombList.h"

#include "app/MainSettings.h"
#include "io/IniFile.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace kumby {
namespace {

using testing::TTestSession;
using testing::WriteBytes;

const std::string ReadError = "Ошибка чтения файла \"";

// Every rule of the format once, and the combinations it must give, as written.
const char* const HandMadeList = "1;2;3;4;5;6;7;8;9;10;11;12\r\n"
                                 "\r\n"
                                 "13,14,15,16,17,18,19,20,21,22,23,24\n"
                                 "24;;23;22;21,20;19;18;17;16;15;14;13\r\n"
                                 "1;2;3;4;5;6;7;8;9;10;11\r\n"
                                 "1;2;3;4;5;6;7;8;9;10;11;12;13\r\n"
                                 "5;6;7;8;9;10;11;12;13;14;15;99\r\n"
                                 ";1;2;3;4;5;6;7;8;9;10;11;12;\r\n"
                                 " 2 ; 4 ;6;8;10;12;14;16;18;20;22;x";

const TCombsArray HandMadeCombinations = {
    {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},          {13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24},
    {24, 23, 22, 21, 20, 19, 18, 17, 16, 15, 14, 13}, {5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 99},
    {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},          {2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 0},
};

TEST(GenerateFromFileTest, ListFileGivesItsCombinationsAsWritten) {
    TTestSession t;
    t.StartWith({testing::PlainDraw(1)});
    WriteBytes(t / "hand.lcv", HandMadeList);

    t.Ui.Messages.clear();
    ASSERT_TRUE(t.S->CombsGenerate({GenerateFromFileMode, (t / "hand.lcv").string()}, false));
    EXPECT_TRUE(t.Ui.Messages.empty());
    EXPECT_EQ(t.S->WorkingList(), HandMadeCombinations);
    EXPECT_FALSE(t.S->CanUndo());
}

TEST(GenerateFromFileTest, DefaultListFileIsTheStartList) {
    TTestSession t;
    WriteBytes(t / "hand.lcv", HandMadeList);
    TIniFile ini;
    WriteGenerateGroup(ini, {GenerateFromFileMode, (t / "hand.lcv").string()});
    ini.Save(t / MainSettingsFileName);
    t.Open();
    ASSERT_EQ(t.Start(), TStartResult::Ready);
    EXPECT_EQ(t.S->WorkingList(), HandMadeCombinations);
}

struct TBadList {
    const char* What;
    std::filesystem::path Path;
};

// Made in the session's folder; each must fail at once, without waiting for a
// writer or reading without end.
std::vector<TBadList> BadLists(const TTestSession& t) {
    std::filesystem::create_directory(t / "folder.lcv");
    EXPECT_EQ(::mkfifo((t / "fifo.lcv").c_str(), 0600), 0);
    WriteBytes(t / "huge.lcv", "");
    std::filesystem::resize_file(t / "huge.lcv", MaxListFileBytes + 1); // sparse
    return {
        {"missing", t / "missing.lcv"}, {"folder", t / "folder.lcv"},  {"FIFO", t / "fifo.lcv"},
        {"device", "/dev/zero"},        {"too large", t / "huge.lcv"},
    };
}

TEST(GenerateFromFileTest, UnusableListFileGivesOneErrorAndAnEmptyList) {
    TTestSession t;
    t.StartWith({testing::PlainDraw(1)});
    for (const TBadList& bad : BadLists(t)) {
        SCOPED_TRACE(bad.What);
        ASSERT_FALSE(t.S->WorkingList().empty()) << "the full set before";
        t.Ui.Messages.clear();
        EXPECT_FALSE(t.S->CombsGenerate({GenerateFromFileMode, bad.Path.string()}, false));
        ASSERT_EQ(t.Ui.Messages.size(), 1u);
        EXPECT_EQ(t.Ui.Messages[0].Kind, "error");
        EXPECT_EQ(t.Ui.Messages[0].Text.rfind(ReadError + bad.Path.string() + "\"!\r\r", 0), 0u)
            << t.Ui.Messages[0].Text;
        EXPECT_TRUE(t.S->WorkingList().empty());
        EXPECT_FALSE(t.S->CanUndo());
        t.S->CombsGenerate({0, ""}, false);
    }
    EXPECT_NE(t.Ui.Messages.back().Text.find(std::to_string(MaxListFileBytes)), std::string::npos)
        << "the too large file names the limit";
}

// At start-up the program goes on with an empty list after one message, whatever
// the default list file is.
TEST(GenerateFromFileTest, UnusableDefaultListFileGivesOneMessageAtStartUp) {
    TTestSession t;
    testing::WriteArchive(t.Path(), {testing::PlainDraw(1)});
    for (const TBadList& bad : BadLists(t)) {
        SCOPED_TRACE(bad.What);
        TIniFile ini;
        WriteGenerateGroup(ini, {GenerateFromFileMode, bad.Path.string()});
        ini.Save(t / MainSettingsFileName);
        t.Ui.Messages.clear();
        t.Open();
        ASSERT_EQ(t.Start(), TStartResult::Ready);
        ASSERT_EQ(t.Ui.Messages.size(), 1u);
        EXPECT_EQ(t.Ui.Messages[0].Kind, "error");
        EXPECT_EQ(t.Ui.Messages[0].Text.rfind(ReadError + bad.Path.string() + "\"!\r\r", 0), 0u);
        EXPECT_TRUE(t.S->WorkingList().empty());
        EXPECT_EQ(t.S->Draws().size(), 1u) << "the rest of the start-up ran";
        t.S->Close(false);
    }
}

} // namespace
} // namespace kumby
