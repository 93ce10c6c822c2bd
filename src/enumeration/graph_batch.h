// A batch of graphs on its way from the generator or a file, through a
// worker that solves them, to the one writer that gathers the codes.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "enumeration/plane_graph.h"
#include "enumeration/solve_graph.h"

struct graph_batch {
    std::vector<plane_graph> graphs;
    bool from_file = false;  // graphs to check, numbered from `first`, `step` apart
    std::int64_t first = 1;
    std::int64_t step = 1;  // the parts of --part: the file's graphs dealt out in turn
    found_codes found;
    std::map<int, std::int64_t> cnets;  // by edges, a dual left out counted too
    std::int64_t not_simple = 0;
    std::int64_t not_3_connected = 0;
    // What stops the run at this batch: reported once the batches before
    // it are written, so that the first fault in the file is the one told.
    std::string error;
    std::size_t bytes = 0;  // held by the graphs
};
