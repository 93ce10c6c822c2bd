// Whether a dissection is simple: no two or more of its squares, short of
// all of them, form a rectangle.
#pragma once

#include <cstdint>
#include <vector>

#include "analysis/check_workspace.h"

// Whether some two or more of the squares, short of all, form a rectangle;
// the squares must tile the width x height rectangle. The second form is
// the first's answer, found much faster when the squares' edges lie on at
// most 64 lines one way or the other (always so up to 63 squares) and the
// rectangle is less than 4096 units wide and high or has at most 4096
// squares.
bool has_inner_rectangle(const std::vector<square_box>& squares, std::int64_t width,
                         std::int64_t height);
bool has_inner_rectangle(const std::vector<square_box>& squares, std::int64_t width,
                         std::int64_t height, check_workspace& work);
