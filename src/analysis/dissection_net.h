// The electrical network of a dissection (its c-net, after Brooks, Smith,
// Stone and Tutte): each horizontal segment a node, each square an edge
// from the segment of its top to that of its bottom carrying its side as
// current, and the battery edge from the top pole to the bottom one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/canonical.h"
#include "analysis/case_check.h"
#include "squares.h"

struct dissection_net {
    // The nodes from the top down, along each level from left to right:
    // node 0 is the top pole (the rectangle's top edge), the last node the
    // bottom pole.
    struct segment {
        std::int64_t y = 0;
        std::int64_t left = 0;
        std::int64_t right = 0;
    };
    std::vector<segment> nodes;
    // Per square, in the order given: its top node and its bottom node.
    std::vector<int> top;
    std::vector<int> bottom;
    // Each node's neighbours in clockwise order as drawn (y down), the
    // battery edge among those of the poles.
    std::vector<std::vector<int>> rotation;
};

// The network of `squares`, which dissect the width x height rectangle.
dissection_net net_of(const std::vector<square_box>& squares, std::int64_t width,
                      std::int64_t height);

// The network as planar_code, one graph after the header the stream starts
// with (planar_code_header), its nodes numbered from 1.
extern const char planar_code_header[];
void append_planar_code(const dissection_net& net, std::string& out);

// A graph, given by each vertex's neighbours, as one line of graph6; or,
// when graph6 cannot hold it (parallel edges, or more vertices than
// graph6_nodes), what keeps it out.
constexpr std::size_t graph6_nodes = 65536;  // 256 MiB of adjacency bits
std::string append_graph6(const std::vector<std::vector<int>>& neighbours, std::string& out);

// Appends the case's network to `out`, as graph6 or planar_code: true,
// with `warning` set for a compound dissection, whose network is still
// written; false, with `problem` set, when it is no dissection or graph6
// cannot hold its network.
bool append_net(const square_case& c, bool graph6, canonical_scratch& scratch,
                check_workspace& work, std::string& out, std::string& problem,
                std::string& warning);

// A code line of --enumerate with its network after a *: the graph6 of the
// c-net and the battery edge as its two vertices, numbered from 0 as graph6
// numbers them (the poles, the first and the last): "... * ErUw 0 5".
// The line is left as it is when its network cannot be written.
void append_line_with_net(std::string_view line, canonical_scratch& scratch, check_workspace& work,
                          std::string& out);
