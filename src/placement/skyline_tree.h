// The skyline as a tree: its nodes and buckets, the walks down them. The
// list of runs in skyline.cpp turns into it once the runs grow many.
#pragma once

#include <cstdint>
#include <vector>

#include "placement/skyline_shape.h"

// Adds `amount` to the depth of the columns from `from` up to `to` and
// returns the ground they had; the caller has checked the depth limit.
ground raise_in_tree(skyline& sky, std::int64_t from, std::int64_t to, std::int32_t amount);

// The left-most column of least depth: the walk down to it.
std::int64_t lowest_column_in_tree(const skyline& sky);

// Appends the tree's columns from left to right, neighbours of equal depth joined.
void tree_spans(const skyline& sky, std::vector<column_span>& spans);
