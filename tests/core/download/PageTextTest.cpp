#include "download/PageText.h"

#include "SitePages.h"
#include "model/Cp1251.h"
#include "model/Error.h"

#include <gtest/gtest.h>

namespace kumby {
namespace {

using testing::DrawBlockHtml;
using testing::RangePageHtml;
using testing::SiteDraw;
using testing::SiteDraws;
using testing::TSiteDraw;

TEST(PageTextTest, BetweenFindsIgnoringCaseTrimsAndUnquotes) {
    struct TCase {
        std::string Text, Start, End, Expected;
    } cases[] = {
        {"aa<B>  12 </b>zz", "<b>", "</b>", "12"},
        {"x<DIV class=\"A\">\"say \"\"hi\"\"\"</div>", "<div class=\"a\">", "</div>", "say \"hi\""},
        {"no start here", "<b>", "</b>", ""},
        {"<b></b>", "<b>", "</b>", ""},
        {"<b>first</b><b>second</b>", "<b>", "</b>", "first"},
        {"\"only\" <b>\"half</b>", "<b>", "</b>", "\"half"},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(Between(c.Text, c.Start, c.End), c.Expected) << c.Text;
}

TEST(PageTextTest, BetweenWithoutEndMarkerNamesBothMarkersAndQuotesTheTextShort) {
    try {
        Between("<b>12" + std::string(5000, 'x'), "<b>", "</b>");
        FAIL() << "no error";
    } catch (const Error& e) {
        const std::string text = e.what();
        EXPECT_EQ(
            text.rfind("Не удалось найти пару идентификаторов \"<b>\" - \"</b>\" в тексте\r\r[<b>12xxx", 0),
            0u);
        EXPECT_LT(text.size(), 500u);
        EXPECT_EQ(text.substr(text.size() - 5), "...]!");
    }
}

TEST(PageTextTest, TakeBetweenWalksThroughASequence) {
    std::string_view text = "<b>1</b> <B>2</B> tail <b>3</b>";
    EXPECT_EQ(TakeBetween(text, "<b>", "</b>"), "1");
    EXPECT_EQ(TakeBetween(text, "<b>", "</b>"), "2");
    EXPECT_EQ(text, " tail <b>3</b>");
    EXPECT_EQ(TakeBetween(text, "<b>", "</b>"), "3");
    EXPECT_EQ(TakeBetween(text, "<b>", "</b>"), "");
    EXPECT_TRUE(text.empty());
}

TEST(PageTextTest, TakeBlockCutsBeforeTheNextMarker) {
    std::string_view text = "head <e> one <E> two  ";
    EXPECT_EQ(TakeBlock(text, "<e>"), "one");
    EXPECT_EQ(text, "<E> two  ");
    EXPECT_EQ(TakeBlock(text, "<e>"), "two");
    EXPECT_TRUE(text.empty());
    EXPECT_EQ(TakeBlock(text, "<e>"), std::nullopt);
}

TEST(PageTextTest, RangePageGivesDrawsNewestFirstWithTheirNumbersAndDates) {
    TSiteDraw nbsp = SiteDraw(12);
    nbsp.Nbsp = true;
    TSiteDraw longDate = SiteDraw(11);
    longDate.Date = "01.02.2021 20:00 (понедельник)";
    TSiteDraw noBlock = SiteDraw(10);
    noBlock.NoNumbersBlock = true;
    const TSiteDraw older = SiteDraw(9);
    const std::string page = Utf8ToCp1251(RangePageHtml({nbsp, longDate, noBlock, older}));

    const TRangePage r = ReadRangePage(page, 10);
    ASSERT_TRUE(r.ListFound);
    ASSERT_EQ(r.Draws.size(), 3u);
    EXPECT_TRUE(r.Skipped.empty());
    EXPECT_EQ(r.Listed(), 3u);
    EXPECT_EQ(r.Draws[0].Number, 12);
    ASSERT_TRUE(r.Draws[0].Numbers);
    EXPECT_EQ(PageNumbersText(*r.Draws[0].Numbers), "13;15;17;19;21;23;1;3;5;7;9;11");
    EXPECT_EQ(r.Draws[1].DateText, "01.02.2021 20:00");
    EXPECT_EQ(r.Draws[2].Number, 10);
    EXPECT_FALSE(r.Draws[2].Numbers);
}

TEST(PageTextTest, SingleDrawPage) {
    EXPECT_EQ(PageNumbersText(
                  *ReadSingleDrawPage(testing::SingleDrawPageHtml({3, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 24}))),
              "3;1;2;4;5;6;7;8;9;10;11;24");
    EXPECT_EQ(ReadSingleDrawPage("<html>nothing</html>"), std::nullopt);
    // Fewer than 12 numbers read as zeros, which the check then refuses.
    const auto few = ReadSingleDrawPage(testing::SingleDrawPageHtml({1, 2, 3}));
    ASSERT_TRUE(few);
    EXPECT_NE(DrawNumbersProblem(*few), "");
}

TEST(PageTextTest, DrawNumbersCheck) {
    const TPageNumbers good{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 24};
    EXPECT_EQ(DrawNumbersProblem(good), "");
    const TPageNumbers bad[] = {
        {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 11},  {0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},
        {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 25},  {-1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},
        {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 300},
    };
    for (const TPageNumbers& n : bad)
        EXPECT_EQ(DrawNumbersProblem(n).rfind("числа " + PageNumbersText(n), 0), 0u) << PageNumbersText(n);
}

// Pages the site should never send: each reads without a crash or a hang, and either
// gives the draws that are whole or raises Error for a list without its end.
TEST(PageTextTest, HostilePages) {
    const std::string whole = RangePageHtml(SiteDraws(1, 3));
    struct TCase {
        const char* Name;
        std::string Page;
        bool Raises;
        std::size_t Draws;
        std::size_t Skipped;
    } cases[] = {
        {"empty", "", false, 0, 0},
        {"no markers", std::string(1000, '<'), false, 0, 0},
        {"truncated inside the list", whole.substr(0, whole.size() / 2), true, 0, 0},
        {"list without draws", "<div class=\"data drawings_data\"><div class=\"content_decor\">", false, 0,
         0},
        {"end before start",
         "<div class=\"content_decor\"><div class=\"data drawings_data\"><div class=\"elem\">", true, 0, 0},
        {"draw link not closed",
         "<div class=\"data drawings_data\"><div class=\"elem\"><a href=\"/12x24/archive/5<div "
         "class=\"content_decor\">",
         false, 0, 1},
        {"numbers block not closed",
         "<div class=\"data drawings_data\"><div class=\"elem\"><a href=\"/12x24/archive/5\">"
         "<div class=\"draw_date\" title=\"d\"><div class=\"container cleared\"><b>1</b>"
         "<div class=\"content_decor\">",
         false, 0, 1},
        {"no date",
         "<div class=\"data drawings_data\"><div class=\"elem\"><a href=\"/12x24/archive/5\">"
         "<div class=\"content_decor\">",
         false, 0, 1},
        {"number tags without end",
         "<div class=\"data drawings_data\"><div class=\"elem\"><a href=\"/12x24/archive/5\">"
         "<div class=\"draw_date\" title=\"d\"><div class=\"container cleared\"><b>1<b>2</div>"
         "<div class=\"controls\"></div><div class=\"content_decor\">",
         false, 0, 1},
        {"draw markers nested in a draw",
         "<div class=\"data drawings_data\"><div class=\"elem\"><a href=\"/12x24/archive/<div "
         "class=\"elem\">7\"><div class=\"elem\"><div class=\"content_decor\">",
         false, 0, 1},
        {"not a number",
         "<div class=\"data drawings_data\"><div class=\"elem\"><a href=\"/12x24/archive/abc\">"
         "<div class=\"content_decor\">",
         false, 0, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        if (c.Raises) {
            EXPECT_THROW(ReadRangePage(c.Page, 1), Error);
            continue;
        }
        const TRangePage r = ReadRangePage(c.Page, 1);
        EXPECT_EQ(r.Draws.size(), c.Draws);
        EXPECT_EQ(r.Skipped.size(), c.Skipped);
    }
}

TEST(PageTextTest, FiftyMegabytePageReads) {
    // 50 MB: a list of 200,000 draws and a tail of junk that looks like markers.
    std::string page = "<div class=\"data drawings_data\">";
    const std::string block = DrawBlockHtml(SiteDraw(1));
    while (page.size() < 45'000'000)
        page += block;
    while (page.size() < 50'000'000)
        page += "<div class=\"ele<a href=\"/12x24/arc";
    page += "<div class=\"content_decor\">";
    const TRangePage r = ReadRangePage(page, 1);
    EXPECT_GT(r.Draws.size(), 100'000u);
    EXPECT_EQ(r.Skipped.size(), 0u);
}

} // namespace
} // namespace kumby
