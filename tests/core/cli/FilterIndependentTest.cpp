// Lists written by "filter" against lists built here from a plain enumeration and
// a direct test of each combination.

#include "CliRun.h"

#include "draws/DemoArchive.h"
#include "draws/DrawArchive.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

namespace kumby {
namespace {

using testing::ReadBytes;
using testing::TTempDir;

using TPredicate = std::function<bool(const int* numbers)>;

// Lexicographic walk, written out as nested choices.
void Walk(int* numbers, int position, int from, const TPredicate& keep, std::string& out) {
    if (position == 12) {
        if (keep(numbers)) {
            for (int i = 0; i < 12; ++i)
                out += std::to_string(numbers[i]) + (i < 11 ? ";" : "\r\n");
        }
        return;
    }
    for (int n = from; n <= 24 - (11 - position); ++n) {
        numbers[position] = n;
        Walk(numbers, position + 1, n + 1, keep, out);
    }
}

std::string Expected(const TPredicate& keep) {
    std::string out;
    int numbers[12];
    Walk(numbers, 0, 1, keep, out);
    return out;
}

bool Has(const int* c, int n) {
    return std::find(c, c + 12, n) != c + 12;
}

TEST(FilterIndependent, SampleOfMethodsAndValues) {
    TTempDir dir;
    SaveDrawArchive(dir / DrawsFileName, MakeDemoArchive(500, 5, 46000));
    struct TCase {
        std::vector<std::string> Args;
        TPredicate Keep;
    };
    const TCase cases[] = {
        {{"NUMS", "--keep", "5", "17"}, [](const int* c) { return Has(c, 5) || Has(c, 17); }},
        {{"NUMS", "--remove", "24"}, [](const int* c) { return !Has(c, 24); }},
        {{"EVEN", "--keep", "5:7", "7:5"},
         [](const int* c) {
             const auto even = std::count_if(c, c + 12, [](int n) { return n % 2 == 0; });
             return even == 5 || even == 7;
         }},
        {{"POS3", "--remove", "3", "4", "5"}, [](const int* c) { return c[2] > 5; }},
        {{"EVNV", "--keep", "ЧнЧнЧнЧнЧнЧн (1365)"},
         [](const int* c) {
             for (int i = 0; i < 12; ++i)
                 if ((c[i] % 2 == 1) != (i % 2 == 1))
                     return false;
             return true;
         }},
        {{"DIGS", "--remove", "0"}, [](const int* c) { return !Has(c, 10) && !Has(c, 20); }},
    };
    for (const TCase& c : cases) {
        std::vector<std::string> args = {"filter"};
        args.insert(args.end(), c.Args.begin(), c.Args.end());
        args.insert(args.end(), {"--out", (dir / "out.lcv").string()});
        const testing::TRun r = testing::RunCliIn(dir.Path(), args);
        ASSERT_EQ(r.Code, 0) << r.Err;
        const std::string expected = Expected(c.Keep);
        EXPECT_EQ(r.Out, std::to_string(std::count(expected.begin(), expected.end(), '\n')) + "\n")
            << c.Args[0];
        EXPECT_TRUE(ReadBytes(dir / "out.lcv") == expected) << c.Args[0] << " " << c.Args[2];
    }
}

} // namespace
} // namespace kumby
