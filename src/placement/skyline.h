// The depth of every unit column below the rectangle's top edge.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "placement/skyline_shape.h"
#include "placement/skyline_tree.h"
#include "squares.h"

// A skyline of `width` columns (at least 1), all at depth 0; a list of
// runs until it has more than `most_runs` of them (0: a tree from the start).
skyline make_skyline(std::int32_t width, std::size_t most_runs = skyline::default_most_runs);

// The same, in a skyline used before: its memory is kept.
void reset_skyline(skyline& sky, std::int32_t width,
                   std::size_t most_runs = skyline::default_most_runs);

// The left-most column of least depth.
inline std::int64_t lowest_column(const skyline& sky)
{
    return sky.tree ? lowest_column_in_tree(sky) : sky.runs[sky.lowest_run].first;
}

// The least depth of any column.
inline std::int32_t lowest_depth(const skyline& sky)
{
    return sky.tree ? sky.nodes[0].lowest : sky.runs[sky.lowest_run].depth;
}

// Adds the side to the depth of each column under a square of side 1 or
// more that lies within the width, and returns the ground it rested on. A
// raise that would take a column past 2147483647 changes nothing; the
// caller sees it from the ground returned and rejects the case.
ground raise_columns(skyline& sky, const placement& square);

// The columns from left to right, neighbours of equal depth joined.
std::vector<column_span> column_spans(const skyline& sky);
