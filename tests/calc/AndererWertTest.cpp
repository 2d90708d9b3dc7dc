#include "calc/AndererWert.h"

#include "support/AndererWertX87.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>

namespace {

constexpr int kWidth = 1;
constexpr int kHeight = 2;

struct Row {
    std::int32_t startWidth;
    std::int32_t startHeight;
    int index;
    std::int32_t newValue;
    std::int32_t expected;
};

void PrintTo(const Row& r, std::ostream* os)
{
    *os << r.startWidth << "x" << r.startHeight << (r.index == 1 ? " width " : " height ") << r.newValue;
}

class AndererWertRows : public ::testing::TestWithParam<Row> {};

TEST_P(AndererWertRows, GivesTheWorkedResult)
{
    const Row& r = GetParam();
    EXPECT_EQ(AndererWert(r.startWidth, r.startHeight, r.index, r.newValue), r.expected);
}

// Several rows differ from the exact quotient or from double precision
// throughout; only the prescribed roundings give all of them.
INSTANTIATE_TEST_SUITE_P(WorkedResults, AndererWertRows,
                         ::testing::Values(Row{1024, 768, kWidth, 800, 600}, Row{1024, 768, kHeight, 600, 800},
                                           Row{1920, 1080, kWidth, 1000, 562}, Row{1920, 1080, kWidth, 800, 449},
                                           Row{1920, 1080, kHeight, 450, 799}, Row{1920, 1080, kHeight, 720, 1280},
                                           Row{1920, 1080, kWidth, 8, 4}, Row{3, 3, kWidth, 5, 4},
                                           Row{9999, 9999, kWidth, 99999, 99998},
                                           Row{1, 9999, kWidth, 99999, 999890001}, Row{1024, 768, kWidth, 1, 0},
                                           Row{1024, 768, kWidth, 0, 0}, Row{1024, 768, kWidth, -5, -3}));

// Any index other than 1 means the height changed.
INSTANTIATE_TEST_SUITE_P(OtherIndexMeansHeight, AndererWertRows,
                         ::testing::Values(Row{1920, 1080, 0, 720, 1280}, Row{1920, 1080, -1, 450, 799},
                                           Row{1024, 768, 7, 600, 800}));

// Outside the fields' ranges: saturate instead of wrapping to the wrong sign,
// and no division by a zero start value.
INSTANTIATE_TEST_SUITE_P(
    BeyondTheFields, AndererWertRows,
    ::testing::Values(
        Row{1, std::numeric_limits<std::int32_t>::max(), kWidth, 99999, std::numeric_limits<std::int32_t>::max()},
        Row{1, std::numeric_limits<std::int32_t>::max(), kWidth, -99999, std::numeric_limits<std::int32_t>::min()},
        Row{1, std::numeric_limits<std::int32_t>::min(), kWidth, std::numeric_limits<std::int32_t>::min(),
            std::numeric_limits<std::int32_t>::max()},
        Row{0, 768, kWidth, 800, 0}, Row{1024, 0, kHeight, 600, 0}, Row{1024, 0, kWidth, 800, 0}));

class AndererWertAgainstX87 : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!reference::X87PathUsable())
            GTEST_SKIP() << "long double is not the x87 80-bit format here";
    }

    // Compares both paths on `count` random inputs; stops reporting after a few mismatches.
    template <class Draw>
    void Compare(int count, Draw draw)
    {
        std::mt19937_64 rng(20240611);
        int mismatches = 0;
        for (int i = 0; i < count && mismatches < 5; ++i) {
            const auto [width, height, index, newValue] = draw(rng);
            const std::int32_t expected = reference::AndererWertX87(width, height, index, newValue);
            const std::int32_t actual = AndererWert(width, height, index, newValue);
            if (actual != expected) {
                ++mismatches;
                ADD_FAILURE() << width << "x" << height << " index " << index << " value " << newValue << ": got "
                              << actual << ", x87 gives " << expected;
            }
        }
    }
};

struct Input {
    std::int32_t width, height;
    int index;
    std::int32_t newValue;
};

TEST_F(AndererWertAgainstX87, AgreesOverTheFieldsRanges)
{
    std::uniform_int_distribution<std::int32_t> start(1, 9999), newValue(-9999, 99999);
    std::uniform_int_distribution<int> side(1, 2);
    Compare(3'000'000, [&](std::mt19937_64& g) { return Input{start(g), start(g), side(g), newValue(g)}; });
}

// The whole 32-bit range, with the changed side's start value of either sign
// but not 0, and the results that overflow 32 bits saturating on both paths.
TEST_F(AndererWertAgainstX87, AgreesOverAll32BitInputs)
{
    std::uniform_int_distribution<std::int32_t> any(std::numeric_limits<std::int32_t>::min(),
                                                    std::numeric_limits<std::int32_t>::max());
    std::uniform_int_distribution<int> bits(0, 31);
    std::uniform_int_distribution<int> side(1, 2);
    // Values of every magnitude, not only huge ones: shift a random word down.
    auto value = [&](std::mt19937_64& g) { return any(g) >> bits(g); };
    Compare(1'000'000, [&](std::mt19937_64& g) {
        std::int32_t changed = value(g);
        if (changed == 0)
            changed = 1;
        const int index = side(g);
        const std::int32_t other = value(g);
        return index == 1 ? Input{changed, other, index, value(g)} : Input{other, changed, index, value(g)};
    });
}

} // namespace
