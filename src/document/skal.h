// The scale of a square's label.
#pragma once

#include <cstdint>
#include <limits>

// The label scale is formed at the precision of the x87 extended format,
// and documents are compared byte for byte, so a platform whose long double
// is narrower (or wider) would print other digits in rare near-ties.
static_assert(std::numeric_limits<long double>::digits == 64,
              "squares2tex needs a long double with a 64-bit significand (x86 extended "
              "precision) to print label scales and picture units exactly");

// The picture unit in millimetres: 150 / width, at extended precision,
// rounded once to double.
double picture_unit(std::int32_t width);

// Half the scale at which the side's digits would fill the square: one
// digit counts 10 high and 5 wide at scale 1, in the square's extent in
// millimetres times 2.8353, and the tighter direction decides.
double skal(std::int32_t side, std::int32_t width);
