// The document's number formats against the C library's printf.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <utility>

#include "document/number_format.h"

namespace {

std::string with_printf(const char* format, double value)
{
    char text[512];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string fixed(double value)
{
    char text[longest_fixed];
    return std::string(text, put_fixed(text, value));
}

std::string half(std::int64_t twice)
{
    char text[64];
    return std::string(text, put_half(text, twice));
}

std::string integer(std::int64_t value)
{
    char text[32];
    return std::string(text, put_integer(text, value));
}

TEST(FixedFormat, AgreesWithPrintfOnQuotientsAndRandomValues)
{
    for (int width = 1; width <= 200000; ++width) {
        const double unit = static_cast<double>(150.0L / width);
        ASSERT_EQ(fixed(unit), with_printf("%f", unit)) << "width " << width;
    }
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> magnitude(-12, 12);
    for (int i = 0; i < 200000; ++i) {
        const double value = std::pow(10.0, magnitude(random)) * (i % 2 == 0 ? 1 : -1);
        ASSERT_EQ(fixed(value), with_printf("%f", value)) << value;
    }
}

TEST(FixedFormat, HalfwayValuesRoundAsPrintfDoes)
{
    // k / 2^7 has seven decimals ending in 5: a true tie at six decimals.
    for (int k = -100000; k <= 100000; ++k) {
        const double value = k / 128.0;
        ASSERT_EQ(fixed(value), with_printf("%f", value)) << value;
    }
    EXPECT_EQ(fixed(0.1953125), "0.195312");
    EXPECT_EQ(fixed(0.0000005), with_printf("%f", 0.0000005));
    EXPECT_EQ(fixed(-0.5), "-0.500000");
    EXPECT_EQ(fixed(0.0), "0.000000");
    EXPECT_EQ(fixed(1e300), with_printf("%f", 1e300));
}

TEST(HalfFormat, AgreesWithPrintfOfTheCentre)
{
    std::mt19937_64 random(11);
    std::uniform_int_distribution<std::int64_t> any(-(std::int64_t{1} << 33),
                                                    std::int64_t{1} << 33);
    for (int i = 0; i < 200000; ++i) {
        const std::int64_t twice = i < 200 ? i - 100 : any(random);
        ASSERT_EQ(half(twice), with_printf("%f", static_cast<double>(twice) * 0.5)) << twice;
    }
    EXPECT_EQ(half(-1), "-0.500000");
    EXPECT_EQ(half(0), "0.000000");
    EXPECT_EQ(half(51), "25.500000");
}

TEST(IntegerFormat, SignedThirtyTwoBitValues)
{
    EXPECT_EQ(integer(0), "0");
    EXPECT_EQ(integer(-1), "-1");
    EXPECT_EQ(integer(2147483647), "2147483647");
    EXPECT_EQ(integer(-2147483648LL), "-2147483648");
}

TEST(TrimmedFormat, DropsTrailingZerosAndNegativeZero)
{
    const struct {
        double value;
        int decimals;
        const char* text;
    } cases[] = {{0.055, 4, "0.055"}, {33.1100, 2, "33.11"}, {250, 0, "250"},  {250, 3, "250"},
                 {-0.00004, 4, "0"},  {-0.4, 0, "0"},        {-2.5, 1, "-2.5"}};
    for (const auto& c : cases) {
        char text[longest_fixed];
        EXPECT_EQ(std::string(text, put_trimmed(text, c.value, c.decimals)), c.text) << c.value;
    }
    for (const auto& [value, digits] : {std::pair{0, 1}, {-9, 1}, {10, 2}, {2147483647, 10}}) {
        EXPECT_EQ(digit_count(value), digits) << value;
    }
}

}  // namespace
