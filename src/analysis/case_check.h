// What a case is: a dissection of its rectangle into squares, perfect
// (no two sides alike), simple (no two or more of its squares, short of
// all of them, form a rectangle).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "placement/place_squares.h"
#include "analysis/tiling_report.h"

struct case_verdict {
    bool dissection = false;
    bool perfect = false;  // only for a dissection
    bool simple = false;   // only for a dissection
    std::string problem;   // why it is not a dissection: the first fault in list order
    bool placed = true;    // false when a square could not be placed
    std::string failure;   // then, which square and why
};

// A square where it lies: x of its left edge, y of its top edge measured
// down from the rectangle's top edge.
struct square_box {
    std::int64_t x = 0;
    std::int64_t y = 0;
    std::int64_t side = 0;
};

// The squares of a case, gathered as they are placed.
struct case_check {
    explicit case_check(std::int32_t rectangle_height) : height(rectangle_height) {}
    std::int32_t height;
    std::vector<square_box> squares;
};

void note_square(case_check& check, const placed_square& s);

// Places the case's squares to judge it.
case_verdict check_case(const square_case& c);

// The verdict once every square is placed, or the placement stopped; the
// tiling report says whether the squares dissect the rectangle.
case_verdict judge_case(const case_check& check, const square_case& c, const tiling_report& report);

// Whether some two or more of the squares, short of all, form a rectangle;
// the squares must tile the width x height rectangle.
bool has_inner_rectangle(const std::vector<square_box>& squares, std::int64_t width,
                         std::int64_t height);
