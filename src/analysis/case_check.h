// What a case is: a dissection of its rectangle into squares, perfect
// (no two sides alike), simple (no two or more of its squares, short of
// all of them, form a rectangle).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "placement/place_squares.h"
#include "analysis/tiling_report.h"

// A rectangle made of two or more of a dissection's squares, short of all
// of them: x of its left edge, y of its top edge measured down from the
// whole's top, as squares are placed.
struct sub_rectangle {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

struct case_verdict {
    bool dissection = false;
    bool perfect = false;  // only for a dissection
    bool simple = false;   // only for a dissection
    // A compound one: whether a square is as wide or as high as the whole,
    // and the sub-rectangles that lie in no other (analysis/structure.h).
    bool trivially_compound = false;
    std::vector<sub_rectangle> subrectangles;
    bool subrectangles_listed = true;  // false: too large a case to list them
    std::string problem;   // why it is not a dissection: the first fault in list order
    bool placed = true;    // false when a square could not be placed
    std::string failure;   // then, which square and why
};

// A square where it lies: x of its left edge, y of its top edge measured
// down from the rectangle's top edge.
// 32 bits each, as the sides are: a dissection's squares lie within its
// rectangle, and a case of ten million squares keeps 12 bytes a square here.
struct square_box {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t side = 0;
};

// What checking a case needs beyond the verdict, kept from case to case
// so that a run of many small cases allocates nothing after the first few:
// one per thread.
struct check_workspace {
    skyline sky;
    std::vector<square_box> squares;
    // Bitsets of the sides, or of the coordinates of edges across then down.
    std::vector<std::uint64_t> marks;
    // The number of the line through each coordinate of an edge, in order.
    std::vector<std::uint16_t> line_at;
    // A square as the numbers of the lines through its edges.
    struct box {
        std::uint32_t left, right, top, bottom;
    };
    std::vector<box> boxes;
    std::vector<std::uint64_t> across;  // per horizontal line, the stretches edges cover
    std::vector<std::uint64_t> down;    // per band between those lines, the vertical lines covered
    std::vector<std::int32_t> sides;
};

// Places the case's squares into `boxes`, reusing `sky`: `problem` gets the
// first thing that keeps them from dissecting the rectangle (empty for
// none), `failure` the square that could not be placed.
void place_boxes(const square_case& c, skyline& sky, std::vector<square_box>& boxes,
                 std::string& problem, std::string& failure);

// Places the case's squares to judge it.
case_verdict check_case(const square_case& c);
case_verdict check_case(const square_case& c, check_workspace& work);

// Whether no two of the squares have the same side (a perfect dissection),
// for squares no wider than `width`.
bool all_sides_differ(const std::vector<square_box>& squares, std::int64_t width,
                      check_workspace& work);

// Whether some two or more of the squares, short of all, form a rectangle;
// the squares must tile the width x height rectangle. The second form is
// the first's answer, found much faster when the squares' edges lie on at
// most 64 lines one way or the other and the rectangle is less than 4096
// units wide and high.
bool has_inner_rectangle(const std::vector<square_box>& squares, std::int64_t width,
                         std::int64_t height);
bool has_inner_rectangle(const std::vector<square_box>& squares, std::int64_t width,
                         std::int64_t height, check_workspace& work);
