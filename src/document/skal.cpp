#include "document/skal.h"

#include "document/number_format.h"

double picture_unit(std::int32_t width)
{
    return static_cast<double>(150.0L / width);
}

double skal(std::int32_t side, std::int32_t width)
{
    // Each product and quotient is formed in long double and rounded to
    // double only where it is named: rounding after every operation would
    // change the printed scale (width 36, side 23 gives 13.585812, not
    // 13.585813).
    const auto extent =
        static_cast<double>(((150.0L / width) * side) * static_cast<long double>(2.8353));
    const auto by_height = static_cast<double>(static_cast<long double>(extent) / 10);
    const auto by_width =
        static_cast<double>(static_cast<long double>(extent) / (digit_count(side) * 5));
    // An unordered comparison (not reachable with a width of 1 or more)
    // takes the width's value, as the comparison is written.
    return by_width >= by_height ? by_height * 0.5 : by_width * 0.5;
}
