// The method interface itself: pattern formatting, the base kinds' texts, the key
// helpers, the indexed merge and the base operations of a window.

#include "StatTestSupport.h"
#include "stats/families/VF_Nums.h"
#include "support/TempDir.h"

#include <functional>

namespace kumby::testing {
namespace {

// ---- Pattern formatting ------------------------------------------------------

TEST(FormatPatternTest, IntegerPlaceholders) {
    struct Case {
        const char* pattern;
        int32_t value;
        const char* expected;
    };
    const Case cases[] = {
        {"POS%d", 3, "POS3"},
        {"NUMS", 3, "NUMS"},
        {"Число в %0:d позиции тиража", 12, "Число в 12 позиции тиража"},
        // A caption formatted twice keeps its second placeholder through the first step.
        {"Переходы кол-ва чисел в %%d сегменте между %0:d тиражами", 2,
         "Переходы кол-ва чисел в %d сегменте между 2 тиражами"},
        {"Метод шинковки %0:d: %%s", 1, "Метод шинковки 1: %s"},
        {"%s (%.3d)", 5, "%s (005)"},
        {" (%.3d)", 1625, " (1625)"},
        {"%.3d", -5, "-005"},
        {"%.4d", 1049, "1049"},
        {"%d%%", 50, "50%"},
        {"100%", 1, "100%"},
        {"%5d|", 42, "   42|"},
        {"%-4d|", 7, "7   |"},
        {"%D", 9, "9"},
        {"", 1, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatWithInt(c.pattern, c.value), c.expected) << c.pattern;
}

TEST(FormatPatternTest, TextPlaceholders) {
    struct Case {
        const char* pattern;
        const char* value;
        const char* expected;
    };
    const Case cases[] = {
        {"Метод шинковки 1: %s", "(n1+n2)/(n3+n4)", "Метод шинковки 1: (n1+n2)/(n3+n4)"},
        {"Ошибка загрузки списка фильтров!\r\r%s", "нет файла",
         "Ошибка загрузки списка фильтров!\r\rнет файла"},
        {"%0:s [ NG ]", "имя", "имя [ NG ]"},
        {"50%% %s", "a", "50% a"},
        // The value is not a pattern.
        {"%s", "%d %s %%", "%d %s %%"},
        {"%d: %s", "x", "%d: x"},
        {"без места", "x", "без места"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatWithText(c.pattern, c.value), c.expected) << c.pattern;
    EXPECT_EQ(FormatWithText("%-6s|%3s|", "Чет"), "Чет   |Чет|") << "widths count characters";
}

TEST(FormatPatternTest, HugeWidthsFromCustomNamesAreCapped) {
    const std::string wide = FormatWithText("Шинковка %99999999999999999999s", "x");
    EXPECT_LE(wide.size(), 300u);
    EXPECT_EQ(wide.back(), 'x');
    EXPECT_LE(FormatWithText("%.99999999999999999999s", "x").size(), 300u);
    EXPECT_LE(FormatWithInt("%.99999999999999999999d", 7).size(), 300u);
}

// ---- Value texts of the base kinds ---------------------------------------------

TStatEntry KeyOf(uint16_t key1) {
    TStatEntry e;
    e.Key1 = key1;
    return e;
}

TEST(BaseKindTextTest, MaskShowsPositionOneFirstAndParsesBack) {
    TStatFixture f;
    auto evnv = f.Create("EVNV");
    auto smlv = f.Create("SMLV");
    auto prmv = f.Create("PRMV");
    struct Case {
        TCustomStat* stat;
        uint16_t mask;
        const char* text;
    };
    const Case cases[] = {
        {evnv.get(), 1625, "ЧннЧЧнЧннЧЧн (1625)"}, {evnv.get(), 5, "ЧЧЧЧЧЧЧЧЧнЧн (005)"},
        {evnv.get(), 0, "ЧЧЧЧЧЧЧЧЧЧЧЧ (000)"},     {evnv.get(), 4095, "нннннннннннн (4095)"},
        {smlv.get(), 2048, "211111111111 (2048)"}, {smlv.get(), 1, "111111111112 (001)"},
        {prmv.get(), 3, "ССССССССССПП (003)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.stat->ValueText(KeyOf(c.mask)), c.text);
        EXPECT_EQ(c.stat->ParseValue(c.text), c.mask) << c.text;
        EXPECT_EQ(c.stat->NumericValue(c.text), c.mask) << c.text;
    }
    // Anything but the one symbol reads as a zero bit.
    EXPECT_EQ(evnv->ParseValue("ЧЧЧЧЧЧЧЧЧЧЧн"), 1);
    EXPECT_EQ(evnv->ParseValue("xxxxxxxxxxxн"), 1);
    EXPECT_EQ(evnv->ParseValue(""), 0);
    EXPECT_EQ(smlv->ParseValue("нннннннннннн"), 0);
}

TEST(BaseKindTextTest, RatioShowsTheCountAndTheRest) {
    TStatFixture f;
    auto even = f.Create("EVEN");
    EXPECT_EQ(even->ValueText(KeyOf(5)), "5:7");
    EXPECT_EQ(even->ValueText(KeyOf(0)), "0:12");
    EXPECT_EQ(even->ValueText(KeyOf(12)), "12:0");
    struct Case {
        const char* text;
        int32_t value;
    };
    const Case cases[] = {{"5:7", 5}, {"0:12", 0},  {"12:0", 12}, {" 7 : 5", 7},
                          {"9", 9},   {"abc:1", 0}, {":5", 0},    {"", 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(even->ParseValue(c.text), c.value) << c.text;
        EXPECT_EQ(even->NumericValue(c.text), c.value) << c.text;
    }
}

TEST(BaseKindTextTest, PlainKindsShowKeyOneUnsigned) {
    TStatFixture f;
    for (const char* code : {"NUMS", "DIGS", "POS1"}) {
        auto stat = f.Create(code);
        EXPECT_EQ(stat->ValueText(KeyOf(17)), "17") << code;
        EXPECT_EQ(stat->ValueText(KeyOf(65535)), "65535") << code;
        EXPECT_EQ(stat->ParseValue("17"), 17) << code;
        EXPECT_EQ(stat->ParseValue("17a"), 0) << code;
        EXPECT_EQ(stat->ParseValue(""), 0) << code;
        EXPECT_EQ(stat->ParseValue("-3"), -3) << code;
    }
}

// ---- Help topics ---------------------------------------------------------------

TEST(HelpTopicTest, NeedsAnExistingHelpFile) {
    EXPECT_EQ(TstValues::ClassInfo.HelpTopic(0, ""), "");
    TTempDir dir;
    EXPECT_EQ(TstValues::ClassInfo.HelpTopic(0, (dir / "missing.chm").string()), "");
    EXPECT_EQ(TstValues::ClassInfo.HelpTopic(0, dir.Path().string()), "") << "a folder is not a help file";

    const std::string file = (dir / "Kumby_12x24.chm").string();
    WriteBytes(file, "help");
    EXPECT_EQ(TstValues::ClassInfo.HelpTopic(0, file), "ms-its:" + file + "::/Filters_1049_NUMS.htm");
    EXPECT_EQ(TstPosVal::ClassInfo.HelpTopic(3, file), "ms-its:" + file + "::/Filters_1049_POSx.htm");
    EXPECT_EQ(TstPosExt::ClassInfo.HelpCodeFor(1), "POSx");
    EXPECT_EQ(TstEvenValues::ClassInfo.HelpCodeFor(0), "EVNV");
}

// ---- Key helpers -----------------------------------------------------------------

TStatEntry Keys(uint16_t k1, uint16_t k2, uint16_t k3, uint16_t k4) {
    TStatEntry e;
    e.Key1 = k1;
    e.Key2 = k2;
    e.Key3 = k3;
    e.Key4 = k4;
    return e;
}

TEST(KeyHelperTest, LookUpWordsBytesAndHalves) {
    const TStatDrawArray selected{Keys(0x0201, 0x0403, 0x0605, 0x0807), Keys(7, 0, 9, 0), Keys(1, 0, 0, 0)};
    EXPECT_TRUE(TCustomStat::HasKeys(selected, 7, 0, 9, 0));
    EXPECT_TRUE(TCustomStat::HasKeys(selected, 1, 0, 0, 0));
    EXPECT_FALSE(TCustomStat::HasKeys(selected, 7, 0, 0, 0));
    EXPECT_FALSE(TCustomStat::HasKeys({}, 0, 0, 0, 0));

    // Halves: the two numbers widened to 32 bits, so Key2 and Key4 must be 0.
    EXPECT_TRUE(TCustomStat::HasHalves(selected, 7, 9));
    EXPECT_TRUE(TCustomStat::HasHalves(selected, 1, 0));
    EXPECT_FALSE(TCustomStat::HasHalves(selected, 9, 7));
    EXPECT_FALSE(TCustomStat::HasHalves(selected, 0x0201, 0x0605)) << "Key2 and Key4 are not 0";

    // Bytes in memory order: byte 1 is the low byte of Key1, byte 8 the high byte of Key4.
    for (int n = 1; n <= 8; ++n)
        EXPECT_TRUE(TCustomStat::HasKeyByte(selected, n, static_cast<uint8_t>(n))) << n;
    EXPECT_FALSE(TCustomStat::HasKeyByte({Keys(0x0201, 0, 0, 0)}, 1, 2));
    EXPECT_TRUE(TCustomStat::HasKeyByte(selected, 3, 0)) << "byte 3 of the second entry";
    EXPECT_FALSE(TCustomStat::HasKeyByte(selected, 0, 1));
    EXPECT_FALSE(TCustomStat::HasKeyByte(selected, 9, 0));

    EXPECT_TRUE(TCustomStat::HasKeyWord(selected, 4, 0x0807));
    EXPECT_TRUE(TCustomStat::HasKeyWord(selected, 3, 9));
    EXPECT_FALSE(TCustomStat::HasKeyWord(selected, 2, 9));
    EXPECT_FALSE(TCustomStat::HasKeyWord(selected, 0, 1));
    EXPECT_FALSE(TCustomStat::HasKeyWord(selected, 5, 0));

    EXPECT_TRUE(TCustomStat::HasKeyHalf(selected, 1, 0x04030201u));
    EXPECT_TRUE(TCustomStat::HasKeyHalf(selected, 2, 0x08070605u));
    EXPECT_TRUE(TCustomStat::HasKeyHalf(selected, 2, 9));
    EXPECT_FALSE(TCustomStat::HasKeyHalf(selected, 1, 9));
    EXPECT_FALSE(TCustomStat::HasKeyHalf(selected, 3, 0));
}

// ---- Indexed merge -------------------------------------------------------------

bool SameEntries(const TStatDrawArray& a, const TStatDrawArray& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const TStatEntry& x = a[i];
        const TStatEntry& y = b[i];
        if (x.Draw != y.Draw || x.Depth != y.Depth || x.PrevDraw != y.PrevDraw ||
            x.PeriodMin != y.PeriodMin || x.PeriodMax != y.PeriodMax || x.Count != y.Count ||
            x.Norm != y.Norm || !x.SameKey(y))
            return false;
    }
    return true;
}

TEST(StatMergerTest, GivesWhatAddStatEntryGivesForRandomMerges) {
    std::mt19937 rng(5);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    TStatMerger merger;
    TStatDrawArray lists[2], expected[2];
    for (int step = 0; step < 20000; ++step) {
        const int which = pick(0, 9) == 0 ? 1 : 0; // mostly one list, now and then the other
        TStatDrawArray& list = lists[which];
        TStatDrawArray& ref = expected[which];
        const int action = pick(0, 199);
        if (action == 0) {
            list.clear();
            ref.clear();
        } else if (action == 1) {
            // Changed behind the merger's back.
            SortStatEntries(list);
            SortStatEntries(ref);
        } else if (action == 2 && !list.empty()) {
            const std::size_t at = static_cast<std::size_t>(pick(0, static_cast<int>(list.size()) - 1));
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(at));
            ref.erase(ref.begin() + static_cast<std::ptrdiff_t>(at));
        } else {
            TStatEntry e;
            // Small keys and keys around the end of the plain table, beside wider ones;
            // tuples of four items around the end of their table.
            e.Key1 = static_cast<uint16_t>(pick(0, 9) == 0 ? pick(4090, 4100) : pick(0, 30));
            e.Key2 = static_cast<uint16_t>(pick(0, 1));
            e.Key3 = static_cast<uint16_t>(pick(0, 3) == 0 ? pick(0, 2) : 0);
            e.Key4 = static_cast<uint16_t>(pick(0, 20) == 0 ? 65535 : (pick(0, 3) == 0 ? pick(23, 26) : 0));
            e.Draw = pick(0, 60);
            e.PrevDraw = e.Draw;
            e.Depth = pick(0, 12);
            e.Count = pick(0, 3);
            e.Norm = pick(0, 9);
            const bool track = pick(0, 1) == 1;
            merger.Add(list, e, track);
            AddStatEntry(ref, e, track);
        }
        ASSERT_TRUE(SameEntries(list, ref)) << "step " << step;
    }
}

TEST(StatMergerTest, FollowsAListReplacedBehindItsBack) {
    auto entry = [](uint16_t key, int32_t count) {
        TStatEntry e = KeyOf(key);
        e.Count = count;
        return e;
    };
    TStatMerger merger;
    TStatDrawArray list;
    merger.Add(list, entry(1, 1), false);
    merger.Add(list, entry(2, 1), false);
    // Same size, other values: the new values must be found, not appended again.
    list = {entry(3, 5), entry(4, 5)};
    merger.Add(list, entry(4, 1), false);
    merger.Add(list, entry(3, 1), false);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].Count, 6);
    EXPECT_EQ(list[1].Count, 6);

    // Another list in between.
    {
        TStatDrawArray other{entry(9, 1), entry(8, 1)};
        merger.Add(other, entry(8, 1), false);
        ASSERT_EQ(other.size(), 2u);
        EXPECT_EQ(other[1].Count, 2);
    }
    merger.Reset();
    merger.Add(list, entry(3, 1), false);
    EXPECT_EQ(list[0].Count, 7);
}

// ---- Base operations of a window ---------------------------------------------------

// A method that records what the base operations hand it.
class TProbeStat : public TCustomValuesStat {
public:
    TProbeStat(const TStatList& list, const TStatClassInfo& info) : TCustomValuesStat(list, 0), Info_(info) {}
    const TStatClassInfo& Info() const override { return Info_; }

    void AddDraw(int drawIdx, int lastIdx, bool sorted, TStatDrawArray& stat, TRunState& runState,
                 TLastValueArray& lastValues) override {
        Calls.push_back({drawIdx, lastIdx, runState.Values[0], stat.size(), lastValues.size()});
        TCustomValuesStat::AddDraw(drawIdx, lastIdx, sorted, stat, runState, lastValues);
        BaseEntry = Entry;
        ++runState.Values[0];
        lastValues.push_back({});
        Entry.Key1 = CurDraw.Numbers[0];
        Merge(stat, true);
    }
    void AddCombination(const TCombination& comb, TStatDrawArray& stat) override {
        Entry.Key1 = 99;
        TCustomValuesStat::AddCombination(comb, stat);
        BaseEntry = Entry;
    }
    bool Matches(const TCombination&, const TStatDrawArray&, int, bool, bool) override { return false; }

    struct TCall {
        int DrawIdx, LastIdx;
        int32_t RunState;
        std::size_t StatSize, LastValuesSize;
    };
    std::vector<TCall> Calls;
    TStatEntry BaseEntry;
    const TDrawRecord& Cur() const { return CurDraw; }
    const TDrawRecord& Ref() const { return RefDraw; }

private:
    const TStatClassInfo& Info_;
};

const TStatClassInfo ProbeInfo = {"TProbe", "PRB", "Проба", nullptr, 0,       StatFlagN,
                                  false,    true,  false,   true,    nullptr, nullptr};
const TStatClassInfo ProbeInfoD = {"TProbeD", "PRBD", "Проба D", nullptr, 0,       StatFlagD,
                                   false,     true,   false,     true,    nullptr, nullptr};

TEST(BaseKindTextTest, NumericValueIsZeroForTextValues) {
    static const TStatClassInfo textual = {"TText", "TXT", "Текст", nullptr, 0,       0,
                                           false,   false, false,   true,    nullptr, nullptr};
    TStatFixture f;
    TProbeStat probe(f.List, textual);
    EXPECT_EQ(probe.ParseValue("5"), 5);
    EXPECT_EQ(probe.NumericValue("5"), 0);
    TProbeStat numeric(f.List, ProbeInfo);
    EXPECT_EQ(numeric.NumericValue("5"), 5);
    EXPECT_EQ(numeric.NumericValue("пять"), 0);
}

class BaseOperationsTest : public ::testing::Test {
protected:
    void SetUp() override {
        F.Draws.push_back(DrawOf(10, {5, 1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12}));
        F.Draws.push_back(DrawOf(11, {24, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23}));
        F.Draws.push_back(DrawOf(15, {5, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 1}));
        F.Draws.push_back(DrawOf(16, {7, 1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 12}));
    }
    TStatFixture F;
};

TEST_F(BaseOperationsTest, GetDrawCopiesSortsOnRequestAndGivesZerosOutside) {
    TProbeStat probe(F.List, ProbeInfo);
    TDrawRecord d;
    probe.GetDraw(1, false, d);
    EXPECT_EQ(d.Number, 11);
    EXPECT_EQ(d.Numbers[0], 24);
    probe.GetDraw(1, true, d);
    EXPECT_EQ(CombToText(d.Combination()), "13;14;15;16;17;18;19;20;21;22;23;24");
    EXPECT_EQ(F.Draws[1].Numbers[0], 24) << "the archive keeps its order";

    for (int idx : {-1, 4, 1000}) {
        probe.GetDraw(idx, true, d);
        EXPECT_EQ(d.Number, 0) << idx;
        EXPECT_EQ(CombToText(d.Combination()), "0;0;0;0;0;0;0;0;0;0;0;0") << idx;
    }
    TStatFixture empty;
    TProbeStat none(empty.List, ProbeInfo);
    none.GetDraw(0, false, d);
    EXPECT_EQ(d.Number, 0);
}

TEST_F(BaseOperationsTest, LoadDrawsReadsTheReferenceDrawOnlyForDMethods) {
    TProbeStat plain(F.List, ProbeInfo);
    TProbeStat ref(F.List, ProbeInfoD);
    plain.LoadDraws(-1, 3, true);
    ref.LoadDraws(-1, 3, true);
    EXPECT_EQ(plain.Cur().Number, 0);
    EXPECT_EQ(ref.Cur().Number, 0);
    EXPECT_EQ(plain.Ref().Number, 0);
    EXPECT_EQ(ref.Ref().Number, 16);
    EXPECT_EQ(ref.Ref().Numbers[0], 1) << "sorted";
    // A window shifted back: the reference is the newest draw of that window.
    ref.LoadDraws(0, 2, false);
    EXPECT_EQ(ref.Cur().Number, 10);
    EXPECT_EQ(ref.Ref().Number, 15);
    EXPECT_EQ(ref.Ref().Numbers[0], 5);
}

TEST_F(BaseOperationsTest, AddDrawAndAddCombinationPrepareTheEntry) {
    TProbeStat probe(F.List, ProbeInfo);
    TStatDrawArray stat;
    TRunState runState;
    TLastValueArray lastValues;
    probe.AddDraw(1, 3, false, stat, runState, lastValues);
    EXPECT_EQ(probe.BaseEntry.Draw, 11);
    EXPECT_EQ(probe.BaseEntry.PrevDraw, 11);
    EXPECT_EQ(probe.BaseEntry.Depth, 3);
    EXPECT_EQ(probe.BaseEntry.Count, 1);
    EXPECT_EQ(probe.BaseEntry.Key1, 0) << "the previous key is cleared";

    probe.AddCombination({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, stat);
    EXPECT_EQ(probe.BaseEntry.Key1, 0);
    EXPECT_EQ(probe.BaseEntry.Draw, 0);
    EXPECT_EQ(probe.BaseEntry.Depth, 0);
    EXPECT_EQ(probe.BaseEntry.Count, 1);

    TStatDrawArray seeded;
    probe.SeedValues(3, seeded);
    EXPECT_TRUE(seeded.empty());
}

TEST_F(BaseOperationsTest, WindowMergesWithGapsInDrawNumbers) {
    TProbeStat probe(F.List, ProbeInfo);
    // The first number is 5 in draws 10 and 15, 24 in draw 11 and 7 in draw 16.
    const TStatDrawArray stat = EvaluateWindow(probe, 0, 3, false);
    ASSERT_EQ(stat.size(), 3u);
    const TStatEntry five = ValueOf(stat, 5);
    EXPECT_EQ(five.Count, 2);
    EXPECT_EQ(five.Draw, 15);
    EXPECT_EQ(five.Depth, 2);
    EXPECT_EQ(five.PrevDraw, 15);
    EXPECT_EQ(five.PeriodMin, 5) << "draw numbers 10 and 15, not indices 0 and 2";
    EXPECT_EQ(five.PeriodMax, 5);
    EXPECT_EQ(ValueOf(stat, 7).Depth, 1);
    EXPECT_EQ(ValueOf(stat, 24).Depth, 3);
    // One RunState for the whole window.
    ASSERT_EQ(probe.Calls.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(probe.Calls[i].DrawIdx, i);
        EXPECT_EQ(probe.Calls[i].LastIdx, 3);
        EXPECT_EQ(probe.Calls[i].RunState, i);
        EXPECT_EQ(probe.Calls[i].LastValuesSize, static_cast<std::size_t>(i));
    }
}

TEST_F(BaseOperationsTest, FindNextOccurrenceSearchesForwardWithOneRunState) {
    TProbeStat probe(F.List, ProbeInfo);
    const TStatEntry five = KeyOf(5);
    EXPECT_EQ(probe.FindNextOccurrence(five, 0, 1, false), 10);
    EXPECT_EQ(probe.FindNextOccurrence(five, 1, 1, false), 15);
    probe.Calls.clear();
    EXPECT_EQ(probe.FindNextOccurrence(KeyOf(7), 1, 1, false), 16);
    // From the start draw to the newest draw, the caller's window end unchanged,
    // a fresh value list per draw and the RunState carried along.
    ASSERT_EQ(probe.Calls.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(probe.Calls[i].DrawIdx, i + 1);
        EXPECT_EQ(probe.Calls[i].LastIdx, 1);
        EXPECT_EQ(probe.Calls[i].RunState, i);
        EXPECT_EQ(probe.Calls[i].StatSize, 0u);
        EXPECT_EQ(probe.Calls[i].LastValuesSize, 0u);
    }

    probe.Calls.clear();
    EXPECT_EQ(probe.FindNextOccurrence(five, 4, 3, false), -1);
    EXPECT_EQ(probe.FindNextOccurrence(five, 400, 3, false), -1);
    EXPECT_TRUE(probe.Calls.empty()) << "nothing to search beyond the newest draw";
    EXPECT_EQ(probe.FindNextOccurrence(KeyOf(6), 0, 3, false), -1);
    EXPECT_EQ(probe.Calls.size(), 4u);
    // A start before the oldest draw searches from the oldest.
    EXPECT_EQ(probe.FindNextOccurrence(five, -3, 3, false), 10);
}

} // namespace
} // namespace kumby::testing
