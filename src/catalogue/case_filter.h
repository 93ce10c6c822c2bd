// What --only asks of a case's numbers, beside its kinds.
#pragma once

#include <cstdint>
#include <vector>

#include "squares.h"

// A bound --only puts on a case's numbers, as 'width<=200'.
struct size_bound {
    enum measure { order, width, height, longer, shorter } of = width;
    enum relation { below, at_most, equal, at_least, above } is = at_most;
    std::int64_t value = 0;
};

// Whether the case is within every bound.
bool within(const square_case& c, const std::vector<size_bound>& bounds);
