// The script tab's commands through the session: start-up load of the mirror,
// questions, statuses, refusals and the enabling rules.

#include "model/VexoUtils.h"
#include "script/RatingsToScript.h"
#include "script/Script.h"
#include "stakes/Ratings.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kumby {
namespace {

using testing::ReadBytes;
using testing::TTestSession;
using testing::WriteBytes;

TDrawsArray Archive() {
    TDrawsArray draws;
    for (int i = 1; i <= 3; ++i)
        draws.push_back(testing::SpreadDraw(i, i));
    return draws;
}

bool HasStatus(const testing::TRecordingUi& ui, const std::string& text) {
    return std::find(ui.Statuses.begin(), ui.Statuses.end(), text) != ui.Statuses.end();
}

class ScriptSessionTest : public ::testing::Test {
protected:
    void Start(const std::string& mirrorBytes) {
        WriteBytes(T / ScriptMirrorFileName, mirrorBytes);
        T.StartWith(Archive());
    }
    Session& S() { return *T.S; }
    std::string Mirror() const { return ReadBytes(T / ScriptMirrorFileName); }
    TTestSession T;
};

TEST_F(ScriptSessionTest, StartUpLoadsTheMirrorAndChangesWriteItBack) {
    Start("FULL:0#RAND| | | | | | | |\xD1\r\n\r\n");
    EXPECT_TRUE(T.Ui.Errors().empty());
    EXPECT_EQ(S().Script().Lines(), (TScriptLines{"FULL:0#RAND| | | | | | | |С", ""}));
    EXPECT_EQ(S().ScriptCountPanel(), "Строк: 2");

    EXPECT_EQ(S().ScriptAdd("CURR:0#NONE| | | | | | | |"), 2u);
    EXPECT_TRUE(S().ScriptEdit(0, "EXCL:1#ALL| | | | | | | |"));
    EXPECT_EQ(S().ScriptMoveUp(2), 1u);
    EXPECT_EQ(S().ScriptMoveDown(0), 1u);
    EXPECT_EQ(S().ScriptAddSeparator(), 3u);
    EXPECT_EQ(Mirror(), "CURR:0#NONE| | | | | | | |\r\nEXCL:1#ALL| | | | | | | |\r\n\r\n\r\n");
    EXPECT_EQ(S().ScriptCountPanel(), "Строк: 4");
    EXPECT_FALSE(S().ScriptEdit(7, "x"));
    EXPECT_EQ(T.Ui.Errors(), std::vector<std::string>{"Запись со индексом 7 в файле данных не найдена!"});
    EXPECT_FALSE(S().ScriptMoveDown(9).has_value());
    EXPECT_EQ(S().Script().Count(), 4u);
}

TEST_F(ScriptSessionTest, UnreadableMirrorIsNamedAndKept) {
    const std::string big(MaxScriptFileBytes + 1, 'x');
    Start(big);
    ASSERT_EQ(T.Ui.Errors().size(), 1u);
    const std::string error = T.Ui.Errors()[0];
    EXPECT_EQ(error.rfind("Ошибка чтения файла \"" + (T / ScriptMirrorFileName).string() + "\"!\r\r", 0), 0u)
        << error;
    EXPECT_NE(error.find("не будет перезаписан"), std::string::npos) << error;
    EXPECT_TRUE(S().Script().Empty());

    EXPECT_EQ(S().ScriptAdd("FULL:0#RAND| | | | | | | |"), 0u) << "the line stands in the list";
    ASSERT_EQ(T.Ui.Errors().size(), 2u);
    EXPECT_EQ(T.Ui.Errors()[1].rfind("Ошибка записи в файл \"", 0), 0u);
    EXPECT_EQ(Mirror(), big);

    // Opening a script file lets it go.
    WriteBytes(T / "a.lsc", "FIRST\nSECOND");
    EXPECT_TRUE(S().ScriptOpen(T / "a.lsc"));
    EXPECT_EQ(Mirror(), "FIRST\r\nSECOND\r\n");
    EXPECT_TRUE(HasStatus(T.Ui, "Загрузка файла \"" + (T / "a.lsc").string() + "\"..."));
}

TEST_F(ScriptSessionTest, DeletionAsksWithTheNumberOfRows) {
    Start("a\r\nb\r\nc\r\nd\r\n");
    EXPECT_FALSE(S().ScriptDelete({1})); // declined
    EXPECT_EQ(T.Ui.Messages.back().Kind, "confirm-delete");
    EXPECT_EQ(T.Ui.Messages.back().Text, "Удалить выделенную запись?");
    EXPECT_EQ(S().Script().Count(), 4u);

    T.Ui.Answers = {true};
    EXPECT_TRUE(S().ScriptDelete({3, 0}));
    EXPECT_EQ(T.Ui.Messages.back().Text, "Удалить все выделенные записи (всего будет удалено 2 записи(ей))?");
    EXPECT_TRUE(HasStatus(T.Ui, "Удаление строк..."));
    EXPECT_EQ(S().Script().Lines(), (TScriptLines{"b", "c"}));
    EXPECT_EQ(Mirror(), "b\r\nc\r\n");

    EXPECT_FALSE(S().ScriptClear());
    EXPECT_EQ(T.Ui.Messages.back().Text, "Удалить все выделенные записи (всего будет удалено 2 записи(ей))?");
    T.Ui.Answers = {true};
    EXPECT_TRUE(S().ScriptClear());
    EXPECT_TRUE(S().Script().Empty());
    EXPECT_EQ(Mirror(), "");
    EXPECT_EQ(S().ScriptCountPanel(), "Строк: 0");
}

TEST_F(ScriptSessionTest, FilesOpenAppendAndSave) {
    Start("");
    WriteBytes(T / "a.lsc", "x\r\n");
    WriteBytes(T / "b.lsc", "y\r\n");
    EXPECT_TRUE(S().ScriptLoad(T / "a.lsc")); // into an empty script: a plain load
    EXPECT_TRUE(S().ScriptLoad(T / "b.lsc"));
    EXPECT_EQ(Mirror(), "x\r\n\r\ny\r\n");

    EXPECT_FALSE(S().ScriptOpen(T / "missing.lsc"));
    EXPECT_EQ(
        T.Ui.Errors().back().rfind("Ошибка чтения файла \"" + (T / "missing.lsc").string() + "\"!\r\r", 0),
        0u);
    EXPECT_EQ(S().Script().Count(), 3u);

    EXPECT_TRUE(S().ScriptSave(T / "out.lsc"));
    EXPECT_EQ(ReadBytes(T / "out.lsc"), "x\r\n\r\ny\r\n");
    EXPECT_TRUE(HasStatus(T.Ui, "Сохранение файла \"" + (T / "out.lsc").string() + "\"..."));
    // The program's own files are no place for it.
    const std::size_t errors = T.Ui.Errors().size();
    EXPECT_FALSE(S().ScriptSave(T / "Kumby_12x24.lsk"));
    EXPECT_EQ(T.Ui.Errors().size(), errors + 1);
}

TEST_F(ScriptSessionTest, EnablingRules) {
    Start("");
    EXPECT_TRUE(S().CanScriptOpen() && S().CanScriptAdd() && S().CanScriptLoad());
    EXPECT_FALSE(S().CanScriptSave() || S().CanScriptAddSeparator() || S().CanScriptClear());
    EXPECT_FALSE(S().CanScriptEdit(0) || S().CanScriptClone(0) || S().CanScriptUp(0) || S().CanScriptDown(0));
    EXPECT_FALSE(S().CanScriptDelete(0));

    S().ScriptAdd("FULL:0#RAND| | | | | | | |");
    S().ScriptAddSeparator();
    S().ScriptAdd("CURR:0#RAND| | | | | | | |");
    EXPECT_TRUE(S().CanScriptSave() && S().CanScriptAddSeparator() && S().CanScriptClear());
    EXPECT_TRUE(S().CanScriptEdit(0) && S().CanScriptClone(2));
    EXPECT_FALSE(S().CanScriptEdit(1) || S().CanScriptClone(1)) << "a separator";
    EXPECT_FALSE(S().CanScriptEdit(-1) || S().CanScriptEdit(3));
    EXPECT_FALSE(S().CanScriptUp(0));
    EXPECT_TRUE(S().CanScriptUp(1) && S().CanScriptUp(2));
    EXPECT_TRUE(S().CanScriptDown(0) && S().CanScriptDown(1));
    EXPECT_FALSE(S().CanScriptDown(2) || S().CanScriptDown(-1));
    EXPECT_TRUE(S().CanScriptDelete(1));

    TBusyScope busy(S());
    EXPECT_FALSE(S().CanScriptOpen() || S().CanScriptAdd() || S().CanScriptLoad() || S().CanScriptSave());
    EXPECT_FALSE(S().CanScriptEdit(0) || S().CanScriptUp(1) || S().CanScriptDown(0) ||
                 S().CanScriptDelete(1));
    EXPECT_FALSE(S().CanScriptClear() || S().CanScriptAddSeparator());
}

TEST_F(ScriptSessionTest, RatingsToScriptAppendsTheGoodSourcesAndNamesTheOthers) {
    TRatingsArray items(3);
    items[0].Name = "03.002: тест @ FULL#RAND + TSD#NUMS:10#CMV:5#SF:1";
    items[1].Name = "Ставка \"вручную\"";
    items[2].Name = "01.001: @ EXCL:3#ALL#NEX + BMF#SUMS:5#WMV:3#ST:4";
    for (TRatingEntry& item : items) {
        item.Count = 1;
        item.HitCounts[0] = 1;
    }
    SaveRatingsFile(T / RatingsFileName, items);
    Start("FULL:0#NONE| | | | | | | |\r\n");
    ASSERT_EQ(S().Ratings().Count(), 3u) << (T.Ui.Messages.empty() ? "" : T.Ui.Messages[0].Text);
    T.Ui.Messages.clear();
    T.Ui.Statuses.clear();

    EXPECT_EQ(S().RatingsToScript({2, 1, 0, 1}), 2);
    EXPECT_TRUE(HasStatus(T.Ui, "Генерация новых строк в сценарии..."));
    EXPECT_EQ(T.Ui.Errors(), std::vector<std::string>{Format(RatingNotScriptText, "Ставка \"вручную\"")});
    // List order, whatever order the rows came in; the two lines are in the mirror too.
    TScriptLines expected{"FULL:0#NONE| | | | | | | |"};
    for (const TRatingEntry& item : S().Ratings().Items())
        if (auto line = RatingSourceToScriptLine(item.Name, S().Registry()))
            expected.push_back(*line);
    ASSERT_EQ(expected.size(), 3u);
    EXPECT_EQ(S().Script().Lines(), expected);
    EXPECT_EQ(ParseScriptBytes(Mirror()), expected);

    EXPECT_EQ(S().RatingsToScript({}), 0);
    EXPECT_EQ(S().RatingsToScript({7}), 0);
    EXPECT_EQ(S().Script().Count(), 3u);
    EXPECT_FALSE(S().CanRatingsToScript(0));
    EXPECT_TRUE(S().CanRatingsToScript(1));
}

} // namespace
} // namespace kumby
