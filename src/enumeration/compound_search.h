// The compound perfect rectangles of one order and a few shapes, found
// from the shapes their parts must have: how the compound squared squares
// of orders past those the levels hold in memory are made.
#pragma once

#include <set>
#include <vector>

#include "enumeration/cnet_share.h"
#include "enumeration/compound_elements.h"
#include "enumeration/compound_levels.h"

struct shape_search_settings {
    int order = 0;
    std::set<shape> shapes;  // of the rectangles wanted
    // Every perfect rectangle of the orders up to this is made and held;
    // above it only those of the shapes some larger one needs.
    int held_order = 16;
    int jobs = 1;
    // Whether the simple ones of the order asked for are wanted too (the
    // stream of every c-net of that order); the orders below always are.
    bool with_simple = false;
    // The share of the order's own one-element fills this run makes (the
    // bulk of the work); share 1 also makes its joins and two-element
    // fills. The codes of all shares together, each once, are the whole.
    cnet_share part;
};

// The compound perfect rectangles of the order whose shapes are asked for,
// as codes by part (`simple` only when asked for), each once.
order_codes compound_of_shapes(const shape_search_settings& s);
