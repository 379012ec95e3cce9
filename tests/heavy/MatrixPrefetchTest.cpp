// The matrix family's full-set files against a count made here from scratch: every
// 12-of-24 set as a bit mask; columns and rows by division, touching numbers as the
// pairs n, n + C (one column) and n, n + 1 within a row. The files of four columns
// come from the builder of missing files; those of five and of three columns from
// the settings change, which builds the matrix files again.

#include "app/Session.h"
#include "support/PrefetchImage.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <bit>
#include <map>
#include <string>

namespace kumby {
namespace {

using testing::ReadBytes;
using testing::TTestSession;

using TKey = std::array<uint16_t, 4>;
using TCounts = std::map<std::string, testing::TKeyCounts>; // code -> key -> count

TKey K(int a, int b = 0) {
    return {static_cast<uint16_t>(a), static_cast<uint16_t>(b), 0, 0};
}

TCounts CountIndependently(int cols) {
    const int rows = (24 + cols - 1) / cols;
    TCounts counts;
    testing::ForEachSetOfTwelve([&](uint32_t mask) {
        int inCol[25] = {}, inRow[25] = {}, colPairs[25] = {}, rowPairs[25] = {};
        for (int bit = 0; bit < 24; ++bit) {
            if ((mask >> bit & 1) == 0)
                continue;
            const int col = bit % cols + 1, row = bit / cols + 1;
            ++inCol[col];
            ++inRow[row];
            ++counts["COLS"][K(col)];
            ++counts["ROWS"][K(row)];
            if (bit + cols < 24 && (mask >> (bit + cols) & 1) != 0)
                ++colPairs[col];
            if (col < cols && bit + 1 < 24 && (mask >> (bit + 1) & 1) != 0)
                ++rowPairs[row];
        }
        int filledCols = 0, filledRows = 0, touchingCols = 0, touchingRows = 0;
        uint32_t colMask = 0, rowMask = 0;
        for (int c = 1; c <= cols; ++c) {
            filledCols += inCol[c] > 0;
            colMask = colMask << 1 | (inCol[c] > 0);
            ++counts["COLV"][K(c, inCol[c])];
            ++counts["COL" + std::to_string(c)][K(inCol[c])];
            if (colPairs[c] > 0) {
                ++touchingCols;
                ++counts["COLA"][K(c, colPairs[c] + 1)];
            }
        }
        for (int r = 1; r <= rows; ++r) {
            filledRows += inRow[r] > 0;
            rowMask = rowMask << 1 | (inRow[r] > 0);
            ++counts["ROWV"][K(r, inRow[r])];
            ++counts["ROW" + std::to_string(r)][K(inRow[r])];
            if (rowPairs[r] > 0) {
                ++touchingRows;
                ++counts["ROWA"][K(r, rowPairs[r] + 1)];
            }
        }
        ++counts["COLN"][K(filledCols)];
        ++counts["ROWN"][K(filledRows)];
        ++counts["COLM"][K(static_cast<int>(colMask))];
        ++counts["ROWM"][K(static_cast<int>(rowMask))];
        ++counts["COLC"][K(touchingCols)];
        ++counts["ROWC"][K(touchingRows)];
    });
    return counts;
}

void ExpectMatrixFiles(Session& session, int cols) {
    SCOPED_TRACE(std::to_string(cols) + " columns");
    const TCounts counts = CountIndependently(cols);
    int files = 0;
    for (std::size_t i = 0; i < session.Registry().Count(); ++i) {
        const TStatMethod& method = session.Registry().Items(i);
        if (method.StatClass->Group != 4 || !method.StatClass->HasPrefetch())
            continue;
        const std::string code = method.MethodCode();
        ASSERT_TRUE(counts.count(code)) << code;
        EXPECT_TRUE(ReadBytes(session.PrefetchFileName(i)) == testing::PrefetchImage(counts.at(code)))
            << code;
        ++files;
    }
    EXPECT_EQ(files, 12 + cols + (24 + cols - 1) / cols);
}

TEST(MatrixPrefetch, FilesOfFourFiveAndThreeColumnsEqualACountFromScratch) {
    TTestSession t;
    ASSERT_EQ(t.Start(), TStartResult::Ready);
    Session& session = *t.S;
    EXPECT_GE(session.CreatePrefetchFiles(true, {4}), 22)
        << "every missing file, the matrix files among them";
    const TCounts four = CountIndependently(4);
    EXPECT_EQ((four.at("COLS").at(K(1))), 6 * 1352078) << "each number stands in C(23, 11) sets";
    EXPECT_EQ((four.at("COLN").begin()->first[0]), 2) << "12 numbers fill at least 2 columns of 6 rows";
    EXPECT_EQ((four.at("ROWN").begin()->first[0]), 3);
    ExpectMatrixFiles(session, 4);

    session.View().PrefetchsEnabled = true;
    for (const int cols : {5, 3}) {
        TConfigData config = session.Config();
        config.MatrixCols = cols;
        EXPECT_EQ(session.ApplyConfig(config), std::vector<int>{4});
        ExpectMatrixFiles(session, cols);
    }
    EXPECT_TRUE(t.Ui.Errors().empty());
}

} // namespace
} // namespace kumby
