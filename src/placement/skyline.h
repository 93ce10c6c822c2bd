// The depth of every unit column below the rectangle's top edge.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "squares.h"

// A segment tree over the columns whose nodes are made only where depths
// differ: a node without children stands for a stretch of columns of one
// depth, and children that come to agree again are given up. The tree so
// follows the shape of the skyline, never the width. Every node knows the
// least and greatest depth below it, and a raise is recorded as an amount
// still owed to a node's children, so finding the lowest column and
// raising the columns under a square both take time logarithmic in the
// width.
//
// A node of at most 16 columns whose depths differ keeps them in a small
// array (a bucket) rather than in four more levels of nodes: the walk down
// the tree is most of the time spent, and its last levels the slowest.
struct skyline {
    static constexpr int bucket_columns = 16;
    struct node {
        std::int32_t lowest = 0;   // least depth of the node's columns
        std::int32_t highest = 0;  // greatest depth of the node's columns
        std::int32_t owed = 0;     // still to be added to the children or bucket
        // The left child's index (the right one follows); -1 for columns of
        // one depth; -2 - b for the depths in bucket b.
        std::int32_t children = -1;
    };
    using bucket = std::array<std::int32_t, bucket_columns>;
    std::int64_t width = 0;
    std::vector<node> nodes;           // nodes[0] covers every column
    std::vector<std::int32_t> unused;  // pairs of nodes given up, for reuse
    std::vector<bucket> buckets;
    std::vector<std::int32_t> unused_buckets;
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
