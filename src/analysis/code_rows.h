// The rows of a code: the runs of squares, in placement order, whose tops
// lie at one depth side by side. Published codes bracket each row, and so
// does the canonical code.
#pragma once

#include <string>
#include <vector>

#include "analysis/case_check.h"
#include "squares.h"

// Whether `next`, placed right after `last`, goes on with its row.
inline bool continues_row(const square_box& last, const square_box& next)
{
    return next.y == last.y && last.x + last.side == next.x;
}

// For a case written with brackets (`c.brackets`) whose squares were all
// placed as `placed`: the warning that names its first bracket that does
// not hold exactly the squares of one row, or empty when each does. A
// wrong grouping most often means a code copied wrongly.
std::string misgrouped_brackets(const square_case& c, const std::vector<square_box>& placed);
