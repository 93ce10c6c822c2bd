// What an enumeration run is asked to do: the orders or the graphs, the
// kinds kept, where the codes go.
#pragma once

#include <string>

#include "squares.h"

// The orders --enumerate takes.
constexpr int least_order = 1;
constexpr int greatest_order = 40;

// Orders from `low` to `high`.
struct order_range {
    int low = 0;
    int high = 0;
};

// What an enumeration run is asked to do, its values checked.
struct enumeration_request {
    order_range orders;      // of the generator's c-nets, when no graphs are given
    std::string graphs;      // a planar_code file of c-nets to solve; "-": standard input
    bool imperfect = false;  // the kind kept: imperfect, not perfect
    bool squares = false;    // squared squares only
    bool count = false;      // counts, not codes
    bool with_net = false;   // each code with its c-net after a *
    bool stats = false;      // the table of --stats over the codes, instead of them
    bool stats_svg = false;  // that as the SVG histogram of sizes
    // The compound rectangles instead (or as well, `all`), of one part only
    // with `trivial` or `nontrivial`.
    bool compound = false;
    bool trivial = false;
    bool nontrivial = false;
    bool all = false;
    bool quiet = false;  // no warnings nor notes
    std::string output;  // the codes' file; empty: standard output
    catalogue_part part;
    int jobs = 1;  // threads
};
