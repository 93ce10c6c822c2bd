#include "catalogue/case_filter.h"

#include <algorithm>

bool within(const square_case& c, const std::vector<size_bound>& bounds)
{
    for (const size_bound& b : bounds) {
        const std::int64_t measures[] = {c.count, c.width, c.height, std::max(c.width, c.height),
                                         std::min(c.width, c.height)};
        const std::int64_t v = measures[b.of];
        const bool holds[] = {v < b.value, v <= b.value, v == b.value, v >= b.value, v > b.value};
        if (!holds[b.is]) return false;
    }
    return true;
}
