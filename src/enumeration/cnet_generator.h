// The c-nets of a number of edges, each once, for the enumeration of
// squared rectangles.
#pragma once
#include <cstdint>
#include <functional>
#include "enumeration/plane_graph.h"

// The K-th of N shares of a generation: shares 1..N are disjoint and
// together give every graph exactly once; each costs about 1/N of the
// whole plus a small overhead, for N up to a few thousand.
struct cnet_share {
    std::int64_t k = 1;
    std::int64_t n = 1;
};

// The most edges the generator takes (its graphs live in fixed arrays).
constexpr int cnet_max_edges = 48;

// The number of c-nets with `edges` edges: published (OEIS A002840) to 22
// edges, past that an estimate of about 3.4 times each, as the shares and
// the progress line need it.
double cnets_of_edges(int edges);

// Calls `each` once for every c-net (3-connected simple planar graph) with
// `edges` edges, up to isomorphism (a graph and its mirror image are one),
// in an order that is the same on every run. With `at_most_as_many_vertices_as_faces`,
// only those with V <= F (the others are the duals of some of these).
// The plane_graph handed over is any one of its embeddings (the mirror image is as good).
// Fewer than 6 edges give no graph; more than cnet_max_edges, or a share
// outside 1 <= k <= n, throw std::invalid_argument.
void for_each_cnet(int edges, const cnet_share& share, bool at_most_as_many_vertices_as_faces,
                   const std::function<void(const plane_graph&)>& each);
