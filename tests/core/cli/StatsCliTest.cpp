#include "CliApp.h"
#include "CliRun.h"

#include "support/TempDir.h"
#include "support/TestArchive.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace kumby {
namespace {

using testing::OutputLines;
using testing::PatternArchive;
using testing::ReadBytes;
using testing::RunCliIn;
using testing::TRun;
using testing::TTempDir;
using testing::WriteArchive;
using testing::WriteBytes;

class StatsCliTest : public ::testing::Test {
protected:
    TRun Run(std::vector<std::string> args) { return RunCliIn(Dir.Path(), std::move(args)); }
    static std::vector<std::string> Lines(const std::string& text) { return OutputLines(text); }
    static std::vector<std::string> Cells(const std::string& line) {
        std::vector<std::string> cells;
        std::istringstream s(line);
        for (std::string c; std::getline(s, c, '\t');)
            cells.push_back(c);
        if (!line.empty() && line.back() == '\t')
            cells.emplace_back();
        return cells;
    }

    TTempDir Dir;
};

TEST_F(StatsCliTest, MethodsListsTheRegistryWithGroupsAndFlags) {
    TRun r = Run({"methods", "--all"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    const auto lines = Lines(r.Out);
    ASSERT_EQ(lines.size(), 271u);
    EXPECT_EQ(lines[0], "№\tКод\tГруппа\tФлаги\tНазвание");
    EXPECT_EQ(lines[3],
              "2\tEVEN\t{ num } Числа тиража\tNG\t{ num } Количество четных чисел в тираже (Ч:Н) [ NG ]");
    const char* codes[] = {
        "NUMS",  "DIGS",  "EVEN",   "EVNV",   "SMAL",   "SMLV",   "PRIM",  "PRMV",  "SUMS",  "SUM1",  "SUM2",
        "SUM3",  "SUMC",  "SUMV",   "SUMT",   "SUME",   "SUMP",   "S2T3",  "DIFA",  "DIFM",  "DIFD",  "DIFO",
        "DIFK",  "CHAN",  "CHNV",   "CHNC",   "COLS",   "ROWS",   "COLV",  "ROWV",  "COLN",  "ROWN",  "COLM",
        "ROWM",  "COLA",  "ROWA",   "COLC",   "ROWC",   "SGMS",   "SGMV",  "SGMC",  "SEQL",  "SEQS",  "LENS",
        "RPV2",  "RPV3",  "PRL2",   "PRV2O1", "PRV2O2", "PRV2O3", "PRV+1", "PRV-1", "PRV+2", "PRV-2", "RPC2",
        "RPC3",  "PRB2",  "RPO1",   "PRC2O2", "PRC2O3", "PRC+1",  "PRC-1", "PRC+2", "PRC-2", "KNM2",  "KNM3",
        "KNM4",  "KNS2",  "KNS3",   "KNS4",   "KNP21",  "KNP22",  "KNP23", "KNP24", "KNP25", "KNP26", "KNP27",
        "KNP28", "KNP29", "KNP210", "KNP211", "KNP31",  "KNP32",  "KNP33", "KNP34", "KNP35", "KNP36", "KNP37",
        "KNP38", "KNP39", "KNP310", "KNP41",  "KNP42",  "KNP43",  "KNP44", "KNP45", "KNP46", "KNP47", "KNP48",
        "KNP49", "KDS2",  "KDS3",   "KDS4",   "KCM2",   "KCM3",   "KCM4",  "KCS2",  "KCS3",  "KCS4",  "KFM2",
        "KFM3",  "KFM4",  "KFS2",   "KFS3",   "KFS4",   "KRM2",   "KRM3",  "KRM4",  "KRS2",  "KRS3",  "KRS4",
        "KGM2",  "KGM3",  "KGM4",   "KGS2",   "KGS3",   "KGS4",   "POS1",  "POS2",  "POS3",  "POS4",  "POS5",
        "POS6",  "POS7",  "POS8",   "POS9",   "POS10",  "POS11",  "POS12", "CHN1",  "CHN2",  "CHN3",  "CHN4",
        "CHN5",  "CHN6",  "COL1",   "COL2",   "COL3",   "COL4",   "ROW1",  "ROW2",  "ROW3",  "ROW4",  "ROW5",
        "ROW6",  "SGM1",  "GRPV",   "GRPP",   "GRCV",   "GRCP",   "GRSV",  "GRSP",  "PRDV",  "PRDC",  "PRDG",
        "SDV2",  "SDP2",  "SDN1",   "SDN2",   "SDN3",   "SDN4",   "SDN5",  "SDN6",  "SDN7",  "SDN8",  "SDN9",
        "SDN10", "SDN11", "SDN12",  "SDP3",   "SDM1",   "SDM2",   "SDM3",  "SDM4",  "SDM5",  "SDM6",  "SDM7",
        "SDM8",  "SDM9",  "SDM10",  "SDM11",  "SDM12",  "SCV2",   "SCP2",  "SCN1",  "SCN2",  "SCN3",  "SCN4",
        "SCN5",  "SCN6",  "SCN7",   "SCN8",   "SCN9",   "SCN10",  "SCN11", "SCN12", "SCP3",  "SCM1",  "SCM2",
        "SCM3",  "SCM4",  "SCM5",   "SCM6",   "SCM7",   "SCM8",   "SCM9",  "SCM10", "SCM11", "SCM12", "SC2C1",
        "SC2C2", "SC2C3", "SC2C4",  "SC2C5",  "SC2C6",  "SC3C1",  "SC3C2", "SC3C3", "SC3C4", "SC3C5", "SC3C6",
        "SDA2",  "SDG2",  "SDZ2",   "SDC2",   "SSV2",   "SSP2",   "SSN1",  "SSN2",  "SSN3",  "SSN4",  "SSN5",
        "SSN6",  "SSN7",  "SSN8",   "SSN9",   "SSN10",  "SSN11",  "SSN12", "SSP3",  "SSM1",  "SSM2",  "SSM3",
        "SSM4",  "SSM5",  "SSM6",   "SSM7",   "SSM8",   "SSM9",   "SSM10", "SSM11", "SSM12", "SS2C1", "SS3C1",
        "HCV1",  "HCV2",  "HCV3",   "SHR1",   "SHR2",   "SHR3"};
    for (std::size_t i = 0; i < std::size(codes); ++i) {
        const auto cells = Cells(lines[i + 1]);
        ASSERT_EQ(cells.size(), 5u) << lines[i + 1];
        EXPECT_EQ(cells[0], std::to_string(i));
        EXPECT_EQ(cells[1], codes[i]);
    }
    EXPECT_EQ(Cells(lines[1])[3], "N");
    EXPECT_EQ(Cells(lines[4])[3], "SN");
    EXPECT_EQ(Cells(lines[11])[3], "NG");
    EXPECT_EQ(Cells(lines[13])[3], "DG");
    EXPECT_EQ(Cells(lines[14])[3], "D");
    EXPECT_EQ(Cells(lines[11])[4], "{ sum } Сумма тиража: диапазон 2 (1/2) [ NG ]");
    EXPECT_EQ(Cells(lines[20])[3], "SNG");
    EXPECT_EQ(Cells(lines[21])[3], "NG");
    EXPECT_EQ(Cells(lines[22])[4], "{ dif } Одинаковые разности между соседними позициями [ SN ]");
    EXPECT_EQ(Cells(lines[42])[4], "{ seq } Длина последовательности в тираже [ SN ]");
    EXPECT_EQ(Cells(lines[44])[4], "{ seq } Макс. длина последовательности в тираже [ SNG ]");
    EXPECT_EQ(Cells(lines[51])[4], "{ rep } Данные предыдущего тиража + 1 [ D ]");
    EXPECT_EQ(Cells(lines[61])[4], "{ rep } Количество совпадений \"значений + 1\" [ D ]");
    EXPECT_EQ(Cells(lines[101])[4], "{ dif } Сочетания из 2 разностей между числами [ S ]");
    EXPECT_EQ(Cells(lines[130])[3], "SNG");
    EXPECT_EQ(Cells(lines[267])[4], "{ vrn } Числа Варнека 3 (динамический, только фильтр) [ SD ]");
    EXPECT_EQ(Cells(lines[65])[4], "{ num } Сочетания из 2 чисел по всем числам тиража [ S ]");
    EXPECT_EQ(Cells(lines[70])[4], "{ num } Сочетания из 4 соседних чисел тиража [ S ]");
    EXPECT_EQ(Cells(lines[81])[4], "{ num } Сочетания из 2-х чисел тиража начиная с 11 позиции [ S ]");
    EXPECT_EQ(Cells(lines[100])[4], "{ num } Сочетания из 4-х чисел тиража начиная с 9 позиции [ S ]");
    EXPECT_EQ(Cells(lines[24])[2], "{ grp } Каналы (группы чисел)");
    EXPECT_EQ(Cells(lines[24])[4], "{ grp } Каналы [ N ]");
    EXPECT_EQ(Cells(lines[104])[4], "{ grp } Сочетания из 2 каналов по всем числам тиража [ S ]");
    EXPECT_EQ(Cells(lines[141])[4], "{ grp } Количество чисел в 2 канале [ NG ]");
    EXPECT_EQ(Cells(lines[27])[2], "{ mtx } Матрица тиража");
    EXPECT_EQ(Cells(lines[36])[4], "{ mtx } Строки матрицы со смежными числами [ N ]");
    EXPECT_EQ(Cells(lines[121])[4], "{ mtx } Сочетания из 4 строк по соседним числам [ S ]");
    EXPECT_EQ(Cells(lines[155])[4], "{ mtx } Количество чисел в 6 строке матрицы [ NG ]");
    EXPECT_EQ(Cells(lines[41])[4], "{ sgm } Количество не пустых сегментов в матрице [ NG ]");
    EXPECT_EQ(Cells(lines[123])[2], "{ sgm } Сегменты матрицы тиража");
    EXPECT_EQ(Cells(lines[156])[4], "{ sgm } Количество чисел в 1 сегменте матрицы [ NG ]");
    EXPECT_EQ(Cells(lines[157])[2], "{ ser } Серии (цепочки) значений");
    EXPECT_EQ(Cells(lines[157])[4], "{ ser } Повторы чисел в нескольких тиражах подряд [ D ]");
    EXPECT_EQ(Cells(lines[162])[4], "{ ser } Интервалы между повторениями сегментов [ D ]");
    EXPECT_EQ(Cells(lines[163])[2], "{ per } Периоды повторения значений");
    EXPECT_EQ(Cells(lines[163])[3], "P");
    EXPECT_EQ(Cells(lines[165])[4], "{ per } Периоды повторения сегментов [ P ]");
    EXPECT_EQ(Cells(lines[166])[2], "{ mov } Переходы (изменения) значений между тиражами");
    EXPECT_EQ(Cells(lines[166])[4], "{ mov } Переходы чисел между 2 тиражами без учета позиции [ D ]");
    EXPECT_EQ(Cells(lines[172])[4], "{ mov } Переходы чисел между 2 тиражами в 5 позиции [ SD ]");
    EXPECT_EQ(Cells(lines[220])[4], "{ mov } Переходы кол-ва чисел в 1 канале между 2 тиражами [ D ]");
    EXPECT_EQ(Cells(lines[235])[4], "{ mov } Переходы чисел в пределах каналов (количество) [ D ]");

    // Favourites narrow the list; --all still shows everything.
    WriteBytes(Dir / "Kumby_12x24.flt", "[FILTERS]\r\nFavorites=EVEN,POS3\r\n");
    r = Run({"methods"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    const auto shown = Lines(r.Out);
    ASSERT_EQ(shown.size(), 3u) << r.Out;
    EXPECT_EQ(Cells(shown[1])[0], "2");
    EXPECT_EQ(Cells(shown[2])[1], "POS3");
    EXPECT_EQ(Lines(Run({"methods", "--all"}).Out).size(), lines.size());

    EXPECT_EQ(Run({"methods", "extra"}).Code, 1);
}

TEST_F(StatsCliTest, StatsPrintsTheTableInDisplayOrder) {
    WriteArchive(Dir.Path(), PatternArchive());

    TRun r = Run({"stats", "NUMS", "--depth", "10"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    auto lines = Lines(r.Out);
    ASSERT_EQ(lines.size(), 25u);
    EXPECT_EQ(lines[0],
              "Значение\tКоличество\tКол-во в %\tНорма\tОтклонение\tОткл-ие в %\tГлубина\tГлубина в "
              "%\tВес\tПосл. тираж\tПериод min\tПериод\tПериод max\tОжд. ПРД\tОжд. СТФ\tОжд. "
              "КРН\tФакт\t+/- ПРД\t+/- СТФ\t+/- КРН");
    // Count ascending: 24 (never), 23 (once), then the fives.
    EXPECT_EQ(lines[1], "24\t0\t0.00000\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-");
    EXPECT_EQ(Cells(lines[2])[0], "23");
    EXPECT_EQ(Cells(lines[3])[0], "1");
    EXPECT_EQ(Cells(lines[24])[1], "6");

    // Computation order, and a descending sort with the captions as tie-break.
    lines = Lines(Run({"stats", "nums", "--depth", "10", "--sort", "-1"}).Out);
    ASSERT_EQ(lines.size(), 25u);
    for (int n = 1; n <= 24; ++n)
        EXPECT_EQ(Cells(lines[n])[0], std::to_string(n));
    lines = Lines(Run({"stats", "NUMS", "--depth", "10", "--sort", "1:desc"}).Out);
    EXPECT_EQ(Cells(lines[1])[0], "22");
    EXPECT_EQ(Cells(lines[2])[0], "21");
    EXPECT_EQ(Cells(lines[24])[0], "24");

    // At an offset the newer draws give the facts.
    lines = Lines(Run({"--offset", "5", "stats", "NUMS", "--depth", "10", "--sort", "-1"}).Out);
    const auto one = Cells(lines[1]);
    ASSERT_EQ(one.size(), 20u);
    EXPECT_EQ(one[9], "994");
    EXPECT_EQ(one[16], "996");
    EXPECT_EQ(one[17], "0");

    // The default length is the view setting.
    lines = Lines(Run({"stats", "NUMS", "--sort", "-1"}).Out);
    EXPECT_EQ(Cells(lines[1])[1], "8") << "all 15 draws";
}

TEST_F(StatsCliTest, StatsErrors) {
    WriteArchive(Dir.Path(), PatternArchive());
    TRun r = Run({"stats", "XYZ1"});
    EXPECT_EQ(r.Code, 1);
    EXPECT_NE(r.Err.find("\"XYZ1\""), std::string::npos) << r.Err;
    EXPECT_TRUE(r.Out.empty());

    r = Run({"stats", "NUMS", "--sort", "20"});
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(r.Err, "Некорректное занчение номера столбца сортировки (20)\n");

    for (const std::vector<std::string>& bad : {std::vector<std::string>{"stats"},
                                                {"stats", "NUMS", "--depth", "0"},
                                                {"stats", "NUMS", "--sort", "x"},
                                                {"stats", "NUMS", "--sort", "1:up"},
                                                {"stats", "NUMS", "--prefetch", "--no-prefetch"},
                                                {"stats", "NUMS", "EVEN"}}) {
        r = Run(bad);
        EXPECT_EQ(r.Code, 1) << bad.back();
        EXPECT_FALSE(r.Err.empty()) << bad.back();
    }
}

TEST_F(StatsCliTest, EmptyArchiveGivesTheHeaderOnly) {
    const TRun r = Run({"stats", "EVEN"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(Lines(r.Out).size(), 1u);
}

// The NUMS distribution file: every number in 1,352,078 combinations.
std::string FlatNumsFile() {
    std::string bytes;
    auto put32 = [&](int32_t v) { bytes.append(reinterpret_cast<const char*>(&v), 4); };
    for (uint16_t k = 1; k <= 24; ++k) {
        bytes.append(reinterpret_cast<const char*>(&k), 2);
        bytes.append(6, '\0');
        put32(1352078);
    }
    put32(1352078);
    put32(1352078);
    put32(0);
    return bytes;
}

TEST_F(StatsCliTest, PrefetchSwitchChangesOnlyThisRun) {
    WriteArchive(Dir.Path(), PatternArchive());
    const std::string view = "[TFormMain]\r\nPrefetchsEnabled=0\r\nPrefetchsInit=1\r\nDrawsStatLen=10\r\n";
    WriteBytes(Dir / "Kumby_12x24.frm", view);
    std::filesystem::create_directories(Dir / "Prefetchs");
    WriteBytes(Dir / "Prefetchs" / "Kumby_12x24_NUMS.dfc", FlatNumsFile());

    TRun r = Run({"stats", "NUMS", "--sort", "-1"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    auto lines = Lines(r.Out);
    ASSERT_EQ(lines.size(), 25u) << "DrawsStatLen 10 applies";
    EXPECT_EQ(Cells(lines[1])[1], "5");
    EXPECT_EQ(Cells(lines[1])[3], "-") << "no comparison while the setting is off";

    // Counts 0..6 over a flat distribution: every norm is (6 + 0) / 2.
    r = Run({"stats", "NUMS", "--prefetch", "--sort", "-1"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    lines = Lines(r.Out);
    ASSERT_EQ(lines.size(), 25u);
    for (std::size_t i = 1; i < lines.size(); ++i)
        EXPECT_EQ(Cells(lines[i])[3], "3") << lines[i];
    EXPECT_EQ(Cells(lines[1])[4], "2");
    EXPECT_EQ(Cells(lines[1])[5], "66.66667");
    EXPECT_EQ(ReadBytes(Dir / "Kumby_12x24.frm"), view) << "the view file is left alone";
}

} // namespace
} // namespace kumby
