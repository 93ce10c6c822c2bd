// The canonical code of a dissection: one text for all its rotations,
// reflections and multiples, so that the same dissection written in two
// ways gives two equal lines.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/case_check.h"
#include "placement/skyline.h"
#include "squares.h"

// What the canonical code needs from case to case; reused, it stops
// allocating once it has grown to the largest case.
struct canonical_scratch {
    skyline sky;
    std::vector<square_box> squares;  // as placed
    std::vector<square_box> turned;   // one orientation, in code order
    std::vector<square_box> best;     // the greatest so far
    std::vector<square_box> rows[8];  // each orientation's squares along its top edge
};

// Places the case's squares into `scratch.squares`; false, with `problem`
// saying why, when they do not dissect the rectangle.
bool place_dissection(const square_case& c, canonical_scratch& scratch, std::string& problem);

// Appends the line of the canonical code of `squares`, a dissection of the
// width x height rectangle (x and y of each square's top-left corner, y
// measured down from the top edge): "order width height" and the sides of
// the orientation (width >= height) whose sides, ordered by the depth of
// their tops and then from left to right, are greatest, in lowest terms,
// grouped in brackets by level; then " * caption" if there is one.
void append_canonical(const std::vector<square_box>& squares, std::int64_t width,
                      std::int64_t height, const std::string& caption, canonical_scratch& scratch,
                      std::string& out);

// Both: true with the line appended to `out`, or false with `problem` set.
bool append_canonical_line(const square_case& c, canonical_scratch& scratch, std::string& out,
                           std::string& problem);
