// The depth of every unit column below the rectangle's top edge.
#pragma once

#include <cstdint>
#include <vector>

#include "squares.h"

// The columns are kept as runs of neighbouring columns, so the skyline grows
// with the number of squares, never with the width. The runs sit in a
// treap ordered by column; every subtree knows how many columns it covers
// and its least and greatest depth, and a raise is recorded as an addition
// still owed to a subtree's children. Finding the lowest column and raising
// the columns under a square both take logarithmic time.
struct skyline {
    struct run {
        std::int32_t left = -1;   // index of the left child in `runs`, or -1
        std::int32_t right = -1;
        std::uint32_t priority = 0;
        std::int32_t length = 0;  // columns in this run
        std::int32_t span = 0;    // columns in this subtree
        std::int32_t depth = 0;   // this run's depth
        std::int32_t lowest = 0;  // least depth in this subtree
        std::int32_t highest = 0; // greatest depth in this subtree
        std::int32_t owed = 0;    // still to be added to both children
    };
    std::vector<run> runs;
    std::int32_t root = -1;
    std::uint32_t random_state = 0x9e3779b9u;
};

// Neighbouring columns of one depth, as the report of the final skyline gives them.
struct column_span {
    std::int64_t first = 0;
    std::int64_t length = 0;
    std::int32_t depth = 0;
};

// The least and greatest depth of the columns under a square before it was raised.
struct ground {
    std::int32_t lowest = 0;
    std::int32_t highest = 0;
};

// A skyline of `width` columns (at least 1), all at depth 0.
skyline make_skyline(std::int32_t width);

// The left-most column of least depth.
std::int64_t lowest_column(const skyline& sky);

// The least depth of any column.
std::int32_t lowest_depth(const skyline& sky);

// Adds the side to the depth of each column under a square of side 1 or
// more that lies within the width, and returns the ground it rested on. A
// raise that would take a column past 2147483647 changes nothing; the
// caller sees it from the ground returned and rejects the case.
ground raise_columns(skyline& sky, const placement& square);

// The columns from left to right, neighbours of equal depth joined.
std::vector<column_span> column_spans(const skyline& sky);
