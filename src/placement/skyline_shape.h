// The skyline's data: the list of runs of columns, or the tree of nodes and
// buckets it turns into. Its operations are in skyline.h.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// While the skyline has few steps it is a list of runs of columns of one
// depth, left to right, neighbours of different depths: a dissection of a
// few dozen squares seldom has more than a handful, and walking them is
// far cheaper than walking a tree. Once the runs pass `most_runs` the skyline
// turns, for good, into the tree below.
//
// The tree is a segment tree over the columns whose nodes are made only
// where depths differ: a node without children stands for a stretch of
// columns of one depth, and children that come to agree again are given
// up. The tree so follows the shape of the skyline, never the width. Every
// node knows the least and greatest depth below it, and a raise is recorded
// as an amount still owed to a node's children, so finding the lowest
// column and raising the columns under a square both take time logarithmic
// in the width.
//
// A node of at most 16 columns whose depths differ keeps them in a small
// array (a bucket) rather than in four more levels of nodes: the walk down
// the tree is most of the time spent, and its last levels the slowest.
struct skyline {
    static constexpr int bucket_columns = 16;
    // Below where a raise starts to cost more in the list than in the tree.
    static constexpr std::size_t default_most_runs = 64;
    struct node {
        std::int32_t lowest = 0;   // least depth of the node's columns
        std::int32_t highest = 0;  // greatest depth of the node's columns
        std::int32_t owed = 0;     // still to be added to the children or bucket
        // The left child's index (the right one follows); -1 for columns of
        // one depth; -2 - b for the depths in bucket b.
        std::int32_t children = -1;
    };
    using bucket = std::array<std::int32_t, bucket_columns>;
    struct run {
        std::int32_t first;  // its left-most column; it ends where the next begins
        std::int32_t depth;
    };
    std::int64_t width = 0;
    std::size_t most_runs = default_most_runs;
    bool tree = false;                 // the nodes hold the depths, not the runs
    std::vector<run> runs;             // while not a tree
    std::size_t lowest_run = 0;        // the left-most run of least depth
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
