// The picture unit and the label scale, printed as the document prints them.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "document/number_format.h"
#include "document/skal.h"

namespace {

std::string printed(double value)
{
    char text[longest_fixed];
    return std::string(text, put_fixed(text, value));
}

TEST(PictureUnit, PrintsSixDecimals)
{
    EXPECT_EQ(printed(picture_unit(3)), "50.000000");
    EXPECT_EQ(printed(picture_unit(7)), "21.428571");
    EXPECT_EQ(printed(picture_unit(33)), "4.545455");
    EXPECT_EQ(printed(picture_unit(1)), "150.000000");
    EXPECT_EQ(printed(picture_unit(2147483647)), "0.000000");
}

TEST(PictureUnit, ExactHalfRoundsToEven)
{
    // 150 / 768 is exactly 0.1953125.
    EXPECT_EQ(printed(picture_unit(768)), "0.195312");
    EXPECT_EQ(printed(picture_unit(384)), "0.390625");
}

TEST(Skal, LabelsByNumberOfDigits)
{
    EXPECT_EQ(printed(skal(1, 4)), "5.316187");
    EXPECT_EQ(printed(skal(1, 3)), "7.088250");
    EXPECT_EQ(printed(skal(2, 3)), "14.176500");
    EXPECT_EQ(printed(skal(18, 33)), "11.598955");
    EXPECT_EQ(printed(skal(100, 10)), "141.765000");
    EXPECT_EQ(printed(skal(0, 10)), "0.000000");
}

TEST(Skal, NegativeSideTakesTheOtherDirection)
{
    EXPECT_EQ(printed(skal(-5, 10)), "-21.264750");
}

// The near-ties where rounding to double after every operation would print
// the last digit one off.
TEST(Skal, ExtendedPrecisionNearTies)
{
    EXPECT_EQ(printed(skal(23, 36)), "13.585812");
    EXPECT_EQ(printed(skal(3, 52)), "1.226813");

    const auto in_doubles = [](int side, int width) {
        const double extent = ((150.0 / width) * side) * 2.8353;
        return extent / 10 * 0.5;
    };
    // The cases above discriminate: the all-double computation differs.
    EXPECT_EQ(printed(in_doubles(23, 36)), "13.585813");
    EXPECT_EQ(printed(in_doubles(3, 52)), "1.226812");
}

TEST(Skal, ExtremeValuesStayFinite)
{
    const double largest = skal(2147483647, 1);
    // Ten digits: the width direction decides, extent / 100.
    EXPECT_GT(largest, 9.0e9);
    EXPECT_LT(largest, 1.0e10);
    EXPECT_LT(skal(-2147483647 - 1, 1), -4.0e10);
}

}  // namespace
